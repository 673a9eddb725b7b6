// Bit buttons: the glyph and caption layout arithmetic, the glyph cell drawn for each
// state, kinds, and the owner-drawn window type kept when the button becomes default.
#include <gtest/gtest.h>

#include "Buttons.h"
#include "ControlsTestSupport.h"

namespace {

const char* const kButtonForm = u8R"(object F: TForm
  Width = 300
  Height = 200
  object BStart: TBitBtn
    Left = 11
    Top = 5
    Width = 88
    Height = 25
    Caption = '开始(&S)'
    TabOrder = 0
  end
end
)";

TBitBtn* buttonOf(TForm& f) { return dynamic_cast<TBitBtn*>(f.FindComponent("BStart")); }

// Two 8x8 cells on a magenta ground: a red square in the first, a blue one in the second.
void makeGlyph(TBitmap& glyph) {
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(16, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inner = y >= 2 && y < 6 && (x % 8) >= 2 && (x % 8) < 6;
            glyph.SetPixelColor(x, y, !inner ? RGB(255, 0, 255) : x < 8 ? RGB(255, 0, 0) : RGB(0, 0, 255));
        }
}

int countColour(const guitest::Capture& c, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.Pixel(x, y) == colour) ++n;
    return n;
}

}  // namespace

TEST(CalcButtonLayout_Table, GlyphAndTextPositions) {
    struct Row {
        const char* name;
        TButtonLayout layout;
        int margin, spacing;
        POINT glyph;
        RECT text;
    };
    // Client 100 x 30 at (0, 0); glyph 16 x 16; text 40 x 13.
    const Row rows[] = {
        {"left, centred together", blGlyphLeft, -1, 4, {20, 7}, {40, 9, 80, 22}},
        {"left, thirds", blGlyphLeft, -1, -1, {14, 7}, {44, 9, 84, 22}},
        {"left, margin 4", blGlyphLeft, 4, 4, {4, 7}, {24, 9, 64, 22}},
        {"left, margin 4, text centred in the rest", blGlyphLeft, 4, -1, {4, 7}, {40, 9, 80, 22}},
        {"right, margin 4", blGlyphRight, 4, 4, {80, 7}, {36, 9, 76, 22}},
        {"top, centred together", blGlyphTop, -1, 0, {42, 1}, {30, 17, 70, 30}},
        {"bottom, margin 1", blGlyphBottom, 1, 0, {42, 13}, {30, 0, 70, 13}},
    };
    for (const Row& r : rows) {
        const TButtonLayoutResult got = CalcButtonLayout(RECT{0, 0, 100, 30}, SIZE{16, 16}, SIZE{40, 13}, r.layout, r.margin, r.spacing);
        EXPECT_EQ(r.glyph.x, got.glyphPos.x) << r.name;
        EXPECT_EQ(r.glyph.y, got.glyphPos.y) << r.name;
        EXPECT_EQ(r.text, got.textRect) << r.name;
    }
}

TEST(CalcButtonLayout_Table, EdgeCases) {
    // No glyph: spacing does not count, the text is centred.
    TButtonLayoutResult r = CalcButtonLayout(RECT{0, 0, 100, 30}, SIZE{0, 0}, SIZE{40, 13}, blGlyphLeft, -1, 4);
    EXPECT_EQ((RECT{30, 9, 70, 22}), r.textRect);
    // No text: the glyph alone is centred.
    r = CalcButtonLayout(RECT{0, 0, 100, 30}, SIZE{16, 16}, SIZE{0, 0}, blGlyphLeft, -1, 4);
    EXPECT_EQ(42, r.glyphPos.x);
    // Client offset is applied to both.
    r = CalcButtonLayout(RECT{3, 4, 103, 34}, SIZE{16, 16}, SIZE{40, 13}, blGlyphLeft, 4, 4);
    EXPECT_EQ(7, r.glyphPos.x);
    EXPECT_EQ(11, r.glyphPos.y);
    EXPECT_EQ((RECT{27, 13, 67, 26}), r.textRect);
    // A glyph wider than the button gets negative positions, as computed.
    r = CalcButtonLayout(RECT{0, 0, 10, 10}, SIZE{16, 16}, SIZE{0, 0}, blGlyphLeft, -1, -1);
    EXPECT_EQ(-2, r.glyphPos.x);
}

TEST(TBitBtn_Paint, DrawsTheCellOfItsState) {
    auto f = ctltest::FormFromText(kButtonForm);
    TBitBtn* b = buttonOf(*f);
    ASSERT_NE(nullptr, b);
    TBitmap glyph;
    makeGlyph(glyph);
    b->SetGlyph(glyph);
    EXPECT_EQ(2, b->NumGlyphs());  // taken from the strip's proportions
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrA(b->Handle(), GWL_STYLE) & 0x0F);

    guitest::Capture normal = guitest::CaptureWindow(b->Handle(), false);
    ASSERT_TRUE(normal.Valid());
    EXPECT_EQ(16, countColour(normal, RGB(255, 0, 0)));
    EXPECT_EQ(0, countColour(normal, RGB(0, 0, 255)));
    EXPECT_EQ(0, countColour(normal, RGB(255, 0, 255)));  // the ground is transparent

    b->SetEnabled(false);
    guitest::Capture disabled = guitest::CaptureWindow(b->Handle(), false);
    EXPECT_EQ(0, countColour(disabled, RGB(255, 0, 0)));
    EXPECT_EQ(16, countColour(disabled, RGB(0, 0, 255)));
}

TEST(TBitBtn_Paint, SingleCellGlyphIsEmbossedWhenDisabled) {
    auto f = ctltest::FormFromText(kButtonForm);
    TBitBtn* b = buttonOf(*f);
    TBitmap glyph;
    makeGlyph(glyph);
    b->SetGlyph(glyph);
    b->SetNumGlyphs(1);  // the whole strip is one cell
    b->SetEnabled(false);
    guitest::Capture c = guitest::CaptureWindow(b->Handle(), false);
    ASSERT_TRUE(c.Valid());
    EXPECT_EQ(0, countColour(c, RGB(255, 0, 0)));
    EXPECT_EQ(0, countColour(c, RGB(0, 0, 255)));
    EXPECT_GT(countColour(c, GetSysColor(COLOR_BTNSHADOW)), 30);
}

TEST(TBitBtn_Click, BmClickRunsOnClickAndKindSetsTheResult) {
    auto f = ctltest::FormFromText(kButtonForm);
    TBitBtn* b = buttonOf(*f);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(std::string("开始(&S)"), b->Caption());
    b->SetKind(bkCancel);
    EXPECT_EQ(std::string("Cancel"), b->Caption());
    EXPECT_EQ(mrCancel, b->ModalResult());
    EXPECT_TRUE(b->Cancel());
}

TEST(TBitBtn_Style, StaysOwnerDrawnAsTheDefaultButton) {
    auto f = ctltest::FormFromText(kButtonForm);
    TBitBtn* b = buttonOf(*f);
    b->SetDefault(true);
    SendMessageA(b->Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrA(b->Handle(), GWL_STYLE) & 0x0F);
}
