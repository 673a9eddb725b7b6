// The plain push-button skin and the drop-down button skin: their message filters, their
// painters, the state-to-cell and caption-colour tables every push-button painter shares,
// and the factory's choice between a plain and a glyph button.  Glyph buttons and their
// layout are in WinSubClassButtonsGlyph.cpp, speed buttons in WinSubClassButtonsSpeed.cpp.
#include "WinSubClassButtons.h"

#include <algorithm>

#include "Bitmap.h"
#include "Handles.h"
#include "SkinPrimitives.h"
#include "Texts.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "WinSubClassButtons_impl.h"

using namespace buttonskin;
using texts::LowerCase;

namespace buttonskin {

std::wstring ReplaceFirstBars(const std::wstring& text) {
    const size_t at = text.find(L"||");
    if (at == std::wstring::npos) return text;
    return text.substr(0, at) + L"\r\n" + text.substr(at + 2);
}

bool PropIsTrue(TObject* object, const char* name) { return LowerCase(GetEnumPropByName(object, name)) == "true"; }

}  // namespace buttonskin

// ---- tables ------------------------------------------------------------------------

int ButtonFaceCell(TButtonFaceKind kind, const TButtonFaceState& s) {
    switch (kind) {
    case TButtonFaceKind::Push:
        if (s.disabled) return 3;
        if (s.pressed) return 2;
        if (s.hot) return 4;
        if (s.focused) return 5;
        return 1;
    case TButtonFaceKind::Menu:
        if (s.disabled) return 3;
        if (s.pressed) return 2;
        if (s.hot || s.focused) return 4;
        return 1;
    case TButtonFaceKind::Speed:
        if (s.down) return 2;
        if (s.disabled) return 3;
        if (s.pressed) return 2;
        if (s.hot) return 4;
        return 1;
    }
    return 1;
}

int GlyphCellOfFace(int face, bool down) {
    if (down) return 4;
    if (face == 2) return 3;
    if (face == 3) return 2;
    return 1;
}

TColor ButtonCaptionColour(const TDataSkinButton* part, int face, bool disabled, TColor base) {
    if (disabled) return clBtnShadow;
    if (!part) return base;
    if (face == 1 && part->HasNormalColour2) return part->NormalColour2;
    if (face == 4 && part->HasMouseOverColour2) return part->MouseOverColour2;
    if (face == 2 && part->HasPressedColour2) return part->PressedColour2;
    return base;
}

TButtonLayout LayoutOfName(const std::string& name) {
    const std::string n = LowerCase(name);
    if (n == "blglyphright") return blGlyphRight;
    if (n == "blglyphtop") return blGlyphTop;
    if (n == "blglyphbottom") return blGlyphBottom;
    return blGlyphLeft;
}

TSkinControl* NewPushButtonSkin(TComponent* owner) {
    // The glyph button is a push button to the dispatch (it descends from TButton), but
    // a plain push-button skin would paint over its glyph.
    if (owner && owner->InheritsFrom("TBitBtn")) return new TSkinBitButton(owner);
    return new TSkinButton(owner);
}

TSkinControl* NewBitButtonSkin(TComponent* owner, int variant) {
    auto* skin = new TSkinBitButton(owner);
    if (variant == 1) skin->GraphicProperty = "PngImage";
    return skin;
}

// ---- TSkinButton ---------------------------------------------------------------------

const TClassInfo& TSkinButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinButton>("TSkinButton", &TSkinControl::StaticClassInfo(),
                                                               [](TClassBuilder<TSkinButton>&) {});
    return info;
}

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner), FaceBitmap(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

void TSkinButton::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    Mode = 0;
    if (Host) {
        const std::string name = LowerCase(Host->ClassName());
        if (name.rfind("trz", 0) == 0 || name.rfind("tel", 0) == 0) Mode = 1;
    }
    TransparentBack = (Host && Host->Tag() == kTransparentBackTag) ||
                      (SkinData && (SkinData->Options & SkinBit(xoTransparent)) != 0);
}

TDataSkinButton* TSkinButton::ButtonPart() const {
    if (!SkinData || !SkinData->Buttons) return nullptr;
    TDataSkinButton* part = SkinData->Buttons.get();
    return part->Image.Empty() ? nullptr : part;
}

bool TSkinButton::BeforeMessage(TMessage& m) {
    // Without an image to draw from, the button keeps its own look and its own input:
    // consuming the paint would leave stale pixels, consuming the press would leave the
    // native pressed look out.
    if (!ButtonPart()) return TSkinControl::BeforeMessage(m);
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:  // captures and parents painting their children take this road
        HandlePaint(m);
        m.Result = 0;
        return false;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    case WM_TIMER:
        if (Handle) KillTimer(Handle, 1);
        m.Result = 0;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Handle && GetFocus() != Handle) SetFocus(Handle);
        MouseState |= msPressed;
        PaintWindow(nullptr);
        if (Mode == 0 && Host) ForwardMouseDown(m);
        m.Result = 0;
        return false;
    default:
        return TSkinControl::BeforeMessage(m);
    }
}

void TSkinButton::click() {
    if (Host) {
        Host->Click();  // may free the form, and this skin with it: nothing after it
        return;
    }
    if (!Handle) return;
    const WPARAM id = LowerCase(GetWindowClassName(Handle)) == "tbutton"
                          ? 0
                          : static_cast<WPARAM>(static_cast<UINT>(GetDlgCtrlID(Handle)) & 0xFFFF);
    PostMessageA(GetParent(Handle), WM_COMMAND, id, reinterpret_cast<LPARAM>(Handle));
}

void TSkinButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SETTEXT:
        PaintWindow(nullptr);
        return;
    case WM_KEYDOWN:
        if (m.WParam == VK_SPACE) {
            MouseState |= msPressed;
            Redraw();
        }
        return;
    case WM_KEYUP:
        if (m.WParam == VK_SPACE) {
            MouseState &= static_cast<uint8_t>(~msPressed);
            Redraw();
        }
        return;
    case WM_MOUSEMOVE:
        if (Handle && IsWindowEnabled(Handle) && !(MouseState & msHot)) {
            MouseState |= msHot;
            Redraw();
        }
        if (Handle) SkinTrackMouseLeave(Handle);
        return;
    case WM_LBUTTONUP:
        if (MouseState & msPressed) {
            MouseState &= static_cast<uint8_t>(~msPressed);
            Redraw();
            click();
        }
        return;
    case WM_MOUSELEAVE:
        MouseState &= static_cast<uint8_t>(~(msHot | msPressed));
        Redraw();
        return;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Redraw();
        return;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
        // The platform's button paints itself straight away on these (not through
        // WM_PAINT): the skin goes back over it.
        if (ButtonPart()) PaintWindow(nullptr);
        return;
    default:
        TSkinControl::AfterMessage(m);
        return;
    }
}

void TSkinButton::readState() {
    Focused = Handle && GetFocus() == Handle;
    Enabled = Handle && (GetWindowLongA(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    Caption = Host ? GetTextPropByName(Host, "Caption") : (Handle ? ReadWindowText(Handle) : std::wstring());
}

TButtonFaceState TSkinButton::faceState() const {
    TButtonFaceState s;
    s.disabled = !Enabled;
    s.pressed = (MouseState & msPressed) != 0;
    s.hot = (MouseState & msHot) != 0;
    s.focused = Focused;
    return s;
}

HDC TSkinButton::prepareFace(const RECT& rect) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return nullptr;
    FaceBitmap->SetSize(w, h);
    HDC mem = FaceBitmap->Empty() ? nullptr : FaceBitmap->Canvas().Handle();
    if (!mem) return nullptr;
    const RECT r{0, 0, w, h};
    if (TransparentBack && Host) PaintParentBackground(Host, mem);
    else FillSkinColor(mem, r);
    return mem;
}

HFONT TSkinButton::windowFont() const {
    HFONT font = Handle ? reinterpret_cast<HFONT>(SendMessageA(Handle, WM_GETFONT, 0, 0)) : nullptr;
    // A window that was never given a font draws with the system font itself.
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

bool TSkinButton::focusRectWanted() const {
    return Focused && !(SkinData && (SkinData->Options & SkinBit(xoNoFocusRect)) != 0);
}

void TSkinButton::DrawCaption(HDC dc, const RECT& r, UINT flags) {
    Caption = ReplaceFirstBars(Caption);
    RECT w = r;
    InflateRect(&w, -2, -2);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SkinDrawText(dc, Caption, w, flags | DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    const int tw = w.right - w.left, th = w.bottom - w.top;
    w = RECT{0, 0, tw, th};
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    if (flags == DT_CENTER) {
        OffsetRect(&w, r.left + (rw - tw) / 2, r.top + (rh - th) / 2 - 1);
    } else {
        OffsetRect(&w, 0, r.top + (rh - th) / 2 - 1);
        w.left = r.left;
        w.right = r.right;
    }
    SkinDrawText(dc, Caption, w, BiDiFlags(flags | DT_WORDBREAK | DT_EXPANDTABS));
    SetBkMode(dc, oldMode == TRANSPARENT ? TRANSPARENT : OPAQUE);
    if (focusRectWanted()) {
        InflateRect(&w, 2, 2);
        DrawFocusRect(dc, &w);
    }
}

void TSkinButton::Paint(HDC dc, const RECT& rect) {
    TDataSkinButton* part = ButtonPart();
    if (!part || !dc) return;
    readState();
    const int face = ButtonFaceCell(TButtonFaceKind::Push, faceState());
    HDC mem = prepareFace(rect);
    if (!mem) return;
    const RECT r{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    DrawSkinFace(mem, r, part->Frame, face, part);

    HFONT font = nullptr;
    TColor base = SkinData->Colours.ButtonText;
    if (Host) {
        if (auto* f = static_cast<TFont*>(GetObjectPropByName(Host, "Font", TFont::StaticClassInfo()))) {
            font = f->Handle();
            base = f->Color();
        }
    } else {
        font = windowFont();
    }
    SelectGuard selected(mem, font);
    SetTextColor(mem, ColorToRGB(ButtonCaptionColour(part, face, !Enabled, base)));
    DrawCaption(mem, r, DT_CENTER);
    BitBlt(dc, rect.left, rect.top, r.right, r.bottom, mem, 0, 0, SRCCOPY);
}

// ---- TSkinMenuButton -----------------------------------------------------------------

const TClassInfo& TSkinMenuButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinMenuButton>("TSkinMenuButton", &TSkinButton::StaticClassInfo(),
                                                                   [](TClassBuilder<TSkinMenuButton>&) {});
    return info;
}

void TSkinMenuButton::Paint(HDC dc, const RECT& rect) {
    TDataSkinButton* part = ButtonPart();
    if (!part || !dc) return;
    readState();
    const int face = ButtonFaceCell(TButtonFaceKind::Menu, faceState());
    HDC mem = prepareFace(rect);
    if (!mem) return;
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    const RECT r{0, 0, W, H};
    DrawSkinFace(mem, r, part->Frame, face, part);

    HFONT font = windowFont();
    TColor base = SkinData->Colours.ButtonText;
    if (Host) {
        if (auto* f = static_cast<TFont*>(GetObjectPropByName(Host, "Font", TFont::StaticClassInfo()))) {
            font = f->Handle();
            base = f->Color();
        }
    }
    SelectGuard selected(mem, font);

    Caption = ReplaceFirstBars(Caption);
    RECT area{0, 0, W - 17, H};
    InflateRect(&area, -2, -2);
    SIZE text{0, 0};
    if (!Caption.empty()) {
        RECT m = area;
        SkinDrawText(mem, Caption, m, DT_WORDBREAK | DT_CALCRECT);
        text = SIZE{m.right - m.left, m.bottom - m.top};
    }
    RECT tr{(W - 17 - text.cx) / 2 + 2, (H - text.cy + 1) / 2, 0, 0};
    tr.right = tr.left + text.cx;
    tr.bottom = tr.top + text.cy;

    const TColor captionColour = ButtonCaptionColour(part, face, !Enabled, base);
    const TColor arrowColour = Enabled ? clWindowText : clBtnShadow;
    {
        UniqueBrush brush(CreateSolidBrush(ColorToRGB(arrowColour)));
        UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(arrowColour)));
        SelectGuard b(mem, brush.get());
        SelectGuard p(mem, pen.get());
        const POINT arrow[3] = {{W - 12, H / 2 + 2}, {W - 15, H / 2 - 1}, {W - 9, H / 2 - 1}};
        Polygon(mem, arrow, 3);
    }
    SetTextColor(mem, ColorToRGB(captionColour));
    const int oldMode = SetBkMode(mem, TRANSPARENT);
    if (!Caption.empty()) SkinDrawText(mem, Caption, tr, DT_WORDBREAK);
    SetBkMode(mem, oldMode);
    if (focusRectWanted() && !Caption.empty()) {
        RECT fr = tr;
        InflateRect(&fr, 2, 2);
        DrawFocusRect(mem, &fr);
    }
    BitBlt(dc, rect.left, rect.top, W, H, mem, 0, 0, SRCCOPY);
}
