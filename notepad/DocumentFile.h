// The bytes of the notepad's plain-text documents: reading a file whole, turning its bytes
// into the editor's UTF-16 text and back without changing any byte that the ANSI code page
// cannot map (or, for a file with a byte-order mark, in the Unicode form the mark names),
// and writing a file so that a failed write never harms the file it replaces.
// What the editor does with the text, and every question to the user, stay with the form.
#pragma once
#include <string>

namespace document {

// A byte that the ANSI code page cannot turn into a character (a lead byte without a valid
// trail byte, a byte the code page leaves unmapped), and a NUL byte, where the editor's text
// would end, travel through the editor as the private-use character kKeptByteBase + byte,
// and are written back as that byte.  No code page the programs run under maps any
// character to this range.
constexpr wchar_t kKeptByteBase = 0xF700;

// How a plain-text file stores its characters: 8-bit text in the ANSI code page, or the
// Unicode form its byte-order mark names.  A document is written back in the form it was
// read in, so that no character is lost to the code page.
enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The form the file's byte-order mark names, when everything after the mark is text in
// that form (whole UTF-16 characters, or UTF-8 that converts back to the same bytes) with
// no NUL, where the editor's text would end.  Any other file is Ansi, whose decoding keeps
// every byte.
TextEncoding EncodingOf(const std::string& bytes);

// The file's bytes as text.  Ansi: in the calling thread's ANSI code page, every byte that
// does not come back unchanged through the code page kept as above.  A Unicode form: the
// characters after the mark.
std::wstring DecodeText(const std::string& bytes, TextEncoding encoding = TextEncoding::Ansi);
// The text as file bytes, every line ended by CR LF (a CR, an LF or a CR LF ends a line; a
// last line without an end gets one).  Ansi: characters in the ANSI code page (without a
// mapping: the code page's default character), kept bytes as they were.  A Unicode form:
// its byte-order mark, then every character in that form.
std::string EncodeText(const std::wstring& text, TextEncoding encoding = TextEncoding::Ansi);
// How many bytes of DecodeText's result are kept bytes.
size_t CountKeptBytes(const std::wstring& text);

// The whole file; raises Exception when it cannot be opened or read, or when its name
// stands for a device.
std::string ReadFileBytes(const std::string& fileName);
// Writes the bytes to a new file beside fileName and then puts it in fileName's place, so
// that the old file stays whole when the write fails (disk full, no access).  Raises
// Exception on failure; the temporary file is gone by then.
void WriteFileReplacing(const std::string& fileName, const std::string& bytes);

}  // namespace document
