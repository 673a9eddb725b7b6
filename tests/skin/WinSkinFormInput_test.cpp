// The skinned frame of a real window under the real mouse, with the default skin the
// programs carry: caption buttons that give back their pixels when the mouse leaves them,
// restoring after maximise and minimise, the minimised caption, and a window smaller than
// its skin's parts.  The pointer is moved with SetCursorPos and the buttons pressed with
// SendInput; the program takes the activation and the pointer, so CTest runs it alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "Menus.h"
#include "SkinManage.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "gui_test.h"
#include "skin_form_support.h"

namespace {

using guitest::Capture;
using guitest::ClickAt;
using guitest::MouseButton;
using guitest::MoveMouse;
using guitest::PumpUntil;
using guitest::TestWindow;
using guitest::TestWindowOptions;

constexpr COLORREF kKey = RGB(255, 0, 255);

class SkinnedFrame : public skinform::SkinFormTest {
protected:
    bool LoadSkin(TSkinData& skin) override { return skinform::LoadDefaultSkin(skin); }
    void TearDown() override {
        if (icon_) DestroyIcon(icon_);
        skinform::SkinFormTest::TearDown();
    }

    // How the window is shown when the skin comes to it.
    enum class ShownAs { Normal, Maximised };

    // A visible overlapped window at (x, y) of w x h, skinned once the skin is applied.
    TWinSkinForm* Skinned(TestWindow& window, int x, int y, int w, int h, bool withMenu = false,
                          ShownAs shown = ShownAs::Normal) {
        TestWindowOptions options;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        options.x = x;
        options.y = y;
        options.width = w;
        options.height = h;
        // Any size, as a form without constraints takes it.
        options.handler = [](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
            if (msg != WM_GETMINMAXINFO) return false;
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{1, 1};
            *result = 0;
            return true;
        };
        window = TestWindow(options);
        if (withMenu) {
            HMENU bar = CreateMenu();
            HMENU file = CreatePopupMenu();
            AppendMenuW(file, MF_STRING, 100, L"Open");
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
            HMENU edit = CreatePopupMenu();
            AppendMenuW(edit, MF_STRING, 101, L"Copy");
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
            SetMenu(window.Handle(), bar);
        }
        // An icon of one colour nothing else in the skin has.
        ICONINFO info{};
        info.fIcon = TRUE;
        const int s = GetSystemMetrics(SM_CXSMICON);
        std::unique_ptr<DWORD[]> bits(new DWORD[static_cast<size_t>(s * s)]);
        std::fill(bits.get(), bits.get() + s * s, 0xFF10E010u);
        info.hbmColor = CreateBitmap(s, s, 1, 32, bits.get());
        info.hbmMask = CreateBitmap(s, s, 1, 1, nullptr);
        icon_ = CreateIconIndirect(&info);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        SendMessageW(window.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
        if (shown == ShownAs::Maximised) ShowWindow(window.Handle(), SW_MAXIMIZE);
        TWinSkinForm* skin = SkinAndApply(window.Handle());
        return skin && skin->FSkinState == ssActive ? skin : nullptr;
    }

    // The skinned window titled "Strip", minimised; null when it never got there.
    TWinSkinForm* MinimisedStrip(TestWindow& window, bool withMenu) {
        TWinSkinForm* skin = Skinned(window, 200, 150, 500, 300, withMenu);
        if (!skin) return nullptr;
        SetWindowTextW(window.Handle(), L"Strip");
        ShowWindow(window.Handle(), SW_MINIMIZE);
        const bool minimised =
            PumpUntil([&] { return IsIconic(window.Handle()) && skin->FWindowState == wsSkinMinimized; });
        return minimised ? skin : nullptr;
    }

    // Brings the window forward and waits until its skin knows it is active.
    ::testing::AssertionResult Activate(TWinSkinForm& skin) {
        const bool active = PumpUntil([&] {
            if (GetForegroundWindow() != skin.FHandle) SetForegroundWindow(skin.FHandle);
            return GetForegroundWindow() == skin.FHandle && skin.FActive;
        });
        if (!active) return ::testing::AssertionFailure() << "the window never became active";
        return ::testing::AssertionSuccess();
    }

    HICON icon_ = nullptr;
};

const COLORREF kIconColour = RGB(0x10, 0xE0, 0x10);

// The first caption button whose definition has the action and is laid out as visible
// (after the frame was painted in the window's present state).
TWinSysButton* VisibleButton(TWinSkinForm& skin, int action) {
    RedrawWindow(skin.FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    for (auto& button : skin.FSysButtons)
        if (button->Visible && button->Definition && button->Definition->Action == action) return button.get();
    return nullptr;
}

POINT CentreOnScreen(HWND window, const RECT& frameRect) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{r.left + (frameRect.left + frameRect.right) / 2, r.top + (frameRect.top + frameRect.bottom) / 2};
}

// Clicks the visible caption button with the action.
::testing::AssertionResult ClickButton(TWinSkinForm& skin, int action, const char* what) {
    TWinSysButton* button = VisibleButton(skin, action);
    if (!button) return ::testing::AssertionFailure() << "no " << what << " button";
    ClickAt(CentreOnScreen(skin.FHandle, button->Bounds));
    return ::testing::AssertionSuccess();
}

// What the window shows now, read back from its window DC without repainting it.
Capture Shown(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    Capture capture(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(window);
    if (capture.Valid() && dc) BitBlt(capture.Dc(), 0, 0, capture.Width(), capture.Height(), dc, 0, 0, SRCCOPY);
    if (dc) ReleaseDC(window, dc);
    return capture;
}

// Pixels of the rectangle that differ between two captures.
int Differ(const Capture& a, const Capture& b, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) ++n;
    return n;
}

// The cell of a caption button in its normal look for the window's activation.
int NormalCell(const TWinSkinForm& skin, const TDataSkinSysButton& def) {
    return skin.FActive || def.Frame < 4 ? 1 : 4;
}

// Pixels inside `bounds` of the capture that are not the opaque pixels of the definition's
// cell drawn there.
int GlyphMisses(const Capture& shown, const RECT& bounds, TDataSkinSysButton& def, int cell) {
    const int cellWidth = def.Image.Width() / std::max(def.Frame, 1);
    int misses = 0;
    for (int y = 0; y < def.Image.Height() && bounds.top + y < shown.Height(); ++y)
        for (int x = 0; x < cellWidth; ++x) {
            const COLORREF c = def.Image.PixelColor((cell - 1) * cellWidth + x, y) & 0xFFFFFF;
            if (c != kKey && shown.Pixel(bounds.left + x, bounds.top + y) != c) ++misses;
        }
    return misses;
}

// Notes a drop-down of the skinned menu bar opening (a popup-menu window made while the
// form skin tracks its bar) and where it was shown (screen), and ends such a menu a moment
// later: it runs its own loop, which would otherwise keep the test waiting inside it.  The
// system's own menus (Wine opens the system menu of a minimised window on a click) are not
// noted.
struct MenuWatch {
    explicit MenuWatch(TWinSkinForm* skin) {
        watched = skin;
        opened = seenOpen = false;
        shownMenu = nullptr;
        shown = RECT{};
        hook = SetWindowsHookExW(WH_CBT, &MenuWatch::Cbt, nullptr, GetCurrentThreadId());
        timer = SetTimer(nullptr, 0, 500, &MenuWatch::Tick);
    }
    ~MenuWatch() {
        KillTimer(nullptr, timer);
        if (hook) UnhookWindowsHookEx(hook);
        watched = nullptr;
    }
    static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && watched && watched->FMenuTracking &&
            guitest::ClassNameOf(reinterpret_cast<HWND>(wParam)) == L"#32768")
            opened = true;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        // Any menu of this thread still open a tick later is ended too: a guard against
        // a hang, not a judgement (a system menu left open fails the restore instead).
        bool open = false;
        for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
            if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) {
                open = true;
                shownMenu = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
                if (opened) GetWindowRect(w, &shown);
            }
        if (opened || (open && seenOpen)) EndMenu();
        seenOpen = open;
    }
    HHOOK hook = nullptr;
    UINT_PTR timer = 0;
    static TWinSkinForm* watched;
    static bool opened;
    static bool seenOpen;
    static HMENU shownMenu;  // the menu of the last popup seen open
    static RECT shown;
};
TWinSkinForm* MenuWatch::watched = nullptr;
bool MenuWatch::opened = false;
bool MenuWatch::seenOpen = false;
HMENU MenuWatch::shownMenu = nullptr;
RECT MenuWatch::shown{};

TEST_F(SkinnedFrame, CaptionButtons_LeavingGivesBackTheirPixels) {
    TestWindow window;
    TWinSkinForm* skin = Skinned(window, 200, 150, 500, 300);
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(Activate(*skin));
    const HWND hwnd = window.Handle();
    TWinSysButton* buttons[] = {VisibleButton(*skin, 2), VisibleButton(*skin, 1), VisibleButton(*skin, 0)};
    for (TWinSysButton* button : buttons) ASSERT_NE(button, nullptr) << "minimise, maximise, close";
    const POINT away = CentreOnScreen(hwnd, RECT{100, 150, 100, 150});  // in the client area
    MoveMouse(away);
    ASSERT_TRUE(PumpUntil([&] { return skin->FHotObject == nullptr; }));
    const Capture before = Shown(hwnd);

    // Across minimise, maximise and close, and away: each was lit, none stays lit.
    for (TWinSysButton* button : buttons) {
        MoveMouse(CentreOnScreen(hwnd, button->Bounds));
        EXPECT_TRUE(PumpUntil([&] { return skin->FHotObject == button; })) << button->Definition->Name << " never lit";
        EXPECT_GT(Differ(before, Shown(hwnd), button->Bounds), 0) << button->Definition->Name << " looks the same lit";
    }
    MoveMouse(away);
    EXPECT_TRUE(PumpUntil([&] { return skin->FHotObject == nullptr; })) << "the mouse left the buttons";
    Capture after = Shown(hwnd);
    for (TWinSysButton* button : buttons)
        EXPECT_EQ(Differ(before, after, button->Bounds), 0) << button->Definition->Name << " after the mouse left";

    // Close pressed, dragged off and released: the window stays open and the button
    // shows its old pixels.
    TWinSysButton* close = buttons[2];
    MoveMouse(CentreOnScreen(hwnd, close->Bounds));
    ASSERT_TRUE(PumpUntil([&] { return skin->FHotObject == close; }));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return close->State == nsDown; })) << "close never pressed";
    MoveMouse(away);
    EXPECT_TRUE(PumpUntil([&] { return skin->FHotObject == nullptr; })) << "the pressed close button was left";
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(250, 2));
    ASSERT_TRUE(IsWindow(hwnd)) << "released off the button, close closed the window";
    after = Shown(hwnd);
    EXPECT_EQ(Differ(before, after, close->Bounds), 0) << "close after the press was dragged off";
}

TEST_F(SkinnedFrame, MaximiseMinimiseRestoreRestore_BackAtItsRectangle) {
    TestWindow window;
    TWinSkinForm* skin = Skinned(window, 200, 150, 500, 300, true);
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(Activate(*skin));
    const HWND hwnd = window.Handle();
    const RECT normal = guitest::WindowRectOf(hwnd);
    auto click = [&](int action, const char* what) { return ClickButton(*skin, action, what); };
    ASSERT_TRUE(click(1, "maximise"));
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) && skin->FWindowState == wsSkinMaximized; })) << "maximised";
    ASSERT_TRUE(click(2, "minimise"));
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(hwnd) && skin->FWindowState == wsSkinMinimized; })) << "minimised";
    ASSERT_TRUE(click(2, "restore (minimised)"));
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) && skin->FWindowState == wsSkinMaximized; }))
        << "restored to maximised";
    ASSERT_TRUE(click(1, "restore (maximised)"));
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(hwnd) && !IsIconic(hwnd) && skin->FWindowState == wsSkinNormal; }))
        << "restored";
    EXPECT_TRUE(guitest::SameRect(guitest::WindowRectOf(hwnd), normal))
        << guitest::ToString(guitest::WindowRectOf(hwnd)) << " instead of " << guitest::ToString(normal);
}

TEST_F(SkinnedFrame, MinimisedCaption_TitleRestoreGlyphAndDoubleClick) {
    TestWindow window;
    TWinSkinForm* skin = MinimisedStrip(window, true);
    ASSERT_NE(skin, nullptr);
    const HWND hwnd = window.Handle();

    // Where the minimise button stands, the skin's restore glyph.
    TWinSysButton* restore = VisibleButton(*skin, 2);
    ASSERT_NE(restore, nullptr) << "no button restores the minimised window";
    std::shared_ptr<TDataSkinSysButton> glyph;
    for (const auto& def : data->CaptionButtons)
        if (def->Action == 1 && def->Visibility == 1) glyph = def;
    ASSERT_NE(glyph, nullptr) << "the default skin has a restore button";
    const Capture strip = Shown(hwnd);
    EXPECT_EQ(GlyphMisses(strip, restore->Bounds, *glyph, NormalCell(*skin, *glyph)), 0) << "the restore glyph";

    // The title, as far as it fits: taking the text away changes the strip.
    SetWindowTextW(hwnd, L"");
    const Capture untitled = Shown(hwnd);
    SetWindowTextW(hwnd, L"Strip");
    EXPECT_GE(Differ(strip, untitled, RECT{0, 0, strip.Width(), strip.Height()}), 20) << "no title on the strip";

    // A double-click on the title, above where the menu bar's first item lies on the
    // normal window, restores the window and opens no menu.
    ASSERT_NE(skin->FMenuBar, nullptr);
    ASSERT_GT(skin->FMenuBar->ItemCount(), 0);
    const RECT file = skin->FMenuBar->Item(0)->Bounds;
    const int x = std::max<int>(file.left, data->Title->Margins.Left) + 2;
    ASSERT_LT(x, file.right) << "the title starts past the first menu item";
    MenuWatch watch(skin);
    RECT r{};
    GetWindowRect(hwnd, &r);
    MoveMouse(POINT{r.left + x, r.top + restore->Bounds.top + 4});
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(hwnd) || MenuWatch::opened; }) && !IsIconic(hwnd))
        << "a double-click did not restore the minimised window";
    EXPECT_FALSE(MenuWatch::opened) << "a click on the minimised caption opened a drop-down of the menu bar";
}

TEST_F(SkinnedFrame, CaptionButton_ActsOnlyWhenReleasedOnTheOneItWasPressedOn) {
    TestWindow window;
    TWinSkinForm* skin = Skinned(window, 200, 150, 500, 300);
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(Activate(*skin));
    const HWND hwnd = window.Handle();
    TWinSysButton* maximise = VisibleButton(*skin, 1);
    TWinSysButton* minimise = VisibleButton(*skin, 2);
    ASSERT_NE(maximise, nullptr);
    ASSERT_NE(minimise, nullptr);
    MoveMouse(CentreOnScreen(hwnd, maximise->Bounds));
    ASSERT_TRUE(PumpUntil([&] { return skin->FHotObject == maximise; }));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return maximise->State == nsDown; })) << "maximise never pressed";

    // Slid onto minimise, back onto maximise: pressed again, not merely lit.
    MoveMouse(CentreOnScreen(hwnd, minimise->Bounds));
    EXPECT_TRUE(PumpUntil([&] { return maximise->State == nsNormal; })) << "maximise still pressed off itself";
    EXPECT_NE(minimise->State, nsHot) << "minimise lit while maximise was held";
    MoveMouse(CentreOnScreen(hwnd, maximise->Bounds));
    EXPECT_TRUE(PumpUntil([&] { return maximise->State != nsNormal; })) << "maximise never noticed the pointer back";
    EXPECT_EQ(maximise->State, nsDown) << "back on the held maximise button";

    // Released on minimise: neither button acts.
    MoveMouse(CentreOnScreen(hwnd, minimise->Bounds));
    EXPECT_TRUE(PumpUntil([&] { return maximise->State == nsNormal; }));
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0; })) << "the release never arrived";
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(250, 2));
    EXPECT_FALSE(IsIconic(hwnd)) << "minimise acted on a press that began on maximise";
    EXPECT_FALSE(IsZoomed(hwnd)) << "maximise acted on a release off itself";
    EXPECT_EQ(skin->FWindowState, wsSkinNormal);
}

TEST_F(SkinnedFrame, MenuBarDropDown_AtTheScreensBottomOpensClearOfItsItem) {
    // The bar near the bottom of the work area, as the focused-window program sits.
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    TestWindow window;
    TWinSkinForm* skin = Skinned(window, 200, work.bottom - 120, 400, 120, true);
    ASSERT_NE(skin, nullptr);
    manager->InstallHook();  // its drop-downs skinned, as in the programs
    ASSERT_TRUE(Activate(*skin));
    const HWND hwnd = window.Handle();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_NE(skin->FMenuBar, nullptr);
    ASSERT_GT(skin->FMenuBar->ItemCount(), 0);
    TMenuBtn* file = skin->FMenuBar->Item(0);
    ASSERT_NE(file->SubMenu, nullptr);
    // A drop-down taller than the room left below its item.
    for (UINT id = 200; id < 210; ++id) AppendMenuW(file->SubMenu, MF_STRING, id, L"Item");
    const RECT r = guitest::WindowRectOf(hwnd);
    const RECT item{r.left + file->Bounds.left, r.top + file->Bounds.top, r.left + file->Bounds.right,
                    r.top + file->Bounds.bottom};
    ASSERT_GT(item.top - work.top, 300) << "room above the item";

    MenuWatch watch(skin);
    MoveMouse(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return MenuWatch::opened && !skin->FMenuTracking; })) << "the drop-down never opened";
    const RECT shown = MenuWatch::shown;
    ASSERT_GT(guitest::Height(shown), work.bottom - item.bottom) << "the drop-down fitted below its item";
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &shown, &item))
        << "the drop-down " << guitest::ToString(shown) << " covers its item " << guitest::ToString(item);
    EXPECT_LE(shown.bottom, item.top) << "the drop-down did not open above the bar";
}

TEST_F(SkinnedFrame, WindowSmallerThanItsParts_KeepsItsBottomBorderAndLosesButtons) {
    TestWindow window;
    TWinSkinForm* skin = Skinned(window, 200, 150, 300, 200, true);
    ASSERT_NE(skin, nullptr);
    const HWND hwnd = window.Handle();
    SetWindowPos(hwnd, nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] {
        const RECT r = guitest::WindowRectOf(hwnd);
        return guitest::Width(r) == 40 && guitest::Height(r) == 40;
    })) << "the window never took 40 x 40";
    const TWinSysButton* close = VisibleButton(*skin, 0);
    ASSERT_NE(close, nullptr) << "the close button is kept longest";
    const Capture frame = Shown(hwnd);
    ASSERT_TRUE(frame.Valid());
    int iconPixels = 0;
    for (int y = 0; y < skin->FBorderTop; ++y)
        for (int x = 0; x < frame.Width(); ++x)
            if (guitest::ColorNear(frame.Pixel(x, y), kIconColour, 8)) ++iconPixels;
    EXPECT_EQ(iconPixels, 0) << "the window icon shows with the close button over it";
    EXPECT_EQ(GlyphMisses(frame, close->Bounds, *close->Definition, NormalCell(*skin, *close->Definition)), 0)
        << "the close glyph";

    // The bottom border: the skin's bottom part as the frame draws it.
    const int inner = 40 - skin->FBorderLeft - skin->FBorderRight;
    TDataSkinObject& bottom = *data->Bottom;
    const int cell = skin->FActive || bottom.Frame < 2 ? 1 : 2;
    auto part = RenderSkinPart(RECT{0, 0, inner, skin->FBorderBottom}, bottom.Image, bottom.Margins, StripAxis::Vertical,
                               bottom.Tile == 1 ? CentreFill::Stretch : CentreFill::Tile, std::max(bottom.Frame, 1), cell);
    ASSERT_TRUE(part && !part->Empty());
    for (int y = 0; y < skin->FBorderBottom; ++y)
        EXPECT_TRUE(guitest::PixelIs(frame, skin->FBorderLeft + inner / 2, 40 - skin->FBorderBottom + y,
                                     part->PixelColor(inner / 2, y) & 0xFFFFFF))
            << "bottom border row " << y;
}

// Maximised before the skin came, by its button and back from the minimised strip: the
// window lies on the same rectangle each time (one that had kept its caption's border
// reached a pixel further out on every side).
TEST_F(SkinnedFrame, Maximised_SameRectangleAtStartByItsButtonAndFromTheStrip) {
    TestWindow window;
    TWinSkinForm* skin = Skinned(window, 200, 150, 500, 300, false, ShownAs::Maximised);
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(Activate(*skin));
    const HWND hwnd = window.Handle();
    ASSERT_TRUE(IsZoomed(hwnd));
    const RECT atStart = guitest::WindowRectOf(hwnd);
    ASSERT_TRUE(ClickButton(*skin, 1, "restore (maximised)"));
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(hwnd) && skin->FWindowState == wsSkinNormal; })) << "restored";
    ASSERT_TRUE(ClickButton(*skin, 1, "maximise"));
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) && skin->FWindowState == wsSkinMaximized; })) << "maximised";
    const RECT byButton = guitest::WindowRectOf(hwnd);
    ASSERT_TRUE(ClickButton(*skin, 2, "minimise"));
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(hwnd) && skin->FWindowState == wsSkinMinimized; })) << "minimised";
    ASSERT_TRUE(ClickButton(*skin, 2, "restore (minimised)"));
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) && skin->FWindowState == wsSkinMaximized; }))
        << "restored to maximised";
    const RECT fromStrip = guitest::WindowRectOf(hwnd);
    EXPECT_TRUE(guitest::SameRect(atStart, byButton))
        << "at the start " << guitest::ToString(atStart) << ", by the button " << guitest::ToString(byButton);
    EXPECT_TRUE(guitest::SameRect(fromStrip, byButton))
        << "from the strip " << guitest::ToString(fromStrip) << ", by the button " << guitest::ToString(byButton);
}

// A click on the minimised strip's title opens the skin's system menu, not the system's
// own; there, as in the system's, the strip can be neither sized nor minimised.
TEST_F(SkinnedFrame, MinimisedStrip_ClickOnTheTitleShowsTheSkinsSystemMenu) {
    TestWindow window;
    TWinSkinForm* skin = MinimisedStrip(window, false);
    ASSERT_NE(skin, nullptr);
    const HWND hwnd = window.Handle();
    TWinSysButton* restore = VisibleButton(*skin, 2);
    ASSERT_NE(restore, nullptr) << "no button restores the minimised window";
    const POINT title{data->Title->Margins.Left + 2, restore->Bounds.top + 4};
    ASSERT_EQ(skin->ButtonAt(title), nullptr) << "the title's first column lies on a caption button";
    MenuWatch watch(skin);
    const RECT r = guitest::WindowRectOf(hwnd);
    ClickAt(POINT{r.left + title.x, r.top + title.y});
    // The menu runs its own loop inside the click's dispatch; the watch ends it.
    ASSERT_TRUE(PumpUntil([&] { return MenuWatch::shownMenu != nullptr; })) << "no menu opened";
    ASSERT_NE(skin->FSysPopup, nullptr) << "the system's own menu opened";
    EXPECT_EQ(MenuWatch::shownMenu, skin->FSysPopup->Handle()) << "the system's own menu opened";
    int commands = 0;
    for (int i = 0; i < skin->FSysPopup->Items()->Count(); ++i) {
        TMenuItem* item = skin->FSysPopup->Items()->Items(i);
        if (item->Tag() == SC_SIZE || item->Tag() == SC_MINIMIZE) {
            ++commands;
            EXPECT_FALSE(item->Enabled()) << item->Caption() << " offered on the minimised strip";
        }
    }
    EXPECT_EQ(commands, 2) << "size and minimise in the system menu";
}

}  // namespace
