#include "ExtCtrls.h"

#include <windowsx.h>

#include <algorithm>

#include "Handles.h"

const TEnumNames BevelCutNames{{{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}}};
const TEnumNames ResizeStyleNames{{{"rsNone", rsNone}, {"rsLine", rsLine}, {"rsUpdate", rsUpdate}, {"rsPattern", rsPattern}}};

void Frame3D(TCanvas& canvas, RECT& rect, TColor topColor, TColor bottomColor, int width) {
    const TColor saved = canvas.Brush().Color();
    for (int i = 0; i < width && rect.right - rect.left > 0 && rect.bottom - rect.top > 0; ++i) {
        const RECT& r = rect;
        // The bottom-left and top-right corner pixels belong to the bottom and right edges.
        canvas.Brush().SetColor(topColor);
        canvas.FillRect(RECT{r.left, r.top, r.right - 1, r.top + 1});
        canvas.FillRect(RECT{r.left, r.top, r.left + 1, r.bottom - 1});
        canvas.Brush().SetColor(bottomColor);
        canvas.FillRect(RECT{r.right - 1, r.top, r.right, r.bottom});
        canvas.FillRect(RECT{r.left, r.bottom - 1, r.right, r.bottom});
        InflateRect(&rect, -1, -1);
    }
    canvas.Brush().SetColor(saved);
}

namespace {

void bevelColors(TPanelBevel bevel, TColor face, TColor& top, TColor& bottom) {
    switch (bevel) {
    case bvLowered: top = clBtnShadow; bottom = clBtnHighlight; break;
    case bvRaised: top = clBtnHighlight; bottom = clBtnShadow; break;
    default: top = bottom = face; break;
    }
}

}  // namespace

// ---- TCustomPanel ------------------------------------------------------------------

const TClassInfo& TCustomPanel::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClassInfo(), [](TClassBuilder<TCustomPanel>& b) {
        b.Enum("Alignment", AlignmentNames, [](TCustomPanel& p) -> int64_t { return p.Alignment(); }, [](TCustomPanel& p, int64_t v) { p.SetAlignment(static_cast<TAlignment>(v)); });
        b.Enum("BevelInner", BevelCutNames, [](TCustomPanel& p) -> int64_t { return p.BevelInner(); }, [](TCustomPanel& p, int64_t v) { p.SetBevelInner(static_cast<TPanelBevel>(v)); });
        b.Enum("BevelOuter", BevelCutNames, [](TCustomPanel& p) -> int64_t { return p.BevelOuter(); }, [](TCustomPanel& p, int64_t v) { p.SetBevelOuter(static_cast<TPanelBevel>(v)); });
        b.Int("BevelWidth", [](TCustomPanel& p) -> int64_t { return p.BevelWidth(); }, [](TCustomPanel& p, int64_t v) { p.SetBevelWidth(static_cast<int>(v)); });
        b.Int("BorderWidth", [](TCustomPanel& p) -> int64_t { return p.BorderWidth(); }, [](TCustomPanel& p, int64_t v) { p.SetBorderWidth(static_cast<int>(v)); });
        DescribeBorder(b);
        b.Bool("FullRepaint", [](TCustomPanel& p) { return p.FullRepaint(); }, [](TCustomPanel& p, bool v) { p.SetFullRepaint(v); });
    });
    return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TPanel>("TPanel", &TCustomPanel::StaticClassInfo(), [](TClassBuilder<TPanel>& b) { b.Creatable(); });
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TBorderedControl(owner, bsNone) {
    width_ = 185;
    height_ = 41;
    color_ = clBtnFace;
    brush_.SetColor(color_);
}

int TCustomPanel::FrameSize() const {
    int size = borderWidth_;
    if (bevelOuter_ != bvNone) size += bevelWidth_;
    if (bevelInner_ != bvNone) size += bevelWidth_;
    return size;
}

void TCustomPanel::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
    applyBorder(p);
}

void TCustomPanel::AlignControls(TControl* control, RECT& rect) {
    const int inset = FrameSize();
    InflateRect(&rect, -inset, -inset);
    TCustomControl::AlignControls(control, rect);
}

void TCustomPanel::Paint() {
    RECT r = ClientRect();
    TColor top = color_, bottom = color_;
    if (bevelOuter_ != bvNone) {
        bevelColors(bevelOuter_, color_, top, bottom);
        Frame3D(canvas_, r, top, bottom, bevelWidth_);
    }
    Frame3D(canvas_, r, color_, color_, borderWidth_);
    if (bevelInner_ != bvNone) {
        bevelColors(bevelInner_, color_, top, bottom);
        Frame3D(canvas_, r, top, bottom, bevelWidth_);
    }
    canvas_.Brush().SetColor(color_);
    canvas_.FillRect(r);
    const std::string caption = Text();
    if (caption.empty()) return;
    HDC dc = canvas_.Handle();
    canvas_.TextExtent("W");  // selects the font
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(font_.Color()));
    UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, flags);
}

void TCustomPanel::WndProc(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) {
        Invalidate();
        return;
    }
    TCustomControl::WndProc(m);
}

void TCustomPanel::SetAlignment(TAlignment a) { if (a != alignment_) { alignment_ = a; Invalidate(); } }

void TCustomPanel::SetBevelInner(TPanelBevel b) {
    if (b == bevelInner_) return;
    bevelInner_ = b;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel b) {
    if (b == bevelOuter_) return;
    bevelOuter_ = b;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int w) {
    w = std::max(1, w);
    if (w == bevelWidth_) return;
    bevelWidth_ = w;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int w) {
    w = std::max(0, w);
    if (w == borderWidth_) return;
    borderWidth_ = w;
    Realign();
    Invalidate();
}

// ---- TSplitter ---------------------------------------------------------------------

const TClassInfo& TSplitter::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSplitter>("TSplitter", &TCustomControl::StaticClassInfo(), [](TClassBuilder<TSplitter>& b) {
        b.Creatable();
        b.Int("MinSize", [](TSplitter& s) -> int64_t { return s.MinSize(); }, [](TSplitter& s, int64_t v) { s.SetMinSize(static_cast<int>(v)); });
        b.Enum("ResizeStyle", ResizeStyleNames, [](TSplitter& s) -> int64_t { return s.ResizeStyle(); }, [](TSplitter& s, int64_t v) { s.SetResizeStyle(static_cast<TResizeStyle>(v)); });
        b.Bool("Beveled", [](TSplitter& s) { return s.Beveled(); }, [](TSplitter& s, bool v) { s.SetBeveled(v); });
        b.Bool("AutoSnap", [](TSplitter& s) { return s.AutoSnap(); }, [](TSplitter& s, bool v) { s.SetAutoSnap(v); });
        b.Event("OnCanResize", &TSplitter::OnCanResize);
        b.Event("OnMoved", &TSplitter::OnMoved);
    });
    return info;
}

namespace {
constexpr int crHSplit = -14;
constexpr int crVSplit = -15;
bool isVertical(TAlign a) { return a == alLeft || a == alRight; }  // a vertical bar, moved sideways
}  // namespace

TSplitter::TSplitter(TComponent* owner) : TCustomControl(owner) {
    align_ = alLeft;
    width_ = 3;
    height_ = 100;
    cursor_ = crHSplit;
    parentColor_ = true;
}

TSplitter::~TSplitter() {
    if (dragging_) endDrag(false);
}

void TSplitter::RequestAlign() {
    if (isVertical(align_) && cursor_ == crVSplit) cursor_ = crHSplit;
    if ((align_ == alTop || align_ == alBottom) && cursor_ == crHSplit) cursor_ = crVSplit;
    TCustomControl::RequestAlign();
}

void TSplitter::SetBeveled(bool v) { if (v != beveled_) { beveled_ = v; Invalidate(); } }

void TSplitter::Paint() {
    RECT r = ClientRect();
    canvas_.Brush().SetColor(color_);
    canvas_.FillRect(r);
    if (!beveled_) return;
    if (isVertical(align_)) {
        InflateRect(&r, -1, 2);
    } else {
        InflateRect(&r, 2, -1);
    }
    Frame3D(canvas_, r, clBtnHighlight, clBtnShadow, 1);
}

TControl* TSplitter::ResizedControl() {
    if (!parent_) return nullptr;
    POINT p{left_, top_};
    switch (align_) {
    case alLeft: --p.x; break;
    case alRight: p.x += width_; break;
    case alTop: --p.y; break;
    case alBottom: p.y += height_; break;
    default: return nullptr;
    }
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        TControl* c = parent_->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled()) continue;
        RECT r = c->BoundsRect();
        // A collapsed neighbour still touches the splitter.
        if (r.right == r.left) { if (align_ == alLeft || align_ == alTop) --r.left; else ++r.right; }
        if (r.bottom == r.top) { if (align_ == alLeft || align_ == alTop) --r.top; else ++r.bottom; }
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

POINT TSplitter::toParent(LPARAM lParam) const {
    return POINT{left_ + GET_X_LPARAM(lParam), top_ + GET_Y_LPARAM(lParam)};
}

void TSplitter::onLButtonDown(POINT p) {
    control_ = ResizedControl();
    if (!control_) return;
    const bool vertical = isVertical(align_);
    // The neighbour may grow until the other controls aligned on the same axis and the
    // remaining area keep their room.
    maxSize_ = (vertical ? parent_->ClientWidth() : parent_->ClientHeight()) - minSize_;
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        TControl* c = parent_->Controls(i);
        if (!c->Visible()) continue;
        if (vertical && (c->Align() == alLeft || c->Align() == alRight)) maxSize_ -= c->Width();
        if (!vertical && (c->Align() == alTop || c->Align() == alBottom)) maxSize_ -= c->Height();
    }
    startSize_ = vertical ? control_->Width() : control_->Height();
    maxSize_ += startSize_;
    newSize_ = startSize_;
    downPos_ = p;
    dragging_ = true;
    SetCapture(handle_);
    if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) {
        linePos_ = vertical ? left_ : top_;
        drawLine();
    }
}

int TSplitter::calcNewSize(POINT p) {
    const int delta = isVertical(align_) ? p.x - downPos_.x : p.y - downPos_.y;
    int size = (align_ == alLeft || align_ == alTop) ? startSize_ + delta : startSize_ - delta;
    size = std::min(size, maxSize_);
    size = std::max(size, minSize_);
    bool accept = true;
    if (OnCanResize) OnCanResize(this, size, accept);
    if (!accept) return newSize_;
    if (autoSnap_ && size <= minSize_) size = 0;
    return std::max(0, size);
}

void TSplitter::onMouseMove(POINT p) {
    if (!dragging_ || !control_) return;
    const int size = calcNewSize(p);
    if (size == newSize_) return;
    newSize_ = size;
    switch (resizeStyle_) {
    case rsUpdate:
        applySize(size);
        break;
    case rsLine:
    case rsPattern: {
        drawLine();  // away from the old place
        switch (align_) {
        case alLeft: linePos_ = control_->Left() + size; break;
        case alRight: linePos_ = control_->Left() + control_->Width() - size - width_; break;
        case alTop: linePos_ = control_->Top() + size; break;
        default: linePos_ = control_->Top() + control_->Height() - size - height_; break;
        }
        drawLine();
        break;
    }
    default:
        break;
    }
}

void TSplitter::onLButtonUp(POINT p) {
    if (!dragging_) return;
    onMouseMove(p);
    endDrag(true);
}

void TSplitter::endDrag(bool apply) {
    if (!dragging_) return;
    dragging_ = false;  // first: releasing the capture sends WM_CAPTURECHANGED
    if (lineVisible_) drawLine();
    if (GetCapture() == handle_) ReleaseCapture();
    if (apply && control_ && resizeStyle_ != rsUpdate) applySize(newSize_);
    control_ = nullptr;
}

void TSplitter::applySize(int size) {
    if (!control_ || !parent_) return;
    const int current = isVertical(align_) ? control_->Width() : control_->Height();
    if (size == current) return;
    parent_->DisableAlign();
    switch (align_) {
    case alLeft: control_->SetWidth(size); break;
    case alTop: control_->SetHeight(size); break;
    case alRight: control_->SetBounds(control_->Left() + control_->Width() - size, control_->Top(), size, control_->Height()); break;
    case alBottom: control_->SetBounds(control_->Left(), control_->Top() + control_->Height() - size, control_->Width(), size); break;
    default: break;
    }
    parent_->EnableAlign();
    parent_->Realign();
    parent_->Update();
    if (OnMoved) OnMoved(this);
}

void TSplitter::drawLine() {
    if (!parent_ || !parent_->HandleAllocated()) return;
    HWND parentWnd = parent_->Handle();
    // Drawn over the parent's children too: the bar shows across the controls it divides.
    HDC dc = GetDCEx(parentWnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc) return;
    RECT r = isVertical(align_) ? RECT{linePos_, top_, linePos_ + width_, top_ + height_}
                                : RECT{left_, linePos_, left_ + width_, linePos_ + height_};
    if (resizeStyle_ == rsPattern) {
        static const WORD checker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, checker));
        UniqueBrush brush(bits ? CreatePatternBrush(bits.get()) : nullptr);
        if (brush) {
            SelectGuard sel(dc, brush.get());
            PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
        }
    } else {
        PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, DSTINVERT);
    }
    ReleaseDC(parentWnd, dc);
    lineVisible_ = !lineVisible_;
}

void TSplitter::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        onLButtonDown(toParent(m.LParam));
        m.Result = 0;
        return;
    case WM_MOUSEMOVE:
        onMouseMove(toParent(m.LParam));
        TCustomControl::WndProc(m);
        return;
    case WM_LBUTTONUP:
        onLButtonUp(toParent(m.LParam));
        m.Result = 0;
        return;
    case WM_CAPTURECHANGED:
        endDrag(true);  // capture taken elsewhere: keep what the user dragged so far
        m.Result = 0;
        return;
    case WM_KEYDOWN:
        if (dragging_ && m.WParam == VK_ESCAPE) {
            endDrag(false);
            m.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}
