#include "notepad_test_support.h"

#include <algorithm>

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

namespace notepadtest {
namespace {

struct DialogRun {
    std::vector<DialogStep> steps;
    size_t next = 0;
    HWND current = nullptr;
    ULONGLONG since = 0;
    std::vector<HWND> handled;
    std::vector<guitest::MessageBoxContents> seen;
    std::vector<std::string> problems;
    bool inStep = false;
};

thread_local DialogRun* activeRun = nullptr;

HWND newDialog(const DialogRun& run) {
    for (HWND d : guitest::FindTopLevelWindows(guitest::WindowQuery().Class(L"#32770").InThread(GetCurrentThreadId()).Visible()))
        if (std::find(run.handled.begin(), run.handled.end(), d) == run.handled.end()) return d;
    return nullptr;
}

void CALLBACK onDialogTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogRun* run = activeRun;
    if (!run || run->inStep) return;  // a step that pumps messages must not run again inside itself
    try {
        if (run->current && !IsWindow(run->current)) run->current = nullptr;
        if (!run->current) {
            HWND d = newDialog(*run);
            if (!d) return;
            run->current = d;
            run->since = GetTickCount64();
            run->seen.push_back(guitest::ReadMessageBox(d));
            if (run->next >= run->steps.size()) {
                run->problems.push_back("unexpected dialog \"" + guitest::ToUtf8(run->seen.back().textW) + "\" (caption \"" +
                                        guitest::ToUtf8(run->seen.back().captionW) + "\")");
                run->handled.push_back(d);
                PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                run->current = nullptr;
                return;
            }
        }
        run->inStep = true;
        const bool done = run->steps[run->next](run->current);
        run->inStep = false;
        if (done) {
            run->handled.push_back(run->current);
            run->current = nullptr;
            ++run->next;
        } else if (GetTickCount64() - run->since > guitest::kDefaultTimeoutMs) {
            run->problems.push_back("a dialog step did not finish: " + guitest::Describe(run->current));
            run->handled.push_back(run->current);
            PostMessageW(run->current, WM_COMMAND, IDCANCEL, 0);
            run->current = nullptr;
            ++run->next;
        }
    } catch (...) {
        run->inStep = false;
        run->problems.push_back("a dialog step raised an exception");
    }
}

}  // namespace

std::vector<guitest::MessageBoxContents> RunDialogs(const std::function<void()>& action, std::vector<DialogStep> steps) {
    DialogRun run;
    run.steps = std::move(steps);
    DialogRun* outer = activeRun;
    activeRun = &run;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, onDialogTimer);
    if (!timer) ADD_FAILURE() << "cannot start the dialog timer, error " << GetLastError();
    struct Restore {
        UINT_PTR timer;
        DialogRun* outer;
        ~Restore() {
            if (timer) KillTimer(nullptr, timer);
            activeRun = outer;
        }
    } restore{timer, outer};
    action();
    for (const std::string& p : run.problems) ADD_FAILURE() << p;
    if (run.next < run.steps.size())
        ADD_FAILURE() << "expected " << run.steps.size() << " dialog(s), saw " << run.seen.size();
    return run.seen;
}

DialogStep Press(int id) {
    return [id](HWND d) {
        guitest::PressButton(d, id);
        return true;
    };
}

DialogStep ChooseFile(const std::string& path) {
    return [path](HWND d) {
        // The file-name box: a combo box (cmb13) in the explorer-style dialog, else edt1.
        HWND box = GetDlgItem(d, 0x47c);
        if (!box) box = GetDlgItem(d, 0x480);
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(d, WM_COMMAND, IDOK, 0);
        return true;
    };
}

}  // namespace notepadtest
