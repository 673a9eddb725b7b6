// Reading skin files: the unpacked length, the LZHUF stream (Lzhuf.h) and, inside it, the
// container of named entries (the definition text and its bitmaps).  TSkinReader indexes
// the container and hands out entries by name; it trusts nothing in the file and refuses
// any container whose index does not fit its data.  Showing the older-version message is
// left to the caller, which owns the user interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The only container version this engine reads.
constexpr int32_t SkinContainerVersion = 20000;
// A container holds at most this many entries.
constexpr int32_t SkinMaxEntries = 1001;

// Shown by the caller when LoadFromStream refuses a container of another version.
extern const char* const SkinOlderVersionMessage;

// Why the last LoadFromStream failed.
enum class SkinLoadError {
    None,
    OlderVersion,  // not a version-20000 container (an empty one, or a length <= 0, included)
    Damaged,       // the stream or the index is unusable; LastError() says how
};

class TSkinReader {
public:
    // Unpacks a whole skin file (4-byte unpacked length, then the LZHUF stream).  Throws
    // ElzhException when the file is refused (see TLZH::Unpack); a file shorter than its
    // length field is refused the same way.  A length of 0 or below gives an empty
    // container (refused by the version check, not as damaged).
    static std::vector<uint8_t> Decompress(const uint8_t* source, size_t size);

    // Unpacks and indexes a skin file.  On failure returns false and keeps the previous
    // index and data; LastLoadError() and LastError() tell why.
    bool LoadFromStream(const uint8_t* source, size_t size);
    bool LoadFromStream(const std::vector<uint8_t>& source) {
        return LoadFromStream(source.data(), source.size());
    }
    // Indexes an already unpacked container; the same checks and outcome as LoadFromStream.
    bool LoadFromContainer(const uint8_t* container, size_t size);
    SkinLoadError LastLoadError() const { return lastLoadError_; }
    const std::string& LastError() const { return lastError_; }

    // Copies the first entry whose name equals `name` (ASCII letters compared without case)
    // into dest and returns whether there was one.  Not found: dest is empty.  An entry of
    // size 0 leaves dest empty too, so callers treat both alike.
    bool ExtractEntry(const std::string& name, std::vector<uint8_t>& dest) const;

    // Copies the first entry whose (lower-case) name contains `text` into dest and stores
    // its name into foundName.  Not found: dest is empty, foundName unchanged, result false.
    bool ExtractEntryContaining(const std::string& text, std::vector<uint8_t>& dest,
                                std::string& foundName) const;

    // The index: entry names (lower case) and sizes, in container order.
    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<int32_t>& Sizes() const { return sizes_; }
    int32_t Version() const { return version_; }

private:
    void CopyEntry(size_t index, std::vector<uint8_t>& dest) const;

    std::vector<std::string> names_;
    std::vector<int32_t> sizes_;
    std::vector<size_t> offsets_;  // start of each entry in data_
    std::vector<uint8_t> data_;    // the entry data, concatenated
    int32_t version_ = 0;
    SkinLoadError lastLoadError_ = SkinLoadError::None;
    std::string lastError_;
};

// ASCII-only lower-casing used for entry names (other bytes, GBK included, are kept).
std::string SkinLowerCase(std::string text);
