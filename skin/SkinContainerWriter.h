// Writing skin files: the container writer and the LZHUF encoder that packs it.  The skin
// engine itself only reads skins; the packer and generator tools and the tests use this to
// make skins that the reader (SkinContainer.h) accepts.  Pure logic, no platform calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One named entry of a skin container: a plain file name ("skin.ini", "title.bmp") and its
// bytes.
struct SkinFileEntry {
    std::string name;
    std::vector<uint8_t> data;
};

// Builds a complete skin file: the 4-byte little-endian unpacked length followed by the
// LZHUF stream of the container (version 20000, name list, sizes, data), entries in the
// order given.  The reader finds the definition text as the first name containing ".ini",
// so callers put it first.  Throws std::runtime_error when the entries cannot be stored:
// an empty name or one containing CR, LF or NUL, more than 1001 entries, or a container
// larger than the reader accepts (SkinMaxUnpackedSize, 64 MiB).
std::vector<uint8_t> WriteSkinContainer(const std::vector<SkinFileEntry>& files);

// The unpacked container alone (no length, not compressed); for tests and tools.
std::vector<uint8_t> BuildSkinContainer(const std::vector<SkinFileEntry>& files);

// Compresses bytes into an LZHUF bit stream that LzhufDecode (Lzhuf.h) reads back given
// the same length.  The stream alone: no length prefix.
std::vector<uint8_t> LzhufEncode(const uint8_t* data, size_t size);
