#include "word_standin_support.h"

#include <utility>

#include "WordServer.h"
#include "gui_test.h"

namespace wordtest {

namespace {

bool runStandin(const wchar_t* argument) {
    guitest::Process p = guitest::LaunchProgram(L"standins\\word_standin.exe", argument);
    return p.Valid() && guitest::WaitForExit(p) == 0;
}

std::wstring imagePathOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    const BOOL got = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return got ? std::wstring(path, size) : std::wstring();
}

std::string unixProcessFile(int unixProcessId, const char* name) {
    return guitest::ReadFileBytes(guitest::FromUnixPath("/proc/" + std::to_string(unixProcessId) + "/" + name));
}

// Under Wine, the Unix process that runs a Windows process: Wine puts the image path first
// on the command line that /proc shows.  0 when none or more than one matches.
int unixProcessOf(DWORD processId) {
    const std::wstring image = imagePathOf(processId);
    const std::wstring proc = guitest::FromUnixPath("/proc");
    if (image.empty() || proc.empty()) return 0;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((proc + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int found = 0, matches = 0;
    do {
        if (entry.cFileName[0] < L'1' || entry.cFileName[0] > L'9') continue;
        const int pid = _wtoi(entry.cFileName);
        const std::string commandLine = unixProcessFile(pid, "cmdline");
        const std::wstring first = guitest::ToWide(commandLine.substr(0, commandLine.find('\0')), CP_UTF8);
        if (!first.empty() && lstrcmpiW(first.c_str(), image.c_str()) == 0) {
            found = pid;
            ++matches;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return matches == 1 ? found : 0;
}

// The state letter /proc gives a Unix process ('T' while stopped), 0 when unknown.
char unixStateOf(int unixProcessId) {
    const std::string stat = unixProcessFile(unixProcessId, "stat");
    const size_t name = stat.rfind(") ");  // the name in parentheses may hold anything
    return name == std::string::npos || name + 2 >= stat.size() ? 0 : stat[name + 2];
}

// Under Wine, runs kill with a signal.  A Unix program started from Wine leaves no handle
// to wait on: the caller waits for the state it asked for.
bool signalUnixProcess(int unixProcessId, const wchar_t* signal) {
    const std::wstring kill = guitest::FromUnixPath("/bin/kill");
    std::wstring commandLine = L"kill -" + std::wstring(signal) + L" " + std::to_wstring(unixProcessId);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (kill.empty() || !CreateProcessW(kill.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    if (started.hThread) CloseHandle(started.hThread);
    if (started.hProcess) CloseHandle(started.hProcess);
    return true;
}

// NtSuspendProcess or NtResumeProcess, on Windows.
bool callProcessFunction(DWORD processId, const char* name) {
    using ProcessFunction = LONG(NTAPI*)(HANDLE);
    const auto function = reinterpret_cast<ProcessFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
    HANDLE process = function ? OpenProcess(PROCESS_SUSPEND_RESUME, FALSE, processId) : nullptr;
    if (!process) return false;
    const bool done = function(process) >= 0;
    CloseHandle(process);
    return done;
}

}  // namespace

OleDispatch RunningApplication() {
    ComPtr<IUnknown> unknown;
    if (FAILED(GetActiveObject(CLSID_WordApplication, nullptr, unknown.Put())) || !unknown) return OleDispatch();
    try {
        return OleDispatch::FromUnknown(unknown.Get());
    } catch (const EOleSysError&) {
        return OleDispatch();
    }
}

bool StandinRunning() {
    OleDispatch app = RunningApplication();
    if (!app) return false;
    try {
        app.Get(L"StandinProcessId");
        return true;
    } catch (const EOleSysError&) {
        return false;  // an entry left by a process that is gone
    }
}

std::wstring StandinText() {
    OleDispatch app = RunningApplication();
    if (!app) throw EOleSysError(MK_E_UNAVAILABLE);
    return app.Get(L"StandinText").ToString();
}

DWORD StandinProcessId() {
    OleDispatch app = RunningApplication();
    if (!app) return 0;
    return static_cast<DWORD>(app.Get(L"StandinProcessId").ToInt());
}

int StandinDocumentCount() {
    OleDispatch app = RunningApplication();
    if (!app) return 0;
    return app.Get(L"StandinDocumentCount").ToInt();
}

HWND StandinWindow(DWORD processId) {
    return guitest::FindTopLevelWindow(guitest::WindowQuery().Class(L"WordStandinWindow").InProcess(processId));
}

std::wstring StandinWindowText(DWORD processId) {
    HWND window = StandinWindow(processId);
    HWND edit = window ? guitest::FindChildByClass(window, L"Edit") : nullptr;
    return edit ? guitest::WindowTextW(edit) : std::wstring();
}

bool QuitStandins() {
    for (int round = 0; round < 10; ++round) {
        OleDispatch app = RunningApplication();
        if (!app) return true;
        DWORD pid = 0;
        try {
            pid = static_cast<DWORD>(app.Get(L"StandinProcessId").ToInt());
            app.Call(L"Quit");
        } catch (const EOleSysError&) {
            // A stale entry of a process that is gone: the table forgets it soon.
        }
        app = OleDispatch();
        if (pid) {
            HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
            if (process) {
                guitest::PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
                CloseHandle(process);
            }
        } else {
            guitest::PumpUntil([] { return !StandinRunning(); });
        }
    }
    return !StandinRunning();
}

CrashedServerCleanup::~CrashedServerCleanup() {
    if (!guitest::RunningUnderWine()) return;
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceW(manager, L"RpcSs", SERVICE_STOP | SERVICE_QUERY_STATUS) : nullptr;
    auto status = [&] {
        SERVICE_STATUS_PROCESS s = {};
        DWORD needed = 0;
        QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&s), sizeof s, &needed);
        return s;
    };
    SERVICE_STATUS stopping = {};
    if (service) {
        const DWORD before = status().dwProcessId;
        if (ControlService(service, SERVICE_CONTROL_STOP, &stopping)) {
            // Stopped, or started again already by another process's call.
            EXPECT_TRUE(guitest::PumpUntil([&] {
                SERVICE_STATUS_PROCESS now = status();
                return now.dwCurrentState == SERVICE_STOPPED || now.dwProcessId != before;
            })) << "waited for Wine's RPC service to stop";
        }
    }
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
}

Stopped::Stopped(DWORD processId) : processId_(processId) {
    if (!guitest::RunningUnderWine()) {
        ok = stopping_ = callProcessFunction(processId, "NtSuspendProcess");
        return;
    }
    unixProcessId_ = unixProcessOf(processId);
    stopping_ = unixProcessId_ != 0 && signalUnixProcess(unixProcessId_, L"STOP");
    ok = stopping_ && guitest::PumpUntil([&] { return unixStateOf(unixProcessId_) == 'T'; });
}

void Stopped::Continue() {
    if (!std::exchange(stopping_, false)) return;
    if (!unixProcessId_) {
        callProcessFunction(processId_, "NtResumeProcess");
        return;
    }
    EXPECT_TRUE(signalUnixProcess(unixProcessId_, L"CONT") &&
                guitest::PumpUntil([&] { return unixStateOf(unixProcessId_) != 'T'; }))
        << "the stopped process " << unixProcessId_ << " did not go on";
}

Unregistered::Unregistered() { ok = runStandin(L"/unregserver"); }
Unregistered::~Unregistered() { runStandin(L"/regserver"); }

}  // namespace wordtest
