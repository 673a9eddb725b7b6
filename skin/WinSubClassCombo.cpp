// The combo-box skin TSkinComBox: the frame, the drop-down button and its arrow glyph in
// the normal, pressed, disabled and hot or focused looks, drawn over what the combo box
// painted; the edit child of a drop-down combo is subclassed so that a repaint of the edit
// brings the frame back.  Edits and date-time pickers are in WinSubClassComboEdit.cpp.
#include "WinSubClassCombo.h"

#include <windowsx.h>

#include <algorithm>

#include "Handles.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSubClassScroll.h"

namespace {

int cellsOf(const TDataSkinObject& part) { return std::max(1, part.Frame); }

Keying keyingOf(const TDataSkinObject& part) { return part.Trans == 1 ? Keying::Magenta : Keying::Opaque; }

CentreFill fillOf(const TDataSkinObject& part) { return part.Tile ? CentreFill::Tile : CentreFill::Stretch; }

}  // namespace

int ComboStateCell(bool enabled, bool pressed, bool hot, bool focused) {
    if (!enabled) return 3;
    if (pressed) return 2;
    if (hot || focused) return 4;
    return 1;
}

int ComboFlatStateCell(bool enabled, bool pressed, bool hot, bool focused) {
    if (pressed) return 2;
    if (hot || focused) return 4;
    if (!enabled) return 3;
    return 1;
}

const TClassInfo& TSkinComBox::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinComBox>("TSkinComBox", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinComBox>&) {});
    return info;
}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() {
    releaseEdit();
    freeListSkin(false);
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == ListSkin) ListSkin = nullptr;
}

void TSkinComBox::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    if (Attached()) return;
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    attachCombo(true);
}

void TSkinComBox::AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    if (Attached()) return;
    TSkinControl::AttachWindow(handle, skinData, formSkin, canvas);
    attachCombo(false);
}

void TSkinComBox::attachCombo(bool classLibrary) {
    if (!Handle) return;
    WindowStyle = WindowLong(Handle, GWL_STYLE);
    freeListSkin(true);
    if ((WindowStyle & 3) != CBS_SIMPLE) {
        if (!IsWindowUnicode(Handle)) SubclassEdit();
        ListWindow = nullptr;
        return;
    }
    Info = COMBOBOXINFO{};
    Info.cbSize = sizeof(Info);
    if (!SkinGetComboBoxInfo(Handle, &Info)) return;
    ListWindow = Info.hwndList;
    const LONG_PTR listStyle = GetWindowLongPtrA(ListWindow, GWL_STYLE);
    // A raw simple combo's list keeps its own bars: only the class-library path covers
    // them, as the dispatch gives raw simple combos no skin at all.
    if (classLibrary && ListWindow && !IsPopupWindow(ListWindow) && (listStyle & WS_CHILD)) {
        ListSkin = new TSkinScrollbarH(Owner());
        ListSkin->AttachWindow(ListWindow, SkinData, FormSkin, nullptr);
    }
}

void TSkinComBox::freeListSkin(bool unskinFirst) {
    TSkinScrollbarH* skin = ListSkin;
    ListSkin = nullptr;
    if (!skin) return;
    if (unskinFirst) skin->Unskin();
    delete skin;
}

void TSkinComBox::SubclassEdit() {
    if (editThunk_.Installed()) return;
    const HWND edit = GetTopWindow(Handle);
    if (edit) editThunk_.Install(edit);
}

void TSkinComBox::releaseEdit() {
    // A later subclass of the edit keeps its place; ours then only passes messages on.
    editThunk_.Restore();
}

void TSkinComBox::EditWndProc(TMessage& m) {
    editThunk_.CallPrevious(m);
    if (!Active()) return;
    switch (m.Msg) {
    case WM_PAINT: PaintWindow(nullptr); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseState |= msPressed;
        Redraw();
        break;
    case WM_LBUTTONUP:
        MouseState &= static_cast<uint8_t>(~msPressed);
        Redraw();
        break;
    default: break;
    }
}

void TSkinComBox::Unskin() {
    TSkinControl::Unskin();
    releaseEdit();
    freeListSkin(true);
}

void TSkinComBox::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return;
    case WM_MOUSEMOVE: {
        const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        const bool inButton = PtInRect(&ButtonRect, p) != 0;
        const bool enabled = IsWindowEnabled(Handle) != 0;
        const bool hot = (MouseState & msHot) != 0;
        if (enabled && hot != inButton) {
            MouseState = static_cast<uint8_t>(inButton ? MouseState | msHot : MouseState & ~msHot);
            Redraw();
        }
        return;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT: Redraw(); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseState |= msPressed;
        Redraw();
        return;
    case WM_LBUTTONUP:
        MouseState &= static_cast<uint8_t>(~msPressed);
        Redraw();
        return;
    case CM_MOUSELEAVE:
        if (MouseState & msHot) {
            MouseState &= static_cast<uint8_t>(~msHot);
            Redraw();
        }
        return;
    default: TSkinControl::AfterMessage(m);
    }
}

void TSkinComBox::Paint(HDC dc, const RECT& rect) {
    if (!SkinData) return;
    const std::shared_ptr<TDataSkinBorder> button = SkinData->ComboButton;
    if (!button || button->Image.Empty()) return;
    WindowStyle = WindowLong(Handle, GWL_STYLE);
    ExStyle = WindowLong(Handle, GWL_EXSTYLE);
    Info = COMBOBOXINFO{};
    Info.cbSize = sizeof(Info);
    if (SkinGetComboBoxInfo(Handle, &Info)) {
        ButtonRect = Info.rcButton;
        if (Info.stateButton & STATE_SYSTEM_INVISIBLE) return;
    }
    if (button->Style == 1) {
        PaintFlat(dc, rect);
        return;
    }
    RECT r = rect;
    OffsetRect(&r, -r.left, -r.top);
    Focused = GetFocus() == Handle;
    Enabled = !(WindowStyle & WS_DISABLED);
    const int cell = ComboStateCell(Enabled, MouseState & msPressed, MouseState & msHot, Focused);
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    const bool leftButton = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const std::shared_ptr<TDataSkinObject> edge = SkinData->SunkEdge;

    if (button->Style == 2) {
        // The whole control drawn as one part.
        TDataSkinObject* part = leftButton ? edge.get() : button.get();
        if (part && !part->Image.Empty())
            DrawSkinPart(dc, r, part->Image, StripAxis::Horizontal, CentreFill::Stretch,
                         Keying::Magenta, cellsOf(*part), cell, part->Margins);
        return;
    }

    SaveDcGuard saved(dc);
    RECT face, glyphArea;
    TBitmap* image;
    if (!leftButton) {
        ExcludeClipRect(dc, 2, 2, r.right - a - 4, r.bottom - 2);
        face = RECT{r.right - a - 2, 0, r.right, r.bottom};
        glyphArea = RECT{face.left, face.top, r.right - 2, face.bottom};
        image = &button->Image;
    } else {
        ExcludeClipRect(dc, a + 4, 2, r.right - 2, r.bottom - 2);
        face = RECT{0, 0, a + 2, r.bottom};
        glyphArea = RECT{2, 0, a + 2, r.bottom};
        image = button->Image2.Empty() ? &button->Image : &button->Image2;
    }
    if (edge && !edge->Image.Empty())
        DrawSkinPart(dc, r, edge->Image, StripAxis::Horizontal, fillOf(*edge), keyingOf(*edge), cellsOf(*edge), cell,
                     edge->Margins);
    DrawStripCellStretched(dc, face, *image, Keying::Magenta, cellsOf(*button), cell);
    ButtonRect = face;
    const std::shared_ptr<TDataSkinObject> glyphs = SkinData->ExtraImages;
    if (glyphs && !glyphs->Image.Empty()) {
        const int cw = glyphs->Image.Width() / cellsOf(*glyphs), ch = glyphs->Image.Height();
        const int x = glyphArea.left + (glyphArea.right - glyphArea.left - cw) / 2;
        const int y = glyphArea.top + (glyphArea.bottom - glyphArea.top - ch) / 2;
        DrawStripCellStretched(dc, RECT{x, y, x + cw, y + ch}, glyphs->Image, Keying::Magenta, cellsOf(*glyphs), cell);
    }
}

void TSkinComBox::PaintFlat(HDC dc, const RECT& rect) {
    const std::shared_ptr<TDataSkinBorder> button = SkinData->ComboButton;
    RECT r = rect;
    OffsetRect(&r, -r.left, -r.top);
    Focused = GetFocus() == Handle;
    Enabled = !(WindowStyle & WS_DISABLED);
    const int cell = ComboFlatStateCell(Enabled, MouseState & msPressed, MouseState & msHot, Focused);
    const int cw = button->Image.Width() / cellsOf(*button), ch = button->Image.Height();
    const int t = GetSystemMetrics(SM_CYVTHUMB);
    const bool leftButton = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    // The DC's own brush paints the inner frame and the button's strip.
    const auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, brush);
    InflateRect(&inner, -1, -1);
    RECT strip = leftButton ? RECT{inner.left, inner.top, inner.left + t, inner.bottom}
                            : RECT{inner.right - t, inner.top, inner.right, inner.bottom};
    FillRect(dc, &strip, brush);
    RECT face = leftButton ? RECT{inner.left, inner.top, inner.left + cw, inner.bottom}
                           : RECT{inner.right - cw, inner.top, inner.right, inner.bottom};
    if (ch < t) face.bottom = face.top + ch;
    UniqueBrush shadow(CreateSolidBrush(ColorToRGB(SkinData->Colours.ButtonShadow)));
    if (shadow) FrameRect(dc, &r, shadow.get());
    ButtonRect = face;
    DrawStripCellStretched(dc, face, button->Image, Keying::Magenta, cellsOf(*button), cell);
}
