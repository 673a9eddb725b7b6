// A form with the notepad's layout, read from its description: aligned rectangles at two
// form sizes, the splitter that resizes the choice-list panel, the choice list's double
// click, and GUI objects over repeated create/destroy cycles.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ComCtrls.h"
#include "ControlsTestSupport.h"
#include "ExtCtrls.h"
#include "RichEdit.h"
#include "StdCtrls.h"

namespace {

// The notepad's layout: a right-aligned splitter between the editor area and the choice
// list panel, the event log bottom-aligned behind the client-aligned editor, the level
// bar and the status bar at the bottom, a hidden memo.
const char* const kLayout = u8R"(object F: TLayoutForm
  Left = 10
  Top = 10
  Width = 696
  Height = 479
  Caption = 'Orvisk'
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  object Splitter1: TSplitter
    Left = 459
    Top = 0
    Width = 3
    Height = 377
    Cursor = crHSplit
    Align = alRight
  end
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 459
    Height = 377
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 0
    object Splitter2: TSplitter
      Left = 0
      Top = 221
      Width = 459
      Height = 3
      Cursor = crVSplit
      Align = alBottom
    end
    object lstProgress: TListBox
      Left = 0
      Top = 224
      Width = 459
      Height = 153
      Align = alBottom
      ItemHeight = 13
      TabOrder = 0
    end
  end
  object Panel2: TPanel
    Left = 462
    Top = 0
    Width = 226
    Height = 377
    Align = alRight
    TabOrder = 1
    object lstHypotheses: TListBox
      Left = 1
      Top = 1
      Width = 224
      Height = 375
      Align = alClient
      Color = clMoneyGreen
      Font.Charset = GB2312_CHARSET
      Font.Color = clRed
      Font.Height = -13
      Font.Name = '宋体'
      Hint = '[选字框]：双击添加选择字段。'
      ItemHeight = 13
      Items.Strings = (
        '用嘴对着麦克风讲话即可输入.'
        '------------------------'
        '请注意保持周围环境的安静，')
      ShowHint = True
      TabOrder = 0
      OnDblClick = lstHypothesesDblClick
    end
  end
  object RichEdit1: TRichEdit
    Left = 0
    Top = 0
    Width = 459
    Height = 377
    Align = alClient
    Font.Charset = GB2312_CHARSET
    Font.Color = clBlue
    Font.Height = -14
    Font.Name = '宋体'
    ScrollBars = ssVertical
    TabOrder = 2
  end
  object ProgressBar: TProgressBar
    Left = 0
    Top = 377
    Width = 688
    Height = 25
    Align = alBottom
    Smooth = True
    TabOrder = 3
  end
  object Memo1: TMemo
    Left = 8
    Top = 8
    Width = 185
    Height = 89
    Lines.Strings = (
      'Memo1')
    TabOrder = 4
    Visible = False
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 402
    Width = 688
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
        Width = 100
      end
      item
        Width = 80
      end
      item
        Width = 20
      end>
  end
end
)";

class TLayoutForm : public TForm {
    CLASS_INFO(TLayoutForm)
public:
    explicit TLayoutForm(TComponent* owner) : TForm(owner) {}
    TSplitter* Splitter1 = nullptr;
    TPanel* Panel1 = nullptr;
    TSplitter* Splitter2 = nullptr;
    TListBox* lstProgress = nullptr;
    TPanel* Panel2 = nullptr;
    TListBox* lstHypotheses = nullptr;
    TRichEdit* RichEdit1 = nullptr;
    TProgressBar* ProgressBar = nullptr;
    TMemo* Memo1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    int dblClicks = 0;
    std::string chosen;
    void lstHypothesesDblClick(TObject*) {
        ++dblClicks;
        if (lstHypotheses->ItemIndex() >= 0) chosen = lstHypotheses->Items()[lstHypotheses->ItemIndex()];
    }
};

const TClassInfo& TLayoutForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TLayoutForm>("TLayoutForm", &TForm::StaticClassInfo(), [](TClassBuilder<TLayoutForm>& b) {
        b.Field("Splitter1", &TLayoutForm::Splitter1);
        b.Field("Panel1", &TLayoutForm::Panel1);
        b.Field("Splitter2", &TLayoutForm::Splitter2);
        b.Field("lstProgress", &TLayoutForm::lstProgress);
        b.Field("Panel2", &TLayoutForm::Panel2);
        b.Field("lstHypotheses", &TLayoutForm::lstHypotheses);
        b.Field("RichEdit1", &TLayoutForm::RichEdit1);
        b.Field("ProgressBar", &TLayoutForm::ProgressBar);
        b.Field("Memo1", &TLayoutForm::Memo1);
        b.Field("StatusBar1", &TLayoutForm::StatusBar1);
        b.Handler("lstHypothesesDblClick", &TLayoutForm::lstHypothesesDblClick);
    });
    return info;
}

std::unique_ptr<TLayoutForm> makeLayoutForm() {
    auto form = std::make_unique<TLayoutForm>(Application);
    form->InitFromText(kLayout);
    form->HandleNeeded();
    return form;
}

RECT rect(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

// The rectangles alignment must give for a client area of cw x ch.
void expectLayout(TLayoutForm& f, int cw, int ch) {
    SCOPED_TRACE("client " + std::to_string(cw) + "x" + std::to_string(ch));
    const int bottomBars = 24 + 25;  // status bar, then the level bar above it
    const int areaH = ch - bottomBars;
    using ctltest::RectInParent;
    EXPECT_EQ(rect(0, ch - 24, cw, 24), RectInParent(f.StatusBar1->Handle()));
    EXPECT_EQ(rect(0, ch - bottomBars, cw, 25), RectInParent(f.ProgressBar->Handle()));
    EXPECT_EQ(rect(cw - 226, 0, 226, areaH), RectInParent(f.Panel2->Handle()));
    EXPECT_EQ(rect(cw - 229, 0, 3, areaH), RectInParent(f.Splitter1->Handle()));
    EXPECT_EQ(rect(0, 0, cw - 229, areaH), RectInParent(f.Panel1->Handle()));
    EXPECT_EQ(rect(0, 0, cw - 229, areaH), RectInParent(f.RichEdit1->Handle()));
    // Inside Panel1 (no bevel): the event log at the bottom, its splitter above it.
    EXPECT_EQ(rect(0, areaH - 153, cw - 229, 153), RectInParent(f.lstProgress->Handle()));
    EXPECT_EQ(rect(0, areaH - 156, cw - 229, 3), RectInParent(f.Splitter2->Handle()));
    // Inside Panel2: the raised one-pixel bevel keeps the choice list one pixel in.
    EXPECT_EQ(rect(1, 1, 224, areaH - 2), RectInParent(f.lstHypotheses->Handle()));
    // The fields follow the windows.
    EXPECT_EQ(cw - 226, f.Panel2->Left());
    EXPECT_EQ(areaH, f.Panel2->Height());
}

}  // namespace

TEST(FormLayout_Alignment, AlignedRectanglesAtTwoFormSizes) {
    auto f = makeLayoutForm();
    expectLayout(*f, f->ClientWidth(), f->ClientHeight());
    f->SetBounds(10, 10, 900, 620);
    expectLayout(*f, f->ClientWidth(), f->ClientHeight());
    f->SetBounds(10, 10, 600, 400);
    expectLayout(*f, f->ClientWidth(), f->ClientHeight());
}

TEST(FormLayout_Alignment, EditorLiesInFrontOfTheEventLog) {
    auto f = makeLayoutForm();
    // Later siblings are above earlier ones: the editor is nearer the top than Panel1.
    HWND wnd = f->RichEdit1->Handle();
    bool panelBelow = false;
    for (HWND w = GetWindow(wnd, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        panelBelow = panelBelow || w == f->Panel1->Handle();
    EXPECT_TRUE(panelBelow);
}

TEST(FormLayout_Splitter, DraggingLeftWidensTheRightPanel) {
    auto f = makeLayoutForm();
    const int cw = f->ClientWidth();
    HWND splitter = f->Splitter1->Handle();
    EXPECT_EQ(f->Panel2, f->Splitter1->ResizedControl());
    SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 20));
    SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-39), 20));
    SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-39), 20));
    EXPECT_NE(splitter, GetCapture());
    EXPECT_EQ(266, f->Panel2->Width());
    EXPECT_EQ(cw - 266, ctltest::RectInParent(f->Panel2->Handle()).left);
    EXPECT_EQ(cw - 269, ctltest::RectInParent(splitter).left);
    EXPECT_EQ(cw - 269, f->Panel1->Width());
    EXPECT_EQ(cw - 269, f->RichEdit1->Width());
}

TEST(FormLayout_Splitter, DraggingRightNarrowsThePanelDownToMinSize) {
    auto f = makeLayoutForm();
    f->Splitter1->SetAutoSnap(false);
    HWND splitter = f->Splitter1->Handle();
    SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 20));
    SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(101, 20));
    SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(101, 20));
    EXPECT_EQ(126, f->Panel2->Width());
    SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 20));
    SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(500, 20));
    EXPECT_EQ(f->Splitter1->MinSize(), f->Panel2->Width());
}

TEST(FormLayout_Splitter, AutoSnapCollapsesAPanelDraggedToItsMinimum) {
    auto f = makeLayoutForm();
    HWND splitter = f->Splitter1->Handle();
    SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 20));
    SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(400, 20));
    EXPECT_EQ(0, f->Panel2->Width());
    EXPECT_EQ(f->ClientWidth() - 3, f->RichEdit1->Width());
}

TEST(FormLayout_Splitter, BottomSplitterResizesTheEventLog) {
    auto f = makeLayoutForm();
    EXPECT_EQ(f->lstProgress, f->Splitter2->ResizedControl());
    f->Splitter2->SetResizeStyle(rsUpdate);
    HWND splitter = f->Splitter2->Handle();
    SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 1));
    SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, static_cast<WORD>(-49)));
    EXPECT_EQ(203, f->lstProgress->Height());  // live while dragging
    // The bar moved with the pointer: the release arrives where the pointer is on it.
    SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(20, 1));
    EXPECT_EQ(203, f->lstProgress->Height());
    const int panelH = f->Panel1->ClientHeight();
    EXPECT_EQ(panelH - 203 - 3, ctltest::RectInParent(splitter).top);
}

TEST(FormLayout_Cursor, SplittersShowResizeCursors) {
    auto f = makeLayoutForm();
    EXPECT_EQ(-14, f->Splitter1->Cursor());  // crHSplit
    EXPECT_EQ(-15, f->Splitter2->Cursor());  // crVSplit
    TSplitter s(f.get());
    s.SetParent(f.get());
    s.SetAlign(alTop);
    EXPECT_EQ(-15, s.Cursor());
}

TEST(FormLayout_ChoiceList, DoubleClickRunsTheStoredHandler) {
    auto f = makeLayoutForm();
    HWND list = f->lstHypotheses->Handle();
    ASSERT_EQ(3, f->lstHypotheses->Count());
    RECT item = f->lstHypotheses->ItemRect(1);
    const LPARAM at = MAKELPARAM(item.left + 5, item.top + 3);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(1, f->dblClicks);
    EXPECT_EQ(1, f->lstHypotheses->ItemIndex());
    EXPECT_EQ(std::string("------------------------"), f->chosen);
}

TEST(FormLayout_ChoiceList, StoredLinesAndHintAreGbk) {
    auto f = makeLayoutForm();
    char text[256] = {};
    SendMessageA(f->lstHypotheses->Handle(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::string("用嘴对着麦克风讲话即可输入."), text);
    EXPECT_EQ(std::string("[选字框]：双击添加选择字段。"), f->lstHypotheses->Hint());
    EXPECT_EQ(std::string("宋体"), f->lstHypotheses->Font().Name());
}

TEST(FormLayout_ChoiceList, BackgroundIsMoneyGreen) {
    auto f = makeLayoutForm();
    guitest::Capture c = guitest::CaptureWindow(f->lstHypotheses->Handle(), false);
    ASSERT_TRUE(c.Valid());
    // Below the three lines and away from any text.
    EXPECT_TRUE(guitest::PixelIs(c, c.Width() - 30, c.Height() - 10, RGB(0xC0, 0xDC, 0xC0)));
    EXPECT_TRUE(guitest::PixelIs(c, c.Width() - 30, 4, RGB(0xC0, 0xDC, 0xC0)));  // beside the first line's text
}

TEST(FormLayout_Memo, HiddenMemoKeepsItsStoredLine) {
    auto f = makeLayoutForm();
    EXPECT_FALSE(IsWindowVisible(f->Memo1->Handle()));
    EXPECT_EQ(std::string("Memo1\r\n"), f->Memo1->Lines().Text());
}

TEST(FormLayout_Leaks, TwentyCyclesLeaveNoGuiObjects) {
    { auto warm = makeLayoutForm(); warm->Show(); ctltest::Flush(); }
    ctltest::Flush();
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    ASSERT_TRUE(before.gdiKnown) << before.source;
    for (int i = 0; i < 20; ++i) {
        auto f = makeLayoutForm();
        f->Show();
        f->RichEdit1->Lines().Add("line " + std::to_string(i));
        f->lstHypotheses->Items().Add("guess");
        f->StatusBar1->Panels()[4]->SetText("   12:00:00");
        ctltest::Flush();
    }
    ctltest::Flush();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    EXPECT_EQ(after.gdi, before.gdi) << before.source;
    if (before.userKnown && after.userKnown) {
        EXPECT_EQ(after.user, before.user) << before.source;
    }
}

TEST(FormAlphaBlend_Stored, ValueWithoutBlendingLeavesTheWindowOpaque) {
    auto f = ctltest::FormFromText(u8R"(object F: TForm
  Width = 223
  Height = 126
  AlphaBlendValue = 150
end
)");
    EXPECT_FALSE(f->AlphaBlend());
    EXPECT_EQ(150, f->AlphaBlendValue());
    EXPECT_FALSE(GetWindowLongPtrA(f->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(FormAlphaBlend_Switch, BlendingMakesALayeredWindowWithTheValue) {
    auto f = ctltest::FormFromText(u8R"(object F: TForm
  Width = 223
  Height = 126
  AlphaBlend = True
  AlphaBlendValue = 150
end
)");
    HWND wnd = f->Handle();
    ASSERT_TRUE(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
    EXPECT_EQ(150, alpha);
    EXPECT_TRUE(flags & LWA_ALPHA);
    f->SetAlphaBlendValue(300);  // kept within 0..255
    EXPECT_EQ(255, f->AlphaBlendValue());
    f->SetAlphaBlend(false);
    EXPECT_FALSE(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}
