// Writes the seed corpora of the skin fuzz targets, all made here with our own writer:
//   <out>/container/  skin files (small skins, an empty one, duplicates, another version)
//                     and the same containers unpacked
//   <out>/definition/ definition texts (realistic sections, odd line breaks, colours)
// usage: make_skin_fuzz_seeds <output folder>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "SkinContainerWriter.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A small 24-bit bottom-up bitmap: a bevelled cell strip with a magenta corner.
std::vector<uint8_t> Bitmap(int w, int h, uint32_t face) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> b = {'B', 'M'};
    Put32(b, 54 + stride * h);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h);
    b.push_back(1); b.push_back(0); b.push_back(24); b.push_back(0);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            uint32_t c = face;
            if (x == 0 || y == 0) c = 0xFFFFFF;
            if (x == w - 1 || y == h - 1) c = 0x404040;
            if (x < 2 && y < 2) c = 0xFF00FF;
            b.push_back(c & 0xFF); b.push_back((c >> 8) & 0xFF); b.push_back((c >> 16) & 0xFF);
        }
        for (int p = w * 3; p < stride; ++p) b.push_back(0);
    }
    return b;
}

const char* const kDefinition =
    "; sample skin\r\n"
    "[SkinName]\r\nSkinName=Seed\r\n"
    "[Colours]\r\nButtonFace=212 208 200\r\nHilight=10,36,106\r\nMenuText=0 0\r\n"
    "[Buttons]\r\nImage=buttons.bmp\r\nFrame=5\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\n"
    "BottomHeight=3\r\nTrans=1\r\nTile=0x1\r\nNormalColour=$FF\r\nNormalColour2=255 255 255\r\n"
    "[Title]\r\nImage=C:\\skins\\title.bmp\r\nTextShift=8\r\nFontHeight=-12\r\n"
    "[Left]\r\nImage=left.bmp\r\n[left]\r\nImage=ignored.bmp\r\n";

// A NUL ends the text: the section after it is never read.
const char kNulText[] = "[s]\na=0X7fffffff\nb=-2147483648\nc=99999999999 1 2\0[hidden]\nx=1\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    for (const std::string& dir : {out, out + "/container", out + "/definition"}) {
        if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
            std::perror(dir.c_str());
            return 1;
        }
    }
    bool ok = true;
    try {
        const std::vector<std::vector<SkinFileEntry>> skins = {
            {{"skin.ini", Bytes(kDefinition)},
             {"buttons.bmp", Bitmap(20, 6, 0xD4D0C8)},
             {"title.bmp", Bitmap(12, 8, 0x0A246A)},
             {"left.bmp", Bitmap(4, 9, 0x808080)}},
            {},
            {{"only.ini", Bytes("[a]\nb=1\n")}},
            {{"Dup.bmp", Bytes("BM1")}, {"dup.BMP", Bytes("BM22")}, {"empty.bmp", {}}, {"z.ini", {}}},
        };
        int n = 0;
        for (const auto& skin : skins) {
            ok &= WriteFile(out + "/container/skin" + std::to_string(n), WriteSkinContainer(skin));
            ok &= WriteFile(out + "/container/unpacked" + std::to_string(n++), BuildSkinContainer(skin));
        }
        // Not a container of this version: plain text packed the same way.
        std::vector<uint8_t> older;
        const std::vector<uint8_t> text = Bytes("an older skin, or not a skin at all");
        Put32(older, static_cast<uint32_t>(text.size()));
        const std::vector<uint8_t> packed = LzhufEncode(text.data(), text.size());
        older.insert(older.end(), packed.begin(), packed.end());
        ok &= WriteFile(out + "/container/older", older);

        const std::vector<std::string> texts = {
            kDefinition,
            "[s]\ra=1\nb=2\n\rc=3\r\r\nd=  4 5 6 \n",
            std::string(kNulText, sizeof kNulText - 1),
            "[ spaced ]\n=orphan\nnokey\n[]\n;[comment]\n[S]\nA=\na=later\n",
        };
        n = 0;
        for (const std::string& t : texts) ok &= WriteFile(out + "/definition/ini" + std::to_string(n++), Bytes(t));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return ok ? 0 : 1;
}
