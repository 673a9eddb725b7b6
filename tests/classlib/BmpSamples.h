// BMP byte images for the bitmap tests and the fuzz seed corpus: a spec of every header
// field (so malformed files are one field away from valid ones) and sample pictures of
// each depth whose pixels follow a known formula.  Plain C++; used natively and under
// Wine.
#pragma once

#include <cstdint>
#include <vector>

namespace bmpsamples {

struct BmpSpec {
    uint32_t headerSize = 40;  // 12 (core), 40, 108 or 124
    int32_t width = 5;
    int32_t height = 3;        // negative: rows stored top-down
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    int64_t colorsUsed = -1;       // -1: write 0 (the depth's full table)
    std::vector<uint32_t> palette;  // 0x00RRGGBB, all written
    std::vector<uint32_t> masks;    // bit fields: after a 40-byte header, inside larger ones
    std::vector<uint8_t> pixels;    // the pixel bytes as stored
    int64_t offBits = -1;           // -1: right after the colour table
    int64_t sizeImage = -1;         // -1: pixels.size()
    bool fileHeader = true;         // false: a packed DIB as resources store it
};

inline void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
    std::vector<uint8_t> dib;
    put32(dib, s.headerSize);
    if (s.headerSize == 12) {
        put16(dib, static_cast<uint32_t>(s.width));
        put16(dib, static_cast<uint32_t>(s.height));
        put16(dib, s.planes);
        put16(dib, s.bitCount);
    } else {
        put32(dib, static_cast<uint32_t>(s.width));
        put32(dib, static_cast<uint32_t>(s.height));
        put16(dib, s.planes);
        put16(dib, s.bitCount);
        put32(dib, s.compression);
        put32(dib, static_cast<uint32_t>(s.sizeImage >= 0 ? s.sizeImage : static_cast<int64_t>(s.pixels.size())));
        put32(dib, 2835);
        put32(dib, 2835);
        put32(dib, static_cast<uint32_t>(s.colorsUsed >= 0 ? s.colorsUsed : 0));
        put32(dib, 0);
        if (s.headerSize > 40) {
            for (size_t i = 0; i < 4; ++i) put32(dib, i < s.masks.size() ? s.masks[i] : 0);
            while (dib.size() < s.headerSize) dib.push_back(0);
        } else {
            for (uint32_t m : s.masks) put32(dib, m);
        }
    }
    for (uint32_t c : s.palette) {
        dib.push_back(static_cast<uint8_t>(c));
        dib.push_back(static_cast<uint8_t>(c >> 8));
        dib.push_back(static_cast<uint8_t>(c >> 16));
        if (s.headerSize != 12) dib.push_back(0);
    }
    if (!s.fileHeader) {
        dib.insert(dib.end(), s.pixels.begin(), s.pixels.end());
        return dib;
    }
    std::vector<uint8_t> file;
    const uint32_t off = static_cast<uint32_t>(s.offBits >= 0 ? s.offBits : static_cast<int64_t>(14 + dib.size()));
    file.push_back('B');
    file.push_back('M');
    put32(file, static_cast<uint32_t>(14 + dib.size() + s.pixels.size()));
    put32(file, 0);
    put32(file, off);
    file.insert(file.end(), dib.begin(), dib.end());
    file.insert(file.end(), s.pixels.begin(), s.pixels.end());
    return file;
}

// The sample picture: colour index and colour of each pixel.
inline uint32_t SampleIndex(int x, int y, int bpp) { return static_cast<uint32_t>(x + 2 * y + 1) % (1u << bpp); }
inline uint32_t SamplePaletteColour(uint32_t i) {
    return ((i * 37 + 11) % 256) << 16 | ((i * 91 + 50) % 256) << 8 | ((255 - i * 13) % 256);
}
inline std::vector<uint32_t> SamplePalette(int bpp) {
    std::vector<uint32_t> p;
    for (uint32_t i = 0; i < (1u << bpp); ++i) p.push_back(SamplePaletteColour(i));
    return p;
}
// 0x00RRGGBB of the sample picture at (x, y) for the given depth.
inline uint32_t SampleColour(int x, int y, int bpp) {
    if (bpp <= 8) return SamplePaletteColour(SampleIndex(x, y, bpp));
    return (uint32_t(40 * x + 3) & 0xFF) << 16 | (uint32_t(60 * y + 7) & 0xFF) << 8 | (uint32_t(200 - 10 * x - 5 * y) & 0xFF);
}

// The sample picture of width w and height h at depth bpp (1, 4, 8, 24 or 32), stored
// bottom-up or top-down.
inline BmpSpec SampleSpec(int bpp, bool topDown = false, int w = 5, int h = 3) {
    BmpSpec s;
    s.width = w;
    s.height = topDown ? -h : h;
    s.bitCount = static_cast<uint16_t>(bpp);
    if (bpp <= 8) s.palette = SamplePalette(bpp);
    const size_t stride = (static_cast<size_t>(w) * bpp + 31) / 32 * 4;
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < w; ++x) {
            if (bpp <= 8) {
                const uint32_t v = SampleIndex(x, y, bpp);
                if (bpp == 8) row[x] = static_cast<uint8_t>(v);
                else if (bpp == 4) row[x / 2] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
                else row[x / 8] |= static_cast<uint8_t>(v << (7 - x % 8));
            } else {
                const uint32_t c = SampleColour(x, y, bpp);
                const size_t at = static_cast<size_t>(x) * (bpp / 8);
                row[at] = static_cast<uint8_t>(c);
                row[at + 1] = static_cast<uint8_t>(c >> 8);
                row[at + 2] = static_cast<uint8_t>(c >> 16);
                if (bpp == 32) row[at + 3] = 0;
            }
        }
        s.pixels.insert(s.pixels.end(), row.begin(), row.end());
    }
    return s;
}

inline std::vector<uint8_t> SampleBmp(int bpp, bool topDown = false, int w = 5, int h = 3) {
    return BuildBmp(SampleSpec(bpp, topDown, w, h));
}

// An 8-bit run-length picture, 6 x 3, bottom row first:
//   bottom row: a run of 4 x index 2, then literal 7, 8, 9 (absolute mode; 9 falls past
//   the row's end), end of line;
//   middle row: a delta of (3, 1) from its start, which skips to x 3 of the top row;
//   top row (from x 3): a run of 3 x index 5, clipped at the row's end; end of picture.
// Pixels never written stay at index 0.
inline BmpSpec Rle8Spec() {
    BmpSpec s;
    s.width = 6;
    s.height = 3;
    s.bitCount = 8;
    s.compression = 1;
    s.palette = SamplePalette(8);
    s.pixels = {4, 2, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 3, 1, 3, 5, 0, 1};
    return s;
}
// Index of the run-length picture above at (x, y), y from the top.
inline uint8_t Rle8Index(int x, int y) {
    static const uint8_t rows[3][6] = {{0, 0, 0, 5, 5, 5}, {0, 0, 0, 0, 0, 0}, {2, 2, 2, 2, 7, 8}};
    return rows[y][x];
}

// A 4-bit run-length picture, 5 x 2: bottom row a run of 5 alternating 1, 2 then end of
// line; top row literal 3, 4, 5 then end of picture.
inline BmpSpec Rle4Spec() {
    BmpSpec s;
    s.width = 5;
    s.height = 2;
    s.bitCount = 4;
    s.compression = 2;
    s.palette = SamplePalette(4);
    s.pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
    return s;
}
inline uint8_t Rle4Index(int x, int y) {
    static const uint8_t rows[2][5] = {{3, 4, 5, 0, 0}, {1, 2, 1, 2, 1}};
    return rows[y][x];
}

// A 16-bit picture with 5-6-5 bit fields, 2 x 1: pure red, then (r 1, g 63, b 31) bits.
inline BmpSpec Bitfields565Spec() {
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bitCount = 16;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixels = {0x00, 0xF8, 0xFF, 0x0F, 0, 0};
    return s;
}

// A 64 x 16 one-bit strip of four 16 x 16 glyphs: white background, each glyph a black
// frame of its own size (glyph g: inset g + 1 pixels from the cell's edges).
inline bool GlyphStripBlack(int x, int y) {
    const int g = x / 16, cx = x % 16, inset = g + 1;
    const bool inside = cx >= inset && cx <= 15 - inset && y >= inset && y <= 15 - inset;
    const bool edge = cx == inset || cx == 15 - inset || y == inset || y == 15 - inset;
    return inside && edge;
}
inline std::vector<uint8_t> GlyphStripBmp() {
    BmpSpec s;
    s.width = 64;
    s.height = 16;
    s.bitCount = 1;
    s.palette = {0x000000, 0xFFFFFF};
    for (int r = 0; r < 16; ++r) {
        const int y = 15 - r;
        std::vector<uint8_t> row(8, 0);
        for (int x = 0; x < 64; ++x)
            if (!GlyphStripBlack(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        s.pixels.insert(s.pixels.end(), row.begin(), row.end());
    }
    return BuildBmp(s);
}

}  // namespace bmpsamples
