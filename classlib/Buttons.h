// Bit buttons: push buttons that draw themselves (owner-drawn) with a glyph beside their
// caption.  The glyph is a strip of up to four equal cells: normal, disabled, pressed and
// down; a glyph with one cell is drawn embossed when the button is disabled.  The pixel
// at the glyph's bottom-left corner is its transparent colour.
//
// Types: TButtonLayout, TBitBtnKind, TButtonLayoutResult, TBitBtn; CalcButtonLayout.
#pragma once
#include <windows.h>

#include <memory>

#include "Bitmap.h"
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
    void drawGlyph(HDC dc, POINT at, int cell, bool embossed);

private:
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    TBitBtnKind kind_ = bkCustom;
    bool showAsDefault_ = false;
};
