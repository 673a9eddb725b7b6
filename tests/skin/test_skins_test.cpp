// The flat test skins: each cell one documented colour, colours far apart and clear of the
// key and system colours, the default geometry kept, omitted parts really gone, and the
// packed file readable by the container reader.
#include "test_skins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>

#include "QuickIni.h"
#include "SkinContainer.h"
#include "packed_skin_check.h"

namespace {

using skingen::Picture;
using skingen::SkinStrip;

int Distance(uint32_t a, uint32_t b) {
    return std::max({std::abs(skingen::RedOf(a) - skingen::RedOf(b)), std::abs(skingen::GreenOf(a) - skingen::GreenOf(b)),
                     std::abs(skingen::BlueOf(a) - skingen::BlueOf(b))});
}

TQuickIni Definition(const skingen::SkinDesign& d) {
    TQuickIni ini;
    const std::string text = d.definitionText();
    ini.LoadFromStream(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return ini;
}

TEST(FlatTestSkin_Cells, EveryCellIsItsDocumentedColour) {
    const std::vector<SkinFileEntry> files = skintest::MakeFlatTestSkinFiles();
    const skingen::SkinDesign flat = skintest::MakeFlatTestDesign();
    std::map<std::string, std::vector<uint8_t>> byName;
    for (const SkinFileEntry& f : files) byName[f.name] = f.data;
    for (const SkinStrip& s : flat.strips) {
        SCOPED_TRACE("[" + s.section + "] " + s.key);
        const std::optional<Picture> p = skingen::DecodeBmp24(byName[s.file]);
        ASSERT_TRUE(p);
        const int cw = s.stacked ? p->width : p->width / s.cells;
        const int ch = s.stacked ? p->height / s.cells : p->height;
        for (int cell = 1; cell <= s.cells; ++cell) {
            const uint32_t want = skintest::FlatCellColour(s.section, s.key, cell);
            const int x0 = s.stacked ? 0 : cw * (cell - 1), y0 = s.stacked ? ch * (cell - 1) : 0;
            int flatPixels = 0;
            for (int y = y0; y < y0 + ch; ++y)
                for (int x = x0; x < x0 + cw; ++x) {
                    const uint32_t got = p->at(x, y);
                    if (got == skingen::kMagenta && s.keyedCorners) continue;
                    ASSERT_EQ(got, want) << "cell " << cell << " at " << x << "," << y;
                    ++flatPixels;
                }
            EXPECT_GT(flatPixels, 0) << "cell " << cell;
        }
    }
    // The first image of a section is its default.
    EXPECT_EQ(skintest::FlatCellColour("Buttons", 3), skintest::FlatCellColour("Buttons", "Bitmap", 3));
    EXPECT_EQ(skintest::FlatCellColour("scrollbar", 23), skintest::FlatCellColour("Scrollbar", "Image", 23));
}

TEST(FlatTestSkin_Cells, ColoursAreDistinctAndClearOfKeyGreyAndSystemColours) {
    const skingen::SkinDesign flat = skintest::MakeFlatTestDesign();
    std::vector<uint32_t> all;
    for (const SkinStrip& s : flat.strips)
        for (int cell = 1; cell <= s.cells; ++cell) all.push_back(skintest::FlatCellColour(s.section, s.key, cell));
    ASSERT_GT(all.size(), 150u);
    for (size_t i = 0; i < all.size(); ++i) {
        for (size_t j = i + 1; j < all.size(); ++j) ASSERT_GE(Distance(all[i], all[j]), 32) << i << " vs " << j;
        EXPECT_GE(Distance(all[i], skingen::kMagenta), 32);
        const int r = skingen::RedOf(all[i]), g = skingen::GreenOf(all[i]), b = skingen::BlueOf(all[i]);
        EXPECT_GE(std::max({r, g, b}) - std::min({r, g, b}), 64) << "too grey: " << std::hex << all[i];
        // A few system colours the platform paints with (classic and current defaults).
        for (uint32_t sys : {0x0A246Au, 0xA6CAF0u, 0x3A6EA5u, 0x0078D7u, 0x99B4D1u, 0x3399FFu})
            EXPECT_GE(Distance(all[i], sys), 32) << std::hex << all[i] << " near " << sys;
    }
    // The skin colours the engine fills with stay apart from every cell.
    const TQuickIni ini = Definition(flat);
    for (const char* key : {"ButtonFace", "Menu", "Menubar", "Hilight", "Scrollbar", "ButtonShadow"}) {
        const SkinColour c = ParseRGB(ini.ReadString("Colours", key, ""));
        const uint32_t rgb = skingen::Rgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        for (uint32_t cell : all) EXPECT_GE(Distance(cell, rgb), 32) << key;
    }
}

TEST(FlatTestSkin_Geometry, KeepsTheDefaultDefinitionAndSizes) {
    const skingen::SkinDesign base = skingen::DesignDefaultSkin();
    const skingen::SkinDesign flat = skintest::MakeFlatTestDesign();
    ASSERT_EQ(flat.sections.size(), base.sections.size());
    for (size_t i = 0; i < base.sections.size(); ++i) {
        EXPECT_EQ(flat.sections[i].name, base.sections[i].name);
        ASSERT_EQ(flat.sections[i].keys.size(), base.sections[i].keys.size());
        for (size_t k = 0; k < base.sections[i].keys.size(); ++k)
            if (base.sections[i].keys[k].key != "SkinName")
                EXPECT_EQ(flat.sections[i].keys[k].value, base.sections[i].keys[k].value) << base.sections[i].keys[k].key;
    }
    ASSERT_EQ(flat.strips.size(), base.strips.size());
    for (size_t i = 0; i < base.strips.size(); ++i) {
        EXPECT_EQ(flat.strips[i].picture.width, base.strips[i].picture.width) << base.strips[i].file;
        EXPECT_EQ(flat.strips[i].picture.height, base.strips[i].picture.height) << base.strips[i].file;
    }
    // The frame keeps its transparent corners so the window region stays the same.
    const Picture& left = flat.findStrip("Personality", "Left")->picture;
    EXPECT_EQ(left.at(0, 0), skingen::kMagenta);
    EXPECT_EQ(left.at(0, left.height - 1), skintest::FlatCellColour("Personality", "Left", 1));
    EXPECT_EQ(left.at(left.width - 1, left.height - 1), skintest::FlatCellColour("Personality", "Left", 2));
    const Picture& top = flat.findStrip("Personality", "Top")->picture;
    EXPECT_EQ(top.at(0, 0), skintest::FlatCellColour("Personality", "Top", 1));
    EXPECT_EQ(top.at(0, top.height - 1), skintest::FlatCellColour("Personality", "Top", 2));
}

TEST(FlatTestSkin_Options, OmittedSectionsAndImagesAreGone) {
    skintest::FlatSkinOptions options;
    options.omitSections = {"scrollbar", "MenuItem"};
    options.omitImages = {"Buttons/CheckButton", "Personality/menuBar"};
    const skingen::SkinDesign flat = skintest::MakeFlatTestDesign(options);
    const TQuickIni ini = Definition(flat);
    EXPECT_EQ(ini.SectionIndex("Scrollbar"), -1);
    EXPECT_EQ(ini.SectionIndex("MenuItem"), -1);
    EXPECT_GE(ini.SectionIndex("HorzScroll"), 0);
    EXPECT_EQ(ini.ReadString("Buttons", "CheckButton", "none"), "none");
    EXPECT_EQ(ini.ReadString("Buttons", "RadioButton", ""), "radio.bmp");
    EXPECT_EQ(ini.ReadInteger("Buttons", "CheckButtonFrame", 0), 12);  // other keys stay
    EXPECT_EQ(ini.ReadString("Personality", "menuBar", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("Personality", "TileMenu", 0), 1);
    std::set<std::string> names;
    for (const SkinFileEntry& f : flat.files()) names.insert(f.name);
    for (const char* gone : {"scrollbar.bmp", "menuitem.bmp", "checkbox.bmp", "menubar.bmp"})
        EXPECT_EQ(names.count(gone), 0u) << gone;
    EXPECT_EQ(names.count("radio.bmp"), 1u);
    // Colours do not move when parts are left out.
    EXPECT_EQ(skintest::FlatCellColour("Buttons", "RadioButton", 2),
              skintest::FlatCellColour("buttons", "radiobutton", 2));
}

TEST(FlatTestSkin_Lookup, UnknownImageOrCellThrows) {
    EXPECT_THROW(skintest::FlatCellColour("NoSuchSection", 1), std::out_of_range);
    EXPECT_THROW(skintest::FlatCellColour("Buttons", "NoSuchKey", 1), std::out_of_range);
    EXPECT_THROW(skintest::FlatCellColour("Scrollbar", 24), std::out_of_range);
    EXPECT_THROW(skintest::FlatCellColour("Scrollbar", 0), std::out_of_range);
    EXPECT_EQ(skintest::ToColorRef(0x112233), 0x332211u);
}

TEST(FlatTestSkin_Pack, PackedSkinReadsBackAsItsFiles) {
    skintest::ExpectPackedSkinHolds(skintest::MakeFlatTestSkin(), skintest::MakeFlatTestSkinFiles());
}

}  // namespace
