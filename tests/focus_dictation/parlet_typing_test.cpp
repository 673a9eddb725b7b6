// parlet typing recognised phrases into other windows: into the plain edit control of a
// target program in the foreground (ime_target.exe, another process), and into this
// program's own window when it is the foreground window.  These tests move the desktop's
// foreground window, so they run alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Buttons.h"
#include "FInput.h"
#include "gui_test.h"
#include "ime_target.h"
#include "notepad_test_support.h"
#include "parlet_test_support.h"

using notepadtest::Standin;

namespace {

std::string hexList(const std::vector<WPARAM>& values) {
    std::string out;
    for (WPARAM v : values) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%s%llX", out.empty() ? "" : " ", static_cast<unsigned long long>(v));
        out += hex;
    }
    return out;
}

HWND focusOfThread(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Makes `window` the foreground window, asking again until it is (a program that is just
// starting may still take the front for itself), and waits until `focus` (when given) has
// the keyboard focus.
bool bringForward(HWND window, HWND focus) {
    return guitest::PumpUntil([&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        return GetForegroundWindow() == window && (!focus || focusOfThread(guitest::ThreadIdOf(window)) == focus);
    });
}

class TypingIntoTarget : public parlettest::InputForm {
protected:
    void SetUp() override {
        InputForm::SetUp();
        if (HasFatalFailure()) return;
        target = guitest::LaunchProgram(L"ime_target.exe");
        ASSERT_TRUE(target.Valid()) << target.Error();
        main = guitest::WaitForMainWindow(target, kImeTargetClassW);
        ASSERT_NE(nullptr, main);
        edit = GetDlgItem(main, kImeTargetEditId);
        record = GetDlgItem(main, kImeTargetRecordId);
        ASSERT_NE(nullptr, edit);
        ASSERT_NE(nullptr, record);
        // The target has settled in front, its edit focused, before a test moves anything.
        ASSERT_TRUE(bringForward(main, edit));
    }
    void TearDown() override {
        target.Terminate(0);
        InputForm::TearDown();
    }
    bool bringFormForward() { return bringForward(form->Handle(), nullptr); }
    // The WM_IME_CHAR parameters the target has taken from its queue so far.
    std::string received() { return guitest::WindowTextA(record); }

    guitest::Process target;
    HWND main = nullptr;
    HWND edit = nullptr;
    HWND record = nullptr;
};

// Pumps this thread's messages until the stand-in has delivered everything, taking every
// WM_IME_CHAR out of the queue before it is dispatched (whatever window it is for, none
// included).
std::vector<MSG> pumpTakingImeChars() {
    std::vector<MSG> taken;
    auto drain = [&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_IME_CHAR) {
                taken.push_back(msg);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    };
    // The harness's pump would dispatch them first: this loop waits for messages itself.
    const ULONGLONG deadline = GetTickCount64() + guitest::kDefaultTimeoutMs;
    for (;;) {
        drain();
        if (Standin::Get().Pending() == 0 || GetTickCount64() > deadline) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    drain();
    return taken;
}

}  // namespace

TEST_F(TypingIntoTarget, EachCharacterOneMessageInTextOrder) {
    struct Row {
        const char* what;
        const char* script;           // UTF-8
        std::vector<WPARAM> posted;   // lead byte in the high half
        const wchar_t* text;          // what the edit holds afterwards
    };
    const Row rows[] = {
        {"three Chinese characters", u8"recognition 中文字\n", {0xD6D0, 0xCEC4, 0xD7D6}, L"中文字"},
        {"ASCII and Chinese mixed", u8"recognition ab中c文\n", {0x61, 0x62, 0xD6D0, 0x63, 0xCEC4}, L"ab中c文"},
        {"full-width punctuation", u8"recognition 你好，\n", {0xC4E3, 0xBAC3, 0xA3AC}, L"你好，"},
        // A character GBK does not have becomes the code page's default character; its
        // neighbours arrive intact.
        {"outside GBK", u8"recognition a\u0E01中\n", {0x61, 0x3F, 0xD6D0}, L"a?中"},
    };
    std::string before;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        ASSERT_TRUE(bringForward(main, edit)) << guitest::Describe(GetForegroundWindow());
        before = received();
        Dictate(row.script);
        const std::string expected = before + (before.empty() ? "" : " ") + hexList(row.posted);
        EXPECT_TRUE(guitest::PumpUntil([&] { return received() == expected; })) << "received " << received()
                                                                                 << "\nexpected " << expected;
        EXPECT_TRUE(guitest::PumpUntil([&] { return guitest::WindowTextW(edit) == row.text; }))
            << guitest::ToUtf8(guitest::WindowTextW(edit));
    }
}

TEST_F(TypingIntoTarget, PhrasesFollowOneAnotherInTheEdit) {
    ASSERT_TRUE(bringForward(main, edit));
    Dictate(u8"phrase-start\nhypothesis 今天\nrecognition 今天天气很好。\nphrase-start\nrecognition 我们去公园散步吧。\n");
    EXPECT_TRUE(guitest::PumpUntil([&] { return guitest::WindowTextW(edit) == L"今天天气很好。我们去公园散步吧。"; }))
        << guitest::ToUtf8(guitest::WindowTextW(edit));
    // Interim guesses are not typed: sixteen characters, sixteen messages.
    const std::string all = received();
    EXPECT_EQ(16, std::count(all.begin(), all.end(), ' ') + 1) << all;
}

TEST_F(TypingIntoTarget, OwnWindowInFront_TextGoesToItsFocusedControl) {
    ASSERT_TRUE(bringFormForward());
    SetFocus(form->BStop->Handle());
    ASSERT_EQ(form->BStop->Handle(), GetFocus());
    ASSERT_GE(Standin::Get().Play(u8"recognition a中\n"), 1);
    const std::vector<MSG> taken = pumpTakingImeChars();
    ASSERT_EQ(2u, taken.size());
    EXPECT_EQ(form->BStop->Handle(), taken[0].hwnd);
    EXPECT_EQ(0x61u, taken[0].wParam);
    EXPECT_EQ(form->BStop->Handle(), taken[1].hwnd);
    EXPECT_EQ(0xD6D0u, taken[1].wParam);
    EXPECT_EQ("", received()) << "typed into a window in the background";
}

TEST_F(TypingIntoTarget, NoFocusedControl_PhraseDropped) {
    ASSERT_TRUE(bringFormForward());
    SetFocus(nullptr);
    ASSERT_EQ(nullptr, GetFocus());
    ASSERT_EQ(form->Handle(), GetForegroundWindow());
    ASSERT_GE(Standin::Get().Play(u8"recognition a中\n"), 1);
    const std::vector<MSG> taken = pumpTakingImeChars();
    EXPECT_TRUE(taken.empty()) << taken.size() << " characters posted, the first to " << guitest::Describe(taken[0].hwnd);
    EXPECT_EQ("", received());
}

TEST(ImeChars, LeadBytesPairWithTheFollowingByte) {
    struct Row {
        const char* what;
        std::string text;
        std::vector<WPARAM> chars;
    };
    const Row rows[] = {
        {"empty", "", {}},
        {"ASCII", "ab", {0x61, 0x62}},
        {"double-byte", "\xD6\xD0\xCE\xC4", {0xD6D0, 0xCEC4}},
        {"mixed", "a\xD6\xD0" "b", {0x61, 0xD6D0, 0x62}},
        {"trail byte in the ASCII range", "\x81\x40", {0x8140}},
        {"lead byte at the end", "a\xD6", {0x61, 0xD600}},
        {"high single bytes that are no lead bytes", "\x80\xFF", {0x80, 0xFF}},
    };
    ASSERT_EQ(936u, GetACP()) << "the tests run with the Simplified Chinese code page";
    for (const Row& row : rows) EXPECT_EQ(row.chars, ImeCharsOf(row.text)) << row.what;
}

// parlet.exe as a program.  Its window comes up in front of everything else, so these run
// with the typing tests.
TEST(ParletProgram, Start_ToolWindowAtTheBottomRightListening) {
    notepadtest::CreateMarker();
    guitest::Process p = guitest::LaunchProgram(L"parlet.exe");
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND main = guitest::WaitForMainWindow(p, L"TFInput");
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(L"Chattuck(已开始)", guitest::WindowTextW(main));
    // The skin takes WS_CAPTION (or, where it keeps that, WS_SYSMENU) off the style once it
    // paints the frame, and fits the frame to its borders: the window is back in its
    // corner after that.
    const auto skinPainted = [&] {
        const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
        return (style & WS_CAPTION) != WS_CAPTION || !(style & WS_SYSMENU);
    };
    const auto inCorner = [&] {
        const RECT r = guitest::WindowRectOf(main);
        return r.right == GetSystemMetrics(SM_CXSCREEN) && r.bottom == GetSystemMetrics(SM_CYSCREEN) - 30;
    };
    EXPECT_TRUE(guitest::PumpUntil([&] { return skinPainted() && inCorner(); }))
        << "not skinned, or not in the corner";
    const RECT r = guitest::WindowRectOf(main);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right) << guitest::ToString(r);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - 30, r.bottom) << guitest::ToString(r);
    EXPECT_TRUE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(nullptr, guitest::FindMessageBox(p.Id())) << "a box at start: the usage text belongs to the start button";
    p.Terminate(0);
}

TEST(ParletProgram, RecognizerAbsent_ConfigurationMessageSetupPageAndEnd) {
    notepadtest::CreateMarker();
    guitest::TempDir temp(L"parlet");
    const std::wstring browserLog = temp.File(L"browser.log");
    guitest::Process p = guitest::LaunchProgram(L"parlet.exe", L"", {L"SPEECH_STANDIN_MODE=absent", L"STANDIN_BROWSER_LOG=" + browserLog});
    ASSERT_TRUE(p.Valid()) << p.Error();
    HWND box = guitest::WaitForMessageBox(p.Id());
    ASSERT_NE(nullptr, box) << "no configuration message";
    EXPECT_EQ(std::string(kConfigurationMessage), guitest::ReadMessageBox(box).text);
    guitest::DismissMessageBox(box, IDOK);
    EXPECT_EQ(0u, guitest::WaitForExit(p, 15000));
    // The stand-in makes its log before it writes the line: wait for the line's end.
    ASSERT_TRUE(guitest::PumpUntil([&] { return guitest::ReadFileBytes(browserLog).find("\r\n") != std::string::npos; }))
        << "the set-up page was not opened";
    EXPECT_NE(std::string::npos, guitest::ReadFileBytes(browserLog).find("\\read\\read.htm"));
}
