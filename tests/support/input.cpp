// Real input: the pointer and the keyboard through SendInput, as a user gives them.  The
// input goes to the window under the pointer or with the focus, whatever process it
// belongs to, so tests that use it hold the display_input lock.
#include "gui_test.h"

namespace guitest {

void MoveMouse(POINT screen) { SetCursorPos(screen.x, screen.y); }

void MouseButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void ClickAt(POINT screen) {
  MoveMouse(screen);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  MouseButton(MOUSEEVENTF_LEFTUP);
}

namespace {

void key(WORD vk, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void PressKey(WORD vk, WORD modifier) {
  if (modifier) key(modifier, 0);
  key(vk, 0);
  key(vk, KEYEVENTF_KEYUP);
  if (modifier) key(modifier, KEYEVENTF_KEYUP);
}

}  // namespace guitest
