// The message recorder and the sequence matcher: sent versus posted, parent and default
// processing flags, a real SetWindowPos sequence checked against a table, detaching, and
// the matcher's optional rows, parameter checks and failure report.
#include "gui_test.h"

using namespace guitest;

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kPong = WM_APP + 2;

RecordedMessage rec(UINT message, unsigned flags, WPARAM w = 0, LPARAM l = 0) { return {nullptr, message, flags, w, l}; }

}  // namespace

TEST(MessageRecorder, Record_TellsSentFromPosted) {
  TestWindow window{TestWindowOptions()};
  ASSERT_TRUE(window);
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.Attach(window.Handle()));
  SendMessageW(window.Handle(), kPing, 1, 2);
  PostMessageW(window.Handle(), kPong, 3, 4);
  SendMessageW(window.Handle(), kPong, 3, 4);  // same values as the posted one, delivered first
  ASSERT_TRUE(PumpUntil([&] { return recorder.Count(kPong) == 2; }));
  static const ExpectedMessage expected[] = {
      {kPing, Sent | WParam | LParam, 1, 2},
      {kPong, Sent | WParam | LParam, 3, 4},
      {kPong, Posted | WParam | LParam, 3, 4},
  };
  EXPECT_TRUE(MatchSequence(recorder.Messages(), expected));
}

TEST(MessageRecorder, Record_PostedDuringHandlerIsNotNested) {
  // A handler that runs its own loop (as a modal dialog does) dispatches queued messages
  // while a recorded message is being handled; they are still posted, not nested.
  TestWindowOptions options;
  options.handler = [](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message == kPing) {
      bool seen = false;
      PostMessageW(hwnd, kPong, 0, 0);
      PumpUntil([&] {
        MSG msg;
        seen = seen || !PeekMessageW(&msg, hwnd, kPong, kPong, PM_NOREMOVE);
        return seen;
      });
    }
    return false;
  };
  TestWindow window(options);
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.Attach(window.Handle()));
  SendMessageW(window.Handle(), kPing, 0, 0);
  static const ExpectedMessage expected[] = {{kPing, Sent}, {kPong, Posted}};
  EXPECT_TRUE(MatchSequence(recorder.Messages(), expected));
  ASSERT_EQ(2u, recorder.Messages().size());
  EXPECT_FALSE(recorder.Messages()[1].flags & Nested) << FlagsToString(recorder.Messages()[1].flags);
}

TEST(MessageRecorder, Record_SentFromAnotherThreadIsSent) {
  TestWindow window{TestWindowOptions()};
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.Attach(window.Handle()));
  HWND target = window.Handle();
  HANDLE thread = CreateThread(nullptr, 0, [](LPVOID hwnd) -> DWORD {
    return static_cast<DWORD>(SendMessageW(static_cast<HWND>(hwnd), kPing, 7, 0));
  }, target, 0, nullptr);
  ASSERT_NE(nullptr, thread);
  EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }));
  CloseHandle(thread);
  static const ExpectedMessage expected[] = {{kPing, Sent | WParam, 7}};
  EXPECT_TRUE(MatchSequence(recorder.Messages(), expected));
}

TEST(MessageRecorder, Record_ParentNestedAndDefaultFlags) {
  TestWindow parent{TestWindowOptions()};
  TestWindowOptions childOptions;
  childOptions.parent = parent.Handle();
  childOptions.style = WS_CHILD;
  childOptions.handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message != kPing) return false;
    SendMessageW(GetParent(hwnd), kPong, 0, 0);  // a notification to the parent
    *result = 0;
    return true;
  };
  TestWindow child(childOptions);
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.Attach(child.Handle()));
  ASSERT_TRUE(recorder.Attach(parent.Handle(), WindowRole::Parent));
  SendMessageW(child.Handle(), kPing, 0, 0);
  // WM_CLOSE's default processing destroys the window: everything from WM_DESTROY on
  // arrives while DefProc runs.
  SendMessageW(child.Handle(), WM_CLOSE, 0, 0);
  static const ExpectedMessage expected[] = {
      {kPing, Sent},
      {kPong, Sent | Parent | Nested},
      {WM_CLOSE, Sent},
      {WM_PARENTNOTIFY, Sent | Parent | Nested | Optional},  // child without WS_EX_NOPARENTNOTIFY
      {WM_SHOWWINDOW, Sent | Nested | Optional},
      {WM_WINDOWPOSCHANGING, Sent | Nested | Optional},
      {WM_WINDOWPOSCHANGED, Sent | Nested | Optional},
      {WM_DESTROY, Sent | Default | Nested},
      {WM_NCDESTROY, Sent | Default | Nested},
  };
  EXPECT_TRUE(MatchSequence(recorder.Messages(), expected)) << "child " << child.Handle();
  EXPECT_FALSE(IsWindow(child.Handle()));
}

TEST(MessageRecorder, SetWindowPos_SizeOfHiddenWindowMatchesTable) {
  TestWindowOptions options;
  options.style = WS_POPUP;
  TestWindow window(options);
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.Attach(window.Handle()));
  SetWindowPos(window.Handle(), nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
  static const ExpectedMessage expected[] = {
      {WM_WINDOWPOSCHANGING, Sent},
      {WM_GETMINMAXINFO, Sent | Optional},
      {WM_NCCALCSIZE, Sent | WParam, TRUE},
      {WM_WINDOWPOSCHANGED, Sent},
      {WM_SIZE, Sent | Default | Nested | WParam | LParam, SIZE_RESTORED, MAKELPARAM(150, 90)},
  };
  EXPECT_TRUE(MatchSequence(recorder.Messages(), expected));
}

TEST(MessageRecorder, Detach_RestoresOriginalProcedure) {
  TestWindow window{TestWindowOptions()};
  const LONG_PTR original = GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC);
  {
    MessageRecorder recorder;
    ASSERT_TRUE(recorder.Attach(window.Handle()));
    EXPECT_NE(original, GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC));
  }
  EXPECT_EQ(original, GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC));
}

TEST(MessageRecorder, Detach_UnderLaterSubclassPassesThrough) {
  static WNDPROC below = nullptr;
  static int seenOnTop = 0;
  TestWindow window{TestWindowOptions()};
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.Attach(window.Handle()));
  seenOnTop = 0;
  below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == kPing) ++seenOnTop;
        return CallWindowProcW(below, h, m, w, l);
      })));
  recorder.Detach(window.Handle());
  SendMessageW(window.Handle(), kPing, 0, 0);
  EXPECT_EQ(1, seenOnTop) << "the later subclass keeps working";
  EXPECT_EQ(0u, recorder.Count(kPing)) << "nothing recorded after detaching";
  ASSERT_TRUE(recorder.Attach(window.Handle())) << "attaching again reuses the pass-through";
  SendMessageW(window.Handle(), kPing, 0, 0);
  EXPECT_EQ(1u, recorder.Count(kPing));
  EXPECT_EQ(2, seenOnTop);
}

TEST(MessageRecorder, Ignore_DropsNoiseAndChosenMessages) {
  TestWindow window{TestWindowOptions()};
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.Attach(window.Handle()));
  recorder.Ignore(kPong);
  SendMessageW(window.Handle(), WM_GETICON, ICON_SMALL, 0);
  SendMessageW(window.Handle(), kPong, 0, 0);
  SendMessageW(window.Handle(), kPing, 0, 0);
  static const ExpectedMessage expected[] = {{kPing, Sent}};
  EXPECT_TRUE(MatchSequence(recorder.Take(), expected));
  EXPECT_TRUE(recorder.Messages().empty());
}

TEST(SequenceMatcher, OptionalRowsMayBeMissingOrPresent) {
  static const ExpectedMessage expected[] = {
      {WM_SHOWWINDOW, Sent | WParam, TRUE},
      {WM_NCPAINT, Sent | Optional},
      {WM_ERASEBKGND, Sent | Optional},
      {WM_SIZE, Sent},
  };
  EXPECT_TRUE(MatchSequence({rec(WM_SHOWWINDOW, Sent, 1), rec(WM_SIZE, Sent)}, expected));
  EXPECT_TRUE(MatchSequence({rec(WM_SHOWWINDOW, Sent, 1), rec(WM_ERASEBKGND, Sent), rec(WM_SIZE, Sent)}, expected));
  // An optional row must not swallow a message a later required row needs.
  static const ExpectedMessage greedy[] = {{WM_SIZE, Sent | Optional}, {WM_SIZE, Sent | WParam, SIZE_MAXIMIZED}};
  EXPECT_TRUE(MatchSequence({rec(WM_SIZE, Sent, SIZE_MAXIMIZED)}, greedy));
}

TEST(SequenceMatcher, ChecksParametersAndFlagsOnlyWhenAsked) {
  static const ExpectedMessage loose[] = {{WM_SIZE, 0}};
  static const ExpectedMessage strict[] = {{WM_SIZE, Sent | WParam | LParam, SIZE_RESTORED, MAKELPARAM(10, 20)}};
  static const ExpectedMessage parent[] = {{WM_SIZE, Parent}};
  EXPECT_TRUE(MatchSequence({rec(WM_SIZE, Posted, 5, 6)}, loose));
  EXPECT_TRUE(MatchSequence({rec(WM_SIZE, Sent | Default, SIZE_RESTORED, MAKELPARAM(10, 20))}, strict));
  EXPECT_FALSE(MatchSequence({rec(WM_SIZE, Sent, SIZE_RESTORED, MAKELPARAM(10, 21))}, strict));
  EXPECT_FALSE(MatchSequence({rec(WM_SIZE, Posted, SIZE_RESTORED, MAKELPARAM(10, 20))}, strict));
  EXPECT_FALSE(MatchSequence({rec(WM_SIZE, Sent)}, parent)) << "the parent flag is always compared";
  EXPECT_TRUE(MatchSequence({rec(WM_SIZE, Sent | Parent)}, parent));
}

TEST(SequenceMatcher, ExactRejectsExtrasInOrderAllowsThem) {
  static const ExpectedMessage expected[] = {{WM_CREATE, Sent}, {WM_SIZE, Sent}};
  const std::vector<RecordedMessage> actual = {rec(WM_CREATE, Sent), rec(WM_MOVE, Sent), rec(WM_SIZE, Sent)};
  EXPECT_FALSE(MatchSequence(actual, expected));
  EXPECT_TRUE(MatchSequence(actual, expected, MatchMode::InOrder));
  EXPECT_FALSE(MatchSequence({rec(WM_SIZE, Sent), rec(WM_CREATE, Sent)}, expected, MatchMode::InOrder));
  EXPECT_FALSE(MatchSequence({rec(WM_CREATE, Sent)}, expected, MatchMode::InOrder));
}

TEST(SequenceMatcher, FailureListsBothSequences) {
  static const ExpectedMessage expected[] = {{WM_CREATE, Sent}, {WM_SIZE, Sent | WParam, SIZE_MINIMIZED}};
  const ::testing::AssertionResult result =
      MatchSequence({rec(WM_CREATE, Sent), rec(WM_SIZE, Sent, SIZE_RESTORED), rec(WM_APP + 3, Posted)}, expected);
  ASSERT_FALSE(result);
  const std::string report = result.message();
  EXPECT_NE(std::string::npos, report.find("expected (2):")) << report;
  EXPECT_NE(std::string::npos, report.find("recorded (3):")) << report;
  EXPECT_NE(std::string::npos, report.find("=>  1  WM_SIZE")) << report;
  EXPECT_NE(std::string::npos, report.find("WM_APP+3")) << report;
  EXPECT_NE(std::string::npos, report.find("first difference at expected #1, recorded #1")) << report;
}

TEST(SequenceMatcher, MessageName_NamesKnownAndRelativeMessages) {
  EXPECT_EQ("WM_NCCALCSIZE", MessageName(WM_NCCALCSIZE));
  EXPECT_EQ("WM_PRINTCLIENT", MessageName(WM_PRINTCLIENT));
  EXPECT_EQ("WM_USER+5", MessageName(WM_USER + 5));
  EXPECT_EQ("WM_APP+0", MessageName(WM_APP));
  EXPECT_EQ("0x0004", MessageName(0x0004));
  const UINT registered = RegisterWindowMessageA("guitest.registered");
  EXPECT_EQ("\"guitest.registered\"", MessageName(registered));
}
