// The skin container reader.  The whole file is unpacked first; then the header, the name
// list and the size table are checked against the bytes actually present before anything
// replaces the previous index, so a refused file leaves the reader as it was.
#include "SkinContainer.h"

#include <cstring>

#include "Lzhuf.h"

const char* const SkinOlderVersionMessage = "This is Older Skin File\rPlease update to new version !";

namespace {

int32_t ReadInt32(const uint8_t* p) {
    const uint32_t v = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                       (uint32_t{p[3]} << 24);
    int32_t s;
    std::memcpy(&s, &v, sizeof s);
    return s;
}

// Splits at CR LF, a lone CR or a lone LF; the break after the last name adds no empty
// name.  Stops (returns false) as soon as more than `limit` names are found, so a forged
// list of line breaks costs no memory.
bool SplitNames(const uint8_t* p, size_t size, size_t limit, std::vector<std::string>& names) {
    size_t i = 0;
    while (i < size) {
        const size_t start = i;
        while (i < size && p[i] != '\r' && p[i] != '\n') ++i;
        if (names.size() == limit) return false;
        names.emplace_back(reinterpret_cast<const char*>(p + start), i - start);
        if (i < size && p[i] == '\r') ++i;
        if (i < size && p[i] == '\n') ++i;
    }
    return true;
}

}  // namespace

std::string SkinLowerCase(std::string text) {
    for (char& ch : text) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    return text;
}

std::vector<uint8_t> TSkinReader::Decompress(const uint8_t* source, size_t size) {
    if (size < 4) throw ElzhException("skin file is shorter than its length field");
    // A length of 0 or below announces an empty container, which the version check then
    // refuses with the older-version message: a broken skin file picked by the user says
    // why it was not applied instead of being dropped without a word.
    const int32_t length = ReadInt32(source);
    if (length <= 0) return {};
    return TLZH().Unpack(length, source + 4, size - 4);
}

bool TSkinReader::LoadFromStream(const uint8_t* source, size_t size) {
    std::vector<uint8_t> unpacked;
    try {
        unpacked = Decompress(source, size);
    } catch (const ElzhException& e) {
        lastLoadError_ = SkinLoadError::Damaged;
        lastError_ = e.what();
        return false;
    }
    return LoadFromContainer(unpacked.data(), unpacked.size());
}

bool TSkinReader::LoadFromContainer(const uint8_t* u, size_t total) {
    auto refuse = [this](SkinLoadError why, std::string text) {
        lastLoadError_ = why;
        lastError_ = std::move(text);
        return false;
    };

    if (u == nullptr || total < 4 || ReadInt32(u) != SkinContainerVersion) {
        return refuse(SkinLoadError::OlderVersion, SkinOlderVersionMessage);
    }
    if (total < 16) return refuse(SkinLoadError::Damaged, "skin container header is cut short");
    const int32_t nameBytes = ReadInt32(u + 4);
    if (nameBytes < 0 || static_cast<size_t>(nameBytes) > total - 16) {
        return refuse(SkinLoadError::Damaged, "skin container name list runs past its end");
    }

    std::string lowered = SkinLowerCase(std::string(reinterpret_cast<const char*>(u + 16), nameBytes));
    std::vector<std::string> names;
    if (!SplitNames(reinterpret_cast<const uint8_t*>(lowered.data()), lowered.size(),
                    SkinMaxEntries, names)) {
        return refuse(SkinLoadError::Damaged, "skin container has more than " +
                                                  std::to_string(SkinMaxEntries) + " entries");
    }
    const size_t count = names.size();
    const size_t sizesAt = 16 + static_cast<size_t>(nameBytes);
    if (count * 4 > total - sizesAt) {
        return refuse(SkinLoadError::Damaged, "skin container size table runs past its end");
    }
    const size_t dataAt = sizesAt + count * 4;
    const uint64_t dataBytes = total - dataAt;

    std::vector<int32_t> sizes(count);
    std::vector<size_t> offsets(count);
    uint64_t offset = 0;
    for (size_t i = 0; i < count; ++i) {
        sizes[i] = ReadInt32(u + sizesAt + 4 * i);
        if (sizes[i] < 0) {
            return refuse(SkinLoadError::Damaged, "skin entry \"" + names[i] + "\" has a negative size");
        }
        offsets[i] = static_cast<size_t>(offset);
        offset += static_cast<uint64_t>(sizes[i]);
        if (offset > dataBytes) {
            return refuse(SkinLoadError::Damaged, "skin entry \"" + names[i] + "\" runs past the end of the data");
        }
    }

    names_ = std::move(names);
    sizes_ = std::move(sizes);
    offsets_ = std::move(offsets);
    data_.assign(u + dataAt, u + total);
    version_ = SkinContainerVersion;
    lastLoadError_ = SkinLoadError::None;
    lastError_.clear();
    return true;
}

void TSkinReader::CopyEntry(size_t index, std::vector<uint8_t>& dest) const {
    const uint8_t* start = data_.data() + offsets_[index];
    dest.assign(start, start + sizes_[index]);
}

bool TSkinReader::ExtractEntry(const std::string& name, std::vector<uint8_t>& dest) const {
    dest.clear();
    const std::string wanted = SkinLowerCase(name);
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == wanted) {
            CopyEntry(i, dest);
            return true;
        }
    }
    return false;
}

bool TSkinReader::ExtractEntryContaining(const std::string& text, std::vector<uint8_t>& dest,
                                         std::string& foundName) const {
    dest.clear();
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].find(text) != std::string::npos) {
            CopyEntry(i, dest);
            foundName = names_[i];
            return true;
        }
    }
    return false;
}
