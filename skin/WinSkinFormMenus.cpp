// The form skin's menu bar at work: opening an item's popup, the message-filter hook that
// follows the arrow keys and the mouse while it is open, switching to a neighbour, the
// keyboard entries (Alt+letter, the host's menu-bar click), the preparation of a
// class-library popup before it opens, and the bar's life (made at attachment, following
// the window's menu when it changes, the menu given back by Unskin).  Owner-drawn items
// are in WinSkinFormMenusDraw.cpp.
//
// The current item of the open popup comes from WM_MENUSELECT, which the form skin's
// window procedure hands on (MenuTrackingSelect): the message is sent, never posted, so
// the message-filter hook never sees it.
//
// Esc that closes the open drop-down leaves the bar selected (KeepMenuBarSelected), as the
// system's menu bar does: a second Esc leaves it.
//
// Exactly one drop-down is open at any time: a switch never opens the neighbour from inside
// the open menu's loop (a click posted there is handled by the open menu and, under Wine,
// leaves two drop-downs open).  The hook ends the open menu instead and OpenMenuButton
// opens the neighbour once TrackPopupMenu has returned.
#include <algorithm>
#include <cwctype>

#include "Forms.h"
#include "Menus.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "WinSkinMenuItems.h"
#include "WinSkinMenuLayout.h"
#include "WinSkinPopMenu.h"
#include "WndProcBoundary.h"

namespace {

// The tracking state: one set per process, as only one popup is tracked at a time.
struct MenuTrackState {
    HHOOK hook = nullptr;
    TWinSkinForm* form = nullptr;       // whose bar item is open
    HWND window = nullptr;              // its window
    int currentIndex = -1;              // the open item
    int switchTo = -1;                  // the item to open once the current popup has closed
    bool firstKey = false;              // the first menu message of this popup was seen
    bool escaped = false;               // Esc closed the open popup itself (not a submenu of it)
    POINT lastMouse{0, 0};
    // The item last selected in the open popup (from WM_MENUSELECT).
    bool haveSelection = false;
    HMENU selectedIn = nullptr;         // the menu that holds it
    HMENU selectedPopup = nullptr;      // its submenu, when it opens one
    TMenuItem* currentItem = nullptr;   // its class-library item, when there is one
};

MenuTrackState& track() {
    static MenuTrackState state;
    return state;
}

void clearSelection(MenuTrackState& t) {
    t.haveSelection = false;
    t.selectedIn = t.selectedPopup = nullptr;
    t.currentItem = nullptr;
}

LRESULT CALLBACK MenuTrackHookProc(int code, WPARAM wParam, LPARAM lParam);

void InstallMenuTrackHook() {
    MenuTrackState& t = track();
    t.switchTo = -1;
    t.firstKey = false;
    t.escaped = false;
    clearSelection(t);
    GetCursorPos(&t.lastMouse);
    if (!t.hook) t.hook = SetWindowsHookExA(WH_MSGFILTER, &MenuTrackHookProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuTrackHook() {
    MenuTrackState& t = track();
    if (t.hook) UnhookWindowsHookEx(t.hook);
    t.hook = nullptr;
    clearSelection(t);
    t.currentIndex = -1;
    t.firstKey = false;
}

// The tracking form skin, unless it was freed while its popup ran (the menu's loop runs
// the program's messages).
TWinSkinForm* liveTrackingForm() {
    const MenuTrackState& t = track();
    if (!t.form) return nullptr;
    TSkinManage* manager = TSkinManage::Instance();
    return manager && manager->FindFormSkin(t.window) == t.form ? t.form : nullptr;
}

bool emptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Items the keyboard may move to: visible, with a caption, so with somewhere to be.
std::vector<bool> selectableItems(const TWinSkinMenu& bar) {
    std::vector<bool> out;
    for (int i = 0; i < bar.ItemCount(); ++i) {
        const TMenuBtn* item = bar.Item(i);
        out.push_back(item->Visible && !item->Caption.empty());
    }
    return out;
}

// The bar item after (or before) the open one; none on an empty bar.
TMenuBtn* NextMenuButton(bool forward) {
    const MenuTrackState& t = track();
    TWinSkinForm* form = liveTrackingForm();
    if (!form || !form->FMenuBar) return nullptr;
    const TWinSkinMenu& bar = *form->FMenuBar;
    return bar.Item(NextMenuBarIndex(t.currentIndex, selectableItems(bar), forward));
}

bool currentItemRightToLeft(const MenuTrackState& t) {
    if (!t.currentItem) return false;
    const TMenu* menu = t.currentItem->GetParentMenu();
    return menu && menu->IsRightToLeft();
}

LRESULT menuTrackHook(int code, WPARAM wParam, LPARAM lParam) {
    MenuTrackState& t = track();
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_MENU && msg && msg->message == WM_KEYDOWN && currentItemRightToLeft(t)) {
        if (msg->wParam == VK_LEFT) msg->wParam = VK_RIGHT;
        else if (msg->wParam == VK_RIGHT) msg->wParam = VK_LEFT;
    }
    const LRESULT result = CallNextHookEx(t.hook, code, wParam, lParam);
    if (result != 0 || code != MSGF_MENU || !msg) return result;
    TWinSkinForm* form = liveTrackingForm();
    if (!form || !form->FMenuBar) return result;
    if (!t.firstKey) {
        // The popup opens with its first item selected, as a menu bar's does.
        t.firstKey = true;
        PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    TMenuBtn* target = nullptr;
    switch (msg->message) {
    case WM_KEYDOWN:
        switch (msg->wParam) {
        case VK_RETURN: t.switchTo = -1; break;
        case VK_ESCAPE:
            t.switchTo = -1;
            // Inside a deeper submenu Esc closes that submenu only.
            t.escaped = !t.haveSelection || t.selectedIn == form->FTrackedMenu || t.selectedPopup == form->FTrackedMenu;
            break;
        case VK_LEFT:
            // Inside a deeper submenu Left closes that submenu instead.
            if (!t.haveSelection || t.selectedIn == form->FTrackedMenu || t.selectedPopup == form->FTrackedMenu)
                target = NextMenuButton(false);
            break;
        case VK_RIGHT:
            // On an item with a submenu Right opens the submenu instead.
            if (!t.haveSelection || !t.selectedPopup) target = NextMenuButton(true);
            break;
        default: break;
        }
        break;
    case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU) form->EndMenuTracking();
        return result;
    case WM_MOUSEMOVE:
        if (msg->pt.x != t.lastMouse.x || msg->pt.y != t.lastMouse.y) {
            t.lastMouse = msg->pt;
            target = form->FMenuBar->ButtonAt(form->ScreenToFrame(msg->pt.x, msg->pt.y));
        }
        break;
    default: break;
    }
    if (target && target->Index != t.currentIndex) {
        t.switchTo = target->Index;
        EndMenu();
        // The key has done its work; the closing menu must not act on it too.
        if (msg->message == WM_KEYDOWN) return 1;
    }
    return result;
}

LRESULT CALLBACK MenuTrackHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    return GuardedDispatch(
        msg ? msg->hwnd : nullptr, WM_NULL, [&] { return menuTrackHook(code, wParam, lParam); },
        [&] { return CallNextHookEx(track().hook, code, wParam, lParam); });
}

constexpr int kMenuTextChars = 80;  // the longest item text read for its accelerator

// The accelerator of a caption: the character after a single '&'; 0 when none.
wchar_t accelOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

bool sameKey(wchar_t a, wchar_t b) {
    return a && b && std::towupper(static_cast<wint_t>(a)) == std::towupper(static_cast<wint_t>(b));
}

}  // namespace

// ---- fed by the form skin's window procedure and by the menu bar --------------------

wchar_t MenuCharOf(UINT code, bool unicode) {
    if (unicode || code < 0x80) return static_cast<wchar_t>(code);
    char bytes[2] = {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF)};
    wchar_t wide = 0;
    const int n = bytes[1] ? 2 : 1;
    return MultiByteToWideChar(CP_ACP, 0, bytes, n, &wide, 1) == 1 ? wide : 0;
}

void MenuTrackingSelect(HWND window, WPARAM wParam, LPARAM lParam) {
    MenuTrackState& t = track();
    TWinSkinForm* form = liveTrackingForm();
    if (!t.hook || !form || t.window != window) return;
    const UINT flags = HIWORD(wParam);
    const HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (flags == 0xFFFF && !menu) {
        // The popup closes: unless it closes for a switch, tracking ends with it.
        if (t.switchTo < 0) form->EndMenuTracking();
        return;
    }
    t.haveSelection = true;
    t.selectedIn = menu;
    UINT_PTR id = LOWORD(wParam);
    TMenuItemFind kind = TMenuItemFind::fkCommand;
    t.selectedPopup = nullptr;
    if (flags & MF_POPUP) {
        t.selectedPopup = GetSubMenu(menu, static_cast<int>(LOWORD(wParam)));
        id = reinterpret_cast<UINT_PTR>(t.selectedPopup);
        kind = TMenuItemFind::fkHandle;
    }
    TMainMenu* main = form->FMenuBar ? form->FMenuBar->MainMenu : nullptr;
    t.currentItem = main && id ? main->FindItem(id, kind) : nullptr;
}

// ---- TWinSkinForm: opening items -------------------------------------------------------

bool TWinSkinForm::OpenMenuButton(TMenuBtn* item) {
    if (!item) return false;
    MenuTrackState& t = track();
    if (t.hook) {
        // Asked while a popup is open (a click on the bar handled inside the open menu's
        // loop): switch to that item once the open one has closed.
        if (t.form == this && item->Index != t.currentIndex) {
            t.switchTo = item->Index;
            EndMenu();
        }
        return false;
    }
    const HWND window = FHandle;
    int index = item->Index;
    bool tracked = false;
    for (bool first = true;; first = false) {
        TMenuBtn* btn = FMenuBar ? FMenuBar->Item(index) : (first ? item : nullptr);
        if (!btn) break;
        if (!first) btn->MouseDown();  // the pressed look moves along with the popup
        PostMessageA(window, WM_COMMAND, btn->CommandId, 0);
        if (!btn->SubMenu) break;
        // The bar keeps its class-library item only while the menu still holds it (a menu
        // changed without a rebuild of the bar may have freed it).
        TMainMenu* main = FMenuBar ? FMenuBar->MainMenu : nullptr;
        TMenuItem* own = btn->MenuItem && main && main->FindItem(btn->CommandId, TMenuItemFind::fkCommand) == btn->MenuItem
                             ? btn->MenuItem
                             : nullptr;
        if (own) {
            HideRedundantSeparators(own);
            UpdateItemActions(own);
            // Hiding items changes the menu, and a changed menu may rebuild the bar.
            btn = FMenuBar ? FMenuBar->Item(index) : nullptr;
            if (!btn || !btn->SubMenu) break;
        }
        const HMENU sub = btn->SubMenu;
        const bool enabled = btn->Enabled;
        const RECT bounds = btn->Bounds;
        t.currentIndex = index;
        t.form = this;
        t.window = window;
        GetWindowRect(window, &FWindowRect);
        if (!SkinVersionOldNT()) SetMenuTreeOwnerDraw(sub);
        FMenuTracking = true;
        const int x = FWindowRect.left + (FRightToLeft ? bounds.right : bounds.left);
        const int y = FWindowRect.top + bounds.bottom;
        if (TSkinManage* manager = TSkinManage::Instance()) manager->FMenuKind = mkMenuBar;
        FTrackedMenu = sub;
        InstallMenuTrackHook();
        if (enabled) {
            // The item itself is the area to avoid: where there is no room below it (a
            // window at the screen's bottom), the drop-down opens above the bar.
            TPMPARAMS avoid{};
            avoid.cbSize = sizeof avoid;
            avoid.rcExclude = RECT{FWindowRect.left + bounds.left, FWindowRect.top + bounds.top,
                                   FWindowRect.left + bounds.right, y};
            TWinSkinPopMenu::KeepNextClearOf(avoid.rcExclude);  // where the system does not
            TrackPopupMenuEx(sub, TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_VERTICAL | (FRightToLeft ? TPM_RIGHTALIGN : 0), x,
                             y, window, &avoid);
            TWinSkinPopMenu::KeepNextClearOf(RECT{});
        }
        int next = t.switchTo;
        const bool escaped = t.escaped;
        RemoveMenuTrackHook();
        t.form = nullptr;
        t.window = nullptr;
        tracked = true;
        // The menu's loop ran the program's messages: this form skin may be gone.
        TSkinManage* manager = TSkinManage::Instance();
        if (!IsWindow(window) || !manager || manager->FindFormSkin(window) != this) return true;
        FMenuTracking = false;
        if (escaped) {
            next = KeepMenuBarSelected(index);
            if (next < 0) break;
        } else if (next < 0 || next == index) {
            break;
        }
        index = next;
    }
    return tracked;
}

int TWinSkinForm::KeepMenuBarSelected(int index) {
    const HWND window = FHandle;
    auto alive = [&] {
        TSkinManage* manager = TSkinManage::Instance();
        return IsWindow(window) && manager && manager->FindFormSkin(window) == this;
    };
    auto highlight = [&](int i) {
        if (TMenuBtn* item = FMenuBar ? FMenuBar->Item(i) : nullptr) item->MouseMove();
    };
    highlight(index);
    FMenuTracking = true;  // the hover timer leaves the highlight alone
    int open = -1;
    WPARAM releasing = 0;  // Alt or F10 went down: the bar is left when the key comes up
    MSG msg;
    while (alive() && FMenuBar && GetActiveWindow() == window) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);  // for the program's own loop
            break;
        }
        const UINT m = msg.message;
        if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
            const WPARAM key = msg.wParam;
            if (key == VK_ESCAPE) break;
            if (key == VK_MENU || key == VK_F10) {
                releasing = key;
            } else if (key == VK_LEFT || key == VK_RIGHT) {
                index = NextMenuBarIndex(index, selectableItems(*FMenuBar), (key == VK_RIGHT) != FRightToLeft);
                highlight(index);
            } else if (key == VK_DOWN || key == VK_UP || key == VK_RETURN) {
                open = index;
                break;
            } else if (TMenuBtn* item = FindAccelButton(static_cast<wchar_t>(key))) {
                open = item->Index;
                break;
            }
            continue;
        }
        if (m == WM_KEYUP || m == WM_SYSKEYUP) {
            if (releasing && msg.wParam == releasing) break;
            continue;
        }
        if (m == WM_CHAR || m == WM_SYSCHAR || m == WM_DEADCHAR || m == WM_SYSDEADCHAR) continue;
        if (m == WM_NCLBUTTONDOWN && msg.hwnd == window) {
            // A press on a bar item opens that item; anywhere else it leaves the bar and
            // does what it always does.
            const POINT frame = ScreenToFrame(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            if (TMenuBtn* item = ButtonAt(frame) ? nullptr : FMenuBar->ButtonAt(frame)) {
                open = item->Index;
                break;
            }
        }
        const bool press = m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_NCLBUTTONDOWN ||
                           m == WM_NCRBUTTONDOWN || m == WM_NCMBUTTONDOWN;
        if (press && alive() && FHotObject) FHotObject->MouseLeave();
        DispatchMessageA(&msg);
        if (press) break;
    }
    if (!alive()) return -1;
    FMenuTracking = false;
    if (open < 0 && FMenuBar)
        if (TMenuBtn* item = FMenuBar->Item(index); item && FHotObject == item) item->MouseLeave();
    return open;
}

void TWinSkinForm::PostMenuBarClick(TMenuBtn* item) {
    if (!item || !item->Visible) return;
    // Bounds come with the first layout; an item without any must not be clicked at the
    // window's corner.
    if (emptyRect(item->Bounds) && FMenuBar) FMenuBar->Layout();
    if (emptyRect(item->Bounds)) return;
    if (!GetWindowRect(FHandle, &FWindowRect)) return;
    const int x = item->Bounds.left + FWindowRect.left + 1;
    const int y = item->Bounds.top + FWindowRect.top + 1;
    PostMessageA(FHandle, WM_NCLBUTTONDOWN, 1, MAKELPARAM(x, y));
}

void TWinSkinForm::MenuBarClickAt(TMessage& message) {
    message.Result = 0;
    const int x = static_cast<short>(LOWORD(message.LParam));
    const int y = static_cast<short>(HIWORD(message.LParam));
    const POINT frame = ScreenToFrame(x, y);
    if (ButtonAt(frame) || !FMenuBar) return;
    OpenMenuButton(FMenuBar->ButtonAt(frame));
}

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t ch) {
    if (!FMenuBar || !ch) return nullptr;
    for (int i = 0; i < FMenuBar->ItemCount(); ++i) {
        TMenuBtn* item = FMenuBar->Item(i);
        if (item->Enabled && item->Visible && sameKey(accelOf(item->Caption), ch)) return item;
    }
    return nullptr;
}

void TWinSkinForm::DialogCharHook(TMessage& message) {
    if (FOldWindowProc) FOldWindowProc(message);
    else CallDefault(message);
    if (message.Result != 0) return;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    auto down = [&keys](int vk) { return (keys[vk] & 0x80) != 0; };
    const bool onlyAlt = down(VK_MENU) && !down(VK_SHIFT) && !down(VK_CONTROL) && !down(VK_LBUTTON) &&
                         !down(VK_RBUTTON) && !down(VK_MBUTTON);
    TMenuBtn* item = FindAccelButton(MenuCharOf(static_cast<UINT>(message.WParam), false));
    if (item && onlyAlt) {
        PostMenuBarClick(item);
        message.Result = 1;
        return;
    }
    TSkinManage* manager = TSkinManage::Instance();
    if (FWindowKind == wkMDIChild) {
        if (manager && manager->FMDIParentForm &&
            manager->FMDIParentForm->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
            return;
    } else if (Application && Application->MainForm() && Application->MainForm() != FControl) {
        Application->MainForm()->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
    }
    message.Result = 0;
}

void TWinSkinForm::EndMenuTracking() { FMenuTracking = false; }

void TWinSkinForm::WMMenuChar(TMessage& message) {
    if (!callDefaultAlive(message)) return;
    if (HIWORD(message.Result) != MNC_IGNORE || !(HIWORD(message.WParam) & MF_POPUP)) return;
    // The system does not read the text of an owner-drawn item for its mnemonic (Windows
    // asks the owner instead; Wine still finds it): the items keep their texts, so the
    // accelerator is looked up here.
    const auto menu = reinterpret_cast<HMENU>(message.LParam);
    const wchar_t ch = MenuCharOf(LOWORD(message.WParam), FWndProcThunk.Unicode());
    const int count = menu && ch ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if ((info.fType & MFT_SEPARATOR) || (info.fState & (MFS_GRAYED | MFS_DISABLED))) continue;
        wchar_t text[kMenuTextChars + 1] = {};
        const int n = GetMenuStringW(menu, static_cast<UINT>(i), text, kMenuTextChars, MF_BYPOSITION);
        if (n <= 0 || !sameKey(accelOf(std::wstring(text, static_cast<size_t>(n))), ch)) continue;
        message.Result = MAKELRESULT(i, info.hSubMenu ? MNC_SELECT : MNC_EXECUTE);
        return;
    }
}

// ---- the bar's life --------------------------------------------------------------------

void TWinSkinForm::FreeMenuBar() {
    TWinSkinMenu* bar = FMenuBar;
    FMenuBar = nullptr;
    delete bar;  // its items clear FHotObject when one of them is hot
}

void TWinSkinForm::CreateMenuBar() {
    FreeMenuBar();
    // A window without a full caption keeps the system's non-client area, its menu bar
    // included: a skinned bar would take its menu and leave no strip to show it in.
    if (!FMenuHandle || FWindowKind == wkMDIChild || FBorderKind == bkNoCaption) return;
    auto* bar = new TWinSkinMenu(this);
    bar->SkinData = FSkinData;
    bar->FormSkin = this;
    bar->MenuHandle = FMenuHandle;
    if (auto* form = dynamic_cast<TCustomForm*>(FControl)) bar->MainMenu = form->Menu();
    FMenuBar = bar;
    FMenuHeight = GetSystemMetrics(SM_CYMENU);
    FMenuBar->Build();
}

void TWinSkinForm::MenuBarChanged() {
    const HMENU current = GetMenu(FHandle);
    if (FMenuBar) {
        // A class-library menu refills its handles in place and keeps the window's menu
        // removed, so the bar is rebuilt from what it holds, not only when the window
        // shows a menu again.
        if (FSkinData && FSkinData->MenuUpdate) {
            if (current) FMenuBar->MenuHandle = current;
            FMenuBar->Build();
            RepaintMenuBar();
        }
    } else if (current && FFrameSkinned && FBorderKind != bkNoCaption && FWindowKind != wkMDIChild) {
        // A menu given to a window that had none: removing it without a bar to show it
        // would lose it, so the bar comes now and takes its strip from the client area.
        FMenuHandle = current;
        CreateMenuBar();
        if (FMenuBar) FrameChanged();
        return;
    }
    if (FMenuBar && GetMenu(FHandle)) SetMenu(FHandle, nullptr);
}

void TWinSkinForm::RepaintMenuBar() {
    if (!FMenuBar || !IsWindow(FHandle)) return;
    FMenuBar->Layout();
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

HMENU TWinSkinForm::MenuToGiveBack() const {
    auto* form = dynamic_cast<TCustomForm*>(FControl);
    if (form && FWindowKind != wkMDIChild && origMenu_) {
        if (TMainMenu* main = form->Menu()) {
            try {
                return main->Handle();
            } catch (...) {
                // No handle could be made: the menus the window had serve below.
            }
        }
    }
    if (FMenuBar && FMenuBar->MenuHandle && IsMenu(FMenuBar->MenuHandle)) return FMenuBar->MenuHandle;
    return origMenu_ && IsMenu(origMenu_) ? origMenu_ : nullptr;
}
