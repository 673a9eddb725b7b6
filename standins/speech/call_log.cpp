// In-memory call log and its file copy.  The file is opened and closed for every line so
// that another process can read it at any time, and several processes can append to it.
#include "call_log.h"
#include "com_object.h"
#include "utf8.h"
#include "settings.h"
#include <mutex>

namespace speech_standin {

namespace {
std::mutex g_logLock;
std::string g_log;

void appendToFile(const std::wstring& path, const std::string& line)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}
}  // namespace

void logCall(const std::wstring& line)
{
    std::string utf8 = toUtf8(line) + "\n";
    std::wstring path = currentSettings().logPath;  // before taking the log lock
    std::lock_guard<std::mutex> guard(g_logLock);
    g_log += utf8;
    if (!path.empty()) appendToFile(path, utf8);
}

std::string callLogText()
{
    std::lock_guard<std::mutex> guard(g_logLock);
    return g_log;
}

void clearCallLog()
{
    std::lock_guard<std::mutex> guard(g_logLock);
    g_log.clear();
}

}  // namespace speech_standin
