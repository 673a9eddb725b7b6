// The bar skins' layout arithmetic in tables: cells from states, fills, panel faces,
// channel slices and the track bar's custom-draw answers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "WinSubClassBarsLayout.h"
#include "gui_test.h"

namespace {

std::string Str(const RECT& r) { return guitest::ToString(r); }

TEST(BarLayout, ProgressFill_CountsFromTheLowerLimit) {
    const struct { const char* name; int extent, pos, low, high, fill; } rows[] = {
        {"at the lower limit", 200, 0, 0, 100, 0},
        {"half", 200, 50, 0, 100, 100},
        {"full", 200, 100, 0, 100, 200},
        {"a quarter of 0..200", 200, 50, 0, 200, 50},
        {"lower limit 100, half way", 200, 150, 100, 200, 100},
        {"lower limit 100, at it", 200, 100, 100, 200, 0},
        {"negative lower limit", 100, 0, -100, 100, 50},
        {"past the upper limit", 200, 250, 0, 200, 200},
        {"below the lower limit", 200, -5, 0, 100, 0},
        {"empty range", 200, 5, 10, 10, 0},
        {"reversed range", 200, 5, 10, 0, 0},
        {"no extent", 0, 50, 0, 100, 0},
        {"whole int span", 1000, 0, INT_MIN + 1, INT_MAX, 500},
    };
    for (const auto& r : rows)
        EXPECT_EQ(barskin::ProgressFill(r.extent, r.pos, r.low, r.high), r.fill) << r.name;
}

TEST(BarLayout, UpDownCell_PerStateAndArrow) {
    const struct { int state, arrow, cell; } rows[] = {
        {1, 0, 1}, {2, 0, 2}, {3, 0, 3}, {4, 0, 4},   // up
        {1, 1, 5}, {2, 1, 6}, {3, 1, 7}, {4, 1, 8},   // down
        {1, 2, 1}, {4, 2, 4}, {1, 3, 5}, {2, 3, 6},   // left, right
        {0, 0, 1}, {9, 1, 8}, {-3, 3, 5}, {2, -1, 6}, // held inside the strip
    };
    for (const auto& r : rows)
        EXPECT_EQ(barskin::UpDownCell(r.state, r.arrow), r.cell) << "state " << r.state << " arrow " << r.arrow;
}

TEST(BarLayout, UpDownHalfState_DisabledFirstThenCursorPressedHot) {
    const struct { bool enabled, over, pressed, hot; int state; } rows[] = {
        {false, true, true, true, 3}, {false, false, false, false, 3}, {true, false, true, true, 1},
        {true, true, true, true, 2},  {true, true, false, true, 4},    {true, true, false, false, 1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(barskin::UpDownHalfState(r.enabled, r.over, r.pressed, r.hot), r.state)
            << r.enabled << r.over << r.pressed << r.hot;
}

TEST(BarLayout, StatusPanels_CellsAlignmentsAndFaces) {
    EXPECT_EQ(barskin::StatusBevelCell(pbLowered), 1);
    EXPECT_EQ(barskin::StatusBevelCell(pbRaised), 2);
    EXPECT_EQ(barskin::StatusBevelCell(pbNone), 3);
    const struct { TAlignment alignment; bool rtl; UINT flags; } rows[] = {
        {taLeftJustify, false, DT_LEFT}, {taRightJustify, false, DT_RIGHT}, {taCenter, false, DT_CENTER},
        {taLeftJustify, true, DT_RIGHT}, {taRightJustify, true, DT_LEFT},   {taCenter, true, DT_CENTER},
    };
    for (const auto& r : rows)
        EXPECT_EQ(barskin::StatusPanelAlignment(r.alignment, r.rtl), r.flags) << r.alignment << " rtl " << r.rtl;

    const RECT bar{0, 0, 400, 22};
    EXPECT_TRUE(guitest::SameRect(barskin::StatusPanelFace({0, 2, 100, 22}, bar, 0, 3), RECT{0, 2, 102, 22}));
    EXPECT_TRUE(guitest::SameRect(barskin::StatusPanelFace({102, 2, 150, 22}, bar, 2, 3), RECT{102, 2, 400, 22}))
        << "the last face reaches the bar's right edge";
    EXPECT_TRUE(guitest::SameRect(barskin::SizeGripRect(bar, 12, 10), RECT{387, 11, 399, 21}));
}

TEST(BarLayout, UprightChannel_SwapsOnlyAChannelLyingFlat) {
    const RECT flat{8, 20, 180, 24};   // a vertical bar's channel reported as if horizontal
    const RECT upright{20, 8, 24, 180};
    EXPECT_TRUE(guitest::SameRect(barskin::UprightChannel(flat, true), upright));
    EXPECT_TRUE(guitest::SameRect(barskin::UprightChannel(upright, true), upright)) << "already upright: kept";
    EXPECT_TRUE(guitest::SameRect(barskin::UprightChannel(flat, false), flat)) << "horizontal bars: kept";
}

TEST(BarLayout, ChannelSlices_EndsKeptMiddleStretchedImageCentred) {
    const TSkinMargins m{3, 3, 3, 3};
    // Horizontal channel taller than the 5-pixel image: centred vertically.
    auto h = barskin::ChannelSlices(RECT{10, 20, 110, 30}, 16, 5, m, false);
    EXPECT_TRUE(guitest::SameRect(h[0].source, RECT{0, 0, 3, 5}));
    EXPECT_TRUE(guitest::SameRect(h[0].dest, RECT{10, 22, 13, 27})) << Str(h[0].dest);
    EXPECT_TRUE(guitest::SameRect(h[1].source, RECT{3, 0, 13, 5}));
    EXPECT_TRUE(guitest::SameRect(h[1].dest, RECT{13, 22, 107, 27})) << Str(h[1].dest);
    EXPECT_TRUE(guitest::SameRect(h[2].source, RECT{13, 0, 16, 5}));
    EXPECT_TRUE(guitest::SameRect(h[2].dest, RECT{107, 22, 110, 27})) << Str(h[2].dest);
    // Channel lower than the image: the image starts at the channel's top.
    auto low = barskin::ChannelSlices(RECT{10, 20, 110, 23}, 16, 5, m, false);
    EXPECT_EQ(low[1].dest.top, 20);
    // Vertical: centred across, slices along.
    auto v = barskin::ChannelSlices(RECT{20, 8, 30, 108}, 5, 16, m, true);
    EXPECT_TRUE(guitest::SameRect(v[0].dest, RECT{22, 8, 27, 11})) << Str(v[0].dest);
    EXPECT_TRUE(guitest::SameRect(v[1].source, RECT{0, 3, 5, 13}));
    EXPECT_TRUE(guitest::SameRect(v[1].dest, RECT{22, 11, 27, 105})) << Str(v[1].dest);
    EXPECT_TRUE(guitest::SameRect(v[2].dest, RECT{22, 105, 27, 108})) << Str(v[2].dest);
    // Margins larger than the image never read outside it.
    auto wide = barskin::ChannelSlices(RECT{0, 0, 50, 5}, 4, 5, TSkinMargins{3, 0, 3, 0}, false);
    EXPECT_TRUE(guitest::SameRect(wide[0].source, RECT{0, 0, 3, 5}));
    EXPECT_TRUE(guitest::SameRect(wide[2].source, RECT{3, 0, 4, 5})) << Str(wide[2].source);
    EXPECT_EQ(wide[1].source.right - wide[1].source.left, 0);
}

TEST(BarLayout, TrackBarCustomDraw_StagesAndItems) {
    using A = barskin::TCustomDrawAction;
    const struct { const char* name; DWORD stage; DWORD_PTR item; A action; LRESULT result; } rows[] = {
        {"prepaint", CDDS_PREPAINT, 0, A::None, CDRF_NOTIFYITEMDRAW},
        {"ticks", CDDS_ITEMPREPAINT, TBCD_TICS, A::None, CDRF_DODEFAULT},
        {"thumb", CDDS_ITEMPREPAINT, TBCD_THUMB, A::Thumb, CDRF_SKIPDEFAULT},
        {"channel", CDDS_ITEMPREPAINT, TBCD_CHANNEL, A::Channel, CDRF_SKIPDEFAULT},
        {"pre-erase", CDDS_PREERASE, 0, A::None, CDRF_DODEFAULT},
        {"post-paint of the thumb", CDDS_ITEMPOSTPAINT, TBCD_THUMB, A::None, CDRF_DODEFAULT},
        {"unknown item", CDDS_ITEMPREPAINT, 77, A::None, CDRF_DODEFAULT},
    };
    for (const auto& r : rows) {
        const barskin::TCustomDrawStep step = barskin::TrackBarCustomDrawStep(r.stage, r.item);
        EXPECT_EQ(step.action, r.action) << r.name;
        EXPECT_EQ(step.result, r.result) << r.name;
    }
    EXPECT_EQ(barskin::ThumbCell(5), 2);
    EXPECT_EQ(barskin::ThumbCell(1), 1) << "a one-cell strip has no cell 2";
    EXPECT_EQ(barskin::ThumbCell(0), 1);
}

TEST(BarLayout, UpDownBuddyArea_KeepsThreePixelsOfTheEditFrame) {
    const RECT area{0, 0, 17, 21};
    const RECT parent{100, 100, 200, 121};
    const struct { const char* name; RECT self; RECT expected; } rows[] = {
        {"flush with the frame", {183, 100, 200, 121}, {0, 3, 14, 18}},
        {"one pixel inside", {182, 101, 199, 120}, {0, 2, 15, 19}},
        {"well inside", {170, 105, 187, 116}, {0, 0, 17, 21}},
    };
    for (const auto& r : rows) {
        const RECT got = barskin::UpDownBuddyArea(area, r.self, parent);
        EXPECT_TRUE(guitest::SameRect(got, r.expected)) << r.name << ": " << Str(got);
    }
}

}  // namespace
