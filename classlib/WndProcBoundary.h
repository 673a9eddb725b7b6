// One boundary for every window procedure, subclass procedure, hook and timer callback of
// the process (class library and skin engine alike): nothing a handler throws crosses
// into the system.  The exception is reported through the application (shown later,
// outside the callback) and the message gets the answer that is safe for it.
//
// Callers keep their own unconditional end-of-window work (unbinding at WM_NCDESTROY)
// outside the guarded handler, so it runs whether or not the handler threw.
#pragma once
#include <windows.h>

#include <exception>

namespace wndproc_boundary {

// Reports a caught exception through the application; never throws.
void Report(std::exception_ptr error) noexcept;

// The answer for a message whose handler threw, when that message must not go on to the
// previous or default procedure; false when it must.
//  WM_NCCREATE -> FALSE and WM_CREATE -> -1: creation fails cleanly;
//  WM_PAINT -> the window is validated (or painting repeats forever), 0;
//  WM_CLOSE -> 0 and WM_QUERYENDSESSION -> FALSE: a failed close query means "do not
//  close", never a default that destroys the window with the user's text in it.
bool SafeAnswer(HWND wnd, UINT msg, LRESULT& result) noexcept;

}  // namespace wndproc_boundary

// Runs handler() (returning LRESULT).  When it throws: the exception is reported, and the
// message gets SafeAnswer's result or, for every other message, fallback() (the previous
// or default procedure: a message the handler did not finish is still handled).  A throw
// from the fallback is reported too and answers 0.
template <class Handler, class Fallback>
LRESULT GuardedDispatch(HWND wnd, UINT msg, Handler&& handler, Fallback&& fallback) noexcept {
    try {
        return handler();
    } catch (...) {
        wndproc_boundary::Report(std::current_exception());
    }
    LRESULT result = 0;
    if (wndproc_boundary::SafeAnswer(wnd, msg, result)) return result;
    try {
        return fallback();
    } catch (...) {
        wndproc_boundary::Report(std::current_exception());
        return 0;
    }
}
