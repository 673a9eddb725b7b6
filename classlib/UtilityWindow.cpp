// The window procedure of the class library's hidden windows: the handler is attached at
// WM_NCCREATE and freed at WM_NCDESTROY; no exception leaves the procedure.
#include "UtilityWindow.h"

#include <memory>

#include "Classes.h"
#include "WndProcBoundary.h"

namespace {

TUtilityMessageHandler* handlerOf(HWND wnd) {
    return reinterpret_cast<TUtilityMessageHandler*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

LRESULT CALLBACK utilityWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        // From here the window owns the handler; creation failing earlier leaves it with
        // CreateUtilityWindow.
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* pending = static_cast<std::unique_ptr<TUtilityMessageHandler>*>(cs->lpCreateParams);
        if (pending) SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pending->release()));
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        std::unique_ptr<TUtilityMessageHandler> owned(handlerOf(wnd));
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
    TUtilityMessageHandler* stored = handlerOf(wnd);
    if (!stored) return DefWindowProcA(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    return GuardedDispatch(
        wnd, msg,
        [&] {
            // A copy runs: the handler may destroy its own window, and with it the stored one.
            const TUtilityMessageHandler handler = *stored;
            return handler(m) ? m.Result : DefWindowProcA(wnd, msg, wParam, lParam);
        },
        [&] { return DefWindowProcA(wnd, msg, wParam, lParam); });
}

}  // namespace

HWND CreateUtilityWindow(const char* className, const std::string& what, TUtilityWindowKind kind,
                         TUtilityMessageHandler handler) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = utilityWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception("Cannot register the " + what + " class");
    auto pending = std::make_unique<TUtilityMessageHandler>(std::move(handler));
    const bool messageOnly = kind == TUtilityWindowKind::MessageOnly;
    HWND wnd = CreateWindowExA(messageOnly ? 0 : WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, 0, 0,
                               messageOnly ? HWND_MESSAGE : nullptr, nullptr, instance, &pending);
    if (!wnd) throw Exception("Cannot create the " + what);
    return wnd;
}
