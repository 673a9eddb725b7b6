// The class library's hidden windows: where each kind lives, messages to the handler and
// the rest to the default procedure, a failing handler answering 0 and reported, and the
// handler freed with its window (also when it destroys that window itself).
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "MenuDialogTestSupport.h"
#include "UtilityWindow.h"

namespace {

constexpr UINT kAsk = WM_APP + 1;
constexpr UINT kFail = WM_APP + 2;
constexpr UINT kCloseSelf = WM_APP + 3;

// Answers kAsk with 42, throws on kFail, leaves everything else to the default procedure.
bool answer(TMessage& m) {
    if (m.Msg == kFail) throw std::runtime_error("handler failed");
    if (m.Msg != kAsk) return false;
    m.Result = 42;
    return true;
}

}  // namespace

TEST(UtilityWindow, KindsLiveWhereTheyShould) {
    HWND messageOnly = CreateUtilityWindow("TUtilityTestMessageOnly", "test window", TUtilityWindowKind::MessageOnly, answer);
    HWND topLevel = CreateUtilityWindow("TUtilityTestTopLevel", "test window", TUtilityWindowKind::HiddenTopLevel, answer);
    ASSERT_TRUE(messageOnly && topLevel);
    EXPECT_NE(GetAncestor(messageOnly, GA_PARENT), GetDesktopWindow()) << "a message-only window";
    EXPECT_EQ(GetAncestor(topLevel, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(GetWindowLongPtrA(topLevel, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(topLevel));
    DestroyWindow(messageOnly);
    DestroyWindow(topLevel);
}

TEST(UtilityWindow, HandlerAnswersAndTheDefaultProcedureTakesTheRest) {
    HWND wnd = CreateUtilityWindow("TUtilityTestMessageOnly", "test window", TUtilityWindowKind::MessageOnly, answer);
    ASSERT_TRUE(wnd);
    EXPECT_EQ(SendMessageA(wnd, kAsk, 0, 0), 42);
    // WM_SETTEXT and WM_GETTEXT are not handled: the default procedure keeps the text.
    SetWindowTextA(wnd, "kept");
    char text[16] = {};
    GetWindowTextA(wnd, text, sizeof text);
    EXPECT_STREQ(text, "kept");
    DestroyWindow(wnd);
}

TEST(UtilityWindow, FailingHandlerAnswersZeroAndIsReported) {
    menutest::ReportedExceptions().clear();
    HWND wnd = CreateUtilityWindow("TUtilityTestMessageOnly", "test window", TUtilityWindowKind::MessageOnly, answer);
    ASSERT_TRUE(wnd);
    EXPECT_EQ(SendMessageA(wnd, kFail, 0, 0), 0);
    EXPECT_TRUE(menutest::PumpUntil([] { return !menutest::ReportedExceptions().empty(); }));
    ASSERT_FALSE(menutest::ReportedExceptions().empty());
    EXPECT_EQ(menutest::ReportedExceptions().front(), "handler failed");
    EXPECT_EQ(SendMessageA(wnd, kAsk, 0, 0), 42) << "the window goes on working";
    DestroyWindow(wnd);
    menutest::ReportedExceptions().clear();
}

TEST(UtilityWindow, HandlerIsFreedWithItsWindow) {
    auto token = std::make_shared<int>(0);
    HWND wnd = CreateUtilityWindow("TUtilityTestMessageOnly", "test window", TUtilityWindowKind::MessageOnly,
                                   [token](TMessage&) { return false; });
    ASSERT_TRUE(wnd);
    EXPECT_GT(token.use_count(), 1);
    DestroyWindow(wnd);
    EXPECT_EQ(token.use_count(), 1);

    // A handler that destroys its own window while it runs.
    HWND self = nullptr;
    self = CreateUtilityWindow("TUtilityTestMessageOnly", "test window", TUtilityWindowKind::MessageOnly,
                               [token, &self](TMessage& m) {
                                   if (m.Msg != kCloseSelf) return false;
                                   DestroyWindow(self);
                                   m.Result = 7;
                                   return true;
                               });
    ASSERT_TRUE(self);
    EXPECT_EQ(SendMessageA(self, kCloseSelf, 0, 0), 7);
    EXPECT_FALSE(IsWindow(self));
    EXPECT_EQ(token.use_count(), 1);
}
