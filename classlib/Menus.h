// Menus: menu items (components of the form, nested in stored forms), the main menu of a
// form and popup menus.  Each item with children owns a popup menu handle; a main menu
// owns a menu bar handle.  Handles are rebuilt when items change, and the form is told
// with CM_MENUCHANGED.
//
// Types: TMenuItem, TMenu, TMainMenu, TPopupMenu, TMenuItemFind, TMenuDrawItemEvent,
//        TMenuMeasureItemEvent.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"

class TMenu;
class TImageList;

using TShortCut = uint16_t;  // virtual key in the low byte, scShift/scCtrl/scAlt above
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut TextToShortCut(const std::string& text);   // "Ctrl+N", "ALT+F4", "F3", "Del"; 0 when unknown
std::string ShortCutToText(TShortCut shortCut);      // "" for 0
// Key names a stored form may give for ShortCut (F1.., Del, Ins...), without modifiers.
extern const TEnumNames ShortCutIdents;

// Accelerators of captions: '&' marks the next character; "&&" is a literal '&'.
std::string StripHotkey(const std::string& caption);
char GetHotkey(const std::string& caption);              // 0 when none; upper-cased ASCII
bool IsAccel(unsigned charCode, const std::string& caption);  // case-insensitive

using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

enum class TMenuItemFind { fkCommand, fkHandle, fkShortCut };

class TMenuItem : public TComponent {
    CLASS_INFO(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    bool IsLine() const { return caption_ == "-"; }
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut s);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& h) { hint_ = h; }
    UINT Command() const { return command_; }  // unique command id, given at creation
    // Items have no actions; kept so that callers written for actions still compile.
    void Update() {}

    // Children.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Delete(int index);          // removes and frees
    void Clear();                    // frees every child
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Find(const std::string& caption) const;  // caption without '&', case-insensitive
    // The popup menu handle of an item with children (made on demand).
    HMENU Handle();
    TMenu* GetParentMenu() const;
    TImageList* GetImageList() const;  // the parent menu's Images
    bool HasHandle() const { return handle_ != nullptr; }

    void Click();
    // Default owner-draw measuring and drawing.  An owner-drawn item is measured by
    // MeasureItem and then by OnMeasureItem, which gets that default size; it is drawn by
    // OnDrawItem when set, else by DrawItem.
    virtual void MeasureItem(TCanvas& canvas, int& width, int& height);
    virtual void DrawItem(TCanvas& canvas, RECT rect, bool selected);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    void SetParentComponent(TComponent* parent) override;

protected:
    friend class TMenu;
    friend class TMainMenu;
    friend class TPopupMenu;
    void changed(bool rebuild);  // tells the owning menu
    void rebuildHandle();
    void fillMenu(HMENU menu);   // appends the children's entries to menu
    void setMenu(TMenu* menu);
    void rebuildTree();          // refills every existing handle below and at this item
    void destroyHandles();       // frees the handles of this item and its children
    bool isBarItem() const;      // a top-level item of a main menu

    std::string caption_;
    bool checked_ = false, enabled_ = true, visible_ = true, radioItem_ = false, default_ = false;
    int groupIndex_ = 0;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    std::string hint_;
    UINT command_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // the menu this item belongs to (root items: set by TMenu)
    HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
    CLASS_INFO(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() { return items_; }
    virtual HMENU Handle();
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* list);
    // Finds an item of the whole tree by command id, submenu handle or shortcut.
    TMenuItem* FindItem(UINT_PTR value, TMenuItemFind kind);
    // Runs the item with this command id; false when no item has it.
    bool DispatchCommand(UINT command);
    // Handles WM_MEASUREITEM / WM_DRAWITEM for one of its owner-drawn items.
    bool MeasureItem(MEASUREITEMSTRUCT& mis, HWND wnd);
    bool DrawItem(const DRAWITEMSTRUCT& dis);
    // Called after any item changed; rebuild = the handles must be made again.
    virtual void MenuChanged(TMenuItem* source, bool rebuild);
    // Menus have no right-to-left mode; the skin asks.
    bool IsRightToLeft() const { return false; }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    TMenuItem* items_;
    bool ownerDraw_ = false;
    TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
    CLASS_INFO(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    HMENU Handle() override;  // a menu bar
    // The window whose menu bar this is (set by the form); it receives CM_MENUCHANGED.
    void SetWindowHandle(HWND wnd) { window_ = wnd; }
    HWND WindowHandle() const { return window_; }
    void MenuChanged(TMenuItem* source, bool rebuild) override;

private:
    HMENU bar_ = nullptr;
    HWND window_ = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
    CLASS_INFO(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    // Shows the menu at a screen point and runs the chosen item before it returns.
    virtual void Popup(int x, int y);
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment a) { alignment_ = a; }
    TNotifyEvent OnPopup;

    // The hidden window that receives the commands and owner-draw messages of popup menus.
    static HWND PopupListWindow();

private:
    TComponent* popupComponent_ = nullptr;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
};
