// The track-bar, up-down and progress-bar skins (WinSubClassBars.h).  The track bar draws
// inside the control's own paint cycle, answering its custom-draw notices; the up-down and
// the progress bar compose a work bitmap per paint and copy it to the window in one blit.
// The layout arithmetic is in WinSubClassBarsLayout.cpp.
#include <algorithm>

#include "Handles.h"
#include "ImgUtil.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSubClassBars.h"

namespace {

bool hasImage(const TDataSkinObject* part) { return part && !part->Image.Empty(); }

CentreFill fillOf(const TDataSkinObject& part) { return part.Tile == 1 ? CentreFill::Tile : CentreFill::Stretch; }

int cellsOf(const TDataSkinObject& part, int fallback) { return part.Frame >= 1 ? part.Frame : fallback; }

DWORD styleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

}  // namespace

// ---- TSkinTrackBar --------------------------------------------------------------------

const TClassInfo& TSkinTrackBar::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinTrackBar>("TSkinTrackBar", &TSkinControl::StaticClassInfo(), [](auto&) {});
    return info;
}

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
    if (message.Msg != WM_NOTIFY && message.Msg != CN_NOTIFY) return TSkinControl::BeforeMessage(message);
    // CN_NOTIFY has the number of the form skin's CN_SKINNOTIFY, which carries the skin
    // marker in lParam instead of a notice.
    if (message.LParam == 0 || message.LParam == kSkinMarker) return TSkinControl::BeforeMessage(message);
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    // Only this control's own notices: a tooltip of the bar has custom draw of its own.
    if (header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != Handle) return true;
    message.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam));
    return false;
}

void TSkinTrackBar::UpdateSkin() {
    // The images are read at paint time, so a repaint is all a new skin needs.  (Moving the
    // focus to the bar and back for it would activate the bar's window and could leave
    // another window active.)
    Redraw();
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw) {
    const barskin::TCustomDrawStep step = barskin::TrackBarCustomDrawStep(draw.dwDrawStage, draw.dwItemSpec);
    bool drawn = true;
    try {
        switch (step.action) {
        case barskin::TCustomDrawAction::Channel: drawn = paintChannel(draw.hdc); break;
        case barskin::TCustomDrawAction::Thumb: drawn = paintThumb(draw.hdc); break;
        case barskin::TCustomDrawAction::None: break;
        }
    } catch (...) {
        drawn = false;
    }
    return drawn ? step.result : CDRF_DODEFAULT;
}

bool TSkinTrackBar::paintChannel(HDC dc) {
    if (!dc || !SkinData || !IsWindow(Handle)) return false;
    RECT channel{};
    SendMessageA(Handle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    TDataSkinObject* part = nullptr;
    bool vertical = false;
    if ((styleOf(Handle) & TBS_VERT) && hasImage(SkinData->TrackVert.get())) {
        part = SkinData->TrackVert.get();
        vertical = true;
        channel = barskin::UprightChannel(channel, true);
    } else if (hasImage(SkinData->Track.get())) {
        part = SkinData->Track.get();
    } else {
        return false;
    }
    HDC source = part->Image.Canvas().Handle();
    if (!source) return false;
    SaveDcGuard saved(dc);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const barskin::TChannelSlice& s :
         barskin::ChannelSlices(channel, part->Image.Width(), part->Image.Height(), part->Margins, vertical)) {
        const int sw = s.source.right - s.source.left, sh = s.source.bottom - s.source.top;
        const int dw = s.dest.right - s.dest.left, dh = s.dest.bottom - s.dest.top;
        if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) continue;
        StretchBlt(dc, s.dest.left, s.dest.top, dw, dh, source, s.source.left, s.source.top, sw, sh, SRCCOPY);
    }
    return true;
}

bool TSkinTrackBar::paintThumb(HDC dc) {
    if (!dc || !IsWindow(Handle)) return false;
    RECT thumb{};
    SendMessageA(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    TDataSkinObject* strip = nullptr;
    if (SkinData) {
        if ((styleOf(Handle) & TBS_VERT) && hasImage(SkinData->TrackbarThumbVert.get()))
            strip = SkinData->TrackbarThumbVert.get();
        else if (hasImage(SkinData->TrackbarThumbHorz.get()))
            strip = SkinData->TrackbarThumbHorz.get();
    }
    if (strip) {
        const int cells = cellsOf(*strip, 5);
        DrawStripCellDC(dc, thumb, cells, barskin::ThumbCell(cells), &strip->Image);
        return true;
    }
    const TColor shadow = SkinData ? SkinData->Colours.ButtonShadow : clBtnShadow;
    UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(shadow)));
    if (!pen) return false;
    SelectGuard penIn(dc, pen.get());
    SelectGuard brushIn(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
    return true;
}

// ---- TSkinUpDown ----------------------------------------------------------------------

const TClassInfo& TSkinUpDown::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinUpDown>("TSkinUpDown", &TSkinControl::StaticClassInfo(), [](auto&) {});
    return info;
}

bool TSkinUpDown::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND:
        if (!Host && message.WParam) {
            RECT client{};
            GetClientRect(Handle, &client);
            FillRect(reinterpret_cast<HDC>(message.WParam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallDefault(message);
        MouseState |= msPressed;
        PaintWindow(nullptr);
        return false;
    case WM_LBUTTONUP:
        MouseState &= static_cast<uint8_t>(~msPressed);
        CallDefault(message);
        PaintWindow(nullptr);
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinUpDown::Paint(HDC dc, const RECT& rect) {
    if (!dc) return;
    try {
        RECT area = rect;
        if (BuddyMode) {
            RECT client{};
            GetClientRect(Handle, &client);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            RECT self{}, parent{};
            if (GetWindowRect(Handle, &self) && GetWindowRect(GetParent(Handle), &parent))
                area = barskin::UpDownBuddyArea(area, self, parent);
        }
        const int w = area.right - area.left, h = area.bottom - area.top;
        if (w <= 0 || h <= 0) return;
        TBitmap work;
        work.SetSize(w, h);
        TCanvas& canvas = work.Canvas();
        HDC wdc = canvas.Handle();
        if (!wdc) return;
        FillSkinColor(wdc, RECT{0, 0, w, h});

        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(Handle, &cursor);
        const DWORD style = styleOf(Handle);
        Enabled = (style & WS_DISABLED) == 0;
        const bool pressed = (MouseState & msPressed) != 0, hot = (MouseState & msHot) != 0;
        RECT first{}, second{};
        int firstArrow = 0, secondArrow = 1;
        bool overFirst = false;
        if (style & UDS_HORZ) {
            const int half = w / 2;
            first = RECT{0, 0, half, h};
            second = RECT{half, 0, w, h};
            firstArrow = 2;
            secondArrow = 3;
            overFirst = cursor.x < half;
        } else {
            const int half = h / 2;
            first = RECT{0, 0, w, half};
            second = RECT{0, half, w, h};
            overFirst = cursor.y < half;
        }
        paintButton(canvas, first, firstArrow, barskin::UpDownHalfState(Enabled, overFirst, pressed, hot));
        paintButton(canvas, second, secondArrow, barskin::UpDownHalfState(Enabled, !overFirst, pressed, hot));
        BitBlt(dc, area.left, area.top, w, h, wdc, 0, 0, SRCCOPY);
    } catch (...) {
    }
}

void TSkinUpDown::paintButton(TCanvas& canvas, const RECT& rect, int arrow, int state) {
    TDataSkinBorder* part = nullptr;
    if (SkinData) part = arrow < 2 ? SkinData->UpDownVert.get() : SkinData->UpDownHorz.get();
    HDC dc = canvas.Handle();
    if (hasImage(part)) {
        const int cells = cellsOf(*part, 8);
        const int cell = barskin::UpDownCell(state, arrow);
        DrawStripCellStretched(dc, rect, part->Image, Keying::Magenta, cells, cell);
        if (!part->Image2.Empty()) DrawStripCellCentered(dc, rect, part->Image2, Keying::Magenta, cells, cell);
        return;
    }
    const TSkinColours colours = SkinData ? SkinData->Colours : TSkinColours{};
    canvas.Brush().SetColor(state == 1 || state == 3 ? colours.ButtonFace : colours.ButtonShadow);
    canvas.Pen().SetColor(colours.ButtonDkShadow);
    canvas.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    const int x = rect.left + (rect.right - rect.left) / 2;
    const int y = rect.top + (rect.bottom - rect.top) / 2 - (arrow < 2 ? 2 : 0);
    DrawArrowGlyph(canvas, x, y, arrow);
}

// ---- TSkinProgress --------------------------------------------------------------------

const TClassInfo& TSkinProgress::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinProgress>("TSkinProgress", &TSkinControl::StaticClassInfo(), [](auto&) {});
    return info;
}

bool TSkinProgress::canPaint() const {
    if (!SkinData || !hasImage(SkinData->Progress.get())) return false;
    // The chunk style without its chunk image would paint nothing at all: the control's own
    // bar is better than an empty one.
    return SkinData->Progress->Style != 1 || hasImage(SkinData->ProgressChunk.get());
}

bool TSkinProgress::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!canPaint()) return TSkinControl::BeforeMessage(message);
        HandlePaint(message);
        message.Result = 0;
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

namespace {

// The work surface of a progress bar: drawn lying (horizontal) and turned upright at the
// end for a vertical bar, so that its fill grows from the bottom.
struct ProgressSurface {
    bool vertical = false;
    RECT lying{};  // the surface at the origin, as a horizontal bar
    TBitmap bitmap;
};

void prepare(ProgressSurface& s, HWND window, const RECT& rect, TColor face) {
    s.vertical = (styleOf(window) & PBS_VERTICAL) != 0;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    s.lying = s.vertical ? RECT{0, 0, h, w} : RECT{0, 0, w, h};
    s.bitmap.SetPixelFormat(pf24bit);
    s.bitmap.SetSize(s.lying.right, s.lying.bottom);
    if (HDC dc = s.bitmap.Canvas().Handle()) FillRectColor(dc, s.lying, ColorToRGB(face));
}

void finish(ProgressSurface& s, HDC dc, const RECT& rect) {
    if (s.vertical) RotateBitmapLeft(s.bitmap);
    if (HDC source = s.bitmap.Canvas().Handle())
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, SRCCOPY);
}

int filledLength(HWND window, int extent) {
    const int pos = static_cast<int>(SendMessageA(window, PBM_GETPOS, 0, 0));
    const int low = static_cast<int>(SendMessageA(window, PBM_GETRANGE, TRUE, 0));
    const int high = static_cast<int>(SendMessageA(window, PBM_GETRANGE, FALSE, 0));
    return barskin::ProgressFill(extent, pos, low, high);
}

}  // namespace

void TSkinProgress::Paint(HDC dc, const RECT& rect) {
    if (!dc || !canPaint() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    try {
        TDataSkinBorder& part = *SkinData->Progress;
        if (part.Style == 1) {
            paintChunks(dc, rect);
            return;
        }
        ProgressSurface s;
        prepare(s, Handle, rect, SkinButtonFace());
        HDC sdc = s.bitmap.Canvas().Handle();
        if (!sdc) return;
        DrawSkinPart(sdc, s.lying, part.Image, StripAxis::Horizontal, fillOf(part), Keying::Magenta, 2, 1,
                     part.Margins);
        const int bar = filledLength(Handle, s.lying.right);
        if (bar > 0)
            DrawSkinPart(sdc, RECT{0, 0, bar, s.lying.bottom}, part.Image, StripAxis::Horizontal, fillOf(part),
                         Keying::Magenta, 2, 2, part.Margins);
        finish(s, dc, rect);
    } catch (...) {
    }
}

void TSkinProgress::paintChunks(HDC dc, const RECT& rect) {
    TDataSkinBorder& part = *SkinData->Progress;
    TDataSkinObject& chunk = *SkinData->ProgressChunk;
    ProgressSurface s;
    prepare(s, Handle, rect, SkinButtonFace());
    HDC sdc = s.bitmap.Canvas().Handle();
    if (!sdc) return;
    const int bw = s.lying.right, bh = s.lying.bottom;
    DrawSkinPart(sdc, s.lying, part.Image, StripAxis::Horizontal, CentreFill::Stretch, Keying::Magenta, 1, 1,
                 part.Margins);
    const int bar = filledLength(Handle, bw);
    if (bar > 0) {
        const int cw = chunk.Image.Width(), ch = chunk.Image.Height();
        TBitmap strip;
        if (chunk.Tile == 1) {
            strip.SetSize(bar, ch);
            TileBitmap(strip.Canvas(), RECT{0, 0, bar, ch}, chunk.Image, RECT{0, 0, cw, ch});
            const int x = chunk.Margins.Left + 2, y = (bh - ch) / 2;
            DrawTransparentBitmap(sdc, RECT{x, y, x + bar, y + ch}, strip, kSkinKeyColour);
        } else if (bh > 4) {
            // The chunk is stretched over the whole height and the strip keeps its top
            // part: a 2-pixel inset on every side of the track.
            strip.SetSize(bar, bh - 4);
            if (HDC stripDc = strip.Canvas().Handle())
                StretchSkinPart(stripDc, RECT{0, 0, bar, bh}, chunk.Image, chunk.Margins, StripAxis::Horizontal, 1, 1);
            DrawTransparentBitmap(sdc, RECT{2, 2, 2 + bar, bh - 2}, strip, kSkinKeyColour);
        }
    }
    finish(s, dc, rect);
}
