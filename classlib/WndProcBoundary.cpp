#include "WndProcBoundary.h"

#include "Controls.h"

namespace wndproc_boundary {

void Report(std::exception_ptr error) noexcept {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        try { ReportCallbackException(e); } catch (...) {}
    } catch (...) {
        try { ReportCallbackException(); } catch (...) {}
    }
}

bool SafeAnswer(HWND wnd, UINT msg, LRESULT& result) noexcept {
    switch (msg) {
    case WM_NCCREATE: result = FALSE; return true;
    case WM_CREATE: result = -1; return true;
    case WM_PAINT: ValidateRect(wnd, nullptr); result = 0; return true;
    case WM_CLOSE: result = 0; return true;
    case WM_QUERYENDSESSION: result = FALSE; return true;
    default: return false;
    }
}

}  // namespace wndproc_boundary
