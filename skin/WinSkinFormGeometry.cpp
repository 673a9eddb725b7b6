// Pure frame geometry of the form skin; see WinSkinFormGeometry.h.
#include "WinSkinFormGeometry.h"

#include <algorithm>
#include <vector>

namespace skinframe {

int CellLength(int length, int cells) {
    if (length <= 0) return 0;
    return length / (cells < 1 ? 1 : cells);
}

RECT NormalRect(int left, int top, int right, int bottom) {
    return RECT{left, top, std::max(left, right), std::max(top, bottom)};
}

RECT CalcClientRect(const FrameMetrics& m, const RECT& window) {
    // Borders wider than the window leave an empty client area at the inner edge, so the
    // client rectangle stays inside the window and is never inverted.
    const int wl = window.left, wt = window.top, wr = window.right, wb = window.bottom;
    const int left = std::min(wl + m.left, wr);
    const int top = std::min(wt + m.top + m.menuHeight, wb);
    const int right = std::max(left, wr - m.right);
    const int bottom = std::max(top, wb - m.bottom);
    return RECT{left, top, right, bottom};
}

int CalcHitTest(int defaultHit, POINT framePoint, const FrameMetrics& m) {
    if (defaultHit != HTNOWHERE && defaultHit != HTCAPTION) return defaultHit;
    int hit = defaultHit;
    if (framePoint.y > 3) hit = HTCAPTION;
    // Only the strip itself is menu: the bottom border of a window with a menu bar is not.
    if (framePoint.y > m.top && m.menuHeight > 0 && framePoint.y < m.top + m.menuHeight) hit = HTMENU;
    return hit;
}

FrameRects CalcFrameRects(const FrameMetrics& m, int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    FrameRects r;
    const int innerLeft = std::min(m.left, w);
    const int innerRight = std::max(innerLeft, w - m.right);
    r.left = NormalRect(0, 0, innerLeft, h);
    r.right = NormalRect(innerRight, 0, w, h);
    r.bottom = NormalRect(innerLeft, std::max(0, h - m.bottom), innerRight, h);
    r.caption = NormalRect(innerLeft, 0, innerRight, std::min(m.top, h));
    // A window lower than its caption, menu strip and bottom border together keeps its
    // bottom border: the strip ends above it.
    const int menuTop = std::min(m.top, h);
    r.menuBar = NormalRect(innerLeft, menuTop, innerRight, std::min(menuTop + m.menuHeight, h - m.bottom));
    r.client = CalcClientRect(m, RECT{0, 0, w, h});
    return r;
}

RECT KeepInWorkArea(const RECT& before, const RECT& fitted, const RECT& work) {
    const bool inside = before.left >= work.left && before.top >= work.top && before.right <= work.right &&
                        before.bottom <= work.bottom;
    if (!inside) return fitted;
    const int dx = std::max(std::min(0, static_cast<int>(work.right - fitted.right)), static_cast<int>(work.left - fitted.left));
    const int dy = std::max(std::min(0, static_cast<int>(work.bottom - fitted.bottom)), static_cast<int>(work.top - fitted.top));
    return RECT{fitted.left + dx, fitted.top + dy, fitted.right + dx, fitted.bottom + dy};
}

RECT CalcButtonRect(int align, int xcoord, int ycoord, int cellWidth, int cellHeight, int windowWidth,
                    const FrameMetrics& m, int menuBarMargin, bool rightToLeft) {
    cellWidth = std::max(cellWidth, 0);
    cellHeight = std::max(cellHeight, 0);
    int x = xcoord;
    int y = ycoord;
    if (align == 1) {
        x = windowWidth - xcoord;
    } else if (align == kAlignInMenuStrip) {
        y = m.top + (m.menuHeight - cellHeight) / 2;
        x = rightToLeft ? m.left + xcoord + menuBarMargin : windowWidth - xcoord - m.right - menuBarMargin;
    }
    return RECT{x, y, x + cellWidth, y + cellHeight};
}

void KeepUncrowdedButtons(const RECT* bounds, const int* order, int count, int windowWidth, bool* keep) {
    std::vector<int> kept;
    for (int k = 0; k < count; ++k) {
        const int i = order[k];
        if (i < 0 || i >= count || !keep[i]) continue;
        const RECT& b = bounds[i];
        bool fits = b.left >= 0 && b.right <= windowWidth;
        for (int j : kept) {
            const RECT& o = bounds[j];
            if (b.left < o.right && o.left < b.right && b.top < o.bottom && o.top < b.bottom) fits = false;
        }
        keep[i] = fits;
        if (fits) kept.push_back(i);
    }
}

TitleSpan CalcTitleSpan(int textShift, int rightClip, const FrameMetrics& m, int windowWidth, const RECT* buttons,
                        int buttonCount) {
    constexpr int kGap = 2;  // from the border
    constexpr int kButtonGap = 4;
    const int start = std::max(textShift, m.left + kGap);
    TitleSpan span{start, windowWidth - m.right - kGap};
    bool buttonRight = false;
    for (int i = 0; i < buttonCount; ++i) {
        const RECT& b = buttons[i];
        if (b.right <= b.left) continue;
        if (b.left < start) {
            span.left = std::max<int>(span.left, b.right + kButtonGap);
        } else {
            span.right = std::min<int>(span.right, b.left - kButtonGap);
            buttonRight = true;
        }
    }
    if (!buttonRight) span.right = std::min(span.right, windowWidth - rightClip);
    return span;
}

bool IsIconAction(int action) { return action == 3 || action == 11; }

bool ButtonShown(int v, const ButtonFacts& f) {
    switch (v) {
        case 0: return true;
        case 1: return f.maximized;
        case 2: return !f.maximized;
        case 3: return f.active;
        case 4: return !f.active;
        case 5: return false;
        case 6: return f.maximizeBox && f.sysMenu;
        case 7: return !f.maximizeBox;
        case 8: return f.minimizeBox && f.sysMenu;
        case 9: return !f.minimizeBox;
        case kVisibleInMenuStrip: return f.mdiChildMaximizedInBar;
        case 200: return f.dialogFrame && !f.dialogClass;
        default: break;
    }
    if (v >= 201 && v <= 999) return true;
    if (v >= 1000 && v <= 2000) return f.hostAnswer > 0;
    return false;  // 10..99, 101..199, above 2000 and negative values
}

bool ButtonStateTrue(int v, bool shown, const ButtonFacts& f) {
    switch (v) {
        case -1: return false;
        case 0: return true;
        case 1: return f.maximized;
        case 2: return !f.maximized;
        case 3: return f.active;
        case 4: return !f.active;
        case 5: return false;
        case 6: return f.maximizeBox;
        case 7: return !f.maximizeBox;
        case 8: return f.minimizeBox;
        case 9: return !f.minimizeBox;
        case kStateAsShown: return shown;
        case 200: return f.dialogFrame && !f.dialogClass;
        default: break;
    }
    return v >= 201 && v <= 2000;
}

bool ButtonActionAllowed(int action, const ButtonFacts& f) {
    switch (action) {
        case 0: return f.sysMenu;
        case 1: return f.maximizeBox;
        case 2: return f.minimizeBox;
        case 3:
        case 11:
        case 12: return !f.dialogFrame;
        default: return true;
    }
}

bool ButtonVisible(int visibility, int visibility1, int action, const ButtonFacts& f) {
    const bool shown = ButtonShown(visibility, f);
    return shown && ButtonStateTrue(visibility1, shown, f) && ButtonActionAllowed(action, f);
}

int CalcBorderKind(DWORD style, DWORD exStyle, bool dialogClass) {
    int kind = 1;
    if ((style & WS_CAPTION) != WS_CAPTION) kind = 2;
    else if (style & WS_THICKFRAME) kind = 0;
    else if (style & DS_MODALFRAME) kind = 3;
    if ((exStyle & WS_EX_DLGMODALFRAME) || dialogClass) kind = 3;
    return kind;
}

bool CalcCaptionToggle(int major, int minor, bool win9x, DWORD exStyle, bool hasOwner, bool mdiChild) {
    if (!(major > 4 && minor == 0)) return false;
    return ((exStyle & WS_EX_APPWINDOW) && !win9x) || (!hasOwner && !mdiChild);
}

}  // namespace skinframe
