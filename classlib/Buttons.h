// Bit buttons: push buttons that draw themselves (owner-drawn) with a glyph beside their
// caption; speed buttons: the same face on a control without a window, which can stay
// down, alone or as one of a group.  The glyph is a strip of up to four equal cells:
// normal, disabled, pressed and down; a glyph with one cell is drawn embossed when the
// button is disabled.  The pixel at the glyph's bottom-left corner is its transparent
// colour.  The speed button lives in ButtonsSpeed.cpp.
//
// Types: TButtonLayout, TBitBtnKind, TButtonLayoutResult, TBitBtn, TSpeedButton;
//        CalcButtonLayout, DrawButtonGlyph.
#pragma once
#include <windows.h>

#include <memory>

#include "Bitmap.h"
#include "GraphicControls.h"
#include "StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const TEnumNames ButtonLayoutNames;

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
extern const TEnumNames BitBtnKindNames;

// Where glyph and caption go on a button face.
struct TButtonLayoutResult {
    POINT glyphPos;  // top-left of the glyph cell
    RECT textRect;   // the caption's rectangle, of the measured text size
};

// Places a glyph of size glyph and a caption of size text in client (client coordinates).
// Margin is the space between the edge and the glyph, spacing the space between glyph and
// text; -1 centres: margin -1 with spacing -1 spreads the free space in three equal
// parts, margin -1 alone centres glyph and text together, spacing -1 alone centres the
// text in what the glyph leaves.  Without a glyph or without text the spacing is 0.
TButtonLayoutResult CalcButtonLayout(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                     int spacing);

// Draws cell (1-based) of a glyph strip of numGlyphs cells with its top-left at at;
// embossed draws the cell's shape engraved (the disabled look of a one-cell glyph).
void DrawButtonGlyph(HDC dc, TBitmap& glyph, int numGlyphs, POINT at, int cell, bool embossed);

class TBitBtn : public TButton {
    CLASS_INFO(TBitBtn)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    TBitmap& Glyph() { return *glyph_; }
    // Copies the picture; a strip whose width is 2 to 4 times its height is taken as
    // that many cells.
    void SetGlyph(const TBitmap& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout l);
    int Margin() const { return margin_; }
    void SetMargin(int m);
    int Spacing() const { return spacing_; }
    void SetSpacing(int s);
    // A standard kind sets the caption (unless one was stored), the modal result and the
    // default or cancel role; bkClose closes the form when clicked.
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind k);

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void SetButtonStyle(bool asDefault) override;
    // Draws the whole button on dc: frame, face, glyph, caption, focus.
    void drawButton(HDC dc, const RECT& rect, UINT state);

private:
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    TBitBtnKind kind_ = bkCustom;
    bool showAsDefault_ = false;
};

// A button without a window.  With a GroupIndex other than 0 it stays down when clicked
// and the other speed buttons of its parent with the same GroupIndex come up; a down
// button of a group comes up only when AllowAllUp (which the whole group shares).  A
// flat button shows its edge only under the pointer or when pressed or down.  OnClick
// fires when the left button is released over the button it was pressed on.
class TSpeedButton : public TGraphicControl {
    CLASS_INFO(TSpeedButton)
public:
    explicit TSpeedButton(TComponent* owner);

    TBitmap& Glyph() { return *glyph_; }
    // Copies the picture; a strip whose width is 2 to 4 times its height is taken as
    // that many cells.
    void SetGlyph(const TBitmap& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout l);
    int Margin() const { return margin_; }
    void SetMargin(int m);
    int Spacing() const { return spacing_; }
    void SetSpacing(int s);
    // The pointer is over the button (as its parent reported).
    bool MouseInControl() const { return mouseInControl_; }

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

protected:
    // How the face looks: up, pressed while the mouse button is held, down (stays).
    enum class Face { Up, Pressed, Down };
    void Paint() override;
    Face face() const;
    // Tells the other buttons of the group that this one went down (or that the group's
    // AllowAllUp changed).
    void updateExclusive();
    void onButtonPressed(TSpeedButton& sender);

private:
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    bool flat_ = false;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool dragging_ = false;      // the left button went down on this button and is held
    bool pressedLook_ = false;   // while dragging: the pointer is over the button
    bool mouseInControl_ = false;
};
