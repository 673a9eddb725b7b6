// quillet as a program: start-up with a missing or failing recognizer, the first-run
// training prompt, and the command-line document (kept byte for byte, or reported when it
// cannot be read).  Each test launches quillet.exe with the stand-in recognizer
// configured through its environment.
#include <gtest/gtest.h>

#include "DictationFrontEnd.h"
#include "Texts.h"
#include "gui_test.h"
#include "notepad_test_support.h"

using namespace guitest;

namespace {

const char* const kTrainingTextGbk = kTrainingText;


// Runs quillet with a recognizer that cannot be set up and checks the configuration
// path: the message, the set-up page asked for, then the end of the program.
void expectConfigurationPath(const wchar_t* mode) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::wstring browserLog = temp.File(L"browser.log");
    Process p = LaunchProgram(L"quillet.exe", L"", {std::wstring(L"SPEECH_STANDIN_MODE=") + mode, L"STANDIN_BROWSER_LOG=" + browserLog});
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND box = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, box) << "no configuration message";
    MessageBoxContents contents = ReadMessageBox(box);
    EXPECT_EQ(std::string(kConfigurationMessage), contents.text) << HexBytes(contents.text);
    EXPECT_EQ("quillet", contents.caption);  // the title is set after the set-up step
    EXPECT_FALSE(PumpUntil([&] { return FileExists(browserLog); }, 300)) << "the page opened before the message closed";
    DismissMessageBox(box, IDOK);
    EXPECT_EQ(0u, WaitForExit(p, 15000));
    // The stand-in makes its log before it writes the line: wait for the line's end.
    ASSERT_TRUE(PumpUntil([&] { return ReadFileBytes(browserLog).find("\r\n") != std::string::npos; }))
        << "the set-up page was not opened";
    const std::string opened = ReadFileBytes(browserLog);
    EXPECT_NE(std::string::npos, opened.find("\\read\\read.htm")) << opened;
}

// A script for the stand-in recognizer: each phrase is dictated once the cue file before
// it exists (an empty cue: at once).
std::wstring WriteScript(const TempDir& temp, const std::vector<std::pair<std::wstring, std::string>>& cuesAndPhrases) {
    std::string script;
    for (const auto& [cue, phrase] : cuesAndPhrases) {
        if (!cue.empty()) script += "wait-for-file " + ToUtf8(cue) + "\n";
        script += "recognition " + phrase + "\n";
    }
    const std::wstring path = temp.File(L"dictation.script");
    return WriteFileBytes(path, script) ? path : std::wstring();
}

// Once quillet's editor shows `phrase` (dictated by its script), closes the window: the
// question to save, or null.
HWND CloseOnceDictated(const Process& p, const std::wstring& phrase, HWND* editor = nullptr) {
    HWND main = WaitForMainWindow(p, L"TFnotepad");
    HWND edit = main ? FindChildByClass(main, L"TRichEdit") : nullptr;
    if (editor) *editor = edit;
    if (!edit || !PumpUntil([&] { return WindowTextW(edit) == phrase; })) {
        ADD_FAILURE() << "the phrase did not arrive: " << Describe(edit);
        return nullptr;
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitForMessageBox(p.Id());
}

// The caption once it reads `expected` (the command-line file opens once the window is
// shown), or as it is when the wait runs out.
std::wstring CaptionBecoming(HWND main, const std::wstring& expected) {
    std::wstring caption;
    PumpUntil([&] { return (caption = WindowTextW(main)) == expected; });
    return caption;
}

}  // namespace

TEST(QuilletStart, RecognizerAbsent_ConfigurationMessageSetupPageAndEnd) { expectConfigurationPath(L"absent"); }
TEST(QuilletStart, GrammarFails_ConfigurationMessageSetupPageAndEnd) { expectConfigurationPath(L"fail-grammar"); }

TEST(QuilletStart, FirstRun_TrainingPromptDialogThenMarker) {
    notepadtest::RemoveMarker();
    Process p = LaunchProgram(L"quillet.exe");
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND box = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, box) << "no training prompt";
    EXPECT_EQ(std::string(kTrainingTextGbk), ReadMessageBox(box).text);
    DismissMessageBox(box, IDOK);
    HWND dialog = WaitForWindow(WindowQuery().Class(L"SpeechStandinEngineUI").InProcess(p.Id()));
    ASSERT_NE(nullptr, dialog) << "no training dialog";
    EXPECT_EQ(L"Speaker Training", WindowTextW(dialog));
    EXPECT_FALSE(notepadtest::MarkerExists());
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil(notepadtest::MarkerExists)) << "marker not written";
    p.Terminate(0);
}

TEST(QuilletStart, MarkerPresent_NoPrompt) {
    notepadtest::CreateMarker();
    Process p = LaunchProgram(L"quillet.exe");
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFnotepad");
    ASSERT_NE(nullptr, main);
    EXPECT_FALSE(PumpUntil([&] { return FindMessageBox(p.Id()) != nullptr; }, 1500));
    EXPECT_EQ(L"Orvisk", WindowTextW(main));
    p.Terminate(0);
}

TEST(QuilletStart, CommandLine_ExistingFileOpensAndParametersJoinWithoutBlanks) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    ASSERT_TRUE(WriteFileBytes(temp.File(L"ab.txt"), "hello \xD6\xD0\xCE\xC4\r\n"));
    // One parameter naming the file.
    {
        Process p = LaunchProgram(L"quillet.exe", L"\"" + temp.File(L"ab.txt") + L"\"");
        HWND main = WaitForMainWindow(p, L"TFnotepad");
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(L"Orvisk - ab.txt", CaptionBecoming(main, L"Orvisk - ab.txt"));
        HWND editor = FindChildByClass(main, L"TRichEdit");
        ASSERT_NE(nullptr, editor);
        std::wstring text;
        PumpUntil([&] { text = WindowTextW(editor); return !text.empty(); });
        EXPECT_EQ(L"hello 中文", text.substr(0, 8)) << Describe(editor);
        p.Terminate(0);
    }
    // The same path given unquoted in two pieces: "...\a" and "b.txt" join to "...\ab.txt".
    {
        Process p = LaunchProgram(L"quillet.exe", temp.File(L"a") + L" b.txt");
        HWND main = WaitForMainWindow(p, L"TFnotepad");
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(L"Orvisk - ab.txt", CaptionBecoming(main, L"Orvisk - ab.txt"));
        p.Terminate(0);
    }
    // A name that does not exist: an empty untitled window, nothing reported.
    {
        Process p = LaunchProgram(L"quillet.exe", temp.File(L"missing.txt"));
        HWND main = WaitForMainWindow(p, L"TFnotepad");
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(L"Orvisk", WindowTextW(main));
        EXPECT_FALSE(PumpUntil([&] { return FindMessageBox(p.Id()) != nullptr; }, 1000));
        p.Terminate(0);
    }
}

TEST(QuilletStart, CommandLine_ChinesePathOpensWithItsNameInTheCaption) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    ASSERT_TRUE(CreateDirectoryW(temp.File(L"中文目录").c_str(), nullptr)) << GetLastError();
    const std::wstring file = temp.File(L"中文目录\\文件.txt");
    ASSERT_TRUE(WriteFileBytes(file, "hello \xD6\xD0\xCE\xC4\r\n"));
    Process p = LaunchProgram(L"quillet.exe", L"\"" + file + L"\"");
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFnotepad");
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(L"Orvisk - 文件.txt", CaptionBecoming(main, L"Orvisk - 文件.txt"));
    HWND editor = FindChildByClass(main, L"TRichEdit");
    ASSERT_NE(nullptr, editor);
    std::wstring text;
    PumpUntil([&] { text = WindowTextW(editor); return !text.empty(); });
    EXPECT_EQ(L"hello 中文", text.substr(0, 8));
    p.Terminate(0);
}

// A normal exit disconnects the form from the recognizer and releases its context.
TEST(QuilletExit, DisconnectsAndReleasesTheRecognitionContext) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::wstring log = temp.File(L"calls.log");
    Process p = LaunchProgram(L"quillet.exe", L"", {L"SPEECH_STANDIN_LOG=" + log});
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFnotepad");
    ASSERT_NE(nullptr, main);
    PostMessageW(main, WM_CLOSE, 0, 0);  // nothing changed: no question
    EXPECT_EQ(0u, WaitForExit(p, 15000));
    const std::string calls = ReadFileBytes(log);
    const size_t unadvise = calls.find("Unadvise");
    ASSERT_NE(std::string::npos, unadvise) << calls;
    EXPECT_NE(std::string::npos, calls.find("ReleaseContext", unadvise)) << calls;
}

// A file given on the command line (as a double-click gives it), edited and saved on the
// way out, keeps every byte the code page cannot map; only the last line gains its end.
TEST(QuilletCommandLine, UnmappableBytesSurviveEditAndSave) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::string bytes("\xba\xc3\x81\x20\x41\xff\x42\x80\xa1\x7f\xd6\xd0\x0d\x0a\xbd\xe1\xca\xf8\x81", 19);
    const std::wstring file = temp.File(L"bytes.txt");
    ASSERT_TRUE(WriteFileBytes(file, bytes));
    Process p = LaunchProgram(L"quillet.exe", L"\"" + file + L"\"");
    HWND main = WaitForMainWindow(p, L"TFnotepad");
    ASSERT_NE(nullptr, main);
    HWND editor = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        editor = FindChildByClass(main, L"TRichEdit");
        return editor && WindowTextW(editor).find(L"\u597d") == 0;  // the file's first character
    })) << "the file is not in the editor: " << Describe(editor);
    // A character typed and taken back: the document is modified, its text the file's.
    PostMessageW(editor, WM_CHAR, L'x', 1);
    PostMessageW(editor, WM_KEYDOWN, VK_BACK, 1);
    PostMessageW(editor, WM_KEYUP, VK_BACK, 0xC0000001);
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, question) << "no question to save";
    DismissMessageBox(question, IDYES);
    EXPECT_EQ(0u, WaitForExit(p, 15000));
    EXPECT_EQ(HexBytes(bytes + "\r\n"), HexBytes(ReadFileBytes(file)));
}

// A file with a byte-order mark shows its characters and, saved without a change, comes
// back byte for byte in its own form, characters beyond the code page included.
TEST(QuilletCommandLine, UnicodeFilesShowTheirTextAndSaveInTheirOwnForm) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::wstring text = L"\u4e2d\u6587 \ud55c\uae00 abc\r\n\u7b2c\u4e8c\u884c \U0001F600\r\n";
    std::string le, be;
    for (const wchar_t c : text) {
        le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    const struct {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"UTF-16 LE", "\xFF\xFE" + le},
        {"UTF-16 BE", "\xFE\xFF" + be},
        {"UTF-8", "\xEF\xBB\xBF" + ToUtf8(text)},
    };
    for (const auto& row : rows) {
        const std::wstring file = temp.File(L"unicode.txt");
        ASSERT_TRUE(WriteFileBytes(file, row.bytes)) << row.name;
        Process p = LaunchProgram(L"quillet.exe", L"\"" + file + L"\"");
        HWND main = WaitForMainWindow(p, L"TFnotepad");
        ASSERT_NE(nullptr, main) << row.name;
        HWND editor = nullptr;
        EXPECT_TRUE(PumpUntil([&] {
            editor = FindChildByClass(main, L"TRichEdit");
            return editor && WindowTextW(editor).find(L"\u4e2d\u6587 ") == 0;
        })) << row.name << ": " << ToUtf8(WindowTextW(editor));
        // Typed and taken back: the document is modified, its text the file's.
        PostMessageW(editor, WM_CHAR, L'x', 1);
        PostMessageW(editor, WM_KEYDOWN, VK_BACK, 1);
        PostMessageW(editor, WM_KEYUP, VK_BACK, 0xC0000001);
        PostMessageW(main, WM_CLOSE, 0, 0);
        HWND question = WaitForMessageBox(p.Id());
        ASSERT_NE(nullptr, question) << row.name << ": no question to save";
        DismissMessageBox(question, IDYES);
        EXPECT_EQ(0u, WaitForExit(p, 15000)) << row.name;
        EXPECT_EQ(HexBytes(row.bytes), HexBytes(ReadFileBytes(file))) << row.name;
    }
}

// A damaged rich-text file on the command line: the error box, then the program runs with
// an untitled document, which no save would write over the file.
TEST(QuilletCommandLine, DamagedRichTextIsReportedAndTheProgramRunsUntitled) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fswiss\\fcharset0 Arial;}}\r\n{\\colortbl ;\\red0\\green0\\blue255;}\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs20 "
        "First paragraph \\b bold\\b0  text.\\par\r\n}\r\n";
    const std::string damaged = rtf.substr(0, 180);  // cut inside the document's header
    const std::wstring file = temp.File(L"letter.rtf");
    ASSERT_TRUE(WriteFileBytes(file, damaged));
    Process p = LaunchProgram(L"quillet.exe", L"\"" + file + L"\"");
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND box = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, box) << "no error box";
    EXPECT_EQ("无法打开文件 " + ToAnsi(file) + " 。文档的内容有误，无法读取。", DismissMessageBox(box, IDOK));
    HWND main = WaitForMainWindow(p, L"TFnotepad");
    ASSERT_NE(nullptr, main) << "the program did not go on";
    EXPECT_EQ(L"Orvisk - 未命名", CaptionBecoming(main, L"Orvisk - 未命名"));
    PostMessageW(main, WM_CLOSE, 0, 0);  // nothing to save: no question
    EXPECT_EQ(0u, WaitForExit(p, 15000));
    EXPECT_EQ(damaged, ReadFileBytes(file));
}

// An error box that carries the system's own text (a file another program holds) ends
// with that text's one stop.
TEST(QuilletCommandLine, SystemErrorTextEndsWithOneStop) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::wstring file = temp.File(L"held.txt");
    ASSERT_TRUE(WriteFileBytes(file, "held\r\n"));
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Process p = LaunchProgram(L"quillet.exe", L"\"" + file + L"\"");
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND box = WaitForMessageBox(p.Id());
    CloseHandle(held);
    ASSERT_NE(nullptr, box) << "no error box";
    const std::wstring text = ReadMessageBox(box).textW;
    DismissMessageBox(box, IDOK);
    const std::wstring system = texts::SystemErrorTextW(ERROR_SHARING_VIOLATION);
    ASSERT_FALSE(system.empty());
    ASSERT_GE(text.size(), system.size());
    EXPECT_EQ(system, text.substr(text.size() - system.size())) << ToUtf8(text);
    EXPECT_TRUE(texts::EndsWithStop(system)) << ToUtf8(system);
    p.Terminate(0);
}

// First start, no training marker, a file on the command line: the training prompt comes
// before the window, and a phrase dictated behind it goes into the opened file's document
// at the caret.  Nothing asks to save the text over the file, which stays as it was.
TEST(QuilletStart, FirstRun_PhraseBehindThePromptGoesIntoTheStartFile) {
    // The marker as this machine had it comes back at the end.
    const std::wstring marker = ToWide(notepadtest::MarkerPath());
    const bool hadMarker = notepadtest::MarkerExists();
    const std::string markerBytes = hadMarker ? ReadFileBytes(marker) : std::string();
    struct RestoreMarker {
        const std::wstring& path;
        bool had;
        const std::string& bytes;
        ~RestoreMarker() { had ? (void)WriteFileBytes(path, bytes) : notepadtest::RemoveMarker(); }
    } restore{marker, hadMarker, markerBytes};
    notepadtest::RemoveMarker();

    TempDir temp(L"quillet");
    const std::wstring file = temp.File(L"start.txt");
    ASSERT_TRUE(WriteFileBytes(file, "file text\r\n"));
    const std::wstring cue = temp.File(L"prompt-is-up");
    const std::wstring script = WriteScript(temp, {{cue, u8"早上好"}});
    Process p = LaunchProgram(L"quillet.exe", L"\"" + file + L"\"", {L"SPEECH_STANDIN_SCRIPT=" + script});
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND prompt = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, prompt) << "no training prompt";
    EXPECT_EQ(std::string(kTrainingTextGbk), ReadMessageBox(prompt).text);
    HWND hidden = FindTopLevelWindow(WindowQuery().Class(L"TFnotepad").InProcess(p.Id()));
    ASSERT_NE(nullptr, hidden);
    ASSERT_TRUE(WriteFileBytes(cue, ""));
    ASSERT_TRUE(PumpUntil([&] { return WindowTextW(FindChildByClass(hidden, L"TRichEdit")) == L"早上好"; }))
        << "the phrase did not arrive behind the prompt";
    DismissMessageBox(prompt, IDOK);
    HWND training = WaitForWindow(WindowQuery().Class(L"SpeechStandinEngineUI").InProcess(p.Id()));
    ASSERT_NE(nullptr, training) << "no training dialog";
    PostMessageW(training, WM_CLOSE, 0, 0);

    HWND main = WaitForMainWindow(p, L"TFnotepad");
    ASSERT_NE(nullptr, main);
    PumpUntil([&] { return FindMessageBox(p.Id()) || WindowTextW(main) == L"Orvisk - start.txt"; });
    if (HWND asked = FindMessageBox(p.Id())) FAIL() << "asked: " << ToUtf8(ReadMessageBox(asked).textW);
    EXPECT_EQ(L"Orvisk - start.txt", WindowTextW(main));
    std::wstring text;
    EXPECT_TRUE(PumpUntil([&] { return (text = WindowTextW(FindChildByClass(main, L"TRichEdit"))).find(L"早上好file text") == 0; }))
        << ToUtf8(text);
    // The phrase is an edit of the document: closing asks, No leaves the file alone.
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, question) << "no question to save";
    DismissMessageBox(question, IDNO);
    EXPECT_EQ(0u, WaitForExit(p, 15000));
    EXPECT_EQ("file text\r\n", ReadFileBytes(file));
}

// A phrase that arrives while the close question is up was not in the document the answer
// was given for: after No the question comes again, and Cancel keeps both phrases.
TEST(QuilletClose, PhraseDictatedDuringTheQuestionIsAskedAboutAgain) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::wstring cue = temp.File(L"question-is-up");
    const std::wstring script = WriteScript(temp, {{L"", u8"第一句"}, {cue, u8"第二句"}});
    Process p = LaunchProgram(L"quillet.exe", L"", {L"SPEECH_STANDIN_SCRIPT=" + script});
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND editor = nullptr;
    HWND question = CloseOnceDictated(p, L"第一句", &editor);
    ASSERT_NE(nullptr, question) << "no question to save";
    ASSERT_TRUE(WriteFileBytes(cue, ""));
    ASSERT_TRUE(PumpUntil([&] { return WindowTextW(editor) == L"第一句第二句"; })) << "the second phrase did not arrive";
    const std::string asked = DismissMessageBox(question, IDNO);
    HWND again = nullptr;
    PumpUntil([&] { return (again = FindMessageBox(p.Id())) != nullptr || !p.Running(); });
    ASSERT_NE(nullptr, again) << "the program ended without asking about the second phrase";
    EXPECT_EQ(asked, DismissMessageBox(again, IDCANCEL));
    EXPECT_TRUE(p.Running());
    EXPECT_EQ(L"第一句第二句", WindowTextW(editor));
    p.Terminate(0);
}

// Saving an untitled document under a name typed with the text filter's extension writes
// that name, not the name with the extension twice.
TEST(QuilletSave, NameTypedWithItsExtensionIsKept) {
    notepadtest::CreateMarker();
    TempDir temp(L"quillet");
    const std::wstring script = WriteScript(temp, {{L"", u8"你好"}});
    Process p = LaunchProgram(L"quillet.exe", L"", {L"SPEECH_STANDIN_SCRIPT=" + script});
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND question = CloseOnceDictated(p, L"你好");
    ASSERT_NE(nullptr, question) << "no question to save";
    DismissMessageBox(question, IDYES);
    HWND dialog = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, dialog) << "no save dialog";
    EXPECT_EQ(L"保存", WindowTextW(dialog));
    notepadtest::ChooseFile(ToAnsi(temp.File(L"note.txt")))(dialog);
    EXPECT_EQ(0u, WaitForExit(p, 15000));
    EXPECT_EQ("你好\r\n", ReadFileBytes(temp.File(L"note.txt")));
    EXPECT_FALSE(FileExists(temp.File(L"note.txt.txt")));
}
