// The list view's skin: the scroll-bar covers and frame of a scrolling control
// (WinSubClassScroll.h), plus a TSkinHeader on the list view's column header.  No
// dispatch row makes one; it comes into use as the skin an OnSkinControl handler returns,
// or when the form skin rebuilds the scroll skin of a recreated list view.
//
// Types: TSkinListView.
#pragma once
#include "WinSubClassLists.h"
#include "WinSubClassScroll.h"

class TSkinListView : public TSkinScrollbar {
    CLASS_INFO(TSkinListView)
public:
    explicit TSkinListView(TComponent* owner) : TSkinScrollbar(owner) {}

    // The dispatch attaches every skin an OnSkinControl handler returns through
    // AttachControl; this skin needs its covers and header, so that is AttachScrolling on
    // the owner (the host).
    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    // The scrolling attach, then the header (LVM_GETHEADER) gets a TSkinHeader owned by
    // this skin's owner, the list view.
    bool AttachScrolling(TControl* control, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) override;

    // The header's skin; owned by the host, cleared when it is freed.
    TSkinHeader* HeaderSkin = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override;
};
