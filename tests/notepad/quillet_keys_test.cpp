// quillet under the real keyboard and mouse: Esc, the menu bar left step by step, where
// typed text goes after activations and dialogs, and the find and replace dialogs.  Each
// test launches quillet.exe and gives it input through the display, as a user would.
#include <windows.h>

#include <dlgs.h>

#include <gtest/gtest.h>

#include "gui_test.h"
#include "notepad_test_support.h"

using namespace guitest;

namespace {

// quillet started with the first-run marker in place: its window in front, the editor found.
struct Quillet {
    explicit Quillet(const std::wstring& arguments = L"") {
        notepadtest::CreateMarker();
        process = LaunchProgram(L"quillet.exe", arguments);
        main = WaitForMainWindow(process, L"TFnotepad");
        if (main) editor = FindChildByClass(main, L"TRichEdit");
    }
    bool Ready() {
        return editor && PumpUntil([&] { return GetForegroundWindow() == main; });
    }
    // Waits until the editor holds exactly `text` (the control's final paragraph mark aside).
    ::testing::AssertionResult EditorShows(const std::wstring& text) {
        std::wstring shown;
        auto holds = [&] {
            shown = WindowTextW(editor);
            while (!shown.empty() && (shown.back() == L'\r' || shown.back() == L'\n')) shown.pop_back();
            return shown == text;
        };
        if (PumpUntil(holds)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the editor shows \"" << ToUtf8(shown) << "\", not \"" << ToUtf8(text)
                                             << "\"; the focus is on " << Describe(focus());
    }
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process.MainThreadId(), &info);
        return info.hwndFocus;
    }
    // A dialog of quillet's other than `besides` (the find or replace dialog, a message box).
    HWND Dialog(HWND besides = nullptr) {
        HWND found = nullptr;
        PumpUntil([&] {
            for (HWND w : FindTopLevelWindows(WindowQuery().Class(L"#32770").InProcess(process.Id()).Visible()))
                if (w != besides) found = w;
            return found != nullptr;
        });
        return found;
    }
    bool MenuOpen() const {
        return FindTopLevelWindow(WindowQuery().Class(L"#32768").InProcess(process.Id()).Visible()) != nullptr;
    }

    Process process;
    HWND main = nullptr;
    HWND editor = nullptr;
};

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

// Esc in the editor does nothing; Esc that closes a drop-down of the menu bar leaves the
// bar item selected (Down opens it again), and the next Esc only leaves the bar.
TEST(QuilletKeys, Escape_InTheEditorAndLeavingTheMenuBarKeepTheProgram) {
    Quillet q;
    ASSERT_TRUE(q.Ready()) << Describe(q.main);
    PressKey('A');
    ASSERT_TRUE(q.EditorShows(L"a"));  // the document is changed: a close would ask first
    PressKey(VK_ESCAPE);
    PressKey(VK_F10);
    ASSERT_TRUE(PumpUntil([&] { return q.MenuOpen(); })) << "F10 opened no drop-down";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !q.MenuOpen(); }));
    PressKey(VK_DOWN);
    EXPECT_TRUE(PumpUntil([&] { return q.MenuOpen(); })) << "the bar item was not kept selected after the first Esc";
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    PressKey('B');
    EXPECT_TRUE(q.EditorShows(L"ab"));
    EXPECT_EQ(nullptr, FindMessageBox(q.process.Id()));
    EXPECT_TRUE(IsVisible(q.main));
}

// What the user types lands in the editor at start, after another window had the activation
// and a click on quillet's status bar gave it back, and after a message box closed.
TEST(QuilletKeys, TypedText_ReachesTheEditorAfterStartActivationAndAMessageBox) {
    Quillet q;
    ASSERT_TRUE(q.Ready()) << Describe(q.main);
    PressKey('A');
    ASSERT_TRUE(q.EditorShows(L"a")) << "at start";

    TestWindowOptions options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.x = options.y = 200;
    TestWindow other(options);
    SetWindowPos(other.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ClickAt(Centre(ClientRectOnScreen(other.Handle())));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.Handle(); }));
    ClickAt(Centre(WindowRectOf(FindChildByClass(q.main, L"TStatusBar"))));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == q.main; }));
    PressKey('B');
    EXPECT_TRUE(q.EditorShows(L"ab")) << "after a click on the status bar";

    PressKey('H', VK_MENU);  // 帮助(&H), then 关于(&A)
    ASSERT_TRUE(PumpUntil([&] { return q.MenuOpen(); }));
    PressKey('A');
    HWND box = WaitForMessageBox(q.process.Id());
    ASSERT_NE(nullptr, box) << "no about box";
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(box));
    PressKey('C');
    EXPECT_TRUE(q.EditorShows(L"abc")) << "after the about box";
}

// The find dialog is owned by the notepad's window (not by a hidden one), so it stays in
// front of it when the search gives the editor the focus.
TEST(QuilletFind, Dialog_OwnedByTheNotepadAndInFrontOfIt) {
    Quillet q;
    ASSERT_TRUE(q.Ready()) << Describe(q.main);
    PressKey('A');
    PressKey('B');
    ASSERT_TRUE(q.EditorShows(L"ab"));
    PressKey(VK_HOME);
    PressKey('E', VK_MENU);  // 编辑(&E), then 查找(&F)
    ASSERT_TRUE(PumpUntil([&] { return q.MenuOpen(); }));
    PressKey('F');
    HWND dialog = q.Dialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(q.main, GetWindow(dialog, GW_OWNER)) << Describe(GetWindow(dialog, GW_OWNER));
    ASSERT_TRUE(SetDlgItemTextW(dialog, edt1, L"b"));
    PressButton(dialog, IDOK);  // 查找下一个: "b" is selected and the editor takes the focus
    ASSERT_TRUE(PumpUntil([&] { return q.focus() == q.editor && SendMessageW(q.editor, EM_GETSEL, 0, 0) == MAKELONG(1, 2); }));
    // Wine raises a window above the windows it owns once it has the focus (plain windows
    // of one process do the same there); Windows keeps them in front of it.
    if (RunningUnderWine()) return;
    HWND at = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        at = WindowFromPoint(Centre(WindowRectOf(dialog)));
        return at && GetAncestor(at, GA_ROOT) == dialog;
    })) << Describe(at);
}

// The replace dialog: 全部替换 honours match case and whole word and is taken back by one
// undo; 替换 replaces the found occurrence and goes on to the next, and past the last one
// the not-found message of the search comes.
TEST(QuilletReplace, ReplaceAllOneUndoAndReplaceOneByOne) {
    TempDir temp(L"quillet");
    ASSERT_TRUE(WriteFileBytes(temp.File(L"r.txt"), "one ones One one"));
    Quillet q(L"\"" + temp.File(L"r.txt") + L"\"");
    ASSERT_TRUE(q.Ready()) << Describe(q.main);
    ASSERT_TRUE(q.EditorShows(L"one ones One one"));
    PressKey('E', VK_MENU);  // 编辑(&E), then 替换(&R)
    ASSERT_TRUE(PumpUntil([&] { return q.MenuOpen(); }));
    PressKey('R');
    HWND dialog = q.Dialog();
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(SetDlgItemTextW(dialog, edt1, L"one"));
    ASSERT_TRUE(SetDlgItemTextW(dialog, edt2, L"1"));
    PressButton(dialog, chx1, PressMethod::Click);  // whole word
    PressButton(dialog, chx2, PressMethod::Click);  // match case
    PressButton(dialog, psh2);                      // 全部替换
    EXPECT_TRUE(q.EditorShows(L"1 ones One 1"));

    ClickAt(Centre(WindowRectOf(q.editor)));
    ASSERT_TRUE(PumpUntil([&] { return q.focus() == q.editor; }));
    PressKey('Z', VK_CONTROL);
    EXPECT_TRUE(q.EditorShows(L"one ones One one")) << "one undo takes the whole replacement back";
    PressKey(VK_HOME, VK_CONTROL);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(q.editor, EM_GETSEL, 0, 0) == 0; })) << "the caret is not at the start";

    PressButton(dialog, chx2, PressMethod::Click);  // match case off
    PressButton(dialog, IDOK);                       // 查找下一个 selects the first "one"
    PressButton(dialog, psh1);                       // 替换, and on to "One"
    EXPECT_TRUE(q.EditorShows(L"1 ones One one"));
    PressButton(dialog, psh1);
    PressButton(dialog, psh1);  // the last one: nothing after it
    EXPECT_TRUE(q.EditorShows(L"1 ones 1 1"));
    HWND box = q.Dialog(dialog);
    ASSERT_NE(nullptr, box) << "no not-found message";
    EXPECT_EQ("找不到 ''one''", DismissMessageBox(box, IDOK));
}

