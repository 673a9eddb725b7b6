#include "Bitmap.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <unordered_map>

#include "BmpDecode.h"

// Pixels travel inside this file as 0x00RRGGBB ("rgb"), the layout of a 24- or 32-bit
// DIB pixel read as a little-endian number; COLORREF (0x00BBGGRR) appears only at the
// public edges.

namespace {

int bitsOf(TPixelFormat f) {
    switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf24bit: return 24;
    default: return 32;  // pf32bit and pfDevice
    }
}

uint32_t rgbOf(const RGBQUAD& q) { return (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue; }
RGBQUAD quadOf(uint32_t rgb) {
    RGBQUAD q{};
    q.rgbRed = static_cast<BYTE>(rgb >> 16);
    q.rgbGreen = static_cast<BYTE>(rgb >> 8);
    q.rgbBlue = static_cast<BYTE>(rgb);
    return q;
}
uint32_t rgbFromColorRef(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }
COLORREF colorRefFromRgb(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

uint32_t readRaw(const uint8_t* row, int x, int bpp) {
    switch (bpp) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1u;
    case 4: return (x & 1) ? (row[x / 2] & 0x0Fu) : (row[x / 2] >> 4);
    case 8: return row[x];
    case 24: return uint32_t{row[3 * x]} | (uint32_t{row[3 * x + 1]} << 8) | (uint32_t{row[3 * x + 2]} << 16);
    default: {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v;
    }
    }
}

void writeRaw(uint8_t* row, int x, int bpp, uint32_t v) {
    switch (bpp) {
    case 1: {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
        row[x / 8] = static_cast<uint8_t>((v & 1) ? (row[x / 8] | bit) : (row[x / 8] & ~bit));
        break;
    }
    case 4:
        row[x / 2] = static_cast<uint8_t>((x & 1) ? ((row[x / 2] & 0xF0) | (v & 0x0F)) : ((row[x / 2] & 0x0F) | ((v & 0x0F) << 4)));
        break;
    case 8: row[x] = static_cast<uint8_t>(v); break;
    case 24:
        row[3 * x] = static_cast<uint8_t>(v);
        row[3 * x + 1] = static_cast<uint8_t>(v >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(v >> 16);
        break;
    default: std::memcpy(row + 4 * x, &v, 4); break;
    }
}

// Colour tables used when a picture is converted to an indexed format without one of its
// own: black and white; the 16 colours of the standard VGA palette; those 16, a 6 x 6 x 6
// colour cube and 24 greys.
std::vector<RGBQUAD> standardPalette(int bpp) {
    static const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                     0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<RGBQUAD> p;
    if (bpp == 1) {
        p = {quadOf(0x000000), quadOf(0xFFFFFF)};
    } else if (bpp == 4) {
        for (uint32_t c : vga) p.push_back(quadOf(c));
    } else if (bpp == 8) {
        for (uint32_t c : vga) p.push_back(quadOf(c));
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) p.push_back(quadOf((uint32_t(r * 51) << 16) | (uint32_t(g * 51) << 8) | uint32_t(b * 51)));
        for (int i = 0; i < 24; ++i) {
            const uint32_t v = static_cast<uint32_t>(8 + i * 10);
            p.push_back(quadOf((v << 16) | (v << 8) | v));
        }
    }
    return p;
}

// Nearest colour-table entry, remembered per colour for the length of one conversion.
class NearestIndex {
public:
    explicit NearestIndex(const std::vector<RGBQUAD>& palette) : palette_(palette) {}
    uint32_t operator()(uint32_t rgb) {
        auto it = cache_.find(rgb);
        if (it != cache_.end()) return it->second;
        uint32_t best = 0;
        int bestDistance = -1;
        const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        for (size_t i = 0; i < palette_.size(); ++i) {
            const int dr = r - palette_[i].rgbRed, dg = g - palette_[i].rgbGreen, db = b - palette_[i].rgbBlue;
            const int d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) { bestDistance = d; best = static_cast<uint32_t>(i); }
            if (d == 0) break;
        }
        cache_.emplace(rgb, best);
        return best;
    }

private:
    const std::vector<RGBQUAD>& palette_;
    std::unordered_map<uint32_t, uint32_t> cache_;
};

constexpr size_t kMaxStreamBytes = size_t{512} << 20;

}  // namespace

// ---- TBitmapCanvas ------------------------------------------------------------------

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle() {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    memDc_.reset(dc);
    if (bitmap_.handle_) oldBitmap_ = SelectObject(dc, bitmap_.handle_.get());
    if (stretchMode_) SetStretchBltMode(dc, stretchMode_);
    SetHandle(dc);
}

void TBitmapCanvas::FreeContext() {
    if (!memDc_) return;
    SetHandle(nullptr);
    if (oldBitmap_) SelectObject(memDc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    memDc_.reset();
}

void TBitmapCanvas::SetStretchMode(int mode) {
    stretchMode_ = mode;
    if (memDc_ && mode) SetStretchBltMode(memDc_.get(), mode);
}

// ---- TBitmap ------------------------------------------------------------------------

struct TBitmap::Dib {
    UniqueBitmap handle;
    uint8_t* bits = nullptr;
    int width = 0, height = 0, stride = 0;
    bool bottomUp = true;
    std::vector<RGBQUAD> palette;

    uint8_t* row(int y) const { return bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * static_cast<size_t>(stride); }
};

const TClassInfo& TBitmap::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TBitmap>("TBitmap", &TPersistent::StaticClassInfo(), [](TClassBuilder<TBitmap>& b) {
        // A stored picture (a button's glyph) is the bytes of a BMP file.
        b.Binary("Data", [](TBitmap& x) { return x.Empty() ? TBytes() : x.SaveToBytes(); },
                 [](TBitmap& x, const TBytes& v) { x.LoadFromBytes(v); });
    });
    return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    canvas_.reset();  // the DC lets go of the bitmap before the bitmap is deleted
}

int TBitmap::BitsPerPixel() const { return bitsOf(format_); }

TBitmap::Dib TBitmap::makeDib(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette) {
    const int bpp = bitsOf(format);
    Dib d;
    if (bpp <= 8) {
        d.palette = palette.empty() ? standardPalette(bpp) : palette;
        d.palette.resize(size_t{1} << bpp, RGBQUAD{});
    }
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + d.palette.size() * sizeof(RGBQUAD));
    auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    bih->biSize = sizeof(BITMAPINFOHEADER);
    bih->biWidth = width;
    bih->biHeight = height;
    bih->biPlanes = 1;
    bih->biBitCount = static_cast<WORD>(bpp);
    bih->biCompression = BI_RGB;
    bih->biClrUsed = static_cast<DWORD>(d.palette.size());
    if (!d.palette.empty()) std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), d.palette.data(), d.palette.size() * sizeof(RGBQUAD));
    void* bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!h || !bits) {
        if (h) DeleteObject(h);
        throw Exception("Cannot create a bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    }
    d.handle.reset(h);
    d.bits = static_cast<uint8_t*>(bits);
    d.width = width;
    d.height = height;
    d.stride = ((width * bpp + 31) / 32) * 4;
    return d;
}

void TBitmap::adopt(Dib&& dib, TPixelFormat format) {
    FreeContext();
    handle_ = std::move(dib.handle);
    bits_ = dib.bits;
    width_ = dib.width;
    height_ = dib.height;
    stride_ = dib.stride;
    bottomUp_ = dib.bottomUp;
    palette_ = std::move(dib.palette);
    format_ = format;
}

uint8_t* TBitmap::row(int y) const {
    return bits_ + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * static_cast<size_t>(stride_);
}

void TBitmap::FreeContext() {
    if (canvas_) canvas_->FreeContext();
}

void TBitmap::Clear() {
    FreeContext();
    handle_.reset();
    bits_ = nullptr;
    width_ = height_ = stride_ = 0;
    bottomUp_ = true;
    palette_.clear();
}

TBitmapCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return *canvas_;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_ && (handle_ || width == 0 || height == 0)) return;
    if (width == 0 || height == 0) {
        Clear();
        width_ = width;
        height_ = height;
        return;
    }
    Dib d = makeDib(width, height, format_, palette_);
    const int bpp = bitsOf(format_);
    const uint32_t white = bpp <= 8 ? NearestIndex(d.palette)(0xFFFFFF) : 0xFFFFFF;
    // One white row, copied to every row; then the old picture over the part they share.
    std::vector<uint8_t> whiteRow(static_cast<size_t>(d.stride), 0);
    for (int x = 0; x < width; ++x) writeRaw(whiteRow.data(), x, bpp, white);
    if (handle_) GdiFlush();
    const int keepWidth = handle_ ? std::min(width, width_) : 0;
    const size_t keepBytes = static_cast<size_t>(keepWidth) * static_cast<size_t>(bpp) / 8;
    for (int y = 0; y < height; ++y) {
        uint8_t* dst = d.row(y);
        std::memcpy(dst, whiteRow.data(), whiteRow.size());
        if (!handle_ || y >= height_) continue;
        const uint8_t* src = row(y);
        std::memcpy(dst, src, keepBytes);  // whole bytes; the pixels of a last partial byte follow
        for (int x = static_cast<int>(keepBytes * 8 / static_cast<size_t>(bpp)); x < keepWidth; ++x)
            writeRaw(dst, x, bpp, readRaw(src, x, bpp));
    }
    adopt(std::move(d), format_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    if (Empty()) {
        format_ = format;
        palette_.clear();
        return;
    }
    const int from = bitsOf(format_), to = bitsOf(format);
    // An indexed picture keeps its own colour table when the new depth has room for it.
    std::vector<RGBQUAD> palette;
    if (to <= 8 && from <= 8 && palette_.size() <= (size_t{1} << to)) palette = palette_;
    if (to <= 8 && from <= 8 && palette.empty()) {
        // Only the colours in use have to fit.
        std::vector<bool> used(palette_.size(), false);
        GdiFlush();
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) used[readRaw(row(y), x, from)] = true;
        std::vector<RGBQUAD> inUse;
        for (size_t i = 0; i < used.size(); ++i)
            if (used[i]) inUse.push_back(palette_[i]);
        if (inUse.size() <= (size_t{1} << to)) palette = inUse;
    }
    Dib d = makeDib(width_, height_, format, palette);
    NearestIndex nearest(d.palette);
    GdiFlush();
    if (from >= 24 && to >= 24) {
        // Direct colour both ways: bytes only (the fourth byte of 32-bit pixels is cleared).
        const int inStep = from / 8, outStep = to / 8;
        for (int y = 0; y < height_; ++y) {
            const uint8_t* src = row(y);
            uint8_t* dst = d.row(y);
            for (int x = 0; x < width_; ++x) {
                std::memcpy(dst + x * outStep, src + x * inStep, 3);
                if (outStep == 4) dst[x * 4 + 3] = 0;
            }
        }
        adopt(std::move(d), format);
        return;
    }
    for (int y = 0; y < height_; ++y) {
        const uint8_t* src = row(y);
        uint8_t* dst = d.row(y);
        for (int x = 0; x < width_; ++x) {
            const uint32_t raw = readRaw(src, x, from);
            const uint32_t rgb = from <= 8 ? rgbOf(palette_[raw]) : (raw & 0xFFFFFF);
            writeRaw(dst, x, to, to <= 8 ? nearest(rgb) : rgb);
        }
    }
    adopt(std::move(d), format);
}

void TBitmap::SetHandle(HBITMAP bitmap) {
    if (bitmap == handle_.get()) return;
    if (!bitmap) { Clear(); return; }
    UniqueBitmap owned(bitmap);
    // The pixels are read with GetDIBits rather than taken over in place: the platform
    // does not say reliably whether a DIB section it hands out stores its rows top-down.
    DIBSECTION ds{};
    const int got = GetObjectW(bitmap, sizeof ds, &ds);
    if (got < static_cast<int>(sizeof(BITMAP)) || ds.dsBm.bmWidth <= 0 || ds.dsBm.bmHeight <= 0)
        throw EInvalidGraphic("Invalid bitmap handle");
    const bool isDib = got == static_cast<int>(sizeof ds) && ds.dsBm.bmBits;
    TPixelFormat format = isDib ? pf32bit : pfDevice;
    if (isDib && ds.dsBmih.biCompression == BI_RGB) {
        switch (ds.dsBmih.biBitCount) {
        case 1: format = pf1bit; break;
        case 4: format = pf4bit; break;
        case 8: format = pf8bit; break;
        case 24: format = pf24bit; break;
        default: break;
        }
    }
    const int w = ds.dsBm.bmWidth, h = ds.dsBm.bmHeight, bpp = bitsOf(format);
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    bih->biSize = sizeof(BITMAPINFOHEADER);
    bih->biWidth = w;
    bih->biHeight = h;  // bottom-up, like every DIB this class makes
    bih->biPlanes = 1;
    bih->biBitCount = static_cast<WORD>(bpp);
    bih->biCompression = BI_RGB;
    const size_t stride = static_cast<size_t>(((w * bpp + 31) / 32) * 4);
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(h));
    HDC screen = GetDC(nullptr);
    const int rows = screen ? GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), pixels.data(),
                                        reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS)
                            : 0;
    if (screen) ReleaseDC(nullptr, screen);
    if (rows != h) throw EInvalidGraphic("Cannot read the pixels of the bitmap");
    std::vector<RGBQUAD> palette;
    if (bpp <= 8) {
        // GetDIBits filled in the bitmap's own colour table.
        const auto* table = reinterpret_cast<const RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
        palette.assign(table, table + (size_t{1} << bpp));
    }
    Dib d = makeDib(w, h, format, palette);
    for (int y = 0; y < h; ++y) std::memcpy(d.row(y), pixels.data() + static_cast<size_t>(h - 1 - y) * stride, stride);
    adopt(std::move(d), format);
}

HBITMAP TBitmap::ReleaseHandle() {
    FreeContext();
    HBITMAP h = handle_.release();
    Clear();
    return h;
}

void TBitmap::Assign(const TPersistent& source) {
    const auto* src = dynamic_cast<const TBitmap*>(&source);
    if (!src) { TPersistent::Assign(source); return; }
    if (src == this) return;
    transparent_ = src->transparent_;
    transparentColor_ = src->transparentColor_;
    if (src->Empty()) {
        Clear();
        width_ = src->width_;
        height_ = src->height_;
        format_ = src->format_;
        return;
    }
    Dib d = makeDib(src->width_, src->height_, src->format_, src->palette_);
    GdiFlush();
    const size_t bytes = static_cast<size_t>(std::min(d.stride, src->stride_));
    for (int y = 0; y < src->height_; ++y) std::memcpy(d.row(y), src->row(y), bytes);
    adopt(std::move(d), src->format_);
}

uint8_t* TBitmap::ScanLine(int y) {
    if (Empty() || y < 0 || y >= height_) throw EInvalidGraphic("Scan line index out of range");
    GdiFlush();
    return row(y);
}

const uint8_t* TBitmap::ScanLine(int y) const {
    if (Empty() || y < 0 || y >= height_) throw EInvalidGraphic("Scan line index out of range");
    GdiFlush();
    return row(y);
}

uint32_t TBitmap::RawPixel(int x, int y) const {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    GdiFlush();
    return readRaw(row(y), x, bitsOf(format_));
}

void TBitmap::SetRawPixel(int x, int y, uint32_t value) {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    GdiFlush();
    const int bpp = bitsOf(format_);
    if (bpp <= 8) value &= (1u << bpp) - 1;
    writeRaw(row(y), x, bpp, value);
}

COLORREF TBitmap::PixelColor(int x, int y) const {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const uint32_t raw = RawPixel(x, y);
    return colorRefFromRgb(bitsOf(format_) <= 8 ? rgbOf(palette_[raw]) : raw);
}

void TBitmap::SetPixelColor(int x, int y, COLORREF colour) {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const uint32_t rgb = rgbFromColorRef(colour);
    SetRawPixel(x, y, bitsOf(format_) <= 8 ? NearestIndex(palette_)(rgb) : rgb);
}

void TBitmap::LoadFromBytes(const uint8_t* data, size_t size) {
    BmpImage img;
    std::string error;
    if (!DecodeBmp(data, size, img, error)) throw EInvalidGraphic(error);
    loadImage(img);
}

void TBitmap::loadImage(const BmpImage& img) {
    TPixelFormat format = pf24bit;
    switch (img.BitCount) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 32: format = pf32bit; break;
    default: break;  // 16 and 24 bits
    }
    std::vector<RGBQUAD> palette;
    for (uint32_t c : img.Palette) palette.push_back(quadOf(c));
    Dib d = makeDib(img.Width, img.Height, format, palette);
    const int bpp = bitsOf(format);
    const size_t w = static_cast<size_t>(img.Width);
    for (int y = 0; y < img.Height; ++y) {
        uint8_t* dst = d.row(y);
        for (int x = 0; x < img.Width; ++x) {
            const size_t i = static_cast<size_t>(y) * w + static_cast<size_t>(x);
            writeRaw(dst, x, bpp, bpp <= 8 ? img.Indices[i] : bpp == 24 ? (img.Pixels[i] & 0xFFFFFF) : img.Pixels[i]);
        }
    }
    adopt(std::move(d), format);
}

void TBitmap::LoadFromStream(std::istream& stream) {
    std::vector<uint8_t> data;
    char chunk[65536];
    while (stream) {
        stream.read(chunk, sizeof chunk);
        const auto got = static_cast<size_t>(stream.gcount());
        if (data.size() + got > kMaxStreamBytes) throw EInvalidGraphic("Bitmap image is not valid: the data is too large");
        data.insert(data.end(), chunk, chunk + got);
        if (got == 0) break;
    }
    LoadFromBytes(data);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    HRSRC res = FindResourceA(instance, name.c_str(), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    HGLOBAL mem = res ? LoadResource(instance, res) : nullptr;
    const auto* data = mem ? static_cast<const uint8_t*>(LockResource(mem)) : nullptr;
    if (!data) throw EInvalidGraphic("Bitmap resource " + name + " not found");
    BmpImage img;
    std::string error;
    if (!DecodeDib(data, SizeofResource(instance, res), img, error)) throw EInvalidGraphic(error);
    loadImage(img);
}

std::vector<uint8_t> TBitmap::SaveToBytes() const {
    std::vector<uint8_t> out;
    if (Empty()) return out;
    const int bpp = bitsOf(format_);
    const uint32_t entries = bpp <= 8 ? (1u << bpp) : 0;
    const uint32_t offBits = 14 + 40 + entries * 4;
    const uint32_t imageSize = static_cast<uint32_t>(stride_) * static_cast<uint32_t>(height_);
    auto put16 = [&](uint32_t v) { out.push_back(static_cast<uint8_t>(v)); out.push_back(static_cast<uint8_t>(v >> 8)); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    out.reserve(offBits + imageSize);
    out.push_back('B');
    out.push_back('M');
    put32(offBits + imageSize);
    put32(0);
    put32(offBits);
    put32(40);
    put32(static_cast<uint32_t>(width_));
    put32(static_cast<uint32_t>(height_));
    put16(1);
    put16(static_cast<uint32_t>(bpp));
    put32(BI_RGB);
    put32(imageSize);
    put32(2835);
    put32(2835);
    put32(entries);
    put32(0);
    for (uint32_t i = 0; i < entries; ++i) {
        const RGBQUAD q = i < palette_.size() ? palette_[i] : RGBQUAD{};
        out.push_back(q.rgbBlue);
        out.push_back(q.rgbGreen);
        out.push_back(q.rgbRed);
        out.push_back(0);
    }
    GdiFlush();
    for (int y = height_ - 1; y >= 0; --y) {
        const uint8_t* r = row(y);
        out.insert(out.end(), r, r + stride_);
    }
    return out;
}

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clDefault || Empty()) return transparentColor_;
    return static_cast<TColor>(PixelColor(0, height_ - 1));
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) {
    if (Empty()) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    HDC dst = canvas.Handle();
    HDC src = Canvas().Handle();
    if (!dst || !src) return;
    if (transparent_) {
        TransparentBlt(dst, rect.left, rect.top, w, h, src, 0, 0, width_, height_, ColorToRGB(TransparentColor()));
        return;
    }
    SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, rect.left, rect.top, w, h, src, 0, 0, width_, height_, static_cast<DWORD>(canvas.CopyMode));
}
