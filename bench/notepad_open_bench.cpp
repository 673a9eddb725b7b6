// Large plain-text files in the notepad, each figure beside a bare rich edit: for 1, 5 and
// 20 MB of GBK text (80-byte lines),
//  - command line: quillet.exe started with the file, from the start of the process until
//    its editor holds the whole text and the program answers again; beside it a program of
//    this benchmark started the same way, which makes a bare "RichEdit20A" window of the
//    notepad editor's size and gives it the file;
//  - open command: the form's open command on a shown form (what the open dialog leads to),
//    until the editor has painted the file, with the process's peak memory and the time to
//    save the file back (checked byte for byte); beside it the bare window given the file's
//    bytes with EM_STREAMIN as plain text;
//  - new: the form's New on the open file, until the editor has painted; beside it the
//    bare window replaced by an empty one set up the same way;
//  - open after it: opening a one-line file while the large one is open.
// The bare window has the size the notepad's editor had in the same run.  Each in-process
// measurement runs in a child process of its own, so that every peak belongs to one file.
//
// run, from the build folder with the stand-ins registered:
//   ./wine-run notepad_open_bench.exe [sizes in MB, default 1 5 20]
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Fnotepad.h"
#include "RichEdit.h"
#include "SkinMessages.h"
#include "WinSkinData.h"
#include "bench_timing.h"
#include "gui_test.h"
#include "notepad_test_support.h"

namespace {

using bench::Clock;
using bench::Ms;

// Long enough for the slowest figure of a 20 MB file under Wine.
constexpr DWORD kGuardMs = 60 * 60 * 1000;

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

std::string readAll(const std::string& name) { return guitest::ReadFileBytes(guitest::ToWide(name)); }

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
    guitest::WriteFileBytes(guitest::ToWide(name), data);
}

// Lets the skin engine attach to the shown form and fit its frame (its manager acts from a
// 250 ms timer), as it has long done by the time a user opens a file.
void settle(HWND form) {
    guitest::PumpUntil([&] { return SendMessageA(form, WM_SKINQUERY, 0, 0) == 1; }, 5000);
    guitest::PumpThroughTimerTicks(250, 3);
}

HWND editorWindow(TFnotepad* form) { return form->RichEdit1->Handle(); }

// Runs the action and pumps until the editor (its window may be a new one) has painted.
double timed(TFnotepad* form, const std::function<void()>& action) {
    const auto t0 = Clock::now();
    action();
    guitest::PumpMessages();
    UpdateWindow(editorWindow(form));
    return Ms(t0, Clock::now());
}

int childNotepad(const std::string& big, const std::string& small) {
    Application->Initialize();
    RegisterSkinClasses();
    TFnotepad::CommandLineParameters = [] { return std::vector<std::string>(); };
    notepadtest::CreateMarker();
    auto* form = Application->CreateForm<TFnotepad>();
    form->Show();  // in its stored window state, as the program shows it
    settle(form->Handle());
    const Resident before = resident();
    const double openMs = timed(form, [&] { form->OpenFile(big); });
    const Resident afterOpen = resident();
    RECT editor{};
    GetWindowRect(editorWindow(form), &editor);
    const LRESULT length = SendMessageW(editorWindow(form), WM_GETTEXTLENGTH, 0, 0);
    form->RichEdit1->SetModified(true);
    const std::string original = readAll(big);
    const auto t0 = Clock::now();
    const bool saved = form->SaveFile(0);
    const double saveMs = Ms(t0, Clock::now());
    const std::string written = readAll(big);
    const bool same = saved && written == original;
    if (!same) {
        size_t at = 0;
        while (at < written.size() && at < original.size() && written[at] == original[at]) ++at;
        std::fprintf(stderr, "saved %zu bytes, original %zu, first difference at %zu\n", written.size(), original.size(), at);
    }
    const double openAfterMs = timed(form, [&] { form->OpenFile(small); });
    form->OpenFile(big);
    guitest::PumpMessages();
    const double newMs = timed(form, [&] { form->M_NewFilesClick(form); });
    std::printf("%.0f %.0f %.0f %.0f %d %ld %ld %ld %.0f %.0f\n", openMs, afterOpen.peak, afterOpen.peak - before.now, saveMs,
                same ? 1 : 0, editor.right - editor.left, editor.bottom - editor.top, static_cast<long>(length), openAfterMs,
                newMs);
    form->RichEdit1->SetModified(false);
    delete form;
    return 0;
}

// A bare rich edit of the given window size, set up like the notepad's editor (font, colour,
// wrapping, no text limit), on a frame window of its own.
HWND makeBareEditor(HWND frame, int width, int height) {
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                                0, 0, width, height, frame, nullptr, nullptr, nullptr);
    SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR;
    cf.yHeight = 14 * 15;
    cf.bCharSet = GB2312_CHARSET;
    cf.crTextColor = RGB(0, 0, 255);
    lstrcpyA(cf.szFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
    // As the default format too, as the notepad sets it: text streamed into an empty
    // document takes the default format, which is otherwise the control's own "System"
    // font, far cheaper to lay out than the editor's (under Wine: its own bitmap font).
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SendMessageA(edit, EM_SETTARGETDEVICE, 0, 0);
    return edit;
}

HWND makeBareFrame(int width, int height) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}

void streamFile(HWND edit, const std::string& file) {
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
}

int childBare(int width, int height, const std::string& file) {
    Application->Initialize();  // the same process set-up as the notepad's
    LoadLibraryA("riched20.dll");
    HWND frame = makeBareFrame(width, height);
    HWND edit = makeBareEditor(frame, width, height);
    guitest::PumpMessages();
    const Resident before = resident();
    auto t0 = Clock::now();
    streamFile(edit, file);
    guitest::PumpMessages();
    UpdateWindow(edit);
    const double openMs = Ms(t0, Clock::now());
    const Resident after = resident();
    t0 = Clock::now();
    DestroyWindow(edit);
    edit = makeBareEditor(frame, width, height);
    guitest::PumpMessages();
    UpdateWindow(edit);
    const double newMs = Ms(t0, Clock::now());
    std::printf("%.0f %.0f %.0f %.0f\n", openMs, after.peak, after.peak - before.now, newMs);
    DestroyWindow(frame);
    return 0;
}

// The bare window filled as above, then left running until the benchmark ends it.
int childBareHeld(int width, int height, const std::string& file) {
    LoadLibraryA("riched20.dll");
    HWND frame = makeBareFrame(width, height);
    streamFile(makeBareEditor(frame, width, height), file);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
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

// Starts a program and returns the milliseconds until a visible window of it holds a child
// of `editorClass` with `length` characters and the program answers again; -1 when that
// did not happen.
double timeUntilShown(const std::wstring& exe, const std::wstring& args, const wchar_t* editorClass, LRESULT length) {
    const auto t0 = Clock::now();
    guitest::Process p = guitest::LaunchProgram(exe, args);
    if (!p.Valid()) return -1;
    HWND editor = nullptr;
    const bool shown = guitest::PumpUntil([&] {
        if (!p.Running()) return false;
        for (HWND top : guitest::FindTopLevelWindows(guitest::WindowQuery().InProcess(p.Id()).Visible())) {
            editor = guitest::FindChildByClass(top, editorClass);
            DWORD_PTR n = 0;
            // Answered only once the program takes messages again: after the whole load.
            if (editor && SendMessageTimeoutW(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kGuardMs, &n) &&
                static_cast<LRESULT>(n) == length)
                return SendMessageTimeoutW(GetAncestor(editor, GA_ROOT), WM_NULL, 0, 0, SMTO_NORMAL, kGuardMs, nullptr) != 0;
        }
        return false;
    }, kGuardMs);
    const double ms = Ms(t0, Clock::now());
    p.Terminate(0);
    return shown ? ms : -1;
}

std::wstring quoted(const std::string& s) { return L"\"" + guitest::ToWide(s) + L"\""; }

void row(const char* what, double notepad, double bare, const char* bareWhat, const std::string& extra = {}) {
    std::printf("        %-14s %9.0f  %9.0f  %5.2f   %-22s %s\n", what, notepad, bare, bare > 0 ? notepad / bare : 0.0, bareWhat,
                extra.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--child") {
        const std::string kind = argc >= 3 ? argv[2] : "";
        if (kind == "notepad" && argc == 5) return childNotepad(argv[3], argv[4]);
        if (kind == "bare" && argc == 6) return childBare(std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
        if (kind == "bare-held" && argc == 6) return childBareHeld(std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
        return 2;
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1, 5, 20};
    notepadtest::CreateMarker();
    char tempDir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tempDir);
    const std::string small = std::string(tempDir) + "notepad_open_bench_line.txt";
    guitest::WriteFileBytes(guitest::ToWide(small), "one line\r\n");
    std::printf("size    route           notepad ms    bare ms  ratio   bare rich edit\n");
    std::fflush(stdout);
    for (int mb : sizes) {
        const std::string file = std::string(tempDir) + "notepad_open_bench_" + std::to_string(mb) + "mb.txt";
        makeFile(file, static_cast<size_t>(mb));
        double n[10] = {}, b[4] = {};
        const std::string notepad = runChild(L"--child notepad " + quoted(file) + L" " + quoted(small));
        std::sscanf(notepad.c_str(), "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6],
                    &n[7], &n[8], &n[9]);
        const std::wstring size = std::to_wstring(static_cast<int>(n[5])) + L" " + std::to_wstring(static_cast<int>(n[6]));
        const std::string bare = runChild(L"--child bare " + size + L" " + quoted(file));
        std::sscanf(bare.c_str(), "%lf %lf %lf %lf", &b[0], &b[1], &b[2], &b[3]);
        const auto length = static_cast<LRESULT>(n[7]);
        const double commandLine = timeUntilShown(L"quillet.exe", quoted(file), L"TRichEdit", length);
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const double bareShown = timeUntilShown(self, L"--child bare-held " + size + L" " + quoted(file), L"RichEdit20A", length);
        char extra[160];
        std::printf("%3d MB  (editor %.0f x %.0f)\n", mb, n[5], n[6]);
        row("command line", commandLine, bareShown, "started with the file");
        std::snprintf(extra, sizeof extra, "peak %.1f MiB (+%.1f) beside %.1f (+%.1f); save %.0f ms, saved %s", n[1] / 1024, n[2] / 1024,
                      b[1] / 1024, b[2] / 1024, n[3], n[4] > 0 ? "identical" : "DIFFERENT");
        row("open command", n[0], b[0], "given the file", extra);
        row("new", n[9], b[3], "window replaced");
        row("open after it", n[8], b[3], "window replaced");
        std::fflush(stdout);
        DeleteFileA(file.c_str());
    }
    DeleteFileA(small.c_str());
    return 0;
}
