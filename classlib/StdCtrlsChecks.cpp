// Check boxes, radio buttons and group boxes on the system's button class.  The buttons
// are made without the platform's automatic toggling (BS_3STATE, BS_RADIOBUTTON): the
// control decides the new state itself, so a state set from code and one set by a click
// take the same path.  The look stays the system's; skins repaint it from outside.
#include <algorithm>

#include "Handles.h"
#include "StdCtrls.h"

const TEnumNames CheckBoxStateNames{{{"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}}};

namespace {
// The state as BM_GETCHECK / BM_SETCHECK give it: BST_UNCHECKED 0, BST_CHECKED 1,
// BST_INDETERMINATE 2, the same order as TCheckBoxState.
TCheckBoxState stateOfCheck(LRESULT check) {
    if (check == BST_CHECKED) return cbChecked;
    if (check == BST_INDETERMINATE) return cbGrayed;
    return cbUnchecked;
}
}  // namespace

// ---- TCustomCheckBox ---------------------------------------------------------------

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomCheckBox>("TCustomCheckBox", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomCheckBox>& b) {
        b.Enum("Alignment", AlignmentNames, [](TCustomCheckBox& c) -> int64_t { return c.Alignment(); }, [](TCustomCheckBox& c, int64_t v) { c.SetAlignment(static_cast<TAlignment>(v)); });
        b.Bool("AllowGrayed", [](TCustomCheckBox& c) { return c.AllowGrayed(); }, [](TCustomCheckBox& c, bool v) { c.SetAllowGrayed(v); });
        b.Bool("Checked", [](TCustomCheckBox& c) { return c.Checked(); }, [](TCustomCheckBox& c, bool v) { c.SetChecked(v); });
        b.Enum("State", CheckBoxStateNames, [](TCustomCheckBox& c) -> int64_t { return c.State(); }, [](TCustomCheckBox& c, int64_t v) { c.SetState(static_cast<TCheckBoxState>(v)); });
    });
    return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCheckBox>("TCheckBox", &TCustomCheckBox::StaticClassInfo(), [](TClassBuilder<TCheckBox>& b) { b.Creatable(); });
    return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TWinControl(owner) {
    width_ = 97;
    height_ = 17;
    tabStop_ = true;
    color_ = clBtnFace;
    brush_.SetColor(color_);
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_3STATE;
    if (alignment_ == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateHandleContents() { SendMessageA(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0); }

void TCustomCheckBox::SaveHandleContents() { state_ = stateOfCheck(SendMessageA(handle_, BM_GETCHECK, 0, 0)); }

void TCustomCheckBox::SetAlignment(TAlignment a) {
    if (a == taCenter) a = taRightJustify;  // the box is either left or right of the caption
    if (a != alignment_) { alignment_ = a; RecreateWnd(); }
}

TCheckBoxState TCustomCheckBox::State() {
    if (handle_) state_ = stateOfCheck(SendMessageA(handle_, BM_GETCHECK, 0, 0));
    return state_;
}

void TCustomCheckBox::SetState(TCheckBoxState s) {
    if (s == State()) return;
    state_ = s;
    if (handle_) SendMessageA(handle_, BM_SETCHECK, static_cast<WPARAM>(s), 0);
    if (!IsLoading()) Click();  // a stored state is no click
}

void TCustomCheckBox::Toggle() {
    switch (State()) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Toggle();
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TRadioButton ------------------------------------------------------------------

const TClassInfo& TRadioButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TRadioButton>("TRadioButton", &TWinControl::StaticClassInfo(), [](TClassBuilder<TRadioButton>& b) {
        b.Creatable();
        b.Enum("Alignment", AlignmentNames, [](TRadioButton& c) -> int64_t { return c.Alignment(); }, [](TRadioButton& c, int64_t v) { c.SetAlignment(static_cast<TAlignment>(v)); });
        b.Bool("Checked", [](TRadioButton& c) { return c.Checked(); }, [](TRadioButton& c, bool v) { c.SetChecked(v); });
    });
    return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    width_ = 113;
    height_ = 17;
    color_ = clBtnFace;
    brush_.SetColor(color_);
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_RADIOBUTTON;
    if (alignment_ == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateHandleContents() { SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

void TRadioButton::SaveHandleContents() { checked_ = SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TRadioButton::SetAlignment(TAlignment a) {
    if (a == taCenter) a = taRightJustify;
    if (a != alignment_) { alignment_ = a; RecreateWnd(); }
}

bool TRadioButton::Checked() {
    if (handle_) checked_ = SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return checked_;
}

void TRadioButton::SetChecked(bool v) {
    if (v == Checked()) return;
    checked_ = v;
    if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!v) return;
    if (parent_) {
        for (int i = 0; i < parent_->ControlCount(); ++i) {
            auto* other = dynamic_cast<TRadioButton*>(parent_->Controls(i));
            if (other && other != this) other->SetChecked(false);
        }
    }
    if (!IsLoading()) Click();
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        switch (HIWORD(m.WParam)) {
        case BN_CLICKED: SetChecked(true); m.Result = 0; return;
        case BN_DOUBLECLICKED: DblClick(); m.Result = 0; return;
        default: break;
        }
    }
    TWinControl::WndProc(m);
}

// ---- TCustomGroupBox ---------------------------------------------------------------

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomGroupBox>("TCustomGroupBox", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomGroupBox>&) {});
    return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TGroupBox>("TGroupBox", &TCustomGroupBox::StaticClassInfo(), [](TClassBuilder<TGroupBox>& b) { b.Creatable(); });
    return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 105;
    color_ = clBtnFace;
    brush_.SetColor(color_);
}

void TCustomGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    // The system's group box paints over its children unless they are clipped.
    p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

// Aligned children stay inside the frame and below the caption.
void TCustomGroupBox::AlignControls(TControl* control, RECT& rect) {
    int textHeight = 13;
    if (handle_) {
        WindowDcGuard dc(handle_);
        if (dc.get()) {
            SelectGuard font(dc.get(), font_.Handle());
            TEXTMETRICA tm{};
            if (GetTextMetricsA(dc.get(), &tm)) textHeight = tm.tmHeight;
        }
    }
    rect.left += 2;
    rect.right = std::max(rect.left, rect.right - 2);
    rect.top = std::min(rect.bottom, rect.top + textHeight);
    rect.bottom = std::max(rect.top, rect.bottom - 2);
    TWinControl::AlignControls(control, rect);
}
