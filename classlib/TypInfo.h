// Run-time type information of the class library: every class that takes part in
// stored forms or in access by name describes itself with a TClassInfo (its name, its
// parent, how to make one, its published properties, and for forms its fields and
// handlers).  Properties are read and written by name through TPropInfo.
//
// Types: TTypeKind, TValue, TEnumNames, TPropInfo, TClassInfo, TClassBuilder<T>,
//        TObject, EPropertyError.
#pragma once
#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeindex>
#include <variant>
#include <vector>

class TObject;
class TComponent;
class TClassInfo;

enum class TTypeKind {
    tkInteger,      // whole numbers; may also accept identifiers (colours, charsets, cursors)
    tkEnumeration,  // one of a list of value names; Boolean is (False, True)
    tkString,       // 8-bit text (GBK)
    tkSet,          // a subset of a list of value names, as a bit mask
    tkClass,        // an object: either owned (sub-properties are set through it) or a reference
    tkMethod,       // an event: a handler of the form, bound by name
    tkBinary,       // bytes (a stored stream)
    tkStringList,   // lines of 8-bit text
};

using TBytes = std::vector<uint8_t>;

// A property value.  Enumerations, Booleans and sets travel as integers (ordinal, mask).
using TStringVector = std::vector<std::string>;
using TValue = std::variant<std::monostate, int64_t, std::string, TObject*, TBytes, std::any, TStringVector>;

// Value names of an enumeration or of a set's element type, and the identifiers an
// integer property accepts (such as colour names).
struct TEnumNames {
    std::vector<std::pair<std::string, int64_t>> Items;
    bool Find(const std::string& name, int64_t& value) const;  // case-insensitive
    std::string NameOf(int64_t value) const;                   // "" when unknown
};

extern const TEnumNames BooleanNames;

class EPropertyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TPropInfo {
    std::string Name;
    TTypeKind Kind;
    const TEnumNames* Names = nullptr;  // enumeration / set / integer identifiers
    std::type_index EventType = typeid(void);  // tkMethod: the std::function type of the event
    std::function<TValue(TObject&)> Get;
    std::function<void(TObject&, const TValue&)> Set;  // empty: read-only
    bool IsReference = false;  // tkClass: the value is another component, resolved by name
};

class TClassInfo {
public:
    using Factory = std::function<TComponent*(TComponent* owner)>;
    using FieldSetter = std::function<bool(TObject& self, TComponent* component)>;
    using HandlerMaker = std::function<std::any(TObject& self)>;

    TClassInfo(std::string name, const TClassInfo* parent) : name_(std::move(name)), parent_(parent) {}

    const std::string& ClassName() const { return name_; }
    const TClassInfo* ClassParent() const { return parent_; }
    bool InheritsFrom(const TClassInfo* other) const;
    bool InheritsFrom(const std::string& className) const;

    // Lookups walk up to the parents; names compare without regard to case.
    const TPropInfo* FindProperty(const std::string& name) const;
    std::vector<const TPropInfo*> AllProperties() const;
    const HandlerMaker* FindHandler(const std::string& name) const;
    const FieldSetter* FindField(const std::string& name) const;
    std::vector<std::string> FieldNames() const;

    Factory Create;  // empty for abstract classes

    void AddProperty(TPropInfo p) { props_.push_back(std::move(p)); }
    void AddHandler(const std::string& name, HandlerMaker m) { handlers_[upper(name)] = std::move(m); }
    void AddField(const std::string& name, FieldSetter f) { fields_.emplace_back(name, std::move(f)); }

private:
    static std::string upper(std::string s);
    std::string name_;
    const TClassInfo* parent_;
    std::vector<TPropInfo> props_;
    std::map<std::string, HandlerMaker> handlers_;
    std::vector<std::pair<std::string, FieldSetter>> fields_;
};

// The root of the class library's classes.
class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const std::string& ClassName() const { return ClassInfo().ClassName(); }
    bool InheritsFrom(const std::string& className) const { return ClassInfo().InheritsFrom(className); }
};

// Registry of the classes a stored form may name.
void RegisterClassInfo(const TClassInfo& info);
const TClassInfo* FindClassInfo(const std::string& className);

// Property access by name.  A missing property reads as the neutral value (an empty
// TValue); writing a missing property raises EPropertyError.
const TPropInfo* GetPropInfo(const TObject& obj, const std::string& name);
TValue GetPropValue(TObject& obj, const std::string& name);
void SetPropValue(TObject& obj, const std::string& name, const TValue& value);
int64_t GetOrdProp(TObject& obj, const std::string& name, int64_t neutral = 0);
std::string GetStrProp(TObject& obj, const std::string& name);
TObject* GetObjectProp(TObject& obj, const std::string& name);
void SetOrdProp(TObject& obj, const std::string& name, int64_t value);
void SetStrProp(TObject& obj, const std::string& name, const std::string& value);
std::string GetEnumProp(TObject& obj, const std::string& name);  // value name
void SetEnumProp(TObject& obj, const std::string& name, const std::string& valueName);
// A set property as text: its element names in brackets, "[btPlay,btStop]" ("" when the
// object has no such set property).
std::string GetSetProp(TObject& obj, const std::string& name);
// The same writes for callers that handle objects of many classes (the skins set
// "AutoScroll" on forms of every kind): a property the class does not have, or cannot
// write, is left alone and the answer is false.  A value the property refuses (an unknown
// value name, a value of the wrong kind) still raises EPropertyError.
bool TrySetPropValue(TObject& obj, const std::string& name, const TValue& value);
bool TrySetEnumProp(TObject& obj, const std::string& name, const std::string& valueName);

// Describes the members of one class.  Used inside the class's StaticClassInfo():
//   TClassBuilder<TPanel> b(info);
//   b.Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth);
template <class T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    TClassBuilder& Creatable() {
        info_.Create = [](TComponent* owner) -> TComponent* { return new T(owner); };
        return *this;
    }

    TClassBuilder& Int(const std::string& name, std::function<int64_t(T&)> get,
                       std::function<void(T&, int64_t)> set, const TEnumNames* idents = nullptr) {
        return add(name, TTypeKind::tkInteger, idents, wrapInt(get), wrapIntSet(set));
    }
    TClassBuilder& Enum(const std::string& name, const TEnumNames& names, std::function<int64_t(T&)> get,
                        std::function<void(T&, int64_t)> set) {
        return add(name, TTypeKind::tkEnumeration, &names, wrapInt(get), wrapIntSet(set));
    }
    TClassBuilder& Bool(const std::string& name, std::function<bool(T&)> get, std::function<void(T&, bool)> set) {
        return Enum(name, BooleanNames, [get](T& t) -> int64_t { return get(t) ? 1 : 0; },
                    set ? std::function<void(T&, int64_t)>([set](T& t, int64_t v) { set(t, v != 0); }) : nullptr);
    }
    TClassBuilder& Set(const std::string& name, const TEnumNames& names, std::function<int64_t(T&)> get,
                       std::function<void(T&, int64_t)> set) {
        return add(name, TTypeKind::tkSet, &names, wrapInt(get), wrapIntSet(set));
    }
    TClassBuilder& Str(const std::string& name, std::function<std::string(T&)> get,
                       std::function<void(T&, const std::string&)> set) {
        TPropInfo p;
        p.Name = name; p.Kind = TTypeKind::tkString;
        p.Get = [get](TObject& o) -> TValue { return get(static_cast<T&>(o)); };
        if (set) p.Set = [set](TObject& o, const TValue& v) { set(static_cast<T&>(o), std::get<std::string>(v)); };
        info_.AddProperty(std::move(p));
        return *this;
    }
    TClassBuilder& Lines(const std::string& name, std::function<TStringVector(T&)> get,
                         std::function<void(T&, const TStringVector&)> set) {
        TPropInfo p;
        p.Name = name; p.Kind = TTypeKind::tkStringList;
        p.Get = [get](TObject& o) -> TValue { return get(static_cast<T&>(o)); };
        if (set) p.Set = [set](TObject& o, const TValue& v) { set(static_cast<T&>(o), std::get<TStringVector>(v)); };
        info_.AddProperty(std::move(p));
        return *this;
    }
    // An owned object whose own properties are set through it (Font, Items, Panels).
    TClassBuilder& Object(const std::string& name, std::function<TObject*(T&)> get) {
        TPropInfo p;
        p.Name = name; p.Kind = TTypeKind::tkClass;
        p.Get = [get](TObject& o) -> TValue { return get(static_cast<T&>(o)); };
        info_.AddProperty(std::move(p));
        return *this;
    }
    // A reference to another component of the form, resolved by name after loading.
    template <class C>
    TClassBuilder& Reference(const std::string& name, std::function<C*(T&)> get, std::function<void(T&, C*)> set) {
        TPropInfo p;
        p.Name = name; p.Kind = TTypeKind::tkClass; p.IsReference = true;
        p.Get = [get](TObject& o) -> TValue { return static_cast<TObject*>(get(static_cast<T&>(o))); };
        p.Set = [set, name](TObject& o, const TValue& v) {
            TObject* obj = std::holds_alternative<TObject*>(v) ? std::get<TObject*>(v) : nullptr;
            C* c = obj ? dynamic_cast<C*>(obj) : nullptr;
            if (obj && !c) throw EPropertyError("Invalid property value for " + name);
            set(static_cast<T&>(o), c);
        };
        info_.AddProperty(std::move(p));
        return *this;
    }
    TClassBuilder& Binary(const std::string& name, std::function<TBytes(T&)> get,
                          std::function<void(T&, const TBytes&)> set) {
        TPropInfo p;
        p.Name = name; p.Kind = TTypeKind::tkBinary;
        p.Get = [get](TObject& o) -> TValue { return get(static_cast<T&>(o)); };
        if (set) p.Set = [set](TObject& o, const TValue& v) { set(static_cast<T&>(o), std::get<TBytes>(v)); };
        info_.AddProperty(std::move(p));
        return *this;
    }
    // An event: a member of type Event (a std::function), bound to a form handler by name.
    template <class E>
    TClassBuilder& Event(const std::string& name, E T::*member) {
        TPropInfo p;
        p.Name = name; p.Kind = TTypeKind::tkMethod; p.EventType = typeid(E);
        p.Get = [member](TObject& o) -> TValue { return std::any(static_cast<T&>(o).*member); };
        p.Set = [member, name](TObject& o, const TValue& v) {
            const std::any* a = std::get_if<std::any>(&v);
            if (!a || !a->has_value()) { static_cast<T&>(o).*member = nullptr; return; }
            const E* e = std::any_cast<E>(a);
            if (!e) throw EPropertyError("Handler of the wrong kind for event " + name);
            static_cast<T&>(o).*member = *e;
        };
        info_.AddProperty(std::move(p));
        return *this;
    }
    // A handler of a form, found by name from stored event bindings.
    template <class Base, class R, class... Args>
    TClassBuilder& Handler(const std::string& name, R (Base::*method)(Args...)) {
        static_assert(std::is_base_of_v<Base, T>, "a handler must be a method of the form");
        info_.AddHandler(name, [method](TObject& self) -> std::any {
            Base* t = &static_cast<T&>(self);
            return std::function<R(Args...)>([t, method](Args... args) { return (t->*method)(args...); });
        });
        return *this;
    }
    // A field of a form that receives the component of the same name.
    template <class C, class Base>
    TClassBuilder& Field(const std::string& name, C* Base::*member) {
        static_assert(std::is_base_of_v<Base, T>, "a field must be a member of the form");
        info_.AddField(name, [member](TObject& self, TComponent* comp) {
            C* c = dynamic_cast<C*>(comp);
            if (!c) return false;
            static_cast<Base&>(static_cast<T&>(self)).*member = c;
            return true;
        });
        return *this;
    }

private:
    static std::function<TValue(TObject&)> wrapInt(std::function<int64_t(T&)> get) {
        return [get](TObject& o) -> TValue { return get(static_cast<T&>(o)); };
    }
    static std::function<void(TObject&, const TValue&)> wrapIntSet(std::function<void(T&, int64_t)> set) {
        if (!set) return nullptr;
        return [set](TObject& o, const TValue& v) { set(static_cast<T&>(o), std::get<int64_t>(v)); };
    }
    TClassBuilder& add(const std::string& name, TTypeKind kind, const TEnumNames* names,
                       std::function<TValue(TObject&)> get, std::function<void(TObject&, const TValue&)> set) {
        TPropInfo p;
        p.Name = name; p.Kind = kind; p.Names = names; p.Get = std::move(get); p.Set = std::move(set);
        info_.AddProperty(std::move(p));
        return *this;
    }
    TClassInfo& info_;
};

// Declares the class-information members of a class of the library:
//   class TPanel : public TCustomControl { CLASS_INFO(TPanel) ... };
// and in its source:
//   const TClassInfo& TPanel::StaticClassInfo() {
//       static const TClassInfo& info = DescribeClass<TPanel>("TPanel", &TCustomControl::StaticClassInfo(),
//           [](TClassBuilder<TPanel>& b) { b.Creatable().Int(...); });
//       return info; }
#define CLASS_INFO(Class)                       \
public:                                         \
    static const TClassInfo& StaticClassInfo(); \
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

template <class T>
const TClassInfo& DescribeClass(const std::string& name, const TClassInfo* parent,
                                const std::function<void(TClassBuilder<T>&)>& describe) {
    auto* info = new TClassInfo(name, parent);  // lives as long as the program
    TClassBuilder<T> b(*info);
    describe(b);
    RegisterClassInfo(*info);
    return *info;
}
