#include "ImgUtil.h"

#include <algorithm>
#include <array>

namespace {

int red(COLORREF c) { return GetRValue(c); }
int green(COLORREF c) { return GetGValue(c); }
int blue(COLORREF c) { return GetBValue(c); }

// 24-bit pixels read as little-endian numbers are 0x00RRGGBB.
constexpr uint32_t kMagentaPixel = 0xFF00FF;

void forEachPixel24(TBitmap& bitmap, uint32_t (*change)(uint32_t, uint32_t), uint32_t arg) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            uint8_t* p = row + 3 * x;
            const uint32_t v = change(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16), arg);
            p[0] = static_cast<uint8_t>(v);
            p[1] = static_cast<uint8_t>(v >> 8);
            p[2] = static_cast<uint8_t>(v >> 16);
        }
    }
}

// Pixels as stored (colour indexes or B, G, R bytes), so every pixel format keeps its
// colour table and its exact values.
void rotate(TBitmap& bitmap, bool left) {
    if (bitmap.Empty()) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    TBitmap turned;
    turned.Assign(bitmap);
    turned.SetSize(h, w);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t v = bitmap.RawPixel(x, y);
            if (left) turned.SetRawPixel(y, w - 1 - x, v);
            else turned.SetRawPixel(h - 1 - y, x, v);
        }
    bitmap.Assign(turned);
}

struct GradientCache {
    std::array<std::vector<TColor>, 16> slots;
    int next = 0;
};

GradientCache& gradients() {
    static GradientCache cache;
    return cache;
}

// One channel of entry i of a gradient over d + 1 lines, rounded to the nearest value
// (halves away from the start), so that the last entry is the end colour in both
// directions.
int gradientChannel(int start, int end, int i, int d) {
    const int delta = end - start;
    const int half = delta < 0 ? -(d / 2) : d / 2;
    return start + (i * delta + half) / d;
}

TColor gradientEntry(COLORREF s, COLORREF e, int i, int n) {
    if (n <= 1) return static_cast<TColor>(RGB(red(s) + (red(e) - red(s)) / 2, green(s) + (green(e) - green(s)) / 2,
                                               blue(s) + (blue(e) - blue(s)) / 2));
    const int d = n - 1;
    return static_cast<TColor>(RGB(gradientChannel(red(s), red(e), i, d), gradientChannel(green(s), green(e), i, d),
                                   gradientChannel(blue(s), blue(e), i, d)));
}

// Longer gradients are computed line by line instead of being cached.
constexpr int kMaxCachedGradient = 65536;

}  // namespace

void GrayBitmap(TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    bitmap.SetPixelFormat(pf24bit);
    forEachPixel24(bitmap, [](uint32_t v, uint32_t) -> uint32_t {
        const uint32_t g = (((v >> 16) & 0xFF) + ((v >> 8) & 0xFF) + (v & 0xFF)) / 3;
        return (g << 16) | (g << 8) | g;
    }, 0);
}

void ReplaceKeyColor(TBitmap& bitmap, TColor colour) {
    if (bitmap.Empty()) return;
    bitmap.SetPixelFormat(pf24bit);
    const COLORREF c = ColorToRGB(colour);
    const uint32_t replacement = (uint32_t(red(c)) << 16) | (uint32_t(green(c)) << 8) | uint32_t(blue(c));
    forEachPixel24(bitmap, [](uint32_t v, uint32_t r) { return v == kMagentaPixel ? r : v; }, replacement);
}

void MirrorBitmap(TBitmap& bitmap) {
    const int w = bitmap.Width();
    if (bitmap.Empty()) return;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < w / 2; ++x) {
            const uint32_t a = bitmap.RawPixel(x, y), b = bitmap.RawPixel(w - 1 - x, y);
            bitmap.SetRawPixel(x, y, b);
            bitmap.SetRawPixel(w - 1 - x, y, a);
        }
}

void FlipBitmap(TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    const int h = bitmap.Height();
    std::vector<uint8_t> keep(static_cast<size_t>(bitmap.BytesPerScanLine()));
    for (int y = 0; y < h / 2; ++y) {
        uint8_t* top = bitmap.ScanLine(y);
        uint8_t* bottom = bitmap.ScanLine(h - 1 - y);
        std::copy(top, top + keep.size(), keep.begin());
        std::copy(bottom, bottom + keep.size(), top);
        std::copy(keep.begin(), keep.end(), bottom);
    }
}

void RotateBitmapLeft(TBitmap& bitmap) { rotate(bitmap, true); }
void RotateBitmapRight(TBitmap& bitmap) { rotate(bitmap, false); }

void DuplicateBitmap(TBitmap& source, TBitmap& destination) {
    if (&source == &destination) return;
    const bool transparent = destination.Transparent();
    const TColor key = destination.TransparentColor();
    destination.Assign(source);
    destination.SetTransparent(transparent);
    destination.SetTransparentColor(key);
}

TColor BlendColors(TColor c1, TColor c2, int weight) {
    const COLORREF a = ColorToRGB(c1), b = ColorToRGB(c2);
    const int scale = weight < 100 ? 100 : 1000;
    const int w = std::clamp(weight, 0, scale);
    auto mix = [&](int x, int y) { return (x * w + y * (scale - w) + scale / 2) / scale; };
    return static_cast<TColor>(RGB(mix(red(a), red(b)), mix(green(a), green(b)), mix(blue(a), blue(b))));
}

int MakeGradient(int count, TColor start, TColor end) {
    GradientCache& cache = gradients();
    const int slot = cache.next;
    cache.next = (cache.next + 1) % 16;
    const int n = std::clamp(count, 1, kMaxCachedGradient);
    const COLORREF s = ColorToRGB(start), e = ColorToRGB(end);
    std::vector<TColor>& colours = cache.slots[static_cast<size_t>(slot)];
    colours.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) colours[static_cast<size_t>(i)] = gradientEntry(s, e, i, n);
    return slot;
}

int FindGradient(int count, TColor start, TColor end) {
    const GradientCache& cache = gradients();
    const auto s = static_cast<TColor>(ColorToRGB(start)), e = static_cast<TColor>(ColorToRGB(end));
    for (int slot = 15; slot >= 0; --slot) {
        const std::vector<TColor>& colours = cache.slots[static_cast<size_t>(slot)];
        if (count >= 1 && colours.size() == static_cast<size_t>(count) && colours.front() == s && colours.back() == e)
            return slot;
    }
    return -1;
}

int GetGradient(int count, TColor start, TColor end) {
    const int slot = FindGradient(count, start, end);
    return slot >= 0 ? slot : MakeGradient(count, start, end);
}

const std::vector<TColor>& GradientColors(int slot) {
    static const std::vector<TColor> none;
    if (slot < 0 || slot > 15) return none;
    return gradients().slots[static_cast<size_t>(slot)];
}

void GradientFillRect(HDC dc, const RECT& rect, TColor start, bool vertical, TColor end) {
    if (!dc || rect.right < rect.left || rect.bottom < rect.top || !RectVisible(dc, &rect)) return;
    const COLORREF s = ColorToRGB(start), e = ColorToRGB(end);
    const int n = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (n <= 0) return;
    int first = 0, last = n - 1;
    RECT clip{};
    if (GetClipBox(dc, &clip) != ERROR) {
        const int clipStart = vertical ? clip.top : clip.left, clipEnd = vertical ? clip.bottom : clip.right;
        const int origin = vertical ? rect.top : rect.left, limit = vertical ? rect.bottom : rect.right;
        if (clipStart > origin) first = clipStart - origin;
        if (clipEnd < limit) last = clipEnd - origin - 1;
    }
    const std::vector<TColor>* colours = nullptr;
    if (n <= kMaxCachedGradient) colours = &GradientColors(GetGradient(n, static_cast<TColor>(s), static_cast<TColor>(e)));
    for (int i = first; i <= last; ++i) {
        const TColor c = colours ? (*colours)[static_cast<size_t>(i)] : gradientEntry(s, e, i, n);
        UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(c)));
        if (!brush) continue;
        const RECT line = vertical ? RECT{rect.left, rect.top + i, rect.right, rect.top + i + 1}
                                   : RECT{rect.left + i, rect.top, rect.left + i + 1, rect.bottom};
        FillRect(dc, &line, brush.get());
    }
}

int ColorSaturation(TColor colour) {
    const COLORREF c = ColorToRGB(colour);
    const int r = red(c), g = green(c), b = blue(c);
    if (r <= 159 && g <= 159 && b <= 159) return 200;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    // (hi - lo) / hi * 255 rounded to the nearest integer, halves to even, in integers.
    const int num = (hi - lo) * 255;
    const int q = num / hi, rem = num % hi;
    if (2 * rem > hi || (2 * rem == hi && (q & 1))) return q + 1;
    return q;
}
