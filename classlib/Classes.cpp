#include "Classes.h"

#include <windows.h>

#include <algorithm>

#include "Texts.h"

// ---- TPersistent -------------------------------------------------------------------

const TClassInfo& TPersistent::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TPersistent>("TPersistent", &TObject::StaticClassInfo(), [](TClassBuilder<TPersistent>&) {});
    return info;
}

void TPersistent::Assign(const TPersistent& source) {
    throw Exception("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

// ---- TComponent --------------------------------------------------------------------

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TComponent>(
        "TComponent", &TPersistent::StaticClassInfo(), [](TClassBuilder<TComponent>& b) {
            b.Str("Name", [](TComponent& c) { return c.Name(); },
                  [](TComponent& c, const std::string& v) { c.SetName(v); });
            b.Int("Tag", [](TComponent& c) -> int64_t { return c.Tag(); },
                  [](TComponent& c, int64_t v) { c.SetTag(static_cast<intptr_t>(v)); });
        });
    return info;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    notifyRemoval();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::notifyRemoval() {
    // Everyone who asked to be told, then the owner and its other components, so that no
    // reference to this component outlives it.
    std::vector<TComponent*> told = freeNotifies_;
    freeNotifies_.clear();
    for (TComponent* c : told) {
        c->RemoveFreeNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    if (owner_ && !owner_->IsDestroying()) {
        owner_->Notification(this, TOperation::opRemove);
        for (TComponent* sibling : owner_->components_)
            if (sibling != this && std::find(told.begin(), told.end(), sibling) == told.end())
                sibling->Notification(this, TOperation::opRemove);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;  // unlinks itself through RemoveComponent
    }
}

void TComponent::SetName(const std::string& name) {
    if (!name.empty() && owner_) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw Exception("A component named " + name + " already exists");
    }
    name_ = name;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (texts::SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    if (c->owner_) c->owner_->RemoveComponent(c);
    components_.push_back(c);
    c->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* c) {
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end()) components_.erase(it);
    c->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    // The link is kept on both sides (FreeNotification makes both), so it is undone on
    // both: neither may keep a pointer to the other once either is freed.
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), other);
    if (it != freeNotifies_.end()) freeNotifies_.erase(it);
    if (other) {
        auto back = std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this);
        if (back != other->freeNotifies_.end()) other->freeNotifies_.erase(back);
    }
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::Notification(TComponent*, TOperation) {}

// ---- TStrings ----------------------------------------------------------------------

const TClassInfo& TStrings::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TStrings>("TStrings", &TPersistent::StaticClassInfo(), [](TClassBuilder<TStrings>& b) {
            b.Lines("Strings", [](TStrings& s) { return s.ToVector(); },
                    [](TStrings& s, const TStringVector& v) { s.SetFromVector(v); });
        });
    return info;
}

void TStrings::Put(int index, const std::string& s) {
    TObject* obj = Objects(index);
    Delete(index);
    Insert(index, s);
    PutObject(index, obj);
}

int TStrings::Add(const std::string& s) {
    int i = Count();
    Insert(i, s);
    return i;
}

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Get(i).c_str(), -1, s.c_str(), -1) == CSTR_EQUAL)
            return i;
    return -1;
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i) {
        int j = Add(other.Get(i));
        PutObject(j, other.Objects(i));
    }
    EndUpdate();
}

void TStrings::Assign(const TPersistent& source) {
    if (const auto* other = dynamic_cast<const TStrings*>(&source)) {
        if (other == this) return;
        BeginUpdate();
        Clear();
        AddStrings(*other);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

std::string TStrings::Text() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) { Add(text.substr(start)); break; }
        Add(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    EndUpdate();
}

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> v;
    for (int i = 0; i < Count(); ++i) v.push_back(Get(i));
    return v;
}

void TStrings::SetFromVector(const std::vector<std::string>& lines) {
    BeginUpdate();
    Clear();
    for (const auto& l : lines) Add(l);
    EndUpdate();
}

void TStrings::SaveToFile(const std::string& fileName) const {
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw Exception("无法创建文件 " + fileName + " 。");
    const std::string data = Text();
    DWORD written = 0;
    BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
    if (!ok || written != data.size()) throw Exception("写入文件 " + fileName + " 时出错。");
}

void TStrings::LoadFromFile(const std::string& fileName) {
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw Exception("无法打开文件 " + fileName + " 。");
    std::string data;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31)) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        if (!ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr)) got = 0;
        data.resize(got);
    }
    CloseHandle(h);
    SetText(data);
}

// ---- TStringList -------------------------------------------------------------------

const TClassInfo& TStringList::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TStringList>("TStringList", &TStrings::StaticClassInfo(), [](TClassBuilder<TStringList>&) {});
    return info;
}

void TStringList::check(int index) const {
    if (index < 0 || index >= Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::string TStringList::Get(int index) const { check(index); return items_[static_cast<size_t>(index)].first; }
void TStringList::Put(int index, const std::string& s) { check(index); items_[static_cast<size_t>(index)].first = s; changed(); }
TObject* TStringList::Objects(int index) const { check(index); return items_[static_cast<size_t>(index)].second; }
void TStringList::PutObject(int index, TObject* obj) { check(index); items_[static_cast<size_t>(index)].second = obj; }

void TStringList::Insert(int index, const std::string& s) {
    if (index < 0 || index > Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, {s, nullptr});
    changed();
}

void TStringList::Delete(int index) { check(index); items_.erase(items_.begin() + index); changed(); }
void TStringList::Clear() { if (!items_.empty()) { items_.clear(); changed(); } }
void TStringList::changed() { if (updateCount_ == 0 && OnChange) OnChange(this); }

// ---- collections -------------------------------------------------------------------

const TClassInfo& TCollectionItem::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCollectionItem>(
        "TCollectionItem", &TPersistent::StaticClassInfo(), [](TClassBuilder<TCollectionItem>&) {});
    return info;
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }
void TCollectionItem::Changed() { if (collection_) collection_->Update(this); }

const TClassInfo& TCollection::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TCollection>("TCollection", &TPersistent::StaticClassInfo(), [](TClassBuilder<TCollection>&) {});
    return info;
}

TCollectionItem* TCollection::Add() {
    items_.push_back(factory_(this));
    Update(nullptr);
    return items_.back().get();
}

void TCollection::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    items_.erase(items_.begin() + index);
    Update(nullptr);
}

void TCollection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Update(nullptr);
}

int TCollection::IndexOf(const TCollectionItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}
