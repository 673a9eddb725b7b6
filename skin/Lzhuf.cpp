// The LZHUF decoder.  Works on the whole stream in memory: a 64-bit bit buffer refilled
// eight bytes at a time, the tree walked from a peeked word, positions decoded by table
// and matches copied straight out of the output, which doubles as the dictionary.  The
// byte-at-a-time reference behaviour it must match is pinned by the tests.
#include "Lzhuf.h"

#include <cstring>
#include <new>

#include "Lzhuf_impl.h"

namespace {

using namespace lzhuf;

// Before any output the dictionary holds blanks at ring positions 0 to N - F - 1; writing
// starts at N - F.  Seen from the output, the N bytes before the first one are the ring
// positions N - F .. N - 1 (never written yet; zero here) followed by those blanks.
struct InitialWindow {
    uint8_t bytes[N];
    constexpr InitialWindow() : bytes() {
        for (int i = 0; i < N; ++i) bytes[i] = i < F ? 0 : 0x20;
    }
};
constexpr InitialWindow kInitialWindow;

// Bits most significant first.  buf holds `count` valid bits at its top, zeros below.
// Bytes past the end of the source read as zero and are counted in `phantom`; consuming
// any of them means the stream was cut short.
class BitReader {
public:
    BitReader(const uint8_t* p, size_t size) : p_(p), end_(p + size) {}

    // Leaves at least 56 valid bits (real or phantom) in the buffer.
    inline void Refill() {
        if (static_cast<size_t>(end_ - p_) >= 8) {
            uint64_t v;
            std::memcpy(&v, p_, 8);
            v = __builtin_bswap64(v);
            buf_ |= v >> count_;
            p_ += (63 - count_) >> 3;
            count_ |= 56;
        } else {
            RefillTail();
        }
    }

    uint64_t Peek() const { return buf_; }
    unsigned Count() const { return count_; }
    inline void Consume(unsigned n) {
        buf_ <<= n;
        count_ -= n;
    }

    // One bit, refilling as needed (slow path).
    unsigned GetBit() {
        if (count_ == 0) Refill();
        const unsigned b = static_cast<unsigned>(buf_ >> 63);
        Consume(1);
        return b;
    }

    // True when some consumed bit lay beyond the end of the source.
    bool Overran() const { return phantom_ > count_; }

private:
    void RefillTail() {
        while (count_ <= 56) {
            uint64_t byte = 0;
            if (p_ < end_) {
                byte = *p_++;
            } else {
                phantom_ += 8;
            }
            buf_ |= byte << (56 - count_);
            count_ += 8;
        }
        // The buffer holds at most 64 bits, so this many phantom bits cannot all still be
        // unconsumed: the stream has run dry.
        if (phantom_ > 64) throw ElzhException("LZH : compressed data ends too early");
    }

    const uint8_t* p_;
    const uint8_t* end_;
    uint64_t buf_ = 0;
    unsigned count_ = 0;
    unsigned phantom_ = 0;
};

class Decoder {
public:
    Decoder(const uint8_t* source, size_t size) : in_(source, size) { tree_.StartHuff(); }

    void Run(uint8_t* out, size_t total) {
        size_t count = 0;
        while (count < total) {
            in_.Refill();
            const unsigned c = DecodeChar();
            if (c < 256) {
                out[count++] = static_cast<uint8_t>(c);
                continue;
            }
            const size_t length = c - (255 - THRESHOLD);
            const size_t distance = DecodePosition() + 1;
            if (length > total - count) {
                throw ElzhException("LZH : compressed data runs past the unpacked length");
            }
            uint8_t* dst = out + count;
            if (distance > count) {
                CopyFromInitialWindow(out, count, distance, length);
            } else if (distance >= length) {
                std::memcpy(dst, dst - distance, length);
            } else {
                // Overlapping: each byte repeats one written `distance` bytes earlier.
                const uint8_t* src = dst - distance;
                for (size_t k = 0; k < length; ++k) dst[k] = src[k];
            }
            count += length;
        }
        if (in_.Overran()) throw ElzhException("LZH : compressed data ends too early");
    }

private:
    // Walks from the root on the peeked bits.  The tree of a 32,768-count root is at most
    // 21 levels deep, so the refilled buffer always suffices; should it ever not, the walk
    // is redone a bit at a time rather than read bits that are not there.
    inline unsigned DecodeChar() {
        const uint16_t* son = tree_.son;
        uint64_t bits = in_.Peek();
        unsigned c = son[R];
        unsigned used = 0;
        while (c < static_cast<unsigned>(T)) {
            c = son[c + static_cast<unsigned>(bits >> 63)];
            bits <<= 1;
            ++used;
        }
        if (used <= in_.Count()) {
            in_.Consume(used);
        } else {
            c = son[R];
            while (c < static_cast<unsigned>(T)) c = son[c + in_.GetBit()];
        }
        c -= T;
        tree_.Update(c);
        return c;
    }

    // 8 bits select the upper 6 bits and the code length; the low 6 bits follow.
    inline unsigned DecodePosition() {
        if (in_.Count() < 14) in_.Refill();
        const uint64_t bits = in_.Peek();
        const unsigned first = static_cast<unsigned>(bits >> 56);
        const unsigned used = kPositionTables.DLen[first] + 6u;
        const unsigned low = static_cast<unsigned>(bits >> (64 - used)) & 63u;
        in_.Consume(used);
        return (static_cast<unsigned>(kPositionTables.DCode[first]) << 6) | low;
    }

    // A match that reaches back before the first output byte reads the initial window.
    static void CopyFromInitialWindow(uint8_t* out, size_t count, size_t distance, size_t length) {
        for (size_t k = 0; k < length; ++k) {
            const size_t at = count + k;
            out[at] = at >= distance ? out[at - distance] : kInitialWindow.bytes[N - distance + at];
        }
    }

    BitReader in_;
    Tree tree_;
};

// Every symbol takes at least one bit and yields at most F bytes (a match also needs a
// 9-bit position), so a stream of n bytes holds at most 8n / 10 * F = 48n output bytes.
constexpr uint64_t kMostOutputPerInputByte = 8 * F / 10;

}  // namespace

std::vector<uint8_t> TLZH::Unpack(int32_t TextSize, const uint8_t* source, size_t size) {
    if (TextSize <= 0) return {};
    if (TextSize > SkinMaxUnpackedSize) {
        throw ElzhException("LZH : unpacked length " + std::to_string(TextSize) +
                            " is above the limit of " + std::to_string(SkinMaxUnpackedSize));
    }
    if (static_cast<uint64_t>(TextSize) > static_cast<uint64_t>(size) * kMostOutputPerInputByte) {
        throw ElzhException("LZH : compressed data ends too early");
    }
    std::vector<uint8_t> out;
    try {
        out.resize(static_cast<size_t>(TextSize));
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    Decoder decoder(source, size);
    decoder.Run(out.data(), out.size());
    return out;
}

std::vector<uint8_t> LzhufDecode(const uint8_t* source, size_t size, int32_t textSize) {
    return TLZH().Unpack(textSize, source, size);
}
