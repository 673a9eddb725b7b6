// Check-box and radio-button skins: the cell tables and the box layout, and on real
// windows under Wine the box cell of class-library controls (the skin paints all) and of
// raw windows (the skin draws the box over the control's own painting) against the flat
// test skin's CheckButton and RadioButton cells.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "Forms.h"
#include "StdCtrls.h"
#include "WinSubClassChecks.h"
#include "button_skin_support.h"

namespace {

using buttontest::FlatSkinFixture;
using guitest::Capture;
using guitest::PixelIs;

COLORREF CheckCell(int cell) { return skinform::FlatRef("Buttons", "CheckButton", cell); }
COLORREF RadioCell(int cell) { return skinform::FlatRef("Buttons", "RadioButton", cell); }

// ---- tables ----------------------------------------------------------------------------

struct CheckRow {
    const char* name;
    TCheckCellInput in;  // cell, disabled, indeterminate
    int cells;
    int cell;
};

const CheckRow kCheckRows[] = {
    {"unchecked", {1, false, false}, 4, 1},
    {"checked", {2, false, false}, 4, 2},
    {"unchecked disabled", {1, true, false}, 4, 3},
    {"checked disabled", {2, true, false}, 4, 4},
    {"indeterminate", {1, false, true}, 4, 4},
    {"indeterminate disabled", {1, true, true}, 4, 4},
    {"data-aware grayed (3)", {3, false, false}, 4, 4},
    {"12: unchecked", {1, false, false}, 12, 1},
    {"12: checked", {2, false, false}, 12, 5},
    {"12: unchecked disabled", {1, true, false}, 12, 4},
    {"12: checked disabled", {2, true, false}, 12, 8},
    {"12: indeterminate", {1, false, true}, 12, 9},
    {"12: indeterminate disabled", {1, true, true}, 12, 12},
    {"grayed host, disabled, beyond a 4-cell strip: clamped", {4, true, false}, 4, 4},
    {"a strip of 2 cells: clamped", {2, true, false}, 2, 2},
    {"no cell count: one cell", {2, false, false}, 0, 1},
};

TEST(CheckSkinTables, CheckBoxCell_ByStateAndStrip) {
    for (const CheckRow& row : kCheckRows) EXPECT_EQ(CheckBoxCell(row.in, row.cells), row.cell) << row.name;
}

TEST(CheckSkinTables, RadioButtonCell_ByStateAndStrip) {
    const struct {
        bool checked, disabled;
        int cells, cell;
    } rows[] = {{false, false, 4, 1}, {true, false, 4, 2}, {false, true, 4, 3}, {true, true, 4, 4},
                {false, false, 8, 1}, {true, false, 8, 5}, {false, true, 8, 4}, {true, true, 8, 8},
                {true, true, 3, 3},   {true, false, -1, 1}};
    for (const auto& row : rows)
        EXPECT_EQ(RadioButtonCell(row.checked, row.disabled, row.cells), row.cell)
            << "checked " << row.checked << " disabled " << row.disabled << " cells " << row.cells;
}

TEST(CheckSkinTables, BoxCellRect_LeftRightAndTheRadiosPixel) {
    const RECT r{0, 0, 100, 20};
    EXPECT_TRUE(guitest::SameRect(BoxCellRect(r, 13, 13, false, false), RECT{0, 3, 13, 16}));
    EXPECT_TRUE(guitest::SameRect(BoxCellRect(r, 13, 13, false, true), RECT{0, 3, 13, 16}));
    EXPECT_TRUE(guitest::SameRect(BoxCellRect(r, 13, 13, true, false), RECT{87, 3, 100, 16}));
    EXPECT_TRUE(guitest::SameRect(BoxCellRect(r, 13, 13, true, true), RECT{86, 3, 99, 16}));
    EXPECT_TRUE(guitest::SameRect(BoxCellRect(RECT{0, 0, 100, 10}, 13, 13, false, false), RECT{0, -1, 13, 12}))
        << "taller than the control: centred all the same";
}

// ---- class-library controls (the skin paints everything) --------------------------------

using HostedCheck = FlatSkinFixture;

TEST_F(HostedCheck, CheckBox_StatesPaintTheStripsCells) {
    TForm* form = MakeForm();
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 20);
    box->SetAllowGrayed(true);
    TSkinControl* skin = CreateSkinControl(TSkinClass::CheckBox, box);
    ASSERT_NE(skin, nullptr);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    EXPECT_EQ(skin->Mode, 1) << "full skin";
    HWND h = box->Handle();
    const POINT centre{6, 10};
    const COLORREF face = ColorToRGB(data->Colours.ButtonFace);

    Capture c = PrintClient(h);
    EXPECT_TRUE(PixelIs(c, centre.x, centre.y, CheckCell(1))) << "unchecked";
    EXPECT_TRUE(PixelIs(c, 118, 1, face)) << "background";

    box->SetState(cbChecked);
    EXPECT_TRUE(PixelIs(PrintClient(h), centre.x, centre.y, CheckCell(5))) << "checked";
    box->SetState(cbGrayed);
    EXPECT_TRUE(PixelIs(PrintClient(h), centre.x, centre.y, CheckCell(9))) << "grayed";
    box->SetEnabled(false);
    EXPECT_TRUE(PixelIs(PrintClient(h), centre.x, centre.y, CheckCell(12))) << "grayed, disabled";
    box->SetState(cbChecked);
    EXPECT_TRUE(PixelIs(PrintClient(h), centre.x, centre.y, CheckCell(8))) << "checked, disabled";
    box->SetState(cbUnchecked);
    EXPECT_TRUE(PixelIs(PrintClient(h), centre.x, centre.y, CheckCell(4))) << "unchecked, disabled";
}

TEST_F(HostedCheck, CheckBox_ClickTogglesOnceAndRepaints) {
    TForm* form = MakeForm();
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 20);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    TSkinControl* skin = CreateSkinControl(TSkinClass::CheckBox, box);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    HWND h = box->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(guitest::PumpUntil([&] { return clicks > 0; }));
    ASSERT_TRUE(guitest::PumpThroughTimerTicks(50, 3));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box->Checked());
    // What the window shows (the platform drew its own box on the click; the skin's came back).
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, CheckCell(5)));
}

TEST_F(HostedCheck, CheckBox_FocusedDrawsTheCaptionsFocusRectangle) {
    TForm* form = MakeForm();
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 20);
    box->SetCaption("Check");
    TSkinControl* skin = CreateSkinControl(TSkinClass::CheckBox, box);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    HWND h = box->Handle();
    const Capture before = PrintClient(h);
    ASSERT_TRUE(FocusOn(h));
    const Capture after = PrintClient(h);
    int changed = 0;
    for (int y = 0; y < after.Height(); ++y)
        for (int x = 15; x < after.Width(); ++x)
            if (after.Pixel(x, y) != before.Pixel(x, y)) ++changed;
    EXPECT_GT(changed, 10) << "a dotted rectangle around the caption";
    EXPECT_TRUE(PixelIs(after, 6, 10, CheckCell(1))) << "the box is unchanged";
}

TEST_F(HostedCheck, CheckBox_LeftTextPutsTheBoxRight) {
    TForm* form = MakeForm();
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 20);
    box->SetAlignment(taLeftJustify);
    box->SetState(cbChecked);
    TSkinControl* skin = CreateSkinControl(TSkinClass::CheckBox, box);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    const Capture c = PrintClient(box->Handle());
    EXPECT_TRUE(PixelIs(c, 120 - 1, 10, CheckCell(5))) << "the box's last column";
    EXPECT_TRUE(PixelIs(c, 6, 10, ColorToRGB(data->Colours.ButtonFace)));
}

TEST_F(HostedCheck, RadioButton_StatesAndLeftText) {
    TForm* form = MakeForm();
    auto* radio = new TRadioButton(form);
    radio->SetParent(form);
    radio->SetBounds(10, 10, 120, 20);
    TSkinControl* skin = CreateSkinControl(TSkinClass::RadioButton, radio);
    ASSERT_NE(skin, nullptr);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    EXPECT_EQ(skin->Mode, 1);
    HWND h = radio->Handle();
    EXPECT_TRUE(PixelIs(PrintClient(h), 6, 10, RadioCell(1))) << "unchecked";
    radio->SetChecked(true);
    EXPECT_TRUE(PixelIs(PrintClient(h), 6, 10, RadioCell(5))) << "checked";
    radio->SetEnabled(false);
    EXPECT_TRUE(PixelIs(PrintClient(h), 6, 10, RadioCell(8))) << "checked, disabled";
    radio->SetChecked(false);
    EXPECT_TRUE(PixelIs(PrintClient(h), 6, 10, RadioCell(4))) << "unchecked, disabled";
}

TEST_F(HostedCheck, RadioButton_LeftTextBoxOnePixelIn) {
    TForm* form = MakeForm();
    auto* radio = new TRadioButton(form);
    radio->SetParent(form);
    radio->SetBounds(10, 10, 120, 20);
    radio->SetAlignment(taLeftJustify);
    TSkinControl* skin = CreateSkinControl(TSkinClass::RadioButton, radio);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    const Capture c = PrintClient(radio->Handle());
    EXPECT_TRUE(PixelIs(c, 120 - 2, 10, RadioCell(1))) << "the box's last column";
    EXPECT_TRUE(PixelIs(c, 120 - 1, 10, ColorToRGB(data->Colours.ButtonFace))) << "one pixel in from the edge";
}

TEST_F(HostedCheck, TagFiveThousand_ShowsTheParentsBackground) {
    TForm* form = MakeForm();
    form->SetColor(RGB(0x30, 0x90, 0x50));
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 20);
    box->SetTag(5555);
    auto* skin = dynamic_cast<TSkinCheckBase*>(CreateSkinControl(TSkinClass::CheckBox, box));
    ASSERT_NE(skin, nullptr);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    EXPECT_TRUE(skin->TransparentBack);
    HWND h = box->Handle();
    const RECT r = guitest::ClientRectOf(h);
    Capture c(r.right, r.bottom);
    SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(c.Dc()), 0);
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.Dc()), PRF_CLIENT);
    GdiFlush();
    EXPECT_TRUE(PixelIs(c, 118, 1, RGB(0x30, 0x90, 0x50))) << "the form's colour under the control";
    EXPECT_TRUE(PixelIs(c, 6, 10, CheckCell(1)));
}

class MissingCheckStrip : public FlatSkinFixture {
protected:
    MissingCheckStrip() { options.omitImages = {"Buttons/CheckButton"}; }
};

TEST_F(MissingCheckStrip, HostKeepsItsOwnPainting) {
    TForm* form = MakeForm();
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 20);
    TSkinControl* skin = CreateSkinControl(TSkinClass::CheckBox, box);
    skin->AttachControl(nullptr, data.get(), false, nullptr);
    EXPECT_EQ(skin->Mode, 0) << "overlay mode, with nothing to overlay";
    const Capture c = PrintClient(box->Handle());
    EXPECT_TRUE(c.Painted(6, 10)) << "the control painted itself";
}

// ---- raw windows (the skin draws the box over the control's own painting) -------------------

using RawCheck = FlatSkinFixture;

TEST_F(RawCheck, CheckBox_BoxDrawnOverItsOwnPainting) {
    HWND h = MakeRawButton(BS_AUTOCHECKBOX, L"Raw check", 200, 120, 20);
    auto skin = std::make_unique<TSkinCheckBox>(nullptr);
    skin->AttachWindow(h, data.get(), nullptr, nullptr);
    EXPECT_EQ(skin->Mode, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, CheckCell(1))) << "unchecked";
    SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, CheckCell(5))) << "checked (the platform painted first)";
    EXPECT_EQ(skin->LastSetCheck, 2);
    EnableWindow(h, FALSE);
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, CheckCell(8))) << "checked, disabled";
    EXPECT_TRUE(PixelIs(PrintClient(h), 6, 10, CheckCell(8))) << "in a picture of the control too";
    // The caption stays the control's own: no skin colour to the right of the box.
    const Capture c = WindowDc(h);
    EXPECT_TRUE(c.Painted(110, 10));
}

TEST_F(RawCheck, ThreeState_IndeterminateCell) {
    HWND h = MakeRawButton(BS_AUTO3STATE, L"Three", 201, 120, 20);
    auto skin = std::make_unique<TSkinCheckBox>(nullptr);
    skin->AttachWindow(h, data.get(), nullptr, nullptr);
    SendMessageW(h, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, CheckCell(9)));
}

TEST_F(RawCheck, RadioButton_ClickRepaintsTheBox) {
    HWND h = MakeRawButton(BS_AUTORADIOBUTTON, L"Raw radio", 202, 120, 20);
    auto skin = std::make_unique<TSkinRadioButton>(nullptr);
    skin->AttachWindow(h, data.get(), nullptr, nullptr);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, RadioCell(1)));
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, RadioCell(1))) << "pressed: the platform's pushed look is covered";
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    guitest::PumpMessages();
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(PixelIs(WindowDc(h), 6, 10, RadioCell(5))) << "checked by the click";
}

}  // namespace
