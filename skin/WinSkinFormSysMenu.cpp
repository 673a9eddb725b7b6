// What the caption buttons do when released, how the form skin keeps its window state in
// step with system commands, and the skinned system menu: a popup built from the window's
// own system menu (items by command, with the restore/maximise/minimise/close glyphs of
// the skin component's image list) shown in place of the system's.
#include "WinSkinForm.h"
#include "WinSkinForm_impl.h"

#include <vector>

#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinMenu.h"

namespace {

// Glyphs of the skin component's system-menu image list.
enum SysGlyph { sgRestore = 0, sgMaximize = 1, sgMinimize = 2, sgClose = 3, sgNone = -1 };

constexpr int kSysPopupTag = 33333;

bool isSysMenuAction(int action) { return action == 3 || action == 11 || action == 12; }

}  // namespace

void SetMenuTreeOwnerDraw(HMENU menu) {
    if (!menu) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        // Only the type changes: the item keeps its text and its own item data.
        info.fMask = MIIM_FTYPE;
        info.fType |= MFT_OWNERDRAW;
        SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.hSubMenu) SetMenuTreeOwnerDraw(info.hSubMenu);
    }
}

void ClearMenuTreeOwnerDraw(HMENU menu) {
    if (!menu) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fType & MFT_OWNERDRAW) {
            info.fMask = MIIM_FTYPE;
            info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
            SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        }
        if (info.hSubMenu) ClearMenuTreeOwnerDraw(info.hSubMenu);
    }
}

// ---- caption buttons --------------------------------------------------------------------

void TWinSkinForm::ButtonClick(int x, int y) {
    auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
    if (!button || !button->Definition) return;
    const int action = button->Definition->Action;
    switch (action) {
    case 0:
        if (CanClose()) {
            SetHoverTimer(false);
            PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case 1:
    case 22: ToggleMaximize(); break;
    case 2:
    case 23: ToggleMinimize(); break;
    case 3:
    case 11:
    case 12: ShowSysMenu(POINT{x + 1, y + 1}); break;
    case 7:
    case 60: MDIChildCommand(SC_MINIMIZE); break;
    case 8:
    case 61: MDIChildCommand(SC_RESTORE); break;
    case 9:
    case 62: MDIChildCommand(SC_CLOSE); break;
    default: PostMessageA(FHandle, WM_SKINBUTTONCLICK, static_cast<WPARAM>(action), 0); break;
    }
}

void TWinSkinForm::ToggleMaximize() {
    if (FWindowState == wsSkinMaximized) {
        Restore();
        return;
    }
    if (FWindowKind == wkMDIChild)
        if (TSkinManage* manager = TSkinManage::Instance()) manager->SetMDIMaximized(true);
    FWindowState = wsSkinMaximized;
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FHotObject = nullptr;
}

void TWinSkinForm::Restore() {
    FWindowState = wsSkinNormal;
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMinimize() {
    if (FWindowState == wsSkinMinimized) {
        Restore();
        return;
    }
    FWindowState = wsSkinMinimized;
    SetSysMenuStyle(false);
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::MDIChildCommand(UINT command) {
    if (FWindowKind != wkMDIParent || !FMDIClient) return;
    BOOL maximized = FALSE;
    const HWND child = reinterpret_cast<HWND>(
        SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    if (child) SendMessageA(child, WM_SYSCOMMAND, command, 0);
}

// ---- commands ---------------------------------------------------------------------------

void TWinSkinForm::WMCommand(TMessage& m) {
    switch (LOWORD(m.WParam)) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        PostMessageA(FHandle, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
        m.Result = 0;
        return;
    default: CallDefault(m); return;
    }
}

void TWinSkinForm::WMSysCommand(TMessage& m) {
    const UINT command = static_cast<UINT>(m.WParam & 0xFFF0);
    if (!FMenuTracking && command == SC_KEYMENU) {
        const UINT key = LOWORD(m.LParam);
        if (key != ' ' && key != '-' && !GetCapture()) {
            // Alt or F10 alone: the first menu-bar item; Alt+letter: the enabled, visible
            // item with that accelerator.  A letter that matches no item goes on.
            TMenuBtn* item = key == 0 ? (FMenuBar ? FMenuBar->Item(0) : nullptr) : FindAccelButton(MenuCharOf(key, FWndProcThunk.Unicode()));
            if (key == 0 || item) {
                m.Result = 1;
                OpenMenuButton(item);
                return;
            }
        } else if (key == ' ') {
            POINT origin{0, 0};
            ClientToScreen(FHandle, &origin);
            const bool shown = showsSkinnedSysMenu();
            ShowSysMenu(origin);
            // The skinned menu was the system menu: the default would open the system's
            // own one right after it.
            if (shown) {
                m.Result = 0;
                return;
            }
        }
    }
    if (command == SC_MOUSEMENU && showsSkinnedSysMenu()) {
        // The system opens its own menu on the mouse: a click on a minimised window's
        // caption (the default's move loop ends without a move and asks for it).  The
        // skinned one takes its place, its corner just off the pointer as for the
        // system-menu button: the second press of a double-click lands on the caption, ends
        // the menu and restores the window.
        ShowSysMenu(POINT{static_cast<short>(LOWORD(m.LParam)) + 1, static_cast<short>(HIWORD(m.LParam)) + 1});
        m.Result = 0;
        return;
    }
    switch (m.WParam) {
    case SC_MINIMIZE:
        FWindowState = wsSkinMinimized;
        if (FWindowKind == wkMDIChild) SetCaptionStyle(true);
        break;
    case SC_MAXIMIZE: FWindowState = wsSkinMaximized; break;
    case SC_RESTORE:
        FWindowState = wsSkinNormal;
        if (FWindowKind == wkMDIChild) {
            SetCaptionStyle(false);
            TSkinManage* manager = TSkinManage::Instance();
            if (manager && manager->FMDIMaximized) manager->SetMDIMaximized(false);
        }
        break;
    default: break;
    }
    CallDefault(m);
}

// ---- the skinned system menu ------------------------------------------------------------

bool TWinSkinForm::showsSkinnedSysMenu() const { return FSysMenu != nullptr || SkinVersionOldNT(); }

void TWinSkinForm::ShowSysMenu(POINT screenPoint) {
    if (sysMenuOpen_) return;  // the open one is still running its own loop
    const DWORD now = GetTickCount();
    if (now - FLastSysMenuTime > FDblClickTime) {
        if (TSkinManage* manager = TSkinManage::Instance()) manager->FMenuKind = mkSystemMenu;
        FLastSysMenuTime = now;
        BuildSysMenu();
        if (!FSysPopup) return;
        std::weak_ptr<int> alive = lifeToken_;
        sysMenuOpen_ = true;
        FSysPopup->Popup(screenPoint.x, screenPoint.y);
        if (alive.expired()) return;
        sysMenuOpen_ = false;
        return;
    }
    // A second opening within the double-click time from the system-menu button closes
    // the window, as a double click on the system menu does; only from that button (a hot
    // object left from elsewhere closes nothing) and only when the window may close.
    auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
    if (button && button->Definition && isSysMenuAction(button->Definition->Action) && CanClose()) {
        SetHoverTimer(false);
        PostMessageA(FHandle, WM_CLOSE, 0, 0);
    }
}

void TWinSkinForm::newSysPopup() {
    FSysPopup = std::make_unique<TPopupMenu>(nullptr);
    FSysPopup->SetTag(kSysPopupTag);
    FSysPopup->SetOwnerDraw(true);
    if (FSkinData) FSysPopup->SetImages(&FSkinData->SysMenuImages());
}

void TWinSkinForm::BuildSysMenu() {
    FSysPopup.reset();
    if (SkinVersionOldNT()) {
        BuildFixedSysMenu();
        return;
    }
    if (!FSysMenu || !IsMenu(FSysMenu)) return;
    // Wine's system menu brings its own states up to date only when it opens; the
    // enabled states here come from the window's state and its caption buttons.
    const int count = GetMenuItemCount(FSysMenu);
    if (count <= 0) return;
    newSysPopup();
    for (int i = 0; i < count; ++i) {
        char text[80];
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;  // reset for every item: the call writes the length back
        text[0] = '\0';
        if (!GetMenuItemInfoA(FSysMenu, static_cast<UINT>(i), TRUE, &info)) continue;
        text[sizeof text - 1] = '\0';
        auto* item = new TMenuItem(FSysPopup.get());
        item->SetCaption(text[0] ? std::string(text) : std::string("-"));
        item->SetTag(static_cast<intptr_t>(info.wID));
        int glyph = sgNone;
        bool enabled = true;
        switch (info.wID) {
        // As the system's own menu: a maximised or minimised window has no size to
        // change (a size loop on the minimised strip would never end on Esc); the strip
        // may still be moved.
        case SC_SIZE: enabled = FWindowState == wsSkinNormal; break;
        case SC_MOVE: enabled = FWindowState != wsSkinMaximized; break;
        case SC_MINIMIZE:
            glyph = sgMinimize;
            enabled = FWindowState != wsSkinMinimized && (FCaps & capMinimize);
            break;
        case SC_MAXIMIZE:
            glyph = sgMaximize;
            enabled = FWindowState != wsSkinMaximized && (FCaps & capMaximize);
            break;
        case SC_CLOSE: glyph = sgClose; break;
        case SC_RESTORE:
            glyph = sgRestore;
            enabled = FWindowState != wsSkinNormal;
            break;
        default: break;
        }
        item->SetImageIndex(glyph);
        if (!enabled) item->SetEnabled(false);
        item->OnClick = [this](TObject* sender) { SysMenuClick(sender); };
        if (info.fState == MFS_GRAYED) item->SetEnabled(false);
        if (info.fState & MFS_CHECKED) item->SetChecked(true);
        SetSkinItemHandlers(*item);
        FSysPopup->Items()->Add(item);
    }
}

void TWinSkinForm::BuildFixedSysMenu() {
    FSysPopup.reset();
    newSysPopup();
    AddSysMenuItem(" Restore ", 0);
    if (FCaps & capMaximize) AddSysMenuItem(" Maximize ", 1);
    if (FCaps & capMinimize) AddSysMenuItem(" Minimize ", 2);
    AddSysMenuItem("-", 100);
    AddSysMenuItem(" Close ", 3);
}

void TWinSkinForm::AddSysMenuItem(const std::string& caption, int tag) {
    if (!FSysPopup) return;
    auto* item = new TMenuItem(FSysPopup.get());
    item->SetCaption(caption);
    item->SetTag(tag);
    item->SetImageIndex(tag);
    item->OnClick = [this](TObject* sender) { FixedSysMenuClick(sender); };
    if (tag == 3) item->SetShortCut(TextToShortCut("ALT+F4"));
    SetSkinItemHandlers(*item);
    FSysPopup->Items()->Add(item);
}

bool TWinSkinForm::CanClose() {
    if (SkinVersionOldNT() || SkinVersionWin9x()) return true;
    if (!FSysMenu) return false;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return GetMenuItemInfoA(FSysMenu, SC_CLOSE, FALSE, &info) != FALSE;
}

void TWinSkinForm::SysMenuClick(TObject* item) {
    auto* menuItem = dynamic_cast<TMenuItem*>(item);
    if (!menuItem) return;
    PostMessageA(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(menuItem->Tag()), 0);
}

void TWinSkinForm::FixedSysMenuClick(TObject* item) {
    auto* menuItem = dynamic_cast<TMenuItem*>(item);
    if (!menuItem) return;
    switch (menuItem->Tag()) {
    case 0: Restore(); break;
    case 1: ToggleMaximize(); break;
    case 2: ToggleMinimize(); break;
    case 3:
        SetHoverTimer(false);
        PostMessageA(FHandle, WM_CLOSE, 0, 0);
        break;
    default: break;
    }
}
