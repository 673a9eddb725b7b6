// Loading a skin into TSkinData: the container and its definition text, the fixed parse
// order, every section loader with its keys and defaults, the colours and the cell counts
// the drawing code relies on.  The caption buttons and the parts the loader draws itself
// are in WinSkinDataParts.cpp.
//
// Skin files are untrusted: entries are found by name only, bitmaps are decoded by
// TBitmap (which refuses damaged data), and cell counts are left as the file gives them
// for readers that treat counts below 1 as 1.
#include <algorithm>

#include "Forms.h"
#include "ImgUtil.h"
#include "QuickIni.h"
#include "SkinContainer.h"
#include "Texts.h"
#include "WinSkinData.h"
#include "WinSkinData_impl.h"

namespace {

// Holds the reader and the definition text for the length of one LoadSkin, also when the
// parse raises.
class LoadScope {
public:
    LoadScope(const TSkinReader*& reader, const TQuickIni*& ini, const TSkinReader& r, const TQuickIni& i)
        : reader_(reader), ini_(ini) {
        reader_ = &r;
        ini_ = &i;
    }
    ~LoadScope() {
        reader_ = nullptr;
        ini_ = nullptr;
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    const TSkinReader*& reader_;
    const TQuickIni*& ini_;
};

void showOlderVersionMessage() {
    if (Application) Application->MessageBox(SkinOlderVersionMessage);
    else MessageBoxA(nullptr, SkinOlderVersionMessage, "", MB_OK);
}

}  // namespace

bool TSkinData::LoadSkin() {
    noSkin_ = true;
    if (designing()) return false;
    TSkinReader reader;
    if (!reader.LoadFromStream(skinBytes_)) {
        // A damaged container is refused without a word, like a missing skin.
        if (reader.LastLoadError() == SkinLoadError::OlderVersion) showOlderVersionMessage();
        return false;
    }
    std::vector<uint8_t> text;
    std::string found;
    reader.ExtractEntryContaining(".ini", text, found);
    TQuickIni ini;
    ini.LoadFromStream(text);
    LoadScope scope(reader_, ini_, reader, ini);
    ParseSkin();
    return true;
}

// ---- reading the definition --------------------------------------------------------

std::string TSkinData::readString(const std::string& section, const std::string& key) const {
    return ini_ ? ini_->ReadString(section, key, std::string()) : std::string();
}

int32_t TSkinData::readInteger(const std::string& section, const std::string& key, int32_t Default) const {
    return ini_ ? ini_->ReadInteger(section, key, Default) : Default;
}

TColor TSkinData::readColour(const std::string& section, const std::string& key, TColor Default) const {
    return static_cast<TColor>(ReadColor(readString(section, key), static_cast<SkinColour>(Default)));
}

void TSkinData::LoadBitmap(TBitmap& bitmap, const std::string& value) {
    // The entry is the value's file-name part; only the exact lower-case ".bmp" counts.
    const size_t slash = value.find_last_of("\\:");
    const std::string name = slash == std::string::npos ? value : value.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string::npos || name.compare(dot, std::string::npos, ".bmp") != 0 || !reader_) {
        bitmap.Clear();
        return;
    }
    std::vector<uint8_t> entry;
    reader_->ExtractEntry(name, entry);
    if (entry.empty()) {
        bitmap.Clear();
        return;
    }
    bitmap.LoadFromBytes(entry);
}

void TSkinData::readPartKeys(TDataSkinObject& part, const std::string& section, bool withFrame) {
    part.Style = readInteger(section, "Style", 0);
    part.Margins.Left = readInteger(section, "LeftWidth", 0);
    part.Margins.Right = readInteger(section, "RightWidth", 0);
    part.Margins.Top = readInteger(section, "TopHeight", 0);
    part.Margins.Bottom = readInteger(section, "BottomHeight", 0);
    if (withFrame) part.Frame = readInteger(section, "Frame", 0);
    part.Trans = readInteger(section, "Trans", 0);
    part.Tile = readInteger(section, "Tile", 0);
    if (part.Tile > 1) part.Tile = 0;
    part.NormalColour = readInteger(section, "NormalColour", -1);
    part.MouseOverColour = readInteger(section, "MouseOverColour", -1);
    part.PressedColour = readInteger(section, "PressedColour", -1);
    part.NormalColour2 = readColour(section, "NormalColour2", Colours.ButtonText);
    part.MouseOverColour2 = readColour(section, "MouseOverColour2", Colours.ButtonText);
    part.PressedColour2 = readColour(section, "PressedColour2", Colours.ButtonText);
}

// ---- section loaders ---------------------------------------------------------------

void TSkinData::LoadPart(std::shared_ptr<TDataSkinObject>& slot, const std::string& section) {
    slot.reset();
    const std::string image = readString(section, "Image");
    if (image.empty()) return;
    auto part = std::make_shared<TDataSkinObject>(section);
    LoadBitmap(part->Image, image);
    readPartKeys(*part, section, true);
    slot = std::move(part);
}

void TSkinData::LoadDualPart(std::shared_ptr<TDataSkinBorder>& slot, const std::string& section,
                             const std::string& key2) {
    slot.reset();
    const std::string image = readString(section, "Image");
    if (image.empty()) return;
    auto part = std::make_shared<TDataSkinBorder>(section);
    LoadBitmap(part->Image, image);
    readPartKeys(*part, section, false);
    const std::string image2 = readString(section, key2);
    if (!image2.empty()) LoadBitmap(part->Image2, image2);
    slot = std::move(part);
}

void TSkinData::LoadBoxLabel(std::shared_ptr<TDataSkinBoxLabel>& slot, const std::string& section) {
    slot.reset();
    const std::string image = readString(section, "Image");
    if (image.empty()) return;
    auto part = std::make_shared<TDataSkinBoxLabel>(section);
    LoadBitmap(part->Image, image);
    readPartKeys(*part, section, false);
    part->BackgroundAlignment = readInteger(section, "BackgroundAlignment", 0);
    part->BackgroundLeftShift = readInteger(section, "BackgroundLeftShift", 0);
    part->BackgroundRightShift = readInteger(section, "BackgroundRightShift", 0);
    slot = std::move(part);
}

void TSkinData::LoadProgress(std::shared_ptr<TDataSkinBorder>& slot, const std::string& section) {
    slot.reset();
    const std::string image = readString(section, "Bitmap");
    if (image.empty()) return;
    auto part = std::make_shared<TDataSkinBorder>(section);
    LoadBitmap(part->Image, image);
    part->Style = readInteger(section, "Style", 0);
    part->Margins.Left = readInteger(section, "LeftWidth", 0);
    part->Margins.Right = readInteger(section, "RightWidth", 0);
    part->Margins.Top = readInteger(section, "TopHeight", 0);
    part->Margins.Bottom = readInteger(section, "BottomHeight", 0);
    part->Trans = readInteger(section, "Trans", 0);
    part->Tile = readInteger(section, "Tile", 0);
    if (part->Tile > 1) part->Tile = 1;
    slot = std::move(part);
}

void TSkinData::LoadMenuBar(std::shared_ptr<TDataSkinObject>& slot, const std::string& section) {
    slot.reset();
    const std::string image = readString(section, "menuBar");
    if (image.empty()) return;
    auto part = std::make_shared<TDataSkinObject>(section);
    LoadBitmap(part->Image, image);
    part->Tile = readInteger(section, "TileMenu", 1);
    if (part->Tile > 1) part->Tile = 1;
    part->Margins.Left = readInteger(section, "TileLeftMenu", 1);
    part->Margins.Right = readInteger(section, "TileRightMenu", 1);
    slot = std::move(part);
}

// ---- fixed parts -------------------------------------------------------------------

void TSkinData::LoadBorders() {
    const std::pair<const char*, TDataSkinBorder*> borders[] = {
        {"Left", Left.get()}, {"Right", Right.get()}, {"Top", Top.get()}, {"Bottom", Bottom.get()}};
    for (const auto& [name, part] : borders) {
        const std::string p = name;
        const bool side = p == "Left" || p == "Right";
        part->Margins = TSkinMargins{};
        LoadBitmap(part->Image, readString("Personality", p));
        // Side parts keep their top and bottom unscaled, caption and bottom their ends.
        const int32_t first = readInteger("Personality", p + "TopHeight", 0);
        const int32_t last = readInteger("Personality", p + "BotHeight", 0);
        if (side) {
            part->Margins.Top = first;
            part->Margins.Bottom = last;
        } else {
            part->Margins.Left = first;
            part->Margins.Right = last;
        }
        part->Frame = readInteger("Personality", p + "Frame", 1);
        part->Tile = readInteger("Personality", p + "Stretch", 1);
        if (part->Tile > 1) part->Tile = 1;
        part->Trans = readInteger("Personality", p + "Trans", 1);
    }
}

void TSkinData::LoadButtons() {
    TDataSkinButton& b = *Buttons;
    const std::string s = "Buttons";
    b.Margins.Left = readInteger(s, "LeftWidth", 0);
    b.Margins.Right = readInteger(s, "RightWidth", 0);
    b.Margins.Top = readInteger(s, "TopHeight", 0);
    b.Margins.Bottom = readInteger(s, "BottomHeight", 0);
    b.Trans = readInteger(s, "Trans", 0);
    LoadBitmap(b.Image, readString(s, "Bitmap"));
    b.Tile = readInteger(s, "Tile", 0);
    if (b.Tile > 1) b.Tile = 0;
    LoadBitmap(b.CheckButton, readString(s, "CheckButton"));
    LoadBitmap(b.RadioButton, readString(s, "RadioButton"));
    b.NormalColour = readInteger(s, "NormalColour", -1);
    b.MouseOverColour = readInteger(s, "MouseOverColour", -1);
    b.PressedColour = readInteger(s, "PressedColour", -1);
    b.RadioButtonFrame = readInteger(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = readInteger(s, "CheckButtonFrame", 0);
    const std::string normal = readString(s, "NormalColour2");
    const std::string over = readString(s, "MouseOverColour2");
    const std::string pressed = readString(s, "PressedColour2");
    b.HasNormalColour2 = !normal.empty();
    b.HasMouseOverColour2 = !over.empty();
    b.HasPressedColour2 = !pressed.empty();
    b.NormalColour2 = static_cast<TColor>(ReadColor(normal, static_cast<SkinColour>(Colours.ButtonText)));
    b.MouseOverColour2 = static_cast<TColor>(ReadColor(over, static_cast<SkinColour>(Colours.ButtonText)));
    b.PressedColour2 = static_cast<TColor>(ReadColor(pressed, static_cast<SkinColour>(Colours.ButtonText)));
}

void TSkinData::LoadTitle(TDataSkinTitle& title, const std::string& section) {
    LoadBitmap(title.Image, readString(section, "TextBack"));
    title.Margins.Left = readInteger(section, "TextShift", 0);
    title.Margins.Top = readInteger(section, "TextShiftVert", 0);
    title.Margins.Right = readInteger(section, "TextRightClip", 0);
    title.Margins.Bottom = 0;
    title.TextAlignment = readInteger(section, "TextAlignment", 0);
    title.Textbackground = readInteger(section, "Textbackground", 0);
    title.FontHeight = readInteger("Fonts", "FontHeight", 14);
    title.TXTBackleft = readInteger(section, "TXTBackleft", 0);
    title.TXTBackRight = readInteger(section, "TXTBackRight", 0);
    title.ActiveText = clNone;
    LoadRGBKeys(section, "ActiveText", title.ActiveText);
    title.InActiveText = clNone;
    LoadRGBKeys(section, "InActiveText", title.InActiveText);
}

void TSkinData::LoadRGBKeys(const std::string& section, const std::string& name, TColor& colour) {
    const int32_t r = readInteger(section, name + "R", -1);
    const int32_t g = readInteger(section, name + "G", -1);
    const int32_t b = readInteger(section, name + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0) colour = static_cast<TColor>(RGB(r & 0xFF, g & 0xFF, b & 0xFF));
}

void TSkinData::LoadColours() {
    const std::string s = "Colours";
    TSkinColours& c = Colours;
    c.WindowText = readColour(s, "WindowText", clWindowText);
    c.ButtonFace = readColour(s, "ButtonFace", clBtnFace);
    c.Scrollbar = readColour(s, "Scrollbar", clScrollBar);
    c.HilightText = readColour(s, "HilightText", clHighlightText);
    c.Hilight = readColour(s, "Hilight", clHighlight);
    c.Menubar = readColour(s, "Menubar", c.ButtonFace);
    c.Menu = readColour(s, "Menu", clMenu);
    c.MenuText = readColour(s, "MenuText", clMenuText);
    c.ButtonText = readColour(s, "ButtonText", clBtnText);
    c.ButtonHilight = readColour(s, "ButtonHilight", clBtnHighlight);
    c.Buttonlight = readColour(s, "Buttonlight", clBtnHighlight);
    c.ButtonShadow = readColour(s, "ButtonShadow", clBtnShadow);
    c.ButtonDkShadow = readColour(s, "ButtonDkShadow", cl3DDkShadow);
    c.MenuBarText = readColour(s, "MenuBarText", clMenuText);
    c.TitleTextActive = readColour(s, "TitleTextActive", clCaptionText);
    c.TitleTextNoActive = readColour(s, "TitleTextNoActive", clInactiveCaptionText);

    // [Colour], [Colour1], [COLOUR2]... each give one list colour; [Colours] does not.
    SectionColours.clear();
    for (const std::string& name : sections_) {
        const std::string upper = texts::UpperCase(name);
        if (upper.compare(0, 6, "COLOUR") == 0 && upper != "COLOURS")
            SectionColours.push_back(readColour(name, "color", clWindowText));
    }
    for (int i = 0; i < 10; ++i)
        CustomColours[static_cast<size_t>(i)] = readColour("Customcolors", "Color" + std::to_string(i), clWhite);
}

// ---- the parse ---------------------------------------------------------------------

void TSkinData::ParseSkin() {
    sections_.clear();
    if (ini_) ini_->ReadSections(sections_);
    SkinName = readString("TitlebarSkin", "SkinName");
    LoadBorders();
    LoadColours();  // before every loader whose colours default to ButtonText
    LoadCaptionButtons();
    LoadButtons();
    LoadTitle(*Title, "Personality");

    LoadProgress(Progress, "Progress");
    LoadPart(ProgressChunk, "Progress.Chunk");
    LoadMenuBar(MenuBar, "Personality");
    LoadPart(GroupBoxEdge, "GroupBoxEdge");
    LoadBoxLabel(GroupBox, "GroupBox");
    LoadDualPart(Tabs, "Tabs", "Border");
    LoadPart(StatusBarEdges, "StatusBarEdges");
    LoadPart(TabPane, "Tab.Pane");
    if (TabPane) {
        TSkinMargins& m = TabPane->Margins;
        m.Left = std::min(m.Left, 4);
        m.Top = std::min(m.Top, 4);
        m.Right = std::min(m.Right, 4);
        m.Bottom = std::min(m.Bottom, 4);
    }
    LoadPart(ToolBars, "ToolBars");
    LoadDualPart(ComboButton, "ComboButton", "****");
    LoadPart(SunkEdge, "SunkEdge");
    // The combo button for right-to-left reading: its own strip mirrored, cell by cell so
    // that the states keep their numbers (the section always has 4 cells).
    if (ComboButton && !ComboButton->Image.Empty()) {
        DuplicateBitmap(ComboButton->Image, ComboButton->Image2);
        ComboButton->Image2.SetPixelFormat(pf24bit);
        MirrorStripCells(ComboButton->Image2, 4);
    }
    LoadPart(ExtraImages, "ExtraImages");
    LoadPart(Headerbar, "Headerbar");
    LoadPart(MenuItem, "MenuItem");
    LoadPart(MenuBackground, "MenuBackground");
    LoadPart(Scrollbar, "Scrollbar");
    LoadPart(HorzScroll, "HorzScroll");
    LoadPart(VertScroll, "VertScroll");
    LoadPart(HorzScrollThumb, "HorzScrollThumb");
    LoadPart(VertScrollThumb, "VertScrollThumb");
    LoadPart(TrackbarThumbHorz, "Trackbar.ThumbHorz");
    LoadPart(TrackbarThumbVert, "Trackbar.ThumbVert");
    LoadPart(TrackbarThumbLeft, "Trackbar.ThumbLeft");
    LoadPart(TrackbarThumbRight, "Trackbar.ThumbRight");
    LoadPart(TrackbarThumbUp, "Trackbar.ThumbUp");
    LoadPart(TrackbarThumbDown, "Trackbar.ThumbDown");
    LoadDualPart(UpDownHorz, "UpDown.Horz", "GlyphImage");
    LoadDualPart(UpDownVert, "UpDown.Vert", "GlyphImage");
    LoadPart(Track, "Track");
    if (!Track) LoadResourcePart(Track, "TRACK");
    LoadPart(TrackVert, "TRACKVERT");
    if (!TrackVert) LoadResourcePart(TrackVert, "TRACKVERT");

    SetFrameCounts();
    ComposeComboButton();
    MakeComboArrow();
    MakeToolbarGradient();
    CaptionSample = CaptionSampleColor();
    skinBrush_.reset();
    skinBrush_.reset(CreateSolidBrush(ColorToRGB(Colours.ButtonFace)));
    sections_.clear();
    noSkin_ = false;
    ++generation_;
}

void TSkinData::SetFrameCounts() {
    auto set = [](const auto& part, int32_t cells) {
        if (part) part->Frame = cells;
    };
    if (Progress) Progress->Frame = Progress->Style != 0 ? 1 : 2;
    set(MenuBar, 2);
    set(GroupBoxEdge, 2);
    set(GroupBox, 1);
    set(Tabs, 5);
    set(StatusBarEdges, 3);
    set(TabPane, 1);
    set(ToolBars, 5);
    set(ComboButton, 4);
    set(SunkEdge, 4);
    set(ExtraImages, 5);
    if (Headerbar && Headerbar->Frame == 0) Headerbar->Frame = 5;
    set(MenuItem, 5);
    set(MenuBackground, 1);
    set(Scrollbar, 23);
    set(HorzScroll, 4);
    set(VertScroll, 4);
    set(HorzScrollThumb, readInteger("HorzScrollThumb", "FrameCount", 3));
    set(VertScrollThumb, readInteger("VertScrollThumb", "FrameCount", 3));
    for (const auto* thumb : {&TrackbarThumbHorz, &TrackbarThumbVert, &TrackbarThumbLeft, &TrackbarThumbRight,
                              &TrackbarThumbUp, &TrackbarThumbDown})
        set(*thumb, 5);
    set(UpDownHorz, 8);
    set(UpDownVert, 8);

    Buttons->Frame = 5;
    Title->Frame = 2;
    set(Toolbar, 1);
    // Check and radio strips without a count: square cells of 13 pixels in low strips,
    // else 16, and never fewer than 4 (a missing strip counts 4).
    auto strip = [](const TBitmap& image) {
        if (image.Empty()) return 4;
        return std::max(4, image.Width() / (image.Height() < 16 ? 13 : 16));
    };
    if (Buttons->RadioButtonFrame == 0) Buttons->RadioButtonFrame = strip(Buttons->RadioButton);
    if (Buttons->CheckButtonFrame == 0) Buttons->CheckButtonFrame = strip(Buttons->CheckButton);
}
