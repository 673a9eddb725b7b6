// The control messages a form sends where the keyboard and the focus move: Alt+letter as
// CM_DIALOGCHAR, dialog keys as CM_DIALOGKEY (heard by every control of the form), and
// CM_EXIT / CM_ENTER / CM_FOCUSCHANGED when the focus goes from one control to another.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "MenuDialogTestSupport.h"
#include "StdCtrls.h"
#include "WindowProcHook.h"
#include "gui_test.h"

namespace {

struct Heard {
    std::string who;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class FormMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(60, 60, 300, 200);
        first = new TEdit(form.get());
        first->SetParent(form.get());
        first->SetBounds(10, 10, 120, 24);
        second = new TButton(form.get());
        second->SetParent(form.get());
        second->SetBounds(10, 50, 80, 25);
        form->Show();
        listen(*form, "form");
        listen(*first, "first");
        listen(*second, "second");
    }
    void TearDown() override {
        hooks.clear();
        form.reset();
        guitest::PumpMessages();
    }
    void listen(TControl& control, const std::string& who) {
        hooks.push_back(std::make_unique<TWindowProcHook>(control, [this, who](TMessage& m, const TWndMethod& previous) {
            if (m.Msg == CM_DIALOGCHAR || m.Msg == CM_DIALOGKEY || m.Msg == CM_FOCUSCHANGED || m.Msg == CM_ENTER ||
                m.Msg == CM_EXIT)
                heard.push_back({who, m.Msg, m.WParam, m.LParam});
            previous(m);
        }));
    }
    bool heardBy(const std::string& who, UINT msg, WPARAM wParam) const {
        for (const Heard& h : heard)
            if (h.who == who && h.msg == msg && h.wParam == wParam) return true;
        return false;
    }
    // Takes a key message through the application's message processing, as the loop would.
    void deliver(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        ASSERT_TRUE(PostMessageA(wnd, msg, wParam, lParam));
        Application->ProcessMessages();
    }

    std::unique_ptr<TForm> form;
    TEdit* first = nullptr;
    TButton* second = nullptr;
    std::vector<std::unique_ptr<TWindowProcHook>> hooks;
    std::vector<Heard> heard;
};

}  // namespace

TEST_F(FormMessagesTest, AltLetter_ReachesTheFormAsDialogChar) {
    const LPARAM altDown = 1 | (1 << 29);
    deliver(first->Handle(), WM_SYSCHAR, 'f', altDown);
    EXPECT_TRUE(heardBy("form", CM_DIALOGCHAR, 'f'));
    EXPECT_TRUE(heardBy("second", CM_DIALOGCHAR, 'f')) << "the form's controls hear it too";
}

TEST_F(FormMessagesTest, DialogKeys_ReachTheFormUnlessTheFocusedWindowWantsThem) {
    struct Row {
        const char* what;
        TWinControl* target;
        WPARAM key;
        bool toForm;
    } rows[] = {
        {"Tab on a button", second, VK_TAB, true},
        {"Escape on a button", second, VK_ESCAPE, true},
        {"arrow on an edit, which wants arrows", first, VK_LEFT, false},
        {"a letter is no dialog key", second, 'A', false},
    };
    for (const Row& row : rows) {
        heard.clear();
        deliver(row.target->Handle(), WM_KEYDOWN, row.key, 1);
        EXPECT_EQ(row.toForm, heardBy("form", CM_DIALOGKEY, row.key)) << row.what;
    }
}

TEST_F(FormMessagesTest, FocusMove_ExitEnterAndFocusChanged) {
    first->SetFocus();
    ASSERT_TRUE(menutest::PumpUntil([&] { return form->FocusedControl() == first; }));
    heard.clear();
    second->SetFocus();
    ASSERT_TRUE(menutest::PumpUntil([&] { return form->FocusedControl() == second; }));
    std::vector<std::string> order;
    for (const Heard& h : heard) {
        if (h.msg == CM_EXIT) order.push_back(h.who + " exit");
        if (h.msg == CM_ENTER) order.push_back(h.who + " enter");
        if (h.msg == CM_FOCUSCHANGED && h.lParam == reinterpret_cast<LPARAM>(static_cast<TWinControl*>(second)))
            order.push_back(h.who + " focus changed");
    }
    const std::vector<std::string> expected{"first exit", "second enter", "form focus changed", "first focus changed",
                                            "second focus changed"};
    EXPECT_EQ(expected, order);
}
