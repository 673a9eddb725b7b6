// Window captures probed at chosen pixels: a window and its children painted in known
// colours, with and without the frame, through the harness's composition, a single
// WM_PRINT and the window DC, plus the .bmp writer and colour tolerance.
#include "gui_test.h"

using namespace guitest;

namespace {

constexpr COLORREF kRed = RGB(0xE0, 0x10, 0x20);
constexpr COLORREF kBlue = RGB(0x10, 0x30, 0xD0);
constexpr COLORREF kGreen = RGB(0x10, 0xC0, 0x40);

// Fills the client with `color` on WM_PAINT and WM_PRINTCLIENT alike, as the house style
// asks of every control.
MessageHandler solidPainter(COLORREF color) {
  return [color](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message == WM_ERASEBKGND) {
      *result = 1;
      return true;
    }
    if (message != WM_PAINT && message != WM_PRINTCLIENT) return false;
    PAINTSTRUCT ps;
    HDC dc = message == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    if (message == WM_PAINT) EndPaint(hwnd, &ps);
    *result = 0;
    return true;
  };
}

// A frame the window draws itself (the way a skinned frame answers WM_PRINT).
MessageHandler framedPainter(COLORREF client, COLORREF frame) {
  MessageHandler inner = solidPainter(client);
  return [inner, frame](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_PRINT && (lParam & PRF_NONCLIENT)) {
      const RECT window = WindowRectOf(hwnd);
      RECT whole{0, 0, Width(window), Height(window)};
      HBRUSH brush = CreateSolidBrush(frame);
      FillRect(reinterpret_cast<HDC>(wParam), &whole, brush);
      DeleteObject(brush);
      *result = 0;
      return !(lParam & PRF_CLIENT);  // anything more is left to DefProc
    }
    return inner(hwnd, message, wParam, lParam, result);
  };
}

struct Scene {
  TestWindow parent;
  TestWindow child;
  TestWindow hiddenChild;
  Scene(DWORD parentStyle, MessageHandler parentPainter) {
    TestWindowOptions p;
    p.style = parentStyle;
    p.width = 200;
    p.height = 150;
    p.handler = std::move(parentPainter);
    parent = TestWindow(p);
    TestWindowOptions c;
    c.parent = parent.Handle();
    c.style = WS_CHILD | WS_VISIBLE;
    c.x = 20;
    c.y = 20;
    c.width = 30;
    c.height = 30;
    c.handler = solidPainter(kBlue);
    child = TestWindow(c);
    c.style = WS_CHILD;
    c.x = 60;
    c.handler = solidPainter(kGreen);
    hiddenChild = TestWindow(c);
  }
};

}  // namespace

TEST(Capture, ClientCapture_ComposesClientAndVisibleChildren) {
  Scene scene(WS_OVERLAPPEDWINDOW, solidPainter(kRed));
  ASSERT_TRUE(scene.parent && scene.child && scene.hiddenChild);
  Capture capture = CaptureWindow(scene.parent.Handle(), false);
  ASSERT_TRUE(capture.Valid());
  EXPECT_EQ(CaptureMethod::Compose, capture.Method());
  EXPECT_EQ(Width(ClientRectOf(scene.parent.Handle())), capture.Width());
  EXPECT_TRUE(PixelIs(capture, 5, 5, kRed));
  EXPECT_TRUE(PixelIs(capture, 20, 20, kBlue)) << "child's top-left";
  EXPECT_TRUE(PixelIs(capture, 49, 49, kBlue)) << "child's bottom-right";
  EXPECT_TRUE(PixelIs(capture, 50, 50, kRed)) << "just past the child";
  EXPECT_TRUE(PixelIs(capture, 70, 30, kRed)) << "a hidden child is not drawn";
  EXPECT_TRUE(PixelIs(capture, capture.Width() - 1, capture.Height() - 1, kRed));
}

TEST(Capture, FrameCapture_PutsClientBelowTheFrame) {
  Scene scene(WS_POPUP | WS_CAPTION | WS_THICKFRAME, framedPainter(kRed, kGreen));
  ASSERT_TRUE(scene.parent);
  const RECT window = WindowRectOf(scene.parent.Handle());
  const RECT client = ClientRectOnScreen(scene.parent.Handle());
  const int dx = client.left - window.left, dy = client.top - window.top;
  ASSERT_GT(dy, 0);
  Capture capture = CaptureWindow(scene.parent.Handle(), true);
  ASSERT_TRUE(capture.Valid());
  EXPECT_EQ(Width(window), capture.Width());
  EXPECT_EQ(Height(window), capture.Height());
  EXPECT_TRUE(PixelIs(capture, 1, 1, kGreen)) << "frame";
  EXPECT_TRUE(PixelIs(capture, dx + 2, dy - 1, kGreen)) << "last frame row above the client";
  EXPECT_TRUE(PixelIs(capture, dx + 2, dy, kRed)) << "first client row";
  EXPECT_TRUE(PixelIs(capture, dx + 25, dy + 25, kBlue)) << "child, offset by the frame";
}

TEST(Capture, PrintMethod_OnDefaultFrame) {
  // One WM_PRINT with every flag, answered by DefWindowProc.  Windows draws the frame and
  // the children and puts the client below the frame; Wine 8 sends WM_PRINTCLIENT at the
  // DC origin and nothing else, which is why CaptureWindow composes by default.
  Scene scene(WS_POPUP | WS_CAPTION, solidPainter(kRed));
  const RECT window = WindowRectOf(scene.parent.Handle());
  const RECT client = ClientRectOnScreen(scene.parent.Handle());
  const int dx = client.left - window.left, dy = client.top - window.top;
  Capture capture = CaptureWindow(scene.parent.Handle(), true, CaptureMethod::Print);
  ASSERT_TRUE(capture.Valid());
  if (RunningUnderWine()) {
    EXPECT_TRUE(PixelIs(capture, 0, 0, kRed)) << "Wine: client printed at the DC origin";
    EXPECT_TRUE(PixelIs(capture, 25, 25, kRed)) << "Wine: children not printed";
    EXPECT_FALSE(capture.Painted(capture.Width() - 1, capture.Height() - 1)) << "Wine: no frame";
  } else {
    EXPECT_TRUE(PixelIs(capture, dx + 2, dy + 2, kRed));
    EXPECT_TRUE(PixelIs(capture, dx + 25, dy + 25, kBlue));
    EXPECT_TRUE(capture.Painted(0, 0));
  }
}

TEST(Capture, WindowDc_ReadsShownWindow) {
  Scene scene(WS_POPUP, solidPainter(kRed));
  // Topmost and away from where other tests put their windows; the screen is shared by
  // tests run in parallel.
  SetWindowPos(scene.parent.Handle(), HWND_TOPMOST, 1000, 100, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Capture capture;
  PumpUntil([&] {
    capture = CaptureWindow(scene.parent.Handle(), false, CaptureMethod::WindowDc);
    return static_cast<bool>(PixelIs(capture, 5, 5, kRed)) && static_cast<bool>(PixelIs(capture, 30, 30, kBlue));
  });
  ASSERT_TRUE(capture.Valid());
  EXPECT_TRUE(PixelIs(capture, 5, 5, kRed));
  EXPECT_TRUE(PixelIs(capture, 30, 30, kBlue));
}

TEST(Capture, SaveBmp_WritesBottomUpFile) {
  Capture capture(3, 2);
  ASSERT_TRUE(capture.Valid());
  HBRUSH brush = CreateSolidBrush(kBlue);
  RECT topLeft{0, 0, 1, 1};
  FillRect(capture.Dc(), &topLeft, brush);
  DeleteObject(brush);
  EXPECT_TRUE(PixelIs(capture, 0, 0, kBlue));
  EXPECT_FALSE(capture.Painted(1, 0));
  EXPECT_EQ(CLR_INVALID, capture.Pixel(3, 0));
  TempDir folder;
  const std::wstring path = folder.File(L"probe.bmp");
  ASSERT_TRUE(capture.SaveBmp(path));
  const std::string bytes = ReadFileBytes(path);
  ASSERT_EQ(14u + 40u + 2u * 12u, bytes.size());  // rows of 9 bytes padded to 12
  EXPECT_EQ("BM", bytes.substr(0, 2));
  // The top row is stored last; its first pixel is blue, as B, G, R.
  const size_t top = 14 + 40 + 12;
  EXPECT_EQ("D0 30 10", HexBytes(bytes.substr(top, 3)));
}

TEST(Capture, ColorNear_ToleranceTable) {
  struct Row {
    COLORREF a, b;
    int tolerance;
    bool isNear;
  } rows[] = {
      {RGB(10, 20, 30), RGB(10, 20, 30), 0, true},   {RGB(10, 20, 30), RGB(11, 20, 30), 0, false},
      {RGB(10, 20, 30), RGB(13, 17, 33), 3, true},   {RGB(10, 20, 30), RGB(10, 20, 34), 3, false},
      {RGB(0, 0, 0), RGB(255, 255, 255), 254, false}, {CLR_INVALID, RGB(0, 0, 0), 255, false},
  };
  for (const Row& row : rows)
    EXPECT_EQ(row.isNear, ColorNear(row.a, row.b, row.tolerance))
        << ColorToString(row.a) << " vs " << ColorToString(row.b) << " within " << row.tolerance;
}

TEST(Capture, CaptureWindow_MissingWindowGivesEmptyCapture) {
  EXPECT_FALSE(CaptureWindow(nullptr, true).Valid());
  Capture empty;
  EXPECT_FALSE(PixelIs(empty, 0, 0, kRed));
}
