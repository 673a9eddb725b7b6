// The media player's button bar (layout, presses, sets by name, a device that cannot be
// opened), the tab set (layout and clicks) and the tabbed notebook (pages by name).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ControlsTestSupport.h"
#include "MPlayer.h"
#include "Tabs.h"

namespace {

const char* const kPlainForm = u8R"(object F: TForm
  Width = 500
  Height = 300
end
)";

template <class C>
C* addTo(TForm& form) {
    C* c = new C(&form);
    c->SetParent(&form);
    return c;
}

void press(HWND wnd, int x) { SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5)); }
void release(HWND wnd, int x) { SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, 5)); }

TButtonSet bits(std::initializer_list<TMPBtnType> buttons) {
    TButtonSet s = 0;
    for (TMPBtnType b : buttons) s |= TButtonSet{1} << b;
    return s;
}

}  // namespace

TEST(TMediaPlayer_Layout, VisibleButtonsShareTheWidth) {
    struct Row { const char* name; TButtonSet visible; int width; int firstIndex; int firstLeft; int buttonWidth; int count; };
    const Row rows[] = {
        {"seven in 100: 14 each, 2 left over", bits({btPlay, btPause, btStop, btNext, btPrev, btStep, btBack}), 100, btPlay, 0, 14, 7},
        {"all nine in 90", kAllMPButtons, 90, btPlay, 0, 10, 9},
        {"one hidden first", bits({btStop, btEject}), 60, btStop, 0, 30, 2},
        {"none", 0, 100, -1, 0, 0, 0},
        {"no width", kAllMPButtons, 0, -1, 0, 0, 0},
    };
    for (const Row& row : rows) {
        const std::vector<RECT> rects = MPButtonRects(row.visible, row.width, 30);
        ASSERT_EQ(9u, rects.size()) << row.name;
        int count = 0;
        for (const RECT& r : rects) {
            if (r.right <= r.left) continue;
            ++count;
            EXPECT_EQ(row.buttonWidth, r.right - r.left) << row.name;
        }
        EXPECT_EQ(row.count, count) << row.name;
        if (row.firstIndex >= 0) { EXPECT_EQ(row.firstLeft, rects[static_cast<size_t>(row.firstIndex)].left) << row.name; }
    }
}

TEST(TMediaPlayer_Click, OnlyAReleaseOverThePressedButtonClicks) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* player = addTo<TMediaPlayer>(*f);
    player->SetBounds(0, 0, 90, 30);  // nine buttons of 10 pixels
    player->SetEnabledButtons(kAllMPButtons & ~bits({btStop}));
    HWND wnd = player->Handle();
    struct Row { const char* name; int down, up; int clicks; TMPBtnType button; };
    const Row rows[] = {
        {"play", 5, 5, 1, btPlay},
        {"boundary belongs to the left button", 10, 10, 1, btPlay},
        {"pause", 15, 12, 1, btPause},
        {"pressed on play, released on pause", 5, 15, 0, btPlay},
        {"disabled stop", 25, 25, 0, btPlay},
        {"eject", 85, 89, 1, btEject},
    };
    for (const Row& row : rows) {
        int clicks = 0;
        TMPBtnType clicked = btPlay;
        player->OnClick = [&](TObject*, TMPBtnType b, bool&) { ++clicks; clicked = b; };
        press(wnd, row.down);
        release(wnd, row.up);
        EXPECT_EQ(row.clicks, clicks) << row.name;
        if (row.clicks) { EXPECT_EQ(row.button, clicked) << row.name; }
        EXPECT_EQ(-1, player->PressedButton()) << row.name;
    }
}

TEST(TMediaPlayer_ByName, ButtonSetsReadAsText) {
    auto f = ctltest::FormFromText(u8R"(object F: TForm
  Width = 500
  Height = 300
  object Player: TMediaPlayer
    VisibleButtons = [btPlay, btStop, btEject]
    ColoredButtons = []
  end
end
)");
    auto* player = dynamic_cast<TMediaPlayer*>(f->FindComponent("Player"));
    ASSERT_NE(nullptr, player);
    EXPECT_EQ("[btPlay,btStop,btEject]", GetSetProp(*player, "VisibleButtons"));
    EXPECT_EQ("[]", GetSetProp(*player, "ColoredButtons"));
    EXPECT_EQ("[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]", GetSetProp(*player, "EnabledButtons"));
    EXPECT_EQ("", GetSetProp(*player, "Missing"));
    SetOrdProp(*player, "EnabledButtons", bits({btPause}));
    EXPECT_EQ("[btPause]", GetSetProp(*player, "EnabledButtons"));
}

TEST(TMediaPlayer_Device, AMissingDeviceFailsCleanly) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* player = addTo<TMediaPlayer>(*f);
    EXPECT_THROW(player->Play(), EMCIDeviceError) << "nothing is open";
    EXPECT_THROW(player->Open(), EMCIDeviceError) << "no file name";
    player->SetFileName("C:\\no such folder\\no such file.wav");
    try {
        player->Open();
        FAIL() << "a missing file opened";
    } catch (const EMCIDeviceError& e) {
        EXPECT_STRNE("", e.what());
    }
    EXPECT_FALSE(player->IsOpen());
    // A click on a closed player runs OnClick and nothing more.
    player->SetBounds(0, 0, 90, 30);
    int clicks = 0;
    player->OnClick = [&](TObject*, TMPBtnType, bool&) { ++clicks; };
    press(player->Handle(), 5);
    release(player->Handle(), 5);
    EXPECT_EQ(1, clicks);
}

TEST(TTabSet_Layout, TabsFromTheFirstThatFit) {
    struct Row { const char* name; std::vector<int> widths; int first, start, room; std::vector<int> lefts; };
    // lefts: the left edge of each tab, -1 for a tab that is not shown.
    const Row rows[] = {
        {"all fit", {10, 20, 5}, 0, 5, 200, {5, 24, 53}},
        {"exact fit", {10, 20}, 0, 5, 53, {5, 24}},
        {"last does not fit", {10, 20, 5}, 0, 5, 60, {5, 24, -1}},
        {"a later short tab takes the place of a long one", {10, 100, 1}, 0, 0, 40, {0, -1, 19}},
        {"from the first index", {10, 20, 5}, 1, 5, 200, {-1, 5, 34}},
        {"none", {}, 0, 5, 200, {}},
        {"first index past the end", {10}, 4, 5, 200, {-1}},
    };
    for (const Row& row : rows) {
        const std::vector<RECT> rects = TabSetLayout(row.widths, row.first, row.start, row.room, 21);
        ASSERT_EQ(row.lefts.size(), rects.size()) << row.name;
        for (size_t i = 0; i < rects.size(); ++i) {
            const bool shown = rects[i].right > rects[i].left;
            EXPECT_EQ(row.lefts[i] >= 0, shown) << row.name << " tab " << i;
            if (shown) {
                EXPECT_EQ(row.lefts[i], rects[i].left) << row.name << " tab " << i;
                EXPECT_EQ(row.widths[i] + 9, rects[i].right - rects[i].left) << row.name << " tab " << i;
            }
        }
    }
}

TEST(TTabSet_Click, AClickOnATabAsksOnceAndChooses) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* tabs = addTo<TTabSet>(*f);
    tabs->SetBounds(0, 0, 300, 21);
    for (const char* t : {"甲", "two", "three"}) tabs->Tabs().Add(t);
    SetOrdProp(*tabs, "TabIndex", 0);
    HWND wnd = tabs->Handle();
    const std::vector<RECT> rects = tabs->TabRects();
    const int x2 = (rects[2].left + rects[2].right) / 2;
    int asks = 0, asked = -1;
    bool allow = false;
    tabs->OnChange = [&](TObject*, int newTab, bool& a) { ++asks; asked = newTab; a = allow; };
    press(wnd, x2);
    EXPECT_EQ(1, asks);
    EXPECT_EQ(2, asked);
    EXPECT_EQ(0, tabs->TabIndex()) << "refused";
    allow = true;
    press(wnd, x2);
    EXPECT_EQ(2, asks);
    EXPECT_EQ(2, tabs->TabIndex());
    press(wnd, x2);
    EXPECT_EQ(2, asks) << "the chosen tab asks nothing";
    tabs->Tabs().Delete(2);
    EXPECT_EQ(1, tabs->TabIndex()) << "the chosen tab stays within the tabs";
}

TEST(TTabbedNotebook_Pages, NamesArePagesAndChooseByName) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* book = addTo<TTabbedNotebook>(*f);
    book->Pages().Add("one");
    book->Pages().Add("three");
    book->Pages().Insert(1, "two");
    HWND wnd = book->Handle();
    ASSERT_EQ(3, SendMessageA(wnd, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("two", book->Pages().Get(1));
    EXPECT_EQ("two", book->Pages(1)->Caption());
    SetStrProp(*book, "ActivePage", "three");
    EXPECT_EQ(2, SendMessageA(wnd, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ(2, GetOrdProp(*book, "PageIndex"));
    SetOrdProp(*book, "PageIndex", 1);
    EXPECT_EQ("two", GetStrProp(*book, "ActivePage"));
    EXPECT_TRUE(GetWindowLongPtrA(book->Pages(1)->Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrA(book->Pages(2)->Handle(), GWL_STYLE) & WS_VISIBLE);
    book->Pages().Delete(0);
    EXPECT_EQ(2, SendMessageA(wnd, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("two", GetStrProp(*book, "ActivePage"));
    EXPECT_EQ(0, SendMessageA(wnd, TCM_GETCURSEL, 0, 0));
}
