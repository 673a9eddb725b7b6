// The skin container reader: indexing and lookups on containers from the writer, and the
// refusal of every kind of hostile file (length field, stream, header, names, sizes).
#include "SkinContainer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Lzhuf.h"
#include "SkinContainerWriter.h"
#include "SkinTestData.h"

namespace {

using skintest::PutLE32;

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// A skin file around a hand-made container.
std::vector<uint8_t> Pack(const std::vector<uint8_t>& container) {
    std::vector<uint8_t> file;
    PutLE32(file, static_cast<uint32_t>(container.size()));
    const std::vector<uint8_t> stream = LzhufEncode(container.data(), container.size());
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}

// Header, raw name list, raw sizes, data.
std::vector<uint8_t> Container(int32_t version, const std::string& names,
                               const std::vector<int32_t>& sizes, const std::string& data) {
    std::vector<uint8_t> c;
    PutLE32(c, static_cast<uint32_t>(version));
    PutLE32(c, static_cast<uint32_t>(names.size()));
    PutLE32(c, 0xDEADBEEF);  // reserved fields are not read
    PutLE32(c, 0x12345678);
    c.insert(c.end(), names.begin(), names.end());
    for (int32_t s : sizes) PutLE32(c, static_cast<uint32_t>(s));
    c.insert(c.end(), data.begin(), data.end());
    return c;
}

std::vector<uint8_t> SampleSkin() {
    return WriteSkinContainer({{"Skin.INI", Bytes("[Title]\r\nImage=title.bmp\r\n")},
                               {"Title.BMP", Bytes("BM-title")},
                               {"empty.bmp", {}},
                               {"title.bmp", Bytes("BM-second")}});
}

std::string Entry(const TSkinReader& reader, const std::string& name) {
    std::vector<uint8_t> dest{'x'};
    reader.ExtractEntry(name, dest);
    return std::string(dest.begin(), dest.end());
}

TEST(TSkinReader_Index, NamesLowerCasedAndSizesInOrder) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(SampleSkin())) << reader.LastError();
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "title.bmp", "empty.bmp", "title.bmp"}));
    EXPECT_EQ(reader.Sizes(), (std::vector<int32_t>{26, 8, 0, 9}));
    EXPECT_EQ(reader.LastLoadError(), SkinLoadError::None);
}

TEST(TSkinReader_Index, UnpackedContainerIndexesAlike) {
    const std::vector<uint8_t> c = Container(20000, "a.ini\r\n", {3}, "abc");
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromContainer(c.data(), c.size())) << reader.LastError();
    EXPECT_EQ(Entry(reader, "A.INI"), "abc");
    EXPECT_FALSE(reader.LoadFromContainer(c.data(), 20));
    EXPECT_EQ(reader.LastLoadError(), SkinLoadError::Damaged);
    EXPECT_FALSE(reader.LoadFromContainer(nullptr, 0));
    EXPECT_EQ(reader.LastLoadError(), SkinLoadError::OlderVersion);
}

TEST(TSkinReader_ExtractEntry, CaseInsensitiveFirstDuplicateWins) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(SampleSkin()));
    EXPECT_EQ(Entry(reader, "title.bmp"), "BM-title");
    EXPECT_EQ(Entry(reader, "TITLE.bmp"), "BM-title");
    EXPECT_EQ(Entry(reader, "missing.bmp"), "");
    EXPECT_EQ(Entry(reader, "empty.bmp"), "");
    EXPECT_EQ(Entry(reader, "title"), "");  // whole names only
}

TEST(TSkinReader_ExtractEntryContaining, FirstContainingNameLowerCaseText) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(SampleSkin()));
    std::vector<uint8_t> dest;
    std::string found = "unchanged";
    EXPECT_TRUE(reader.ExtractEntryContaining(".ini", dest, found));
    EXPECT_EQ(found, "skin.ini");
    EXPECT_EQ(std::string(dest.begin(), dest.end()), "[Title]\r\nImage=title.bmp\r\n");
    EXPECT_TRUE(reader.ExtractEntryContaining("title", dest, found));
    EXPECT_EQ(found, "title.bmp");
    EXPECT_EQ(std::string(dest.begin(), dest.end()), "BM-title");
    found = "unchanged";
    EXPECT_FALSE(reader.ExtractEntryContaining(".INI", dest, found));  // stored names are lower case
    EXPECT_TRUE(dest.empty());
    EXPECT_EQ(found, "unchanged");
}

TEST(TSkinReader_Names, SplitAtCrLfLoneCrAndLoneLf) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(Pack(Container(20000, "a.ini\rB.bmp\nc.bmp\r\n\r\nd.bmp", {1, 2, 3, 0, 4}, "1223334444"))))
        << reader.LastError();
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a.ini", "b.bmp", "c.bmp", "", "d.bmp"}));
    EXPECT_EQ(Entry(reader, "d.bmp"), "4444");
    EXPECT_EQ(Entry(reader, "c.bmp"), "333");
}

TEST(TSkinReader_Names, NoNamesIsAnEmptySkin) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(Pack(Container(20000, "", {}, "trailing bytes are ignored"))));
    EXPECT_TRUE(reader.Names().empty());
    EXPECT_EQ(Entry(reader, "a.bmp"), "");
}

TEST(TSkinReader_Names, ExactlyTheMostEntriesIsAccepted) {
    std::string names;
    for (int i = 0; i < SkinMaxEntries; ++i) names += "n" + std::to_string(i) + ".bmp\r\n";
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(Pack(Container(20000, names, std::vector<int32_t>(SkinMaxEntries, 0), ""))));
    EXPECT_EQ(reader.Names().size(), static_cast<size_t>(SkinMaxEntries));
}

TEST(TSkinReader_Version, OtherVersionRefusedAndIndexKept) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(SampleSkin()));
    EXPECT_FALSE(reader.LoadFromStream(Pack(Container(19999, "x.bmp\r\n", {1}, "x"))));
    EXPECT_EQ(reader.LastLoadError(), SkinLoadError::OlderVersion);
    EXPECT_EQ(reader.LastError(), "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(Entry(reader, "title.bmp"), "BM-title");
}

TEST(TSkinReader_Version, EmptyContainerIsOlderVersion) {
    TSkinReader reader;
    EXPECT_FALSE(reader.LoadFromStream(std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(reader.LastLoadError(), SkinLoadError::OlderVersion);
    EXPECT_FALSE(reader.LoadFromStream(Pack({0x20, 0x4E})));  // two bytes of a version
    EXPECT_EQ(reader.LastLoadError(), SkinLoadError::OlderVersion);
}

// A negative announced length is an empty container too: the user gets the version
// message, not a silent refusal, whatever stream follows.
TEST(TSkinReader_Version, NegativeLengthIsOlderVersionAndIndexKept) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(SampleSkin()));
    std::vector<uint8_t> file = SampleSkin();
    const struct {
        uint8_t bytes[4];
        const char* row;
    } rows[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
        {{0x00, 0x00, 0x00, 0x80}, "most negative"},
        {{0x00, 0x00, 0x00, 0xF0}, "large negative"},
    };
    for (const auto& row : rows) {
        std::copy(row.bytes, row.bytes + 4, file.begin());
        EXPECT_FALSE(reader.LoadFromStream(file)) << row.row;
        EXPECT_EQ(reader.LastLoadError(), SkinLoadError::OlderVersion) << row.row;
        EXPECT_EQ(reader.LastError(), SkinOlderVersionMessage) << row.row;
        EXPECT_EQ(Entry(reader, "title.bmp"), "BM-title") << row.row;
        EXPECT_FALSE(reader.LoadFromStream(std::vector<uint8_t>(row.bytes, row.bytes + 4))) << row.row;
        EXPECT_EQ(reader.LastLoadError(), SkinLoadError::OlderVersion) << row.row << " without a stream";
    }
}

// Each hostile file is refused as damaged, and the reader keeps the skin it had.
class TSkinReader_Refuses : public ::testing::Test {
protected:
    void ExpectDamaged(const std::vector<uint8_t>& file, const char* why) {
        TSkinReader reader;
        ASSERT_TRUE(reader.LoadFromStream(SampleSkin()));
        EXPECT_FALSE(reader.LoadFromStream(file)) << why;
        EXPECT_EQ(reader.LastLoadError(), SkinLoadError::Damaged) << why;
        EXPECT_FALSE(reader.LastError().empty()) << why;
        EXPECT_EQ(Entry(reader, "title.bmp"), "BM-title") << why;
    }
};

TEST_F(TSkinReader_Refuses, FileShorterThanItsLengthField) {
    ExpectDamaged({}, "empty file");
    ExpectDamaged({0x10, 0x00, 0x00}, "three bytes");
}

TEST_F(TSkinReader_Refuses, BadUnpackedLength) {
    std::vector<uint8_t> file = SampleSkin();
    file[0] = 0x01; file[1] = 0x00; file[2] = 0x00; file[3] = 0x04;  // 64 MiB + 1
    ExpectDamaged(file, "above the cap");
    file[0] = 0x00; file[1] = 0x00; file[2] = 0x10; file[3] = 0x00;  // 1 MiB from a few bytes
    ExpectDamaged(file, "more than the stream can hold");
}

TEST_F(TSkinReader_Refuses, StreamCutShortOrRunningOver) {
    const std::vector<uint8_t> file = SampleSkin();
    ExpectDamaged(std::vector<uint8_t>(file.begin(), file.end() - 1), "last byte missing");
    ExpectDamaged(std::vector<uint8_t>(file.begin(), file.begin() + 4), "length field only");
    std::vector<uint8_t> shorter = file;
    shorter[0] = static_cast<uint8_t>(shorter[0] - 1);  // the last match now runs past the length
    ExpectDamaged(shorter, "stream past its length");
}

TEST_F(TSkinReader_Refuses, HeaderOrNameListOutsideTheData) {
    std::vector<uint8_t> c;
    PutLE32(c, 20000);
    PutLE32(c, 0);
    ExpectDamaged(Pack(c), "header cut short");
    ExpectDamaged(Pack(Container(20000, "a.bmp\r\n", {}, "")), "size table missing");
    std::vector<uint8_t> negative = Container(20000, "a.bmp\r\n", {0}, "");
    negative[4] = negative[5] = negative[6] = negative[7] = 0xFF;
    ExpectDamaged(Pack(negative), "negative name-list length");
    std::vector<uint8_t> beyond = Container(20000, "a.bmp\r\n", {0}, "");
    beyond[4] = 200;
    ExpectDamaged(Pack(beyond), "name list past the end");
}

TEST_F(TSkinReader_Refuses, TooManyNames) {
    std::string names;
    for (int i = 0; i <= SkinMaxEntries; ++i) names += "n.bmp\r\n";
    ExpectDamaged(Pack(Container(20000, names, std::vector<int32_t>(SkinMaxEntries + 1, 0), "")), "1002 names");
    // A list of nothing but line breaks: many empty names, refused without storing them.
    ExpectDamaged(Pack(Container(20000, std::string(300000, '\n'), {}, "")), "300,000 breaks");
}

TEST_F(TSkinReader_Refuses, SizesOutsideTheData) {
    ExpectDamaged(Pack(Container(20000, "a.bmp\r\nb.bmp\r\n", {2, -1}, "xx")), "negative size");
    ExpectDamaged(Pack(Container(20000, "a.bmp\r\nb.bmp\r\n", {2, 2}, "xxx")), "past the data");
    ExpectDamaged(Pack(Container(20000, "a.bmp\r\nb.bmp\r\nc.bmp\r\n", {INT32_MAX, INT32_MAX, 2}, "xx")),
                  "sum overflows 32 bits");
}

}  // namespace
