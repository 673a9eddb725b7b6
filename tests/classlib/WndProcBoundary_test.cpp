// The window-procedure boundary of the class library: a handler that throws never takes
// its window down with it.  Creation fails cleanly, a failed paint is validated, unbinding
// at WM_NCDESTROY still runs, a failed close question keeps the window, an unfinished
// message goes on to the default procedure, and a failing error handler still reports.
#include <gtest/gtest.h>

#include <string>

#include "Forms.h"
#include "MenuDialogTestSupport.h"
#include "StdCtrls.h"
#include "WndProcBoundary.h"
#include "gui_test.h"

namespace {

// A form whose message method throws for one chosen message, before handling it.
class TFaultyForm : public TForm {
public:
    explicit TFaultyForm(TComponent* owner) : TForm(owner) {}
    UINT failOn = 0;
    int arrivals = 0;  // how often failOn arrived
    void WndProc(TMessage& m) override {
        if (failOn && m.Msg == failOn) {
            ++arrivals;
            throw Exception("handler failed at " + guitest::MessageName(m.Msg));
        }
        TForm::WndProc(m);
    }
};

// The windows of this thread that name `form` as their control.
int windowsBoundTo(const TControl* form) {
    struct Search {
        const TControl* form;
        int count;
    } search{form, 0};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (FindControl(wnd) == s->form) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

bool reported(const std::string& text) {
    for (const std::string& r : menutest::ReportedExceptions())
        if (r == text) return true;
    return false;
}

class BoundaryTest : public ::testing::Test {
protected:
    void SetUp() override { menutest::ReportedExceptions().clear(); }
    void TearDown() override {
        delete form;
        guitest::PumpMessages();
        menutest::ReportedExceptions().clear();
    }
    TFaultyForm* form = new TFaultyForm(nullptr);
};

}  // namespace

TEST_F(BoundaryTest, ThrowInCreation_FailsCleanlyAndTheControlCanTryAgain) {
    for (UINT msg : {UINT(WM_NCCREATE), UINT(WM_CREATE)}) {
        SCOPED_TRACE(guitest::MessageName(msg));
        form->failOn = msg;
        EXPECT_THROW(form->HandleNeeded(), Exception);
        EXPECT_FALSE(form->HandleAllocated()) << "no handle of a window that is gone";
        EXPECT_EQ(0, windowsBoundTo(form));
        EXPECT_TRUE(menutest::PumpUntil([&] { return reported("handler failed at " + guitest::MessageName(msg)); }));
    }
    form->failOn = 0;
    ASSERT_NE(nullptr, form->Handle());
    EXPECT_EQ(form, FindControl(form->Handle()));
}

TEST_F(BoundaryTest, ThrowInPaint_ValidatesTheWindow) {
    form->SetBounds(40, 40, 200, 120);
    form->Show();
    HWND wnd = form->Handle();
    form->failOn = WM_PAINT;
    InvalidateRect(wnd, nullptr, TRUE);
    ASSERT_TRUE(menutest::PumpUntil([&] { return form->arrivals > 0; }));
    // A window left invalid would get WM_PAINT again and again, for ever.
    EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE));
    EXPECT_EQ(1, form->arrivals);
    EXPECT_TRUE(menutest::PumpUntil([] { return reported("handler failed at WM_PAINT"); }));
}

TEST_F(BoundaryTest, ThrowInNcDestroy_StillUnbindsTheControl) {
    HWND wnd = form->Handle();
    form->failOn = WM_NCDESTROY;
    // Destroyed from outside the control, as a parent's destruction or the system would.
    ASSERT_TRUE(DestroyWindow(wnd));
    EXPECT_EQ(1, form->arrivals);
    EXPECT_FALSE(form->HandleAllocated()) << "the control keeps the handle of a destroyed window";
    form->failOn = 0;
    EXPECT_NE(nullptr, form->Handle()) << "and makes a new window when asked";
}

TEST_F(BoundaryTest, UnfinishedMessage_GoesToTheDefaultProcedure) {
    HWND wnd = form->Handle();
    form->failOn = WM_SETTEXT;
    SetWindowTextA(wnd, "new caption");
    EXPECT_EQ(1, form->arrivals);
    EXPECT_EQ("new caption", guitest::WindowTextA(wnd));
    EXPECT_TRUE(menutest::PumpUntil([] { return reported("handler failed at WM_SETTEXT"); }));
}

TEST_F(BoundaryTest, ThrowingCloseQuery_KeepsTheWindowAndItsText) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(8, 8, 120, 24);
    form->Show();
    edit->SetText("unsaved words");
    form->OnCloseQuery = [](TObject*, bool&) { throw Exception("close question failed"); };
    HWND wnd = form->Handle();

    SendMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(wnd));
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_EQ("unsaved words", guitest::WindowTextA(edit->Handle()));
    EXPECT_EQ(FALSE, SendMessageA(wnd, WM_QUERYENDSESSION, 0, 0)) << "a failed question never ends the session";
    EXPECT_TRUE(menutest::PumpUntil([] { return reported("close question failed"); }));
}

TEST_F(BoundaryTest, EndingTheSession_AsksTheCloseQuestion) {
    HWND wnd = form->Handle();
    int asked = 0;
    bool answer = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { ++asked; canClose = answer; };
    EXPECT_EQ(FALSE, SendMessageA(wnd, WM_QUERYENDSESSION, 0, 0));
    answer = true;
    EXPECT_EQ(TRUE, SendMessageA(wnd, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(2, asked);
    EXPECT_TRUE(IsWindow(wnd)) << "asking is not closing";
}

TEST(ApplicationErrors, FailingErrorHandler_FallsBackToTheErrorBox) {
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [](TObject*, const std::exception&) { throw Exception("handler broke"); };
    const std::string text = guitest::ExpectMessageBox(
        [] {
            Application->QueueException("first error");
            Application->ProcessMessages();  // the box opens from the loop, outside the callback
        },
        IDOK);
    Application->OnException = saved;
    EXPECT_EQ("handler broke.", text);
}
