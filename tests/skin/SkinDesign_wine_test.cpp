// The default skin as the platform sees it: every bitmap of the design turned into a GDI
// bitmap from its file bytes and read back pixel for pixel, and the skin file that the
// build packed (res/default.skin) holding exactly what the generator draws.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "SkinContainer.h"
#include "SkinDesign.h"
#include "packed_skin_check.h"
#include "test_skins.h"

namespace {

using skingen::Picture;

// Creates a device-dependent bitmap from a BMP file's header and bits, then reads it back as
// 32-bit top-down pixels (0x00RRGGBB).  Empty when the platform refuses the file.
std::vector<uint32_t> LoadThroughGdi(const std::vector<uint8_t>& file, int& width, int& height) {
    std::vector<uint32_t> out;
    if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return out;
    BITMAPFILEHEADER fh;
    memcpy(&fh, file.data(), sizeof fh);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof fh);
    width = info->bmiHeader.biWidth;
    height = std::abs(info->bmiHeader.biHeight);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file.data() + fh.bfOffBits, info, DIB_RGB_COLORS);
    if (bmp) {
        BITMAPINFO want{};
        want.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        want.bmiHeader.biWidth = width;
        want.bmiHeader.biHeight = -height;  // top-down
        want.bmiHeader.biPlanes = 1;
        want.bmiHeader.biBitCount = 32;
        want.bmiHeader.biCompression = BI_RGB;
        out.resize(size_t(width) * height);
        if (GetDIBits(screen, bmp, 0, UINT(height), out.data(), &want, DIB_RGB_COLORS) != height) out.clear();
        for (uint32_t& p : out) p &= 0xFFFFFF;
        DeleteObject(bmp);
    }
    ReleaseDC(nullptr, screen);
    return out;
}

void ExpectSameThroughGdi(const skingen::SkinDesign& design) {
    std::vector<SkinFileEntry> files = design.files();
    for (size_t i = 0; i < design.strips.size(); ++i) {
        const Picture& p = design.strips[i].picture;
        SCOPED_TRACE(design.strips[i].file);
        int w = 0, h = 0;
        const std::vector<uint32_t> pixels = LoadThroughGdi(files[i + 1].data, w, h);
        ASSERT_FALSE(pixels.empty()) << "GDI refused the bitmap";
        ASSERT_EQ(w, p.width);
        ASSERT_EQ(h, p.height);
        ASSERT_EQ(pixels, p.pixels);
    }
}

TEST(DefaultSkin_Platform, EveryBitmapReadsBackThroughGdi) {
    ExpectSameThroughGdi(skingen::DesignDefaultSkin());
}

TEST(FlatTestSkin_Platform, EveryBitmapReadsBackThroughGdi) {
    ExpectSameThroughGdi(skintest::MakeFlatTestDesign());
}

TEST(DefaultSkin_Platform, PackedSkinFileOfTheBuildMatchesTheGenerator) {
    std::ifstream in("res/default.skin", std::ios::binary);
    ASSERT_TRUE(in) << "res/default.skin missing from the build folder";
    const std::vector<uint8_t> skin((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    skintest::ExpectPackedSkinHolds(skin, skingen::DefaultSkinFiles());
}

}  // namespace
