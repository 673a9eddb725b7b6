// Controls without a window: painted by their parent at their bounds and in z-order,
// invalidated on the parent, given the parent's mouse input (hit-testing, capture while
// pressed, pointer enter and leave); the speed button's click, groups and events; mouse
// events of windowed controls; a control placed on a raw window.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <string>
#include <vector>

#include "Buttons.h"
#include "ControlsTestSupport.h"
#include "ExtCtrls.h"

namespace {

// Fills far beyond its own bounds, so a missing clip shows; logs its paints.
class TFillControl : public TGraphicControl {
public:
    TFillControl(TComponent* owner, COLORREF colour, std::vector<std::string>* log, std::string name)
        : TGraphicControl(owner), colour_(colour), log_(log), name_(std::move(name)) {}

protected:
    void Paint() override {
        if (log_) log_->push_back(name_);
        UniqueBrush b(CreateSolidBrush(colour_));
        RECT r{-50, -50, 500, 500};
        FillRect(Canvas().Handle(), &r, b.get());
    }

private:
    COLORREF colour_;
    std::vector<std::string>* log_;
    std::string name_;
};

const char* const kPlainForm = u8R"(object F: TForm
  Left = 0
  Top = 0
  Width = 300
  Height = 200
  Color = clWhite
end
)";

class GraphicFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = ctltest::FormFromText(kPlainForm);
        // Shown: a hidden window collects no update region and its DCs draw nowhere.
        form->Show();
        wnd = form->Handle();
        ASSERT_NE(nullptr, wnd);
    }
    void TearDown() override {
        if (GetCapture()) ReleaseCapture();
        form.reset();
    }
    TFillControl* addFill(int l, int t, int w, int h, COLORREF c, const std::string& name = {}) {
        auto* g = new TFillControl(form.get(), c, &log, name);
        g->SetBounds(l, t, w, h);
        g->SetParent(form.get());
        return g;
    }
    void send(UINT msg, WPARAM keys, int x, int y) {
        SendMessageA(wnd, msg, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
    std::unique_ptr<TForm> form;
    HWND wnd = nullptr;
    std::vector<std::string> log;
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

}  // namespace

TEST_F(GraphicFormTest, PaintControls_DrawsAtBoundsClippedAndInZOrder) {
    addFill(20, 10, 40, 30, kRed, "red");
    addFill(50, 30, 40, 30, kBlue, "blue");  // later: above the red one where they overlap
    guitest::Capture c = guitest::CaptureWindow(wnd, false);
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(guitest::PixelIs(c, 20, 10, kRed));
    EXPECT_TRUE(guitest::PixelIs(c, 40, 20, kRed));
    EXPECT_TRUE(guitest::PixelIs(c, 19, 10, kWhite));   // left of the bounds
    EXPECT_TRUE(guitest::PixelIs(c, 20, 9, kWhite));    // above
    EXPECT_TRUE(guitest::PixelIs(c, 55, 35, kBlue));    // the overlap belongs to the upper one
    EXPECT_TRUE(guitest::PixelIs(c, 89, 59, kBlue));
    EXPECT_TRUE(guitest::PixelIs(c, 90, 59, kWhite));   // right of the blue bounds
    EXPECT_TRUE(guitest::PixelIs(c, 89, 60, kWhite));   // below
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("red", log[0]);
    EXPECT_EQ("blue", log[1]);
}

TEST_F(GraphicFormTest, PaintControls_HiddenControlIsNotPainted) {
    TFillControl* g = addFill(20, 10, 40, 30, kRed);
    g->Hide();
    guitest::Capture c = guitest::CaptureWindow(wnd, false);
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(guitest::PixelIs(c, 30, 20, kWhite));
    EXPECT_TRUE(log.empty());
}

TEST_F(GraphicFormTest, Invalidate_InvalidatesItsRectangleOnTheParent) {
    TFillControl* g = addFill(20, 10, 40, 30, kRed);
    ValidateRect(wnd, nullptr);
    g->Invalidate();
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(wnd, &update, FALSE));
    EXPECT_EQ((RECT{20, 10, 60, 40}), update);
    // The window's own paint cycle paints it once.
    log.clear();
    UpdateWindow(wnd);
    EXPECT_EQ(1u, log.size());
    EXPECT_FALSE(GetUpdateRect(wnd, &update, FALSE));
}

TEST_F(GraphicFormTest, SetBounds_InvalidatesOldAndNewPlaces) {
    TFillControl* g = addFill(20, 10, 40, 30, kRed);
    ValidateRect(wnd, nullptr);
    g->SetBounds(100, 50, 10, 10);
    UniqueRegion rgn(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, GetUpdateRgn(wnd, rgn.get(), FALSE));
    EXPECT_TRUE(PtInRegion(rgn.get(), 25, 15));    // the old place shows the form again
    EXPECT_TRUE(PtInRegion(rgn.get(), 105, 55));   // the new place
    EXPECT_FALSE(PtInRegion(rgn.get(), 80, 45));   // nothing between them
}

TEST_F(GraphicFormTest, ControlCanvas_OnDemandDcDrawsAtTheControl) {
    TFillControl* g = addFill(20, 10, 40, 30, kRed);
    HDC dc = g->Canvas().Handle();
    ASSERT_NE(nullptr, dc);
    POINT org{};
    GetWindowOrgEx(dc, &org);
    EXPECT_EQ(-20, org.x);
    EXPECT_EQ(-10, org.y);
    RECT clip{};
    GetClipBox(dc, &clip);
    EXPECT_EQ((RECT{0, 0, 40, 30}), clip);
    g->Canvas().Lock();
    g->Canvas().Unlock();  // the last unlock lets the DC go
    EXPECT_FALSE(g->Canvas().HandleAllocated());
}

TEST_F(GraphicFormTest, ControlCanvas_BorrowedDcInBetweenKeepsTheOwnDcOnce) {
    TFillControl* g = addFill(20, 10, 40, 30, kRed);
    HDC own = g->Canvas().Handle();
    ASSERT_NE(nullptr, own);
    // What a painter that is handed the paint cycle's DC does.
    UniqueMemDC other(CreateCompatibleDC(nullptr));
    g->Canvas().SetHandle(other.get());
    g->Canvas().SetHandle(nullptr);
    EXPECT_EQ(own, g->Canvas().Handle());  // its own DC again, not a second one
    g->Canvas().FreeHandle();
    EXPECT_FALSE(g->Canvas().HandleAllocated());
}

TEST_F(GraphicFormTest, Mouse_PressAndReleaseClickOnceWithCaptureHeldBetween) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    send(WM_LBUTTONDOWN, MK_LBUTTON, 45, 35);
    EXPECT_EQ(wnd, GetCapture());
    EXPECT_TRUE(b->MouseCapture());
    send(WM_MOUSEMOVE, MK_LBUTTON, 200, 150);  // dragged off: still its messages
    send(WM_MOUSEMOVE, MK_LBUTTON, 50, 40);    // and back
    send(WM_LBUTTONUP, 0, 50, 40);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_FALSE(b->MouseCapture());
}

TEST_F(GraphicFormTest, Mouse_ReleaseOutsideGivesNoClick) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    send(WM_LBUTTONDOWN, MK_LBUTTON, 45, 35);
    send(WM_LBUTTONUP, 0, 200, 150);  // the capture brings the release to the button
    EXPECT_EQ(0, clicks);
    EXPECT_EQ(nullptr, GetCapture());
    send(WM_LBUTTONUP, 0, 45, 35);  // a release with no press on it
    EXPECT_EQ(0, clicks);
}

TEST_F(GraphicFormTest, Mouse_LostCaptureEndsThePress) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    send(WM_LBUTTONDOWN, MK_LBUTTON, 45, 35);
    ReleaseCapture();
    EXPECT_FALSE(b->MouseCapture());
    send(WM_LBUTTONUP, 0, 45, 35);
    EXPECT_EQ(0, clicks);
}

TEST_F(GraphicFormTest, Mouse_DisabledOrHiddenControlLetsTheParentHaveIt) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    int buttonDowns = 0, formDowns = 0;
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++buttonDowns; };
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formDowns; };
    b->SetEnabled(false);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 45, 35);
    send(WM_LBUTTONUP, 0, 45, 35);
    b->SetEnabled(true);
    b->Hide();
    send(WM_LBUTTONDOWN, MK_LBUTTON, 45, 35);
    send(WM_LBUTTONUP, 0, 45, 35);
    EXPECT_EQ(0, buttonDowns);
    EXPECT_EQ(2, formDowns);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(GraphicFormTest, Mouse_EventsCarryTheControlsPointAndShift) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    struct Event { std::string kind; TMouseButton button; TShiftState shift; int x, y; };
    std::vector<Event> seen;
    b->OnMouseDown = [&](TObject*, TMouseButton bt, TShiftState s, int x, int y) { seen.push_back({"down", bt, s, x, y}); };
    b->OnMouseMove = [&](TObject*, TShiftState s, int x, int y) { seen.push_back({"move", mbLeft, s, x, y}); };
    b->OnMouseUp = [&](TObject*, TMouseButton bt, TShiftState s, int x, int y) { seen.push_back({"up", bt, s, x, y}); };
    send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 45, 37);
    send(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, 30, 20);  // captured: left of and above it
    send(WM_LBUTTONUP, MK_SHIFT, 47, 38);
    send(WM_RBUTTONDOWN, MK_RBUTTON, 41, 31);
    const TShiftState sh = 1u << ssShift, ct = 1u << ssCtrl, lb = 1u << ssLeft, rb = 1u << ssRight;
    const Event expected[] = {
        {"down", mbLeft, sh | lb, 5, 7}, {"move", mbLeft, ct | lb, -10, -10}, {"up", mbLeft, sh, 7, 8}, {"down", mbRight, rb, 1, 1}};
    ASSERT_EQ(std::size(expected), seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE("event " + std::to_string(i) + " " + expected[i].kind);
        EXPECT_EQ(expected[i].kind, seen[i].kind);
        EXPECT_EQ(expected[i].button, seen[i].button);
        EXPECT_EQ(expected[i].shift, seen[i].shift);
        EXPECT_EQ(expected[i].x, seen[i].x);
        EXPECT_EQ(expected[i].y, seen[i].y);
    }
}

TEST_F(GraphicFormTest, Mouse_PointerEntersAndLeavesTheControl) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    std::vector<UINT> notices;
    TWndMethod inner = b->WindowProc;
    b->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) notices.push_back(m.Msg);
        inner(m);
    };
    send(WM_MOUSEMOVE, 0, 10, 10);
    send(WM_MOUSEMOVE, 0, 45, 35);
    EXPECT_TRUE(b->MouseInControl());
    send(WM_MOUSEMOVE, 0, 50, 36);
    send(WM_MOUSEMOVE, 0, 150, 100);
    EXPECT_FALSE(b->MouseInControl());
    send(WM_MOUSEMOVE, 0, 45, 35);
    SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);  // off the form altogether
    EXPECT_EQ((std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE, CM_MOUSEENTER, CM_MOUSELEAVE}), notices);
    b->WindowProc = inner;
}

TEST_F(GraphicFormTest, Mouse_FreedWhilePressedLeavesNoCapture) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    send(WM_LBUTTONDOWN, MK_LBUTTON, 45, 35);
    delete b;
    EXPECT_EQ(nullptr, GetCapture());
    send(WM_MOUSEMOVE, MK_LBUTTON, 45, 35);  // goes to the form, not to the freed button
    send(WM_LBUTTONUP, 0, 45, 35);
}

TEST_F(GraphicFormTest, SpeedButton_GroupKeepsOneDown) {
    TSpeedButton* b[3];
    for (int i = 0; i < 3; ++i) {
        b[i] = new TSpeedButton(form.get());
        b[i]->SetBounds(10 + 30 * i, 10, 25, 25);
        b[i]->SetGroupIndex(1);
        b[i]->SetParent(form.get());
    }
    auto click = [&](int i) {
        send(WM_LBUTTONDOWN, MK_LBUTTON, 12 + 30 * i, 12);
        send(WM_LBUTTONUP, 0, 12 + 30 * i, 12);
    };
    auto downs = [&] { return std::string{b[0]->Down() ? '1' : '0', b[1]->Down() ? '1' : '0', b[2]->Down() ? '1' : '0'}; };
    click(0);
    EXPECT_EQ("100", downs());
    click(1);
    EXPECT_EQ("010", downs());
    click(1);  // the down button of a group without AllowAllUp stays down
    EXPECT_EQ("010", downs());
    b[2]->SetAllowAllUp(true);  // the whole group takes it
    EXPECT_TRUE(b[0]->AllowAllUp());
    click(1);
    EXPECT_EQ("000", downs());
    b[2]->SetDown(true);
    EXPECT_EQ("001", downs());
    b[2]->SetGroupIndex(0);  // out of the group: a lone button never stays down
    EXPECT_EQ("000", downs());
    click(2);
    EXPECT_EQ("000", downs());
}

TEST_F(GraphicFormTest, SpeedButton_DownFaceIsPaintedSunk) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetParent(form.get());
    guitest::Capture up = guitest::CaptureWindow(wnd, false);
    ASSERT_TRUE(up.Valid());
    // Raised: light top-left edge; sunk: dark top-left edge.
    EXPECT_NE(GetSysColor(COLOR_3DDKSHADOW), up.Pixel(40, 30));
    b->SetGroupIndex(1);
    b->SetDown(true);
    guitest::Capture down = guitest::CaptureWindow(wnd, false);
    ASSERT_TRUE(down.Valid());
    EXPECT_NE(up.Pixel(40, 30), down.Pixel(40, 30));
    EXPECT_TRUE(guitest::PixelIs(down, 39, 30, kWhite));  // nothing outside its bounds
}

TEST_F(GraphicFormTest, SpeedButton_PaintingAndOnDemandDcsLeakNothing) {
    auto* b = new TSpeedButton(form.get());
    b->SetBounds(40, 30, 50, 20);
    b->SetCaption("Go");
    b->SetGroupIndex(1);
    b->SetParent(form.get());
    auto cycle = [&] {
        for (int i = 0; i < 20; ++i) {
            b->SetDown(i % 2 == 0);  // both faces, the checked one with its pattern brush
            guitest::Capture c = guitest::CaptureWindow(wnd, false);
            ASSERT_TRUE(c.Valid());
            b->Invalidate();
            UpdateWindow(wnd);
            b->Canvas().Handle();
            b->Canvas().Lock();
            b->Canvas().Unlock();
        }
    };
    cycle();  // fonts and brushes made on first use stay with their owners
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    if (!before.gdiKnown) GTEST_SKIP() << "GDI objects cannot be counted here (" << before.source << ")";
    cycle();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    EXPECT_EQ(before.gdi, after.gdi) << before.source;
}

// ---- events bound by name from a stored form ---------------------------------------

namespace {

class TMouseTestForm : public TForm {
    CLASS_INFO(TMouseTestForm)
public:
    explicit TMouseTestForm(TComponent* owner) : TForm(owner) {}
    TSpeedButton* SB1 = nullptr;
    std::vector<std::string> seen;
    void SB1MouseDown(TObject*, TMouseButton b, TShiftState s, int x, int y) {
        seen.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void SB1Click(TObject*) { seen.push_back("click"); }
    void PanelMouseMove(TObject*, TShiftState, int x, int y) { seen.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
};

const TClassInfo& TMouseTestForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TMouseTestForm>("TMouseTestForm", &TForm::StaticClassInfo(), [](TClassBuilder<TMouseTestForm>& b) {
        b.Field("SB1", &TMouseTestForm::SB1);
        b.Handler("SB1MouseDown", &TMouseTestForm::SB1MouseDown);
        b.Handler("SB1Click", &TMouseTestForm::SB1Click);
        b.Handler("PanelMouseMove", &TMouseTestForm::PanelMouseMove);
    });
    return info;
}

const char* const kMouseForm = u8R"(object MouseTestForm: TMouseTestForm
  Width = 300
  Height = 200
  object Panel1: TPanel
    Left = 100
    Top = 100
    Width = 80
    Height = 40
    OnMouseMove = PanelMouseMove
  end
  object SB1: TSpeedButton
    Left = 10
    Top = 20
    Width = 60
    Height = 24
    Caption = '开始'
    Flat = True
    GroupIndex = 2
    Down = True
    AllowAllUp = True
    Layout = blGlyphTop
    Spacing = 2
    Margin = 3
    NumGlyphs = 2
    OnClick = SB1Click
    OnMouseDown = SB1MouseDown
  end
end
)";

}  // namespace

TEST(SpeedButton_StoredForm, PropertiesAndEventsAreReadByName) {
    auto form = std::make_unique<TMouseTestForm>(Application);
    form->InitFromText(kMouseForm);
    TSpeedButton* b = form->SB1;
    ASSERT_NE(nullptr, b);
    EXPECT_TRUE(b->Flat());
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(2, b->GroupIndex());
    EXPECT_EQ(blGlyphTop, b->Layout());
    EXPECT_EQ("blGlyphTop", GetEnumProp(*b, "Layout"));
    EXPECT_EQ("True", GetEnumProp(*b, "Down"));
    EXPECT_EQ("True", GetEnumProp(*b, "Enabled"));
    EXPECT_EQ(2, GetOrdProp(*b, "NumGlyphs"));
    EXPECT_EQ(3, GetOrdProp(*b, "Margin"));
    EXPECT_EQ(2, GetOrdProp(*b, "Spacing"));
    EXPECT_NE(nullptr, GetObjectProp(*b, "Glyph"));
    EXPECT_NE(nullptr, GetObjectProp(*b, "Font"));
    HWND wnd = form->Handle();
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 25));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(15, 25));
    // A windowed control reports its own client point.
    HWND panel = FindControl(wnd) ? GetWindow(wnd, GW_CHILD) : nullptr;
    ASSERT_NE(nullptr, panel);
    SendMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(7, 9));
    const std::vector<std::string> expected{"down 0 8 5,5", "click", "move 7,9"};
    EXPECT_EQ(expected, form->seen);
    EXPECT_FALSE(b->Down());  // AllowAllUp: the click brought it up
}

TEST(SpeedButton_SkinHost, MouseDownCalledDirectlyFiresTheEvent) {
    // A press consumed before the control saw it is still reported to its handlers.
    auto form = ctltest::FormFromText(kPlainForm);
    auto* b = new TSpeedButton(form.get());
    b->SetParent(form.get());
    int x = 0, y = 0;
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int px, int py) { x = px; y = py; };
    b->MouseDown(mbLeft, KeysToShiftState(MK_LBUTTON), 3, 4);
    EXPECT_EQ(3, x);
    EXPECT_EQ(4, y);
}

// ---- ParentWindow ------------------------------------------------------------------

namespace {
guitest::TestWindow rawWindow() {
    guitest::TestWindowOptions o;
    o.style = WS_OVERLAPPEDWINDOW;
    return guitest::TestWindow(o);
}
}  // namespace

TEST(ParentWindow, ControlIsMadeAsAChildOfTheRawWindow) {
    guitest::TestWindow raw = rawWindow();
    ASSERT_TRUE(raw);
    auto panel = std::make_unique<TPanel>(nullptr);
    panel->SetBounds(5, 6, 30, 20);
    panel->SetParentWindow(raw.Handle());
    ASSERT_TRUE(panel->HandleAllocated());
    HWND h = panel->Handle();
    EXPECT_EQ(raw.Handle(), GetParent(h));
    EXPECT_TRUE(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ((RECT{5, 6, 35, 26}), guitest::RectInParent(h));
    panel->SetBounds(40, 2, 10, 10);
    EXPECT_EQ((RECT{40, 2, 50, 12}), guitest::RectInParent(h));
    panel.reset();  // the control goes first: its window goes, the raw one stays
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(IsWindow(raw.Handle()));
}

TEST(ParentWindow, RawWindowDestroyedFirstLeavesTheControlWithoutAWindow) {
    guitest::TestWindow raw = rawWindow();
    ASSERT_TRUE(raw);
    auto panel = std::make_unique<TPanel>(nullptr);
    panel->SetBounds(5, 6, 30, 20);
    panel->SetParentWindow(raw.Handle());
    HWND h = panel->Handle();
    raw.Destroy();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_EQ(nullptr, FindControl(h));
    panel.reset();
}

TEST(ParentWindow, MovesBetweenRawWindowsAndOntoAParentControl) {
    guitest::TestWindow a = rawWindow(), b = rawWindow();
    auto form = ctltest::FormFromText(kPlainForm);
    auto* panel = new TPanel(form.get());
    panel->SetBounds(1, 1, 10, 10);
    panel->SetParentWindow(a.Handle());
    HWND h = panel->Handle();
    panel->SetParentWindow(b.Handle());
    EXPECT_EQ(h, panel->Handle());  // the same window, moved
    EXPECT_EQ(b.Handle(), GetParent(h));
    panel->SetParent(form.get());
    EXPECT_EQ(nullptr, panel->ParentWindow());
    EXPECT_EQ(form->Handle(), GetParent(panel->Handle()));
    EXPECT_FALSE(IsWindow(h));
}
