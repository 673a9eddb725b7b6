// Push-button skins: plain push buttons, buttons with a glyph (a bitmap strip, an image
// list or a named picture property), drop-down buttons with an arrow, and speed buttons
// (controls without a window, painted on their parent's DC).  Each draws the whole button
// (background, face cell of the skin's [Buttons] part, glyph, caption, focus rectangle)
// into its own memory bitmap and copies that in one BitBlt.  The pure parts (state to
// cell, caption colour, glyph layout) are free functions so that tests reach them without
// a window.  Check boxes and radio buttons are in WinSubClassChecks.h.
//
// The class library's glyph button (TBitBtn) is a TButton, so the dispatch's push-button
// row asks the factory for a TSkinClass::Button skin; the factory answers with a
// TSkinBitButton whenever the host is a TBitBtn (NewPushButtonSkin), so that its glyph is
// still drawn.  Every other push button gets a TSkinButton.
//
// Types: TButtonFaceKind, TButtonFaceState, TGlyphPlacement,
//        TSkinButton, TSkinBitButton, TSkinMenuButton, TSkinSpeedButton;
//        ButtonFaceCell, GlyphCellOfFace, ButtonCaptionColour, LayoutOfName, GlyphTextBounds,
//        CalcGlyphLayout, NewPushButtonSkin.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Buttons.h"
#include "WinSubClass.h"

class TBitmap;
class TDataSkinButton;

// ---- pure state arithmetic ---------------------------------------------------------

// Which face table a painter uses.
enum class TButtonFaceKind { Push, Menu, Speed };

struct TButtonFaceState {
    bool disabled = false;
    bool pressed = false;  // the pressed bit of MouseState
    bool hot = false;      // the hot bit of MouseState
    bool focused = false;  // the window has the keyboard focus (not read for speed buttons)
    bool down = false;     // a speed button that stays down
};

// The [Buttons] face cell (1-based, of 5): 1 normal, 2 pressed, 3 disabled, 4 hot,
// 5 focused (push), with each kind's priority.
int ButtonFaceCell(TButtonFaceKind kind, const TButtonFaceState& state);
// Glyph cell drawn with a face: pressed face 2 draws glyph cell 3, disabled face 3 draws
// glyph cell 2, any other draws 1; a speed button that is down draws 4.
int GlyphCellOfFace(int face, bool down = false);
// The caption colour of a face: the part's NormalColour2, MouseOverColour2 or
// PressedColour2 for faces 1, 4 and 2 when the skin gives that key, clBtnShadow when
// disabled, otherwise `base` (the host's font colour, or the skin's ButtonText).
TColor ButtonCaptionColour(const TDataSkinButton* part, int face, bool disabled, TColor base);
// "blGlyphRight" and the others in any letter case; anything else is glyph left.
TButtonLayout LayoutOfName(const std::string& name);

struct TGlyphPlacement {
    POINT glyph{0, 0};  // top-left of the glyph
    RECT text{};        // the caption's rectangle, of the measured size
    UINT flags = 0;     // DT_WORDBREAK plus DT_RIGHT or DT_CENTER by layout
};

// Where the caption is measured: the button (W x H) less 2 on each side, less the glyph
// and 2 more along the layout's axis.
RECT GlyphTextBounds(int width, int height, SIZE glyph, TButtonLayout layout);
// Glyph and caption placed on a W x H button by the class library's CalcButtonLayout;
// margin and spacing -1 mean automatic; centre: the host's Alignment reads taCenter (bit
// buttons and pictures only; a speed button has no Alignment).
TGlyphPlacement CalcGlyphLayout(int width, int height, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                int spacing, bool centre);

// ---- the skins -----------------------------------------------------------------------

class TSkinButton : public TSkinControl {
    CLASS_INFO(TSkinButton)
public:
    explicit TSkinButton(TComponent* owner);
    ~TSkinButton() override;

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    // The [Buttons] part when it has an image to draw from, else nullptr.
    TDataSkinButton* ButtonPart() const;
    // Draws Caption centred (flags exactly DT_CENTER) or stretched across r, then the
    // focus rectangle; the first "||" of Caption becomes a line break for good.
    void DrawCaption(HDC dc, const RECT& r, UINT flags);

    std::unique_ptr<TBitmap> FaceBitmap;
    bool TransparentBack = false;

protected:
    // Shared start of every painter: refreshes Focused, Enabled and Caption.
    void readState();
    TButtonFaceState faceState() const;
    // FaceBitmap sized to rect, its background painted; its DC (nullptr when it failed).
    HDC prepareFace(const RECT& rect);
    // The window's own font, or the stock system font when it answers none.
    HFONT windowFont() const;
    bool focusRectWanted() const;
    // Produces the click of a press that the skin consumed.
    void click();
};

class TSkinBitButton : public TSkinButton {
    CLASS_INFO(TSkinBitButton)
public:
    using TSkinButton::TSkinButton;
    void Paint(HDC dc, const RECT& rect) override;

    // A picture property of the host drawn instead of a glyph ("PngImage"); empty for
    // glyph buttons.
    std::string GraphicProperty;

protected:
    // The named picture instead of the glyph cells.
    void PaintGraphic(HDC dc, const RECT& rect);
};

class TSkinMenuButton : public TSkinButton {
    CLASS_INFO(TSkinMenuButton)
public:
    using TSkinButton::TSkinButton;
    void Paint(HDC dc, const RECT& rect) override;
};

// A speed button (a control without a window).  Its messages come from the parent that
// paints it and hands it the mouse; the skin replaces the control's WindowProc itself
// (there is no window to subclass), so its messages never take the base's window path.
class TSkinSpeedButton : public TSkinBitButton {
    CLASS_INFO(TSkinSpeedButton)
public:
    explicit TSkinSpeedButton(TComponent* owner);
    ~TSkinSpeedButton() override;

    bool AttachGraphic(TWinSkinForm* formSkin, TSkinData* skinData, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintWindow(HDC dc) override;
    // Draws the whole button on dc (the control's client coordinates) at rect.
    void PaintGraphic(HDC dc, const RECT& rect);

    bool Painting = false;

private:
    void hostWndProc(TMessage& message, const TWndMethod& previous);
    void callHost(TMessage& message);
    void paintHostCanvas(TMessage& message);
    void releaseHost();

    std::unique_ptr<TWindowProcHook> graphicHook_;
    const TWndMethod* previous_ = nullptr;  // valid while a message of the host is handled
    // Expires with this object: a click handler may free the control, and the skin with it.
    std::shared_ptr<int> lifeToken_ = std::make_shared<int>(0);
};

// The skin the factory makes for a push-button row: a TSkinBitButton for the class
// library's glyph button, a TSkinButton for any other host or raw window.
TSkinControl* NewPushButtonSkin(TComponent* owner);
// A glyph-button skin; variant 1: its picture is the host's "PngImage" property.
TSkinControl* NewBitButtonSkin(TComponent* owner, int variant);
