// Geometry of the skinned menu bar, kept apart from painting: where the first item
// starts, how wide an item is, and the item bounds along the bar.  Pure functions; the
// menu bar (WinSkinMenu.h) measures the captions and paints from these.
//
// Types: MenuBarItemExtent.
#pragma once
#include <windows.h>

#include <vector>

// What the layout needs of one bar item.
struct MenuBarItemExtent {
    int width = 0;  // MenuBarItemWidth of its caption
    bool visible = true;
};

// Offset of the first item from the bar's leading edge: 6 without a menu-bar part; with
// one, its left margin + 4 left to right or its right margin + 8 right to left, and 12
// when the bar is narrower than that.
int MenuBarStartOffset(bool hasPart, int partLeftMargin, int partRightMargin, bool rightToLeft, int barWidth);

// An item's width from its measured caption width: + 10 for a caption, 0 for an empty one.
int MenuBarItemWidth(int captionWidth);

// Bounds of each item, in the coordinates of bar: items follow each other from x0 (left
// to right) or from the bar's width minus x0 leftwards, bar top to bar bottom - 1; an
// invisible item gets empty bounds (0, 0, 0, 0).  An empty bar gives every item empty
// bounds.
std::vector<RECT> LayoutMenuBarItems(const RECT& bar, int x0, bool rightToLeft,
                                     const std::vector<MenuBarItemExtent>& items);

// Index of the first item whose bounds contain pt and that takes room (non-empty bounds);
// -1 for none.  Empty bounds never match, whatever the point.
int MenuBarItemAt(const std::vector<RECT>& bounds, POINT pt);

// The item after (forward) or before current, wrapping at both ends, passing over items
// that cannot be opened (selectable false: invisible, or without a caption, so without
// bounds to click); current -1 counts as before the first.  -1 when no item is
// selectable, an empty bar included.
int NextMenuBarIndex(int current, const std::vector<bool>& selectable, bool forward);
