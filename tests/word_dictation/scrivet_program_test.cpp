// scrivet as a program: dictation into the stand-in word processor from start to end, and
// the word processor left running with its document when scrivet closes.
#include <gtest/gtest.h>

#include "Forms.h"
#include "gui_test.h"
#include "notepad_test_support.h"
#include "word_standin_support.h"

using namespace guitest;
using namespace wordtest;

TEST(ScrivetProgram, DictatesIntoTheWordProcessorWhichOutlivesIt) {
    Application->Initialize();  // COM for this thread
    notepadtest::CreateMarker();
    ASSERT_TRUE(QuitStandins());
    TempDir temp(L"scrivet");
    ASSERT_TRUE(WriteFileBytes(temp.File(L"dictation.script"), u8"recognition 今天天气很好。\nrecognition  我们去公园散步吧。\n"));
    const std::wstring log = temp.File(L"calls.log");
    Process p = LaunchProgram(L"scrivet.exe", L"",
                              {L"SPEECH_STANDIN_SCRIPT=" + temp.File(L"dictation.script"), L"SPEECH_STANDIN_LOG=" + log});
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = WaitForMainWindow(p, L"TFWord");
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(L"Dormel(已开始)", WindowTextW(main));
    const std::wstring expected = L"今天天气很好。我们去公园散步吧。";
    std::wstring text;
    EXPECT_TRUE(PumpUntil([&] {
        try {
            text = StandinText();
        } catch (const EOleSysError&) {
        }
        return text == expected;
    })) << ToUtf8(text) << "\nrecognizer calls:\n" << ReadFileBytes(log) << "\nmessage: "
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
