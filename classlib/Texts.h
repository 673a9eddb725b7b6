// Text conversions of the class library, in one place.  User texts are 8-bit strings in
// the GBK code page (936) at run time; the platform hands out UTF-16; form descriptions
// are stored as UTF-8.
#pragma once
#include <string>

namespace texts {

constexpr unsigned kGbk = 936;

// UTF-16 to 8-bit text in the calling thread's ANSI code page (GBK on the systems the
// programs are written for).  Characters without a mapping become the code page's
// default character.
std::string WideToAnsi(const std::wstring& text);
std::wstring AnsiToWide(const std::string& text);

// Explicit code pages.
std::string WideToCodePage(const std::wstring& text, unsigned codePage);
std::wstring CodePageToWide(const std::string& text, unsigned codePage);

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// UTF-8 (form descriptions, scripts) to GBK user text.
std::string Utf8ToGbk(const std::string& text);
std::string GbkToUtf8(const std::string& text);

std::string Trim(const std::string& s);
std::wstring Trim(const std::wstring& s);
std::string UpperCase(std::string s);   // ASCII letters only, as the platform's UpperCase
std::string LowerCase(std::string s);
bool SameText(const std::string& a, const std::string& b);  // ASCII case-insensitive

// The system's text for an error code (a Win32 error or an HRESULT), in the thread's ANSI
// code page or in UTF-16, without its line end; it keeps its own full stop.  Empty when the
// system has no text for the code.
std::string SystemErrorText(unsigned long code);
std::wstring SystemErrorTextW(unsigned long code);

// Whether a sentence already ends with a stop: ".", "!", "?" or their full-width forms
// ("。", "．", "！", "？"; GBK bytes in the 8-bit form).  WithStop adds "." to a non-empty
// text that has none.
bool EndsWithStop(const std::string& text);
bool EndsWithStop(const std::wstring& text);
std::string WithStop(std::string text);
std::wstring WithStop(std::wstring text);

}  // namespace texts
