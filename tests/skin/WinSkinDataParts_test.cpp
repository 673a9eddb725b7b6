// The parts the loader makes itself: caption-button definitions and their cell counts, the
// document-window buttons cut from [MDICONTROLS], the composed combo frame and the combo
// arrow (with and without [SunkEdge]), and the toolbar gradient.
#include <gtest/gtest.h>

#include "ImgUtil.h"
#include "skin_data_support.h"

namespace {

using skindata::CellsBmp;
using skindata::FlatBmp;
using skindata::LoadInto;
using skindata::MakeSkin;
using skindata::Ref;

constexpr uint32_t kMagenta = 0xFF00FF;
const std::vector<uint32_t> kEdgeCells{0xC01010, 0x10C010, 0x1010C0, 0xC0C010};
const std::vector<uint32_t> kButtonCells{0x604020, 0x206040, 0x402060, 0x606020};
const std::vector<uint32_t> kGlyphCells{0xF08080, 0x80F080, 0x8080F0, 0xF0F080, 0x80F0F0};

std::string CaptionSection(const std::string& name, const std::string& keys) {
    return "[" + name + "]\r\n" + keys;
}

TEST(SkinCaptionButtons, Sections_AreChosenByName) {
    const std::string ini =
        CaptionSection("ButtonClose", "ButtonImage=w6.bmp\r\nAction=0\r\n") +
        CaptionSection("Buttons", "Bitmap=w6.bmp\r\n") + CaptionSection("Button", "Action=1\r\n") +
        CaptionSection("Button.Radio", "Action=1\r\n") + CaptionSection("BUTTON.CHECKBOX", "Action=1\r\n") +
        CaptionSection("buttonlower", "Action=2\r\n") + CaptionSection("MyButton", "Action=2\r\n") +
        CaptionSection("ButtonHidden", "Action=-1\r\n") +
        CaptionSection("ButtonSpacer", "Action=-1\r\nVisibility=0\r\n") +
        CaptionSection("ButtonHelp",
                       "Action=40\r\nAlign=1\r\nXcoord=9\r\nYcoord=4\r\nCombineOp=2\r\nVisibility=1000\r\nVisibility1=5\r\n");
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ini, {{"w6.bmp", FlatBmp(126, 21, 0x404040)}})));
    ASSERT_EQ(d.CaptionButtons.size(), 4u + 3u);
    EXPECT_EQ(d.CaptionButtons[0]->Name, "BUTTONCLOSE");
    EXPECT_EQ(d.CaptionButtons[1]->Name, "BUTTONLOWER");
    EXPECT_EQ(d.CaptionButtons[2]->Name, "BUTTONSPACER");
    EXPECT_EQ(d.CaptionButtons[3]->Name, "BUTTONHELP");

    const TDataSkinSysButton& close = *d.CaptionButtons[0];
    EXPECT_EQ(close.CombineOp, -1);
    EXPECT_EQ(close.Visibility, 0);
    EXPECT_EQ(close.Visibility1, 0);
    const TDataSkinSysButton& spacer = *d.CaptionButtons[2];
    EXPECT_EQ(spacer.Action, -1);
    EXPECT_EQ(spacer.Visibility1, -1);
    EXPECT_EQ(spacer.Frame, 6);
    const TDataSkinSysButton& help = *d.CaptionButtons[3];
    EXPECT_EQ(help.Action, 40);
    EXPECT_EQ(help.Align, 1);
    EXPECT_EQ(help.Xcoord, 9);
    EXPECT_EQ(help.Ycoord, 4);
    EXPECT_EQ(help.CombineOp, 2);
    EXPECT_EQ(help.Visibility, 1000);
    EXPECT_EQ(help.Visibility1, 5);
}

TEST(SkinCaptionButtons, CellCount_FromImageShapeAndAction) {
    struct Row {
        const char* keys;
        int cells;
        bool imageKept;
    } rows[] = {
        {"ButtonImage=w6.bmp\r\n", 6, true},
        {"ButtonImage=w3.bmp\r\n", 3, true},
        {"ButtonImage=w381.bmp\r\n", 6, true},
        {"ButtonImage=w38.bmp\r\n", 3, true},  // 76 x 20 is exactly 3.8
        {"ButtonImage=missing.bmp\r\n", 6, false},
        {"ButtonImage=w3.bmp\r\nAction=-2\r\n", 6, true},
        {"ButtonImage=w3.bmp\r\nAction=3\r\n", 3, false},
        {"ButtonImage=w3.bmp\r\nAction=11\r\n", 3, false},
        {"ButtonImage=w3.bmp\r\nAction=3\r\nframe=4\r\n", 4, true},
        {"ButtonImage=w6.bmp\r\nframe=2\r\n", 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        TSkinData d(nullptr);
        ASSERT_TRUE(LoadInto(d, MakeSkin(CaptionSection("ButtonX", row.keys),
                                         {{"w6.bmp", FlatBmp(126, 21, 1)}, {"w3.bmp", FlatBmp(63, 21, 1)},
                                          {"w381.bmp", FlatBmp(80, 21, 1)}, {"w38.bmp", FlatBmp(76, 20, 1)}})));
        ASSERT_EQ(d.CaptionButtons.size(), 4u);
        EXPECT_EQ(d.CaptionButtons[0]->Frame, row.cells);
        EXPECT_EQ(!d.CaptionButtons[0]->Image.Empty(), row.imageKept);
    }
}

TEST(SkinCaptionButtons, DocumentButtons_AreCutFromMdiControls) {
    // Three buttons of 4 cells of 13 x 13, each button its own colour.
    const std::vector<uint32_t> cells{0x101010, 0x101010, 0x101010, 0x101010, 0x505050, 0x505050,
                                      0x505050, 0x505050, 0x909090, 0x909090, 0x909090, 0x909090};
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin("[MDICONTROLS]\r\nImage=mdi.bmp\r\n", {{"mdi.bmp", CellsBmp(13, 13, cells)}})));
    ASSERT_EQ(d.CaptionButtons.size(), 3u);
    const int xcoords[] = {51, 34, 17};
    const uint32_t colours[] = {0x101010, 0x505050, 0x909090};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TDataSkinSysButton& b = *d.CaptionButtons[static_cast<size_t>(i)];
        EXPECT_EQ(b.Action, 7 + i);
        EXPECT_EQ(b.Align, 100);
        EXPECT_EQ(b.Visibility, 100);
        EXPECT_EQ(b.Visibility1, 100);
        EXPECT_EQ(b.CombineOp, 0);
        EXPECT_EQ(b.Frame, 4);
        EXPECT_EQ(b.Image.Width(), 52);
        EXPECT_EQ(b.Image.Height(), 13);
        EXPECT_EQ(b.Xcoord, xcoords[i]);
        EXPECT_EQ(b.Image.PixelColor(0, 0), Ref(colours[i]));
        EXPECT_EQ(b.Image.PixelColor(51, 12), Ref(colours[i]));
    }
}

TEST(SkinCaptionButtons, WithoutMdiControls_DocumentButtonsAreEmpty) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin("[MDICONTROLS]\r\nImage=none.bmp\r\n")));
    ASSERT_EQ(d.CaptionButtons.size(), 3u);
    for (const auto& b : d.CaptionButtons) {
        EXPECT_TRUE(b->Image.Empty());
        EXPECT_EQ(b->Xcoord, 0);
    }
}

std::string ComboSkin(bool withSunkEdge, bool withExtraImages) {
    std::string ini = "[Colours]\r\nButtonFace=11 22 33\r\n[ComboButton]\r\nImage=button.bmp\r\nLeftWidth=1\r\n";
    if (withSunkEdge)
        ini += "[SunkEdge]\r\nImage=edge.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n";
    if (withExtraImages) ini += "[ExtraImages]\r\nImage=glyph.bmp\r\n";
    return ini;
}

std::vector<SkinFileEntry> ComboEntries() {
    return {{"button.bmp", CellsBmp(17, 21, kButtonCells)},
            {"edge.bmp", CellsBmp(30, 21, kEdgeCells)},
            {"glyph.bmp", CellsBmp(7, 5, kGlyphCells)}};
}

TEST(SkinCombo, WithoutSunkEdge_ArrowIsTheButtonOnButtonFace) {
    std::vector<uint32_t> keyed = kButtonCells;
    keyed[1] = kMagenta;  // cell 2 all key colour
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ComboSkin(false, false), {{"button.bmp", CellsBmp(17, 21, keyed)}})));
    ASSERT_TRUE(d.ComboButton);
    EXPECT_EQ(d.ComboButton->Style, 0) << "no composed frame";
    EXPECT_EQ(d.ComboButton->Image.Width(), 68);
    EXPECT_EQ(d.ComboButton->Margins.Left, 1);
    ASSERT_TRUE(d.ComboxArrow);
    EXPECT_EQ(d.ComboxArrow->Frame, 4);
    EXPECT_EQ(d.ComboxArrow->Image.Width(), 68);
    EXPECT_EQ(d.ComboxArrow->Image.PixelFormat(), pf24bit);
    EXPECT_EQ(d.ComboxArrow->Image.PixelColor(17 + 8, 10), RGB(11, 22, 33));
    EXPECT_EQ(d.ComboxArrow->Image.PixelColor(8, 10), Ref(kButtonCells[0]));
    // The button's own mirrored strip, for buttons on the left: cells keep their order.
    EXPECT_EQ(d.ComboButton->Image2.Width(), 68);
    EXPECT_EQ(d.ComboButton->Image2.PixelColor(8, 10), Ref(kButtonCells[0]));
    EXPECT_EQ(d.ComboButton->Image2.PixelColor(3 * 17 + 8, 10), Ref(kButtonCells[3]));
}

TEST(SkinCombo, MirroredButtonStrip_MirrorsEachCell) {
    // Each cell: left half one colour, right half another.
    std::vector<uint32_t> halves;
    for (uint32_t c : kButtonCells) {
        halves.push_back(c);
        halves.push_back(c ^ 0x808080);
    }
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ComboSkin(false, false), {{"button.bmp", CellsBmp(8, 21, halves)}})));
    const TBitmap& mirrored = d.ComboButton->Image2;
    ASSERT_EQ(mirrored.Width(), 64);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(mirrored.PixelColor(16 * c + 1, 5), Ref(kButtonCells[static_cast<size_t>(c)] ^ 0x808080)) << c;
        EXPECT_EQ(mirrored.PixelColor(16 * c + 14, 5), Ref(kButtonCells[static_cast<size_t>(c)])) << c;
    }
}

TEST(SkinCombo, WithSunkEdge_ComposesTheFrameAndCutsTheArrow) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ComboSkin(true, false), ComboEntries())));
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const TDataSkinBorder& cb = *d.ComboButton;
    EXPECT_EQ(cb.Style, 2);
    EXPECT_EQ(cb.Frame, 4);
    EXPECT_EQ(cb.Image.Width(), 200);
    EXPECT_EQ(cb.Image.Height(), 21);
    EXPECT_EQ(cb.Margins.Left, 2);
    EXPECT_EQ(cb.Margins.Right, w + 2);
    EXPECT_EQ(cb.Margins.Top, 3);
    EXPECT_EQ(cb.Margins.Bottom, 3);
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        const size_t i = static_cast<size_t>(c);
        EXPECT_EQ(cb.Image.PixelColor(50 * c + 1, 1), Ref(kEdgeCells[i])) << "edge";
        EXPECT_EQ(cb.Image.PixelColor(50 * c + 10, 10), RGB(255, 0, 255)) << "edit area";
        EXPECT_EQ(cb.Image.PixelColor(50 * c + 50 - w / 2, 10), Ref(kButtonCells[i])) << "button";
    }
    // The right-to-left frame: each cell mirrored in place.
    const TDataSkinObject& sunk = *d.SunkEdge;
    EXPECT_EQ(sunk.Image.Width(), 200);
    EXPECT_EQ(sunk.Margins.Left, w + 2);
    EXPECT_EQ(sunk.Margins.Right, 2);
    EXPECT_EQ(sunk.Margins.Top, 3);
    for (int c = 0; c < 4; ++c) {
        const size_t i = static_cast<size_t>(c);
        EXPECT_EQ(sunk.Image.PixelColor(50 * c + w / 2, 10), Ref(kButtonCells[i])) << c;
        EXPECT_EQ(sunk.Image.PixelColor(50 * c + 48, 1), Ref(kEdgeCells[i])) << c;
    }
    // The arrow: 17 x 17 from each composed cell's button.
    const TDataSkinObject& arrow = *d.ComboxArrow;
    EXPECT_EQ(arrow.Frame, 4);
    EXPECT_EQ(arrow.Image.Width(), 68);
    EXPECT_EQ(arrow.Image.Height(), 17);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(arrow.Image.PixelColor(17 * c + 12, 8), Ref(kButtonCells[static_cast<size_t>(c)])) << c;
}

TEST(SkinCombo, ExtraImages_AreCentredOnTheButton) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ComboSkin(true, true), ComboEntries())));
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int centreX = 50 - w + w / 2;
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(d.ComboButton->Image.PixelColor(50 * c + centreX, 10), Ref(kGlyphCells[static_cast<size_t>(c)]))
            << c;
}

TEST(SkinCombo, SunkEdgeWithoutButton_LeavesTheArrowAsItWas) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin(ComboSkin(true, false), ComboEntries())));
    ASSERT_EQ(d.ComboxArrow->Image.Width(), 68);
    std::shared_ptr<TDataSkinObject> arrow = d.ComboxArrow;
    ASSERT_TRUE(LoadInto(d, MakeSkin("[SunkEdge]\r\nImage=edge.bmp\r\n", ComboEntries())));
    EXPECT_EQ(d.ComboxArrow, arrow) << "generated parts are reused";
    EXPECT_EQ(d.ComboxArrow->Image.Width(), 68);
    EXPECT_FALSE(d.ComboButton);
    EXPECT_EQ(d.SunkEdge->Image.Width(), 120) << "no composed frame";
}

TEST(SkinToolbar, Gradient_RunsFromFaceToCaptionSample) {
    struct Row {
        uint32_t sample;  // the Top frame colour
        const char* face;
    } rows[] = {{0x808080, "200 200 200"}, {0x3050C0, "240 240 240"}, {0xE00000, "100 150 200"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.face);
        TSkinData d(nullptr);
        ASSERT_TRUE(LoadInto(d, MakeSkin(std::string("[Colours]\r\nButtonFace=") + row.face +
                                             "\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n",
                                         {{"top.bmp", FlatBmp(90, 60, row.sample)}})));
        const TColor sample = static_cast<TColor>(Ref(row.sample));
        EXPECT_EQ(d.CaptionSampleColor(), sample);
        EXPECT_EQ(d.CaptionSample, sample);
        const TColor top = BlendColors(d.Colours.ButtonFace, clWhite, 150);
        const int k = ColorSaturation(sample);
        const TColor bottom =
            k > 110 ? BlendColors(sample, clWhite, (225 - k) * 25 / 140 + 50) : BlendColors(clGray, sample, 150);
        const TBitmap& g = d.Toolbar->Image;
        ASSERT_EQ(g.Width(), 10);
        ASSERT_EQ(g.Height(), 40);
        EXPECT_EQ(g.PixelColor(0, 0), static_cast<COLORREF>(top));
        EXPECT_EQ(g.PixelColor(9, 39), static_cast<COLORREF>(bottom));
    }
}

TEST(SkinToolbar, WithoutTopImage_SampleIsButtonFace) {
    TSkinData d(nullptr);
    ASSERT_TRUE(LoadInto(d, MakeSkin("[Colours]\r\nButtonFace=1 2 3\r\n")));
    EXPECT_EQ(d.CaptionSampleColor(), static_cast<TColor>(RGB(1, 2, 3)));
}

}  // namespace
