// The menu bar's geometry (start offset, item widths, bounds, hit testing, moving along the
// bar) and the centred text the bar draws its captions with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "SkinDrawHelpers.h"
#include "WinSkinMenuLayout.h"
#include "gui_test.h"

namespace {

std::string str(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

TEST(MenuBarLayout, StartOffset) {
    struct Row {
        const char* name;
        bool hasPart;
        int left, right;
        bool rtl;
        int barWidth;
        int expected;
    } rows[] = {
        {"no part, left to right", false, 2, 2, false, 300, 6},
        {"no part, right to left", false, 2, 2, true, 300, 6},
        {"part, left to right", true, 2, 9, false, 300, 6},
        {"part, right to left", true, 9, 2, true, 300, 10},
        {"part, bar narrower than the offset", true, 2, 2, false, 5, 12},
        {"part, right to left, narrow bar", true, 2, 2, true, 9, 12},
        {"part, bar exactly the offset", true, 2, 2, false, 6, 6},
        {"no part, empty bar", false, 0, 0, false, 0, 6},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MenuBarStartOffset(r.hasPart, r.left, r.right, r.rtl, r.barWidth), r.expected) << r.name;
}

TEST(MenuBarLayout, ItemWidth) {
    EXPECT_EQ(MenuBarItemWidth(0), 0) << "empty caption takes no room";
    EXPECT_EQ(MenuBarItemWidth(-3), 0);
    EXPECT_EQ(MenuBarItemWidth(30), 40);
}

TEST(MenuBarLayout, ItemBounds) {
    const RECT bar{4, 30, 204, 49};
    const std::vector<MenuBarItemExtent> items{{40, true}, {0, true}, {30, false}, {20, true}};
    struct Row {
        const char* name;
        RECT bar;
        int x0;
        bool rtl;
        std::vector<RECT> expected;
    } rows[] = {
        {"left to right", bar, 6, false, {{10, 30, 50, 48}, {50, 30, 50, 48}, {0, 0, 0, 0}, {50, 30, 70, 48}}},
        {"right to left", bar, 6, true, {{158, 30, 198, 48}, {158, 30, 158, 48}, {0, 0, 0, 0}, {138, 30, 158, 48}}},
        {"empty bar", RECT{4, 30, 4, 49}, 6, false, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        {"reversed bar", RECT{4, 30, 204, 20}, 6, false, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const Row& r : rows) {
        const std::vector<RECT> got = LayoutMenuBarItems(r.bar, r.x0, r.rtl, items);
        ASSERT_EQ(got.size(), r.expected.size()) << r.name;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_TRUE(guitest::SameRect(got[i], r.expected[i]))
                << r.name << " item " << i << ": " << str(got[i]) << " expected " << str(r.expected[i]);
    }
}

TEST(MenuBarLayout, ItemAtNeverFindsEmptyBounds) {
    // An invisible item has bounds (0,0,0,0) and an item without a caption a zero width:
    // neither is hit, not even at the corner a click on empty bounds would land on.
    const std::vector<RECT> bounds{{0, 0, 0, 0}, {10, 30, 10, 48}, {10, 30, 50, 48}, {50, 30, 70, 48}};
    struct Row {
        POINT pt;
        int expected;
    } rows[] = {{{0, 0}, -1}, {{1, 1}, -1}, {{10, 30}, 2}, {{49, 47}, 2}, {{50, 30}, 3}, {{70, 30}, -1}, {{20, 48}, -1}};
    for (const auto& r : rows)
        EXPECT_EQ(MenuBarItemAt(bounds, r.pt), r.expected) << "point " << r.pt.x << "," << r.pt.y;
}

TEST(MenuBarLayout, NextIndexWrapsAndSkipsUnselectable) {
    struct Row {
        const char* name;
        int current;
        std::vector<bool> selectable;
        bool forward;
        int expected;
    } rows[] = {
        {"empty bar has no next item", 0, {}, true, -1},
        {"empty bar, backward", -1, {}, false, -1},
        {"right on the last opens the first", 2, {true, true, true}, true, 0},
        {"left on the first opens the last", 0, {true, true, true}, false, 2},
        {"forward from none", -1, {true, true, true}, true, 0},
        {"backward from none", -1, {true, true, true}, false, 2},
        {"invisible neighbour passed over", 0, {true, false, true}, true, 2},
        {"invisible neighbour passed over backward", 2, {true, false, true}, false, 0},
        {"nothing selectable", 1, {false, false}, true, -1},
        {"only the current one", 1, {false, true, false}, true, 1},
        {"index beyond the bar", 7, {true, true}, true, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(NextMenuBarIndex(r.current, r.selectable, r.forward), r.expected) << r.name;
}

// The bounding box of pixels that differ from the background.
RECT inkBounds(const guitest::Capture& cap, COLORREF background) {
    RECT r{cap.Width(), cap.Height(), -1, -1};
    for (int y = 0; y < cap.Height(); ++y)
        for (int x = 0; x < cap.Width(); ++x)
            if (cap.Pixel(x, y) != background) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

TEST(DrawCenteredText, CentredWhateverTheAlignment) {
    // The text sits in the middle of the rectangle both ways for every alignment (measured
    // from where the ink lands, within the glyphs' side bearings).
    for (TAlignment a : {taLeftJustify, taCenter, taRightJustify}) {
        guitest::Capture cap(200, 40);
        ASSERT_TRUE(cap.Valid());
        cap.Fill(0x00FFFFFF);
        TCanvas canvas;
        canvas.SetHandle(cap.Dc());
        canvas.Font().Assign(Screen->MenuFont());
        canvas.Font().SetColor(clBlack);
        DrawCenteredText(canvas, RECT{0, 0, 200, 40}, L"MMMM", a, true);
        canvas.SetHandle(nullptr);
        const RECT ink = inkBounds(cap, RGB(255, 255, 255));
        ASSERT_GT(ink.right, ink.left) << "alignment " << a << ": nothing drawn";
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 100.0, 3.0) << "alignment " << a;
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20.0, 4.0) << "alignment " << a;
    }
}

TEST(DrawCenteredText, DisabledUsesButtonShadowAndLeavesBackground) {
    guitest::Capture cap(120, 30);
    cap.Fill(0x00FFFFFF);
    TCanvas canvas;
    canvas.SetHandle(cap.Dc());
    canvas.Font().Assign(Screen->MenuFont());
    canvas.Font().SetColor(clBlack);
    DrawCenteredText(canvas, RECT{0, 0, 120, 30}, L"HHHH", taCenter, false);
    canvas.SetHandle(nullptr);
    const COLORREF shadow = ColorToRGB(clBtnShadow);
    bool sawShadow = false, sawBlack = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF c = cap.Pixel(x, y);
            if (c == shadow) sawShadow = true;
            if (c == RGB(0, 0, 0)) sawBlack = true;
        }
    EXPECT_TRUE(sawShadow);
    EXPECT_FALSE(sawBlack) << "the canvas colour gives way to the shadow colour";
    EXPECT_TRUE(guitest::PixelIs(cap, 0, 0, RGB(255, 255, 255))) << "transparent background";
}

TEST(CenteredTextRect, HalvesTruncateTowardZero) {
    EXPECT_TRUE(guitest::SameRect(CenteredTextRect(RECT{0, 0, 11, 11}, 4, 4), RECT{3, 3, 7, 7}));
    // A text wider than the rect sticks out equally (the half truncates toward zero).
    EXPECT_TRUE(guitest::SameRect(CenteredTextRect(RECT{10, 0, 20, 10}, 15, 10), RECT{8, 0, 23, 10}));
}

}  // namespace
