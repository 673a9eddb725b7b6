// The class library's private window messages and the message record its window
// procedures pass around.  Every private message number lives here, once.
#pragma once
#include <windows.h>

// One message as the class library's window procedures see it.  A handler that does not
// take the message over passes it on (DefaultHandler / the previous procedure), which
// sets Result.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Control messages, sent by the class library to its own controls.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;        // to a form when its window activates
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;      // to a form when it deactivates
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;       // to a form; wParam virtual key; Result 1 = handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;      // to a form for Alt+key; wParam char code, lParam key data; Result 1 = handled
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;    // to a form; lParam the control that got the focus
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11; // to a control after Visible changed; wParam the new value
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12; // to a control after Enabled changed
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;   // to a control after Color changed
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;    // to a control after Font changed
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;    // to a control after its text changed
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;     // to a control when the pointer enters it; wParam 0, lParam 0
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;     // to a control when the pointer leaves it; wParam 0, lParam 0
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;    // to a form after its main menu's items changed
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25; // to a control when it becomes shown or hidden on screen
constexpr UINT CM_ENTER = CM_BASE + 26;          // to a control when it becomes the form's active control
constexpr UINT CM_EXIT = CM_BASE + 27;           // to a control when it stops being the active control
constexpr UINT CM_RELEASE = CM_BASE + 33;        // posted to a form to free it outside its own handlers
constexpr UINT CM_RECREATEWND = CM_BASE + 51;    // to a control whose window must be made again
// Posted to the application window: report the exception the last callback caught.
constexpr UINT CM_SHOWPENDINGEXCEPTION = CM_BASE + 0x80;

// Reflected notifications: a parent reflects WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
// WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL and WM_VSCROLL back to the child control they
// concern as CN_BASE + the original message, same wParam and lParam.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// The notification record of a CN_NOTIFY that the class library reflected, or nullptr when
// a message only shares its number: other senders of that number put a small marker value
// in lParam, and no record lies in the lowest 64 KB of the address space.
inline const NMHDR* ReflectedNotify(const TMessage& m) {
    if (m.Msg != CN_NOTIFY || static_cast<ULONG_PTR>(m.LParam) < 0x10000) return nullptr;
    return reinterpret_cast<const NMHDR*>(m.LParam);
}
