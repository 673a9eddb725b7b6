// Where things are: the test executable's folder and the build folder root, where the
// programs and stand-in servers are built.  CTest starts the tests in the build root, but
// a test run by hand may start anywhere, so the root is found without the working folder.
#include "gui_test_impl.h"

namespace guitest {
namespace {

std::wstring usablePath(const std::wstring& path) {
  if (path.empty()) return {};
  if (path[0] == L'/') return FromUnixPath(ToUtf8(path));
  return path;
}

std::wstring parentOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash < 3) return {};
  return path.substr(0, slash);
}

std::wstring findBuildRoot() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableW(L"BUILD_ROOT_DIR", buf, MAX_PATH * 2);
  if (n > 0 && n < MAX_PATH * 2) {
    const std::wstring fromEnvironment = usablePath(buf);
    if (DirectoryExists(fromEnvironment)) return fromEnvironment;
  }
#ifdef BUILD_ROOT_DIR
  const std::wstring configured = usablePath(ToWide(BUILD_ROOT_DIR, CP_UTF8));
  if (DirectoryExists(configured) && FileExists(JoinPath(configured, L"CMakeCache.txt"))) return configured;
#endif
  for (std::wstring folder = ExeDir(); !folder.empty(); folder = parentOf(folder))
    if (FileExists(JoinPath(folder, L"CMakeCache.txt"))) return folder;
  return ExeDir();
}

}  // namespace

using WineDosName = WCHAR* (CDECL*)(const char*);

std::wstring FromUnixPath(const std::string& path) {
  const auto dosName = reinterpret_cast<WineDosName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (!dosName) return {};
  WCHAR* dos = dosName(path.c_str());
  if (!dos) return {};
  std::wstring out = dos;
  HeapFree(GetProcessHeap(), 0, dos);
  return out;
}

std::wstring ExeDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return parentOf(path);
}

std::wstring BuildRoot() {
  static const std::wstring root = findBuildRoot();
  return root;
}

std::wstring BuildPath(const std::wstring& relative) { return JoinPath(BuildRoot(), relative); }

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'\\' || folder.back() == L'/') return folder + name;
  return folder + L"\\" + name;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace guitest
