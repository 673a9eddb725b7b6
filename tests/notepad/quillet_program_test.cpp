// quillet as a program: start-up with a missing or failing recognizer, the first-run
// training prompt, and the command-line document.  Each test launches quillet.exe with
// the stand-in recognizer configured through its environment.
#include <gtest/gtest.h>

#include "DictationFrontEnd.h"
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
    ASSERT_TRUE(PumpUntil([&] { return FileExists(browserLog); })) << "the set-up page was not opened";
    const std::string opened = ReadFileBytes(browserLog);
    EXPECT_NE(std::string::npos, opened.find("\\read\\read.htm")) << opened;
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
        EXPECT_EQ(L"Orvisk - ab.txt", WindowTextW(main));
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
        EXPECT_EQ(L"Orvisk - ab.txt", WindowTextW(main));
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
    EXPECT_EQ(L"Orvisk - 文件.txt", WindowTextW(main));
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
