#include "skin_data_support.h"

#include <algorithm>

#include "SkinRaster.h"

namespace skindata {

std::vector<uint8_t> CellsBmp(int cellWidth, int height, const std::vector<uint32_t>& colours) {
    skingen::Picture picture(cellWidth * static_cast<int>(colours.size()), height);
    for (size_t c = 0; c < colours.size(); ++c)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < cellWidth; ++x) picture.at(static_cast<int>(c) * cellWidth + x, y) = colours[c];
    return skingen::EncodeBmp24(picture);
}

std::vector<uint8_t> MakeSkin(const std::string& definition, const std::vector<SkinFileEntry>& entries) {
    std::vector<SkinFileEntry> files;
    files.push_back({"skin.ini", std::vector<uint8_t>(definition.begin(), definition.end())});
    files.insert(files.end(), entries.begin(), entries.end());
    return WriteSkinContainer(files);
}

TBytes StreamOf(const std::vector<uint8_t>& skinFile) {
    const auto size = static_cast<uint32_t>(skinFile.size());
    TBytes out(4 + skinFile.size());
    for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    std::copy(skinFile.begin(), skinFile.end(), out.begin() + 4);
    return out;
}

bool LoadInto(TSkinData& data, const std::vector<uint8_t>& skinFile) {
    SetPropValue(data, "SkinStream", StreamOf(skinFile));
    return !data.NoSkin();
}

COLORREF Ref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void SkinDataTest::SetUp() {
    FreeSkinManager();
    std::vector<std::string>* target = &log;
    SetSkinManagerFactory([target] { return std::make_unique<RecordingManager>(*target); });
}

void SkinDataTest::TearDown() {
    FreeSkinManager();
    SetSkinManagerFactory(nullptr);
}

}  // namespace skindata
