// The definition text reader and the colour text parser.  Works on bytes: GBK text passes
// through untouched, and only ASCII letters change case.
#include "QuickIni.h"

#include "SkinContainer.h"  // SkinLowerCase

namespace {

bool IsBlank(char ch) { return static_cast<unsigned char>(ch) <= 32; }

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && SkinLowerCase(a) == SkinLowerCase(b);
}

int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

}  // namespace

std::string SkinTrim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

void TQuickIni::LoadFromStream(const uint8_t* data, size_t size) {
    if (data == nullptr) return;
    lines_.clear();
    sections_.clear();
    const char* text = reinterpret_cast<const char*>(data);
    size_t i = 0;
    while (i < size && text[i] != '\0') {
        const size_t start = i;
        while (i < size && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') ++i;
        std::string line = SkinTrim(std::string(text + start, i - start));
        if (i < size && text[i] == '\r') ++i;
        if (i < size && text[i] == '\n') ++i;
        if (line.empty() || line[0] == ';') continue;
        lines_.push_back(std::move(line));
        const std::string& kept = lines_.back();
        if (kept.front() == '[' && kept.back() == ']') {
            sections_.push_back({kept, static_cast<int>(lines_.size() - 1)});
        }
    }
}

int TQuickIni::SectionIndex(const std::string& section) const {
    const std::string header = "[" + section + "]";
    for (const Section& s : sections_) {
        if (EqualIgnoringAsciiCase(s.header, header)) return s.line;
    }
    return -1;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& Default) const {
    const std::string wanted = SkinLowerCase(key);
    if (lines_.empty()) return Default;
    const int header = SectionIndex(section);
    if (header < 0) return Default;
    for (size_t i = static_cast<size_t>(header) + 1; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        if (IsSectionLine(line)) break;
        if (KeyOfLine(line) == wanted) {
            std::string value = ValueOfLine(line, wanted);
            return value.empty() ? Default : value;
        }
    }
    return Default;
}

int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key,
                               int32_t Default) const {
    int32_t value;
    return SkinStrToInt(ReadString(section, key, ""), value) ? value : Default;
}

void TQuickIni::ReadSections(std::vector<std::string>& target) const {
    target.clear();
    for (const Section& s : sections_) {
        const std::string trimmed = SkinTrim(s.header);
        target.push_back(SkinTrim(trimmed.substr(1, trimmed.size() - 2)));
    }
}

std::string TQuickIni::KeyOfLine(const std::string& line) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return std::string();
    return SkinLowerCase(SkinTrim(line.substr(0, eq)));
}

std::string TQuickIni::ValueOfLine(const std::string& line, const std::string& key) {
    if (line.empty() || key.empty() || KeyOfLine(line) != key) return std::string();
    return SkinTrim(line.substr(line.find('=') + 1));
}

bool TQuickIni::IsSectionLine(const std::string& line) {
    if (line.empty()) return false;
    const std::string trimmed = SkinTrim(line);
    return !trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']';
}

bool SkinStrToInt(const std::string& text, int32_t& value) {
    std::string s = text;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
    if (s.empty()) return false;
    if (s[0] == '$') {
        if (s.size() == 1) return false;
        uint64_t v = 0;
        for (size_t i = 1; i < s.size(); ++i) {
            const int d = HexDigit(s[i]);
            if (d < 0) return false;
            v = (v << 4) | static_cast<uint64_t>(d);
            if (v > 0xFFFFFFFFu) return false;
        }
        value = static_cast<int32_t>(static_cast<uint32_t>(v));
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size()) return false;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > int64_t{2147483648}) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    value = static_cast<int32_t>(v);
    return true;
}

SkinColour ParseRGB(const std::string& text) {
    const std::string s = SkinTrim(text);
    uint32_t slots[3] = {0, 0, 0};
    size_t slot = 0;
    std::string digits;
    for (char ch : s) {
        if (ch >= '0' && ch <= '9') {
            digits += ch;
            continue;
        }
        if (digits.empty()) continue;
        int32_t v;
        if (!SkinStrToInt(digits, v)) break;  // too large: keep what was read before it
        if (slot < 3) slots[slot] = static_cast<uint32_t>(v);
        ++slot;
        digits.clear();
    }
    // A number that ends the text counts only as the third one.
    int32_t v;
    if (slot == 2 && !digits.empty() && SkinStrToInt(digits, v)) slots[2] = static_cast<uint32_t>(v);
    return (slots[0] & 0xFF) | ((slots[1] & 0xFF) << 8) | ((slots[2] & 0xFF) << 16);
}

SkinColour ReadColor(const std::string& text, SkinColour Default) {
    return text.empty() ? Default : ParseRGB(text);
}
