// The notepad's documents, search and edit commands, in this process.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <winspool.h>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Fnotepad.h"
#include "Menus.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "notepad_test_support.h"

using notepadtest::Standin;

namespace {

class NotepadDocuments : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        RegisterSkinClasses();
        TFnotepad::CommandLineParameters = [] { return std::vector<std::string>(); };
        notepadtest::CreateMarker();
        CurrentFileName.clear();
        form = Application->CreateForm<TFnotepad>();
        form->SetWindowState(wsNormal);
        form->Show();
        guitest::PumpMessages();
        ASSERT_TRUE(temp.Valid());
    }
    void TearDown() override {
        form->RichEdit1->SetModified(false);
        delete form;
        Application->SetMainForm(nullptr);
        CurrentFileName.clear();
        guitest::PumpMessages();
    }
    std::string path(const char* name) { return guitest::ToAnsi(temp.File(guitest::ToWide(name))); }
    void write(const char* name, const std::string& bytes) { ASSERT_TRUE(guitest::WriteFileBytes(temp.File(guitest::ToWide(name)), bytes)); }
    std::string read(const std::string& p) { return guitest::ReadFileBytes(guitest::ToWide(p)); }

    guitest::TempDir temp{L"notepad"};
    TFnotepad* form = nullptr;
};

// An HDROP for a list of files, as the shell hands it over.
HGLOBAL makeDrop(const std::vector<std::string>& files) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const auto& f : files) size += f.size() + 1;
    HGLOBAL h = GlobalAlloc(GHND, size);
    auto* df = static_cast<DROPFILES*>(GlobalLock(h));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = FALSE;
    char* p = reinterpret_cast<char*>(df) + sizeof(DROPFILES);
    for (const auto& f : files) {
        memcpy(p, f.c_str(), f.size() + 1);
        p += f.size() + 1;
    }
    GlobalUnlock(h);
    return h;
}

}  // namespace

TEST_F(NotepadDocuments, Caption_UntitledAndNamed) {
    form->UpdateCaption();
    EXPECT_EQ(std::string("Orvisk - 未命名"), form->Caption());
    CurrentFileName = "C:\\docs\\letter.txt";
    form->UpdateCaption();
    EXPECT_EQ("Orvisk - letter.txt", form->Caption());
    EXPECT_FALSE(form->RichEdit1->Modified());
}

TEST_F(NotepadDocuments, QuerySave_OnlyWhenModifiedWithTheDocumentName) {
    EXPECT_EQ(-1, form->QuerySave());
    form->RichEdit1->SetSelText("x");
    int answer = 0;
    std::string text = guitest::ExpectMessageBox([&] { answer = form->QuerySave(); }, IDCANCEL);
    EXPECT_EQ(IDCANCEL, answer);
    EXPECT_EQ(std::string("文件 无标题 的内容已经改变。\r\n想保存文件吗?"), text);
}

TEST_F(NotepadDocuments, Open_MissingFileIsReportedAndNothingChanges) {
    std::string text = guitest::ExpectMessageBox([&] { form->OpenFile(path("nothing.txt")); }, IDOK);
    EXPECT_EQ(std::string("此文件不存在！"), text);
    EXPECT_TRUE(CurrentFileName.empty());
}

TEST_F(NotepadDocuments, Open_PlainOrRichByExtension) {
    write("a.doc", "plain \xD6\xD0\xCE\xC4\r\nline 2\r\n");
    form->OpenFile(path("a.doc"));
    EXPECT_TRUE(form->RichEdit1->PlainText());
    EXPECT_EQ("Orvisk - a.doc", form->Caption());
    EXPECT_EQ(std::string("plain 中文"), form->RichEdit1->Lines()[0]);
    write("b.RTF", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 bold {\\b text}\\par}");
    form->OpenFile(path("b.RTF"));
    EXPECT_FALSE(form->RichEdit1->PlainText());
    EXPECT_EQ("bold text", form->RichEdit1->Lines()[0]);
    EXPECT_EQ(path("b.RTF"), CurrentFileName);
}

TEST_F(NotepadDocuments, Save_NamedDocumentWritesPlainTextWithCrLf) {
    write("c.rtf", "{\\rtf1\\ansi one\\par two\\par}");
    form->OpenFile(path("c.rtf"));
    form->RichEdit1->SetSelStart(0);
    form->RichEdit1->SetSelText("\xD6\xD0");
    ASSERT_TRUE(form->RichEdit1->Modified());
    form->M_SaveClick(form);
    EXPECT_FALSE(form->RichEdit1->Modified());
    const std::string saved = read(path("c.rtf"));
    EXPECT_EQ(std::string("\xD6\xD0one\r\ntwo\r\n"), saved.substr(0, 12));
    EXPECT_EQ(std::string::npos, saved.find("rtf"));
}

TEST_F(NotepadDocuments, Save_FailureIsReportedAndTheDocumentStaysModified) {
    CurrentFileName = path("no such folder\\d.txt");
    form->RichEdit1->SetSelText("text");
    std::string text = guitest::ExpectMessageBox([&] { form->M_SaveClick(form); }, IDOK);
    EXPECT_EQ("Orvisk\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6\xCE\xC4\xBC\xFE " + CurrentFileName + " \xA1\xA3", text);
    EXPECT_TRUE(form->RichEdit1->Modified());
}

TEST_F(NotepadDocuments, New_EmptiesAndNamesUntitled) {
    write("e.txt", "abc");
    form->OpenFile(path("e.txt"));
    form->M_NewFilesClick(form);
    EXPECT_EQ("", form->RichEdit1->Text());
    EXPECT_TRUE(CurrentFileName.empty());
    EXPECT_EQ(std::string("Orvisk - 未命名"), form->Caption());
}

TEST_F(NotepadDocuments, DroppedFiles_LastOneStaysWithoutQuestion) {
    write("one.txt", "first");
    write("two.txt", "second");
    write("three.txt", "third");
    form->RichEdit1->SetSelText("unsaved");
    HGLOBAL drop = makeDrop({path("one.txt"), path("two.txt"), path("three.txt")});
    SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ("third", form->RichEdit1->Lines()[0]);
    EXPECT_EQ(path("three.txt"), CurrentFileName);
    EXPECT_EQ("Swaplet-three.txt", form->Caption());
}

TEST_F(NotepadDocuments, CloseQuery_CancelKeepsTheProgram) {
    form->RichEdit1->SetSelText("x");
    bool canClose = true;
    guitest::ExpectMessageBox([&] { form->FormCloseQuery(form, canClose); }, IDCANCEL);
    EXPECT_FALSE(canClose);
    form->RichEdit1->SetModified(false);
    form->FormCloseQuery(form, canClose);
    EXPECT_TRUE(canClose);
}

TEST_F(NotepadDocuments, Search_FindsForwardSelectsAndReportsTheEnd) {
    form->RichEdit1->SetText("ab 中文 ab 中文 end");
    form->RichEdit1->SetSelStart(0);
    form->RichEdit1->SetSelLength(0);
    ASSERT_TRUE(form->SearchText("中文", 0));
    EXPECT_EQ(3, form->RichEdit1->SelStart());
    EXPECT_GE(form->RichEdit1->SelLength(), 2);  // the rich edit counts its final paragraph mark too
    EXPECT_EQ(std::string("中文"), form->RichEdit1->SelText());
    ASSERT_TRUE(form->SearchText("中文", 0));
    EXPECT_EQ(9, form->RichEdit1->SelStart());
    bool found = true;
    std::string text = guitest::ExpectMessageBox([&] { found = form->SearchText("中文", 0); }, IDOK);
    EXPECT_FALSE(found);
    EXPECT_EQ(std::string("找不到 ''中文''"), text);
    EXPECT_EQ(9, form->RichEdit1->SelStart());  // no wrap to the start
}

TEST_F(NotepadDocuments, Search_MatchCaseOption) {
    form->RichEdit1->SetText("Word word");
    form->RichEdit1->SetSelStart(0);
    form->RichEdit1->SetSelLength(0);
    ASSERT_TRUE(form->SearchText("word", 1u << stMatchCase));
    EXPECT_EQ(5, form->RichEdit1->SelStart());
}

TEST_F(NotepadDocuments, WordWrap_ToggleTwiceKeepsCaretAndScrollBars) {
    form->RichEdit1->SetText("some text here");
    form->RichEdit1->SetSelStart(5);
    form->RichEdit1->SetSelLength(0);
    ASSERT_TRUE(form->M_AutoLines->Checked());
    form->M_AutoLinesClick(form);
    EXPECT_FALSE(form->M_AutoLines->Checked());
    EXPECT_FALSE(form->RichEdit1->WordWrap());
    EXPECT_EQ(ssBoth, form->RichEdit1->ScrollBars());
    form->M_AutoLinesClick(form);
    EXPECT_TRUE(form->RichEdit1->WordWrap());
    EXPECT_EQ(ssVertical, form->RichEdit1->ScrollBars());
    EXPECT_EQ(5, form->RichEdit1->SelStart());
}

TEST_F(NotepadDocuments, EditCommands_DeleteSelectAllAndDate) {
    form->RichEdit1->SetText("abc");
    form->RichEdit1->SetSelStart(1);
    form->RichEdit1->SetSelLength(0);
    form->M_DelClick(form);  // nothing selected: the character after the caret
    EXPECT_EQ("ac", form->RichEdit1->Text());
    form->M_CtrlAClick(form);
    EXPECT_GE(form->RichEdit1->SelLength(), 2);  // the rich edit counts its final paragraph mark too
    form->M_DelClick(form);
    EXPECT_EQ("", form->RichEdit1->Text());
    form->M_DateTimeClick(form);
    EXPECT_GE(form->RichEdit1->Text().size(), 8u);
}

TEST_F(NotepadDocuments, Print_WithoutPrinterShowsTheMessage) {
    char name[256];
    DWORD n = sizeof name;
    if (GetDefaultPrinterA(name, &n)) GTEST_SKIP() << "this prefix has a default printer";
    std::string text = guitest::ExpectMessageBox([&] { form->M_PrintClick(form); }, IDOK);
    EXPECT_EQ(std::string("无法找到默认的打印机\r\n请确认打印机已安装正确。"), text);
}

TEST_F(NotepadDocuments, HelpAndAbout_Texts) {
    std::string help = guitest::ExpectMessageBox([&] { form->M_HelpClick(form); }, IDOK);
    EXPECT_EQ(0u, help.find(std::string("软件使用帮助\r\n") + std::string(64, '-')));
    std::string about = guitest::ExpectMessageBox([&] { form->M_AboutClick(form); }, IDOK);
    EXPECT_EQ(std::string("★          关于本软件           ★\r\n") + std::string(36, '-') + "\r\n软件名称：Orvisk", about);
}
