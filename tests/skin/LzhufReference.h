// A deliberately plain LZHUF decoder used as the oracle for the fast one: a 16-bit bit
// buffer filled one byte at a time, a 4,155-byte ring, one bit per tree step, and zero bits
// past the end of the input.  It never refuses anything; it reports what happened (bits
// consumed, bytes produced past the length) so a test can say what the fast decoder must
// refuse.  Its tables are typed out from the format's description, independently of the
// ones the production code derives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace reference {

struct Result {
    std::vector<uint8_t> out;  // may be longer than asked when the last match runs over
    uint64_t bitsConsumed = 0;
};

class Lzhuf {
public:
    Lzhuf() { MakeTables(); }

    Result Unpack(int32_t textSize, const uint8_t* src, size_t size) {
        src_ = src;
        size_ = size;
        pos_ = 0;
        getbuf_ = 0;
        getlen_ = 0;
        Result res;
        bits_ = &res.bitsConsumed;
        StartHuff();
        std::memset(ring_, 0, sizeof ring_);
        for (int i = 0; i < kN - kF; ++i) ring_[i] = ' ';
        int r = kN - kF;
        int32_t count = 0;
        while (count < textSize) {
            int c = DecodeChar();
            if (c < 256) {
                res.out.push_back(static_cast<uint8_t>(c));
                ring_[r++] = static_cast<uint8_t>(c);
                r &= kN - 1;
                ++count;
            } else {
                int i = (r - DecodePosition() - 1) & (kN - 1);
                int j = c - 255 + kThreshold;
                for (int k = 0; k < j; ++k) {
                    uint8_t b = ring_[(i + k) & (kN - 1)];
                    res.out.push_back(b);
                    ring_[r++] = b;
                    r &= kN - 1;
                    ++count;
                }
            }
        }
        return res;
    }

private:
    static constexpr int kN = 4096, kF = 60, kThreshold = 2;
    static constexpr int kNChar = 256 - kThreshold + kF;
    static constexpr int kT = kNChar * 2 - 1, kR = kT - 1;
    static constexpr unsigned kMaxFreq = 0x8000;

    void MakeTables() {
        // d_len: 32 entries of 3, 48 of 4, 64 of 5, 48 of 6, 48 of 7, 16 of 8.
        const int lenRuns[][2] = {{32, 3}, {48, 4}, {64, 5}, {48, 6}, {48, 7}, {16, 8}};
        int at = 0;
        for (auto& run : lenRuns)
            for (int k = 0; k < run[0]; ++k) dLen_[at++] = static_cast<uint8_t>(run[1]);
        // d_code: 0 for 32 entries; 1-3 for 16 each; 4-11 for 8; 12-23 for 4; 24-47 for 2;
        // 48-63 for one each.
        const int codeRuns[][3] = {{0, 0, 32}, {1, 3, 16}, {4, 11, 8}, {12, 23, 4}, {24, 47, 2}, {48, 63, 1}};
        at = 0;
        for (auto& run : codeRuns)
            for (int code = run[0]; code <= run[1]; ++code)
                for (int k = 0; k < run[2]; ++k) dCode_[at++] = static_cast<uint8_t>(code);
    }

    int ReadByte() {
        if (pos_ < size_) return src_[pos_++];
        return 0;
    }
    int GetBit() {
        while (getlen_ <= 8) {
            getbuf_ = static_cast<uint16_t>(getbuf_ | (ReadByte() << (8 - getlen_)));
            getlen_ += 8;
        }
        int i = getbuf_;
        getbuf_ = static_cast<uint16_t>(getbuf_ << 1);
        getlen_--;
        ++*bits_;
        return (i & 0x8000) ? 1 : 0;
    }
    int GetByte() {
        while (getlen_ <= 8) {
            getbuf_ = static_cast<uint16_t>(getbuf_ | (ReadByte() << (8 - getlen_)));
            getlen_ += 8;
        }
        int i = getbuf_;
        getbuf_ = static_cast<uint16_t>(getbuf_ << 8);
        getlen_ -= 8;
        *bits_ += 8;
        return i >> 8;
    }

    void StartHuff() {
        int i, j;
        for (i = 0; i < kNChar; i++) {
            freq_[i] = 1;
            son_[i] = static_cast<uint16_t>(i + kT);
            prnt_[i + kT] = static_cast<uint16_t>(i);
        }
        i = 0;
        j = kNChar;
        while (j <= kR) {
            freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[i + 1]);
            son_[j] = static_cast<uint16_t>(i);
            prnt_[i] = prnt_[i + 1] = static_cast<uint16_t>(j);
            i += 2;
            j++;
        }
        freq_[kT] = 0xFFFF;
        prnt_[kR] = 0;
    }

    void Reconst() {
        int i, j, k;
        unsigned f, l;
        j = 0;
        for (i = 0; i < kT; i++) {
            if (son_[i] >= kT) {
                freq_[j] = static_cast<uint16_t>((freq_[i] + 1) / 2);
                son_[j] = son_[i];
                j++;
            }
        }
        for (i = 0, j = kNChar; j < kT; i += 2, j++) {
            k = i + 1;
            f = freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[k]);
            for (k = j - 1; f < freq_[k]; k--) {}
            k++;
            l = (j - k) * 2;
            std::memmove(&freq_[k + 1], &freq_[k], l);
            freq_[k] = static_cast<uint16_t>(f);
            std::memmove(&son_[k + 1], &son_[k], l);
            son_[k] = static_cast<uint16_t>(i);
        }
        for (i = 0; i < kT; i++) {
            if ((k = son_[i]) >= kT) {
                prnt_[k] = static_cast<uint16_t>(i);
            } else {
                prnt_[k] = prnt_[k + 1] = static_cast<uint16_t>(i);
            }
        }
    }

    void Update(int c) {
        int i, j, k, l;
        if (freq_[kR] == kMaxFreq) Reconst();
        c = prnt_[c + kT];
        do {
            k = ++freq_[c];
            if (k > freq_[l = c + 1]) {
                while (k > freq_[++l]) {}
                l--;
                freq_[c] = freq_[l];
                freq_[l] = static_cast<uint16_t>(k);
                i = son_[c];
                prnt_[i] = static_cast<uint16_t>(l);
                if (i < kT) prnt_[i + 1] = static_cast<uint16_t>(l);
                j = son_[l];
                son_[l] = static_cast<uint16_t>(i);
                prnt_[j] = static_cast<uint16_t>(c);
                if (j < kT) prnt_[j + 1] = static_cast<uint16_t>(c);
                son_[c] = static_cast<uint16_t>(j);
                c = l;
            }
        } while ((c = prnt_[c]) != 0);
    }

    int DecodeChar() {
        unsigned c = son_[kR];
        while (c < static_cast<unsigned>(kT)) {
            c += GetBit();
            c = son_[c];
        }
        c -= kT;
        Update(static_cast<int>(c));
        return static_cast<int>(c);
    }

    int DecodePosition() {
        unsigned i = GetByte();
        unsigned c = static_cast<unsigned>(dCode_[i]) << 6;
        int j = dLen_[i] - 2;
        while (j--) i = (i << 1) + GetBit();
        return static_cast<int>(c | (i & 0x3f));
    }

    const uint8_t* src_ = nullptr;
    size_t size_ = 0, pos_ = 0;
    uint16_t getbuf_ = 0;
    int getlen_ = 0;
    uint64_t* bits_ = nullptr;
    uint8_t ring_[kN + kF - 1];
    uint16_t freq_[kT + 1], prnt_[kT + kNChar], son_[kT];
    uint8_t dCode_[256], dLen_[256];
};

}  // namespace reference
