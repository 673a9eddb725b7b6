// The container writer: the exact layout the reader expects, and refusal of entries the
// reader could not give back.
#include "SkinContainerWriter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "Lzhuf.h"
#include "SkinContainer.h"

namespace {

TEST(BuildSkinContainer_Layout, HeaderNamesSizesData) {
    const std::vector<uint8_t> c = BuildSkinContainer({{"a.ini", {'x', 'y'}}, {"B.bmp", {'z'}}});
    const std::vector<uint8_t> want = {
        0x20, 0x4E, 0, 0,  // version 20000
        14, 0, 0, 0,       // name list length
        0, 0, 0, 0, 0, 0, 0, 0,
        'a', '.', 'i', 'n', 'i', '\r', '\n', 'B', '.', 'b', 'm', 'p', '\r', '\n',
        2, 0, 0, 0, 1, 0, 0, 0,
        'x', 'y', 'z'};
    EXPECT_EQ(c, want);
}

TEST(WriteSkinContainer_Layout, LengthThenStream) {
    const std::vector<SkinFileEntry> files = {{"skin.ini", {'[', 'a', ']'}}};
    const std::vector<uint8_t> container = BuildSkinContainer(files);
    const std::vector<uint8_t> file = WriteSkinContainer(files);
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file[0] | (file[1] << 8) | (file[2] << 16) | (file[3] << 24), static_cast<int>(container.size()));
    EXPECT_EQ(LzhufDecode(file.data() + 4, file.size() - 4, static_cast<int32_t>(container.size())), container);
}

TEST(WriteSkinContainer_Layout, EmptySkinReadsBack) {
    TSkinReader reader;
    EXPECT_TRUE(reader.LoadFromStream(WriteSkinContainer({})));
    EXPECT_TRUE(reader.Names().empty());
}

TEST(WriteSkinContainer_Refuses, UnstorableNames) {
    EXPECT_THROW(WriteSkinContainer({{"", {}}}), std::runtime_error);
    EXPECT_THROW(WriteSkinContainer({{"a\r.bmp", {}}}), std::runtime_error);
    EXPECT_THROW(WriteSkinContainer({{"a\n.bmp", {}}}), std::runtime_error);
    EXPECT_THROW(WriteSkinContainer({{std::string("a\0.bmp", 6), {}}}), std::runtime_error);
}

TEST(WriteSkinContainer_Refuses, TooManyEntriesOrTooLarge) {
    std::vector<SkinFileEntry> files(SkinMaxEntries + 1, SkinFileEntry{"a.bmp", {}});
    EXPECT_THROW(WriteSkinContainer(files), std::runtime_error);
    files.resize(SkinMaxEntries);
    EXPECT_NO_THROW(WriteSkinContainer(files));
    EXPECT_THROW(WriteSkinContainer({{"big.bmp", std::vector<uint8_t>(SkinMaxUnpackedSize, 0)}}),
                 std::runtime_error);
}

}  // namespace
