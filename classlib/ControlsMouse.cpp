// Mouse input of controls: the key flags of a mouse message as a shift state, the mouse
// methods and events of every control, and how a windowed control hands its mouse input
// to its children without a window (hit-testing, the capture while a button is held,
// and the pointer entering and leaving them).  Painting those children is
// GraphicControls.cpp's.
#include <windowsx.h>

#include <vector>

#include "Controls.h"

TShiftState KeysToShiftState(WORD keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= 1u << ssShift;
    if (keys & MK_CONTROL) s |= 1u << ssCtrl;
    if (keys & MK_LBUTTON) s |= 1u << ssLeft;
    if (keys & MK_RBUTTON) s |= 1u << ssRight;
    if (keys & MK_MBUTTON) s |= 1u << ssMiddle;
    // Mouse messages carry no flag for Alt.
    if (GetKeyState(VK_MENU) < 0) s |= 1u << ssAlt;
    return s;
}

// ---- TControl ----------------------------------------------------------------------

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::dispatchMouse(const TMessage& m) {
    const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    const TShiftState shift = KeysToShiftState(LOWORD(m.WParam));
    constexpr TShiftState dbl = 1u << ssDouble;
    switch (m.Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_LBUTTONDOWN: MouseDown(mbLeft, shift, x, y); break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_LBUTTONDBLCLK: MouseDown(mbLeft, shift | dbl, x, y); break;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift | dbl, x, y); break;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift | dbl, x, y); break;
    case WM_LBUTTONUP: MouseUp(mbLeft, shift, x, y); break;
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    default: break;
    }
}

// ---- TWinControl: children without a window ----------------------------------------

bool TWinControl::hasGraphicChildren() const {
    for (const TControl* c : controls_)
        if (!dynamic_cast<const TWinControl*>(c)) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    // Later children lie above earlier ones.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        const RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

bool TWinControl::routeMouseToGraphic(TMessage& m) {
    const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = captureChild_ ? captureChild_ : ControlAtPos(p, false);
    if (!target) return false;
    const int x = p.x - target->Left(), y = p.y - target->Top();
    TMessage own{m.Msg, m.WParam, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)), 0};
    target->WindowProc(own);
    m.Result = own.Result;
    return true;
}

void TWinControl::updateGraphicHover(const POINT* p) {
    TControl* now = p && hasGraphicChildren() ? ControlAtPos(*p, false) : nullptr;
    if (now == hoverChild_) return;
    TControl* old = hoverChild_;
    hoverChild_ = now;
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    // The leave handler may have taken the new one away (RemoveControl clears the field).
    if (now && hoverChild_ == now) now->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::trackPointerEnter() {
    if (!handle_) return;
    // The pointer entered: tell the control once, and ask for the leave notice.
    TRACKMOUSEEVENT tme{sizeof tme, TME_QUERY, handle_, 0};
    TrackMouseEvent(&tme);
    if (!(tme.dwFlags & TME_LEAVE)) {
        TRACKMOUSEEVENT ask{sizeof ask, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&ask);
        Perform(CM_MOUSEENTER, 0, 0);
    }
}
