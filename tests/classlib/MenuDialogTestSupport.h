// Small helpers of the menu, timer and dialog tests: a time-boxed message pump, a thread
// timer that acts inside another modal loop, a second thread that waits for a dialog of
// this process and acts on it, and the record of exceptions the application reported.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gui_test.h"

namespace menutest {

// Exceptions that reached the application's error path (instead of a message box).
std::vector<std::string>& ReportedExceptions();

// The harness's pump; main() makes it run messages through the application's own message
// processing (modeless dialogs, shortcuts and dialog keys as in the programs).
using guitest::PumpUntil;

// A thread timer of the calling thread: its callback runs in whatever message loop the
// thread is in (a popup menu's, a dialog's).  Killed when the object goes.
class ThreadTimer {
public:
    ThreadTimer(DWORD intervalMs, std::function<void()> tick);
    ~ThreadTimer();
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

private:
    static void CALLBACK proc(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id_ = 0;
    std::function<void()> tick_;
};

// Waits on a second thread for a visible dialog-class ("#32770") window of this process,
// then runs action(dialog) there.  If none appears in time, every dialog window of the
// process is closed so that a blocked Execute returns.  Joins in the destructor.
class DialogWatcher {
public:
    explicit DialogWatcher(std::function<void(HWND)> action, DWORD timeoutMs = guitest::kDefaultTimeoutMs);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    bool Found() const { return found_; }
    const std::string& Caption() const { return caption_; }  // caption of the dialog found

private:
    std::atomic<bool> found_{false};
    std::string caption_;
    std::thread thread_;
};

// Leak check: GDI and USER objects of the process (guitest::CountGuiObjects) over
// `cycles` runs of cycle.  Caches the system fills once (a device-context cache entry
// made the first time two DCs are in use at once) may show as a one-time growth, so a
// growth is measured again over as many cycles: a leak grows both times.
::testing::AssertionResult NoGrowthOverCycles(const std::function<void()>& cycle, int cycles);

// Visible top-level "#32770" windows of this process.
std::vector<HWND> DialogWindows();
// The popup-menu window ("#32768") of this thread's tracked menu, or nullptr.  Other test
// programs may be showing menus at the same time.
HWND ThreadMenuWindow();

}  // namespace menutest
