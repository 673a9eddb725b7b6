// The skin of one popup-menu window ("#32768"): replaces the window's procedure, paints
// the window's frame and background from the skin's "MenuBackground" part and keeps the
// rendered background, from which the owner-drawn menu items take the background under
// each item, and keeps a menu-bar drop-down clear of its bar item where the system placed
// it over the item.  The items themselves are drawn by the form skin's menu painters;
// which windows get a popup skin, and who owns it, is the skin manager's business.
//
// Types: TWinSkinPopMenu.
#pragma once
#include <windows.h>

#include <memory>

#include "Bitmap.h"
#include "SubclassedWindow.h"
#include "WinSkinMenuItems.h"

class TSkinData;

class TWinSkinPopMenu {
public:
    TWinSkinPopMenu() = default;
    // Detaches first when still attached, so the window never calls into a freed object.
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    // Subclasses the window and remembers the skin and the menu.  Nothing when already
    // attached, when the window does not exist or already has a popup skin's procedure.
    void Attach(HWND window, TSkinData* skinData, HMENU menu);
    // Gives the window its previous procedure back (only while the window lives and its
    // procedure is still this skin's; otherwise the skin stays a pass-through until the
    // window ends) and empties the background.  Nothing when not attached.
    void Detach();
    bool Attached() const { return attached_; }

    HWND Window() const { return window_; }
    TSkinData* SkinData() const { return skinData_; }
    HMENU MenuHandle() const { return menu_; }
    void SetMenuHandle(HMENU menu) { menu_ = menu; }
    // The "MenuBackground" part rendered at the window's size by the last paint; empty
    // before it and after Detach.  Pixel (x, y) is pixel (x, y) of the window rectangle.
    TBitmap& Background() { return *background_; }
    TBitmap* BackgroundBitmap() { return background_.get(); }
    // Where the window's client origin lies in the background (window coordinates): a
    // menu item's client rectangle moved by this is its place in the background.  A system
    // that draws the menu frame in the non-client area gives its frame width; one that
    // draws it inside the client area gives (0, 0).
    POINT ClientOffset() const { return clientOffset_; }
    // What an item drawn in this popup needs of it: the background, the offset and the
    // popup's renders of the item part.
    TMenuItemBackground ItemBackground() { return TMenuItemBackground{background_.get(), clientOffset_, &itemParts_}; }

    // The popup skin attached to a window, or nullptr.
    static TWinSkinPopMenu* OfWindow(HWND window);
    // The next popup window shown keeps clear of this screen area (a menu-bar item whose
    // drop-down opens) where the system placed it over the area; an empty one: no area.
    // Its submenus place themselves.
    static void KeepNextClearOf(const RECT& area);

private:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WMNCPaint(WPARAM updateRegion, LPARAM lParam);
    LRESULT WMPrintClient(HDC dc, LPARAM flags);
    LRESULT WMPaint();
    LRESULT WMEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT WMWindowPosChanging(WPARAM wParam, LPARAM lParam);
    // Renders "MenuBackground" at the window's size into background_; false when the skin
    // has no such part, holds no skin, or the window has no area.
    bool RenderBackground();

    HWND window_ = nullptr;
    TSkinData* skinData_ = nullptr;
    // Never null; shared with the other popups of the same size and skin (read only).
    std::shared_ptr<TBitmap> background_ = std::make_shared<TBitmap>();
    HMENU menu_ = nullptr;
    POINT clientOffset_{0, 0};
    bool attached_ = false;
    // What background_ was rendered from (the part and the skin's load), to render again
    // only when the picture would change.
    const void* renderedPart_ = nullptr;
    unsigned renderedGeneration_ = 0;
    TMenuItemPartCache itemParts_;
    // Our procedure in front of the window's; when the window ends, the skin detaches.
    SubclassedWindow thunk_{SubclassKind::PopupMenu, this,
                            [this](TMessage& m) { m.Result = WndProc(m.Msg, m.WParam, m.LParam); },
                            [this] { Detach(); }};
};

// Known gaps: menus that scroll (more items than the screen holds) get the background of
// the window, not of the scrolled item positions.
