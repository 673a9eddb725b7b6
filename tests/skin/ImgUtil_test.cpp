// The bitmap and colour utilities: pixel positions after mirror, flip and rotation, grey
// and key-colour replacement, colour blending and saturation, the gradient cache and the
// gradient fill.
#include <gtest/gtest.h>

#include "ImgUtil.h"
#include "SkinTestImages.h"

using namespace skintest;

namespace {

// A 3 x 2 picture with six different pixels, all in the standard 8-bit colour table.
COLORREF six(int x, int y) { return RGB(51 * x, 51 * (y + 2), 153); }

int red(TColor c) { return GetRValue(static_cast<COLORREF>(c)); }
int green(TColor c) { return GetGValue(static_cast<COLORREF>(c)); }
int blue(TColor c) { return GetBValue(static_cast<COLORREF>(c)); }

}  // namespace

TEST(ImgUtil, MirrorAndFlip_MovePixelsAndKeepTheFormat) {
    for (TPixelFormat f : {pf24bit, pf32bit, pf8bit}) {
        TBitmap b;
        Paint(b, 3, 2, six, f);
        MirrorBitmap(b);
        EXPECT_EQ(b.PixelFormat(), f);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) EXPECT_EQ(b.PixelColor(x, y), six(2 - x, y)) << "mirror " << f << " " << x << "," << y;
        MirrorBitmap(b);
        FlipBitmap(b);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) EXPECT_EQ(b.PixelColor(x, y), six(x, 1 - y)) << "flip " << f << " " << x << "," << y;
    }
    TBitmap mono;
    Paint(mono, 9, 1, [](int x, int) { return x == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255); }, pf1bit);
    MirrorBitmap(mono);
    EXPECT_EQ(mono.PixelFormat(), pf1bit);
    EXPECT_EQ(mono.PixelColor(8, 0), RGB(0, 0, 0));
    EXPECT_EQ(mono.PixelColor(0, 0), RGB(255, 255, 255));
    TBitmap empty;
    MirrorBitmap(empty);
    FlipBitmap(empty);
    RotateBitmapLeft(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(ImgUtil, Rotate_LeftAndRightMoveEachPixelWhereExpected) {
    TBitmap b;
    Paint(b, 3, 2, six);
    RotateBitmapLeft(b);  // (x, y) -> (y, W - 1 - x)
    ASSERT_EQ(b.Width(), 2);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(b.PixelColor(y, 2 - x), six(x, y)) << "left " << x << "," << y;
    Paint(b, 3, 2, six);
    RotateBitmapRight(b);  // (x, y) -> (H - 1 - y, x)
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(b.PixelColor(1 - y, x), six(x, y)) << "right " << x << "," << y;
    RotateBitmapLeft(b);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(b.PixelColor(x, y), six(x, y)) << "back " << x << "," << y;
}

TEST(ImgUtil, GrayAndReplaceKeyColor_Leave24BitPixels) {
    const COLORREF row[] = {RGB(30, 60, 91), RGB(255, 0, 255), RGB(255, 1, 255), RGB(0, 0, 0)};
    TBitmap b;
    Paint(b, 4, 1, [&](int x, int) { return row[x]; }, pf32bit);
    TBitmap key;
    key.Assign(b);
    GrayBitmap(b);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.PixelColor(0, 0), RGB(60, 60, 60));  // 181 div 3
    EXPECT_EQ(b.PixelColor(1, 0), RGB(170, 170, 170));
    ReplaceKeyColor(key, clBtnFace);
    EXPECT_EQ(key.PixelFormat(), pf24bit);
    EXPECT_EQ(key.PixelColor(1, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(key.PixelColor(2, 0), RGB(255, 1, 255));
    EXPECT_EQ(key.PixelColor(0, 0), RGB(30, 60, 91));
    // An indexed bitmap is converted first.
    TBitmap indexed;
    Paint(indexed, 2, 1, [](int x, int) { return x ? RGB(255, 0, 255) : RGB(51, 102, 153); }, pf8bit);
    ReplaceKeyColor(indexed, RGB(1, 2, 3));
    EXPECT_EQ(indexed.PixelFormat(), pf24bit);
    EXPECT_EQ(indexed.PixelColor(0, 0), RGB(51, 102, 153));
    EXPECT_EQ(indexed.PixelColor(1, 0), RGB(1, 2, 3));
}

TEST(ImgUtil, DuplicateBitmap_CopiesSizeFormatAndPicture) {
    TBitmap src, dst;
    Paint(src, 3, 2, six, pf32bit);
    dst.SetSize(10, 10);
    DuplicateBitmap(src, dst);
    EXPECT_EQ(dst.Width(), 3);
    EXPECT_EQ(dst.Height(), 2);
    EXPECT_EQ(dst.PixelFormat(), pf32bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(dst.PixelColor(x, y), six(x, y));
}

TEST(ImgUtil, BlendColors_PercentBelow100PerMilleFrom100) {
    struct Row {
        int weight, r, b;
    } rows[] = {
        {99, 252, 3},     // (255 * 99 + 50) div 100; (255 + 50) div 100
        {100, 26, 230},   // 10 per cent red: (25500 + 500) div 1000
        {150, 38, 217},
        {0, 0, 255},
        {1000, 255, 0},
        {-5, 0, 255},     // out of range: the nearest end
        {4000, 255, 0},
    };
    for (const Row& row : rows) {
        const TColor c = BlendColors(clRed, clBlue, row.weight);
        EXPECT_EQ(red(c), row.r) << "weight " << row.weight;
        EXPECT_EQ(green(c), 0) << "weight " << row.weight;
        EXPECT_EQ(blue(c), row.b) << "weight " << row.weight;
    }
    // System colours are resolved first.
    EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 37), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TEST(ImgUtil, MakeGradient_RoundsToTheNearestStepInBothDirections) {
    const int up = MakeGradient(3, clBlack, clRed);
    const auto& rising = GradientColors(up);
    ASSERT_EQ(rising.size(), 3u);
    EXPECT_EQ(red(rising[0]), 0);
    EXPECT_EQ(red(rising[1]), 128);
    EXPECT_EQ(red(rising[2]), 255);
    const int down = MakeGradient(3, clRed, clBlack);
    const auto& falling = GradientColors(down);
    EXPECT_EQ(red(falling[0]), 255);
    EXPECT_EQ(red(falling[1]), 127);
    EXPECT_EQ(red(falling[2]), 0);  // the last line is the end colour
    const auto& one = GradientColors(MakeGradient(1, clBlack, RGB(0, 201, 0)));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(green(one[0]), 100);
}

TEST(ImgUtil, GradientCache_FindsWhatItMadeAndRecyclesSixteenSlots) {
    const TColor a = RGB(1, 2, 3), b = RGB(200, 100, 50);
    const int slot = MakeGradient(17, a, b);
    EXPECT_EQ(FindGradient(17, a, b), slot);
    EXPECT_EQ(GetGradient(17, a, b), slot);
    EXPECT_EQ(FindGradient(18, a, b), -1);
    EXPECT_EQ(FindGradient(17, b, a), -1);
    const int falling = GetGradient(9, b, a);  // found again: it ends on its end colour
    EXPECT_EQ(GetGradient(9, b, a), falling);
    int last = -1;
    for (int i = 0; i < 16; ++i) last = MakeGradient(2 + i, clWhite, clBlack);
    EXPECT_EQ(last, (falling + 16) % 16);
    EXPECT_EQ(FindGradient(17, a, b), -1);  // overwritten
    EXPECT_TRUE(GradientColors(16).empty());
    EXPECT_TRUE(GradientColors(-1).empty());
}

TEST(ImgUtil, GradientFillRect_LineByLineInsideTheClipBox) {
    TBitmap t;
    Target(t, 12, 40, RGB(0, 0, 255));
    HDC dc = t.Canvas().Handle();
    GradientFillRect(dc, RECT{1, 0, 11, 40}, clWhite, true, clBlack);
    EXPECT_EQ(t.PixelColor(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(t.PixelColor(10, 39), RGB(0, 0, 0));
    EXPECT_EQ(t.PixelColor(5, 20), RGB(124, 124, 124));  // 255 - (19 + 20 * 255) div 39
    EXPECT_EQ(t.PixelColor(0, 20), RGB(0, 0, 255));
    EXPECT_EQ(t.PixelColor(11, 20), RGB(0, 0, 255));

    Target(t, 12, 40, RGB(0, 0, 255));
    dc = t.Canvas().Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 10, 12, 12);
    GradientFillRect(dc, RECT{0, 0, 12, 40}, clWhite, true, clBlack);
    RestoreDC(dc, saved);
    EXPECT_EQ(t.PixelColor(3, 9), RGB(0, 0, 255));
    EXPECT_EQ(t.PixelColor(3, 10), RGB(190, 190, 190));  // line 10 of 40: 255 - (19 + 2550) div 39
    EXPECT_EQ(t.PixelColor(3, 12), RGB(0, 0, 255));

    Target(t, 12, 40, RGB(0, 0, 255));
    dc = t.Canvas().Handle();
    GradientFillRect(dc, RECT{0, 0, 12, 5}, clBlack, false, RGB(0, 0, 11 * 20));
    EXPECT_EQ(t.PixelColor(0, 4), RGB(0, 0, 0));
    EXPECT_EQ(t.PixelColor(1, 4), RGB(0, 0, 20));
    EXPECT_EQ(t.PixelColor(11, 0), RGB(0, 0, 220));
    GradientFillRect(dc, RECT{5, 30, 0, 35}, clBlack, false, clBlack);  // reversed: nothing
    GradientFillRect(dc, RECT{0, 30, 12, 30}, clBlack, true, clBlack);  // no lines
    EXPECT_EQ(t.PixelColor(2, 30), RGB(0, 0, 255));
}

TEST(ImgUtil, ColorSaturation_Cases) {
    EXPECT_EQ(ColorSaturation(RGB(160, 160, 160)), 0);
    EXPECT_EQ(ColorSaturation(RGB(128, 128, 128)), 200);
    EXPECT_EQ(ColorSaturation(clRed), 255);
    EXPECT_EQ(ColorSaturation(clBlack), 200);
    EXPECT_EQ(ColorSaturation(RGB(200, 100, 100)), 128);  // 127.5: halves to even
    EXPECT_EQ(ColorSaturation(RGB(170, 169, 170)), 2);    // 1.5: halves to even
    EXPECT_EQ(ColorSaturation(RGB(160, 159, 0)), 255);
}
