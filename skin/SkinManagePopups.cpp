// The manager's list of popup-menu skins: admission of "#32768" windows by menu kind,
// removal when the window is destroyed, and the menu-handle binding the owner-drawn items
// use to find their popup's background.  The popup skin itself is WinSkinPopMenu.cpp's.
#include "SkinManage.h"
#include "SkinManage_impl.h"

#include <algorithm>

#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

bool PopupSkinUsesSkinData(TWinSkinPopMenu* skin, TSkinData* skinData) {
    return skin && skin->SkinData() == skinData;
}

bool TSkinManage::SkinPopupWindow(HWND window) {
    if (!FEnabled || !IsWindow(window)) return false;
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
    auto skin = std::make_unique<TWinSkinPopMenu>();
    skin->Attach(window, skinData, nullptr);
    if (!skin->Attached()) return false;  // the window keeps the system's look
    FPopupSkins.push_back(skin.release());
    return true;
}

bool TSkinManage::RemovePopupSkin(HWND window) {
    bool removed = false;
    for (auto it = FPopupSkins.begin(); it != FPopupSkins.end(); ++it) {
        if ((*it)->Window() != window) continue;
        TWinSkinPopMenu* skin = *it;
        FPopupSkins.erase(it);
        freePopupSkin(skin);
        removed = true;
        break;
    }
    if (FPopupSkins.empty()) FMenuKind = mkPopup;
    return removed;
}

bool TSkinManage::IsPopupSkinned(HWND window) const {
    return std::any_of(FPopupSkins.begin(), FPopupSkins.end(),
                       [window](const TWinSkinPopMenu* skin) { return skin->Window() == window; });
}

void TSkinManage::SetPopupMenuHandle(HMENU menu) {
    // Every item of a popup binds it as it is drawn: a menu bound already stays with its
    // popup, and a submenu's newer popup is never taken for it.
    if (!menu || PopupBitmapOfMenu(menu)) return;
    for (auto it = FPopupSkins.rbegin(); it != FPopupSkins.rend(); ++it) {
        if ((*it)->MenuHandle()) continue;
        (*it)->SetMenuHandle(menu);
        return;
    }
}

TBitmap* TSkinManage::PopupBitmapOfMenu(HMENU menu) const {
    for (TWinSkinPopMenu* skin : FPopupSkins)
        if (menu && skin->MenuHandle() == menu) return skin->BackgroundBitmap();
    return nullptr;
}

void TSkinManage::freePopupSkin(TWinSkinPopMenu* skin) {
    if (!skin) return;
    // Detach first: the window gets its procedure back before the object goes (only while
    // the window lives and the procedure is still the skin's).
    skin->Detach();
    delete skin;
}
