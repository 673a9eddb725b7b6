// The BMP decoder on valid pictures of every depth and layout it reads, and on damaged
// data of every kind it must refuse.  Native build, under the address and undefined-
// behaviour sanitizers, so an out-of-bounds read fails the test even when it would not
// crash.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "BmpDecode.h"
#include "BmpSamples.h"

using namespace bmpsamples;

namespace {

BmpImage decode(const std::vector<uint8_t>& data, const BmpLimits& limits = BmpLimits()) {
    BmpImage img;
    std::string error;
    EXPECT_TRUE(DecodeBmp(data.data(), data.size(), img, error, limits)) << error;
    return img;
}

void expectSample(const BmpImage& img, int bpp, int w, int h) {
    ASSERT_EQ(img.Width, w);
    ASSERT_EQ(img.Height, h);
    ASSERT_EQ(img.Pixels.size(), static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(img.Pixels[y * w + x] & 0xFFFFFF, SampleColour(x, y, bpp)) << "pixel " << x << "," << y;
            if (bpp <= 8) {
                EXPECT_EQ(img.Indices[y * w + x], SampleIndex(x, y, bpp)) << "index " << x << "," << y;
            }
        }
}

}  // namespace

TEST(BmpDecode, EachDepth_DecodesTheSamplePicture) {
    for (int bpp : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE("bits " + std::to_string(bpp));
        for (int w : {1, 5, 9, 17}) {
            const BmpImage img = decode(SampleBmp(bpp, false, w, 3));
            EXPECT_EQ(img.BitCount, bpp);
            EXPECT_FALSE(img.TopDown);
            expectSample(img, bpp, w, 3);
            if (bpp <= 8) {
                EXPECT_EQ(img.Palette.size(), size_t{1} << bpp);
            }
        }
    }
}

TEST(BmpDecode, TopDown_RowsComeOutTopFirst) {
    for (int bpp : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE("bits " + std::to_string(bpp));
        const BmpImage img = decode(SampleBmp(bpp, true, 6, 4));
        EXPECT_TRUE(img.TopDown);
        expectSample(img, bpp, 6, 4);
    }
}

TEST(BmpDecode, ShortColourTable_IsPaddedWithBlack) {
    BmpSpec s = SampleSpec(4);
    s.palette.resize(3);
    s.colorsUsed = 3;
    const BmpImage img = decode(BuildBmp(s));
    ASSERT_EQ(img.Palette.size(), 16u);
    EXPECT_EQ(img.Palette[2], SamplePaletteColour(2));
    EXPECT_EQ(img.Palette[3], 0u);
    // Pixel (0, 0) has index 1, pixel (3, 0) index 4 (past the table: black).
    EXPECT_EQ(img.Pixels[0], SamplePaletteColour(1));
    EXPECT_EQ(img.Pixels[3], 0u);
}

TEST(BmpDecode, Rle8_RunsLiteralsDeltasAndEnd) {
    const BmpImage img = decode(BuildBmp(Rle8Spec()));
    ASSERT_EQ(img.Width, 6);
    ASSERT_EQ(img.Height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(img.Indices[y * 6 + x], Rle8Index(x, y)) << x << "," << y;
}

TEST(BmpDecode, Rle4_NibbleRunsAndLiterals) {
    const BmpImage img = decode(BuildBmp(Rle4Spec()));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(img.Indices[y * 5 + x], Rle4Index(x, y)) << x << "," << y;
}

TEST(BmpDecode, Rle_DamagedStreamsStopWithoutReadingPastTheData) {
    // Each stream ends in the middle of something: a pair, a delta, a literal run.
    const std::vector<std::vector<uint8_t>> streams = {
        {4}, {0, 2, 1}, {0, 9, 1, 2, 3}, {255, 1, 255, 1, 255, 1, 255, 1}, {0, 2, 255, 255, 3, 3}, {0, 0, 0, 0, 0, 0, 0, 0, 7, 7},
    };
    for (const auto& stream : streams) {
        BmpSpec s = Rle8Spec();
        s.pixels = stream;
        const BmpImage img = decode(BuildBmp(s));
        EXPECT_EQ(img.Indices.size(), 18u);
    }
}

TEST(BmpDecode, Bitfields16_ScalesEachChannel) {
    const BmpImage img = decode(BuildBmp(Bitfields565Spec()));
    ASSERT_EQ(img.Pixels.size(), 2u);
    EXPECT_EQ(img.Pixels[0], 0xFF0000u);
    EXPECT_EQ(img.Pixels[1], (8u << 16) | 0xFFFFu);  // red 1 of 31 -> 8
}

TEST(BmpDecode, Rgb16_IsFiveFiveFive) {
    BmpSpec s;
    s.width = 1;
    s.height = 1;
    s.bitCount = 16;
    s.pixels = {0x1F, 0x7C, 0, 0};  // 0x7C1F: red 31, green 0, blue 31
    EXPECT_EQ(decode(BuildBmp(s)).Pixels[0], 0xFF00FFu);
}

TEST(BmpDecode, Bitfields32InV5Header_ReadsMasksFromTheHeader) {
    BmpSpec s;
    s.headerSize = 124;
    s.width = 1;
    s.height = 1;
    s.bitCount = 32;
    s.compression = 3;
    s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};  // R, G, B, A in byte order
    s.pixels = {0x11, 0x22, 0x33, 0x80};
    EXPECT_EQ(decode(BuildBmp(s)).Pixels[0], 0x80112233u);
}

TEST(BmpDecode, CoreHeader_ThreeByteColourTable) {
    BmpSpec s = SampleSpec(8);
    s.headerSize = 12;
    const BmpImage img = decode(BuildBmp(s));
    expectSample(img, 8, 5, 3);
}

TEST(BmpDecode, PackedDib_PixelsFollowTheColourTable) {
    BmpSpec s = SampleSpec(4);
    s.fileHeader = false;
    const std::vector<uint8_t> dib = BuildBmp(s);
    BmpImage img;
    std::string error;
    ASSERT_TRUE(DecodeDib(dib.data(), dib.size(), img, error)) << error;
    expectSample(img, 4, 5, 3);
}

TEST(BmpDecode, FileOffsetZero_MeansRightAfterTheColourTable) {
    BmpSpec s = SampleSpec(8);
    s.offBits = 0;
    expectSample(decode(BuildBmp(s)), 8, 5, 3);
}

// Every refusal, as one field changed in an otherwise valid file.
TEST(BmpDecode, MalformedFiles_AreRefusedWithAMessage) {
    struct Row {
        const char* name;
        std::function<std::vector<uint8_t>()> make;
    };
    auto withSpec = [](std::function<void(BmpSpec&)> change, int bpp = 8) {
        return [change, bpp] {
            BmpSpec s = SampleSpec(bpp);
            change(s);
            return BuildBmp(s);
        };
    };
    auto truncated = [](size_t keep, int bpp = 8) {
        return [keep, bpp] {
            std::vector<uint8_t> d = SampleBmp(bpp);
            d.resize(std::min(keep, d.size()));
            return d;
        };
    };
    const std::vector<Row> rows = {
        {"empty data", [] { return std::vector<uint8_t>(); }},
        {"file header cut", truncated(10)},
        {"not BM", [] { auto d = SampleBmp(8); d[0] = 'X'; return d; }},
        {"info header cut", truncated(30)},
        {"header size field only", truncated(16)},
        {"unknown header size", withSpec([](BmpSpec& s) { s.headerSize = 20; })},
        {"width 0", withSpec([](BmpSpec& s) { s.width = 0; })},
        {"negative width", withSpec([](BmpSpec& s) { s.width = -5; })},
        {"height 0", withSpec([](BmpSpec& s) { s.height = 0; })},
        {"most negative height", withSpec([](BmpSpec& s) { s.height = INT32_MIN; })},
        {"width past the cap", withSpec([](BmpSpec& s) { s.width = 16385; })},
        {"height past the cap", withSpec([](BmpSpec& s) { s.height = 16385; })},
        {"absurd size", withSpec([](BmpSpec& s) { s.width = 0x7FFFFFFF; s.height = 0x7FFFFFFF; })},
        {"two planes", withSpec([](BmpSpec& s) { s.planes = 2; })},
        {"zero bit depth", withSpec([](BmpSpec& s) { s.bitCount = 0; })},
        {"2 bits per pixel", withSpec([](BmpSpec& s) { s.bitCount = 2; })},
        {"48 bits per pixel", withSpec([](BmpSpec& s) { s.bitCount = 48; })},
        {"core header with 16 bits", withSpec([](BmpSpec& s) { s.headerSize = 12; s.bitCount = 16; s.palette.clear(); })},
        {"JPEG compression", withSpec([](BmpSpec& s) { s.compression = 4; }, 24)},
        {"PNG compression", withSpec([](BmpSpec& s) { s.compression = 5; }, 24)},
        {"alpha bit fields code", withSpec([](BmpSpec& s) { s.compression = 6; }, 32)},
        {"unknown compression", withSpec([](BmpSpec& s) { s.compression = 0x1234; })},
        {"RLE8 on 24 bits", withSpec([](BmpSpec& s) { s.compression = 1; }, 24)},
        {"RLE4 on 8 bits", withSpec([](BmpSpec& s) { s.compression = 2; })},
        {"bit fields on 24 bits", withSpec([](BmpSpec& s) { s.compression = 3; s.masks = {0xFF0000, 0xFF00, 0xFF}; }, 24)},
        {"bit fields on 8 bits", withSpec([](BmpSpec& s) { s.compression = 3; s.masks = {0xE0, 0x1C, 0x03}; })},
        {"top-down RLE", [] { BmpSpec s = Rle8Spec(); s.height = -s.height; return BuildBmp(s); }},
        {"table too big for 1 bit", withSpec([](BmpSpec& s) { s.colorsUsed = 3; }, 1)},
        {"table too big for 8 bits", withSpec([](BmpSpec& s) { s.colorsUsed = 257; })},
        {"huge table count", withSpec([](BmpSpec& s) { s.colorsUsed = 0xFFFFFFFF; })},
        {"colour table cut", truncated(14 + 40 + 100)},
        {"pixel offset past the end", withSpec([](BmpSpec& s) { s.offBits = 1 << 30; })},
        {"pixel offset into the header", withSpec([](BmpSpec& s) { s.offBits = 20; })},
        {"pixel data one byte short", [] { auto d = SampleBmp(24); d.pop_back(); return d; }},
        {"pixel rows missing", [] { auto d = SampleBmp(32, false, 5, 3); d.resize(d.size() - 20); return d; }},
        {"RLE size past the data", [] { BmpSpec s = Rle8Spec(); s.sizeImage = 1000; return BuildBmp(s); }},
        {"bit masks cut", [] { auto d = BuildBmp(Bitfields565Spec()); d.resize(14 + 40 + 6); return d; }},
    };
    for (const Row& row : rows) {
        const std::vector<uint8_t> data = row.make();
        BmpImage img;
        std::string error;
        EXPECT_FALSE(DecodeBmp(data.data(), data.size(), img, error)) << row.name;
        EXPECT_NE(error.find("not valid"), std::string::npos) << row.name << ": " << error;
    }
}

TEST(BmpDecode, PixelCap_RefusesBeforeAllocating) {
    BmpLimits small;
    small.MaxPixels = 14;  // the sample is 5 x 3 = 15 pixels
    const std::vector<uint8_t> data = SampleBmp(24);
    BmpImage img;
    std::string error;
    EXPECT_FALSE(DecodeBmp(data.data(), data.size(), img, error, small));
    EXPECT_TRUE(img.Pixels.empty());
    // A run-length header may claim any size with a few bytes: the cap applies there too.
    BmpSpec s = Rle8Spec();
    s.width = 16384;
    s.height = 16384;
    const std::vector<uint8_t> rle = BuildBmp(s);
    EXPECT_FALSE(DecodeBmp(rle.data(), rle.size(), img, error));
}

TEST(BmpDecode, NullData_IsRefused) {
    BmpImage img;
    std::string error;
    EXPECT_FALSE(DecodeBmp(nullptr, 100, img, error));
    EXPECT_FALSE(DecodeDib(nullptr, 100, img, error));
}
