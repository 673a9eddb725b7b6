// The time-boxed pump: it returns as soon as a posted message has made the condition true,
// and gives up after the timeout when nothing does.
#include "gui_test.h"

#include <atomic>
#include <thread>

using namespace guitest;

TEST(Pump, PumpUntil_ReturnsOncePostedMessageArrives) {
  int seen = 0;
  TestWindowOptions options;
  options.handler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message == WM_APP + 7) ++seen;
    return false;
  };
  TestWindow window(options);
  ASSERT_TRUE(window);
  ASSERT_TRUE(PostMessageW(window.Handle(), WM_APP + 7, 0, 0));
  EXPECT_EQ(0, seen) << "a posted message must wait for the pump";
  EXPECT_TRUE(PumpUntil([&] { return seen == 1; }));
}

TEST(Pump, PumpUntil_ReturnsFalseAfterTimeout) {
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(PumpUntil([] { return false; }, 150));
  // It does not give up early (how late it may be is a matter for benchmarks).
  EXPECT_GE(GetTickCount64() - start, 140u);
}

TEST(Pump, PumpThroughTimerTicks_AnEqualTimerOfTheCodeFiresMeanwhile) {
  int theirs = 0;
  TestWindowOptions options;
  options.handler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message == WM_TIMER) ++theirs;
    return false;
  };
  TestWindow window(options);
  ASSERT_TRUE(window);
  ASSERT_TRUE(SetTimer(window.Handle(), 1, 20, nullptr));
  EXPECT_TRUE(PumpThroughTimerTicks(20, 3));
  KillTimer(window.Handle(), 1);
  EXPECT_GE(theirs, 2) << "a witness must not finish before an equal timer has had its turns";
}

TEST(Pump, InstalledStepHandlesTheQueue) {
  int steps = 0;
  SetPumpStep([&] {
    ++steps;
    return true;
  });
  EXPECT_TRUE(PumpUntil([&] { return steps >= 2; }));
  SetPumpStep(nullptr);
}

TEST(Pump, PumpUntil_NoticesConditionSetByAnotherThread) {
  std::atomic<bool> done{false};
  std::thread other([&] {
    // Nothing is posted to the test's thread: the pump must wake up by itself.
    for (volatile int i = 0; i < 1000000; ++i) {
    }
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 5000));
  other.join();
}

TEST(Pump, PumpMessages_SwallowsQuitAndSaysSo) {
  PostQuitMessage(3);
  EXPECT_FALSE(PumpMessages());
  EXPECT_TRUE(PumpMessages());
}
