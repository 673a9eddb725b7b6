// Controls without a window: their canvas, their paint cycle on the parent's DC, their
// invalidation on the parent, and the parent's side of painting them.  Their mouse input
// is routed in ControlsMouse.cpp.
#include "GraphicControls.h"

#include <algorithm>
#include <vector>

#include "Handles.h"

// ---- TControlCanvas ----------------------------------------------------------------

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::Unlock() {
    if (lockCount_ > 0 && --lockCount_ == 0 && ownedDc_) FreeHandle();
}

void TControlCanvas::FreeHandle() {
    SetHandle(nullptr);
    if (ownedDc_) {
        ReleaseDC(dcWindow_, ownedDc_);
        ownedDc_ = nullptr;
        dcWindow_ = nullptr;
    }
}

void TControlCanvas::CreateHandle() {
    if (ownedDc_) {  // made earlier, then a borrowed DC was given and taken away again
        SetHandle(ownedDc_);
        return;
    }
    TWinControl* parent = control_ ? control_->Parent() : nullptr;
    if (!parent || !parent->HandleAllocated()) return;
    HWND wnd = parent->Handle();
    HDC dc = GetDC(wnd);
    if (!dc) return;
    SetWindowOrgEx(dc, -control_->Left(), -control_->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
    ownedDc_ = dc;
    dcWindow_ = wnd;
    SetHandle(dc);
}

// ---- TGraphicControl ---------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TGraphicControl>("TGraphicControl", &TControl::StaticClassInfo(), [](TClassBuilder<TGraphicControl>&) {});
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(this) {}

TGraphicControl::~TGraphicControl() {
    BeginDestruction();
    canvas_.FreeHandle();
    if (parent_) parent_->RemoveControl(this);  // while the object is still a graphic control
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
    const RECT before = BoundsRect();
    canvas_.FreeHandle();  // its origin and clipping were the old bounds
    TControl::SetBounds(left, top, width, height);
    const RECT after = BoundsRect();
    if (!EqualRect(&before, &after) && visible_) {
        invalidateOnParent(before);
        invalidateOnParent(after);
    }
}

void TGraphicControl::SetParent(TWinControl* parent) {
    if (parent != parent_) canvas_.FreeHandle();
    TControl::SetParent(parent);
}

void TGraphicControl::invalidateOnParent(const RECT& rect) {
    if (parent_ && parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), &rect, TRUE);
}

void TGraphicControl::Invalidate() {
    if (visible_) invalidateOnParent(BoundsRect());
}

void TGraphicControl::Update() {
    if (parent_) parent_->Update();
}

bool TGraphicControl::MouseCapture() const {
    return parent_ && parent_->captureChild_ == this && parent_->HandleAllocated() && GetCapture() == parent_->handle_;
}

void TGraphicControl::SetMouseCapture(bool on) {
    if (!parent_ || !parent_->HandleAllocated()) return;
    HWND wnd = parent_->Handle();
    if (on) {
        // Capture first: taking it sends WM_CAPTURECHANGED, which clears the field.
        SetCapture(wnd);
        parent_->captureChild_ = this;
    } else if (parent_->captureChild_ == this) {
        parent_->captureChild_ = nullptr;
        if (GetCapture() == wnd) ReleaseCapture();
    }
}

void TGraphicControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        // Sent by the parent's PaintControls with its DC, origin at this control.
        if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
            canvas_.Lock();
            canvas_.FreeHandle();
            canvas_.SetHandle(dc);
            canvas_.Font().Assign(font_);
            canvas_.Brush().SetColor(color_);
            try {
                Paint();
            } catch (...) {
                canvas_.SetHandle(nullptr);
                canvas_.Unlock();
                throw;
            }
            canvas_.SetHandle(nullptr);
            canvas_.Unlock();
        }
        m.Result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetMouseCapture(true);
        if (m.Msg == WM_LBUTTONDBLCLK) DblClick();
        break;
    case WM_LBUTTONUP:
        SetMouseCapture(false);
        break;
    case CM_VISIBLECHANGED:
        invalidateOnParent(BoundsRect());
        return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        return;
    default:
        break;
    }
    TControl::WndProc(m);
}

// ---- TWinControl: painting the children without a window ---------------------------

void TWinControl::PaintControls(HDC dc, TControl* first) {
    if (!dc) return;
    // A paint handler may add or remove controls: walk a copy.
    std::vector<TControl*> list(controls_);
    auto it = list.begin();
    if (first) {
        auto f = std::find(list.begin(), list.end(), first);
        if (f != list.end()) it = f;
    }
    for (; it != list.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;  // gone meanwhile
        const RECT bounds = c->BoundsRect();
        if (IsRectEmpty(&bounds) || !RectVisible(dc, &bounds)) continue;
        SaveDcGuard saved(dc);
        OffsetWindowOrgEx(dc, -c->Left(), -c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::paintWithGraphicChildren(TMessage& m) {
    if (m.WParam) {
        DefaultHandler(m);
        PaintControls(reinterpret_cast<HDC>(m.WParam), nullptr);
        return;
    }
    // The system class paints into the DC it is given, then the children go on top.
    PaintGuard pg(handle_);
    TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(pg.get()), 0, 0};
    DefaultHandler(own);
    PaintControls(pg.get(), nullptr);
    m.Result = 0;
}
