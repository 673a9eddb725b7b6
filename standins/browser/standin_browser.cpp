// A stand-in for the web browser that opens .htm files in the test prefix.  The
// programs open their set-up page through the shell; with this program registered as
// the page's handler, tests see which page was asked for without starting a browser.
// It appends its command line (one line, in the ANSI code page) to the file named by
// STANDIN_BROWSER_LOG, or to %TEMP%\standin_browser.log, and exits.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("STANDIN_BROWSER_LOG", path, MAX_PATH)) {
        GetTempPathA(MAX_PATH, path);
        lstrcatA(path, "standin_browser.log");
    }
    std::string line = commandLine ? commandLine : "";
    line += "\r\n";
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(f);
    return 0;
}
