// Packs a skin folder into a skin file.
//
// usage: skinpack <folder> <output file>
//
// The folder holds exactly one definition text (the file whose name ends in ".ini", any
// letter case) and the BMP files it names (names ending in ".bmp", any letter case).  The
// definition text is stored first, since the engine takes the first entry whose name
// contains ".ini"; the bitmaps follow in byte order of their names.  Entries keep their
// plain file names (the engine looks names up without regard to ASCII letter case, so two
// files differing only in case are refused).  Other files and sub-folders are skipped with
// a note.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "SkinContainer.h"
#include "SkinContainerWriter.h"

namespace fs = std::filesystem;

namespace {

bool EndsWithNoCase(const std::string& name, const std::string& tail) {
    return name.size() >= tail.size() &&
           SkinLowerCase(name.substr(name.size() - tail.size())) == tail;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("cannot read " + path.string());
    return data;
}

std::vector<SkinFileEntry> CollectSkinFolder(const fs::path& folder) {
    std::vector<std::string> definitions, bitmaps;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file()) {
            std::fprintf(stderr, "skinpack: skipping %s (not a file)\n", name.c_str());
        } else if (EndsWithNoCase(name, ".ini")) {
            definitions.push_back(name);
        } else if (EndsWithNoCase(name, ".bmp")) {
            bitmaps.push_back(name);
        } else {
            std::fprintf(stderr, "skinpack: skipping %s (neither .ini nor .bmp)\n", name.c_str());
        }
    }
    if (definitions.size() != 1) {
        throw std::runtime_error("the folder must hold exactly one .ini definition text, not " +
                                 std::to_string(definitions.size()));
    }
    std::sort(bitmaps.begin(), bitmaps.end());
    std::vector<std::string> names = definitions;
    names.insert(names.end(), bitmaps.begin(), bitmaps.end());

    std::vector<std::string> lowered;
    std::vector<SkinFileEntry> files;
    for (const std::string& name : names) {
        const std::string low = SkinLowerCase(name);
        if (std::find(lowered.begin(), lowered.end(), low) != lowered.end()) {
            throw std::runtime_error("two files are named " + low + " apart from letter case");
        }
        lowered.push_back(low);
        files.push_back({name, ReadFile(folder / name)});
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder> <output file>\n", argv[0]);
        return 2;
    }
    const fs::path output = argv[2];
    try {
        const std::vector<SkinFileEntry> files = CollectSkinFolder(argv[1]);
        const std::vector<uint8_t> skin = WriteSkinContainer(files);
        std::ofstream out(output, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("cannot write " + output.string());
        out.write(reinterpret_cast<const char*>(skin.data()), static_cast<std::streamsize>(skin.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(output, ignored);
            throw std::runtime_error("cannot write " + output.string());
        }
        std::printf("skinpack: %zu files, %zu bytes -> %s\n", files.size(), skin.size(),
                    output.string().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
        return 1;
    }
    return 0;
}
