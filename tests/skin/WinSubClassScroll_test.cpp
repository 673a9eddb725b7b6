// Scroll-bar covers, combo-box, edit, size-box and nested-dialog skins on real windows:
// where a cover lies and when it shows, its pixels against the flat skin's cells, a press
// on a cover scrolling the list, the combo's button and frame, the edit's frame, and the
// fills; plus the pure tables (hit test, thumb drag, state cells).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "WinSubClassCombo.h"
#include "WinSubClassScroll.h"
#include "WinSubClassSizer.h"
#include "gui_test.h"
#include "skin_data_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

using guitest::Capture;
using guitest::PixelIs;
using guitest::PumpUntil;
using skinform::FlatRef;

namespace {

// ---- pure tables ----------------------------------------------------------------------

TEST(ScrollGeometry, HitTestFollowsTheParts) {
    struct Row {
        int p, expected;
    } rows[] = {{0, spFirstArrow},  {15, spFirstArrow}, {16, spPageBefore}, {39, spPageBefore}, {40, spThumb},
                {59, spThumb},      {60, spPageAfter},  {83, spPageAfter},  {84, spSecondArrow}, {99, spSecondArrow},
                {150, spSecondArrow}};
    for (const Row& r : rows)
        EXPECT_EQ(ScrollHitTest(r.p, 16, 40, 60, 100), r.expected) << "position " << r.p;
    // A thumb at the first arrow leaves no page before it.
    EXPECT_EQ(ScrollHitTest(16, 16, 16, 30, 100), spThumb);
}

TEST(ScrollGeometry, DraggedThumbStaysBetweenTheArrowsAndKeepsItsLength) {
    struct Row {
        const char* name;
        int pressStart, travel, barLength;
        TThumbSpan expected;
    } rows[] = {
        {"no travel", 30, 0, 100, {30, 50}},
        {"down", 30, 10, 100, {40, 60}},
        {"past the top", 30, -50, 100, {16, 36}},
        {"past the bottom", 30, 200, 100, {64, 84}},
        {"bar too short: the upper bound wins", 30, -50, 40, {4, 24}},
    };
    for (const Row& r : rows) {
        const TThumbSpan got = ScrollDragThumb(r.pressStart, r.travel, {30, 50}, 16, r.barLength);
        EXPECT_EQ(got.Start, r.expected.Start) << r.name;
        EXPECT_EQ(got.End, r.expected.End) << r.name;
    }
}

TEST(ScrollGeometry, ArrowsAndThickness) {
    EXPECT_EQ(ScrollArrowSize(16, 100), 16);
    EXPECT_EQ(ScrollArrowSize(16, 32), 16);
    EXPECT_EQ(ScrollArrowSize(16, 31), 15);  // shorter than two arrows: half each
    EXPECT_EQ(ScrollArrowSize(16, 0), 0);
    EXPECT_EQ(ScrollThickness(16, 16), 16);
    EXPECT_EQ(ScrollThickness(18, 16), 18);  // within 2: the image's height
    EXPECT_EQ(ScrollThickness(14, 16), 14);
    EXPECT_EQ(ScrollThickness(19, 16), 16);  // 3 or more apart: the arrow length
    EXPECT_EQ(ScrollThickness(13, 16), 16);
}

TEST(ComboCells, StateTables) {
    struct Row {
        bool enabled, pressed, hot, focused;
        int sliced, flat;
    } rows[] = {
        {true, false, false, false, 1, 1},  {true, true, false, false, 2, 2},  {true, false, true, false, 4, 4},
        {true, false, false, true, 4, 4},   {true, true, true, true, 2, 2},    {false, false, false, false, 3, 3},
        {false, true, false, false, 3, 2},  {false, false, true, false, 3, 4}, {false, false, false, true, 3, 4},
    };
    for (const Row& r : rows) {
        const std::string name = std::string("enabled ") + (r.enabled ? "1" : "0") + " pressed " +
                                 (r.pressed ? "1" : "0") + " hot " + (r.hot ? "1" : "0") + " focused " +
                                 (r.focused ? "1" : "0");
        EXPECT_EQ(ComboStateCell(r.enabled, r.pressed, r.hot, r.focused), r.sliced) << name;
        EXPECT_EQ(ComboFlatStateCell(r.enabled, r.pressed, r.hot, r.focused), r.flat) << name;
    }
}

TEST(SizerStyle, OnlySizeBoxesAreSizeGrips) {
    EXPECT_TRUE(IsSizeGripStyle(WS_CHILD | SBS_SIZEGRIP));
    EXPECT_TRUE(IsSizeGripStyle(WS_CHILD | SBS_SIZEBOX));
    EXPECT_TRUE(IsSizeGripStyle(WS_CHILD | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN));
    EXPECT_FALSE(IsSizeGripStyle(WS_CHILD | SBS_VERT));
    EXPECT_FALSE(IsSizeGripStyle(WS_CHILD | SBS_HORZ | SBS_BOTTOMALIGN));
    EXPECT_FALSE(IsSizeGripStyle(WS_CHILD | SBS_VERT | SBS_RIGHTALIGN));
}

// ---- real windows ---------------------------------------------------------------------

COLORREF SkinColour(TColor c) { return ColorToRGB(c); }

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

SCROLLBARINFO BarInfo(HWND window, LONG id) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(window, id, &info);
    return info;
}

// The cover lies exactly over the native bar.
::testing::AssertionResult CoversBar(TWScrollbar& cover, HWND scrolled, LONG id) {
    if (!cover.HandleAllocated()) return ::testing::AssertionFailure() << "the cover has no window";
    if (!IsWindowVisible(cover.Handle())) return ::testing::AssertionFailure() << "the cover is hidden";
    const SCROLLBARINFO info = BarInfo(scrolled, id);
    const RECT got = ScreenRect(cover.Handle());
    if (!guitest::SameRect(got, info.rcScrollBar))
        return ::testing::AssertionFailure() << "cover " << guitest::ToString(got) << ", bar "
                                             << guitest::ToString(info.rcScrollBar);
    return ::testing::AssertionSuccess();
}

// What the skin paints over the window, composed the way the window DC would get it.
Capture PaintSkin(TSkinControl& skin) {
    const RECT r = ScreenRect(skin.Handle);
    Capture capture(r.right - r.left, r.bottom - r.top);
    if (capture.Valid()) skin.PaintWindow(capture.Dc());
    return capture;
}

class ScrollCoverTest : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        SkinFormTest::SetUp();
        if (HasFatalFailure()) return;
        guitest::TestWindowOptions o;
        o.caption = L"covers";
        o.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        o.width = 560;
        o.height = 480;
        window = MakeWindow(o);
        ASSERT_TRUE(window);
        form = SkinAndApply(window.Handle());
        ASSERT_NE(form, nullptr);
    }
    void TearDown() override {
        hosts.clear();  // their skins go with them
        window.Destroy();
        SkinFormTest::TearDown();
    }

    template <class T>
    T* Host(int left, int top, int width, int height) {
        auto host = std::make_unique<T>(nullptr);
        T* raw = host.get();
        raw->SetBounds(left, top, width, height);
        raw->SetParentWindow(window.Handle());
        hosts.push_back(std::move(host));
        return raw;
    }

    TSkinScrollbar* Cover(TWinControl* host) {
        auto* skin = new TSkinScrollbar(host);
        EXPECT_TRUE(skin->AttachScrolling(host, data.get(), form, form->FControlCanvas.get()));
        guitest::PumpMessages();
        return skin;
    }

    HWND RawChild(const char* className, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0) {
        return CreateWindowExA(exStyle, className, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, window.Handle(),
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    TListBox* HundredLines(int height) {
        auto* list = Host<TListBox>(10, 10, 160, height);
        for (int i = 0; i < 100; ++i) list->Items().Add("line " + std::to_string(i));
        list->Handle();
        return list;
    }

    guitest::TestWindow window;
    TWinSkinForm* form = nullptr;
    std::vector<std::unique_ptr<TWinControl>> hosts;
};

TEST_F(ScrollCoverTest, ListBoxCoverLiesOverItsBarAndFollowsIt) {
    TListBox* list = HundredLines(200);
    TSkinScrollbar* skin = Cover(list);
    ASSERT_TRUE(skin->VertBar && skin->HorzBar);
    EXPECT_TRUE(CoversBar(*skin->VertBar, list->Handle(), OBJID_VSCROLL));
    EXPECT_FALSE(skin->HorzBar->Shown) << "a list without a horizontal bar shows no horizontal cover";
    EXPECT_FALSE(IsWindowVisible(skin->HorzBar->Handle()));
    EXPECT_EQ(GetParent(skin->VertBar->Handle()), window.Handle()) << "a sibling of the list";
    EXPECT_EQ(GetWindow(skin->VertBar->Handle(), GW_HWNDNEXT), list->Handle()) << "directly above the list";

    list->SetBounds(30, 40, 220, 300);
    PumpUntil([&] { return CoversBar(*skin->VertBar, list->Handle(), OBJID_VSCROLL); });
    EXPECT_TRUE(CoversBar(*skin->VertBar, list->Handle(), OBJID_VSCROLL)) << "after resizing";

    list->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(skin->VertBar->Handle())) << "hidden with the list";
    list->SetVisible(true);
    EXPECT_TRUE(CoversBar(*skin->VertBar, list->Handle(), OBJID_VSCROLL)) << "shown again";

    ShowWindow(list->Handle(), SW_HIDE);  // behind the class library's back
    EXPECT_FALSE(IsWindowVisible(skin->VertBar->Handle())) << "hidden through the window itself";
}

// A list squeezed to no width by its neighbours has no room for its bar: its cover is not
// left lying over the neighbour, and comes back with the room.
TEST_F(ScrollCoverTest, ListSqueezedToNoWidthHidesItsCover) {
    TListBox* list = HundredLines(200);
    TSkinScrollbar* skin = Cover(list);
    ASSERT_TRUE(skin->VertBar);
    ASSERT_TRUE(CoversBar(*skin->VertBar, list->Handle(), OBJID_VSCROLL));
    list->SetBounds(10, 10, 0, 200);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(skin->VertBar->Handle()); }))
        << "a cover at " << guitest::ToString(ScreenRect(skin->VertBar->Handle())) << " over a list at "
        << guitest::ToString(ScreenRect(list->Handle()));
    list->SetBounds(10, 10, 160, 200);
    EXPECT_TRUE(PumpUntil([&] { return CoversBar(*skin->VertBar, list->Handle(), OBJID_VSCROLL); }))
        << "the cover did not come back";
}

TEST_F(ScrollCoverTest, ListBoxCoverPixelsAreTheFlatSkinsCells) {
    TListBox* list = HundredLines(300);
    TSkinScrollbar* skin = Cover(list);
    TWScrollbar& bar = *skin->VertBar;
    ASSERT_TRUE(CoversBar(bar, list->Handle(), OBJID_VSCROLL));
    const Capture c = guitest::CaptureWindow(bar.Handle(), false, guitest::CaptureMethod::Compose);
    ASSERT_TRUE(c.Valid());
    const int a = bar.ArrowLength, length = bar.BarLength, mid = c.Width() / 2;
    ASSERT_GT(bar.ThumbEnd - bar.ThumbStart, 24) << "a thumb long enough to show both thumb and grip";
    EXPECT_TRUE(PixelIs(c, mid, a / 2, FlatRef("Scrollbar", 9))) << "up arrow, normal";
    EXPECT_TRUE(PixelIs(c, mid, length - a / 2, FlatRef("Scrollbar", 13))) << "down arrow, normal";
    EXPECT_TRUE(PixelIs(c, mid, bar.ThumbStart + 2, FlatRef("VertScrollThumb", 1))) << "thumb, normal";
    EXPECT_TRUE(PixelIs(c, mid, (bar.ThumbStart + bar.ThumbEnd) / 2, FlatRef("Scrollbar", 20))) << "grip, normal";
    EXPECT_TRUE(PixelIs(c, mid, (bar.ThumbEnd + length - a) / 2, FlatRef("VertScroll", 1))) << "track";

    // Hot thumb and pressed arrow.
    bar.ActivePart = spThumb;
    const Capture hot = guitest::CaptureWindow(bar.Handle(), false, guitest::CaptureMethod::Compose);
    EXPECT_TRUE(PixelIs(hot, mid, bar.ThumbStart + 2, FlatRef("VertScrollThumb", 3))) << "thumb, hot";
    EXPECT_TRUE(PixelIs(hot, mid, (bar.ThumbStart + bar.ThumbEnd) / 2, FlatRef("Scrollbar", 22))) << "grip, hot";
    bar.ActivePart = spSecondArrow;
    const Capture arrow = guitest::CaptureWindow(bar.Handle(), false, guitest::CaptureMethod::Compose);
    EXPECT_TRUE(PixelIs(arrow, mid, length - a / 2, FlatRef("Scrollbar", 16))) << "down arrow, hot";
}

TEST_F(ScrollCoverTest, PressOnTheCoverScrollsTheList) {
    TListBox* list = HundredLines(200);
    TSkinScrollbar* skin = Cover(list);
    TWScrollbar& bar = *skin->VertBar;
    ASSERT_TRUE(CoversBar(bar, list->Handle(), OBJID_VSCROLL));
    ASSERT_EQ(SendMessageA(list->Handle(), LB_GETTOPINDEX, 0, 0), 0);
    UpdateWindow(bar.Handle());
    const POINT onTrack{bar.ArrowLength / 2, (bar.ThumbEnd + bar.BarLength - bar.ArrowLength) / 2};
    ASSERT_EQ(bar.HitTest(onTrack), spPageAfter);
    // The release ends the platform's tracking loop that the press starts.
    PostMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onTrack.x, onTrack.y));
    PostMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(onTrack.x, onTrack.y));
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(list->Handle(), LB_GETTOPINDEX, 0, 0) > 0; }))
        << "the list scrolled by a page";
    EXPECT_FALSE(bar.Tracking);
    // The cover follows the native thumb.
    EXPECT_TRUE(PumpUntil([&] {
        UpdateWindow(bar.Handle());
        return bar.ThumbStart == BarInfo(list->Handle(), OBJID_VSCROLL).xyThumbTop;
    }));
    EXPECT_GT(bar.ThumbStart, bar.ArrowLength);
}

TEST_F(ScrollCoverTest, RichEditAndMemoGetCovers) {
    auto* rich = Host<TRichEdit>(10, 10, 200, 150);
    rich->SetScrollBars(ssVertical);
    std::string text;
    for (int i = 0; i < 200; ++i) text += "rich line " + std::to_string(i) + "\r\n";
    rich->SetText(text);
    auto* memo = Host<TMemo>(230, 10, 200, 150);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    std::string lines;
    for (int i = 0; i < 100; ++i) lines += "memo line " + std::to_string(i) + std::string(60, 'x') + "\r\n";
    memo->SetText(lines);
    TSkinScrollbar* richSkin = Cover(rich);
    TSkinScrollbar* memoSkin = Cover(memo);
    EXPECT_TRUE(PumpUntil([&] { return CoversBar(*richSkin->VertBar, rich->Handle(), OBJID_VSCROLL); }));
    EXPECT_TRUE(CoversBar(*richSkin->VertBar, rich->Handle(), OBJID_VSCROLL));
    EXPECT_TRUE(CoversBar(*memoSkin->VertBar, memo->Handle(), OBJID_VSCROLL));
    EXPECT_TRUE(CoversBar(*memoSkin->HorzBar, memo->Handle(), OBJID_HSCROLL));
    EXPECT_TRUE(memoSkin->OwnBorder);

    // Both bars shown: the corner between them takes the skin's face colour.
    const Capture c = PaintSkin(*memoSkin);
    const SCROLLBARINFO v = BarInfo(memo->Handle(), OBJID_VSCROLL), h = BarInfo(memo->Handle(), OBJID_HSCROLL);
    const RECT w = ScreenRect(memo->Handle());
    EXPECT_TRUE(PixelIs(c, v.rcScrollBar.left - w.left + 2, h.rcScrollBar.top - w.top + 2,
                        SkinColour(data->Colours.ButtonFace)));

    // The own frame: shadow outside, face inside.
    Capture border(w.right - w.left, w.bottom - w.top);
    memoSkin->PaintBorder(border.Dc());
    EXPECT_TRUE(PixelIs(border, 0, 20, SkinColour(data->Colours.ButtonShadow)));
    EXPECT_TRUE(PixelIs(border, 1, 20, SkinColour(data->Colours.ButtonFace)));
}

TEST_F(ScrollCoverTest, UnskinTakesTheCoversAway) {
    TListBox* list = HundredLines(200);
    TSkinScrollbar* skin = Cover(list);
    ASSERT_TRUE(skin->VertBar);
    const HWND cover = skin->VertBar->Handle();
    EXPECT_EQ(SendMessageA(list->Handle(), WM_SKINQUERY, 0, 0), 1);
    skin->Unskin();
    EXPECT_FALSE(skin->VertBar);
    EXPECT_FALSE(IsWindow(cover));
    delete skin;
    EXPECT_EQ(SendMessageA(list->Handle(), WM_SKINQUERY, 0, 0), 0) << "the list's own procedure again";
}

// ---- combo box, edit, fills -----------------------------------------------------------

TEST_F(ScrollCoverTest, ComboButtonPixelsAndDropDown) {
    const HWND combo = RawChild("combobox", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 20, 180, 200);
    ASSERT_TRUE(combo);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
    auto* skin = new TSkinComBox(form);
    skin->AttachWindow(combo, data.get(), form, form->FControlCanvas.get());
    ASSERT_TRUE(skin->Attached());
    const Capture c = PaintSkin(*skin);
    ASSERT_TRUE(c.Valid());
    const RECT b = skin->ButtonRect;
    ASSERT_GT(b.right - b.left, 4);
    EXPECT_TRUE(PixelIs(c, b.left + 2, 3, FlatRef("ComboButton", 1))) << "button, normal";
    EXPECT_TRUE(PixelIs(c, (b.left + b.right - 2) / 2, c.Height() / 2, FlatRef("ExtraImages", 1))) << "arrow glyph";
    EXPECT_TRUE(PixelIs(c, 0, c.Height() / 2, FlatRef("SunkEdge", 1))) << "frame";

    // Disabled wins over pressed.
    skin->MouseState = msPressed;
    EnableWindow(combo, FALSE);
    const Capture disabled = PaintSkin(*skin);
    EXPECT_TRUE(PixelIs(disabled, b.left + 2, 3, FlatRef("ComboButton", 3))) << "button, disabled";
    EnableWindow(combo, TRUE);
    const Capture pressed = PaintSkin(*skin);
    EXPECT_TRUE(PixelIs(pressed, b.left + 2, 3, FlatRef("ComboButton", 2))) << "button, pressed";
    skin->MouseState = 0;

    // A press on the button opens the list, through the skinned window procedure.
    const POINT p{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    PostMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    EXPECT_TRUE(skin->MouseState & msPressed);
    SendMessageA(combo, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_FALSE(skin->MouseState & msPressed);
}

TEST_F(ScrollCoverTest, DropDownComboSubclassesItsEditAndGivesItBack) {
    const HWND combo = RawChild("combobox", CBS_DROPDOWN, 20, 20, 180, 200);
    ASSERT_TRUE(combo);
    const HWND edit = GetTopWindow(combo);
    ASSERT_TRUE(edit);
    const LONG_PTR before = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    auto* skin = new TSkinComBox(form);
    skin->AttachWindow(combo, data.get(), form, form->FControlCanvas.get());
    EXPECT_NE(GetWindowLongPtrA(edit, GWLP_WNDPROC), before);
    SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(skin->MouseState & msPressed) << "a press in the edit presses the combo";
    SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    skin->Unskin();
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), before);
    delete skin;
}

TEST_F(ScrollCoverTest, FramedEditBorderPixels) {
    const HWND edit = RawChild("edit", ES_AUTOHSCROLL, 20, 20, 160, 24, WS_EX_CLIENTEDGE);
    const HWND bare = RawChild("edit", ES_AUTOHSCROLL, 20, 60, 160, 24);
    ASSERT_TRUE(edit && bare);
    auto* skin = new TSkinEdit(form);
    skin->AttachWindow(edit, data.get(), form, form->FControlCanvas.get());
    const Capture c = PaintSkin(*skin);
    const COLORREF shadow = SkinColour(data->Colours.ButtonShadow), white = RGB(255, 255, 255);
    EXPECT_TRUE(PixelIs(c, 0, 10, shadow));
    EXPECT_TRUE(PixelIs(c, 80, 0, shadow));
    EXPECT_TRUE(PixelIs(c, 1, 10, white));
    EXPECT_TRUE(PixelIs(c, 2, 10, white));

    // The frame on screen after the edit's own painting.
    SetWindowPos(window.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil([&] {
        RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const Capture s = guitest::CaptureWindow(edit, true, guitest::CaptureMethod::WindowDc);
        return s.Valid() && s.Pixel(0, 10) == shadow && s.Pixel(1, 10) == white;
    }));

    // A borderless edit gets no frame.
    auto* plain = new TSkinEdit(form);
    plain->AttachWindow(bare, data.get(), form, form->FControlCanvas.get());
    const Capture none = PaintSkin(*plain);
    EXPECT_FALSE(none.Painted(0, 10));
}

TEST_F(ScrollCoverTest, FramedEditSpinChild_DrawnInsideTheFrameOnWhite) {
    // An up-down inside a framed edit, flush with the edit's client area: 2 pixels from the
    // edit's window edge at top, right and bottom, so its buttons keep 1 more pixel off.
    const HWND edit = RawChild("edit", ES_AUTOHSCROLL, 20, 120, 160, 24, WS_EX_CLIENTEDGE);
    ASSERT_TRUE(edit);
    const RECT client = guitest::ClientRectOf(edit);
    const int w = 16, h = client.bottom;
    const HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - w, 0, w, h, edit,
                                      nullptr, nullptr, nullptr);
    ASSERT_TRUE(spin);
    auto* skin = new TSkinEdit(form);
    skin->AttachWindow(edit, data.get(), form, form->FControlCanvas.get());
    // The edit's own paint gives its spin child a skin.
    EXPECT_TRUE(PumpUntil([&] {
        RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return skin->SpinSkin != nullptr;
    })) << "the edit's paint gave its spin child no skin";
    Capture c(w, h);
    ASSERT_TRUE(c.Valid());
    SendMessageW(spin, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.Dc()), PRF_CLIENT);
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_TRUE(PixelIs(c, w / 2, 0, white)) << "top row: inside the edit's frame";
    EXPECT_TRUE(PixelIs(c, w - 1, h / 4, white)) << "right column";
    EXPECT_TRUE(PixelIs(c, w / 2, h - 1, white)) << "bottom row";
    EXPECT_TRUE(PixelIs(c, 1, 2, FlatRef("UpDown.Vert", "Image", 1))) << "the up button within the inset";
}

TEST_F(ScrollCoverTest, SizeGripIsFilledAndARealScrollBarIsNot) {
    const HWND grip = RawChild("scrollbar", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 300, 300, 20, 20);
    const HWND real = RawChild("scrollbar", SBS_VERT, 340, 200, 16, 120);
    ASSERT_TRUE(grip && real);
    auto* sizer = new TSkinSizer(form);
    sizer->AttachWindow(grip, data.get(), form, form->FControlCanvas.get());
    const Capture c = PaintSkin(*sizer);
    EXPECT_TRUE(PixelIs(c, 10, 10, SkinColour(data->Colours.ButtonFace)));
    EXPECT_TRUE(PixelIs(c, c.Width() - 1, c.Height() - 1, SkinColour(data->Colours.ButtonFace)));
    auto* notSizer = new TSkinSizer(form);
    notSizer->AttachWindow(real, data.get(), form, form->FControlCanvas.get());
    const Capture untouched = PaintSkin(*notSizer);
    EXPECT_FALSE(untouched.AnyPainted());
}

TEST_F(ScrollCoverTest, NestedDialogIsFilledWithTheSkinColour) {
    const HWND dialog = RawChild("#32770", WS_CLIPSIBLINGS, 20, 200, 200, 120);
    ASSERT_TRUE(dialog);
    auto* skin = new TSkinBoxH(form);
    skin->AttachWindow(dialog, data.get(), form, form->FControlCanvas.get());
    Capture c(200, 120);
    EXPECT_EQ(SendMessageA(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(c.Dc()), 0), 0);
    EXPECT_TRUE(PixelIs(c, 0, 0, SkinColour(data->Colours.ButtonFace)));
    EXPECT_TRUE(PixelIs(c, 199, 119, SkinColour(data->Colours.ButtonFace)));
    const LRESULT brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(c.Dc()),
                                       reinterpret_cast<LPARAM>(dialog));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), data->SkinBrush().get());
}

TEST_F(ScrollCoverTest, HoverLightsThePartUnderThePointerUntilItLeaves) {
    TListBox* list = HundredLines(300);
    TSkinScrollbar* skin = Cover(list);
    TWScrollbar& bar = *skin->VertBar;
    ASSERT_TRUE(bar.Shown);
    UpdateWindow(bar.Handle());
    SendMessageA(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, bar.BarLength - 2));
    EXPECT_EQ(bar.ActivePart, spSecondArrow);
    SendMessageA(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, (bar.ThumbStart + bar.ThumbEnd) / 2));
    EXPECT_EQ(bar.ActivePart, spThumb);
    SendMessageA(bar.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(bar.ActivePart, spNone);
}

TEST_F(ScrollCoverTest, WithoutTheScrollBarQueryNoCoverShows) {
    UnbindUser32EntryPoints();
    TListBox* list = HundredLines(200);
    TSkinScrollbar* skin = Cover(list);
    BindUser32EntryPoints();
    ASSERT_TRUE(skin->VertBar);
    EXPECT_FALSE(IsWindowVisible(skin->VertBar->Handle()));
}

// A skin without the optional parts: the covers and the combo draw what there is.
class MissingPartsTest : public ScrollCoverTest {
protected:
    void SetUp() override {
        ScrollCoverTest::SetUp();
        if (HasFatalFailure()) return;
        skintest::FlatSkinOptions options;
        options.omitSections = {"HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb", "SunkEdge",
                                "ExtraImages"};
        sparse = std::make_unique<TSkinData>(nullptr);
        ASSERT_TRUE(skindata::LoadInto(*sparse, skintest::MakeFlatTestSkin(options)));
        ASSERT_FALSE(sparse->VertScrollThumb);
        ASSERT_FALSE(sparse->SunkEdge);
    }
    void TearDown() override {
        ScrollCoverTest::TearDown();
        sparse.reset();
    }
    std::unique_ptr<TSkinData> sparse;
};

TEST_F(MissingPartsTest, CoverDrawsArrowsWithoutTrackOrThumb) {
    TListBox* list = HundredLines(300);
    auto* skin = new TSkinScrollbar(list);
    ASSERT_TRUE(skin->AttachScrolling(list, sparse.get(), form, form->FControlCanvas.get()));
    TWScrollbar& bar = *skin->VertBar;
    ASSERT_TRUE(bar.Shown);
    const Capture c = guitest::CaptureWindow(bar.Handle(), false, guitest::CaptureMethod::Compose);
    ASSERT_TRUE(c.Valid());
    const int mid = c.Width() / 2;
    EXPECT_TRUE(PixelIs(c, mid, bar.ArrowLength / 2, FlatRef("Scrollbar", 9)));
    EXPECT_TRUE(PixelIs(c, mid, bar.ThumbStart + 2, SkinColour(sparse->Colours.ButtonFace))) << "no thumb part";
}

TEST_F(MissingPartsTest, ComboDrawsItsButtonWithoutFrameOrGlyph) {
    const HWND combo = RawChild("combobox", CBS_DROPDOWNLIST, 20, 20, 180, 200);
    auto* skin = new TSkinComBox(form);
    skin->AttachWindow(combo, sparse.get(), form, form->FControlCanvas.get());
    const Capture c = PaintSkin(*skin);
    const RECT b = skin->ButtonRect;
    EXPECT_TRUE(PixelIs(c, b.left + 2, 3, FlatRef("ComboButton", 1)));
}

TEST_F(ScrollCoverTest, DateTimePickerGetsAFrameAndAnArrowOverItsButton) {
    auto* picker = Host<TDateTimePicker>(20, 20, 160, 24);
    picker->Handle();
    auto* skin = new TSkinDateTime(picker);
    skin->AttachControl(form, data.get(), false, form->FControlCanvas.get());
    ASSERT_TRUE(skin->Arrow && skin->Arrow->HandleAllocated());
    const HWND arrow = skin->Arrow->Handle();
    EXPECT_EQ(GetParent(arrow), picker->Handle());
    const RECT pr = ScreenRect(picker->Handle()), ar = ScreenRect(arrow);
    const int size = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(ar.right - ar.left, size);
    EXPECT_EQ(ar.bottom - ar.top, size + 1);
    POINT origin{0, 0};
    ClientToScreen(picker->Handle(), &origin);
    EXPECT_EQ(ar.left - origin.x, (pr.right - pr.left) - size - 4) << "over the picker's own button";
    EXPECT_EQ(ar.top, origin.y);
    EXPECT_TRUE(GetWindowLongPtrA(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    const Capture c = PaintSkin(*skin);
    EXPECT_TRUE(PixelIs(c, 0, 10, SkinColour(data->Colours.ButtonShadow)));
    EXPECT_TRUE(PixelIs(c, 1, 10, RGB(255, 255, 255)));
}

TEST_F(ScrollCoverTest, SkinAndUnskinCyclesLeaveNothingBehind) {
    TListBox* list = HundredLines(200);
    const HWND combo = RawChild("combobox", CBS_DROPDOWN, 200, 20, 180, 200);
    const HWND edit = GetTopWindow(combo);
    const LONG_PTR listProc = GetWindowLongPtrA(list->Handle(), GWLP_WNDPROC);
    const LONG_PTR editProc = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    auto cycle = [&] {
        auto* cover = new TSkinScrollbar(list);
        cover->AttachScrolling(list, data.get(), form, form->FControlCanvas.get());
        UpdateWindow(cover->VertBar->Handle());
        cover->Unskin();
        delete cover;
        auto* box = new TSkinComBox(form);
        box->AttachWindow(combo, data.get(), form, form->FControlCanvas.get());
        RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        box->Unskin();
        delete box;
    };
    for (int i = 0; i < 3; ++i) cycle();
    skinform::WarmFrameStates(*form);
    guitest::PumpMessages();
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    constexpr int kCycles = 100;
    for (int i = 0; i < kCycles; ++i) cycle();
    guitest::PumpMessages();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    if (before.gdiKnown && after.gdiKnown) {
        EXPECT_EQ(after.gdi, before.gdi) << after.source;
    }
    if (before.userKnown && after.userKnown) {
        EXPECT_EQ(after.user, before.user) << after.source;
    }
    EXPECT_EQ(GetWindowLongPtrA(list->Handle(), GWLP_WNDPROC), listProc);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), editProc);
    EXPECT_EQ(form->SkinControlCount(), 0);
}

TEST_F(ScrollCoverTest, SkinChangeRepaintsTheCoversAndLeavesTheHostsColour) {
    TListBox* list = HundredLines(200);
    list->SetColor(clYellow);
    TSkinScrollbar* skin = Cover(list);
    skin->UpdateSkin();
    EXPECT_EQ(list->Color(), clYellow);
    skin->Unskin();
    EXPECT_EQ(list->Color(), clYellow);
}

TEST_F(ScrollCoverTest, SimpleComboListGetsCovers) {
    auto* combo = Host<TComboBox>(20, 20, 160, 150);
    combo->SetStyle(csSimple);
    for (int i = 0; i < 50; ++i) combo->Items().Add("item " + std::to_string(i));
    combo->Handle();
    auto* skin = new TSkinComBox(combo);
    skin->AttachControl(form, data.get(), false, form->FControlCanvas.get());
    ASSERT_TRUE(skin->ListWindow);
    ASSERT_NE(skin->ListSkin, nullptr);
    TSkinScrollbarH& list = *skin->ListSkin;
    ASSERT_TRUE(list.VertBar);
    EXPECT_TRUE(PumpUntil([&] { return CoversBar(*list.VertBar, skin->ListWindow, OBJID_VSCROLL); }));
    EXPECT_EQ(SendMessageA(skin->ListWindow, WM_SKINQUERY, 0, 0), 1);
    skin->Unskin();
    EXPECT_EQ(skin->ListSkin, nullptr);
    EXPECT_EQ(SendMessageA(skin->ListWindow, WM_SKINQUERY, 0, 0), 0);
}

TEST_F(ScrollCoverTest, RecreatedHostGetsANewSkinOverItsNewWindow) {
    TListBox* list = HundredLines(200);
    Cover(list);
    const HWND before = list->Handle();
    list->SetBorderStyle(bsNone);  // the platform reads the border only at creation: a new window
    const HWND after = list->Handle();
    ASSERT_NE(before, after);
    TSkinScrollbar* renewed = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        for (TSkinControl* c : form->FSkinControls)
            if (c->Handle == after) renewed = dynamic_cast<TSkinScrollbar*>(c);
        return renewed != nullptr;
    }));
    ASSERT_NE(renewed, nullptr);
    EXPECT_FALSE(renewed->OwnBorder) << "no border style, no frame of its own";
    EXPECT_TRUE(CoversBar(*renewed->VertBar, after, OBJID_VSCROLL));
    EXPECT_EQ(SendMessageA(after, WM_SKINQUERY, 0, 0), 1);
}

}  // namespace
