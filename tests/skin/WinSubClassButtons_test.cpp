// Push-button skins: the state-to-cell, glyph-cell, caption-colour and glyph-layout
// tables, and on real windows under Wine the pixels of raw and class-library buttons
// against the flat test skin's [Buttons] cells in every state, the click a press and
// release produce, a glyph button's glyph, a missing image, and speed buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Buttons.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "WinSubClassButtons.h"
#include "button_skin_support.h"

namespace {

using buttontest::FlatSkinFixture;
using guitest::Capture;
using guitest::PixelIs;
using guitest::PumpUntil;

COLORREF Cell(int cell) { return skinform::FlatRef("Buttons", "Bitmap", cell); }

// ---- tables --------------------------------------------------------------------------

struct FaceRow {
    const char* name;
    TButtonFaceKind kind;
    TButtonFaceState state;  // disabled, pressed, hot, focused, down
    int cell;
};

const FaceRow kFaceRows[] = {
    {"push normal", TButtonFaceKind::Push, {false, false, false, false, false}, 1},
    {"push focused", TButtonFaceKind::Push, {false, false, false, true, false}, 5},
    {"push hot and focused", TButtonFaceKind::Push, {false, false, true, true, false}, 4},
    {"push pressed and hot", TButtonFaceKind::Push, {false, true, true, true, false}, 2},
    {"push disabled and focused", TButtonFaceKind::Push, {true, false, false, true, false}, 3},
    {"push disabled and pressed", TButtonFaceKind::Push, {true, true, true, false, false}, 3},
    {"menu focused", TButtonFaceKind::Menu, {false, false, false, true, false}, 4},
    {"menu hot", TButtonFaceKind::Menu, {false, false, true, false, false}, 4},
    {"menu pressed", TButtonFaceKind::Menu, {false, true, true, true, false}, 2},
    {"menu disabled", TButtonFaceKind::Menu, {true, false, true, true, false}, 3},
    {"menu normal", TButtonFaceKind::Menu, {false, false, false, false, false}, 1},
    {"speed focused counts for nothing", TButtonFaceKind::Speed, {false, false, false, true, false}, 1},
    {"speed hot", TButtonFaceKind::Speed, {false, false, true, false, false}, 4},
    {"speed pressed", TButtonFaceKind::Speed, {false, true, true, false, false}, 2},
    {"speed disabled", TButtonFaceKind::Speed, {true, false, true, false, false}, 3},
    {"speed down and disabled", TButtonFaceKind::Speed, {true, false, false, false, true}, 2},
    {"speed down", TButtonFaceKind::Speed, {false, false, false, false, true}, 2},
};

TEST(ButtonSkinTables, FaceCell_ByKindAndState) {
    for (const FaceRow& row : kFaceRows)
        EXPECT_EQ(ButtonFaceCell(row.kind, row.state), row.cell) << row.name;
}

TEST(ButtonSkinTables, GlyphCell_FollowsTheFace) {
    const struct {
        int face;
        bool down;
        int glyph;
    } rows[] = {{1, false, 1}, {2, false, 3}, {3, false, 2}, {4, false, 1}, {5, false, 1}, {2, true, 4}, {3, true, 4}};
    for (const auto& row : rows)
        EXPECT_EQ(GlyphCellOfFace(row.face, row.down), row.glyph) << "face " << row.face << " down " << row.down;
}

TEST(ButtonSkinTables, CaptionColour_StateKeysOnlyWhenGiven) {
    TDataSkinButton part("Buttons");
    part.NormalColour2 = 0x000011;
    part.MouseOverColour2 = 0x000022;
    part.PressedColour2 = 0x000033;
    const TColor base = 0x0000AA;
    EXPECT_EQ(ButtonCaptionColour(&part, 1, false, base), base) << "no key given";
    part.HasNormalColour2 = part.HasMouseOverColour2 = part.HasPressedColour2 = true;
    const struct {
        int face;
        bool disabled;
        TColor colour;
    } rows[] = {{1, false, 0x000011}, {4, false, 0x000022}, {2, false, 0x000033}, {5, false, base},
                {3, true, clBtnShadow}, {1, true, clBtnShadow}};
    for (const auto& row : rows)
        EXPECT_EQ(ButtonCaptionColour(&part, row.face, row.disabled, base), row.colour) << "face " << row.face;
    EXPECT_EQ(ButtonCaptionColour(nullptr, 4, false, base), base) << "no part";
}

TEST(ButtonSkinTables, LayoutOfName_AnyCaseElseLeft) {
    EXPECT_EQ(LayoutOfName("blGlyphRight"), blGlyphRight);
    EXPECT_EQ(LayoutOfName("BLGLYPHTOP"), blGlyphTop);
    EXPECT_EQ(LayoutOfName("blglyphbottom"), blGlyphBottom);
    EXPECT_EQ(LayoutOfName(""), blGlyphLeft);
    EXPECT_EQ(LayoutOfName("sideways"), blGlyphLeft);
}

struct LayoutRow {
    const char* name;
    TButtonLayout layout;
    int margin, spacing;
    bool centre;
    POINT glyph;
    RECT text;
    UINT flags;
};

// A 100 x 40 button, a 16 x 16 glyph and a 30 x 14 caption.
const LayoutRow kLayoutRows[] = {
    // m = s = (100 - 16 - 30) / 3 = 18
    {"left, all automatic", blGlyphLeft, -1, -1, false, {18, 12}, {52, 13, 82, 27}, DT_WORDBREAK},
    // m = (100 - 16 - 4 - 30 + 1) / 2 = 25
    {"left, spacing 4", blGlyphLeft, -1, 4, false, {25, 12}, {45, 13, 75, 27}, DT_WORDBREAK},
    {"left, margin 2 centred by alignment", blGlyphLeft, 2, 4, true, {25, 12}, {45, 13, 75, 27}, DT_WORDBREAK},
    {"left, margin 2", blGlyphLeft, 2, 4, false, {2, 12}, {22, 13, 52, 27}, DT_WORDBREAK},
    // s = (100 - 3 - 16 - 30) / 2 = 25
    {"left, margin 3", blGlyphLeft, 3, -1, false, {3, 12}, {44, 13, 74, 27}, DT_WORDBREAK},
    {"right, margin 3, spacing 2", blGlyphRight, 3, 2, false, {81, 12}, {49, 13, 79, 27}, DT_WORDBREAK | DT_RIGHT},
    // along the height: m = (40 - 16 - 2 - 14 + 1) / 2 = 4
    {"top, spacing 2", blGlyphTop, -1, 2, false, {42, 4}, {35, 22, 65, 36}, DT_WORDBREAK | DT_CENTER},
    {"bottom, margin 1, spacing 0", blGlyphBottom, 1, 0, false, {42, 23}, {35, 9, 65, 23}, DT_WORDBREAK | DT_CENTER},
};

TEST(ButtonSkinTables, GlyphLayout_PlacesGlyphAndCaption) {
    for (const LayoutRow& row : kLayoutRows) {
        const TGlyphPlacement p = CalcGlyphLayout(100, 40, SIZE{16, 16}, SIZE{30, 14}, row.layout,
                                                  row.margin, row.spacing, row.centre);
        EXPECT_EQ(p.glyph.x, row.glyph.x) << row.name;
        EXPECT_EQ(p.glyph.y, row.glyph.y) << row.name;
        EXPECT_TRUE(guitest::SameRect(p.text, row.text)) << row.name << ": " << guitest::ToString(p.text);
        EXPECT_EQ(p.flags, row.flags) << row.name;
    }
}

TEST(ButtonSkinTables, GlyphLayout_NoCaptionMeansNoSpacing) {
    const TGlyphPlacement p =
        CalcGlyphLayout(100, 40, SIZE{16, 16}, SIZE{0, 0}, blGlyphLeft, -1, 4, false);
    EXPECT_EQ(p.glyph.x, 42);  // (100 - 16) / 2: the spacing counts 0 without a caption
    EXPECT_EQ(p.glyph.y, 12);
}

TEST(ButtonSkinTables, GlyphTextBounds_LeaveRoomForTheGlyph) {
    EXPECT_TRUE(guitest::SameRect(GlyphTextBounds(100, 40, SIZE{16, 16}, blGlyphLeft), RECT{2, 2, 80, 38}));
    EXPECT_TRUE(guitest::SameRect(GlyphTextBounds(100, 40, SIZE{16, 16}, blGlyphBottom), RECT{2, 2, 98, 20}));
}

// ---- raw push buttons ------------------------------------------------------------------

using RawButton = FlatSkinFixture;

TEST_F(RawButton, States_PaintTheSkinsCells) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"");
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    ASSERT_TRUE(skin->Attached());
    SetFocus(parent.Handle());
    const POINT probe{4, 15};  // inside the margins, away from the caption

    EXPECT_TRUE(PixelIs(PrintClient(button), probe.x, probe.y, Cell(1))) << "normal";

    ASSERT_TRUE(FocusOn(button));
    EXPECT_TRUE(PixelIs(PrintClient(button), probe.x, probe.y, Cell(5))) << "focused";

    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(skin->MouseState & msHot);
    EXPECT_TRUE(PixelIs(PrintClient(button), probe.x, probe.y, Cell(4))) << "hot";

    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(PixelIs(PrintClient(button), probe.x, probe.y, Cell(2))) << "pressed";
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));

    EnableWindow(button, FALSE);
    EXPECT_TRUE(PixelIs(PrintClient(button), probe.x, probe.y, Cell(3))) << "disabled";
}

TEST_F(RawButton, PlatformSelfPaint_IsCoveredAgain) {
    // Wine's button draws its focus and its text change at once, outside WM_PAINT; the
    // window itself must show the skin afterwards.
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"OK");
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    SetFocus(parent.Handle());
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(PixelIs(WindowDc(button), 4, 15, Cell(1))) << "after a paint";
    ASSERT_TRUE(FocusOn(button));
    EXPECT_TRUE(PixelIs(WindowDc(button), 4, 15, Cell(5))) << "after the focus came";
    SetWindowTextW(button, L"Cancel");
    EXPECT_TRUE(PixelIs(WindowDc(button), 4, 15, Cell(5))) << "after a text change";
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(PixelIs(WindowDc(button), 4, 15, Cell(5))) << "after BM_SETSTATE";
    EnableWindow(button, FALSE);
    EXPECT_TRUE(PixelIs(WindowDc(button), 4, 15, Cell(3))) << "after disabling";
}

TEST_F(RawButton, PressAndRelease_PostOneCommand) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"Go", 1234);
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    commands.clear();
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(PumpUntil([&] { return !commands.empty(); }));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].first), 1234);
    EXPECT_EQ(HIWORD(commands[0].first), BN_CLICKED);
    EXPECT_EQ(commands[0].second, reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(skin->MouseState & msPressed, 0);
}

TEST_F(RawButton, BmClick_OneCommand) {
    // What dialogs and the test harness use to press a button: the platform turns it into
    // a press and a release sent to the button itself.
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"OK", IDOK);
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    commands.clear();
    SendMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !commands.empty(); }));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].first), IDOK);
}

TEST_F(RawButton, ReleaseWithoutPress_NoCommand) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"Go", 77);
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    commands.clear();
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    EXPECT_TRUE(commands.empty());
}

TEST_F(RawButton, KeyboardClick_StaysTheButtonsOwn) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"Go", 55);
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    ASSERT_TRUE(FocusOn(button));
    commands.clear();
    SendMessageW(button, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(skin->MouseState & msPressed);
    EXPECT_TRUE(PixelIs(PrintClient(button), 4, 15, Cell(2))) << "pressed by the space bar";
    SendMessageW(button, WM_KEYUP, VK_SPACE, 0xC0000001);
    ASSERT_TRUE(PumpUntil([&] { return !commands.empty(); }));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(skin->MouseState & msPressed, 0);
}

TEST_F(RawButton, MouseLeave_ClearsHot) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"");
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    // Under Wine a leave request made while the pointer is elsewhere is never answered
    // (Windows answers it at once), so the pointer goes over the button first; the parent
    // stays on top of other tests' windows meanwhile.
    SetWindowPos(parent.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const RECT r = guitest::WindowRectOf(button);
    const POINT over{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(PumpUntil([&] {
        SetCursorPos(over.x, over.y);
        return WindowFromPoint(over) == button;
    }));
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(skin->MouseState & msHot);
    EXPECT_TRUE(PixelIs(PrintClient(button), 4, 15, Cell(4))) << "hot";
    const RECT p = guitest::WindowRectOf(parent.Handle());
    SetCursorPos(p.right - 20, p.bottom - 20);  // still on the parent, off the button
    // Leave notices come when the platform next looks at the pointer (up to a second late
    // under Wine).
    EXPECT_TRUE(PumpUntil([&] { return (skin->MouseState & msHot) == 0; }));
    EXPECT_TRUE(PixelIs(PrintClient(button), 4, 15, Cell(1))) << "left";
}

TEST_F(RawButton, Timer_IsConsumed) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"");
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    ASSERT_NE(SetTimer(button, 1, 10000, nullptr), 0u);
    SendMessageW(button, WM_TIMER, 1, 0);
    EXPECT_FALSE(KillTimer(button, 1)) << "the skin killed timer 1";
}

TEST_F(RawButton, NoFont_CaptionStillDrawn) {
    // A button that was never given a font answers WM_GETFONT with nothing.
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"WWWW");
    SendMessageW(button, WM_SETFONT, 0, FALSE);
    ASSERT_EQ(SendMessageW(button, WM_GETFONT, 0, 0), 0);
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    const Capture c = PrintClient(button);
    ASSERT_TRUE(c.Valid());
    int text = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.Pixel(x, y) != Cell(1)) ++text;
    EXPECT_GT(text, 10) << "the caption was drawn in the system font";
}

TEST_F(RawButton, Suspended_PaintsAsUnskinned) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"");
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    SendMessageW(button, WM_SKINENABLE, 0, 0);
    EXPECT_EQ(SendMessageW(button, WM_SKINQUERY, 0, 0), 0);
    EXPECT_FALSE(PixelIs(PrintClient(button), 4, 15, Cell(1)));
    SendMessageW(button, WM_SKINENABLE, 1, 0);
    EXPECT_EQ(SendMessageW(button, WM_SKINQUERY, 0, 0), 1);
    EXPECT_TRUE(PixelIs(PrintClient(button), 4, 15, Cell(1)));
}

class MissingButtonImage : public FlatSkinFixture {
protected:
    MissingButtonImage() { options.omitImages = {"Buttons/Bitmap"}; }
};

TEST_F(MissingButtonImage, ButtonPaintsItself) {
    HWND button = MakeRawButton(BS_PUSHBUTTON, L"");
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(button, data.get(), nullptr, nullptr);
    ASSERT_EQ(skin->ButtonPart(), nullptr);
    // The paint reaches the button's own procedure: its face is drawn, not left stale.
    InvalidateRect(button, nullptr, TRUE);
    UpdateWindow(button);
    const Capture c = WindowDc(button);
    EXPECT_TRUE(PixelIs(c, 4, 15, GetSysColor(COLOR_BTNFACE)));
    // And the platform's own click still comes, once.
    commands.clear();
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(PumpUntil([&] { return !commands.empty(); }));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    EXPECT_EQ(commands.size(), 1u);
}

// ---- class-library buttons --------------------------------------------------------------

using HostedButton = FlatSkinFixture;

TEST_F(HostedButton, PressAndRelease_ClickOnce) {
    TForm* form = MakeForm();
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 30);
    int clicks = 0, downs = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    TSkinControl* skin = CreateSkinControl(TSkinClass::Button, button);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->ClassName(), "TSkinButton");
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    HWND h = button->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(PixelIs(PrintClient(h), 4, 15, Cell(2)));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1) << "the consumed press still reaches OnMouseDown";
    EXPECT_EQ(skin->MouseState & msPressed, 0) << "released";
}

TEST_F(HostedButton, RawPathOnAClassLibraryButton_CommandWithIdZero) {
    // A window of class "TButton" skinned as a raw window (as the dispatch does for such
    // windows it finds without their control): the click goes to the parent as WM_COMMAND
    // with wParam 0, which the form reflects to the control as a click.
    TForm* form = MakeForm();
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    HWND h = button->Handle();
    auto skin = std::make_unique<TSkinButton>(nullptr);
    skin->AttachWindow(h, data.get(), nullptr, nullptr);
    ASSERT_TRUE(skin->Attached());
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(PumpUntil([&] { return clicks > 0; }));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    EXPECT_EQ(clicks, 1);
}

// Buttons of two other libraries take the press themselves (no MouseDown from the skin).
class TRzButton : public TButton {
    CLASS_INFO(TRzButton)
public:
    using TButton::TButton;
};
class TElPopupButton : public TButton {
    CLASS_INFO(TElPopupButton)
public:
    using TButton::TButton;
};

const TClassInfo& TRzButton::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TRzButton>("TRzButton", &TButton::StaticClassInfo(), [](TClassBuilder<TRzButton>&) {});
    return info;
}

const TClassInfo& TElPopupButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TElPopupButton>("TElPopupButton", &TButton::StaticClassInfo(),
                                                                  [](TClassBuilder<TElPopupButton>&) {});
    return info;
}

TEST_F(HostedButton, PressForwardedToMouseDown_ExceptForTwoLibraries) {
    TForm* form = MakeForm();
    const struct {
        const char* name;
        std::function<TButton*(TComponent*)> make;
        int mode;
        int downs;
    } rows[] = {
        {"TButton", [](TComponent* o) -> TButton* { return new TButton(o); }, 0, 1},
        {"TRzButton", [](TComponent* o) -> TButton* { return new TRzButton(o); }, 1, 0},
        {"TElPopupButton", [](TComponent* o) -> TButton* { return new TElPopupButton(o); }, 1, 0},
    };
    for (const auto& row : rows) {
        TButton* button = row.make(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 80, 30);
        int downs = 0;
        button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
        TSkinControl* skin = CreateSkinControl(TSkinClass::Button, button);
        skin->AttachControl(nullptr, data.get(), false, nullptr);
        EXPECT_EQ(skin->Mode, row.mode) << row.name;
        SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(downs, row.downs) << row.name;
        delete button;
    }
}

TEST_F(HostedButton, GlyphButton_GetsTheGlyphSkinAndShowsItsGlyph) {
    TForm* form = MakeForm();
    auto* button = new TBitBtn(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 40);
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(16, 16);
    constexpr COLORREF kGlyph = RGB(0x21, 0x43, 0x65), kKey = RGB(0xFF, 0x00, 0xFF);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) glyph.SetPixelColor(x, y, x == 0 && y == 15 ? kKey : kGlyph);
    button->SetGlyph(glyph);
    button->SetNumGlyphs(1);

    TSkinControl* skin = CreateSkinControl(TSkinClass::Button, button);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->ClassName(), "TSkinBitButton") << "the glyph button keeps its glyph";
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    const Capture c = PrintClient(button->Handle());
    // No caption: the glyph sits in the middle ((80 - 16) / 2, (40 - 16 + 1) / 2).
    EXPECT_TRUE(PixelIs(c, 32 + 8, 12 + 8, kGlyph)) << "glyph";
    EXPECT_TRUE(PixelIs(c, 32, 12 + 15, Cell(1))) << "its transparent corner shows the face";
    EXPECT_TRUE(PixelIs(c, 4, 20, Cell(1))) << "face";
}

// A glyph button of another library, whose NumGlyphs may read 0 (the class library's own
// keeps it at 1 or more).
class TZeroGlyphButton : public TButton {
    CLASS_INFO(TZeroGlyphButton)
public:
    using TButton::TButton;
    TBitmap glyph;
};

const TClassInfo& TZeroGlyphButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TZeroGlyphButton>(
        "TZeroGlyphButton", &TButton::StaticClassInfo(), [](TClassBuilder<TZeroGlyphButton>& b) {
            b.Object("Glyph", [](TZeroGlyphButton& x) -> TObject* { return &x.glyph; });
            b.Int("NumGlyphs", [](TZeroGlyphButton&) -> int64_t { return 0; }, nullptr);
        });
    return info;
}

TEST_F(HostedButton, GlyphButton_NumGlyphsZeroDrawsOneCell) {
    TForm* form = MakeForm();
    auto* button = new TZeroGlyphButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 40);
    constexpr COLORREF kGlyph = RGB(0x21, 0x43, 0x65);
    button->glyph.SetPixelFormat(pf24bit);
    button->glyph.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) button->glyph.SetPixelColor(x, y, y == 15 && x == 0 ? RGB(255, 0, 255) : kGlyph);
    ASSERT_EQ(GetIntPropByName(button, "NumGlyphs"), 0);
    TSkinControl* skin = CreateSkinControl(TSkinClass::BitButton, button);
    ASSERT_NE(skin, nullptr);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    const Capture c = PrintClient(button->Handle());
    EXPECT_TRUE(PixelIs(c, 40, 20, kGlyph)) << "the whole strip is one cell";
    EXPECT_TRUE(PixelIs(c, 4, 20, Cell(1))) << "face";
}

TEST_F(HostedButton, MenuButton_FocusedShowsTheHotCellAndAnArrow) {
    TForm* form = MakeForm();
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 30);
    TSkinControl* skin = CreateSkinControl(TSkinClass::MenuButton, button);
    ASSERT_NE(skin, nullptr);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    HWND h = button->Handle();
    EXPECT_TRUE(PixelIs(PrintClient(h), 4, 15, Cell(1))) << "normal";
    ASSERT_TRUE(FocusOn(h));
    const Capture c = PrintClient(h);
    EXPECT_TRUE(PixelIs(c, 4, 15, Cell(4))) << "merely focused";
    EXPECT_TRUE(PixelIs(c, 80 - 12, 15, ColorToRGB(clWindowText))) << "arrow";
}

TEST_F(HostedButton, Painting_LeaksNoGdiObjects) {
    TForm* form = MakeForm();
    auto* button = new TBitBtn(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 40);
    button->SetCaption("OK");
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(32, 16);  // two cells: normal and disabled
    button->SetGlyph(glyph);
    TSkinControl* skin = CreateSkinControl(TSkinClass::Button, button);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    HWND h = button->Handle();
    SetFocus(h);
    auto paintAll = [&] {
        for (bool enabled : {true, false}) {
            EnableWindow(h, enabled);
            const Capture c = PrintClient(h);
            skin->PaintWindow(nullptr);
        }
    };
    paintAll();  // whatever is made once on first use
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    for (int i = 0; i < 100; ++i) paintAll();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    ASSERT_TRUE(before.gdiKnown) << before.source;
    EXPECT_EQ(after.gdi, before.gdi) << after.source;
}

// ---- speed buttons -------------------------------------------------------------------------

using SpeedButtonSkin = FlatSkinFixture;

TEST_F(SpeedButtonSkin, States_PaintTheSkinsCells) {
    TForm* form = MakeForm();
    auto* speed = new TSpeedButton(form);
    speed->SetParent(form);
    speed->SetBounds(10, 10, 40, 30);
    int clicks = 0;
    speed->OnClick = [&](TObject*) { ++clicks; };
    TSkinControl* skin = CreateSkinControl(TSkinClass::SpeedButton, speed);
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(skin->AttachGraphic(nullptr, data.get(), nullptr));
    EXPECT_EQ(speed->Perform(WM_SKINQUERY, 0, 0), 1);

    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(1))) << "normal";
    speed->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(4))) << "hot";
    speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(2))) << "pressed";
    speed->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1) << "the control's own click, once";
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(4))) << "released, still hot";
    speed->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(1))) << "left";

    speed->SetGroupIndex(1);
    speed->SetDown(true);
    speed->SetEnabled(false);
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(2))) << "down, even when disabled";
    speed->SetAllowAllUp(true);
    speed->SetDown(false);
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(3))) << "disabled";
}

TEST_F(SpeedButtonSkin, Flat_IdleShowsNoFace) {
    TForm* form = MakeForm();
    auto* speed = new TSpeedButton(form);
    speed->SetParent(form);
    speed->SetBounds(10, 10, 40, 30);
    speed->SetFlat(true);
    TSkinControl* skin = CreateSkinControl(TSkinClass::SpeedButton, speed);
    ASSERT_TRUE(skin->AttachGraphic(nullptr, data.get(), nullptr));
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, ColorToRGB(data->Colours.ButtonFace))) << "idle";
    speed->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(PixelIs(PaintGraphic(speed), 4, 15, Cell(4))) << "hot";
}

TEST_F(SpeedButtonSkin, Destroyed_GivesTheWindowProcBack) {
    TForm* form = MakeForm();
    auto* speed = new TSpeedButton(form);
    speed->SetParent(form);
    speed->SetBounds(10, 10, 40, 30);
    TSkinControl* skin = CreateSkinControl(TSkinClass::SpeedButton, speed);
    ASSERT_TRUE(skin->AttachGraphic(nullptr, data.get(), nullptr));
    delete skin;
    EXPECT_EQ(speed->Perform(WM_SKINQUERY, 0, 0), 0);
    speed->Perform(CM_RELEASE, 0, 0);  // nothing left to give back
}

}  // namespace
