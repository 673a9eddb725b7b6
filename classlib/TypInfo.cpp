#include "TypInfo.h"

#include <map>

#include "Texts.h"

const TEnumNames BooleanNames{{{"False", 0}, {"True", 1}}};

bool TEnumNames::Find(const std::string& name, int64_t& value) const {
    for (const auto& item : Items)
        if (texts::SameText(item.first, name)) { value = item.second; return true; }
    return false;
}

std::string TEnumNames::NameOf(int64_t value) const {
    for (const auto& item : Items)
        if (item.second == value) return item.first;
    return {};
}

std::string TClassInfo::upper(std::string s) { return texts::UpperCase(std::move(s)); }

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == other) return true;
    return false;
}

bool TClassInfo::InheritsFrom(const std::string& className) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (texts::SameText(c->name_, className)) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& p : c->props_)
            if (texts::SameText(p.Name, name)) return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
    std::vector<const TPropInfo*> all;
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& p : c->props_) {
            bool hidden = false;  // a descendant's property of the same name wins
            for (const TPropInfo* q : all) hidden = hidden || texts::SameText(q->Name, p.Name);
            if (!hidden) all.push_back(&p);
        }
    return all;
}

const TClassInfo::HandlerMaker* TClassInfo::FindHandler(const std::string& name) const {
    const std::string key = upper(name);
    for (const TClassInfo* c = this; c; c = c->parent_) {
        auto it = c->handlers_.find(key);
        if (it != c->handlers_.end()) return &it->second;
    }
    return nullptr;
}

const TClassInfo::FieldSetter* TClassInfo::FindField(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& f : c->fields_)
            if (texts::SameText(f.first, name)) return &f.second;
    return nullptr;
}

std::vector<std::string> TClassInfo::FieldNames() const {
    std::vector<std::string> names;
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& f : c->fields_) names.push_back(f.first);
    return names;
}

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info("TObject", nullptr);
    return info;
}

namespace {
std::map<std::string, const TClassInfo*>& registry() {
    static std::map<std::string, const TClassInfo*> r;
    return r;
}
}  // namespace

void RegisterClassInfo(const TClassInfo& info) { registry()[texts::UpperCase(info.ClassName())] = &info; }

const TClassInfo* FindClassInfo(const std::string& className) {
    auto it = registry().find(texts::UpperCase(className));
    return it == registry().end() ? nullptr : it->second;
}

const TPropInfo* GetPropInfo(const TObject& obj, const std::string& name) {
    return obj.ClassInfo().FindProperty(name);
}

TValue GetPropValue(TObject& obj, const std::string& name) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || !p->Get) return {};
    return p->Get(obj);
}

void SetPropValue(TObject& obj, const std::string& name, const TValue& value) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p) throw EPropertyError("Property " + name + " does not exist");
    if (!p->Set) throw EPropertyError("Property " + name + " is read-only");
    p->Set(obj, value);
}

int64_t GetOrdProp(TObject& obj, const std::string& name, int64_t neutral) {
    TValue v = GetPropValue(obj, name);
    if (const int64_t* i = std::get_if<int64_t>(&v)) return *i;
    return neutral;
}

std::string GetStrProp(TObject& obj, const std::string& name) {
    TValue v = GetPropValue(obj, name);
    if (const std::string* s = std::get_if<std::string>(&v)) return *s;
    return {};
}

TObject* GetObjectProp(TObject& obj, const std::string& name) {
    TValue v = GetPropValue(obj, name);
    if (TObject* const* o = std::get_if<TObject*>(&v)) return *o;
    return nullptr;
}

void SetOrdProp(TObject& obj, const std::string& name, int64_t value) { SetPropValue(obj, name, value); }
void SetStrProp(TObject& obj, const std::string& name, const std::string& value) { SetPropValue(obj, name, value); }

std::string GetEnumProp(TObject& obj, const std::string& name) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || !p->Names || !p->Get) return {};
    TValue v = p->Get(obj);
    const int64_t* i = std::get_if<int64_t>(&v);
    return i ? p->Names->NameOf(*i) : std::string();
}

bool TrySetPropValue(TObject& obj, const std::string& name, const TValue& value) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || !p->Set) return false;
    p->Set(obj, value);
    return true;
}

bool TrySetEnumProp(TObject& obj, const std::string& name, const std::string& valueName) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || !p->Set) return false;
    SetEnumProp(obj, name, valueName);
    return true;
}

void SetEnumProp(TObject& obj, const std::string& name, const std::string& valueName) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p) throw EPropertyError("Property " + name + " does not exist");
    int64_t v = 0;
    if (!p->Names || !p->Names->Find(valueName, v)) throw EPropertyError("Invalid property value " + valueName + " for " + name);
    SetPropValue(obj, name, v);
}

std::string GetSetProp(TObject& obj, const std::string& name) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || p->Kind != TTypeKind::tkSet || !p->Names || !p->Get) return {};
    TValue v = p->Get(obj);
    const int64_t* mask = std::get_if<int64_t>(&v);
    if (!mask) return {};
    std::string text = "[";
    for (const auto& item : p->Names->Items) {
        if (item.second < 0 || item.second >= 64 || !(*mask & (int64_t{1} << item.second))) continue;
        if (text.size() > 1) text += ",";
        text += item.first;
    }
    return text + "]";
}
