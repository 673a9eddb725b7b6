// TFWord, the main form of scrivet, the word-processor dictation program: the shared
// dictation front end whose recognised phrases, and the lines chosen from its choice
// list, are appended to the end of a word-processor document (kept back, in order, while
// no word processor takes them); the start button that starts or attaches to the word
// processor and shows it; the choice list's font and colour; help and about.  Every call
// to the word processor is made on a thread of its own (WordCallThread.h).
#pragma once
#include <deque>
#include <memory>
#include <string>

#include "DictationFrontEnd.h"

class EOleSysError;
class WordCallThread;

// Posted by the form to itself when a phrase had to be kept back: shows the one notice
// about kept phrases (wParam 0, lParam 0; Result 0).
constexpr UINT WM_KEPTPHRASESNOTICE = WM_APP + 0x100;
// Posted by the word processor's call thread to the form when a call the form gave up has
// ended after all (wParam 0, lParam 0; Result 0).
constexpr UINT WM_WORDCALLENDED = WM_APP + 0x101;

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
    ~TFWord() override;

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
    // back before it.  A phrase the word processor cannot take, or does not take within a
    // few seconds, is kept back with every later one, in order, and the user is told in
    // one notice; kept phrases go first whenever a phrase is appended, the start button
    // reaches a word processor, or a word processor that did not answer answers again.
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
    // The first kept phrase into the document, on the call thread.  Raises when it could
    // not be appended, or when it was given up: then it is appended or not when the call
    // ends (onWordCallEnded).
    void appendFirst();
    // Remembers why the first kept phrase could not be appended and posts the notice,
    // unless one is due already or the user dismissed it.
    void noticeKeptPhrases(const EOleSysError& failure);
    void onKeptPhrasesNotice();
    void onWordCallEnded();
    // A modal box of this program is up (they all disable the form): no other opens.
    bool boxShowing();
    // The call thread, made on first use.
    WordCallThread& wordCalls();

    std::unique_ptr<WordCallThread> calls_;
    std::deque<std::wstring> keptPhrases_;  // not appended yet, oldest first
    bool appending_ = false;  // appending now: a phrase arriving meanwhile only joins the queue
    bool firstGivenUp_ = false;  // the call given up was appending the first kept phrase
    bool noticeDue_ = false;  // the notice is posted, waiting for another box to close, or showing
    bool noticeDismissed_ = false;  // no notice until a phrase reaches the document again
    std::wstring noticeText_;
};

// How long the form waits for the word processor before it gives a call up: a few seconds
// on a document reached before; longer for a call that may have to start the word
// processor first.
constexpr DWORD kWordAnswerMs = 5000;
constexpr DWORD kWordStartMs = 20000;

// Texts of the program.
extern const char* const kWordHelpText;
extern const char* const kWordAboutText;
extern const char* const kStartWordMessage;
