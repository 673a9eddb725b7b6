// The form skin on real windows under Wine: attaching keeps the client size, the frame's
// pixels are the skin's cells (flat test skin: one colour per cell), the region cuts the
// transparent corner, Unskin gives the window back exactly, the window title, and a skin
// component freed while its windows still run through it.
#include <windows.h>

#include <gtest/gtest.h>

#include "Forms.h"
#include "skin_form_support.h"

namespace {

using guitest::Capture;
using guitest::PixelIs;
using guitest::PumpUntil;
using guitest::TestWindow;
using guitest::TestWindowOptions;
using skinform::FlatRef;
using SkinnedForm = skinform::SkinFormTest;

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST_F(SkinnedForm, Attach_KeepsTheClientSize) {
    TestWindow window = MakeWindow();
    const SIZE before = ClientSize(window.Handle());
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    const SIZE after = ClientSize(window.Handle());
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy);
    const SIZE outer = WindowSize(window.Handle());
    EXPECT_EQ(outer.cx, before.cx + skin->FBorderLeft + skin->FBorderRight);
    EXPECT_EQ(outer.cy, before.cy + skin->FBorderTop + skin->FBorderBottom + skin->FMenuHeight);
    EXPECT_EQ(SendMessageW(window.Handle(), WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinnedForm, Attach_BorderWidthsFromTheSkinsCells) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->FBorderLeft, data->Left->Image.Width() / data->Left->Frame);
    EXPECT_EQ(skin->FBorderRight, data->Right->Image.Width() / data->Right->Frame);
    EXPECT_EQ(skin->FBorderTop, data->Top->Image.Height() / data->Top->Frame);
    EXPECT_EQ(skin->FBorderBottom, data->Bottom->Image.Height() / data->Bottom->Frame);
    EXPECT_EQ(skin->FSysButtons.size(), data->CaptionButtons.size());
}

TEST_F(SkinnedForm, PaintFrame_BordersCaptionAndButtonsAreTheSkinsCells) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skin->FActive = true;
    const Capture c = skinform::PaintedFrame(*skin);
    ASSERT_TRUE(c.Valid());
    const int w = c.Width(), h = c.Height();
    EXPECT_TRUE(PixelIs(c, 1, h / 2, FlatRef("Personality", "Left", 1))) << "left border";
    EXPECT_TRUE(PixelIs(c, w - 2, h / 2, FlatRef("Personality", "Right", 1))) << "right border";
    EXPECT_TRUE(PixelIs(c, w / 2, h - 1, FlatRef("Personality", "Bottom", 1))) << "bottom border";
    EXPECT_TRUE(PixelIs(c, w - 110, skin->FBorderTop - 3, FlatRef("Personality", "Top", 1))) << "caption";
    // Caption buttons (placed from the right edge).
    for (const char* name : {"ButtonClose", "ButtonMaximize", "ButtonMinimize"}) {
        TWinSysButton* button = nullptr;
        for (auto& b : skin->FSysButtons)
            if (b->Definition && _stricmp(b->Definition->Name.c_str(), name) == 0) button = b.get();
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->Visible) << name;
        const RECT& r = button->Bounds;
        EXPECT_TRUE(PixelIs(c, (r.left + r.right) / 2, r.top + 2, FlatRef(name, 1))) << name;
    }
    // The restore button shows only on a maximised window.
    for (auto& b : skin->FSysButtons) {
        if (b->Definition && _stricmp(b->Definition->Name.c_str(), "ButtonRestore") == 0) {
            EXPECT_FALSE(b->Visible);
        }
    }
}

TEST_F(SkinnedForm, PaintFrame_InactiveWindowUsesTheInactiveCells) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skin->FActive = false;
    const Capture c = skinform::PaintedFrame(*skin);
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(PixelIs(c, 1, c.Height() / 2, FlatRef("Personality", "Left", 2)));
    EXPECT_TRUE(PixelIs(c, c.Width() / 2, c.Height() - 1, FlatRef("Personality", "Bottom", 2)));
    for (auto& b : skin->FSysButtons) {
        if (!b->Definition || _stricmp(b->Definition->Name.c_str(), "ButtonClose") != 0) continue;
        const RECT& r = b->Bounds;
        EXPECT_TRUE(PixelIs(c, (r.left + r.right) / 2, r.top + 2, FlatRef("ButtonClose", 4))) << "inactive close";
    }
}

TEST_F(SkinnedForm, PaintFrame_KeptPartsFollowActivationAndSize) {
    // Parts and button cells are kept between paints: each paint must still show the
    // cells of the window's state and size at that moment.
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    struct Row {
        const char* name;
        bool active;
        int grow;  // pixels added to the width and height before the paint
    } rows[] = {
        {"active", true, 0}, {"inactive", false, 0}, {"active again", true, 0},
        {"larger", true, 40}, {"larger, inactive", false, 0}, {"smaller", true, -60},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.grow) {
            const SIZE size = WindowSize(window.Handle());
            SetWindowPos(window.Handle(), nullptr, 0, 0, size.cx + row.grow, size.cy + row.grow,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        skin->FActive = row.active;
        const int cell = row.active ? 1 : 2;
        const Capture c = skinform::PaintedFrame(*skin);
        ASSERT_TRUE(c.Valid());
        const int w = c.Width(), h = c.Height();
        EXPECT_TRUE(PixelIs(c, 1, h - 8, FlatRef("Personality", "Left", cell))) << "left border near the bottom";
        EXPECT_TRUE(PixelIs(c, w - 2, h - 8, FlatRef("Personality", "Right", cell))) << "right border near the bottom";
        EXPECT_TRUE(PixelIs(c, w / 2, h - 1, FlatRef("Personality", "Bottom", cell))) << "bottom border";
        EXPECT_TRUE(PixelIs(c, w - 110, skin->FBorderTop - 3, FlatRef("Personality", "Top", cell))) << "caption";
        for (auto& b : skin->FSysButtons) {
            if (!b->Definition || _stricmp(b->Definition->Name.c_str(), "ButtonClose") != 0) continue;
            const RECT& r = b->Bounds;
            EXPECT_TRUE(PixelIs(c, (r.left + r.right) / 2, r.top + 2, FlatRef("ButtonClose", row.active ? 1 : 4)))
                << "close button";
        }
    }
}

TEST_F(SkinnedForm, Screen_ShowsTheSkinnedFrame) {
    TestWindowOptions options;
    options.style = WS_OVERLAPPEDWINDOW;
    TestWindow window = MakeWindow(options);
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    SetWindowPos(window.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window.Handle());
    const COLORREF left = FlatRef("Personality", "Left", 1);
    const COLORREF leftInactive = FlatRef("Personality", "Left", 2);
    // Other tests' windows may cover ours for a moment: probe until the frame shows.
    bool shown = PumpUntil([&] {
        RedrawWindow(window.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        const Capture c = guitest::CaptureWindow(window.Handle(), true, guitest::CaptureMethod::WindowDc);
        if (!c.Valid()) return false;
        const COLORREF p = c.Pixel(1, c.Height() / 2);
        return p == left || p == leftInactive;
    });
    EXPECT_TRUE(shown) << "the left border on screen is the skin's Left cell";
}

TEST_F(SkinnedForm, Region_CutsTheTransparentCorner) {
    ASSERT_EQ(data->Left->Image.PixelColor(0, 0), static_cast<COLORREF>(0xFF00FF)) << "the test skin's corner";
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(skin->FRegionSet);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window.Handle(), region), ERROR);
    const SIZE size = WindowSize(window.Handle());
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the magenta corner is cut";
    EXPECT_TRUE(PtInRegion(region, size.cx / 2, size.cy / 2)) << "the client area stays";
    EXPECT_TRUE(PtInRegion(region, 1, size.cy / 2)) << "the left border stays";
    EXPECT_TRUE(PtInRegion(region, size.cx / 2, 2)) << "the caption stays";
    DeleteObject(region);
}

TEST_F(SkinnedForm, Unskin_GivesTheWindowBackExactly) {
    TestWindowOptions options;
    options.style = WS_OVERLAPPEDWINDOW;
    TestWindow window = MakeWindow(options);
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 100, "&File");
    ASSERT_TRUE(SetMenu(window.Handle(), menu));
    const HWND hwnd = window.Handle();
    const LONG_PTR procBefore = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    const LONG styleBefore = GetWindowLongW(hwnd, GWL_STYLE);
    const LONG exBefore = GetWindowLongW(hwnd, GWL_EXSTYLE);
    const SIZE sizeBefore = WindowSize(hwnd);
    const SIZE clientBefore = ClientSize(hwnd);

    TWinSkinForm* skin = SkinAndApply(hwnd);
    ASSERT_NE(skin, nullptr);
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), procBefore) << "skinned: our procedure";
    skin->Unskin();

    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), procBefore);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), styleBefore);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE), exBefore);
    EXPECT_EQ(GetMenu(hwnd), menu);
    const SIZE sizeAfter = WindowSize(hwnd);
    EXPECT_EQ(sizeAfter.cx, sizeBefore.cx);
    EXPECT_EQ(sizeAfter.cy, sizeBefore.cy);
    const SIZE clientAfter = ClientSize(hwnd);
    EXPECT_EQ(clientAfter.cx, clientBefore.cx);
    EXPECT_EQ(clientAfter.cy, clientBefore.cy);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(hwnd, region), ERROR) << "no region left";
    DeleteObject(region);
    EXPECT_EQ(GetPropW(hwnd, L"LacquerSkinForm"), nullptr);
    EXPECT_EQ(GetPropW(hwnd, L"LacquerSkinFormPrev"), nullptr);
}

TEST_F(SkinnedForm, Unskin_UnderALaterSubclassKeepsTheChainWorking) {
    TestWindow window = MakeWindow();
    const HWND hwnd = window.Handle();
    TWinSkinForm* skin = SkinAndApply(hwnd);
    ASSERT_NE(skin, nullptr);
    guitest::MessageRecorder recorder;  // subclasses on top of the skin
    ASSERT_TRUE(recorder.Attach(hwnd));
    skin->Unskin();
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 0) << "the skin no longer answers";
    SetWindowTextW(hwnd, L"still works");
    EXPECT_EQ(guitest::WindowTextW(hwnd), L"still works");
    recorder.DetachAll();
}

TEST_F(SkinnedForm, ClassLibraryForm_KeepsItsClientSizeAndWindowProc) {
    auto* form = new TForm(Application);
    form->SetBounds(50, 50, 400, 300);
    const HWND hwnd = form->Handle();
    const SIZE clientBefore = ClientSize(hwnd);
    TWinSkinForm* skin = SkinAndApply(hwnd);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->FControl, form);
    EXPECT_EQ(skin->Owner(), form) << "the form owns its form skin";
    const SIZE clientAfter = ClientSize(hwnd);
    EXPECT_EQ(clientAfter.cx, clientBefore.cx);
    EXPECT_EQ(clientAfter.cy, clientBefore.cy);
    EXPECT_EQ(form->Color(), data->Colours.ButtonFace);
    EXPECT_EQ(form->Perform(CN_SKINPING, 0, kSkinMarker), kSkinMarker);
    EXPECT_EQ(form->Perform(CN_SKINPING, 0, 0), 1);
    delete form;  // frees the form skin with it; the manager's list forgets it
    EXPECT_EQ(manager->FindFormSkin(hwnd), nullptr);
    EXPECT_TRUE(manager->FormSkins().empty());
}

TEST_F(SkinnedForm, Title_IsDrawnInTheCaptionTextColour) {
    TestWindowOptions options;
    options.caption = L"MMMMMMMMMM";
    options.width = 400;
    TestWindow window = MakeWindow(options);
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    skin->FActive = true;
    const Capture c = skinform::PaintedFrame(*skin);
    ASSERT_TRUE(c.Valid());
    const COLORREF caption = FlatRef("Personality", "Top", 1);
    int textPixels = 0;
    for (int x = data->Title->Margins.Left; x < c.Width() - data->Title->Margins.Right; ++x)
        for (int y = 0; y < skin->FBorderTop; ++y)
            if (c.Pixel(x, y) != caption) ++textPixels;
    EXPECT_GT(textPixels, 20) << "the title is drawn between TextShift and TextRightClip";
    // Nothing of the title left of the window icon's place.
    for (int x = skin->FBorderLeft; x < 8; ++x) EXPECT_TRUE(PixelIs(c, x, skin->FBorderTop / 2, caption)) << x;
}

TEST_F(SkinnedForm, UnregisterSkinData_GivesEveryWindowItsProcedureBack) {
    TestWindow window = MakeWindow();
    const HWND hwnd = window.Handle();
    const LONG_PTR procBefore = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    ASSERT_NE(SkinAndApply(hwnd), nullptr);
    data.reset();  // the component goes while its window is skinned
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), procBefore);
    EXPECT_TRUE(manager->FormSkins().empty());
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);  // no paint through a freed skin
}

TEST_F(SkinnedForm, DestroyedWindow_IsPurgedAndFreed) {
    TWinSkinForm* skin = nullptr;
    HWND hwnd = nullptr;
    {
        TestWindow window = MakeWindow();
        hwnd = window.Handle();
        skin = SkinAndApply(hwnd);
        ASSERT_NE(skin, nullptr);
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(skin->FSkinState, ssGone);
    manager->PurgeFormSkins();
    EXPECT_TRUE(manager->FormSkins().empty());
}

TEST_F(SkinnedForm, SecondApply_DoesNotRefit) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    MoveWindow(window.Handle(), 40, 40, 333, 222, TRUE);
    SendMessageW(window.Handle(), WM_SKINAPPLY, 0, 1000);
    const SIZE size = WindowSize(window.Handle());
    EXPECT_EQ(size.cx, 333);
    EXPECT_EQ(size.cy, 222);
}

TEST_F(SkinnedForm, NoCaptionWindow_IsNeverFittedButAnswersTheQuery) {
    TestWindowOptions options;
    options.style = WS_POPUP | WS_BORDER;
    TestWindow window = MakeWindow(options);
    const SIZE before = WindowSize(window.Handle());
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->FBorderKind, bkNoCaption);
    EXPECT_EQ(skin->FBorderTop, 0);
    const SIZE after = WindowSize(window.Handle());
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy);
    EXPECT_EQ(SendMessageW(window.Handle(), WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinnedForm, WindowSmallerThanItsBorders_HasNoNegativeClientArea) {
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    SetWindowPos(window.Handle(), nullptr, 0, 0, 3, 3, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(window.Handle(), &client);
    EXPECT_GE(client.right, 0);
    EXPECT_GE(client.bottom, 0);
    const Capture c = skinform::PaintedFrame(*skin);  // paints without failing
    (void)c;
}

TEST_F(SkinnedForm, CaptionToggle_FollowsTheVersion) {
    {
        TestWindow window = MakeWindow();
        TWinSkinForm* skin = SkinAndApply(window.Handle());
        ASSERT_NE(skin, nullptr);
        EXPECT_TRUE(skin->FCaps & capCaptionToggle) << "Windows 10";
        EXPECT_EQ(GetWindowLongW(window.Handle(), GWL_STYLE) & WS_CAPTION, 0) << "the skin paints the caption";
    }
    SetSkinVersionValue(skinform::kVersionWin7);
    TestWindow window = MakeWindow();
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    EXPECT_FALSE(skin->FCaps & capCaptionToggle) << "Windows 7";
    EXPECT_EQ(GetWindowLongW(window.Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST_F(SkinnedForm, SetText_RepaintsTheTitleWithoutTheSystemCaption) {
    TestWindowOptions options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    TestWindow window = MakeWindow(options);
    TWinSkinForm* skin = SkinAndApply(window.Handle());
    ASSERT_NE(skin, nullptr);
    SetWindowTextW(window.Handle(), L"\x8BED\x97F3\x8F93\x5165");
    EXPECT_EQ(guitest::WindowTextW(window.Handle()), L"\x8BED\x97F3\x8F93\x5165");
    EXPECT_EQ(GetWindowLongW(window.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_TRUE(IsWindowVisible(window.Handle())) << "drawing is back on";
}

}  // namespace
