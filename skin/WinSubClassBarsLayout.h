// The layout arithmetic of the bar skins (WinSubClassBars.h): cells from states, panel
// faces, bar lengths, channel slices and inset rectangles.  Pure functions: no window and
// no DC, so that each rule can be checked on its own; the painters only consume them.
//
// Types: barskin::TChannelSlice, barskin::TCustomDrawAction, barskin::TCustomDrawStep.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>

#include "ComCtrls.h"
#include "SkinPrimitives.h"
#include "StdCtrls.h"

namespace barskin {

// [StatusBarEdges] cell of a panel bevel: lowered 1, raised 2, none 3.
int StatusBevelCell(TStatusPanelBevel bevel);
// DrawText alignment of a panel; right-to-left swaps left and right.
UINT StatusPanelAlignment(TAlignment alignment, bool rightToLeft);
// The face of panel `index` of `count`: 2 pixels wider than the part (covering the gap to
// the next), the last one reaching the bar's right edge.  Client coordinates.
RECT StatusPanelFace(const RECT& part, const RECT& bar, int index, int count);
// Where the size grip's cell goes in a bar: at the bottom right, 1 pixel in.
RECT SizeGripRect(const RECT& bar, int cellWidth, int cellHeight);

// Length of the filled part of a progress bar `extent` long.  The lower limit counts: the
// bar is (pos - low) / (high - low) of the extent, held inside 0..extent; an empty or
// reversed range fills nothing.
int ProgressFill(int extent, int pos, int low, int high);

// One opaque slice of the track-bar channel image: `source` in the image, `dest` on the DC.
struct TChannelSlice {
    RECT source;
    RECT dest;
};
// The channel as it lies on the screen: a vertical bar's channel comes from some platforms
// as if it were horizontal (x and y swapped) and from others already upright, so it is
// swapped only when it is wider than tall.
RECT UprightChannel(const RECT& channel, bool vertical);
// The three slices of a channel image (width x height, with the part's margins) laid along
// `channel` (upright for vertical bars): the ends at their size, the middle stretched; the
// image centred across the channel when it is narrower, else at its start.  Margins are
// held inside the image, so no slice reads outside it.
std::array<TChannelSlice, 3> ChannelSlices(const RECT& channel, int width, int height, const TSkinMargins& margins,
                                           bool vertical);

// What the track-bar skin does for one custom-draw stage and item.
enum class TCustomDrawAction { None, Channel, Thumb };
struct TCustomDrawStep {
    TCustomDrawAction action;
    LRESULT result;  // answer when the drawing took place (or none was asked)
};
TCustomDrawStep TrackBarCustomDrawStep(DWORD drawStage, DWORD_PTR item);
// The thumb's cell in its strip: cell 2, held inside the strip's cell count.
int ThumbCell(int cells);

// State of one up-down half: 3 disabled; else 1 when the cursor is not over it; else 2
// pressed, 4 hot, 1 normal.
int UpDownHalfState(bool enabled, bool cursorOver, bool pressed, bool hot);
// Cell of an up-down button (1..8): arrows 0 (up) and 2 (left) take cells 1-4, arrows
// 1 (down) and 3 (right) cells 5-8; a state outside 1..4 is held inside.
int UpDownCell(int state, int arrow);
// The drawing area of an up-down inside its buddy's frame: `area` (the up-down's window at
// the origin) pulled in so that 3 pixels of the parent's frame stay at top, bottom and
// right.  self and parent are window rectangles on the screen.
RECT UpDownBuddyArea(const RECT& area, const RECT& self, const RECT& parent);

}  // namespace barskin
