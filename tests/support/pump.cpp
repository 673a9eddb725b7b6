// The time-boxed message pump.  Tests wait for conditions, never for fixed times: the pump
// dispatches this thread's messages and sleeps only inside MsgWaitForMultipleObjectsEx, in
// slices short enough to notice conditions that other threads and processes change.
#include "gui_test.h"

namespace guitest {
namespace {

// Conditions on other processes (a window appearing, a process ending) send nothing to
// this thread, so the wait must wake up on its own now and then.
constexpr DWORD kPollSliceMs = 10;

}  // namespace

bool PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    PumpMessages();
    if (condition()) return true;
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (elapsed >= timeoutMs) return condition();
    const DWORD left = static_cast<DWORD>(timeoutMs - elapsed);
    MsgWaitForMultipleObjectsEx(0, nullptr, left < kPollSliceMs ? left : kPollSliceMs,
                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace guitest
