// The LZHUF decompressor of skin files: an LZSS dictionary of 4,096 bytes whose literals and
// match lengths are coded with an adaptive Huffman tree and whose match positions use a
// fixed code.  Skin files are untrusted, so every way a stream can go wrong is refused with
// an ElzhException instead of being decoded into garbage.  The encoder lives in
// SkinContainerWriter.h; the container format in SkinContainer.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Largest unpacked container accepted (64 MiB).  Real skins are well under a megabyte; the
// cap keeps a forged length field from reserving absurd amounts of memory.
constexpr int32_t SkinMaxUnpackedSize = 64 * 1024 * 1024;

// Every refusal of a skin stream; the message says what was wrong.
class ElzhException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One decompression.  Holds the adaptive tree and the bit reader for the call only.
class TLZH {
public:
    // Decodes the LZHUF stream source[0, size) until TextSize bytes exist and returns them.
    // TextSize 0 or negative gives nothing.  Throws ElzhException when TextSize is above
    // SkinMaxUnpackedSize or more than the stream could possibly hold, when a match would
    // run past TextSize, when the stream ends before TextSize bytes were decoded, or when
    // memory for the output cannot be had.
    std::vector<uint8_t> Unpack(int32_t TextSize, const uint8_t* source, size_t size);
};

// Shorthand for TLZH().Unpack(textSize, source, size).
std::vector<uint8_t> LzhufDecode(const uint8_t* source, size_t size, int32_t textSize);
