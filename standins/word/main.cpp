// Program entry of the stand-in word processor.
//   word_standin /regserver     registers it as the word processor's local server
//   word_standin /unregserver   removes that registration
//   word_standin -Embedding     as the system starts it for a client: hidden until asked
//   word_standin                as a person starts it: visible, with an empty document
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cwchar>

#include "server.h"

using namespace word_standin;

namespace {

bool hasSwitch(const wchar_t* commandLine, const wchar_t* name) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine, &count);
    bool found = false;
    for (int i = 1; args && i < count; ++i) {
        const wchar_t* a = args[i];
        if (*a == L'/' || *a == L'-') ++a;
        if (_wcsicmp(a, name) == 0) found = true;
    }
    LocalFree(args);
    return found;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    const wchar_t* commandLine = GetCommandLineW();
    if (hasSwitch(commandLine, L"regserver")) return SUCCEEDED(registerServer()) ? 0 : 1;
    if (hasSwitch(commandLine, L"unregserver")) return SUCCEEDED(unregisterServer()) ? 0 : 1;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int code = 3;
    if (createMainWindow(instance) && startServer(hasSwitch(commandLine, L"Embedding"))) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        code = 0;
    }
    quitServer();
    CoUninitialize();
    return code;
}
