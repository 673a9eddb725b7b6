// Check-box and radio-button skins: the cell tables, the box layout, the message filter
// of both modes and the painter.
#include "WinSubClassChecks.h"

#include <algorithm>
#include <string>

#include "Bitmap.h"
#include "Handles.h"
#include "SkinPrimitives.h"
#include "Texts.h"
#include "WinSkinData.h"

namespace {

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool hasProperty(TObject* object, const char* name) { return object && GetPropInfo(*object, name) != nullptr; }

// Messages after which the platform's button has painted itself outside WM_PAINT (or its
// state changed): the skin goes over it again.  0xB0D0 is the class library's notice of a
// changed check state in data-aware controls (the skin only redraws on it).
constexpr UINT kDataCheckChanged = 0xB0D0;

}  // namespace

// ---- cells and layout --------------------------------------------------------------

int CheckBoxCell(const TCheckCellInput& in, int cells) {
    cells = std::max(cells, 1);
    int cell = in.cell == 3 ? 4 : in.cell;
    if (in.disabled) cell += 2;
    if (in.indeterminate) cell = 4;
    if (cells == 12) {
        if (cell == 2) cell = 5;
        else if (cell == 3) cell = 4;
        else if (cell == 4) cell = 8;
        if (in.indeterminate) cell = in.disabled ? 12 : 9;
    }
    return std::clamp(cell, 1, cells);
}

int RadioButtonCell(bool checked, bool disabled, int cells) {
    cells = std::max(cells, 1);
    int cell = checked ? 2 : 1;
    if (disabled) cell += 2;
    if (cells == 8) {
        if (cell == 2) cell = 5;
        else if (cell == 3) cell = 4;
        else if (cell == 4) cell = 8;
    }
    return std::clamp(cell, 1, cells);
}

RECT BoxCellRect(const RECT& r, int cw, int ch, bool leftText, bool radio) {
    RECT box;
    box.top = r.top + (r.bottom - r.top - ch) / 2;
    box.bottom = box.top + ch;
    if (!leftText) {
        box.left = r.left;
        box.right = r.left + cw;
    } else if (radio) {
        box.left = r.right - cw - 1;
        box.right = r.right - 1;
    } else {
        box.left = r.right - cw;
        box.right = r.right;
    }
    return box;
}

// ---- TSkinCheckBase ----------------------------------------------------------------

const TClassInfo& TSkinCheckBase::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinCheckBase>("TSkinCheckBase", &TSkinControl::StaticClassInfo(),
                                                                  [](TClassBuilder<TSkinCheckBase>&) {});
    return info;
}

void TSkinCheckBase::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    Mode = 0;
    if (!Host) return;
    int cells = 0;
    if (strip(cells)) Mode = 1;
    TransparentBack = Host->Tag() == kTransparentBackTag ||
                      (SkinData && (SkinData->Options & SkinBit(xoTransparent)) != 0);
}

bool TSkinCheckBase::BeforeMessage(TMessage& m) {
    const bool answer = TSkinControl::BeforeMessage(m);
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT: {
        if (Mode != 1) return answer;
        int cells = 0;
        if (!strip(cells)) {
            // The strip went away with a skin change: the control paints itself again
            // rather than leaving its area unpainted.
            Mode = 0;
            return answer;
        }
        HandlePaint(m);
        m.Result = 0;
        return false;
    }
    case WM_ERASEBKGND:
        if (!TransparentBack) return answer;
        HandleEraseBkgnd(m);
        return false;
    default:
        return answer;
    }
}

void TSkinCheckBase::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:  // the platform paints the pushed box straight away
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case kDataCheckChanged:
        Redraw();
        return;
    case WM_PRINTCLIENT:
        // A picture of the control asked for by its parent or a capture: the box goes over
        // the control's own, as after its paints.
        if (Mode == 0) PaintWindow(reinterpret_cast<HDC>(m.WParam));
        return;
    default:
        TSkinControl::AfterMessage(m);
        return;
    }
}

void TSkinCheckBase::Paint(HDC dc, const RECT& R) {
    int cells = 1;
    TBitmap* bitmap = strip(cells);
    if (!bitmap) {
        Mode = 0;
        return;
    }
    if (!dc) return;
    const int cell = chooseCell(cells);
    const int cw = bitmap->Width() / cells, ch = bitmap->Height();
    const LONG_PTR style = Handle ? GetWindowLongA(Handle, GWL_STYLE) : 0;
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const RECT box = BoxCellRect(R, cw, ch, leftText, isRadio());
    RECT caption = R;
    UINT textFlags = 0;
    if (!leftText) {
        caption.left = R.left + cw + 2;
    } else {
        caption.right = R.right - cw - (isRadio() ? 3 : 2);
        const std::string bidi = texts::LowerCase(GetEnumPropByName(Host, "BiDiMode"));
        if (Host && !bidi.empty() && bidi != "bdlefttoright") textFlags = DT_RIGHT | DT_RTLREADING;
    }

    if (Mode == 1 && !TransparentBack) FillSkinColor(dc, R);
    DrawStripCellTransparent(dc, box, cells, cell, bitmap);
    if (Mode != 1) return;
    drawCaption(dc, caption, textFlags);
}

void TSkinCheckBase::drawCaption(HDC dc, const RECT& r, UINT textFlags) {
    Caption = Host ? GetTextPropByName(Host, "Caption") : (Handle ? ReadWindowText(Handle) : std::wstring());
    SaveDcGuard saved(dc);
    HFONT font = Handle ? reinterpret_cast<HFONT>(SendMessageA(Handle, WM_GETFONT, 0, 0)) : nullptr;
    if (Host) {
        auto* f = static_cast<TFont*>(GetObjectPropByName(Host, "Font", TFont::StaticClassInfo()));
        if (f) font = f->Handle();
        const bool enabled = Handle && IsWindowEnabled(Handle);
        SetTextColor(dc, ColorToRGB(enabled && f ? f->Color() : (enabled ? clBtnText : clBtnShadow)));
    }
    if (font) SelectObject(dc, font);  // restored with the DC
    SetBkColor(dc, ColorToRGB(SkinButtonFace()));
    SetBkMode(dc, TRANSPARENT);

    const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | textFlags;
    RECT measured = r;
    SkinDrawText(dc, Caption, measured, flags | DT_CALCRECT | DT_NOCLIP);
    RECT place = r;
    OffsetRect(&place, 0, ((r.bottom - r.top) - measured.bottom) / 2);
    if (Handle && GetFocus() == Handle && !Caption.empty()) DrawCaptionFocus(dc, place, flags);
    SkinDrawText(dc, Caption, place, flags);
}

// ---- TSkinCheckBox -----------------------------------------------------------------

const TClassInfo& TSkinCheckBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinCheckBox>("TSkinCheckBox", &TSkinCheckBase::StaticClassInfo(),
                                                                 [](TClassBuilder<TSkinCheckBox>&) {});
    return info;
}

void TSkinCheckBox::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    LastSetCheck = 0;
    TSkinCheckBase::AttachControl(formSkin, skinData, setColor, canvas);
}

void TSkinCheckBox::AfterMessage(TMessage& m) {
    if (m.Msg == BM_SETCHECK) LastSetCheck = static_cast<int>(m.WParam) + 1;
    TSkinCheckBase::AfterMessage(m);
}

TBitmap* TSkinCheckBox::strip(int& cells) const {
    if (!SkinData || !SkinData->Buttons || SkinData->Buttons->CheckButton.Empty()) return nullptr;
    cells = std::max(SkinData->Buttons->CheckButtonFrame, 1);  // a missing count would divide by zero
    return &SkinData->Buttons->CheckButton;
}

int TSkinCheckBox::chooseCell(int cells) {
    const LRESULT state = Handle ? SendMessageA(Handle, BM_GETSTATE, 0, 0) : 0;
    TCheckCellInput in;
    in.cell = (state & BST_CHECKED) ? 2 : 1;
    if (Host) {
        if (hasProperty(Host, "State")) {
            const std::string v = texts::LowerCase(GetEnumPropByName(Host, "State"));
            if (contains(v, "uncheck")) in.cell = 1;
            else if (contains(v, "check")) in.cell = 2;
            else if (contains(v, "gray")) in.cell = 4;
        } else if (hasProperty(Host, "Checked")) {
            in.cell = texts::LowerCase(GetEnumPropByName(Host, "Checked")) == "true" ? 2 : 1;
        }
        if (hasProperty(Host, "DataField") && LastSetCheck != 0) in.cell = LastSetCheck;
        if (hasProperty(Host, "DataBinding")) in.cell = 1;
    }
    in.disabled = Handle && (GetWindowLongA(Handle, GWL_STYLE) & WS_DISABLED) != 0;
    in.indeterminate = (state & BST_INDETERMINATE) != 0;
    return CheckBoxCell(in, cells);
}

// ---- TSkinRadioButton --------------------------------------------------------------

const TClassInfo& TSkinRadioButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinRadioButton>(
        "TSkinRadioButton", &TSkinCheckBase::StaticClassInfo(), [](TClassBuilder<TSkinRadioButton>&) {});
    return info;
}

TBitmap* TSkinRadioButton::strip(int& cells) const {
    if (!SkinData || !SkinData->Buttons || SkinData->Buttons->RadioButton.Empty()) return nullptr;
    cells = std::max(SkinData->Buttons->RadioButtonFrame, 1);
    return &SkinData->Buttons->RadioButton;
}

int TSkinRadioButton::chooseCell(int cells) {
    bool checked = Handle && (SendMessageA(Handle, BM_GETCHECK, 0, 0) & 1) != 0;
    if (hasProperty(Host, "Checked")) checked = texts::LowerCase(GetEnumPropByName(Host, "Checked")) == "true";
    const bool disabled = Handle && (GetWindowLongA(Handle, GWL_STYLE) & WS_DISABLED) != 0;
    return RadioButtonCell(checked, disabled, cells);
}
