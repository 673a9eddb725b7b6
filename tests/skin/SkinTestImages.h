// Bitmaps for the drawing-primitive tests: strips whose regions have known colours, and
// 32-bit targets filled with one colour, so that a probe tells which source pixel landed
// where.
#pragma once
#include <windows.h>

#include <functional>

#include "Bitmap.h"

namespace skintest {

// A bitmap of w x h in the given format whose pixel (x, y) is colour(x, y).
inline void Paint(TBitmap& b, int w, int h, const std::function<COLORREF(int, int)>& colour, TPixelFormat format = pf24bit) {
    b.SetPixelFormat(format);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelColor(x, y, colour(x, y));
}

// A 32-bit target of w x h in one colour.
inline void Target(TBitmap& b, int w, int h, COLORREF colour) {
    Paint(b, w, h, [colour](int, int) { return colour; }, pf32bit);
}

// Colours of the nine zones of a nine-slice cell: zone (column 0-2, row 0-2).
inline COLORREF ZoneColour(int column, int row) {
    static const COLORREF zones[3][3] = {
        {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},        // top-left, top, top-right
        {RGB(255, 255, 0), RGB(0, 255, 255), RGB(128, 0, 128)},  // left, centre, right
        {RGB(128, 128, 0), RGB(0, 128, 128), RGB(64, 64, 64)},   // bottom-left, bottom, bottom-right
    };
    return zones[row][column];
}

// Which of three bands a coordinate falls in: [0, first), [first, second), [second, ...).
inline int Band(int v, int first, int second) { return v < first ? 0 : v < second ? 1 : 2; }

// A cell of cw x ch whose zones (margins l, t, r, b) have the zone colours.
inline void NineZoneCell(TBitmap& b, int cw, int ch, int l, int t, int r, int bottom) {
    Paint(b, cw, ch, [=](int x, int y) { return ZoneColour(Band(x, l, cw - r), Band(y, t, ch - bottom)); });
}

}  // namespace skintest
