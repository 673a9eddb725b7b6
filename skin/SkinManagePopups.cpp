// The manager's list of popup-menu skins: admission of "#32768" windows by menu kind,
// removal when the window is destroyed, and the menu-handle binding the owner-drawn items
// use to find their popup's background.
//
// The popup-menu skin itself (TWinSkinPopMenu) is not built yet: until it is, no popup
// window is admitted, the list stays empty and the lookups find nothing.  The menu kind
// is still kept and reset exactly as the popup skins expect.
#include "SkinManage.h"
#include "SkinManage_impl.h"

#include "WinSkinData.h"
#include "WinSkinForm.h"

bool PopupSkinUsesSkinData(TWinSkinPopMenu*, TSkinData*) { return false; }

bool TSkinManage::SkinPopupWindow(HWND window) {
    if (!FEnabled) return false;
    if (SendMessageA(window, WM_SKINQUERY, 0, 0) == 1 || IsPopupSkinned(window)) return false;
    TSkinData* skinData = ChooseSkinData(window);
    if (!skinData || skinData->NoSkin()) return false;
    bool wanted = false;
    switch (FMenuKind) {
    case mkPopup: wanted = (skinData->SkinControls & SkinBit(xcPopupMenu)) != 0; break;
    case mkMenuBar:
        wanted = (skinData->SkinControls & (SkinBit(xcMainMenu) | SkinBit(xcMenuItem))) != 0;
        break;
    case mkSystemMenu: wanted = (skinData->SkinControls & SkinBit(xcSystemMenu)) != 0; break;
    default: break;
    }
    if (!wanted) return false;
    // Not yet: the popup-menu skin attaches here once it exists.
    return false;
}

bool TSkinManage::RemovePopupSkin(HWND) {
    const bool removed = false;
    if (FPopupSkins.empty()) FMenuKind = mkPopup;
    return removed;
}

bool TSkinManage::IsPopupSkinned(HWND) const { return false; }

void TSkinManage::SetPopupMenuHandle(HMENU) {}

TBitmap* TSkinManage::PopupBitmapOfMenu(HMENU) const { return nullptr; }

void TSkinManage::freePopupSkin(TWinSkinPopMenu*) {}
