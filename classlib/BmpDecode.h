// Decoding of device-independent bitmap images (BMP files and packed DIBs as stored in
// bitmap resources), in plain C++ with no platform calls, so that it builds natively and
// can be fuzzed.  Skin files carry their pictures as BMP entries, so every byte is
// untrusted: the decoder bounds every read, caps the picture size before it allocates,
// and refuses what it cannot read with a message instead of guessing.
//
// Making a GDI bitmap from the result is TBitmap's business (Bitmap.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Compression codes of the DIB header.
constexpr uint32_t kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitfields = 3;

// Sizes above these are refused before anything is allocated.
struct BmpLimits {
    int32_t MaxWidth = 16384;
    int32_t MaxHeight = 16384;
    uint64_t MaxPixels = uint64_t{1} << 26;  // 64 Mpixel: 256 MB of 32-bit pixels
};

struct BmpImage {
    int32_t Width = 0;   // always > 0 after a successful decode
    int32_t Height = 0;  // always > 0; TopDown says how the file stored the rows
    uint16_t BitCount = 0;     // as stored: 1, 4, 8, 16, 24 or 32
    uint32_t Compression = kBmpRgb;
    bool TopDown = false;
    // BitCount <= 8: the colour table as 0x00RRGGBB, padded with black to 2^BitCount
    // entries (a file may give fewer).  Empty for deeper pictures.
    std::vector<uint32_t> Palette;
    // BitCount <= 8: one palette index per pixel, top row first.
    std::vector<uint8_t> Indices;
    // Every picture: 0xAARRGGBB per pixel, top row first (the byte order of a 32-bit DIB
    // row in memory).  The top byte is the stored fourth byte of 32-bit pixels, the alpha
    // channel of bit-field pictures that have one, and 0 otherwise.
    std::vector<uint32_t> Pixels;
};

// A BMP file image: BITMAPFILEHEADER ("BM"), then a packed DIB whose pixels start at the
// file header's offset.  Returns false and sets `error` (a sentence in English) when the
// data is refused; `out` is then unspecified.
bool DecodeBmp(const uint8_t* data, size_t size, BmpImage& out, std::string& error,
               const BmpLimits& limits = BmpLimits());

// A packed DIB (header, bit masks, colour table, pixels, with no file header), as
// bitmap resources store it; the pixels follow the colour table.
bool DecodeDib(const uint8_t* data, size_t size, BmpImage& out, std::string& error,
               const BmpLimits& limits = BmpLimits());
