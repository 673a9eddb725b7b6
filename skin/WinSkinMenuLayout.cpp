// The menu bar's pure geometry.
#include "WinSkinMenuLayout.h"

int MenuBarStartOffset(bool hasPart, int partLeftMargin, int partRightMargin, bool rightToLeft, int barWidth) {
    if (!hasPart) return 6;
    const int x0 = rightToLeft ? partRightMargin + 8 : partLeftMargin + 4;
    return barWidth < x0 ? 12 : x0;
}

int MenuBarItemWidth(int captionWidth) { return captionWidth > 0 ? captionWidth + 10 : 0; }

std::vector<RECT> LayoutMenuBarItems(const RECT& bar, int x0, bool rightToLeft,
                                     const std::vector<MenuBarItemExtent>& items) {
    std::vector<RECT> bounds(items.size(), RECT{0, 0, 0, 0});
    const int barWidth = bar.right - bar.left;
    if (barWidth <= 0 || bar.bottom - bar.top <= 0) return bounds;
    int x = rightToLeft ? barWidth - x0 : x0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].visible) continue;
        const int w = items[i].width > 0 ? items[i].width : 0;
        if (rightToLeft) {
            bounds[i] = RECT{bar.left + x - w, bar.top, bar.left + x, bar.bottom - 1};
            x -= w;
        } else {
            bounds[i] = RECT{bar.left + x, bar.top, bar.left + x + w, bar.bottom - 1};
            x += w;
        }
    }
    return bounds;
}

int MenuBarItemAt(const std::vector<RECT>& bounds, POINT pt) {
    for (size_t i = 0; i < bounds.size(); ++i) {
        const RECT& r = bounds[i];
        if (r.right <= r.left || r.bottom <= r.top) continue;
        if (PtInRect(&r, pt)) return static_cast<int>(i);
    }
    return -1;
}

int NextMenuBarIndex(int current, const std::vector<bool>& selectable, bool forward) {
    const int count = static_cast<int>(selectable.size());
    if (count == 0) return -1;
    int i = current;
    if (i < 0 || i >= count) i = forward ? count - 1 : 0;  // so the first step lands on an end
    for (int step = 0; step < count; ++step) {
        i = forward ? (i + 1) % count : (i + count - 1) % count;
        if (selectable[static_cast<size_t>(i)]) return i;
    }
    return -1;
}
