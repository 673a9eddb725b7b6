// The glyph-button skin: the glyph layout shared with speed buttons and named pictures
// (the class library's, with the skin's text flags), the glyph cell drawn from a strip
// (grey for the disabled cell), the image-list glyph, and the painter of a host's named
// picture property ("PngImage").
#include <algorithm>

#include "Bitmap.h"
#include "Handles.h"
#include "ImgList.h"
#include "ImgUtil.h"
#include "SkinPrimitives.h"
#include "Texts.h"
#include "WinSkinData.h"
#include "WinSubClassButtons.h"
#include "WinSubClassButtons_impl.h"

using namespace buttonskin;
using texts::LowerCase;

namespace {

bool acrossLayout(TButtonLayout layout) { return layout == blGlyphLeft || layout == blGlyphRight; }

bool isCentreAlignment(TObject* host) { return LowerCase(GetEnumPropByName(host, "Alignment")) == "tacenter"; }

}  // namespace

// ---- layout ------------------------------------------------------------------------

RECT GlyphTextBounds(int width, int height, SIZE glyph, TButtonLayout layout) {
    RECT r{0, 0, width, height};
    InflateRect(&r, -2, -2);
    if (acrossLayout(layout)) r.right -= glyph.cx + 2;
    else r.bottom -= glyph.cy + 2;
    return r;
}

TGlyphPlacement CalcGlyphLayout(int W, int H, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                                bool centre) {
    // Placed as the class library places an unskinned button's glyph and caption; the
    // host's Alignment taCenter centres them together as an automatic margin does.
    const TButtonLayoutResult place = CalcButtonLayout(RECT{0, 0, W, H}, glyph, text, layout, centre ? -1 : margin,
                                                       spacing);
    TGlyphPlacement p;
    p.glyph = place.glyphPos;
    p.text = place.textRect;
    p.flags = DT_WORDBREAK;
    if (layout == blGlyphRight) p.flags |= DT_RIGHT;
    else if (!acrossLayout(layout)) p.flags |= DT_CENTER;
    return p;
}

namespace buttonskin {

void DrawGlyph(HDC dc, POINT at, int numGlyphs, int cell, TBitmap& glyph) {
    if (glyph.Empty()) return;
    numGlyphs = std::max(numGlyphs, 1);  // a stored NumGlyphs of 0 would divide by zero
    const int cw = glyph.Width() / numGlyphs, ch = glyph.Height();
    if (cw <= 0 || ch <= 0) return;
    const int sx = cell > numGlyphs || cell < 1 ? 0 : cw * (cell - 1);
    TBitmap part;
    part.SetPixelFormat(pf24bit);
    part.SetSize(cw, ch);
    HDC src = glyph.Canvas().Handle();
    HDC tmp = part.Empty() ? nullptr : part.Canvas().Handle();
    if (!src || !tmp) return;
    BitBlt(tmp, 0, 0, cw, ch, src, sx, 0, SRCCOPY);
    if (cell == 2) {
        part.FreeContext();
        GrayBitmap(part);
        tmp = part.Canvas().Handle();
        if (!tmp) return;
    }
    const COLORREF key = GetPixel(tmp, 0, ch - 1);
    TransparentBlt(dc, at.x, at.y, cw, ch, tmp, 0, 0, cw, ch, key);
}

SIZE MeasureCaption(HDC dc, const std::wstring& caption, const RECT& bounds) {
    if (caption.empty()) return SIZE{0, 0};
    RECT m = bounds;
    SkinDrawText(dc, caption, m, DT_WORDBREAK | DT_CALCRECT);
    return SIZE{m.right - m.left, m.bottom - m.top};
}

}  // namespace buttonskin

// ---- TSkinBitButton --------------------------------------------------------------------

const TClassInfo& TSkinBitButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinBitButton>("TSkinBitButton", &TSkinButton::StaticClassInfo(),
                                                                  [](TClassBuilder<TSkinBitButton>&) {});
    return info;
}

void TSkinBitButton::Paint(HDC dc, const RECT& rect) {
    TDataSkinButton* part = ButtonPart();
    if (!part || !dc) return;
    readState();
    if (!GraphicProperty.empty()) {
        PaintGraphic(dc, rect);
        return;
    }
    const int face = ButtonFaceCell(TButtonFaceKind::Push, faceState());
    HDC mem = prepareFace(rect);
    if (!mem) return;
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    const RECT r{0, 0, W, H};
    DrawSkinFace(mem, r, part->Frame, face, part);

    auto* font = static_cast<TFont*>(GetObjectPropByName(Host, "Font", TFont::StaticClassInfo()));
    auto* glyph = static_cast<TBitmap*>(GetObjectPropByName(Host, "Glyph", TBitmap::StaticClassInfo()));
    auto* images = static_cast<TImageList*>(GetObjectPropByName(Host, "Images", TImageList::StaticClassInfo()));
    const int numGlyphs = std::max(GetIntPropByName(Host, "NumGlyphs"), 1);  // missing (-1) or 0: one cell
    const int imageIndex = GetIntPropByName(Host, "ImageIndex");
    const int disabledIndex = GetIntPropByName(Host, "DisabledIndex");
    const int margin = GetIntPropByName(Host, "Margin");
    const int spacing = GetIntPropByName(Host, "Spacing");
    const TButtonLayout layout = LayoutOfName(GetEnumPropByName(Host, "Layout"));
    const bool centre = isCentreAlignment(Host);

    SIZE glyphSize{0, 0};
    if (glyph && !glyph->Empty()) glyphSize = SIZE{glyph->Width() / numGlyphs, glyph->Height()};
    else if (images && imageIndex != -1) glyphSize = SIZE{images->Width(), images->Height()};

    SelectGuard selected(mem, font ? font->Handle() : windowFont());
    Caption = ReplaceFirstBars(Caption);
    const SIZE text = MeasureCaption(mem, Caption, GlyphTextBounds(W, H, glyphSize, layout));
    const TGlyphPlacement place =
        CalcGlyphLayout(W, H, glyphSize, text, layout, margin, spacing, centre);

    if (glyph && !glyph->Empty()) {
        DrawGlyph(mem, place.glyph, numGlyphs, GlyphCellOfFace(face), *glyph);
    } else if (images && glyphSize.cx > 0) {
        const int index = Enabled ? imageIndex : (disabledIndex != -1 ? disabledIndex : imageIndex);
        if (index != -1) {
            TCanvas canvas;
            canvas.SetHandle(mem);
            images->Draw(canvas, place.glyph.x, place.glyph.y, index, Enabled);
            canvas.SetHandle(nullptr);
        }
    }

    const int oldMode = SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, ColorToRGB(ButtonCaptionColour(part, face, !Enabled,
                                                     font ? font->Color() : SkinData->Colours.ButtonText)));
    if (!Caption.empty()) {
        RECT tr = place.text;
        SkinDrawText(mem, Caption, tr, BiDiFlags(place.flags));
        if (focusRectWanted()) {
            RECT fr = place.text;
            InflateRect(&fr, 2, 2);
            DrawFocusRect(mem, &fr);
        }
    }
    SetBkMode(mem, oldMode);
    BitBlt(dc, rect.left, rect.top, W, H, mem, 0, 0, SRCCOPY);
}

void TSkinBitButton::PaintGraphic(HDC dc, const RECT& rect) {
    TDataSkinButton* part = ButtonPart();
    const int face = ButtonFaceCell(TButtonFaceKind::Push, faceState());
    HDC mem = prepareFace(rect);
    if (!mem || !part) return;
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    const RECT r{0, 0, W, H};
    DrawSkinFace(mem, r, part->Frame, face, part);

    TObject* object = GetObjectPropByName(Host, GraphicProperty, TPersistent::StaticClassInfo());
    auto* picture = dynamic_cast<TGraphic*>(object);
    auto* font = static_cast<TFont*>(GetObjectPropByName(Host, "Font", TFont::StaticClassInfo()));
    const int margin = GetIntPropByName(Host, "Margin");
    const int spacing = GetIntPropByName(Host, "Spacing");
    const TButtonLayout layout = LayoutOfName(GetEnumPropByName(Host, "Layout"));
    const bool centre = isCentreAlignment(Host);
    SIZE pictureSize{0, 0};
    if (picture && !picture->Empty()) pictureSize = SIZE{picture->Width(), picture->Height()};

    SelectGuard selected(mem, font ? font->Handle() : windowFont());
    Caption = ReplaceFirstBars(Caption);
    const SIZE text = MeasureCaption(mem, Caption, GlyphTextBounds(W, H, pictureSize, layout));
    const TGlyphPlacement place =
        CalcGlyphLayout(W, H, pictureSize, text, layout, margin, spacing, centre);
    if (pictureSize.cx > 0) {
        TCanvas canvas;
        canvas.SetHandle(mem);
        const RECT at{place.glyph.x, place.glyph.y, place.glyph.x + pictureSize.cx, place.glyph.y + pictureSize.cy};
        picture->Draw(canvas, at);
        canvas.SetHandle(nullptr);
    }
    const int oldMode = SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, ColorToRGB(ButtonCaptionColour(part, face, !Enabled,
                                                     font ? font->Color() : SkinData->Colours.ButtonText)));
    if (!Caption.empty()) {
        RECT tr = place.text;
        SkinDrawText(mem, Caption, tr, place.flags);
        if (focusRectWanted()) {
            RECT fr = place.text;
            InflateRect(&fr, 2, 2);
            DrawFocusRect(mem, &fr);
        }
    }
    SetBkMode(mem, oldMode);
    BitBlt(dc, rect.left, rect.top, W, H, mem, 0, 0, SRCCOPY);
}
