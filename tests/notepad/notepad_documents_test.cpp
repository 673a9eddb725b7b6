// The notepad's documents, search and edit commands, in this process.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <winspool.h>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Fnotepad.h"
#include "Menus.h"
#include "RichEdit.h"
#include "SkinMessages.h"
#include "StdCtrls.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "notepad_test_support.h"

using notepadtest::ChooseFile;
using notepadtest::Press;
using notepadtest::RunDialogs;
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
    // The file was read as rich text: plain text replaces it only when the user agrees.
    auto boxes = RunDialogs([&] { form->M_SaveClick(form); }, {Press(IDNO)});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0].text.find("RTF")) << boxes[0].text;
    EXPECT_TRUE(form->RichEdit1->Modified());
    EXPECT_EQ("{\\rtf1\\ansi one\\par two\\par}", read(path("c.rtf")));
    RunDialogs([&] { form->M_SaveClick(form); }, {Press(IDYES)});
    EXPECT_FALSE(form->RichEdit1->Modified());
    // Plain text now: the next save asks nothing.
    form->RichEdit1->SetSelText("x");
    form->M_SaveClick(form);
    const std::string saved = read(path("c.rtf"));
    EXPECT_EQ(std::string("\xD6\xD0xone\r\ntwo\r\n"), saved.substr(0, 13));
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

TEST_F(NotepadDocuments, DroppedFiles_AskFirstThenTheLastOneStays) {
    write("one.txt", "first");
    write("two.txt", "second");
    write("three.txt", "third");
    CurrentFileName = path("mine.txt");
    form->RichEdit1->SetSelText("unsaved");
    auto dropAll = [&] {
        HGLOBAL drop = makeDrop({path("one.txt"), path("two.txt"), path("three.txt")});
        SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    };
    // Cancel: nothing changes.
    auto boxes = RunDialogs(dropAll, {Press(IDCANCEL)});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("文件 " + path("mine.txt") + " 的内容已经改变。\r\n想保存文件吗?", boxes[0].text);
    EXPECT_EQ("unsaved", form->RichEdit1->Text());
    EXPECT_EQ(path("mine.txt"), CurrentFileName);
    EXPECT_TRUE(form->RichEdit1->Modified());
    // No: the last file replaces the text.
    RunDialogs(dropAll, {Press(IDNO)});
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
    // Edit > Delete as the menu sends it: with nothing selected nothing is deleted.
    auto* del = dynamic_cast<TMenuItem*>(form->FindComponent("M_Del"));
    ASSERT_NE(nullptr, del);
    SendMessageA(form->Handle(), WM_COMMAND, del->Command(), 0);
    EXPECT_EQ("abc", form->RichEdit1->Text());
    form->M_CtrlAClick(form);
    EXPECT_GE(form->RichEdit1->SelLength(), 2);  // the rich edit counts its final paragraph mark too
    SendMessageA(form->Handle(), WM_COMMAND, del->Command(), 0);
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

// ---- the user's text is never lost --------------------------------------------------

// Every caller of the save question stops when the save does not complete, exactly as
// for Cancel: the dialog cancelled, or the write failing.
TEST_F(NotepadDocuments, UnfinishedSave_StopsCloseNewOpenAndDrop) {
    write("other.txt", "other");
    struct Caller {
        const char* name;
        std::function<void()> act;
    };
    bool canClose = true;  // set by the close only
    const std::vector<Caller> callers = {
        {"close", [&] { form->FormCloseQuery(form, canClose); }},
        {"new", [&] { form->M_NewFilesClick(form); }},
        {"open", [&] { form->OpenFile(path("other.txt")); }},
        {"drop", [&] {
             HGLOBAL drop = makeDrop({path("other.txt")});
             SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
         }},
    };
    for (const Caller& caller : callers) {
        SCOPED_TRACE(caller.name);
        // An untitled document whose save dialog is cancelled.
        CurrentFileName.clear();
        form->RichEdit1->SetText("");
        form->RichEdit1->SetSelText("dictated");
        canClose = true;
        auto boxes = RunDialogs(caller.act, {Press(IDYES), Press(IDCANCEL)});
        ASSERT_EQ(2u, boxes.size());
        EXPECT_EQ(std::string("保存"), boxes[1].caption);
        EXPECT_EQ(caller.name != std::string("close"), canClose);
        EXPECT_EQ("dictated", form->RichEdit1->Text());
        EXPECT_TRUE(CurrentFileName.empty());
        EXPECT_TRUE(form->RichEdit1->Modified());
        // A named document whose write fails.
        CurrentFileName = path("no such folder\\d.txt");
        canClose = true;
        boxes = RunDialogs(caller.act, {Press(IDYES), Press(IDOK)});
        ASSERT_EQ(2u, boxes.size());
        EXPECT_EQ(std::string("错误"), boxes[1].caption);
        EXPECT_EQ(caller.name != std::string("close"), canClose);
        EXPECT_EQ("dictated", form->RichEdit1->Text());
        EXPECT_EQ(path("no such folder\\d.txt"), CurrentFileName);
        EXPECT_TRUE(form->RichEdit1->Modified());
    }
}

TEST_F(NotepadDocuments, Close_YesAndSavedUntitledClosesWithTheFileWritten) {
    form->RichEdit1->SetSelText("kept");
    bool canClose = false;
    RunDialogs([&] { form->FormCloseQuery(form, canClose); }, {Press(IDYES), ChooseFile(path("kept"))});
    EXPECT_TRUE(canClose);
    EXPECT_EQ("kept\r\n", read(path("kept.txt")));
    EXPECT_EQ(path("kept.txt"), CurrentFileName);
}

TEST_F(NotepadDocuments, SaveAs_CancelledWritesNothing) {
    write("f.txt", "old\r\n");
    form->OpenFile(path("f.txt"));
    form->RichEdit1->SetSelStart(0);
    form->RichEdit1->SetSelText("new ");
    RunDialogs([&] { EXPECT_FALSE(form->SaveFile(1)); }, {Press(IDCANCEL)});
    EXPECT_EQ("old\r\n", read(path("f.txt")));
    EXPECT_TRUE(form->RichEdit1->Modified());
}

TEST_F(NotepadDocuments, SaveAs_WritesACopyAndKeepsTheName) {
    write("g.txt", "old\r\n");
    form->OpenFile(path("g.txt"));
    form->RichEdit1->SetSelStart(0);
    form->RichEdit1->SetSelText("new ");
    RunDialogs([&] { EXPECT_TRUE(form->SaveFile(1)); }, {ChooseFile(path("copy"))});
    EXPECT_EQ("new old\r\n", read(path("copy.txt")));
    EXPECT_EQ("old\r\n", read(path("g.txt")));
    EXPECT_EQ(path("g.txt"), CurrentFileName);
    EXPECT_FALSE(form->RichEdit1->Modified());
}

// Phrases keep arriving while the open dialog is up; the file chosen then would replace
// them, so the question comes again.
TEST_F(NotepadDocuments, Open_TextDictatedBehindTheDialogIsAskedAboutAgain) {
    ASSERT_TRUE(Standin::Get().Loaded());
    write("chosen.txt", "chosen");
    CurrentFileName = path("mine.txt");
    form->RichEdit1->SetSelText("before ");
    bool played = false;
    auto dictateThenChoose = [&](HWND dialog) {
        if (!played) {
            played = true;
            EXPECT_GE(Standin::Get().Play(u8"recognition 新的话\n"), 1);
            return false;
        }
        if (Standin::Get().Pending() != 0 || form->RichEdit1->Text().find("新的话") == std::string::npos) return false;
        return ChooseFile(path("chosen.txt"))(dialog);
    };
    // No, then text arrives behind the dialog; asked again: Cancel keeps everything.
    auto boxes = RunDialogs([&] { form->OpenFile(""); }, {Press(IDNO), dictateThenChoose, Press(IDCANCEL)});
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ(boxes[0].text, boxes[2].text);
    EXPECT_EQ(std::string("before 新的话"), form->RichEdit1->Text());
    EXPECT_EQ(path("mine.txt"), CurrentFileName);
    EXPECT_TRUE(form->RichEdit1->Modified());
    // Without new text the first answer holds: one question, then the file opens.
    boxes = RunDialogs([&] { form->OpenFile(""); }, {Press(IDNO), ChooseFile(path("chosen.txt"))});
    EXPECT_EQ(2u, boxes.size());
    EXPECT_EQ("chosen", form->RichEdit1->Text());
    EXPECT_EQ(path("chosen.txt"), CurrentFileName);
    Standin::Get().Reset();
}

TEST_F(NotepadDocuments, Open_UnreadableFileLeavesNameTextAndFlag) {
    write("locked.txt", "locked");
    CurrentFileName = path("mine.txt");
    form->RichEdit1->SetSelText("mine");
    form->RichEdit1->SetModified(false);
    form->RichEdit1->SetSelText(" more");
    const std::string caption = form->Caption();
    // Held open without sharing: it exists but cannot be read.
    HANDLE lock = CreateFileA(path("locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    RunDialogs([&] { EXPECT_THROW(form->OpenFile(path("locked.txt")), Exception); }, {Press(IDNO)});
    CloseHandle(lock);
    EXPECT_EQ(path("mine.txt"), CurrentFileName);
    EXPECT_EQ("mine more", form->RichEdit1->Text());
    EXPECT_TRUE(form->RichEdit1->Modified());
    EXPECT_EQ(caption, form->Caption());
}

// A name typed without extension gets one after the dialog, which could not ask about it.
TEST_F(NotepadDocuments, Save_AppendedExtensionAsksBeforeReplacingAnotherFile) {
    write("notes.txt", "older notes\r\n");
    form->RichEdit1->SetSelText("new notes");
    auto boxes = RunDialogs([&] { EXPECT_FALSE(form->SaveFile(0)); }, {ChooseFile(path("notes")), Press(IDNO)});
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("文件 " + path("notes.txt") + " 已经存在。\r\n要替换它吗?", boxes[1].text);
    EXPECT_EQ("older notes\r\n", read(path("notes.txt")));
    EXPECT_TRUE(CurrentFileName.empty());
    EXPECT_TRUE(form->RichEdit1->Modified());
    RunDialogs([&] { EXPECT_TRUE(form->SaveFile(0)); }, {ChooseFile(path("notes")), Press(IDYES)});
    EXPECT_EQ("new notes\r\n", read(path("notes.txt")));
    EXPECT_EQ(path("notes.txt"), CurrentFileName);
    // A name that is free: no question.
    form->M_NewFilesClick(form);
    form->RichEdit1->SetSelText("again");
    boxes = RunDialogs([&] { EXPECT_TRUE(form->SaveFile(0)); }, {ChooseFile(path("fresh"))});
    EXPECT_EQ(1u, boxes.size());
    EXPECT_EQ("again\r\n", read(path("fresh.txt")));
}

// The new text goes to a file beside the target, which is replaced only once the write
// succeeded; nothing of the temporary file stays behind.
TEST_F(NotepadDocuments, Save_FailedReplacementKeepsTheOldFileWhole) {
    write("kept.txt", "old contents\r\n");
    form->OpenFile(path("kept.txt"));
    form->RichEdit1->SetSelText("new ");
    // Open for reading and writing but not for deletion: it cannot be replaced.
    HANDLE held = CreateFileA(path("kept.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    auto boxes = RunDialogs([&] { EXPECT_FALSE(form->SaveFile(0)); }, {Press(IDOK)});
    CloseHandle(held);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(std::string("错误"), boxes[0].caption);
    EXPECT_EQ("old contents\r\n", read(path("kept.txt")));
    EXPECT_TRUE(form->RichEdit1->Modified());
    form->SaveFile(0);
    EXPECT_EQ("new old contents\r\n", read(path("kept.txt")));
    WIN32_FIND_DATAW found{};
    std::vector<std::string> files;
    HANDLE find = FindFirstFileW(temp.File(L"*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(guitest::ToAnsi(found.cFileName));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    EXPECT_EQ(std::vector<std::string>{"kept.txt"}, files);
}

// Bytes the code page cannot map survive open and save unchanged; only the line ends
// become CR LF.
TEST_F(NotepadDocuments, OpenSave_UnmappableBytesSurvive) {
    const std::string before("\xba\xc3\x81\x20\x41\xff\x42\x80\xa1\x7f\xd6\xd0\x0d\x0a\xbd\xe1\xca\xf8\x81", 19);
    write("bad.txt", before);
    form->OpenFile(path("bad.txt"));
    EXPECT_EQ(std::string("\xba\xc3"), form->RichEdit1->Text().substr(0, 2));
    form->RichEdit1->SetModified(true);
    form->M_SaveClick(form);
    EXPECT_EQ(before + "\r\n", read(path("bad.txt")));
}

// A file whose name the system takes for a device ("nul.txt" reads the NUL device, not the
// file) is refused with a word to the user instead of opening as an empty document that
// looks like the file; the same bytes under another name show the text around their NUL
// byte and come back whole from a save.
TEST_F(NotepadDocuments, Open_DeviceNameIsRefusedAndANulByteSurvives) {
    const std::string bytes("before\0after NUL\r\nline2\r\n", 25);
    write("nul.txt", bytes);
    write("zero.txt", bytes);
    form->RichEdit1->SetSelText("mine");
    form->RichEdit1->SetModified(false);
    RunDialogs([&] {
        try {
            form->M_OpenFilesClick(form);
            ADD_FAILURE() << "nul.txt opened";
        } catch (const Exception& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("设备")) << e.what();
        }
    }, {ChooseFile(path("nul.txt"))});
    EXPECT_EQ("mine", form->RichEdit1->Text());
    EXPECT_TRUE(CurrentFileName.empty());

    RunDialogs([&] { form->M_OpenFilesClick(form); }, {ChooseFile(path("zero.txt"))});
    const std::string shown = form->RichEdit1->Lines()[0];
    EXPECT_EQ(0u, shown.find("before")) << shown;
    EXPECT_NE(std::string::npos, shown.find("after NUL")) << shown;
    EXPECT_EQ("line2", form->RichEdit1->Lines()[1]);
    form->RichEdit1->SetSelStart(0);
    form->RichEdit1->SetSelText("x");
    RunDialogs([&] { form->M_SaveClick(form); }, {});  // no error box
    EXPECT_EQ(guitest::HexBytes("x" + bytes), guitest::HexBytes(read(path("zero.txt"))));
}

// Opening a file changes the skinned form's caption; the editor still paints the file.
TEST_F(NotepadDocuments, Open_TheEditorPaintsTheFile) {
    ASSERT_TRUE(guitest::PumpUntil([&] { return SendMessageA(form->Handle(), WM_SKINQUERY, 0, 0) == 1; }))
        << "the form is not skinned";
    write("shown.txt", "shown\r\n");
    form->OpenFile(path("shown.txt"));
    guitest::MessageRecorder recorder;
    recorder.Attach(form->RichEdit1->Handle());
    EXPECT_TRUE(guitest::PumpUntil([&] { return recorder.Count(WM_PAINT) > 0; })) << "the editor was not painted";
}

// Chinese folder and file names: open, save, drop and the caption.
TEST_F(NotepadDocuments, ChinesePath_OpenSaveDropAndCaption) {
    ASSERT_TRUE(CreateDirectoryW(temp.File(L"中文目录").c_str(), nullptr)) << GetLastError();
    const std::wstring file = temp.File(L"中文目录\\文件.txt");
    ASSERT_TRUE(guitest::WriteFileBytes(file, "\xD6\xD0\xCE\xC4\r\n"));
    form->OpenFile(guitest::ToAnsi(file));
    EXPECT_EQ(std::string("Orvisk - 文件.txt"), form->Caption());
    EXPECT_EQ(std::string("中文"), form->RichEdit1->Lines()[0]);
    form->RichEdit1->SetSelStart(0);
    form->RichEdit1->SetSelText("新");
    form->M_SaveClick(form);
    EXPECT_EQ("新中文\r\n", guitest::ReadFileBytes(file));
    const std::wstring second = temp.File(L"中文目录\\第二.txt");
    ASSERT_TRUE(guitest::WriteFileBytes(second, "two"));
    HGLOBAL drop = makeDrop({guitest::ToAnsi(second)});
    SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(std::string("Swaplet-第二.txt"), form->Caption());
    EXPECT_EQ("two", form->RichEdit1->Lines()[0]);
    EXPECT_EQ(guitest::ToAnsi(second), CurrentFileName);
}

// Log-off and shutdown ask the save question before the session ends, as a close does.
TEST_F(NotepadDocuments, EndSession_AsksTheSaveQuestionFirst) {
    form->RichEdit1->SetSelText("unsaved");
    LRESULT mayEnd = TRUE;
    auto boxes = RunDialogs([&] { mayEnd = SendMessageA(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); }, {Press(IDCANCEL)});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("文件 无标题 的内容已经改变。\r\n想保存文件吗?", boxes[0].text);
    EXPECT_EQ(FALSE, mayEnd);
    EXPECT_EQ("unsaved", form->RichEdit1->Text());
    // No: the session may end.
    mayEnd = FALSE;
    RunDialogs([&] { mayEnd = SendMessageA(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); }, {Press(IDNO)});
    EXPECT_EQ(TRUE, mayEnd);
}
