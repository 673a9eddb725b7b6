// Rendering a window into a Capture.  Wine's DefWindowProc answers WM_PRINT by sending
// WM_PRINTCLIENT at the DC origin only: no frame, no children, and no offset for the
// client (pinned by Capture_PrintLeavesFrameToWindowProcedure).  So by default the harness
// composes the picture itself the way a real paint cycle would: the frame through
// WM_PRINT(PRF_NONCLIENT), the client through WM_ERASEBKGND + WM_PRINTCLIENT at the client
// origin, then each visible child bottom-up, each clipped to its parent's client area.
#include "gui_test_impl.h"

namespace guitest {
namespace {

// A window procedure that is stuck must fail the capture, not hang the test.
constexpr UINT kPrintTimeoutMs = 2000;

void sendPrint(HWND hwnd, UINT message, HDC dc, LPARAM flags) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, message, reinterpret_cast<WPARAM>(dc), flags, SMTO_NORMAL, kPrintTimeoutMs, &ignored);
}

RECT offsetRect(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// Clip rectangle in device (capture) coordinates, undone by the RestoreDC of the caller.
void clipTo(HDC dc, const RECT& clip) {
  HRGN region = CreateRectRgnIndirect(&clip);
  if (!region) return;
  SelectClipRgn(dc, region);  // copies the region
  DeleteObject(region);
}

bool hasVisibleStyle(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// Draws `hwnd` with its window rectangle's top-left at `origin` (capture coordinates),
// inside `clip` (capture coordinates).  `frame` says whether its non-client area is drawn.
void composeWindow(HDC dc, HWND hwnd, POINT origin, const RECT& clip, bool frame) {
  const RECT window = WindowRectOf(hwnd);
  const RECT clientOnScreen = ClientRectOnScreen(hwnd);
  const RECT windowArea = offsetRect({0, 0, Width(window), Height(window)}, origin.x, origin.y);
  const POINT clientOrigin{origin.x + clientOnScreen.left - window.left, origin.y + clientOnScreen.top - window.top};
  const RECT clientArea = offsetRect({0, 0, Width(clientOnScreen), Height(clientOnScreen)}, clientOrigin.x, clientOrigin.y);

  RECT frameClip;
  if (frame && IntersectRect(&frameClip, &clip, &windowArea)) {
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    clipTo(dc, frameClip);
    sendPrint(hwnd, WM_PRINT, dc, PRF_NONCLIENT);
    RestoreDC(dc, saved);
  }
  RECT clientClip;
  if (!IntersectRect(&clientClip, &clip, &clientArea)) return;
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, clientOrigin.x, clientOrigin.y, nullptr);
  clipTo(dc, clientClip);
  sendPrint(hwnd, WM_ERASEBKGND, dc, 0);
  sendPrint(hwnd, WM_PRINTCLIENT, dc, PRF_CLIENT);
  RestoreDC(dc, saved);

  HWND top = GetWindow(hwnd, GW_CHILD);
  for (HWND child = top ? GetWindow(top, GW_HWNDLAST) : nullptr; child; child = GetWindow(child, GW_HWNDPREV)) {
    if (!hasVisibleStyle(child)) continue;
    const RECT childWindow = WindowRectOf(child);
    const POINT childOrigin{clientOrigin.x + childWindow.left - clientOnScreen.left,
                            clientOrigin.y + childWindow.top - clientOnScreen.top};
    composeWindow(dc, child, childOrigin, clientClip, true);
  }
}

// Two round trips through another thread's queue: the first is answered when its loop next
// asks for a message, and by the time the second is answered that loop has found its queue
// empty and painted.
void waitForPaintOfOtherThread(HWND hwnd) {
  DWORD_PTR ignored = 0;
  for (int i = 0; i < 2; ++i)
    SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPrintTimeoutMs, &ignored);
}

// Whatever the window's DC shows now, into the capture.
void readWindowDc(Capture& capture, HWND hwnd, bool withFrame) {
  HDC source = withFrame ? GetWindowDC(hwnd) : GetDC(hwnd);
  if (!source) return;
  BitBlt(capture.Dc(), 0, 0, capture.Width(), capture.Height(), source, 0, 0, SRCCOPY);
  GdiFlush();
  ReleaseDC(hwnd, source);
}

void captureByWindowDc(Capture& capture, HWND hwnd, bool withFrame) {
  // Paint everything now, so the window DC holds a finished picture.  RDW_UPDATENOW only
  // paints windows of this thread.
  const UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
  if (ThreadIdOf(hwnd) == GetCurrentThreadId()) {
    RedrawWindow(hwnd, nullptr, nullptr, redraw | RDW_UPDATENOW);
  } else {
    RedrawWindow(hwnd, nullptr, nullptr, redraw);
    waitForPaintOfOtherThread(hwnd);
  }
  readWindowDc(capture, hwnd, withFrame);
}

// A capture of the window's size (withFrame: its window rectangle, else its client area),
// nothing drawn yet; invalid for a window that does not exist or has no area.
Capture blankCaptureOf(HWND hwnd, bool withFrame) {
  if (!IsWindow(hwnd)) return Capture();
  const RECT area = withFrame ? WindowRectOf(hwnd) : ClientRectOf(hwnd);
  return Capture(Width(area), Height(area));
}

}  // namespace

Capture CaptureWindow(HWND hwnd, bool withFrame, CaptureMethod method) {
  Capture capture = blankCaptureOf(hwnd, withFrame);
  if (!capture.Valid()) return capture;

  const bool ownProcess = ProcessIdOf(hwnd) == GetCurrentProcessId();
  if (method == CaptureMethod::Auto) method = ownProcess ? CaptureMethod::Compose : CaptureMethod::WindowDc;
  capture.SetMethod(method);
  switch (method) {
    case CaptureMethod::Compose: {
      const RECT whole{0, 0, capture.Width(), capture.Height()};
      POINT origin{0, 0};
      if (!withFrame) {
        // Put the client's top-left at (0,0): the window's origin lies up and to the left.
        const RECT window = WindowRectOf(hwnd);
        const RECT client = ClientRectOnScreen(hwnd);
        origin = {window.left - client.left, window.top - client.top};
      }
      composeWindow(capture.Dc(), hwnd, origin, whole, withFrame);
      GdiFlush();
      if (!capture.AnyPainted() && IsWindowVisible(hwnd)) {
        capture.SetMethod(CaptureMethod::WindowDc);
        captureByWindowDc(capture, hwnd, withFrame);
      }
      break;
    }
    case CaptureMethod::Print:
      if (withFrame) sendPrint(hwnd, WM_PRINT, capture.Dc(), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
      else sendPrint(hwnd, WM_PRINT, capture.Dc(), PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
      GdiFlush();
      break;
    case CaptureMethod::WindowDc:
    case CaptureMethod::Auto:
      captureByWindowDc(capture, hwnd, withFrame);
      break;
  }
  return capture;
}

Capture CaptureAsShown(HWND hwnd, bool withFrame) {
  Capture capture = blankCaptureOf(hwnd, withFrame);
  if (!capture.Valid()) return capture;
  capture.SetMethod(CaptureMethod::WindowDc);
  readWindowDc(capture, hwnd, withFrame);
  return capture;
}

}  // namespace guitest
