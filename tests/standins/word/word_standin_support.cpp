#include "word_standin_support.h"

#include "WordServer.h"
#include "gui_test.h"

namespace wordtest {

namespace {

bool runStandin(const wchar_t* argument) {
    guitest::Process p = guitest::LaunchProgram(L"standins\\word_standin.exe", argument);
    return p.Valid() && guitest::WaitForExit(p) == 0;
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

Unregistered::Unregistered() { ok = runStandin(L"/unregserver"); }
Unregistered::~Unregistered() { runStandin(L"/regserver"); }

}  // namespace wordtest
