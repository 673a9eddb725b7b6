// The popup-menu window skin: on a borderless popup window standing in for a menu window
// (Wine's popup menus draw their frame inside the client area, as this window has none),
// and on real popup menus tracked by the system.
#include <gtest/gtest.h>

#include "SkinManagerLink.h"
#include "WinSkinPopMenu.h"
#include "gui_test.h"
#include "menu_test_support.h"

namespace {

using menutests::CellRef;
using menutests::FlatSkinTest;

constexpr UINT kSkinQuery = 0x3523;
const COLORREF kWhite = RGB(255, 255, 255);

// A borderless 100 x 50 popup that fills whatever it is asked to print with white and
// counts what reaches it.
struct PrintingWindow {
    int erases = 0, prints = 0, destroys = 0;
    LONG_PTR procAtDestroy = 0;
    bool backgroundEmptyAtDestroy = false;
    TWinSkinPopMenu* watched = nullptr;
    guitest::TestWindow window;

    PrintingWindow() {
        guitest::TestWindowOptions o;
        o.style = WS_POPUP;
        o.x = 10;
        o.y = 10;
        o.width = 100;
        o.height = 50;
        o.handler = [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
            switch (msg) {
            case WM_PRINTCLIENT: {
                ++prints;
                RECT r{0, 0, 100, 50};
                FillRect(reinterpret_cast<HDC>(wParam), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                *result = 0;
                return true;
            }
            case WM_ERASEBKGND: ++erases; *result = 1; return true;
            case WM_DESTROY:
                ++destroys;
                procAtDestroy = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
                backgroundEmptyAtDestroy = watched && watched->Background().Empty();
                return false;
            default: return false;
            }
        };
        window = guitest::TestWindow(o);
    }
    HWND Handle() const { return window.Handle(); }
};

guitest::Capture printClient(HWND wnd, int w, int h) {
    guitest::Capture cap(w, h);
    cap.Fill(0);
    SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(cap.Dc()), PRF_CLIENT);
    return cap;
}

class PopMenuSkin : public FlatSkinTest {};

TEST_F(PopMenuSkin, SkinQueryAnsweredAlsoWhileSkinningIsOff) {
    PrintingWindow w;
    TWinSkinPopMenu skin;
    skin.Attach(w.Handle(), this->skin.get(), nullptr);
    EXPECT_EQ(SendMessageA(w.Handle(), kSkinQuery, 0, 0), 1);
    SkinManager()->SetEnabled(false);
    EXPECT_EQ(SendMessageA(w.Handle(), kSkinQuery, 0, 0), 1);
    EXPECT_EQ(TWinSkinPopMenu::OfWindow(w.Handle()), &skin);
}

TEST_F(PopMenuSkin, PrintClientDrawsBackgroundAndClipsSystemToFrameRing) {
    PrintingWindow w;
    TWinSkinPopMenu skin;
    skin.Attach(w.Handle(), this->skin.get(), nullptr);
    const guitest::Capture cap = printClient(w.Handle(), 100, 50);
    EXPECT_EQ(w.prints, 1);
    EXPECT_EQ(skin.Background().Width(), 100);
    EXPECT_EQ(skin.Background().Height(), 50);
    const COLORREF bg = CellRef("MenuBackground", "Image", 1);
    struct Probe {
        int x, y;
        COLORREF expected;
    } probes[] = {{0, 0, bg},       {2, 2, bg},       {1, 25, bg},       {50, 1, bg},     {97, 47, bg},
                  {99, 49, bg},     {3, 3, kWhite},   {96, 46, kWhite},  {50, 25, kWhite}, {3, 46, kWhite}};
    for (const Probe& p : probes) EXPECT_TRUE(guitest::PixelIs(cap, p.x, p.y, p.expected));
}

TEST_F(PopMenuSkin, BackgroundFollowsTheWindowSize) {
    PrintingWindow w;
    TWinSkinPopMenu skin;
    skin.Attach(w.Handle(), this->skin.get(), nullptr);
    printClient(w.Handle(), 100, 50);
    EXPECT_EQ(skin.Background().Width(), 100);
    SetWindowPos(w.Handle(), nullptr, 0, 0, 140, 70, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const guitest::Capture cap = printClient(w.Handle(), 140, 70);
    EXPECT_EQ(skin.Background().Width(), 140);
    EXPECT_EQ(skin.Background().Height(), 70);
    EXPECT_TRUE(guitest::PixelIs(cap, 138, 68, CellRef("MenuBackground", "Image", 1)));
}

TEST_F(PopMenuSkin, SkinningOffPassesEverythingOn) {
    PrintingWindow w;
    TWinSkinPopMenu skin;
    skin.Attach(w.Handle(), this->skin.get(), nullptr);
    SkinManager()->SetEnabled(false);
    const guitest::Capture cap = printClient(w.Handle(), 100, 50);
    EXPECT_TRUE(guitest::PixelIs(cap, 1, 1, kWhite));
    EXPECT_TRUE(skin.Background().Empty());
}

TEST_F(PopMenuSkin, WithoutBackgroundPartPaintIsTheSystems) {
    skintest::FlatSkinOptions o;
    o.omitSections = {"MenuBackground"};
    LoadSkin(o);
    PrintingWindow w;
    TWinSkinPopMenu skin;
    skin.Attach(w.Handle(), this->skin.get(), nullptr);
    const guitest::Capture cap = printClient(w.Handle(), 100, 50);
    EXPECT_TRUE(guitest::PixelIs(cap, 1, 1, kWhite));
    EXPECT_TRUE(skin.Background().Empty());
}

TEST_F(PopMenuSkin, EraseBackgroundAlwaysAnswersOne) {
    PrintingWindow w;
    TWinSkinPopMenu skin;
    skin.Attach(w.Handle(), this->skin.get(), nullptr);
    guitest::Capture cap(100, 50);
    this->skin->Options &= static_cast<TSkinOptions>(~SkinBit(xoMenuBG));
    EXPECT_EQ(SendMessageA(w.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(cap.Dc()), 0), 1);
    EXPECT_EQ(w.erases, 1) << "without xoMenuBG the system erases";
    this->skin->Options |= static_cast<TSkinOptions>(SkinBit(xoMenuBG));
    EXPECT_EQ(SendMessageA(w.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(cap.Dc()), 0), 1);
    EXPECT_EQ(w.erases, 1) << "with xoMenuBG the painted background stays";
}

TEST_F(PopMenuSkin, DestroyDetachesBeforeThePreviousProcedureRuns) {
    auto w = std::make_unique<PrintingWindow>();
    const LONG_PTR original = GetWindowLongPtrW(w->Handle(), GWLP_WNDPROC);
    TWinSkinPopMenu skin;
    skin.Attach(w->Handle(), this->skin.get(), nullptr);
    w->watched = &skin;
    printClient(w->Handle(), 100, 50);
    ASSERT_FALSE(skin.Background().Empty());
    w->window.Destroy();
    EXPECT_EQ(w->destroys, 1);
    EXPECT_EQ(w->procAtDestroy, original);
    EXPECT_TRUE(w->backgroundEmptyAtDestroy);
    EXPECT_FALSE(skin.Attached());
    skin.Detach();  // a second time: nothing
}

TEST_F(PopMenuSkin, DetachRestoresTheExactProcedure) {
    PrintingWindow w;
    const LONG_PTR original = GetWindowLongPtrA(w.Handle(), GWLP_WNDPROC);
    {
        TWinSkinPopMenu skin;
        skin.Attach(w.Handle(), this->skin.get(), nullptr);
        EXPECT_NE(GetWindowLongPtrA(w.Handle(), GWLP_WNDPROC), original);
        skin.Detach();
        EXPECT_EQ(GetWindowLongPtrA(w.Handle(), GWLP_WNDPROC), original);
        EXPECT_EQ(TWinSkinPopMenu::OfWindow(w.Handle()), nullptr);
        skin.Attach(w.Handle(), this->skin.get(), nullptr);
    }  // freed while attached: the destructor detaches
    EXPECT_EQ(GetWindowLongPtrA(w.Handle(), GWLP_WNDPROC), original);
    EXPECT_NE(SendMessageA(w.Handle(), kSkinQuery, 0, 0), 1);
}

WNDPROC laterPrevious = nullptr;
int laterCalls = 0;
LRESULT CALLBACK laterSubclass(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++laterCalls;
    return CallWindowProcA(laterPrevious, wnd, msg, wParam, lParam);
}

TEST_F(PopMenuSkin, FreedUnderALaterSubclassStaysAPassThrough) {
    // Someone subclassed the window after the skin: freeing the skin cannot take its
    // procedure out of the chain, so the procedure stays and only passes messages on.
    PrintingWindow w;
    auto skin = std::make_unique<TWinSkinPopMenu>();
    skin->Attach(w.Handle(), this->skin.get(), nullptr);
    laterCalls = 0;
    laterPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&laterSubclass)));
    skin.reset();
    const guitest::Capture cap = printClient(w.Handle(), 100, 50);
    EXPECT_EQ(w.prints, 1);
    EXPECT_TRUE(guitest::PixelIs(cap, 1, 1, kWhite)) << "no skin painting after the skin is gone";
    EXPECT_GT(laterCalls, 0);
    w.window.Destroy();  // reaches the old procedure's WM_NCDESTROY without a crash
    EXPECT_EQ(w.destroys, 1);
}

TEST_F(PopMenuSkin, RealPopupMenuGetsBackgroundOfWindowSize) {
    menutests::PopupSkinHook hook(this->skin.get());
    guitest::TestWindow owner(guitest::TestWindowOptions{});
    UniqueMenu menu(CreatePopupMenu());
    for (UINT id = 1; id <= 3; ++id) AppendMenuA(menu.get(), MF_STRING, id, "Item");
    RECT windowRect{};
    POINT offset{-1, -1};
    LRESULT query = 0;
    SIZE background{};
    guitest::Capture cap;
    int ticks = 0;
    {
        menutests::ThreadTimer timer(50, [&] {
            const auto menus = menutests::ThreadMenuWindows();
            if (!menus.empty() && cap.Width() == 0) {
                HWND popup = menus.front();
                query = SendMessageA(popup, kSkinQuery, 0, 0);
                GetWindowRect(popup, &windowRect);
                cap = printClient(popup, guitest::Width(guitest::ClientRectOf(popup)),
                                  guitest::Height(guitest::ClientRectOf(popup)));
                if (TWinSkinPopMenu* s = hook.Find(popup)) {
                    background = SIZE{s->Background().Width(), s->Background().Height()};
                    offset = s->ClientOffset();
                }
            }
            if (cap.Width() > 0 || ++ticks > 100) EndMenu();
        });
        TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_NONOTIFY, 100, 100, 0, owner.Handle(), nullptr);
    }
    ASSERT_GT(cap.Width(), 0) << "the menu never appeared";
    EXPECT_EQ(hook.Created(), 1);
    EXPECT_EQ(query, 1);
    EXPECT_EQ(background.cx, guitest::Width(windowRect));
    EXPECT_EQ(background.cy, guitest::Height(windowRect));
    // Under Wine the menu frame lies inside the client area (offset 0): the frame ring of
    // the print is the skin's.  On Windows the frame is non-client (offset 3) and painted
    // by WM_NCPAINT instead.
    if (offset.x == 0 && offset.y == 0)
        EXPECT_TRUE(guitest::PixelIs(cap, 1, 1, CellRef("MenuBackground", "Image", 1)));
    else
        EXPECT_EQ(offset.x, 3);
}

}  // namespace
