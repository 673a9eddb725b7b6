#include "DocumentFile.h"

#include <windows.h>

#include <algorithm>

#include "Classes.h"
#include "Handles.h"
#include "Texts.h"

namespace document {
namespace {

// Conversions of whole runs: the common case of a file the code page maps completely
// costs one conversion each way.
std::wstring toWide(const char* s, size_t n, DWORD flags = 0, UINT codePage = CP_THREAD_ACP) {
    if (n == 0) return {};
    const int len = MultiByteToWideChar(codePage, flags, s, static_cast<int>(n), nullptr, 0);
    if (len <= 0) return {};
    std::wstring out(static_cast<size_t>(len), L'\0');
    MultiByteToWideChar(codePage, flags, s, static_cast<int>(n), out.data(), len);
    return out;
}

void appendBytes(std::string& out, const wchar_t* s, size_t n, UINT codePage = CP_THREAD_ACP) {
    if (n == 0) return;
    const int len = WideCharToMultiByte(codePage, 0, s, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    if (len <= 0) return;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(len));
    WideCharToMultiByte(codePage, 0, s, static_cast<int>(n), out.data() + at, len, nullptr, nullptr);
}

// The byte-order marks, in the order they are looked for.
struct Mark {
    TextEncoding encoding;
    const char* bytes;
    size_t size;
};
constexpr Mark kMarks[] = {
    {TextEncoding::Utf8, "\xEF\xBB\xBF", 3},
    {TextEncoding::Utf16Le, "\xFF\xFE", 2},
    {TextEncoding::Utf16Be, "\xFE\xFF", 2},
};

const Mark* markAtStart(const std::string& bytes) {
    for (const Mark& mark : kMarks)
        if (bytes.compare(0, mark.size, mark.bytes, mark.size) == 0) return &mark;
    return nullptr;
}

const Mark& markOf(TextEncoding encoding) {
    for (const Mark& mark : kMarks)
        if (mark.encoding == encoding) return mark;
    return kMarks[0];
}

std::wstring utf16Text(const char* s, size_t n, TextEncoding encoding) {
    const bool bigEndian = encoding == TextEncoding::Utf16Be;
    std::wstring out(n / 2, L'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        const unsigned first = static_cast<unsigned char>(s[2 * i]), second = static_cast<unsigned char>(s[2 * i + 1]);
        out[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return out;
}

void appendUtf16(std::string& out, const std::wstring& text, TextEncoding encoding) {
    const bool bigEndian = encoding == TextEncoding::Utf16Be;
    out.reserve(out.size() + text.size() * 2);
    for (const wchar_t c : text) {
        const char high = static_cast<char>((c >> 8) & 0xFF), low = static_cast<char>(c & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
}

// Every line ended by CR LF: a CR, an LF or a CR LF ends a line, and a last line without an
// end gets one.  In 8-bit text no byte of a double-byte character is a CR or an LF, and kept
// bytes never are, so line ends can be found in the bytes.
template <class Text>
Text withCrLf(const Text& raw) {
    using Char = typename Text::value_type;
    const Char cr = '\r', lf = '\n';
    Text out;
    out.reserve(raw.size() + raw.size() / 32 + 2);
    const size_t n = raw.size();
    for (size_t i = 0; i < n; ++i) {
        const Char c = raw[i];
        if (c != cr && c != lf) {
            out += c;
            continue;
        }
        if (c == cr && i + 1 < n && raw[i + 1] == lf) ++i;
        out += cr;
        out += lf;
    }
    if (!out.empty() && out.back() != lf) {  // the last line had no end
        out += cr;
        out += lf;
    }
    return out;
}

bool isKeptByte(wchar_t c) { return c >= kKeptByteBase && c <= kKeptByteBase + 0xFF; }

// A character decoding may not give the editor: one of the kept range, which would be
// written back as a byte, or a NUL, where the editor's text would end.
bool keptOrNul(wchar_t c) { return c == L'\0' || isKeptByte(c); }

// True when the characters of bytes [s, s + n) come back as the same bytes.
bool roundTrips(const char* s, size_t n, const std::wstring& wide, UINT codePage = CP_THREAD_ACP) {
    if (n > 0 && wide.empty()) return false;
    std::string back;
    appendBytes(back, wide.data(), wide.size(), codePage);
    return back.size() == n && std::equal(back.begin(), back.end(), s);
}

// One character at a time: a character (one byte, or a lead byte with its trail byte) that
// comes back unchanged is taken; otherwise its first byte is kept and decoding goes on
// after that byte, so a valid byte after a bad lead byte is never swallowed.
void decodeSlowly(const char* s, size_t n, std::wstring& out) {
    const UINT acp = GetACP();
    size_t i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        const size_t len = (IsDBCSLeadByteEx(acp, b) && i + 1 < n) ? 2 : 1;
        const std::wstring ch = toWide(s + i, len, MB_ERR_INVALID_CHARS);
        if (!ch.empty() && !std::any_of(ch.begin(), ch.end(), keptOrNul) && roundTrips(s + i, len, ch)) {
            out += ch;
            i += len;
        } else {
            out += static_cast<wchar_t>(kKeptByteBase + b);
            ++i;
        }
    }
}

std::string lastErrorText() {
    const DWORD code = GetLastError();
    std::string text = texts::SystemErrorText(code);
    return text.empty() ? "错误代码 " + std::to_string(code) + "。" : text;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    if (slash == std::string::npos) return ".";
    return path.substr(0, slash + (path[slash] == ':' ? 1 : 0));
}

}  // namespace

TextEncoding EncodingOf(const std::string& bytes) {
    const Mark* mark = markAtStart(bytes);
    if (!mark) return TextEncoding::Ansi;
    const char* s = bytes.data() + mark->size;
    const size_t n = bytes.size() - mark->size;
    bool whole = false;
    if (mark->encoding == TextEncoding::Utf8) {
        const std::wstring text = toWide(s, n, MB_ERR_INVALID_CHARS, CP_UTF8);
        whole = roundTrips(s, n, text, CP_UTF8) && text.find(L'\0') == std::wstring::npos;
    } else {
        whole = n % 2 == 0;
        for (size_t i = 0; whole && i < n; i += 2) whole = s[i] != 0 || s[i + 1] != 0;
    }
    return whole ? mark->encoding : TextEncoding::Ansi;
}

std::wstring DecodeText(const std::string& bytes, TextEncoding encoding) {
    if (encoding != TextEncoding::Ansi) {
        const size_t skip = std::min(bytes.size(), markOf(encoding).size);
        if (encoding == TextEncoding::Utf8) return toWide(bytes.data() + skip, bytes.size() - skip, 0, CP_UTF8);
        return utf16Text(bytes.data() + skip, bytes.size() - skip, encoding);
    }
    // The whole file at once first: a file the code page maps completely costs one
    // conversion each way.
    std::wstring whole = toWide(bytes.data(), bytes.size());
    if (!std::any_of(whole.begin(), whole.end(), keptOrNul) && roundTrips(bytes.data(), bytes.size(), whole)) return whole;
    whole.clear();
    whole.shrink_to_fit();
    std::wstring out;
    out.reserve(bytes.size());
    // Then line by line, so that a bad byte sends only its own line the slow way.
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        const char* s = bytes.data() + start;
        const size_t n = end - start;
        const std::wstring wide = toWide(s, n);
        if (!std::any_of(wide.begin(), wide.end(), keptOrNul) && roundTrips(s, n, wide))
            out += wide;
        else
            decodeSlowly(s, n, out);
        start = end;
    }
    return out;
}

std::string EncodeText(const std::wstring& text, TextEncoding encoding) {
    if (encoding != TextEncoding::Ansi) {
        const std::wstring lines = withCrLf(text);
        const Mark& mark = markOf(encoding);
        std::string out(mark.bytes, mark.size);
        if (encoding == TextEncoding::Utf8)
            appendBytes(out, lines.data(), lines.size(), CP_UTF8);
        else
            appendUtf16(out, lines, encoding);
        return out;
    }
    std::string raw;
    raw.reserve(text.size() + text.size() / 2);
    size_t run = 0;  // start of the characters not yet converted
    for (size_t i = 0; i < text.size(); ++i) {
        if (!isKeptByte(text[i])) continue;
        appendBytes(raw, text.data() + run, i - run);
        raw += static_cast<char>(text[i] - kKeptByteBase);
        run = i + 1;
    }
    appendBytes(raw, text.data() + run, text.size() - run);
    return withCrLf(raw);
}

size_t CountKeptBytes(const std::wstring& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), isKeptByte));
}

std::string ReadFileBytes(const std::string& fileName) {
    UniqueKernelHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) throw Exception("无法打开文件 " + fileName + " 。" + lastErrorText());
    // A name the system takes for a device ("nul.txt", "con.txt" in any folder) reads the
    // device, not the file of that name: an empty document that would look like the file.
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        throw Exception("无法打开文件 " + fileName + " 。这个名称代表一个设备，而不是文件。");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw Exception("无法读取文件 " + fileName + " 。" + lastErrorText());
    if (size.QuadPart >= (1LL << 31)) throw Exception("文件 " + fileName + " 太大，无法打开。");
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!data.empty() && !ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr))
        throw Exception("无法读取文件 " + fileName + " 。" + lastErrorText());
    data.resize(got);
    return data;
}

void WriteFileReplacing(const std::string& fileName, const std::string& bytes) {
    char temp[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(fileName).c_str(), "qlt", 0, temp))
        throw Exception("无法创建文件 " + fileName + " 。" + lastErrorText());
    const std::string tempName = temp;
    struct TempGuard {
        const std::string& name;
        bool keep = false;
        ~TempGuard() { if (!keep) DeleteFileA(name.c_str()); }
    } guard{tempName};
    {
        UniqueKernelHandle file(CreateFileA(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) throw Exception("无法创建文件 " + fileName + " 。" + lastErrorText());
        size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            DWORD written = 0;
            if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written != chunk)
                throw Exception("写入文件 " + fileName + " 时出错。" + lastErrorText());
            done += chunk;
        }
        if (!FlushFileBuffers(file.get())) throw Exception("写入文件 " + fileName + " 时出错。" + lastErrorText());
    }
    // Renamed over the old file, which keeps its attributes.  (ReplaceFile would keep its
    // security too, but Wine's leaves a temporary file of its own behind when it fails.)
    const DWORD attributes = GetFileAttributesA(fileName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(tempName.c_str(), attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    if (!MoveFileExA(tempName.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw Exception("无法创建文件 " + fileName + " 。" + lastErrorText());
    guard.keep = true;
}

}  // namespace document
