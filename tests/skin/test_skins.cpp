// Builds the flat test skins from the default skin's design: same sections, keys and
// picture sizes, flat cells.  Colours come from a fixed grid, filtered and spread so that
// neighbouring cells never look alike.
#include "test_skins.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <stdexcept>

#include "QuickIni.h"

namespace skintest {

using skingen::Picture;
using skingen::SkinDesign;
using skingen::SkinStrip;

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

int Distance(uint32_t a, uint32_t b) {  // largest channel difference
    return std::max({std::abs(skingen::RedOf(a) - skingen::RedOf(b)), std::abs(skingen::GreenOf(a) - skingen::GreenOf(b)),
                     std::abs(skingen::BlueOf(a) - skingen::BlueOf(b))});
}

// Colours a test must never mistake for a cell: the key colour, the classic and current
// system colours (Wine's defaults among them), and the default skin's own [Colours].
std::vector<uint32_t> ReservedColours(const SkinDesign& design) {
    std::vector<uint32_t> reserved = {
        skingen::kMagenta,
        0x0A246A, 0xA6CAF0, 0x3A6EA5, 0x000080, 0x0000FF, 0x008080, 0x800000, 0x800080, 0x808000,
        0x008000, 0xFF0000, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFE1, 0x0078D7, 0x0066CC, 0x99B4D1,
        0xBFCDDB, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0x434E54, 0xD4D0C8, 0xECE9D8, 0x316AC5, 0x7A96DF};
    if (const skingen::IniSection* colours = design.findSection("Colours"))
        for (const skingen::IniKey& k : colours->keys) {
            const SkinColour c = ParseRGB(k.value);  // red in the low byte
            reserved.push_back(skingen::Rgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    return reserved;
}

// Every cell colour, in strip order then cell order.
std::vector<uint32_t> CellPalette(const SkinDesign& design, size_t needed) {
    const std::vector<uint32_t> reserved = ReservedColours(design);
    std::vector<uint32_t> candidates;
    for (int r = 8; r < 256; r += 32)
        for (int g = 8; g < 256; g += 32)
            for (int b = 8; b < 256; b += 32) {
                const uint32_t c = skingen::Rgb(r, g, b);
                if (std::max({r, g, b}) - std::min({r, g, b}) < 64) continue;  // greys and near-greys
                bool clear = true;
                for (uint32_t x : reserved) clear = clear && Distance(c, x) >= 32;
                if (clear) candidates.push_back(c);
            }
    // A stride coprime with the count visits every candidate once while keeping
    // consecutive cells far apart in the grid.
    const size_t n = candidates.size();
    size_t stride = 97;
    while (std::gcd(stride, n) != 1) ++stride;
    if (needed > n) throw std::logic_error("flat test skin: not enough distinct colours");
    std::vector<uint32_t> out;
    for (size_t i = 0; i < needed; ++i) out.push_back(candidates[(i * stride) % n]);
    return out;
}

struct CellIndex {
    std::string section, key;
    int cells;
    size_t first;  // index of cell 1 in the palette
};

struct FlatColours {
    std::vector<CellIndex> index;
    std::vector<uint32_t> colours;
};

// The colours depend on the default design only, never on the options, so a cell keeps its
// colour in every variant of the flat skin.
const FlatColours& Colours() {
    static const FlatColours table = [] {
        const SkinDesign design = skingen::DesignDefaultSkin();
        FlatColours t;
        size_t next = 0;
        for (const SkinStrip& s : design.strips) {
            t.index.push_back({Lower(s.section), Lower(s.key), s.cells, next});
            next += size_t(s.cells);
        }
        t.colours = CellPalette(design, next);
        return t;
    }();
    return table;
}

Picture FlatStrip(const SkinStrip& strip) {
    Picture out = strip.picture;
    const int cw = strip.stacked ? out.width : out.width / strip.cells;
    const int ch = strip.stacked ? out.height / strip.cells : out.height;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            if (strip.keyedCorners && out.at(x, y) == skingen::kMagenta) continue;
            const int cell = (strip.stacked ? y / ch : x / cw) + 1;
            out.at(x, y) = FlatCellColour(strip.section, strip.key, std::min(cell, strip.cells));
        }
    return out;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    for (const std::string& s : list)
        if (Lower(s) == Lower(item)) return true;
    return false;
}

}  // namespace

uint32_t FlatCellColour(const std::string& section, const std::string& key, int cell) {
    const FlatColours& t = Colours();
    for (const CellIndex& i : t.index)
        if (i.section == Lower(section) && i.key == Lower(key)) {
            if (cell < 1 || cell > i.cells)
                throw std::out_of_range("flat test skin: " + section + "/" + key + " has no cell " + std::to_string(cell));
            return t.colours[i.first + size_t(cell - 1)];
        }
    throw std::out_of_range("flat test skin: no image " + section + "/" + key);
}

uint32_t FlatCellColour(const std::string& section, int cell) {
    for (const CellIndex& i : Colours().index)
        if (i.section == Lower(section)) return FlatCellColour(section, i.key, cell);
    throw std::out_of_range("flat test skin: no section " + section);
}

SkinDesign MakeFlatTestDesign(const FlatSkinOptions& options) {
    const SkinDesign base = skingen::DesignDefaultSkin();
    SkinDesign flat;
    for (const skingen::IniSection& s : base.sections) {
        if (Contains(options.omitSections, s.name)) continue;
        skingen::IniSection copy = s;
        copy.keys.clear();
        for (const skingen::IniKey& k : s.keys) {
            const bool isImage = base.findStrip(s.name, k.key) != nullptr;
            if (isImage && Contains(options.omitImages, s.name + "/" + k.key)) continue;
            copy.keys.push_back(k.key == "SkinName" ? skingen::IniKey{k.key, "Flat test"} : k);
        }
        flat.sections.push_back(std::move(copy));
    }
    for (const SkinStrip& s : base.strips) {
        if (Contains(options.omitSections, s.section) || Contains(options.omitImages, s.section + "/" + s.key)) continue;
        SkinStrip copy = s;
        copy.picture = FlatStrip(s);
        flat.strips.push_back(std::move(copy));
    }
    return flat;
}

std::vector<SkinFileEntry> MakeFlatTestSkinFiles(const FlatSkinOptions& options) {
    return MakeFlatTestDesign(options).files();
}

std::vector<uint8_t> MakeFlatTestSkin(const FlatSkinOptions& options) {
    return WriteSkinContainer(MakeFlatTestSkinFiles(options));
}

}  // namespace skintest
