// Menu items and menus: the item tree, command ids, the menu handles built from the tree
// and kept in step with it, finding items, and the published properties.  Drawing of
// owner-drawn items is in MenusDraw.cpp, popup menus and their hidden window in
// MenusPopup.cpp, shortcut texts in MenusShortCut.cpp.
#include "Menus.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "Forms.h"
#include "ImgList.h"
#include "Menus_impl.h"
#include "Messages.h"

namespace {

// Command ids: unique in the process, never 0, below the system command range (0xF000)
// so that a form can never mistake a menu command for a system command.
class CommandIds {
public:
    UINT Allocate() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (UINT tries = 1; tries < kLimit; ++tries) {
            UINT id = next_;
            next_ = next_ + 1 >= kLimit ? 1 : next_ + 1;
            if (!used_[id]) {
                used_[id] = true;
                return id;
            }
        }
        throw Exception("Out of menu command ids");
    }
    void Release(UINT id) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (id > 0 && id < kLimit) used_[id] = false;
    }

private:
    static constexpr UINT kLimit = 0xF000;
    std::mutex mutex_;
    std::vector<bool> used_ = std::vector<bool>(kLimit, false);
    UINT next_ = 1;
};

CommandIds& commandIds() {
    static CommandIds ids;
    return ids;
}

// Empties a menu without destroying the submenus its entries point to: those belong to
// their own items.
void clearMenu(HMENU menu) {
    for (int n = GetMenuItemCount(menu); n > 0; --n)
        if (!RemoveMenu(menu, 0, MF_BYPOSITION)) break;
}

void freeMenu(HMENU& menu) {
    if (menu && IsMenu(menu)) {
        clearMenu(menu);
        DestroyMenu(menu);
    }
    menu = nullptr;
}

const TEnumNames PopupAlignmentNames{{{"paLeft", paLeft}, {"paRight", paRight}, {"paCenter", paCenter}}};

}  // namespace

namespace menus_impl {

std::vector<TMenu*>& LiveMenus() {
    static std::vector<TMenu*> list;
    return list;
}

TMenu* MenuOfCommand(UINT command, TMenuItem** item) {
    for (TMenu* m : LiveMenus())
        if (TMenuItem* found = m->FindItem(command, TMenuItemFind::fkCommand)) {
            if (item) *item = found;
            return m;
        }
    return nullptr;
}

TMenuItem* ItemOfHandle(HMENU menu) {
    if (!menu) return nullptr;
    for (TMenu* m : LiveMenus())
        if (TMenuItem* found = m->FindItem(reinterpret_cast<UINT_PTR>(menu), TMenuItemFind::fkHandle)) return found;
    return nullptr;
}

}  // namespace menus_impl

// ---- TMenuItem ---------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TMenuItem>("TMenuItem", &TComponent::StaticClassInfo(), [](TClassBuilder<TMenuItem>& b) {
        b.Creatable();
        b.Str("Caption", [](TMenuItem& i) { return i.Caption(); }, [](TMenuItem& i, const std::string& v) { i.SetCaption(v); });
        b.Bool("Checked", [](TMenuItem& i) { return i.Checked(); }, [](TMenuItem& i, bool v) { i.SetChecked(v); });
        b.Bool("Enabled", [](TMenuItem& i) { return i.Enabled(); }, [](TMenuItem& i, bool v) { i.SetEnabled(v); });
        b.Bool("Visible", [](TMenuItem& i) { return i.Visible(); }, [](TMenuItem& i, bool v) { i.SetVisible(v); });
        b.Bool("RadioItem", [](TMenuItem& i) { return i.RadioItem(); }, [](TMenuItem& i, bool v) { i.SetRadioItem(v); });
        b.Int("GroupIndex", [](TMenuItem& i) -> int64_t { return i.GroupIndex(); }, [](TMenuItem& i, int64_t v) { i.SetGroupIndex(static_cast<int>(v)); });
        b.Bool("Default", [](TMenuItem& i) { return i.Default(); }, [](TMenuItem& i, bool v) { i.SetDefault(v); });
        b.Int("ShortCut", [](TMenuItem& i) -> int64_t { return i.ShortCut(); },
              [](TMenuItem& i, int64_t v) { i.SetShortCut(static_cast<TShortCut>(v)); }, &ShortCutIdents);
        b.Int("ImageIndex", [](TMenuItem& i) -> int64_t { return i.ImageIndex(); }, [](TMenuItem& i, int64_t v) { i.SetImageIndex(static_cast<int>(v)); });
        b.Str("Hint", [](TMenuItem& i) { return i.Hint(); }, [](TMenuItem& i, const std::string& v) { i.SetHint(v); });
        b.Int("Command", [](TMenuItem& i) -> int64_t { return i.Command(); }, nullptr);
        b.Event("OnClick", &TMenuItem::OnClick);
        b.Event("OnDrawItem", &TMenuItem::OnDrawItem);
        b.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
    });
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(commandIds().Allocate()) {}

TMenuItem::~TMenuItem() {
    SetDestroying();
    // Children first, then leave the parent (which refills its handle without this
    // entry), then free the own handle: no menu ever points to a freed submenu.
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        items_.pop_back();
        child->parent_ = nullptr;
        delete child;
    }
    if (parent_) parent_->Remove(this);
    destroyHandles();
    commandIds().Release(command_);
}

void TMenuItem::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    changed(true);
}

void TMenuItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    // A checked radio item unchecks the other radio items of its group among its siblings.
    if (v && radioItem_ && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
    changed(true);
}

void TMenuItem::SetEnabled(bool v) { if (v != enabled_) { enabled_ = v; changed(true); } }
void TMenuItem::SetVisible(bool v) { if (v != visible_) { visible_ = v; changed(true); } }
void TMenuItem::SetRadioItem(bool v) { if (v != radioItem_) { radioItem_ = v; changed(true); } }
void TMenuItem::SetDefault(bool v) { if (v != default_) { default_ = v; changed(true); } }
void TMenuItem::SetShortCut(TShortCut s) { if (s != shortCut_) { shortCut_ = s; changed(true); } }
void TMenuItem::SetImageIndex(int i) { if (i != imageIndex_) { imageIndex_ = i; changed(true); } }

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    for (TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw Exception("A menu item cannot be inserted below itself");
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    changed(true);
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
    delete item;
}

void TMenuItem::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    const std::string wanted = StripHotkey(caption);
    for (TMenuItem* i : items_)
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, StripHotkey(i->caption_).c_str(), -1, wanted.c_str(), -1) == CSTR_EQUAL)
            return i;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->parent_) i = i->parent_;
    return i->menu_;
}

TImageList* TMenuItem::GetImageList() const {
    TMenu* m = GetParentMenu();
    return m ? m->Images() : nullptr;
}

bool TMenuItem::isBarItem() const {
    return parent_ && !parent_->parent_ && dynamic_cast<TMainMenu*>(parent_->menu_) != nullptr;
}

void TMenuItem::setMenu(TMenu* menu) { menu_ = menu; }

HMENU TMenuItem::Handle() {
    if (handle_ && !IsMenu(handle_)) handle_ = nullptr;  // freed with a window it hung in
    if (!handle_) {
        handle_ = CreatePopupMenu();
        if (!handle_) throw Exception("Cannot create a menu");
        fillMenu(handle_);
    }
    return handle_;
}

void TMenuItem::fillMenu(HMENU menu) {
    TMenu* owner = GetParentMenu();
    const bool ownerDraw = owner && owner->OwnerDraw();
    UINT position = 0;
    for (TMenuItem* child : items_) {
        if (!child->visible_) continue;
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
        mii.wID = child->command_;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(child);
        if (child->IsLine()) {
            mii.fType = MFT_SEPARATOR;
        } else {
            mii.fMask |= MIIM_STRING;
            mii.dwTypeData = const_cast<char*>(child->caption_.c_str());
            mii.cch = static_cast<UINT>(child->caption_.size());
            if (child->radioItem_) mii.fType |= MFT_RADIOCHECK;
        }
        if (ownerDraw) mii.fType |= MFT_OWNERDRAW;
        if (child->checked_) mii.fState |= MFS_CHECKED;
        if (!child->enabled_) mii.fState |= MFS_GRAYED;
        if (child->default_) mii.fState |= MFS_DEFAULT;
        if (child->Count() > 0) {
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = child->Handle();
        }
        InsertMenuItemA(menu, position++, TRUE, &mii);
    }
}

void TMenuItem::rebuildTree() {
    for (TMenuItem* child : items_) child->rebuildTree();
    rebuildHandle();
}

void TMenuItem::rebuildHandle() {
    if (!handle_) return;
    if (!IsMenu(handle_)) { handle_ = nullptr; return; }
    clearMenu(handle_);
    fillMenu(handle_);
}

void TMenuItem::destroyHandles() {
    for (TMenuItem* child : items_) child->destroyHandles();
    freeMenu(handle_);
}

void TMenuItem::changed(bool rebuild) {
    if (IsDestroying()) return;
    if (TComponent* o = Owner(); o && o->IsDestroying()) return;
    if (TMenu* m = GetParentMenu()) m->MenuChanged(this, rebuild);
}

void TMenuItem::Click() {
    if (!enabled_ || !OnClick) return;
    TNotifyEvent handler = OnClick;  // the handler may free this item
    handler(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

// ---- TMenu -------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TMenu>("TMenu", &TComponent::StaticClassInfo(), [](TClassBuilder<TMenu>& b) {
        b.Bool("OwnerDraw", [](TMenu& m) { return m.OwnerDraw(); }, [](TMenu& m, bool v) { m.SetOwnerDraw(v); });
        b.Reference<TImageList>("Images", [](TMenu& m) { return m.Images(); }, [](TMenu& m, TImageList* l) { m.SetImages(l); });
        b.Object("Items", [](TMenu& m) -> TObject* { return m.Items(); });
    });
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
    items_->setMenu(this);
    menus_impl::LiveMenus().push_back(this);
}

TMenu::~TMenu() {
    SetDestroying();
    auto& live = menus_impl::LiveMenus();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    TMenuItem* root = items_;
    items_ = nullptr;
    root->setMenu(nullptr);  // its children's changes reach no menu any more
    delete root;
}

HMENU TMenu::Handle() { return items_->Handle(); }

void TMenu::SetOwnerDraw(bool v) {
    if (v == ownerDraw_) return;
    ownerDraw_ = v;
    MenuChanged(nullptr, true);
}

void TMenu::SetImages(TImageList* list) {
    if (list == images_) return;
    if (images_) {
        // Free notifications are registered both ways; undo both.
        images_->RemoveFreeNotification(this);
        RemoveFreeNotification(images_);
    }
    images_ = list;
    if (list) list->FreeNotification(this);
    MenuChanged(nullptr, false);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        MenuChanged(nullptr, false);
    }
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TMenuItemFind kind) {
    if (!items_) return nullptr;
    if (kind == TMenuItemFind::fkShortCut && value == 0) return nullptr;  // 0 is "no shortcut"
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
        bool hit = false;
        switch (kind) {
        case TMenuItemFind::fkCommand: hit = item->Command() == value; break;
        case TMenuItemFind::fkHandle: hit = item->HasHandle() && reinterpret_cast<UINT_PTR>(item->handle_) == value; break;
        case TMenuItemFind::fkShortCut: hit = item->ShortCut() == value; break;
        }
        if (hit) return item;
        for (int i = 0; i < item->Count(); ++i)
            if (TMenuItem* found = find(item->Items(i))) return found;
        return nullptr;
    };
    return find(items_);
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FindItem(command, TMenuItemFind::fkCommand);
    if (!item || item == items_) return false;
    item->Click();
    return true;
}

void TMenu::MenuChanged(TMenuItem*, bool rebuild) {
    if (IsDestroying() || !items_) return;
    if (TComponent* o = Owner(); o && o->IsDestroying()) return;
    if (rebuild) items_->rebuildTree();
}

// ---- TMainMenu ---------------------------------------------------------------------

const TClassInfo& TMainMenu::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TMainMenu>("TMainMenu", &TMenu::StaticClassInfo(), [](TClassBuilder<TMainMenu>& b) { b.Creatable(); });
    return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
    // A window destroys the menu bar it shows: take the bar back first.
    if (window_ && IsWindow(window_) && GetMenu(window_) == bar_) SetMenu(window_, nullptr);
    if (items_) items_->destroyHandles();
    freeMenu(bar_);
}

HMENU TMainMenu::Handle() {
    if (bar_ && !IsMenu(bar_)) bar_ = nullptr;  // destroyed with the window that showed it
    if (!bar_) {
        bar_ = CreateMenu();
        if (!bar_) throw Exception("Cannot create a menu bar");
        items_->fillMenu(bar_);
    }
    return bar_;
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (IsDestroying() || !items_) return;
    if (TComponent* o = Owner(); o && o->IsDestroying()) return;
    TMenu::MenuChanged(source, rebuild);
    if (rebuild && bar_) {
        if (IsMenu(bar_)) {
            clearMenu(bar_);
            items_->fillMenu(bar_);
        } else {
            bar_ = nullptr;
        }
    }
    if (window_ && IsWindow(window_)) {
        if (GetMenu(window_) == bar_ && bar_) DrawMenuBar(window_);
        SendMessageA(window_, CM_MENUCHANGED, 0, 0);
    }
}

// ---- TPopupMenu --------------------------------------------------------------------

const TClassInfo& TPopupMenu::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TPopupMenu>("TPopupMenu", &TMenu::StaticClassInfo(), [](TClassBuilder<TPopupMenu>& b) {
        b.Creatable();
        b.Bool("AutoPopup", [](TPopupMenu& m) { return m.AutoPopup(); }, [](TPopupMenu& m, bool v) { m.SetAutoPopup(v); });
        b.Enum("Alignment", PopupAlignmentNames, [](TPopupMenu& m) -> int64_t { return m.Alignment(); },
               [](TPopupMenu& m, int64_t v) { m.SetAlignment(static_cast<TPopupAlignment>(v)); });
        b.Event("OnPopup", &TPopupMenu::OnPopup);
    });
    return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
    if (items_) items_->destroyHandles();
}
