// The rich edit: text put in at the caret or over the selection, the modified flag,
// search, plain and rich text files, lines as paragraphs, the font as the default
// character format, and the document across a new window.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include "ControlsTestSupport.h"
#include "RichEdit.h"

namespace {

const char* const kEditForm = u8R"(object F: TForm
  Width = 500
  Height = 400
  object RichEdit1: TRichEdit
    Left = 0
    Top = 0
    Width = 480
    Height = 300
    Font.Charset = GB2312_CHARSET
    Font.Color = clBlue
    Font.Height = -14
    Font.Name = '宋体'
    ScrollBars = ssVertical
    TabOrder = 0
  end
end
)";

// Bold plain text, a GBK word and a second paragraph.
const char* const kRtf =
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
    "\\pard\\f0\\fs20 plain \\b bold\\b0  \\'d6\\'d0\\'ce\\'c4\\par\r\nsecond\\par\r\n}\r\n";

TRichEdit* editOf(TForm& f) { return dynamic_cast<TRichEdit*>(f.FindComponent("RichEdit1")); }

bool boldAt(TRichEdit& e, int start, int end) {
    CHARRANGE r{start, end};
    SendMessageA(e.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    SendMessageA(e.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return (cf.dwMask & CFM_BOLD) && (cf.dwEffects & CFE_BOLD);
}

}  // namespace

TEST(TRichEdit_SelText, InsertsAtTheCaretAndReplacesASelection) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    ASSERT_NE(nullptr, e);
    e->HandleNeeded();
    e->SetText("abcdef");
    e->SetModified(false);
    e->SetSelStart(3);
    e->SetSelText("XY");
    EXPECT_EQ(std::string("abcXYdef"), e->Text());
    EXPECT_EQ(5, e->SelStart());  // the caret after the inserted text
    EXPECT_TRUE(e->Modified());
    e->SetSelStart(0);
    e->SetSelLength(3);
    EXPECT_EQ(std::string("abc"), e->SelText());
    e->SetSelText("语音");
    EXPECT_EQ(std::string("语音XYdef"), e->Text());
    EXPECT_EQ(2, e->SelStart());
    EXPECT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(std::string("abcXYdef"), e->Text());
    e->SelectAll();
    e->ClearSelection();
    EXPECT_EQ(std::string(""), e->Text());
}

TEST(TRichEdit_Modified, SetAndClearedByTheProgram) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    e->HandleNeeded();
    EXPECT_FALSE(e->Modified());
    e->SetSelText("dictated");
    EXPECT_TRUE(e->Modified());
    e->SetModified(false);
    EXPECT_FALSE(e->Modified());
    EXPECT_EQ(0, SendMessageA(e->Handle(), EM_GETMODIFY, 0, 0));
}

TEST(TRichEdit_FindText, CaseWholeWordRangeAndChinese) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    e->SetText("Hello hello HELLO cat concatenate cat");
    const int len = e->GetTextLen();
    struct Row {
        const char* what;
        int start, length;
        TSearchTypes options;
        int expected;
    };
    const Row rows[] = {
        {"hello", 0, len, 0, 0},
        {"hello", 0, len, 1u << stMatchCase, 6},
        {"HELLO", 1, len - 1, 1u << stMatchCase, 12},
        {"hello", 7, len - 7, 1u << stMatchCase, -1},
        {"cat", 0, len, 1u << stWholeWord, 18},
        {"cat", 19, len - 19, 1u << stWholeWord, 34},
        {"cat", 19, len - 19, 0, 25},
        {"Hello", 0, 3, 0, -1},  // the range is too short to hold it
        {"dog", 0, -1, 0, -1},
        {"", 0, -1, 0, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.expected, e->FindText(r.what, r.start, r.length, r.options))
            << "'" << r.what << "' from " << r.start << " options " << r.options;
    e->SetText("语音输入语音");
    EXPECT_EQ(2, e->FindText("输入", 0, -1, 0));
    EXPECT_EQ(4, e->FindText("语音", 1, -1, 0));
}

TEST(TRichEdit_Files, PlainTextRoundTripOfAGbkFile) {
    ctltest::TempFolder dir;
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    e->SetPlainText(true);
    std::string content = "中文第一行\r\n第二行 abc\r\n";
    for (int i = 0; i < 400; ++i) content += "语音输入的第" + std::to_string(i) + "行，標點。\r\n";  // past any buffer size
    content += "最后一行";
    const std::string in = dir.File("in.txt"), out = dir.File("out.txt");
    ctltest::WriteBytes(in, content);
    e->Lines().LoadFromFile(in);
    EXPECT_EQ(content, e->Text());
    EXPECT_EQ(403, e->Lines().Count());
    EXPECT_EQ(std::string("第二行 abc"), e->Lines()[1]);
    e->Lines().SaveToFile(out);
    EXPECT_EQ(content, ctltest::ReadBytes(out));
}

// The control reads plain text in buffers; a CR LF split between two of them once
// became two paragraph breaks (Wine), adding an empty line to the document.
TEST(TRichEdit_Files, LineEndsAcrossTheControlsBuffersStayOneBreak) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    std::wstring text;
    for (int i = 0; i < 3000; ++i) text += L"abc\r\n";  // 5 characters: the pairs fall across every buffer size
    e->SetWideText(text);
    EXPECT_EQ(3000, static_cast<int>(SendMessageA(e->Handle(), EM_GETLINECOUNT, 0, 0)) - 1);
    const std::wstring back = e->WideText();
    EXPECT_EQ(std::wstring::npos, back.find(L"\r\r"));
    EXPECT_EQ(3000u * 4, back.size());
}

TEST(TRichEdit_Files, RtfFileLoadsAsRichTextAndSavesBack) {
    ctltest::TempFolder dir;
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    const std::string in = dir.File("in.rtf"), out = dir.File("out.rtf");
    ctltest::WriteBytes(in, kRtf);
    e->Lines().LoadFromFile(in);
    EXPECT_EQ(0u, e->Text().find("plain bold 中文\r\nsecond")) << e->Text();
    EXPECT_TRUE(boldAt(*e, 6, 10));
    EXPECT_FALSE(boldAt(*e, 0, 5));
    e->Lines().SaveToFile(out);
    const std::string saved = ctltest::ReadBytes(out);
    EXPECT_EQ(0u, saved.find("{\\rtf")) << saved.substr(0, 40);

    std::string second = kEditForm;
    second.replace(second.find("object F:"), 9, "object G:");
    auto g = ctltest::FormFromText(second);
    TRichEdit* other = editOf(*g);
    other->Lines().LoadFromFile(out);
    EXPECT_EQ(e->Text(), other->Text());
    EXPECT_TRUE(boldAt(*other, 6, 10));
}

TEST(TRichEdit_Files, RtfFileIsTextWhenPlainText) {
    ctltest::TempFolder dir;
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    e->SetPlainText(true);
    const std::string in = dir.File("in.rtf");
    ctltest::WriteBytes(in, kRtf);
    e->Lines().LoadFromFile(in);
    EXPECT_EQ(0u, e->Text().find("{\\rtf1\\ansi")) << e->Text().substr(0, 40);
}

TEST(TRichEdit_Files, MissingFileRaises) {
    auto f = ctltest::FormFromText(kEditForm);
    EXPECT_THROW(editOf(*f)->Lines().LoadFromFile("C:\\no\\such\\file.txt"), Exception);
}

TEST(TRichEdit_Lines, ParagraphsAreLines) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    e->HandleNeeded();
    e->Lines().Add("one");
    e->Lines().Add("two");
    e->Lines().Add("three");
    EXPECT_EQ(3, e->Lines().Count());
    EXPECT_EQ(std::string("one\r\ntwo\r\nthree"), e->Text());
    e->Lines().Insert(1, "一点五");
    EXPECT_EQ(std::string("一点五"), e->Lines()[1]);
    e->Lines().Delete(3);
    e->Lines().Put(0, "zero");
    EXPECT_EQ(std::string("zero\r\n一点五\r\ntwo\r\n"), e->Lines().Text());
    e->Lines().Clear();
    EXPECT_EQ(0, e->Lines().Count());
}

TEST(TRichEdit_Lines, KeptWithoutAWindow) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    e->Lines().Add("first");
    e->Lines().Add("第二");
    EXPECT_FALSE(e->HandleAllocated());
    EXPECT_EQ(2, e->Lines().Count());
    EXPECT_EQ(std::string("first\r\n第二"), e->Text());
    EXPECT_EQ(std::string("first\r\n第二"), e->Text());
    e->HandleNeeded();
    EXPECT_EQ(std::string("first\r\n第二"), e->Text());
    EXPECT_EQ(std::string("第二"), e->Lines()[1]);
}

TEST(TRichEdit_Recreate, DocumentFormattingAndFlagsSurviveANewWindow) {
    ctltest::TempFolder dir;
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    const std::string in = dir.File("in.rtf");
    ctltest::WriteBytes(in, kRtf);
    e->Lines().LoadFromFile(in);
    e->SetModified(true);
    e->SetSelStart(3);
    const std::string text = e->Text();
    HWND before = e->Handle();
    EXPECT_FALSE(GetWindowLongPtrA(before, GWL_STYLE) & ES_AUTOHSCROLL);
    e->SetWordWrap(false);
    e->SetScrollBars(ssBoth);
    // (The control itself takes scroll bar styles away while nothing needs scrolling.)
    HWND after = e->Handle();
    EXPECT_TRUE(GetWindowLongPtrA(after, GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_EQ(ssBoth, e->ScrollBars());
    EXPECT_EQ(text, e->Text());
    EXPECT_TRUE(e->Modified());
    EXPECT_EQ(3, e->SelStart());
    EXPECT_TRUE(boldAt(*e, 6, 10));
}

TEST(TRichEdit_Font, FontIsTheDefaultCharacterFormat) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    SendMessageA(e->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    EXPECT_EQ(RGB(0, 0, 255), cf.crTextColor);
    EXPECT_FALSE(cf.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(GB2312_CHARSET, cf.bCharSet);
    EXPECT_EQ(std::string("宋体"), cf.szFaceName);
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(MulDiv(14, 1440, dpi), cf.yHeight);

    e->SetText("typed");
    e->Font().SetColor(clRed);
    e->Font().SetStyle(1u << fsBold);
    CHARRANGE all{0, -1};
    SendMessageA(e->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    CHARFORMAT2A sel{};
    sel.cbSize = sizeof sel;
    SendMessageA(e->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(RGB(255, 0, 0), sel.crTextColor);
    EXPECT_TRUE(sel.dwEffects & CFE_BOLD);
}

TEST(TRichEdit_Color, ColorIsTheBackground) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    e->SetColor(clMoneyGreen);
    // EM_SETBKGNDCOLOR answers with the colour it replaces.
    EXPECT_EQ(RGB(0xC0, 0xDC, 0xC0), static_cast<COLORREF>(SendMessageA(e->Handle(), EM_SETBKGNDCOLOR, 0, RGB(0xC0, 0xDC, 0xC0))));
}

TEST(TRichEdit_Notify, OnChangeAndOnSelectionChange) {
    auto f = ctltest::FormFromText(kEditForm);
    TRichEdit* e = editOf(*f);
    int changes = 0, selections = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    e->OnSelectionChange = [&](TObject*) { ++selections; };
    e->HandleNeeded();
    e->SetSelText("abc");
    EXPECT_GE(changes, 1);
    e->SetSelStart(1);
    EXPECT_GE(selections, 1);
}
