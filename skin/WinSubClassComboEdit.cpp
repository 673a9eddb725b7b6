// The edit skin TSkinEdit (a thin shadow-and-white frame over the edit's border, and a
// skin for a spin child inside the edit) and the date-time picker skin TSkinDateTime with
// its arrow window TArrowButton.  The combo box is in WinSubClassCombo.cpp.
#include "WinSubClassCombo.h"

#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "Handles.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClassBars.h"

namespace {

std::string lowerClassName(HWND window) {
    char name[100] = {};
    GetClassNameA(window, name, sizeof(name));
    std::string s = name;
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// True when the client area is as wide or as high as the window: no border to draw on.
bool borderless(HWND window, const RECT& rect, int slack) {
    RECT client{};
    if (!GetClientRect(window, &client)) return true;
    return client.right + slack >= rect.right - rect.left || client.bottom + slack >= rect.bottom - rect.top;
}

void frame(HDC dc, RECT r, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    if (brush) FrameRect(dc, &r, brush.get());
}

}  // namespace

// ---- TSkinEdit ----------------------------------------------------------------------

const TClassInfo& TSkinEdit::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinEdit>("TSkinEdit", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinEdit>&) {});
    return info;
}

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

void TSkinEdit::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == SpinSkin) SpinSkin = nullptr;
}

void TSkinEdit::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: PaintWindow(reinterpret_cast<HDC>(m.WParam)); return;
    case WM_PRINT: PrintFrame(reinterpret_cast<HDC>(m.WParam)); return;
    case CN_SKINPAINTCLIENT:
        if (m.LParam != kSkinMarker) return;
        if (m.WParam) {
            TMessage paint{WM_PAINT, m.WParam, 0, 0};
            CallDefault(paint);
        }
        m.Result = kSkinMarker;
        return;
    default: TSkinControl::AfterMessage(m);
    }
}

void TSkinEdit::Paint(HDC dc, const RECT& rect) {
    if (SkinData && (SkinData->SkinControls & SkinBit(xcSpin)) && !SpinSkin) SkinSpinChild(Handle, SkinData, Canvas);
    if (!SkinData || borderless(Handle, rect, 0)) return;
    RECT r = rect;
    frame(dc, r, ColorToRGB(SkinData->Colours.ButtonShadow));
    for (int i = 0; i < 2; ++i) {
        InflateRect(&r, -1, -1);
        frame(dc, r, RGB(255, 255, 255));
    }
}

void TSkinEdit::SkinSpinChild(HWND window, TSkinData* skinData, TCanvas* canvas) {
    for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string name = lowerClassName(child);
        if (name != "msctls_updown32" && name.find("spin") == std::string::npos &&
            name.find("updown") == std::string::npos)
            continue;
        // The spin child keeps its own look until the factory gives an up-down skin.
        TSkinControl* spin = CreateSkinControl(TSkinClass::UpDown, Owner());
        if (!spin) return;
        SpinSkin = spin;
        spin->AttachWindow(child, skinData, FormSkin, canvas);
        // Inside the edit's frame: the up-down keeps 3 pixels off the frame on a white fill.
        if (auto* upDown = dynamic_cast<TSkinUpDown*>(spin)) upDown->BuddyMode = true;
        return;
    }
}

void TSkinEdit::PrintFrame(HDC dc) {
    try {
        RECT r{};
        if (!GetWindowRect(Handle, &r)) return;
        WindowRect = r;
        OffsetRect(&r, -r.left, -r.top);
        if (dc) {
            DrawPrintFrame(dc, r);
        } else {
            WindowDcGuard own(Handle, true);
            if (own.get()) DrawPrintFrame(own.get(), r);
        }
    } catch (...) {
        // Printing a frame never fails loudly.
    }
}

void TSkinEdit::DrawPrintFrame(HDC dc, const RECT& rect) {
    if (!SkinData || borderless(Handle, rect, 2)) return;
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    frame(dc, rect, ColorToRGB(SkinData->Colours.ButtonShadow));
}

// ---- TArrowButton -------------------------------------------------------------------

const TClassInfo& TArrowButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TArrowButton>("TArrowButton", &TCustomControl::StaticClassInfo(),
                                                                [](TClassBuilder<TArrowButton>&) {});
    return info;
}

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner) {
    ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    SetTabStop(false);
}

void TArrowButton::Attach(TSkinDateTime* skin, TWinControl* picker) {
    OwnerSkin = skin;
    Picker = picker;
    PickerWindow = picker ? picker->Handle() : nullptr;
    if (!PickerWindow) return;
    RECT window{};
    GetWindowRect(PickerWindow, &window);
    const bool left = (GetWindowLongPtrA(PickerWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    SetBounds(left ? 2 : window.right - window.left - ArrowSize - 4, 0, ArrowSize, ArrowSize + 1);
    SetParentWindow(PickerWindow);
    SetWindowLongPtrA(PickerWindow, GWL_STYLE, GetWindowLongPtrA(PickerWindow, GWL_STYLE) | WS_CLIPCHILDREN);
}

void TArrowButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(m);
        if (PickerWindow && IsWindowEnabled(PickerWindow)) {
            Flags = static_cast<uint8_t>(m.Msg == CM_MOUSEENTER ? Flags | 1 : Flags & ~1);
            Invalidate();
        }
        return;
    case WM_LBUTTONDOWN: {
        TCustomControl::WndProc(m);
        // A click on the picker at the point under this window, where the picker's own
        // drop-down button lies.
        const POINT p{GET_X_LPARAM(m.LParam) + Left(), GET_Y_LPARAM(m.LParam) + Top()};
        PostMessageA(PickerWindow, WM_LBUTTONDOWN, m.WParam, MAKELPARAM(p.x, p.y));
        PostMessageA(PickerWindow, WM_LBUTTONUP, m.WParam, MAKELPARAM(p.x, p.y));
        Invalidate();
        return;
    }
    case WM_LBUTTONUP:
        TCustomControl::WndProc(m);
        if (PickerWindow) ::SetFocus(PickerWindow);
        return;
    default: TCustomControl::WndProc(m);
    }
}

void TArrowButton::Paint() {
    HDC dc = canvas_.Handle();
    TSkinData* data = OwnerSkin ? OwnerSkin->SkinData : nullptr;
    if (!dc || !data) return;
    RECT client{};
    GetClientRect(handle_, &client);
    UniqueBrush face(CreateSolidBrush(ColorToRGB(data->Colours.ButtonFace)));
    if (face) FillRect(dc, &client, face.get());
    const std::shared_ptr<TDataSkinObject> arrow = data->ComboxArrow;
    if (!arrow || arrow->Image.Empty()) return;
    DrawStripCellStretched(dc, client, arrow->Image, Keying::Opaque, std::max(1, arrow->Frame), (Flags & 1) ? 4 : 1);
}

// ---- TSkinDateTime ------------------------------------------------------------------

const TClassInfo& TSkinDateTime::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinDateTime>("TSkinDateTime", &TSkinControl::StaticClassInfo(),
                                                                 [](TClassBuilder<TSkinDateTime>&) {});
    return info;
}

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

// The arrow window goes first, while the picker it lies on may still be whole.
TSkinDateTime::~TSkinDateTime() { Arrow.reset(); }

void TSkinDateTime::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    if (Attached()) return;
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    auto* picker = dynamic_cast<TWinControl*>(Host);
    if (!picker) return;
    Arrow = std::make_unique<TArrowButton>(nullptr);
    Arrow->Attach(this, picker);
}

void TSkinDateTime::Paint(HDC dc, const RECT& rect) {
    if (!SkinData || borderless(Handle, rect, 0)) return;
    RECT r = rect;
    frame(dc, r, ColorToRGB(SkinData->Colours.ButtonShadow));
    InflateRect(&r, -1, -1);
    frame(dc, r, RGB(255, 255, 255));
}
