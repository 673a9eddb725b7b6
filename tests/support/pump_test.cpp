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
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(PumpUntil([&] { return seen == 1; }, 5000));
  EXPECT_LT(GetTickCount64() - start, 2000u);
}

TEST(Pump, PumpUntil_ReturnsFalseAfterTimeout) {
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(PumpUntil([] { return false; }, 150));
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_GE(elapsed, 140u);
  EXPECT_LT(elapsed, 2000u);
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
