// Helpers of the menu, timer and dialog tests, and their main(): the application object
// is initialised before any test, and exceptions it reports are recorded instead of shown.
#include "MenuDialogTestSupport.h"

#include <gtest/gtest.h>

#include <map>

#include "Forms.h"
#include "gui_test.h"

namespace menutest {

std::vector<std::string>& ReportedExceptions() {
    static std::vector<std::string> list;
    return list;
}

::testing::AssertionResult NoGrowthOverCycles(const std::function<void()>& cycle, int cycles) {
    auto measure = [&](long& gdi, long& user) {
        const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
        for (int i = 0; i < cycles; ++i) cycle();
        const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
        gdi = before.gdiKnown ? static_cast<long>(after.gdi) - static_cast<long>(before.gdi) : 0;
        user = before.userKnown ? static_cast<long>(after.user) - static_cast<long>(before.user) : 0;
        return before.gdiKnown || before.userKnown;
    };
    long gdi1 = 0, user1 = 0, gdi2 = 0, user2 = 0;
    if (!measure(gdi1, user1)) return ::testing::AssertionFailure() << "no way to count GUI objects here";
    if (gdi1 == 0 && user1 == 0) return ::testing::AssertionSuccess();
    measure(gdi2, user2);
    if (gdi2 == 0 && user2 == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "GUI objects grow over " << cycles << " cycles twice running: GDI +" << gdi1
                                         << " then +" << gdi2 << ", USER +" << user1 << " then +" << user2;
}

namespace {
std::map<UINT_PTR, ThreadTimer*>& timers() {
    static std::map<UINT_PTR, ThreadTimer*> m;
    return m;
}
}  // namespace

ThreadTimer::ThreadTimer(DWORD intervalMs, std::function<void()> tick) : tick_(std::move(tick)) {
    id_ = SetTimer(nullptr, 0, intervalMs, &ThreadTimer::proc);
    timers()[id_] = this;
}

ThreadTimer::~ThreadTimer() {
    KillTimer(nullptr, id_);
    timers().erase(id_);
}

void CALLBACK ThreadTimer::proc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = timers().find(id);
    if (it != timers().end() && it->second->tick_) it->second->tick_();
}

std::vector<HWND> DialogWindows() {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{GetCurrentProcessId(), {}};
    EnumWindows(
        [](HWND wnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            char cls[64] = {};
            GetClassNameA(wnd, cls, sizeof cls);
            if (pid == s->pid && IsWindowVisible(wnd) && std::string(cls) == "#32770") s->found.push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ThreadMenuWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM lp) -> BOOL {
            char cls[16] = {};
            GetClassNameA(wnd, cls, sizeof cls);
            if (std::string(cls) == "#32768" && IsWindowVisible(wnd)) {
                *reinterpret_cast<HWND*>(lp) = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

DialogWatcher::DialogWatcher(std::function<void(HWND)> action, DWORD timeoutMs) {
    thread_ = std::thread([this, action = std::move(action), timeoutMs] {
        std::vector<HWND> dialogs;
        // This thread has no windows: the pump only paces the polling.
        if (guitest::PumpUntil([&] { return !(dialogs = DialogWindows()).empty(); }, timeoutMs)) {
            char text[256] = {};
            GetWindowTextA(dialogs.front(), text, sizeof text);
            caption_ = text;
            found_ = true;
            action(dialogs.front());
            return;
        }
        for (HWND d : DialogWindows()) PostMessageA(d, WM_CLOSE, 0, 0);
    });
}

DialogWatcher::~DialogWatcher() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace menutest

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    Application->Initialize();
    guitest::SetPumpStep([] {
        Application->ProcessMessages();
        return true;
    });
    Application->OnException = [](TObject*, const std::exception& e) { menutest::ReportedExceptions().push_back(e.what()); };
    return RUN_ALL_TESTS();
}
