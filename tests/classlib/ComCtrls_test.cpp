// Status bar parts and texts as the window reports them, and the progress bar's range and
// position before and after its window exists.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ComCtrls.h"
#include "ControlsTestSupport.h"

namespace {

const char* const kStatusForm = u8R"(object F: TForm
  Width = 800
  Height = 300
  object StatusBar1: TStatusBar
    Left = 0
    Top = 240
    Width = 792
    Height = 24
    Panels = <
      item
        Text = '语音输入：已开始'
        Width = 130
      end
      item
        Width = 600
      end
      item
        Alignment = taCenter
        Width = 100
      end
      item
        Bevel = pbRaised
        Width = 80
      end
      item
        Width = 20
      end>
  end
end
)";

TStatusBar* barOf(TForm& f) { return dynamic_cast<TStatusBar*>(f.FindComponent("StatusBar1")); }

std::vector<int> parts(HWND bar) {
    int edges[16] = {};
    const int n = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + n);
}

std::string partText(HWND bar, int index, DWORD* flags = nullptr) {
    // SB_GETTEXT takes no buffer size, and under Wine SB_GETTEXTLENGTH counts characters,
    // not bytes: a buffer for any text the tests set.
    std::string s(1024, '\0');
    const LRESULT r = SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(LOWORD(r));
    if (flags) *flags = HIWORD(r);
    return s;
}

}  // namespace

TEST(TStatusBar_Panels, PartsAndTextsFromTheStoredPanels) {
    auto f = ctltest::FormFromText(kStatusForm);
    TStatusBar* bar = barOf(*f);
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(5, bar->Panels().Count());
    EXPECT_FALSE(bar->HandleAllocated());
    HWND wnd = bar->Handle();
    EXPECT_EQ((std::vector<int>{130, 730, 830, 910, -1}), parts(wnd));
    EXPECT_EQ(std::string("语音输入：已开始"), partText(wnd, 0));
    EXPECT_EQ(std::string(""), partText(wnd, 1));
    EXPECT_EQ(std::string("\t"), partText(wnd, 2));  // centred: the tab the window reads
    DWORD flags = 0;
    partText(wnd, 3, &flags);
    EXPECT_EQ(static_cast<DWORD>(SBT_POPOUT), flags);
    EXPECT_FALSE(SendMessageA(wnd, SB_ISSIMPLE, 0, 0));
}

TEST(TStatusBar_Panels, PanelTextSetterUpdatesTheWindow) {
    auto f = ctltest::FormFromText(kStatusForm);
    TStatusBar* bar = barOf(*f);
    HWND wnd = bar->Handle();
    bar->Panels()[0]->SetText("语音输入：已停止");
    bar->Panels()[4]->SetText("   12:34:56");
    EXPECT_EQ(std::string("语音输入：已停止"), partText(wnd, 0));
    EXPECT_EQ(std::string("   12:34:56"), partText(wnd, 4));
}

TEST(TStatusBar_Panels, WidthChangeMovesTheFollowingParts) {
    auto f = ctltest::FormFromText(kStatusForm);
    TStatusBar* bar = barOf(*f);
    HWND wnd = bar->Handle();
    bar->Panels()[1]->SetWidth(500);
    EXPECT_EQ((std::vector<int>{130, 630, 730, 810, -1}), parts(wnd));
    bar->Panels().Add()->SetText("new");
    EXPECT_EQ((std::vector<int>{130, 630, 730, 810, 830, -1}), parts(wnd));
    EXPECT_EQ(std::string("new"), partText(wnd, 5));
}

TEST(TStatusBar_Panels, PanelsSurviveRecreateWithoutSizeGrip) {
    auto f = ctltest::FormFromText(kStatusForm);
    TStatusBar* bar = barOf(*f);
    EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    bar->SetSizeGrip(false);
    HWND wnd = bar->Handle();
    EXPECT_FALSE(GetWindowLongPtrA(wnd, GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_EQ((std::vector<int>{130, 730, 830, 910, -1}), parts(wnd));
    EXPECT_EQ(std::string("语音输入：已开始"), partText(wnd, 0));
}

TEST(TStatusBar_Simple, SimplePanelShowsTheSimpleText) {
    auto f = ctltest::FormFromText(kStatusForm);
    TStatusBar* bar = barOf(*f);
    HWND wnd = bar->Handle();
    bar->SetSimpleText("simple");
    bar->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageA(wnd, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(std::string("simple"), partText(wnd, 0));  // in simple mode part 0 is the simple part
    bar->SetSimplePanel(false);
    EXPECT_FALSE(SendMessageA(wnd, SB_ISSIMPLE, 0, 0));
}

TEST(TStatusBar_Layout, BottomAlignedAtItsHeight) {
    auto f = ctltest::FormFromText(kStatusForm);
    TStatusBar* bar = barOf(*f);
    HWND wnd = bar->Handle();
    const RECT r = ctltest::RectInParent(wnd);
    EXPECT_EQ(24, r.bottom - r.top);
    EXPECT_EQ(f->ClientHeight(), r.bottom);
    EXPECT_EQ(f->ClientWidth(), r.right - r.left);
}

TEST(TStatusBar_OwnerDraw, OwnerDrawnPanelCallsOnDrawPanel) {
    auto f = ctltest::FormFromText(kStatusForm);
    TStatusBar* bar = barOf(*f);
    int drawn = -1;
    RECT where{};
    bar->OnDrawPanel = [&](TCustomStatusBar* sender, TStatusPanel* panel, const RECT& r) {
        EXPECT_EQ(bar, sender);
        drawn = panel->Index();
        where = r;
        static_cast<TStatusBar*>(sender)->Canvas().FillRect(r);
    };
    bar->Panels()[1]->SetStyle(psOwnerDraw);
    // The bar paints into a DC given with WM_PAINT (it has no WM_PRINTCLIENT under Wine),
    // and only while it is visible.
    f->Show();
    guitest::Capture c(800, 30);
    ASSERT_TRUE(c.Valid());
    SendMessageA(bar->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(c.Dc()), 0);
    EXPECT_EQ(1, drawn);
    EXPECT_GE(where.left, 130);
}

TEST(TProgressBar_Position, KeptBeforeTheWindowAndClampedToTheRange) {
    auto f = ctltest::FormFromText(kStatusForm);
    auto* bar = new TProgressBar(f.get());
    bar->SetParent(f.get());
    bar->SetSmooth(true);
    bar->SetPosition(40);
    EXPECT_EQ(40, bar->Position());
    HWND wnd = bar->Handle();
    EXPECT_EQ(40, SendMessageA(wnd, PBM_GETPOS, 0, 0));
    EXPECT_EQ(100, SendMessageA(wnd, PBM_GETRANGE, FALSE, 0));
    EXPECT_TRUE(GetWindowLongPtrA(wnd, GWL_STYLE) & PBS_SMOOTH);
    bar->SetPosition(150);
    EXPECT_EQ(100, bar->Position());
    bar->SetPosition(-5);
    EXPECT_EQ(0, bar->Position());
    bar->SetPosition(70);
    bar->SetOrientation(pbVertical);  // a new window keeps the position
    EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & PBS_VERTICAL);
    EXPECT_EQ(70, SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0));
    bar->SetMax(200);
    EXPECT_EQ(200, SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0));
    bar->StepBy(10);
    EXPECT_EQ(80, bar->Position());
}
