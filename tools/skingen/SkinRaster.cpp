// Canvas painting, flattening and the 24-bit BMP codec of the skin generator.
#include "SkinRaster.h"

#include <algorithm>
#include <cmath>

namespace skingen {

uint32_t Mix(uint32_t c1, uint32_t c2, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto ch = [t](int a, int b) { return int(std::lround(a * t + b * (1.0 - t))); };
    return Rgb(ch(RedOf(c1), RedOf(c2)), ch(GreenOf(c1), GreenOf(c2)), ch(BlueOf(c1), BlueOf(c2)));
}

void Picture::place(const Picture& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) {
            int dx = x + sx, dy = y + sy;
            if (dx >= 0 && dy >= 0 && dx < width && dy < height) at(dx, dy) = src.at(sx, sy);
        }
}

Picture Picture::crop(int x, int y, int w, int h) const {
    Picture out(w, h);
    for (int cy = 0; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx) out.at(cx, cy) = at(x + cx, y + cy);
    return out;
}

Picture JoinCells(const std::vector<Picture>& cells, bool stacked) {
    if (cells.empty()) return {};
    const int cw = cells[0].width, ch = cells[0].height;
    const int n = int(cells.size());
    Picture out(stacked ? cw : cw * n, stacked ? ch * n : ch);
    for (int i = 0; i < n; ++i) out.place(cells[i], stacked ? 0 : cw * i, stacked ? ch * i : 0);
    return out;
}

Shape RectShape(double l, double t, double r, double b) {
    return [=](double x, double y) { return x >= l && x < r && y >= t && y < b; };
}

Shape RoundRectShape(double l, double t, double r, double b, double radius) {
    return [=](double x, double y) {
        if (x < l || x >= r || y < t || y >= b) return false;
        const double cx = std::clamp(x, l + radius, r - radius);
        const double cy = std::clamp(y, t + radius, b - radius);
        const double dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
    };
}

Shape EllipseShape(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

Shape LineShape(double x1, double y1, double x2, double y2, double w) {
    return [=](double x, double y) {
        const double vx = x2 - x1, vy = y2 - y1;
        const double len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((x - x1) * vx + (y - y1) * vy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = x - (x1 + t * vx), dy = y - (y1 + t * vy);
        return dx * dx + dy * dy <= (w / 2) * (w / 2);
    };
}

Shape PolygonShape(std::vector<std::pair<double, double>> points) {
    return [pts = std::move(points)](double x, double y) {
        // Even-odd crossing test.
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    };
}

Shape Union(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Minus(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Paint Solid(uint32_t c) {
    return [c](int, int) { return c; };
}

Paint VerticalGradient(uint32_t c1, uint32_t c2, int top, int bottom) {
    return [=](int, int y) {
        const int span = bottom - 1 - top;
        return span <= 0 ? c1 : Mix(c2, c1, double(y - top) / span);
    };
}

Paint HorizontalGradient(uint32_t c1, uint32_t c2, int left, int right) {
    return [=](int x, int) {
        const int span = right - 1 - left;
        return span <= 0 ? c1 : Mix(c2, c1, double(x - left) / span);
    };
}

Canvas::Canvas(int w, int h)
    : w_(w), h_(h), r_(size_t(w) * h, 0.0), g_(size_t(w) * h, 0.0), b_(size_t(w) * h, 0.0), a_(size_t(w) * h, 0.0),
      c_(size_t(w) * h, 0.0) {}

void Canvas::blend(int x, int y, uint32_t colour, double coverage, double opacity) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0) return;
    coverage = std::min(coverage, 1.0);
    const double alpha = std::clamp(coverage * opacity, 0.0, 1.0);
    const size_t i = idx(x, y);
    c_[i] = coverage + c_[i] * (1.0 - coverage);
    const double k = 1.0 - alpha;
    r_[i] = RedOf(colour) / 255.0 * alpha + r_[i] * k;
    g_[i] = GreenOf(colour) / 255.0 * alpha + g_[i] * k;
    b_[i] = BlueOf(colour) / 255.0 * alpha + b_[i] * k;
    a_[i] = alpha + a_[i] * k;
}

void Canvas::fill(const Shape& shape, const Paint& paint, double opacity) {
    constexpr int kSamples = 4;
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    if (shape(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
            if (hits) blend(x, y, paint(x, y), hits / double(kSamples * kSamples), opacity);
        }
}

void Canvas::set(int x, int y, uint32_t colour, double opacity) { blend(x, y, colour, 1.0, opacity); }

void Canvas::hline(int x1, int x2, int y, uint32_t colour, double opacity) {
    for (int x = x1; x <= x2; ++x) blend(x, y, colour, 1.0, opacity);
}

void Canvas::vline(int x, int y1, int y2, uint32_t colour, double opacity) {
    for (int y = y1; y <= y2; ++y) blend(x, y, colour, 1.0, opacity);
}

void Canvas::rect(int l, int t, int r, int b, const Paint& paint) {
    for (int y = std::max(t, 0); y < std::min(b, h_); ++y)
        for (int x = std::max(l, 0); x < std::min(r, w_); ++x) blend(x, y, paint(x, y), 1.0, 1.0);
}

void Canvas::pattern(int x, int y, const std::vector<const char*>& rows, uint32_t colour, double opacity) {
    for (size_t ry = 0; ry < rows.size(); ++ry)
        for (size_t rx = 0; rows[ry][rx]; ++rx)
            if (rows[ry][rx] == '#') blend(x + int(rx), y + int(ry), colour, 1.0, opacity);
}

Picture Canvas::flatten(const Paint& background) const {
    Picture out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            const size_t i = idx(x, y);
            const uint32_t bg = background(x, y);
            const double k = 1.0 - a_[i];
            auto ch = [k](double v, int b) { return std::clamp(int(std::lround((v + b / 255.0 * k) * 255.0)), 0, 255); };
            out.at(x, y) = Rgb(ch(r_[i], RedOf(bg)), ch(g_[i], GreenOf(bg)), ch(b_[i], BlueOf(bg)));
        }
    return out;
}

Picture Canvas::flattenKeyed(const Paint& expectedBackground, double keyBelow) const {
    Picture out = flatten(expectedBackground);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            if (c_[idx(x, y)] < keyBelow) {
                out.at(x, y) = kMagenta;
            } else if (out.at(x, y) == kMagenta) {
                out.at(x, y) = Rgb(254, 0, 255);  // never let a painted pixel read as the key
            }
        }
    return out;
}

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v & 0xFF));
    b.push_back(uint8_t((v >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
uint32_t get16(const std::vector<uint8_t>& b, size_t o) { return b[o] | (uint32_t(b[o + 1]) << 8); }
uint32_t get32(const std::vector<uint8_t>& b, size_t o) { return get16(b, o) | (get16(b, o + 2) << 16); }

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Picture& picture) {
    const int w = picture.width, h = picture.height;
    const uint32_t stride = uint32_t((w * 3 + 3) / 4 * 4);
    const uint32_t offBits = 14 + 40;
    std::vector<uint8_t> b;
    b.reserve(offBits + stride * h);
    b.push_back('B');
    b.push_back('M');
    put32(b, offBits + stride * h);
    put32(b, 0);
    put32(b, offBits);
    put32(b, 40);
    put32(b, uint32_t(w));
    put32(b, uint32_t(h));  // positive height: bottom-up rows
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB
    put32(b, stride * h);
    put32(b, 2835);  // 72 dpi
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        size_t rowStart = b.size();
        for (int x = 0; x < w; ++x) {
            const uint32_t c = picture.at(x, y);
            b.push_back(uint8_t(BlueOf(c)));
            b.push_back(uint8_t(GreenOf(c)));
            b.push_back(uint8_t(RedOf(c)));
        }
        while (b.size() - rowStart < stride) b.push_back(0);
    }
    return b;
}

std::optional<Picture> DecodeBmp24(const std::vector<uint8_t>& file) {
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    const uint32_t offBits = get32(file, 10);
    const uint32_t headerSize = get32(file, 14);
    const int32_t w = int32_t(get32(file, 18));
    const int32_t rawH = int32_t(get32(file, 22));
    if (headerSize < 40 || get16(file, 26) != 1 || get16(file, 28) != 24 || get32(file, 30) != 0) return std::nullopt;
    if (w <= 0 || rawH == 0 || w > 65536 || rawH > 65536 || rawH < -65536) return std::nullopt;
    const bool bottomUp = rawH > 0;
    const int h = bottomUp ? rawH : -rawH;
    const uint64_t stride = (uint64_t(w) * 3 + 3) / 4 * 4;
    if (offBits < 14 + headerSize || uint64_t(offBits) + stride * h > file.size()) return std::nullopt;
    Picture out(w, h);
    for (int row = 0; row < h; ++row) {
        const int y = bottomUp ? h - 1 - row : row;
        const size_t base = offBits + size_t(stride) * row;
        for (int x = 0; x < w; ++x) {
            const size_t p = base + size_t(x) * 3;
            out.at(x, y) = Rgb(file[p + 2], file[p + 1], file[p]);
        }
    }
    return out;
}

}  // namespace skingen
