// Loading skin definitions into the model: the parts every skin has, the fixed cell
// counts, the image name rules, the key defaults and limits of each loader, colours, a
// reload replacing the previous skin, and skin files that must be refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "QuickIni.h"
#include "SkinContainer.h"
#include "SkinDesign.h"
#include "SkinTestData.h"
#include "gui_test.h"
#include "skin_data_support.h"
#include "test_skins.h"

namespace {

using skindata::CellsBmp;
using skindata::FlatBmp;
using skindata::LoadInto;
using skindata::MakeSkin;
using skindata::Ref;

constexpr uint32_t kRed = 0xE02020, kGreen = 0x20C040, kBlue = 0x2040E0, kYellow = 0xE0D020, kCyan = 0x20D0E0;

// A one-cell image entry named "a.bmp".
SkinFileEntry ImageA(int w = 20, int h = 10) { return {"a.bmp", FlatBmp(w, h, kRed)}; }

TEST(SkinModel, EmptyDefinition_GivesTheFixedParts) {
    TSkinData d(nullptr);
    ASSERT_TRUE(d.NoSkin());
    ASSERT_TRUE(LoadInto(d, MakeSkin("; a definition without sections\r\n")));

    for (TDataSkinBorder* p : {d.Left.get(), d.Right.get(), d.Top.get(), d.Bottom.get()}) {
        SCOPED_TRACE(p->Name);
        EXPECT_TRUE(p->Image.Empty());
        EXPECT_EQ(p->Frame, 1);
        EXPECT_EQ(p->Tile, 1);
        EXPECT_EQ(p->Trans, 1);
    }
    EXPECT_EQ(d.Buttons->Frame, 5);
    EXPECT_EQ(d.Buttons->CheckButtonFrame, 4);
    EXPECT_EQ(d.Buttons->RadioButtonFrame, 4);
    EXPECT_EQ(d.Buttons->NormalColour, -1);
    EXPECT_EQ(d.Title->Frame, 2);
    EXPECT_EQ(d.Title->FontHeight, 14);
    EXPECT_EQ(d.Title->ActiveText, clNone);
    EXPECT_EQ(d.Title->InActiveText, clNone);

    EXPECT_EQ(d.Colours.WindowText, clWindowText);
    EXPECT_EQ(d.Colours.ButtonFace, clBtnFace);
    EXPECT_EQ(d.Colours.Menubar, clBtnFace);
    EXPECT_EQ(d.Colours.Buttonlight, clBtnHighlight);
    EXPECT_EQ(d.Colours.ButtonDkShadow, cl3DDkShadow);
    EXPECT_EQ(d.Colours.TitleTextNoActive, clInactiveCaptionText);
    EXPECT_TRUE(d.SectionColours.empty());
    for (TColor c : d.CustomColours) EXPECT_EQ(c, clWhite);
    EXPECT_EQ(d.SkinName, "");

    // The track grooves come from the program's resources.
    ASSERT_TRUE(d.Track);
    EXPECT_EQ(d.Track->Name, "TRACK");
    EXPECT_EQ(d.Track->Image.Width(), 16);
    EXPECT_EQ(d.Track->Image.Height(), 4);
    EXPECT_EQ(d.Track->Frame, 1);
    EXPECT_EQ(d.Track->Margins.Left, 3);
    EXPECT_EQ(d.Track->Margins.Bottom, 3);
    ASSERT_TRUE(d.TrackVert);
    EXPECT_EQ(d.TrackVert->Image.Width(), 4);
    EXPECT_EQ(d.TrackVert->Image.Height(), 16);
    EXPECT_EQ(d.Track->Image.PixelColor(0, 0), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(d.Track->Image.PixelColor(2, 0), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(d.Track->Image.PixelColor(15, 0), RGB(0xFF, 0xFF, 0xFF));

    ASSERT_TRUE(d.Toolbar);
    EXPECT_EQ(d.Toolbar->Image.Width(), 10);
    EXPECT_EQ(d.Toolbar->Image.Height(), 40);
    EXPECT_EQ(d.Toolbar->Frame, 1);
    ASSERT_TRUE(d.ComboxArrow);
    EXPECT_TRUE(d.ComboxArrow->Image.Empty());

    EXPECT_EQ(d.CaptionButtons.size(), 3u);
    for (auto* slot : {&d.Progress, &d.ComboButton, &d.Tabs, &d.UpDownHorz}) EXPECT_FALSE(*slot);
    for (auto* slot : {&d.ProgressChunk, &d.MenuBar, &d.Scrollbar, &d.MenuItem, &d.SunkEdge, &d.Headerbar})
        EXPECT_FALSE(*slot);
    EXPECT_FALSE(d.GroupBox);
    EXPECT_NE(d.SkinBrush().get(), nullptr);
}

TEST(SkinModel, ContainerWithoutDefinition_LoadsAsAnEmptyOne) {
    TSkinData d(nullptr);
    std::vector<SkinFileEntry> files{{"only.bmp", FlatBmp(4, 4, kRed)}};
    ASSERT_TRUE(LoadInto(d, WriteSkinContainer(files)));
    EXPECT_EQ(d.Buttons->Frame, 5);
    EXPECT_EQ(d.CaptionButtons.size(), 3u);
    EXPECT_TRUE(d.Track);
}

// Every sectioned part with "Frame = 7": the fixed counts win where the model fixes them.
TEST(SkinModel, CellCounts_FollowTheFixedTable) {
    const char* sections[] = {"Progress.Chunk", "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane",
                              "ToolBars", "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem",
                              "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb",
                              "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                              "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz",
                              "UpDown.Vert", "Track", "TRACKVERT"};
    std::string ini = "[Progress]\r\nBitmap=a.bmp\r\nFrame=7\r\n[Personality]\r\nmenuBar=a.bmp\r\n";
    for (const char* s : sections) ini += std::string("[") + s + "]\r\nImage=a.bmp\r\nFrame=7\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA(210, 21)})));

    const std::pair<const char*, int> expected[] = {
        {"Progress", 2}, {"Progress.Chunk", 7}, {"Personality", 2}, {"GroupBoxEdge", 2}, {"GroupBox", 1},
        {"Tabs", 5}, {"StatusBarEdges", 3}, {"Tab.Pane", 1}, {"ToolBars", 5}, {"ComboButton", 4},
        {"SunkEdge", 4}, {"ExtraImages", 5}, {"Headerbar", 7}, {"MenuItem", 5}, {"MenuBackground", 1},
        {"Scrollbar", 23}, {"HorzScroll", 4}, {"VertScroll", 4}, {"HorzScrollThumb", 3}, {"VertScrollThumb", 3},
        {"Trackbar.ThumbHorz", 5}, {"Trackbar.ThumbVert", 5}, {"Trackbar.ThumbLeft", 5},
        {"Trackbar.ThumbRight", 5}, {"Trackbar.ThumbUp", 5}, {"Trackbar.ThumbDown", 5}, {"UpDown.Horz", 8},
        {"UpDown.Vert", 8}, {"Track", 7}, {"TRACKVERT", 7}, {"Buttons", 5}, {"Title", 2}, {"Toolbar", 1},
        {"ComboxArrow", 4}};
    for (const auto& [name, cells] : expected) {
        TDataSkinObject* part = d.FindPart(name);
        ASSERT_NE(part, nullptr) << name;
        EXPECT_EQ(part->Frame, cells) << name;
    }
    EXPECT_EQ(d.Track->Name, "Track");
    EXPECT_EQ(d.ProgressChunk->Name, "Progress.Chunk");
}

TEST(SkinModel, CellCounts_DependOnStyleAndOwnKeys) {
    struct Row {
        const char* ini;
        const char* part;
        int cells;
    } rows[] = {
        {"[Progress]\r\nBitmap=a.bmp\r\nStyle=1\r\n", "Progress", 1},
        {"[Progress]\r\nBitmap=a.bmp\r\nStyle=0\r\n", "Progress", 2},
        {"[Progress.Chunk]\r\nImage=a.bmp\r\n", "Progress.Chunk", 0},
        {"[MenuItem]\r\nImage=a.bmp\r\nFrame=3\r\n", "MenuItem", 5},
        {"[Headerbar]\r\nImage=a.bmp\r\nFrame=4\r\n", "Headerbar", 4},
        {"[Headerbar]\r\nImage=a.bmp\r\n", "Headerbar", 5},
        {"[HorzScrollThumb]\r\nImage=a.bmp\r\nFrameCount=2\r\nFrame=9\r\n", "HorzScrollThumb", 2},
        {"[VertScrollThumb]\r\nImage=a.bmp\r\nFrameCount=4\r\n", "VertScrollThumb", 4},
        {"[Track]\r\nImage=a.bmp\r\n", "Track", 0},
        {"[Track]\r\nImage=a.bmp\r\nFrame=-2\r\n", "Track", -2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ini);
        TSkinData d(nullptr);
        ASSERT_TRUE(LoadInto(d, MakeSkin(row.ini, {ImageA()})));
        ASSERT_NE(d.FindPart(row.part), nullptr);
        EXPECT_EQ(d.FindPart(row.part)->Frame, row.cells);
    }
}

TEST(SkinModel, CheckAndRadioStrips_CountSquareCells) {
    struct Row {
        int w, h;
        const char* explicitCount;
        int cells;
    } rows[] = {{104, 13, nullptr, 8}, {48, 16, nullptr, 4}, {26, 13, nullptr, 4}, {160, 16, nullptr, 10},
                {195, 15, nullptr, 15}, {192, 32, nullptr, 12}, {104, 13, "3", 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.w) + " x " + std::to_string(row.h));
        std::string ini = "[Buttons]\r\nRadioButton=radio.bmp\r\nCheckButton=check.bmp\r\n";
        if (row.explicitCount)
            ini += std::string("RadioButtonFrame=") + row.explicitCount + "\r\nCheckButtonFrame=" + row.explicitCount +
                   "\r\n";
        TSkinData d(nullptr);
        ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {{"radio.bmp", FlatBmp(row.w, row.h, kRed)},
                                               {"check.bmp", FlatBmp(row.w, row.h, kBlue)}})));
        EXPECT_EQ(d.Buttons->RadioButtonFrame, row.cells);
        EXPECT_EQ(d.Buttons->CheckButtonFrame, row.cells);
    }
}

TEST(SkinModel, ImageNames_NeedTheExactLowerCaseBmpExtension) {
    struct Row {
        const char* value;
        bool found;
    } rows[] = {
        {"a.bmp", true},          {"A.bmp", true},           {"folder\\Part.bmp", true},
        {"C:\\skins\\PART.bmp", true}, {"c:part.bmp", true},  {"folder\\PART.BMP", false},
        {"part.Bmp", false},      {"part", false},           {"part.bmpx", false},
        {"missing.bmp", false},   {"folder\\", false},       {"part.bmp.txt", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        const std::string ini = std::string("[Scrollbar]\r\nImage=") + row.value + "\r\n";
        TSkinData d(nullptr);
        ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA(), {"Part.BMP", FlatBmp(30, 10, kBlue)}})));
        ASSERT_TRUE(d.Scrollbar) << "a non-empty Image value always makes the part";
        EXPECT_EQ(!d.Scrollbar->Image.Empty(), row.found);
    }
}

TEST(SkinModel, GenericPart_ReadsEveryKey) {
    const std::string ini =
        "[Colours]\r\nButtonText=1 2 3\r\n"
        "[StatusBarEdges]\r\nImage=a.bmp\r\nStyle=3\r\nLeftWidth=1\r\nTopHeight=2\r\nRightWidth=3\r\n"
        "BottomHeight=4\r\nTrans=1\r\nTile=1\r\nNormalColour=0x0000FF\r\nMouseOverColour=255\r\n"
        "NormalColour2=10 20 30\r\n"
        "[ToolBars]\r\nImage=a.bmp\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA()})));
    const TDataSkinObject& p = *d.StatusBarEdges;
    EXPECT_EQ(p.Name, "StatusBarEdges");
    EXPECT_EQ(p.Style, 3);
    EXPECT_EQ(p.Margins.Left, 1);
    EXPECT_EQ(p.Margins.Top, 2);
    EXPECT_EQ(p.Margins.Right, 3);
    EXPECT_EQ(p.Margins.Bottom, 4);
    EXPECT_EQ(p.Trans, 1);
    EXPECT_EQ(p.Tile, 1);
    EXPECT_EQ(p.NormalColour, 0xFF);
    EXPECT_EQ(p.MouseOverColour, 255);
    EXPECT_EQ(p.PressedColour, -1);
    EXPECT_EQ(p.NormalColour2, static_cast<TColor>(RGB(10, 20, 30)));
    EXPECT_EQ(p.PressedColour2, static_cast<TColor>(RGB(1, 2, 3))) << "defaults to the skin's ButtonText";
    const TDataSkinObject& q = *d.ToolBars;
    EXPECT_EQ(q.Style, 0);
    EXPECT_EQ(q.Trans, 0);
    EXPECT_EQ(q.NormalColour, -1);
    EXPECT_EQ(q.MouseOverColour2, static_cast<TColor>(RGB(1, 2, 3)));
}

TEST(SkinModel, Tile_IsLimitedPerLoader) {
    const std::string ini =
        "[Personality]\r\nmenuBar=a.bmp\r\nTileMenu=2\r\nLeftStretch=2\r\nTopStretch=0\r\nRightStretch=-1\r\n"
        "[Progress]\r\nBitmap=a.bmp\r\nTile=2\r\n"
        "[Progress.Chunk]\r\nImage=a.bmp\r\nTile=2\r\n"
        "[Scrollbar]\r\nImage=a.bmp\r\nTile=-1\r\n"
        "[Tabs]\r\nImage=a.bmp\r\nTile=5\r\n"
        "[GroupBox]\r\nImage=a.bmp\r\nTile=3\r\n"
        "[Buttons]\r\nTile=2\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA()})));
    EXPECT_EQ(d.MenuBar->Tile, 1);
    EXPECT_EQ(d.Progress->Tile, 1);
    EXPECT_EQ(d.ProgressChunk->Tile, 0);
    EXPECT_EQ(d.Scrollbar->Tile, -1);
    EXPECT_EQ(d.Tabs->Tile, 0);
    EXPECT_EQ(d.GroupBox->Tile, 0);
    EXPECT_EQ(d.Buttons->Tile, 0);
    EXPECT_EQ(d.Left->Tile, 1);
    EXPECT_EQ(d.Top->Tile, 0);
    EXPECT_EQ(d.Right->Tile, -1);
    EXPECT_EQ(d.Bottom->Tile, 1);
}

TEST(SkinModel, MenuBarAndProgress_ReadTheirOwnKeys) {
    const std::string ini =
        "[Personality]\r\nmenuBar=a.bmp\r\nTileLeftMenu=5\r\n"
        "[Progress]\r\nBitmap=a.bmp\r\nStyle=1\r\nLeftWidth=2\r\nTrans=1\r\nNormalColour=7\r\nFrame=9\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA()})));
    EXPECT_EQ(d.MenuBar->Name, "Personality");
    EXPECT_EQ(d.MenuBar->Margins.Left, 5);
    EXPECT_EQ(d.MenuBar->Margins.Right, 1);
    EXPECT_EQ(d.MenuBar->Margins.Top, 0);
    EXPECT_EQ(d.MenuBar->Tile, 1);
    EXPECT_EQ(d.MenuBar->NormalColour, 0) << "the menu bar reads no colours";
    EXPECT_EQ(d.Progress->Style, 1);
    EXPECT_EQ(d.Progress->Margins.Left, 2);
    EXPECT_EQ(d.Progress->Trans, 1);
    EXPECT_EQ(d.Progress->NormalColour, 0);
    EXPECT_TRUE(d.Progress->Image2.Empty());
    EXPECT_FALSE(d.Progress->Image.Empty());
}

TEST(SkinModel, TabPane_MarginsAreAtMostFour) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin("[Tab.Pane]\r\nImage=a.bmp\r\nLeftWidth=6\r\nTopHeight=2\r\nRightWidth=9\r\n"
                                     "BottomHeight=4\r\n",
                                     {ImageA()})));
    const TSkinMargins& m = d.TabPane->Margins;
    EXPECT_EQ(m.Left, 4);
    EXPECT_EQ(m.Top, 2);
    EXPECT_EQ(m.Right, 4);
    EXPECT_EQ(m.Bottom, 4);
}

TEST(SkinModel, BoxLabelAndDualParts_ReadTheirExtras) {
    const std::string ini =
        "[GroupBox]\r\nImage=a.bmp\r\nBackgroundAlignment=2\r\nBackgroundLeftShift=-3\r\nBackgroundRightShift=4\r\n"
        "Frame=9\r\n"
        "[Tabs]\r\nImage=a.bmp\r\nBorder=b.bmp\r\n"
        "[UpDown.Horz]\r\nImage=a.bmp\r\nGlyphImage=b.bmp\r\n"
        "[UpDown.Vert]\r\nImage=a.bmp\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA(), {"b.bmp", FlatBmp(8, 8, kBlue)}})));
    EXPECT_EQ(d.GroupBox->BackgroundAlignment, 2);
    EXPECT_EQ(d.GroupBox->BackgroundLeftShift, -3);
    EXPECT_EQ(d.GroupBox->BackgroundRightShift, 4);
    EXPECT_EQ(d.GroupBox->Frame, 1);
    EXPECT_EQ(d.Tabs->Image2.Width(), 8);
    EXPECT_EQ(d.UpDownHorz->Image2.PixelColor(0, 0), Ref(kBlue));
    EXPECT_TRUE(d.UpDownVert->Image2.Empty());
}

TEST(SkinModel, Borders_MapTheirMarginKeys) {
    const std::string ini =
        "[Personality]\r\nLeft=a.bmp\r\nLeftTopHeight=30\r\nLeftBotHeight=5\r\nLeftFrame=2\r\nLeftTrans=0\r\n"
        "Top=a.bmp\r\nTopTopHeight=12\r\nTopBotHeight=14\r\nTopFrame=-1\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA(40, 60)})));
    EXPECT_EQ(d.Left->Margins.Top, 30);
    EXPECT_EQ(d.Left->Margins.Bottom, 5);
    EXPECT_EQ(d.Left->Margins.Left, 0);
    EXPECT_EQ(d.Left->Frame, 2);
    EXPECT_EQ(d.Left->Trans, 0);
    EXPECT_EQ(d.Top->Margins.Left, 12);
    EXPECT_EQ(d.Top->Margins.Right, 14);
    EXPECT_EQ(d.Top->Margins.Top, 0);
    EXPECT_EQ(d.Top->Frame, -1);
    EXPECT_FALSE(d.Top->Image.Empty());
    EXPECT_TRUE(d.Right->Image.Empty());
    // A cell count below 1 is read as one cell: the sample comes from inside the image.
    EXPECT_EQ(d.CaptionSample, static_cast<TColor>(Ref(kRed)));
}

TEST(SkinModel, Title_ReadsTextKeysAndColours) {
    const std::string ini =
        "[Personality]\r\nTextBack=a.bmp\r\nTextShift=30\r\nTextShiftVert=2\r\nTextRightClip=96\r\n"
        "TextAlignment=1\r\nTextbackground=1\r\nTXTBackleft=3\r\nTXTBackRight=4\r\n"
        "ActiveTextR=255\r\nActiveTextG=256\r\nActiveTextB=1\r\nInActiveTextR=1\r\nInActiveTextG=-1\r\n"
        "InActiveTextB=1\r\n[Fonts]\r\nFontHeight=15\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA()})));
    const TDataSkinTitle& t = *d.Title;
    EXPECT_FALSE(t.Image.Empty());
    EXPECT_EQ(t.Margins.Left, 30);
    EXPECT_EQ(t.Margins.Top, 2);
    EXPECT_EQ(t.Margins.Right, 96);
    EXPECT_EQ(t.Margins.Bottom, 0);
    EXPECT_EQ(t.TextAlignment, 1);
    EXPECT_EQ(t.Textbackground, 1);
    EXPECT_EQ(t.TXTBackleft, 3);
    EXPECT_EQ(t.TXTBackRight, 4);
    EXPECT_EQ(t.FontHeight, 15);
    EXPECT_EQ(t.ActiveText, static_cast<TColor>(RGB(255, 0, 1)));
    EXPECT_EQ(t.InActiveText, clNone) << "one channel missing keeps the colour";
}

TEST(SkinModel, Buttons_ReadStripsAndColourPresence) {
    const std::string ini =
        "[Colours]\r\nButtonText=9 9 9\r\n"
        "[Buttons]\r\nBitmap=a.bmp\r\nLeftWidth=4\r\nBottomHeight=3\r\nTrans=1\r\nNormalColour=5\r\n"
        "MouseOverColour2=1 2 3\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA()})));
    const TDataSkinButton& b = *d.Buttons;
    EXPECT_FALSE(b.Image.Empty());
    EXPECT_EQ(b.Margins.Left, 4);
    EXPECT_EQ(b.Margins.Bottom, 3);
    EXPECT_EQ(b.Trans, 1);
    EXPECT_EQ(b.NormalColour, 5);
    EXPECT_EQ(b.PressedColour, -1);
    EXPECT_FALSE(b.HasNormalColour2);
    EXPECT_TRUE(b.HasMouseOverColour2);
    EXPECT_EQ(b.MouseOverColour2, static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(b.NormalColour2, static_cast<TColor>(RGB(9, 9, 9)));
}

TEST(SkinModel, Colours_SectionsAndCustomColours) {
    const std::string ini =
        "[Colours]\r\nButtonFace=200 201 202\r\nMenu=  \r\nHilight=1,2,3\r\ncolor=9 9 9\r\n"
        "[Colour]\r\ncolor=10 20 30\r\n"
        "[Something]\r\ncolor=1 1 1\r\n"
        "[COLOUR2]\r\nColor=40 50 60\r\n"
        "[ColourX]\r\n"
        "[Customcolors]\r\nColor0=1 2 3\r\nColor9=4 5 6\r\nColor10=7 7 7\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini)));
    EXPECT_EQ(d.Colours.ButtonFace, static_cast<TColor>(RGB(200, 201, 202)));
    EXPECT_EQ(d.Colours.Menubar, static_cast<TColor>(RGB(200, 201, 202))) << "defaults to the ButtonFace read";
    EXPECT_EQ(d.Colours.Menu, clMenu) << "a value of blanks takes the default";
    EXPECT_EQ(d.Colours.Hilight, static_cast<TColor>(RGB(1, 2, 3)));
    ASSERT_EQ(d.SectionColours.size(), 3u);
    EXPECT_EQ(d.SectionColours[0], static_cast<TColor>(RGB(10, 20, 30)));
    EXPECT_EQ(d.SectionColours[1], static_cast<TColor>(RGB(40, 50, 60)));
    EXPECT_EQ(d.SectionColours[2], clWindowText);
    EXPECT_EQ(d.CustomColours[0], static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(d.CustomColours[1], clWhite);
    EXPECT_EQ(d.CustomColours[9], static_cast<TColor>(RGB(4, 5, 6)));
    // The skin background brush is ButtonFace.
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectA(d.SkinBrush().get(), sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, RGB(200, 201, 202));
}

TEST(SkinModel, Reload_ReplacesOptionalPartsWithoutFreeingHeldOnes) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin("[SkinName]\r\n[TitlebarSkin]\r\nSkinName=First\r\n[Scrollbar]\r\nImage=a.bmp\r\n"
                                     "[Buttons]\r\nTrans=1\r\nLeftWidth=3\r\n",
                                     {ImageA(46, 10)})));
    const unsigned firstGeneration = d.SkinGeneration();
    EXPECT_EQ(d.SkinName, "First");
    std::shared_ptr<TDataSkinObject> held = d.Scrollbar;
    TDataSkinButton* buttons = d.Buttons.get();
    ASSERT_TRUE(held);

    ASSERT_TRUE(LoadInto(d, MakeSkin("[HorzScroll]\r\nImage=a.bmp\r\n", {ImageA()})));
    EXPECT_NE(d.SkinGeneration(), firstGeneration);
    EXPECT_FALSE(d.Scrollbar) << "a section missing from the new skin gives no part";
    EXPECT_TRUE(d.HorzScroll);
    EXPECT_EQ(d.SkinName, "");
    // A reader that kept the old part still has it, whole.
    EXPECT_EQ(held->Image.Width(), 46);
    EXPECT_EQ(held->Frame, 23);
    // Fixed parts are the same objects, refilled: missing keys are back at their defaults.
    EXPECT_EQ(d.Buttons.get(), buttons);
    EXPECT_EQ(d.Buttons->Trans, 0);
    EXPECT_EQ(d.Buttons->Margins.Left, 0);
}

TEST(SkinModel, DamagedBitmapEntry_RaisesAndLeavesNoSkin) {
    std::vector<uint8_t> damaged = FlatBmp(20, 10, kRed);
    damaged.resize(40);  // header claims more pixel data than there is
    std::vector<uint8_t> garbage{'B', 'M', 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
    for (const auto& bytes : {damaged, garbage}) {
        TSkinData d(nullptr);
        ASSERT_TRUE(LoadInto(d, MakeSkin("[Scrollbar]\r\nImage=a.bmp\r\n", {ImageA()})));
        EXPECT_THROW(LoadInto(d, MakeSkin("[Scrollbar]\r\nImage=a.bmp\r\n", {{"a.bmp", bytes}})), EInvalidGraphic);
        EXPECT_TRUE(d.NoSkin());
        // A later good skin loads again.
        EXPECT_TRUE(LoadInto(d, MakeSkin("[Scrollbar]\r\nImage=a.bmp\r\n", {ImageA()})));
    }
}

TEST(SkinModel, DamagedContainer_IsRefusedQuietly) {
    // A version-20000 container whose name list runs past its end.
    std::vector<uint8_t> container = BuildSkinContainer({{"skin.ini", {'[', 'a', ']'}}});
    container[4] = 0xFF;
    container[5] = 0xFF;
    std::vector<uint8_t> file;
    skintest::PutLE32(file, static_cast<uint32_t>(container.size()));
    const std::vector<uint8_t> packed = LzhufEncode(container.data(), container.size());
    file.insert(file.end(), packed.begin(), packed.end());

    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin("[Scrollbar]\r\nImage=a.bmp\r\n", {ImageA()})));
    EXPECT_FALSE(LoadInto(d, file));
    EXPECT_TRUE(d.NoSkin());
    EXPECT_TRUE(d.Scrollbar) << "the parts keep what they held";
}

TEST(SkinModel, OlderContainer_ShowsTheMessageAndLoadsNothing) {
    std::vector<uint8_t> container = BuildSkinContainer({{"skin.ini", {'[', 'a', ']'}}});
    container[0] = 0x10;  // version 19984
    std::vector<uint8_t> file;
    skintest::PutLE32(file, static_cast<uint32_t>(container.size()));
    const std::vector<uint8_t> packed = LzhufEncode(container.data(), container.size());
    file.insert(file.end(), packed.begin(), packed.end());

    TSkinData d(nullptr);
    bool loaded = true;
    const std::string text = guitest::ExpectMessageBox([&] { loaded = LoadInto(d, file); }, IDOK);
    EXPECT_EQ(text, "This is Older Skin File\rPlease update to new version !");
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(d.NoSkin());

    // An announced length of 0 is an empty container: refused the same way.
    std::vector<uint8_t> empty(4, 0);
    guitest::ExpectMessageBox([&] { loaded = LoadInto(d, empty); }, IDOK);
    EXPECT_FALSE(loaded);
}

// Numbers at the ends of the integer range and counts of zero or below, in every section
// that computes with them: the skin loads, nothing divides by them.
TEST(SkinModel, HostileNumbers_LoadWithoutFault) {
    std::string ini =
        "[Personality]\r\nTop=a.bmp\r\nTopFrame=0\r\nLeft=a.bmp\r\nLeftFrame=-2147483648\r\n"
        "LeftTopHeight=2147483647\r\nmenuBar=a.bmp\r\nTileLeftMenu=-5\r\n"
        "[Buttons]\r\nRadioButton=a.bmp\r\nRadioButtonFrame=-1\r\nCheckButton=a.bmp\r\n"
        "[ComboButton]\r\nImage=a.bmp\r\nLeftWidth=2147483647\r\nRightWidth=-2147483648\r\n"
        "[SunkEdge]\r\nImage=a.bmp\r\nTrans=1\r\nTopHeight=99999\r\nBottomHeight=-99999\r\n"
        "[ExtraImages]\r\nImage=a.bmp\r\n"
        "[ButtonOdd]\r\nButtonImage=a.bmp\r\nframe=-3\r\nAction=2147483647\r\n"
        "[ButtonZero]\r\nButtonImage=tiny.bmp\r\n"
        "[MDICONTROLS]\r\nImage=tiny.bmp\r\n"
        "[HorzScrollThumb]\r\nImage=a.bmp\r\nFrameCount=0\r\n"
        "[Headerbar]\r\nImage=a.bmp\r\nFrame=-1\r\n";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {ImageA(7, 3), {"tiny.bmp", FlatBmp(1, 1, kGreen)}})));
    EXPECT_EQ(d.Top->Frame, 0);
    EXPECT_EQ(d.CaptionSample, static_cast<TColor>(Ref(kRed))) << "zero cells are read as one";
    EXPECT_EQ(d.Buttons->RadioButtonFrame, -1);
    EXPECT_EQ(d.Buttons->CheckButtonFrame, 4);
    EXPECT_EQ(d.ComboButton->Style, 2);
    EXPECT_EQ(d.ComboxArrow->Frame, 4);
    EXPECT_EQ(d.HorzScrollThumb->Frame, 0);
    EXPECT_EQ(d.Headerbar->Frame, -1);
    ASSERT_EQ(d.CaptionButtons.size(), 5u);
    EXPECT_EQ(d.CaptionButtons[0]->Frame, -3);
    EXPECT_EQ(d.CaptionButtons[1]->Frame, 3) << "a 1 x 1 image is narrow";
    // An image narrower than 12 pixels holds no document buttons.
    for (size_t i = 2; i < 5; ++i) {
        EXPECT_TRUE(d.CaptionButtons[i]->Image.Empty());
        EXPECT_EQ(d.CaptionButtons[i]->Xcoord, 4 * static_cast<int>(5 - i));
    }
}

// Damaged bitmap data anywhere in a whole skin: the load either finishes or raises
// EInvalidGraphic; the component is usable afterwards.
TEST(SkinModel, CorruptedEntries_RaiseOrLoad) {
    std::vector<SkinFileEntry> files = skintest::MakeFlatTestSkinFiles();
    skintest::Random rng(20240611);
    int raised = 0, loaded = 0;
    for (int round = 0; round < 60; ++round) {
        std::vector<SkinFileEntry> damaged = files;
        SkinFileEntry& entry = damaged[1 + rng.Below(static_cast<uint32_t>(damaged.size() - 1))];
        const int flips = 1 + static_cast<int>(rng.Below(4));
        for (int f = 0; f < flips; ++f) {
            // Mostly the headers, where the sizes and offsets are.
            const size_t at = rng.Below(4) ? rng.Below(std::min<uint32_t>(54, static_cast<uint32_t>(entry.data.size())))
                                           : rng.Below(static_cast<uint32_t>(entry.data.size()));
            entry.data[at] = static_cast<uint8_t>(rng.Next());
        }
        if (rng.Below(3) == 0) entry.data.resize(rng.Below(static_cast<uint32_t>(entry.data.size())));
        TSkinData d(nullptr);
        try {
            if (LoadInto(d, WriteSkinContainer(damaged))) ++loaded;
        } catch (const EInvalidGraphic&) {
            ++raised;
            EXPECT_TRUE(d.NoSkin());
        }
    }
    EXPECT_GT(raised, 0);
    EXPECT_EQ(raised + loaded, 60);
}

// ---- whole skins ----

std::vector<uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every image strip of the design is in the model with its cells, apart from the ones the
// loader rebuilds (the composed combo frame) and the caption buttons.
void ExpectEveryPart(TSkinData& d, const skingen::SkinDesign& design) {
    for (const skingen::SkinStrip& strip : design.strips) {
        SCOPED_TRACE(strip.section + "/" + strip.key);
        const std::string section = strip.section;
        if (section.compare(0, 6, "Button") == 0 && section != "Buttons") continue;
        if (section == "MDICONTROLS") continue;
        if (section == "Personality") {
            if (strip.key == "menuBar") {
                ASSERT_TRUE(d.MenuBar);
                EXPECT_EQ(d.MenuBar->Image.Width(), strip.picture.width);
            } else if (strip.key == "TextBack") {
                EXPECT_EQ(d.Title->Image.Width(), strip.picture.width);
            } else {
                TDataSkinObject* part = d.FindPart(strip.key);
                ASSERT_NE(part, nullptr);
                EXPECT_EQ(part->Image.Width(), strip.picture.width);
                EXPECT_EQ(part->Frame, strip.cells);
            }
            continue;
        }
        if (section == "Buttons") {
            if (strip.key == "CheckButton") EXPECT_EQ(d.Buttons->CheckButtonFrame, strip.cells);
            else if (strip.key == "RadioButton") EXPECT_EQ(d.Buttons->RadioButtonFrame, strip.cells);
            else EXPECT_EQ(d.Buttons->Frame, strip.cells);
            continue;
        }
        TDataSkinObject* part = d.FindPart(section);
        ASSERT_NE(part, nullptr);
        if (strip.key != "Image" && strip.key != "Bitmap") {
            auto* dual = dynamic_cast<TDataSkinBorder*>(part);
            ASSERT_NE(dual, nullptr);
            EXPECT_EQ(dual->Image2.Width(), strip.picture.width);
            continue;
        }
        EXPECT_EQ(part->Frame, strip.cells);
        if (section == "ComboButton" || section == "SunkEdge") {
            EXPECT_EQ(part->Image.Width(), 50 * 4);
            EXPECT_EQ(part->Image.Height(), 21);
        } else {
            EXPECT_EQ(part->Image.Width(), strip.picture.width);
            EXPECT_EQ(part->Image.Height(), strip.picture.height);
        }
    }
    // Caption buttons: every [Button...] section of the design, then the three document
    // buttons with their images.
    size_t captionSections = 0;
    for (const auto& s : design.sections)
        if (s.name.compare(0, 6, "Button") == 0 && s.name != "Buttons") ++captionSections;
    ASSERT_EQ(d.CaptionButtons.size(), captionSections + 3);
    for (size_t i = captionSections; i < d.CaptionButtons.size(); ++i)
        EXPECT_FALSE(d.CaptionButtons[i]->Image.Empty());
    ASSERT_TRUE(d.ComboxArrow);
    EXPECT_EQ(d.ComboxArrow->Frame, 4);
    EXPECT_EQ(d.ComboxArrow->Image.Width(), 4 * 17);
    ASSERT_TRUE(d.Toolbar);
    EXPECT_FALSE(d.NoSkin());
}

TEST(SkinModel, DefaultSkin_LoadsWithEveryPart) {
    const std::vector<uint8_t> file = ReadFile("res/default.skin");
    ASSERT_FALSE(file.empty()) << "res/default.skin missing from the build folder";
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, file));
    ExpectEveryPart(d, skingen::DesignDefaultSkin());
    EXPECT_EQ(d.SkinName, "Slate");
    EXPECT_NE(d.Colours.ButtonFace, clBtnFace);
}

TEST(SkinModel, FlatTestSkin_LoadsWithEveryPart) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, skintest::MakeFlatTestSkin()));
    ExpectEveryPart(d, skintest::MakeFlatTestDesign());
    // Cells keep their flat colours: the scroll-bar strip's cell 5 is where the model cuts it.
    const TDataSkinObject& sb = *d.Scrollbar;
    const int cw = sb.Image.Width() / sb.Frame;
    EXPECT_EQ(sb.Image.PixelColor(4 * cw + cw / 2, sb.Image.Height() / 2),
              Ref(skintest::FlatCellColour("Scrollbar", 5)));
}

}  // namespace
