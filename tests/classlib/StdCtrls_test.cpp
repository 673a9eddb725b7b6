// Edits, memos, list boxes and buttons: what they keep without a window and across
// RecreateWnd, their notifications, class names and class relations.
#include <gtest/gtest.h>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ControlsTestSupport.h"
#include "ExtCtrls.h"
#include "RichEdit.h"
#include "StdCtrls.h"

namespace {

const char* const kPlainForm = u8R"(object F: TForm
  Left = 0
  Top = 0
  Width = 400
  Height = 300
end
)";

template <class C>
C* addTo(TForm& form) {
    C* c = new C(&form);
    c->SetParent(&form);
    return c;
}

std::string windowText(HWND wnd) {
    int n = GetWindowTextLengthA(wnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(wnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

}  // namespace

// ---- list boxes --------------------------------------------------------------------

TEST(TListBox_Lines, KeptBeforeTheWindowAndAcrossRecreate) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* list = addTo<TListBox>(*f);
    list->Items().Add("alpha");
    list->Items().Add("第二");
    list->Items().Add("gamma");
    list->SetItemIndex(1);
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_EQ(3, list->Count());
    EXPECT_EQ(1, list->ItemIndex());
    EXPECT_EQ(std::string("第二"), list->Items()[1]);

    HWND first = list->Handle();
    EXPECT_EQ(3, SendMessageA(first, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageA(first, LB_GETCURSEL, 0, 0));
    char text[64] = {};
    SendMessageA(first, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::string("gamma"), text);

    list->Items().Add("delta");
    list->RecreateWnd();
    HWND second = list->Handle();
    EXPECT_EQ(4, SendMessageA(second, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, list->ItemIndex());
    EXPECT_EQ(std::string("第二"), list->Items()[1]);
    EXPECT_EQ(std::string("delta"), list->Items()[3]);

    list->Items().Delete(0);
    EXPECT_EQ(std::string("第二"), list->Items()[0]);
    list->Clear();
    EXPECT_EQ(0, list->Count());
    EXPECT_EQ(-1, list->ItemIndex());
}

TEST(TListBox_Lines, OutOfRangeIndexRaises) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* list = addTo<TListBox>(*f);
    list->Items().Add("only");
    EXPECT_THROW(list->Items().Get(1), EStringListError);
    list->HandleNeeded();
    EXPECT_THROW(list->Items().Get(1), EStringListError);
    EXPECT_THROW(list->Items().Delete(5), EStringListError);
}

TEST(TListBox_Lines, SortedListAddsInOrder) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* list = addTo<TListBox>(*f);
    list->SetSorted(true);
    list->Items().Add("pear");
    list->Items().Add("apple");
    EXPECT_EQ(std::string("apple"), list->Items()[0]);
    list->HandleNeeded();
    EXPECT_EQ(1, list->Items().Add("banana"));
    EXPECT_EQ(std::string("pear"), list->Items()[2]);
}

TEST(TListBox_Notify, ClickOnALineChoosesItAndFiresOnClick) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* list = addTo<TListBox>(*f);
    list->SetBounds(0, 0, 150, 120);
    for (const char* s : {"a", "b", "c"}) list->Items().Add(s);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    RECT item = list->ItemRect(2);
    const LPARAM at = MAKELPARAM(item.left + 4, item.top + 2);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(2, list->ItemIndex());
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(2, list->ItemAtPos(POINT{item.left + 4, item.top + 2}, true));
}

TEST(TListBox_Style, BorderAndCtl3DChooseTheEdge) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* list = addTo<TListBox>(*f);
    EXPECT_TRUE(GetWindowLongPtrA(list->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & LBS_NOTIFY);
    list->SetCtl3D(false);
    EXPECT_FALSE(GetWindowLongPtrA(list->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & WS_BORDER);
    list->SetBorderStyle(bsNone);
    EXPECT_FALSE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & WS_BORDER);
}

// ---- memos and edits ---------------------------------------------------------------

TEST(TMemo_Lines, SaveToFileWithoutAWindow) {
    ctltest::TempFolder dir;
    ASSERT_TRUE(dir.Valid());
    TMemo memo(nullptr);
    memo.Lines().Add("Memo1");
    memo.Lines().Add("第二行");
    const std::string path = dir.File("marker.ini");
    memo.Lines().SaveToFile(path);
    EXPECT_FALSE(memo.HandleAllocated());
    EXPECT_EQ(std::string("Memo1\r\n第二行\r\n"), ctltest::ReadBytes(path));

    TMemo other(nullptr);
    other.Lines().LoadFromFile(path);
    EXPECT_EQ(2, other.Lines().Count());
    EXPECT_EQ(std::string("第二行"), other.Lines()[1]);
}

TEST(TMemo_Lines, WrappedLongLineIsSavedWhole) {
    ctltest::TempFolder dir;
    auto f = ctltest::FormFromText(kPlainForm);
    auto* memo = addTo<TMemo>(*f);
    memo->SetBounds(0, 0, 60, 80);  // narrow: the long line shows on many rows
    memo->HandleNeeded();
    const std::string longLine(300, 'x');
    memo->Lines().SetText(longLine + "\r\nsecond");
    EXPECT_EQ(2, memo->Lines().Count());
    EXPECT_EQ(longLine, memo->Lines()[0]);
    const std::string path = dir.File("doc.txt");
    memo->Lines().SaveToFile(path);
    EXPECT_EQ(longLine + "\r\nsecond\r\n", ctltest::ReadBytes(path));
}

TEST(TMemo_Lines, StoredLinesSurviveRecreate) {
    auto f = ctltest::FormFromText(u8R"(object F: TForm
  Width = 300
  Height = 200
  object Memo1: TMemo
    Left = 8
    Top = 8
    Width = 185
    Height = 89
    Lines.Strings = (
      'Memo1'
      '语音')
    ScrollBars = ssVertical
  end
end
)");
    auto* memo = dynamic_cast<TMemo*>(f->FindComponent("Memo1"));
    ASSERT_NE(nullptr, memo);
    EXPECT_EQ(std::string("Memo1\r\n语音"), windowText(memo->Handle()));
    EXPECT_TRUE(GetWindowLongPtrA(memo->Handle(), GWL_STYLE) & WS_VSCROLL);
    memo->SetModified(true);
    memo->SetWordWrap(false);  // a new window
    EXPECT_TRUE(GetWindowLongPtrA(memo->Handle(), GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_EQ(std::string("Memo1\r\n语音"), memo->Text());
    EXPECT_TRUE(memo->Modified());
    memo->Lines().Insert(1, "middle");
    EXPECT_EQ(std::string("Memo1\r\nmiddle\r\n语音\r\n"), memo->Lines().Text());
}

TEST(TEdit_Selection, SelTextReplacesTheSelectionWithAndWithoutWindow) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* edit = addTo<TEdit>(*f);
    edit->SetText("abcdef");
    edit->SetSelStart(2);
    edit->SetSelLength(2);
    edit->SetSelText("XY");
    EXPECT_EQ(std::string("abXYef"), edit->Text());
    EXPECT_FALSE(edit->HandleAllocated());
    edit->HandleNeeded();
    EXPECT_EQ(std::string("abXYef"), windowText(edit->Handle()));
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    EXPECT_EQ(std::string("ab"), edit->SelText());
    edit->SetSelText("中");
    EXPECT_EQ(std::string("中XYef"), edit->Text());
    EXPECT_TRUE(edit->Modified());
    EXPECT_TRUE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(std::string("abXYef"), edit->Text());
}

TEST(TEdit_Notify, OnChangeFollowsTextChanges) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* edit = addTo<TEdit>(*f);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->HandleNeeded();
    edit->SetText("new");
    EXPECT_GE(changes, 1);
}

// ---- buttons -----------------------------------------------------------------------

TEST(TButton_Click, BmClickRunsOnClick) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* button = addTo<TButton>(*f);
    button->SetText("&OK");
    int clicks = 0;
    button->OnClick = [&](TObject* sender) { EXPECT_EQ(button, sender); ++clicks; };
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(std::string("&OK"), windowText(button->Handle()));
}

TEST(TButton_Default, DefaultButtonHasTheDefaultStyle) {
    auto f = ctltest::FormFromText(kPlainForm);
    auto* button = addTo<TButton>(*f);
    button->SetDefault(true);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongPtrA(button->Handle(), GWL_STYLE) & 0x0F);
    button->SetDefault(false);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongPtrA(button->Handle(), GWL_STYLE) & 0x0F);
}

// ---- class names and relations -----------------------------------------------------

TEST(Controls_ClassNames, WindowsAreRegisteredUnderTheControlsClassNames) {
    auto f = ctltest::FormFromText(kPlainForm);
    const std::pair<TWinControl*, const char*> controls[] = {
        {addTo<TListBox>(*f), "TListBox"},     {addTo<TMemo>(*f), "TMemo"},         {addTo<TEdit>(*f), "TEdit"},
        {addTo<TButton>(*f), "TButton"},       {addTo<TBitBtn>(*f), "TBitBtn"},     {addTo<TPanel>(*f), "TPanel"},
        {addTo<TSplitter>(*f), "TSplitter"},   {addTo<TProgressBar>(*f), "TProgressBar"},
        {addTo<TStatusBar>(*f), "TStatusBar"}, {addTo<TRichEdit>(*f), "TRichEdit"},
    };
    for (const auto& [control, name] : controls) {
        EXPECT_EQ(std::string(name), ctltest::ClassNameA(control->Handle())) << name;
        EXPECT_EQ(control, FindControl(control->Handle())) << name;
    }
}

TEST(Controls_ClassRelations, InheritsFromMirrorsTheClassTree) {
    struct Row {
        const char* cls;
        const char* ancestor;
    };
    const Row rows[] = {
        {"TRichEdit", "TCustomRichEdit"}, {"TRichEdit", "TCustomMemo"},    {"TRichEdit", "TCustomEdit"},
        {"TMemo", "TCustomMemo"},         {"TEdit", "TCustomEdit"},        {"TListBox", "TCustomListBox"},
        {"TBitBtn", "TButton"},           {"TPanel", "TCustomPanel"},      {"TPanel", "TCustomControl"},
        {"TStatusBar", "TCustomStatusBar"}, {"TSplitter", "TCustomControl"}, {"TProgressBar", "TWinControl"},
    };
    for (const Row& r : rows) {
        const TClassInfo* info = FindClassInfo(r.cls);
        ASSERT_NE(nullptr, info) << r.cls;
        EXPECT_TRUE(info->InheritsFrom(r.ancestor)) << r.cls << " from " << r.ancestor;
    }
    EXPECT_FALSE(FindClassInfo("TListBox")->InheritsFrom("TCustomEdit"));
    TRichEdit edit(nullptr);
    EXPECT_NE(nullptr, dynamic_cast<TCustomMemo*>(&edit));
    EXPECT_EQ(std::string("TRichEdit"), edit.ClassName());
}

TEST(Controls_PublishedProperties, SkinsFindThePropertiesByName) {
    TBitBtn bit(nullptr);
    for (const char* name : {"Glyph", "NumGlyphs", "Layout", "Margin", "Spacing", "Kind", "Caption", "Font", "Color", "ModalResult"})
        EXPECT_NE(nullptr, GetPropInfo(bit, name)) << name;
    EXPECT_EQ(std::string("blGlyphLeft"), GetEnumProp(bit, "Layout"));
    EXPECT_EQ(1, GetOrdProp(bit, "NumGlyphs"));
    TPanel panel(nullptr);
    for (const char* name : {"BevelOuter", "BevelInner", "BevelWidth", "BorderStyle", "Alignment", "Ctl3D", "Caption", "Color"})
        EXPECT_NE(nullptr, GetPropInfo(panel, name)) << name;
    EXPECT_EQ(std::string("bvRaised"), GetEnumProp(panel, "BevelOuter"));
    TStatusBar bar(nullptr);
    for (const char* name : {"Panels", "SimplePanel", "SimpleText", "SizeGrip", "Font", "OnDrawPanel"})
        EXPECT_NE(nullptr, GetPropInfo(bar, name)) << name;
    TRichEdit rich(nullptr);
    for (const char* name : {"BorderStyle", "Lines", "ScrollBars", "WordWrap", "PlainText", "HideSelection", "ReadOnly", "Ctl3D"})
        EXPECT_NE(nullptr, GetPropInfo(rich, name)) << name;
    EXPECT_EQ(std::string("bsSingle"), GetEnumProp(rich, "BorderStyle"));
    TListBox list(nullptr);
    for (const char* name : {"Items", "ItemIndex", "BorderStyle", "Ctl3D", "Color", "OnDblClick"})
        EXPECT_NE(nullptr, GetPropInfo(list, name)) << name;
}
