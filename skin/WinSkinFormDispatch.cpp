// The child-control dispatch of the form skin: which control skin each control and each
// raw child window gets.  The control skins themselves are built later; until then these
// do nothing, and a skinned window's controls keep their own look.
#include "WinSkinForm.h"

void TWinSkinForm::SkinAllControls(TCustomForm*) {}

void TWinSkinForm::SkinChildWindows(HWND) {}

void TWinSkinForm::SkinWindow(HWND) {}
