// Caption buttons and system commands on real windows under Wine: hit testing, hot and
// pressed states, close, maximise, restore, minimise, a custom action posting
// WM_SKINBUTTONCLICK, the skinned system menu's items by command, the fixed NT 4 menu,
// CanClose, and a second system-menu opening that must not close the window from a stale
// hot object.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "Menus.h"
#include "skin_form_support.h"

namespace {

using guitest::PumpUntil;
using guitest::TestWindow;
using guitest::TestWindowOptions;
using CaptionButtons = skinform::SkinFormTest;

TWinSysButton* ButtonNamed(TWinSkinForm& skin, const char* name) {
    for (auto& b : skin.FSysButtons)
        if (b->Definition && _stricmp(b->Definition->Name.c_str(), name) == 0) return b.get();  // names are upper case
    return nullptr;
}

POINT CentreOnScreen(TWinSkinForm& skin, const TWinSysButton& button) {
    const POINT frame{(button.Bounds.left + button.Bounds.right) / 2, (button.Bounds.top + button.Bounds.bottom) / 2};
    return skinform::FrameToScreen(skin.FHandle, frame);
}

LPARAM PointParam(POINT p) { return MAKELPARAM(p.x, p.y); }

void Press(HWND window, POINT screen) {
    SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, PointParam(screen));
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, PointParam(screen));
    SendMessageW(window, WM_NCLBUTTONUP, HTCAPTION, PointParam(screen));
}

TEST_F(CaptionButtons, HitTest_CaptionClientAndButtons) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    const HWND hwnd = window.Handle();
    RECT r{};
    GetWindowRect(hwnd, &r);
    struct Row { const char* name; POINT frame; LRESULT expected; } rows[] = {
        {"caption", {(r.right - r.left) / 3, 15}, HTCAPTION},
        {"client", {(r.right - r.left) / 2, (r.bottom - r.top) / 2}, HTCLIENT},
    };
    for (const Row& row : rows) {
        const POINT screen = skinform::FrameToScreen(hwnd, row.frame);
        EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, PointParam(screen)), row.expected) << row.name;
    }
    TWinSysButton* close = ButtonNamed(*skin, "ButtonClose");
    ASSERT_NE(close, nullptr);
    const POINT centre{(close->Bounds.left + close->Bounds.right) / 2, (close->Bounds.top + close->Bounds.bottom) / 2};
    EXPECT_EQ(skin->ButtonAt(centre), close);
    EXPECT_EQ(skin->ButtonAt(POINT{close->Bounds.right + 1, centre.y}) == close, false) << "just right of it";
    EXPECT_EQ(skin->ButtonAt(POINT{(r.right - r.left) / 3, 15}), nullptr) << "plain caption";
}

TEST_F(CaptionButtons, MouseStates_HotPressedAndLeave) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->FActive = true;
    TWinSysButton* max = ButtonNamed(*skin, "ButtonMaximize");
    TWinSysButton* close = ButtonNamed(*skin, "ButtonClose");
    ASSERT_NE(max, nullptr);
    ASSERT_NE(close, nullptr);
    const HWND hwnd = window.Handle();
    SendMessageW(hwnd, WM_NCMOUSEMOVE, HTCAPTION, PointParam(CentreOnScreen(*skin, *max)));
    EXPECT_EQ(skin->FHotObject, max);
    EXPECT_EQ(max->State, nsHot);
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, PointParam(CentreOnScreen(*skin, *max)));
    EXPECT_EQ(max->State, nsDown);
    // Moving to the neighbour: the first leaves, the second is hot.
    SendMessageW(hwnd, WM_NCMOUSEMOVE, HTCAPTION, PointParam(CentreOnScreen(*skin, *close)));
    EXPECT_EQ(max->State, nsNormal);
    EXPECT_EQ(skin->FHotObject, close);
    // Off every button: nothing hot.
    RECT r{};
    GetWindowRect(hwnd, &r);
    SendMessageW(hwnd, WM_NCMOUSEMOVE, HTCAPTION, PointParam(POINT{r.left + (r.right - r.left) / 3, r.top + 15}));
    EXPECT_EQ(skin->FHotObject, nullptr);
    EXPECT_EQ(close->State, nsNormal);
    // An inactive window swallows the move.
    skin->FActive = false;
    SendMessageW(hwnd, WM_NCMOUSEMOVE, HTCAPTION, PointParam(CentreOnScreen(*skin, *close)));
    EXPECT_EQ(skin->FHotObject, nullptr);
}

TEST_F(CaptionButtons, RebuiltButtons_LeaveNoStaleHotObject) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->FActive = true;
    TWinSysButton* close = ButtonNamed(*skin, "ButtonClose");
    ASSERT_NE(close, nullptr);
    SendMessageW(window.Handle(), WM_NCMOUSEMOVE, HTCAPTION, PointParam(CentreOnScreen(*skin, *close)));
    ASSERT_EQ(skin->FHotObject, close);
    skin->FreeSysButtons();
    EXPECT_EQ(skin->FHotObject, nullptr);
    skin->LoadBorders();
    skin->HoverTimer();  // must not touch a freed object
    EXPECT_EQ(skin->FHotObject, nullptr);
}

TEST_F(CaptionButtons, Close_ClosesTheWindow) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->FActive = true;
    const HWND hwnd = window.Handle();
    TWinSysButton* close = ButtonNamed(*skin, "ButtonClose");
    ASSERT_NE(close, nullptr);
    Press(hwnd, CentreOnScreen(*skin, *close));
    EXPECT_TRUE(guitest::WaitForWindowGone(hwnd)) << "close posts SC_CLOSE";
}

TEST_F(CaptionButtons, Close_WithoutACloseItemDoesNothing) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->FActive = true;
    const HWND hwnd = window.Handle();
    DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_FALSE(skin->CanClose());
    TWinSysButton* close = ButtonNamed(*skin, "ButtonClose");
    ASSERT_NE(close, nullptr);
    Press(hwnd, CentreOnScreen(*skin, *close));
    guitest::PumpMessages();
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(CaptionButtons, MaximiseRestoreMinimise) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->FActive = true;
    const HWND hwnd = window.Handle();
    TWinSysButton* max = ButtonNamed(*skin, "ButtonMaximize");
    ASSERT_NE(max, nullptr);
    Press(hwnd, CentreOnScreen(*skin, *max));
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; })) << "maximise";
    EXPECT_EQ(skin->FWindowState, wsSkinMaximized);

    skin->FActive = true;
    skinform::PaintedFrame(*skin);  // lays the buttons out at the window's size
    TWinSysButton* restore = ButtonNamed(*skin, "ButtonRestore");
    ASSERT_NE(restore, nullptr);
    ASSERT_TRUE(restore->Visible) << "restore shows on a maximised window";
    EXPECT_FALSE(ButtonNamed(*skin, "ButtonMaximize")->Visible);
    Press(hwnd, CentreOnScreen(*skin, *restore));
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(hwnd); })) << "restore";
    EXPECT_EQ(skin->FWindowState, wsSkinNormal);

    skin->FActive = true;
    skinform::PaintedFrame(*skin);  // lays the buttons out at the window's size
    TWinSysButton* min = ButtonNamed(*skin, "ButtonMinimize");
    ASSERT_NE(min, nullptr);
    Press(hwnd, CentreOnScreen(*skin, *min));
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(hwnd) != FALSE; })) << "minimise";
}

TEST_F(CaptionButtons, CustomAction_PostsSkinButtonClick) {
    std::vector<WPARAM> clicks;
    TestWindowOptions options;
    options.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
        if (msg == WM_SKINBUTTONVISIBLE) {
            *result = 1;  // the host shows its help button
            return true;
        }
        if (msg == WM_SKINBUTTONCLICK) {
            clicks.push_back(wParam);
            *result = 0;
            return true;
        }
        return false;
    };
    TestWindow window = MakeWindow(options);
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->FActive = true;
    skinform::PaintedFrame(*skin);  // lays the buttons out at the window's size
    TWinSysButton* help = ButtonNamed(*skin, "ButtonHelp");
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->Visible);
    const RECT before = guitest::WindowRectOf(window.Handle());
    Press(window.Handle(), CentreOnScreen(*skin, *help));
    ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); }));
    EXPECT_EQ(clicks.front(), static_cast<WPARAM>(help->Definition->Action));
    EXPECT_TRUE(guitest::SameRect(guitest::WindowRectOf(window.Handle()), before)) << "nothing else changes";
}

TEST_F(CaptionButtons, HostThatDoesNotAnswer_HidesTheHelpButton) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skinform::PaintedFrame(*skin);
    TWinSysButton* help = ButtonNamed(*skin, "ButtonHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->Visible);
}

TEST_F(CaptionButtons, DoubleClickOnCaption_MaximisesAndRestores) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    const HWND hwnd = window.Handle();
    RECT r = guitest::WindowRectOf(hwnd);
    const POINT caption{r.left + (r.right - r.left) / 3, r.top + 15};
    SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, PointParam(caption));
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }));
    r = guitest::WindowRectOf(hwnd);
    SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, PointParam(POINT{r.left + 100, r.top + 15}));
    EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(hwnd); }));
}

TEST_F(CaptionButtons, Command_SystemCommandsArePostedNotPassedOn) {
    std::vector<UINT> commands;
    TestWindowOptions options;
    options.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
        if (msg == WM_COMMAND) commands.push_back(LOWORD(wParam));
        if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
            commands.push_back(0xC105E);  // seen as a system command
            *result = 0;
            return true;
        }
        return false;
    };
    TestWindow window = MakeWindow(options);
    ASSERT_NE(SkinAndApply(window.Handle()), nullptr);
    SendMessageW(window.Handle(), WM_COMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(commands.empty()) << "WM_COMMAND with SC_CLOSE does not reach the window";
    EXPECT_TRUE(PumpUntil([&] { return !commands.empty(); }));
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), 0xC105Eu);
    SendMessageW(window.Handle(), WM_COMMAND, 1234, 0);
    EXPECT_EQ(commands.back(), 1234u) << "other commands go on";
}

// ---- the skinned system menu ------------------------------------------------------------

TMenuItem* ItemByCommand(TPopupMenu& popup, UINT command) {
    for (int i = 0; i < popup.Items()->Count(); ++i)
        if (popup.Items()->Items(i)->Tag() == static_cast<intptr_t>(command)) return popup.Items()->Items(i);
    return nullptr;
}

TEST_F(CaptionButtons, SysMenu_ItemsByCommandWithTheirStatesAndGlyphs) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->BuildSysMenu();
    ASSERT_NE(skin->FSysPopup, nullptr);
    TPopupMenu& popup = *skin->FSysPopup;
    EXPECT_EQ(popup.Tag(), 33333);
    EXPECT_TRUE(popup.OwnerDraw());
    EXPECT_EQ(popup.Images(), &data->SysMenuImages());
    struct Row { UINT command; bool enabled; int glyph; } rows[] = {
        {SC_RESTORE, false, 0}, {SC_MOVE, true, -1},    {SC_SIZE, true, -1},
        {SC_MINIMIZE, true, 2}, {SC_MAXIMIZE, true, 1}, {SC_CLOSE, true, 3},
    };
    for (const Row& r : rows) {
        TMenuItem* item = ItemByCommand(popup, r.command);
        ASSERT_NE(item, nullptr) << std::hex << r.command;
        EXPECT_EQ(item->Enabled(), r.enabled) << std::hex << r.command;
        EXPECT_EQ(item->ImageIndex(), r.glyph) << std::hex << r.command;
    }
}

TEST_F(CaptionButtons, SysMenu_MaximisedWindowOffersRestoreOnly) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    ShowWindow(window.Handle(), SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return skin->FWindowState == wsSkinMaximized; }));
    skin->BuildSysMenu();
    ASSERT_NE(skin->FSysPopup, nullptr);
    struct Row { UINT command; bool enabled; } rows[] = {
        {SC_RESTORE, true}, {SC_MOVE, false}, {SC_SIZE, false}, {SC_MAXIMIZE, false}, {SC_MINIMIZE, true},
    };
    for (const Row& r : rows) {
        TMenuItem* item = ItemByCommand(*skin->FSysPopup, r.command);
        ASSERT_NE(item, nullptr) << std::hex << r.command;
        EXPECT_EQ(item->Enabled(), r.enabled) << std::hex << r.command;
    }
}

TEST_F(CaptionButtons, SysMenu_ClickPostsTheItemsCommand) {
    std::vector<WPARAM> seen;
    TestWindowOptions options;
    options.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
        if (msg == WM_SYSCOMMAND && wParam == SC_MOVE) {
            seen.push_back(wParam);
            *result = 0;
            return true;
        }
        return false;
    };
    TestWindow window = MakeWindow(options);
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->BuildSysMenu();
    TMenuItem* move = ItemByCommand(*skin->FSysPopup, SC_MOVE);
    ASSERT_NE(move, nullptr);
    move->Click();
    EXPECT_TRUE(PumpUntil([&] { return !seen.empty(); }));
}

TEST_F(CaptionButtons, SysMenu_NT4GetsTheFixedMenu) {
    SetSkinVersionValue(skinform::kVersionNT4);
    TestWindowOptions options;
    options.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX;  // no minimise box
    TestWindow window = MakeWindow(options);
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    skin->BuildSysMenu();
    ASSERT_NE(skin->FSysPopup, nullptr);
    std::vector<std::string> captions;
    for (int i = 0; i < skin->FSysPopup->Items()->Count(); ++i)
        captions.push_back(skin->FSysPopup->Items()->Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{" Restore ", " Maximize ", "-", " Close "}));
    EXPECT_TRUE(skin->CanClose()) << "NT 4 always may close";
}

TEST_F(CaptionButtons, CanClose_OnWindows9xAlways) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    DeleteMenu(GetSystemMenu(window.Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_FALSE(skin->CanClose());
    SetSkinVersionValue(skinform::kVersion98);
    EXPECT_TRUE(skin->CanClose());
}

TEST_F(CaptionButtons, SecondSysMenuOpening_ClosesOnlyFromTheSysMenuButton) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    const HWND hwnd = window.Handle();
    // A hot object left from another button: a quick second opening closes nothing.
    skin->FHotObject = ButtonNamed(*skin, "ButtonMaximize");
    skin->FLastSysMenuTime = GetTickCount();
    skin->ShowSysMenu(POINT{10, 10});
    guitest::PumpMessages();
    EXPECT_TRUE(IsWindow(hwnd));
    // No hot object at all: nothing either.
    skin->FHotObject = nullptr;
    skin->FLastSysMenuTime = GetTickCount();
    skin->ShowSysMenu(POINT{10, 10});
    guitest::PumpMessages();
    EXPECT_TRUE(IsWindow(hwnd));
    // From the system-menu button, on a window that may not close: nothing.
    TWinSysButton* sysButton = ButtonNamed(*skin, "ButtonSysMenu");
    ASSERT_NE(sysButton, nullptr);
    DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND);
    skin->FHotObject = sysButton;
    skin->FLastSysMenuTime = GetTickCount();
    skin->ShowSysMenu(POINT{10, 10});
    guitest::PumpMessages();
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(CaptionButtons, SecondSysMenuOpening_FromTheButtonCloses) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skinform::PaintedFrame(*skin);  // the first frame paint lays the caption buttons out
    const HWND hwnd = window.Handle();
    TWinSysButton* sysButton = ButtonNamed(*skin, "ButtonSysMenu");
    ASSERT_NE(sysButton, nullptr);
    skin->FHotObject = sysButton;
    skin->FLastSysMenuTime = GetTickCount();
    skin->ShowSysMenu(POINT{10, 10});
    EXPECT_TRUE(guitest::WaitForWindowGone(hwnd));
}

TEST_F(CaptionButtons, KeyMenu_WithKeyZeroIsAnswered) {
    TestWindow window = MakeWindow();
    ASSERT_NE(SkinAndApply(window.Handle()), nullptr);
    EXPECT_EQ(SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
}

TEST(SysMenuTree, SetMenuTreeOwnerDraw_KeepsTextsAndMarksEveryLevel) {
    HMENU root = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 11, "Inner");
    AppendMenuA(root, MF_STRING, 10, "Outer");
    AppendMenuA(root, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
    SetMenuTreeOwnerDraw(root);
    for (auto [menu, pos, text] : {std::tuple{root, 0, "Outer"}, std::tuple{root, 1, "Sub"}, std::tuple{sub, 0, "Inner"}}) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << text;
        char buffer[32] = {};
        GetMenuStringA(menu, static_cast<UINT>(pos), buffer, sizeof buffer, MF_BYPOSITION);
        EXPECT_STREQ(buffer, text);
    }
    DestroyMenu(root);
}

}  // namespace
