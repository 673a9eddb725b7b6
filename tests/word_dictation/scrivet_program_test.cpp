// scrivet as a program: dictation into the stand-in word processor from start to end, the
// word processor left running with its document when scrivet closes, no phrase lost when
// the word processor's process dies or stops in the middle of dictation, and one box at a
// time when no word processor can be reached.
#include <gtest/gtest.h>

#include <algorithm>

#include "Forms.h"
#include "gui_test.h"
#include "notepad_test_support.h"
#include "word_standin_support.h"

using namespace guitest;
using namespace wordtest;

namespace {

// Pumps until the running word processor's document reads as expected (it answers from
// its own process); `text` holds what it read last.
bool DocumentBecomes(const std::wstring& expected, std::wstring& text, DWORD timeoutMs) {
    return PumpUntil([&] {
        try {
            text = StandinText();
        } catch (const EOleSysError&) {
        }
        return text == expected;
    }, timeoutMs);
}

// scrivet started with the stand-in recognizer dictating a script, its calls logged to
// `log`, and no word processor running before it.
Process StartDictating(const TempDir& temp, const std::string& utf8Script, const std::wstring& log) {
    Application->Initialize();  // COM for this thread
    notepadtest::CreateMarker();
    EXPECT_TRUE(QuitStandins()) << "a word processor from an earlier test would not end";
    const std::wstring script = temp.File(L"dictation.script");
    EXPECT_TRUE(WriteFileBytes(script, utf8Script));
    return LaunchProgram(L"scrivet.exe", L"", {L"SPEECH_STANDIN_SCRIPT=" + script, L"SPEECH_STANDIN_LOG=" + log});
}

// The message boxes a process shows now.
size_t MessageBoxCount(DWORD processId) {
    return FindTopLevelWindows(WindowQuery().Class(L"#32770").InProcess(processId).Visible()).size();
}

// The lines of scrivet's choice list, -1 when it does not answer.
LRESULT ChoiceCount(HWND main) {
    HWND list = FindChildByClass(main, L"TListBox");
    DWORD_PTR count = 0;
    if (!list || !SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return -1;
    return static_cast<LRESULT>(count);
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

}  // namespace

TEST(ScrivetProgram, DictatesIntoTheWordProcessorWhichOutlivesIt) {
    TempDir temp(L"scrivet");
    const std::wstring log = temp.File(L"calls.log");
    Process p = StartDictating(temp, u8"recognition 今天天气很好。\nrecognition  我们去公园散步吧。\n", log);
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFWord");
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(L"Dormel(已开始)", WindowTextW(main));
    const std::wstring expected = L"今天天气很好。我们去公园散步吧。";
    std::wstring text;
    EXPECT_TRUE(DocumentBecomes(expected, text, kDefaultTimeoutMs))
        << ToUtf8(text) << "\nrecognizer calls:\n" << ReadFileBytes(log) << "\nmessage: "
        << ToUtf8(ReadMessageBox(FindMessageBox(p.Id())).textW);
    const DWORD pid = StandinProcessId();
    EXPECT_NE(p.Id(), pid);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(p));
    EXPECT_TRUE(StandinRunning()) << "the word processor ended with scrivet";
    EXPECT_EQ(pid, StandinProcessId());
    EXPECT_EQ(expected, StandinText());
    EXPECT_TRUE(IsVisible(StandinWindow(pid)));
    EXPECT_EQ(expected, StandinWindowText(pid));
    QuitStandins();
}

// The word processor the system started for scrivet is killed after the ninth of twenty
// phrases, as a crash would end it; the tenth cannot be appended, and the ten after it
// arrive inside the notice's modal loop.  Then the user starts a word processor by hand
// and presses the start button.  Meanwhile the system cannot start one: under Wine a
// crashed server cannot be made again until its RPC service restarts; on Windows, which
// would start a new one, its registration is taken away for that time.
TEST(ScrivetProgram, WordProcessorKilledMidDictation_KeptPhrasesReachTheNextOneOnceAndInOrder) {
    TempDir temp(L"scrivet");
    const std::wstring cue = temp.File(L"killed.cue");
    std::string script = "start-stream\n";
    std::wstring beforeKill, afterKill;
    for (int i = 1; i <= 20; ++i) {
        // Phrase 10 holds a character the code page lacks: the notice shows it as it is.
        const std::string extra = i == 10 ? u8"\U0001F600" : "";
        script += u8"recognition 第" + std::to_string(i) + u8"句" + extra + u8"。\nwait 300\n";
        (i <= 9 ? beforeKill : afterKill) += L"第" + std::to_wstring(i) + L"句" + ToWide(extra, CP_UTF8) + L"。";
        if (i == 9) script += "wait-for-file " + ToUtf8(cue) + "\n";
    }
    const std::wstring log = temp.File(L"calls.log");
    Process p = StartDictating(temp, script, log);
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFWord");
    ASSERT_NE(nullptr, main);

    std::wstring text;
    ASSERT_TRUE(DocumentBecomes(beforeKill, text, 30000))
        << "waited for the first nine phrases in the document; it reads " << ToUtf8(text);
    const DWORD started = StandinProcessId();
    CrashedServerCleanup cleanup;
    HANDLE killed = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, started);
    ASSERT_NE(nullptr, killed) << GetLastError();
    ASSERT_TRUE(TerminateProcess(killed, 9));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(killed, 30000)) << "waited for the word processor to end";
    CloseHandle(killed);
    {
        Unregistered cannotStart;
        ASSERT_TRUE(cannotStart.ok);
        ASSERT_TRUE(WriteFileBytes(cue, "go"));

        // One notice, however many phrases arrive while it is open.
        HWND notice = WaitForMessageBox(p.Id(), 30000);
        ASSERT_NE(nullptr, notice) << "no notice after the word processor ended";
        size_t mostBoxes = 0;
        EXPECT_TRUE(PumpUntil([&] {
            mostBoxes = std::max(mostBoxes, MessageBoxCount(p.Id()));
            return Count(ReadFileBytes(log), "GetText") == 20;
        }, 60000)) << "waited for all twenty phrases; recognizer calls:\n" << ReadFileBytes(log);
        EXPECT_EQ(1u, mostBoxes) << "notices open at once";
        const std::wstring said = ReadMessageBox(notice).textW;
        EXPECT_NE(std::wstring::npos, said.find(L"第10句\U0001F600。")) << ToUtf8(said);
        EXPECT_NE(std::wstring::npos, said.find(L"已保留")) << ToUtf8(said);
        EXPECT_NE(std::wstring::npos, said.find(L"[启动Word]")) << ToUtf8(said);
        EXPECT_EQ(std::wstring::npos, said.find(L"。.")) << ToUtf8(said);
        DismissMessageBox(notice, IDOK);
    }

    Process byHand = LaunchProgram(L"standins\\word_standin.exe");
    ASSERT_TRUE(byHand.Valid()) << byHand.Error();
    ASSERT_TRUE(PumpUntil([&] { return IsVisible(StandinWindow(byHand.Id())); }, 30000))
        << "waited for the word processor started by hand to show its window";
    HWND startButton = FindChild(main, WindowQuery().Caption(L"启动Word(&S)"));
    ASSERT_NE(nullptr, startButton) << "no start button";
    PostMessageW(startButton, BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return (text = StandinWindowText(byHand.Id())) == afterKill; }, 30000))
        << "waited for the kept phrases in the new document; it reads " << ToUtf8(text);
    EXPECT_EQ(0u, MessageBoxCount(p.Id())) << ToUtf8(ReadMessageBox(FindMessageBox(p.Id())).textW);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(p));
    QuitStandins();
}

// No word processor can be reached.  The notice about kept phrases comes once: after the
// user dismisses it, later phrases are kept without another.  And while the question asked
// on closing is up, a phrase that cannot be appended opens nothing over it.
TEST(ScrivetProgram, NoWordProcessor_NoticeOnceAndNoBoxOverTheCloseQuestion) {
    Unregistered absent;
    ASSERT_TRUE(absent.ok);
    TempDir temp(L"scrivet");
    const std::wstring dismissed = temp.File(L"dismissed.cue"), asked = temp.File(L"asked.cue");
    const std::wstring log = temp.File(L"calls.log");
    Process p = StartDictating(temp,
                               u8"recognition 一。\nwait-for-file " + ToUtf8(dismissed) +
                                   u8"\nrecognition 二。\nrecognition 三。\nphrase-start\nhypothesis 完\n"
                                   u8"wait-for-file " + ToUtf8(asked) +
                                   u8"\nrecognition 四。\nphrase-start\nhypothesis 终\nhypothesis 终了\n",
                               log);
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFWord");
    ASSERT_NE(nullptr, main);
    // The most boxes open at once until the choice list holds `lines` guesses.  They come
    // after the phrases: once they show, whatever the phrases posted has been handled.
    auto mostBoxesUntilGuesses = [&](LRESULT lines) {
        size_t most = 0;
        EXPECT_TRUE(PumpUntil([&] {
            most = std::max(most, MessageBoxCount(p.Id()));
            return ChoiceCount(main) == lines;
        })) << "waited for " << lines << " guesses; recognizer calls:\n" << ReadFileBytes(log);
        return std::max(most, MessageBoxCount(p.Id()));
    };
    // Closes the window: the question it asks, which names the kept phrases.
    auto askToClose = [&](const std::wstring& kept) {
        PostMessageW(main, WM_CLOSE, 0, 0);
        HWND question = WaitForMessageBox(p.Id());
        const std::wstring text = ReadMessageBox(question).textW;
        EXPECT_NE(std::wstring::npos, text.find(L"还有" + kept + L"段文字")) << ToUtf8(text);
        return question;
    };

    HWND notice = WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, notice) << "no notice about the kept phrase";
    const std::wstring said = ReadMessageBox(notice).textW;
    EXPECT_NE(std::wstring::npos, said.find(L"一。")) << ToUtf8(said);
    DismissMessageBox(notice, IDOK);
    ASSERT_TRUE(WriteFileBytes(dismissed, "go"));
    EXPECT_EQ(0u, mostBoxesUntilGuesses(1)) << "the notice came back before a phrase was delivered";

    HWND question = askToClose(L"3");
    ASSERT_NE(nullptr, question) << "no question on closing with kept phrases";
    ASSERT_TRUE(WriteFileBytes(asked, "go"));
    EXPECT_EQ(1u, mostBoxesUntilGuesses(2)) << "a box opened over the question";
    EXPECT_TRUE(IsWindowEnabled(question)) << "the question is disabled under another box";
    DismissMessageBox(question, IDNO);

    // Nothing opens once the question is answered either: asked again, it is the only box.
    question = askToClose(L"4");
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(1u, MessageBoxCount(p.Id()));
    DismissMessageBox(question, IDYES);
    EXPECT_EQ(0u, WaitForExit(p));
}

// The word processor stops answering in the middle of dictation (its process stopped, as
// with kill -STOP).  scrivet goes on taking phrases: the call that gets no answer is given
// up after a few seconds and the user is told, and the phrases are kept in order.  When the
// word processor goes on it takes the phrase of the given-up call, which is not sent again,
// and the kept ones follow it.
TEST(ScrivetProgram, WordProcessorStopped_PhrasesKeptThenAppendedOnceWhenItGoesOn) {
    TempDir temp(L"scrivet");
    const std::wstring stopped = temp.File(L"stopped.cue"), goneOn = temp.File(L"gone-on.cue");
    std::string script = u8"recognition 第1句。\nwait-for-file " + ToUtf8(stopped) + "\n";
    std::wstring expected = L"第1句。";
    for (int i = 2; i <= 6; ++i) {
        script += u8"recognition 第" + std::to_string(i) + u8"句。\n";
        expected += L"第" + std::to_wstring(i) + L"句。";
    }
    script += "wait-for-file " + ToUtf8(goneOn) + u8"\nrecognition 第7句。\n";
    const std::wstring log = temp.File(L"calls.log");
    Process p = StartDictating(temp, script, log);
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFWord");
    ASSERT_NE(nullptr, main);
    std::wstring text;
    ASSERT_TRUE(DocumentBecomes(L"第1句。", text, 30000)) << "the document reads " << ToUtf8(text);

    {
        Stopped hung(StandinProcessId());
        ASSERT_TRUE(hung.ok) << "the word processor could not be stopped";
        ASSERT_TRUE(WriteFileBytes(stopped, "go"));
        HWND notice = WaitForMessageBox(p.Id(), 60000);
        ASSERT_NE(nullptr, notice) << "no notice while the word processor did not answer";
        EXPECT_TRUE(PumpUntil([&] { return Count(ReadFileBytes(log), "GetText") == 6; }, 60000))
            << "scrivet took no more phrases while the word processor did not answer; recognizer calls:\n"
            << ReadFileBytes(log);
        const std::wstring said = ReadMessageBox(notice).textW;
        EXPECT_NE(std::wstring::npos, said.find(L"第2句。")) << ToUtf8(said);
        EXPECT_NE(std::wstring::npos, said.find(L"已保留")) << ToUtf8(said);
        DismissMessageBox(notice, IDOK);
    }

    EXPECT_TRUE(DocumentBecomes(expected, text, 30000)) << "the document reads " << ToUtf8(text);
    ASSERT_TRUE(WriteFileBytes(goneOn, "go"));
    expected += L"第7句。";
    EXPECT_TRUE(DocumentBecomes(expected, text, 30000)) << "the document reads " << ToUtf8(text);
    EXPECT_EQ(0u, MessageBoxCount(p.Id())) << ToUtf8(ReadMessageBox(FindMessageBox(p.Id())).textW);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(p));
    QuitStandins();
}
