// The skinned menu bar of real windows under the skin manager (its hook installed, so every
// popup-menu window gets its popup skin): layout and paint from the skin, opening items by
// keyboard and by the host's click, moving along the bar with the arrow keys while exactly
// one drop-down is open, disabled items, the owner-drawn items of the drop-downs, an MDI
// frame with a maximised document, the menu given back by Unskin, and switching the owner
// drawing of class-library menus on and off.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Handles.h"
#include "Menus.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "WinSkinPopMenu.h"
#include "gui_test.h"
#include "menu_test_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

namespace {

using guitest::Capture;
using guitest::PixelIs;
using menutests::CellRef;
using menutests::ThreadMenuWindows;
using menutests::ThreadTimer;
using skinform::FlatRef;

enum : UINT { kOpen = 101, kClose = 102, kUndo = 201, kCopy = 202, kZoom = 301, kDeeper = 302, kAbout = 401 };

// File (Open, separator, Close), Edit (Undo, Copy), View (Zoom, More > Deeper) or a
// disabled item in its place, Help (About).
HMENU makeMenuBar(bool disabledThird) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kOpen, "Open");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kClose, "Close");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, kUndo, "Undo");
    AppendMenuA(edit, MF_STRING, kCopy, "Copy");
    HMENU view = CreatePopupMenu();
    HMENU more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, kDeeper, "Deeper");
    AppendMenuA(view, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
    AppendMenuA(view, MF_STRING, kZoom, "Zoom");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, kAbout, "About");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(bar, MF_POPUP | (disabledThird ? MF_GRAYED : 0u), reinterpret_cast<UINT_PTR>(view),
                disabledThird ? "&Disabled" : "&View");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    return bar;
}

// Runs `open` (which blocks while drop-downs are open) with a timer that calls `step` with
// the open drop-downs whenever at least one is visible; step returns false to end the menu.
// True when the step ended it.  A menu that closed by itself was cancelled from outside
// (the tests run side by side on one display, and a window of another program that takes
// the activation closes an open menu): `reset` puts the caller's state back and the menu
// is opened again.  A menu that never shows is ended after a while, so the test fails
// instead of hanging.
bool withMenus(const std::function<void()>& open, const std::function<bool(const std::vector<HWND>&)>& step,
               const std::function<void()>& reset = {}) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (reset) reset();
        bool finished = false;
        int idle = 0;
        {
            ThreadTimer timer(30, [&] {
                if (finished) return;
                const std::vector<HWND> menus = ThreadMenuWindows();
                if (menus.empty()) {
                    if (++idle > 200) EndMenu();
                    return;
                }
                if (!step(menus)) {
                    finished = true;
                    EndMenu();
                }
            });
            open();
        }
        guitest::PumpMessages();
        if (finished) return true;
    }
    return false;
}

class SkinnedMenuBar : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        skinform::SkinFormTest::SetUp();
        if (HasFatalFailure()) return;
        manager->InstallHook();
        SetSkinVersionValue(skinform::kVersionWin10);  // the hook takes the platform's value
        Open(false);
    }
    void Open(bool disabledThird) {
        window.Destroy();
        guitest::PumpMessages();
        menu = makeMenuBar(disabledThird);
        guitest::TestWindowOptions o;
        // Hidden until skinned: showing activates it, and the hook would skin it then.
        o.style = WS_OVERLAPPEDWINDOW;
        o.x = 60;
        o.y = 60;
        o.width = 420;
        o.height = 300;
        o.handler = [this](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
            if (msg == WM_COMMAND) commands.push_back(LOWORD(wParam));
            return false;
        };
        window = guitest::TestWindow(o);
        ASSERT_TRUE(window);
        ASSERT_TRUE(SetMenu(window.Handle(), menu));
        form = SkinAndApply(window.Handle());
        ASSERT_NE(form, nullptr);
        ASSERT_NE(form->FMenuBar, nullptr);
        ShowWindow(window.Handle(), SW_SHOW);
        guitest::PumpMessages();
        skinform::PaintedFrame(*form);  // lays the bar out at the window's size
        commands.clear();
    }
    void TearDown() override {
        window.Destroy();
        guitest::PumpMessages();
        skinform::SkinFormTest::TearDown();
    }
    HMENU sub(int i) const { return GetSubMenu(menu, i); }
    int indexOf(HMENU popup) const {
        for (int i = 0; i < 4; ++i)
            if (sub(i) == popup) return i;
        return -1;
    }
    // A screen point inside bar item i.
    POINT itemPoint(int i) const {
        const RECT& b = form->FMenuBar->Item(i)->Bounds;
        return skinform::FrameToScreen(window.Handle(), POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2});
    }

    HMENU menu = nullptr;  // the window's menu; the bar keeps it after removing it
    guitest::TestWindow window;
    TWinSkinForm* form = nullptr;
    std::vector<UINT> commands;
};

int captionWidth(const std::wstring& caption) {
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    SelectGuard font(dc.get(), Screen->MenuFont().Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_NOCLIP);
    return r.right - r.left;
}

TEST_F(SkinnedMenuBar, Build_TakesTheMenuAndLaysItemsOutFromTheSkin) {
    EXPECT_EQ(GetMenu(window.Handle()), nullptr) << "the system menu bar is removed";
    EXPECT_EQ(form->FMenuHeight, GetSystemMetrics(SM_CYMENU));
    TWinSkinMenu& bar = *form->FMenuBar;
    ASSERT_EQ(bar.ItemCount(), 4);
    const RECT strip = bar.FormBarRect();
    EXPECT_EQ(strip.left, form->FBorderLeft);
    EXPECT_EQ(strip.top, form->FBorderTop);
    int x = strip.left + data->MenuBar->Margins.Left + 4;
    const wchar_t* captions[] = {L"&File", L"&Edit", L"&View", L"&Help"};
    for (int i = 0; i < 4; ++i) {
        const TMenuBtn* item = bar.Item(i);
        EXPECT_EQ(item->Caption, captions[i]) << i;
        EXPECT_EQ(item->SubMenu, sub(i)) << i;
        const int w = captionWidth(captions[i]) + 10;
        EXPECT_TRUE(guitest::SameRect(item->Bounds, RECT{x, strip.top, x + w, strip.bottom - 1}))
            << "item " << i << ": " << guitest::ToString(item->Bounds);
        x += w;
    }
    // The client area lies under the strip.
    POINT client{0, 0};
    ClientToScreen(window.Handle(), &client);
    const RECT wr = guitest::WindowRectOf(window.Handle());
    EXPECT_EQ(client.y - wr.top, form->FBorderTop + form->FMenuHeight);
}

TEST_F(SkinnedMenuBar, PaintFrame_DrawsTheBarInItsStrip) {
    const RECT strip = form->FMenuBar->FormBarRect();
    for (bool active : {true, false}) {
        form->FActive = active;
        const Capture c = skinform::PaintedFrame(*form);
        ASSERT_TRUE(c.Valid());
        // Right of the last item, inside the stretched middle of the part.
        EXPECT_TRUE(PixelIs(c, strip.right - 10, (strip.top + strip.bottom) / 2,
                            CellRef("Personality", "menuBar", active ? 1 : 2)))
            << "active " << active;
    }
    form->FActive = true;
}

TEST_F(SkinnedMenuBar, HitTest_StripAnswersMenu) {
    const POINT p = itemPoint(1);
    EXPECT_EQ(SendMessageW(window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTMENU);
}

TEST_F(SkinnedMenuBar, DisabledItem_CaptionInButtonShadow) {
    Open(true);
    TWinSkinMenu& bar = *form->FMenuBar;
    ASSERT_FALSE(bar.Item(2)->Enabled);
    data->Colours.ButtonShadow = 0x00117733;
    form->FActive = true;
    const Capture c = skinform::PaintedFrame(*form);
    ASSERT_TRUE(c.Valid());
    bool sawShadow = false;
    const RECT& b = bar.Item(2)->Bounds;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) sawShadow = sawShadow || c.Pixel(x, y) == ColorToRGB(0x00117733);
    EXPECT_TRUE(sawShadow);
}

TEST_F(SkinnedMenuBar, KeyMenu_AltLetterOrAloneOpensThatItem) {
    struct Row {
        const char* name;
        LPARAM key;
        int item;
    } rows[] = {{"Alt+E", 'e', 1}, {"Alt+H (upper case)", 'H', 3}, {"Alt alone", 0, 0}};
    for (const Row& r : rows) {
        HMENU seen = nullptr;
        size_t windows = 0;
        bool skinnedPopup = false;
        EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, r.key); },
                  [&](const std::vector<HWND>& menus) {
                      seen = form->FTrackedMenu;
                      windows = menus.size();
                      skinnedPopup = SendMessageW(menus.front(), WM_SKINQUERY, 0, 0) == 1;
                      return false;
                  })) << "the menu stayed open until the test ended it";
        EXPECT_EQ(indexOf(seen), r.item) << r.name;
        EXPECT_EQ(windows, 1u) << r.name;
        EXPECT_TRUE(skinnedPopup) << r.name << ": the drop-down wears a popup skin";
        EXPECT_FALSE(form->FMenuTracking) << r.name;
    }
    EXPECT_EQ(manager->PopupSkinCount(), 0) << "popup skins go with their windows";
    EXPECT_EQ(manager->FMenuKind, mkPopup);
}

TEST_F(SkinnedMenuBar, KeyMenu_LetterOfNoItemGoesToTheWindow) {
    bool opened = false;
    int ticks = 0;
    ThreadTimer timer(30, [&] {
        opened = opened || !ThreadMenuWindows().empty();
        if (!ThreadMenuWindows().empty() || ++ticks > 5) EndMenu();
    });
    // No item has Q: the default procedure gets the command (and finds no menu either).
    SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'q');
    EXPECT_EQ(form->FTrackedMenu, nullptr);
}

TEST_F(SkinnedMenuBar, SysChar_FromTheKeyboardOpensTheItem) {
    // What the keyboard does: WM_SYSCHAR with the Alt bit, which the default procedure
    // turns into SC_KEYMENU with the letter.
    HMENU seen = nullptr;
    EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_SYSCHAR, 'v', 0x20000000); },
              [&](const std::vector<HWND>&) {
                  seen = form->FTrackedMenu;
                  return false;
              })) << "the menu stayed open until the test ended it";
    EXPECT_EQ(indexOf(seen), 2);
}

TEST_F(SkinnedMenuBar, Keyboard_RightAndLeftMoveWithOneDropDownOpen) {
    // File -Right-> Edit -Left-> File -Left (wraps)-> Help -Right (wraps)-> File.
    const UINT keys[] = {VK_RIGHT, VK_LEFT, VK_LEFT, VK_RIGHT};
    const int expected[] = {0, 1, 0, 3, 0};
    std::vector<int> order;
    size_t most = 0;
    size_t step = 0;
    HMENU last = nullptr;
    EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0); },
              [&](const std::vector<HWND>& menus) {
                  most = std::max(most, menus.size());
                  if (form->FTrackedMenu == last) return true;  // wait for the switch
                  last = form->FTrackedMenu;
                  order.push_back(indexOf(last));
                  if (step == std::size(keys)) return false;
                  PostMessageW(menus.front(), WM_KEYDOWN, keys[step++], 0);
                  return true;
              },
              [&] {
                  order.clear();
                  most = 0;
                  step = 0;
                  last = nullptr;
              })) << "the menu stayed open until the test ended it";
    EXPECT_EQ(most, 1u) << "never two drop-downs at once";
    ASSERT_EQ(order.size(), std::size(expected));
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], expected[i]) << "step " << i;
    EXPECT_FALSE(form->FMenuTracking);
    EXPECT_TRUE(ThreadMenuWindows().empty());
}

TEST_F(SkinnedMenuBar, Keyboard_RightOnASubmenuOpensItInstead) {
    // View's first item has a submenu: Right opens it (two menu windows: the drop-down and
    // its submenu), the tracked bar item stays View.
    size_t most = 0;
    int phase = 0;
    HMENU tracked = nullptr;
    EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'v'); },
              [&](const std::vector<HWND>& menus) {
                  most = std::max(most, menus.size());
                  tracked = form->FTrackedMenu;
                  if (phase == 0 && (GetMenuState(sub(2), 0, MF_BYPOSITION) & MF_HILITE)) {
                      phase = 1;
                      PostMessageW(menus.front(), WM_KEYDOWN, VK_RIGHT, 0);
                      return true;
                  }
                  return phase == 0 || menus.size() < 2;
              },
              [&] {
                  most = 0;
                  phase = 0;
              })) << "the menu stayed open until the test ended it";
    EXPECT_EQ(most, 2u) << "the submenu opened beside its drop-down";
    EXPECT_EQ(indexOf(tracked), 2);
}

TEST_F(SkinnedMenuBar, HostClick_OpensTheItemAtThePoint) {
    HMENU seen = nullptr;
    const POINT p = itemPoint(2);
    EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_SKINMENUBARCLICK, 0, MAKELPARAM(p.x, p.y)); },
              [&](const std::vector<HWND>&) {
                  seen = form->FTrackedMenu;
                  return false;
              })) << "the menu stayed open until the test ended it";
    EXPECT_EQ(indexOf(seen), 2);
    ASSERT_FALSE(commands.empty() && !guitest::PumpUntil([&] { return !commands.empty(); }));
    EXPECT_EQ(commands.front(), LOWORD(form->FMenuBar->Item(2)->CommandId)) << "the bar item's command is posted";
}

TEST_F(SkinnedMenuBar, MouseDown_OnAnItemOpensIt) {
    HMENU seen = nullptr;
    const POINT p = itemPoint(1);
    EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(p.x, p.y)); },
              [&](const std::vector<HWND>&) {
                  seen = form->FTrackedMenu;
                  return false;
              })) << "the menu stayed open until the test ended it";
    EXPECT_EQ(indexOf(seen), 1);
}

TEST_F(SkinnedMenuBar, DisabledItem_NeverOpens) {
    Open(true);
    TMenuBtn* disabled = form->FMenuBar->Item(2);
    ASSERT_FALSE(disabled->Enabled);
    bool sawMenu = false;
    int ticks = 0;
    ThreadTimer timer(30, [&] {
        sawMenu = sawMenu || !ThreadMenuWindows().empty();
        if (++ticks > 5) EndMenu();
    });
    EXPECT_TRUE(form->OpenMenuButton(disabled));
    EXPECT_FALSE(sawMenu);
    EXPECT_EQ(form->FindAccelButton(L'd'), nullptr) << "Alt+letter passes over a disabled item";
    ASSERT_TRUE(guitest::PumpUntil([&] { return !commands.empty(); })) << "the item's command is still posted";
    EXPECT_EQ(commands.back(), LOWORD(disabled->CommandId));
}

TEST_F(SkinnedMenuBar, InvisibleItems_NeverClickedAtTheCorner) {
    TWinSkinMenu& bar = *form->FMenuBar;
    for (int i = 0; i < bar.ItemCount(); ++i) {
        bar.Item(i)->Visible = false;
        bar.Item(i)->Bounds = RECT{0, 0, 0, 0};
    }
    MSG msg;
    while (PeekMessageW(&msg, window.Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {}
    form->PostMenuBarClick(bar.Item(0));
    EXPECT_FALSE(PeekMessageW(&msg, window.Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(form->FindAccelButton(L'f'), nullptr);
}

TEST_F(SkinnedMenuBar, OwnerDrawnDropDown_MeasuredAndDrawnFromTheSkin) {
    // The File drop-down, printed while open: the first item (selected by the opening) in
    // cell 4 of [MenuItem], the last in cell 1; a raw separator measures 8 rows.
    Capture cap;
    RECT first{}, separator{}, last{};
    EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f'); },
              [&](const std::vector<HWND>& menus) {
                  if (!(GetMenuState(sub(0), 0, MF_BYPOSITION) & MF_HILITE)) return true;
                  GetMenuItemRect(window.Handle(), sub(0), 0, &first);
                  GetMenuItemRect(window.Handle(), sub(0), 1, &separator);
                  GetMenuItemRect(window.Handle(), sub(0), 2, &last);
                  const RECT client = guitest::ClientRectOf(menus.front());
                  cap = Capture(client.right, client.bottom);
                  SendMessageW(menus.front(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(cap.Dc()), PRF_CLIENT);
                  // Item rectangles are on screen; the print is in client coordinates.
                  POINT origin{0, 0};
                  ClientToScreen(menus.front(), &origin);
                  for (RECT* r : {&first, &separator, &last}) OffsetRect(r, -origin.x, -origin.y);
                  return false;
              })) << "the menu stayed open until the test ended it";
    ASSERT_TRUE(cap.Valid()) << "the drop-down never showed its first item selected";
    EXPECT_EQ(separator.bottom - separator.top, 8);
    EXPECT_GT(first.bottom - first.top, 8);
    EXPECT_TRUE(PixelIs(cap, first.right - 4, (first.top + first.bottom) / 2, CellRef("MenuItem", "Image", 4)))
        << "selected item";
    EXPECT_TRUE(PixelIs(cap, last.right - 4, (last.top + last.bottom) / 2, CellRef("MenuItem", "Image", 1)))
        << "normal item";
    // Marked owner-drawn, the items keep their texts for the skin's painters.
    char text[16] = {};
    GetMenuStringA(sub(0), kClose, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Close");
}

TEST_F(SkinnedMenuBar, Unskin_GivesTheMenuBackDrawnByTheSystem) {
    // Open a drop-down once, so its items are owner-drawn while skinned.
    EXPECT_TRUE(withMenus([&] { SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f'); },
              [&](const std::vector<HWND>&) { return false; })) << "the menu stayed open until the test ended it";
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(sub(0), 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    form->Unskin();
    EXPECT_EQ(GetMenu(window.Handle()), menu);
    EXPECT_EQ(form->FMenuBar, nullptr);
    for (HMENU popup : {sub(0), sub(2), GetSubMenu(sub(2), 0)}) {
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            info.fType = 0;
            ASSERT_TRUE(GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info));
            EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << "item " << i;
        }
    }
    info.fType = 0;
    ASSERT_TRUE(GetMenuItemInfoA(sub(0), 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "the separator stays one";
}

TEST_F(SkinnedMenuBar, MenuChanged_RebuildsTheBarAndKeepsTheSystemBarAway) {
    AppendMenuA(menu, MF_STRING, 500, "&Tools");
    SetMenu(window.Handle(), menu);  // the application shows its changed menu again
    SendMessageW(window.Handle(), CM_MENUCHANGED, 0, 0);
    EXPECT_EQ(GetMenu(window.Handle()), nullptr);
    ASSERT_EQ(form->FMenuBar->ItemCount(), 5);
    EXPECT_EQ(form->FMenuBar->Item(4)->Caption, L"&Tools");
    EXPECT_TRUE(data->FramePaint) << "the frame-paint flag comes back";
}

TEST_F(SkinnedMenuBar, MenuChanged_OnAWindowWithoutABarGivesItOne) {
    guitest::TestWindowOptions o;
    o.style = WS_OVERLAPPEDWINDOW;
    guitest::TestWindow plain(o);
    TWinSkinForm* skin = SkinAndApply(plain.Handle());
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->FMenuBar, nullptr);
    HMENU later = makeMenuBar(false);
    SetMenu(plain.Handle(), later);
    SendMessageW(plain.Handle(), CM_MENUCHANGED, 0, 0);
    ASSERT_NE(skin->FMenuBar, nullptr) << "the menu is not lost";
    EXPECT_EQ(skin->FMenuBar->ItemCount(), 4);
    EXPECT_EQ(GetMenu(plain.Handle()), nullptr);
    POINT client{0, 0};
    ClientToScreen(plain.Handle(), &client);
    EXPECT_EQ(client.y - guitest::WindowRectOf(plain.Handle()).top, skin->FBorderTop + skin->FMenuHeight);
}

TEST_F(SkinnedMenuBar, MenuChar_FindsTheAcceleratorOfOwnerDrawnItems) {
    HMENU popup = CreatePopupMenu();
    HMENU deeper = CreatePopupMenu();
    AppendMenuA(deeper, MF_STRING, 9, "Inside");
    AppendMenuA(popup, MF_STRING, 1, "&Alpha");
    AppendMenuA(popup, MF_STRING | MF_GRAYED, 2, "&Beta");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), "&Gamma");
    AppendMenuA(popup, MF_STRING, 5, "Delta\tCtrl+D");
    SetMenuTreeOwnerDraw(popup);
    struct Row {
        const char* name;
        wchar_t ch;
        LRESULT expected;
    } rows[] = {
        {"enabled item", L'a', MAKELRESULT(0, MNC_EXECUTE)},
        {"upper case", L'A', MAKELRESULT(0, MNC_EXECUTE)},
        {"disabled item", L'b', MAKELRESULT(0, MNC_IGNORE)},
        {"item with a submenu", L'g', MAKELRESULT(3, MNC_SELECT)},
        {"item without an accelerator", L'd', MAKELRESULT(0, MNC_IGNORE)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(SendMessageW(window.Handle(), WM_MENUCHAR, MAKEWPARAM(r.ch, MF_POPUP), reinterpret_cast<LPARAM>(popup)),
                  r.expected)
            << r.name;
    DestroyMenu(popup);
}

TEST_F(SkinnedMenuBar, Rebuild_LeavesNoHotObjectBehind) {
    TMenuBtn* hot = form->FMenuBar->Item(1);
    hot->MouseMove();
    ASSERT_EQ(form->FHotObject, hot);
    form->FMenuBar->Build();  // frees every item
    EXPECT_EQ(form->FHotObject, nullptr);
    hot = form->FMenuBar->Item(2);
    hot->MouseDown();
    ASSERT_EQ(form->FHotObject, hot);
    form->UpdateSkin();  // a skin re-applied rebuilds the bar
    EXPECT_EQ(form->FHotObject, nullptr);
    EXPECT_EQ(form->FMenuBar->ItemCount(), 4);
    EXPECT_EQ(GetMenu(window.Handle()), nullptr);
}

TEST_F(SkinnedMenuBar, Teardown_MenuWindowsAndOpenedDropDownsLeaveNoGdiObjects) {
    auto openAndClose = [&](HWND hwnd, TWinSkinForm* skin) {
        EXPECT_TRUE(withMenus([&] { SendMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, 'f'); },
                  [&](const std::vector<HWND>&) { return !(GetMenuState(GetSubMenu(skin->FMenuBar->MenuHandle, 0), 0,
                                                                        MF_BYPOSITION) & MF_HILITE); })) << "the menu stayed open until the test ended it";
    };
    std::vector<HMENU> menus;
    auto cycle = [&] {
        guitest::TestWindowOptions o;
        o.style = WS_OVERLAPPEDWINDOW;
        guitest::TestWindow w(o);
        menus.push_back(makeMenuBar(false));
        SetMenu(w.Handle(), menus.back());  // destroyed with the window, skinned or not
        TWinSkinForm* skin = SkinAndApply(w.Handle());
        ASSERT_NE(skin, nullptr);
        ShowWindow(w.Handle(), SW_SHOWNOACTIVATE);
        skinform::PaintedFrame(*skin);
        openAndClose(w.Handle(), skin);
    };
    cycle();  // the first run makes the process-wide bitmaps
    manager->PurgeFormSkins();
    skinform::WarmFrameStates(*form);  // the fixture's window stays skinned throughout
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    for (int i = 0; i < 20; ++i) {
        cycle();
        if (HasFatalFailure()) return;
    }
    guitest::PumpMessages();
    manager->PurgeFormSkins();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    ASSERT_TRUE(before.gdiKnown) << before.source;
    EXPECT_EQ(after.gdi, before.gdi) << "GDI objects, " << after.source;
    EXPECT_EQ(manager->PopupSkinCount(), 0);
    EXPECT_TRUE(manager->FormSkins().size() <= 1u) << "only the fixture's window stays skinned";
    for (size_t i = 0; i < menus.size(); ++i) EXPECT_FALSE(IsMenu(menus[i])) << "menu of window " << i;
}

TEST_F(SkinnedMenuBar, SysMenu_ShowsTheWindowsItemsWithTheirStates) {
    // Wine's system menu has items of its own: checked by command, not the exact list.
    TPopupMenu* popup = nullptr;
    std::vector<std::pair<int, bool>> seen;
    EXPECT_TRUE(withMenus([&] { form->ShowSysMenu(POINT{100, 100}); },
              [&](const std::vector<HWND>& menus) {
                  popup = form->FSysPopup.get();
                  for (int i = 0; popup && i < popup->Items()->Count(); ++i) {
                      TMenuItem* item = popup->Items()->Items(i);
                      seen.emplace_back(item->Tag(), item->Enabled());
                  }
                  EXPECT_EQ(SendMessageW(menus.front(), WM_SKINQUERY, 0, 0), 1) << "the system menu is skinned";
                  return false;
              },
              [&] {
                  seen.clear();
                  form->FLastSysMenuTime = GetTickCount() - form->FDblClickTime - 1;
              })) << "the menu stayed open until the test ended it";
    auto stateOf = [&](int command) -> int {
        for (const auto& [tag, enabled] : seen)
            if (tag == command) return enabled ? 1 : 0;
        return -1;
    };
    EXPECT_EQ(stateOf(SC_RESTORE), 0) << "a normal window restores nothing";
    EXPECT_EQ(stateOf(SC_MAXIMIZE), 1);
    EXPECT_EQ(stateOf(SC_MINIMIZE), 1);
    EXPECT_EQ(stateOf(SC_MOVE), 1);
    EXPECT_EQ(stateOf(SC_CLOSE), 1);
}

TEST_F(SkinnedMenuBar, SysMenu_ItemsDrawnFromTheSkin) {
    // The Move item of the skinned system menu, printed while open: cell 1 of [MenuItem]
    // behind its text, as in every other menu, not the system's menu colours.
    Capture cap;
    RECT move{};
    EXPECT_TRUE(withMenus([&] { form->ShowSysMenu(POINT{100, 100}); },
              [&](const std::vector<HWND>& menus) {
                  TPopupMenu* popup = form->FSysPopup.get();
                  if (!popup) return false;
                  int index = -1;
                  for (int i = 0; i < popup->Items()->Count(); ++i)
                      if (popup->Items()->Items(i)->Tag() == SC_MOVE) index = i;
                  if (index < 0) return false;
                  GetMenuItemRect(nullptr, popup->Items()->Handle(), static_cast<UINT>(index), &move);
                  POINT origin{0, 0};
                  ClientToScreen(menus.front(), &origin);
                  OffsetRect(&move, -origin.x, -origin.y);
                  const RECT client = guitest::ClientRectOf(menus.front());
                  cap = Capture(client.right, client.bottom);
                  SendMessageW(menus.front(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(cap.Dc()), PRF_CLIENT);
                  return false;
              },
              [&] { form->FLastSysMenuTime = GetTickCount() - form->FDblClickTime - 1; }))
        << "the menu stayed open until the test ended it";
    ASSERT_TRUE(cap.Valid()) << "the system menu has no Move item";
    EXPECT_TRUE(PixelIs(cap, move.right - 4, (move.top + move.bottom) / 2, CellRef("MenuItem", "Image", 1)))
        << "the Move item at " << guitest::ToString(move);
}

// ---- an MDI frame -------------------------------------------------------------------

const wchar_t kMdiChildClass[] = L"SkinMenuMdiChild";

void registerMdiChildClass() {
    WNDCLASSW wc{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), kMdiChildClass, &wc)) return;
    wc.lpfnWndProc = DefMDIChildProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMdiChildClass;
    RegisterClassW(&wc);
}

TEST_F(SkinnedMenuBar, MdiFrame_MaximisedDocumentsButtonsInTheBar) {
    registerMdiChildClass();
    HWND client = nullptr;
    guitest::TestWindowOptions o;
    o.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    o.width = 500;
    o.height = 360;
    o.handler = [&client](HWND h, UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
        if (!client) return false;
        *result = DefFrameProcW(h, client, msg, w, l);
        return true;
    };
    guitest::TestWindow frame(o);
    ASSERT_TRUE(frame);
    HMENU frameMenu = makeMenuBar(false);
    SetMenu(frame.Handle(), frameMenu);
    CLIENTCREATESTRUCT ccs{GetSubMenu(frameMenu, 3), 50000};
    client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 480, 300,
                             frame.Handle(), nullptr, GetModuleHandleW(nullptr), &ccs);
    ASSERT_NE(client, nullptr);
    MDICREATESTRUCTW mcs{};
    mcs.szClass = kMdiChildClass;
    mcs.szTitle = L"doc";
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = mcs.y = 10;
    mcs.cx = 200;
    mcs.cy = 150;
    mcs.style = WS_MAXIMIZE;
    const HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(child, nullptr);
    BOOL maximized = FALSE;
    SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    ASSERT_TRUE(maximized);

    TWinSkinForm* skin = SkinAndApply(frame.Handle());
    ASSERT_NE(skin, nullptr);
    ShowWindow(frame.Handle(), SW_SHOW);
    guitest::PumpMessages();
    EXPECT_EQ(skin->FWindowKind, wkMDIParent);
    ASSERT_NE(skin->FMenuBar, nullptr);
    EXPECT_TRUE(skin->IsMDIChildMaximized());
    skin->FActive = true;
    const Capture c = skinform::PaintedFrame(*skin);
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(manager->FMDIMaximized) << "the bar told the manager";
    int inBar = 0;
    const RECT strip = skin->FMenuBar->FormBarRect();
    for (auto& button : skin->FSysButtons) {
        const TDataSkinSysButton* def = button->Definition.get();
        if (!def || def->Align != 100) continue;
        ++inBar;
        const RECT& b = button->Bounds;
        EXPECT_GE(b.top, strip.top) << def->Action;
        EXPECT_LE(b.bottom, strip.bottom) << def->Action;
        const int first = 4 * (def->Action - 7) + 1;  // its strip's normal cell
        EXPECT_TRUE(PixelIs(c, (b.left + b.right) / 2, (b.top + b.bottom) / 2,
                            FlatRef("MDICONTROLS", "Image", first)))
            << "document button " << def->Action << " at " << guitest::ToString(b);
    }
    EXPECT_EQ(inBar, 3);
    // The bar's own items keep the frame menu's texts; the document's system-menu and
    // button items take no room.
    int captioned = 0;
    for (int i = 0; i < skin->FMenuBar->ItemCount(); ++i)
        if (!skin->FMenuBar->Item(i)->Caption.empty()) ++captioned;
    EXPECT_EQ(captioned, 4);
    // A new frame menu from the client: the bar follows it and the system bar stays away.
    HMENU other = CreateMenu();
    AppendMenuA(other, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Document");
    AppendMenuA(other, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Window");
    SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0);
    EXPECT_EQ(GetMenu(frame.Handle()), nullptr);
    std::vector<std::wstring> captions;
    for (int i = 0; i < skin->FMenuBar->ItemCount(); ++i)
        if (!skin->FMenuBar->Item(i)->Caption.empty()) captions.push_back(skin->FMenuBar->Item(i)->Caption);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"&Document", L"&Window"}));

    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    guitest::PumpMessages();
    EXPECT_FALSE(manager->FMDIMaximized);
    SetMenu(frame.Handle(), nullptr);
    DestroyMenu(frameMenu);  // the frame shows `other` and destroys it
    SetMenu(frame.Handle(), other);
}

// ---- class-library menus ----------------------------------------------------------------

class ClassMenus : public SkinnedMenuBar {
protected:
    void SetUp() override {
        SkinnedMenuBar::SetUp();
        if (HasFatalFailure()) return;
        owner = std::make_unique<TComponent>(nullptr);
        skinned = new TPopupMenu(owner.get());
        native = new TPopupMenu(owner.get());
        native->SetTag(data->DisableTag);
        for (TPopupMenu* m : {skinned, native}) {
            auto* a = new TMenuItem(owner.get());
            a->SetCaption("Alpha");
            auto* b = new TMenuItem(owner.get());
            b->SetCaption("-");
            auto* c = new TMenuItem(owner.get());
            c->SetCaption("Gamma");
            c->SetEnabled(false);
            m->Items()->Add(a);
            m->Items()->Add(b);
            m->Items()->Add(c);
        }
    }
    void TearDown() override {
        owner.reset();
        SkinnedMenuBar::TearDown();
    }
    std::unique_ptr<TComponent> owner;
    TPopupMenu* skinned = nullptr;
    TPopupMenu* native = nullptr;
};

TEST_F(ClassMenus, PopupWithTheDisablingTag_StaysNative) {
    form->SetPopupMenusOwnerDraw(owner.get(), true);
    EXPECT_TRUE(skinned->OwnerDraw());
    EXPECT_TRUE(skinned->Items()->Items(0)->OnDrawItem);
    EXPECT_TRUE(skinned->Items()->Items(0)->OnMeasureItem);
    EXPECT_FALSE(native->OwnerDraw());
    EXPECT_FALSE(native->Items()->Items(0)->OnDrawItem);
    EXPECT_FALSE(native->Items()->Items(0)->OnMeasureItem);
    form->SetPopupMenusOwnerDraw(owner.get(), false);
    EXPECT_FALSE(skinned->OwnerDraw());
    EXPECT_FALSE(skinned->Items()->Items(0)->OnDrawItem);
}

TEST_F(ClassMenus, SwitchingOff_GivesBackTheApplicationsHandlersAndOwnerDrawing) {
    TMenuItem* a = skinned->Items()->Items(0);
    int appDraws = 0, appMeasures = 0;
    a->OnDrawItem = [&](TObject*, TCanvas*, RECT, bool) { ++appDraws; };
    a->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++appMeasures; };
    native->SetTag(0);
    native->SetOwnerDraw(true);  // the application draws this one itself
    form->SetPopupMenusOwnerDraw(owner.get(), true);
    form->SetPopupMenusOwnerDraw(owner.get(), true);  // twice: still one layer
    int w = 0, h = 0;
    a->OnMeasureItem(a, nullptr, w, h);
    EXPECT_EQ(appMeasures, 1) << "an item's own measure handler stays";
    form->SetPopupMenusOwnerDraw(owner.get(), false);
    ASSERT_TRUE(a->OnDrawItem);
    ASSERT_TRUE(a->OnMeasureItem);
    a->OnDrawItem(a, nullptr, RECT{}, false);
    a->OnMeasureItem(a, nullptr, w, h);
    EXPECT_EQ(appDraws, 1);
    EXPECT_EQ(appMeasures, 2);
    EXPECT_TRUE(native->OwnerDraw()) << "the application's own owner drawing stays";
    EXPECT_FALSE(skinned->OwnerDraw());
}

TEST_F(ClassMenus, MainMenu_OnlyItemsBelowTheBar) {
    auto* main = new TMainMenu(owner.get());
    auto* top = new TMenuItem(owner.get());
    top->SetCaption("&File");
    auto* plain = new TMenuItem(owner.get());
    plain->SetCaption("Open");
    auto* own = new TMenuItem(owner.get());
    own->SetCaption("Mine");
    int ownDraws = 0;
    own->OnDrawItem = [&](TObject*, TCanvas*, RECT, bool) { ++ownDraws; };
    main->Items()->Add(top);
    top->Add(plain);
    top->Add(own);
    form->SetMainMenusOwnerDraw(owner.get(), true);
    EXPECT_TRUE(main->OwnerDraw());
    EXPECT_FALSE(top->OnDrawItem) << "a bar item is never switched";
    EXPECT_TRUE(plain->OnDrawItem);
    EXPECT_TRUE(plain->OnMeasureItem);
    own->OnDrawItem(own, nullptr, RECT{}, false);
    EXPECT_EQ(ownDraws, 1) << "an item with its own painter keeps it";
    form->SetMainMenusOwnerDraw(owner.get(), false);
    EXPECT_FALSE(plain->OnDrawItem);
    EXPECT_FALSE(main->OwnerDraw());
}

TEST_F(ClassMenus, ContextMenu_DrawnFromTheSkinWithDisabledColours) {
    form->SetPopupMenusOwnerDraw(owner.get(), true);
    const COLORREF shadow = ColorToRGB(data->Colours.ButtonShadow);
    Capture cap;
    RECT first{}, separator{}, disabled{};
    bool skinnedPopup = false;
    EXPECT_TRUE(withMenus([&] { skinned->Popup(200, 200); },
              [&](const std::vector<HWND>& menus) {
                  HMENU h = skinned->Items()->Handle();
                  GetMenuItemRect(nullptr, h, 0, &first);
                  GetMenuItemRect(nullptr, h, 1, &separator);
                  GetMenuItemRect(nullptr, h, 2, &disabled);
                  POINT origin{0, 0};
                  ClientToScreen(menus.front(), &origin);
                  for (RECT* r : {&first, &separator, &disabled}) OffsetRect(r, -origin.x, -origin.y);
                  const RECT client = guitest::ClientRectOf(menus.front());
                  cap = Capture(client.right, client.bottom);
                  SendMessageW(menus.front(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(cap.Dc()), PRF_CLIENT);
                  skinnedPopup = SendMessageW(menus.front(), WM_SKINQUERY, 0, 0) == 1;
                  return false;
              })) << "the menu stayed open until the test ended it";
    ASSERT_TRUE(cap.Valid());
    EXPECT_TRUE(skinnedPopup) << "a context menu wears a popup skin";
    EXPECT_TRUE(PixelIs(cap, first.right - 4, (first.top + first.bottom) / 2, CellRef("MenuItem", "Image", 1)));
    EXPECT_LT(separator.bottom - separator.top, first.bottom - first.top) << "a separator is a thin row";
    int shadowPixels = 0;
    for (int y = disabled.top; y < disabled.bottom; ++y)
        for (int x = disabled.left; x < disabled.right; ++x)
            if (cap.Pixel(x, y) == shadow) ++shadowPixels;
    EXPECT_GT(shadowPixels, 5) << "a disabled item's text is in ButtonShadow";
}

TEST_F(ClassMenus, FormWithMainMenu_AltLetterThroughDialogChar) {
    auto* host = new TForm(Application);
    host->SetBounds(80, 80, 400, 300);
    auto* main = new TMainMenu(host);
    for (const char* caption : {"&Alpha", "&Beta"}) {
        auto* top = new TMenuItem(host);
        top->SetCaption(caption);
        auto* child = new TMenuItem(host);
        child->SetCaption("Item");
        top->Add(child);
        main->Items()->Add(top);
    }
    host->SetMenu(main);
    TWinSkinForm* skin = SkinAndApply(host->Handle());
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->FMenuBar, nullptr);
    host->Show();
    guitest::PumpMessages();
    skinform::PaintedFrame(*skin);
    EXPECT_EQ(skin->FMenuBar->MainMenu, main);
    EXPECT_EQ(skin->FMenuBar->Item(1)->MenuItem, main->Items()->Items(1));
    // Alt as the only modifier, then the form's dialog character: the item opens from the
    // posted click on the bar.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE withAlt[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(withAlt));
    withAlt[VK_MENU] = 0x80;
    SetKeyboardState(withAlt);
    const LRESULT answered = host->Perform(CM_DIALOGCHAR, 'b', 0x20000000);
    SetKeyboardState(keys);
    EXPECT_EQ(answered, 1);
    // The answer is a click posted on the item, which opens it when it arrives.
    MSG click{};
    ASSERT_TRUE(PeekMessageW(&click, host->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    const POINT at{static_cast<short>(LOWORD(click.lParam)), static_cast<short>(HIWORD(click.lParam))};
    EXPECT_EQ(skin->FMenuBar->ButtonAt(skin->ScreenToFrame(at.x, at.y)), skin->FMenuBar->Item(1));
    HMENU seen = nullptr;
    EXPECT_TRUE(withMenus([&] { SendMessageW(host->Handle(), WM_NCLBUTTONDOWN, click.wParam, click.lParam); },
                          [&](const std::vector<HWND>&) {
                              seen = skin->FTrackedMenu;
                              return false;
                          }));
    EXPECT_EQ(seen, main->Items()->Items(1)->Handle());
    // Without Alt, or with another modifier, the character is the form's.
    withAlt[VK_SHIFT] = 0x80;
    SetKeyboardState(withAlt);
    EXPECT_EQ(host->Perform(CM_DIALOGCHAR, 'b', 0x20000000), 0);
    SetKeyboardState(keys);
    EXPECT_EQ(host->Perform(CM_DIALOGCHAR, 'b', 0), 0);
    EXPECT_FALSE(PeekMessageW(&click, host->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    delete host;
}

}  // namespace
