// ExpectMessageBox: runs an action that opens modal message boxes in this thread, and
// dismisses each box from a watcher (a second thread, or a thread timer the box's own modal
// loop dispatches), because the action blocks until its box is closed.  Problems found by
// the watcher are collected and reported from the test's thread once the action returns.
#include "gui_test_impl.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace guitest {
namespace {

constexpr UINT kWatchIntervalMs = 10;

struct Watch {
  DWORD threadId = 0;
  std::vector<int> buttons;
  ExpectOptions options;

  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;
  std::vector<MessageBoxContents> seen;
  std::vector<std::string> problems;
  std::vector<HWND> pressed;  // pressed and maybe not yet closed
  ULONGLONG lastProgress = 0;
};

bool contains(const std::vector<HWND>& list, HWND hwnd) {
  for (HWND h : list)
    if (h == hwnd) return true;
  return false;
}

HWND newBox(const Watch& watch) {
  for (HWND box : FindTopLevelWindows(WindowQuery().Class(L"#32770").InThread(watch.threadId).Visible()))
    if (!contains(watch.pressed, box)) return box;
  return nullptr;
}

bool post(HWND box, int id, PressMethod method) {
  HWND button = GetDlgItem(box, id);
  if (!button) return false;
  if (method == PressMethod::Click) return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
  return PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

// Closes a box that must not stay open: the first of the "say no" buttons it has, else
// WM_CLOSE (which a message box without a cancel button may ignore).
void forceClose(HWND box) {
  for (int id : {IDCANCEL, IDNO, IDABORT, IDOK})
    if (post(box, id, PressMethod::Command)) return;
  PostMessageW(box, WM_CLOSE, 0, 0);
}

// One look at the watched thread's boxes; called by the watcher thread or timer.
void step(Watch& watch) {
  std::lock_guard<std::mutex> lock(watch.mutex);
  const ULONGLONG now = GetTickCount64();
  for (size_t i = 0; i < watch.pressed.size();) {
    if (IsWindow(watch.pressed[i])) ++i;
    else watch.pressed.erase(watch.pressed.begin() + static_cast<std::ptrdiff_t>(i));
  }
  if (HWND box = newBox(watch)) {
    MessageBoxContents contents = ReadMessageBox(box);
    watch.pressed.push_back(box);
    watch.lastProgress = now;
    if (watch.seen.size() >= watch.buttons.size()) {
      watch.problems.push_back("unexpected message box \"" + ToUtf8(contents.textW) + "\" (caption \"" +
                               ToUtf8(contents.captionW) + "\")");
      forceClose(box);
      return;
    }
    const int button = watch.buttons[watch.seen.size()];
    if (!post(box, button, watch.options.method)) {
      std::string ids;
      for (int id : contents.buttons) ids += (ids.empty() ? "" : ", ") + std::to_string(id);
      watch.problems.push_back("message box \"" + ToUtf8(contents.textW) + "\" has no button " +
                               std::to_string(button) + " (buttons: " + ids + ")");
      forceClose(box);
    }
    watch.seen.push_back(std::move(contents));
    return;
  }
  if (!watch.pressed.empty() && now - watch.lastProgress > watch.options.timeoutMs) {
    for (HWND box : watch.pressed) {
      watch.problems.push_back("message box did not close within " + std::to_string(watch.options.timeoutMs) +
                               " ms: " + Describe(box));
      PostMessageW(box, WM_CLOSE, 0, 0);
      forceClose(box);
    }
    watch.lastProgress = now;
  }
}

thread_local Watch* timerWatch = nullptr;

void CALLBACK onWatchTimer(HWND, UINT, UINT_PTR, DWORD) {
  try {
    if (timerWatch) step(*timerWatch);
  } catch (...) {
    // Out of memory while reading a box: the next tick tries again.
  }
}

}  // namespace

std::vector<MessageBoxContents> ExpectMessageBoxes(const std::function<void()>& action,
                                                   const std::vector<int>& buttons,
                                                   const ExpectOptions& options) {
  Watch watch;
  watch.threadId = GetCurrentThreadId();
  watch.buttons = buttons;
  watch.options = options;
  watch.lastProgress = GetTickCount64();

  std::thread watcher;
  UINT_PTR timer = 0;
  Watch* outerTimerWatch = timerWatch;
  if (options.from == DismissFrom::Thread) {
    watcher = std::thread([&watch] {
      std::unique_lock<std::mutex> lock(watch.mutex);
      while (!watch.stop) {
        lock.unlock();
        step(watch);
        lock.lock();
        watch.wake.wait_for(lock, std::chrono::milliseconds(kWatchIntervalMs), [&] { return watch.stop; });
      }
    });
  } else {
    timerWatch = &watch;
    timer = SetTimer(nullptr, 0, kWatchIntervalMs, onWatchTimer);
    if (!timer) ADD_FAILURE() << "cannot start the message box timer, error " << GetLastError();
  }

  auto finish = [&] {
    if (watcher.joinable()) {
      {
        std::lock_guard<std::mutex> lock(watch.mutex);
        watch.stop = true;
      }
      watch.wake.notify_all();
      watcher.join();
    }
    if (timer) KillTimer(nullptr, timer);
    timerWatch = outerTimerWatch;
  };
  try {
    action();
  } catch (...) {
    finish();
    throw;
  }
  finish();

  for (const std::string& problem : watch.problems) ADD_FAILURE() << problem;
  if (watch.seen.size() < buttons.size()) {
    std::string texts;
    for (const MessageBoxContents& box : watch.seen) texts += "\n  \"" + ToUtf8(box.textW) + "\"";
    ADD_FAILURE() << "expected " << buttons.size() << " message box(es), saw " << watch.seen.size() << texts;
  }
  return std::move(watch.seen);
}

std::string ExpectMessageBox(const std::function<void()>& action, int button, const ExpectOptions& options) {
  std::vector<MessageBoxContents> boxes = ExpectMessageBoxes(action, {button}, options);
  return boxes.empty() ? std::string() : boxes.front().text;
}

}  // namespace guitest
