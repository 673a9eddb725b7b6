// TImageList: the programs' glyph strip from its resource, images cut from a 64 x 16
// one-bit strip with white as mask colour, drawn normally and disabled.
#include <gtest/gtest.h>

#include "Bitmap.h"
#include "BmpSamples.h"
#include "ImgList.h"

using namespace bmpsamples;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A 32-bit target filled with red.
void redTarget(TBitmap& t, int w, int h) {
    t.SetPixelFormat(pf32bit);
    t.SetSize(w, h);
    t.Canvas().Brush().SetColor(clRed);
    t.Canvas().FillRect(RECT{0, 0, w, h});
}

}  // namespace

TEST(TImageList, LoadFromResourceName_CutsTheGlyphStripIntoFour) {
    TImageList list;
    list.LoadFromResourceName(GetModuleHandleA(nullptr), "LACQUERMENU", 16, clWhite);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
    ASSERT_NE(list.Handle(), nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_THROW(list.LoadFromResourceName(GetModuleHandleA(nullptr), "MISSING", 16, clWhite), EInvalidGraphic);
}

TEST(TImageList, AddMasked_OneBitStripDrawsOnlyItsStrokes) {
    TBitmap strip;
    strip.LoadFromBytes(GlyphStripBmp());
    ASSERT_EQ(strip.PixelFormat(), pf1bit);
    TImageList list;
    EXPECT_EQ(list.AddMasked(strip, clWhite), 0);
    EXPECT_EQ(list.Count(), 4);
    // The strip itself is left as it was.
    EXPECT_EQ(strip.PixelFormat(), pf1bit);
    EXPECT_EQ(strip.PixelColor(0, 0), RGB(255, 255, 255));
    for (int g = 0; g < 4; ++g) {
        TBitmap t;
        redTarget(t, 20, 20);
        list.Draw(t.Canvas(), 2, 3, g);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF want = GlyphStripBlack(16 * g + x, y) ? RGB(0, 0, 0) : kRed;
                ASSERT_EQ(t.PixelColor(x + 2, y + 3), want) << "glyph " << g << " at " << x << "," << y;
            }
        EXPECT_EQ(t.PixelColor(0, 0), kRed);
    }
}

TEST(TImageList, Draw_DisabledIsEmbossedInShadowAndHighlight) {
    TBitmap strip;
    strip.LoadFromBytes(GlyphStripBmp());
    TImageList list;
    list.AddMasked(strip, clWhite);
    TBitmap t;
    redTarget(t, 20, 20);
    list.Draw(t.Canvas(), 0, 0, 1, false);
    // Glyph 1 is a frame inset by 2: its strokes take the shadow colour, the pixels one
    // down and right of a stroke that are no stroke themselves the highlight colour.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(t.PixelColor(2, 5), shadow);
    EXPECT_EQ(t.PixelColor(3, 6), highlight);
    EXPECT_EQ(t.PixelColor(8, 8), kRed);
    EXPECT_EQ(t.PixelColor(0, 0), kRed);
}

TEST(TImageList, Draw_IndexOutsideTheListDrawsNothing) {
    TBitmap strip;
    strip.LoadFromBytes(GlyphStripBmp());
    TImageList list;
    list.AddMasked(strip, clWhite);
    TBitmap t;
    redTarget(t, 16, 16);
    list.Draw(t.Canvas(), 0, 0, 4);
    list.Draw(t.Canvas(), 0, 0, -1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(t.PixelColor(x, y), kRed);
}

TEST(TImageList, SetSize_EmptiesTheList_NarrowBitmapAddsNothing) {
    TBitmap strip;
    strip.LoadFromBytes(GlyphStripBmp());
    TImageList list;
    list.AddMasked(strip, clWhite);
    list.SetSize(8, 8);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.AddMasked(strip, clWhite), 0);
    EXPECT_EQ(list.Count(), 8);  // 64 / 8 images of 8 x 8
    TImageList wide;
    wide.SetSize(100, 16);
    EXPECT_EQ(wide.AddMasked(strip, clWhite), -1);
    TBitmap empty;
    EXPECT_EQ(list.AddMasked(empty, clWhite), -1);
}
