// Helpers shared by the skin component's source files (WinSkinData*.cpp); not for callers.
#pragma once

#include "Bitmap.h"

// Mirrors each of the strip's `cells` equal cells left to right in place, so the cells
// keep their order (cell 1 stays the first state).  Columns past the last whole cell stay.
void MirrorStripCells(TBitmap& strip, int cells);
