#include <gtest/gtest.h>

#include "Texts.h"

TEST(Texts_WideToAnsi, ChinesePhraseGivesGbkBytes) {
    // The thread's ANSI code page is 936 in the test prefix.
    EXPECT_EQ(std::string("\xD6\xD0\xCE\xC4"), texts::WideToAnsi(L"中文"));
    EXPECT_EQ(std::string("\xD3\xEF\xD2\xF4\xCA\xE4\xC8\xEB\xA3\xBA\xD2\xD1\xBF\xAA\xCA\xBC"),
              texts::WideToAnsi(L"语音输入：已开始"));
}

TEST(Texts_Literals, NarrowLiteralsAreGbk) {
    EXPECT_EQ(std::string("\xD6\xD0\xCE\xC4"), std::string("中文"));
}

TEST(Texts_RoundTrip, Utf8ToGbkAndBack) {
    const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87" "abc";  // 中文abc in UTF-8
    EXPECT_EQ(std::string("\xD6\xD0\xCE\xC4" "abc"), texts::Utf8ToGbk(utf8));
    EXPECT_EQ(utf8, texts::GbkToUtf8(texts::Utf8ToGbk(utf8)));
    EXPECT_EQ(std::wstring(L"中文"), texts::AnsiToWide("\xD6\xD0\xCE\xC4"));
}

TEST(Texts_WideToAnsi, UnmappableCharacterBecomesDefaultCharacter) {
    // U+20AC has no GBK mapping in code page 936's best-fit table under every platform;
    // whatever the platform chooses, the result is one or two bytes, never empty.
    std::string s = texts::WideToAnsi(L"a\x0E01" L"b");  // a Thai letter: not in GBK
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ('a', s.front());
    EXPECT_EQ('b', s.back());
}

TEST(Texts_Trim, RemovesControlsAndBlanks) {
    EXPECT_EQ("ab c", texts::Trim(std::string(" \t\r\nab c \r\n")));
    EXPECT_EQ(L"ab", texts::Trim(std::wstring(L"  ab\t")));
    EXPECT_EQ("", texts::Trim(std::string("   ")));
}
