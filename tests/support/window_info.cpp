// Plain facts about windows (text, class, owner process, rectangles) and text conversions.
// Reading text goes through WM_GETTEXT with a timeout, because GetWindowText does not read
// the controls of other processes and a plain SendMessage would hang on a stuck program.
#include "gui_test.h"

#include <cstdio>
#include <cstring>

namespace guitest {
namespace {

constexpr UINT kTextTimeoutMs = 2000;

}  // namespace

std::wstring ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string ToAnsi(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::string ToUtf8(const std::wstring& text) { return ToAnsi(text, CP_UTF8); }

std::string HexBytes(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

std::wstring WindowTextW(HWND hwnd) {
  if (!IsWindow(hwnd)) return {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
    return {};
  // Twice the room: under Wine a wide WM_GETTEXT sent to an ANSI window of another process
  // goes through an ANSI buffer of the same size, which double-byte text overflows (the
  // copy then comes back empty).
  std::wstring text(2 * length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied))
    return {};
  text.resize(copied < text.size() ? copied : text.size() - 1);
  if (text.size() > length) text.resize(length);
  return text;
}

std::string WindowTextA(HWND hwnd) {
  if (!IsWindow(hwnd)) return {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
    return {};
  // The length of an ANSI window's text may be counted in wide characters: leave room for
  // two bytes each.
  std::string text(length * 2 + 2, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied))
    return {};
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

std::wstring ClassNameOf(HWND hwnd) {
  wchar_t name[256];
  const int n = GetClassNameW(hwnd, name, 256);
  return n > 0 ? std::wstring(name, static_cast<size_t>(n)) : std::wstring();
}

bool IsVisible(HWND hwnd) { return IsWindowVisible(hwnd) != FALSE; }

DWORD ProcessIdOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

DWORD ThreadIdOf(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr); }

RECT WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

RECT ClientRectOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

RECT ClientRectOnScreen(HWND hwnd) {
  RECT r = ClientRectOf(hwnd);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT RectInParent(HWND hwnd) {
  RECT r = WindowRectOf(hwnd);
  HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
  if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string ToString(const RECT& r) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "(%ld,%ld)-(%ld,%ld) %dx%d", r.left, r.top, r.right, r.bottom,
                Width(r), Height(r));
  return buf;
}

std::string Describe(HWND hwnd) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "hwnd %p", static_cast<void*>(hwnd));
  if (!IsWindow(hwnd)) return std::string(buf) + " (no such window)";
  wchar_t caption[256] = L"";
  GetWindowTextW(hwnd, caption, 256);  // no message to a stuck program
  std::snprintf(buf + strlen(buf), sizeof buf - strlen(buf), " pid %lu", ProcessIdOf(hwnd));
  return std::string(buf) + " class \"" + ToUtf8(ClassNameOf(hwnd)) + "\" caption \"" +
         ToUtf8(caption) + "\"" + (IsVisible(hwnd) ? "" : " (hidden)");
}

bool RunningUnderWine() {
  static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

}  // namespace guitest
