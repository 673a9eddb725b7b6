// The built-in Skin3rd table: its size, order, kinds and the lines that repeat or shadow
// one another.
#include <gtest/gtest.h>

#include <map>

#include "Texts.h"
#include "WinSkinData.h"

namespace {

// The kind the dispatch would find for a class: the first line starting with the
// lower-cased name and "=".
std::string KindOf(TStrings& lines, const std::string& className) {
    const std::string key = texts::LowerCase(className) + "=";
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = texts::LowerCase(lines[i]);
        if (line.compare(0, key.size(), key) == 0) return line.substr(key.size());
    }
    return "";
}

TEST(Skin3rd, BuiltInTable_Has117LinesInOrder) {
    TSkinData d(nullptr);
    TStrings& lines = d.Skin3rd();
    ASSERT_EQ(lines.Count(), 117);
    EXPECT_EQ(lines[0], "TCategoryButtons=scrollbar");
    EXPECT_EQ(lines[1], "TPngBitBtn=pngbitbtn");
    EXPECT_EQ(lines[36], "TRzButtonEdit=Edit");
    EXPECT_EQ(lines[116], "TOVCDBNUMERICFIELD=Edit");
    std::map<std::string, int> kinds;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines[i];
        const size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        EXPECT_EQ(line.find(' '), std::string::npos) << line;
        ++kinds[texts::LowerCase(line.substr(eq + 1))];
    }
    const std::map<std::string, int> expected{
        {"combobox", 39}, {"edit", 26},     {"panel", 15},      {"scrollbar", 10}, {"radiogroup", 7},
        {"checkbox", 4},  {"speedbutton", 3}, {"bitbtn", 3},    {"checkgroup", 3}, {"radiobutton", 2},
        {"groupbox", 2},  {"pngbitbtn", 1}, {"button", 1},      {"menubtn", 1}};
    EXPECT_EQ(kinds, expected);
}

TEST(Skin3rd, Lookup_FirstLineWithTheWholeNameDecides) {
    TSkinData d(nullptr);
    TStrings& lines = d.Skin3rd();
    EXPECT_EQ(KindOf(lines, "TLMDGroupBox"), "groupbox");
    EXPECT_EQ(KindOf(lines, "tlmdgroupbox"), "groupbox");
    EXPECT_EQ(KindOf(lines, "TRzDateTime"), "") << "a prefix of listed names matches none";
    EXPECT_EQ(KindOf(lines, "TRzDateTimeEdit"), "combobox");
    int repeats = 0;
    for (const char* line : {"TDBCheckboxEh=Checkbox", "TLMDFontSizeCombobox=combobox", "TWWDBCombobox=Combobox"}) {
        int count = 0;
        for (int i = 0; i < lines.Count(); ++i) count += lines[i] == line;
        EXPECT_EQ(count, 2) << line;
        repeats += count - 1;
    }
    EXPECT_EQ(repeats, 3);
}

TEST(Skin3rd, StoredLines_ReplaceTheBuiltInTable) {
    TSkinData d(nullptr);
    TStringList mine;
    mine.Add("TMyGrid=scrollbar");
    d.SetSkin3rd(mine);
    ASSERT_EQ(d.Skin3rd().Count(), 1);
    EXPECT_EQ(KindOf(d.Skin3rd(), "TMyGrid"), "scrollbar");
}

}  // namespace
