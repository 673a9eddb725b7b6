// Menus: a form read from its description with a main menu, the bar and popup handles
// built from the items, commands reaching handlers, rebuilds on change, finding items,
// shortcut texts, popup menus tracked by the system (ended by EndMenu or chosen by keys),
// owner drawing through the items' handlers and the default look.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Forms.h"
#include "ImgList.h"
#include "gui_test.h"
#include "Menus.h"
#include "MenuDialogTestSupport.h"
#include "Messages.h"

using menutest::PumpUntil;
using menutest::ThreadTimer;

namespace {

class TMenuTestForm : public TForm {
    CLASS_INFO(TMenuTestForm)
public:
    explicit TMenuTestForm(TComponent* owner) : TForm(owner) {}
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* NFile = nullptr;
    TMenuItem* NNew = nullptr;
    TMenuItem* NWrap = nullptr;
    TMenuItem* NHidden = nullptr;
    TMenuItem* NOff = nullptr;
    TMenuItem* NSub = nullptr;
    TMenuItem* NDeep = nullptr;
    int newClicks = 0, deepClicks = 0;
    void NNewClick(TObject*) { ++newClicks; }
    void NDeepClick(TObject*) { ++deepClicks; }
};

const TClassInfo& TMenuTestForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TMenuTestForm>("TMenuTestForm", &TForm::StaticClassInfo(), [](TClassBuilder<TMenuTestForm>& b) {
        b.Handler("NNewClick", &TMenuTestForm::NNewClick);
        b.Handler("NDeepClick", &TMenuTestForm::NDeepClick);
        b.Field("MainMenu1", &TMenuTestForm::MainMenu1);
        b.Field("NFile", &TMenuTestForm::NFile);
        b.Field("NNew", &TMenuTestForm::NNew);
        b.Field("NWrap", &TMenuTestForm::NWrap);
        b.Field("NHidden", &TMenuTestForm::NHidden);
        b.Field("NOff", &TMenuTestForm::NOff);
        b.Field("NSub", &TMenuTestForm::NSub);
        b.Field("NDeep", &TMenuTestForm::NDeep);
    });
    return info;
}

// u8: form descriptions are UTF-8, while plain literals here are GBK.
const char* const kMenuForm = u8R"(object MenuForm: TMenuTestForm
  Caption = 'Menus'
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object NFile: TMenuItem
      Caption = '文件(&F)'
      object NNew: TMenuItem
        Caption = '新建(&N)'
        ShortCut = 16462
        OnClick = NNewClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object NWrap: TMenuItem
        Caption = '自动换行(&W)'
        Checked = True
      end
      object NHidden: TMenuItem
        Caption = 'Hidden'
        Visible = False
      end
      object NOff: TMenuItem
        Caption = 'Off'
        Enabled = False
        ShortCut = F3
      end
    end
    object NEdit: TMenuItem
      Caption = '编辑(&E)'
      object NSub: TMenuItem
        Caption = 'More'
        object NDeep: TMenuItem
          Caption = 'Deep'
          OnClick = NDeepClick
        end
      end
    end
  end
end
)";

struct EntryInfo {
    std::string text;
    UINT type = 0, state = 0, id = 0;
    HMENU sub = nullptr;
    ULONG_PTR data = 0;
};

EntryInfo entry(HMENU menu, UINT position) {
    EntryInfo e;
    char text[256] = {};
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    mii.dwTypeData = text;
    mii.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, position, TRUE, &mii)) {
        ADD_FAILURE() << "GetMenuItemInfoA failed at position " << position;
        return e;
    }
    e.text = text;
    e.type = mii.fType;
    e.state = mii.fState;
    e.id = mii.wID;
    e.sub = mii.hSubMenu;
    e.data = mii.dwItemData;
    return e;
}

// A form read from kMenuForm, with its window made; freed at the end of the test.
struct MenuFormFixture : ::testing::Test {
    void SetUp() override {
        form = new TMenuTestForm(Application);
        form->InitFromText(kMenuForm);
        wnd = form->Handle();
        // Record the control messages the form receives.
        TWndMethod previous = form->WindowProc;
        form->WindowProc = [this, previous](TMessage& m) {
            if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) cmMessages.push_back(m.Msg);
            previous(m);
        };
    }
    void TearDown() override { delete form; }
    size_t count(UINT msg) const { return std::count(cmMessages.begin(), cmMessages.end(), msg); }

    TMenuTestForm* form = nullptr;
    HWND wnd = nullptr;
    std::vector<UINT> cmMessages;
};

}  // namespace

TEST_F(MenuFormFixture, MainMenu_BarShowsStoredItems) {
    HMENU bar = GetMenu(wnd);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, form->MainMenu1->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EntryInfo file = entry(bar, 0);
    EXPECT_EQ(file.text, "\xCE\xC4\xBC\xFE(&F)");  // 文件 in GBK
    EXPECT_EQ(file.id, form->NFile->Command());
    EXPECT_EQ(file.sub, form->NFile->Handle());
    EXPECT_EQ(file.data, reinterpret_cast<ULONG_PTR>(form->NFile));

    // The invisible item is left out: New, separator, Wrap, Off.
    HMENU popup = file.sub;
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    EntryInfo item = entry(popup, 0);
    EXPECT_EQ(item.id, form->NNew->Command());
    EXPECT_EQ(item.state & (MFS_CHECKED | MFS_GRAYED), 0u);
    EXPECT_EQ(item.sub, nullptr);
    EXPECT_TRUE(entry(popup, 1).type & MFT_SEPARATOR);
    item = entry(popup, 2);
    EXPECT_TRUE(item.state & MFS_CHECKED) << "state " << item.state;
    item = entry(popup, 3);
    EXPECT_EQ(item.text, "Off");
    EXPECT_EQ(item.state & MFS_GRAYED, static_cast<UINT>(MFS_GRAYED));
    EXPECT_EQ(form->NOff->ShortCut(), VK_F3);  // stored as a key name

    // A nested item's popup hangs in its parent's popup.
    HMENU edit = entry(bar, 1).sub;
    ASSERT_EQ(GetMenuItemCount(edit), 1);
    EXPECT_EQ(entry(edit, 0).sub, form->NSub->Handle());
    EXPECT_EQ(entry(form->NSub->Handle(), 0).text, "Deep");
}

TEST_F(MenuFormFixture, MainMenu_CommandsRunHandlers) {
    SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(form->NNew->Command(), 0), 0);
    EXPECT_EQ(form->newClicks, 1);
    SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(form->NDeep->Command(), 0), 0);
    EXPECT_EQ(form->deepClicks, 1);
    // A disabled item does not run.
    int offClicks = 0;
    form->NOff->OnClick = [&](TObject*) { ++offClicks; };
    SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(form->NOff->Command(), 0), 0);
    EXPECT_EQ(offClicks, 0);
    EXPECT_FALSE(form->MainMenu1->DispatchCommand(0xEFFF));
}

TEST_F(MenuFormFixture, MainMenu_ChangesRebuildBarAndTellForm) {
    HMENU bar = form->MainMenu1->Handle();
    HMENU popup = form->NFile->Handle();
    cmMessages.clear();

    form->NFile->SetCaption("Datei");
    EXPECT_EQ(entry(bar, 0).text, "Datei");
    EXPECT_EQ(form->MainMenu1->Handle(), bar) << "rebuilt in place";
    EXPECT_EQ(GetMenu(wnd), bar);
    EXPECT_GE(count(CM_MENUCHANGED), 1u);

    cmMessages.clear();
    form->NHidden->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(popup), 5);
    EXPECT_EQ(entry(popup, 3).text, "Hidden");
    EXPECT_GE(count(CM_MENUCHANGED), 1u);

    form->NWrap->SetChecked(false);
    EXPECT_EQ(entry(popup, 2).state & MFS_CHECKED, 0u);

    // New items take their place; deleting one removes it.
    auto* added = new TMenuItem(form);
    added->SetCaption("Added");
    form->NFile->Insert(0, added);
    EXPECT_EQ(entry(popup, 0).text, "Added");
    form->NFile->Delete(0);
    EXPECT_EQ(entry(popup, 0).id, form->NNew->Command());
    EXPECT_EQ(GetMenuItemCount(popup), 5);

    // An item that gets its first child gets a popup in the bar.
    auto* fresh = new TMenuItem(form);
    fresh->SetCaption("Fresh");
    form->MainMenu1->Items()->Add(fresh);
    EXPECT_EQ(entry(bar, 2).sub, nullptr);
    auto* child = new TMenuItem(form);
    child->SetCaption("Child");
    fresh->Add(child);
    EXPECT_EQ(entry(bar, 2).sub, fresh->Handle());
    EXPECT_EQ(entry(fresh->Handle(), 0).text, "Child");
}

TEST_F(MenuFormFixture, MainMenu_FindItemByCommandHandleAndShortCut) {
    TMainMenu* m = form->MainMenu1;
    EXPECT_EQ(m->FindItem(form->NDeep->Command(), TMenuItemFind::fkCommand), form->NDeep);
    EXPECT_EQ(m->FindItem(reinterpret_cast<UINT_PTR>(form->NSub->Handle()), TMenuItemFind::fkHandle), form->NSub);
    EXPECT_EQ(m->FindItem(scCtrl | 'N', TMenuItemFind::fkShortCut), form->NNew);
    EXPECT_EQ(m->FindItem(0, TMenuItemFind::fkShortCut), nullptr);
    EXPECT_EQ(m->FindItem(0xEFFF, TMenuItemFind::fkCommand), nullptr);
    EXPECT_EQ(form->NFile->Find("新建(N)"), form->NNew);  // '&' ignored; literals and captions are GBK
    EXPECT_EQ(form->NFile->Find("off"), form->NOff);
    EXPECT_EQ(form->NOff->GetParentMenu(), m);
    EXPECT_EQ(form->NOff->MenuIndex(), 4);
    // Command ids are unique and below the system commands.
    std::vector<UINT> ids{form->NFile->Command(), form->NNew->Command(), form->NWrap->Command(), form->NDeep->Command()};
    for (UINT id : ids) {
        EXPECT_GT(id, 0u);
        EXPECT_LT(id, 0xF000u);
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());
}

TEST_F(MenuFormFixture, MainMenu_PropertiesByName) {
    EXPECT_EQ(GetStrProp(*form->NOff, "Caption"), "Off");
    EXPECT_EQ(GetOrdProp(*form->NOff, "Enabled"), 0);
    EXPECT_EQ(GetOrdProp(*form->NOff, "Command"), form->NOff->Command());
    SetOrdProp(*form->NOff, "ShortCut", scAlt | VK_F4);
    EXPECT_EQ(ShortCutToText(form->NOff->ShortCut()), "Alt+F4");
    SetEnumProp(*form->MainMenu1, "OwnerDraw", "True");
    EXPECT_TRUE(form->MainMenu1->OwnerDraw());
    EXPECT_TRUE(entry(form->NFile->Handle(), 0).type & MFT_OWNERDRAW);
    EXPECT_TRUE(entry(form->NFile->Handle(), 1).type & MFT_OWNERDRAW);
    EXPECT_EQ(GetObjectProp(*form->MainMenu1, "Items"), form->MainMenu1->Items());
}

TEST_F(MenuFormFixture, MainMenu_OwnerDrawnItemsDrawnThroughForm) {
    // Owner-drawn items of a main menu's popup are measured and drawn through the form's
    // window: the form hands WM_MEASUREITEM / WM_DRAWITEM to its menu.
    form->MainMenu1->SetOwnerDraw(true);
    int measures = 0, draws = 0;
    form->NNew->OnMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) { ++measures; w = 140; h = 22; };
    form->NNew->OnDrawItem = [&](TObject*, TCanvas* c, RECT r, bool) {
        ++draws;
        EXPECT_EQ(r.bottom - r.top, 22);
        c->Brush().SetColor(clLime);
        c->FillRect(r);
    };
    int ticks = 0;
    ThreadTimer timer(50, [&] {
        if (draws > 0 || ++ticks > 100) EndMenu();
    });
    TrackPopupMenu(form->NFile->Handle(), TPM_LEFTALIGN, 100, 100, 0, wnd, nullptr);
    EXPECT_EQ(measures, 1);
    EXPECT_GE(draws, 1);
    EXPECT_TRUE(menutest::ReportedExceptions().empty());
}

TEST_F(MenuFormFixture, PopupMenu_ContextMenuOfControl) {
    auto* popup = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("Context");
    popup->Items()->Add(item);
    form->SetPopupMenu(popup);
    int popups = 0;
    popup->OnPopup = [&](TObject*) { ++popups; };
    {
        ThreadTimer timer(50, [] { if (menutest::ThreadMenuWindow()) EndMenu(); });
        SendMessageA(wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(150, 150));
    }
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(popup->PopupComponent(), form);
}

TEST(MenuHandles, FreedWithFormAndMenu) {
    auto* form = new TMenuTestForm(Application);
    form->InitFromText(kMenuForm);
    form->Handle();
    std::vector<HMENU> handles{form->MainMenu1->Handle(), form->NFile->Handle(), form->NSub->Handle()};
    for (HMENU h : handles) EXPECT_TRUE(IsMenu(h));
    delete form;
    for (HMENU h : handles) EXPECT_FALSE(IsMenu(h)) << h;

    // A menu freed while its form lives takes its bar back from the window first.
    form = new TMenuTestForm(Application);
    form->InitFromText(kMenuForm);
    HWND wnd = form->Handle();
    HMENU bar = form->MainMenu1->Handle();
    delete form->MainMenu1;
    EXPECT_EQ(GetMenu(wnd), nullptr);
    EXPECT_FALSE(IsMenu(bar));
    delete form;
}

TEST(MenuHandles, WindowRecreatedGetsNewBar) {
    auto* form = new TMenuTestForm(Application);
    form->InitFromText(kMenuForm);
    form->Handle();
    form->SetBorderStyle(bsSingle);  // makes the window again; the old one took the bar with it
    HMENU bar = GetMenu(form->Handle());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, form->MainMenu1->Handle());
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(entry(bar, 0).sub, form->NFile->Handle());
    EXPECT_EQ(GetMenuItemCount(form->NFile->Handle()), 4);
    delete form;
}

// ---- shortcuts ---------------------------------------------------------------------

TEST(ShortCut, TextRoundTrip) {
    struct Row {
        const char* text;
        TShortCut value;
        const char* written;
    } rows[] = {
        {"Ctrl+N", static_cast<TShortCut>(scCtrl | 'N'), "Ctrl+N"},
        {"ALT+F4", static_cast<TShortCut>(scAlt | VK_F4), "Alt+F4"},
        {"F3", VK_F3, "F3"},
        {"Del", VK_DELETE, "Del"},
        {"Delete", VK_DELETE, "Del"},
        {"Shift+Ctrl+Z", static_cast<TShortCut>(scShift | scCtrl | 'Z'), "Shift+Ctrl+Z"},
        {"ctrl+shift+a", static_cast<TShortCut>(scShift | scCtrl | 'A'), "Shift+Ctrl+A"},
        {"Ctrl+PgDn", static_cast<TShortCut>(scCtrl | VK_NEXT), "Ctrl+PgDn"},
        {"F12", VK_F12, "F12"},
        {"Esc", VK_ESCAPE, "Esc"},
        {"", 0, ""},
        {"Ctrl+", 0, ""},
        {"Ctrl+Nope", 0, ""},
        {"F25", 0, ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(TextToShortCut(r.text), r.value) << "row " << r.text;
        EXPECT_EQ(ShortCutToText(r.value), r.written) << "row " << r.text;
    }
}

TEST(ShortCut, CaptionAccelerators) {
    EXPECT_EQ(StripHotkey("&File"), "File");
    EXPECT_EQ(StripHotkey("Save && Exit"), "Save & Exit");
    EXPECT_EQ(GetHotkey("E&xit"), 'X');
    EXPECT_EQ(GetHotkey("A && B"), 0);
    EXPECT_TRUE(IsAccel('f', "\xCE\xC4\xBC\xFE(&F)"));
    EXPECT_FALSE(IsAccel('g', "\xCE\xC4\xBC\xFE(&F)"));
    // A GBK trail byte that equals '&' is not an accelerator mark.
    EXPECT_EQ(GetHotkey("\x81\x26X"), 0);
}

// ---- popup menus -------------------------------------------------------------------

namespace {

struct PopupFixture : ::testing::Test {
    void SetUp() override {
        owner = new TComponent(nullptr);
        menu = new TPopupMenu(owner);
        for (const char* caption : {"First", "-", "Second", "Third"}) {
            auto* item = new TMenuItem(owner);
            item->SetCaption(caption);
            const int index = static_cast<int>(items.size());
            item->OnClick = [this, index](TObject*) { clicked.push_back(index); };
            menu->Items()->Add(item);
            items.push_back(item);
        }
    }
    void TearDown() override { delete owner; }

    TComponent* owner = nullptr;
    TPopupMenu* menu = nullptr;
    std::vector<TMenuItem*> items;
    std::vector<int> clicked;
};

}  // namespace

TEST_F(PopupFixture, PopupMenu_EndMenuFromTimerCloses) {
    int popups = 0;
    menu->OnPopup = [&](TObject* sender) {
        EXPECT_EQ(sender, menu);
        ++popups;
    };
    bool sawMenuWindow = false;
    ThreadTimer timer(100, [&] {
        sawMenuWindow = sawMenuWindow || menutest::ThreadMenuWindow() != nullptr;
        EndMenu();
    });
    menu->Popup(100, 100);  // returns once the timer has ended the menu
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(sawMenuWindow);
    EXPECT_TRUE(clicked.empty());
}

TEST_F(PopupFixture, PopupMenu_KeysChooseItem) {
    // Down twice passes over the separator to "Second"; Enter chooses it.  The keys are
    // typed from inside the menu's own loop.
    int step = 0;
    ThreadTimer timer(100, [&] {
        HWND popup = menutest::ThreadMenuWindow();
        if (!popup) return;
        switch (step++) {
        case 0: PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0); break;
        case 1: PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0); break;
        case 2: PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0); break;
        default: if (step > 40) EndMenu(); break;
        }
    });
    menu->Popup(120, 120);
    // The chosen item ran before Popup returned.
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], 2);
}

TEST_F(PopupFixture, PopupMenu_OwnerDrawnAcceleratorChoosesItem) {
    // Owner-drawn items have no mnemonics of their own: the popup-list window answers
    // WM_MENUCHAR with the item whose caption has the accelerator.
    menu->SetOwnerDraw(true);
    items[2]->SetCaption("&Second");
    items[3]->SetCaption("&Third");
    int step = 0;
    ThreadTimer timer(100, [&] {
        HWND popup = menutest::ThreadMenuWindow();
        if (!popup) return;
        if (step++ == 0) PostMessageA(popup, WM_CHAR, 't', 0);
        else if (step > 30) EndMenu();
    });
    menu->Popup(120, 120);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], 3);
}

TEST_F(PopupFixture, PopupMenu_PopupMenuAtSetsComponentAndHonoursAutoPopup) {
    TComponent sender(nullptr);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    {
        ThreadTimer timer(50, [] { EndMenu(); });
        PopupMenuAt(menu, 50, 50, nullptr);
    }
    EXPECT_EQ(popups, 1);
    menu->SetAutoPopup(false);
    PopupMenuAt(menu, 50, 50, nullptr);
    EXPECT_EQ(popups, 1);
}

TEST_F(PopupFixture, PopupMenu_OwnerDrawCallsItemHandlers) {
    menu->SetOwnerDraw(true);
    struct Drawn {
        int item;
        RECT rect;
    };
    std::vector<int> measured;
    std::vector<Drawn> drawn;
    for (size_t i = 0; i < items.size(); ++i) {
        items[i]->OnMeasureItem = [&, i](TObject* sender, TCanvas* canvas, int& w, int& h) {
            EXPECT_EQ(sender, items[i]);
            EXPECT_NE(canvas->Handle(), nullptr);
            EXPECT_GT(w, 0) << "the default width comes in";
            measured.push_back(static_cast<int>(i));
            w = 150;
            h = 24;
        };
        items[i]->OnDrawItem = [&, i](TObject*, TCanvas* canvas, RECT r, bool) {
            canvas->Brush().SetColor(clRed);
            canvas->FillRect(r);
            drawn.push_back({static_cast<int>(i), r});
        };
    }
    int ticks = 0;
    ThreadTimer timer(50, [&] {
        if (drawn.size() >= items.size() || ++ticks > 100) EndMenu();
    });
    menu->Popup(80, 80);
    EXPECT_EQ(measured.size(), items.size());
    ASSERT_GE(drawn.size(), items.size());
    // Rectangles are in the popup's client coordinates, one below the other.
    std::sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.item < b.item; });
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(drawn[i].rect.bottom - drawn[i].rect.top, 24) << "item " << i;
        EXPECT_GE(drawn[i].rect.right - drawn[i].rect.left, 150) << "item " << i;
        EXPECT_LT(drawn[i].rect.left, 20) << "item " << i;
        if (i > 0) {
            EXPECT_EQ(drawn[i].rect.top, drawn[i - 1].rect.bottom) << "item " << i;
        }
    }
    EXPECT_LT(drawn[0].rect.top, 20);
}

namespace {
WNDPROC listProc = nullptr;
int listMeasures = 0, listDraws = 0;
LRESULT CALLBACK countingListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MEASUREITEM) ++listMeasures;
    if (msg == WM_DRAWITEM) ++listDraws;
    return CallWindowProcA(listProc, wnd, msg, wParam, lParam);
}
}  // namespace

TEST_F(PopupFixture, PopupMenu_OwnerDrawDefaultLookWithoutHandlers) {
    menu->SetOwnerDraw(true);
    items[0]->SetChecked(true);
    HWND list = TPopupMenu::PopupListWindow();
    listMeasures = listDraws = 0;
    listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingListProc)));
    int ticks = 0;
    ThreadTimer timer(50, [&] {
        if (listDraws >= static_cast<int>(items.size()) || ++ticks > 100) EndMenu();
    });
    menu->Popup(60, 60);
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
    // The popup-list window was asked for every item and answered with the default look.
    EXPECT_EQ(listMeasures, static_cast<int>(items.size()));
    EXPECT_GE(listDraws, static_cast<int>(items.size()));
    EXPECT_TRUE(menutest::ReportedExceptions().empty());
}

// ---- default owner-draw look, drawn into a bitmap ----------------------------------

namespace {

struct Surface {
    Surface(int w, int h) : width(w), height(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc.reset(CreateCompatibleDC(nullptr));
        bitmap.reset(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
        old = SelectObject(dc.get(), bitmap.get());
    }
    ~Surface() { SelectObject(dc.get(), old); }
    COLORREF at(int x, int y) const {
        uint32_t p = bits[y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int countColour(COLORREF c, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
        return n;
    }
    int width, height;
    UniqueMemDC dc;
    UniqueBitmap bitmap;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
};

}  // namespace

TEST_F(PopupFixture, MenuItem_DefaultDrawing) {
    Surface s(220, 24);
    TCanvas canvas;
    canvas.SetHandle(s.dc.get());
    const RECT r{0, 0, 220, 24};

    items[0]->SetChecked(true);
    items[0]->SetShortCut(scCtrl | 'N');
    items[0]->DrawItem(canvas, r, true);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    EXPECT_EQ(s.at(219, 0), highlight) << "selected items are filled with the highlight colour";
    EXPECT_GT(s.countColour(highlightText, RECT{0, 0, 24, 24}), 5) << "check mark";
    EXPECT_GT(s.countColour(highlightText, RECT{24, 0, 110, 24}), 5) << "caption";
    EXPECT_GT(s.countColour(highlightText, RECT{150, 0, 215, 24}), 5) << "shortcut text on the right";

    items[3]->SetEnabled(false);
    items[3]->DrawItem(canvas, r, false);
    EXPECT_EQ(s.at(219, 0), GetSysColor(COLOR_MENU));
    EXPECT_GT(s.countColour(GetSysColor(COLOR_GRAYTEXT), r), 5) << "disabled text is greyed";
    EXPECT_EQ(s.countColour(GetSysColor(COLOR_MENUTEXT), RECT{0, 0, 24, 24}), 0) << "no check mark";
    canvas.SetHandle(nullptr);
}

TEST_F(PopupFixture, MenuItem_DefaultMeasuring) {
    Surface s(10, 10);
    TCanvas canvas;
    canvas.SetHandle(s.dc.get());
    canvas.Font().Assign(Screen->MenuFont());
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0, ws = 0, hs = 0;
    items[0]->MeasureItem(canvas, w1, h1);
    items[0]->SetShortCut(scCtrl | 'N');
    items[0]->MeasureItem(canvas, w2, h2);
    items[1]->MeasureItem(canvas, ws, hs);
    EXPECT_GT(w1, canvas.TextWidth("First"));
    EXPECT_GT(w2, w1 + canvas.TextWidth("Ctrl+N")) << "room for the shortcut text";
    EXPECT_GE(h1, 16);
    EXPECT_EQ(hs, 8) << "separator";
    canvas.SetHandle(nullptr);
}

TEST_F(PopupFixture, MenuItem_DefaultDrawingShowsImageOfMenuImages) {
    TImageList images(nullptr);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas().Brush().SetColor(clRed);
    glyph.Canvas().FillRect(RECT{0, 0, 16, 16});
    glyph.Canvas().Brush().SetColor(clFuchsia);  // the transparent key
    glyph.Canvas().FillRect(RECT{0, 0, 16, 4});
    ASSERT_EQ(images.AddMasked(glyph, clFuchsia), 0);
    SetPropValue(*menu, "Images", static_cast<TObject*>(&images));
    EXPECT_EQ(items[2]->GetImageList(), &images);

    Surface s(200, 24);
    TCanvas canvas;
    canvas.SetHandle(s.dc.get());
    const RECT r{0, 0, 200, 24};
    items[2]->SetImageIndex(0);
    items[2]->DrawItem(canvas, r, false);
    const int red = s.countColour(RGB(255, 0, 0), RECT{0, 0, 24, 24});
    EXPECT_GE(red, 16 * 10) << "the glyph, less its transparent rows";
    EXPECT_EQ(s.at(10, 5), GetSysColor(COLOR_MENU)) << "transparent rows show the background";

    // An index outside the list draws no glyph; a disabled item's glyph is embossed.
    items[2]->SetImageIndex(5);
    items[2]->DrawItem(canvas, r, false);
    EXPECT_EQ(s.countColour(RGB(255, 0, 0), r), 0);
    items[2]->SetImageIndex(0);
    items[2]->SetEnabled(false);
    items[2]->DrawItem(canvas, r, false);
    EXPECT_EQ(s.countColour(RGB(255, 0, 0), r), 0);
    canvas.SetHandle(nullptr);

    SetPropValue(*menu, "Images", static_cast<TObject*>(nullptr));
    EXPECT_EQ(menu->Images(), nullptr);

    // Freeing the image list clears the menu's reference.
    auto* other = new TImageList(nullptr);
    menu->SetImages(other);
    delete other;
    EXPECT_EQ(menu->Images(), nullptr);
}

// ---- resources -----------------------------------------------------------------------

TEST(MenuResources, NoLeaksOverFormMenuAndPopupCycles) {
    auto cycle = [] {
        auto* form = new TMenuTestForm(Application);
        form->InitFromText(kMenuForm);
        form->Handle();
        form->NFile->SetCaption("Changed");  // a rebuild
        {
            Surface s(200, 24);
            TCanvas canvas;
            canvas.SetHandle(s.dc.get());
            form->NWrap->DrawItem(canvas, RECT{0, 0, 200, 24}, true);
            form->NOff->DrawItem(canvas, RECT{0, 0, 200, 24}, false);
            canvas.SetHandle(nullptr);
        }
        auto* popup = new TPopupMenu(form);
        popup->SetOwnerDraw(true);
        int draws = 0;
        for (const char* caption : {"One", "-", "Two"}) {
            auto* item = new TMenuItem(form);
            item->SetCaption(caption);
            item->SetChecked(true);
            // The default look, counted: each cycle ends the menu only once it was drawn,
            // so that every cycle makes the same objects.
            item->OnDrawItem = [&draws](TObject* sender, TCanvas* canvas, RECT r, bool selected) {
                ++draws;
                static_cast<TMenuItem*>(sender)->DrawItem(*canvas, r, selected);
            };
            popup->Items()->Add(item);
        }
        {
            int ticks = 0;
            ThreadTimer timer(30, [&] { if (draws >= 3 || ++ticks > 200) EndMenu(); });
            popup->Popup(40, 40);
        }
        EXPECT_GE(draws, 3);
        delete form;
    };
    cycle();  // objects made once per process (fonts, the popup-list window) come first
    EXPECT_TRUE(menutest::NoGrowthOverCycles(cycle, 5));
}
