// Message boxes of this or another process: finding them, reading their caption, text and
// buttons, and pressing a button.  A message box is a dialog of class "#32770" whose text
// is the static control with id 0xFFFF (the same id on Windows and Wine).
#include "gui_test_impl.h"

namespace guitest {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

HWND messageBoxText(HWND box) {
  if (HWND text = GetDlgItem(box, kMessageBoxTextId)) return text;
  // Some other dialog: the first static that shows text rather than a picture.
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (_wcsicmp(ClassNameOf(child).c_str(), L"Static") != 0) continue;
    const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE) continue;
    if (!WindowTextW(child).empty()) return child;
  }
  return nullptr;
}

std::string buttonList(HWND dialog) {
  std::string out;
  for (int id : ReadMessageBox(dialog).buttons) out += (out.empty() ? "" : ", ") + std::to_string(id);
  return out.empty() ? "none" : out;
}

}  // namespace

HWND FindMessageBox(DWORD processId, HWND owner) {
  return FindTopLevelWindow(WindowQuery().Class(L"#32770").InProcess(processId).OwnedBy(owner).Visible());
}

HWND FindThreadMessageBox(DWORD threadId) {
  return FindTopLevelWindow(WindowQuery().Class(L"#32770").InThread(threadId).Visible());
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs, HWND owner) {
  HWND box = nullptr;
  PumpUntil([&] { return (box = FindMessageBox(processId, owner)) != nullptr; }, timeoutMs);
  return box;
}

MessageBoxContents ReadMessageBox(HWND box) {
  MessageBoxContents contents;
  if (!IsWindow(box)) return contents;
  contents.hwnd = box;
  contents.captionW = WindowTextW(box);
  contents.caption = WindowTextA(box);
  if (HWND text = messageBoxText(box)) {
    contents.textW = WindowTextW(text);
    contents.text = WindowTextA(text);
  }
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child) && _wcsicmp(ClassNameOf(child).c_str(), L"Button") == 0)
      contents.buttons.push_back(GetDlgCtrlID(child));
  }
  return contents;
}

bool PressButton(HWND dialog, int id, PressMethod method) {
  HWND button = GetDlgItem(dialog, id);
  if (!button) {
    ADD_FAILURE() << Describe(dialog) << " has no button " << id << " (buttons: " << buttonList(dialog) << ")";
    return false;
  }
  // Posted, never sent: the dialog may be running its modal loop in this very thread.
  if (method == PressMethod::Click) return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

std::string DismissMessageBox(HWND box, int button, PressMethod method) {
  if (!IsWindow(box)) {
    ADD_FAILURE() << "no message box to dismiss: " << Describe(box);
    return {};
  }
  const std::string text = ReadMessageBox(box).text;
  if (!PressButton(box, button, method)) return text;
  // A box of this thread closes only after the caller returns to its modal loop.
  if (ThreadIdOf(box) != GetCurrentThreadId() && !WaitForWindowGone(box))
    ADD_FAILURE() << "message box did not close after button " << button << ": " << Describe(box);
  return text;
}

}  // namespace guitest
