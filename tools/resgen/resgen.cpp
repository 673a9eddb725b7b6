// Writes the bitmap and icon resources that the three programs' resource scripts include:
// the track grooves "TRACK" and "TRACKVERT", the system-menu glyph strip "LACQUERMENU",
// parlet's button glyphs and one program icon per program.  Every picture is drawn here,
// so the resources are reproducible from source.
//
// usage: resgen <output folder>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Pixels = std::vector<uint32_t>;  // 0xRRGGBB, rows top to bottom

void put16(std::vector<uint8_t>& b, uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
void put32(std::vector<uint8_t>& b, uint32_t v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

bool writeFile(const std::string& path, const std::vector<uint8_t>& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) { std::perror(path.c_str()); return false; }
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

// An indexed bottom-up BMP with the given palette (bits per pixel 1 or 4).
std::vector<uint8_t> indexedBmp(int w, int h, int bpp, const std::vector<uint32_t>& palette,
                                const std::vector<uint8_t>& index) {
    const int stride = ((w * bpp + 31) / 32) * 4;
    const uint32_t colours = 1u << bpp;
    const uint32_t offBits = 14 + 40 + colours * 4;
    std::vector<uint8_t> b;
    b.push_back('B'); b.push_back('M');
    put32(b, offBits + stride * h); put32(b, 0); put32(b, offBits);
    put32(b, 40); put32(b, w); put32(b, h); put16(b, 1); put16(b, bpp);
    put32(b, 0); put32(b, stride * h); put32(b, 2835); put32(b, 2835); put32(b, colours); put32(b, 0);
    for (uint32_t i = 0; i < colours; ++i) put32(b, i < palette.size() ? palette[i] : 0);
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < w; ++x) {
            uint8_t v = index[y * w + x];
            if (bpp == 4) row[x / 2] |= (x % 2 == 0) ? (v << 4) : v;
            else if (v) row[x / 8] |= 0x80 >> (x % 8);
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// Grooves for track bars, drawn in silver (S), grey (G) and white (W).
bool writeTracks(const std::string& dir) {
    const std::vector<uint32_t> pal = {0xC0C0C0, 0x808080, 0xFFFFFF};
    auto rows = [](const std::vector<std::string>& r) {
        std::vector<uint8_t> idx;
        for (const auto& line : r)
            for (char c : line) idx.push_back(c == 'S' ? 0 : c == 'G' ? 1 : 2);
        return idx;
    };
    std::vector<std::string> track = {
        "SSGGGGGGGGGGGGWW", "SSWWWWWWWWWWWWWW", "GSWWWWWWWWWWWWWW", "SSWWWWWWWWWWWWWW"};
    std::vector<std::string> vert = {"SSGS", "SSSS"};
    for (int i = 0; i < 12; ++i) vert.push_back("GWWW");
    vert.push_back("WWWW"); vert.push_back("WWWW");
    return writeFile(dir + "/track.bmp", indexedBmp(16, 4, 4, pal, rows(track))) &&
           writeFile(dir + "/trackvert.bmp", indexedBmp(4, 16, 4, pal, rows(vert)));
}

// Four 16 x 16 one-bit glyphs side by side: restore, maximise, minimise, close.  Black
// strokes on white; white is the image list's mask colour.
bool writeSystemMenuGlyphs(const std::string& dir) {
    const int w = 64, h = 16;
    std::vector<uint8_t> idx(w * h, 1);  // 1 = white
    auto dot = [&](int g, int x, int y) { if (x >= 0 && x < 16 && y >= 0 && y < 16) idx[y * w + g * 16 + x] = 0; };
    auto box = [&](int g, int l, int t, int r, int b, int thick) {
        for (int x = l; x <= r; ++x) { dot(g, x, b); for (int k = 0; k < thick; ++k) dot(g, x, t + k); }
        for (int y = t; y <= b; ++y) { dot(g, l, y); dot(g, r, y); }
    };
    box(0, 6, 3, 12, 8, 2);   // restore: back window
    box(0, 3, 6, 9, 12, 2);   // and the front one
    for (int x = 4; x <= 8; ++x) for (int y = 8; y <= 11; ++y) idx[y * w + x] = 1;
    box(0, 3, 6, 9, 12, 2);
    box(1, 3, 3, 12, 12, 2);  // maximise
    for (int x = 4; x <= 10; ++x) { dot(2, x, 11); dot(2, x, 12); }  // minimise
    for (int i = 0; i < 8; ++i) {  // close
        dot(3, 4 + i, 4 + i); dot(3, 5 + i, 4 + i);
        dot(3, 11 - i, 4 + i); dot(3, 12 - i, 4 + i);
    }
    return writeFile(dir + "/lacquermenu.bmp", indexedBmp(w, h, 1, {0x000000, 0xFFFFFF}, idx));
}

// The four 16 x 16 glyphs of parlet's buttons: start (a green triangle), stop (a red
// square), dictionary (a blue book) and information (an "i" in a blue disc).  Magenta is
// the background: a button takes the bottom-left pixel as its transparent colour.
bool writeButtonGlyphs(const std::string& dir) {
    enum : uint8_t { Key, Ink, Green, Red, Blue, White, Pages };
    const std::vector<uint32_t> pal = {0xFF00FF, 0x202020, 0x20A040, 0xD02020, 0x2050B0, 0xFFFFFF, 0xE8E0C8};
    const int n = 16;
    auto glyph = [&](const std::function<uint8_t(int, int)>& paint) {
        std::vector<uint8_t> idx(n * n);
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) idx[y * n + x] = paint(x, y);
        return indexedBmp(n, n, 4, pal, idx);
    };
    auto start = glyph([](int x, int y) -> uint8_t {
        // Rows 2..13; the tip reaches column 12 in the middle rows.
        if (y < 2 || y > 13 || x < 4) return Key;
        const int reach = 4 + (y <= 7 ? (y - 2) * 8 / 5 : (13 - y) * 8 / 5);
        if (x > reach) return Key;
        return (x == 4 || x == reach || y == 2 || y == 13) ? Ink : Green;
    });
    auto stop = glyph([](int x, int y) -> uint8_t {
        if (x < 3 || x > 12 || y < 3 || y > 12) return Key;
        return (x == 3 || x == 12 || y == 3 || y == 12) ? Ink : Red;
    });
    auto dict = glyph([](int x, int y) -> uint8_t {
        if (x < 3 || x > 12 || y < 2 || y > 13) return Key;
        if (x == 3 || y == 2 || y == 13 || x == 12) return Ink;
        if (x == 4) return Ink;                                // the spine
        if (x == 11) return Pages;                             // page edges
        if (y == 5 && x >= 6 && x <= 9) return White;          // the title label
        if (y == 6 && x >= 6 && x <= 9) return White;
        return Blue;
    });
    auto info = glyph([](int x, int y) -> uint8_t {
        const int dx = 2 * x - 15, dy = 2 * y - 15;             // twice the distance from the centre
        const int d = dx * dx + dy * dy;
        if (d > 14 * 14) return Key;
        if (d > 12 * 12) return Ink;
        if ((x == 7 || x == 8) && (y == 4 || (y >= 6 && y <= 11))) return White;
        if (y == 11 && x >= 6 && x <= 9) return White;
        return Blue;
    });
    return writeFile(dir + "/bstart.bmp", start) && writeFile(dir + "/bstop.bmp", stop) &&
           writeFile(dir + "/bdict.bmp", dict) && writeFile(dir + "/binfo.bmp", info);
}

// A 32 x 32 32-bit icon: a rounded tile in the program's colour holding a white
// microphone, so the three programs can be told apart in the task bar.
std::vector<uint8_t> icon(uint32_t tile) {
    const int n = 32;
    Pixels px(n * n, 0);
    std::vector<uint8_t> alpha(n * n, 0);
    auto set = [&](int x, int y, uint32_t c) { px[y * n + x] = c; alpha[y * n + x] = 255; };
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 31; ++x) {
            int dx = x < 6 ? 6 - x : x > 25 ? x - 25 : 0, dy = y < 6 ? 6 - y : y > 25 ? y - 25 : 0;
            if (dx * dx + dy * dy <= 25) set(x, y, tile);
        }
    for (int y = 6; y <= 18; ++y)  // capsule
        for (int x = 12; x <= 19; ++x) {
            int dy = y < 9 ? 9 - y : y > 15 ? y - 15 : 0, dx = x < 15 ? 15 - x : x > 16 ? x - 16 : 0;
            if (dx * dx + dy * dy <= 12) set(x, y, 0xFFFFFF);
        }
    for (int x = 9; x <= 22; ++x) { int y = 16 + (x - 15) * (x - 16) / 14; set(x, y + 2, 0xFFFFFF); }
    for (int y = 21; y <= 24; ++y) { set(15, y, 0xFFFFFF); set(16, y, 0xFFFFFF); }
    for (int x = 11; x <= 20; ++x) set(x, 25, 0xFFFFFF);

    std::vector<uint8_t> dib;
    put32(dib, 40); put32(dib, n); put32(dib, n * 2); put16(dib, 1); put16(dib, 32);
    put32(dib, 0); put32(dib, n * n * 4 + n * 4); put32(dib, 0); put32(dib, 0); put32(dib, 0); put32(dib, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            uint32_t c = px[y * n + x];
            dib.push_back(c & 0xFF); dib.push_back((c >> 8) & 0xFF); dib.push_back((c >> 16) & 0xFF);
            dib.push_back(alpha[y * n + x]);
        }
    for (int y = n - 1; y >= 0; --y) {  // AND mask, 4 bytes per row
        uint32_t bits = 0;
        for (int x = 0; x < n; ++x) if (!alpha[y * n + x]) bits |= 0x80000000u >> x;
        dib.push_back(bits >> 24); dib.push_back((bits >> 16) & 0xFF); dib.push_back((bits >> 8) & 0xFF); dib.push_back(bits & 0xFF);
    }
    std::vector<uint8_t> ico;
    put16(ico, 0); put16(ico, 1); put16(ico, 1);
    ico.push_back(n); ico.push_back(n); ico.push_back(0); ico.push_back(0);
    put16(ico, 1); put16(ico, 32); put32(ico, dib.size()); put32(ico, 6 + 16);
    ico.insert(ico.end(), dib.begin(), dib.end());
    return ico;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) { std::fprintf(stderr, "usage: resgen <output folder>\n"); return 2; }
    const std::string dir = argv[1];
    bool ok = writeTracks(dir) && writeSystemMenuGlyphs(dir) && writeButtonGlyphs(dir) &&
              writeFile(dir + "/quillet.ico", icon(0x2E6DB4)) &&
              writeFile(dir + "/scrivet.ico", icon(0x2E8B57)) &&
              writeFile(dir + "/parlet.ico", icon(0xB4532E));
    return ok ? 0 : 1;
}
