// The skinned menu bar: one TMenuBtn per top-level item of the window's menu, read from
// the menu handle (and the class-library main menu, whose captions and states win), and
// TWinSkinMenu, which lays the items out and paints the bar into the frame's menu strip.
// Building removes the system menu bar from the window.  Opening the items' popups and
// the keyboard are the form skin's (WinSkinFormMenus.cpp); the geometry is in
// WinSkinMenuLayout.h.
//
// Types: TMenuBtn, TWinSkinMenu.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Classes.h"
#include "NCObjects.h"

class TMainMenu;
class TMenuItem;
class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;

// One item of the skinned menu bar.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm* form, TWinSkinMenu* bar);

    TMenuItem* MenuItem = nullptr;  // the class-library item, or none
    TSkinData* SkinData = nullptr;
    int Index = 0;                  // position in the bar
    std::wstring Caption;           // "&" marks the accelerator
    bool Enabled = true;
    HMENU SubMenu = nullptr;        // 0 when the item has no popup
    UINT CommandId = 0;

    // Repaints this item on the window's DC: the bar background from the bar cache, a
    // frame in the ButtonHilight colour while hot or pressed, the caption.
    void Paint() override;

private:
    TWinSkinMenu* bar_;
};

class TWinSkinMenu : public TComponent {
public:
    // owner: the form skin (it frees the bar).
    explicit TWinSkinMenu(TComponent* owner);
    ~TWinSkinMenu() override;

    // Set by the creator before Build.
    TSkinData* SkinData = nullptr;
    TWinSkinForm* FormSkin = nullptr;
    TMainMenu* MainMenu = nullptr;  // the form's Menu; none for a raw window
    HMENU MenuHandle = nullptr;     // the window's menu, kept after the bar was removed

    // Rebuilds the items from the menu handle (the class-library items override), then
    // removes the window's system menu bar.  Stops, leaving the bar alone, without a menu
    // handle, for a form without a main menu, or for an empty menu.
    void Build();
    // The same from the class-library main menu's items (platforms before NT 5).
    void BuildFromItems();
    // Build for a changed MDI frame menu: the handle's text stays for items the
    // class-library menu does not know, no item is bound; then Layout.
    void Rebuild();
    // Paints the whole bar into dc at bar (frame coordinates) and lays the items out.
    void Paint(HDC dc, const RECT& bar);
    // Lays the items out in the form skin's current bar rectangle without painting.
    void Layout();
    // The item under a frame point (only items with a caption and room), or none.
    TMenuBtn* ButtonAt(POINT framePoint) const;

    int ItemCount() const { return static_cast<int>(items_.size()); }
    TMenuBtn* Item(int index) const;  // none outside 0..ItemCount() - 1
    // True when the object is one of this bar's items (the form skin asks before it
    // forgets a hot object).
    bool Owns(const TNCObject* object) const;
    const RECT& BarRect() const { return barRect_; }
    TBitmap& BarCache() { return barCache_; }
    // The bar's reading order: the class-library main menu's; left to right without one.
    bool RightToLeft() const;
    // Draws the caption buttons of a maximised MDI child that sit in the menu bar (Align
    // 100) into the bar's scratch surface (bar-relative), and tells the manager.
    void paintMDIButtons(HDC surface, const RECT& bar);
    // The form skin's bar rectangle: (FBorderLeft, FBorderTop, FWidth - FBorderRight,
    // FBorderTop + FMenuHeight).
    RECT FormBarRect() const;
    HWND Window() const;

private:
    enum class HandleLookup { Bind, CaptionedOnly };
    bool takeMenus();  // the menu handle and main menu; false when building must stop
    std::unique_ptr<TMenuBtn> readHandleItem(int position);
    void buildFromHandle(HandleLookup lookup);
    void freeItems();
    void addItem(std::unique_ptr<TMenuBtn> item);
    void removeSystemBar();
    void layoutIn(const RECT& bar);

    std::vector<std::unique_ptr<TMenuBtn>> items_;
    RECT barRect_{0, 0, 0, 0};
    TBitmap barCache_;
};

// ---- operations of the form skin's menu tracking (WinSkinFormMenus.cpp) ----

// WM_MENUSELECT of a skinned window, handed on by its window procedure (the message is
// sent, so no message hook sees it): the item last selected in the open bar popup.
void MenuTrackingSelect(HWND window, WPARAM wParam, LPARAM lParam);
// The character a menu key code stands for: UTF-16 for a Unicode window, else an ANSI
// code (one or two bytes) in the process code page; 0 when it converts to nothing.
wchar_t MenuCharOf(UINT code, bool unicode);
