// The drawing helpers the control skins share: text in a rect, an icon followed by a
// text, one state cell of a skin part, one cell of a magenta-keyed strip, the
// right-to-left flag, the standard WM_PAINT and WM_ERASEBKGND handlers and the tiny arrow
// glyph.  Image work is done by SkinPrimitives; the centred text of the menu bar is in
// SkinDrawHelpers.
#include "WinSubClass.h"

#include <iterator>

#include "GraphicControls.h"
#include "Handles.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"

namespace {

constexpr UINT kImageTextFlags = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS;  // 0x8060

bool reversed(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Transparent background, clear brush, no font style; the canvas's font and colour go
// into its DC (the measuring call selects them).
HDC prepareText(TCanvas& canvas, bool enabled) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetStyle(0);
    if (!enabled) canvas.Font().SetColor(clBtnShadow);
    if (!canvas.Handle()) return nullptr;
    canvas.TextExtent(" ");
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    return dc;
}

bool rightToLeft(TObject* control) {
    return control && GetEnumPropByName(control, "BiDiMode") == "bdRightToLeft";
}

}  // namespace

UINT TSkinControl::BiDiFlags(UINT flags) const {
    if (rightToLeft(Host) || rightToLeft(GraphicHost)) flags |= DT_RTLREADING;
    return flags;
}

void TSkinControl::DrawSkinText(TCanvas& canvas, const RECT& rect, uint16_t flags, bool enabled,
                                const std::wstring& text) {
    const UINT f = flags | DT_EXPANDTABS;
    HDC dc = prepareText(canvas, enabled);
    if (!dc) return;
    RECT m = rect;
    SkinDrawText(dc, text, m, f | DT_CALCRECT | DT_NOCLIP);
    const int w = m.right - m.left, h = m.bottom - m.top;
    const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
    if (flags == DT_CENTER) {
        OffsetRect(&m, (rw - w) / 2, (rh - h) / 2 - 1);
    } else {
        // Any other flags leave the horizontal placement to DrawText over the full width.
        OffsetRect(&m, 0, (rh - h) / 2 - 1);
        m.left = rect.left;
        m.right = rect.right;
    }
    SkinDrawText(dc, text, m, BiDiFlags(f));
}

void TSkinControl::DrawImageText(TCanvas& canvas, const RECT& rect, int alignment, const std::wstring& text, int index,
                                 HIMAGELIST imageList) {
    if (!canvas.Handle()) return;
    HDC dc = canvas.Handle();
    const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
    int cx = 0, cy = 0;
    if (imageList) ImageList_GetIconSize(imageList, &cx, &cy);
    // The text is laid out beside the icon only when the rect has room for more than it;
    // the icon is drawn at the start either way.
    const bool iconRoom = imageList && index != -1 && rw > cx;
    const int layoutCx = iconRoom ? cx : 0;

    RECT t = rect;
    if (!text.empty()) {
        canvas.TextExtent(" ");
        SkinDrawText(dc, text, t, kImageTextFlags | DT_CALCRECT | DT_NOCLIP);
    } else {
        t.right = t.left;
    }
    const int tw = t.right - t.left, th = t.bottom - t.top;

    int x = 3;
    if (alignment == 1) x = (rw - layoutCx - tw) / 2;
    else if (alignment == 2) x = rw - layoutCx - tw - 2;
    if (x < 2) x = 1;

    if (imageList && index != -1)
        ImageList_Draw(imageList, index, dc, rect.left + x, rect.top + (rh - cy) / 2, ILD_TRANSPARENT);
    if (text.empty()) return;
    OffsetRect(&t, x + layoutCx, (rh - th) / 2);
    if (t.left < rect.left) t.left = rect.left;
    if (t.right > rect.right) t.right = rect.right;
    if (!prepareText(canvas, Enabled)) return;
    SkinDrawText(dc, text, t, BiDiFlags(kImageTextFlags));
}

void TSkinControl::DrawSkinFace(HDC dc, const RECT& rect, int cells, int cell, TDataSkinObject* part) {
    if (!dc || !part || reversed(rect) || part->Image.Empty()) return;
    std::unique_ptr<TBitmap> face = RenderSkinPart(rect, part->Image, part->Margins, StripAxis::Horizontal,
                                                   part->Tile != 0 ? CentreFill::Tile : CentreFill::Stretch, cells, cell);
    if (!face || face->Empty()) return;
    if (part->Trans == 1) {
        DrawTransparentBitmap(dc, rect, *face, kSkinKeyColour);
        return;
    }
    HDC source = face->Canvas().Handle();
    if (source) BitBlt(dc, rect.left, rect.top, face->Width(), face->Height(), source, 0, 0, SRCCOPY);
}

// The three strip-cell operations keep their own names for the painters that call them;
// they draw the same: the cell stretched into rect, magenta left out.
void TSkinControl::DrawStripCellDC(HDC dc, const RECT& rect, int cells, int cell, TBitmap* bitmap) {
    if (bitmap) DrawStripCellStretched(dc, rect, *bitmap, Keying::Magenta, cells, cell);
}

void TSkinControl::DrawStripCell(TCanvas& canvas, const RECT& rect, int cells, int cell, TBitmap* bitmap) {
    if (bitmap && canvas.Handle()) DrawStripCellStretched(canvas.Handle(), rect, *bitmap, Keying::Magenta, cells, cell);
}

void TSkinControl::DrawStripCellTransparent(HDC dc, const RECT& rect, int cells, int cell, TBitmap* bitmap) {
    if (bitmap) DrawStripCellStretched(dc, rect, *bitmap, Keying::Magenta, cells, cell);
}

void TSkinControl::HandlePaint(TMessage& message) {
    if (!Handle || !IsWindow(Handle)) return;
    auto paint = [this](HDC dc) {
        RECT r{};
        if (!dc || !GetWindowRect(Handle, &r)) return;
        WindowRect = r;
        Paint(dc, RECT{0, 0, r.right - r.left, r.bottom - r.top});
    };
    if (message.WParam) {
        paint(reinterpret_cast<HDC>(message.WParam));
        return;
    }
    PaintGuard guard(Handle);
    paint(guard.get());
}

void TSkinControl::HandleEraseBkgnd(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (Host) {
        PaintParentBackground(Host, dc);
    } else if (dc && Handle) {
        RECT client{};
        GetClientRect(Handle, &client);
        FillParentColor(dc, client);
    }
    message.Result = 1;
}

void DrawArrowGlyph(TCanvas& canvas, int x, int y, int direction) {
    struct Segment { int x0, y0, x1, y1; };
    static const Segment up[] = {{0, 0, 0, -1}, {1, 1, 4, 4},  {0, 1, 3, 4},  {0, 2, 2, 4},
                                 {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}};
    static const Segment down[] = {{0, 3, 0, 4},   {1, 2, 4, -1},  {0, 2, 3, -1}, {0, 1, 2, 0},
                                   {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}};
    static const POINT left[] = {{0, 0}, {1, 2}, {1, -2}, {-1, 0}, {1, 2}};
    static const POINT right[] = {{0, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-1, 2}};
    auto segments = [&](const Segment* list, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            canvas.MoveTo(x + list[i].x0, y + list[i].y0);
            canvas.LineTo(x + list[i].x1, y + list[i].y1);
        }
    };
    auto polyline = [&](const POINT* points, size_t count) {
        canvas.MoveTo(x + points[0].x, y + points[0].y);
        for (size_t i = 1; i < count; ++i) canvas.LineTo(x + points[i].x, y + points[i].y);
    };
    switch (direction) {
    case 0: segments(up, std::size(up)); break;
    case 1: segments(down, std::size(down)); break;
    case 2: polyline(left, std::size(left)); break;
    case 3: polyline(right, std::size(right)); break;
    default: break;
    }
}
