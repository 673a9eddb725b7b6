// Finding windows by class, caption, process, thread, owner and control id: top-level
// windows of any process through EnumWindows, descendants through EnumChildWindows.
// Captions are read with GetWindowText, which never sends a message to another process,
// so a stuck program cannot hang a search.
#include "gui_test.h"

#include <cwchar>

namespace guitest {
namespace {

struct Search {
  const WindowQuery* query;
  std::vector<HWND>* found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  try {
    if (search->query->Matches(hwnd)) search->found->push_back(hwnd);
  } catch (...) {
    return FALSE;  // out of memory: stop with what was found
  }
  return TRUE;
}

std::wstring captionOf(HWND hwnd) {
  wchar_t buf[512];
  const int n = GetWindowTextW(hwnd, buf, 512);
  return n > 0 ? std::wstring(buf, static_cast<size_t>(n)) : std::wstring();
}

}  // namespace

bool WindowQuery::Matches(HWND hwnd) const {
  if (!IsWindow(hwnd)) return false;
  if (visibleOnly && !IsWindowVisible(hwnd)) return false;
  if (processId != 0 || threadId != 0) {
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    if (processId != 0 && pid != processId) return false;
    if (threadId != 0 && tid != threadId) return false;
  }
  if (owner != nullptr && GetWindow(hwnd, GW_OWNER) != owner) return false;
  if (controlId != 0 && GetDlgCtrlID(hwnd) != controlId) return false;
  if (!className.empty() && _wcsicmp(ClassNameOf(hwnd).c_str(), className.c_str()) != 0) return false;
  if (!caption.empty()) {
    const std::wstring text = captionOf(hwnd);
    if (captionMatch == TextMatch::Exact ? text != caption : text.find(caption) == std::wstring::npos)
      return false;
  }
  return true;
}

std::string WindowQuery::Describe() const {
  std::string out = "window";
  if (!className.empty()) out += " of class \"" + ToUtf8(className) + "\"";
  if (!caption.empty())
    out += std::string(captionMatch == TextMatch::Exact ? " captioned \"" : " with caption containing \"") +
           ToUtf8(caption) + "\"";
  if (processId) out += " in process " + std::to_string(processId);
  if (threadId) out += " of thread " + std::to_string(threadId);
  if (owner) out += " owned by " + guitest::Describe(owner);
  if (controlId) out += " with id " + std::to_string(controlId);
  if (visibleOnly) out += " (visible)";
  return out;
}

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
  std::vector<HWND> found;
  Search search{&query, &found};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  return found;
}

HWND FindTopLevelWindow(const WindowQuery& query) {
  const std::vector<HWND> found = FindTopLevelWindows(query);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
  HWND hwnd = nullptr;
  PumpUntil([&] { return (hwnd = FindTopLevelWindow(query)) != nullptr; }, timeoutMs);
  return hwnd;
}

bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs) {
  return PumpUntil([&] { return !IsWindow(hwnd); }, timeoutMs);
}

std::vector<HWND> FindChildWindows(HWND parent, const WindowQuery& query) {
  std::vector<HWND> found;
  Search search{&query, &found};
  if (IsWindow(parent)) EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&search));
  return found;
}

HWND FindChild(HWND parent, const WindowQuery& query) {
  const std::vector<HWND> found = FindChildWindows(parent, query);
  return found.empty() ? nullptr : found.front();
}

HWND FindChildByClass(HWND parent, const std::wstring& className, int index) {
  const std::vector<HWND> found = FindChildWindows(parent, WindowQuery().Class(className));
  return index >= 0 && static_cast<size_t>(index) < found.size() ? found[static_cast<size_t>(index)] : nullptr;
}

HWND FindChildById(HWND parent, int id) {
  if (HWND direct = GetDlgItem(parent, id)) return direct;
  return FindChild(parent, WindowQuery().Id(id));
}

}  // namespace guitest
