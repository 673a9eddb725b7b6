// Test data shared by the skin core tests: deterministic pseudo-random bytes and a few
// payload shapes (runs, skewed alphabets, BMP-like rows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skintest {

// xorshift64*; the same seed always gives the same bytes.
class Random {
public:
    explicit Random(uint64_t seed) : s_(seed ? seed : 1) {}
    uint64_t Next() {
        s_ ^= s_ >> 12;
        s_ ^= s_ << 25;
        s_ ^= s_ >> 27;
        return s_ * 2685821657736338717ull;
    }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }

private:
    uint64_t s_;
};

inline std::vector<uint8_t> RandomBytes(size_t n, uint64_t seed) {
    Random rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = static_cast<uint8_t>(rng.Next() >> 56);
    return v;
}

// Bytes from a small alphabet with very uneven odds: many short matches and many symbols.
inline std::vector<uint8_t> SkewedBytes(size_t n, uint64_t seed) {
    Random rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) {
        const uint32_t r = rng.Below(100);
        b = r < 60 ? 'a' : r < 80 ? 'b' : r < 90 ? 'c' : static_cast<uint8_t>('d' + rng.Below(12));
    }
    return v;
}

inline void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace skintest
