// The bytes of plain-text documents: decoding keeps every byte the code page cannot map,
// encoding writes it back and ends every line with CR LF.  The tests run in code page 936.
#include <gtest/gtest.h>

#include <windows.h>

#include "DocumentFile.h"

namespace {

struct CodecRow {
    const char* name;
    std::string bytes;
    std::string saved;   // EncodeText(DecodeText(bytes))
    size_t keptBytes;  // kAnyCount: not checked
};

// Whether the platform's code page maps 0x80 and 0xFF (one byte each) differs between
// systems; their bytes survive either way.
constexpr size_t kAnyCount = static_cast<size_t>(-1);

std::string b(const char* s, size_t n) { return std::string(s, n); }

}  // namespace

TEST(DocumentFile, DecodeEncode_Table) {
    ASSERT_EQ(936u, GetACP()) << "these rows are GBK";
    const CodecRow rows[] = {
        {"empty", "", "", 0},
        {"ascii with CR LF", "ab\r\ncd\r\n", "ab\r\ncd\r\n", 0},
        {"last line without an end", "ab", "ab\r\n", 0},
        {"LF and lone CR become CR LF", "a\nb\rc", "a\r\nb\r\nc\r\n", 0},
        {"empty lines kept", "\r\n\r\nx\r\n", "\r\n\r\nx\r\n", 0},
        {"GBK characters", "\xd6\xd0\xce\xc4\r\n", "\xd6\xd0\xce\xc4\r\n", 0},
        {"lead byte before a blank keeps the blank", "\x81\x20" "A", "\x81\x20" "A\r\n", 1},
        {"lead byte before DEL keeps DEL", "\xa1\x7f", "\xa1\x7f\r\n", 1},
        {"lead byte at the end", "x\x81", "x\x81\r\n", 1},
        {"lead byte before a line end", "\x81\r\nx", "\x81\r\nx\r\n", 1},
        {"the report's bytes",
         b("\xba\xc3\x81\x20\x41\xff\x42\x80\xa1\x7f\xd6\xd0\x0d\x0a\xbd\xe1\xca\xf8\x81", 19),
         b("\xba\xc3\x81\x20\x41\xff\x42\x80\xa1\x7f\xd6\xd0\x0d\x0a\xbd\xe1\xca\xf8\x81\x0d\x0a", 21), kAnyCount},
        {"NUL byte", b("a\0b", 3), b("a\0b\r\n", 5), 1},
    };
    for (const CodecRow& row : rows) {
        const std::wstring text = document::DecodeText(row.bytes);
        EXPECT_EQ(row.saved, document::EncodeText(text)) << row.name;
        if (row.keptBytes != kAnyCount) {
            EXPECT_EQ(row.keptBytes, document::CountKeptBytes(text)) << row.name;
        }
    }
}

TEST(DocumentFile, Decode_GoodTextIsTheCodePagesOwn) {
    EXPECT_EQ(L"\u4e2d\u6587 ab", document::DecodeText("\xd6\xd0\xce\xc4 ab"));
    EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(document::kKeptByteBase + 0x81)) + L" ", document::DecodeText("\x81 "));
}

TEST(DocumentFile, Encode_CharactersWithoutMappingBecomeTheDefaultCharacter) {
    EXPECT_EQ("a?b\r\n", document::EncodeText(L"a\u0e01b"));  // a Thai letter has no GBK form
}
