// Watches the demo on behalf of the person who runs it with no display: waits until the
// stand-in recognizer has finished dictating (its call log has been quiet for two
// seconds after the first phrase text was asked for), then writes the text of the
// notepad's editor (GBK) to the file named on the command line.  Given the window class
// of another program, it plays the user of parlet instead: once parlet's window is up it
// brings that program's window to the front, where the phrases are typed, and at the
// end writes the text of its edit control.  Given a text box's class too, it only reads
// that box of the window at the end (the stand-in word processor's document, for scrivet).
//
// usage: demo_probe <call log> <output file> [timeout seconds] [target window class [text class]]
#include <windows.h>

#include <string>

namespace {

std::string readFile(const char* path) {
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) data.append(buf, got);
    CloseHandle(f);
    return data;
}

HWND findEditor(const char* targetClass, const char* textClass) {
    if (targetClass) {
        HWND target = FindWindowA(targetClass, nullptr);
        return target ? FindWindowExA(target, nullptr, textClass, nullptr) : nullptr;
    }
    HWND form = FindWindowA("TFnotepad", nullptr);
    return form ? FindWindowExA(form, nullptr, "TRichEdit", nullptr) : nullptr;
}

// Waits for parlet's window, then for the target's, and puts the target in front.
bool bringTargetForward(const char* targetClass, DWORD start, DWORD timeout) {
    HWND parlet = nullptr, target = nullptr;
    while (!(parlet = FindWindowA("TFInput", nullptr)) || !IsWindowVisible(parlet) ||
           !(target = FindWindowA(targetClass, nullptr))) {
        if (GetTickCount() - start > timeout) return false;
        Sleep(50);
    }
    return SetForegroundWindow(target) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const DWORD timeout = (argc > 3 ? static_cast<DWORD>(atoi(argv[3])) : 60) * 1000;
    const DWORD start = GetTickCount();
    const char* targetClass = argc > 4 ? argv[4] : nullptr;
    const char* textClass = argc > 5 ? argv[5] : nullptr;
    if (targetClass && !textClass && !bringTargetForward(targetClass, start, timeout)) return 3;
    size_t lastSize = 0;
    DWORD lastChange = GetTickCount();
    for (;;) {
        std::string log = readFile(argv[1]);
        if (log.size() != lastSize) { lastSize = log.size(); lastChange = GetTickCount(); }
        if (log.find("GetText") != std::string::npos && GetTickCount() - lastChange > 2000) break;
        if (GetTickCount() - start > timeout) return 3;
        Sleep(100);
    }
    HWND editor = findEditor(targetClass, textClass ? textClass : "Edit");
    if (!editor) return 4;
    // The length is asked for in characters: under Wine an ANSI WM_GETTEXTLENGTH sent to
    // another process answers 0 for text with double-byte characters.  Two bytes per
    // character is room enough for the ANSI text.
    int n = static_cast<int>(SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0)) * 2 + 1;
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = static_cast<int>(SendMessageA(editor, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    HANDLE out = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 5;
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(out);
    return 0;
}
