// Track bars, up-downs, tab and page controls, list views, headers and date-time pickers:
// properties set by name against the state their windows report, the reflected
// notifications a user's action gives (each event once), and a stored form holding them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ComCtrls.h"
#include "ControlsTestSupport.h"

namespace {

const char* const kPlainForm = u8R"(object F: TForm
  Width = 500
  Height = 400
end
)";

template <class C>
C* addTo(TWinControl& parent, TComponent& owner) {
    C* c = new C(&owner);
    c->SetParent(&parent);
    return c;
}

LONG_PTR styleOf(HWND wnd) { return GetWindowLongPtrA(wnd, GWL_STYLE); }
bool shown(TWinControl* c) { return (styleOf(c->Handle()) & WS_VISIBLE) != 0; }

// A press and release of the left button at a client point.
void clickAt(HWND wnd, POINT p) {
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::string tabText(HWND tabs, int index) {
    char buf[128] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buf;
}

}  // namespace

// ---- track bar ---------------------------------------------------------------------

TEST(TTrackBar_ByName, RangeAndPositionReachTheWindow) {
    struct Row { const char* name; int min, max, position, expected; };
    const Row rows[] = {
        {"inside", 0, 10, 4, 4}, {"below", 5, 20, 0, 5}, {"above", 5, 20, 99, 20},
        {"reversed range collapses", 30, 10, 12, 30}, {"negative", -10, -2, -4, -4},
    };
    auto f = ctltest::FormFromText(kPlainForm);
    auto* bar = addTo<TTrackBar>(*f, *f);
    HWND wnd = bar->Handle();
    for (const Row& row : rows) {
        SetOrdProp(*bar, "Min", -1000);
        SetOrdProp(*bar, "Max", row.max);
        SetOrdProp(*bar, "Min", row.min);
        SetOrdProp(*bar, "Position", row.position);
        EXPECT_EQ(row.expected, SendMessageA(wnd, TBM_GETPOS, 0, 0)) << row.name;
        EXPECT_EQ(row.expected, GetOrdProp(*bar, "Position")) << row.name;
    }
    struct StyleRow { const char* prop; const char* value; LONG_PTR bit; };
    const StyleRow styles[] = {
        {"Orientation", "trVertical", TBS_VERT}, {"SliderVisible", "False", TBS_NOTHUMB},
        {"TickStyle", "tsNone", TBS_NOTICKS}, {"TickMarks", "tmBoth", TBS_BOTH},
    };
    for (const StyleRow& row : styles) {
        SetEnumProp(*bar, row.prop, row.value);
        EXPECT_EQ(row.bit, styleOf(bar->Handle()) & row.bit) << row.prop;
    }
    EXPECT_EQ(-4, SendMessageA(bar->Handle(), TBM_GETPOS, 0, 0)) << "kept across the new windows";
}

TEST(TTrackBar_Change, AKeyMovesTheThumbWithOneChange) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* bar = addTo<TTrackBar>(*f, *f);
    bar->SetPosition(3);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    SendMessageA(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(1, changes);
    EXPECT_EQ(4, bar->Position());
}

// A skin draws the channel and thumb from the custom-draw notices, which reach the control
// reflected through its replaceable WindowProc; what that procedure answers goes back.
TEST(TTrackBar_CustomDraw, NoticesArriveReflectedAndTheAnswerCounts) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* bar = addTo<TTrackBar>(*f, *f);
    HWND wnd = bar->Handle();
    std::vector<DWORD_PTR> items;
    int prepaints = 0;
    TWndMethod saved = bar->WindowProc;
    bar->WindowProc = [&](TMessage& m) {
        if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            const auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
            if (cd->dwDrawStage == CDDS_PREPAINT) { ++prepaints; m.Result = CDRF_NOTIFYITEMDRAW; return; }
            if (cd->dwDrawStage == CDDS_ITEMPREPAINT) items.push_back(cd->dwItemSpec);
            m.Result = CDRF_DODEFAULT;
            return;
        }
        saved(m);
    };
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, bar->Width(), bar->Height());
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    bar->WindowProc = saved;
    EXPECT_EQ(1, prepaints);
    EXPECT_NE(items.end(), std::find(items.begin(), items.end(), static_cast<DWORD_PTR>(TBCD_CHANNEL)));
    EXPECT_NE(items.end(), std::find(items.begin(), items.end(), static_cast<DWORD_PTR>(TBCD_THUMB)));
}

// ---- up-down -----------------------------------------------------------------------

TEST(TUpDown_ByName, RangePositionAndBuddy) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* edit = addTo<TEdit>(*f, *f);
    auto* spin = addTo<TUpDown>(*f, *f);
    SetOrdProp(*spin, "Min", 1);
    SetOrdProp(*spin, "Max", 9);
    SetOrdProp(*spin, "Position", 5);
    SetPropValue(*spin, "Associate", static_cast<TObject*>(edit));
    HWND wnd = spin->Handle();
    EXPECT_EQ(5, SendMessageA(wnd, UDM_GETPOS32, 0, 0));
    EXPECT_EQ(edit->Handle(), reinterpret_cast<HWND>(SendMessageA(wnd, UDM_GETBUDDY, 0, 0)));
    EXPECT_EQ("5", edit->Text());
    SetOrdProp(*spin, "Position", 42);
    EXPECT_EQ(9, SendMessageA(wnd, UDM_GETPOS32, 0, 0)) << "kept within the range";
    SetEnumProp(*spin, "Orientation", "udHorizontal");
    EXPECT_EQ(UDS_HORZ, styleOf(spin->Handle()) & UDS_HORZ);
    EXPECT_EQ(9, SendMessageA(spin->Handle(), UDM_GETPOS32, 0, 0));
    delete edit;  // the up-down forgets its buddy
    EXPECT_EQ(nullptr, spin->Associate());
}

TEST(TUpDown_Click, APressAsksOnceAndClicksOnce) {
    struct Row { const char* name; bool upper; bool allow; int expected; int clicks; TUDBtnType button; };
    const Row rows[] = {
        {"upper arrow", true, true, 6, 1, TUDBtnType::btNext},
        {"lower arrow", false, true, 4, 1, TUDBtnType::btPrev},
        {"refused", true, false, 5, 0, TUDBtnType::btNext},
    };
    auto f = ctltest::FormFromText(kPlainForm);
    auto* spin = addTo<TUpDown>(*f, *f);
    HWND wnd = spin->Handle();
    RECT r{};
    GetClientRect(wnd, &r);
    for (const Row& row : rows) {
        spin->SetPosition(5);
        int asks = 0, clicks = 0;
        TUDBtnType pressed = TUDBtnType::btNext;
        spin->OnChanging = [&](TObject*, bool& allow) { ++asks; allow = row.allow; };
        spin->OnClick = [&](TObject*, TUDBtnType b) { ++clicks; pressed = b; };
        clickAt(wnd, POINT{r.right / 2, row.upper ? r.bottom / 4 : r.bottom * 3 / 4});
        EXPECT_EQ(1, asks) << row.name;
        EXPECT_EQ(row.clicks, clicks) << row.name;
        if (row.clicks) { EXPECT_EQ(row.button, pressed) << row.name; }
        EXPECT_EQ(row.expected, SendMessageA(wnd, UDM_GETPOS32, 0, 0)) << row.name;
    }
}

// ---- tab control and page control --------------------------------------------------

TEST(TTabControl_ByName, TabsIndexAndStylesReachTheWindow) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* tabs = addTo<TTabControl>(*f, *f);
    tabs->Tabs().Add("一");
    tabs->Tabs().Add("two");
    SetOrdProp(*tabs, "TabIndex", 1);
    HWND wnd = tabs->Handle();
    EXPECT_EQ(2, SendMessageA(wnd, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageA(wnd, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ(std::string("一"), tabText(wnd, 0));

    struct Row { const char* prop; const char* value; LONG_PTR mask; LONG_PTR expected; };
    const Row rows[] = {
        {"TabPosition", "tpBottom", TCS_BOTTOM | TCS_VERTICAL, TCS_BOTTOM},
        {"TabPosition", "tpLeft", TCS_RIGHT | TCS_VERTICAL, TCS_VERTICAL},
        {"TabPosition", "tpRight", TCS_RIGHT | TCS_VERTICAL, TCS_RIGHT | TCS_VERTICAL},
        {"TabPosition", "tpTop", TCS_BOTTOM | TCS_VERTICAL, 0},
        {"Style", "tsButtons", TCS_BUTTONS | TCS_FLATBUTTONS, TCS_BUTTONS},
        {"Style", "tsFlatButtons", TCS_BUTTONS | TCS_FLATBUTTONS, TCS_BUTTONS | TCS_FLATBUTTONS},
        {"OwnerDraw", "True", TCS_OWNERDRAWFIXED, TCS_OWNERDRAWFIXED},
        {"MultiLine", "True", TCS_MULTILINE, TCS_MULTILINE},
    };
    for (const Row& row : rows) {
        SetEnumProp(*tabs, row.prop, row.value);
        wnd = tabs->Handle();
        EXPECT_EQ(row.expected, styleOf(wnd) & row.mask) << row.prop << " " << row.value;
        EXPECT_EQ(2, SendMessageA(wnd, TCM_GETITEMCOUNT, 0, 0)) << row.prop << " " << row.value;
        EXPECT_EQ(1, SendMessageA(wnd, TCM_GETCURSEL, 0, 0)) << row.prop << " " << row.value;
    }
    tabs->Tabs().Delete(1);
    EXPECT_EQ(1, SendMessageA(wnd, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(0, tabs->TabIndex()) << "the chosen tab moves to one that exists";
}

TEST(TPageControl_Pages, TheChosenTabShowsItsSheetOnly) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* pages = addTo<TPageControl>(*f, *f);
    pages->SetBounds(0, 0, 300, 200);
    std::vector<TTabSheet*> sheets;
    for (const char* caption : {"甲", "乙", "丙"}) {
        auto* s = new TTabSheet(f.get());
        s->SetPageControl(pages);
        s->SetCaption(caption);
        sheets.push_back(s);
    }
    HWND wnd = pages->Handle();
    EXPECT_EQ(3, SendMessageA(wnd, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(std::string("乙"), tabText(wnd, 1));
    EXPECT_EQ(sheets[0], pages->ActivePage());
    SetPropValue(*pages, "ActivePage", static_cast<TObject*>(sheets[2]));
    EXPECT_EQ(2, SendMessageA(wnd, TCM_GETCURSEL, 0, 0));
    EXPECT_TRUE(shown(sheets[2]));
    EXPECT_FALSE(shown(sheets[0]));
    RECT display{};
    GetClientRect(wnd, &display);
    SendMessageA(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(display, ctltest::RectInParent(sheets[2]->Handle())) << "a sheet fills the display area";

    // A click on another tab asks once, changes once and shows that tab's sheet.
    int asks = 0, changes = 0;
    bool allow = false;
    pages->OnChanging = [&](TObject*, bool& a) { ++asks; a = allow; };
    pages->OnChange = [&](TObject*) { ++changes; };
    RECT item{};
    SendMessageA(wnd, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    clickAt(wnd, centre(item));
    EXPECT_EQ(1, asks);
    EXPECT_EQ(0, changes) << "refused";
    EXPECT_EQ(sheets[2], pages->ActivePage());
    allow = true;
    clickAt(wnd, centre(item));
    EXPECT_EQ(2, asks);
    EXPECT_EQ(1, changes);
    EXPECT_EQ(sheets[1], pages->ActivePage());
    EXPECT_TRUE(shown(sheets[1]));
    EXPECT_FALSE(shown(sheets[2]));

    // Freeing the active sheet takes its tab away and activates a neighbour.
    delete sheets[1];
    EXPECT_EQ(2, SendMessageA(wnd, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(sheets[2], pages->ActivePage());
    EXPECT_EQ(1, SendMessageA(wnd, TCM_GETCURSEL, 0, 0));
    EXPECT_TRUE(shown(sheets[2]));
}

// ---- list view and header ----------------------------------------------------------

TEST(TListView_ByName, ColumnsAndItemsReachTheWindow) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* view = addTo<TListView>(*f, *f);
    SetEnumProp(*view, "ViewStyle", "vsReport");
    for (const char* caption : {"名称", "大小"}) view->Columns().Add()->SetCaption(caption);
    TListItem* first = view->Items().Add();  // before the window: kept
    first->SetCaption("a.txt");
    first->SubItems().Add("12");
    HWND wnd = view->Handle();
    EXPECT_EQ(LVS_REPORT, styleOf(wnd) & LVS_TYPEMASK);
    TListItem* second = view->Items().Add();
    second->SetCaption("b.txt");
    second->SubItems().Add("34");
    EXPECT_EQ(2, SendMessageA(wnd, LVM_GETITEMCOUNT, 0, 0));
    char buf[64] = {};
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(wnd, LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string("34"), buf);
    HWND header = reinterpret_cast<HWND>(SendMessageA(wnd, LVM_GETHEADER, 0, 0));
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(2, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    view->Columns().Items(1)->SetWidth(120);
    EXPECT_EQ(2, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) << "a changed column is not added twice";
    EXPECT_EQ(120, SendMessageA(wnd, LVM_GETCOLUMNWIDTH, 1, 0));
    view->Items().Delete(0);
    EXPECT_EQ(1, SendMessageA(wnd, LVM_GETITEMCOUNT, 0, 0));
    SetEnumProp(*view, "ShowColumnHeaders", "False");
    EXPECT_EQ(LVS_NOCOLUMNHEADER, styleOf(wnd) & LVS_NOCOLUMNHEADER);
    view->RecreateWnd();
    EXPECT_EQ(1, SendMessageA(view->Handle(), LVM_GETITEMCOUNT, 0, 0)) << "a new window gets the lines";
}

TEST(THeaderControl_Sections, EachSectionIsAnItem) {
    struct Row { const char* name; int count; };
    const Row rows[] = {{"none", 0}, {"one", 1}, {"three", 3}, {"back to two", 2}};
    auto f = ctltest::FormFromText(kPlainForm);
    auto* header = addTo<THeaderControl>(*f, *f);
    HWND wnd = header->Handle();
    for (const Row& row : rows) {
        header->Sections().Clear();
        for (int i = 0; i < row.count; ++i) header->Sections().Add()->SetText("s" + std::to_string(i));
        EXPECT_EQ(row.count, SendMessageA(wnd, HDM_GETITEMCOUNT, 0, 0)) << row.name;
    }
    header->Sections().Items(1)->SetWidth(77);
    RECT r{};
    SendMessageA(wnd, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(77, r.right - r.left);
}

// ---- date-time picker --------------------------------------------------------------

TEST(TDateTimePicker_Value, KeptBeforeTheWindowAndReadBack) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* picker = addTo<TDateTimePicker>(*f, *f);
    SYSTEMTIME want{2026, 12, 0, 9, 3, 4, 5, 0};
    picker->SetDateTime(SystemTimeToDateTime(want));
    HWND wnd = picker->Handle();
    SYSTEMTIME got{};
    ASSERT_EQ(GDT_VALID, SendMessageA(wnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(2026, got.wYear);
    EXPECT_EQ(12, got.wMonth);
    EXPECT_EQ(9, got.wDay);
    EXPECT_EQ(3, got.wHour);
    EXPECT_EQ(4, got.wMinute);
    EXPECT_EQ(5, got.wSecond);
    picker->SetTime(0.5);
    EXPECT_DOUBLE_EQ(std::trunc(SystemTimeToDateTime(want)) + 0.5, picker->DateTime()) << "the date stays";
    SetEnumProp(*picker, "Kind", "dtkTime");
    EXPECT_EQ(DTS_TIMEFORMAT, styleOf(picker->Handle()) & DTS_TIMEFORMAT);
    SendMessageA(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(12, got.wHour) << "kept across the new window";
    SetEnumProp(*picker, "Kind", "dtkDate");
    SetEnumProp(*picker, "DateFormat", "dfLong");
    EXPECT_EQ(DTS_LONGDATEFORMAT, styleOf(picker->Handle()) & DTS_LONGDATEFORMAT);
    EXPECT_THROW(picker->SetDateTime(1e12), Exception);
}

TEST(TDateTimePicker_Change, AKeyThatChangesTheDateRunsOnChangeOnce) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* picker = addTo<TDateTimePicker>(*f, *f);
    SYSTEMTIME start{2026, 5, 0, 10, 0, 0, 0, 0};
    picker->SetDateTime(SystemTimeToDateTime(start));
    HWND wnd = picker->Handle();
    int changes = 0;
    picker->OnChange = [&](TObject*) { ++changes; };
    // The picker steps a field only while it has the focus and a field is chosen.
    SendMessageA(wnd, WM_SETFOCUS, 0, 0);
    SendMessageA(wnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(0, changes) << "choosing a field changes nothing";
    SendMessageA(wnd, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(1, changes);
    EXPECT_NE(SystemTimeToDateTime(start), picker->DateTime());
}

// ---- stored forms ------------------------------------------------------------------

TEST(ComCtrlsHost_FormReader, AStoredFormHoldsEveryKind) {
    auto f = ctltest::FormFromText(u8R"(object F: TForm
  Width = 500
  Height = 400
  object Pages: TPageControl
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    ActivePage = Second
    TabPosition = tpBottom
    object First: TTabSheet
      Caption = '常规'
    end
    object Second: TTabSheet
      Caption = 'More'
      object Track: TTrackBar
        Max = 20
        Position = 7
      end
    end
  end
  object Spin: TUpDown
    Left = 310
    Min = -5
    Max = 5
    Position = -2
  end
  object Tabs: TTabControl
    Left = 310
    Top = 40
    Tabs.Strings = (
      'x'
      'y')
    TabIndex = 1
  end
  object View: TListView
    Top = 210
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'Name'
        Width = 80
      end>
  end
  object Header: THeaderControl
    Sections = <
      item
        Text = 'A'
      end
      item
        Text = 'B'
      end>
  end
  object Picker: TDateTimePicker
    Left = 310
    Top = 250
    Kind = dtkTime
  end
end
)");
    ASSERT_NE(nullptr, f);
    auto* pages = dynamic_cast<TPageControl*>(f->FindComponent("Pages"));
    ASSERT_NE(nullptr, pages);
    EXPECT_EQ(f->FindComponent("Second"), pages->ActivePage());
    EXPECT_EQ(1, SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0));
    EXPECT_FALSE(shown(dynamic_cast<TWinControl*>(f->FindComponent("First"))));
    EXPECT_TRUE(shown(pages->ActivePage()));
    EXPECT_EQ(7, SendMessageA(dynamic_cast<TWinControl*>(f->FindComponent("Track"))->Handle(), TBM_GETPOS, 0, 0));
    EXPECT_EQ(-2, SendMessageA(dynamic_cast<TWinControl*>(f->FindComponent("Spin"))->Handle(), UDM_GETPOS32, 0, 0));
    EXPECT_EQ(1, SendMessageA(dynamic_cast<TWinControl*>(f->FindComponent("Tabs"))->Handle(), TCM_GETCURSEL, 0, 0));
    HWND view = dynamic_cast<TWinControl*>(f->FindComponent("View"))->Handle();
    EXPECT_EQ(1, SendMessageA(reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(2, SendMessageA(dynamic_cast<TWinControl*>(f->FindComponent("Header"))->Handle(), HDM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(DTS_TIMEFORMAT, styleOf(dynamic_cast<TWinControl*>(f->FindComponent("Picker"))->Handle()) & DTS_TIMEFORMAT);
}
