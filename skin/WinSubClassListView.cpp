// TSkinListView: the scroll-bar skin of a list view that also skins its column header.
#include "WinSubClassListView.h"

#include <commctrl.h>

const TClassInfo& TSkinListView::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinListView>("TSkinListView", &TSkinScrollbar::StaticClassInfo(),
                                                                 [](TClassBuilder<TSkinListView>&) {});
    return info;
}

void TSkinListView::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool, TCanvas* canvas) {
    AttachScrolling(dynamic_cast<TControl*>(Owner()), skinData, formSkin, canvas);
}

bool TSkinListView::AttachScrolling(TControl* control, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    if (!TSkinScrollbar::AttachScrolling(control, skinData, formSkin, canvas)) return false;
    const auto header = reinterpret_cast<HWND>(SendMessageA(Handle, LVM_GETHEADER, 0, 0));
    // A header somebody skinned already keeps that skin.
    if (header && !HeaderSkin && SendMessageA(header, WM_SKINQUERY, 0, 0) != 1) {
        HeaderSkin = new TSkinHeader(Owner());
        HeaderSkin->FreeNotification(this);
        HeaderSkin->AttachWindow(header, SkinData, FormSkin, Canvas);
    }
    return true;
}

void TSkinListView::Notification(TComponent* component, TOperation operation) {
    TSkinScrollbar::Notification(component, operation);
    if (operation == TOperation::opRemove && component == HeaderSkin) HeaderSkin = nullptr;
}
