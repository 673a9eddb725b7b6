// Fixture windows: OwnedWindow (destroys what it holds), TestWindow (a window of the
// harness's own class that hands its messages to a test's handler) and DefProc, the default
// processing the message recorder can recognise.
#include "gui_test_impl.h"

namespace guitest {
namespace {

constexpr wchar_t kTestWindowClass[] = L"guitest.TestWindow";

struct TestWindowState {
  MessageHandler handler;
};

LRESULT CALLBACK testWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<TestWindowState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    state = static_cast<TestWindowState*>(create->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  if (!state) return DefProc(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  bool handled = false;
  if (state->handler) {
    try {
      handled = state->handler(hwnd, message, wParam, lParam, &result);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "test window handler threw on " << MessageName(message) << ": " << e.what();
      handled = false;
    } catch (...) {
      ADD_FAILURE() << "test window handler threw on " << MessageName(message);
      handled = false;
    }
  }
  if (!handled) result = DefProc(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete state;
  }
  return result;
}

bool registerTestWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kTestWindowClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = testWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;  // each window erases with its own brush (see WM_ERASEBKGND)
  wc.lpszClassName = kTestWindowClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

namespace impl {
int& DefProcDepth() {
  thread_local int depth = 0;
  return depth;
}
}  // namespace impl

LRESULT DefProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  struct Depth {
    Depth() { ++impl::DefProcDepth(); }
    ~Depth() { --impl::DefProcDepth(); }
  } depth;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

OwnedWindow& OwnedWindow::operator=(OwnedWindow&& other) noexcept {
  if (this != &other) Reset(other.Release());
  return *this;
}

void OwnedWindow::Reset(HWND hwnd) {
  if (hwnd_ && hwnd_ != hwnd && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = hwnd;
}

TestWindow::TestWindow(const TestWindowOptions& options) {
  if (!registerTestWindowClass()) {
    ADD_FAILURE() << "cannot register the test window class, error " << GetLastError();
    return;
  }
  auto state = std::make_unique<TestWindowState>();
  HBRUSH background = options.background;
  MessageHandler handler = options.handler;
  // The class has no brush so that each window can have its own; erase here with it.
  state->handler = [handler, background](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT* result) {
    if (handler && handler(hwnd, message, wParam, lParam, result)) return true;
    if (message == WM_ERASEBKGND && background) {
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, background);
      *result = 1;
      return true;
    }
    return false;
  };
  DWORD style = options.style;
  if (options.parent && !(style & WS_POPUP)) style |= WS_CHILD;
  HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(options.id)) : nullptr;
  TestWindowState* raw = state.release();  // owned by the window from WM_NCCREATE on
  HWND hwnd = CreateWindowExW(options.exStyle, kTestWindowClass, options.caption.c_str(), style,
                              options.x, options.y, options.width, options.height, options.parent,
                              menuOrId, GetModuleHandleW(nullptr), raw);
  if (!hwnd) {
    // Creation failed before or at WM_NCCREATE; WM_NCDESTROY frees the state only if the
    // window got that far, which a failed CreateWindowEx does not report.  Leak it rather
    // than risk a double free.
    ADD_FAILURE() << "cannot create a test window, error " << GetLastError();
    return;
  }
  window_.Reset(hwnd);
}

}  // namespace guitest
