// The control-skin base: attaching to a class-library control (its WindowProc, through a
// TWindowProcHook) or to a raw child window (subclassed through SubclassedWindow), the
// message path every control skin shares, detaching, and the property access by name.
// The shared drawing helpers are in WinSubClassDraw.cpp; which skin a control gets is the
// dispatch's business.
#include "WinSubClass.h"

#include <cstdlib>

#include "GraphicControls.h"
#include "SkinPrimitives.h"
#include "Texts.h"
#include "TypInfo.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WindowProcHook.h"

const TClassInfo& TSkinControl::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinControl>("TSkinControl", &TComponent::StaticClassInfo(), [](TClassBuilder<TSkinControl>&) {});
    return info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
    // No Unskin here: a skin freed without it leaves the host's colour as the skin set it.
    Release();
    if (FormSkin) FormSkin->RemoveSkinControl(this);
    lifeToken_.reset();
}

TSkinControl* TSkinControl::OfWindow(HWND window) {
    return SubclassedWindow::OwnerOf<TSkinControl>(window, SubclassKind::ControlSkin);
}

// ---- attaching and detaching ----------------------------------------------------------

void TSkinControl::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    if (Attached() || hook_) return;
    auto* host = dynamic_cast<TWinControl*>(Owner());
    if (!host) return;
    SetColor = setColor;
    SkinData = skinData;
    FormSkin = formSkin;
    Canvas = canvas;
    Host = host;
    Handle = host->Handle();
    hook_ = std::make_unique<TWindowProcHook>(*host, [this](TMessage& message, const TWndMethod& previous) {
        const TWndMethod* outer = previous_;
        previous_ = &previous;
        const std::weak_ptr<int> alive = lifeToken_;
        try {
            SkinWndProc(message);
        } catch (...) {
            if (!alive.expired()) previous_ = outer;
            throw;  // the class library's window procedure reports it at its boundary
        }
        if (!alive.expired()) {
            previous_ = outer;
            if (message.Msg == WM_NCDESTROY) Lifecycle = lcDestroyed;
        }
    });
    if (FormSkin) FormSkin->AddSkinControl(this);
    if (SetColor) {
        SwitchParentBackground(true);
        SavedColor = host->Color();
        host->SetColor(SkinButtonFace());
    }
    if (ParentBackgroundWasTrue) Mode = 1;
    host->Invalidate();
    Lifecycle = lcAttached;
}

void TSkinControl::AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    if (Attached() || thunk_.Installed() || !handle || !IsWindow(handle)) return;
    SkinData = skinData;
    Canvas = canvas;
    FormSkin = formSkin;
    Handle = handle;
    Enabled = true;
    Mode = 0;
    if (FormSkin) FormSkin->AddSkinControl(this);
    Caption = ReadWindowText(Handle);

    // A window subclassed by a skin before (even one whose link could not be taken out)
    // never gets a second one.
    if (!thunk_.Install(Handle)) return;
    InvalidateRect(Handle, nullptr, TRUE);
    Lifecycle = lcAttached;
}

void TSkinControl::Release() {
    if (hook_) {
        // The hook takes itself out of the host's WindowProc chain, or leaves a link that
        // only passes messages on when someone hooked the host after us.
        hook_->Restore();
        hook_.reset();
    }
    thunk_.Restore();
}

void TSkinControl::Unskin() {
    if (!SetColor || !Host) return;
    SwitchParentBackground(false);
    Host->SetColor(SavedColor);
}

void TSkinControl::UpdateSkin() {
    if (SetColor && Host) Host->SetColor(SkinButtonFace());
    Redraw();
}

// ---- the message path -------------------------------------------------------------------

void TSkinControl::SkinWndProc(TMessage& message) {
    if (message.Msg == WM_SKINENABLE) {
        SetActive(static_cast<INT_PTR>(message.WParam) > 0);
        if (Active()) Redraw();
        return;
    }
    if (!Active()) {
        CallDefault(message);
        return;
    }
    const std::weak_ptr<int> alive = lifeToken_;
    if (!BeforeMessage(message) || alive.expired()) return;
    CallDefault(message);
    // The window's own procedure may have freed the skin (its host went in a handler).
    if (alive.expired()) return;
    AfterMessage(message);
}

void TSkinControl::CallDefault(TMessage& message) {
    if (Host) {
        if (previous_ && *previous_) (*previous_)(message);
        else Host->WndProc(message);
        return;
    }
    // The message goes on in the form it came: a Unicode window's wide text stays wide.
    if (thunk_.Previous() || (Handle && !WindowGone()))
        message.Result = CallProcedure(thunk_.Unicode(), thunk_.Previous(), Handle, message.Msg, message.WParam,
                                       message.LParam);
}

bool TSkinControl::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCDESTROY: {
        // The window's own procedure sees its end before the skin marks itself dead.
        const std::weak_ptr<int> alive = lifeToken_;
        CallDefault(message);
        if (alive.expired()) return false;
        Lifecycle = lcDestroyed;
        Unskin();
        return false;
    }
    case WM_SKINQUERY: message.Result = 1; return false;
    default: return true;
    }
}

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED: Redraw(); break;
    case WM_PAINT: PaintWindow(reinterpret_cast<HDC>(message.WParam)); break;
    default: break;
    }
}

void TSkinControl::PaintWindow(HDC dc) {
    if (!Handle || WindowGone()) return;
    RECT r{};
    if (!GetWindowRect(Handle, &r)) return;
    try {
        WindowRect = r;
        const RECT local{0, 0, r.right - r.left, r.bottom - r.top};
        if (dc) {
            Paint(dc, local);
        } else {
            WindowDcGuard windowDc(Handle, true);
            if (windowDc.get()) Paint(windowDc.get(), local);
        }
    } catch (...) {
        // A failed paint leaves the window as its own procedure painted it.
    }
}

void TSkinControl::Redraw() {
    if (GraphicHost) {
        GraphicHost->Invalidate();
        return;
    }
    if (!Handle || WindowGone()) return;
    InvalidateRect(Handle, nullptr, TRUE);
    UpdateWindow(Handle);
}

void TSkinControl::SendMouseLeave() {
    if (Handle && !WindowGone()) SendMessageA(Handle, CM_MOUSELEAVE, 0, 0);
}

// ---- helpers for the subclasses ---------------------------------------------------------

void TSkinControl::SwitchParentBackground(bool on) {
    if (!Host) return;
    if (SkinData && (SkinData->Options & SkinBit(xoParentBackGround))) return;
    if (!GetPropInfo(*Host, "ParentBackground")) return;
    if (on) {
        ParentBackgroundWasTrue = texts::LowerCase(GetEnumPropByName(Host, "ParentBackground")) == "true";
        if (ParentBackgroundWasTrue) SetPropByName(Host, "ParentBackground", "False");
    } else if (ParentBackgroundWasTrue) {
        SetPropByName(Host, "ParentBackground", "True");
    }
}

TColor TSkinControl::GetParentColor(TColor fallback) const {
    if (!Host || !Host->Parent()) return fallback;
    return Host->Parent()->Color();
}

LONG_PTR TSkinControl::WindowLong(HWND handle, int index) const {
    return IsWindowUnicode(handle) ? GetWindowLongPtrW(handle, index) : GetWindowLongPtrA(handle, index);
}

TColor TSkinControl::SkinButtonFace() const { return SkinData ? SkinData->Colours.ButtonFace : clBtnFace; }

void TSkinControl::FillSkinColor(HDC dc, const RECT& rect) const { FillRectColor(dc, rect, ColorToRGB(SkinButtonFace())); }

void TSkinControl::FillParentColor(HDC dc, const RECT& rect) const {
    FillRectColor(dc, rect, ColorToRGB(GetParentColor(SkinButtonFace())));
}

void TSkinControl::DrawCaptionFocus(HDC dc, const RECT& rect, UINT flags) {
    if (!dc) return;
    RECT m = rect;
    SkinDrawText(dc, Caption, m, flags | DT_CALCRECT | DT_NOCLIP);
    const int w = m.right - m.left, h = m.bottom - m.top;
    const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
    if (flags & DT_CENTER) OffsetRect(&m, (rw - w) / 2, (rh - h) / 2 - 1);
    else if (flags & DT_RIGHT) OffsetRect(&m, rw - w, 0);
    InflateRect(&m, 2, 1);
    if (m.left < rect.left) m.left = rect.left;
    if (m.top < rect.top) m.top = rect.top;
    if (m.right > rect.right) m.right = rect.right;
    if (m.bottom > rect.bottom) m.bottom = rect.bottom;
    DrawFocusRect(dc, &m);
}

void TSkinControl::ForwardMouseDown(const TMessage& message) {
    if (!Host) return;
    POINT p{};
    if (Host->Width() > 0x8000 || Host->Height() > 0x8000) {
        // Beyond 16 bits the coordinates in lParam wrap: ask the cursor instead.
        GetCursorPos(&p);
        p = Host->ScreenToClient(p);
    } else {
        p.x = static_cast<short>(LOWORD(message.LParam));
        p.y = static_cast<short>(HIWORD(message.LParam));
    }
    Host->MouseDown(mbLeft, KeysToShiftState(LOWORD(message.WParam)), p.x, p.y);
}

// ---- free functions -----------------------------------------------------------------------

bool IsPopupWindow(HWND window) {
    if (!window) return false;
    if (GetWindowLongPtrA(window, GWL_STYLE) & WS_POPUP) return true;
    // The desktop window is whatever handle the system gives it, never a fixed number.
    return GetParent(window) == GetDesktopWindow();
}

void CopyBitmap(TBitmap& source, TBitmap& dest) {
    dest.SetPixelFormat(source.PixelFormat());
    dest.SetSize(source.Width(), source.Height());
    if (source.Empty() || dest.Empty()) return;
    HDC from = source.Canvas().Handle();
    HDC to = dest.Canvas().Handle();
    if (from && to) BitBlt(to, 0, 0, source.Width(), source.Height(), from, 0, 0, SRCCOPY);
}

std::wstring ReadWindowText(HWND window) { return ReadCaptionText(window); }

void FillRectColor(HDC dc, const RECT& rect, COLORREF colour) {
    if (!dc) return;
    UniqueBrush brush(CreateSolidBrush(colour));
    if (brush) FillRect(dc, &rect, brush.get());
}

// ---- published properties by name --------------------------------------------------------

namespace {

const TPropInfo* propOf(TObject* object, const std::string& name) {
    return object ? GetPropInfo(*object, name) : nullptr;
}

}  // namespace

int GetIntPropByName(TObject* object, const std::string& name) {
    const TPropInfo* prop = propOf(object, name);
    if (!prop || prop->Kind != TTypeKind::tkInteger || !prop->Get) return -1;
    const TValue value = prop->Get(*object);
    const auto* number = std::get_if<int64_t>(&value);
    return number ? static_cast<int>(*number) : -1;
}

std::string GetEnumPropByName(TObject* object, const std::string& name) {
    const TPropInfo* prop = propOf(object, name);
    if (!prop || prop->Kind != TTypeKind::tkEnumeration || !prop->Get) return {};
    const TValue value = prop->Get(*object);
    const auto* ordinal = std::get_if<int64_t>(&value);
    if (!ordinal) return {};
    const TEnumNames* names = prop->Names ? prop->Names : &BooleanNames;
    return names->NameOf(*ordinal);
}

std::wstring GetTextPropByName(TObject* object, const std::string& name) {
    const TPropInfo* prop = propOf(object, name);
    if (!prop || prop->Kind != TTypeKind::tkString || !prop->Get) return {};
    const TValue value = prop->Get(*object);
    const auto* text = std::get_if<std::string>(&value);
    // The class library keeps its texts in the process code page.
    return text ? AnsiToWide(*text) : std::wstring{};
}

TObject* GetObjectPropByName(TObject* object, const std::string& name, const TClassInfo& cls) {
    const TPropInfo* prop = propOf(object, name);
    if (!prop || prop->Kind != TTypeKind::tkClass || !prop->Get) return nullptr;
    const TValue value = prop->Get(*object);
    const auto* found = std::get_if<TObject*>(&value);
    if (!found || !*found) return nullptr;
    return (*found)->ClassInfo().InheritsFrom(&cls) ? *found : nullptr;
}

void SetPropByName(TObject* object, const std::string& name, const std::string& text) {
    const TPropInfo* prop = propOf(object, name);
    if (!prop || !prop->Set) return;
    switch (prop->Kind) {
    case TTypeKind::tkInteger: {
        const std::string trimmed = texts::Trim(text);
        char* end = nullptr;
        const long long number = trimmed.empty() ? 0 : std::strtoll(trimmed.c_str(), &end, 10);
        if (trimmed.empty() || !end || *end != '\0')
            throw EPropertyError("'" + text + "' is not a valid integer value for " + name);
        prop->Set(*object, TValue{static_cast<int64_t>(number)});
        break;
    }
    case TTypeKind::tkEnumeration: SetEnumProp(*object, name, text); break;
    case TTypeKind::tkString: prop->Set(*object, TValue{text}); break;
    default: break;
    }
}
