// Shared by the LZHUF decoder and encoder: the constants, the adaptive Huffman tree and the
// fixed position code.  Both sides must update the tree identically after every symbol, so
// there is exactly one copy of that logic, here.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace lzhuf {

constexpr int N = 4096;          // dictionary size
constexpr int F = 60;            // longest match
constexpr int THRESHOLD = 2;     // matches are at least THRESHOLD + 1 bytes
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols: 256 literals, 58 lengths
constexpr int T = N_CHAR * 2 - 1;            // 627 tree nodes
constexpr int R = T - 1;                     // root position
constexpr unsigned MAX_FREQ = 0x8000;        // root frequency that triggers a rebuild

// Decoder view of the position code: the first 8 bits of a coded position select the upper
// 6 bits of the position (DCode) and tell how many bits the code used in all (DLen + 6).
struct PositionTables {
    std::array<uint8_t, 256> DCode{};
    std::array<uint8_t, 256> DLen{};
    // Encoder view: the code of each upper 6 bits, left-aligned in 8 bits, and its length.
    std::array<uint8_t, 64> PCode{};
    std::array<uint8_t, 64> PLen{};
};

// Codes of length L take 2^(8-L) table entries each: 1 code of 3 bits, 3 of 4, 8 of 5,
// 12 of 6, 24 of 7 and 16 of 8, in that order.
constexpr PositionTables MakePositionTables() {
    PositionTables t{};
    const int codesPerLen[9] = {0, 0, 0, 1, 3, 8, 12, 24, 16};
    int i = 0, code = 0;
    for (int len = 3; len <= 8; ++len) {
        for (int k = 0; k < codesPerLen[len]; ++k, ++code) {
            t.PCode[code] = static_cast<uint8_t>(i);
            t.PLen[code] = static_cast<uint8_t>(len);
            for (int e = 0; e < (1 << (8 - len)); ++e, ++i) {
                t.DCode[i] = static_cast<uint8_t>(code);
                t.DLen[i] = static_cast<uint8_t>(len);
            }
        }
    }
    return t;
}

inline constexpr PositionTables kPositionTables = MakePositionTables();

// The adaptive Huffman tree.  Nodes are kept in order of frequency (the sibling property);
// son[] of an inner node is the even position of its first child, son[] of a leaf is its
// symbol + T; prnt[] maps positions (and leaves, at symbol + T) to their parent.
struct Tree {
    uint16_t freq[T + 1];
    uint16_t prnt[T + N_CHAR];
    uint16_t son[T];

    void StartHuff() {
        for (int i = 0; i < N_CHAR; ++i) {
            freq[i] = 1;
            son[i] = static_cast<uint16_t>(i + T);
            prnt[i + T] = static_cast<uint16_t>(i);
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
            freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
            son[j] = static_cast<uint16_t>(i);
            prnt[i] = prnt[i + 1] = static_cast<uint16_t>(j);
        }
        freq[T] = 0xFFFF;  // sentinel: stops the search in Update
        prnt[R] = 0;
    }

    // Halves every leaf's frequency and rebuilds the tree from the sorted leaves.
    void Reconst() {
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (son[i] >= T) {
                freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
                son[j] = son[i];
                ++j;
            }
        }
        for (int i = 0, j2 = N_CHAR; j2 < T; i += 2, ++j2) {
            const unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
            freq[j2] = static_cast<uint16_t>(f);
            int k = j2 - 1;
            while (f < freq[k]) --k;
            ++k;
            const size_t moved = static_cast<size_t>(j2 - k) * sizeof(uint16_t);
            std::memmove(&freq[k + 1], &freq[k], moved);
            freq[k] = static_cast<uint16_t>(f);
            std::memmove(&son[k + 1], &son[k], moved);
            son[k] = static_cast<uint16_t>(i);
        }
        for (int i = 0; i < T; ++i) {
            const unsigned k = son[i];
            if (k >= static_cast<unsigned>(T)) {
                prnt[k] = static_cast<uint16_t>(i);
            } else {
                prnt[k] = prnt[k + 1] = static_cast<uint16_t>(i);
            }
        }
    }

    // Counts one more occurrence of symbol c, keeping the nodes in frequency order.
    inline void Update(unsigned c) {
        if (freq[R] == MAX_FREQ) Reconst();
        unsigned node = prnt[c + T];
        do {
            const unsigned k = ++freq[node];
            unsigned l = node + 1;
            if (k > freq[l]) {
                while (k > freq[++l]) {}
                --l;
                // Swap node and l: frequencies, subtrees and the children's parents.
                freq[node] = freq[l];
                freq[l] = static_cast<uint16_t>(k);
                const unsigned i = son[node];
                prnt[i] = static_cast<uint16_t>(l);
                if (i < static_cast<unsigned>(T)) prnt[i + 1] = static_cast<uint16_t>(l);
                const unsigned j = son[l];
                son[l] = static_cast<uint16_t>(i);
                prnt[j] = static_cast<uint16_t>(node);
                if (j < static_cast<unsigned>(T)) prnt[j + 1] = static_cast<uint16_t>(node);
                son[node] = static_cast<uint16_t>(j);
                node = l;
            }
        } while ((node = prnt[node]) != 0);
    }
};

}  // namespace lzhuf
