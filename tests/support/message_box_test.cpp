// Message boxes opened in the test's own thread: found, read (GBK text checked byte for
// byte), dismissed with the asked button from a watcher thread or a timer, and the safety
// nets when no box, an extra box or a box without the asked button turns up.
#include "gui_test.h"

#include <gtest/gtest-spi.h>

using namespace guitest;

namespace {

// "语音输入：已开始" in GBK.
constexpr char kStartedBytes[] = "D3 EF D2 F4 CA E4 C8 EB A3 BA D2 D1 BF AA CA BC";

int lastAnswer = 0;

}  // namespace

TEST(MessageBoxes, ExpectMessageBox_ReadsGbkTextAndPressesButton) {
  int answer = 0;
  const std::string text = ExpectMessageBox([&] { answer = MessageBoxA(nullptr, "语音输入：已开始", "提示", MB_YESNO); },
                                            IDNO);
  EXPECT_EQ(kStartedBytes, HexBytes(text));
  EXPECT_EQ(IDNO, answer);
}

TEST(MessageBoxes, ExpectMessageBox_FromTimerWithClick) {
  TestWindow owner{TestWindowOptions()};
  ASSERT_TRUE(owner);
  int answer = 0;
  ExpectOptions options;
  options.from = DismissFrom::Timer;
  options.method = PressMethod::Click;
  const std::string text = ExpectMessageBox(
      [&] { answer = MessageBoxW(owner.Handle(), L"语音输入：已开始", L"提示", MB_OKCANCEL); }, IDCANCEL, options);
  EXPECT_EQ(kStartedBytes, HexBytes(text));
  EXPECT_EQ(IDCANCEL, answer);
}

TEST(MessageBoxes, ExpectMessageBoxes_DismissesSeveralInOrder) {
  std::vector<int> answers;
  const std::vector<MessageBoxContents> boxes = ExpectMessageBoxes(
      [&] {
        answers.push_back(MessageBoxA(nullptr, "first", "one", MB_YESNOCANCEL));
        answers.push_back(MessageBoxA(nullptr, "second", "two", MB_OK));
      },
      {IDYES, IDOK});
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ("first", boxes[0].text);
  EXPECT_EQ("one", boxes[0].caption);
  EXPECT_EQ((std::vector<int>{IDYES, IDNO, IDCANCEL}), boxes[0].buttons);
  EXPECT_EQ("second", boxes[1].text);
  EXPECT_EQ((std::vector<int>{IDOK}), boxes[1].buttons);
  EXPECT_EQ((std::vector<int>{IDYES, IDOK}), answers);
}

TEST(MessageBoxes, ExpectMessageBox_FailsWhenNoBoxAppears) {
  EXPECT_NONFATAL_FAILURE(ExpectMessageBox([] {}, IDOK), "expected 1 message box(es), saw 0");
}

TEST(MessageBoxes, ExpectMessageBox_FailsAndClosesBoxWithoutTheButton) {
  // The box has no Yes button: the watcher reports it and closes the box anyway, so the
  // test goes on instead of hanging.
  EXPECT_NONFATAL_FAILURE(ExpectMessageBox([] { lastAnswer = MessageBoxA(nullptr, "only ok", "t", MB_OK); }, IDYES),
                          "has no button 6");
  EXPECT_NE(0, lastAnswer);
}

TEST(MessageBoxes, ExpectMessageBox_FailsAndClosesUnexpectedSecondBox) {
  EXPECT_NONFATAL_FAILURE(ExpectMessageBox(
                              [] {
                                MessageBoxA(nullptr, "expected", "t", MB_OK);
                                MessageBoxA(nullptr, "surprise", "t", MB_OK);
                              },
                              IDOK),
                          "unexpected message box \"surprise\"");
}

TEST(MessageBoxes, DismissMessageBox_FromTimerCallbackInSameThread) {
  // The plain building blocks, as a test would use them inside its own timer.
  static std::string seenText;
  static HWND box = nullptr;
  seenText.clear();
  box = nullptr;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    box = FindThreadMessageBox(GetCurrentThreadId());
    if (!box) return;
    KillTimer(nullptr, id);
    seenText = DismissMessageBox(box, IDRETRY);
  });
  ASSERT_NE(0u, timer);
  const int answer = MessageBoxA(nullptr, "重试？", "t", MB_RETRYCANCEL);
  EXPECT_EQ(IDRETRY, answer);
  EXPECT_EQ(ToAnsi(L"重试？"), seenText);
  EXPECT_FALSE(IsWindow(box));
}

TEST(MessageBoxes, OkOnlyBox_CancelCommandAnswer) {
  // Esc on a box with only an OK button: the dialog gets WM_COMMAND(IDCANCEL).  Windows
  // documents the answer IDOK; Wine 8, which has no Cancel button in the box, answers
  // IDCANCEL.  Tests of "closed with Esc" should accept either.
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindThreadMessageBox(GetCurrentThreadId());
    if (!box) return;
    KillTimer(nullptr, id);
    EXPECT_EQ((std::vector<int>{IDOK}), ReadMessageBox(box).buttons);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  ASSERT_NE(0u, timer);
  const int answer = MessageBoxA(nullptr, "esc", "t", MB_OK);
  EXPECT_EQ(RunningUnderWine() ? IDCANCEL : IDOK, answer);
}
