// A small program the harness's own tests launch and drive from another process.  It
// opens a window (caption from --caption, client painted in a known colour, a static
// child with id 100 showing its working folder) and then, as asked on its command line:
//   --message-box  a Yes/No/Cancel box whose text ends with $GUITEST_HELPER_SUFFIX; the
//                  exit code is 100 + the button pressed
//   --crash        a write through a null pointer once the window is up
//   --throw        an uncaught C++ exception once the window is up
//   --exit N       exit with N once the window is up
// Without any of these it runs until its window is closed, then exits 0.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "helper_app.h"

namespace {

enum class Action { Wait, MessageBox, Crash, Throw, Exit };

struct Options {
  Action action = Action::Wait;
  int exitCode = 0;
  std::string caption = "guitest helper";
};

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--message-box")) options.action = Action::MessageBox;
    else if (!std::strcmp(argv[i], "--crash")) options.action = Action::Crash;
    else if (!std::strcmp(argv[i], "--throw")) options.action = Action::Throw;
    else if (!std::strcmp(argv[i], "--exit") && i + 1 < argc) {
      options.action = Action::Exit;
      options.exitCode = std::atoi(argv[++i]);
    } else if (!std::strcmp(argv[i], "--caption") && i + 1 < argc) {
      options.caption = argv[++i];
    }
  }
  return options;
}

LRESULT CALLBACK helperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) {
        HBRUSH brush = CreateSolidBrush(kHelperClientColor);
        if (brush) {
          FillRect(dc, &ps.rcPaint, brush);
          DeleteObject(brush);
        }
        EndPaint(hwnd, &ps);
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

int messageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const Options options = parse(__argc, __argv);
  WNDCLASSA wc{};
  wc.lpfnWndProc = helperProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kHelperWindowClass;
  if (!RegisterClassA(&wc)) return 90;
  HWND hwnd = CreateWindowExA(0, kHelperWindowClass, options.caption.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 320, 200,
                              nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 91;
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, folder);
  CreateWindowExA(0, "Static", folder, WS_CHILD | WS_VISIBLE, 8, 8, 300, 20, hwnd,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHelperFolderId)), instance, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);

  switch (options.action) {
    case Action::Wait:
      return messageLoop();
    case Action::MessageBox: {
      std::string text = kHelperQuestion;
      if (const char* suffix = std::getenv("GUITEST_HELPER_SUFFIX")) text += suffix;
      const int answer = MessageBoxA(hwnd, text.c_str(), kHelperBoxCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
      DestroyWindow(hwnd);
      return 100 + answer;
    }
    case Action::Crash: {
      volatile int* nowhere = nullptr;
      *nowhere = 1;
      return 92;
    }
    case Action::Throw:
      throw std::runtime_error("helper asked to throw");
    case Action::Exit:
      DestroyWindow(hwnd);
      return options.exitCode;
  }
  return 93;
}
