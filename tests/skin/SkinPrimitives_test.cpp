// The skin-part drawing primitives on DIB sections: nine-slice zones at several sizes and
// their edge cases, tiling, three-slice bars, strip cells, colour-keyed drawing and
// regions from bitmaps.  Every probe names the pixel and compares exact colours: the
// sources are flat-coloured zones, so stretching never blends.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SkinPrimitives.h"
#include "SkinTestImages.h"
#include "gui_test.h"

using namespace skintest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Every pixel of a rendered nine-slice part lies in the zone its position says.
void expectZones(const TBitmap& b, int l, int t, int r, int bottom) {
    const int W = b.Width(), H = b.Height();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const COLORREF want = ZoneColour(Band(x, l, W - r), Band(y, t, H - bottom));
            ASSERT_EQ(b.PixelColor(x, y), want) << "pixel " << x << "," << y << " of " << W << "x" << H;
        }
}

bool unchanged(const TBitmap& b, COLORREF colour) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.PixelColor(x, y) != colour) return false;
    return true;
}

// A strip of `cells` flat cells of cw x ch, cell k (from 1) in colour cellColour(k).
COLORREF cellColour(int k) { return RGB(40 * k, 255 - 40 * k, 100); }
void flatStrip(TBitmap& b, int cells, int cw, int ch, StripAxis axis = StripAxis::Horizontal) {
    if (axis == StripAxis::Horizontal)
        Paint(b, cells * cw, ch, [=](int x, int) { return cellColour(x / cw + 1); });
    else
        Paint(b, cw, cells * ch, [=](int, int y) { return cellColour(y / ch + 1); });
}

}  // namespace

TEST(SkinPrimitives, RenderSkinPart_NineZonesAtSeveralSizes) {
    TBitmap cell;
    NineZoneCell(cell, 40, 20, 8, 6, 8, 6);
    const TSkinMargins m{8, 6, 8, 6};
    for (SIZE size : {SIZE{40, 20}, SIZE{100, 50}, SIZE{16, 12}, SIZE{17, 13}, SIZE{300, 21}}) {
        SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
        auto part = RenderSkinPart(RECT{5, 7, 5 + size.cx, 7 + size.cy}, cell, m, StripAxis::Horizontal, CentreFill::Stretch, 1, 1);
        ASSERT_EQ(part->Width(), size.cx);
        ASSERT_EQ(part->Height(), size.cy);
        expectZones(*part, 8, 6, 8, 6);
    }
}

TEST(SkinPrimitives, RenderSkinPart_NarrowTargetDropsOnlyTheSideMargins) {
    // 40 x 20 with margins 8 into 10 x 30: 10 < 8 + 8, so left and right become 0 and the
    // whole cell width is stretched across; top and bottom stay 8.
    TBitmap cell;
    NineZoneCell(cell, 40, 20, 8, 8, 8, 8);
    auto part = RenderSkinPart(RECT{0, 0, 10, 30}, cell, TSkinMargins{8, 8, 8, 8}, StripAxis::Horizontal, CentreFill::Stretch, 1, 1);
    EXPECT_EQ(part->PixelColor(5, 0), ZoneColour(1, 0));   // top edge, not a corner
    EXPECT_EQ(part->PixelColor(5, 7), ZoneColour(1, 0));
    EXPECT_EQ(part->PixelColor(5, 8), ZoneColour(1, 1));   // centre starts at the kept margin
    EXPECT_EQ(part->PixelColor(5, 21), ZoneColour(1, 1));
    EXPECT_EQ(part->PixelColor(5, 22), ZoneColour(1, 2));
    EXPECT_EQ(part->PixelColor(0, 0), ZoneColour(0, 0));   // the stretched cell's own corners
    EXPECT_EQ(part->PixelColor(9, 29), ZoneColour(2, 2));
    // And the same with the roles swapped: a short target drops top and bottom.
    auto flat = RenderSkinPart(RECT{0, 0, 30, 10}, cell, TSkinMargins{8, 8, 8, 8}, StripAxis::Horizontal, CentreFill::Stretch, 1, 1);
    EXPECT_EQ(flat->PixelColor(0, 5), ZoneColour(0, 1));
    EXPECT_EQ(flat->PixelColor(7, 5), ZoneColour(0, 1));
    EXPECT_EQ(flat->PixelColor(8, 5), ZoneColour(1, 1));
    EXPECT_EQ(flat->PixelColor(22, 5), ZoneColour(2, 1));
}

TEST(SkinPrimitives, RenderSkinPart_NoMarginsStretchesTheWholeCell) {
    TBitmap cell;
    NineZoneCell(cell, 40, 20, 8, 6, 8, 6);
    auto part = RenderSkinPart(RECT{0, 0, 80, 40}, cell, TSkinMargins{}, StripAxis::Horizontal, CentreFill::Stretch, 1, 1);
    expectZones(*part, 16, 12, 16, 12);  // every zone doubled
}

TEST(SkinPrimitives, RenderSkinPart_PicksTheCellOfAStripAndClampsTheIndex) {
    struct Row {
        int cells, cell, expected;
    } rows[] = {{3, 1, 1}, {3, 2, 2}, {3, 3, 3}, {3, 7, 3}, {3, 0, 1}, {3, -4, 1}};
    for (StripAxis axis : {StripAxis::Horizontal, StripAxis::Vertical}) {
        TBitmap strip;
        flatStrip(strip, 3, 6, 4, axis);
        for (const Row& row : rows) {
            auto part = RenderSkinPart(RECT{0, 0, 9, 9}, strip, TSkinMargins{2, 1, 2, 1}, axis, CentreFill::Stretch, row.cells, row.cell);
            EXPECT_TRUE(unchanged(*part, cellColour(row.expected)))
                << "cells " << row.cells << " cell " << row.cell << (axis == StripAxis::Vertical ? " vertical" : "");
        }
    }
    // No cell count: the whole image is one cell.
    TBitmap strip;
    flatStrip(strip, 2, 5, 5);
    auto whole = RenderSkinPart(RECT{0, 0, 10, 5}, strip, TSkinMargins{}, StripAxis::Horizontal, CentreFill::Stretch, 0, 1);
    EXPECT_EQ(whole->PixelColor(0, 0), cellColour(1));
    EXPECT_EQ(whole->PixelColor(9, 0), cellColour(2));
}

TEST(SkinPrimitives, RenderSkinPart_MarginsLargerThanTheCellStayInsideIt) {
    TBitmap strip;
    flatStrip(strip, 2, 10, 10);
    auto part = RenderSkinPart(RECT{0, 0, 50, 50}, strip, TSkinMargins{30, 30, 30, 30}, StripAxis::Horizontal, CentreFill::Stretch, 2, 1);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_NE(part->PixelColor(x, y), cellColour(2)) << x << "," << y;
    EXPECT_EQ(part->PixelColor(0, 0), cellColour(1));
    auto negative = RenderSkinPart(RECT{0, 0, 20, 20}, strip, TSkinMargins{-5, -5, -5, -5}, StripAxis::Horizontal, CentreFill::Stretch, 2, 2);
    EXPECT_TRUE(unchanged(*negative, cellColour(2)));
}

TEST(SkinPrimitives, RenderSkinPart_ReversedSizeOrEmptyImage) {
    TBitmap cell;
    NineZoneCell(cell, 40, 20, 8, 6, 8, 6);
    EXPECT_TRUE(RenderSkinPart(RECT{10, 0, 5, 10}, cell, TSkinMargins{}, StripAxis::Horizontal, CentreFill::Stretch, 1, 1)->Empty());
    EXPECT_TRUE(RenderSkinPart(RECT{0, 10, 10, 0}, cell, TSkinMargins{}, StripAxis::Horizontal, CentreFill::Tile, 1, 1)->Empty());
    TBitmap empty;
    auto part = RenderSkinPart(RECT{0, 0, 10, 10}, empty, TSkinMargins{2, 2, 2, 2}, StripAxis::Horizontal, CentreFill::Tile, 3, 2);
    EXPECT_EQ(part->Width(), 10);
}

// Centre 12 x 6 whose columns differ; margins 4, 2, 4, 2 around it.
COLORREF centreColumn(int i) { return RGB(20 * i, 100, 50); }

TEST(SkinPrimitives, RenderSkinPart_TiledCentreIsCutByTheRightAndBottomPieces) {
    TBitmap cell;
    Paint(cell, 20, 10, [](int x, int y) {
        if (x >= 4 && x < 16 && y >= 2 && y < 8) return centreColumn(x - 4);
        return ZoneColour(Band(x, 4, 16), Band(y, 2, 8));
    });
    // Centre 22 x 10: tiles at x 4 and 16 (the second one 2 pixels too long), y 2 and 8.
    auto part = RenderSkinPart(RECT{0, 0, 30, 14}, cell, TSkinMargins{4, 2, 4, 2}, StripAxis::Horizontal, CentreFill::Tile, 1, 1);
    for (int y : {2, 7, 8, 11}) {
        for (int i = 0; i < 12; ++i) EXPECT_EQ(part->PixelColor(4 + i, y), centreColumn(i)) << "first tile column " << i << " row " << y;
        for (int i = 0; i < 10; ++i) EXPECT_EQ(part->PixelColor(16 + i, y), centreColumn(i)) << "second tile column " << i << " row " << y;
        for (int x = 26; x < 30; ++x) EXPECT_EQ(part->PixelColor(x, y), ZoneColour(2, 1)) << "right edge " << x << "," << y;
    }
    for (int x = 4; x < 26; ++x) EXPECT_EQ(part->PixelColor(x, 12), ZoneColour(1, 2)) << "bottom edge " << x;
    EXPECT_EQ(part->PixelColor(29, 13), ZoneColour(2, 2));
}

TEST(SkinPrimitives, TileBitmap_LastTilesAreDrawnWholeAndTheClipKeepsTheGrid) {
    TBitmap image;
    Paint(image, 6, 6, [](int x, int y) { return RGB(10 + 40 * x, 10 + 40 * y, 7); });
    const RECT source{1, 1, 5, 5};  // a 4 x 4 tile
    auto tileAt = [](int x, int y) { return RGB(10 + 40 * (1 + x % 4), 10 + 40 * (1 + y % 4), 7); };
    TBitmap target;
    Target(target, 12, 12, kWhite);
    TileBitmap(target.Canvas(), RECT{0, 0, 10, 10}, image, source);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(target.PixelColor(x, y), tileAt(x, y)) << x << "," << y;

    // With a clip box inside, only the clipped pixels change, still on the same grid.
    Target(target, 12, 12, kWhite);
    HDC dc = target.Canvas().Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 5, 6, 7, 9);
    TileBitmap(target.Canvas(), RECT{0, 0, 12, 12}, image, source);
    RestoreDC(dc, saved);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 5 && x < 7 && y >= 6 && y < 9;
            ASSERT_EQ(target.PixelColor(x, y), inside ? tileAt(x, y) : kWhite) << x << "," << y;
        }
}

TEST(SkinPrimitives, TileBitmap_EmptySourceOrDestinationDrawsNothing) {
    TBitmap image;
    Paint(image, 4, 4, [](int, int) { return kGreen; });
    TBitmap target;
    Target(target, 8, 8, kWhite);
    TileBitmap(target.Canvas(), RECT{0, 0, 8, 8}, image, RECT{2, 0, 2, 4});
    TileBitmap(target.Canvas(), RECT{0, 0, 8, 8}, image, RECT{3, 3, 1, 1});
    TileBitmap(target.Canvas(), RECT{8, 0, 0, 8}, image, RECT{0, 0, 4, 4});
    TileBitmap(target.Canvas(), RECT{0, 0, 8, 8}, image, RECT{10, 10, 20, 20});  // outside the image
    EXPECT_TRUE(unchanged(target, kWhite));
}

TEST(SkinPrimitives, DrawSkinPart_OpaqueAndKeyed) {
    TBitmap cell;
    Paint(cell, 4, 4, [](int x, int y) { return (x == 0 || y == 0) ? kMagenta : RGB(0, 0, 255); });
    for (bool nt : {true, false}) {
        SCOPED_TRACE(nt ? "MaskBlt" : "three blits");
        const bool savedNT = SkinIsNT;
        SkinIsNT = nt;
        TBitmap target;
        Target(target, 10, 10, kGreen);
        HDC dc = target.Canvas().Handle();
        DrawSkinPart(dc, RECT{2, 2, 6, 6}, cell, StripAxis::Horizontal, CentreFill::Stretch, Keying::Magenta, 1, 1, TSkinMargins{});
        EXPECT_EQ(target.PixelColor(2, 2), kGreen);           // magenta left the target alone
        EXPECT_EQ(target.PixelColor(3, 2), kGreen);
        EXPECT_EQ(target.PixelColor(3, 3), RGB(0, 0, 255));
        EXPECT_EQ(target.PixelColor(6, 6), kGreen);
        DrawSkinPart(dc, RECT{6, 6, 10, 10}, cell, StripAxis::Horizontal, CentreFill::Stretch, Keying::Opaque, 1, 1, TSkinMargins{});
        EXPECT_EQ(target.PixelColor(6, 6), kMagenta);
        EXPECT_EQ(target.PixelColor(9, 9), RGB(0, 0, 255));
        SkinIsNT = savedNT;
    }
}

TEST(SkinPrimitives, DrawTransparentBitmap_OnlyTheExactKeyIsLeftOut) {
    TBitmap b;
    const COLORREF row[] = {kMagenta, RGB(0, 0, 255), RGB(255, 1, 255), RGB(254, 0, 255)};
    Paint(b, 4, 2, [&](int x, int) { return row[x]; });
    for (bool nt : {true, false}) {
        const bool savedNT = SkinIsNT;
        SkinIsNT = nt;
        TBitmap target;
        Target(target, 6, 3, kGreen);
        HDC dc = target.Canvas().Handle();
        SetBkColor(dc, RGB(1, 2, 3));
        SetTextColor(dc, RGB(4, 5, 6));
        DrawTransparentBitmap(dc, RECT{1, 0, 4, 1}, b, kSkinKeyColour);  // 3 x 1 of the bitmap
        EXPECT_EQ(target.PixelColor(1, 0), kGreen);
        EXPECT_EQ(target.PixelColor(2, 0), RGB(0, 0, 255));
        EXPECT_EQ(target.PixelColor(3, 0), RGB(255, 1, 255));
        EXPECT_EQ(target.PixelColor(4, 0), kGreen);  // past the rect
        EXPECT_EQ(target.PixelColor(2, 1), kGreen);
        // The DC's colours are put back after the three-blit path.
        EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
        EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
        SkinIsNT = savedNT;
    }
    // An indexed bitmap works the same.
    TBitmap indexed;
    Paint(indexed, 2, 1, [&](int x, int) { return row[x]; }, pf8bit);
    TBitmap target;
    Target(target, 2, 1, kGreen);
    DrawTransparentBitmap(target.Canvas().Handle(), RECT{0, 0, 2, 1}, indexed, clFuchsia);
    EXPECT_EQ(target.PixelColor(0, 0), kGreen);
    EXPECT_EQ(target.PixelColor(1, 0), RGB(0, 0, 255));
}

TEST(SkinPrimitives, KeyedPicture_OneCellStretchedLeavesTheKeyAlone) {
    // Two cells of 2 x 1: cell 1 is key then blue, cell 2 red then key.
    TBitmap strip;
    const COLORREF row[] = {kMagenta, RGB(0, 0, 255), RGB(255, 0, 0), kMagenta};
    Paint(strip, 4, 1, [&](int x, int) { return row[x]; });
    struct Row {
        const char* name;
        int cell, w, h;
        COLORREF left, right;  // kGreen: the target shows through
    } rows[] = {
        {"cell 1 at its size", 1, 2, 1, kGreen, RGB(0, 0, 255)},
        {"cell 2 stretched", 2, 4, 3, RGB(255, 0, 0), kGreen},
        {"cell beyond the strip is the last", 9, 2, 1, RGB(255, 0, 0), kGreen},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TKeyedPicture keyed = RenderStripCellKeyed(strip, 2, row.cell, row.w, row.h);
        ASSERT_FALSE(keyed.Empty());
        TBitmap target;
        Target(target, 8, 5, kGreen);
        HDC dc = target.Canvas().Handle();
        SetBkColor(dc, RGB(1, 2, 3));
        SetTextColor(dc, RGB(4, 5, 6));
        for (int round = 0; round < 2; ++round) {  // drawn again from the same picture
            DrawKeyedPicture(dc, 1, 1, keyed);
            EXPECT_EQ(target.PixelColor(1, 1), row.left) << round;
            EXPECT_EQ(target.PixelColor(row.w, row.h), row.right) << round;
            EXPECT_EQ(target.PixelColor(1 + row.w, 1), kGreen) << "right of it";
            EXPECT_EQ(target.PixelColor(0, 1), kGreen) << "left of it";
            EXPECT_EQ(target.PixelColor(1, 1 + row.h), kGreen) << "below it";
        }
        EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
        EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
    }
    TBitmap empty;
    EXPECT_TRUE(RenderStripCellKeyed(empty, 1, 1, 4, 4).Empty());
    EXPECT_TRUE(RenderStripCellKeyed(strip, 2, 1, 0, 4).Empty());
    EXPECT_TRUE(RenderStripCellKeyed(strip, 0, 1, 4, -1).Empty());
    TKeyedPicture none;
    TBitmap target;
    Target(target, 2, 2, kGreen);
    DrawKeyedPicture(target.Canvas().Handle(), 0, 0, none);  // nothing to draw
    EXPECT_EQ(target.PixelColor(0, 0), kGreen);
}

TEST(SkinPrimitives, DrawSkinPartH_RepeatsTheMiddleBetweenFixedEnds) {
    const COLORREF left = RGB(200, 0, 0), right = RGB(0, 0, 200);
    TBitmap bar;
    Paint(bar, 12, 4, [&](int x, int) { return x < 3 ? left : x >= 9 ? right : centreColumn(x - 3); });
    TBitmap target;
    Target(target, 24, 10, kWhite);
    DrawSkinPartH(target.Canvas(), RECT{2, 1, 22, 9}, bar, StripAxis::Horizontal, Keying::Opaque, 1, 1, TSkinMargins{3, 9, 3, 9});
    // 20 wide: left 0-3, middle copies at 3, 9, 15 (the last one cut by the right end at 17).
    for (int y : {1, 8}) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(target.PixelColor(2 + x, y), left);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(target.PixelColor(2 + 3 + i, y), centreColumn(i)) << i;
            EXPECT_EQ(target.PixelColor(2 + 9 + i, y), centreColumn(i)) << i;
        }
        EXPECT_EQ(target.PixelColor(2 + 15, y), centreColumn(0));
        EXPECT_EQ(target.PixelColor(2 + 16, y), centreColumn(1));
        for (int x = 17; x < 20; ++x) EXPECT_EQ(target.PixelColor(2 + x, y), right);
    }
    EXPECT_EQ(target.PixelColor(2, 0), kWhite);
    EXPECT_EQ(target.PixelColor(22, 5), kWhite);
}

TEST(SkinPrimitives, DrawStripCellStretched_FillsTheRectWithOneCell) {
    TBitmap strip;
    flatStrip(strip, 3, 4, 2);
    TBitmap target;
    Target(target, 12, 8, kWhite);
    HDC dc = target.Canvas().Handle();
    DrawStripCellStretched(dc, RECT{1, 1, 9, 5}, strip, Keying::Opaque, 3, 2);
    EXPECT_EQ(target.PixelColor(1, 1), cellColour(2));
    EXPECT_EQ(target.PixelColor(8, 4), cellColour(2));
    EXPECT_EQ(target.PixelColor(9, 4), kWhite);
    EXPECT_EQ(target.PixelColor(8, 5), kWhite);
    DrawStripCellStretched(dc, RECT{0, 6, 12, 8}, strip, Keying::Opaque, 3, 9);  // clamped to cell 3
    EXPECT_EQ(target.PixelColor(0, 6), cellColour(3));
    DrawStripCellStretched(dc, RECT{0, 6, 12, 8}, strip, Keying::Opaque, -2, 1);  // one cell: the strip
    EXPECT_EQ(target.PixelColor(0, 6), cellColour(1));
    EXPECT_EQ(target.PixelColor(11, 7), cellColour(3));
}

TEST(SkinPrimitives, DrawStripCellCentered_ACellWiderThanTheRectStartsLeftOfIt) {
    TBitmap strip;
    Paint(strip, 32, 4, [](int x, int) { return x < 16 ? centreColumn(x % 12) : RGB(1, 2, 3); });
    TBitmap target;
    Target(target, 40, 12, kWhite);
    // 16-pixel cell into a 10-pixel-wide rect: x = 20 - 3; 4 high into 10: y = 3.
    DrawStripCellCentered(target.Canvas().Handle(), RECT{20, 0, 30, 10}, strip, Keying::Opaque, 2, 1);
    EXPECT_EQ(target.PixelColor(16, 3), kWhite);
    EXPECT_EQ(target.PixelColor(17, 3), centreColumn(0));
    EXPECT_EQ(target.PixelColor(32, 6), centreColumn(15 % 12));
    EXPECT_EQ(target.PixelColor(33, 6), kWhite);
    EXPECT_EQ(target.PixelColor(17, 2), kWhite);
    EXPECT_EQ(target.PixelColor(17, 7), kWhite);
    // An odd difference truncates toward zero: 16 into 13 gives -1 (not -2).
    Target(target, 40, 12, kWhite);
    DrawStripCellCentered(target.Canvas().Handle(), RECT{20, 0, 33, 4}, strip, Keying::Opaque, 2, 1);
    EXPECT_EQ(target.PixelColor(18, 0), kWhite);
    EXPECT_EQ(target.PixelColor(19, 0), centreColumn(0));
}

TEST(SkinPrimitives, StretchSkinPart_ThreeSlicesOrTheWholeCell) {
    TBitmap cell;
    NineZoneCell(cell, 10, 4, 2, 0, 3, 0);  // columns: 2 left, 5 middle, 3 right
    TBitmap target;
    Target(target, 40, 10, kWhite);
    HDC dc = target.Canvas().Handle();
    SetStretchBltMode(dc, HALFTONE);
    StretchSkinPart(dc, RECT{4, 2, 34, 8}, cell, TSkinMargins{2, 9, 3, 9}, StripAxis::Horizontal, 1, 1);
    for (int y : {2, 7}) {
        EXPECT_EQ(target.PixelColor(4, y), ZoneColour(0, 1));
        EXPECT_EQ(target.PixelColor(5, y), ZoneColour(0, 1));
        EXPECT_EQ(target.PixelColor(6, y), ZoneColour(1, 1));
        EXPECT_EQ(target.PixelColor(30, y), ZoneColour(1, 1));
        EXPECT_EQ(target.PixelColor(31, y), ZoneColour(2, 1));
        EXPECT_EQ(target.PixelColor(33, y), ZoneColour(2, 1));
    }
    EXPECT_EQ(target.PixelColor(34, 5), kWhite);
    EXPECT_EQ(target.PixelColor(10, 8), kWhite);
    EXPECT_EQ(GetStretchBltMode(dc), HALFTONE);  // the caller's mode is put back
    SetStretchBltMode(dc, COLORONCOLOR);
    // 5 wide is narrower than the 10-pixel cell: the whole cell, halved.
    Target(target, 40, 10, kWhite);
    StretchSkinPart(dc, RECT{0, 0, 5, 4}, cell, TSkinMargins{2, 0, 3, 0}, StripAxis::Horizontal, 1, 1);
    EXPECT_EQ(target.PixelColor(0, 0), ZoneColour(0, 1));
    EXPECT_EQ(target.PixelColor(4, 0), ZoneColour(2, 1));
}

TEST(SkinPrimitives, ReversedRectsAndEmptyImagesDrawNothing) {
    TBitmap cell;
    NineZoneCell(cell, 10, 10, 2, 2, 2, 2);
    TBitmap empty;
    TBitmap target;
    Target(target, 20, 20, kWhite);
    HDC dc = target.Canvas().Handle();
    const RECT backwards{15, 2, 5, 12}, upside{2, 15, 12, 5};
    for (const RECT& r : {backwards, upside}) {
        DrawSkinPart(dc, r, cell, StripAxis::Horizontal, CentreFill::Tile, Keying::Opaque, 1, 1, TSkinMargins{2, 2, 2, 2});
        DrawSkinPartH(target.Canvas(), r, cell, StripAxis::Horizontal, Keying::Magenta, 1, 1, TSkinMargins{2, 2, 2, 2});
        DrawStripCellStretched(dc, r, cell, Keying::Opaque, 1, 1);
        DrawStripCellCentered(dc, r, cell, Keying::Opaque, 1, 1);
        StretchSkinPart(dc, r, cell, TSkinMargins{2, 2, 2, 2}, StripAxis::Horizontal, 1, 1);
        DrawTransparentBitmap(dc, r, cell, kSkinKeyColour);
    }
    const RECT fine{0, 0, 20, 20};
    DrawSkinPart(dc, fine, empty, StripAxis::Horizontal, CentreFill::Stretch, Keying::Opaque, 1, 1, TSkinMargins{});
    DrawSkinPartH(target.Canvas(), fine, empty, StripAxis::Horizontal, Keying::Opaque, 1, 1, TSkinMargins{});
    DrawStripCellStretched(dc, fine, empty, Keying::Opaque, 4, 2);
    DrawStripCellCentered(dc, fine, empty, Keying::Opaque, 4, 2);
    StretchSkinPart(dc, fine, empty, TSkinMargins{}, StripAxis::Vertical, 4, 2);
    DrawTransparentBitmap(dc, fine, empty, kSkinKeyColour);
    // A strip narrower than its cell count has no pixel per cell.
    DrawStripCellStretched(dc, fine, cell, Keying::Opaque, 50, 2);
    EXPECT_TRUE(unchanged(target, kWhite));
}

// ---- regions -----------------------------------------------------------------------

namespace {

// The reference: one 1-pixel rectangle per non-key pixel, merged one by one.
HRGN naiveRegion(const TBitmap& b, int dx, int dy, const std::function<bool(COLORREF)>& isKey) {
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (!isKey(b.PixelColor(x, y))) {
                HRGN one = CreateRectRgn(x + dx, y + dy, x + dx + 1, y + dy + 1);
                CombineRgn(result, result, one, RGN_OR);
                DeleteObject(one);
            }
    return result;
}

bool exactKey(COLORREF c) { return c == kMagenta; }

}  // namespace

TEST(SkinPrimitives, CreateRegionFromBitmap_AllKeyIsEmptyNoKeyIsTheRectangle) {
    TBitmap all;
    Paint(all, 5, 5, [](int, int) { return kMagenta; });
    HRGN none = CreateRegionFromBitmap(all, 0, 0, 1, 1, 1, kSkinKeyColour);
    ASSERT_NE(none, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(none, &box), NULLREGION);
    DeleteObject(none);

    TBitmap solid;
    Paint(solid, 6, 4, [](int, int) { return kGreen; });
    HRGN rgn = CreateRegionFromBitmap(solid, 10, 20, 1, 1, 1, kSkinKeyColour);
    HRGN rect = CreateRectRgn(10, 20, 16, 24);
    EXPECT_TRUE(EqualRgn(rgn, rect));
    EXPECT_EQ(solid.PixelFormat(), pf32bit);  // the caller's bitmap is converted
    DeleteObject(rgn);
    DeleteObject(rect);

    TBitmap empty;
    HRGN nothing = CreateRegionFromBitmap(empty, 0, 0, 1, 1, 1, kSkinKeyColour);
    ASSERT_NE(nothing, nullptr);
    EXPECT_EQ(GetRgnBox(nothing, &box), NULLREGION);
    DeleteObject(nothing);
}

TEST(SkinPrimitives, CreateRegionFromBitmap_ToleranceReachesUpFromTheKeyOnly) {
    TBitmap b;
    const COLORREF row[] = {RGB(255, 1, 255), RGB(254, 0, 255), RGB(255, 2, 255), RGB(255, 0, 254), kMagenta};
    Paint(b, 5, 1, [&](int x, int) { return row[x]; });
    HRGN rgn = CreateRegionFromBitmap(b, 0, 0, 1, 1, 1, kSkinKeyColour);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));  // green 1: within tolerance
    EXPECT_TRUE(PtInRegion(rgn, 1, 0));   // red 254: below the key
    EXPECT_TRUE(PtInRegion(rgn, 2, 0));   // green 2: above the tolerance
    EXPECT_TRUE(PtInRegion(rgn, 3, 0));
    EXPECT_FALSE(PtInRegion(rgn, 4, 0));
    DeleteObject(rgn);
}

TEST(SkinPrimitives, CreateRegionFromBitmap_MatchesAUnionOfPixels) {
    uint32_t seed = 12345;
    auto next = [&seed]() { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7FFF; };
    TBitmap b;
    Paint(b, 37, 23, [&](int, int) { return next() % 3 == 0 ? kMagenta : RGB(next() % 256, 0, 0); });
    HRGN rgn = CreateRegionFromBitmap(b, -3, 7, 1, 1, 1, kSkinKeyColour);
    HRGN ref = naiveRegion(b, -3, 7, exactKey);
    EXPECT_TRUE(EqualRgn(rgn, ref));
    DeleteObject(rgn);
    DeleteObject(ref);
}

TEST(SkinPrimitives, CreateRegionFromBitmap_MoreThanOneBatchOfRectangles) {
    // Every other pixel is the key: 100 runs per row, 5000 rectangles, three batches.
    TBitmap b;
    Paint(b, 200, 50, [](int x, int y) { return (x + y) % 2 ? kMagenta : RGB(0, 0, 9); });
    HRGN rgn = CreateRegionFromBitmap(b, 4, 4, 1, 1, 1, kSkinKeyColour);
    HRGN ref = naiveRegion(b, 4, 4, exactKey);
    EXPECT_TRUE(EqualRgn(rgn, ref));
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.left, 4);
    EXPECT_EQ(box.top, 4);
    EXPECT_EQ(box.right, 204);
    EXPECT_EQ(box.bottom, 54);
    DeleteObject(rgn);
    DeleteObject(ref);
}

TEST(SkinPrimitives, Drawing_LeaksNoGdiObjects) {
    TBitmap cell;
    NineZoneCell(cell, 20, 10, 4, 2, 4, 2);
    TBitmap target;
    Target(target, 64, 32, kWhite);
    HDC dc = target.Canvas().Handle();
    auto round = [&]() {
        DrawSkinPart(dc, RECT{0, 0, 50, 30}, cell, StripAxis::Horizontal, CentreFill::Tile, Keying::Magenta, 2, 1, TSkinMargins{4, 2, 4, 2});
        DrawSkinPartH(target.Canvas(), RECT{0, 0, 60, 10}, cell, StripAxis::Horizontal, Keying::Opaque, 1, 1, TSkinMargins{4, 0, 4, 0});
        DrawStripCellStretched(dc, RECT{0, 0, 30, 30}, cell, Keying::Magenta, 2, 2);
        DrawStripCellCentered(dc, RECT{0, 0, 30, 30}, cell, Keying::Opaque, 2, 2);
        StretchSkinPart(dc, RECT{0, 0, 40, 8}, cell, TSkinMargins{4, 0, 4, 0}, StripAxis::Horizontal, 1, 1);
        DeleteObject(CreateRegionFromBitmap(cell, 0, 0, 1, 1, 1, kSkinKeyColour));
        TKeyedPicture keyed = RenderStripCellKeyed(cell, 2, 1, 12, 9);
        DrawKeyedPicture(dc, 3, 3, keyed);
    };
    round();
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    if (!before.gdiKnown) GTEST_SKIP() << "GDI object count unavailable: " << before.source;
    for (int i = 0; i < 50; ++i) round();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    EXPECT_EQ(after.gdi, before.gdi) << before.source;
}
