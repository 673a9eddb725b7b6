// Bitmaps of the class library: TBitmap, a picture held in a DIB section (so its pixels
// can be read and written in place) with a canvas on a memory DC, loaded from BMP data
// and bitmap resources.  Decoding the bytes is BmpDecode's job; image lists are in
// ImgList.h.
//
// Types: TPixelFormat, EInvalidGraphic, TBitmapCanvas, TBitmap.
#pragma once
#include <windows.h>

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "Handles.h"

// Pixel layout of a bitmap.  pfDevice is the format of a bitmap nobody asked a format
// for; it is held as 32 bits per pixel (B, G, R, unused), like pf32bit.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

// Raised for picture data that cannot be read (damaged or unsupported BMP data, a
// missing bitmap resource) and for pixel access outside the picture.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TBitmap;
struct BmpImage;

// The canvas of a bitmap: a memory DC with the bitmap selected, made on first use and
// given up whenever the bitmap's handle changes (the font, brush and pen stay).
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override;
    TBitmapCanvas(const TBitmapCanvas&) = delete;
    TBitmapCanvas& operator=(const TBitmapCanvas&) = delete;

    // Deselects the bitmap and deletes the DC; the next drawing call makes a new one.
    void FreeContext();
    // Stretch mode of the DC, applied again to every DC the canvas makes (0: leave the
    // platform's default).
    void SetStretchMode(int mode);

protected:
    void CreateHandle() override;

private:
    TBitmap& bitmap_;
    UniqueMemDC memDc_;
    HGDIOBJ oldBitmap_ = nullptr;
    int stretchMode_ = 0;
};

class TBitmap : public TGraphic {
    CLASS_INFO(TBitmap)
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !handle_ || width_ <= 0 || height_ <= 0; }
    // A new size keeps the picture where old and new overlap; new area is white.
    // Negative sizes count as 0; 0 x anything leaves the bitmap empty.  Raises Exception
    // when the platform cannot make a bitmap of that size.
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return format_; }
    // Converts the pixels; the picture stays (colours are matched to the nearest entry of
    // a standard palette when going to fewer bits).
    void SetPixelFormat(TPixelFormat format);
    int BitsPerPixel() const;
    // Colour table of 1-, 4- and 8-bit bitmaps (RGBQUAD entries); empty for the others.
    const std::vector<RGBQUAD>& Palette() const { return palette_; }

    TBitmapCanvas& Canvas();
    // The DIB section, owned by the bitmap (nullptr when empty).  It stays selected into
    // the canvas's DC: call FreeContext before handing it to an API that selects it into
    // a DC of its own.
    HBITMAP Handle() const { return handle_.get(); }
    // Takes ownership of a bitmap: its picture is copied into a DIB section of the same
    // depth (1, 4, 8, 24 bits; other DIB sections 32 bits; device bitmaps pfDevice) and
    // the bitmap is deleted.  Raises EInvalidGraphic for a handle that is no bitmap.
    void SetHandle(HBITMAP bitmap);
    // Gives up the DIB section to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    void FreeContext();
    // Frees the picture; the bitmap becomes empty (format kept).
    void Clear();

    // Copies another TBitmap: size, format, colour table, pixels and transparency.
    void Assign(const TPersistent& source) override;

    // Row y counted from the top, whatever the orientation of the DIB.  Raises
    // EInvalidGraphic for a row outside the picture.  Rows hold BitsPerPixel bits per
    // pixel (pfDevice: 32), B, G, R order, high bits first in 1- and 4-bit rows.
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    int BytesPerScanLine() const { return stride_; }

    // One pixel as a COLORREF (colour-table entries resolved); CLR_INVALID outside.
    COLORREF PixelColor(int x, int y) const;
    // Sets a pixel to a colour (the nearest colour-table entry for indexed formats);
    // nothing outside the picture.
    void SetPixelColor(int x, int y, COLORREF colour);
    // One pixel as stored: the colour index (1-8 bits) or the B, G, R(, X) bytes as a
    // little-endian number.  0 outside the picture.
    uint32_t RawPixel(int x, int y) const;
    void SetRawPixel(int x, int y, uint32_t value);

    // BMP data.  Damaged or unsupported data raises EInvalidGraphic and leaves the bitmap
    // as it was.  The pixel format follows the file: 1, 4, 8, 24 or 32 bits; 16-bit files
    // become pf24bit.
    void LoadFromBytes(const uint8_t* data, size_t size);
    void LoadFromBytes(const std::vector<uint8_t>& data) { LoadFromBytes(data.data(), data.size()); }
    // Reads the rest of the stream (at most 512 MB) and loads it as BMP data.
    void LoadFromStream(std::istream& stream);
    // A BMP file image of the bitmap (bottom-up rows; pfDevice saved as 32 bits).
    std::vector<uint8_t> SaveToBytes() const;
    // The RT_BITMAP resource `name` of a module; raises EInvalidGraphic when missing.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);

    // Stretches the picture into rect on the canvas with the canvas's CopyMode, or keyed
    // on TransparentColor when Transparent.
    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    // The colour left out when Transparent: the one set, or else the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor colour) { transparentColor_ = colour; }

private:
    friend class TBitmapCanvas;
    struct Dib;
    static Dib makeDib(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette);
    void adopt(Dib&& dib, TPixelFormat format);
    void loadImage(const BmpImage& image);
    uint8_t* row(int y) const;

    UniqueBitmap handle_;
    uint8_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    bool bottomUp_ = true;
    TPixelFormat format_ = pfDevice;
    std::vector<RGBQUAD> palette_;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
    std::unique_ptr<TBitmapCanvas> canvas_;
};
