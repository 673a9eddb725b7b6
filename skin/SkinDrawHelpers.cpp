// The shared free drawing helpers (DrawCenteredText).
#include "SkinDrawHelpers.h"

#include "SkinPrimitives.h"

namespace {

UINT alignmentFlag(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

}  // namespace

RECT CenteredTextRect(const RECT& rect, int w, int h) {
    const int dx = (rect.right - rect.left - w) / 2;
    const int dy = (rect.bottom - rect.top - h) / 2;
    return RECT{rect.left + dx, rect.top + dy, rect.left + dx + w, rect.top + dy + h};
}

void DrawCenteredText(TCanvas& canvas, const RECT& rect, const std::wstring& text, TAlignment alignment, bool enabled) {
    if (!canvas.Handle()) return;
    const UINT f = alignmentFlag(alignment);
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetStyle(0);
    if (!enabled) canvas.Font().SetColor(clBtnShadow);
    canvas.TextExtent(" ");  // selects font, colour and the transparent background
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    RECT m = rect;
    SkinDrawText(dc, text, m, f | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    RECT out = CenteredTextRect(rect, m.right - m.left, m.bottom - m.top);
    SkinDrawText(dc, text, out, f | DT_SINGLELINE | DT_EXPANDTABS);
}
