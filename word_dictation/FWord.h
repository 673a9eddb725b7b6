// TFWord, the main form of scrivet, the word-processor dictation program: the shared
// dictation front end whose recognised phrases, and the lines chosen from its choice
// list, are appended to the end of a word-processor document (kept back, in order, while
// no word processor takes them); the start button that starts or attaches to the word
// processor and shows it; the choice list's font and colour; help and about.
#pragma once
#include <deque>
#include <string>

#include "DictationFrontEnd.h"

class EOleSysError;

// Posted by the form to itself when a phrase had to be kept back: shows the one notice
// about kept phrases (wParam 0, lParam 0; Result 0).
constexpr UINT WM_KEPTPHRASESNOTICE = WM_APP + 0x100;

class TPanel;
class TButton;
class TWordDocument;
class TWordApplication;
class TMainMenu;
class TPopupMenu;
class TFontDialog;
class TColorDialog;

class TFWord : public TDictationForm {
    CLASS_INFO(TFWord)
public:
    explicit TFWord(TComponent* owner);

    TPanel* Panel1 = nullptr;
    TButton* BStartword = nullptr;
    TWordDocument* WordDocu = nullptr;
    TWordApplication* WordApp = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TFontDialog* FontDialog1 = nullptr;
    TColorDialog* ColorDialog1 = nullptr;

    // Per-program points of the dictation front end.
    void DeliverPhrase(const std::wstring& text) override;
    void ShowListeningState(bool started) override;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void BStartwordClick(TObject* Sender);
    void lstHypothesesDblClick(TObject* Sender);

    // Menus (the commands both small programs share are the front end's).
    void NFontsClick(TObject* Sender);
    void NColorsClick(TObject* Sender);
    void NhelpClick(TObject* Sender);
    void NAboutClick(TObject* Sender);
    void NNAboutClick(TObject* Sender) { NAboutClick(Sender); }

    // Appends text after the last character of the document, after every phrase kept
    // back before it.  A phrase the word processor cannot take is kept back with every
    // later one, in order, and the user is told in one notice; kept phrases go first
    // whenever a phrase is appended or the start button reaches a word processor.
    void AppendToDocument(const std::wstring& text);
    // Appends the kept phrases, oldest first, up to one that cannot be appended: it and
    // all after it stay kept, and the notice is on its way unless the user dismissed it
    // and no phrase has reached the document since.
    void AppendKeptPhrases();
    // Closing while phrases are kept loses them: the user is asked first (one more try to
    // append them comes before).
    void FormCloseQuery(TObject* Sender, bool& CanClose);

protected:
    void WndProc(TMessage& message) override;

private:
    // AppendKeptPhrases, with the notice of a failure or without it.
    void appendKept(bool notice);
    // One phrase into the document.  When the document the form is bound to no longer
    // answers (closed, or its word processor ended), it binds again, running or new, and
    // appends once more; raises when that fails too.
    void appendOne(const std::wstring& text);
    // Remembers why the first kept phrase could not be appended and posts the notice,
    // unless one is due already or the user dismissed it.
    void noticeKeptPhrases(const EOleSysError& failure);
    void onKeptPhrasesNotice();
    // A modal box of this program is up (they all disable the form): no other opens.
    bool boxShowing();

    std::deque<std::wstring> keptPhrases_;  // not appended yet, oldest first
    bool appending_ = false;  // appending now: a phrase arriving meanwhile only joins the queue
    bool noticeDue_ = false;  // the notice is posted, waiting for another box to close, or showing
    bool noticeDismissed_ = false;  // no notice until a phrase reaches the document again
    std::wstring noticeText_;
};

// Texts of the program.
extern const char* const kWordHelpText;
extern const char* const kWordAboutText;
extern const char* const kStartWordMessage;
