#include "WordCallThread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "Handles.h"

EWordNotAnswering::EWordNotAnswering(bool givenUp)
    : EOleSysError("Word几秒钟内没有响应，可能正忙或已停止响应", RPC_E_TIMEOUT), givenUp_(givenUp) {}

struct WordCallThread::Shared {
    HWND window = nullptr;
    UINT endedMessage = 0;
    std::thread thread;  // touched by the owner only

    std::mutex lock;  // guards everything below
    std::condition_variable wake;
    Call next;
    bool hasNext = false;
    bool stop = false;
    bool running = false;       // a call was handed over and has not ended
    bool givenUp = false;       // the running (or ended) call was given up; its outcome not taken yet
    bool givenUpEnded = false;  // ... and it has ended
    std::exception_ptr outcome;
    UniqueKernelHandle ended{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // a call the owner waits for ended
};

namespace {

// Waits for `event` up to `timeoutMs`.  Meanwhile the thread's windows go on painting and
// sent messages are answered (PeekMessage handles those itself); nothing posted or typed is
// handled, so no other code of the window's thread runs in the middle of a call.
bool waitPainting(HANDLE event, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed < timeoutMs ? timeoutMs - elapsed : 0;
        const DWORD woke = MsgWaitForMultipleObjects(1, &event, FALSE, left, QS_PAINT | QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke != WAIT_OBJECT_0 + 1) return false;
        // Bounded: a window that never validates itself must not keep the wait from its end.
        MSG msg;
        for (int n = 0; n < 100 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++n) DispatchMessageW(&msg);
    }
}

}  // namespace

WordCallThread::WordCallThread(HWND window, UINT endedMessage) : shared_(std::make_shared<Shared>()) {
    shared_->window = window;
    shared_->endedMessage = endedMessage;
}

WordCallThread::~WordCallThread() { stopThread(); }

void WordCallThread::Run(Call call, DWORD timeoutMs) {
    Shared& s = *shared_;
    {
        std::lock_guard<std::mutex> hold(s.lock);
        if (s.running || s.givenUp) throw EWordNotAnswering(false);
        if (!s.ended) throw EOleSysError(HRESULT_FROM_WIN32(GetLastError()));
        if (!s.thread.joinable()) {
            try {
                s.thread = std::thread(threadMain, shared_);
            } catch (const std::system_error&) {
                throw EOleSysError(E_OUTOFMEMORY);
            }
        }
        ResetEvent(s.ended.get());
        s.next = std::move(call);
        s.hasNext = true;
        s.running = true;
        s.outcome = nullptr;
    }
    s.wake.notify_one();
    waitPainting(s.ended.get(), timeoutMs);
    std::exception_ptr failure;
    {
        std::lock_guard<std::mutex> hold(s.lock);
        // Still running (or the wait failed): given up.  One that ended just after the
        // wait counts as answered.
        if (s.running) {
            s.givenUp = true;
            throw EWordNotAnswering(true);
        }
        failure = std::exchange(s.outcome, nullptr);
    }
    if (failure) std::rethrow_exception(failure);
}

bool WordCallThread::WaitingForAnswer() const {
    std::lock_guard<std::mutex> hold(shared_->lock);
    return shared_->running || shared_->givenUp;
}

bool WordCallThread::TakeGivenUpEnd(std::exception_ptr& failure) {
    Shared& s = *shared_;
    std::lock_guard<std::mutex> hold(s.lock);
    if (!s.givenUpEnded) return false;
    failure = std::exchange(s.outcome, nullptr);
    s.givenUp = false;
    s.givenUpEnded = false;
    return true;
}

bool WordCallThread::Finish(Call last, DWORD timeoutMs) {
    if (!shared_->thread.joinable()) return true;
    std::exception_ptr ignored;
    TakeGivenUpEnd(ignored);
    bool answered = true;
    try {
        Run(std::move(last), timeoutMs);
    } catch (const EWordNotAnswering&) {
        answered = false;
    } catch (...) {
        // Letting go of a word processor that is gone fails, and is as good as done.
    }
    return stopThread() && answered;
}

bool WordCallThread::stopThread() {
    Shared& s = *shared_;
    if (!s.thread.joinable()) return true;
    bool idle;
    {
        std::lock_guard<std::mutex> hold(s.lock);
        s.stop = true;
        idle = !s.running;
    }
    s.wake.notify_one();
    // A thread in a call that may never return is not waited for: it ends after that call,
    // or with the process.
    if (idle)
        s.thread.join();
    else
        s.thread.detach();
    return idle;
}

void WordCallThread::threadMain(std::shared_ptr<Shared> shared) {
    Shared& s = *shared;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (;;) {
        Call call;
        {
            std::unique_lock<std::mutex> hold(s.lock);
            s.wake.wait(hold, [&] { return s.hasNext || s.stop; });
            if (!s.hasNext) break;
            call = std::move(s.next);
            s.next = nullptr;
            s.hasNext = false;
        }
        std::exception_ptr failure;
        if (FAILED(com)) {
            failure = std::make_exception_ptr(EOleSysError(com));
        } else {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        }
        call = nullptr;  // what it holds is let go here, in the apartment that reached it
        std::lock_guard<std::mutex> hold(s.lock);
        s.running = false;
        s.outcome = failure;
        if (s.givenUp) {
            s.givenUpEnded = true;
            PostMessageW(s.window, s.endedMessage, 0, 0);
        } else {
            SetEvent(s.ended.get());
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
}
