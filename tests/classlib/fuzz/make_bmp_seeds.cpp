// Writes the seed corpus of the BMP fuzz target: the test samples of every depth and
// layout the decoder reads.
// usage: make_bmp_seeds <folder>
#include <cstdio>
#include <string>
#include <vector>

#include "BmpSamples.h"

using namespace bmpsamples;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bmp_seeds <folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds;
    for (int bpp : {1, 4, 8, 24, 32}) {
        seeds.emplace_back("bottom_up_" + std::to_string(bpp), SampleBmp(bpp, false, 7, 3));
        seeds.emplace_back("top_down_" + std::to_string(bpp), SampleBmp(bpp, true, 7, 3));
    }
    seeds.emplace_back("rle8", BuildBmp(Rle8Spec()));
    seeds.emplace_back("rle4", BuildBmp(Rle4Spec()));
    seeds.emplace_back("bitfields565", BuildBmp(Bitfields565Spec()));
    BmpSpec core = SampleSpec(8);
    core.headerSize = 12;
    seeds.emplace_back("core_header", BuildBmp(core));
    BmpSpec v5;
    v5.headerSize = 124;
    v5.width = 2;
    v5.height = 2;
    v5.bitCount = 32;
    v5.compression = 3;
    v5.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    v5.pixels = std::vector<uint8_t>(16, 0x5A);
    seeds.emplace_back("v5_bitfields", BuildBmp(v5));
    BmpSpec dib = SampleSpec(4);
    dib.fileHeader = false;
    seeds.emplace_back("packed_dib", BuildBmp(dib));
    seeds.emplace_back("glyph_strip", GlyphStripBmp());
    for (const auto& [name, bytes] : seeds) {
        const std::string path = dir + "/" + name + ".bmp";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
