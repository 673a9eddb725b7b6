// The common mouse behaviour of the non-client objects and the caption button's paint.
#include "NCObjects.h"

#include "WinSkinData.h"
#include "WinSkinForm.h"

TNCObject::~TNCObject() {
    // Never leave the form skin pointing at a freed object (caption buttons are rebuilt
    // on every skin change, menu-bar items on every menu change).
    if (Form && Form->FHotObject == this) Form->FHotObject = nullptr;
    if (Form && Form->FPressedObject == this) Form->FPressedObject = nullptr;
}

void TNCObject::MouseDown() {
    if (Form && Form->FHotObject && Form->FHotObject != this) Form->FHotObject->MouseLeave();
    if (!Visible) return;
    if (Form) Form->FHotObject = this;
    State = nsDown;
    Paint();
}

void TNCObject::MouseUp() {
    if (!Visible) return;
    State = nsHot;
    Paint();
}

void TNCObject::MouseMove() {
    if (!Form || Form->FHotObject == this) return;
    if (Form->FHotObject) Form->FHotObject->MouseLeave();
    if (!Visible) return;
    Form->FHotObject = this;
    State = nsHot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!Visible) return;
    if (Form && Form->FHotObject == this) Form->FHotObject = nullptr;
    State = nsNormal;
    Paint();
}

TWinSysButton::TWinSysButton(TWinSkinForm* form, std::shared_ptr<TDataSkinSysButton> definition)
    : Definition(std::move(definition)) {
    Form = form;
}

void TWinSysButton::Paint() {
    if (Form) Form->PaintSysButton(*this, State);
}
