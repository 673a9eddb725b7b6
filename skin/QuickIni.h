// The skin definition text: an ini-style text read from memory (TQuickIni) and the
// three-number colour texts in it (ParseRGB, ReadColor).  Knows nothing of what the sections
// and keys mean; the definition model decides that.
//
// Text rules: lines end at CR, LF or CR LF; a NUL ends the whole text; lines are trimmed of
// bytes 0 to 32; empty lines and lines starting with ";" are dropped; section names and keys
// compare without regard to ASCII letter case; the first of two equal sections or keys wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TQuickIni {
public:
    // Replaces the content with the text in data[0, size).  A null pointer does nothing.
    void LoadFromStream(const uint8_t* data, size_t size);
    void LoadFromStream(const std::vector<uint8_t>& data) { LoadFromStream(data.data(), data.size()); }

    // Index in Lines() of the section's header, or -1.
    int SectionIndex(const std::string& section) const;

    // The value of the first line with this key in the section; the default when the
    // section or key is missing or the first such line has an empty value.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& Default) const;

    // ReadString converted: decimal with an optional sign, or hexadecimal after "$", "0x"
    // or "0X"; anything else (empty, out of range) gives the default.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t Default) const;

    // The section names without brackets, in file order, duplicates kept.
    void ReadSections(std::vector<std::string>& target) const;

    // The text before the first "=", trimmed and lower-cased; empty without "=".
    static std::string KeyOfLine(const std::string& line);
    // The text after the first "=", trimmed, when the line's key equals `key`; else empty.
    static std::string ValueOfLine(const std::string& line, const std::string& key);
    // Non-empty and, once trimmed, "[" ... "]".
    static bool IsSectionLine(const std::string& line);

    // The retained lines, trimmed, in file order.
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    struct Section {
        std::string header;  // the trimmed header line, brackets included
        int line;            // its index in lines_
    };
    std::vector<std::string> lines_;
    std::vector<Section> sections_;
};

// Removes leading and trailing bytes 0 to 32.
std::string SkinTrim(const std::string& text);

// Colour value in the platform's RGB layout: R in the low byte, then G, then B.
using SkinColour = uint32_t;

// Three decimal numbers R G B separated by anything that is not a digit.  Two numbers give
// R only, one gives black; numbers after the third are ignored; each channel keeps its low
// byte.  A number too large for 32 bits ends the text: the channels read before it stay.
SkinColour ParseRGB(const std::string& text);

// The default for an empty text, else ParseRGB(text).
SkinColour ReadColor(const std::string& text, SkinColour Default);

// Converts as ReadInteger does: decimal with optional sign, "$" + hexadecimal digits (up to
// 32 bits, read as two's complement), or "0x"/"0X" + hexadecimal digits.  Returns false for
// anything else.
bool SkinStrToInt(const std::string& text, int32_t& value);
