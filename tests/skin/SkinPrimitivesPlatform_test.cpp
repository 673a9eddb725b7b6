// The platform side of the skin primitives: the control lookup through the window
// property, the optional user32 entry points, text drawing on both platform paths, the
// platform flags, the shared bitmap and painting a parent's background under a control.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

#include "ControlAtom.h"
#include "Controls.h"
#include "Forms.h"
#include "SkinPrimitives.h"
#include "SkinTestImages.h"
#include "gui_test.h"

using namespace skintest;

namespace {

HWND makeWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
    return CreateWindowExW(0, L"STATIC", L"probe", style, 10, 10, 200, 150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(SkinPlatform, ControlAtomName_ModuleAndThreadAsUpperCaseHex) {
    const std::string name = ControlAtomName();
    char want[64];
    // The module handle is cut to its low 32 bits on 64-bit platforms.
    std::snprintf(want, sizeof want, "ControlOfs%.8X%.8X",
                  static_cast<unsigned>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)))),
                  static_cast<unsigned>(GetCurrentThreadId()));
    EXPECT_EQ(name, want);
    ASSERT_EQ(name.size(), 26u);
    for (char c : name.substr(10)) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << name;
}

TEST(SkinPlatform, ControlOfWindow_ReadsThePropertyTheClassLibrarySets) {
    guitest::OwnedWindow window(makeWindow());
    ASSERT_TRUE(window);
    EXPECT_EQ(ControlOfWindow(window.Get()), nullptr);
    EXPECT_EQ(ControlOfWindow(nullptr), nullptr);
    int marker = 0;
    auto* fake = reinterpret_cast<TControl*>(&marker);  // only compared, never used
    ASSERT_TRUE(SetPropA(window.Get(), ControlAtomName().c_str(), fake));
    EXPECT_EQ(ControlOfWindow(window.Get()), fake);
    RegisterControlAtom();
    EXPECT_NE(ControlAtom(), 0);
    EXPECT_EQ(SkinModuleInstance(), GetModuleHandleA(nullptr));
    RemovePropA(window.Get(), ControlAtomName().c_str());
    EXPECT_EQ(ControlOfWindow(window.Get()), nullptr);
}

TEST(SkinPlatform, ControlOfWindow_FindsAClassLibraryControl) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 120, 80);
    HWND handle = form.Handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(ControlOfWindow(handle), &form);
}

TEST(SkinPlatform, User32EntryPoints_MissingMeansFailure) {
    guitest::OwnedWindow window(makeWindow(WS_OVERLAPPEDWINDOW | WS_VSCROLL));
    ASSERT_TRUE(window);
    BindUser32EntryPoints();
    EXPECT_TRUE(HasGetScrollBarInfo());
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(SkinGetScrollBarInfo(window.Get(), OBJID_VSCROLL, &info));
    EXPECT_FALSE(SkinGetScrollBarInfo(window.Get(), OBJID_VSCROLL, nullptr));
    UnbindUser32EntryPoints();
    EXPECT_FALSE(HasGetScrollBarInfo());
    EXPECT_FALSE(SkinGetScrollBarInfo(window.Get(), OBJID_VSCROLL, &info));
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    EXPECT_FALSE(SkinGetComboBoxInfo(window.Get(), &combo));
    SkinTrackMouseLeave(window.Get());  // nothing to call: nothing happens
    BindUser32EntryPoints();
    EXPECT_TRUE(SkinGetScrollBarInfo(window.Get(), OBJID_VSCROLL, &info));
}

TEST(SkinPlatform, SkinTrackMouseLeave_AsksForALeaveNotice) {
    guitest::TestWindowOptions options;
    options.style = WS_POPUP | WS_VISIBLE;
    options.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    options.x = options.y = 300;
    options.width = options.height = 60;
    bool left = false;
    options.handler = [&left](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_MOUSELEAVE) left = true;
        return false;
    };
    guitest::TestWindow window(options);
    ASSERT_TRUE(window);
    SetCursorPos(330, 330);
    ASSERT_TRUE(guitest::PumpUntil([&] {
        POINT p;
        return GetCursorPos(&p) && WindowFromPoint(p) == window.Handle();
    })) << "the pointer cannot be put over the window";
    BindUser32EntryPoints();
    SkinTrackMouseLeave(window.Handle());
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof query;
    query.dwFlags = TME_QUERY;
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(query.hwndTrack, window.Handle());
    EXPECT_TRUE(query.dwFlags & TME_LEAVE);
    // Leaving the window brings the notice (up to about a second late under Wine).
    SetCursorPos(5, 5);
    EXPECT_TRUE(guitest::PumpUntil([&] { return left; }));
}

TEST(SkinPlatform, SkinDrawText_WideAndAnsiPathsMeasureAlike) {
    TBitmap surface;
    surface.SetSize(200, 50);
    HDC dc = surface.Canvas().Handle();
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = L"Skin text";
    RECT wide{0, 0, 0, 0};
    const bool savedNT = SkinIsNT;
    SkinIsNT = true;
    const int h1 = SkinDrawText(dc, text, wide, DT_CALCRECT | DT_SINGLELINE);
    SkinIsNT = false;
    RECT ansi{0, 0, 0, 0};
    const int h2 = SkinDrawText(dc, text, ansi, DT_CALCRECT | DT_SINGLELINE);
    SkinIsNT = savedNT;
    EXPECT_GT(h1, 0);
    EXPECT_EQ(h1, h2);
    EXPECT_GT(wide.right, 0);
    EXPECT_EQ(wide.right, ansi.right);
    // The caller's text is never written to, whatever the flags ask.
    RECT narrow{0, 0, 12, 20};
    SkinDrawText(dc, text, narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(text, L"Skin text");
}

TEST(SkinPlatform, AnsiToWideAndWideCopy) {
    EXPECT_EQ(AnsiToWide("abc"), L"abc");
    EXPECT_EQ(AnsiToWide(""), L"");
    if (GetACP() == 936) {
        EXPECT_EQ(AnsiToWide("\xD6\xD0\xCE\xC4"), L"\x4E2D\x6587");
    }
    const wchar_t buffer[] = L"abcdef";
    EXPECT_EQ(WideCopy(buffer, -1), L"abcdef");
    EXPECT_EQ(WideCopy(buffer, 3), L"abc");
    EXPECT_EQ(WideCopy(buffer, 0), L"");
    EXPECT_EQ(WideCopy(buffer, 50), L"abcdef");  // never past the terminating zero
    EXPECT_EQ(WideCopy(nullptr, 4), L"");
}

TEST(SkinPlatform, PlatformFlagsAndSharedBitmap) {
    EXPECT_TRUE(SkinIsNT);
    EXPECT_FALSE(SkinIsWin9x);
    TBitmap& shared = SharedPaintBitmap();
    EXPECT_EQ(&shared, &SharedPaintBitmap());
    shared.SetSize(30, 10);
    EXPECT_EQ(GetStretchBltMode(shared.Canvas().Handle()), COLORONCOLOR);
    shared.SetSize(60, 10);  // a new DIB, a new DC: the mode is set again
    EXPECT_EQ(GetStretchBltMode(shared.Canvas().Handle()), COLORONCOLOR);
}

// ---- parent background -----------------------------------------------------------------

namespace {

// A parent that paints, in its own client coordinates, a grey background (on erase) and a
// blue square at (12, 23)-(14, 25) (on paint), into the DC it is given.
struct PaintingParent {
    TWinControl parent{nullptr};
    TControl child{nullptr};
    std::vector<UINT> seen;
    bool throwOnErase = false;

    PaintingParent() {
        child.SetParent(&parent);
        child.SetBounds(10, 20, 30, 15);
        parent.WindowProc = [this](TMessage& m) {
            seen.push_back(m.Msg);
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (m.Msg == WM_ERASEBKGND) {
                if (throwOnErase) throw std::runtime_error("erase failed");
                RECT all{0, 0, 500, 500};
                HBRUSH grey = CreateSolidBrush(RGB(90, 90, 90));
                FillRect(dc, &all, grey);
                DeleteObject(grey);
                m.Result = 1;
            } else if (m.Msg == WM_PAINT) {
                RECT square{12, 23, 14, 25};
                HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
                FillRect(dc, &square, blue);
                DeleteObject(blue);
            }
        };
    }
};

}  // namespace

TEST(SkinPlatform, PaintParentBackground_ShowsWhatLiesUnderTheControl) {
    PaintingParent p;
    TBitmap surface;
    Target(surface, 50, 30, RGB(255, 255, 255));
    HDC dc = surface.Canvas().Handle();
    SetTextColor(dc, RGB(7, 8, 9));
    PaintParentBackground(&p.child, dc);
    EXPECT_EQ(p.seen, (std::vector<UINT>{WM_ERASEBKGND, WM_PAINT}));
    EXPECT_EQ(surface.PixelColor(0, 0), RGB(90, 90, 90));
    EXPECT_EQ(surface.PixelColor(2, 3), RGB(0, 0, 255));  // the square at the child's (2, 3)
    EXPECT_EQ(surface.PixelColor(3, 4), RGB(0, 0, 255));
    EXPECT_EQ(surface.PixelColor(4, 5), RGB(90, 90, 90));
    EXPECT_EQ(surface.PixelColor(29, 14), RGB(90, 90, 90));
    // The parent is kept to the control's client area.
    EXPECT_EQ(surface.PixelColor(30, 14), RGB(255, 255, 255));
    EXPECT_EQ(surface.PixelColor(29, 15), RGB(255, 255, 255));
    // The DC's state is back as it was.
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    RECT clip{};
    GetClipBox(dc, &clip);
    EXPECT_EQ(clip.right, 50);
    EXPECT_EQ(GetTextColor(dc), RGB(7, 8, 9));
}

TEST(SkinPlatform, PaintParentBackground_NoParentNothing_FailuresRestoreTheDc) {
    TControl orphan(nullptr);
    TBitmap surface;
    Target(surface, 10, 10, RGB(255, 255, 255));
    HDC dc = surface.Canvas().Handle();
    PaintParentBackground(&orphan, dc);
    PaintParentBackground(nullptr, dc);
    EXPECT_EQ(surface.PixelColor(5, 5), RGB(255, 255, 255));

    PaintingParent p;
    p.throwOnErase = true;
    EXPECT_THROW(PaintParentBackground(&p.child, dc), std::runtime_error);  // run time: passed on
    EXPECT_EQ(p.seen, (std::vector<UINT>{WM_ERASEBKGND}));
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    RECT clip{};
    GetClipBox(dc, &clip);
    EXPECT_EQ(clip.right, 10);
}
