#include "BmpDecode.h"

#include <algorithm>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

// Little-endian reads that never leave the buffer; callers check `has` first.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t size() const { return size_; }
    bool has(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
    uint8_t u8(size_t at) const { return data_[at]; }
    uint16_t u16(size_t at) const { return static_cast<uint16_t>(data_[at] | (data_[at + 1] << 8)); }
    uint32_t u32(size_t at) const {
        return static_cast<uint32_t>(data_[at]) | (static_cast<uint32_t>(data_[at + 1]) << 8) |
               (static_cast<uint32_t>(data_[at + 2]) << 16) | (static_cast<uint32_t>(data_[at + 3]) << 24);
    }
    const uint8_t* at(size_t offset) const { return data_ + offset; }

private:
    const uint8_t* data_;
    size_t size_;
};

bool fail(std::string& error, const char* reason) {
    error = std::string("Bitmap image is not valid: ") + reason;
    return false;
}

// One colour channel of a bit-field picture: the value is (pixel & mask) >> shift,
// scaled from 0..max to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!mask) return;
        while (!((mask >> shift) & 1u)) ++shift;
        max = mask >> shift;  // a mask with gaps still bounds every value it lets through
    }
    uint32_t extract(uint32_t pixel) const {
        if (!max) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + max / 2) / max);
    }
};

struct DibHeader {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;  // as stored: negative for top-down rows
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = kBmpRgb;
    uint32_t sizeImage = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    size_t masksAfterHeader = 0;       // bytes of masks that follow a 40-byte header
    bool core = false;                 // 12-byte header: 16-bit sizes, 3-byte colour entries
};

bool readHeader(const Bytes& b, size_t start, DibHeader& h, std::string& error) {
    if (!b.has(start, 4)) return fail(error, "the bitmap header is truncated");
    h.headerSize = b.u32(start);
    switch (h.headerSize) {
    case kCoreHeaderSize: case kInfoHeaderSize: case 52: case 56: case 108: case 124: break;
    default: return fail(error, "the bitmap header has an unsupported size");
    }
    if (!b.has(start, h.headerSize)) return fail(error, "the bitmap header is truncated");
    if (h.headerSize == kCoreHeaderSize) {
        h.core = true;
        h.width = b.u16(start + 4);
        h.height = b.u16(start + 6);
        h.planes = b.u16(start + 8);
        h.bitCount = b.u16(start + 10);
        return true;
    }
    h.width = static_cast<int32_t>(b.u32(start + 4));
    h.height = static_cast<int32_t>(b.u32(start + 8));
    h.planes = b.u16(start + 12);
    h.bitCount = b.u16(start + 14);
    h.compression = b.u32(start + 16);
    h.sizeImage = b.u32(start + 20);
    h.colorsUsed = b.u32(start + 32);
    if (h.compression == kBmpBitfields) {
        if (h.headerSize >= 52) {
            for (int i = 0; i < 3; ++i) h.masks[i] = b.u32(start + 40 + 4 * i);
            if (h.headerSize >= 56) h.masks[3] = b.u32(start + 52);
        } else {
            if (!b.has(start + h.headerSize, 12)) return fail(error, "the bit masks are truncated");
            for (int i = 0; i < 3; ++i) h.masks[i] = b.u32(start + h.headerSize + 4 * i);
            h.masksAfterHeader = 12;
        }
    }
    return true;
}

bool checkHeader(const DibHeader& h, const BmpLimits& limits, std::string& error) {
    if (h.planes != 1) return fail(error, "the plane count is not 1");
    const int64_t height = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || height == 0) return fail(error, "the width or height is not positive");
    if (h.width > limits.MaxWidth || height > limits.MaxHeight ||
        static_cast<uint64_t>(h.width) * static_cast<uint64_t>(height) > limits.MaxPixels)
        return fail(error, "the picture is too large");
    const uint16_t bpp = h.bitCount;
    if (h.core) {
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) return fail(error, "the bit depth is not supported");
        return true;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail(error, "the bit depth is not supported");
    switch (h.compression) {
    case kBmpRgb: break;
    case kBmpRle8:
        if (bpp != 8) return fail(error, "8-bit run-length compression needs 8 bits per pixel");
        break;
    case kBmpRle4:
        if (bpp != 4) return fail(error, "4-bit run-length compression needs 4 bits per pixel");
        break;
    case kBmpBitfields:
        if (bpp != 16 && bpp != 32) return fail(error, "bit-field compression needs 16 or 32 bits per pixel");
        break;
    default: return fail(error, "the compression is not supported");
    }
    if ((h.compression == kBmpRle8 || h.compression == kBmpRle4) && h.height < 0)
        return fail(error, "a run-length picture cannot store its rows top-down");
    if (bpp <= 8 && h.colorsUsed > (1u << bpp)) return fail(error, "the colour table is larger than the bit depth allows");
    return true;
}

// Run-length pictures: pairs (count, value) give runs; (0, 0) ends a row, (0, 1) ends the
// picture, (0, 2, dx, dy) moves the pen, (0, n >= 3) starts n literal pixels padded to an
// even byte count.  Rows run bottom-up.  Pixels outside the picture are dropped; data
// that ends early ends the picture, and pixels never written stay at index 0.
void decodeRle(const Bytes& b, size_t start, size_t length, bool four, BmpImage& img) {
    const int64_t w = img.Width, h = img.Height;
    int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](uint8_t index) {
        if (x < w && y < h) img.Indices[static_cast<size_t>((h - 1 - y) * w + x)] = index;
        ++x;
    };
    size_t p = start;
    const size_t end = start + length;
    while (p + 2 <= end && y < h) {
        const uint8_t count = b.u8(p), value = b.u8(p + 1);
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < w; ++i) put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { x = 0; ++y; continue; }
        if (value == 1) break;
        if (value == 2) {
            if (p + 2 > end) break;
            x += b.u8(p);
            y += b.u8(p + 1);
            p += 2;
            continue;
        }
        const size_t bytes = four ? (value + 1u) / 2u : value;
        if (p + bytes > end) break;
        for (int i = 0; i < value && x < w; ++i) {
            const uint8_t byte = b.u8(p + (four ? i / 2 : i));
            put(four ? ((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte);
        }
        p += (bytes + 1) & ~size_t{1};
    }
}

bool decodeDib(const Bytes& b, size_t dibStart, bool fileImage, uint32_t fileOffset, BmpImage& img,
               std::string& error, const BmpLimits& limits) {
    DibHeader h;
    if (!readHeader(b, dibStart, h, error) || !checkHeader(h, limits, error)) return false;

    const uint16_t bpp = h.bitCount;
    const uint64_t entrySize = h.core ? 3 : 4;
    uint64_t entries = 0;
    if (bpp <= 8) entries = h.colorsUsed ? h.colorsUsed : (1u << bpp);
    else if (!h.core) entries = h.colorsUsed;  // optional table of deeper pictures: skipped
    const uint64_t tableStart = uint64_t{dibStart} + h.headerSize + h.masksAfterHeader;
    const uint64_t tableEnd = tableStart + entries * entrySize;
    if (bpp <= 8 && !b.has(tableStart, entries * entrySize)) return fail(error, "the colour table is truncated");

    uint64_t pixelStart = tableEnd;
    if (fileImage && fileOffset != 0) {
        if (fileOffset < dibStart + h.headerSize) return fail(error, "the pixel offset points into the header");
        pixelStart = fileOffset;
    }
    if (pixelStart > b.size()) return fail(error, "the pixel offset is past the end of the data");

    img.Width = static_cast<int32_t>(h.width);
    img.Height = static_cast<int32_t>(h.height < 0 ? -h.height : h.height);
    img.BitCount = bpp;
    img.Compression = h.compression;
    img.TopDown = h.height < 0;
    const size_t w = static_cast<size_t>(img.Width), rows = static_cast<size_t>(img.Height);
    const size_t count = w * rows;

    if (bpp <= 8) {
        img.Palette.assign(size_t{1} << bpp, 0);
        for (size_t i = 0; i < entries; ++i) {
            const size_t at = static_cast<size_t>(tableStart + i * entrySize);
            img.Palette[i] = (uint32_t{b.u8(at + 2)} << 16) | (uint32_t{b.u8(at + 1)} << 8) | b.u8(at);
        }
        img.Indices.assign(count, 0);
    }

    if (h.compression == kBmpRle8 || h.compression == kBmpRle4) {
        const uint64_t available = b.size() - pixelStart;
        if (h.sizeImage > available) return fail(error, "the compressed pixel data is truncated");
        decodeRle(b, static_cast<size_t>(pixelStart), static_cast<size_t>(h.sizeImage ? h.sizeImage : available),
                  h.compression == kBmpRle4, img);
    } else {
        const uint64_t stride = (uint64_t{w} * bpp + 31) / 32 * 4;
        if (!b.has(pixelStart, stride * rows)) return fail(error, "the pixel data is truncated");
        img.Pixels.assign(count, 0);
        Channel red, green, blue, alpha;
        if (bpp == 16 || (bpp == 32 && h.compression == kBmpBitfields)) {
            if (h.compression == kBmpBitfields) {
                red = Channel(h.masks[0]); green = Channel(h.masks[1]); blue = Channel(h.masks[2]); alpha = Channel(h.masks[3]);
            } else {
                red = Channel(0x7C00); green = Channel(0x03E0); blue = Channel(0x001F);
            }
        }
        for (size_t r = 0; r < rows; ++r) {
            const size_t y = img.TopDown ? r : rows - 1 - r;
            const uint8_t* row = b.at(static_cast<size_t>(pixelStart + r * stride));
            uint32_t* out = &img.Pixels[y * w];
            switch (bpp) {
            case 1: case 4: case 8: {
                uint8_t* idx = &img.Indices[y * w];
                for (size_t x = 0; x < w; ++x) {
                    if (bpp == 8) idx[x] = row[x];
                    else if (bpp == 4) idx[x] = (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
                    else idx[x] = (row[x / 8] >> (7 - x % 8)) & 1;
                }
                break;
            }
            case 16:
                for (size_t x = 0; x < w; ++x) {
                    const uint32_t v = static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
                    out[x] = (alpha.extract(v) << 24) | (red.extract(v) << 16) | (green.extract(v) << 8) | blue.extract(v);
                }
                break;
            case 24:
                for (size_t x = 0; x < w; ++x)
                    out[x] = (uint32_t{row[3 * x + 2]} << 16) | (uint32_t{row[3 * x + 1]} << 8) | row[3 * x];
                break;
            case 32:
                for (size_t x = 0; x < w; ++x) {
                    const uint32_t v = uint32_t{row[4 * x]} | (uint32_t{row[4 * x + 1]} << 8) |
                                       (uint32_t{row[4 * x + 2]} << 16) | (uint32_t{row[4 * x + 3]} << 24);
                    out[x] = h.compression == kBmpBitfields
                                 ? (alpha.extract(v) << 24) | (red.extract(v) << 16) | (green.extract(v) << 8) | blue.extract(v)
                                 : v;
                }
                break;
            }
        }
    }
    if (bpp <= 8) {
        img.Pixels.resize(count);
        for (size_t i = 0; i < count; ++i) img.Pixels[i] = img.Palette[img.Indices[i]];
    }
    return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, BmpImage& out, std::string& error, const BmpLimits& limits) {
    out = BmpImage();
    const Bytes b(data, data ? size : 0);
    if (!b.has(0, kFileHeaderSize)) return fail(error, "the file header is truncated");
    if (b.u8(0) != 'B' || b.u8(1) != 'M') return fail(error, "the data is not a bitmap file");
    return decodeDib(b, kFileHeaderSize, true, b.u32(10), out, error, limits);
}

bool DecodeDib(const uint8_t* data, size_t size, BmpImage& out, std::string& error, const BmpLimits& limits) {
    out = BmpImage();
    const Bytes b(data, data ? size : 0);
    return decodeDib(b, 0, false, 0, out, error, limits);
}
