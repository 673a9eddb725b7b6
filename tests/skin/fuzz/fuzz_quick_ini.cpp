// Fuzz target: arbitrary bytes as a skin definition text, queried the way the definition
// model queries it (every section, common keys, integers and colours).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "QuickIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TQuickIni ini;
    ini.LoadFromStream(data, size);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    static const char* const kKeys[] = {"Image", "Frame", "Tile", "Trans", "LeftWidth", "NormalColour2", "", "="};
    for (const std::string& section : sections) {
        for (const char* key : kKeys) {
            const std::string value = ini.ReadString(section, key, "");
            ParseRGB(value);
            ReadColor(value, 0xFF000005u);
            ini.ReadInteger(section, key, -1);
        }
        ini.SectionIndex(section);
    }
    for (const std::string& line : ini.Lines()) {
        TQuickIni::ValueOfLine(line, TQuickIni::KeyOfLine(line));
        TQuickIni::IsSectionLine(line);
    }
    ParseRGB(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
