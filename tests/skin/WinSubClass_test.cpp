// The control-skin base on real windows under Wine: the message path on a class-library
// host and on raw windows (ANSI and Unicode), the end of a window, giving the procedure
// back in and out of order, recolouring with ParentBackground, the property access by
// name, and the geometry of the shared drawing helpers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "SkinDrawHelpers.h"
#include "StdCtrls.h"
#include "ExtCtrls.h"
#include "TypInfo.h"
#include "WinSubClass.h"
#include "WindowProcHook.h"
#include "skin_form_support.h"
#include "test_skins.h"

using guitest::PumpMessages;
using guitest::PumpUntil;
using skinform::SkinFormTest;

namespace {

// What the probe skins saw, in order, across windows and skins.
std::vector<std::string>& Journal() {
    static std::vector<std::string> journal;
    return journal;
}

// A control skin that records its virtual operations and paints its rect in one colour.
class TProbeSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override {
        if (message.Msg == WM_NCDESTROY) Journal().push_back("skin:ncdestroy");
        return TSkinControl::BeforeMessage(message);
    }
    void Unskin() override {
        Journal().push_back("skin:unskin");
        TSkinControl::Unskin();
    }
    void Paint(HDC dc, const RECT& rect) override {
        ++paints;
        FillRectColor(dc, rect, kPaintColour);
    }
    static constexpr COLORREF kPaintColour = RGB(0x12, 0x9C, 0x56);
    int paints = 0;
};

// A raw window class whose procedure journals its end; ANSI or Unicode.
LRESULT CALLBACK JournalProcW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) Journal().push_back("window:ncdestroy");
    return DefWindowProcW(window, msg, wParam, lParam);
}
LRESULT CALLBACK JournalProcA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) Journal().push_back("window:ncdestroy");
    return DefWindowProcA(window, msg, wParam, lParam);
}

void RegisterJournalClasses() {
    static bool done = false;
    if (done) return;
    WNDCLASSW w{};
    w.lpfnWndProc = JournalProcW;
    w.hInstance = GetModuleHandleW(nullptr);
    w.lpszClassName = L"SkinBaseJournalW";
    w.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&w);
    WNDCLASSA a{};
    a.lpfnWndProc = JournalProcA;
    a.hInstance = GetModuleHandleA(nullptr);
    a.lpszClassName = "SkinBaseJournalA";
    a.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&a);
    done = true;
}

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }
WNDPROC ClassProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC)); }

// A panel with the ParentBackground property some class libraries give their panels.
class TBackgroundPanel : public TPanel {
    CLASS_INFO(TBackgroundPanel)
public:
    using TPanel::TPanel;
    bool parentBackground = true;
};

const TClassInfo& TBackgroundPanel::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TBackgroundPanel>(
        "TBackgroundPanel", &TPanel::StaticClassInfo(), [](TClassBuilder<TBackgroundPanel>& b) {
            b.Bool("ParentBackground", [](TBackgroundPanel& p) { return p.parentBackground; },
                   [](TBackgroundPanel& p, bool v) { p.parentBackground = v; });
        });
    return info;
}

// A button whose recorded width can be set past what a window may measure.
class TWideButton : public TButton {
public:
    using TButton::TButton;
    void ForceWidth(int width) { width_ = width; }
};

class SkinControlBase : public SkinFormTest {
protected:
    void SetUp() override {
        SkinFormTest::SetUp();
        RegisterJournalClasses();
        Journal().clear();
        guitest::TestWindowOptions options;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        parent = MakeWindow(options);
        ASSERT_TRUE(parent);
    }
    void TearDown() override {
        parent.Destroy();
        SkinFormTest::TearDown();
    }
    HWND RawChild(bool unicode, const wchar_t* text = L"raw") {
        if (unicode)
            return CreateWindowExW(0, L"SkinBaseJournalW", text, WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, parent.Handle(),
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        return CreateWindowExA(0, "SkinBaseJournalA", "raw", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, parent.Handle(),
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    // A class-library form holding one button, shown.
    TForm* FormWithButton(TButton*& button) {
        auto* form = new TForm(Application);
        form->SetBounds(60, 60, 300, 200);
        button = new TButton(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 100, 30);
        button->SetCaption("OK");
        form->Show();
        return form;
    }
    guitest::TestWindow parent;
};

// ---- the message path ----------------------------------------------------------------------

TEST_F(SkinControlBase, HostedControl_AnswersTheQueryAndSuspends) {
    TButton* button = nullptr;
    TForm* form = FormWithButton(button);
    const HWND hwnd = button->Handle();
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 0) << "a standard control does not answer";
    auto* skin = new TProbeSkin(button);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    EXPECT_TRUE(skin->Attached());
    EXPECT_EQ(skin->Lifecycle, lcAttached);
    EXPECT_EQ(skin->Host, button);
    EXPECT_EQ(skin->Handle, hwnd);
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 1);

    SendMessageW(hwnd, WM_SKINENABLE, 0, 0);
    EXPECT_FALSE(skin->Active());
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 0) << "a suspended skin lets the query through";
    const int paintsBefore = skin->paints;
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    EXPECT_EQ(skin->paints, paintsBefore) << "a suspended skin does not paint";

    SendMessageW(hwnd, WM_SKINENABLE, 1, 0);
    EXPECT_TRUE(skin->Active());
    EXPECT_GT(skin->paints, paintsBefore) << "resuming repaints at once";
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 1);
    delete form;  // the host frees its skin first
}

TEST_F(SkinControlBase, HostedControl_PaintsOverTheControlsOwnPainting) {
    TButton* button = nullptr;
    TForm* form = FormWithButton(button);
    auto* skin = new TProbeSkin(button);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(skin->paints, 0);
    RECT r = guitest::WindowRectOf(button->Handle());
    EXPECT_TRUE(guitest::SameRect(skin->WindowRect, r)) << guitest::ToString(skin->WindowRect);
    delete form;
}

TEST_F(SkinControlBase, SecondAttachControl_DoesNothing) {
    TButton* button = nullptr;
    TForm* form = FormWithButton(button);
    auto* skin = new TProbeSkin(button);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    const auto* first = button->WindowProc.target<void>();
    skin->AttachControl(nullptr, data.get(), true, nullptr);
    EXPECT_FALSE(skin->SetColor) << "the second attach stored nothing";
    EXPECT_EQ(button->WindowProc.target<void>(), first);
    delete form;
}

TEST_F(SkinControlBase, RawWindow_AnsiIsSubclassedAndGivenBack) {
    const HWND hwnd = RawChild(false);
    ASSERT_NE(hwnd, nullptr);
    const WNDPROC classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
    auto* skin = new TProbeSkin(nullptr);
    skin->AttachWindow(hwnd, data.get(), nullptr, nullptr);
    EXPECT_TRUE(skin->Attached());
    EXPECT_TRUE(skin->Subclassed());
    EXPECT_TRUE(skin->Enabled);
    EXPECT_EQ(skin->Caption, L"raw");
    EXPECT_EQ(TSkinControl::OfWindow(hwnd), skin);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), classProc);
    EXPECT_EQ(SendMessageA(hwnd, WM_SKINQUERY, 0, 0), 1);
    SetWindowTextA(hwnd, "changed");
    EXPECT_EQ(guitest::WindowTextA(hwnd), "changed");
    delete skin;
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), classProc);
    EXPECT_EQ(SendMessageA(hwnd, WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(TSkinControl::OfWindow(hwnd), nullptr);
    DestroyWindow(hwnd);
}

TEST_F(SkinControlBase, RawWindow_UnicodeKeepsItsWideText) {
    const HWND hwnd = RawChild(true, L"\u4E2D\u6587");
    ASSERT_NE(hwnd, nullptr);
    auto* skin = new TProbeSkin(nullptr);
    skin->AttachWindow(hwnd, data.get(), nullptr, nullptr);
    EXPECT_EQ(skin->Caption, L"\u4E2D\u6587");
    EXPECT_TRUE(IsWindowUnicode(hwnd)) << "subclassed with the wide call, the window stays Unicode";
    // Wide text sent to the window arrives at its own procedure unconverted.
    SetWindowTextW(hwnd, L"\u8BED\u97F3\u8F93\u5165");
    EXPECT_EQ(guitest::WindowTextW(hwnd), L"\u8BED\u97F3\u8F93\u5165");
    EXPECT_EQ(ReadWindowText(hwnd), L"\u8BED\u97F3\u8F93\u5165");
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 1);
    delete skin;
    EXPECT_EQ(ProcOf(hwnd), ClassProcOf(hwnd));
    DestroyWindow(hwnd);
}

TEST_F(SkinControlBase, RawWindow_EndReachesTheWindowBeforeTheSkinDies) {
    for (bool unicode : {false, true}) {
        Journal().clear();
        const HWND hwnd = RawChild(unicode);
        ASSERT_NE(hwnd, nullptr);
        auto* skin = new TProbeSkin(nullptr);
        skin->AttachWindow(hwnd, data.get(), nullptr, nullptr);
        DestroyWindow(hwnd);
        const std::vector<std::string> expected{"skin:ncdestroy", "window:ncdestroy", "skin:unskin"};
        EXPECT_EQ(Journal(), expected) << (unicode ? "unicode" : "ansi");
        EXPECT_EQ(skin->Lifecycle, lcDestroyed);
        EXPECT_FALSE(skin->Active());
        delete skin;  // touches no window: the handle may already be someone else's
    }
}

TEST_F(SkinControlBase, HostedControl_EndMarksTheSkinDead) {
    TButton* button = nullptr;
    TForm* form = FormWithButton(button);
    auto* skin = new TProbeSkin(button);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    Journal().clear();
    button->DestroyHandle();  // the control stays, its window goes
    ASSERT_EQ(Journal().size(), 2u);
    EXPECT_EQ(Journal()[0], "skin:ncdestroy");
    EXPECT_EQ(Journal()[1], "skin:unskin");
    EXPECT_EQ(skin->Lifecycle, lcDestroyed);
    EXPECT_FALSE(skin->Active());
    delete skin;
    button->HandleNeeded();
    EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 0);
    delete form;
}

TEST_F(SkinControlBase, RawWindow_IsNeverSubclassedTwice) {
    const HWND hwnd = RawChild(true);
    auto* first = new TProbeSkin(nullptr);
    first->AttachWindow(hwnd, data.get(), nullptr, nullptr);
    const WNDPROC ours = ProcOf(hwnd);
    auto* second = new TProbeSkin(nullptr);
    second->AttachWindow(hwnd, data.get(), nullptr, nullptr);
    EXPECT_FALSE(second->Subclassed());
    EXPECT_FALSE(second->Attached());
    EXPECT_EQ(ProcOf(hwnd), ours);
    EXPECT_EQ(TSkinControl::OfWindow(hwnd), first);
    delete second;
    EXPECT_EQ(ProcOf(hwnd), ours) << "the refused skin gives back nothing";
    delete first;
    EXPECT_EQ(ProcOf(hwnd), ClassProcOf(hwnd));
    DestroyWindow(hwnd);
}

// A subclass put on by somebody else after the skin.
WNDPROC gLaterPrevious = nullptr;
int gLaterCalls = 0;
LRESULT CALLBACK LaterProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++gLaterCalls;
    return CallWindowProcW(gLaterPrevious, window, msg, wParam, lParam);
}

TEST_F(SkinControlBase, RawWindow_FreedUnderALaterSubclassKeepsTheChain) {
    const HWND hwnd = RawChild(true);
    const WNDPROC classProc = ClassProcOf(hwnd);
    auto* skin = new TProbeSkin(nullptr);
    skin->AttachWindow(hwnd, data.get(), nullptr, nullptr);
    gLaterCalls = 0;
    gLaterPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
    delete skin;  // out of order: the later subclass stays on top
    EXPECT_EQ(ProcOf(hwnd), &LaterProc);
    EXPECT_EQ(SendMessageW(hwnd, WM_SKINQUERY, 0, 0), 0) << "the link left behind only passes messages on";
    SetWindowTextW(hwnd, L"through");
    EXPECT_EQ(guitest::WindowTextW(hwnd), L"through");
    EXPECT_GT(gLaterCalls, 0);

    // The later subclass goes in its turn; a new skin never stacks on the stale link.
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gLaterPrevious));
    auto* again = new TProbeSkin(nullptr);
    again->AttachWindow(hwnd, data.get(), nullptr, nullptr);
    EXPECT_FALSE(again->Subclassed());
    delete again;
    Journal().clear();
    DestroyWindow(hwnd);
    EXPECT_EQ(Journal(), std::vector<std::string>{"window:ncdestroy"});
    (void)classProc;
}

TEST_F(SkinControlBase, HostedControl_FreedUnderALaterHookKeepsTheChain) {
    TButton* button = nullptr;
    TForm* form = FormWithButton(button);
    auto* skin = new TProbeSkin(button);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    int laterCalls = 0;
    auto later = std::make_unique<TWindowProcHook>(*button, [&](TMessage& m, const TWndMethod& previous) {
        ++laterCalls;
        previous(m);
    });
    EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 1);
    delete skin;
    EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 0);
    SetWindowTextW(button->Handle(), L"still");
    EXPECT_EQ(guitest::WindowTextW(button->Handle()), L"still");
    EXPECT_GT(laterCalls, 0);
    later.reset();
    delete form;
}

// ---- recolouring ---------------------------------------------------------------------------

TEST_F(SkinControlBase, ParentBackground_IsSwitchedOffWhileSkinnedAndBack) {
    auto* form = new TForm(Application);
    form->SetBounds(60, 60, 300, 200);
    auto* panel = new TBackgroundPanel(form);
    panel->SetParent(form);
    panel->SetBounds(5, 5, 100, 60);
    panel->SetColor(clRed);
    panel->HandleNeeded();
    struct Row {
        const char* name;
        bool parentBackground;
        bool optionSet;
        bool expectedWhileSkinned;
        int expectedMode;
    };
    const Row rows[] = {
        {"true, recoloured", true, false, false, 1},
        {"false, recoloured", false, false, false, 0},
        {"true, option keeps it", true, true, true, 0},
    };
    for (const Row& row : rows) {
        panel->parentBackground = row.parentBackground;
        if (row.optionSet) data->Options |= SkinBit(xoParentBackGround);
        else data->Options &= ~SkinBit(xoParentBackGround);
        auto* skin = new TProbeSkin(panel);
        skin->AttachControl(nullptr, data.get(), true, nullptr);
        EXPECT_EQ(panel->parentBackground, row.expectedWhileSkinned) << row.name;
        EXPECT_EQ(skin->Mode, row.expectedMode) << row.name;
        EXPECT_EQ(panel->Color(), data->Colours.ButtonFace) << row.name;
        skin->Unskin();
        EXPECT_EQ(panel->parentBackground, row.parentBackground) << row.name;
        EXPECT_EQ(panel->Color(), clRed) << row.name;
        delete skin;
    }
    delete form;
}

TEST_F(SkinControlBase, UpdateSkin_RecoloursOnlyWhenAskedTo) {
    auto* form = new TForm(Application);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetColor(clRed);
    auto* keep = new TProbeSkin(panel);
    keep->AttachControl(nullptr, data.get(), false, nullptr);
    keep->UpdateSkin();
    EXPECT_EQ(panel->Color(), clRed);
    delete keep;
    auto* recolour = new TProbeSkin(panel);
    recolour->AttachControl(nullptr, data.get(), true, nullptr);
    panel->SetColor(clBlue);
    recolour->UpdateSkin();
    EXPECT_EQ(panel->Color(), data->Colours.ButtonFace);
    delete form;
}

// ---- the mouse -------------------------------------------------------------------------------

TEST_F(SkinControlBase, ForwardMouseDown_TakesThePointFromLParamOrTheCursor) {
    auto* form = new TForm(Application);
    form->SetBounds(60, 60, 300, 200);
    auto* button = new TWideButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 100, 30);
    form->Show();
    auto* skin = new TProbeSkin(button);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    SetCursorPos(200, 150);
    POINT got{-999, -999};
    TShiftState shift = 0;
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int x, int y) {
        got = {x, y};
        shift = s;
    };
    skin->ForwardMouseDown(TMessage{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, static_cast<WORD>(-3)), 0});
    EXPECT_EQ(got.x, 7);
    EXPECT_EQ(got.y, -3) << "the high word is a signed coordinate";
    EXPECT_TRUE(shift & (1u << ssShift));

    // Past 16 bits lParam cannot carry the point.  (The platform caps a window's size
    // below that, so the control's own idea of its width is set directly.)
    static_cast<TWideButton*>(button)->ForceWidth(40000);
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT expected = button->ScreenToClient(cursor);
    skin->ForwardMouseDown(TMessage{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1), 0});
    EXPECT_EQ(got.x, expected.x);
    EXPECT_EQ(got.y, expected.y);
    delete form;
}

// ---- property access by name -------------------------------------------------------------

TEST_F(SkinControlBase, PropertiesByName_AreNeutralWhenMissing) {
    auto* form = new TForm(Application);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetCaption("\xD6\xD0\xCE\xC4");  // GBK
    button->SetTag(42);
    button->SetVisible(false);
    struct IntRow { const char* name; TObject* object; const char* property; int expected; };
    const IntRow ints[] = {
        {"integer", button, "Tag", 42},
        {"missing", button, "NoSuchThing", -1},
        {"not an integer", button, "Caption", -1},
        {"nil object", nullptr, "Tag", -1},
    };
    for (const IntRow& row : ints) EXPECT_EQ(GetIntPropByName(row.object, row.property), row.expected) << row.name;

    EXPECT_EQ(GetEnumPropByName(button, "Visible"), "False");
    EXPECT_EQ(GetEnumPropByName(button, "Tag"), "");
    EXPECT_EQ(GetEnumPropByName(nullptr, "Visible"), "");
    EXPECT_EQ(GetTextPropByName(button, "Caption"), L"\u4E2D\u6587");
    EXPECT_EQ(GetTextPropByName(button, "Missing"), L"");
    EXPECT_EQ(GetTextPropByName(nullptr, "Caption"), L"");
    EXPECT_EQ(GetObjectPropByName(button, "Font", TFont::StaticClassInfo()), &button->Font());
    EXPECT_EQ(GetObjectPropByName(button, "Font", TBitmap::StaticClassInfo()), nullptr) << "another class";
    EXPECT_EQ(GetObjectPropByName(button, "Caption", TFont::StaticClassInfo()), nullptr);
    EXPECT_EQ(GetObjectPropByName(nullptr, "Font", TFont::StaticClassInfo()), nullptr);

    SetPropByName(button, "Tag", " 17 ");
    EXPECT_EQ(button->Tag(), 17);
    SetPropByName(button, "Visible", "True");
    EXPECT_TRUE(button->Visible());
    SetPropByName(button, "Caption", "go");
    EXPECT_EQ(button->Caption(), "go");
    SetPropByName(button, "NoSuchThing", "1");  // nothing
    SetPropByName(nullptr, "Tag", "1");         // nothing
    SetPropByName(button, "Font", "x");         // a kind it does not write: nothing
    EXPECT_THROW(SetPropByName(button, "Tag", "twelve"), EPropertyError);
    EXPECT_EQ(button->Tag(), 17);
    delete form;
}

// ---- free functions and drawing helpers ---------------------------------------------------

TEST_F(SkinControlBase, IsPopupWindow_ByStyleOrTheDesktopAsParent) {
    guitest::TestWindowOptions popupOptions;
    popupOptions.style = WS_POPUP;
    guitest::TestWindow popup = MakeWindow(popupOptions);
    const HWND child = RawChild(false);
    const HWND onDesktop = CreateWindowExA(0, "SkinBaseJournalA", "d", WS_CHILD, 0, 0, 10, 10, GetDesktopWindow(),
                                           nullptr, GetModuleHandleA(nullptr), nullptr);
    struct Row { const char* name; HWND window; bool expected; };
    const Row rows[] = {
        {"popup", popup.Handle(), true},
        {"child", child, false},
        {"overlapped", parent.Handle(), false},
        {"child of the desktop", onDesktop, true},
        {"no window", nullptr, false},
    };
    for (const Row& row : rows) EXPECT_EQ(IsPopupWindow(row.window), row.expected) << row.name;
    DestroyWindow(onDesktop);
    DestroyWindow(child);
}

TEST_F(SkinControlBase, HandleEraseBkgnd_FillsARawWindowWithTheButtonFace) {
    const HWND hwnd = RawChild(false);
    auto* skin = new TProbeSkin(nullptr);
    skin->AttachWindow(hwnd, data.get(), nullptr, nullptr);
    guitest::Capture capture(80, 30);
    ASSERT_TRUE(capture.Valid());
    TMessage m{WM_ERASEBKGND, reinterpret_cast<WPARAM>(capture.Dc()), 0, 0};
    skin->HandleEraseBkgnd(m);
    EXPECT_EQ(m.Result, 1);
    EXPECT_EQ(guitest::ColorToString(capture.Pixel(40, 15)),
              guitest::ColorToString(ColorToRGB(data->Colours.ButtonFace)));
    delete skin;
    DestroyWindow(hwnd);
}

TEST_F(SkinControlBase, DrawSkinFace_DrawsTheCellAndNothingForAnInvertedRect) {
    auto* skin = new TProbeSkin(nullptr);
    skin->SkinData = data.get();
    TDataSkinObject* part = data->Buttons.get();
    ASSERT_NE(part, nullptr);
    const int cells = part->Frame;
    ASSERT_GE(cells, 2);
    guitest::Capture capture(120, 40);
    ASSERT_TRUE(capture.Valid());
    skin->DrawSkinFace(capture.Dc(), RECT{60, 30, 10, 5}, cells, 2, part);
    EXPECT_FALSE(capture.AnyPainted()) << "inverted rect";
    skin->DrawSkinFace(capture.Dc(), RECT{0, 0, 120, 40}, cells, 2, nullptr);
    EXPECT_FALSE(capture.AnyPainted()) << "missing part";
    skin->DrawSkinFace(capture.Dc(), RECT{0, 0, 120, 40}, cells, 2, part);
    EXPECT_EQ(guitest::ColorToString(capture.Pixel(60, 20)),
              guitest::ColorToString(skinform::FlatRef("Buttons", "Bitmap", 2)));
    skin->DrawSkinFace(capture.Dc(), RECT{0, 0, 120, 40}, cells, 99, part);  // a cell past the strip: the last
    EXPECT_EQ(guitest::ColorToString(capture.Pixel(60, 20)),
              guitest::ColorToString(skinform::FlatRef("Buttons", "Bitmap", cells)));
    delete skin;
}

TEST_F(SkinControlBase, DrawStripCell_StretchesOneCellWithMagentaLeftOut) {
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(30, 10);
    const COLORREF colours[] = {RGB(200, 10, 10), RGB(255, 0, 255), RGB(10, 10, 200)};
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 10; ++y) strip.SetPixelColor(x, y, colours[x / 10]);
    auto* skin = new TProbeSkin(nullptr);
    for (int cell = 1; cell <= 3; ++cell) {
        guitest::Capture capture(40, 20);
        ASSERT_TRUE(capture.Valid());
        capture.Fill(0x00FFFFFF);
        skin->DrawStripCellDC(capture.Dc(), RECT{5, 5, 35, 15}, 3, cell, &strip);
        if (cell == 2) {
            EXPECT_EQ(capture.Pixel(20, 10), RGB(255, 255, 255)) << "the magenta cell leaves the target alone";
        } else {
            EXPECT_EQ(capture.Pixel(20, 10), colours[cell - 1]) << "cell " << cell;
            EXPECT_EQ(capture.Pixel(34, 14), colours[cell - 1]) << "cell " << cell << " stretched to the corner";
        }
        EXPECT_EQ(capture.Pixel(36, 10), RGB(255, 255, 255)) << "outside the rect";
    }
    guitest::Capture capture(40, 20);
    skin->DrawStripCellTransparent(capture.Dc(), RECT{30, 5, 5, 15}, 3, 1, &strip);
    skin->DrawStripCellDC(capture.Dc(), RECT{5, 5, 35, 15}, 0, 1, nullptr);
    EXPECT_FALSE(capture.AnyPainted()) << "inverted rect or no bitmap";
    delete skin;
}

TEST_F(SkinControlBase, DrawArrowGlyph_LeavesOutEachSegmentsEndPoint) {
    struct Probe { int dx, dy; bool painted; };
    struct Row { const char* name; int direction; std::vector<Probe> probes; };
    const Row rows[] = {
        {"up", 0, {{0, 0, true}, {0, -1, false}, {3, 3, true}, {-3, 3, true}, {4, 4, false}, {0, 4, false}}},
        {"down", 1, {{0, 3, true}, {0, 4, false}, {3, 0, true}, {-3, 0, true}, {4, -1, false}}},
        {"left", 2, {{-1, 0, true}, {1, 1, true}, {1, -1, true}, {2, 0, false}}},
        {"right", 3, {{1, 0, true}, {-1, 1, true}, {-1, -1, true}, {-2, 0, false}}},
        {"none", 7, {{0, 0, false}, {1, 1, false}}},
    };
    for (const Row& row : rows) {
        guitest::Capture capture(20, 20);
        ASSERT_TRUE(capture.Valid());
        TCanvas canvas;
        canvas.SetHandle(capture.Dc());
        canvas.Pen().SetColor(clBlack);
        DrawArrowGlyph(canvas, 10, 10, row.direction);
        canvas.SetHandle(nullptr);
        for (const Probe& p : row.probes)
            EXPECT_EQ(capture.Painted(10 + p.dx, 10 + p.dy), p.painted)
                << row.name << " at (" << p.dx << "," << p.dy << ")";
    }
}

TEST_F(SkinControlBase, DrawCaptionFocus_SurroundsTheCentredCaption) {
    auto* skin = new TProbeSkin(nullptr);
    skin->Caption = L"OK";
    guitest::Capture capture(100, 40);
    ASSERT_TRUE(capture.Valid());
    capture.Fill(0x00FFFFFF);
    skin->DrawCaptionFocus(capture.Dc(), RECT{0, 0, 100, 40}, DT_CENTER | DT_SINGLELINE);
    // The dotted frame lies around the middle, never at the rect's edges.
    EXPECT_EQ(capture.Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(capture.Pixel(99, 39), RGB(255, 255, 255));
    bool touched = false;
    for (int x = 30; x < 70 && !touched; ++x)
        for (int y = 5; y < 35 && !touched; ++y) touched = capture.Pixel(x, y) != RGB(255, 255, 255);
    EXPECT_TRUE(touched);
    delete skin;
}

TEST_F(SkinControlBase, DrawImageText_IconStartsAtThreeAndAtOneWithoutSlack) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
    ASSERT_NE(list, nullptr);
    TBitmap icon;
    icon.SetPixelFormat(pf24bit);
    icon.SetSize(16, 16);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y) icon.SetPixelColor(x, y, RGB(0, 160, 0));
    icon.FreeContext();
    ASSERT_GE(ImageList_Add(list, icon.Handle(), nullptr), 0);
    auto* skin = new TProbeSkin(nullptr);
    struct Row { const char* name; RECT rect; int alignment; int expectedLeft; };
    const Row rows[] = {
        {"left", RECT{0, 0, 100, 20}, 0, 3},
        {"centre", RECT{0, 0, 100, 20}, 1, (100 - 16) / 2},
        {"right", RECT{0, 0, 100, 20}, 2, 100 - 16 - 2},
        {"centre without slack", RECT{0, 0, 17, 20}, 1, 1},
    };
    for (const Row& row : rows) {
        guitest::Capture capture(100, 20);
        ASSERT_TRUE(capture.Valid());
        TCanvas canvas;
        canvas.SetHandle(capture.Dc());
        skin->DrawImageText(canvas, row.rect, row.alignment, L"", 0, list);
        canvas.SetHandle(nullptr);
        EXPECT_TRUE(capture.Painted(row.expectedLeft, 10)) << row.name;
        EXPECT_FALSE(capture.Painted(row.expectedLeft - 1, 10)) << row.name;
    }
    delete skin;
    ImageList_Destroy(list);
}

}  // namespace
