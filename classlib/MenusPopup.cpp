// Popup menus on screen: Popup (OnPopup, then the system's popup tracking), the hidden
// popup-list window that owns every tracked popup of the class library and receives its
// commands and owner-draw messages, and PopupMenuAt for context menus of controls.
#include <windows.h>

#include "Controls.h"
#include "Menus.h"
#include "Menus_impl.h"
#include "UtilityWindow.h"

namespace {

// The command of a chosen item: run it in whichever menu holds it.
bool runCommand(UINT command) {
    TMenuItem* item = nullptr;
    TMenu* menu = menus_impl::MenuOfCommand(command, &item);
    return menu && menu->DispatchCommand(command);
}

// Owner-drawn items have no mnemonics of their own: the window that owns the popup is
// asked (WM_MENUCHAR) and answers with the position of the visible, enabled item whose
// caption has that accelerator.
LRESULT onMenuChar(unsigned charCode, HMENU menu) {
    TMenuItem* parent = menus_impl::ItemOfHandle(menu);
    if (!parent) return MAKELRESULT(0, MNC_IGNORE);
    int position = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* child = parent->Items(i);
        if (!child->Visible()) continue;
        if (child->Enabled() && !child->IsLine() && IsAccel(charCode, child->Caption()))
            return MAKELRESULT(position, child->Count() > 0 ? MNC_SELECT : MNC_EXECUTE);
        ++position;
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

bool onMeasureItem(MEASUREITEMSTRUCT& mis, HWND wnd) {
    for (TMenu* m : menus_impl::LiveMenus())
        if (m->MeasureItem(mis, wnd)) return true;
    return false;
}

bool onDrawItem(const DRAWITEMSTRUCT& dis) {
    for (TMenu* m : menus_impl::LiveMenus())
        if (m->DrawItem(dis)) return true;
    return false;
}

// A failing handler is reported by the window's procedure, and the message answers 0.
bool onPopupListMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
        if (m.LParam == 0 && runCommand(LOWORD(m.WParam))) return true;
        break;
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis && mis->CtlType == ODT_MENU && onMeasureItem(*mis, TPopupMenu::PopupListWindow())) {
            m.Result = TRUE;
            return true;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        if (dis && dis->CtlType == ODT_MENU && onDrawItem(*dis)) {
            m.Result = TRUE;
            return true;
        }
        break;
    }
    case WM_MENUCHAR:
        if (HIWORD(m.WParam) & MF_POPUP) {
            m.Result = onMenuChar(LOWORD(m.WParam), reinterpret_cast<HMENU>(m.LParam));
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

UINT alignmentFlags(TPopupAlignment a) {
    switch (a) {
    case paRight: return TPM_RIGHTALIGN;
    case paCenter: return TPM_CENTERALIGN;
    default: return TPM_LEFTALIGN;
    }
}

}  // namespace

HWND TPopupMenu::PopupListWindow() {
    static HWND wnd = nullptr;
    if (wnd && IsWindow(wnd)) return wnd;
    // A hidden top-level window rather than a message-only one: popup tracking needs an
    // owner that can take the foreground.
    wnd = CreateUtilityWindow("TPopupList", "popup menu window", TUtilityWindowKind::HiddenTopLevel, onPopupListMessage);
    return wnd;
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HMENU menu = Handle();
    HWND wnd = PopupListWindow();
    TrackPopupMenu(menu, alignmentFlags(alignment_) | TPM_RIGHTBUTTON, x, y, 0, wnd, nullptr);
    // The chosen item's command was posted to the popup-list window: run it before
    // returning, so that the caller sees its effect.
    MSG msg;
    while (PeekMessageA(&msg, wnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        if (msg.lParam == 0) runCommand(LOWORD(msg.wParam));
}

void PopupMenuAt(TPopupMenu* menu, int x, int y, TControl* sender) {
    if (!menu || !menu->AutoPopup()) return;
    menu->SetPopupComponent(sender);
    menu->Popup(x, y);
}
