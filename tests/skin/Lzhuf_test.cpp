// The LZHUF decoder: hand-checked streams, agreement with the plain reference decoder on
// arbitrary input, and every refusal of a damaged or hostile stream.
#include "Lzhuf.h"

#include <gtest/gtest.h>

#include <string>

#include "LzhufReference.h"
#include "SkinContainerWriter.h"
#include "SkinTestData.h"

namespace {

std::string Decode(const std::vector<uint8_t>& stream, int32_t size) {
    const std::vector<uint8_t> out = LzhufDecode(stream.data(), stream.size(), size);
    return std::string(out.begin(), out.end());
}

// In the starting tree the node at position k has its parent at 314 + k / 2 and the branch
// bit k & 1, so 'A' (65) is reached from the root through 625, 623, 619, 610, 592, 557,
// 487, 346: bits 1 1 1 0 0 1 1 0 1.  The length-3 symbol (256) goes through 625, 622, 616,
// 604, 581, 535, 442: bits 1 0 0 0 1 1 0 0.
TEST(LzhufDecode_FixedStreams, LiteralFromStartingTree) {
    EXPECT_EQ(Decode({0xE6, 0x80}, 1), "A");
}

TEST(LzhufDecode_FixedStreams, SecondLiteralUsesUpdatedTree) {
    // After one 'A' its leaf moved to node 470 (swapped with the pair 312/313), whose
    // path is 625, 623, 618, 608, 588, 549, 470: 'A' is now 1 1 0 0 0 1 0 1.
    EXPECT_EQ(Decode({0xE6, 0xE2, 0x80}, 2), "AA");
}

TEST(LzhufDecode_FixedStreams, MatchAtPositionZeroRepeatsLastByte) {
    // 'A', then length 3 (10001100, unchanged by the first update) at position 0 (eight
    // zero bits select the 3-bit code 000, one more bit completes it): source r - 1.
    EXPECT_EQ(Decode({0xE6, 0xC6, 0x00, 0x00}, 4), "AAAA");
}

TEST(LzhufDecode_FixedStreams, MatchBeforeAnyOutputReadsBlanks) {
    EXPECT_EQ(Decode({0x8C, 0x00, 0x00}, 3), "   ");
    // First byte 0xFF: upper bits 63, 8-bit code, six low bits 000011: position 4035,
    // source ring position 0, the first blank.
    EXPECT_EQ(Decode({0x8C, 0xFF, 0x0C}, 3), "   ");
}

TEST(LzhufDecode_FixedStreams, RingTailBeforeAnyOutputReadsZero) {
    // Position 4036: source ring position 4095, never written; read as zero, then the ring
    // wraps to the blanks at 0 and 1.
    EXPECT_EQ(Decode({0x8C, 0xFF, 0x10}, 3), std::string("\0  ", 3));
}

TEST(LzhufDecode_FixedStreams, ZeroOrNegativeLengthGivesNothing) {
    EXPECT_TRUE(LzhufDecode(nullptr, 0, 0).empty());
    EXPECT_TRUE(LzhufDecode(nullptr, 0, -5).empty());
}

// Arbitrary bytes are a valid stream up to where they run out; the fast decoder must give
// the reference's bytes whenever the stream is complete and fits its length, and refuse
// exactly when it is not.
TEST(LzhufDecode_AgreesWithReference, OnArbitraryInput) {
    skintest::Random rng(7);
    reference::Lzhuf ref;
    int accepted = 0, refused = 0;
    for (int round = 0; round < 400; ++round) {
        const std::vector<uint8_t> stream = skintest::RandomBytes(1 + rng.Below(600), 100 + round);
        const int32_t size = static_cast<int32_t>(1 + rng.Below(static_cast<uint32_t>(stream.size()) * 4));
        const reference::Result want = ref.Unpack(size, stream.data(), stream.size());
        const bool complete = want.bitsConsumed <= stream.size() * 8 &&
                              want.out.size() == static_cast<size_t>(size);
        try {
            const std::vector<uint8_t> got = LzhufDecode(stream.data(), stream.size(), size);
            EXPECT_TRUE(complete) << "round " << round;
            EXPECT_EQ(got, want.out) << "round " << round;
            ++accepted;
        } catch (const ElzhException&) {
            EXPECT_FALSE(complete) << "round " << round;
            ++refused;
        }
    }
    EXPECT_GT(accepted, 20);
    EXPECT_GT(refused, 20);
}

TEST(LzhufDecode_AgreesWithReference, OnEncodedSkinLikeData) {
    reference::Lzhuf ref;
    // Long enough for the tree to be rebuilt several times and the ring to wrap.
    std::vector<uint8_t> data = skintest::SkewedBytes(150000, 3);
    const std::vector<uint8_t> noise = skintest::RandomBytes(20000, 4);
    data.insert(data.end(), noise.begin(), noise.end());
    const std::vector<uint8_t> stream = LzhufEncode(data.data(), data.size());
    const reference::Result want = ref.Unpack(static_cast<int32_t>(data.size()), stream.data(), stream.size());
    EXPECT_EQ(want.out, data);
    EXPECT_LE(want.bitsConsumed, stream.size() * 8);
    EXPECT_EQ(LzhufDecode(stream.data(), stream.size(), static_cast<int32_t>(data.size())), data);
}

TEST(LzhufDecode_Refuses, StreamCutShort) {
    const std::vector<uint8_t> data = skintest::SkewedBytes(5000, 9);
    const std::vector<uint8_t> stream = LzhufEncode(data.data(), data.size());
    for (size_t cut : {size_t{0}, size_t{1}, stream.size() / 2, stream.size() - 2, stream.size() - 1}) {
        EXPECT_THROW(LzhufDecode(stream.data(), cut, static_cast<int32_t>(data.size())), ElzhException)
            << "cut at " << cut;
    }
}

TEST(LzhufDecode_Refuses, MatchRunningPastLength) {
    // "AAAA" asked for as 2 bytes: the match after the first 'A' brings 3 more.
    EXPECT_THROW(Decode({0xE6, 0xC6, 0x00, 0x00}, 2), ElzhException);
}

TEST(LzhufDecode_Refuses, LengthAboveCap) {
    const std::vector<uint8_t> big(2000000, 0);
    EXPECT_THROW(LzhufDecode(big.data(), big.size(), SkinMaxUnpackedSize + 1), ElzhException);
    EXPECT_THROW(LzhufDecode(big.data(), big.size(), INT32_MAX), ElzhException);
}

TEST(LzhufDecode_Refuses, LengthTheStreamCannotHold) {
    // 10 bytes can never yield more than 480; refused before any memory is taken.
    const std::vector<uint8_t> stream(10, 0);
    EXPECT_THROW(LzhufDecode(stream.data(), stream.size(), 481), ElzhException);
}

TEST(LzhufDecode_Refuses, MessageSaysWhy) {
    try {
        Decode({0xE6, 0xC6, 0x00, 0x00}, 2);
        FAIL() << "not refused";
    } catch (const ElzhException& e) {
        EXPECT_NE(std::string(e.what()).find("past the unpacked length"), std::string::npos);
    }
}

}  // namespace
