// The engine dialog window: its state struct, window procedure, layout and modal loop.
// It uses child controls only, so it paints nothing itself.
#include "engine_dialog.h"
#include "com_object.h"
#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace speech_standin {

namespace {
constexpr UINT_PTR kAutoCloseTimer = 1;
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 112;
constexpr int kMargin = 16;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

std::mutex g_dialogLock;
std::vector<HWND> g_openDialogs;
HWND g_lastParent = nullptr;
bool g_classRegistered = false;

struct CreateParams {
    std::wstring type;
    unsigned autoCloseMs;
};

struct EngineDialogState {
    HWND hwnd = nullptr;
    HWND text = nullptr;
    HWND ok = nullptr;
    std::wstring type;
    unsigned autoCloseMs = 0;
};

EngineDialogState* stateOf(HWND hwnd) { return reinterpret_cast<EngineDialogState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool onCreate(EngineDialogState& state)
{
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));  // stock: never deleted
    std::wstring message = L"This window stands in for the recognizer's \"" + state.type + L"\" dialog.";
    state.text = CreateWindowExW(0, L"STATIC", message.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, kMargin, kMargin,
                                 kClientWidth - 2 * kMargin, 40, state.hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEngineDialogTextId)), moduleInstance(), nullptr);
    state.ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                               kClientWidth - kMargin - kButtonWidth, kClientHeight - kMargin - kButtonHeight, kButtonWidth,
                               kButtonHeight, state.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), moduleInstance(),
                               nullptr);
    if (!state.text || !state.ok) return false;
    SendMessageW(state.text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(state.ok, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (state.autoCloseMs) SetTimer(state.hwnd, kAutoCloseTimer, state.autoCloseMs, nullptr);
    return true;
}

void onCommand(EngineDialogState& state, int id)
{
    if (id == IDOK || id == IDCANCEL) DestroyWindow(state.hwnd);
}

void onTimer(EngineDialogState& state, UINT_PTR id)
{
    if (id != kAutoCloseTimer) return;
    KillTimer(state.hwnd, kAutoCloseTimer);
    PostMessageW(state.hwnd, WM_CLOSE, 0, 0);
}

LRESULT dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto params = static_cast<const CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        auto state = std::make_unique<EngineDialogState>();
        state->hwnd = hwnd;
        state->type = params->type;
        state->autoCloseMs = params->autoCloseMs;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    EngineDialogState* state = stateOf(hwnd);
    if (!state) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return onCreate(*state) ? 0 : -1;
    case WM_COMMAND:
        onCommand(*state, LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_TIMER:
        onTimer(*state, wParam);
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        std::unique_ptr<EngineDialogState> owned(state);
        break;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return dispatch(hwnd, message, wParam, lParam);
    } catch (...) {
        if (message == WM_NCCREATE) return FALSE;
        if (message == WM_CREATE) return -1;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool registerClass()
{
    std::lock_guard<std::mutex> guard(g_dialogLock);
    if (g_classRegistered) return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = moduleInstance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));  // system colour: not owned
    wc.lpszClassName = kEngineDialogClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    g_classRegistered = true;
    return true;
}

// Screen rectangle centred on the owner, or on the work area without one.
RECT calcDialogRect(HWND owner)
{
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT around;
    if (!owner || !GetWindowRect(owner, &around)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    int x = around.left + ((around.right - around.left) - width) / 2;
    int y = around.top + ((around.bottom - around.top) - height) / 2;
    return {std::max(0, x), std::max(0, y), std::max(0, x) + width, std::max(0, y) + height};
}

void track(HWND dialog, bool open)
{
    std::lock_guard<std::mutex> guard(g_dialogLock);
    if (open) g_openDialogs.push_back(dialog);
    else g_openDialogs.erase(std::remove(g_openDialogs.begin(), g_openDialogs.end(), dialog), g_openDialogs.end());
}
}  // namespace

HRESULT runEngineDialog(HWND owner, const std::wstring& title, const std::wstring& type, unsigned autoCloseMs)
{
    if (!registerClass()) return HRESULT_FROM_WIN32(GetLastError());
    CreateParams params{type, autoCloseMs};
    RECT rect = calcDialogRect(owner);
    HWND dialog = CreateWindowExW(kExStyle, kEngineDialogClass, title.c_str(), kStyle, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, moduleInstance(), &params);
    if (!dialog) {
        DWORD error = GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    track(dialog, true);
    bool reenableOwner = owner && IsWindowEnabled(owner);
    if (reenableOwner) EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOWNORMAL);
    if (EngineDialogState* state = stateOf(dialog)) SetFocus(state->ok);

    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (IsWindow(dialog)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got == -1) break;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The owner is enabled before the dialog goes, so that activation returns to it.
    if (reenableOwner) EnableWindow(owner, TRUE);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    track(dialog, false);
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return S_OK;
}

void closeEngineDialogs()
{
    std::vector<HWND> open;
    {
        std::lock_guard<std::mutex> guard(g_dialogLock);
        open = g_openDialogs;
    }
    for (HWND dialog : open) PostMessageW(dialog, WM_CLOSE, 0, 0);
}

HWND lastDisplayUIParent()
{
    std::lock_guard<std::mutex> guard(g_dialogLock);
    return g_lastParent;
}

void setLastDisplayUIParent(HWND owner)
{
    std::lock_guard<std::mutex> guard(g_dialogLock);
    g_lastParent = owner;
}

void unregisterEngineDialogClass()
{
    std::lock_guard<std::mutex> guard(g_dialogLock);
    if (g_classRegistered && UnregisterClassW(kEngineDialogClass, moduleInstance())) g_classRegistered = false;
}

}  // namespace speech_standin
