// The default skin as the engine will read it: every section present and parsed by the
// definition reader, every image key naming a valid 24-bit BMP whose size divides into the
// cell count the model uses, opaque parts free of the key colour, caption buttons inside
// the caption, readable text colours, and a packed file that reads back entry for entry.
#include "SkinDesign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "QuickIni.h"
#include "SkinContainer.h"
#include "SkinContainerWriter.h"
#include "SkinDesign_impl.h"
#include "SkinPalette.h"
#include "SkinRaster.h"

namespace {

using skingen::Picture;
using skingen::SkinDesign;
using skingen::SkinStrip;

const SkinDesign& Design() {
    static const SkinDesign design = skingen::DesignDefaultSkin();
    return design;
}

TQuickIni Definition() {
    TQuickIni ini;
    const std::string text = Design().definitionText();
    ini.LoadFromStream(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return ini;
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

// The cell count the definition model gives an image, worked out from the definition
// text alone by the loader's rules (fixed counts, "Frame" keys and their defaults, the
// computed check, radio and caption-button counts).  0 for an image the model does not cut.
int ModelCells(const TQuickIni& ini, const std::string& section, const std::string& key, const Picture& p) {
    const std::string s = Upper(section), k = Upper(key);
    if (s == "PERSONALITY") {
        if (k == "MENUBAR" || k == "TEXTBACK") return 2;
        return ini.ReadInteger(section, key + "Frame", 1);
    }
    if (s == "BUTTONS") {
        if (k == "BITMAP") return 5;
        const int given = ini.ReadInteger(section, k == "CHECKBUTTON" ? "CheckButtonFrame" : "RadioButtonFrame", 0);
        return given ? given : std::max(4, p.width / (p.height < 16 ? 13 : 16));
    }
    if (s.rfind("BUTTON", 0) == 0) {
        const int given = ini.ReadInteger(section, "frame", 0);
        if (given) return given;
        return double(p.width) / p.height <= 3.8 ? 3 : 6;
    }
    if (s == "MDICONTROLS") return 12;
    if (s == "PROGRESS") return ini.ReadInteger(section, "Style", 0) != 0 ? 1 : 2;
    if (s == "HEADERBAR") {
        const int frame = ini.ReadInteger(section, "Frame", 0);
        return frame ? frame : 5;
    }
    if (s == "HORZSCROLLTHUMB" || s == "VERTSCROLLTHUMB") return ini.ReadInteger(section, "FrameCount", 3);
    if (s == "PROGRESS.CHUNK" || s == "TRACK" || s == "TRACKVERT") return ini.ReadInteger(section, "Frame", 0);
    if (s.rfind("TRACKBAR.", 0) == 0) return 5;
    if (s.rfind("UPDOWN.", 0) == 0) return 8;
    if (s == "TABS") return k == "BORDER" ? 1 : 5;
    static const std::map<std::string, int> fixed = {
        {"GROUPBOXEDGE", 2}, {"GROUPBOX", 1}, {"STATUSBAREDGES", 3}, {"TAB.PANE", 1}, {"COMBOBUTTON", 4},
        {"SUNKEDGE", 4},     {"EXTRAIMAGES", 5}, {"MENUITEM", 5},   {"MENUBACKGROUND", 1}, {"SCROLLBAR", 23},
        {"HORZSCROLL", 4},   {"VERTSCROLL", 4}};
    const auto it = fixed.find(s);
    return it == fixed.end() ? 0 : it->second;
}

// 0xRRGGBB to the reader's colour value (red in the low byte).
SkinColour ColourValue(uint32_t rgb) {
    return SkinColour(skingen::RedOf(rgb) | (skingen::GreenOf(rgb) << 8) | (skingen::BlueOf(rgb) << 16));
}

bool HasMagenta(const Picture& p) {
    return std::find(p.pixels.begin(), p.pixels.end(), skingen::kMagenta) != p.pixels.end();
}

// WCAG contrast ratio of two 0xRRGGBB colours.
double Contrast(uint32_t a, uint32_t b) {
    auto lum = [](uint32_t c) {
        auto lin = [](int v) {
            const double x = v / 255.0;
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(skingen::RedOf(c)) + 0.7152 * lin(skingen::GreenOf(c)) + 0.0722 * lin(skingen::BlueOf(c));
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(DefaultSkin_Definition, HasEverySectionTheProgramsReach) {
    const TQuickIni ini = Definition();
    const char* required[] = {
        "TitlebarSkin", "Personality", "Fonts", "Colours", "ButtonClose", "ButtonMaximize", "ButtonRestore",
        "ButtonMinimize", "MDICONTROLS", "Buttons", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll",
        "VertScroll", "HorzScrollThumb", "VertScrollThumb", "Progress", "Progress.Chunk", "StatusBarEdges",
        "ComboButton", "SunkEdge", "ExtraImages", "GroupBox", "GroupBoxEdge", "Tabs", "Tab.Pane", "Headerbar",
        "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
        "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert", "Track", "TRACKVERT"};
    for (const char* name : required) EXPECT_GE(ini.SectionIndex(name), 0) << "[" << name << "] missing";

    // Each section once: the reader would silently ignore a second header.
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    std::set<std::string> seen;
    for (const std::string& s : sections) EXPECT_TRUE(seen.insert(Upper(s)).second) << "[" << s << "] twice";

    EXPECT_EQ(ini.ReadString("TitlebarSkin", "SkinName", ""), "Slate");
    EXPECT_EQ(ini.ReadInteger("Fonts", "FontHeight", 0), 15);
}

TEST(DefaultSkin_Definition, ColoursGiveEveryKeyItsPaletteValue) {
    namespace pal = skingen::palette;
    const TQuickIni ini = Definition();
    const std::map<std::string, uint32_t> expected = {
        {"WindowText", pal::kText},         {"ButtonFace", pal::kFace},        {"Scrollbar", pal::kTrack},
        {"HilightText", pal::kSelectionText}, {"Hilight", pal::kSelection},    {"Menubar", pal::kMenuBar},
        {"Menu", pal::kMenu},               {"MenuText", pal::kText},          {"ButtonText", pal::kText},
        {"ButtonHilight", pal::kMenuHotFrame}, {"Buttonlight", pal::kFaceLight}, {"ButtonShadow", pal::kShadow},
        {"ButtonDkShadow", pal::kDarkShadow}, {"MenuBarText", pal::kText},     {"TitleTextActive", pal::kTitleActive},
        {"TitleTextNoActive", pal::kTitleInactive}};
    for (const auto& [key, rgb] : expected) {
        const std::string text = ini.ReadString("Colours", key, "");
        ASSERT_FALSE(text.empty()) << key;
        EXPECT_EQ(ParseRGB(text), ColourValue(rgb)) << key << " = " << text;
    }
}

TEST(DefaultSkin_Definition, TextColoursAreReadableOnTheirBackgrounds) {
    namespace pal = skingen::palette;
    using skingen::design::CaptionColour;
    struct Row { const char* what; uint32_t text, back; } rows[] = {
        {"dialog text", pal::kText, pal::kFace},
        {"menu-bar text", pal::kText, pal::kMenuBar},
        {"menu text", pal::kText, pal::kMenu},
        {"selected menu text", pal::kSelectionText, pal::kSelection},
        {"active title, caption middle", pal::kTitleActive, CaptionColour(15, true)},
        {"inactive title, caption middle", pal::kTitleInactive, CaptionColour(15, false)},
    };
    for (const Row& r : rows) EXPECT_GE(Contrast(r.text, r.back), 4.5) << r.what;
    // Disabled text only needs to stay legible.
    EXPECT_GE(Contrast(pal::kTextDisabled, pal::kFace), 2.5);
}

TEST(DefaultSkin_Images, EveryImageKeyNamesAValid24BitBmpThatDividesIntoItsCells) {
    const TQuickIni ini = Definition();
    const std::vector<SkinFileEntry> files = Design().files();
    std::map<std::string, const SkinFileEntry*> byName;
    for (const SkinFileEntry& f : files) byName[f.name] = &f;
    ASSERT_FALSE(Design().strips.empty());
    for (const SkinStrip& s : Design().strips) {
        SCOPED_TRACE("[" + s.section + "] " + s.key);
        EXPECT_EQ(ini.ReadString(s.section, s.key, ""), s.file);
        ASSERT_TRUE(byName.count(s.file)) << s.file << " not in the container";
        const SkinFileEntry& entry = *byName[s.file];
        ASSERT_GE(entry.data.size(), 54u);
        EXPECT_EQ(entry.data[28] | (entry.data[29] << 8), 24) << "bits per pixel";
        const std::optional<Picture> p = skingen::DecodeBmp24(entry.data);
        ASSERT_TRUE(p) << "not a 24-bit BMP";
        EXPECT_EQ(p->pixels, s.picture.pixels) << "BMP does not read back";
        const int cells = ModelCells(ini, s.section, s.key, *p);
        ASSERT_GT(cells, 0) << "the model does not cut this image";
        EXPECT_EQ(cells, s.cells) << "documented cell count differs from the model's";
        const int along = s.stacked ? p->height : p->width;
        EXPECT_EQ(along % cells, 0) << along << " pixels in " << cells << " cells";
    }
    // File names are unique, lower case, and every BMP entry is named by some key.
    std::set<std::string> names;
    for (const SkinFileEntry& f : files) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_EQ(f.name, SkinLowerCase(f.name));
    }
    EXPECT_EQ(files.front().name, skingen::kDefinitionFileName);
    EXPECT_EQ(files.size(), Design().strips.size() + 1);
}

TEST(DefaultSkin_Images, OpaquePartsHoldNoKeyColour) {
    // Parts the engine copies without a colour key: a magenta pixel would show as magenta.
    const std::set<std::string> opaque = {"PERSONALITY/TOP", "PERSONALITY/BOTTOM", "PERSONALITY/MENUBAR", "PERSONALITY/TEXTBACK",
                                          "MENUBACKGROUND/IMAGE", "HORZSCROLL/IMAGE", "VERTSCROLL/IMAGE",
                                          "STATUSBAREDGES/IMAGE", "SUNKEDGE/IMAGE", "HEADERBAR/IMAGE",
                                          "TAB.PANE/IMAGE", "TABS/BORDER", "TRACK/IMAGE", "TRACKVERT/IMAGE"};
    const TQuickIni ini = Definition();
    for (const SkinStrip& s : Design().strips) {
        const std::string id = Upper(s.section + "/" + s.key);
        if (!opaque.count(id)) continue;
        EXPECT_FALSE(HasMagenta(s.picture)) << id;
        if (Upper(s.key) == "IMAGE") EXPECT_EQ(ini.ReadInteger(s.section, "Trans", 0), 0) << id;
    }
    EXPECT_EQ(ini.ReadInteger("Personality", "TopTrans", 1), 0);
    EXPECT_EQ(ini.ReadInteger("Personality", "BottomTrans", 1), 0);
    EXPECT_EQ(ini.ReadInteger("Personality", "LeftTrans", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Personality", "RightTrans", 0), 1);
}

TEST(DefaultSkin_Frame, BordersMeasureAsTheFormSkinReadsThem) {
    using namespace skingen::design;
    const TQuickIni ini = Definition();
    const Picture& left = Design().findStrip("Personality", "Left")->picture;
    const Picture& right = Design().findStrip("Personality", "Right")->picture;
    const Picture& top = Design().findStrip("Personality", "Top")->picture;
    const Picture& bottom = Design().findStrip("Personality", "Bottom")->picture;
    // Widths of the side parts and heights of the top and bottom parts over their cells.
    EXPECT_EQ(left.width / ini.ReadInteger("Personality", "LeftFrame", 1), kBorderWidth);
    EXPECT_EQ(right.width / ini.ReadInteger("Personality", "RightFrame", 1), kBorderWidth);
    EXPECT_EQ(top.height / ini.ReadInteger("Personality", "TopFrame", 1), kCaptionHeight);
    EXPECT_EQ(bottom.height / ini.ReadInteger("Personality", "BottomFrame", 1), kBorderWidth);
    // The unscaled ends fit inside each part.
    EXPECT_LT(ini.ReadInteger("Personality", "LeftTopHeight", 0) + ini.ReadInteger("Personality", "LeftBotHeight", 0),
              left.height);
    EXPECT_LT(ini.ReadInteger("Personality", "TopTopHeight", 0) + ini.ReadInteger("Personality", "TopBotHeight", 0),
              top.width);
}

TEST(DefaultSkin_Frame, OnlyTheTopCornersAreCutAway) {
    using namespace skingen::design;
    const SkinDesign& d = Design();
    for (int cell = 0; cell < 2; ++cell) {
        SCOPED_TRACE(cell == 0 ? "active" : "inactive");
        const Picture& left = d.findStrip("Personality", "Left")->picture;
        const Picture& right = d.findStrip("Personality", "Right")->picture;
        const Picture& top = d.findStrip("Personality", "Top")->picture;
        const int lx = cell * kBorderWidth, ty = cell * kCaptionHeight;
        // The outermost corner pixels are cut; the sides below the caption are whole.
        EXPECT_EQ(left.at(lx, 0), skingen::kMagenta);
        EXPECT_EQ(left.at(lx, 1), skingen::kMagenta);
        EXPECT_EQ(left.at(lx + 1, 0), skingen::kMagenta);
        EXPECT_EQ(right.at(lx + kBorderWidth - 1, 0), skingen::kMagenta);
        EXPECT_EQ(right.at(lx + kBorderWidth - 2, 0), skingen::kMagenta);
        EXPECT_NE(top.at(0, ty + 1), skingen::kMagenta);
        for (int y = kCaptionHeight; y < left.height; ++y)
            for (int x = 0; x < kBorderWidth; ++x) {
                EXPECT_NE(left.at(lx + x, y), skingen::kMagenta) << x << "," << y;
                EXPECT_NE(right.at(lx + x, y), skingen::kMagenta) << x << "," << y;
            }
        // The caption's stretched middle has no hole in any row.
        for (int y = 0; y < kCaptionHeight; ++y)
            for (int x = kCaptionEndMargin; x < top.width - kCaptionEndMargin; ++x)
                ASSERT_NE(top.at(x, ty + y), skingen::kMagenta) << x << "," << y;
    }
}

TEST(DefaultSkin_CaptionButtons, SitInsideTheCaptionWithTheirActions) {
    using namespace skingen::design;
    const TQuickIni ini = Definition();
    struct Row { const char* section; int action, visibility; } rows[] = {
        {"ButtonClose", 0, 0},   {"ButtonMaximize", 1, 2},      {"ButtonRestore", 1, 1},
        {"ButtonMinimize", 2, 6}, {"ButtonMinimizeAlone", 2, 7}, {"ButtonHelp", 40, 1000}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.section);
        EXPECT_EQ(ini.ReadInteger(r.section, "Action", -99), r.action);
        EXPECT_EQ(ini.ReadInteger(r.section, "Visibility", -99), r.visibility);
        EXPECT_EQ(ini.ReadInteger(r.section, "Visibility1", -99), 0);
        EXPECT_EQ(ini.ReadInteger(r.section, "Align", -99), 1);
        const Picture& p = Design().findStrip(r.section, "ButtonImage")->picture;
        const int w = p.width / ini.ReadInteger(r.section, "frame", 0), h = p.height;
        const int x = ini.ReadInteger(r.section, "Xcoord", 0), y = ini.ReadInteger(r.section, "Ycoord", 0);
        // Align 1 places the left edge Xcoord pixels from the right edge: clear of the border.
        EXPECT_GE(x - w, kBorderWidth) << "overlaps the right border";
        EXPECT_GE(y, 1);
        EXPECT_LE(y + h, kCaptionHeight - 1);
    }
    // Buttons that can show together do not overlap: close, maximise or restore, minimise, help.
    const int close = ini.ReadInteger("ButtonClose", "Xcoord", 0), max = ini.ReadInteger("ButtonMaximize", "Xcoord", 0);
    const int min = ini.ReadInteger("ButtonMinimize", "Xcoord", 0), help = ini.ReadInteger("ButtonHelp", "Xcoord", 0);
    EXPECT_GE(max - close, kCaptionButtonWidth);
    EXPECT_GE(min - max, kCaptionButtonWidth);
    EXPECT_GE(help - min, kCaptionButtonWidth);
    EXPECT_EQ(ini.ReadInteger("ButtonRestore", "Xcoord", 0), max);
    // The title is clipped before the leftmost button that is normally shown.
    EXPECT_GE(ini.ReadInteger("Personality", "TextRightClip", 0), min);
    // The window icon: system-menu action, no image of its own (the engine uses the icon).
    EXPECT_EQ(ini.ReadInteger("ButtonSysMenu", "Action", -99), 3);
    EXPECT_EQ(ini.ReadString("ButtonSysMenu", "ButtonImage", ""), "");
    EXPECT_EQ(ini.ReadInteger("ButtonSysMenu", "Ycoord", 0) * 2 + 16, kCaptionHeight);
}

TEST(DefaultSkin_Pack, ContainerReadsBackEntryForEntry) {
    const std::vector<SkinFileEntry> files = Design().files();
    const std::vector<uint8_t> skin = WriteSkinContainer(files);
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(skin)) << reader.LastError();
    ASSERT_EQ(reader.Names().size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(reader.Names()[i], files[i].name);
        std::vector<uint8_t> data;
        ASSERT_TRUE(reader.ExtractEntry(files[i].name, data)) << files[i].name;
        EXPECT_EQ(data, files[i].data) << files[i].name;
    }
    std::vector<uint8_t> ini;
    std::string found;
    ASSERT_TRUE(reader.ExtractEntryContaining(".ini", ini, found));
    EXPECT_EQ(found, skingen::kDefinitionFileName);
    const std::string text = Design().definitionText();
    EXPECT_EQ(std::string(ini.begin(), ini.end()), text);
}

TEST(DefaultSkin_Pack, SameSourceGivesTheSameBytes) {
    const std::vector<uint8_t> a = WriteSkinContainer(skingen::DefaultSkinFiles());
    const std::vector<uint8_t> b = WriteSkinContainer(skingen::DefaultSkinFiles());
    EXPECT_EQ(a, b);
}

TEST(SkinRaster_Bmp, EncodesBottomUpRowsPaddedToFourBytes) {
    Picture p(3, 2);
    p.at(0, 0) = 0x112233;  // top-left
    p.at(2, 1) = 0xAABBCC;  // bottom-right
    const std::vector<uint8_t> bmp = skingen::EncodeBmp24(p);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);  // 3 pixels = 9 bytes, padded to 12
    EXPECT_EQ(bmp[54 + 6], 0xCC);         // first stored row is the bottom one, blue first
    EXPECT_EQ(bmp[54 + 8], 0xAA);
    EXPECT_EQ(bmp[54 + 12], 0x33);  // second stored row is the top one
    EXPECT_EQ(bmp[54 + 14], 0x11);
    const std::optional<Picture> back = skingen::DecodeBmp24(bmp);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, p.pixels);
}

TEST(SkinRaster_Bmp, ReaderRefusesOtherFormatsAndShortFiles) {
    std::vector<uint8_t> bmp = skingen::EncodeBmp24(Picture(4, 4, 0x123456));
    std::vector<uint8_t> short_(bmp.begin(), bmp.end() - 1);
    EXPECT_FALSE(skingen::DecodeBmp24(short_));
    std::vector<uint8_t> eight = bmp;
    eight[28] = 8;
    EXPECT_FALSE(skingen::DecodeBmp24(eight));
    std::vector<uint8_t> rle = bmp;
    rle[30] = 1;
    EXPECT_FALSE(skingen::DecodeBmp24(rle));
    EXPECT_FALSE(skingen::DecodeBmp24({}));
}

TEST(SkinRaster_Keying, UncoveredPixelsBecomeKeyAndPaintedOnesNever) {
    skingen::Canvas c(4, 1);
    c.set(1, 0, skingen::kMagenta);           // painted magenta must not read as the key
    c.set(2, 0, 0x000000, 0.1);               // a faint tint still counts as painted
    const Picture p = c.flattenKeyed(0xFFFFFF);
    EXPECT_EQ(p.at(0, 0), skingen::kMagenta);
    EXPECT_NE(p.at(1, 0), skingen::kMagenta);
    EXPECT_NE(p.at(2, 0), skingen::kMagenta);
    EXPECT_EQ(p.at(3, 0), skingen::kMagenta);
}

}  // namespace
