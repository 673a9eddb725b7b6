#include "RichEdit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Printers.h"
#include "Texts.h"

const TEnumNames SearchTypeNames{{{"stWholeWord", stWholeWord}, {"stMatchCase", stMatchCase}}};

namespace {

constexpr UINT kCodePageUtf16 = 1200;
// Search flags of EM_FINDTEXTEX, as the common dialogs' header numbers them (that header
// is left out here: it defines FindText as a macro).
constexpr WPARAM kFindDown = 0x1, kFindWholeWord = 0x2, kFindMatchCase = 0x4;

// The rich text control lives in riched20.dll, loaded once for the process.
void loadRichEditLibrary() {
    static UniqueModule module(LoadLibraryA("riched20.dll"));
    if (!module) throw Exception("The rich edit control (riched20.dll) is not available");
}

bool isRichText(const std::string& data) { return data.compare(0, 5, "{\\rtf") == 0; }

int screenLogPixelsY() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

// Stream callbacks: the platform calls them back, so they never throw.
struct InStream {
    const char* data;
    size_t size;
    size_t pos;
    bool utf16;  // plain UTF-16 text: cut only between whole characters and line ends
};

DWORD CALLBACK streamInProc(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* in = reinterpret_cast<InStream*>(cookie);
    size_t n = std::min(static_cast<size_t>(std::max<LONG>(size, 0)), in->size - in->pos);
    if (in->utf16 && n < in->size - in->pos) {
        // Wine's rich edit reads a CR at the end of one buffer and the LF at the start of
        // the next as two paragraph breaks: a CR LF (or a surrogate pair) stays together.
        n &= ~static_cast<size_t>(1);
        const auto* text = reinterpret_cast<const wchar_t*>(in->data + in->pos);
        const size_t chars = n / sizeof(wchar_t);
        if (chars > 1 && ((text[chars - 1] == L'\r' && text[chars] == L'\n') || IS_HIGH_SURROGATE(text[chars - 1])))
            n -= sizeof(wchar_t);
    }
    if (n) memcpy(buffer, in->data + in->pos, n);
    in->pos += n;
    *done = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK streamOutProc(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    try {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
        *done = size;
        return 0;
    } catch (...) {
        *done = 0;
        return 1;
    }
}

std::string readFile(const std::string& fileName) {
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw Exception("无法打开文件 " + fileName + " 。");
    UniqueKernelHandle file(h);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size) || size.QuadPart >= (1LL << 31)) throw Exception("无法读取文件 " + fileName + " 。");
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!data.empty() && !ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr))
        throw Exception("无法读取文件 " + fileName + " 。");
    data.resize(got);
    return data;
}

void writeFile(const std::string& fileName, const std::string& data) {
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw Exception("无法创建文件 " + fileName + " 。");
    UniqueKernelHandle file(h);
    DWORD written = 0;
    if (!WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) || written != data.size())
        throw Exception("写入文件 " + fileName + " 时出错。");
}

// A paragraph of the control's text: its first character and its length, in positions.
struct Paragraph {
    LONG start;
    LONG length;
};

// Paragraph breaks are one character in the control's positions (CR); LF and CR LF are
// accepted too, each break counted as the characters it has.
std::vector<Paragraph> paragraphsOf(const std::wstring& text) {
    std::vector<Paragraph> paras;
    LONG start = 0;
    const LONG n = static_cast<LONG>(text.size());
    for (LONG i = 0; i < n; ++i) {
        if (text[static_cast<size_t>(i)] != L'\r' && text[static_cast<size_t>(i)] != L'\n') continue;
        paras.push_back({start, i - start});
        if (text[static_cast<size_t>(i)] == L'\r' && i + 1 < n && text[static_cast<size_t>(i) + 1] == L'\n') ++i;
        start = i + 1;
    }
    if (start < n) paras.push_back({start, n - start});  // a last paragraph without a break
    return paras;
}

void checkIndex(int index, size_t count) {
    if (index < 0 || static_cast<size_t>(index) >= count)
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

// Prints text with the editor's font, wrapped to the page width, page after page: for a
// rich text control that cannot format pages itself (EM_FORMATRANGE answers nothing, as
// Wine's does).  Formatting is lost; the words all arrive.
void printPlainText(TPrinter& printer, const std::wstring& text, TFont& font) {
    HDC dc = printer.Handle();
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(std::abs(font.Height()), GetDeviceCaps(dc, LOGPIXELSY), screenLogPixelsY());
    lf.lfWeight = (font.Style() & (1u << fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.Style() & (1u << fsItalic)) ? 1 : 0;
    lf.lfUnderline = (font.Style() & (1u << fsUnderline)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(font.Charset());
    lstrcpynW(lf.lfFaceName, texts::AnsiToWide(font.Name()).c_str(), LF_FACESIZE);
    UniqueFont printFont(CreateFontIndirectW(&lf));
    const COLORREF colour = font.Color() == clWindowText ? RGB(0, 0, 0) : ColorToRGB(font.Color());
    // Page attributes may start afresh with each page: set them on every page.
    auto preparePage = [&] {
        if (printFont) SelectObject(dc, printFont.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colour);
    };
    preparePage();
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int lineHeight = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
    const int width = printer.PageWidth(), height = printer.PageHeight();
    std::vector<std::wstring> paragraphs(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            paragraphs.emplace_back();
        } else {
            paragraphs.back() += c == L'\t' ? L' ' : c;
        }
    }
    if (paragraphs.size() > 1 && paragraphs.back().empty()) paragraphs.pop_back();
    int y = 0;
    for (const std::wstring& p : paragraphs) {
        size_t pos = 0;
        do {
            const wchar_t* s = p.c_str() + pos;
            const int remaining = static_cast<int>(p.size() - pos);
            const int n = std::min(remaining, 2048);  // a printed line never holds more: measure no further
            int fit = 0;
            SIZE size{};
            if (n > 0) GetTextExtentExPointW(dc, s, n, width, &fit, nullptr, &size);
            int take = n > 0 ? std::max(1, fit) : 0;
            if (take < remaining) {  // wrap after the last blank that fits, if there is one
                for (int i = take; i > 0; --i)
                    if (s[i] == L' ') { take = i; break; }
            }
            if (y > 0 && y + lineHeight > height) {
                printer.NewPage();
                preparePage();
                y = 0;
            }
            if (take > 0) TextOutW(dc, 0, y, s, take);
            y += lineHeight;
            pos += static_cast<size_t>(take);
            while (pos < p.size() && take < remaining && p[pos] == L' ') ++pos;
        } while (pos < p.size());
    }
    SelectObject(dc, GetStockObject(SYSTEM_FONT));  // the font is freed here, not by the page
}

}  // namespace

// The lines of a rich edit are its paragraphs.  With a window, lines are changed in place
// (other paragraphs keep their formatting); without one, in the kept plain text.
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit& edit) : edit_(edit) {}

    int Count() const override {
        if (!wnd()) return plainLines().Count();
        return static_cast<int>(paragraphsOf(wideText()).size());
    }
    std::string Get(int index) const override {
        if (!wnd()) return plainLines().Get(index);
        const std::wstring t = wideText();
        const std::vector<Paragraph> p = paragraphsOf(t);
        checkIndex(index, p.size());
        const Paragraph& para = p[static_cast<size_t>(index)];
        return texts::WideToAnsi(t.substr(static_cast<size_t>(para.start), static_cast<size_t>(para.length)));
    }
    void Put(int index, const std::string& s) override {
        if (!wnd()) { TStringList l = plainLines(); l.Put(index, s); storePlain(l); return; }
        const std::vector<Paragraph> p = paragraphsOf(wideText());
        checkIndex(index, p.size());
        replace(p[static_cast<size_t>(index)].start, p[static_cast<size_t>(index)].start + p[static_cast<size_t>(index)].length, s);
    }
    void Insert(int index, const std::string& s) override {
        if (!wnd()) { TStringList l = plainLines(); l.Insert(index, s); storePlain(l); return; }
        const std::wstring t = wideText();
        const std::vector<Paragraph> p = paragraphsOf(t);
        if (index < 0 || static_cast<size_t>(index) > p.size())
            throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
        if (static_cast<size_t>(index) < p.size()) {
            const LONG at = p[static_cast<size_t>(index)].start;
            replace(at, at, s + "\r");
            return;
        }
        const LONG end = static_cast<LONG>(t.size());
        const bool needsBreak = !t.empty() && t.back() != L'\r' && t.back() != L'\n';
        replace(end, end, needsBreak ? "\r" + s : s);
    }
    void Delete(int index) override {
        if (!wnd()) { TStringList l = plainLines(); l.Delete(index); storePlain(l); return; }
        const std::wstring t = wideText();
        const std::vector<Paragraph> p = paragraphsOf(t);
        checkIndex(index, p.size());
        const size_t i = static_cast<size_t>(index);
        if (i + 1 < p.size()) {
            replace(p[i].start, p[i + 1].start, std::string());
        } else if (i > 0) {  // the last line goes with the break before it
            replace(p[i - 1].start + p[i - 1].length, static_cast<LONG>(t.size()), std::string());
        } else {
            replace(0, static_cast<LONG>(t.size()), std::string());
        }
    }
    void Clear() override { edit_.SetText(std::string()); }
    std::string Text() const override {
        std::string t = AdjustLineBreaks(edit_.Text());
        if (!t.empty() && t.back() != '\n') t += "\r\n";
        return t;
    }
    void SetText(const std::string& text) override { edit_.SetText(text); }

    // Rich text files load as rich text unless PlainText is set; other files as plain text.
    void LoadFromFile(const std::string& fileName) override {
        const std::string data = readFile(fileName);
        edit_.LoadFromBytes(data, !edit_.PlainText());
    }
    // Plain text when PlainText is set, rich text otherwise.
    void SaveToFile(const std::string& fileName) const override {
        writeFile(fileName, edit_.SaveToBytes(!edit_.PlainText()));
    }

private:
    HWND wnd() const { return edit_.HandleAllocated() ? edit_.Handle() : nullptr; }
    std::wstring wideText() const { return edit_.WideText(); }
    void replace(LONG from, LONG to, const std::string& s) {
        CHARRANGE r{from, to};
        SendMessageA(wnd(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
        SendMessageA(wnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(s.c_str()));
    }
    TStringList plainLines() const {
        TStringList l;
        l.SetText(edit_.text_);
        return l;
    }
    void storePlain(const TStringList& l) {
        std::string t;
        for (int i = 0; i < l.Count(); ++i) {
            if (i) t += "\r\n";
            t += l.Get(i);
        }
        edit_.SetText(t);
    }

    TCustomRichEdit& edit_;
};

// ---- TCustomRichEdit ---------------------------------------------------------------

const TClassInfo& TCustomRichEdit::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomRichEdit>("TCustomRichEdit", &TCustomMemo::StaticClassInfo(), [](TClassBuilder<TCustomRichEdit>& b) {
        b.Bool("PlainText", [](TCustomRichEdit& e) { return e.PlainText(); }, [](TCustomRichEdit& e, bool v) { e.SetPlainText(v); });
        b.Event("OnSelectionChange", &TCustomRichEdit::OnSelectionChange);
    });
    return info;
}

const TClassInfo& TRichEdit::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TRichEdit>("TRichEdit", &TCustomRichEdit::StaticClassInfo(), [](TClassBuilder<TRichEdit>& b) { b.Creatable(); });
    return info;
}

TCustomRichEdit::TCustomRichEdit(TComponent* owner) : TCustomMemo(owner) {
    lines_ = std::make_unique<TRichEditStrings>(*this);
}

TCustomRichEdit::~TCustomRichEdit() {
    BeginDestruction();
    if (handle_) DestroyHandle();  // while the lines object still exists
}

void TCustomRichEdit::CreateParams(TCreateParams& p) {
    TCustomMemo::CreateParams(p);
    loadRichEditLibrary();
    CreateSubClass(p, "RichEdit20A");
    // The text goes in after the window exists, so that rich text is never read from a
    // caption and plain text never taken for rich text.
    p.Caption.clear();
}

void TCustomRichEdit::CreateHandleContents() {
    SendMessageA(handle_, EM_SETEVENTMASK, 0, 0);  // no change events while filling
    SendMessageA(handle_, EM_EXLIMITTEXT, 0, maxLength_ > 0 ? maxLength_ : 0x7FFFFFF0);
    applyFont();
    SendMessageA(handle_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
    SendMessageA(handle_, EM_SETTARGETDEVICE, 0, wordWrap_ ? 0 : 1);
    if (!pendingRtf_.empty()) {
        streamIn(pendingRtf_, SF_RTF);
    } else if (!text_.empty()) {
        LoadFromBytes(text_, false);
    }
    pendingRtf_.clear();
    SendMessageA(handle_, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    setSelection(selStart_, selStart_ + selLength_);
    SendMessageA(handle_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

void TCustomRichEdit::SaveHandleContents() {
    if (beingFreed() || emptying_) return;
    pendingRtf_ = streamOut(SF_RTF);
    text_ = Text();
    modified_ = SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0;
    int s = 0, e = 0;
    getSelection(s, e);
    selStart_ = s;
    selLength_ = e - s;
}

// Wine's rich edit takes minutes to empty a document of a few megabytes in place (by a
// stream-in, WM_SETTEXT or a replaced selection alike), while its window is destroyed in a
// fraction of a second; on Windows both are quick.  So a window that holds text is replaced
// by a new, empty one, made as every window of the control is (class, styles, font,
// colours, wrapping, limits, event mask) and given the old one's modified flag; the old
// document goes unsaved.  Whoever subclassed the control (the form's skin) learns of the new
// window through CM_RECREATEWND, as for any window made again.  The focus comes back to the
// new window when the old one had it.
void TCustomRichEdit::emptyWindow() {
    if (!handle_ || SendMessageA(handle_, WM_GETTEXTLENGTH, 0, 0) <= 0) return;
    const bool focused = Focused();
    modified_ = SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0;
    text_.clear();
    pendingRtf_.clear();
    selStart_ = selLength_ = 0;
    emptying_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{emptying_};
    RecreateWnd();
    if (focused && CanFocus()) SetFocus();
}

void TCustomRichEdit::applyFont() {
    if (!handle_) return;
    CHARFORMAT2A cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR | CFM_CHARSET | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    const TFontStyles style = font_.Style();
    if (style & (1u << fsBold)) cf.dwEffects |= CFE_BOLD;
    if (style & (1u << fsItalic)) cf.dwEffects |= CFE_ITALIC;
    if (style & (1u << fsUnderline)) cf.dwEffects |= CFE_UNDERLINE;
    if (style & (1u << fsStrikeOut)) cf.dwEffects |= CFE_STRIKEOUT;
    if (font_.Color() == clWindowText) cf.dwEffects |= CFE_AUTOCOLOR;
    else cf.crTextColor = ColorToRGB(font_.Color());
    // Heights are pixels at the screen's resolution; the control wants twips.
    cf.yHeight = MulDiv(std::abs(font_.Height()), 1440, screenLogPixelsY());
    cf.bCharSet = static_cast<BYTE>(font_.Charset());
    cf.bPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(cf.szFaceName, font_.Name().c_str(), LF_FACESIZE);
    SendMessageA(handle_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageA(handle_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void TCustomRichEdit::streamIn(const char* data, size_t size, UINT format) {
    InStream in{data, size, 0, format == (SF_TEXT | SF_UNICODE)};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&in);
    es.pfnCallback = &streamInProc;
    SendMessageA(Handle(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
    if (es.dwError) throw Exception("文档的内容有误，无法读取。");
}

std::string TCustomRichEdit::streamOut(UINT format) {
    std::string out;
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&out);
    es.pfnCallback = &streamOutProc;
    SendMessageA(Handle(), EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&es));
    if (es.dwError) throw Exception("无法写出文档的内容。");
    return out;
}

void TCustomRichEdit::LoadFromBytes(const std::string& data, bool asRichText) {
    if (asRichText && isRichText(data)) {
        emptyWindow();
        streamIn(data, SF_RTF);
    } else {
        // Converted here rather than by the control, so that double-byte characters are
        // never cut at the control's buffer boundaries.
        SetWideText(texts::AnsiToWide(data));
        return;
    }
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TCustomRichEdit::SetWideText(const std::wstring& text) {
    if (!handle_) {
        SetText(texts::WideToAnsi(text));
        return;
    }
    emptyWindow();
    // Streamed straight from the caller's buffer: a large document is never copied again.
    streamIn(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t), SF_TEXT | SF_UNICODE);
    Perform(CM_TEXTCHANGED, 0, 0);
}

std::wstring TCustomRichEdit::WideText() {
    if (!handle_) return texts::AnsiToWide(text_);
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, kCodePageUtf16};
    const LRESULT n = SendMessageA(handle_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
    if (n <= 0) return {};
    std::wstring t(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(t.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = kCodePageUtf16;
    const LRESULT got = SendMessageA(handle_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(t.data()));
    t.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
    return t;
}

std::string TCustomRichEdit::SaveToBytes(bool asRichText) {
    if (asRichText) return streamOut(SF_RTF);
    const std::string bytes = streamOut(SF_TEXT | SF_UNICODE);
    const std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    return texts::WideToAnsi(wide);
}

std::string TCustomRichEdit::Text() {
    if (!handle_) return text_;
    GETTEXTLENGTHEX len{GTL_USECRLF | GTL_NUMCHARS | GTL_PRECISE, kCodePageUtf16};
    const LRESULT n = SendMessageA(handle_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
    if (n <= 0) return {};
    std::wstring t(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(t.size() * sizeof(wchar_t));
    get.flags = GT_USECRLF;
    get.codepage = kCodePageUtf16;
    const LRESULT got = SendMessageA(handle_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(t.data()));
    t.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
    return texts::WideToAnsi(t);
}

void TCustomRichEdit::SetText(const std::string& text) {
    text_ = text;
    pendingRtf_.clear();
    if (handle_) LoadFromBytes(text, false);
    else Perform(CM_TEXTCHANGED, 0, 0);
}

int TCustomRichEdit::GetTextLen() {
    if (!handle_) return static_cast<int>(texts::AnsiToWide(text_).size());
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, kCodePageUtf16};
    return static_cast<int>(std::max<LRESULT>(0, SendMessageA(handle_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0)));
}

void TCustomRichEdit::getSelection(int& start, int& end) {
    CHARRANGE r{0, 0};
    SendMessageA(handle_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    start = r.cpMin;
    end = r.cpMax;
}

void TCustomRichEdit::setSelection(int start, int end) {
    CHARRANGE r{start, end};
    SendMessageA(handle_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
    SendMessageA(handle_, EM_SCROLLCARET, 0, 0);
}

std::string TCustomRichEdit::SelText() {
    if (!handle_) return TCustomMemo::SelText();
    const int n = SelLength();
    if (n <= 0) return {};
    std::wstring t(static_cast<size_t>(n) * 2 + 1, L'\0');  // room for CR LF where the control has CR
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(t.size() * sizeof(wchar_t));
    get.flags = GT_SELECTION | GT_USECRLF;
    get.codepage = kCodePageUtf16;
    const LRESULT got = SendMessageA(handle_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(t.data()));
    t.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
    return texts::WideToAnsi(t);
}

int TCustomRichEdit::FindText(const std::string& searchStr, int startPos, int length, TSearchTypes options) {
    if (searchStr.empty()) return -1;
    const std::wstring what = texts::AnsiToWide(searchStr);
    FINDTEXTEXW ft{};
    ft.chrg.cpMin = startPos;
    ft.chrg.cpMax = length < 0 ? -1 : startPos + length;
    ft.lpstrText = what.c_str();
    WPARAM flags = kFindDown;
    if (options & (1u << stMatchCase)) flags |= kFindMatchCase;
    if (options & (1u << stWholeWord)) flags |= kFindWholeWord;
    const LRESULT found = SendMessageA(Handle(), EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&ft));
    return found < 0 ? -1 : static_cast<int>(found);
}

void TCustomRichEdit::SetSelWideText(const std::wstring& text) {
    // Kept on the undo stack as one action (the deletion of the selection and the
    // insertion together); without ST_KEEPUNDO the control would empty its undo stack.
    SETTEXTEX set{ST_SELECTION | ST_KEEPUNDO, kCodePageUtf16};
    SendMessageA(Handle(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomRichEdit::Print(const std::string& caption) {
    HWND wnd = Handle();
    TPrinter& printer = *Printer();
    printer.SetTitle(caption);
    printer.BeginDoc();
    HDC dc = printer.Handle();
    try {
        const int logX = GetDeviceCaps(dc, LOGPIXELSX), logY = GetDeviceCaps(dc, LOGPIXELSY);
        // The whole printable area, in twips.
        const RECT page{0, 0, MulDiv(printer.PageWidth(), 1440, logX > 0 ? logX : 96),
                        MulDiv(printer.PageHeight(), 1440, logY > 0 ? logY : 96)};
        const LONG total = GetTextLen();
        const int oldMap = SetMapMode(dc, MM_TEXT);
        SendMessageA(wnd, EM_FORMATRANGE, FALSE, 0);
        LONG first = 0;
        for (;;) {
            FORMATRANGE range{};
            range.hdc = dc;
            range.hdcTarget = dc;
            range.rc = page;
            range.rcPage = page;
            range.chrg.cpMin = first;
            range.chrg.cpMax = -1;
            const LONG next = static_cast<LONG>(SendMessageA(wnd, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
            if (next <= 0 && first == 0 && total > 0) {
                // The control formatted nothing at all: lay the text out here instead.
                printPlainText(printer, texts::AnsiToWide(Text()), font_);
                break;
            }
            // A page that takes no text (nothing fits) would repeat forever: stop there.
            if (next >= total || next <= first) break;
            printer.NewPage();
            first = next;
        }
        SendMessageA(wnd, EM_FORMATRANGE, FALSE, 0);  // frees the control's cached formatting
        SetMapMode(dc, oldMap);
        printer.EndDoc();
    } catch (...) {
        SendMessageA(wnd, EM_FORMATRANGE, FALSE, 0);
        printer.Abort();
        throw;
    }
}

void TCustomRichEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY:
        if (const NMHDR* hdr = ReflectedNotify(m); hdr && hdr->code == EN_SELCHANGE) {
            SelectionChange();
            m.Result = 0;
            return;
        }
        break;
    case CM_FONTCHANGED:
        TCustomMemo::WndProc(m);
        applyFont();
        return;
    case CM_COLORCHANGED:
        TCustomMemo::WndProc(m);
        if (handle_) SendMessageA(handle_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
        return;
    case CM_TEXTCHANGED:
        if (!handle_) pendingRtf_.clear();  // the kept text was changed: it is the document now
        break;
    default:
        break;
    }
    TCustomMemo::WndProc(m);
}
