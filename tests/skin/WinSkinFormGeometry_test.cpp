// The pure frame geometry that size calculation, hit testing and painting share: cell
// lengths from damaged counts, client rectangles of windows smaller than their borders,
// hit codes, frame rectangles, caption-button places, the show rules of caption buttons,
// border kinds and the caption toggle by version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinSkinFormGeometry.h"

namespace {

using namespace skinframe;

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FrameGeometry, CellLength_NeverDividesByZero) {
    struct Row { const char* name; int length, cells, expected; } rows[] = {
        {"two cells", 8, 2, 4},       {"one cell", 8, 1, 8},           {"zero cells", 8, 0, 8},
        {"negative cells", 8, -3, 8}, {"empty image", 0, 2, 0},        {"negative length", -5, 2, 0},
        {"rounds toward zero", 9, 2, 4},
    };
    for (const Row& r : rows) EXPECT_EQ(CellLength(r.length, r.cells), r.expected) << r.name;
}

TEST(FrameGeometry, ClientRect_InsetByBordersAndMenu_NeverInverted) {
    const FrameMetrics m{4, 30, 4, 4, 19};
    struct Row { const char* name; RECT window; RECT expected; } rows[] = {
        {"normal window", {100, 50, 420, 290}, {104, 99, 416, 286}},
        {"at the origin", {0, 0, 200, 100}, {4, 49, 196, 96}},
        {"narrower than the borders", {0, 0, 6, 100}, {4, 49, 4, 96}},
        {"lower than caption and menu", {0, 0, 200, 40}, {4, 40, 196, 40}},
        {"empty window", {10, 10, 10, 10}, {10, 10, 10, 10}},
    };
    for (const Row& r : rows) {
        const RECT got = CalcClientRect(m, r.window);
        EXPECT_TRUE(Same(got, r.expected)) << r.name << ": got " << Str(got) << " expected " << Str(r.expected);
        EXPECT_GE(got.right, got.left) << r.name;
        EXPECT_GE(got.bottom, got.top) << r.name;
    }
}

TEST(FrameGeometry, HitTest_CaptionBelowTheTopRows_MenuOnlyInItsStrip) {
    const FrameMetrics withMenu{4, 30, 4, 4, 19};
    const FrameMetrics noMenu{4, 30, 4, 4, 0};
    struct Row { const char* name; int defaultHit; POINT p; const FrameMetrics* m; int expected; } rows[] = {
        {"top rows keep the default", HTNOWHERE, {50, 2}, &noMenu, HTNOWHERE},
        {"row 3 keeps the default", HTNOWHERE, {50, 3}, &noMenu, HTNOWHERE},
        {"row 4 is caption", HTNOWHERE, {50, 4}, &noMenu, HTCAPTION},
        {"caption stays caption", HTCAPTION, {50, 10}, &noMenu, HTCAPTION},
        {"sizing edge stays", HTLEFT, {1, 100}, &noMenu, HTLEFT},
        {"client stays", HTCLIENT, {50, 100}, &noMenu, HTCLIENT},
        {"menu strip", HTNOWHERE, {50, 40}, &withMenu, HTMENU},
        {"caption above the strip", HTNOWHERE, {50, 20}, &withMenu, HTCAPTION},
        {"bottom border below the strip", HTNOWHERE, {50, 200}, &withMenu, HTCAPTION},
        {"no menu, under the caption", HTNOWHERE, {50, 40}, &noMenu, HTCAPTION},
    };
    for (const Row& r : rows) EXPECT_EQ(CalcHitTest(r.defaultHit, r.p, *r.m), r.expected) << r.name;
}

TEST(FrameGeometry, FrameRects_CoverTheWindowWithoutNegativeSizes) {
    const FrameMetrics m{4, 30, 5, 6, 0};
    const FrameRects r = CalcFrameRects(m, 200, 100);
    EXPECT_TRUE(Same(r.left, RECT{0, 0, 4, 100})) << Str(r.left);
    EXPECT_TRUE(Same(r.right, RECT{195, 0, 200, 100})) << Str(r.right);
    EXPECT_TRUE(Same(r.bottom, RECT{4, 94, 195, 100})) << Str(r.bottom);
    EXPECT_TRUE(Same(r.caption, RECT{4, 0, 195, 30})) << Str(r.caption);
    EXPECT_TRUE(Same(r.client, RECT{4, 30, 195, 94})) << Str(r.client);

    const FrameRects tiny = CalcFrameRects(m, 3, 2);
    for (const RECT& part : {tiny.left, tiny.right, tiny.bottom, tiny.caption, tiny.menuBar, tiny.client}) {
        EXPECT_GE(part.right, part.left) << Str(part);
        EXPECT_GE(part.bottom, part.top) << Str(part);
    }
    const FrameRects negative = CalcFrameRects(m, -10, -10);
    EXPECT_TRUE(Same(negative.left, RECT{0, 0, 0, 0})) << Str(negative.left);
}

TEST(FrameGeometry, FrameRects_MenuStripEndsAboveTheBottomBorder) {
    const FrameMetrics m{4, 30, 4, 6, 19};
    struct Row { const char* name; int w, h; RECT menuBar, bottom; } rows[] = {
        {"room for everything", 200, 100, {4, 30, 196, 49}, {4, 94, 196, 100}},
        {"just room for the strip", 200, 55, {4, 30, 196, 49}, {4, 49, 196, 55}},
        {"strip cut by the bottom border", 200, 40, {4, 30, 196, 34}, {4, 34, 196, 40}},
        {"minimised to its caption", 160, 30, {4, 30, 156, 30}, {4, 24, 156, 30}},
        {"narrower than the borders", 6, 100, {4, 30, 4, 49}, {4, 94, 4, 100}},
    };
    for (const Row& r : rows) {
        const FrameRects got = CalcFrameRects(m, r.w, r.h);
        EXPECT_TRUE(Same(got.menuBar, r.menuBar)) << r.name << ": menu strip " << Str(got.menuBar) << " expected "
                                                  << Str(r.menuBar);
        EXPECT_TRUE(Same(got.bottom, r.bottom)) << r.name << ": bottom border " << Str(got.bottom) << " expected "
                                                << Str(r.bottom);
    }
}

TEST(FrameGeometry, ButtonRect_ByAlign) {
    const FrameMetrics m{4, 30, 4, 4, 19};
    struct Row { const char* name; int align, x, y; bool rtl; RECT expected; } rows[] = {
        {"left aligned", 0, 8, 7, false, {8, 7, 34, 27}},
        {"from the right edge", 1, 32, 5, false, {168, 5, 194, 25}},
        {"menu strip, left to right", 100, 20, 0, false, {170, 30, 196, 50}},
        {"menu strip, right to left", 100, 20, 0, true, {30, 30, 56, 50}},
        {"unknown align as 0", 2, 8, 7, false, {8, 7, 34, 27}},
    };
    for (const Row& r : rows) {
        const RECT got = CalcButtonRect(r.align, r.x, r.y, 26, 20, 200, m, 6, r.rtl);
        EXPECT_TRUE(Same(got, r.expected)) << r.name << ": " << Str(got);
    }
}

TEST(FrameGeometry, KeepUncrowdedButtons_CloseLongest_NoOverlap) {
    // Close, maximise, minimise from the right edge of a 200-wide caption, and the icon at the left.
    const RECT wide[] = {{170, 5, 196, 25}, {144, 5, 170, 25}, {118, 5, 144, 25}, {4, 5, 24, 25}};
    // The same buttons in a window 40 wide: counted from its right edge they pile onto the icon.
    const RECT narrow[] = {{10, 5, 36, 25}, {-16, 5, 10, 25}, {-42, 5, -16, 25}, {4, 5, 24, 25}};
    // Minimised, 160 wide: the minimise button of a skin without a restore glyph is out on entry.
    const RECT minimised[] = {{130, 5, 156, 25}, {104, 5, 130, 25}, {78, 5, 104, 25}, {4, 5, 24, 25}};
    // A window 20 wide: even the close button, counted from the right edge, starts left of it.
    const RECT tiny[] = {{-6, 5, 20, 25}, {-32, 5, -6, 25}, {-58, 5, -32, 25}, {4, 5, 24, 25}};
    const int closeFirst[] = {0, 1, 2, 3};
    const int iconFirst[] = {3, 0, 1, 2};
    struct Row { const char* name; const RECT* bounds; const int* order; int width; bool minimiseOut; bool expected[4]; } rows[] = {
        {"room for all", wide, closeFirst, 200, false, {true, true, true, true}},
        {"crowded: close kept, the icon it covers dropped", narrow, closeFirst, 40, false, {true, false, false, false}},
        {"crowded, the icon wanted first", narrow, iconFirst, 40, false, {false, false, false, true}},
        {"minimised, minimise button out", minimised, closeFirst, 160, true, {true, true, false, true}},
        {"narrower than the close button", tiny, closeFirst, 20, false, {false, false, false, false}},
        {"no width", wide, closeFirst, 0, false, {false, false, false, false}},
    };
    for (const Row& r : rows) {
        bool keep[4] = {true, true, !r.minimiseOut, true};
        KeepUncrowdedButtons(r.bounds, r.order, 4, r.width, keep);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(keep[i], r.expected[i]) << r.name << ": button " << i;
    }
}

TEST(FrameGeometry, TitleSpan_BetweenTheIconAndTheButtonsOnItsRight) {
    const FrameMetrics m{4, 30, 4, 4, 0};
    const RECT icon{4, 5, 24, 25}, close{170, 5, 196, 25}, maximise{144, 5, 170, 25}, empty{50, 5, 50, 25};
    struct Row { const char* name; int shift, clip, width; std::vector<RECT> buttons; int left, right; } rows[] = {
        {"no buttons: TextRightClip", 10, 30, 200, {}, 10, 170},
        {"shift inside the border", 0, 0, 200, {}, 6, 194},
        {"icon and two buttons", 10, 30, 200, {icon, close, maximise}, 28, 140},
        {"icon only: TextRightClip", 10, 30, 200, {icon}, 28, 170},
        {"an empty button is not a button", 10, 30, 200, {empty}, 10, 170},
        {"narrow: no room", 10, 30, 40, {icon, RECT{10, 5, 36, 25}}, 28, 6},
        {"minimised, close only", 30, 60, 160, {RECT{130, 5, 156, 25}}, 30, 126},
    };
    for (const Row& r : rows) {
        const TitleSpan got = CalcTitleSpan(r.shift, r.clip, m, r.width, r.buttons.data(), static_cast<int>(r.buttons.size()));
        EXPECT_EQ(got.left, r.left) << r.name;
        EXPECT_EQ(got.right, r.right) << r.name;
    }
}

TEST(FrameGeometry, ButtonShown_ByVisibility) {
    ButtonFacts normal;
    normal.maximizeBox = normal.minimizeBox = normal.sysMenu = true;
    ButtonFacts maximized = normal;
    maximized.maximized = true;
    ButtonFacts inactive = normal;
    inactive.active = false;
    ButtonFacts bare;  // no boxes, no system menu
    ButtonFacts dialogFrame = normal;
    dialogFrame.dialogFrame = true;
    ButtonFacts answered = normal;
    answered.hostAnswer = 1;
    struct Row { int visibility; const ButtonFacts* f; bool expected; } rows[] = {
        {0, &normal, true},       {1, &normal, false},     {1, &maximized, true},   {2, &normal, true},
        {2, &maximized, false},   {3, &inactive, false},   {4, &inactive, true},    {5, &normal, false},
        {6, &normal, true},       {6, &bare, false},       {7, &bare, true},        {8, &normal, true},
        {9, &bare, true},         {50, &normal, false},    {100, &normal, false},   {150, &normal, false},
        {200, &dialogFrame, true}, {200, &normal, false},  {500, &normal, true},    {1000, &normal, false},
        {1500, &answered, true},  {2001, &answered, false}, {-1, &normal, false},
    };
    for (const Row& r : rows) EXPECT_EQ(ButtonShown(r.visibility, *r.f), r.expected) << "Visibility " << r.visibility;
}

TEST(FrameGeometry, ButtonVisible_StateAndActionRules) {
    ButtonFacts f;
    f.maximizeBox = f.minimizeBox = f.sysMenu = true;
    EXPECT_FALSE(ButtonVisible(0, -1, 0, f)) << "Visibility1 -1 never shows";
    EXPECT_TRUE(ButtonVisible(0, 0, 0, f));
    EXPECT_TRUE(ButtonVisible(0, 100, 42, f)) << "Visibility1 100 follows the show condition";
    ButtonFacts noSysMenu = f;
    noSysMenu.sysMenu = false;
    EXPECT_FALSE(ButtonVisible(0, 0, 0, noSysMenu)) << "close needs the system menu";
    ButtonFacts noMax = f;
    noMax.maximizeBox = false;
    EXPECT_FALSE(ButtonVisible(0, 0, 1, noMax)) << "maximise needs a maximise box";
    ButtonFacts noMin = f;
    noMin.minimizeBox = false;
    EXPECT_FALSE(ButtonVisible(0, 0, 2, noMin)) << "minimise needs a minimise box";
    ButtonFacts dialog = f;
    dialog.dialogFrame = true;
    for (int action : {3, 11, 12}) EXPECT_FALSE(ButtonVisible(0, 0, action, dialog)) << "icon action " << action;
    EXPECT_TRUE(ButtonVisible(0, 0, 42, noSysMenu)) << "other actions are not restricted";
}

TEST(FrameGeometry, BorderKind_FromStyle) {
    struct Row { const char* name; DWORD style, ex; bool dialogClass; int expected; } rows[] = {
        {"sizeable", WS_OVERLAPPEDWINDOW, 0, false, 0},
        {"fixed", WS_CAPTION | WS_SYSMENU, 0, false, 1},
        {"no full caption", WS_POPUP | WS_BORDER, 0, false, 2},
        {"modal frame style", WS_CAPTION | DS_MODALFRAME, 0, false, 3},
        {"modal frame ex style", WS_OVERLAPPEDWINDOW, WS_EX_DLGMODALFRAME, false, 3},
        {"dialog class", WS_OVERLAPPEDWINDOW, 0, true, 3},
        {"dialog class without caption", WS_POPUP, 0, true, 3},
    };
    for (const Row& r : rows) EXPECT_EQ(CalcBorderKind(r.style, r.ex, r.dialogClass), r.expected) << r.name;
}

TEST(FrameGeometry, CaptionToggle_ByVersionAndWindow) {
    struct Row { const char* name; int major, minor; bool win9x; DWORD ex; bool owner, mdiChild; bool expected; } rows[] = {
        {"Windows 10, unowned", 10, 0, false, 0, false, false, true},
        {"Windows 2000, unowned", 5, 0, false, 0, false, false, true},
        {"Windows 7 (6.1)", 6, 1, false, 0, false, false, false},
        {"Windows 8 without manifest (6.2)", 6, 2, false, 0, false, false, false},
        {"NT 4", 4, 0, false, 0, false, false, false},
        {"owned window", 10, 0, false, 0, true, false, false},
        {"owned application window", 10, 0, false, WS_EX_APPWINDOW, true, false, true},
        {"owned application window on 9x", 10, 0, true, WS_EX_APPWINDOW, true, false, false},
        {"MDI child", 10, 0, false, 0, false, true, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CalcCaptionToggle(r.major, r.minor, r.win9x, r.ex, r.owner, r.mdiChild), r.expected) << r.name;
}

}  // namespace
