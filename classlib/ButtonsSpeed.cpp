// The speed button: its published properties, its press, drag and release, its groups,
// and its face painted on the parent's DC.
#include <algorithm>

#include "Buttons.h"
#include "Handles.h"

namespace {
constexpr UINT kCaptionFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The checked look of a button that stays down: face and highlight pixels alternating.
UniqueBrush makeDownBrush() {
    static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, pattern));
    if (!bits) return UniqueBrush();
    return UniqueBrush(CreatePatternBrush(bits.get()));  // the brush keeps its own copy
}
}  // namespace

const TClassInfo& TSpeedButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClassInfo(), [](TClassBuilder<TSpeedButton>& b) {
        b.Creatable();
        b.Object("Glyph", [](TSpeedButton& x) -> TObject* { return &x.Glyph(); });
        b.Int("NumGlyphs", [](TSpeedButton& x) -> int64_t { return x.NumGlyphs(); }, [](TSpeedButton& x, int64_t v) { x.SetNumGlyphs(static_cast<int>(v)); });
        b.Bool("Flat", [](TSpeedButton& x) { return x.Flat(); }, [](TSpeedButton& x, bool v) { x.SetFlat(v); });
        b.Bool("Down", [](TSpeedButton& x) { return x.Down(); }, [](TSpeedButton& x, bool v) { x.SetDown(v); });
        b.Int("GroupIndex", [](TSpeedButton& x) -> int64_t { return x.GroupIndex(); }, [](TSpeedButton& x, int64_t v) { x.SetGroupIndex(static_cast<int>(v)); });
        b.Bool("AllowAllUp", [](TSpeedButton& x) { return x.AllowAllUp(); }, [](TSpeedButton& x, bool v) { x.SetAllowAllUp(v); });
        b.Enum("Layout", ButtonLayoutNames, [](TSpeedButton& x) -> int64_t { return x.Layout(); }, [](TSpeedButton& x, int64_t v) { x.SetLayout(static_cast<TButtonLayout>(v)); });
        b.Int("Margin", [](TSpeedButton& x) -> int64_t { return x.Margin(); }, [](TSpeedButton& x, int64_t v) { x.SetMargin(static_cast<int>(v)); });
        b.Int("Spacing", [](TSpeedButton& x) -> int64_t { return x.Spacing(); }, [](TSpeedButton& x, int64_t v) { x.SetSpacing(static_cast<int>(v)); });
    });
    return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>()) {
    width_ = 23;
    height_ = 22;
    color_ = clBtnFace;
}

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
    glyph_->Assign(glyph);
    if (!glyph_->Empty() && glyph_->Width() % glyph_->Height() == 0) {
        const int cells = glyph_->Width() / glyph_->Height();
        if (cells >= 1 && cells <= 4) numGlyphs_ = cells;
    }
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int n) {
    n = std::max(1, std::min(4, n));
    if (n != numGlyphs_) { numGlyphs_ = n; Invalidate(); }
}

void TSpeedButton::SetFlat(bool v) { if (v != flat_) { flat_ = v; Invalidate(); } }
void TSpeedButton::SetLayout(TButtonLayout l) { if (l != layout_) { layout_ = l; Invalidate(); } }
void TSpeedButton::SetMargin(int m) { m = std::max(-1, m); if (m != margin_) { margin_ = m; Invalidate(); } }
void TSpeedButton::SetSpacing(int s) { s = std::max(-1, s); if (s != spacing_) { spacing_ = s; Invalidate(); } }

void TSpeedButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;  // only a button of a group stays down
    if (v == down_) return;
    if (down_ && !allowAllUp_) return;  // the down button of a group stays until another goes down
    down_ = v;
    Invalidate();
    if (v) updateExclusive();
}

void TSpeedButton::SetGroupIndex(int v) {
    if (v == groupIndex_) return;
    groupIndex_ = v;
    if (v == 0 && down_) { down_ = false; Invalidate(); }
    updateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v) {
    if (v == allowAllUp_) return;
    allowAllUp_ = v;
    updateExclusive();
}

void TSpeedButton::updateExclusive() {
    if (groupIndex_ == 0 || !parent_) return;
    for (int i = 0; i < parent_->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TSpeedButton*>(parent_->Controls(i)); other && other != this)
            other->onButtonPressed(*this);
}

void TSpeedButton::onButtonPressed(TSpeedButton& sender) {
    if (sender.groupIndex_ != groupIndex_) return;
    if (sender.down_ && down_) {
        down_ = false;
        Invalidate();
    }
    allowAllUp_ = sender.allowAllUp_;
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !enabled_) return;
    dragging_ = true;
    pressedLook_ = true;
    Invalidate();
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    const bool inside = x >= 0 && x < width_ && y >= 0 && y < height_;
    if (inside != pressedLook_) {
        pressedLook_ = inside;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !dragging_) return;
    dragging_ = false;
    pressedLook_ = false;
    const bool click = x >= 0 && x < width_ && y >= 0 && y < height_;
    if (click && groupIndex_ != 0) SetDown(!down_);
    Invalidate();
    if (click) Click();
}

void TSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        mouseInControl_ = m.Msg == CM_MOUSEENTER;
        if (flat_ && enabled_) Invalidate();
        break;
    case WM_CANCELMODE:
        // The press was cut off (the capture went elsewhere): no click follows.
        if (dragging_) {
            dragging_ = false;
            pressedLook_ = false;
            Invalidate();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (!enabled_) dragging_ = pressedLook_ = false;
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

TSpeedButton::Face TSpeedButton::face() const {
    if (dragging_ && pressedLook_) return Face::Pressed;
    if (down_) return Face::Down;
    return Face::Up;
}

void TSpeedButton::Paint() {
    HDC dc = canvas_.Handle();
    if (!dc || width_ <= 0 || height_ <= 0) return;
    const Face look = face();
    RECT r{0, 0, width_, height_};
    {
        UniqueBrush back(CreateSolidBrush(ColorToRGB(color_)));
        if (back) FillRect(dc, &r, back.get());
    }
    const bool sunk = look != Face::Up;
    if (!flat_) {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunk ? DFCS_PUSHED : 0) | DFCS_ADJUSTRECT);
        UniqueBrush face(CreateSolidBrush(ColorToRGB(color_)));
        if (face) FillRect(dc, &r, face.get());
    } else if (sunk || (mouseInControl_ && enabled_)) {
        DrawEdge(dc, &r, sunk ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
    if (look == Face::Down) {
        if (UniqueBrush checked = makeDownBrush()) {
            SetTextColor(dc, ColorToRGB(clBtnFace));
            SetBkColor(dc, ColorToRGB(clBtnHighlight));
            FillRect(dc, &r, checked.get());
        }
    }

    const std::string caption = Text();
    SelectGuard font(dc, font_.Handle());
    SIZE textSize{0, 0};
    if (!caption.empty()) {
        RECT measured{0, 0, width_, 0};
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, kCaptionFlags | DT_CALCRECT);
        textSize = SIZE{measured.right - measured.left, measured.bottom - measured.top};
    }
    SIZE glyphSize{0, 0};
    if (!glyph_->Empty()) glyphSize = SIZE{glyph_->Width() / numGlyphs_, glyph_->Height()};
    RECT client{0, 0, width_, height_};
    if (sunk) OffsetRect(&client, 1, 1);
    const TButtonLayoutResult place = CalcButtonLayout(client, glyphSize, textSize, layout_, margin_, spacing_);
    if (glyphSize.cx > 0) {
        int cell = 1;
        if (!enabled_) cell = 2;
        else if (look == Face::Pressed) cell = 3;
        else if (look == Face::Down) cell = 4;
        const bool emboss = cell == 2 && numGlyphs_ < 2;
        if (cell > numGlyphs_) cell = 1;
        DrawButtonGlyph(dc, *glyph_, numGlyphs_, place.glyphPos, cell, emboss);
    }
    if (!caption.empty()) {
        RECT tr = place.textRect;
        SetBkMode(dc, TRANSPARENT);
        if (!enabled_) {
            OffsetRect(&tr, 1, 1);
            SetTextColor(dc, ColorToRGB(clBtnHighlight));
            DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, kCaptionFlags);
            OffsetRect(&tr, -1, -1);
            SetTextColor(dc, ColorToRGB(clBtnShadow));
        } else {
            SetTextColor(dc, ColorToRGB(font_.Color()));
        }
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, kCaptionFlags);
    }
}
