// Flat test skins: the default skin's definition and geometry with every cell of every
// strip painted one flat colour of its own, so that a pixel read from a skinned window
// tells which cell of which strip was drawn there.  Frame parts keep the default skin's
// magenta corners, which the window region cuts away.  Pure C++; both builds.
//
// Colours are 0xRRGGBB (ToColorRef turns one into the platform's COLORREF layout).  They
// lie at least 32 apart in some channel from each other, from magenta, from greys and from
// the usual system colours and the skin's own [Colours].
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SkinContainerWriter.h"
#include "SkinDesign.h"

namespace skintest {

struct FlatSkinOptions {
    // Sections left out entirely, with their images ("Scrollbar", "Personality"); letter
    // case does not matter.
    std::vector<std::string> omitSections;
    // Single image keys left out, as "Section/Key" ("Buttons/CheckButton",
    // "Personality/menuBar"); the section's other keys stay.
    std::vector<std::string> omitImages;
};

// The flat skin's definition, strips and pictures.
skingen::SkinDesign MakeFlatTestDesign(const FlatSkinOptions& options = {});
// Its files: the definition text first, then the BMPs.
std::vector<SkinFileEntry> MakeFlatTestSkinFiles(const FlatSkinOptions& options = {});
// A complete skin file (what TSkinData holds): the packed container of those files.
std::vector<uint8_t> MakeFlatTestSkin(const FlatSkinOptions& options = {});

// Colour of cell `cell` (1-based) of the image named by `key` in `section`.  Throws
// std::out_of_range for an unknown image or cell.
uint32_t FlatCellColour(const std::string& section, const std::string& key, int cell);
// The same for the section's first image key ("Image", "Bitmap", "ButtonImage"; for
// [Personality] that is "Left", so name its keys explicitly).
uint32_t FlatCellColour(const std::string& section, int cell);

// 0xRRGGBB to the platform's colour layout (red in the low byte).
constexpr uint32_t ToColorRef(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

}  // namespace skintest
