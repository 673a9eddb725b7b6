// Writes the default skin, drawn from source: either as a folder of the definition text
// and its BMP files, for a designer to look at or to pack with skinpack, or packed
// straight into a skin file.
//
// usage: skingen <output folder>
//        skingen --pack <skin file>
//        skingen --stream <file>     (length, then the packed skin: a form's stored value)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "SkinContainerWriter.h"
#include "SkinDesign.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& data) {
    FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) {
        std::perror(path.string().c_str());
        return false;
    }
    const bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) std::fprintf(stderr, "skingen: cannot write %s\n", path.string().c_str());
    return written && closed;
}

int Usage() {
    std::fprintf(stderr, "usage: skingen <output folder>\n       skingen --pack <skin file>\n"
                         "       skingen --stream <file>   (the packed skin behind its length, as a form stores it)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && (std::string(argv[1]) == "--pack" || std::string(argv[1]) == "--stream")) {
            std::vector<uint8_t> skin = WriteSkinContainer(skingen::DefaultSkinFiles());
            if (std::string(argv[1]) == "--stream") {
                // A form stores its skin as a signed 32-bit little-endian length, then the file.
                const auto n = static_cast<uint32_t>(skin.size());
                skin.insert(skin.begin(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                           static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)});
            }
            const std::filesystem::path out(argv[2]);
            if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path());
            return WriteFile(out, skin) ? 0 : 1;
        }
        if (argc != 2 || std::string(argv[1]).rfind("--", 0) == 0) return Usage();
        const std::filesystem::path dir(argv[1]);
        std::filesystem::create_directories(dir);
        for (const SkinFileEntry& f : skingen::DefaultSkinFiles())
            if (!WriteFile(dir / f.name, f.data)) return 1;
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
}
