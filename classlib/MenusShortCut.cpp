// Shortcut values and their texts ("Ctrl+N", "Alt+F4", "Del"), and caption accelerators
// ('&' before a character).  Pure text handling; menus use it to find and draw items.
#include <windows.h>

#include <cctype>
#include <string>

#include "Menus.h"
#include "Texts.h"

namespace {

struct KeyName {
    const char* name;
    WORD key;
};

// The names ShortCutToText writes, first; synonyms TextToShortCut also accepts after them.
const KeyName kKeyNames[] = {
    {"BkSp", VK_BACK}, {"Tab", VK_TAB}, {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}, {"Space", VK_SPACE},
    {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT}, {"End", VK_END}, {"Home", VK_HOME}, {"Left", VK_LEFT},
    {"Up", VK_UP}, {"Right", VK_RIGHT}, {"Down", VK_DOWN}, {"Ins", VK_INSERT}, {"Del", VK_DELETE},
    {"Backspace", VK_BACK}, {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Insert", VK_INSERT},
    {"Delete", VK_DELETE}, {"PageUp", VK_PRIOR}, {"PageDown", VK_NEXT},
};
constexpr size_t kWrittenNames = 15;

std::string keyName(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    for (size_t i = 0; i < kWrittenNames; ++i)
        if (kKeyNames[i].key == key) return kKeyNames[i].name;
    return {};
}

WORD keyOfName(const std::string& name) {
    if (name.size() == 1) {
        unsigned char c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return c;
        return 0;
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int n = 0;
        for (size_t i = 1; i < name.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
            n = n * 10 + (name[i] - '0');
        }
        if (n >= 1 && n <= 24) return static_cast<WORD>(VK_F1 + n - 1);
        return 0;
    }
    for (const KeyName& k : kKeyNames)
        if (texts::SameText(k.name, name)) return k.key;
    return 0;
}

TEnumNames makeShortCutIdents() {
    TEnumNames names;
    for (int n = 1; n <= 12; ++n) names.Items.emplace_back("F" + std::to_string(n), VK_F1 + n - 1);
    for (const KeyName& k : kKeyNames) names.Items.emplace_back(k.name, k.key);
    return names;
}

bool isLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0; }

}  // namespace

const TEnumNames ShortCutIdents = makeShortCutIdents();

TShortCut TextToShortCut(const std::string& text) {
    TShortCut mods = 0;
    std::string rest = texts::Trim(text);
    for (;;) {
        const struct { const char* prefix; TShortCut bit; } prefixes[] = {{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
        bool matched = false;
        for (const auto& p : prefixes) {
            size_t n = std::char_traits<char>::length(p.prefix);
            if (rest.size() > n && texts::SameText(rest.substr(0, n), p.prefix)) {
                mods |= p.bit;
                rest = rest.substr(n);
                matched = true;
            }
        }
        if (!matched) break;
    }
    if (rest.empty()) return 0;
    WORD key = keyOfName(rest);
    return key ? static_cast<TShortCut>(key | mods) : 0;
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = keyName(static_cast<WORD>(shortCut & 0xFF));
    if (name.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + name;
}

std::string StripHotkey(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (isLeadByte(c) && i + 1 < caption.size()) {
            out += c;
            out += caption[++i];
        } else if (c == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') { out += '&'; ++i; }
        } else {
            out += c;
        }
    }
    return out;
}

char GetHotkey(const std::string& caption) {
    for (size_t i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (isLeadByte(c)) { ++i; continue; }
        if (c != '&' || i + 1 >= caption.size()) continue;
        char next = caption[i + 1];
        if (next == '&') { ++i; continue; }
        if (isLeadByte(next)) return 0;
        return static_cast<char>(std::toupper(static_cast<unsigned char>(next)));
    }
    return 0;
}

bool IsAccel(unsigned charCode, const std::string& caption) {
    char hot = GetHotkey(caption);
    if (!hot || charCode > 0x7F) return false;
    return hot == static_cast<char>(std::toupper(static_cast<int>(charCode)));
}
