#include "notepad_test_support.h"

#include "gui_test.h"

namespace notepadtest {

Standin& Standin::Get() {
    static Standin s = [] {
        Standin r;
        r.module = LoadLibraryW(guitest::BuildPath(L"standins\\speech_standin.dll").c_str());
        if (r.module) {
            r.play = reinterpret_cast<SpeechStandin_PlayScript_fn>(GetProcAddress(r.module, "SpeechStandin_PlayScript"));
            r.readLog = reinterpret_cast<SpeechStandin_ReadLog_fn>(GetProcAddress(r.module, "SpeechStandin_ReadLog"));
            r.reset = reinterpret_cast<SpeechStandin_Reset_fn>(GetProcAddress(r.module, "SpeechStandin_Reset"));
            r.pending = reinterpret_cast<SpeechStandin_PendingEvents_fn>(GetProcAddress(r.module, "SpeechStandin_PendingEvents"));
            r.setMode = reinterpret_cast<SpeechStandin_SetMode_fn>(GetProcAddress(r.module, "SpeechStandin_SetMode"));
        }
        return r;
    }();
    return s;
}

std::string Standin::Log() const {
    if (!readLog) return {};
    size_t n = readLog(nullptr, 0);
    std::string s(n + 1, '\0');
    readLog(s.data(), s.size());
    s.resize(n);
    return s;
}

std::string MarkerPath() {
    char dir[MAX_PATH] = {};
    GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\tallowmere.ini";
}

void CreateMarker() {
    HANDLE f = CreateFileA(MarkerPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD w = 0;
        WriteFile(f, "Memo1\r\n", 7, &w, nullptr);
        CloseHandle(f);
    }
}

void RemoveMarker() { DeleteFileA(MarkerPath().c_str()); }
bool MarkerExists() { return GetFileAttributesA(MarkerPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace notepadtest
