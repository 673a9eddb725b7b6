// Skin decoding throughput: MB/s of unpacked bytes for our LZHUF decoder, side by side with
// the plain one-bit-at-a-time reference decoder, zlib's inflate of the same unpacked bytes
// (compressed by zlib at its default level) and memcpy of them.
//
// usage: skin_decode_bench [skin file]
// Without a file it measures a synthetic skin of about 700 KB unpacked: 24-bit bitmaps of
// the kinds a skin carries (gradient captions and backgrounds, bevelled button strips and
// toolbars, frame edges, a small dithered texture, anti-aliased glyphs) and a definition
// text, packed by our writer.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Lzhuf.h"
#include "LzhufReference.h"
#include "SkinContainerWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t g_seed = 88172645463325252ull;
uint32_t Rand() {
    g_seed ^= g_seed << 13;
    g_seed ^= g_seed >> 7;
    g_seed ^= g_seed << 17;
    return static_cast<uint32_t>(g_seed);
}

struct Image {
    int w, h;
    std::vector<uint32_t> px;  // 0xRRGGBB, top row first
    Image(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, 0xFF00FF) {}
    uint32_t& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
};

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    auto ch = [&](int s) {
        const double v = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
        return static_cast<uint32_t>(std::lround(v)) << s;
    };
    return ch(16) | ch(8) | ch(0);
}

std::vector<uint8_t> Bmp(const Image& img) {
    const int stride = (img.w * 3 + 3) & ~3;
    std::vector<uint8_t> b = {'B', 'M'};
    Put32(b, 54 + stride * img.h);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, img.w);
    Put32(b, img.h);
    b.push_back(1); b.push_back(0); b.push_back(24); b.push_back(0);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    for (int y = img.h - 1; y >= 0; --y) {
        for (int x = 0; x < img.w; ++x) {
            const uint32_t c = img.px[static_cast<size_t>(y) * img.w + x];
            b.push_back(c & 0xFF); b.push_back((c >> 8) & 0xFF); b.push_back((c >> 16) & 0xFF);
        }
        for (int p = img.w * 3; p < stride; ++p) b.push_back(0);
    }
    return b;
}

// Caption: vertical gradient with a highlight line, per cell a different tint.
Image Caption(int cellW, int h, int cells) {
    Image img(cellW * cells, h);
    for (int c = 0; c < cells; ++c)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < cellW; ++x) {
                uint32_t col = Mix(0x0A246A + c * 0x101010, 0xA6CAF0, double(y) / h);
                if (y == 1) col = 0xE0E8F8;
                if (x < 3 && y < 3) col = 0xFF00FF;
                img.at(c * cellW + x, y) = col;
            }
    return img;
}

// Button strip: bevel, a face with a soft horizontal gradient, per-state colours.
Image Buttons(int cellW, int h, int cells) {
    Image img(cellW * cells, h);
    for (int c = 0; c < cells; ++c)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < cellW; ++x) {
                uint32_t col = Mix(0xF4F2EC - c * 0x080808, 0xC8C4BC, double(x) / cellW * 0.5 + double(y) / h * 0.5);
                if (x == 0 || y == 0) col = 0xFFFFFF;
                if (x == cellW - 1 || y == h - 1) col = 0x404040;
                if ((x == 0 || x == cellW - 1) && (y == 0 || y == h - 1)) col = 0xFF00FF;
                img.at(c * cellW + x, y) = col;
            }
    return img;
}

// Dithered texture: a base colour with small random noise per pixel.
Image Texture(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int n = static_cast<int>(Rand() % 7) - 3;
            const int base = 200 + (((x / 8) + (y / 8)) % 2) * 6;
            const int v = base + n;
            img.at(x, y) = static_cast<uint32_t>((v << 16) | ((v - 4) << 8) | (v - 12));
        }
    return img;
}

// Glyph strip: anti-aliased rings on magenta.
Image Glyphs(int cell, int cells) {
    Image img(cell * cells, cell);
    for (int c = 0; c < cells; ++c)
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) {
                const double dx = x - cell / 2.0 + 0.5, dy = y - cell / 2.0 + 0.5;
                const double d = std::fabs(std::sqrt(dx * dx + dy * dy) - cell / 3.0 + c * 0.3);
                if (d < 1.5) img.at(c * cell + x, y) = Mix(0x202020 + c * 0x200000, 0xFF00FF, d / 1.5);
            }
    return img;
}

// Frame edge: a few vertical bands.
Image Edge(int w, int h) {
    Image img(w, h);
    static const uint32_t bands[] = {0x404040, 0x808080, 0xD4D0C8, 0xFFFFFF, 0xD4D0C8, 0x0A246A};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = Mix(bands[x % 6], 0x0A246A, double(y) / (h * 4));
    return img;
}

std::vector<uint8_t> SyntheticSkin(size_t& unpacked) {
    std::string ini = "[SkinName]\r\nSkinName=Bench\r\n[Colours]\r\nButtonFace=212 208 200\r\n";
    std::vector<SkinFileEntry> files;
    auto add = [&](const std::string& name, const Image& img) {
        files.push_back({name, Bmp(img)});
        ini += "[" + name.substr(0, name.size() - 4) + "]\r\nImage=" + name + "\r\nFrame=4\r\nTrans=1\r\n";
    };
    add("title.bmp", Caption(420, 30, 2));
    add("buttons.bmp", Buttons(75, 23, 5));
    add("checks.bmp", Buttons(16, 16, 8));
    add("texture.bmp", Texture(96, 96));
    add("glyphs.bmp", Glyphs(18, 24));
    add("left.bmp", Edge(6, 600));
    add("right.bmp", Edge(6, 600));
    add("bottom.bmp", Caption(640, 8, 1));
    add("scroll.bmp", Buttons(17, 17, 12));
    add("tabs.bmp", Buttons(60, 22, 4));
    add("menu.bmp", Caption(300, 20, 3));
    add("track.bmp", Buttons(220, 8, 2));
    add("caption2.bmp", Caption(420, 26, 2));
    add("background.bmp", Caption(400, 120, 1));
    add("toolbar.bmp", Buttons(640, 30, 2));
    add("statusbar.bmp", Caption(640, 22, 2));
    files.insert(files.begin(), {"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
    unpacked = BuildSkinContainer(files).size();
    return WriteSkinContainer(files);
}

// Best time of several runs, each repeated until it lasts at least 20 ms.
template <typename F>
double BestSeconds(F&& run) {
    int reps = 1;
    for (;;) {
        const auto t0 = Clock::now();
        for (int i = 0; i < reps; ++i) run();
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        if (s >= 0.02) break;
        reps *= 2;
    }
    double best = 1e9;
    for (int round = 0; round < 15; ++round) {
        const auto t0 = Clock::now();
        for (int i = 0; i < reps; ++i) run();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count() / reps);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint8_t> file;
    size_t expected = 0;
    if (argc > 1) {
        std::ifstream in(argv[1], std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 1;
        }
    } else {
        file = SyntheticSkin(expected);
    }
    if (file.size() < 4) {
        std::fprintf(stderr, "not a skin file\n");
        return 1;
    }
    const int32_t length = static_cast<int32_t>(file[0] | (file[1] << 8) | (file[2] << 16) | (uint32_t{file[3]} << 24));
    const uint8_t* stream = file.data() + 4;
    const size_t streamSize = file.size() - 4;

    std::vector<uint8_t> unpacked;
    try {
        unpacked = LzhufDecode(stream, streamSize, length);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "refused: %s\n", e.what());
        return 1;
    }
    if (expected && unpacked.size() != expected) {
        std::fprintf(stderr, "unpacked %zu bytes, expected %zu\n", unpacked.size(), expected);
        return 1;
    }
    reference::Lzhuf ref;
    if (ref.Unpack(length, stream, streamSize).out != unpacked) {
        std::fprintf(stderr, "reference decoder disagrees\n");
        return 1;
    }

    uLongf zlen = compressBound(unpacked.size());
    std::vector<uint8_t> zipped(zlen);
    if (compress2(zipped.data(), &zlen, unpacked.data(), unpacked.size(), Z_DEFAULT_COMPRESSION) != Z_OK) return 1;
    zipped.resize(zlen);
    std::vector<uint8_t> inflated(unpacked.size());

    const double mb = unpacked.size() / 1e6;
    const double tOurs = BestSeconds([&] {
        std::vector<uint8_t> out = LzhufDecode(stream, streamSize, length);
        asm volatile("" : : "r"(out.data()) : "memory");
    });
    const double tRef = BestSeconds([&] {
        reference::Result r = ref.Unpack(length, stream, streamSize);
        asm volatile("" : : "r"(r.out.data()) : "memory");
    });
    const double tZlib = BestSeconds([&] {
        uLongf n = inflated.size();
        uncompress(inflated.data(), &n, zipped.data(), zipped.size());
        asm volatile("" : : "r"(inflated.data()) : "memory");
    });
    std::vector<uint8_t> copy(unpacked.size());
    const double tCopy = BestSeconds([&] {
        std::memcpy(copy.data(), unpacked.data(), unpacked.size());
        asm volatile("" : : "r"(copy.data()) : "memory");
    });
    if (inflated != unpacked) {
        std::fprintf(stderr, "zlib round trip failed\n");
        return 1;
    }

    std::printf("skin: %s, %zu bytes unpacked; LZHUF %zu bytes (%.1f%%), zlib %zu bytes (%.1f%%)\n",
                argc > 1 ? argv[1] : "synthetic", unpacked.size(), streamSize, 100.0 * streamSize / unpacked.size(),
                zipped.size(), 100.0 * zipped.size() / unpacked.size());
    std::printf("%-26s %10.1f MB/s\n", "LZHUF decoder", mb / tOurs);
    std::printf("%-26s %10.1f MB/s\n", "LZHUF plain reference", mb / tRef);
    std::printf("%-26s %10.1f MB/s\n", "zlib inflate", mb / tZlib);
    std::printf("%-26s %10.1f MB/s\n", "memcpy", mb / tCopy);
    std::printf("LZHUF decoder takes %.2fx the time of zlib inflate and %.2fx that of the plain reference\n",
                tOurs / tZlib, tOurs / tRef);
    return 0;
}
