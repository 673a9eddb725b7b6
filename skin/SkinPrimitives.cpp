// Skin-part rendering, tiling, colour-keyed drawing and regions from bitmaps.  Text,
// platform flags, the control lookup and the shared bitmap are in
// SkinPrimitivesPlatform.cpp.
#include "SkinPrimitives.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

bool reversed(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Where cell `cell` of a strip lies in the image; empty when the image has no room for
// even one pixel per cell.
struct Cell {
    int x0 = 0, y0 = 0, cw = 0, ch = 0;
    bool empty() const { return cw <= 0 || ch <= 0; }
};

Cell cellOf(const TBitmap& image, StripAxis axis, int cells, int cell) {
    Cell c;
    if (image.Empty()) return c;
    cells = std::max(cells, 1);
    cell = std::clamp(cell, 1, cells);
    if (axis == StripAxis::Horizontal) {
        c.cw = image.Width() / cells;
        c.ch = image.Height();
        c.x0 = (cell - 1) * c.cw;
    } else {
        c.cw = image.Width();
        c.ch = image.Height() / cells;
        c.y0 = (cell - 1) * c.ch;
    }
    return c;
}

// Margins never reach outside the cell, so no source rectangle runs backwards or into
// the next cell.
TSkinMargins marginsInside(const TSkinMargins& m, const Cell& c) {
    TSkinMargins r;
    r.Left = std::clamp(m.Left, 0, c.cw);
    r.Right = std::clamp(m.Right, 0, c.cw - r.Left);
    r.Top = std::clamp(m.Top, 0, c.ch);
    r.Bottom = std::clamp(m.Bottom, 0, c.ch - r.Top);
    return r;
}


// Stretching copy of source rectangle (l, t, r, b) to destination rectangle; nothing
// when either is empty.
void stretch(HDC dst, int dl, int dt, int dr, int db, HDC src, int sl, int st, int sr, int sb) {
    if (dr <= dl || db <= dt || sr <= sl || sb <= st) return;
    StretchBlt(dst, dl, dt, dr - dl, db - dt, src, sl, st, sr - sl, sb - st, SRCCOPY);
}

// The finished scratch bitmap onto the target, opaque or keyed.
void put(HDC dc, const RECT& rect, TBitmap& b, Keying keying) {
    if (b.Empty()) return;
    if (keying == Keying::Magenta) {
        DrawTransparentBitmap(dc, rect, b, kSkinKeyColour);
    } else if (HDC src = b.Canvas().Handle()) {
        BitBlt(dc, rect.left, rect.top, b.Width(), b.Height(), src, 0, 0, SRCCOPY);
    }
}

// A 1-bit mask of the bitmap's top-left w x h pixels: set where the pixel is `key`.
// Rows of a monochrome bitmap made by CreateBitmap are padded to 16 bits.
UniqueBitmap keyMask(TBitmap& bitmap, int w, int h, COLORREF key) {
    const size_t stride = static_cast<size_t>((w + 15) / 16) * 2;
    std::vector<uint8_t> bits(stride * static_cast<size_t>(h), 0);
    const int bpp = bitmap.BitsPerPixel();
    const uint8_t kr = GetRValue(key), kg = GetGValue(key), kb = GetBValue(key);
    for (int y = 0; y < h; ++y) {
        uint8_t* out = &bits[stride * static_cast<size_t>(y)];
        const uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            bool isKey;
            if (bpp >= 24) {
                const uint8_t* p = row + x * (bpp / 8);
                isKey = p[0] == kb && p[1] == kg && p[2] == kr;
            } else {
                isKey = bitmap.PixelColor(x, y) == key;
            }
            if (isKey) out[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return UniqueBitmap(CreateBitmap(w, h, 1, 1, bits.data()));
}

// The primitives' scratch bitmaps stretch colour on colour.
std::unique_ptr<TBitmap> surface(int w, int h) {
    std::unique_ptr<TBitmap> b = ScratchBitmap(w, h);
    if (!b->Empty()) b->Canvas().SetStretchMode(COLORONCOLOR);
    return b;
}

}  // namespace

std::unique_ptr<TBitmap> ScratchBitmap(int w, int h) {
    auto b = std::make_unique<TBitmap>();
    if (w <= 0 || h <= 0) return b;
    try {
        b->SetSize(w, h);
    } catch (const Exception&) {
        b->Clear();
    }
    return b;
}

std::unique_ptr<TBitmap> RenderSkinPart(const RECT& size, TBitmap& image, const TSkinMargins& margins, StripAxis axis,
                                        CentreFill fill, int cells, int cell) {
    const int W = size.right - size.left, H = size.bottom - size.top;
    std::unique_ptr<TBitmap> out = surface(W, H);
    const Cell c = cellOf(image, axis, cells, cell);
    if (out->Empty() || c.empty()) return out;
    TSkinMargins m = marginsInside(margins, c);
    if (W < m.Left + m.Right) m.Left = m.Right = 0;
    if (H < m.Top + m.Bottom) m.Top = m.Bottom = 0;
    HDC dst = out->Canvas().Handle();
    HDC src = image.Canvas().Handle();
    if (!dst || !src) return out;
    const int l = m.Left, t = m.Top, r = m.Right, b = m.Bottom;
    const int x0 = c.x0, y0 = c.y0, cw = c.cw, ch = c.ch;
    // Corners and edges first, then the centre, then the pieces that cover whatever a
    // tiled centre draws past its right and bottom edges.
    stretch(dst, 0, 0, l, t, src, x0, y0, x0 + l, y0 + t);
    stretch(dst, 0, H - b, l, H, src, x0, y0 + ch - b, x0 + l, y0 + ch);
    stretch(dst, W - r, 0, W, t, src, x0 + cw - r, y0, x0 + cw, y0 + t);
    stretch(dst, 0, t, l, H - b, src, x0, y0 + t, x0 + l, y0 + ch - b);
    stretch(dst, l, 0, W - r, t, src, x0 + l, y0, x0 + cw - r, y0 + t);
    if (fill == CentreFill::Tile) {
        TileBitmap(out->Canvas(), RECT{l, t, W - r, H - b}, image, RECT{x0 + l, y0 + t, x0 + cw - r, y0 + ch - b});
    } else {
        stretch(dst, l, t, W - r, H - b, src, x0 + l, y0 + t, x0 + cw - r, y0 + ch - b);
    }
    stretch(dst, W - r, H - b, W, H, src, x0 + cw - r, y0 + ch - b, x0 + cw, y0 + ch);
    stretch(dst, W - r, t, W, H - b, src, x0 + cw - r, y0 + t, x0 + cw, y0 + ch - b);
    stretch(dst, l, H - b, W - r, H, src, x0 + l, y0 + ch - b, x0 + cw - r, y0 + ch);
    return out;
}

void DrawSkinPart(HDC dc, const RECT& rect, TBitmap& image, StripAxis axis, CentreFill fill, Keying keying, int cells,
                  int cell, const TSkinMargins& margins) {
    if (!dc || reversed(rect) || image.Empty()) return;
    std::unique_ptr<TBitmap> part = RenderSkinPart(rect, image, margins, axis, fill, cells, cell);
    put(dc, rect, *part, keying);
}

void DrawSkinPartH(TCanvas& canvas, const RECT& rect, TBitmap& image, StripAxis axis, Keying keying, int cells, int cell,
                   const TSkinMargins& margins) {
    if (reversed(rect) || image.Empty()) return;
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    const Cell c = cellOf(image, axis, cells, cell);
    if (c.empty()) return;
    std::unique_ptr<TBitmap> bar = surface(W, H);
    if (bar->Empty()) return;
    const TSkinMargins m = marginsInside(margins, c);
    HDC dst = bar->Canvas().Handle();
    HDC src = image.Canvas().Handle();
    HDC target = canvas.Handle();
    if (!dst || !src || !target) return;
    const int l = m.Left, r = m.Right;
    stretch(dst, 0, 0, l, H, src, c.x0, c.y0, c.x0 + l, c.y0 + c.ch);
    const int middle = c.cw - l - r;
    if (middle > 0)
        for (int64_t x = l; x < W - r; x += middle)
            stretch(dst, static_cast<int>(x), 0, static_cast<int>(x + middle), H, src, c.x0 + l, c.y0, c.x0 + l + middle,
                    c.y0 + c.ch);
    stretch(dst, W - r, 0, W, H, src, c.x0 + c.cw - r, c.y0, c.x0 + c.cw, c.y0 + c.ch);
    put(target, rect, *bar, keying);
}

void DrawStripCellStretched(HDC dc, const RECT& rect, TBitmap& image, Keying keying, int cells, int cell) {
    if (!dc || reversed(rect) || image.Empty()) return;
    const Cell c = cellOf(image, StripAxis::Horizontal, cells, cell);
    if (c.empty()) return;
    std::unique_ptr<TBitmap> b = surface(rect.right - rect.left, rect.bottom - rect.top);
    if (b->Empty()) return;
    HDC dst = b->Canvas().Handle();
    HDC src = image.Canvas().Handle();
    if (!dst || !src) return;
    stretch(dst, 0, 0, b->Width(), b->Height(), src, c.x0, 0, c.x0 + c.cw, c.ch);
    put(dc, rect, *b, keying);
}

void DrawStripCellCentered(HDC dc, const RECT& rect, TBitmap& image, Keying keying, int cells, int cell) {
    if (!dc || reversed(rect) || image.Empty()) return;
    const Cell c = cellOf(image, StripAxis::Horizontal, cells, cell);
    if (c.empty()) return;
    std::unique_ptr<TBitmap> b = surface(c.cw, c.ch);
    if (b->Empty()) return;
    HDC dst = b->Canvas().Handle();
    HDC src = image.Canvas().Handle();
    if (!dst || !src) return;
    BitBlt(dst, 0, 0, c.cw, c.ch, src, c.x0, 0, SRCCOPY);
    // Division truncates toward zero: a cell wider than rect starts left of it.
    const int x = rect.left + (rect.right - rect.left - c.cw) / 2;
    const int y = rect.top + (rect.bottom - rect.top - c.ch) / 2;
    put(dc, RECT{x, y, x + c.cw, y + c.ch}, *b, keying);
}

void StretchSkinPart(HDC dc, const RECT& rect, TBitmap& image, const TSkinMargins& margins, StripAxis axis, int cells,
                     int cell) {
    if (!dc || reversed(rect) || image.Empty()) return;
    const Cell c = cellOf(image, axis, cells, cell);
    if (c.empty()) return;
    HDC src = image.Canvas().Handle();
    if (!src) return;
    const TSkinMargins m = marginsInside(margins, c);
    const int W = rect.right - rect.left;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    if (W >= c.cw) {
        const int l = m.Left, r = m.Right;
        stretch(dc, rect.left, rect.top, rect.left + l, rect.bottom, src, c.x0, c.y0, c.x0 + l, c.y0 + c.ch);
        stretch(dc, rect.left + l, rect.top, rect.right - r, rect.bottom, src, c.x0 + l, c.y0, c.x0 + c.cw - r,
                c.y0 + c.ch);
        stretch(dc, rect.right - r, rect.top, rect.right, rect.bottom, src, c.x0 + c.cw - r, c.y0, c.x0 + c.cw,
                c.y0 + c.ch);
    } else {
        stretch(dc, rect.left, rect.top, rect.right, rect.bottom, src, c.x0, c.y0, c.x0 + c.cw, c.y0 + c.ch);
    }
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

void TileBitmap(TCanvas& canvas, const RECT& dest, TBitmap& image, const RECT& source) {
    if (source.right - source.left <= 0 || source.bottom - source.top <= 0 || image.Empty()) return;
    // Only what the image holds can be repeated.
    RECT s{std::max<LONG>(source.left, 0), std::max<LONG>(source.top, 0), std::min<LONG>(source.right, image.Width()),
           std::min<LONG>(source.bottom, image.Height())};
    const int w = s.right - s.left, h = s.bottom - s.top;
    if (w <= 0 || h <= 0 || dest.right <= dest.left || dest.bottom <= dest.top) return;
    HDC dc = canvas.Handle();
    if (!dc) return;
    // Tiles wholly outside the clip box would not show: start at the first column and row
    // that reaches into it, on the same grid.
    int64_t firstX = dest.left, firstY = dest.top, endX = dest.right, endY = dest.bottom;
    RECT clip{};
    const int clipKind = GetClipBox(dc, &clip);
    if (clipKind == NULLREGION) return;
    if (clipKind != ERROR) {
        if (clip.left > dest.left) firstX += (int64_t{clip.left} - dest.left) / w * w;
        if (clip.top > dest.top) firstY += (int64_t{clip.top} - dest.top) / h * h;
        endX = std::min<int64_t>(endX, clip.right);
        endY = std::min<int64_t>(endY, clip.bottom);
    }
    std::unique_ptr<TBitmap> tile = surface(w, h);
    if (tile->Empty()) return;
    tile->Canvas().CopyRect(RECT{0, 0, w, h}, image.Canvas(), s);
    for (int64_t x = firstX; x < endX; x += w)
        for (int64_t y = firstY; y < endY; y += h) canvas.Draw(static_cast<int>(x), static_cast<int>(y), *tile);
}

namespace {

// The w x h top-left pixels of src at (x, y) where the mask is black; white mask pixels
// (the key colour) leave the target alone.
void drawMasked(HDC dc, int x, int y, int w, int h, HDC src, HBITMAP mask) {
    if (SkinIsNT) {
        MaskBlt(dc, x, y, w, h, src, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
        return;
    }
    UniqueMemDC maskDc(CreateCompatibleDC(nullptr));
    if (!maskDc) return;
    SelectGuard selectMask(maskDc.get(), mask);
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

}  // namespace

void DrawTransparentBitmap(HDC dc, const RECT& rect, TBitmap& bitmap, TColor key) {
    if (!dc || reversed(rect) || bitmap.Empty()) return;
    const int w = std::min<int>(rect.right - rect.left, bitmap.Width());
    const int h = std::min<int>(rect.bottom - rect.top, bitmap.Height());
    if (w <= 0 || h <= 0) return;
    UniqueBitmap mask = keyMask(bitmap, w, h, ColorToRGB(key));
    HDC src = bitmap.Canvas().Handle();
    if (!mask || !src) return;
    drawMasked(dc, rect.left, rect.top, w, h, src, mask.get());
}

TKeyedPicture RenderStripCellKeyed(TBitmap& image, int cells, int cell, int w, int h) {
    TKeyedPicture keyed;
    const Cell c = cellOf(image, StripAxis::Horizontal, cells, cell);
    if (c.empty() || w <= 0 || h <= 0) return keyed;
    keyed.picture = surface(w, h);
    HDC dst = keyed.picture->Empty() ? nullptr : keyed.picture->Canvas().Handle();
    HDC src = image.Canvas().Handle();
    if (!dst || !src) return keyed;
    stretch(dst, 0, 0, w, h, src, c.x0, 0, c.x0 + c.cw, c.ch);
    keyed.mask = keyMask(*keyed.picture, w, h, ColorToRGB(kSkinKeyColour));
    // The key pixels turn black, so that drawing is the mask ANDed in and the picture
    // ORed over it: two plain blits, no raster operation the platform must emulate.
    if (keyed.mask) {
        UniqueMemDC maskDc(CreateCompatibleDC(nullptr));
        if (maskDc) {
            SelectGuard selectMask(maskDc.get(), keyed.mask.get());
            const COLORREF oldBack = SetBkColor(dst, RGB(255, 255, 255));
            const COLORREF oldText = SetTextColor(dst, RGB(0, 0, 0));
            BitBlt(dst, 0, 0, w, h, maskDc.get(), 0, 0, 0x00220326);  // DSna: picture AND NOT mask
            SetBkColor(dst, oldBack);
            SetTextColor(dst, oldText);
        } else {
            keyed.mask.reset();
        }
    }
    keyed.picture->Canvas().FreeContext();
    return keyed;
}

namespace {

// The memory DC that keyed pictures are blitted from.  Selecting a bitmap into it costs
// far less than making a DC for every blit (measured under Wine, where making and
// deleting two DCs took most of a caption button's paint).  The GUI thread only, like
// every painter.
HDC keyedSourceDc() {
    static UniqueMemDC dc(CreateCompatibleDC(nullptr));
    return dc.get();
}

}  // namespace

void DrawKeyedPicture(HDC dc, int x, int y, TKeyedPicture& picture) {
    if (!dc || picture.Empty()) return;
    picture.picture->Canvas().FreeContext();  // a bitmap is selected into one DC at a time
    HDC src = keyedSourceDc();
    if (!src || !picture.picture->Handle()) return;
    const int w = picture.picture->Width(), h = picture.picture->Height();
    // A monochrome source takes the target's text colour for 0 and its background colour
    // for 1: black where the picture shows, white (kept) at the key.
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    {
        SelectGuard selectMask(src, picture.mask.get());
        BitBlt(dc, x, y, w, h, src, 0, 0, SRCAND);
    }
    {
        SelectGuard selectPicture(src, picture.picture->Handle());
        BitBlt(dc, x, y, w, h, src, 0, 0, SRCPAINT);
    }
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

HRGN CreateRegionFromBitmap(TBitmap& bitmap, int dx, int dy, int redTolerance, int greenTolerance, int blueTolerance,
                            TColor key) {
    if (bitmap.Empty()) return CreateRectRgn(0, 0, 0, 0);
    bitmap.SetPixelFormat(pf32bit);
    const COLORREF k = ColorToRGB(key);
    const int loR = GetRValue(k), loG = GetGValue(k), loB = GetBValue(k);
    const int hiR = std::min(255, loR + redTolerance), hiG = std::min(255, loG + greenTolerance),
              hiB = std::min(255, loB + blueTolerance);

    // Rectangles are collected in batches; each full batch becomes one region that is
    // merged into the result, which keeps both the buffer and the merge count small.
    constexpr size_t kBatch = 2000;
    std::vector<RECT> rects;
    rects.reserve(500);
    HRGN result = nullptr;
    auto flush = [&]() {
        if (rects.empty() && result) return;
        std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(rects.size());
        header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
        header.rcBound = RECT{0, 0, 0, 0};
        if (!rects.empty()) {
            header.rcBound = RECT{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
            for (const RECT& r : rects) {
                header.rcBound.left = std::min(header.rcBound.left, r.left);
                header.rcBound.top = std::min(header.rcBound.top, r.top);
                header.rcBound.right = std::max(header.rcBound.right, r.right);
                header.rcBound.bottom = std::max(header.rcBound.bottom, r.bottom);
            }
        }
        std::copy_n(reinterpret_cast<const uint8_t*>(&header), sizeof header, buffer.begin());
        if (!rects.empty())
            std::copy_n(reinterpret_cast<const uint8_t*>(rects.data()), rects.size() * sizeof(RECT),
                        buffer.begin() + sizeof header);
        HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), reinterpret_cast<const RGNDATA*>(buffer.data()));
        if (!result) {
            result = part;
        } else if (part) {
            CombineRgn(result, result, part, RGN_OR);
            DeleteObject(part);
        }
        rects.clear();
    };

    const int w = bitmap.Width(), h = bitmap.Height();
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        int runStart = -1;
        for (int x = 0; x <= w; ++x) {
            bool transparent = true;  // the end of the row ends a run like a key pixel
            if (x < w) {
                const uint8_t* p = row + 4 * x;
                transparent = p[2] >= loR && p[2] <= hiR && p[1] >= loG && p[1] <= hiG && p[0] >= loB && p[0] <= hiB;
            }
            if (!transparent && runStart < 0) {
                runStart = x;
            } else if (transparent && runStart >= 0) {
                rects.push_back(RECT{runStart + dx, y + dy, x + dx, y + dy + 1});
                runStart = -1;
                if (rects.size() == kBatch) flush();
            }
        }
    }
    flush();
    if (!result) result = CreateRectRgn(0, 0, 0, 0);
    return result;
}
