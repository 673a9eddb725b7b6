// The time-boxed message pump.  Tests wait for conditions, never for fixed times: the pump
// dispatches this thread's messages and sleeps only inside MsgWaitForMultipleObjectsEx, in
// slices short enough to notice conditions that other threads and processes change.
#include "gui_test.h"

#include <map>

namespace guitest {
namespace {

// Conditions on other processes (a window appearing, a process ending) send nothing to
// this thread, so the wait must wake up on its own now and then.
constexpr DWORD kPollSliceMs = 10;

PumpStep& installedStep() {
  static PumpStep step;
  return step;
}

// Witness timers of PumpThroughTimerTicks, by id: thread timers have no window to carry
// a pointer.
std::map<UINT_PTR, int>& witnessTicks() {
  static std::map<UINT_PTR, int> ticks;
  return ticks;
}

void CALLBACK witnessTick(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = witnessTicks().find(id);
  if (it != witnessTicks().end()) ++it->second;
}

}  // namespace

void SetPumpStep(PumpStep step) { installedStep() = std::move(step); }

bool PumpMessages() {
  if (installedStep()) return installedStep()();
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

bool PumpThroughTimerTicks(UINT intervalMs, int ticks, DWORD timeoutMs) {
  const UINT_PTR id = SetTimer(nullptr, 0, intervalMs, witnessTick);
  if (!id) return false;
  witnessTicks()[id] = 0;
  const bool done = PumpUntil([&] { return witnessTicks()[id] >= ticks; }, timeoutMs);
  KillTimer(nullptr, id);
  witnessTicks().erase(id);
  return done;
}

}  // namespace guitest
