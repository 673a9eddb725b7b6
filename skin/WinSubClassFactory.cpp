// The one place that knows every control-skin class: the dispatch asks here for a new
// skin of a kind.  Every kind of TSkinClass has its skin; only a value outside the list
// gives nullptr, and the dispatch then leaves the control as it is.
#include "WinSubClassBars.h"     // status bar, group box, panel, track bar, up-down, progress bar
#include "WinSubClassButtons.h"  // push buttons
#include "WinSubClassChecks.h"   // check boxes and radio buttons
#include "WinSubClassFills.h"     // page fill, foreign-control pictures, button tabs
#include "WinSubClassListView.h"  // list view
#include "WinSubClassLists.h"     // header
#include "WinSubClassScControl.h" // scroll-bar control
#include "WinSubClass.h"
#include "WinSubClassCombo.h"
#include "WinSubClassMP.h"
#include "WinSubClassScroll.h"
#include "WinSubClassSizer.h"
#include "WinSubClassTabs.h"

TSkinControl* CreateSkinControl(TSkinClass kind, TComponent* owner, int variant) {
    switch (kind) {
    // push buttons
    case TSkinClass::Button: return NewPushButtonSkin(owner);  // a glyph button gets TSkinBitButton
    case TSkinClass::BitButton: return NewBitButtonSkin(owner, variant);
    case TSkinClass::MenuButton: return new TSkinMenuButton(owner);
    case TSkinClass::SpeedButton: return new TSkinSpeedButton(owner);

    // check boxes and radio buttons
    case TSkinClass::CheckBox: return new TSkinCheckBox(owner);
    case TSkinClass::RadioButton: return new TSkinRadioButton(owner);

    // status bar, group box, panel
    case TSkinClass::StatusBar: return new TSkinStatusBar(owner);
    case TSkinClass::GroupBox: return new TSkinGroupBox(owner);
    case TSkinClass::Box: return new TSkinBox(owner);

    // track bar, up-down, progress bar
    case TSkinClass::TrackBar: return new TSkinTrackBar(owner);
    case TSkinClass::UpDown: return new TSkinUpDown(owner);
    case TSkinClass::Progress: return new TSkinProgress(owner);

    // scroll-bar cover
    case TSkinClass::Scrollbar: {
        auto* skin = new TSkinScrollbar(owner);
        skin->Mode = variant;
        return skin;
    }

    // combo box, edit, date-time picker
    case TSkinClass::ComBox: return new TSkinComBox(owner);
    case TSkinClass::Edit: return new TSkinEdit(owner);
    case TSkinClass::DateTime: return new TSkinDateTime(owner);

    // tab control and tab set
    case TSkinClass::Tab: return new TSkinTab(owner);
    case TSkinClass::Tab31: return new TSkinTab31(owner);

    // media player
    case TSkinClass::MP: return new TSkinMP(owner);

    // header and list view
    case TSkinClass::Header: return new TSkinHeader(owner);
    case TSkinClass::ListView: return new TSkinListView(owner);

    // fills and foreign controls
    case TSkinClass::ObjImage: return new TSkinObjImage(owner, variant);
    case TSkinClass::AdvPage: return new TSkinAdvPage(owner, variant);
    case TSkinClass::TabSheet: return new TSkinTabSheet(owner);
    case TSkinClass::TabBtn: return new TSkinTabBtn(owner);
    case TSkinClass::ScControl: return new TSkinScControl(owner);

    // size grip and nested dialog
    case TSkinClass::Sizer: return new TSkinSizer(owner);
    case TSkinClass::BoxH: return new TSkinBoxH(owner);
    }
    return nullptr;
}
