// The rich edit: a memo on the system's rich text control ("RichEdit20A").  Text and
// files go in and out as plain text (the ANSI code page) or as rich text; the font is the
// control's default character format; documents print page by page on the printer of
// Printers.h.
//
// Positions (SelStart, SelLength, FindText) count characters, a paragraph break as one.
// While there is no window the rich edit keeps its text (and, after its window was made
// once, the document as rich text) and gives it to the next window.  Replacing the whole
// document (SetText, SetWideText, LoadFromBytes, Clear) first gives a window that holds
// text a new, empty one made as the old one was.
//
// Types: TSearchType, TSearchTypes, TCustomRichEdit, TRichEdit.
#pragma once
#include <windows.h>

#include <string>

#include "StdCtrls.h"

// The common dialogs' header defines FindText as a macro for its own function; here it is
// the rich edit's method.  Include this header after that one.
#ifdef FindText
#undef FindText
#endif

enum TSearchType { stWholeWord, stMatchCase };
using TSearchTypes = unsigned;  // bit mask of 1 << TSearchType
extern const TEnumNames SearchTypeNames;

class TCustomRichEdit : public TCustomMemo {
    CLASS_INFO(TCustomRichEdit)
public:
    explicit TCustomRichEdit(TComponent* owner);
    ~TCustomRichEdit() override;

    // Only how files and streams are read and written: plain text when true.
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool v) { plainText_ = v; }

    std::string Text() override;
    void SetText(const std::string& text) override;  // always plain text
    // Characters of the document (paragraph breaks count one).
    int GetTextLen();
    std::string SelText() override;

    // The position of the first match of searchStr in [startPos, startPos + length)
    // (length -1: to the end), or -1.
    int FindText(const std::string& searchStr, int startPos, int length, TSearchTypes options);
    // Puts UTF-16 text in place of the selection as one step that Undo takes back.
    void SetSelWideText(const std::wstring& text);

    // The document as bytes: rich text, or plain text in the ANSI code page.  Loading
    // takes rich text only when it is asked for and the bytes are rich text.
    void LoadFromBytes(const std::string& data, bool asRichText);
    std::string SaveToBytes(bool asRichText);
    // The document as plain UTF-16 text, paragraph breaks as CR: for callers that convert
    // text themselves.  Setting it replaces the whole document.
    std::wstring WideText();
    void SetWideText(const std::wstring& text);

    // Prints the whole document on Printer(), each page over the whole printable area,
    // the job named caption.  Raises EPrinter (no printer, failed job).
    void Print(const std::string& caption);

    TNotifyEvent OnSelectionChange;

    void WndProc(TMessage& message) override;

protected:
    friend class TRichEditStrings;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;
    void getSelection(int& start, int& end) override;
    void setSelection(int start, int end) override;
    virtual void SelectionChange() { if (OnSelectionChange) OnSelectionChange(this); }
    // The font as the default character format, and as the format of all text.
    void applyFont();
    void streamIn(const char* data, size_t size, UINT format);
    void streamIn(const std::string& data, UINT format) { streamIn(data.data(), data.size(), format); }
    std::string streamOut(UINT format);
    // Empties a window that holds text by putting a new, empty one in its place.
    void emptyWindow();

    bool plainText_ = false;
    std::string pendingRtf_;  // the document kept while its window is away (RecreateWnd)
    bool emptying_ = false;   // the window goes without its document being kept
};

class TRichEdit : public TCustomRichEdit {
    CLASS_INFO(TRichEdit)
public:
    explicit TRichEdit(TComponent* owner) : TCustomRichEdit(owner) {}
};

// Known gaps: no character or paragraph attributes of the selection (SelAttributes,
// Paragraph), no custom page rectangle for printing.
