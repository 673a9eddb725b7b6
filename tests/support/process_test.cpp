// Driving another program: the helper program is launched with extra environment and a
// working folder, its window, child control and message box are found and read from this
// process, the box is dismissed, and its exit code comes back.  Crashes, uncaught
// exceptions and hangs must show up as failures, never as a pass.
#include "gui_test.h"

#include <gtest/gtest-spi.h>

#include "helper_app.h"

using namespace guitest;

namespace {

constexpr wchar_t kHelper[] = L"guitest_helper.exe";
Process* runaway = nullptr;

}  // namespace

TEST(Process, HelperMessageBox_FoundReadAndDismissedFromThisProcess) {
  Process helper = LaunchProgram(kHelper, L"--message-box", {L"GUITEST_HELPER_SUFFIX=(42)"});
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  HWND main = WaitForMainWindow(helper, kHelperWindowClassW);
  ASSERT_NE(nullptr, main);
  HWND box = WaitForMessageBox(helper.Id());
  ASSERT_NE(nullptr, box) << "no message box from the helper";
  EXPECT_EQ(main, GetWindow(box, GW_OWNER));
  EXPECT_EQ(box, FindMessageBox(helper.Id(), main));

  const MessageBoxContents contents = ReadMessageBox(box);
  EXPECT_EQ(std::string(kHelperQuestion) + "(42)", contents.text) << HexBytes(contents.text);
  EXPECT_EQ(L"是否保存对文档的修改？(42)", contents.textW);
  EXPECT_EQ(kHelperBoxCaption, contents.caption);
  EXPECT_EQ((std::vector<int>{IDYES, IDNO, IDCANCEL}), contents.buttons);

  EXPECT_EQ(contents.text, DismissMessageBox(box, IDNO));
  EXPECT_EQ(100u + IDNO, WaitForExit(helper));
}

TEST(Process, HelperWindow_ShowsCaptionAndWorkingFolder) {
  TempDir folder;
  ASSERT_TRUE(folder.Valid());
  Process helper = LaunchProgram(kHelper, L"--caption \"帮助 窗口\"", {}, folder.Path());
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  HWND main = WaitForMainWindow(helper, L"帮助 窗口");
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(L"帮助 窗口", WindowTextW(main));
  HWND label = FindChildById(main, kHelperFolderId);
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(0, _wcsicmp(folder.Path().c_str(), WindowTextW(label).c_str()))
      << ToUtf8(WindowTextW(label)) << " vs " << ToUtf8(folder.Path());
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitForExit(helper));
}

TEST(Process, HelperWindow_CapturedFromAnotherProcess) {
  Process helper = LaunchProgram(kHelper);
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  HWND main = WaitForMainWindow(helper, kHelperWindowClassW);
  ASSERT_NE(nullptr, main);
  // Out of the way of other tests' windows; the screen is shared by tests run in parallel.
  SetWindowPos(main, HWND_TOPMOST, 900, 700, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  const RECT client = ClientRectOf(main);
  Capture capture;
  PumpUntil([&] {
    capture = CaptureWindow(main, false);
    return static_cast<bool>(PixelIs(capture, Width(client) / 2, Height(client) - 10, kHelperClientColor));
  });
  ASSERT_TRUE(capture.Valid());
  EXPECT_EQ(CaptureMethod::WindowDc, capture.Method());
  EXPECT_TRUE(PixelIs(capture, Width(client) / 2, Height(client) - 10, kHelperClientColor));
}

TEST(Process, ExitCode_PassesThrough) {
  Process helper = LaunchProgram(kHelper, L"--exit 42");
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  EXPECT_EQ(42u, WaitForExit(helper));
}

TEST(Process, Crash_IsReportedNotPassed) {
  Process helper = LaunchProgram(kHelper, L"--crash");
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  const DWORD code = WaitForExit(helper, kDefaultTimeoutMs, CrashPolicy::Allow);
  EXPECT_TRUE(LooksLikeCrash(code)) << DescribeExitCode(code);
  // Inside Wine the parent sees the full status, as on Windows; only the Unix shell sees 5.
  EXPECT_EQ(0xC0000005u, code) << DescribeExitCode(code);
}

TEST(Process, UncaughtException_FailsWaitForExit) {
  static Process helper;
  helper = LaunchProgram(kHelper, L"--throw");
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  EXPECT_NONFATAL_FAILURE(WaitForExit(helper), "abort() or an uncaught C++ exception");
  EXPECT_EQ(3u, helper.ExitCode());
  helper = Process();
}

TEST(Process, WaitForExit_TimesOutAndTerminates) {
  static Process helper;
  helper = LaunchProgram(kHelper);
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  runaway = &helper;
  EXPECT_NONFATAL_FAILURE(EXPECT_EQ(kExitTimedOut, WaitForExit(*runaway, 200)), "did not exit within 200 ms");
  EXPECT_FALSE(helper.Running());
  helper = Process();
}

TEST(Process, LaunchProgram_ReportsMissingProgram) {
  Process missing = LaunchProgram(L"no_such_program.exe");
  EXPECT_FALSE(missing.Valid());
  EXPECT_NE(std::string::npos, missing.Error().find("no_such_program.exe")) << missing.Error();
}

TEST(Process, Destructor_TerminatesRunningProgram) {
  HANDLE duplicate = nullptr;
  {
    Process helper = LaunchProgram(kHelper);
    ASSERT_TRUE(helper.Valid()) << helper.Error();
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), helper.Handle(), GetCurrentProcess(), &duplicate, SYNCHRONIZE, FALSE, 0));
  }
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(duplicate, 5000));
  CloseHandle(duplicate);
}
