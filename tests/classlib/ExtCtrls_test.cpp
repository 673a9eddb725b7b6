// Panels: face, bevels and caption drawn on the panel's canvas, children laid out inside
// border and bevels.
#include <gtest/gtest.h>

#include <algorithm>

#include "ControlsTestSupport.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"

namespace {

const char* const kPanelForm = u8R"(object F: TForm
  Width = 400
  Height = 300
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 120
    Height = 60
    TabOrder = 0
  end
end
)";

TPanel* panelOf(TForm& f) { return dynamic_cast<TPanel*>(f.FindComponent("Panel1")); }

}  // namespace

TEST(TPanel_Paint, RaisedBevelAroundTheFace) {
    auto f = ctltest::FormFromText(kPanelForm);
    TPanel* p = panelOf(*f);
    ASSERT_NE(nullptr, p);
    guitest::Capture c = guitest::CaptureWindow(p->Handle(), false);
    ASSERT_TRUE(c.Valid());
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW), face = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(guitest::PixelIs(c, 0, 0, light));
    EXPECT_TRUE(guitest::PixelIs(c, 60, 0, light));
    EXPECT_TRUE(guitest::PixelIs(c, 0, 30, light));
    EXPECT_TRUE(guitest::PixelIs(c, 119, 30, shadow));
    EXPECT_TRUE(guitest::PixelIs(c, 60, 59, shadow));
    EXPECT_TRUE(guitest::PixelIs(c, 119, 0, shadow));  // the top-right corner belongs to the right edge
    EXPECT_TRUE(guitest::PixelIs(c, 0, 59, shadow));   // the bottom-left corner to the bottom edge
    EXPECT_TRUE(guitest::PixelIs(c, 5, 5, face));
}

TEST(TPanel_Paint, LoweredOuterAndRaisedInnerBevels) {
    auto f = ctltest::FormFromText(kPanelForm);
    TPanel* p = panelOf(*f);
    p->SetBevelOuter(bvLowered);
    p->SetBevelInner(bvRaised);
    p->SetColor(clMoneyGreen);
    guitest::Capture c = guitest::CaptureWindow(p->Handle(), false);
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(guitest::PixelIs(c, 10, 0, GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_TRUE(guitest::PixelIs(c, 10, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(guitest::PixelIs(c, 10, 59, GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(guitest::PixelIs(c, 10, 58, GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_TRUE(guitest::PixelIs(c, 10, 10, RGB(0xC0, 0xDC, 0xC0)));
}

TEST(TPanel_Paint, CaptionIsDrawnCentred) {
    auto f = ctltest::FormFromText(kPanelForm);
    TPanel* p = panelOf(*f);
    p->SetCaption("WWWW");
    p->Font().SetColor(clRed);
    guitest::Capture c = guitest::CaptureWindow(p->Handle(), false);
    ASSERT_TRUE(c.Valid());
    // Smoothed glyph edges blend with the face: count clearly red pixels.
    int red = 0, leftmost = c.Width(), rightmost = -1;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const COLORREF px = c.Pixel(x, y);
            if (GetRValue(px) > 150 && GetGValue(px) < 110 && GetBValue(px) < 110) {
                ++red;
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
        }
    ASSERT_GT(red, 10);
    // Centred whatever the font's widths: as much room on the left as on the right (a pixel
    // apart for an odd difference and the last glyph's bearing).
    EXPECT_NEAR(leftmost, c.Width() - 1 - rightmost, 2) << "text from x " << leftmost << " to " << rightmost;
}

TEST(TPanel_Layout, ChildrenStayInsideBorderAndBevels) {
    auto f = ctltest::FormFromText(kPanelForm);
    TPanel* p = panelOf(*f);
    p->SetBevelInner(bvLowered);
    p->SetBevelWidth(2);
    p->SetBorderWidth(3);
    auto* list = new TListBox(f.get());
    list->SetParent(p);
    list->SetAlign(alClient);
    EXPECT_EQ(7, p->FrameSize());
    const RECT r = ctltest::RectInParent(list->Handle());
    EXPECT_EQ((RECT{7, 7, 113, 53}), r);
    p->SetBevelOuter(bvNone);
    EXPECT_EQ((RECT{5, 5, 115, 55}), ctltest::RectInParent(list->Handle()));
}

TEST(TPanel_Style, SingleBorderIsASunkenEdge) {
    auto f = ctltest::FormFromText(kPanelForm);
    TPanel* p = panelOf(*f);
    EXPECT_FALSE(GetWindowLongPtrA(p->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongPtrA(p->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    p->SetBorderStyle(bsSingle);
    EXPECT_TRUE(GetWindowLongPtrA(p->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}
