// Raster drawing for the skin generator: an RGBA canvas that shapes are painted on with
// anti-aliased coverage, flattened at the end into an opaque RGB picture in which pixels
// that nothing covered become the transparent key colour (magenta).  Also the 24-bit BMP
// encoder and a strict reader for the same format.  Pure C++; no platform calls.
//
// Types: Picture (opaque 0xRRGGBB pixels), Canvas (straight-alpha working surface),
// Shape (an inside test in pixel coordinates).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace skingen {

constexpr uint32_t kMagenta = 0xFF00FF;

// 0xRRGGBB helpers.
constexpr uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
constexpr int RedOf(uint32_t c) { return int((c >> 16) & 0xFF); }
constexpr int GreenOf(uint32_t c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(uint32_t c) { return int(c & 0xFF); }
// c1 weighted t (0..1) against c2.
uint32_t Mix(uint32_t c1, uint32_t c2, double t);

// An opaque picture, rows top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB

    Picture() = default;
    Picture(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    uint32_t& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    // Copies src with its top-left corner at (x, y); parts outside are dropped.
    void place(const Picture& src, int x, int y);
    Picture crop(int x, int y, int w, int h) const;
};

// Joins equal-sized cells side by side, or one above the other when stacked.
Picture JoinCells(const std::vector<Picture>& cells, bool stacked);

// Inside test at a sample point; coordinates in pixels, pixel (x, y) spans [x, x+1).
using Shape = std::function<bool(double x, double y)>;
// Colour of a pixel being painted.
using Paint = std::function<uint32_t(int x, int y)>;

Shape RectShape(double l, double t, double r, double b);
Shape RoundRectShape(double l, double t, double r, double b, double radius);
Shape EllipseShape(double cx, double cy, double rx, double ry);
// A stroke of width w along the segment, with round ends.
Shape LineShape(double x1, double y1, double x2, double y2, double w);
Shape PolygonShape(std::vector<std::pair<double, double>> points);
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);

Paint Solid(uint32_t c);
// Top row `top` gets c1, row `bottom` - 1 gets c2, linear in between (clamped outside).
Paint VerticalGradient(uint32_t c1, uint32_t c2, int top, int bottom);
Paint HorizontalGradient(uint32_t c1, uint32_t c2, int left, int right);

class Canvas {
public:
    Canvas(int w, int h);
    int width() const { return w_; }
    int height() const { return h_; }

    // Paints the shape with 4 x 4 samples per pixel; opacity scales the coverage.
    void fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
    void fill(const Shape& shape, uint32_t colour, double opacity = 1.0) { fill(shape, Solid(colour), opacity); }
    // Hard-edged pixel writes, for 1-pixel lines that must stay crisp.
    void set(int x, int y, uint32_t colour, double opacity = 1.0);
    void hline(int x1, int x2, int y, uint32_t colour, double opacity = 1.0);  // x1..x2 inclusive
    void vline(int x, int y1, int y2, uint32_t colour, double opacity = 1.0);  // y1..y2 inclusive
    void rect(int l, int t, int r, int b, const Paint& paint);                 // [l, r) x [t, b)
    // A 1-bit pattern: rows of characters, '#' painted, anything else left alone.
    void pattern(int x, int y, const std::vector<const char*>& rows, uint32_t colour, double opacity = 1.0);

    double alphaAt(int x, int y) const { return a_[idx(x, y)]; }
    double coverageAt(int x, int y) const { return c_[idx(x, y)]; }

    // Composited over the background colour of each pixel; every pixel opaque.
    Picture flatten(const Paint& background) const;
    Picture flatten(uint32_t background) const { return flatten(Solid(background)); }
    // Pixels whose shape coverage (opacity not counted, so a translucent tint still counts
    // as painted) is below `keyBelow` become magenta; the others are composited over the
    // background the picture is expected to be drawn on, so their edges blend into it.
    Picture flattenKeyed(const Paint& expectedBackground, double keyBelow = 0.2) const;
    Picture flattenKeyed(uint32_t expectedBackground, double keyBelow = 0.2) const {
        return flattenKeyed(Solid(expectedBackground), keyBelow);
    }

private:
    size_t idx(int x, int y) const { return size_t(y) * w_ + x; }
    void blend(int x, int y, uint32_t colour, double coverage, double opacity);

    int w_, h_;
    std::vector<double> r_, g_, b_, a_;  // premultiplied, 0..1
    std::vector<double> c_;              // shape coverage, opacity not counted
};

// A 24-bit bottom-up BMP file (BITMAPFILEHEADER + BITMAPINFOHEADER, rows padded to 4 bytes).
std::vector<uint8_t> EncodeBmp24(const Picture& picture);
// Reads back exactly that format (24 bits, uncompressed, bottom-up or top-down); nothing
// for any other or damaged input.
std::optional<Picture> DecodeBmp24(const std::vector<uint8_t>& file);

}  // namespace skingen
