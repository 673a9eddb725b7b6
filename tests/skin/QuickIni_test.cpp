// The definition text reader and the colour text: line breaks, trimming, comments, case,
// duplicates, empty values, integer forms and the two- and three-number colour rules.
#include "QuickIni.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TQuickIni Ini(const std::string& text) {
    TQuickIni ini;
    ini.LoadFromStream(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return ini;
}

TEST(TQuickIni_Lines, BreaksInAnyOrder) {
    const TQuickIni ini = Ini("[s]\r\na=1\rb=2\nc=3\n\rd=4\r\r\ne=5");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[s]", "a=1", "b=2", "c=3", "d=4", "e=5"}));
    EXPECT_EQ(ini.ReadString("s", "e", "?"), "5");  // last line without a break
}

TEST(TQuickIni_Lines, BlanksAndControlCharactersTrimmed) {
    const TQuickIni ini = Ini("  [s]\t\r\n\x01\x1f  key = a value  \x7f\r\n \t \r\n");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[s]", "key = a value  \x7f"}));
}

TEST(TQuickIni_Lines, CommentsOnlyAtLineStart) {
    const TQuickIni ini = Ini("[s]\n; a=1\n   ;b=2\nc=3 ; not a comment\n#d=4\n");
    EXPECT_EQ(ini.ReadString("s", "a", "-"), "-");
    EXPECT_EQ(ini.ReadString("s", "b", "-"), "-");
    EXPECT_EQ(ini.ReadString("s", "c", "-"), "3 ; not a comment");
    EXPECT_EQ(ini.ReadString("s", "#d", "-"), "4");
}

TEST(TQuickIni_Lines, NulEndsTheText) {
    const std::string text("[s]\na=1\0\nb=2\n", 13);
    const TQuickIni ini = Ini(text);
    EXPECT_EQ(ini.ReadString("s", "a", "-"), "1");
    EXPECT_EQ(ini.ReadString("s", "b", "-"), "-");
    EXPECT_EQ(Ini(std::string("a\0b", 3)).Lines(), (std::vector<std::string>{"a"}));
}

TEST(TQuickIni_Lines, NullStreamChangesNothing) {
    TQuickIni ini = Ini("[s]\na=1\n");
    ini.LoadFromStream(nullptr, 5);
    EXPECT_EQ(ini.ReadString("s", "a", "-"), "1");
    ini.LoadFromStream(reinterpret_cast<const uint8_t*>(""), 0);
    EXPECT_EQ(ini.ReadString("s", "a", "-"), "-");
}

TEST(TQuickIni_ReadString, CaseAndBlanksAroundKeyAndValue) {
    const TQuickIni ini = Ini("[Title]\n  TextColour  =   255 0 Red  \n");
    EXPECT_EQ(ini.ReadString("title", "textcolour", "-"), "255 0 Red");
    EXPECT_EQ(ini.ReadString("TITLE", "TEXTCOLOUR", "-"), "255 0 Red");
}

TEST(TQuickIni_ReadString, FirstKeyWinsEvenWhenEmpty) {
    const TQuickIni ini = Ini("[s]\na=first\nA=second\nb=\nb=later\n");
    EXPECT_EQ(ini.ReadString("s", "a", "-"), "first");
    EXPECT_EQ(ini.ReadString("s", "b", "dflt"), "dflt");  // empty value: default, search ends
}

TEST(TQuickIni_ReadString, LinesWithoutEqualsNeverMatch) {
    const TQuickIni ini = Ini("[s]\njustakey\n=orphan\nk=v\n");
    EXPECT_EQ(ini.ReadString("s", "justakey", "-"), "-");
    EXPECT_EQ(ini.ReadString("s", "", "-"), "-");
    EXPECT_EQ(ini.ReadString("s", "k", "-"), "v");
    EXPECT_EQ(TQuickIni::KeyOfLine("justakey"), "");
    EXPECT_EQ(TQuickIni::KeyOfLine(" Key = v=w "), "key");
    EXPECT_EQ(TQuickIni::ValueOfLine(" Key = v=w ", "key"), "v=w");
    EXPECT_EQ(TQuickIni::ValueOfLine("a=b", ""), "");
    EXPECT_EQ(TQuickIni::ValueOfLine("a=b", "c"), "");
}

TEST(TQuickIni_ReadString, OnlyTheNamedSection) {
    const TQuickIni ini = Ini("a=outside\n[one]\nb=1\n[two]\na=2\n");
    EXPECT_EQ(ini.ReadString("one", "a", "-"), "-");  // stops at [two]
    EXPECT_EQ(ini.ReadString("two", "a", "-"), "2");
    EXPECT_EQ(ini.ReadString("three", "a", "-"), "-");
    EXPECT_EQ(Ini("").ReadString("one", "b", "-"), "-");
}

TEST(TQuickIni_Sections, DuplicateHeadersFirstWins) {
    const TQuickIni ini = Ini("[Button]\nx=1\n[BUTTON]\nx=2\ny=3\n");
    EXPECT_EQ(ini.ReadString("button", "x", "-"), "1");
    EXPECT_EQ(ini.ReadString("button", "y", "-"), "-");
    EXPECT_EQ(ini.SectionIndex("Button"), 0);
    EXPECT_EQ(ini.SectionIndex("bUTTON"), 0);
}

TEST(TQuickIni_Sections, BlanksInsideBracketsAreNotTheBareName) {
    const TQuickIni ini = Ini("[ Menu ]\nx=1\n");
    EXPECT_EQ(ini.SectionIndex("Menu"), -1);
    EXPECT_EQ(ini.SectionIndex(" Menu "), 0);
    std::vector<std::string> names{"stale"};
    ini.ReadSections(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Menu"}));
}

TEST(TQuickIni_Sections, ReadSectionsInFileOrderWithDuplicates) {
    const TQuickIni ini = Ini("[A]\n[b]\nx=1\n[A]\n[]\n");
    std::vector<std::string> names;
    ini.ReadSections(names);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "A", ""}));
    EXPECT_EQ(ini.SectionIndex("b"), 1);
    EXPECT_TRUE(TQuickIni::IsSectionLine(" [x] "));
    EXPECT_FALSE(TQuickIni::IsSectionLine("[x"));
    EXPECT_FALSE(TQuickIni::IsSectionLine(""));
}

TEST(TQuickIni_ReadInteger, DecimalAndHexForms) {
    const TQuickIni ini = Ini(
        "[s]\ndec=42\nneg=-7\nplus=+5\nhex1=0x1F\nhex2=0X1f\nhex3=$1F\nbare=1F\n"
        "word=abc\nempty=\nzero=0x\nbig=2147483648\nmin=-2147483648\nallf=$FFFFFFFF\nlong=$100000000\n");
    EXPECT_EQ(ini.ReadInteger("s", "dec", -1), 42);
    EXPECT_EQ(ini.ReadInteger("s", "neg", -1), -7);
    EXPECT_EQ(ini.ReadInteger("s", "plus", -1), 5);
    EXPECT_EQ(ini.ReadInteger("s", "hex1", -1), 31);
    EXPECT_EQ(ini.ReadInteger("s", "hex2", -1), 31);
    EXPECT_EQ(ini.ReadInteger("s", "hex3", -1), 31);
    EXPECT_EQ(ini.ReadInteger("s", "bare", -1), -1);
    EXPECT_EQ(ini.ReadInteger("s", "word", -1), -1);
    EXPECT_EQ(ini.ReadInteger("s", "empty", -1), -1);
    EXPECT_EQ(ini.ReadInteger("s", "zero", -1), -1);  // "0x" alone is too short to be hex
    EXPECT_EQ(ini.ReadInteger("s", "missing", 9), 9);
    EXPECT_EQ(ini.ReadInteger("s", "big", -1), -1);
    EXPECT_EQ(ini.ReadInteger("s", "min", 0), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("s", "allf", 0), -1);
    EXPECT_EQ(ini.ReadInteger("s", "long", 0), 0);
}

TEST(ParseRGB_Numbers, ThreeNumbersAnySeparator) {
    EXPECT_EQ(ParseRGB("255 255 255"), 0xFFFFFFu);
    EXPECT_EQ(ParseRGB("1,2,3"), 0x030201u);
    EXPECT_EQ(ParseRGB("  10 ; 20 x 30  "), 0x1E140Au);
    EXPECT_EQ(ParseRGB("-1 +2 -3"), 0x030201u);  // signs only separate
}

TEST(ParseRGB_Numbers, TwoNumbersGiveRedOnlyOneGivesBlack) {
    EXPECT_EQ(ParseRGB("200 100"), 0x0000C8u);
    EXPECT_EQ(ParseRGB("200"), 0u);
    EXPECT_EQ(ParseRGB(" 200 100 "), 0x0000C8u);  // blanks at the ends are trimmed first
    EXPECT_EQ(ParseRGB("200 100,"), 0x0064C8u);  // a separator after it stores the second
    EXPECT_EQ(ParseRGB("no digits"), 0u);
    EXPECT_EQ(ParseRGB(""), 0u);
}

TEST(ParseRGB_Numbers, LowBytesAndExtraNumbers) {
    EXPECT_EQ(ParseRGB("256 300 511"), 0xFF2C00u);
    EXPECT_EQ(ParseRGB("1 2 3 4 5"), 0x030201u);
    EXPECT_EQ(ParseRGB("007 008 009"), 0x090807u);
}

TEST(ParseRGB_Numbers, HugeNumberKeepsChannelsBeforeIt) {
    EXPECT_EQ(ParseRGB("12 99999999999 34"), 0x00000Cu);
    EXPECT_EQ(ParseRGB("99999999999 1 2"), 0u);
}

TEST(ReadColor_Text, EmptyGivesDefault) {
    EXPECT_EQ(ReadColor("", 0xFF00000Fu), 0xFF00000Fu);
    EXPECT_EQ(ReadColor("x", 0xFF00000Fu), 0u);
    EXPECT_EQ(ReadColor("1 2 3", 0xFF00000Fu), 0x030201u);
    // Through the reader a value of blanks is empty, so it gives the default too.
    const TQuickIni ini = Ini("[c]\nface=   \n");
    EXPECT_EQ(ReadColor(ini.ReadString("c", "face", ""), 0x123456u), 0x123456u);
}

}  // namespace
