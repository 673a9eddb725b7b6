// Button skins reached the way programs reach them: the skin manager skins a form, the
// form skin's dispatch gives every button, check box and radio button its skin, and the
// buttons then show the flat test skin's cells (a glyph button its glyph too); raw
// buttons of a window without a class-library form likewise.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Buttons.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "WinSubClassButtons.h"
#include "WinSubClassChecks.h"
#include "skin_form_support.h"

namespace {

using guitest::Capture;
using guitest::PixelIs;
using guitest::PumpUntil;
using SkinnedButtons = skinform::SkinFormTest;

COLORREF Cell(const char* key, int cell) { return skinform::FlatRef("Buttons", key, cell); }

// The control skin a control owns, or nullptr.
TSkinControl* SkinOf(TComponent* control) {
    for (int i = 0; i < control->ComponentCount(); ++i)
        if (auto* skin = dynamic_cast<TSkinControl*>(control->Components(i))) return skin;
    return nullptr;
}

std::string SkinClassOf(TComponent* control) {
    TSkinControl* skin = SkinOf(control);
    return skin ? skin->ClassName() : "(none)";
}

Capture PrintClient(HWND window) {
    const RECT r = guitest::ClientRectOf(window);
    Capture c(r.right, r.bottom);
    if (c.Valid()) SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.Dc()), PRF_CLIENT);
    GdiFlush();
    return c;
}

template <class T>
T* Add(TForm& form, int left, int top, int width, int height) {
    auto* control = new T(&form);
    control->SetParent(&form);
    control->SetBounds(left, top, width, height);
    return control;
}

TEST_F(SkinnedButtons, Form_CheckBoxesAndSpeedButtonsNotListedStayUnskinned) {
    TForm form(nullptr);
    form.SetBounds(80, 80, 360, 220);
    auto* check = Add<TCheckBox>(form, 10, 60, 120, 20);
    auto* radio = Add<TRadioButton>(form, 10, 90, 120, 20);
    auto* speed = Add<TSpeedButton>(form, 200, 10, 40, 30);
    auto* push = Add<TButton>(form, 100, 10, 80, 30);
    form.Show();
    ASSERT_NE(SkinAndApply(form.Handle()), nullptr);
    EXPECT_EQ(SkinClassOf(push), "TSkinButton");
    EXPECT_EQ(SkinClassOf(check), "(none)");
    EXPECT_EQ(SkinClassOf(radio), "(none)");
    EXPECT_EQ(SkinClassOf(speed), "(none)");
}

TEST_F(SkinnedButtons, Form_EachButtonKindGetsItsSkinAndShowsTheCells) {
    TForm form(nullptr);
    form.SetBounds(80, 80, 360, 220);
    auto* glyphButton = Add<TBitBtn>(form, 10, 10, 80, 40);
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(16, 16);
    constexpr COLORREF kGlyph = RGB(0x21, 0x43, 0x65);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) glyph.SetPixelColor(x, y, x == 0 && y == 15 ? RGB(255, 0, 255) : kGlyph);
    glyphButton->SetGlyph(glyph);
    auto* push = Add<TButton>(form, 100, 10, 80, 30);
    auto* check = Add<TCheckBox>(form, 10, 60, 120, 20);
    check->SetState(cbChecked);
    auto* radio = Add<TRadioButton>(form, 10, 90, 120, 20);
    auto* speed = Add<TSpeedButton>(form, 200, 10, 40, 30);
    form.Show();
    // The class rows skin push buttons only; check boxes, radio buttons and speed buttons
    // of a class-library form are reached through the Skin3rd table.
    data->Skin3rd().Add("TCheckBox=checkbox");
    data->Skin3rd().Add("TRadioButton=radiobutton");
    data->Skin3rd().Add("TSpeedButton=speedbutton");

    ASSERT_NE(SkinAndApply(form.Handle()), nullptr);
    EXPECT_EQ(SkinClassOf(glyphButton), "TSkinBitButton");
    EXPECT_EQ(SkinClassOf(push), "TSkinButton");
    EXPECT_EQ(SkinClassOf(check), "TSkinCheckBox");
    EXPECT_EQ(SkinClassOf(radio), "TSkinRadioButton");
    EXPECT_EQ(SkinClassOf(speed), "TSkinSpeedButton");

    // The form may give its first control the focus: that one shows the focused cell.
    const auto face = [](HWND h) { return Cell("Bitmap", GetFocus() == h ? 5 : 1); };
    const Capture g = PrintClient(glyphButton->Handle());
    EXPECT_TRUE(PixelIs(g, 4, 20, face(glyphButton->Handle()))) << "glyph button face";
    EXPECT_TRUE(PixelIs(g, 32 + 8, 12 + 8, kGlyph)) << "its glyph";
    EXPECT_TRUE(PixelIs(PrintClient(push->Handle()), 4, 15, face(push->Handle()))) << "push button";
    EXPECT_TRUE(PixelIs(PrintClient(check->Handle()), 6, 10, Cell("CheckButton", 5))) << "checked box";
    EXPECT_TRUE(PixelIs(PrintClient(radio->Handle()), 6, 10, Cell("RadioButton", 1))) << "radio";
}

TEST_F(SkinnedButtons, RawWindow_ButtonsSkinnedAndClickOnce) {
    std::vector<WPARAM> commands;
    guitest::TestWindowOptions o;
    o.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    o.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
        if (msg == WM_COMMAND) commands.push_back(wParam);
        return false;
    };
    guitest::TestWindow window = MakeWindow(o);
    const auto child = [&](const wchar_t* text, DWORD style, int id, int top) {
        HWND h = CreateWindowExW(0, L"button", text, WS_CHILD | WS_VISIBLE | style, 10, top, 100, 24, window.Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(h, nullptr);
        return h;
    };
    HWND ok = child(L"OK", BS_DEFPUSHBUTTON, IDOK, 10);
    HWND box = child(L"Check", BS_AUTOCHECKBOX, 301, 40);
    HWND radio = child(L"Radio", BS_AUTORADIOBUTTON, 302, 70);
    HWND owner = child(L"Drawn", BS_OWNERDRAW, 303, 100);
    ASSERT_NE(SkinAndApply(window.Handle()), nullptr);

    EXPECT_EQ(SendMessageW(ok, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(SendMessageW(box, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(SendMessageW(radio, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(SendMessageW(owner, WM_SKINQUERY, 0, 0), 0) << "owner-drawn buttons stay their own";
    EXPECT_TRUE(PixelIs(PrintClient(ok), 4, 12, Cell("Bitmap", 1)));

    commands.clear();
    SendMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(PumpUntil([&] { return !commands.empty(); }));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0]), IDOK);
}

}  // namespace
