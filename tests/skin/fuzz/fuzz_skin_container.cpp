// Fuzz target: a whole skin file through the container reader and its decoder, then every
// lookup the engine makes; the input is also indexed as an unpacked container.  Any input must be either refused or indexed within bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Lzhuf.h"
#include "SkinContainer.h"

namespace {

void Lookups(const TSkinReader& reader) {
    std::vector<uint8_t> dest;
    std::string found;
    reader.ExtractEntryContaining(".ini", dest, found);
    for (const std::string& name : reader.Names()) reader.ExtractEntry(name, dest);
    reader.ExtractEntry("TITLE.BMP", dest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TSkinReader reader;
    if (reader.LoadFromStream(data, size)) Lookups(reader);
    // The same bytes as an unpacked container, so the index checks see arbitrary input
    // and not only what survives decompression.
    TSkinReader raw;
    if (raw.LoadFromContainer(data, size)) Lookups(raw);
    // The raw stream too, with its own length field ignored: any length up to the bound.
    if (size > 8) {
        const int32_t length = static_cast<int32_t>(data[0] | (data[1] << 8)) * 4;
        try {
            LzhufDecode(data + 2, size - 2, length);
        } catch (const ElzhException&) {
        }
    }
    return 0;
}
