// The bytes of the notepad's plain-text documents: reading a file whole, turning its bytes
// into the editor's UTF-16 text and back without changing any byte that the ANSI code page
// cannot map, and writing a file so that a failed write never harms the file it replaces.
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

// The file's bytes in the calling thread's ANSI code page as text; every byte that does not
// come back unchanged through the code page is kept as above.
std::wstring DecodeText(const std::string& bytes);
// The text as file bytes: characters in the ANSI code page (without a mapping: the code
// page's default character), kept bytes as they were, and every line ended by CR LF (a CR,
// an LF or a CR LF ends a line; a last line without an end gets one).
std::string EncodeText(const std::wstring& text);
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
