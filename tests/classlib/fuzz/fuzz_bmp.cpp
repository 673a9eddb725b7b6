// libFuzzer target: the BMP decoder on arbitrary bytes, both as a file and as a packed
// DIB.  Whatever it accepts must be self-consistent; everything else must be refused
// without reading outside the input (the address sanitizer watches).
#include <cstdlib>
#include <string>

#include "BmpDecode.h"

namespace {

void check(const BmpImage& img) {
    const size_t count = static_cast<size_t>(img.Width) * static_cast<size_t>(img.Height);
    if (img.Width <= 0 || img.Height <= 0 || img.Pixels.size() != count) std::abort();
    if (img.BitCount <= 8) {
        if (img.Indices.size() != count || img.Palette.size() != (size_t{1} << img.BitCount)) std::abort();
        for (uint8_t i : img.Indices)
            if (i >= img.Palette.size()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A smaller cap than the loader's keeps each input fast; the checks are the same.
    BmpLimits limits;
    limits.MaxPixels = uint64_t{1} << 22;
    BmpImage img;
    std::string error;
    if (DecodeBmp(data, size, img, error, limits)) check(img);
    else if (error.empty()) std::abort();
    if (DecodeDib(data, size, img, error, limits)) check(img);
    return 0;
}
