// The form skin's owner-drawn menus: switching the items of the form's popup and main
// menus to the skin's painters and back, and answering WM_MEASUREITEM / WM_DRAWITEM for the
// popups of the skinned menu bar.  What an item looks like is WinSkinMenuItems.cpp's.
//
// The skin's item handlers carry the handler they replaced: switching off gives every item
// exactly the handler it had before, so a form that is unskinned keeps the application's
// own item handlers.  They find their form skin through the manager at each call, so an
// item that outlives its form skin falls back to what it had.
#include <algorithm>
#include <memory>

#include "Forms.h"
#include "Handles.h"
#include "Menus.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"
#include "WinSkinMenuItems.h"
#include "WinSkinPopMenu.h"

namespace {

constexpr int kRawItemTextChars = 80;

TWinSkinForm* formSkinOf(HWND window) {
    TSkinManage* manager = TSkinManage::Instance();
    return manager && window ? manager->FindFormSkin(window) : nullptr;
}

// The skin's draw handler of one item, holding what it replaced.
struct SkinItemDraw {
    HWND form;
    TMenuDrawItemEvent previous;
    void operator()(TObject* sender, TCanvas* canvas, RECT rect, bool selected) const {
        if (TWinSkinForm* skin = formSkinOf(form)) {
            skin->DrawMenuItem(sender, canvas, rect, selected);
        } else if (previous) {
            previous(sender, canvas, rect, selected);
        } else if (auto* item = dynamic_cast<TMenuItem*>(sender); item && canvas) {
            item->DrawItem(*canvas, rect, selected);
        }
    }
};

enum class MeasureKind { Popup, MainMenu };

// The skin's measure handler of one item, holding what it replaced.
struct SkinItemMeasure {
    HWND form;
    MeasureKind kind;
    TMenuMeasureItemEvent previous;
    void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
        if (TWinSkinForm* skin = formSkinOf(form)) {
            if (kind == MeasureKind::Popup) skin->MeasurePopupItem(sender, canvas, width, height);
            else skin->MeasureMainMenuItem(sender, canvas, width, height);
        } else if (previous) {
            previous(sender, canvas, width, height);
        }
    }
};

void setSkinDraw(TMenuItem& item, HWND form) {
    if (auto* own = item.OnDrawItem.target<SkinItemDraw>()) {
        own->form = form;
        return;
    }
    item.OnDrawItem = SkinItemDraw{form, std::move(item.OnDrawItem)};
}

void setSkinMeasure(TMenuItem& item, HWND form, MeasureKind kind) {
    if (auto* own = item.OnMeasureItem.target<SkinItemMeasure>()) {
        own->form = form;
        own->kind = kind;
        return;
    }
    item.OnMeasureItem = SkinItemMeasure{form, kind, std::move(item.OnMeasureItem)};
}

// Gives the item back what it had before the skin's handlers.
void restoreHandlers(TMenuItem& item) {
    if (auto* own = item.OnDrawItem.target<SkinItemDraw>()) {
        TMenuDrawItemEvent previous = std::move(own->previous);
        item.OnDrawItem = std::move(previous);
    }
    if (auto* own = item.OnMeasureItem.target<SkinItemMeasure>()) {
        TMenuMeasureItemEvent previous = std::move(own->previous);
        item.OnMeasureItem = std::move(previous);
    }
}

bool hasSkinDraw(const TMenuItem& item) { return item.OnDrawItem.target<SkinItemDraw>() != nullptr; }
bool hasSkinMeasure(const TMenuItem& item) { return item.OnMeasureItem.target<SkinItemMeasure>() != nullptr; }

template <class Visit>
void forEachItem(TMenuItem* item, int depth, const Visit& visit) {
    if (!item) return;
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        visit(*child, depth);
        forEachItem(child, depth + 1, visit);
    }
}

// The popup background behind a DC: the popup skin of the window the DC belongs to, else
// the popup skin bound to the menu.
TMenuItemBackground popupBackground(HDC dc, HMENU menu) {
    if (TWinSkinPopMenu* popup = TWinSkinPopMenu::OfWindow(dc ? WindowFromDC(dc) : nullptr))
        return popup->ItemBackground();
    if (TSkinManage* manager = TSkinManage::Instance()) {
        for (TWinSkinPopMenu* popup : manager->FPopupSkins)
            if (popup && menu && popup->MenuHandle() == menu)
                return popup->ItemBackground();
    }
    return TMenuItemBackground{};
}

std::string menuString(HMENU menu, UINT id) {
    char text[kRawItemTextChars + 1] = {};
    const int n = menu ? GetMenuStringA(menu, id, text, kRawItemTextChars, MF_BYCOMMAND) : 0;
    return std::string(text, static_cast<size_t>(std::max(n, 0)));
}

// A canvas over a DC the caller owns, in the menu font; the DC's state is restored.
class MenuCanvas {
public:
    explicit MenuCanvas(HDC dc) : saved_(dc) {
        canvas_.SetHandle(dc);
        if (Screen) canvas_.Font().Assign(Screen->MenuFont());
    }
    ~MenuCanvas() { canvas_.SetHandle(nullptr); }
    TCanvas& get() { return canvas_; }

private:
    SaveDcGuard saved_;
    TCanvas canvas_;
};

}  // namespace

// ---- switching owner drawing -----------------------------------------------------------

void TWinSkinForm::SetPopupMenusOwnerDraw(TComponent* component, bool on) {
    if (!component || !FSkinData) return;
    if (FControl && FControl->ClassName() == "TwwRichEditForm") return;
    for (int i = 0; i < component->ComponentCount(); ++i) {
        TComponent* c = component->Components(i);
        if (auto* form = dynamic_cast<TCustomForm*>(c)) {
            SetPopupMenusOwnerDraw(form, on);
            continue;
        }
        auto* popup = dynamic_cast<TPopupMenu*>(c);
        if (!popup || !(FSkinData->SkinControls & SkinBit(xcPopupMenu)) || popup->Tag() == FSkinData->DisableTag)
            continue;
        switchOwnerDraw(popup, on);
        forEachItem(popup->Items(), 1, [&](TMenuItem& item, int) {
            if (!on) {
                restoreHandlers(item);
                return;
            }
            setSkinDraw(item, FHandle);
            if (!item.OnMeasureItem || hasSkinMeasure(item)) setSkinMeasure(item, FHandle, MeasureKind::Popup);
        });
    }
}

void TWinSkinForm::SetSkinItemHandlers(TMenuItem& item) {
    setSkinDraw(item, FHandle);
    setSkinMeasure(item, FHandle, MeasureKind::Popup);
}

void TWinSkinForm::SetMainMenusOwnerDraw(TComponent* component, bool on) {
    if (!component) return;
    for (int i = 0; i < component->ComponentCount(); ++i) {
        auto* menu = dynamic_cast<TMainMenu*>(component->Components(i));
        if (!menu) continue;
        switchOwnerDraw(menu, on);
        forEachItem(menu->Items(), 1, [&](TMenuItem& item, int depth) {
            if (depth < 2) return;  // the bar's own items are the bar's
            if (!on) {
                restoreHandlers(item);
                return;
            }
            if (item.OnDrawItem && !hasSkinDraw(item)) return;  // the application draws it
            setSkinDraw(item, FHandle);
            setSkinMeasure(item, FHandle, MeasureKind::MainMenu);
        });
    }
}

void TWinSkinForm::switchOwnerDraw(TMenu* menu, bool on) {
    // A menu the application draws itself stays owner-drawn when the skin goes.
    auto mine = std::find(ownerDrawnMenus_.begin(), ownerDrawnMenus_.end(), menu);
    if (on) {
        if (menu->OwnerDraw()) return;
        menu->SetOwnerDraw(true);
        if (mine == ownerDrawnMenus_.end()) ownerDrawnMenus_.push_back(menu);
        return;
    }
    if (mine == ownerDrawnMenus_.end()) return;
    ownerDrawnMenus_.erase(mine);
    menu->SetOwnerDraw(false);
}

// ---- item handlers ---------------------------------------------------------------------

void TWinSkinForm::MeasureMainMenuItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || !ACanvas) return;
    SkinMeasureMainMenuItem(FSkinData, *item, *ACanvas, Width, Height);
}

void TWinSkinForm::MeasurePopupItem(TObject* Sender, TCanvas*, int& Width, int& Height) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item) return;
    SkinMeasurePopupItem(FSkinData, *item, Width, Height);
}

void TWinSkinForm::DrawMenuItem(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || !ACanvas) return;
    if (!FSkinData) {
        item->DrawItem(*ACanvas, ARect, Selected);
        return;
    }
    HMENU parent = nullptr;
    if (item->Parent()) {
        parent = item->Parent()->Handle();
        if (TSkinManage* manager = TSkinManage::Instance()) manager->SetPopupMenuHandle(parent);
    }
    SkinDrawMenuItem(*FSkinData, *item, *ACanvas, ARect, Selected, popupBackground(ACanvas->Handle(), parent),
                     FMenuBar ? FMenuBar->MainMenu : nullptr);
}

void TWinSkinForm::DrawMenuItemFlat(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect) {
    if (!item || !canvas || !FSkinData) return;
    SkinDrawMenuItemFlat(*FSkinData, *item, *canvas, selected, rect, FMenuBar ? FMenuBar->MainMenu : nullptr);
}

void TWinSkinForm::DrawRawMenuItem(HMENU menu, TMenuItem* item, bool selected, const RECT& rect, TCanvas* canvas) {
    if (!item || !canvas || !FSkinData) return;
    SkinDrawRawMenuItem(*FSkinData, *item, *canvas, rect, selected, popupBackground(canvas->Handle(), menu),
                        FMenuBar ? FMenuBar->MainMenu : nullptr);
}

void TWinSkinForm::DrawMenuSeparator(TCanvas* canvas, const RECT& rect) {
    if (canvas && FSkinData) SkinDrawMenuSeparator(*FSkinData, *canvas, rect);
}

void TWinSkinForm::PaintMenuItemContent(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect) {
    if (item && canvas && FSkinData)
        SkinPaintMenuItemContent(*FSkinData, *item, *canvas, selected, rect, FMenuBar ? FMenuBar->MainMenu : nullptr);
}

std::unique_ptr<TMenuItem> TWinSkinForm::MakeTempMenuItem(HMENU menu, UINT itemId) {
    auto item = std::make_unique<TMenuItem>(nullptr);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_TYPE;
    const bool known = menu && GetMenuItemInfoA(menu, itemId, FALSE, &info);
    const std::string caption = menuString(menu, itemId);
    item->SetCaption(caption.empty() ? "-" : caption);
    if (known) {
        item->SetEnabled((info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
    }
    return item;
}

// ---- window messages ---------------------------------------------------------------------

void TWinSkinForm::WMMeasureItem(TMessage& message) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    if (!mis || mis->CtlType != ODT_MENU || !FMenuHandle) {
        CallDefault(message);
        return;
    }
    if (FControl) {
        TMainMenu* main = FMenuBar ? FMenuBar->MainMenu : nullptr;
        TMenuItem* item = main ? main->FindItem(mis->itemID, TMenuItemFind::fkCommand) : nullptr;
        if (item) {
            WindowDcGuard dc(FHandle, true);
            if (!dc.get()) {
                CallDefault(message);
                return;
            }
            MenuCanvas canvas(dc.get());
            int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
            MeasureMainMenuItem(item, &canvas.get(), w, h);
            mis->itemWidth = static_cast<UINT>(std::max(w, 0));
            mis->itemHeight = static_cast<UINT>(std::max(h, 0));
            message.Result = TRUE;
            return;
        }
        if (mis->itemID >= 1 && mis->itemID <= 4095) {
            CallDefault(message);
            return;
        }
    }
    MeasureRawMenuItem(message);
}

void TWinSkinForm::MeasureRawMenuItem(TMessage& message) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    if (!mis) return;
    const std::string text = menuString(FTrackedMenu, mis->itemID);
    WindowDcGuard dc(FHandle, true);
    HDC measure = dc.get();
    std::unique_ptr<SelectGuard> font;
    if (measure && Screen) font = std::make_unique<SelectGuard>(measure, Screen->MenuFont().Handle());
    SkinMeasureRawItem(FSkinData, measure, text, SkinVersionWin9x(), mis->itemWidth, mis->itemHeight);
    message.Result = TRUE;
}

void TWinSkinForm::WMDrawItem(TMessage& message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    const bool nt4 = SkinIsNT && SkinVersionMajor() == 4;
    if (!dis || dis->CtlType != ODT_MENU || !FMenuHandle || (FWindowKind == wkMDIParent && nt4)) {
        CallDefault(message);
        return;
    }
    if (TSkinManage* manager = TSkinManage::Instance())
        manager->SetPopupMenuHandle(reinterpret_cast<HMENU>(dis->hwndItem));
    if (FControl) DrawMenuBarItem(message);
    else DrawRawMenuItemNoForm(message);
}

void TWinSkinForm::DrawMenuBarItem(TMessage& message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    TMainMenu* main = FMenuBar ? FMenuBar->MainMenu : nullptr;
    TMenuItem* item = main ? main->FindItem(dis->itemID, TMenuItemFind::fkCommand) : nullptr;
    if (!item && dis->itemID >= 1 && dis->itemID <= 4095) {
        CallDefault(message);
        return;
    }
    {
        MenuCanvas canvas(dis->hDC);
        if (item) {
            if (FSkinData && FSkinData->MenuItem && !FSkinData->MenuItem->Image.Empty())
                DrawMenuItem(item, &canvas.get(), dis->rcItem, selected);
            else
                DrawMenuItemFlat(item, &canvas.get(), selected, dis->rcItem);
        } else {
            const HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
            std::unique_ptr<TMenuItem> temp = MakeTempMenuItem(menu, dis->itemID);
            DrawRawMenuItem(menu, temp.get(), selected, dis->rcItem, &canvas.get());
        }
    }
    message.Result = TRUE;
}

void TWinSkinForm::DrawRawMenuItemNoForm(TMessage& message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    const HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
    std::unique_ptr<TMenuItem> temp = MakeTempMenuItem(menu, dis->itemID);
    {
        MenuCanvas canvas(dis->hDC);
        DrawRawMenuItem(menu, temp.get(), (dis->itemState & ODS_SELECTED) != 0, dis->rcItem, &canvas.get());
    }
    message.Result = TRUE;
}
