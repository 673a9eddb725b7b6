// A program for parlet's tests to type into: a top-level window holding one plain Unicode
// edit control, with no subclass.  The message loop writes down every WM_IME_CHAR that
// reaches the edit, as taken from the queue, into a hidden static control:
// "D6D0 41 CEC4 ...", the wParam values in hexadecimal, in order.
//
// Under Wine a double-byte WM_IME_CHAR that reaches an edit through ANSI processing
// (dispatched with DispatchMessageA, or sent to an ANSI edit, plain or subclassed with
// SetWindowLongPtrA) becomes two default characters; on Windows it arrives whole.  The
// loop therefore dispatches as Unicode, so that the tests see parlet and not that quirk.
//
// usage: ime_target [caption]
#include <windows.h>

#include <cstdio>
#include <string>

#include "ime_target.h"

namespace {

LRESULT CALLBACK targetProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFOCUS:
        // Activation gives the edit the focus, as a user clicking into it would.
        if (HWND edit = GetDlgItem(wnd, kImeTargetEditId)) SetFocus(edit);
        return 0;
    case WM_SIZE:
        if (HWND edit = GetDlgItem(wnd, kImeTargetEditId)) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = targetProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kImeTargetClass;
    if (!RegisterClassA(&wc)) return 2;
    const char* caption = commandLine && *commandLine ? commandLine : "ime target";
    HWND main = CreateWindowExA(0, kImeTargetClass, caption, WS_OVERLAPPEDWINDOW, 60, 60, 360, 120, nullptr, nullptr,
                                instance, nullptr);
    if (!main) return 3;
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 360, 120,
                                main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kImeTargetEditId)), instance, nullptr);
    HWND record = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 0, 0, main,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kImeTargetRecordId)), instance, nullptr);
    if (!edit || !record) return 4;
    ShowWindow(main, SW_SHOWNORMAL);
    SetFocus(edit);

    std::string received;
    MSG msg;
    for (;;) {
        // The ANSI view of a WM_IME_CHAR posted with PostMessageA shows it as it was posted:
        // the lead byte in the high half of wParam.  Every message is then taken and
        // dispatched as Unicode, the way a Unicode program's loop takes it.  WM_IME_CHAR
        // is only ever taken by the first branch, so none goes by unrecorded.
        if (PeekMessageA(&msg, nullptr, WM_IME_CHAR, WM_IME_CHAR, PM_NOREMOVE)) {
            if (msg.hwnd == edit) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "%s%llX", received.empty() ? "" : " ",
                              static_cast<unsigned long long>(msg.wParam));
                received += hex;
                SetWindowTextA(record, received.c_str());
            }
            PeekMessageW(&msg, nullptr, WM_IME_CHAR, WM_IME_CHAR, PM_REMOVE);
        } else if (!PeekMessageW(&msg, nullptr, 0, WM_IME_CHAR - 1, PM_REMOVE) &&
                   !PeekMessageW(&msg, nullptr, WM_IME_CHAR + 1, 0xFFFF, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
