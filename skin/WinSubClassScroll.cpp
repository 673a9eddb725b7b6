// The scroll-bar cover TWScrollbar and the pure geometry of a bar: placing the cover over
// a native bar, painting the bar from the skin in one off-screen pass, and handing presses
// to the native bar.  The skins that own covers are in WinSubClassScrollSkin.cpp.
#include "WinSubClassScroll.h"

#include <windowsx.h>

#include <algorithm>

#include "Handles.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"

// ---- geometry -----------------------------------------------------------------------

int ScrollHitTest(int p, int arrow, int thumbStart, int thumbEnd, int barLength) {
    if (p < arrow) return spFirstArrow;
    if (p < thumbStart) return spPageBefore;
    if (p < thumbEnd) return spThumb;
    if (p < barLength - arrow) return spPageAfter;
    return spSecondArrow;
}

TThumbSpan ScrollDragThumb(int pressStart, int travel, TThumbSpan old, int arrow, int barLength) {
    int start = pressStart + travel;
    if (start < arrow) start = arrow;
    const int highest = barLength - arrow - (old.End - old.Start);
    if (start > highest) start = highest;
    return {start, old.End + start - old.Start};
}

TThumbSpan ScrollControlThumb(int barLength, int arrow, int pos, int min, int max, int page) {
    const int range = max - min;
    const int length = page != 0 ? MulDiv(barLength - 2 * arrow, page - 1, range) : arrow;
    const int k = page != 0 ? 2 : 3;
    const int start = pos == min ? arrow : arrow + MulDiv(barLength - k * arrow, pos - min, range);
    return {start, start + length};
}

int ScrollArrowSize(int arrow, int barLength) { return barLength < 2 * arrow ? barLength / 2 : arrow; }

int ScrollThickness(int imageHeight, int arrow) { return std::abs(imageHeight - arrow) > 2 ? arrow : imageHeight; }

// ---- TWScrollbar ----------------------------------------------------------------------

const TClassInfo& TWScrollbar::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TWScrollbar>("TWScrollbar", &TCustomPanel::StaticClassInfo(), [](TClassBuilder<TWScrollbar>&) {});
    return info;
}

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomPanel(owner) {
    ArrowLength = GetSystemMetrics(SM_CXHSCROLL);
    SetTabStop(false);
    // Shown only once UpdateBar has found the bar.
    SetVisible(false);
}

void TWScrollbar::CreateParams(TCreateParams& params) {
    TCustomPanel::CreateParams(params);
    params.ExStyle = WS_EX_TOOLWINDOW;
}

void TWScrollbar::AttachControl(TSkinControl* ownerSkin, TControl* host, int kind) {
    OwnerSkin = ownerSkin;
    Host = host;
    auto* windowed = dynamic_cast<TWinControl*>(host);
    ScrolledWindow = windowed ? windowed->Handle() : nullptr;
    Kind = kind;
    Orientation = kind;
    // A scroll-bar control says its own direction.
    if (kind == sbkControl)
        Orientation = lstrcmpiA(GetEnumPropByName(host, "Kind").c_str(), "sbHorizontal") == 0 ? sbkHorizontal : sbkVertical;
    if (ownerSkin) SetColor(ownerSkin->GetParentColor(ownerSkin->SkinButtonFace()));
    place(GetParent(ScrolledWindow));
}

void TWScrollbar::AttachWindow(TSkinControl* ownerSkin, HWND window, int kind) {
    OwnerSkin = ownerSkin;
    Host = nullptr;
    ScrolledWindow = window;
    Kind = kind;
    Orientation = kind;
    if (ownerSkin) SetColor(ownerSkin->GetParentColor(ownerSkin->SkinButtonFace()));
    place(GetParent(window));
}

void TWScrollbar::place(HWND parent) {
    // A cover is a sibling of the scrolled window; a window without a parent has nowhere
    // to put one.
    if (!ScrolledWindow || !parent) return;
    SetParentWindow(parent);
    UpdateBar(ScrolledWindow);
}

bool TWScrollbar::readControlGeometry(SCROLLBARINFO& info, bool forPress) const {
    info = SCROLLBARINFO{};
    info.cbSize = sizeof(info);
    auto* control = dynamic_cast<TWinControl*>(Host);
    if (!control || !ScrolledWindow) return false;
    RECT rect{};
    int pos = 0, min = 0, max = 0, page = 0;
    if (forPress) {
        POINT origin{0, 0};
        if (!::GetClientRect(ScrolledWindow, &rect) || !::ClientToScreen(ScrolledWindow, &origin)) return false;
        OffsetRect(&rect, origin.x, origin.y);
        pos = GetIntPropByName(control, "Position");
        min = GetIntPropByName(control, "Min");
        max = GetIntPropByName(control, "Max");
        page = GetIntPropByName(control, "PageSize");
    } else {
        rect = control->BoundsRect();
        SCROLLINFO scroll{};
        scroll.cbSize = sizeof(scroll);
        scroll.fMask = SIF_ALL;
        if (!GetScrollInfo(ScrolledWindow, SB_CTL, &scroll)) return false;
        pos = scroll.nPos;
        min = scroll.nMin;
        max = scroll.nMax;
        page = static_cast<int>(scroll.nPage);
    }
    const int length = Orientation == sbkVertical ? rect.bottom - rect.top : rect.right - rect.left;
    const TThumbSpan thumb = ScrollControlThumb(length, ArrowLength, pos, min, max, page);
    info.rcScrollBar = rect;
    info.xyThumbTop = thumb.Start;
    info.xyThumbBottom = thumb.End;
    return true;
}

bool TWScrollbar::readGeometry(SCROLLBARINFO& info) const {
    info = SCROLLBARINFO{};
    info.cbSize = sizeof(info);
    if (Kind == sbkControl) return readControlGeometry(info, false);
    if (Kind != sbkHorizontal && Kind != sbkVertical) return false;
    return SkinGetScrollBarInfo(ScrolledWindow, Kind == sbkHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, &info);
}

void TWScrollbar::UpdateBar(HWND window) {
    ScrolledWindow = window;
    if (!HandleAllocated()) return;
    SCROLLBARINFO info;
    Shown = readGeometry(info);
    if (!Shown) return;
    if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
        HideBar();
        return;
    }
    const RECT& bar = info.rcScrollBar;  // screen; a control's bounds in its parent's client
    if (Kind != sbkControl && !barFitsWindow(window, bar)) {
        HideBar();
        return;
    }
    const int width = bar.right - bar.left, height = bar.bottom - bar.top;
    BarLength = Orientation == sbkVertical ? height : width;
    BarOrigin = POINT{bar.left, bar.top};
    POINT at = BarOrigin;
    if (Kind == sbkControl) {
        BarRect = RECT{0, 0, width, height};
    } else {
        POINT topLeft{bar.left, bar.top}, bottomRight{bar.right, bar.bottom};
        ::ScreenToClient(window, &topLeft);
        ::ScreenToClient(window, &bottomRight);
        BarRect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        ::ScreenToClient(GetParent(handle_), &at);
    }
    // Directly above the scrolled window in z-order, so that the window (which clips its
    // siblings) never paints its own bar over the cover.
    const HWND above = GetWindow(window, GW_HWNDPREV);
    SetVisible(true);
    ShowWindow(handle_, SW_SHOWNA);
    Shown = true;
    SetWindowPos(handle_, above, at.x, at.y, width, height, SWP_NOACTIVATE);
    MoveWindow(handle_, at.x, at.y, width, height, TRUE);
}

bool TWScrollbar::barFitsWindow(HWND window, const RECT& bar) {
    // A window squeezed narrower or lower than its bar still reports the bar at its full
    // thickness, reaching out over its neighbours; the window itself shows none of it.
    RECT frame{}, inside{};
    if (!::GetWindowRect(window, &frame) || IsRectEmpty(&bar)) return false;
    return IntersectRect(&inside, &frame, &bar) && EqualRect(&inside, &bar);
}

void TWScrollbar::HideBar() {
    if (handle_) ShowWindow(handle_, SW_HIDE);
    Shown = false;
    SetVisible(false);
}

int TWScrollbar::HitTest(POINT p) const {
    return ScrollHitTest(Orientation == sbkVertical ? p.y : p.x, ArrowLength, ThumbStart, ThumbEnd, BarLength);
}

void TWScrollbar::DragThumb() {
    POINT now{};
    GetCursorPos(&now);
    const int travel = Orientation == sbkVertical ? now.y - PressCursor.y : now.x - PressCursor.x;
    const TThumbSpan span = ScrollDragThumb(PressThumbStart, travel, {ThumbStart, ThumbEnd}, ArrowLength, BarLength);
    ThumbStart = span.Start;
    ThumbEnd = span.End;
}

void TWScrollbar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;  // the paint covers everything
    case WM_MOUSEMOVE: onMouseMove(m); return;
    case WM_MOUSELEAVE:
        TCustomPanel::WndProc(m);
        if (!Tracking) {
            ActivePart = spNone;
            Invalidate();
        }
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: onLButtonDown(m); return;
    case WM_LBUTTONUP: onLButtonUp(m); return;
    default: TCustomPanel::WndProc(m);
    }
}

void TWScrollbar::onMouseMove(TMessage& m) {
    TCustomPanel::WndProc(m);
    const POINT p{LOWORD(m.LParam), HIWORD(m.LParam)};
    const int part = HitTest(p);
    if (part != ActivePart) {
        ActivePart = part;
        Invalidate();
    }
    SkinTrackMouseLeave(handle_);
}

void TWScrollbar::onLButtonDown(TMessage& m) {
    TCustomPanel::WndProc(m);
    const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    GetCursorPos(&PressCursor);
    SCROLLBARINFO info;
    if (Kind == sbkControl ? readControlGeometry(info, true) : readGeometry(info)) PressThumbStart = info.xyThumbTop;
    ActivePart = HitTest(p);
    if (Kind == sbkControl) {
        // The control tracks the press itself, in its own client coordinates, which are the
        // cover's.
        Tracking = true;
        Invalidate();
        ReleaseCapture();
        SendMessageA(ScrolledWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        Tracking = false;
        ReleaseCapture();
        Invalidate();
        return;
    }
    BarOrigin = POINT{info.rcScrollBar.left, info.rcScrollBar.top};
    const POINT screen{p.x + BarOrigin.x, p.y + BarOrigin.y};
    Tracking = true;
    Invalidate();
    ReleaseCapture();
    // The platform's own tracking loop runs inside this call until the button is
    // released; the scroll messages it sends reach the owner, which repaints the cover.
    SendMessageA(ScrolledWindow, WM_NCLBUTTONDOWN, Kind == sbkHorizontal ? HTHSCROLL : HTVSCROLL,
                 MAKELPARAM(screen.x, screen.y));
    Tracking = false;
    ReleaseCapture();
}

void TWScrollbar::onLButtonUp(TMessage& m) {
    TCustomPanel::WndProc(m);
    if (Kind == sbkControl) {
        Tracking = false;
        ReleaseCapture();
        PostMessageA(ScrolledWindow, WM_LBUTTONUP, MK_LBUTTON, m.LParam);
        Invalidate();
        return;
    }
    const POINT screen{GET_X_LPARAM(m.LParam) + BarOrigin.x, GET_Y_LPARAM(m.LParam) + BarOrigin.y};
    Tracking = false;
    ReleaseCapture();
    PostMessageA(ScrolledWindow, WM_NCLBUTTONUP, Kind == sbkHorizontal ? HTHSCROLL : HTVSCROLL,
                 MAKELPARAM(screen.x, screen.y));
}

void TWScrollbar::Paint() { drawBar(canvas_.Handle()); }

void TWScrollbar::drawBar(HDC dc) {
    TSkinData* data = OwnerSkin ? OwnerSkin->SkinData : nullptr;
    if (!dc || !data) return;
    const std::shared_ptr<TDataSkinObject> arrows = data->Scrollbar;
    if (!arrows || arrows->Image.Empty()) return;
    SCROLLBARINFO info;
    if (!readGeometry(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
    const bool enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);

    RECT r = info.rcScrollBar;
    OffsetRect(&r, -r.left, -r.top);
    RECT client{};
    GetClientRect(handle_, &client);
    // A bar larger than the cover waits until the cover is placed again.
    if (r.right < 0 || r.bottom < 0 || r.bottom > client.bottom || r.right > client.right) return;
    const bool vertical = Orientation == sbkVertical;
    BarLength = vertical ? r.bottom : r.right;
    const int thickness = ScrollThickness(arrows->Image.Height(), ArrowLength);
    const int limit = vertical ? client.bottom : client.right;

    // A scroll-bar control is drawn at the skin's thickness and stretched to its own.
    if (Kind == sbkControl) (vertical ? r.right : r.bottom) = thickness;
    UniqueMemDC mem(CreateCompatibleDC(dc));
    UniqueBitmap surface(CreateCompatibleBitmap(dc, r.right, r.bottom));
    if (!mem || !surface) return;
    SelectGuard selected(mem.get(), surface.get());
    SetStretchBltMode(mem.get(), COLORONCOLOR);
    {
        UniqueBrush face(CreateSolidBrush(ColorToRGB(data->Colours.ButtonFace)));
        FillRect(mem.get(), &r, face.get());
    }
    const RECT whole = r;
    if (vertical) r.right = thickness;
    else r.bottom = thickness;

    // Track between the arrows.
    const std::shared_ptr<TDataSkinObject> track = vertical ? data->VertScroll : data->HorzScroll;
    if (track && !track->Image.Empty()) {
        RECT t = r;
        if (vertical) t.top += ArrowLength, t.bottom -= ArrowLength;
        else t.left += ArrowLength, t.right -= ArrowLength;
        DrawSkinPart(mem.get(), t, track->Image, StripAxis::Horizontal, track->Tile ? CentreFill::Tile : CentreFill::Stretch,
                     track->Trans == 1 ? Keying::Magenta : Keying::Opaque, 4, enabled ? 1 : 3, track->Margins);
    }

    // Arrows.
    const int a = ScrollArrowSize(ArrowLength, BarLength);
    const RECT first = vertical ? RECT{0, 0, r.right, a} : RECT{0, 0, a, r.bottom};
    const RECT second = vertical ? RECT{0, BarLength - a, r.right, BarLength} : RECT{BarLength - a, 0, BarLength, r.bottom};
    int firstCell = vertical ? 9 : 1, secondCell = vertical ? 13 : 5;
    const int lit = Tracking ? 1 : 3;
    if (ActivePart == spFirstArrow) firstCell += lit;
    if (ActivePart == spSecondArrow) secondCell += lit;
    DrawStripCellStretched(mem.get(), first, arrows->Image, Keying::Magenta, 23, firstCell);
    DrawStripCellStretched(mem.get(), second, arrows->Image, Keying::Magenta, 23, secondCell);

    // Thumb and its grip.
    if (Tracking && ActivePart == spThumb && Kind != sbkControl) {
        DragThumb();
    } else {
        ThumbStart = info.xyThumbTop;
        ThumbEnd = info.xyThumbBottom;
    }
    if (enabled) {
        const int cell = ActivePart == spThumb ? (Tracking ? 2 : 3) : 1;
        const std::shared_ptr<TDataSkinObject> thumb = vertical ? data->VertScrollThumb : data->HorzScrollThumb;
        if (thumb && !thumb->Image.Empty() && ThumbStart < limit && ThumbEnd < limit) {
            const RECT t = vertical ? RECT{0, ThumbStart, thickness, ThumbEnd} : RECT{ThumbStart, 0, ThumbEnd, thickness};
            DrawSkinPart(mem.get(), t, thumb->Image, StripAxis::Horizontal, CentreFill::Stretch,
                         thumb->Trans == 1 ? Keying::Magenta : Keying::Opaque, std::max(1, thumb->Frame), cell,
                         thumb->Margins);
        }
        const int grip = arrows->Image.Height();
        const int thumbLength = ThumbEnd - ThumbStart;
        if (grip < thumbLength + 2) {
            const int from = ThumbStart + (thumbLength - grip) / 2, to = from + grip;
            if (from < limit && to < limit) {
                const RECT g = vertical ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
                int gripCell = vertical ? 20 : 17;
                if (ActivePart == spThumb) gripCell += Tracking ? 1 : 2;
                DrawStripCellStretched(mem.get(), g, arrows->Image, Keying::Magenta, 23, gripCell);
            }
        }
    }
    if (Kind == sbkControl) {
        StretchBlt(dc, 0, 0, client.right, client.bottom, mem.get(), 0, 0, whole.right, whole.bottom, SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, whole.right, whole.bottom, mem.get(), 0, 0, SRCCOPY);
    }
}
