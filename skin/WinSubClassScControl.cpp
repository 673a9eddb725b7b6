// TSkinScControl: a scroll-bar control under one cover.  The cover follows the control as
// it moves, shows and hides, and is repainted when the control's scroll values change.
#include "WinSubClassScControl.h"

#include "WinSkinForm.h"

const TClassInfo& TSkinScControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinScControl>("TSkinScControl", &TSkinControl::StaticClassInfo(),
                                                                  [](TClassBuilder<TSkinScControl>&) {});
    return info;
}

TSkinScControl::~TSkinScControl() { Bar.reset(); }

void TSkinScControl::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool, TCanvas* canvas) {
    Attach(dynamic_cast<TControl*>(Owner()), skinData, formSkin, canvas);
}

bool TSkinScControl::Attach(TControl* host, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    auto* control = dynamic_cast<TWinControl*>(host);
    if (Attached() || !control) return false;
    SkinData = skinData;
    FormSkin = formSkin;
    Canvas = canvas;
    Host = control;
    Handle = control->Handle();
    if (!Handle) return false;
    if (formSkin) formSkin->AddSkinControl(this);

    Bar = std::make_unique<TWScrollbar>(nullptr);
    Bar->SetShowHint(control->ShowHint());
    Bar->SetHint(control->Hint());
    Bar->AttachControl(this, control, sbkControl);
    if (!control->Visible()) Bar->HideBar();

    // The base's attach hooks the host's WindowProc and marks the skin attached; it does
    // not recolour the host.
    TSkinControl::AttachControl(formSkin, skinData, false, canvas);
    return true;
}

void TSkinScControl::Unskin() {
    TSkinControl::Unskin();
    if (Lifecycle != lcDestroyed) Bar.reset();
}

void TSkinScControl::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
        if (Bar) Bar->UpdateBar(Handle);
        return;
    case WM_NCPAINT:
        if (auto* control = dynamic_cast<TWinControl*>(Host)) Handle = control->Handle();
        if (Bar) Bar->UpdateBar(Handle);
        return;
    case SBM_SETSCROLLINFO:
    case CN_HSCROLL:
    case CN_VSCROLL:
        if (Bar) Bar->Invalidate();
        return;
    case CM_VISIBLECHANGED:
        if (!Bar) return;
        if (m.WParam) Bar->UpdateBar(Handle);
        else Bar->HideBar();
        return;
    default:
        TSkinControl::AfterMessage(m);
    }
}

void TSkinScControl::Paint(HDC, const RECT&) {
    if (Bar) Bar->Invalidate();
}
