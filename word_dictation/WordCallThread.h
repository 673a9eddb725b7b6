// Calls to the word processor made on a thread of their own, one at a time, so that a word
// processor that stops answering (its process stopped or hung) holds up that thread and
// never the window's.  The window waits for a call a bounded time, still painting, and then
// gives it up: the call runs on, and when it ends at last the thread posts a message to the
// window, which then learns whether it took effect.  Which calls are made, and what a
// given-up call means for the phrases, is the form's (FWordDelivery.cpp).
//
// Types: WordCallThread, EWordNotAnswering.
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>

#include "ComObj.h"

// A call given up because the word processor did not answer in time (GivenUp), or refused
// at once because an earlier given-up call still waits for its answer.
class EWordNotAnswering : public EOleSysError {
public:
    explicit EWordNotAnswering(bool givenUp);
    // True when this call was given up and runs on: whether it takes effect is told later.
    bool GivenUp() const noexcept { return givenUp_; }

private:
    bool givenUp_;
};

class WordCallThread {
public:
    // Runs on the call thread; raises what the calls raise.  It must not reach the objects
    // of the window's thread: only what it holds lives on after a call was given up.
    using Call = std::function<void()>;

    // When a given-up call ends, the thread posts `endedMessage` (wParam 0, lParam 0) to
    // `window`.
    WordCallThread(HWND window, UINT endedMessage);
    // Ends the thread when it is idle; one still in a given-up call is left to the process.
    ~WordCallThread();
    WordCallThread(const WordCallThread&) = delete;
    WordCallThread& operator=(const WordCallThread&) = delete;

    // Runs `call` on the thread (started on first use, in the multithreaded apartment, so
    // the objects it reaches live there) and waits up to `timeoutMs`, handling only paint
    // and sent messages meanwhile.  Raises what the call raised, or EWordNotAnswering.
    void Run(Call call, DWORD timeoutMs);
    // A given-up call runs, or has ended and its outcome was not taken yet: Run refuses.
    bool WaitingForAnswer() const;
    // After the ended message: true when a given-up call has ended since; `failure` is
    // what it raised (empty when it returned).  Run works again afterwards.
    bool TakeGivenUpEnd(std::exception_ptr& failure);
    // Runs `last` (when the thread ever started) and ends the thread.  False when a call
    // was given up, `last` included: the thread is left running to the process's end, with
    // whatever its calls hold.
    bool Finish(Call last, DWORD timeoutMs);

private:
    struct Shared;
    static void threadMain(std::shared_ptr<Shared> shared);
    // Ends the thread: joined when idle (true), else left to end after its call.
    bool stopThread();

    std::shared_ptr<Shared> shared_;
};
