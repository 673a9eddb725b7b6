// TBitmap on DIB sections: loading BMP data of every depth (and refusing damaged data),
// saving, resizing, pixel-format conversion, the canvas, handles and resources.
#include <gtest/gtest.h>

#include <sstream>

#include "Bitmap.h"
#include "BmpSamples.h"

using namespace bmpsamples;

namespace {

COLORREF ref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

TPixelFormat formatOf(int bpp) {
    switch (bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

void expectSample(const TBitmap& b, int bpp, int w, int h) {
    ASSERT_EQ(b.Width(), w);
    ASSERT_EQ(b.Height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(b.PixelColor(x, y), ref(SampleColour(x, y, bpp))) << x << "," << y;
}

void fill(TBitmap& b, COLORREF c) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.SetPixelColor(x, y, c);
}

}  // namespace

TEST(TBitmap, LoadFromBytes_EachDepthKeepsItsFormatAndPixels) {
    for (int bpp : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true}) {
            SCOPED_TRACE("bits " + std::to_string(bpp) + (topDown ? " top-down" : " bottom-up"));
            TBitmap b;
            b.LoadFromBytes(SampleBmp(bpp, topDown, 7, 3));
            EXPECT_EQ(b.PixelFormat(), formatOf(bpp));
            EXPECT_FALSE(b.Empty());
            EXPECT_NE(b.Handle(), nullptr);
            expectSample(b, bpp, 7, 3);
            if (bpp <= 8) {
                ASSERT_EQ(b.Palette().size(), size_t{1} << bpp);
                EXPECT_EQ(b.RawPixel(0, 0), SampleIndex(0, 0, bpp));
            }
        }
}

TEST(TBitmap, ScanLine_RowZeroIsTheTopRowInBothOrientations) {
    for (bool topDown : {false, true}) {
        TBitmap b;
        b.LoadFromBytes(SampleBmp(24, topDown, 4, 3));
        for (int y = 0; y < 3; ++y) {
            const uint8_t* row = b.ScanLine(y);
            const uint32_t c = SampleColour(1, y, 24);
            EXPECT_EQ(row[3], c & 0xFF);
            EXPECT_EQ(row[4], (c >> 8) & 0xFF);
            EXPECT_EQ(row[5], (c >> 16) & 0xFF);
        }
        EXPECT_THROW(b.ScanLine(3), EInvalidGraphic);
        EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);
    }
    TBitmap empty;
    EXPECT_THROW(empty.ScanLine(0), EInvalidGraphic);
}

TEST(TBitmap, LoadFromBytes_RunLengthAndBitFields) {
    TBitmap rle;
    rle.LoadFromBytes(BuildBmp(Rle8Spec()));
    EXPECT_EQ(rle.PixelFormat(), pf8bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(rle.PixelColor(x, y), ref(SamplePaletteColour(Rle8Index(x, y))));
    TBitmap rle4;
    rle4.LoadFromBytes(BuildBmp(Rle4Spec()));
    EXPECT_EQ(rle4.PixelFormat(), pf4bit);
    EXPECT_EQ(rle4.RawPixel(2, 0), 5u);
    TBitmap fields;
    fields.LoadFromBytes(BuildBmp(Bitfields565Spec()));
    EXPECT_EQ(fields.PixelFormat(), pf24bit);
    EXPECT_EQ(fields.PixelColor(0, 0), RGB(255, 0, 0));
}

TEST(TBitmap, LoadFromBytes_DamagedDataRaisesAndKeepsThePicture) {
    TBitmap b;
    b.LoadFromBytes(SampleBmp(8));
    std::vector<std::vector<uint8_t>> damaged;
    auto cut = SampleBmp(24);
    cut.resize(cut.size() - 1);
    damaged.push_back(cut);
    damaged.push_back(std::vector<uint8_t>{'B', 'M', 0, 0});
    auto notBm = SampleBmp(24);
    notBm[1] = 'X';
    damaged.push_back(notBm);
    BmpSpec s = SampleSpec(24);
    s.width = 0;
    damaged.push_back(BuildBmp(s));
    s = SampleSpec(24);
    s.width = 100000;
    damaged.push_back(BuildBmp(s));
    s = SampleSpec(8);
    s.colorsUsed = 300;
    damaged.push_back(BuildBmp(s));
    s = SampleSpec(24);
    s.compression = 4;
    damaged.push_back(BuildBmp(s));
    BmpSpec rle = Rle8Spec();
    rle.height = -3;
    damaged.push_back(BuildBmp(rle));
    for (size_t i = 0; i < damaged.size(); ++i) {
        EXPECT_THROW(b.LoadFromBytes(damaged[i]), EInvalidGraphic) << "case " << i;
        EXPECT_EQ(b.PixelFormat(), pf8bit) << "case " << i;
        expectSample(b, 8, 5, 3);
    }
    try {
        b.LoadFromBytes(damaged[0]);
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("truncated"), std::string::npos) << e.what();
    }
}

TEST(TBitmap, SaveToBytes_RoundTripsEveryFormat) {
    for (int bpp : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE("bits " + std::to_string(bpp));
        TBitmap a, b;
        a.LoadFromBytes(SampleBmp(bpp, true, 9, 4));
        b.LoadFromBytes(a.SaveToBytes());
        EXPECT_EQ(b.PixelFormat(), a.PixelFormat());
        expectSample(b, bpp, 9, 4);
    }
    TBitmap device;
    device.SetSize(3, 2);
    device.SetPixelColor(2, 1, RGB(1, 2, 3));
    TBitmap copy;
    copy.LoadFromBytes(device.SaveToBytes());
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_EQ(copy.PixelColor(2, 1), RGB(1, 2, 3));
    EXPECT_TRUE(TBitmap().SaveToBytes().empty());
}

TEST(TBitmap, LoadFromStream_ReadsToTheEnd) {
    const auto bytes = SampleBmp(4);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    TBitmap b;
    b.LoadFromStream(in);
    expectSample(b, 4, 5, 3);
}

TEST(TBitmap, SetSize_KeepsTheOverlapAndPaintsNewAreaWhite) {
    for (int bpp : {4, 24, 32}) {
        SCOPED_TRACE("bits " + std::to_string(bpp));
        TBitmap b;
        b.LoadFromBytes(SampleBmp(bpp, false, 5, 3));
        b.SetSize(7, 2);
        EXPECT_EQ(b.PixelFormat(), formatOf(bpp));
        // New area: white, or the colour-table entry nearest to it.
        const COLORREF white = bpp <= 8 ? b.PixelColor(6, 0) : RGB(255, 255, 255);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(b.PixelColor(x, y), x < 5 ? ref(SampleColour(x, y, bpp)) : white) << x << "," << y;
    }
    TBitmap b;
    b.SetSize(-4, 10);
    EXPECT_TRUE(b.Empty());
    b.SetWidth(3);
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(b.PixelFormat(), pfDevice);
    EXPECT_EQ(b.BitsPerPixel(), 32);
    EXPECT_EQ(b.PixelColor(2, 9), RGB(255, 255, 255));
    EXPECT_EQ(b.PixelColor(3, 9), CLR_INVALID);
}

TEST(TBitmap, SetPixelFormat_KeepsThePicture) {
    const COLORREF colours[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 255), RGB(255, 0, 0), RGB(0, 0, 255), RGB(128, 128, 128)};
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(6, 1);
    for (int x = 0; x < 6; ++x) b.SetPixelColor(x, 0, colours[x]);
    for (TPixelFormat f : {pf8bit, pf4bit, pf32bit, pf24bit}) {
        b.SetPixelFormat(f);
        EXPECT_EQ(b.PixelFormat(), f);
        for (int x = 0; x < 6; ++x) EXPECT_EQ(b.PixelColor(x, 0), colours[x]) << "format " << f << " x " << x;
    }
    b.SetPixelFormat(pf1bit);
    EXPECT_EQ(b.PixelColor(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(b.PixelColor(1, 0), RGB(255, 255, 255));
    // Indexed to indexed keeps the colours in use when the table has room for them.
    TBitmap four;
    four.LoadFromBytes(SampleBmp(4));
    four.SetPixelFormat(pf8bit);
    expectSample(four, 4, 5, 3);
    four.SetPixelFormat(pf4bit);
    expectSample(four, 4, 5, 3);
    TBitmap two;
    two.LoadFromBytes(SampleBmp(8, false, 2, 1));  // two colours in use
    two.SetPixelFormat(pf1bit);
    expectSample(two, 8, 2, 1);
}

TEST(TBitmap, Canvas_DrawsIntoThePixelsAndFollowsANewHandle) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(10, 10);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect(RECT{2, 2, 5, 5});
    EXPECT_EQ(b.PixelColor(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(b.PixelColor(6, 6), RGB(255, 255, 255));
    b.SetSize(20, 20);
    EXPECT_EQ(b.PixelColor(3, 3), RGB(255, 0, 0));
    b.Canvas().FillRect(RECT{15, 15, 18, 18});
    EXPECT_EQ(b.PixelColor(16, 16), RGB(255, 0, 0));
    b.LoadFromBytes(SampleBmp(32));
    b.Canvas().Brush().SetColor(clBlue);
    b.Canvas().FillRect(RECT{0, 0, 1, 1});
    EXPECT_EQ(b.PixelColor(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(b.PixelColor(1, 0), ref(SampleColour(1, 0, 32)));
}

TEST(TBitmap, Assign_CopiesSizeFormatPaletteAndPixels) {
    TBitmap a, b;
    a.LoadFromBytes(SampleBmp(4, false, 6, 2));
    a.SetTransparent(true);
    b.Assign(a);
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    EXPECT_TRUE(b.Transparent());
    expectSample(b, 4, 6, 2);
    b.SetRawPixel(0, 0, 9);
    EXPECT_EQ(a.RawPixel(0, 0), SampleIndex(0, 0, 4));
    TBitmap empty;
    b.Assign(empty);
    EXPECT_TRUE(b.Empty());
    TFont font;
    EXPECT_THROW(b.Assign(font), Exception);
}

TEST(TBitmap, ReleaseHandleAndSetHandle_MoveOwnership) {
    TBitmap a;
    a.LoadFromBytes(SampleBmp(24));
    a.Canvas().Handle();  // the bitmap is selected into the canvas DC
    HBITMAP h = a.ReleaseHandle();
    EXPECT_TRUE(a.Empty());
    ASSERT_NE(h, nullptr);
    TBitmap b;
    b.SetHandle(h);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    expectSample(b, 24, 5, 3);

    // A device bitmap is copied into a DIB section.
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 4, 3);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, ddb);
    RECT all{0, 0, 4, 3};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    SetPixel(dc, 3, 2, RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    TBitmap c;
    c.SetHandle(ddb);
    EXPECT_EQ(c.PixelFormat(), pfDevice);
    EXPECT_EQ(c.Width(), 4);
    EXPECT_EQ(c.PixelColor(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.PixelColor(3, 2), RGB(255, 0, 0));

    // A top-down 8-bit DIB section keeps its rows and colour table.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256];
    } info{};
    info.h.biSize = sizeof info.h;
    info.h.biWidth = 2;
    info.h.biHeight = -2;
    info.h.biPlanes = 1;
    info.h.biBitCount = 8;
    info.colours[1].rgbRed = 200;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    static_cast<uint8_t*>(bits)[0] = 1;  // first stored row is the top row
    TBitmap d;
    d.SetHandle(dib);
    EXPECT_EQ(d.PixelFormat(), pf8bit);
    EXPECT_EQ(d.PixelColor(0, 0), RGB(200, 0, 0));
    EXPECT_EQ(d.ScanLine(0)[0], 1);
}

TEST(TBitmap, LoadFromResourceName_ReadsTheProgramsBitmap) {
    TBitmap b;
    b.LoadFromResourceName(GetModuleHandleA(nullptr), "TRACK");
    EXPECT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Height(), 4);
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    const COLORREF S = RGB(0xC0, 0xC0, 0xC0), G = RGB(0x80, 0x80, 0x80), W = RGB(255, 255, 255);
    EXPECT_EQ(b.PixelColor(0, 0), S);
    EXPECT_EQ(b.PixelColor(2, 0), G);
    EXPECT_EQ(b.PixelColor(15, 0), W);
    EXPECT_EQ(b.PixelColor(0, 2), G);
    EXPECT_EQ(b.PixelColor(1, 2), S);
    EXPECT_EQ(b.PixelColor(2, 3), W);
    EXPECT_THROW(b.LoadFromResourceName(GetModuleHandleA(nullptr), "NO_SUCH_BITMAP"), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 16);
}

TEST(TBitmap, Draw_StretchesOrKeysTheTransparentColour) {
    TBitmap src;
    src.SetPixelFormat(pf24bit);
    src.SetSize(2, 1);
    src.SetPixelColor(0, 0, RGB(255, 0, 255));
    src.SetPixelColor(1, 0, RGB(0, 0, 255));
    TBitmap dst;
    dst.SetPixelFormat(pf32bit);
    dst.SetSize(8, 2);
    fill(dst, RGB(0, 255, 0));
    dst.Canvas().StretchDraw(RECT{0, 0, 4, 2}, src);
    EXPECT_EQ(dst.PixelColor(0, 0), RGB(255, 0, 255));
    EXPECT_EQ(dst.PixelColor(1, 1), RGB(255, 0, 255));
    EXPECT_EQ(dst.PixelColor(3, 1), RGB(0, 0, 255));
    src.SetTransparent(true);
    EXPECT_EQ(src.TransparentColor(), static_cast<TColor>(RGB(255, 0, 255)));  // bottom-left pixel
    dst.Canvas().Draw(4, 0, src);
    EXPECT_EQ(dst.PixelColor(4, 0), RGB(0, 255, 0));
    EXPECT_EQ(dst.PixelColor(5, 0), RGB(0, 0, 255));
    dst.Canvas().Draw(0, 0, src);  // reversed or empty targets draw nothing
    TBitmap empty;
    dst.Canvas().Draw(6, 0, empty);
    EXPECT_EQ(dst.PixelColor(6, 0), RGB(0, 255, 0));
}
