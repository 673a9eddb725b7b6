// Private to the dialog sources: the shared hook bookkeeping and the mapping between
// option sets and the system's flag bits.
#pragma once
#include <windows.h>

#include <cstdint>
#include <utility>

class TCommonDialog;

namespace dialogs_impl {

// What every dialog hook does: at WM_INITDIALOG the dialog component learns its window
// (OnShow runs), at WM_DESTROY it forgets it (OnClose runs).  hookWnd is the window the
// hook serves (for the explorer-style file dialog a child of dialogWnd).  Exceptions are
// reported, never passed on.
UINT_PTR HookMessage(TCommonDialog* dialog, HWND hookWnd, HWND dialogWnd, UINT msg);

// Option set bits (1 << enumerator) to system flags and back, through a table of
// {enumerator, flag} pairs.
uint32_t MapBits(uint32_t mask, const std::pair<int, DWORD>* table, size_t count);
uint32_t UnmapBits(DWORD flags, const std::pair<int, DWORD>* table, size_t count);

}  // namespace dialogs_impl
