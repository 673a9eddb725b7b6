// The media-player skin on a class-library media player under Wine: the panel covers the
// player and follows it, draws the skin's button faces in their cells, hit-tests at the
// button boundaries, hands a press on but a release only over the pressed button, and
// hides (holding no pointer to it) when the player is freed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Forms.h"
#include "MPlayer.h"
#include "WinSubClassMP.h"
#include "skin_form_support.h"

namespace {

using guitest::Capture;
using skinform::FlatRef;

TButtonSet Bits(std::initializer_list<TMPBtnType> buttons) {
    TButtonSet s = 0;
    for (TMPBtnType b : buttons) s |= TButtonSet{1} << b;
    return s;
}

// ---- pure parts -----------------------------------------------------------------------

TEST(MPButtonLayout, HitTestingAtTheBoundaries) {
    const TButtonSet seven = Bits({btPlay, btPause, btStop, btNext, btPrev, btStep, btBack});
    struct Row { const char* name; TButtonSet visible; int width; int x; int expected; };
    const Row rows[] = {
        {"first pixel", seven, 100, 0, btPlay},
        {"boundary 14 belongs to the left button", seven, 100, 14, btPlay},
        {"one past the boundary", seven, 100, 15, btPause},
        {"boundary 28", seven, 100, 28, btPause},
        {"last button's right edge", seven, 100, 98, btBack},
        {"the 2 pixels left over", seven, 100, 99, kMPNoButton},
        {"left of the panel", seven, 100, -1, kMPNoButton},
        {"hidden buttons are skipped", Bits({btStop, btEject}), 60, 31, btEject},
        {"hidden first: boundary to the left", Bits({btStop, btEject}), 60, 30, btStop},
        {"no visible button", 0, 100, 10, kMPNoButton},
    };
    for (const Row& row : rows) {
        const TMPButtonLayout layout = LayoutMPButtons(row.visible, row.width);
        EXPECT_EQ(layout.ButtonAt(row.visible, row.x), row.expected) << row.name;
    }
    EXPECT_EQ(LayoutMPButtons(seven, 100).ButtonWidth, 14);
    EXPECT_EQ(LayoutMPButtons(seven, 100).VisibleCount, 7);
}

TEST(MPButtonLayout, SetsReadFromTheirText) {
    struct Row { const char* name; const char* text; TButtonSet expected; };
    const Row rows[] = {
        {"two", "[btPlay,btStop]", Bits({btPlay, btStop})},
        {"spaces", "[btPlay, btEject]", Bits({btPlay, btEject})},
        {"empty set", "[]", 0},
        {"missing property", "", 0},
        {"unknown names are left out", "[bogus,btPause]", Bits({btPause})},
        {"a name is never matched inside another", "[btPlayer]", 0},
        {"all", "[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]", kAllMPButtons},
    };
    for (const Row& row : rows) EXPECT_EQ(MPButtonSetFromText(row.text), row.expected) << row.name;
}

TEST(MPButtonLayout, GlyphNames) {
    EXPECT_EQ(MPGlyphName(btPlay, gsEnabled), "EN_MPPLAY");
    EXPECT_EQ(MPGlyphName(btRecord, gsDisabled), "DI_MPRECORD");
    EXPECT_EQ(MPGlyphName(btEject, gsColoured), "CL_MPEJECT");
}

// ---- on a form ------------------------------------------------------------------------

class SkinMP : public skinform::SkinFormTest {
protected:
    void SetUp() override {
        SkinFormTest::SetUp();
        form = new TForm(Application);
        form->SetBounds(30, 30, 420, 200);
        player = new TMediaPlayer(form);
        player->SetParent(form);
        player->SetBounds(10, 20, 270, 30);  // nine buttons of 30 pixels
        form->Handle();
        formSkin = SkinAndApply(form->Handle());
        ASSERT_NE(formSkin, nullptr);
        skin = SkinOf(player);
        ASSERT_NE(skin, nullptr);
        ASSERT_NE(skin->Overlay, nullptr);
    }
    void TearDown() override {
        delete form;
        SkinFormTest::TearDown();
    }

    // The player's skin: the dispatch's when it gave one, else one attached here.
    TSkinMP* SkinOf(TMediaPlayer* p) {
        for (int i = 0; i < p->ComponentCount(); ++i)
            if (auto* s = dynamic_cast<TSkinMP*>(p->Components(i))) return s;
        auto* s = new TSkinMP(p);
        s->AttachControl(formSkin, data.get(), false, nullptr);
        return s;
    }

    HWND OverlayWindow() { return skin->Overlay->Handle(); }
    void Press(int x) { SendMessageW(OverlayWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10)); }
    void Release(int x) { SendMessageW(OverlayWindow(), WM_LBUTTONUP, 0, MAKELPARAM(x, 10)); }

    TForm* form = nullptr;
    TMediaPlayer* player = nullptr;
    TWinSkinForm* formSkin = nullptr;
    TSkinMP* skin = nullptr;
};

TEST_F(SkinMP, PanelCoversThePlayerAndFollowsIt) {
    TWMediaPlayer* overlay = skin->Overlay;
    EXPECT_EQ(overlay->Owner(), formSkin) << "the form skin owns the panel";
    EXPECT_EQ(overlay->Parent(), player->Parent());
    EXPECT_EQ(overlay->Tag(), data->DisableTag);
    EXPECT_TRUE(guitest::SameRect(guitest::RectInParent(OverlayWindow()), guitest::RectInParent(player->Handle())));
    bool playerBelow = false;
    for (HWND w = GetWindow(OverlayWindow(), GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        playerBelow = playerBelow || w == player->Handle();
    EXPECT_TRUE(playerBelow) << "the panel lies above the player";

    player->SetBounds(40, 60, 180, 24);
    EXPECT_TRUE(guitest::SameRect(guitest::RectInParent(OverlayWindow()), RECT{40, 60, 220, 84}))
        << guitest::ToString(guitest::RectInParent(OverlayWindow()));
    player->Hide();
    EXPECT_FALSE(overlay->Visible());
    player->Show();
    EXPECT_TRUE(overlay->Visible());
}

TEST_F(SkinMP, FacesAreTheSkinsButtonCells) {
    player->SetEnabledButtons(kAllMPButtons & ~Bits({btStop}));
    const Capture c = guitest::CaptureWindow(OverlayWindow(), false);
    ASSERT_TRUE(c.Valid());
    // Left of each glyph, half-way down: the face.
    EXPECT_TRUE(guitest::PixelIs(c, 3, 15, FlatRef("Buttons", "Bitmap", 1))) << "play, enabled";
    EXPECT_TRUE(guitest::PixelIs(c, 63, 15, FlatRef("Buttons", "Bitmap", 3))) << "stop, disabled";
    Press(35);  // pause, held
    const Capture held = guitest::CaptureWindow(OverlayWindow(), false);
    EXPECT_TRUE(guitest::PixelIs(held, 33, 15, FlatRef("Buttons", "Bitmap", 2))) << "pause, pressed";
    Release(35);
}

TEST_F(SkinMP, NoVisibleButtonShowsTheButtonFaceColour) {
    player->SetVisibleButtons(0);
    const Capture c = guitest::CaptureWindow(OverlayWindow(), false);
    ASSERT_TRUE(c.Valid());
    EXPECT_TRUE(guitest::PixelIs(c, 135, 15, ColorToRGB(data->Colours.ButtonFace)));
}

TEST_F(SkinMP, GlyphsAreDrawnNotLookedUp) {
    // No program resource holds them: every glyph is drawn, on the transparent olive.
    for (const auto& button : skin->Overlay->Buttons)
        for (const TBitmap& glyph : button.Glyphs) {
            ASSERT_FALSE(glyph.Empty());
            EXPECT_EQ(glyph.PixelColor(0, 0), kMPGlyphKey);
        }
    const Capture c = guitest::CaptureWindow(OverlayWindow(), false);
    EXPECT_TRUE(guitest::PixelIs(c, 15, 15, RGB(0, 128, 0))) << "the coloured play glyph in the first button";
}

TEST_F(SkinMP, ReleaseOverAnotherButtonForwardsOnlyThePress) {
    struct Row { const char* name; int down, up; int clicks; int pressedAfter; };
    const Row rows[] = {
        {"play", 5, 5, 1, -1},
        {"boundary 30 belongs to play", 30, 30, 1, -1},
        {"pressed on play, released on pause", 5, 45, 0, btPlay},
        {"pressed on eject, released right of it", 250, 269, 1, -1},
    };
    for (const Row& row : rows) {
        int clicks = 0;
        player->OnClick = [&](TObject*, TMPBtnType, bool& doDefault) {
            ++clicks;
            doDefault = false;
        };
        Press(row.down);
        EXPECT_NE(player->PressedButton(), -1) << row.name << ": the press reached the player";
        EXPECT_TRUE(skin->Overlay->MouseDown) << row.name;
        EXPECT_NE(GetCapture(), player->Handle()) << row.name << ": the player's capture is let go";
        Release(row.up);
        EXPECT_EQ(clicks, row.clicks) << row.name;
        EXPECT_EQ(player->PressedButton(), row.pressedAfter) << row.name;
        EXPECT_FALSE(skin->Overlay->MouseDown) << row.name;
        // Let the player forget a press whose release never reached it.
        SendMessageW(player->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-5, 5));
    }
}

TEST_F(SkinMP, FreeingThePlayerHidesThePanel) {
    TWMediaPlayer* overlay = skin->Overlay;
    HWND panel = OverlayWindow();
    // The form stays hidden: the panel's own visibility is its style bit.
    ASSERT_TRUE(GetWindowLongW(panel, GWL_STYLE) & WS_VISIBLE);
    delete player;
    player = nullptr;
    skin = nullptr;  // freed with its host
    EXPECT_EQ(overlay->Player, nullptr);
    EXPECT_FALSE(overlay->Visible());
    EXPECT_FALSE(GetWindowLongW(panel, GWL_STYLE) & WS_VISIBLE);
    // Painting and clicks after that touch no freed player.
    RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    const Capture c = guitest::CaptureWindow(panel, false);
    EXPECT_TRUE(c.Valid());
}

TEST_F(SkinMP, AttachAndUnskinLeakNoGdiObjects) {
    auto cycle = [&] {
        skin->Unskin();
        skin->AttachControl(formSkin, data.get(), false, nullptr);  // a second attach does nothing
        auto* again = new TSkinMP(player);
        again->AttachControl(formSkin, data.get(), false, nullptr);
        guitest::CaptureWindow(again->Overlay->Handle(), false);
        again->Unskin();
        delete again;
    };
    cycle();
    const guitest::GuiObjectCounts before = guitest::CountGuiObjects();
    if (!before.gdiKnown) GTEST_SKIP() << "no GDI object count here: " << before.source;
    for (int i = 0; i < 5; ++i) cycle();
    const guitest::GuiObjectCounts after = guitest::CountGuiObjects();
    EXPECT_EQ(after.gdi, before.gdi) << after.source;
}

TEST_F(SkinMP, UnskinFreesThePanel) {
    HWND panel = OverlayWindow();
    skin->Unskin();
    EXPECT_EQ(skin->Overlay, nullptr);
    EXPECT_FALSE(IsWindow(panel));
}

}  // namespace
