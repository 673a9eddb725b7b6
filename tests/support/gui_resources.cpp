// GDI and USER object counts for leak tests.  Wine's GetGuiResources is a stub (it returns
// 0 with ERROR_CALL_NOT_IMPLEMENTED), so under Wine this process's GDI objects are counted
// from the GDI handle table the process environment block points at, and USER objects are
// approximated by the process's windows.  Both fallbacks are pinned by
// GuiObjects_CountsBrushesAndWindows.
#include "gui_test_impl.h"

namespace guitest {
namespace {

// Wine's handle table entry (the layout Windows documents for its GDI cell): the object
// type at byte 14, the stock flag in the top bit of byte 12.
constexpr size_t kGdiEntrySize = 24;
constexpr size_t kGdiEntryCount = 0x10000;
constexpr size_t kPebGdiTableOffset = 0xF8;  // 64-bit PEB
constexpr size_t kEntryTypeByte = 14;
constexpr size_t kEntryUniqueByte = 12;

// Through NtQueryInformationProcess, looked up at run time: only Wine gets here.
const BYTE* processEnvironmentBlock() {
  struct BasicInformation {
    LONG_PTR exitStatus;
    void* pebBaseAddress;
    ULONG_PTR reserved[4];
  } info{};
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(GetCurrentProcess(), 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) < 0)
    return nullptr;
  return static_cast<const BYTE*>(info.pebBaseAddress);
}

bool countWineGdiObjects(DWORD* count) {
  const BYTE* peb = processEnvironmentBlock();
  if (!peb) return false;
  const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + kPebGdiTableOffset);
  if (!table) return false;
  DWORD n = 0;
  for (size_t i = 0; i < kGdiEntryCount; ++i) {
    const BYTE* entry = table + i * kGdiEntrySize;
    if (entry[kEntryTypeByte] != 0 && !(entry[kEntryUniqueByte] & 0x80)) ++n;
  }
  *count = n;
  return true;
}

BOOL CALLBACK countChild(HWND, LPARAM lParam) {
  ++*reinterpret_cast<DWORD*>(lParam);
  return TRUE;
}

struct WindowCount {
  DWORD processId;
  DWORD count;
};

BOOL CALLBACK countTopLevel(HWND hwnd, LPARAM lParam) {
  auto* windows = reinterpret_cast<WindowCount*>(lParam);
  if (ProcessIdOf(hwnd) == windows->processId) {
    ++windows->count;
    EnumChildWindows(hwnd, countChild, reinterpret_cast<LPARAM>(&windows->count));
  }
  return TRUE;
}

}  // namespace

GuiObjectCounts CountGuiObjects(HANDLE process) {
  // The first GDI object a process makes brings a handful of the library's own with it
  // (ten under Wine 8); make that happen before anything is counted.
  static const bool warmedUp = [] {
    HBRUSH brush = CreateSolidBrush(0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc) DeleteDC(dc);
    if (brush) DeleteObject(brush);
    return true;
  }();
  (void)warmedUp;
  GuiObjectCounts counts;
  SetLastError(0);
  counts.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD gdiError = GetLastError();
  counts.user = GetGuiResources(process, GR_USEROBJECTS);
  if (gdiError != ERROR_CALL_NOT_IMPLEMENTED && (counts.gdi != 0 || counts.user != 0)) {
    counts.gdiKnown = counts.userKnown = true;
    counts.source = "GetGuiResources";
    return counts;
  }
  counts.gdi = counts.user = 0;
  const bool self = GetProcessId(process) == GetCurrentProcessId();
  if (!self || !RunningUnderWine()) {
    counts.source = "not available for this process";
    return counts;
  }
  counts.gdiKnown = countWineGdiObjects(&counts.gdi);
  WindowCount windows{GetCurrentProcessId(), 0};
  EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&windows));
  counts.user = windows.count;
  counts.userKnown = true;
  counts.source = "GDI handle table and window count (Wine)";
  return counts;
}

}  // namespace guitest
