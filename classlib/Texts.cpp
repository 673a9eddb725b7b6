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

}  // namespace texts
