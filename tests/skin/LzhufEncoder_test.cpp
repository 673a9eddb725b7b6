// The LZHUF encoder: whatever it writes, the decoder reads back byte for byte, across the
// window size, long runs and enough symbols to make the adaptive tree rebuild.
#include <gtest/gtest.h>

#include "Lzhuf.h"
#include "SkinContainerWriter.h"
#include "SkinTestData.h"

namespace {

void ExpectRoundTrip(const std::vector<uint8_t>& data, const char* what) {
    const std::vector<uint8_t> stream = LzhufEncode(data.data(), data.size());
    const std::vector<uint8_t> back = LzhufDecode(stream.data(), stream.size(), static_cast<int32_t>(data.size()));
    ASSERT_EQ(back.size(), data.size()) << what;
    EXPECT_TRUE(back == data) << what;
}

TEST(LzhufEncode_RoundTrip, EmptyAndOneByte) {
    EXPECT_TRUE(LzhufEncode(nullptr, 0).empty());
    ExpectRoundTrip({'x'}, "one byte");
    ExpectRoundTrip({0}, "one zero byte");
    ExpectRoundTrip({0xFF, 0xFF}, "two bytes");
}

TEST(LzhufEncode_RoundTrip, EveryByteValue) {
    std::vector<uint8_t> data;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b) data.push_back(static_cast<uint8_t>(b));
    ExpectRoundTrip(data, "all byte values three times");
}

TEST(LzhufEncode_RoundTrip, PastTheWindow) {
    // A block repeated at distances 4095, 4096 and 4097: the last is out of reach and must
    // be written again rather than matched.
    const std::vector<uint8_t> block = skintest::RandomBytes(4097, 11);
    for (size_t gap : {size_t{4095}, size_t{4096}, size_t{4097}}) {
        std::vector<uint8_t> data(block.begin(), block.begin() + gap);
        data.insert(data.end(), block.begin(), block.begin() + 200);
        ExpectRoundTrip(data, "repeat at window distance");
    }
    ExpectRoundTrip(skintest::RandomBytes(50000, 12), "random, many window lengths");
}

TEST(LzhufEncode_RoundTrip, LongRuns) {
    ExpectRoundTrip(std::vector<uint8_t>(100000, 0x20), "blanks");
    ExpectRoundTrip(std::vector<uint8_t>(100001, 0), "zeros");
    std::vector<uint8_t> runs;
    for (int i = 0; i < 300; ++i) runs.insert(runs.end(), 1 + i * 7 % 190, static_cast<uint8_t>(i));
    ExpectRoundTrip(runs, "runs of many lengths");
}

TEST(LzhufEncode_RoundTrip, CompressesRuns) {
    const std::vector<uint8_t> data(100000, 0xFF);
    EXPECT_LT(LzhufEncode(data.data(), data.size()).size(), data.size() / 30);
}

TEST(LzhufEncode_RoundTrip, TreeRebuildFromLowEntropyData) {
    // Any symbol yields at most 60 bytes, so 2 MB takes more than the 32,454 symbols after
    // which the root count reaches 32,768 and the tree is rebuilt.
    ExpectRoundTrip(skintest::SkewedBytes(2000000, 13), "skewed alphabet");
    // Literals only, one value dominant: the rebuild happens with very uneven leaves.
    std::vector<uint8_t> lit = skintest::RandomBytes(60000, 14);
    for (size_t i = 0; i < lit.size(); i += 2) lit[i] = 'e';
    ExpectRoundTrip(lit, "half one letter");
}

}  // namespace
