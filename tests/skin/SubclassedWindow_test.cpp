// The skins' one subclassing mechanism, for every kind of skin on a window of the class
// that kind subclasses: a Unicode window's text passes unharmed, and a handler that throws
// stays inside the window-procedure boundary.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Forms.h"
#include "SubclassedWindow.h"
#include "gui_test.h"

namespace {

// Text no ANSI code page of the programs holds (Hangul, a check mark, a character beyond
// the basic plane) beside Chinese: any trip through the ANSI path turns some of it into '?'.
const wchar_t kWideText[] = L"\u4E2D\u6587 \uD55C\uAE00 \u2713 \U0001F600";

// A window of the class a kind subclasses, made with the wide or the ANSI calls: the
// window itself, and for a combo box's edit the combo box that owns it.
struct KindWindow {
    guitest::OwnedWindow owner;  // the parent, or the combo box of an edit
    guitest::OwnedWindow own;    // the window itself when it is not an owner's child
    HWND window = nullptr;
};

HWND create(bool unicode, const char* cls, DWORD style, HWND parent, void* params = nullptr) {
    const std::wstring wide(cls, cls + std::char_traits<char>::length(cls));
    return unicode ? CreateWindowExW(0, wide.c_str(), L"", style, 10, 10, 200, 120, parent, nullptr,
                                     GetModuleHandleW(nullptr), params)
                   : CreateWindowExA(0, cls, "", style, 10, 10, 200, 120, parent, nullptr,
                                     GetModuleHandleA(nullptr), params);
}

KindWindow makeWindowOf(SubclassKind kind, bool unicode) {
    KindWindow w;
    const DWORD hidden = WS_OVERLAPPEDWINDOW;
    switch (kind) {
    case SubclassKind::ControlSkin:  // a push button on a form
        w.owner.Reset(create(unicode, "Static", hidden, nullptr));
        w.window = create(unicode, "Button", WS_CHILD | BS_PUSHBUTTON, w.owner.Get());
        break;
    case SubclassKind::FormSkin:  // a top-level window
        w.own.Reset(create(unicode, "Static", hidden, nullptr));
        w.window = w.own.Get();
        break;
    case SubclassKind::MDIClient: {  // the client of an MDI frame
        w.owner.Reset(create(unicode, "Static", hidden, nullptr));
        CLIENTCREATESTRUCT client{nullptr, 0xFF00};
        w.window = create(unicode, "MDIClient", WS_CHILD | WS_CLIPCHILDREN, w.owner.Get(), &client);
        break;
    }
    case SubclassKind::PopupMenu:  // a borderless popup, as a menu's window is
        w.own.Reset(create(unicode, "Static", WS_POPUP, nullptr));
        w.window = w.own.Get();
        break;
    case SubclassKind::ComboEdit:  // the edit of a drop-down combo box
        w.owner.Reset(create(unicode, "ComboBox", WS_POPUP | CBS_DROPDOWN, nullptr));
        w.window = w.owner ? GetTopWindow(w.owner.Get()) : nullptr;
        break;
    }
    return w;
}

const SubclassKind kKinds[] = {SubclassKind::ControlSkin, SubclassKind::FormSkin, SubclassKind::MDIClient,
                               SubclassKind::PopupMenu, SubclassKind::ComboEdit};
const char* const kKindNames[] = {"control skin", "form skin", "MDI client", "popup menu", "combo box's edit"};

std::string nameOf(SubclassKind kind, bool unicode) {
    return std::string(kKindNames[static_cast<int>(kind)]) + (unicode ? " (Unicode)" : " (ANSI)");
}

// A link of the kind that counts the texts reaching its handler and hands every message
// on, except that it throws for `failOn`: before handing it on, or after when `passOnFirst`.
struct Probe {
    explicit Probe(SubclassKind kind) : link(kind, this, [this](TMessage& m) { onMessage(m); }) {}
    void onMessage(TMessage& m) {
        if (m.Msg == WM_SETTEXT || m.Msg == WM_GETTEXT) ++texts;
        const bool fail = failOn && m.Msg == failOn;
        if (fail && !passOnFirst) throw std::runtime_error(failure);
        link.CallPrevious(m);
        if (fail) throw std::runtime_error(failure);
    }
    UINT failOn = 0;
    bool passOnFirst = false;
    std::string failure;
    int texts = 0;
    SubclassedWindow link;
};

// What the application was told of failed callbacks, in order.
struct ReportedErrors {
    ReportedErrors() : saved(Application->OnException) {
        Application->OnException = [this](TObject*, const std::exception& e) { texts.push_back(e.what()); };
    }
    ~ReportedErrors() { Application->OnException = saved; }
    bool Has(const std::string& text) const {
        for (const std::string& t : texts)
            if (t == text) return true;
        return false;
    }
    std::vector<std::string> texts;
    TExceptionEvent saved;
};

// A procedure put in front of a window's own, counting the WM_APP messages it is handed.
WNDPROC countedOriginal = nullptr;
int countedCalls = 0;
LRESULT CALLBACK countingProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) ++countedCalls;
    return CallWindowProcW(countedOriginal, window, msg, wParam, lParam);
}

}  // namespace

TEST(SubclassedWindow, UnicodeWindowText_PassesEveryKindUnharmed) {
    for (SubclassKind kind : kKinds) {
        const std::string row = nameOf(kind, true);
        KindWindow w = makeWindowOf(kind, true);
        ASSERT_TRUE(w.window) << row;
        ASSERT_TRUE(IsWindowUnicode(w.window)) << row;
        Probe probe(kind);
        ASSERT_TRUE(probe.link.Install(w.window)) << row;
        EXPECT_TRUE(IsWindowUnicode(w.window)) << row << ": the window stays Unicode";
        EXPECT_EQ(SubclassedWindow::OwnerOf<Probe>(w.window, kind), &probe) << row;

        EXPECT_TRUE(SetWindowTextW(w.window, kWideText)) << row;
        EXPECT_EQ(guitest::WindowTextW(w.window), kWideText) << row;
        EXPECT_GE(probe.texts, 2) << row << ": the text went through the skin's handler";

        EXPECT_TRUE(probe.link.Restore()) << row;
        EXPECT_EQ(SubclassedWindow::OwnerOf<Probe>(w.window, kind), nullptr) << row;
    }
}

TEST(SubclassedWindow, ThrowingHandler_StaysInsideTheBoundaryForEveryKind) {
    ReportedErrors reported;
    std::vector<std::string> failures;
    for (bool unicode : {false, true}) {
        for (SubclassKind kind : kKinds) {
            const std::string row = nameOf(kind, unicode);
            KindWindow w = makeWindowOf(kind, unicode);
            ASSERT_TRUE(w.window) << row;
            Probe probe(kind);
            ASSERT_TRUE(probe.link.Install(w.window)) << row;
            probe.failOn = WM_SETTEXT;
            probe.failure = row + " failed";
            failures.push_back(probe.failure);

            // The message the handler did not finish still reaches the window's own procedure.
            EXPECT_TRUE(SetWindowTextW(w.window, L"set anyway")) << row;
            EXPECT_EQ(guitest::WindowTextW(w.window), L"set anyway") << row;
            EXPECT_TRUE(IsWindow(w.window)) << row;
            // And the skin goes on handling the window's messages.
            probe.failOn = 0;
            const int before = probe.texts;
            EXPECT_TRUE(SetWindowTextW(w.window, L"again")) << row;
            EXPECT_EQ(guitest::WindowTextW(w.window), L"again") << row;
            EXPECT_GT(probe.texts, before) << row;
        }
    }
    for (const std::string& failure : failures)
        EXPECT_TRUE(guitest::PumpUntil([&] { return reported.Has(failure); })) << "waited for the report: " << failure;
}

TEST(SubclassedWindow, ThrowingHandler_AfterHandingOnDoesNotHandOnAgain) {
    ReportedErrors reported;
    KindWindow w = makeWindowOf(SubclassKind::ComboEdit, false);
    ASSERT_TRUE(w.window);
    Probe probe(SubclassKind::ComboEdit);
    ASSERT_TRUE(probe.link.Install(w.window));
    probe.failOn = WM_CHAR;
    probe.passOnFirst = true;
    probe.failure = "failed after handing the character on";

    SendMessageW(w.window, WM_CHAR, 'x', 1);
    EXPECT_EQ(guitest::WindowTextW(w.window), L"x") << "the edit was handed the character twice";
    EXPECT_TRUE(guitest::PumpUntil([&] { return reported.Has(probe.failure); })) << "waited for the report";
}

TEST(SubclassedWindow, CallPrevious_AfterTheWindowsEnd_ReachesNoProcedure) {
    HWND window = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    countedCalls = 0;
    countedOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countingProcedure)));
    ASSERT_TRUE(countedOriginal);
    Probe probe(SubclassKind::FormSkin);
    ASSERT_TRUE(probe.link.Install(window));
    probe.link.CallPrevious(WM_APP, 0, 0);
    ASSERT_EQ(countedCalls, 1) << "handed on while the window lives";

    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(probe.link.CallPrevious(WM_APP, 0, 0), 0);
    EXPECT_EQ(countedCalls, 1) << "the window's old procedure was called after its end";
}
