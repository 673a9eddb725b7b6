// The speed-button skin: a control without a window.  Its parent hands it WM_PAINT with
// the parent's DC (origin at the control), the mouse, and the enter and leave notices; the
// skin hooks the control's WindowProc (TWindowProcHook) and runs its own filter around
// the control's handling, since there is no window procedure to call on.
#include <algorithm>

#include "Bitmap.h"
#include "GraphicControls.h"
#include "Handles.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WindowProcHook.h"
#include "WinSubClassButtons.h"
#include "WinSubClassButtons_impl.h"

using namespace buttonskin;

const TClassInfo& TSkinSpeedButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinSpeedButton>(
        "TSkinSpeedButton", &TSkinBitButton::StaticClassInfo(), [](TClassBuilder<TSkinSpeedButton>&) {});
    return info;
}

TSkinSpeedButton::TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}

TSkinSpeedButton::~TSkinSpeedButton() { releaseHost(); }

void TSkinSpeedButton::releaseHost() {
    if (graphicHook_) graphicHook_->Restore();
}

bool TSkinSpeedButton::AttachGraphic(TWinSkinForm* formSkin, TSkinData* skinData, TCanvas* canvas) {
    if (Attached()) return true;
    auto* host = dynamic_cast<TGraphicControl*>(Owner());
    if (!host) return false;
    SkinData = skinData;
    Canvas = canvas;
    GraphicHost = host;
    FormSkin = formSkin;
    graphicHook_ = std::make_unique<TWindowProcHook>(
        *host, [this](TMessage& m, const TWndMethod& previous) { hostWndProc(m, previous); });
    if (FormSkin) FormSkin->AddSkinControl(this);
    Lifecycle = lcAttached;
    TransparentBack = host->Tag() == kTransparentBackTag ||
                      (SkinData && (SkinData->Options & SkinBit(xoTransparent)) != 0);
    host->Invalidate();
    return true;
}

void TSkinSpeedButton::hostWndProc(TMessage& m, const TWndMethod& previous) {
    const std::weak_ptr<int> alive = lifeToken_;
    const TWndMethod* outer = previous_;
    previous_ = &previous;
    struct Restore {
        const std::weak_ptr<int>& alive;
        const TWndMethod*& slot;
        const TWndMethod* value;
        ~Restore() {
            if (!alive.expired()) slot = value;
        }
    } restore{alive, previous_, outer};
    if (m.Msg == WM_SKINENABLE) {
        SetActive(static_cast<INT_PTR>(m.WParam) > 0);
        if (Active()) Redraw();
        return;
    }
    if (!Active()) {
        callHost(m);
        return;
    }
    if (!BeforeMessage(m) || alive.expired()) return;
    callHost(m);
    if (alive.expired()) return;  // the control's own handling freed it (a click handler)
    AfterMessage(m);
}

void TSkinSpeedButton::callHost(TMessage& m) {
    if (previous_ && *previous_) (*previous_)(m);
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
    // Without an image the control paints itself and takes its input as it always does.
    if (!ButtonPart()) return TSkinControl::BeforeMessage(m);
    switch (m.Msg) {
    case WM_PAINT:
        paintHostCanvas(m);
        m.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const std::weak_ptr<int> alive = lifeToken_;
        callHost(m);  // the control presses itself (capture, drag, click on release)
        if (alive.expired()) return false;
        MouseState |= msPressed;
        PaintWindow(nullptr);
        return false;
    }
    case WM_LBUTTONUP:
        return true;
    default:
        return TSkinButton::BeforeMessage(m);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
        return;  // the control invalidates itself
    case CM_RELEASE:
        releaseHost();
        return;
    case WM_KEYDOWN:
        if (m.WParam == VK_SPACE) {
            MouseState |= msPressed;
            PaintWindow(nullptr);
        }
        return;
    case WM_KEYUP:
    case WM_LBUTTONUP:
        if (m.Msg == WM_LBUTTONUP || m.WParam == VK_SPACE) {
            MouseState &= static_cast<uint8_t>(~msPressed);
            PaintWindow(nullptr);
        }
        return;
    case CM_MOUSEENTER:
        MouseState |= msHot;
        PaintWindow(nullptr);
        return;
    case CM_MOUSELEAVE:
        MouseState &= static_cast<uint8_t>(~(msHot | msPressed));
        if (GraphicHost && GraphicHost->Visible()) PaintWindow(nullptr);
        return;
    default:
        TSkinButton::AfterMessage(m);
        return;
    }
}

void TSkinSpeedButton::paintHostCanvas(TMessage& m) {
    if (!GraphicHost) return;
    const RECT r{0, 0, GraphicHost->Width(), GraphicHost->Height()};
    // The parent's DC, its origin already at the control (PaintControls).
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) PaintGraphic(dc, r);
}

void TSkinSpeedButton::PaintWindow(HDC) {
    if (!GraphicHost || !ButtonPart()) return;
    const RECT r{0, 0, GraphicHost->Width(), GraphicHost->Height()};
    TControlCanvas& canvas = GraphicHost->Canvas();
    canvas.Lock();
    try {
        if (HDC dc = canvas.Handle()) PaintGraphic(dc, r);
    } catch (...) {
        // Skin painting never fails loudly; the control's next paint draws it again.
    }
    canvas.Unlock();
}

void TSkinSpeedButton::PaintGraphic(HDC dc, const RECT& rect) {
    TDataSkinButton* part = ButtonPart();
    if (!part || Painting || !GraphicHost || !dc) return;
    Painting = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{Painting};

    TControl* host = GraphicHost;
    Enabled = PropIsTrue(host, "Enabled");
    Focused = false;
    const bool down = PropIsTrue(host, "Down");
    TButtonFaceState state;
    state.disabled = !Enabled;
    state.pressed = (MouseState & msPressed) != 0;
    state.hot = (MouseState & msHot) != 0;
    state.down = down;
    const int face = ButtonFaceCell(TButtonFaceKind::Speed, state);
    const int glyphCell = GlyphCellOfFace(face, down);
    Caption = GetTextPropByName(host, "Caption");
    auto* font = static_cast<TFont*>(GetObjectPropByName(host, "Font", TFont::StaticClassInfo()));
    auto* glyph = static_cast<TBitmap*>(GetObjectPropByName(host, "Glyph", TBitmap::StaticClassInfo()));
    const int numGlyphs = std::max(GetIntPropByName(host, "NumGlyphs"), 1);  // missing or 0: one cell
    const bool flat = PropIsTrue(host, "Flat");
    const int margin = GetIntPropByName(host, "Margin");
    const int spacing = GetIntPropByName(host, "Spacing");
    const TButtonLayout layout = LayoutOfName(GetEnumPropByName(host, "Layout"));

    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (W < 1 || H < 1) return;
    FaceBitmap->SetSize(W, H);
    HDC mem = FaceBitmap->Empty() ? nullptr : FaceBitmap->Canvas().Handle();
    if (!mem) return;
    const RECT r{0, 0, W, H};
    if (TransparentBack) PaintParentBackground(host, mem);
    else FillSkinColor(mem, r);
    // A flat button shows its face only under the pointer or pressed.
    if (face == 2 || face == 4 || !flat) DrawSkinFace(mem, r, part->Frame, face, part);

    SelectGuard selected(mem, font ? font->Handle() : nullptr);
    SetTextColor(mem, ColorToRGB(ButtonCaptionColour(part, face, !Enabled,
                                                     font ? font->Color() : SkinData->Colours.ButtonText)));
    SIZE glyphSize{0, 0};
    if (glyph && !glyph->Empty()) glyphSize = SIZE{glyph->Width() / numGlyphs, glyph->Height()};
    if (glyphSize.cx > 0 && glyphSize.cy > 0) {
        Caption = ReplaceFirstBars(Caption);
        const SIZE text = MeasureCaption(mem, Caption, GlyphTextBounds(W, H, glyphSize, layout));
        const TGlyphPlacement place =
            CalcGlyphLayout(W, H, glyphSize, text, layout, margin, spacing, false);
        DrawGlyph(mem, place.glyph, numGlyphs, glyphCell, *glyph);
        if (!Caption.empty()) {
            const int oldMode = SetBkMode(mem, TRANSPARENT);
            RECT tr = place.text;
            SkinDrawText(mem, Caption, tr, BiDiFlags(place.flags));
            SetBkMode(mem, oldMode);
        }
    } else {
        DrawCaption(mem, r, DT_CENTER);
    }
    BitBlt(dc, rect.left, rect.top, W, H, mem, 0, 0, SRCCOPY);
}
