// Assembles the default skin: every section of the definition text with its keys, in the
// order the engine documents them, and the strip painted for each image key.  The
// caption-button placement follows the frame geometry in SkinDesign_impl.h.
#include "SkinDesign.h"

#include <cstdio>

#include "SkinDesign_impl.h"
#include "SkinPalette.h"

namespace skingen {

namespace pal = skingen::palette;
using namespace skingen::design;

namespace {

std::string LowerAscii(std::string s) {
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
    return s;
}

// "R G B", the three-number colour text of the definition.
std::string ColourText(uint32_t rgb) {
    return std::to_string(RedOf(rgb)) + " " + std::to_string(GreenOf(rgb)) + " " + std::to_string(BlueOf(rgb));
}

// An integer colour key (NormalColour and friends) holds the platform's colour value:
// red in the low byte.  Written in hexadecimal with the "0x" prefix the reader accepts.
std::string ColourValueText(uint32_t rgb) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", unsigned(RedOf(rgb) | (GreenOf(rgb) << 8) | (BlueOf(rgb) << 16)));
    return buf;
}

class Builder {
public:
    void section(const std::string& name, const std::string& comment = {}) {
        design_.sections.push_back({name, {}, comment});
    }
    void key(const std::string& k, const std::string& v) { design_.sections.back().keys.push_back({k, v}); }
    void key(const std::string& k, int v) { key(k, std::to_string(v)); }
    // An image key of the current section and the strip it names.
    void image(const std::string& k, const std::string& file, int cells, Picture picture, bool stacked = false,
               bool keyedCorners = false) {
        key(k, file);
        SkinStrip strip;
        strip.section = design_.sections.back().name;
        strip.key = k;
        strip.file = file;
        strip.cells = cells;
        strip.stacked = stacked;
        strip.keyedCorners = keyedCorners;
        strip.picture = std::move(picture);
        design_.strips.push_back(std::move(strip));
    }
    void margins(int left, int top, int right, int bottom) {
        key("LeftWidth", left);
        key("TopHeight", top);
        key("RightWidth", right);
        key("BottomHeight", bottom);
    }
    SkinDesign take() { return std::move(design_); }

private:
    SkinDesign design_;
};

void AddFrame(Builder& b) {
    b.section("TitlebarSkin");
    b.key("SkinName", "Slate");

    b.section("Personality",
              "Window frame.  Left and Right: 2 cells side by side (active, inactive); Top, Bottom\n"
              "and menuBar: 2 cells stacked.  The magenta top corners of Left and Right are cut\n"
              "by the window region.");
    // The side parts keep the caption rows and the bottom corner unscaled.
    b.image("Left", "frameleft.bmp", 2, FrameLeft(), false, true);
    b.key("LeftTopHeight", kCaptionHeight);
    b.key("LeftBotHeight", kFrameBottomMargin);
    b.key("LeftFrame", 2);
    b.key("LeftStretch", 1);
    b.key("LeftTrans", 1);
    b.image("Right", "frameright.bmp", 2, FrameRight(), false, true);
    b.key("RightTopHeight", kCaptionHeight);
    b.key("RightBotHeight", kFrameBottomMargin);
    b.key("RightFrame", 2);
    b.key("RightStretch", 1);
    b.key("RightTrans", 1);
    // The caption part keeps both rounded ends unscaled.
    // The corner curve ends inside the side parts' columns at the very top row, so the caption
    // part itself is opaque and its share of the window region is a plain rectangle.
    b.image("Top", "frametop.bmp", 2, FrameTop(), true);
    b.key("TopTopHeight", kCaptionEndMargin);
    b.key("TopBotHeight", kCaptionEndMargin);
    b.key("TopFrame", 2);
    b.key("TopStretch", 1);
    b.key("TopTrans", 0);
    b.image("Bottom", "framebottom.bmp", 2, FrameBottom(), true);
    b.key("BottomTopHeight", 0);
    b.key("BottomBotHeight", 0);
    b.key("BottomFrame", 2);
    b.key("BottomStretch", 1);
    b.key("BottomTrans", 0);
    // Title placement: after the window icon, clear of the caption buttons.
    b.image("TextBack", "captiontext.bmp", 2, CaptionTextBack());
    b.key("TextShift", 30);
    b.key("TextShiftVert", 0);
    b.key("TextRightClip", 96);
    b.key("TextAlignment", 0);
    b.key("Textbackground", 0);
    b.key("TXTBackleft", 0);
    b.key("TXTBackRight", 0);
    b.key("ActiveTextR", RedOf(pal::kTitleActive));
    b.key("ActiveTextG", GreenOf(pal::kTitleActive));
    b.key("ActiveTextB", BlueOf(pal::kTitleActive));
    b.key("InActiveTextR", RedOf(pal::kTitleInactive));
    b.key("InActiveTextG", GreenOf(pal::kTitleInactive));
    b.key("InActiveTextB", BlueOf(pal::kTitleInactive));
    b.image("menuBar", "menubar.bmp", 2, MenuBar(), true);
    b.key("TileMenu", 1);
    b.key("TileLeftMenu", 2);
    b.key("TileRightMenu", 2);

    b.section("Fonts");
    b.key("FontHeight", 15);
}

void AddColours(Builder& b) {
    b.section("Colours");
    b.key("WindowText", ColourText(pal::kText));
    b.key("ButtonFace", ColourText(pal::kFace));
    b.key("Scrollbar", ColourText(pal::kTrack));
    b.key("HilightText", ColourText(pal::kSelectionText));
    b.key("Hilight", ColourText(pal::kSelection));
    b.key("Menubar", ColourText(pal::kMenuBar));
    b.key("Menu", ColourText(pal::kMenu));
    b.key("MenuText", ColourText(pal::kText));
    b.key("ButtonText", ColourText(pal::kText));
    b.key("ButtonHilight", ColourText(pal::kMenuHotFrame));
    b.key("Buttonlight", ColourText(pal::kFaceLight));
    b.key("ButtonShadow", ColourText(pal::kShadow));
    b.key("ButtonDkShadow", ColourText(pal::kDarkShadow));
    b.key("MenuBarText", ColourText(pal::kText));
    b.key("TitleTextActive", ColourText(pal::kTitleActive));
    b.key("TitleTextNoActive", ColourText(pal::kTitleInactive));
}

// Caption buttons are placed from the right edge (Align 1: Xcoord is the distance from the
// window's right edge to the button's left edge), 2 pixels apart.
constexpr int kCloseX = kBorderWidth + 2 + kCaptionButtonWidth;
constexpr int kSecondX = kCloseX + 2 + kCaptionButtonWidth;
constexpr int kThirdX = kSecondX + 2 + kCaptionButtonWidth;
constexpr int kFourthX = kThirdX + 2 + kCaptionButtonWidth;

// Actions: 0 close, 1 maximise or restore, 2 minimise, 3 system menu.  Visibility: 0
// always, 1 maximised, 2 not maximised, 6 with a maximise box, 7 without one, 1000 when
// the window answers the button-visibility query.
void AddCaptionButton(Builder& b, const std::string& name, const std::string& file, CaptionGlyph glyph, int action,
                      int x, int visibility) {
    b.section(name);
    b.image("ButtonImage", file, 4, CaptionButton(glyph));
    b.key("frame", 4);
    b.key("Action", action);
    b.key("Align", 1);
    b.key("Xcoord", x);
    b.key("Ycoord", kCaptionButtonTop);
    b.key("Visibility", visibility);
    b.key("Visibility1", 0);
}

void AddCaptionButtons(Builder& b) {
    // The window icon; the engine fills the image from the window's small icon.
    b.section("ButtonSysMenu",
              "Caption buttons: 4 cells each (normal, pressed, hot, inactive window).");
    b.key("Action", 3);
    b.key("Align", 0);
    b.key("Xcoord", 8);
    b.key("Ycoord", (kCaptionHeight - 16) / 2);
    b.key("Visibility", 0);
    AddCaptionButton(b, "ButtonClose", "btnclose.bmp", CaptionGlyph::Close, 0, kCloseX, 0);
    AddCaptionButton(b, "ButtonMaximize", "btnmax.bmp", CaptionGlyph::Maximise, 1, kSecondX, 2);
    AddCaptionButton(b, "ButtonRestore", "btnrestore.bmp", CaptionGlyph::Restore, 1, kSecondX, 1);
    // Minimise sits beside maximise, or takes its place on windows without a maximise box.
    AddCaptionButton(b, "ButtonMinimize", "btnmin.bmp", CaptionGlyph::Minimise, 2, kThirdX, 6);
    AddCaptionButton(b, "ButtonMinimizeAlone", "btnminalone.bmp", CaptionGlyph::Minimise, 2, kSecondX, 7);
    // Help posts its action to the window; shown only to windows that ask for it.
    AddCaptionButton(b, "ButtonHelp", "btnhelp.bmp", CaptionGlyph::Help, 40, kFourthX, 1000);

    b.section("MDICONTROLS", "Document-window buttons in the menu bar: minimise, restore, close; 4 cells each.");
    b.image("Image", "mdicontrols.bmp", 12, MdiControls());
}

void AddButtons(Builder& b) {
    b.section("Buttons", "Push buttons: normal, pressed, disabled, hot, focused.");
    b.image("Bitmap", "buttons.bmp", 5, PushButtons());
    b.margins(4, 4, 4, 4);
    b.key("Trans", 1);
    b.key("Tile", 0);
    b.image("CheckButton", "checkbox.bmp", 12, CheckBoxes());
    b.key("CheckButtonFrame", 12);
    b.image("RadioButton", "radio.bmp", 8, RadioButtons());
    b.key("RadioButtonFrame", 8);
}

void AddMenus(Builder& b) {
    b.section("MenuItem", "Menu items: normal, separator, disabled, selected, selected and disabled.");
    b.image("Image", "menuitem.bmp", 5, MenuItem());
    b.key("Frame", 5);
    b.margins(4, 4, 4, 4);
    b.key("Trans", 1);
    b.key("Tile", 0);

    b.section("MenuBackground");
    b.image("Image", "menubg.bmp", 1, MenuBackground());
    b.key("Frame", 1);
    b.margins(3, 3, 3, 3);
    b.key("Tile", 0);
}

void AddScrollBars(Builder& b) {
    b.section("Scrollbar", "Scroll bars: 23 cells of arrows (normal, pressed, disabled, hot) and thumb grips.");
    b.image("Image", "scrollbar.bmp", 23, ScrollbarCells());
    b.key("Frame", 23);
    b.key("Trans", 1);

    b.section("HorzScroll");
    b.image("Image", "hscroll.bmp", 4, ScrollTrack(false));
    b.key("Frame", 4);
    b.key("Tile", 0);
    b.section("VertScroll");
    b.image("Image", "vscroll.bmp", 4, ScrollTrack(true));
    b.key("Frame", 4);
    b.key("Tile", 0);

    b.section("HorzScrollThumb");
    b.image("Image", "hthumb.bmp", 3, ScrollThumb(false));
    b.key("FrameCount", 3);
    b.margins(5, 0, 5, 0);
    b.key("Trans", 1);
    b.section("VertScrollThumb");
    b.image("Image", "vthumb.bmp", 3, ScrollThumb(true));
    b.key("FrameCount", 3);
    b.margins(0, 5, 0, 5);
    b.key("Trans", 1);
}

void AddBars(Builder& b) {
    b.section("Progress", "Progress: track and bar (Style 0); Progress.Chunk serves Style 1.");
    b.image("Bitmap", "progress.bmp", 2, ProgressBar());
    b.key("Style", 0);
    b.margins(4, 4, 4, 4);
    b.key("Trans", 1);
    b.key("Tile", 0);
    b.section("Progress.Chunk");
    b.image("Image", "progresschunk.bmp", 1, ProgressChunk());
    b.key("Frame", 1);
    b.key("Trans", 1);
    b.key("Tile", 1);

    b.section("StatusBarEdges", "Status-bar panels: lowered, raised, no bevel.");
    b.image("Image", "statusedges.bmp", 3, StatusBarEdges());
    b.key("Frame", 3);
    b.margins(2, 2, 2, 2);
    b.key("NormalColour", ColourValueText(pal::kText));
}

void AddCombo(Builder& b) {
    b.section("ComboButton", "Combo box: normal, pressed, disabled, hot or focused.");
    b.image("Image", "combobutton.bmp", 4, ComboButton());
    b.key("Style", 0);
    b.margins(3, 3, 3, 3);
    b.key("Trans", 1);
    b.section("SunkEdge");
    b.image("Image", "sunkedge.bmp", 4, SunkEdge());
    b.margins(2, 2, 2, 2);
    b.key("Trans", 0);
    b.section("ExtraImages", "Drop-down arrows in the combo states, then the size grip.");
    b.image("Image", "extraimages.bmp", 5, ExtraImages());
    b.key("Trans", 1);
}

void AddGroupsTabsHeader(Builder& b) {
    b.section("GroupBox");
    b.image("Image", "groupbox.bmp", 1, GroupBoxLabel());
    b.margins(4, 4, 4, 4);
    b.key("BackgroundAlignment", 0);
    b.key("BackgroundLeftShift", 0);
    b.key("BackgroundRightShift", 0);
    b.section("GroupBoxEdge");
    b.image("Image", "groupboxedge.bmp", 2, GroupBoxEdge());
    b.margins(5, 5, 5, 5);
    b.key("Trans", 1);

    b.section("Tabs", "Tabs: tab, current, hot, disabled, current and focused; the pane comes from Tab.Pane.");
    b.image("Image", "tabs.bmp", 5, Tabs());
    b.image("Border", "tabborder.bmp", 1, TabPane());
    b.key("Style", 1);
    b.margins(5, 5, 5, 2);
    b.key("Trans", 1);
    b.key("Tile", 0);
    b.key("NormalColour", ColourValueText(pal::kText));
    b.key("MouseOverColour", ColourValueText(pal::kText));
    b.section("Tab.Pane");
    b.image("Image", "tabpane.bmp", 1, TabPane());
    b.margins(4, 4, 4, 4);

    b.section("Headerbar", "Column headers: normal, hot, pressed, disabled, sorted.");
    b.image("Image", "header.bmp", 5, Headerbar());
    b.key("Frame", 5);
    b.margins(3, 3, 3, 3);
    b.key("Tile", 0);
}

void AddTrackAndSpin(Builder& b) {
    b.section("Track", "Track bars: grooves, then thumbs (cell 2 is the one drawn).");
    b.image("Image", "track.bmp", 1, TrackGroove(false));
    b.key("Frame", 1);
    b.margins(3, 0, 3, 0);
    b.section("TRACKVERT");
    b.image("Image", "trackvert.bmp", 1, TrackGroove(true));
    b.key("Frame", 1);
    b.margins(0, 3, 0, 3);
    const struct { const char* name; const char* file; ThumbShape shape; } thumbs[] = {
        {"Trackbar.ThumbHorz", "thumbhorz.bmp", ThumbShape::Horz},
        {"Trackbar.ThumbVert", "thumbvert.bmp", ThumbShape::Vert},
        {"Trackbar.ThumbLeft", "thumbleft.bmp", ThumbShape::Left},
        {"Trackbar.ThumbRight", "thumbright.bmp", ThumbShape::Right},
        {"Trackbar.ThumbUp", "thumbup.bmp", ThumbShape::Up},
        {"Trackbar.ThumbDown", "thumbdown.bmp", ThumbShape::Down}};
    for (const auto& t : thumbs) {
        b.section(t.name);
        b.image("Image", t.file, 5, TrackbarThumb(t.shape));
        b.key("Frame", 5);
        b.key("Trans", 1);
    }

    b.section("UpDown.Horz", "Up-down buttons: first then second button, each normal, pressed, disabled, hot.");
    b.image("Image", "updownh.bmp", 8, UpDownFaces(false));
    b.image("GlyphImage", "updownhglyph.bmp", 8, UpDownGlyphs(false));
    b.margins(2, 2, 2, 2);
    b.key("Trans", 1);
    b.section("UpDown.Vert");
    b.image("Image", "updownv.bmp", 8, UpDownFaces(true));
    b.image("GlyphImage", "updownvglyph.bmp", 8, UpDownGlyphs(true));
    b.margins(2, 2, 2, 2);
    b.key("Trans", 1);
}

}  // namespace

std::string SkinDesign::definitionText() const {
    std::string text = "; Default skin of the dictation programs.  Generated by skingen from its sources;\r\n"
                       "; change the sources, not this file.\r\n";
    for (const IniSection& s : sections) {
        text += "\r\n";
        size_t start = 0;
        while (start < s.comment.size()) {  // one "; " line per comment line
            size_t end = s.comment.find('\n', start);
            if (end == std::string::npos) end = s.comment.size();
            text += "; " + s.comment.substr(start, end - start) + "\r\n";
            start = end + 1;
        }
        text += "[" + s.name + "]\r\n";
        for (const IniKey& k : s.keys) text += k.key + "=" + k.value + "\r\n";
    }
    return text;
}

std::vector<SkinFileEntry> SkinDesign::files() const {
    std::vector<SkinFileEntry> out;
    const std::string text = definitionText();
    out.push_back({kDefinitionFileName, std::vector<uint8_t>(text.begin(), text.end())});
    for (const SkinStrip& s : strips) out.push_back({s.file, EncodeBmp24(s.picture)});
    return out;
}

const IniSection* SkinDesign::findSection(const std::string& name) const {
    for (const IniSection& s : sections)
        if (LowerAscii(s.name) == LowerAscii(name)) return &s;
    return nullptr;
}

const SkinStrip* SkinDesign::findStrip(const std::string& section, const std::string& key) const {
    for (const SkinStrip& s : strips)
        if (LowerAscii(s.section) == LowerAscii(section) && LowerAscii(s.key) == LowerAscii(key)) return &s;
    return nullptr;
}

SkinDesign DesignDefaultSkin() {
    Builder b;
    AddFrame(b);
    AddColours(b);
    AddCaptionButtons(b);
    AddButtons(b);
    AddMenus(b);
    AddScrollBars(b);
    AddBars(b);
    AddCombo(b);
    AddGroupsTabsHeader(b);
    AddTrackAndSpin(b);
    return b.take();
}

std::vector<SkinFileEntry> DefaultSkinFiles() { return DesignDefaultSkin().files(); }

}  // namespace skingen
