// The LZHUF encoder: greedy longest matches found through hash chains over the last 4,096
// bytes, literals and lengths coded with the same adaptive tree the decoder keeps, positions
// with the fixed code.  Matches never reach before the first input byte (the decoder's
// initial blanks are not used) and never run past the end of the input.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "Lzhuf_impl.h"
#include "SkinContainerWriter.h"

namespace {

using namespace lzhuf;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    // Appends the low n bits of v (n at most 32), most significant first.
    void Put(uint32_t v, unsigned n) {
        acc_ = (acc_ << n) | (v & ((uint64_t{1} << n) - 1));
        count_ += n;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<uint8_t>(acc_ >> count_));
        }
    }

    // Pads the last byte with zero bits.
    void Flush() {
        if (count_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
        count_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t acc_ = 0;
    unsigned count_ = 0;
};

class Encoder {
public:
    explicit Encoder(std::vector<uint8_t>& out) : bits_(out) { tree_.StartHuff(); }

    void EncodeChar(unsigned c) {
        // Collect the path from the leaf up (each node's parity is its branch bit), then
        // write it from the root down.
        uint8_t path[T];
        unsigned depth = 0;
        unsigned k = tree_.prnt[c + T];
        do {
            path[depth++] = static_cast<uint8_t>(k & 1);
        } while ((k = tree_.prnt[k]) != static_cast<unsigned>(R));
        while (depth > 0) {
            uint32_t chunk = 0;
            unsigned n = 0;
            while (depth > 0 && n < 32) {
                chunk = (chunk << 1) | path[--depth];
                ++n;
            }
            bits_.Put(chunk, n);
        }
        tree_.Update(c);
    }

    void EncodePosition(unsigned p) {
        const unsigned upper = p >> 6;
        const unsigned len = kPositionTables.PLen[upper];
        bits_.Put(kPositionTables.PCode[upper] >> (8 - len), len);
        bits_.Put(p & 63, 6);
    }

    void Finish() { bits_.Flush(); }

private:
    BitWriter bits_;
    Tree tree_;
};

constexpr unsigned kHashBits = 14;
constexpr unsigned kMaxChain = 256;

inline unsigned Hash3(const uint8_t* p) {
    const uint32_t v = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    return (v * 2654435761u) >> (32 - kHashBits);
}

}  // namespace

std::vector<uint8_t> LzhufEncode(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    out.reserve(size / 2 + 16);
    Encoder enc(out);

    constexpr size_t kNone = ~size_t{0};
    std::vector<size_t> head(size_t{1} << kHashBits, kNone);
    std::vector<size_t> prev(N, kNone);  // previous position with the same hash, by pos % N
    auto insert = [&](size_t pos) {
        if (pos + 3 > size) return;
        const unsigned h = Hash3(data + pos);
        prev[pos % N] = head[h];
        head[h] = pos;
    };

    size_t pos = 0;
    while (pos < size) {
        const size_t maxLen = std::min<size_t>(F, size - pos);
        size_t bestLen = 0, bestDist = 0;
        if (maxLen >= THRESHOLD + 1) {
            size_t cand = head[Hash3(data + pos)];
            for (unsigned chain = 0; cand != kNone && chain < kMaxChain; ++chain) {
                const size_t dist = pos - cand;
                if (dist > static_cast<size_t>(N)) break;
                if (data[cand + bestLen] == data[pos + bestLen] || bestLen == 0) {
                    size_t len = 0;
                    while (len < maxLen && data[cand + len] == data[pos + len]) ++len;
                    if (len > bestLen) {
                        bestLen = len;
                        bestDist = dist;
                        if (len == maxLen) break;
                    }
                }
                const size_t next = prev[cand % N];
                if (next == kNone || next >= cand) break;  // the slot was reused by a newer position
                cand = next;
            }
        }
        if (bestLen >= THRESHOLD + 1) {
            enc.EncodeChar(static_cast<unsigned>(bestLen + 255 - THRESHOLD));
            enc.EncodePosition(static_cast<unsigned>(bestDist - 1));
            for (size_t k = 0; k < bestLen; ++k) insert(pos + k);
            pos += bestLen;
        } else {
            enc.EncodeChar(data[pos]);
            insert(pos);
            ++pos;
        }
    }
    enc.Finish();
    return out;
}
