#include "Texts.h"

#include <windows.h>

#include <algorithm>

namespace texts {
namespace {

std::string fromWide(const std::wstring& text, UINT cp) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring toWide(const std::string& text, UINT cp) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace

std::string WideToAnsi(const std::wstring& text) { return fromWide(text, CP_THREAD_ACP); }
std::wstring AnsiToWide(const std::string& text) { return toWide(text, CP_THREAD_ACP); }
std::string WideToCodePage(const std::wstring& text, unsigned codePage) { return fromWide(text, codePage); }
std::wstring CodePageToWide(const std::string& text, unsigned codePage) { return toWide(text, codePage); }
std::wstring Utf8ToWide(const std::string& text) { return toWide(text, CP_UTF8); }
std::string WideToUtf8(const std::wstring& text) { return fromWide(text, CP_UTF8); }
std::string Utf8ToGbk(const std::string& text) { return fromWide(Utf8ToWide(text), kGbk); }
std::string GbkToUtf8(const std::string& text) { return WideToUtf8(toWide(text, kGbk)); }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ') ++b;
    while (e > b && s[e - 1] <= L' ') --e;
    return s.substr(b, e - b);
}

std::string UpperCase(std::string s) {
    for (char& c : s) if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string LowerCase(std::string s) {
    for (char& c : s) if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool SameText(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

std::string SystemErrorText(unsigned long code) {
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : std::string();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    return text;
}

std::wstring SystemErrorTextW(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && text.back() <= L' ') text.pop_back();
    return text;
}

bool EndsWithStop(const std::wstring& text) {
    if (text.empty()) return false;
    switch (text.back()) {
    case L'.': case L'!': case L'?':
    case 0x3002: case 0xFF0E: case 0xFF01: case 0xFF1F:  // 。．！？
        return true;
    default:
        return false;
    }
}

bool EndsWithStop(const std::string& text) {
    if (text.empty()) return false;
    const char last = text.back();
    if (last == '.' || last == '!' || last == '?') return true;
    // A full-width stop is two bytes: look at the last character only.
    if (text.size() < 2 || static_cast<unsigned char>(text[text.size() - 2]) < 0x81) return false;
    return EndsWithStop(AnsiToWide(text.substr(text.size() - 2)));
}

std::string WithStop(std::string text) {
    if (!text.empty() && !EndsWithStop(text)) text += '.';
    return text;
}

std::wstring WithStop(std::wstring text) {
    if (!text.empty() && !EndsWithStop(text)) text += L'.';
    return text;
}

}  // namespace texts
