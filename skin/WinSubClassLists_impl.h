// Helpers the header, list-view and fill skins share and nobody else needs.
#pragma once
#include <windows.h>

#include "Graphics.h"

// The font the window draws with (WM_GETFONT; the system font when it has none of its
// own), copied into font, which owns the copy.
void CopyWindowFont(HWND window, TFont& font);
