// The bar skins (status bar, group box, panel, track bar, up-down, progress bar) on real
// windows under Wine: the pixels they paint against the flat test skin's cells and
// colours, the track bar's custom draw, focus and leaks.  Controls are added to a class-library
// form after its form skin was applied, so that each skin is attached here, directly.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "WinSubClassBars.h"
#include "WindowProcHook.h"
#include "skin_data_support.h"
#include "skin_form_support.h"
#include "test_skins.h"

using guitest::Capture;
using guitest::PixelIs;
using skinform::FlatRef;

namespace {

std::string Str(const RECT& r) { return guitest::ToString(r); }

// ---- skins on real windows ------------------------------------------------------------

// The control's client area as its window procedure paints it for WM_PRINTCLIENT.
Capture Painted(HWND window) {
    const RECT r = guitest::ClientRectOf(window);
    Capture c(guitest::Width(r), guitest::Height(r));
    if (c.Valid()) SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.Dc()), PRF_CLIENT);
    return c;
}

COLORREF Rgb(TColor colour) { return ColorToRGB(colour); }

class BarSkin : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        SkinFormTest::SetUp();
        if (HasFatalFailure()) return;
        form = new TForm(Application);
        form->SetBounds(40, 40, 520, 400);
        formSkin = SkinAndApply(form->Handle());
        ASSERT_NE(formSkin, nullptr);
    }
    void TearDown() override {
        delete form;
        form = nullptr;
        SkinFormTest::TearDown();
    }

    template <class C>
    C* Add(int left, int top, int width, int height) {
        auto* c = new C(form);
        c->SetParent(form);
        c->SetBounds(left, top, width, height);
        c->HandleNeeded();
        return c;
    }
    template <class S>
    S* SkinOf(TControl* host, bool setColor = false, TSkinData* skinData = nullptr) {
        auto* s = new S(host);
        s->AttachControl(formSkin, skinData ? skinData : data.get(), setColor, nullptr);
        return s;
    }

    TForm* form = nullptr;
    TWinSkinForm* formSkin = nullptr;
};

// ---- progress bar

TEST_F(BarSkin, Progress_FillFollowsPositionAndLowerLimit) {
    auto* bar = Add<TProgressBar>(10, 10, 200, 20);
    SkinOf<TSkinProgress>(bar);
    ASSERT_EQ(guitest::Width(guitest::ClientRectOf(bar->Handle())), 200);
    const COLORREF track = FlatRef("Progress", 1), fill = FlatRef("Progress", 2);
    const struct { const char* name; int min, max, pos, filled; } rows[] = {
        {"0 of 0..100", 0, 100, 0, 0},
        {"50 of 0..100", 0, 100, 50, 100},
        {"100 of 0..100", 0, 100, 100, 200},
        {"50 of 0..200", 0, 200, 50, 50},
        {"150 of 100..200", 100, 200, 150, 100},
    };
    for (const auto& r : rows) {
        bar->SetRange(r.min, r.max);
        bar->SetPosition(r.pos);
        const Capture c = Painted(bar->Handle());
        ASSERT_TRUE(c.Valid()) << r.name;
        if (r.filled > 0) {
            EXPECT_TRUE(PixelIs(c, 0, 10, fill)) << r.name;
            EXPECT_TRUE(PixelIs(c, r.filled - 1, 10, fill)) << r.name;
        }
        if (r.filled < 200) {
            EXPECT_TRUE(PixelIs(c, r.filled, 10, track)) << r.name;
            EXPECT_TRUE(PixelIs(c, 199, 10, track)) << r.name;
        }
    }
}

TEST_F(BarSkin, Progress_VerticalFillsFromTheBottom) {
    auto* bar = Add<TProgressBar>(10, 10, 20, 100);
    bar->SetOrientation(pbVertical);
    bar->SetPosition(25);
    SkinOf<TSkinProgress>(bar);
    const Capture c = Painted(bar->Handle());
    ASSERT_EQ(c.Height(), 100);
    EXPECT_TRUE(PixelIs(c, 10, 99, FlatRef("Progress", 2)));
    EXPECT_TRUE(PixelIs(c, 10, 75, FlatRef("Progress", 2)));
    EXPECT_TRUE(PixelIs(c, 10, 74, FlatRef("Progress", 1)));
    EXPECT_TRUE(PixelIs(c, 10, 0, FlatRef("Progress", 1)));
}

TEST_F(BarSkin, Progress_RawWindowIsPaintedToo) {
    HWND raw = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 40, 120, 16, form->Handle(),
                               nullptr, nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    guitest::OwnedWindow owned(raw);
    SendMessageW(raw, PBM_SETRANGE32, 0, 120);
    SendMessageW(raw, PBM_SETPOS, 30, 0);
    std::unique_ptr<TSkinProgress> skin(new TSkinProgress(nullptr));
    skin->AttachWindow(raw, data.get(), formSkin, nullptr);
    EXPECT_EQ(SendMessageW(raw, WM_SKINQUERY, 0, 0), 1);
    const Capture c = Painted(raw);
    EXPECT_TRUE(PixelIs(c, 29, 8, FlatRef("Progress", 2)));
    EXPECT_TRUE(PixelIs(c, 30, 8, FlatRef("Progress", 1)));
    skin.reset();
    owned.Reset();
}

TEST_F(BarSkin, Progress_ChunkStyleTilesTheChunk) {
    auto* bar = Add<TProgressBar>(10, 10, 200, 20);
    bar->SetPosition(100);
    data->Progress->Style = 1;
    SkinOf<TSkinProgress>(bar);
    const Capture c = Painted(bar->Handle());
    EXPECT_TRUE(PixelIs(c, 100, 10, FlatRef("Progress.Chunk", 1)));
    bar->SetPosition(0);
    const Capture empty = Painted(bar->Handle());
    EXPECT_FALSE(PixelIs(empty, 100, 10, FlatRef("Progress.Chunk", 1))) << "no chunk at position 0";
}

TEST_F(BarSkin, Progress_ChunkStyleWithoutChunkImageLeavesTheControlItsPainting) {
    auto* bar = Add<TProgressBar>(10, 10, 200, 20);
    bar->SetPosition(50);
    data->Progress->Style = 1;
    data->ProgressChunk.reset();
    SkinOf<TSkinProgress>(bar);
    const Capture c = Painted(bar->Handle());
    int painted = 0;
    for (int x = 0; x < c.Width(); x += 10)
        if (c.Painted(x, 10)) ++painted;
    EXPECT_EQ(painted, 20) << "the control's own painting ran";
}

// ---- status bar

class StatusBarSkin : public BarSkin {
protected:
    void SetUp() override {
        BarSkin::SetUp();
        if (HasFatalFailure()) return;
        bar = Add<TStatusBar>(0, 0, 480, 24);
        const struct { const char* text; int width; TStatusPanelBevel bevel; } panels[] = {
            {"语音", 100, pbLowered}, {"", 120, pbRaised}, {"quillet", 50, pbNone}};
        for (const auto& p : panels) {
            TStatusPanel* panel = bar->Panels().Add();
            panel->SetText(p.text);
            panel->SetWidth(p.width);
            panel->SetBevel(p.bevel);
        }
        skin = SkinOf<TSkinStatusBar>(bar);
    }
    RECT Part(int i) {
        RECT r{};
        EXPECT_TRUE(SendMessageW(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)));
        return r;
    }

    TStatusBar* bar = nullptr;
    TSkinStatusBar* skin = nullptr;
};

TEST_F(StatusBarSkin, PanelFacesAreTheBevelCells) {
    const Capture c = Painted(bar->Handle());
    ASSERT_TRUE(c.Valid());
    for (int i = 0; i < 3; ++i) {
        const RECT p = Part(i);
        const int cell = i + 1;  // lowered, raised, none
        EXPECT_TRUE(PixelIs(c, p.left + 1, p.top + 1, FlatRef("StatusBarEdges", cell))) << "panel " << i;
    }
    const RECT first = Part(0);
    EXPECT_TRUE(PixelIs(c, first.right + 1, first.top + 1, FlatRef("StatusBarEdges", 1)))
        << "a panel's face covers the gap after it";
    EXPECT_TRUE(PixelIs(c, c.Width() - 1, Part(2).top + 1, FlatRef("StatusBarEdges", 3)))
        << "the last face reaches the right edge";
}

TEST_F(StatusBarSkin, TextsAreDrawnInTheSectionColour) {
    bar->Panels().Items(1)->SetText("MMMM");
    const Capture c = Painted(bar->Handle());
    const COLORREF text = Rgb(data->StatusBarEdges->NormalColour);
    const COLORREF face = FlatRef("StatusBarEdges", 2);
    const RECT p = Part(1);
    // The font is smoothed: the text's core pixels have its colour, its edges blend.
    int textPixels = 0, closest = 255 * 3;
    for (int x = p.left; x < p.right; ++x)
        for (int y = p.top; y < p.bottom; ++y) {
            const COLORREF px = c.Pixel(x, y);
            if (px == face) continue;
            ++textPixels;
            closest = std::min(closest, std::abs(GetRValue(px) - GetRValue(text)) +
                                            std::abs(GetGValue(px) - GetGValue(text)) +
                                            std::abs(GetBValue(px) - GetBValue(text)));
        }
    EXPECT_GT(textPixels, 10);
    EXPECT_LE(closest, 12) << "no pixel of the text colour " << guitest::ColorToString(text);
    EXPECT_TRUE(PixelIs(c, p.right - 4, p.top + 1, FlatRef("StatusBarEdges", 2))) << "right of the text: face";
}

TEST_F(StatusBarSkin, SizeGripIsCellFiveOfExtraImages) {
    ASSERT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    const Capture c = Painted(bar->Handle());
    const TBitmap& image = data->ExtraImages->Image;
    const RECT grip = barskin::SizeGripRect(RECT{0, 0, c.Width(), c.Height()}, image.Width() / 5, image.Height());
    EXPECT_TRUE(PixelIs(c, (grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2, FlatRef("ExtraImages", 5)));
}

TEST_F(StatusBarSkin, SimpleModeIsOneLoweredFace) {
    bar->SetSimplePanel(true);
    bar->SetSimpleText("就绪");
    const Capture c = Painted(bar->Handle());
    EXPECT_TRUE(PixelIs(c, c.Width() / 2, 1, FlatRef("StatusBarEdges", 1)));
    EXPECT_TRUE(PixelIs(c, 200, c.Height() / 2, FlatRef("StatusBarEdges", 1)));
}

TEST_F(StatusBarSkin, DrawPanelEventRunsForEveryPanelAfterTheSkin) {
    std::vector<RECT> rects;
    bar->OnDrawPanel = [&](TCustomStatusBar* sender, TStatusPanel* panel, const RECT& r) {
        EXPECT_EQ(sender, bar);
        EXPECT_EQ(panel, bar->Panels().Items(static_cast<int>(rects.size())));
        EXPECT_NE(bar->Canvas().Handle(), nullptr) << "the handler can draw on the bar's canvas";
        rects.push_back(r);
    };
    Painted(bar->Handle());
    ASSERT_EQ(rects.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        RECT expected = Part(i);
        InflateRect(&expected, -2, -2);
        EXPECT_TRUE(guitest::SameRect(rects[static_cast<size_t>(i)], expected)) << i;
    }
}

TEST_F(BarSkin, StatusBar_WithoutEdgesSectionIsFlatWithSystemBevels) {
    TSkinData plain(nullptr);
    skintest::FlatSkinOptions options;
    options.omitSections = {"StatusBarEdges"};
    ASSERT_TRUE(skindata::LoadInto(plain, skintest::MakeFlatTestSkin(options)));
    auto* bar = Add<TStatusBar>(0, 0, 300, 24);
    bar->SetSizeGrip(false);
    bar->Panels().Add()->SetWidth(100);
    bar->Panels().Add()->SetWidth(100);
    SkinOf<TSkinStatusBar>(bar, false, &plain);
    const Capture c = Painted(bar->Handle());
    RECT p{};
    SendMessageW(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&p));
    EXPECT_TRUE(PixelIs(c, p.left, p.top + 5, GetSysColor(COLOR_BTNSHADOW))) << "lowered: shadow on the left";
    EXPECT_TRUE(PixelIs(c, p.left + 4, p.top + 2, Rgb(plain.Colours.ButtonFace))) << "inside: the skin's face";
}

// ---- status bar on screen: what the bar shows after changes, without a forced repaint

// The first pixel in [left, right) x the whole height where the screen differs from what
// the skin paints now, or -1 when they agree.
int FirstStaleColumn(HWND bar, int left, int right) {
    // What is on screen, not repainted: a capture that repaints would hide a change that
    // never reached the screen.
    const Capture painted = Painted(bar), shown = guitest::CaptureAsShown(bar, false);
    if (!painted.Valid() || !shown.Valid()) return left;
    for (int x = std::max(left, 0); x < std::min(right, painted.Width()); ++x)
        for (int y = 0; y < painted.Height(); ++y)
            if (painted.Pixel(x, y) != shown.Pixel(x, y)) return x;
    return -1;
}

class StatusBarOnScreen : public BarSkin {
protected:
    // The notepad's bar (five panels, the last its clock) on a shown form of the notepad's
    // stored size; a form made larger later (maximised) leaves the panels as they were laid out.
    void SetUp() override {
        BarSkin::SetUp();
        if (HasFatalFailure()) return;
        form->SetBounds(40, 40, 696, 479);
        bar = new TStatusBar(form);
        bar->SetParent(form);
        bar->SetHeight(24);
        for (int width : {130, 600, 100, 80, 20}) bar->Panels().Add()->SetWidth(width);
        bar->HandleNeeded();
        SkinOf<TSkinStatusBar>(bar);
        form->Show();
        SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        guitest::PumpMessages();
    }
    // Pumps until the bar on screen is what the skin paints, and says where it is not.
    ::testing::AssertionResult ShowsWhatTheSkinPaints(int left, int right) {
        int stale = -1;
        if (guitest::PumpUntil([&] { return (stale = FirstStaleColumn(bar->Handle(), left, right)) < 0; }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the bar on screen differs from the skin's painting at x = " << stale;
    }

    TStatusBar* bar = nullptr;
};

TEST_F(StatusBarOnScreen, ClockPanelShowsEachNewText) {
    form->SetBounds(0, 0, 1280, 600);
    RECT clock{};
    ASSERT_TRUE(SendMessageW(bar->Handle(), SB_GETRECT, 4, reinterpret_cast<LPARAM>(&clock)));
    const int right = guitest::ClientRectOf(bar->Handle()).right;
    ASSERT_TRUE(ShowsWhatTheSkinPaints(clock.left, right)) << "after the resize";
    for (const char* time : {"   09:27:07", "   09:27:08", "   10:31:59"}) {
        bar->Panels().Items(4)->SetText(time);
        EXPECT_TRUE(ShowsWhatTheSkinPaints(clock.left, right)) << time;
    }
}

TEST_F(StatusBarOnScreen, ResizedInStepsLeavesNoOldSizeGrip) {
    ASSERT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    // The bar alone narrowed and widened in steps (as a layout does), a paint between
    // steps: its class redraws only what a step uncovers.
    bar->SetAlign(alNone);
    auto resize = [&](int from, int to) {
        const int steps = 30;
        for (int i = 1; i <= steps; ++i) {
            bar->SetBounds(0, 100, from + (to - from) * i / steps, 24);
            UpdateWindow(form->Handle());
            guitest::PumpMessages();
        }
    };
    resize(680, 230);
    resize(230, 660);
    EXPECT_TRUE(ShowsWhatTheSkinPaints(0, guitest::ClientRectOf(bar->Handle()).right));
}

// ---- group box and panel

TEST_F(BarSkin, GroupBox_RoundedFrameInShadowColourUnderTheCaption) {
    auto* box = Add<TGroupBox>(10, 10, 200, 120);
    box->SetCaption("G");
    SkinOf<TSkinGroupBox>(box, true);
    const Capture c = Painted(box->Handle());
    const COLORREF shadow = Rgb(data->Colours.ButtonShadow), face = Rgb(data->Colours.ButtonFace);
    // The frame's top line is half the text height down.
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, box->Font().Handle());
    SIZE zero{};
    GetTextExtentPoint32A(screen, "0", 1, &zero);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int y = zero.cy / 2 - 1;
    EXPECT_TRUE(PixelIs(c, 100, y, shadow)) << "top line";
    EXPECT_TRUE(PixelIs(c, 100, y + 1, face));
    EXPECT_TRUE(PixelIs(c, 1, 60, shadow)) << "left line";
    EXPECT_TRUE(PixelIs(c, 198, 60, shadow)) << "right line";
    EXPECT_TRUE(PixelIs(c, 100, 118, shadow)) << "bottom line";
    EXPECT_TRUE(PixelIs(c, 100, 60, face)) << "inside";
    EXPECT_TRUE(PixelIs(c, 0, 60, face)) << "outside the frame";
    int captionPixels = 0;
    for (int x = 8; x < 30; ++x)
        if (c.Pixel(x, y) != shadow) ++captionPixels;
    EXPECT_GT(captionPixels, 0) << "the caption's opaque background hides the line";
    EXPECT_EQ(box->Color(), data->Colours.ButtonFace);
}

TEST_F(BarSkin, Panel_TakesTheFaceColourAndGivesItBack) {
    auto* panel = Add<TPanel>(10, 10, 120, 80);
    panel->SetColor(clYellow);
    TSkinBox* skin = SkinOf<TSkinBox>(panel, true);
    EXPECT_EQ(panel->Color(), data->Colours.ButtonFace);
    const Capture c = Painted(panel->Handle());
    EXPECT_TRUE(PixelIs(c, 60, 40, Rgb(data->Colours.ButtonFace)));
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_SKINQUERY, 0, 0), 0) << "the panel skin hooks no message";
    skin->Unskin();
    EXPECT_EQ(panel->Color(), clYellow);
}

// ---- track bar

class TrackBarSkin : public BarSkin {
protected:
    TTrackBar* MakeBar(TTrackBarOrientation orientation) {
        auto* bar = orientation == trHorizontal ? Add<TTrackBar>(10, 10, 220, 40) : Add<TTrackBar>(10, 10, 40, 220);
        bar->SetOrientation(orientation);
        bar->SetRange(0, 10);
        bar->SetPosition(0);
        return bar;
    }
    RECT Thumb(HWND w) {
        RECT r{};
        SendMessageW(w, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    RECT Channel(HWND w, bool vertical) {
        RECT r{};
        SendMessageW(w, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
        return barskin::UprightChannel(r, vertical);
    }
};

TEST_F(TrackBarSkin, Horizontal_ThumbAndChannelFromTheSkin) {
    TTrackBar* bar = MakeBar(trHorizontal);
    SkinOf<TSkinTrackBar>(bar);
    const Capture c = Painted(bar->Handle());
    const RECT t = Thumb(bar->Handle());
    EXPECT_TRUE(PixelIs(c, (t.left + t.right) / 2, (t.top + t.bottom) / 2, FlatRef("Trackbar.ThumbHorz", 2)))
        << "thumb " << Str(t);
    const RECT ch = Channel(bar->Handle(), false);
    EXPECT_TRUE(PixelIs(c, ch.right - 10, (ch.top + ch.bottom) / 2, FlatRef("Track", 1))) << "channel " << Str(ch);
}

TEST_F(TrackBarSkin, Vertical_ThumbAndChannelFromTheSkin) {
    TTrackBar* bar = MakeBar(trVertical);
    ASSERT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & TBS_VERT);
    SkinOf<TSkinTrackBar>(bar);
    const Capture c = Painted(bar->Handle());
    const RECT t = Thumb(bar->Handle());
    EXPECT_TRUE(PixelIs(c, (t.left + t.right) / 2, (t.top + t.bottom) / 2, FlatRef("Trackbar.ThumbVert", 2)))
        << "thumb " << Str(t);
    const RECT ch = Channel(bar->Handle(), true);
    EXPECT_GT(ch.bottom - ch.top, ch.right - ch.left) << Str(ch);
    EXPECT_TRUE(PixelIs(c, (ch.left + ch.right) / 2, ch.bottom - 10, FlatRef("TRACKVERT", 1))) << "channel " << Str(ch);
}

TEST_F(TrackBarSkin, CustomDrawArrivesAsReflectedNotify) {
    TTrackBar* bar = MakeBar(trHorizontal);
    SkinOf<TSkinTrackBar>(bar);
    struct Seen { DWORD stage; DWORD_PTR item; LRESULT result; };
    std::vector<Seen> seen;
    {
        // Above the skin: sees what the skin answered.
        TWindowProcHook spy(*bar, [&](TMessage& m, const TWndMethod& previous) {
            previous(m);
            if (m.Msg != CN_NOTIFY || m.LParam == kSkinMarker) return;
            const auto* cd = reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam);
            if (cd->hdr.code == static_cast<UINT>(NM_CUSTOMDRAW))
                seen.push_back({cd->dwDrawStage, cd->dwItemSpec, m.Result});
        });
        Painted(bar->Handle());
    }
    auto find = [&](DWORD stage, DWORD_PTR item) -> const Seen* {
        for (const Seen& s : seen)
            if (s.stage == stage && (stage == CDDS_PREPAINT || s.item == item)) return &s;
        return nullptr;
    };
    const Seen* pre = find(CDDS_PREPAINT, 0);
    ASSERT_NE(pre, nullptr) << "the notices reach the bar as CN_NOTIFY";
    EXPECT_EQ(pre->result, CDRF_NOTIFYITEMDRAW);
    const Seen* thumb = find(CDDS_ITEMPREPAINT, TBCD_THUMB);
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ(thumb->result, CDRF_SKIPDEFAULT);
    const Seen* channel = find(CDDS_ITEMPREPAINT, TBCD_CHANNEL);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->result, CDRF_SKIPDEFAULT);
    // The form skin's notice of the same number carries the marker, not a notice.
    EXPECT_EQ(bar->Perform(CN_SKINNOTIFY, 0, kSkinMarker), 0);
}

TEST_F(TrackBarSkin, UpdateSkinLeavesFocusAndActivationAlone) {
    TTrackBar* bar = MakeBar(trHorizontal);
    TSkinTrackBar* skin = SkinOf<TSkinTrackBar>(bar);
    form->Show();
    guitest::TestWindowOptions options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    guitest::TestWindow other(options);
    SetForegroundWindow(other.Handle());
    SetActiveWindow(other.Handle());
    SetFocus(other.Handle());
    ASSERT_TRUE(guitest::PumpUntil([&] { return GetActiveWindow() == other.Handle(); }));
    skin->UpdateSkin();
    guitest::PumpMessages();
    EXPECT_EQ(GetActiveWindow(), other.Handle());
    EXPECT_EQ(GetFocus(), other.Handle());
}

// ---- up-down

class UpDownSkin : public BarSkin {
protected:
    // Pixels just inside a button's corner and at its centre (the glyph).
    static constexpr int kW = 20, kH = 40;
};

TEST_F(UpDownSkin, VerticalButtonsAndGlyphsPerState) {
    auto* updown = Add<TUpDown>(10, 10, kW, kH);
    SkinOf<TSkinUpDown>(updown);
    Capture c = Painted(updown->Handle());
    EXPECT_TRUE(PixelIs(c, 1, 1, FlatRef("UpDown.Vert", "Image", 1)));
    EXPECT_TRUE(PixelIs(c, 1, kH - 2, FlatRef("UpDown.Vert", "Image", 5)));
    EXPECT_TRUE(PixelIs(c, kW / 2, kH / 4, FlatRef("UpDown.Vert", "GlyphImage", 1)));
    EXPECT_TRUE(PixelIs(c, kW / 2, kH * 3 / 4, FlatRef("UpDown.Vert", "GlyphImage", 5)));

    updown->SetEnabled(false);
    ASSERT_TRUE(GetWindowLongW(updown->Handle(), GWL_STYLE) & WS_DISABLED);
    c = Painted(updown->Handle());
    EXPECT_TRUE(PixelIs(c, 1, 1, FlatRef("UpDown.Vert", "Image", 3))) << "disabled";
    EXPECT_TRUE(PixelIs(c, 1, kH - 2, FlatRef("UpDown.Vert", "Image", 7))) << "disabled";
}

TEST_F(UpDownSkin, PressedLowerHalfShowsCellSix) {
    auto* updown = Add<TUpDown>(10, 10, kW, kH);
    TSkinUpDown* skin = SkinOf<TSkinUpDown>(updown);
    POINT lower{kW / 2, kH * 3 / 4};
    ClientToScreen(updown->Handle(), &lower);
    SetCursorPos(lower.x, lower.y);
    ASSERT_TRUE(guitest::PumpUntil([&] {
        POINT p{};
        GetCursorPos(&p);
        return p.x == lower.x && p.y == lower.y;
    })) << "the pointer could not be placed";
    skin->MouseState |= msPressed;
    const Capture c = Painted(updown->Handle());
    skin->MouseState = 0;
    EXPECT_TRUE(PixelIs(c, 1, kH - 2, FlatRef("UpDown.Vert", "Image", 6)));
    EXPECT_TRUE(PixelIs(c, 1, 1, FlatRef("UpDown.Vert", "Image", 1)));
}

TEST_F(UpDownSkin, RawHorizontalWindow_ButtonsSideBySideAndWhiteBackground) {
    HWND raw = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_HORZ, 10, 60, kH, kW,
                               form->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    guitest::OwnedWindow owned(raw);
    std::unique_ptr<TSkinUpDown> skin(new TSkinUpDown(nullptr));
    skin->AttachWindow(raw, data.get(), formSkin, nullptr);
    const Capture c = Painted(raw);
    EXPECT_TRUE(PixelIs(c, 1, 1, FlatRef("UpDown.Horz", "Image", 1)));
    EXPECT_TRUE(PixelIs(c, kH - 2, 1, FlatRef("UpDown.Horz", "Image", 5)));

    Capture erased(kH, kW);
    EXPECT_EQ(SendMessageW(raw, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Dc()), 0), 1);
    EXPECT_TRUE(PixelIs(erased, 5, 5, RGB(255, 255, 255)));
    skin.reset();
}

TEST_F(UpDownSkin, WithoutSectionFlatButtonsInSkinColours) {
    TSkinData plain(nullptr);
    skintest::FlatSkinOptions options;
    options.omitSections = {"UpDown.Vert", "UpDown.Horz"};
    ASSERT_TRUE(skindata::LoadInto(plain, skintest::MakeFlatTestSkin(options)));
    auto* updown = Add<TUpDown>(10, 10, kW, kH);
    SkinOf<TSkinUpDown>(updown, false, &plain);
    const Capture c = Painted(updown->Handle());
    EXPECT_TRUE(PixelIs(c, 0, 0, Rgb(plain.Colours.ButtonDkShadow))) << "outline";
    EXPECT_TRUE(PixelIs(c, 2, 2, Rgb(plain.Colours.ButtonFace))) << "face";
    EXPECT_TRUE(PixelIs(c, 2, kH - 3, Rgb(plain.Colours.ButtonFace))) << "face";
}

// ---- every bar skin: no GDI object left behind by painting

TEST_F(BarSkin, RepeatedPaintingLeavesNoGdiObject) {
    auto* progress = Add<TProgressBar>(10, 10, 200, 20);
    progress->SetPosition(40);
    auto* status = Add<TStatusBar>(0, 0, 400, 24);
    status->Panels().Add()->SetText("a");
    status->Panels().Add()->SetText("b");
    auto* box = Add<TGroupBox>(10, 40, 150, 80);
    auto* track = Add<TTrackBar>(10, 130, 200, 40);
    auto* updown = Add<TUpDown>(250, 10, 20, 40);
    SkinOf<TSkinProgress>(progress);
    SkinOf<TSkinStatusBar>(status);
    SkinOf<TSkinGroupBox>(box, true);
    SkinOf<TSkinTrackBar>(track);
    SkinOf<TSkinUpDown>(updown);
    const HWND windows[] = {progress->Handle(), status->Handle(), box->Handle(), track->Handle(), updown->Handle()};
    for (HWND w : windows) Painted(w);  // first-use objects
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    for (int i = 0; i < 30; ++i)
        for (HWND w : windows) Painted(w);
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    if (!before.gdiKnown || !after.gdiKnown) GTEST_SKIP() << "no GDI object count here: " << after.source;
    EXPECT_EQ(after.gdi, before.gdi) << after.source;
}

}  // namespace
