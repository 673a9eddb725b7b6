// The layout arithmetic of the bar skins; the painters in WinSubClassBars.cpp and
// WinSubClassBarsRange.cpp only consume the results.
#include <algorithm>
#include <cstdint>

#include "WinSubClassBarsLayout.h"

namespace barskin {

int StatusBevelCell(TStatusPanelBevel bevel) {
    switch (bevel) {
    case pbLowered: return 1;
    case pbRaised: return 2;
    case pbNone: return 3;
    }
    return 1;
}

UINT StatusPanelAlignment(TAlignment alignment, bool rightToLeft) {
    switch (alignment) {
    case taCenter: return DT_CENTER;
    case taRightJustify: return rightToLeft ? DT_LEFT : DT_RIGHT;
    case taLeftJustify: break;
    }
    return rightToLeft ? DT_RIGHT : DT_LEFT;
}

RECT StatusPanelFace(const RECT& part, const RECT& bar, int index, int count) {
    RECT face = part;
    face.right += 2;
    if (index == count - 1) face.right = bar.right;
    return face;
}

RECT SizeGripRect(const RECT& bar, int cellWidth, int cellHeight) {
    return RECT{bar.right - 1 - cellWidth, bar.bottom - 1 - cellHeight, bar.right - 1, bar.bottom - 1};
}

int ProgressFill(int extent, int pos, int low, int high) {
    if (extent <= 0 || high <= low || pos <= low) return 0;
    if (pos >= high) return extent;
    // 64-bit: a range over the whole int span must not overflow.
    const int64_t span = static_cast<int64_t>(high) - low;
    const int64_t done = static_cast<int64_t>(pos) - low;
    return static_cast<int>(static_cast<int64_t>(extent) * done / span);
}

RECT UprightChannel(const RECT& channel, bool vertical) {
    if (!vertical) return channel;
    const int w = channel.right - channel.left, h = channel.bottom - channel.top;
    if (w <= h) return channel;
    return RECT{channel.top, channel.left, channel.bottom, channel.right};
}

std::array<TChannelSlice, 3> ChannelSlices(const RECT& channel, int width, int height, const TSkinMargins& margins,
                                           bool vertical) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::array<TChannelSlice, 3> s{};
    if (vertical) {
        const int top = std::clamp(margins.Top, 0, height);
        const int bottom = std::clamp(margins.Bottom, 0, height - top);
        const int across = channel.right - channel.left;
        const int x = channel.left + (width < across ? (across - width) / 2 : 0);
        s[0] = {RECT{0, 0, width, top}, RECT{x, channel.top, x + width, channel.top + top}};
        s[1] = {RECT{0, top, width, height - bottom},
                RECT{x, channel.top + top, x + width, channel.bottom - bottom}};
        s[2] = {RECT{0, height - bottom, width, height},
                RECT{x, channel.bottom - bottom, x + width, channel.bottom}};
    } else {
        const int left = std::clamp(margins.Left, 0, width);
        const int right = std::clamp(margins.Right, 0, width - left);
        const int across = channel.bottom - channel.top;
        const int y = channel.top + (height < across ? (across - height) / 2 : 0);
        s[0] = {RECT{0, 0, left, height}, RECT{channel.left, y, channel.left + left, y + height}};
        s[1] = {RECT{left, 0, width - right, height},
                RECT{channel.left + left, y, channel.right - right, y + height}};
        s[2] = {RECT{width - right, 0, width, height},
                RECT{channel.right - right, y, channel.right, y + height}};
    }
    return s;
}

TCustomDrawStep TrackBarCustomDrawStep(DWORD drawStage, DWORD_PTR item) {
    if (drawStage == CDDS_PREPAINT) return {TCustomDrawAction::None, CDRF_NOTIFYITEMDRAW};
    if (drawStage == CDDS_ITEMPREPAINT) {
        switch (item) {
        case TBCD_THUMB: return {TCustomDrawAction::Thumb, CDRF_SKIPDEFAULT};
        case TBCD_CHANNEL: return {TCustomDrawAction::Channel, CDRF_SKIPDEFAULT};
        default: break;  // TBCD_TICS: the control draws the ticks
        }
    }
    return {TCustomDrawAction::None, CDRF_DODEFAULT};
}

int ThumbCell(int cells) { return std::min(2, std::max(cells, 1)); }

int UpDownHalfState(bool enabled, bool cursorOver, bool pressed, bool hot) {
    if (!enabled) return 3;
    if (!cursorOver) return 1;
    if (pressed) return 2;
    if (hot) return 4;
    return 1;
}

int UpDownCell(int state, int arrow) {
    state = std::clamp(state, 1, 4);
    return state + 4 * (((arrow % 2) + 2) % 2);
}

RECT UpDownBuddyArea(const RECT& area, const RECT& self, const RECT& parent) {
    RECT r = area;
    const int top = self.top - parent.top;
    if (top < 3) r.top += 3 - top;
    const int bottom = parent.bottom - self.bottom;
    if (bottom < 3) r.bottom -= 3 - bottom;
    const int right = parent.right - self.right;
    if (right < 3) r.right -= 3 - right;
    return r;
}

}  // namespace barskin
