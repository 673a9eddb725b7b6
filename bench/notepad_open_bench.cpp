// Large plain-text files in the notepad, beside a bare rich edit: for 1, 5 and 20 MB of
// GBK text (80-byte lines), the time to open the file until the editor has painted it, the
// peak memory of the process, and for the notepad the time to save it back (checked byte
// for byte).  Each measurement runs in a child process of its own, so that every peak
// belongs to one file alone.
//  - notepad: the form's open command (read, decode, hand the text to the editor);
//  - bare: a "RichEdit20A" window of the editor's size, font and wrapping, given the file's
//    bytes with EM_STREAMIN as plain text.
// Memory: the peak working set of the process and its growth over the process before
// the open.
//
// run, from the build folder with the stand-ins registered:
//   ./wine-run notepad_open_bench.exe [sizes in MB, default 1 5 20]
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "Fnotepad.h"
#include "RichEdit.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "notepad_test_support.h"

namespace {

double nowMs() {
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Resident size now and at its peak, in KiB (Wine fills these from the process's own
// /proc status: VmRSS and VmHWM).
struct Resident {
    double now = 0;
    double peak = 0;
};

Resident resident() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return {pmc.WorkingSetSize / 1024.0, pmc.PeakWorkingSetSize / 1024.0};
}

std::string readAll(const std::string& name) {
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(h);
    data.resize(got);
    return data;
}

// GBK text in lines of 80 bytes (78 and CR LF): Chinese, digits and blanks.
void makeFile(const std::string& name, size_t megabytes) {
    const std::string line = std::string("\xBD\xF1\xCC\xEC\xCC\xEC\xC6\xF8\xBA\xDC\xBA\xC3\xA3\xAC") +  // 今天天气很好，
                             "1234567890 " + "\xCE\xD2\xC3\xC7\xC8\xA5\xB9\xAB\xD4\xB0\xC9\xA2\xB2\xBD\xA1\xA3" +  // 我们去公园散步。
                             " abcdefghij " + "\xD6\xD0\xCE\xC4\xCE\xC4\xB1\xBE\xB2\xE2\xCA\xD4" +  // 中文文本测试
                             " 0123456789 xyz\r\n";
    std::string data;
    const size_t total = megabytes * 1024 * 1024;
    data.reserve(total + line.size());
    while (data.size() + line.size() <= total) data += line;
    HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
}

int childNotepad(const std::string& file) {
    Application->Initialize();
    RegisterSkinClasses();
    TFnotepad::CommandLineParameters = [] { return std::vector<std::string>(); };
    notepadtest::CreateMarker();
    auto* form = Application->CreateForm<TFnotepad>();
    form->SetWindowState(wsNormal);
    form->SetBounds(0, 0, 696, 479);
    form->Show();
    guitest::PumpMessages();
    const Resident before = resident();
    double t0 = nowMs();
    form->OpenFile(file);
    guitest::PumpMessages();
    UpdateWindow(form->RichEdit1->Handle());
    const double openMs = nowMs() - t0;
    const Resident afterOpen = resident();
    form->RichEdit1->SetModified(true);
    const std::string original = readAll(file);
    t0 = nowMs();
    const bool saved = form->SaveFile(0);
    const double saveMs = nowMs() - t0;
    const Resident afterSave = resident();
    const std::string written = readAll(file);
    const bool same = saved && written == original;
    if (!same) {
        size_t at = 0;
        while (at < written.size() && at < original.size() && written[at] == original[at]) ++at;
        std::fprintf(stderr, "saved %zu bytes, original %zu, first difference at %zu\n", written.size(), original.size(), at);
    }
    std::printf("%.0f %.0f %.0f %.0f %.0f %d\n", openMs, afterOpen.peak, afterOpen.peak - before.now, saveMs,
                afterSave.peak, same ? 1 : 0);
    form->RichEdit1->SetModified(false);
    delete form;
    return 0;
}

int childBare(const std::string& file) {
    Application->Initialize();  // the same process set-up as the notepad's
    LoadLibraryA("riched20.dll");
    RECT r{0, 0, 696 - 229 - 16, 479 - 49 - 58};  // about the notepad editor's area at this form size
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, r.right, r.bottom, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                                0, 0, r.right, r.bottom, frame, nullptr, nullptr, nullptr);
    SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR;
    cf.yHeight = 14 * 15;
    cf.bCharSet = GB2312_CHARSET;
    cf.crTextColor = RGB(0, 0, 255);
    lstrcpyA(cf.szFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SendMessageA(edit, EM_SETTARGETDEVICE, 0, 0);
    guitest::PumpMessages();
    const Resident before = resident();
    const double t0 = nowMs();
    struct In {
        std::string data;
        size_t pos = 0;
    } in{readAll(file)};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&in);
    es.pfnCallback = [](DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) -> DWORD {
        auto* s = reinterpret_cast<In*>(cookie);
        const size_t n = std::min(static_cast<size_t>(size), s->data.size() - s->pos);
        memcpy(buffer, s->data.data() + s->pos, n);
        s->pos += n;
        *done = static_cast<LONG>(n);
        return 0;
    };
    SendMessageA(edit, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&es));
    guitest::PumpMessages();
    UpdateWindow(edit);
    const double openMs = nowMs() - t0;
    const Resident after = resident();
    std::printf("%.0f %.0f %.0f\n", openMs, after.peak, after.peak - before.now);
    DestroyWindow(frame);
    return 0;
}

// Runs this program as a child and returns its one line of figures.
std::string runChild(const std::wstring& args) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + args;
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::string out;
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(readEnd);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--child") {
        return std::string(argv[2]) == "bare" ? childBare(argv[3]) : childNotepad(argv[3]);
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1, 5, 20};
    char tempDir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tempDir);
    std::printf("size   notepad: open ms  peak MiB  (+MiB)  save ms  saved identical   bare rich edit: open ms  peak MiB  (+MiB)\n");
    std::fflush(stdout);
    for (int mb : sizes) {
        const std::string file = std::string(tempDir) + "notepad_open_bench_" + std::to_string(mb) + "mb.txt";
        makeFile(file, static_cast<size_t>(mb));
        const std::wstring wfile = guitest::ToWide(file);
        double n[6] = {}, b[3] = {};
        const std::string notepad = runChild(L"--child notepad \"" + wfile + L"\"");
        const std::string barer = runChild(L"--child bare \"" + wfile + L"\"");
        std::sscanf(notepad.c_str(), "%lf %lf %lf %lf %lf %lf", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]);
        std::sscanf(barer.c_str(), "%lf %lf %lf", &b[0], &b[1], &b[2]);
        std::printf("%3d MB        %8.0f  %8.1f  %6.1f  %7.0f  %s                   %8.0f  %8.1f  %6.1f\n", mb, n[0], n[1] / 1024,
                    n[2] / 1024, n[3], n[5] > 0 ? "yes" : "NO ", b[0], b[1] / 1024, b[2] / 1024);
        std::fflush(stdout);
        DeleteFileA(file.c_str());
    }
    return 0;
}
