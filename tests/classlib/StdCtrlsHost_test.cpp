// Check boxes, radio buttons, group boxes, combo boxes and scroll bars: properties set by
// name against the state their windows report, the notices a user's action gives (each
// event once), and a stored form holding every kind.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "StdCtrls.h"

namespace {

const char* const kPlainForm = u8R"(object F: TForm
  Width = 400
  Height = 300
end
)";

template <class C>
C* addTo(TWinControl& parent, TComponent& owner) {
    C* c = new C(&owner);
    c->SetParent(&parent);
    return c;
}

LONG_PTR styleOf(HWND wnd) { return GetWindowLongPtrA(wnd, GWL_STYLE); }

struct PropRow {
    const char* name;
    const char* prop;
    const char* value;  // an enumeration value name, or a number
    LRESULT expected;   // what the window reports afterwards
};

void setByName(TObject& obj, const PropRow& row) {
    const TPropInfo* info = GetPropInfo(obj, row.prop);
    ASSERT_NE(nullptr, info) << row.name;
    if (info->Kind == TTypeKind::tkInteger) SetOrdProp(obj, row.prop, std::stoll(row.value));
    else SetEnumProp(obj, row.prop, row.value);
}

}  // namespace

TEST(TCheckBox_ByName, StateReachesTheWindow) {
    const PropRow rows[] = {
        {"Checked True", "Checked", "True", BST_CHECKED},
        {"State grayed", "State", "cbGrayed", BST_INDETERMINATE},
        {"Checked False", "Checked", "False", BST_UNCHECKED},
        {"State checked", "State", "cbChecked", BST_CHECKED},
        {"State unchecked", "State", "cbUnchecked", BST_UNCHECKED},
    };
    auto f = ctltest::FormFromText(kPlainForm);
    auto* box = addTo<TCheckBox>(*f, *f);
    HWND wnd = box->Handle();
    for (const PropRow& row : rows) {
        setByName(*box, row);
        EXPECT_EQ(row.expected, SendMessageA(wnd, BM_GETCHECK, 0, 0)) << row.name;
    }
    // Kept without a window and given to the next one.
    box->SetState(cbGrayed);
    box->RecreateWnd();
    EXPECT_EQ(BST_INDETERMINATE, SendMessageA(box->Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ("cbGrayed", GetEnumProp(*box, "State"));
    SetEnumProp(*box, "Alignment", "taLeftJustify");
    EXPECT_TRUE(styleOf(box->Handle()) & BS_LEFTTEXT);
}

TEST(TCheckBox_Click, EachClickStepsTheStateAndRunsOnClickOnce) {
    struct Row { bool allowGrayed; TCheckBoxState from; TCheckBoxState to; };
    const Row rows[] = {
        {false, cbUnchecked, cbChecked}, {false, cbChecked, cbUnchecked}, {false, cbGrayed, cbChecked},
        {true, cbUnchecked, cbGrayed},   {true, cbGrayed, cbChecked},     {true, cbChecked, cbUnchecked},
    };
    auto f = ctltest::FormFromText(kPlainForm);
    auto* box = addTo<TCheckBox>(*f, *f);
    int clicks = 0;
    HWND wnd = box->Handle();
    for (const Row& row : rows) {
        box->SetAllowGrayed(row.allowGrayed);
        box->SetState(row.from);
        clicks = 0;
        box->OnClick = [&](TObject*) { ++clicks; };
        SendMessageA(wnd, BM_CLICK, 0, 0);
        box->OnClick = nullptr;
        EXPECT_EQ(1, clicks) << row.allowGrayed << " from " << row.from;
        EXPECT_EQ(row.to, box->State()) << row.allowGrayed << " from " << row.from;
        EXPECT_EQ(static_cast<LRESULT>(row.to), SendMessageA(wnd, BM_GETCHECK, 0, 0)) << row.allowGrayed << " from " << row.from;
    }
}

TEST(TRadioButton_Click, ChecksOneOfItsSiblingsAndRunsOnClickOnce) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* group = addTo<TGroupBox>(*f, *f);
    auto* a = addTo<TRadioButton>(*group, *f);
    auto* b = addTo<TRadioButton>(*group, *f);
    auto* outside = addTo<TRadioButton>(*f, *f);
    outside->SetChecked(true);
    SetEnumProp(*a, "Checked", "True");
    int clicksA = 0, clicksB = 0;
    a->OnClick = [&](TObject*) { ++clicksA; };
    b->OnClick = [&](TObject*) { ++clicksB; };
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(0, clicksA);
    EXPECT_EQ(1, clicksB);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(a->Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(b->Handle(), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(outside->Checked()) << "a radio button of another parent is left alone";
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, clicksB) << "clicking the checked button changes nothing";
    EXPECT_EQ("False", GetEnumProp(*a, "Checked"));
}

TEST(TComboBox_ByName, ItemsIndexAndTextReachTheWindow) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* combo = addTo<TComboBox>(*f, *f);
    combo->Items().Add("alpha");
    combo->Items().Add("第二");
    combo->Items().Add("gamma");
    SetOrdProp(*combo, "ItemIndex", 1);  // kept until the window exists
    HWND wnd = combo->Handle();
    EXPECT_EQ(3, SendMessageA(wnd, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageA(wnd, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(std::string("第二"), combo->Text());

    const PropRow rows[] = {
        {"ItemIndex 2", "ItemIndex", "2", 2},
        {"ItemIndex none", "ItemIndex", "-1", CB_ERR},
        {"ItemIndex past the end", "ItemIndex", "7", CB_ERR},
        {"ItemIndex 0", "ItemIndex", "0", 0},
    };
    for (const PropRow& row : rows) {
        setByName(*combo, row);
        EXPECT_EQ(row.expected, SendMessageA(wnd, CB_GETCURSEL, 0, 0)) << row.name;
    }

    SetEnumProp(*combo, "Style", "csDropDownList");
    wnd = combo->Handle();
    EXPECT_EQ(CBS_DROPDOWNLIST, styleOf(wnd) & 3);
    EXPECT_EQ(3, SendMessageA(wnd, CB_GETCOUNT, 0, 0)) << "the items survive the new window";
    EXPECT_EQ(0, SendMessageA(wnd, CB_GETCURSEL, 0, 0));
    SetStrProp(*combo, "Text", "gamma");
    EXPECT_EQ(2, SendMessageA(wnd, CB_GETCURSEL, 0, 0)) << "a list's text chooses its item";
    SetStrProp(*combo, "Text", "absent");
    EXPECT_EQ(CB_ERR, SendMessageA(wnd, CB_GETCURSEL, 0, 0));

    // The dropped list has room for DropDownCount lines, whatever the face's height (more
    // than the six lines Wine gives a list whose window was made too short).
    for (int i = 0; i < 20; ++i) combo->Items().Add("more");
    SetOrdProp(*combo, "DropDownCount", 12);
    combo->SetBounds(10, 10, 150, 21);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
    SendMessageA(wnd, CB_SHOWDROPDOWN, TRUE, 0);
    RECT list{};
    GetWindowRect(info.hwndList, &list);
    SendMessageA(wnd, CB_SHOWDROPDOWN, FALSE, 0);
    const LRESULT itemHeight = SendMessageA(wnd, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE(list.bottom - list.top, 12 * itemHeight);
    RECT face{};
    GetWindowRect(wnd, &face);
    EXPECT_EQ(face.bottom - face.top, combo->Height()) << "the face keeps its own height";
}

TEST(TComboBox_Change, AKeyThatPicksAnotherItemRunsOnChangeOnce) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* combo = addTo<TComboBox>(*f, *f);
    combo->SetStyle(csDropDownList);
    for (const char* s : {"one", "two", "three"}) combo->Items().Add(s);
    combo->SetItemIndex(0);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    HWND wnd = combo->Handle();
    EXPECT_EQ(0, changes) << "a choice made from code does not notify";
    SendMessageA(wnd, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(1, changes);
    EXPECT_EQ(1, combo->ItemIndex());
    EXPECT_EQ("two", combo->Text());
}

TEST(TScrollBar_ByName, RangeAndPositionReachTheBar) {
    struct Row { const char* name; int min, max, page, position; int expected; };
    const Row rows[] = {
        {"inside", 0, 100, 0, 40, 40},
        {"below the range", 10, 20, 0, 3, 10},
        {"above the range", 10, 20, 0, 99, 20},
        {"page limits the end", 0, 100, 10, 100, 91},
        {"reversed range collapses", 50, 20, 0, 30, 50},
        {"negative range", -20, -5, 0, -7, -7},
    };
    auto f = ctltest::FormFromText(kPlainForm);
    auto* bar = addTo<TScrollBar>(*f, *f);
    HWND wnd = bar->Handle();
    for (const Row& row : rows) {
        SetOrdProp(*bar, "PageSize", 0);
        SetOrdProp(*bar, "Min", -1000);
        SetOrdProp(*bar, "Max", row.max);
        SetOrdProp(*bar, "Min", row.min);
        SetOrdProp(*bar, "PageSize", row.page);
        SetOrdProp(*bar, "Position", row.position);
        EXPECT_EQ(row.expected, GetOrdProp(*bar, "Position")) << row.name;
        EXPECT_EQ(row.expected, SendMessageA(wnd, SBM_GETPOS, 0, 0)) << row.name;
    }
    SetEnumProp(*bar, "Kind", "sbVertical");
    EXPECT_EQ(SBS_VERT, styleOf(bar->Handle()) & SBS_VERT);
    EXPECT_EQ(-7, SendMessageA(bar->Handle(), SBM_GETPOS, 0, 0)) << "kept across the new window";
}

TEST(TScrollBar_Scroll, KeysMoveTheBarWithOneScrollAndOneChangeEach) {
    struct Row { const char* name; WPARAM key; int expected; };
    const Row rows[] = {
        {"right: small change", VK_RIGHT, 53},
        {"page down: large change", VK_NEXT, 63},
        {"left", VK_LEFT, 60},
        {"end", VK_END, 100},
        {"home", VK_HOME, 0},
    };
    auto f = ctltest::FormFromText(kPlainForm);
    auto* bar = addTo<TScrollBar>(*f, *f);
    bar->SetSmallChange(3);
    bar->SetLargeChange(10);
    bar->SetPosition(50);
    HWND wnd = bar->Handle();
    for (const Row& row : rows) {
        int scrolls = 0, changes = 0;
        bar->OnScroll = [&](TObject*, TScrollCode code, int&) { if (code != scEndScroll) ++scrolls; };
        bar->OnChange = [&](TObject*) { ++changes; };
        SendMessageA(wnd, WM_KEYDOWN, row.key, 0);
        EXPECT_EQ(1, scrolls) << row.name;
        EXPECT_EQ(1, changes) << row.name;
        EXPECT_EQ(row.expected, bar->Position()) << row.name;
        EXPECT_EQ(row.expected, SendMessageA(wnd, SBM_GETPOS, 0, 0)) << row.name;
    }
    // OnScroll may hold the bar where it is.
    bar->OnScroll = [](TObject*, TScrollCode, int& pos) { pos = 42; };
    SendMessageA(wnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(42, SendMessageA(wnd, SBM_GETPOS, 0, 0));
}

TEST(StdCtrlsHost_FormReader, AStoredFormHoldsEveryKind) {
    auto f = ctltest::FormFromText(u8R"(object F: TForm
  Width = 400
  Height = 300
  object Group: TGroupBox
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Caption = '选项'
    object Radio: TRadioButton
      Left = 8
      Top = 20
      Checked = True
    end
  end
  object Check: TCheckBox
    Left = 8
    Top = 120
    AllowGrayed = True
    State = cbGrayed
  end
  object Combo: TComboBox
    Left = 8
    Top = 150
    Style = csDropDownList
    Items.Strings = (
      'a'
      'b')
    ItemIndex = 1
    DropDownCount = 4
  end
  object Bar: TScrollBar
    Left = 8
    Top = 190
    Kind = sbVertical
    Max = 50
    PageSize = 5
    Position = 20
  end
end
)");
    ASSERT_NE(nullptr, f);
    HWND group = dynamic_cast<TWinControl*>(f->FindComponent("Group"))->Handle();
    EXPECT_EQ(BS_GROUPBOX, styleOf(group) & 0xF);
    EXPECT_EQ(BST_CHECKED, SendMessageA(dynamic_cast<TWinControl*>(f->FindComponent("Radio"))->Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_INDETERMINATE, SendMessageA(dynamic_cast<TWinControl*>(f->FindComponent("Check"))->Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(1, SendMessageA(dynamic_cast<TWinControl*>(f->FindComponent("Combo"))->Handle(), CB_GETCURSEL, 0, 0));
    HWND bar = dynamic_cast<TWinControl*>(f->FindComponent("Bar"))->Handle();
    EXPECT_EQ(20, SendMessageA(bar, SBM_GETPOS, 0, 0));
    EXPECT_EQ(SBS_VERT, styleOf(bar) & SBS_VERT);
}
