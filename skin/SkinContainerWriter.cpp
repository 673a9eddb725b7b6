// The skin container writer: lays out the container exactly as TSkinReader indexes it and
// packs it with LzhufEncode.  Refuses what the reader would refuse or misread, so a written
// skin always reads back entry for entry.
#include "SkinContainerWriter.h"

#include <stdexcept>

#include "Lzhuf.h"
#include "SkinContainer.h"

namespace {

void PutInt32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> BuildSkinContainer(const std::vector<SkinFileEntry>& files) {
    if (files.size() > static_cast<size_t>(SkinMaxEntries)) {
        throw std::runtime_error("a skin holds at most " + std::to_string(SkinMaxEntries) +
                                 " files, not " + std::to_string(files.size()));
    }
    std::string names;
    uint64_t total = 16;
    for (const SkinFileEntry& f : files) {
        if (f.name.empty()) throw std::runtime_error("a skin file needs a name");
        if (f.name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
            throw std::runtime_error("skin file name \"" + f.name + "\" contains a line break or NUL");
        }
        names += f.name;
        names += "\r\n";
        total += f.name.size() + 2 + 4 + static_cast<uint64_t>(f.data.size());
        if (total > static_cast<uint64_t>(SkinMaxUnpackedSize)) {
            throw std::runtime_error("skin is larger than " + std::to_string(SkinMaxUnpackedSize) +
                                     " bytes unpacked");
        }
    }
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    PutInt32(out, static_cast<uint32_t>(SkinContainerVersion));
    PutInt32(out, static_cast<uint32_t>(names.size()));
    PutInt32(out, 0);
    PutInt32(out, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const SkinFileEntry& f : files) PutInt32(out, static_cast<uint32_t>(f.data.size()));
    for (const SkinFileEntry& f : files) out.insert(out.end(), f.data.begin(), f.data.end());
    return out;
}

std::vector<uint8_t> WriteSkinContainer(const std::vector<SkinFileEntry>& files) {
    const std::vector<uint8_t> container = BuildSkinContainer(files);
    std::vector<uint8_t> out;
    PutInt32(out, static_cast<uint32_t>(container.size()));
    const std::vector<uint8_t> packed = LzhufEncode(container.data(), container.size());
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}
