#include "FormReader.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <map>

#include "Texts.h"

namespace dfm {
namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {}

    Object ParseRoot() {
        skipSpace();
        Object o = parseObject();
        skipSpace();
        if (pos_ < s_.size()) fail("Text after the end of the form");
        return o;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw EReadError("Error reading form description, line " + std::to_string(line_) + ": " + what);
    }

    void skipSpace() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') { ++line_; ++pos_; }
            else if (c == ' ' || c == '\t' || c == '\r') ++pos_;
            else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else break;
        }
    }

    bool peek(char c) { skipSpace(); return pos_ < s_.size() && s_[pos_] == c; }
    void expect(char c) {
        if (!peek(c)) fail(std::string("'") + c + "' expected");
        ++pos_;
    }

    static bool identStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
    static bool identChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

    std::string ident() {
        skipSpace();
        if (pos_ >= s_.size() || !identStart(s_[pos_])) fail("Identifier expected");
        size_t b = pos_;
        while (pos_ < s_.size() && identChar(s_[pos_])) ++pos_;
        return s_.substr(b, pos_ - b);
    }

    // Dotted property names: Font.Name, Items.Strings
    std::string dottedIdent() {
        std::string n = ident();
        while (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            n += "." + ident();
        }
        return n;
    }

    bool atKeyword(const char* kw) {
        skipSpace();
        size_t n = std::strlen(kw);
        if (s_.compare(pos_, n, kw) != 0) {
            // keywords compare without regard to case
            if (pos_ + n > s_.size() || !texts::SameText(s_.substr(pos_, n), kw)) return false;
        }
        return pos_ + n >= s_.size() || !identChar(s_[pos_ + n]);
    }

    Object parseObject() {
        Object o;
        o.line = line_;
        if (!atKeyword("object")) fail("'object' expected");
        pos_ += 6;
        std::string first = ident();
        if (peek(':')) {
            ++pos_;
            o.name = first;
            o.className = ident();
        } else {
            o.className = first;
        }
        for (;;) {
            if (atKeyword("end")) { pos_ += 3; break; }
            if (atKeyword("object")) { o.children.push_back(parseObject()); continue; }
            if (pos_ >= s_.size()) fail("'end' expected");
            o.props.push_back(parseProperty());
        }
        return o;
    }

    Property parseProperty() {
        Property p;
        p.line = line_;
        p.name = dottedIdent();
        expect('=');
        p.value = parseValue();
        return p;
    }

    Value parseValue() {
        skipSpace();
        if (pos_ >= s_.size()) fail("Value expected");
        char c = s_[pos_];
        Value v;
        if (c == '\'' || c == '#') {
            v.kind = Value::String;
            v.string = parseString();
        } else if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
            v.kind = Value::Integer;
            v.integer = parseInteger();
        } else if (c == '[') {
            v.kind = Value::Set;
            ++pos_;
            if (!peek(']')) {
                for (;;) {
                    v.set.push_back(ident());
                    if (peek(',')) { ++pos_; continue; }
                    break;
                }
            }
            expect(']');
        } else if (c == '(') {
            v.kind = Value::List;
            ++pos_;
            while (!peek(')')) {
                if (pos_ >= s_.size()) fail("')' expected");
                v.list.push_back(parseValue());
            }
            ++pos_;
        } else if (c == '<') {
            v.kind = Value::Collection;
            ++pos_;
            while (!peek('>')) {
                if (!atKeyword("item")) fail("'item' expected");
                pos_ += 4;
                Item item;
                while (!atKeyword("end")) {
                    if (pos_ >= s_.size()) fail("'end' expected");
                    item.props.push_back(parseProperty());
                }
                pos_ += 3;
                v.items.push_back(std::move(item));
            }
            ++pos_;
        } else if (c == '{') {
            v.kind = Value::Binary;
            ++pos_;
            int nibbles = 0;
            uint8_t cur = 0;
            for (;;) {
                skipSpace();
                if (pos_ >= s_.size()) fail("'}' expected");
                char h = s_[pos_++];
                if (h == '}') break;
                int d = std::isdigit(static_cast<unsigned char>(h)) ? h - '0'
                        : (h >= 'A' && h <= 'F') ? h - 'A' + 10
                        : (h >= 'a' && h <= 'f') ? h - 'a' + 10 : -1;
                if (d < 0) fail("Hexadecimal digit expected");
                cur = static_cast<uint8_t>((cur << 4) | d);
                if (++nibbles % 2 == 0) { v.bytes.push_back(cur); cur = 0; }
            }
            if (nibbles % 2) fail("Odd number of hexadecimal digits");
        } else if (c == '@') {
            ++pos_;
            v.kind = Value::Resource;
            v.ident = ident();
        } else if (identStart(c)) {
            v.kind = Value::Ident;
            v.ident = dottedIdent();
        } else {
            fail(std::string("Unexpected character '") + c + "'");
        }
        return v;
    }

    int64_t parseInteger() {
        bool neg = false;
        if (s_[pos_] == '-') { neg = true; ++pos_; }
        int base = 10;
        if (pos_ < s_.size() && s_[pos_] == '$') { base = 16; ++pos_; }
        size_t b = pos_;
        uint64_t v = 0;
        while (pos_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[pos_]))) {
            char h = s_[pos_];
            int d = std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::toupper(h) - 'A' + 10);
            if (d >= base) break;
            if (v > (UINT64_MAX - d) / base) fail("Number too large");
            v = v * base + d;
            ++pos_;
        }
        if (pos_ == b) fail("Number expected");
        if (pos_ < s_.size() && identChar(s_[pos_])) fail("Invalid number");
        if (base == 10 && v > static_cast<uint64_t>(INT64_MAX)) fail("Number too large");
        return neg ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    }

    std::wstring parseString() {
        // Pieces join when they touch ('a'#13'b') or across a '+' at a line end; pieces
        // separated by blanks are separate values (items of a list).
        std::wstring out;
        for (;;) {
            if (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) {
                size_t save = pos_;
                int saveLine = line_;
                skipSpace();
                if (pos_ >= s_.size() || s_[pos_] != '+') { pos_ = save; line_ = saveLine; break; }
            }
            if (pos_ >= s_.size()) break;
            char c = s_[pos_];
            if (c == '\'') {
                ++pos_;
                std::string piece;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n') fail("Unterminated string");
                    if (s_[pos_] == '\'') {
                        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') { piece += '\''; pos_ += 2; continue; }
                        ++pos_;
                        break;
                    }
                    piece += s_[pos_++];
                }
                out += texts::Utf8ToWide(piece);
            } else if (c == '#') {
                ++pos_;
                size_t b = pos_;
                unsigned long code = 0;
                while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
                    code = code * 10 + (s_[pos_] - '0');
                    if (code > 0xFFFF) fail("Character code too large");
                    ++pos_;
                }
                if (pos_ == b) fail("Character code expected");
                out += static_cast<wchar_t>(code);
            } else if (c == '+') {
                ++pos_;  // continuation onto the next line
                skipSpace();
                if (pos_ >= s_.size() || (s_[pos_] != '\'' && s_[pos_] != '#')) fail("String expected after '+'");
            } else {
                break;
            }
        }
        return out;
    }

    const std::string& s_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

Object Parse(const std::string& utf8Text) {
    std::string text = utf8Text;
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF && static_cast<unsigned char>(text[1]) == 0xBB &&
        static_cast<unsigned char>(text[2]) == 0xBF)
        text.erase(0, 3);
    Parser p(text);
    return p.ParseRoot();
}

}  // namespace dfm

// ---- reading into components -------------------------------------------------------

namespace {

struct Fixup {
    TObject* target;
    const TPropInfo* prop;
    std::string componentName;
    int line;
};

class Reader {
public:
    explicit Reader(TComponent& root) : root_(root) {}

    void Read(const dfm::Object& desc) {
        root_.BeginLoading();
        loaded_.push_back(&root_);
        if (!desc.name.empty()) root_.SetName(desc.name);
        context_ = desc.className;
        for (const auto& p : desc.props) setProperty(root_, p);
        for (const auto& child : desc.children) readChild(child, &root_);
        resolveFixups();
        checkFields();
        for (TComponent* c : loaded_) c->EndReading();
        for (TComponent* c : loaded_) c->Loaded();
    }

private:
    [[noreturn]] void fail(int line, const std::string& what) const {
        throw EReadError("Error reading " + context_ + " (line " + std::to_string(line) + "): " + what);
    }

    void readChild(const dfm::Object& desc, TComponent* container) {
        const TClassInfo* cls = FindClassInfo(desc.className);
        if (!cls || !cls->Create) fail(desc.line, "Class " + desc.className + " not found");
        TComponent* comp = cls->Create(&root_);
        comp->BeginLoading();
        loaded_.push_back(comp);
        std::string saved = context_;
        context_ = desc.name.empty() ? desc.className : desc.name;
        try {
            comp->SetName(desc.name);
        } catch (const std::exception& e) {
            fail(desc.line, e.what());
        }
        comp->SetParentComponent(container);
        if (!desc.name.empty()) {
            if (const auto* field = root_.ClassInfo().FindField(desc.name)) {
                if (!(*field)(root_, comp)) fail(desc.line, "Field " + desc.name + " has another class than " + desc.className);
                filled_.push_back(texts::UpperCase(desc.name));
            }
        }
        for (const auto& p : desc.props) setProperty(*comp, p);
        for (const auto& child : desc.children) readChild(child, comp);
        context_ = saved;
    }

    void checkFields() {
        for (const std::string& f : root_.ClassInfo().FieldNames()) {
            bool found = false;
            for (const auto& n : filled_) found = found || n == texts::UpperCase(f);
            if (!found) throw EReadError("Error reading " + root_.ClassName() + ": no component named " + f + " in the description");
        }
    }

    void setProperty(TObject& obj, const dfm::Property& p) {
        // Walk dotted names through owned objects: Font.Name, Items.Strings.
        TObject* target = &obj;
        std::string rest = p.name;
        for (size_t dot; (dot = rest.find('.')) != std::string::npos;) {
            std::string head = rest.substr(0, dot);
            const TPropInfo* info = GetPropInfo(*target, head);
            if (!info) fail(p.line, "Property " + head + " does not exist");
            if (info->Kind != TTypeKind::tkClass || info->IsReference) fail(p.line, "Property " + head + " has no properties");
            TValue v = info->Get(*target);
            TObject* const* sub = std::get_if<TObject*>(&v);
            if (!sub || !*sub) fail(p.line, "Property " + head + " is not assigned");
            target = *sub;
            rest = rest.substr(dot + 1);
        }
        const TPropInfo* info = GetPropInfo(*target, rest);
        if (!info) fail(p.line, "Property " + rest + " does not exist");
        try {
            assign(*target, *info, p);
        } catch (const EReadError&) {
            throw;
        } catch (const std::exception& e) {
            fail(p.line, e.what());
        }
    }

    void assign(TObject& target, const TPropInfo& info, const dfm::Property& p) {
        const dfm::Value& v = p.value;
        auto needSetter = [&] { if (!info.Set) fail(p.line, "Property " + info.Name + " is read-only"); };
        auto badValue = [&] { fail(p.line, "Invalid property value for " + info.Name); };
        switch (info.Kind) {
        case TTypeKind::tkInteger: {
            needSetter();
            int64_t n = 0;
            if (v.kind == dfm::Value::Integer) n = v.integer;
            else if (v.kind == dfm::Value::Ident && info.Names && info.Names->Find(v.ident, n)) {}
            else badValue();
            info.Set(target, n);
            break;
        }
        case TTypeKind::tkEnumeration: {
            needSetter();
            int64_t n = 0;
            if (v.kind != dfm::Value::Ident || !info.Names || !info.Names->Find(v.ident, n)) badValue();
            info.Set(target, n);
            break;
        }
        case TTypeKind::tkSet: {
            needSetter();
            if (v.kind != dfm::Value::Set) badValue();
            int64_t mask = 0;
            for (const auto& name : v.set) {
                int64_t bit = 0;
                if (!info.Names || !info.Names->Find(name, bit)) fail(p.line, "Invalid set element " + name + " for " + info.Name);
                mask |= int64_t{1} << bit;
            }
            info.Set(target, mask);
            break;
        }
        case TTypeKind::tkString:
            needSetter();
            if (v.kind != dfm::Value::String) badValue();
            info.Set(target, texts::WideToCodePage(v.string, texts::kGbk));
            break;
        case TTypeKind::tkStringList: {
            needSetter();
            if (v.kind != dfm::Value::List) badValue();
            TStringVector lines;
            for (const auto& item : v.list) {
                if (item.kind != dfm::Value::String) badValue();
                lines.push_back(texts::WideToCodePage(item.string, texts::kGbk));
            }
            info.Set(target, lines);
            break;
        }
        case TTypeKind::tkBinary:
            needSetter();
            if (v.kind == dfm::Value::Binary) info.Set(target, v.bytes);
            else if (v.kind == dfm::Value::Resource) info.Set(target, LoadRcDataResource(v.ident));
            else badValue();
            break;
        case TTypeKind::tkMethod: {
            needSetter();
            if (v.kind != dfm::Value::Ident) badValue();
            const auto* maker = root_.ClassInfo().FindHandler(v.ident);
            if (!maker) fail(p.line, "Handler " + v.ident + " not found in " + root_.ClassName());
            info.Set(target, (*maker)(root_));
            break;
        }
        case TTypeKind::tkClass:
            if (info.IsReference) {
                if (v.kind != dfm::Value::Ident) badValue();
                fixups_.push_back({&target, &info, v.ident, p.line});
            } else if (v.kind == dfm::Value::Collection) {
                TValue cv = info.Get(target);
                TObject* const* o = std::get_if<TObject*>(&cv);
                auto* coll = o ? dynamic_cast<TCollection*>(*o) : nullptr;
                if (!coll) badValue();
                coll->BeginUpdate();
                coll->Clear();
                for (const auto& item : v.items) {
                    TCollectionItem* ci = coll->Add();
                    for (const auto& ip : item.props) setProperty(*ci, ip);
                }
                coll->EndUpdate();
            } else {
                badValue();
            }
            break;
        }
    }

    void resolveFixups() {
        for (const auto& f : fixups_) {
            TComponent* c = texts::SameText(f.componentName, root_.Name()) ? &root_ : root_.FindComponent(f.componentName);
            if (!c) fail(f.line, "Component " + f.componentName + " not found");
            try {
                f.prop->Set(*f.target, static_cast<TObject*>(c));
            } catch (const std::exception& e) {
                fail(f.line, e.what());
            }
        }
    }

    TComponent& root_;
    std::string context_;
    std::vector<TComponent*> loaded_;
    std::vector<Fixup> fixups_;
    std::vector<std::string> filled_;
};

}  // namespace

void ReadComponentDescription(TComponent& root, const dfm::Object& description) {
    Reader r(root);
    r.Read(description);
}

TBytes LoadRcDataResource(const std::string& name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(module, name.c_str(), reinterpret_cast<LPCSTR>(RT_RCDATA));
    if (!res) throw EReadError("Resource " + name + " not found");
    HGLOBAL g = LoadResource(module, res);
    const auto* data = static_cast<const uint8_t*>(g ? LockResource(g) : nullptr);
    DWORD size = SizeofResource(module, res);
    if (!data) throw EReadError("Resource " + name + " cannot be read");
    return TBytes(data, data + size);
}

std::string LoadFormResource(const std::string& className) {
    TBytes b = LoadRcDataResource(texts::UpperCase(className));
    return std::string(b.begin(), b.end());
}
