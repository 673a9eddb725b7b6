// The stand-in's own window for the recognizer's dialogs (microphone wizard, training,
// add/remove word): a small modal window, owned by the caller's window, captioned with the
// title, saying which dialog it stands for, with an OK button.
//   window class  "SpeechStandinEngineUI" (kEngineDialogClass), caption = the title
//   children      a static (id kEngineDialogTextId) reading
//                 This window stands in for the recognizer's "<type>" dialog.
//                 and an OK button (IDOK)
// OK, Escape, the close box and WM_CLOSE all close it.  Its modal loop dispatches every
// message of the thread, so queued recognizer events still reach their sinks meanwhile.
#pragma once
#include <windows.h>
#include <string>

namespace speech_standin {

constexpr wchar_t kEngineDialogClass[] = L"SpeechStandinEngineUI";
constexpr int kEngineDialogTextId = 100;

// Shows the dialog and returns when it is closed.  autoCloseMs > 0 closes it by itself.
// A WM_QUIT taken by the modal loop ends it and is posted again for the caller's loop.
HRESULT runEngineDialog(HWND owner, const std::wstring& title, const std::wstring& type, unsigned autoCloseMs);
// Asks every open engine dialog of the process to close.
void closeEngineDialogs();

// The window most recently passed to DisplayUI (may be null or no longer a window).
HWND lastDisplayUIParent();
void setLastDisplayUIParent(HWND owner);

// The window class stays registered until the DLL is unloaded.
void unregisterEngineDialogClass();

}  // namespace speech_standin
