// List views and header controls on the platform's classes.  Columns, lines and header
// sections live in the control's own objects; each change is handed to the window at
// once, and a new window is given all of them.
#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>


const TEnumNames ViewStyleNames{{{"vsIcon", vsIcon}, {"vsSmallIcon", vsSmallIcon}, {"vsList", vsList}, {"vsReport", vsReport}}};

// ---- columns -----------------------------------------------------------------------

const TClassInfo& TListColumn::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TListColumn>("TListColumn", &TCollectionItem::StaticClassInfo(), [](TClassBuilder<TListColumn>& b) {
        b.Str("Caption", [](TListColumn& c) { return c.Caption(); }, [](TListColumn& c, const std::string& v) { c.SetCaption(v); });
        b.Int("Width", [](TListColumn& c) -> int64_t { return c.Width(); }, [](TListColumn& c, int64_t v) { c.SetWidth(static_cast<int>(v)); });
    });
    return info;
}

const TClassInfo& TListColumns::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TListColumns>("TListColumns", &TCollection::StaticClassInfo(), [](TClassBuilder<TListColumns>&) {});
    return info;
}

TListColumns::TListColumns()
    : TCollection([](TCollection* c) -> std::unique_ptr<TCollectionItem> { return std::make_unique<TListColumn>(c); }) {}

// ---- items -------------------------------------------------------------------------

const TClassInfo& TListItem::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TListItem>("TListItem", &TPersistent::StaticClassInfo(), [](TClassBuilder<TListItem>& b) {
        b.Str("Caption", [](TListItem& i) { return i.Caption(); }, [](TListItem& i, const std::string& v) { i.SetCaption(v); });
        b.Object("SubItems", [](TListItem& i) -> TObject* { return &i.SubItems(); });
    });
    return info;
}

TListItem::TListItem(TListItems& owner) : owner_(owner), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = [this](TObject*) { owner_.itemChanged(this); };
}

void TListItem::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    owner_.itemChanged(this);
}

int TListItem::Index() const { return owner_.IndexOf(this); }

const TClassInfo& TListItems::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TListItems>("TListItems", &TPersistent::StaticClassInfo(), [](TClassBuilder<TListItems>&) {});
    return info;
}

TListItem* TListItems::Add() {
    items_.push_back(std::make_unique<TListItem>(*this));
    view_.insertItem(Count() - 1);
    return items_.back().get();
}

void TListItems::Delete(int index) {
    if (index < 0 || index >= Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.erase(items_.begin() + index);
    if (view_.HandleAllocated()) SendMessageA(view_.Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TListItems::Clear() {
    items_.clear();
    if (view_.HandleAllocated()) SendMessageA(view_.Handle(), LVM_DELETEALLITEMS, 0, 0);
}

int TListItems::IndexOf(const TListItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}

void TListItems::itemChanged(const TListItem* item) {
    const int index = IndexOf(item);
    if (index >= 0) view_.updateItem(index);
}

// ---- TListView ---------------------------------------------------------------------

const TClassInfo& TListView::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TListView>("TListView", &TWinControl::StaticClassInfo(), [](TClassBuilder<TListView>& b) {
        b.Creatable();
        DescribeBorder(b);
        b.Enum("ViewStyle", ViewStyleNames, [](TListView& l) -> int64_t { return l.ViewStyle(); }, [](TListView& l, int64_t v) { l.SetViewStyle(static_cast<TViewStyle>(v)); });
        b.Object("Columns", [](TListView& l) -> TObject* { return &l.Columns(); });
        b.Object("Items", [](TListView& l) -> TObject* { return &l.Items(); });
        b.Bool("ShowColumnHeaders", [](TListView& l) { return l.ShowColumnHeaders(); }, [](TListView& l, bool v) { l.SetShowColumnHeaders(v); });
    });
    return info;
}

TListView::TListView(TComponent* owner)
    : TBorderedControl(owner, bsSingle), columns_(std::make_unique<TListColumns>()), items_(std::make_unique<TListItems>(*this)) {
    width_ = 250;
    height_ = 150;
    tabStop_ = true;
    columns_->OnUpdate = [this](TCollectionItem*) { updateColumns(); };
}

TListView::~TListView() {
    BeginDestruction();
    columns_->OnUpdate = nullptr;
    if (handle_) DestroyHandle();
}

void TListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTVIEWA);
    static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= views[viewStyle_] | LVS_SHAREIMAGELISTS | WS_CLIPCHILDREN;
    if (!showColumnHeaders_) p.Style |= LVS_NOCOLUMNHEADER;
    applyBorder(p);
}

void TListView::CreateHandleContents() {
    updateColumns();
    for (int i = 0; i < items_->Count(); ++i) insertItem(i);
}

void TListView::SetViewStyle(TViewStyle v) {
    if (v == viewStyle_) return;
    viewStyle_ = v;
    if (!handle_) return;
    // The view can change on a living window; the other style bits stay.
    static const LONG_PTR views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    SetWindowLongPtrA(handle_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | views[v]);
}

void TListView::SetShowColumnHeaders(bool v) {
    if (v == showColumnHeaders_) return;
    showColumnHeaders_ = v;
    if (!handle_) return;
    const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    SetWindowLongPtrA(handle_, GWL_STYLE, v ? style & ~static_cast<LONG_PTR>(LVS_NOCOLUMNHEADER) : style | LVS_NOCOLUMNHEADER);
}

void TListView::updateColumns() {
    if (!handle_) return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(handle_, LVM_GETHEADER, 0, 0));
    int have = header ? static_cast<int>(std::max<LRESULT>(0, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0))) : 0;
    while (have > 0 && SendMessageA(handle_, LVM_DELETECOLUMN, 0, 0)) --have;
    for (int i = 0; i < columns_->Count(); ++i) {
        const TListColumn* c = columns_->Items(i);
        std::string text = c->Caption();
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = text.data();
        col.cx = c->Width();
        col.iSubItem = i;
        SendMessageA(handle_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
}

void TListView::insertItem(int index) {
    if (!handle_) return;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>("");
    SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    updateItem(index);
}

void TListView::updateItem(int index) {
    if (!handle_) return;
    TListItem* source = items_->Item(index);
    auto setText = [&](int sub, std::string text) {
        LVITEMA item{};
        item.iSubItem = sub;
        item.pszText = text.data();
        SendMessageA(handle_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    };
    setText(0, source->Caption());
    for (int i = 0; i < source->SubItems().Count(); ++i) setText(i + 1, source->SubItems().Get(i));
}

// ---- header control ----------------------------------------------------------------

const TClassInfo& THeaderSection::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<THeaderSection>("THeaderSection", &TCollectionItem::StaticClassInfo(), [](TClassBuilder<THeaderSection>& b) {
        b.Str("Text", [](THeaderSection& s) { return s.Text(); }, [](THeaderSection& s, const std::string& v) { s.SetText(v); });
        b.Int("Width", [](THeaderSection& s) -> int64_t { return s.Width(); }, [](THeaderSection& s, int64_t v) { s.SetWidth(static_cast<int>(v)); });
    });
    return info;
}

const TClassInfo& THeaderSections::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<THeaderSections>("THeaderSections", &TCollection::StaticClassInfo(), [](TClassBuilder<THeaderSections>&) {});
    return info;
}

THeaderSections::THeaderSections()
    : TCollection([](TCollection* c) -> std::unique_ptr<TCollectionItem> { return std::make_unique<THeaderSection>(c); }) {}

const TClassInfo& THeaderControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<THeaderControl>("THeaderControl", &TWinControl::StaticClassInfo(), [](TClassBuilder<THeaderControl>& b) {
        b.Creatable();
        b.Object("Sections", [](THeaderControl& h) -> TObject* { return &h.Sections(); });
    });
    return info;
}

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner), sections_(std::make_unique<THeaderSections>()) {
    align_ = alTop;
    width_ = 200;
    height_ = 17;
    sections_->OnUpdate = [this](TCollectionItem*) { updateSections(); };
}

THeaderControl::~THeaderControl() {
    BeginDestruction();
    sections_->OnUpdate = nullptr;
    if (handle_) DestroyHandle();
}

void THeaderControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_HEADERA);
    p.Style |= HDS_BUTTONS | HDS_FULLDRAG;
}

void THeaderControl::CreateHandleContents() { updateSections(); }

void THeaderControl::updateSections() {
    if (!handle_) return;
    int have = static_cast<int>(std::max<LRESULT>(0, SendMessageA(handle_, HDM_GETITEMCOUNT, 0, 0)));
    while (have > 0 && SendMessageA(handle_, HDM_DELETEITEM, 0, 0)) --have;
    for (int i = 0; i < sections_->Count(); ++i) {
        const THeaderSection* s = sections_->Items(i);
        std::string text = s->Text();
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = text.data();
        item.cxy = s->Width();
        item.fmt = HDF_LEFT | HDF_STRING;
        SendMessageA(handle_, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}
