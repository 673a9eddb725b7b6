// Launched programs: starting one with extra environment variables and a working folder,
// waiting for its main window and for its exit.  A program that crashed must never look
// like one that finished: the exit code is checked against the codes crashes leave.
#include "gui_test_impl.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

namespace guitest {
namespace {

bool isAbsolute(const std::wstring& path) {
  return (path.size() >= 2 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

std::wstring variableName(const std::wstring& entry) {
  // Entries like "=C:=C:\\dir" start with '=': the name runs to the second '='.
  const size_t eq = entry.find(L'=', 1);
  return entry.substr(0, eq == std::wstring::npos ? entry.size() : eq);
}

bool sameName(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

// The test's own environment with `extra` laid over it, as a CREATE_UNICODE_ENVIRONMENT block
// sorted by name without case, as CreateProcess expects.
std::wstring environmentBlock(const std::vector<std::wstring>& extra) {
  std::vector<std::wstring> entries;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsW(block);
  }
  for (const std::wstring& add : extra) {
    const std::wstring name = variableName(add);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const std::wstring& e) { return sameName(variableName(e), name); }),
                  entries.end());
    const size_t eq = add.find(L'=', 1);
    if (eq != std::wstring::npos && eq + 1 < add.size()) entries.push_back(add);  // "NAME=" removes it
  }
  std::stable_sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(variableName(a).c_str(), variableName(b).c_str()) < 0;
  });
  std::wstring out;
  for (const std::wstring& e : entries) {
    out += e;
    out += L'\0';
  }
  out += L'\0';
  return out;
}

std::string systemMessage(DWORD error) {
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = "error " + std::to_string(error);
  if (text) {
    out += ": ";
    out += text;
    LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  }
  return out;
}

constexpr int kStartAttempts = 3;

// Failures that say something about the program or the call (no such file, not a program,
// bad arguments) are final; anything else is the platform failing to start a process.
bool startFailureIsTransient(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
    case ERROR_INVALID_PARAMETER:
    case ERROR_DIRECTORY:
    case ERROR_ACCESS_DENIED:
      return false;
    default:
      return true;
  }
}

}  // namespace

bool LooksLikeCrash(DWORD exitCode) {
  return exitCode == 3 || exitCode == 5 || exitCode >= 0xC0000000u || exitCode == 0x80000003u;
}

std::string DescribeExitCode(DWORD exitCode) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lu (0x%08lX)", exitCode, exitCode);
  std::string out = buf;
  switch (exitCode) {
    case kExitTimedOut: return out + ": did not exit in time";
    case STILL_ACTIVE: return out + ": still running";
    case 3: return out + ": abort() or an uncaught C++ exception";
    case 5: return out + ": a crash as the Unix side of Wine reports it";
    case 0xC0000005u: return out + ": access violation";
    case 0xC0000409u: return out + ": stack buffer overrun";
    case 0xC00000FDu: return out + ": stack overflow";
    case 0x80000003u: return out + ": breakpoint";
    default: return exitCode >= 0xC0000000u ? out + ": unhandled exception" : out;
  }
}

Process::~Process() { Close(); }

Process::Process(Process&& other) noexcept
    : handle_(other.handle_), id_(other.id_), threadId_(other.threadId_), error_(std::move(other.error_)) {
  other.handle_ = nullptr;
  other.id_ = other.threadId_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    id_ = other.id_;
    threadId_ = other.threadId_;
    error_ = std::move(other.error_);
    other.handle_ = nullptr;
    other.id_ = other.threadId_ = 0;
  }
  return *this;
}

void Process::Close() {
  if (!handle_) return;
  if (Running()) Terminate();
  CloseHandle(handle_);
  handle_ = nullptr;
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (handle_ && !Running()) GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Terminate(UINT exitCode) {
  if (!Running()) return;
  TerminateProcess(handle_, exitCode);
  WaitForSingleObject(handle_, 5000);
}

Process LaunchProgram(const std::wstring& exePath, const std::wstring& arguments,
                      const std::vector<std::wstring>& extraEnvironment, const std::wstring& workingDir) {
  Process process;
  const std::wstring exe = isAbsolute(exePath) ? exePath : BuildPath(exePath);
  if (!FileExists(exe)) {
    process.error_ = "no program at " + ToUtf8(exe);
    return process;
  }
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::wstring environment = environmentBlock(extraEnvironment);
  const std::wstring folder = workingDir.empty() ? BuildRoot() : workingDir;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // Under load Wine now and then fails to start a process at all, which says nothing
  // about the program: only that is tried again.  A program that starts and then fails
  // counts the first time.
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       &environment[0], folder.c_str(), &startup, &info)) {
      error = ERROR_SUCCESS;
      break;
    }
    error = GetLastError();
    if (!startFailureIsTransient(error)) break;
  }
  if (error != ERROR_SUCCESS) {
    process.error_ = "cannot start " + ToUtf8(commandLine) + " in " + ToUtf8(folder) + ": " + systemMessage(error);
    return process;
  }
  CloseHandle(info.hThread);
  process.handle_ = info.hProcess;
  process.id_ = info.dwProcessId;
  process.threadId_ = info.dwThreadId;
  return process;
}

HWND WaitForMainWindow(const Process& process, WindowQuery query, DWORD timeoutMs) {
  if (!process.Valid()) {
    ADD_FAILURE() << "no program to wait for: " << process.Error();
    return nullptr;
  }
  query.processId = process.Id();
  query.visibleOnly = true;
  HWND hwnd = nullptr;
  PumpUntil([&] { return (hwnd = FindTopLevelWindow(query)) != nullptr || !process.Running(); }, timeoutMs);
  if (!hwnd && !process.Running())
    ADD_FAILURE() << "the program ended before showing a " << query.Describe() << "; exit code "
                  << DescribeExitCode(process.ExitCode());
  return hwnd;
}

HWND WaitForMainWindow(const Process& process, const std::wstring& classOrCaption, DWORD timeoutMs) {
  if (!process.Valid()) {
    ADD_FAILURE() << "no program to wait for: " << process.Error();
    return nullptr;
  }
  HWND hwnd = nullptr;
  const WindowQuery byClass = WindowQuery().Class(classOrCaption).InProcess(process.Id()).Visible();
  const WindowQuery byCaption = WindowQuery().Caption(classOrCaption).InProcess(process.Id()).Visible();
  PumpUntil([&] {
    hwnd = FindTopLevelWindow(byClass);
    if (!hwnd) hwnd = FindTopLevelWindow(byCaption);
    return hwnd != nullptr || !process.Running();
  }, timeoutMs);
  if (!hwnd && !process.Running())
    ADD_FAILURE() << "the program ended before showing a window of class or caption \"" << ToUtf8(classOrCaption)
                  << "\"; exit code " << DescribeExitCode(process.ExitCode());
  return hwnd;
}

DWORD WaitForExit(Process& process, DWORD timeoutMs, CrashPolicy policy) {
  if (!process.Valid()) {
    ADD_FAILURE() << "no program to wait for: " << process.Error();
    return kExitTimedOut;
  }
  if (!PumpUntil([&] { return !process.Running(); }, timeoutMs)) {
    ADD_FAILURE() << "program " << process.Id() << " did not exit within " << timeoutMs << " ms; terminated";
    process.Terminate();
    return kExitTimedOut;
  }
  const DWORD code = process.ExitCode();
  if (policy == CrashPolicy::Fail && LooksLikeCrash(code))
    ADD_FAILURE() << "program " << process.Id() << " exited with " << DescribeExitCode(code);
  return code;
}

}  // namespace guitest
