// The stand-in word processor's window: the active document's text in a read-only edit
// (so a person, and a test from outside, can read it), the document's name in the
// caption.  Closing the window ends the stand-in, as closing the word processor does.
#include <string>

#include "server.h"

namespace word_standin {

namespace {

const wchar_t kClassName[] = L"WordStandinWindow";
constexpr UINT kQuitRequest = WM_APP + 2;
constexpr UINT_PTR kUnusedTimer = 1;
// How long an unused stand-in waits before it ends: a client that is still being served
// (the system started the stand-in for it, and another client came and went first)
// connects within it.
constexpr UINT kShutdownDelayMs = 3000;
constexpr int kEditId = 100;

HWND g_window = nullptr;
HWND g_edit = nullptr;

void layout() {
    RECT r;
    GetClientRect(g_window, &r);
    MoveWindow(g_edit, 0, 0, r.right, r.bottom, TRUE);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (g_edit) layout();
        return 0;
    case WM_CLOSE:
        quitServer();
        return 0;
    case WM_TIMER:
        if (wParam == kUnusedTimer) {
            KillTimer(hwnd, kUnusedTimer);
            quitIfUnused();
        }
        return 0;
    case kQuitRequest:
        quitServer();
        return 0;
    case WM_NCDESTROY:
        g_window = nullptr;
        g_edit = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool createMainWindow(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc)) return false;
    g_window = CreateWindowExW(0, kClassName, L"Word processor stand-in", WS_OVERLAPPEDWINDOW, 60, 60, 560, 360, nullptr,
                               nullptr, instance, nullptr);
    if (!g_window) return false;
    g_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 0, 0, 0, 0,
                             g_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    if (!g_edit) return false;
    SendMessageW(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    layout();
    return true;
}

void showMainWindow(bool show) {
    if (!g_window) return;
    ShowWindow(g_window, show ? SW_SHOWNORMAL : SW_HIDE);
    if (show) SetForegroundWindow(g_window);
}

void refreshMainWindow() {
    if (!g_window) return;
    Document* d = activeDocument();
    std::wstring caption = L"Word processor stand-in";
    if (d) caption = L"Document " + std::to_wstring(documentNumber(d)) + L" - " + caption;
    SetWindowTextW(g_window, caption.c_str());
    const std::wstring text = d ? documentText(d) : std::wstring();
    SetWindowTextW(g_edit, text.c_str());
    SendMessageW(g_edit, EM_SETSEL, static_cast<WPARAM>(text.size()), static_cast<LPARAM>(text.size()));
    SendMessageW(g_edit, EM_SCROLLCARET, 0, 0);
}

void destroyMainWindow() {
    if (g_window) DestroyWindow(g_window);
}

void postUnusedCheck() {
    if (g_window) SetTimer(g_window, kUnusedTimer, kShutdownDelayMs, nullptr);
}

void postQuitRequest() {
    if (g_window) PostMessageW(g_window, kQuitRequest, 0, 0);
}

}  // namespace word_standin
