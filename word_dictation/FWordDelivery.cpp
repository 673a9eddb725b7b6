// Delivery into the word processor's document for scrivet's main form: recognised phrases
// and chosen lines appended at its end, on the call thread; the phrases kept back while no
// word processor takes them or while it does not answer; and the one notice that tells the
// user so, never over another box.  Starting the word processor is the start button's
// (FWord.cpp).
#include "FWord.h"

#include <utility>

#include "Texts.h"
#include "WordCallThread.h"
#include "WordServer.h"

namespace {

// The phrase that could not be appended, the reason, and how to get it delivered.
std::wstring keptPhrasesNotice(const std::wstring& phrase, const std::wstring& reason, bool notAnswering) {
    const wchar_t* const howToDeliver =
        notAnswering ? L"Word恢复响应后，保留的文字就会按顺序添加到文档末尾。如果Word一直没有响应，请关闭它，重新启动Word，"
                       L"然后点[启动Word]按钮。"
                     : L"请启动Word，然后点[启动Word]按钮，保留的文字就会按顺序添加到文档末尾。";
    return L"文字暂时没能添加到Word文档中：\r\n“" + phrase + L"”\r\n\r\n" + texts::WithStop(reason) +
           L"\r\n\r\n这段文字和之后识别的文字都已保留，不会丢失。" + howToDeliver;
}

// Asked before the window closes while phrases are still kept.
std::wstring keptPhrasesAtClose(size_t count) {
    return L"还有" + std::to_wstring(count) + L"段文字没能添加到Word文档中，现在退出，这些文字就会丢失。\r\n\r\n仍要退出吗？";
}

// Why a call failed, in UTF-16: the system's text for a bare code; a server's own
// explanation, or the form's for a call given up, arrives as 8-bit text already.
std::wstring failureText(const EOleSysError& failure) {
    if (!dynamic_cast<const EOleException*>(&failure) && !dynamic_cast<const EWordNotAnswering*>(&failure)) {
        std::wstring system = texts::SystemErrorTextW(static_cast<unsigned long>(failure.ErrorCode()));
        if (!system.empty()) return system;
    }
    return texts::AnsiToWide(failure.what());
}

// One phrase into the document; runs on the call thread.  When the document bound earlier
// no longer answers (closed, or its word processor ended), it binds again, running or new,
// and appends once more; raises when that fails too.
void appendTo(TWordDocument& document, const std::wstring& text) {
    const bool wasBound = document.Connected();
    try {
        document.Range().InsertAfter(text);
        return;
    } catch (const EOleSysError&) {
        // Bound just now: binding again would meet the same word processor.
        if (!wasBound) throw;
    }
    // Under Wine a word processor that crashed cannot be started again through the system
    // for a while (creating one answers RPC_S_SERVER_UNAVAILABLE), but one a person starts
    // is found as the running one: binding tries the running one first.
    document.Disconnect();
    document.Range().InsertAfter(text);
}

}  // namespace

TFWord::~TFWord() {
    // The word processor's objects are let go on the thread that reached them.  When it
    // does not answer, they are left to the process's end rather than released from here
    // under a call that may still return.
    if (calls_ && !calls_->Finish([document = WordDocu, application = WordApp] {
            if (document) document->Disconnect();
            if (application) application->Disconnect();
        }, kWordAnswerMs)) {
        if (WordDocu) RemoveComponent(WordDocu);
        if (WordApp) RemoveComponent(WordApp);
    }
}

WordCallThread& TFWord::wordCalls() {
    if (!calls_) calls_ = std::make_unique<WordCallThread>(Handle(), WM_WORDCALLENDED);
    return *calls_;
}

void TFWord::DeliverPhrase(const std::wstring& text) { AppendToDocument(texts::Trim(text)); }

void TFWord::lstHypothesesDblClick(TObject*) {
    std::string line;
    if (SelectedChoice(line)) AppendToDocument(texts::AnsiToWide(texts::Trim(line)));
}

void TFWord::AppendToDocument(const std::wstring& text) {
    keptPhrases_.push_back(text);
    AppendKeptPhrases();
}

void TFWord::AppendKeptPhrases() { appendKept(true); }

void TFWord::FormCloseQuery(TObject*, bool& CanClose) {
    if (keptPhrases_.empty()) return;
    // Asked while another box is up (closed from the taskbar while the notice shows): that
    // box is answered first.
    if (boxShowing()) {
        CanClose = false;
        return;
    }
    // A word processor may be reachable again; if not, the notice is not shown now.
    appendKept(false);
    if (keptPhrases_.empty()) return;
    CanClose = Application->MessageBox(keptPhrasesAtClose(keptPhrases_.size()), std::wstring(),
                                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
    // The question told the user of the kept phrases: no notice follows it.
    if (!CanClose) {
        noticeDue_ = false;
        noticeDismissed_ = true;
    }
}

void TFWord::appendKept(bool notice) {
    // A phrase that arrives while a box of this program is up joins the queue, and the
    // loop below appends it in its turn.  No other code runs while a call is waited for.
    if (appending_) return;
    appending_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{appending_};
    while (!keptPhrases_.empty()) {
        try {
            appendFirst();
        } catch (const EOleSysError& failure) {
            if (notice) noticeKeptPhrases(failure);
            return;
        }
        keptPhrases_.pop_front();
        noticeDismissed_ = false;
    }
}

void TFWord::appendFirst() {
    WordCallThread& calls = wordCalls();
    // While a given-up call waits for its answer nothing is sent, and the document's
    // binding is the call thread's alone.
    if (calls.WaitingForAnswer()) throw EWordNotAnswering(false);
    const DWORD wait = WordDocu->Connected() ? kWordAnswerMs : kWordStartMs;
    try {
        calls.Run([document = WordDocu, text = keptPhrases_.front()] { appendTo(*document, text); }, wait);
    } catch (const EWordNotAnswering& failure) {
        // The phrase may still go in when the call returns: it stays first, and is not sent
        // again before that call has ended.
        if (failure.GivenUp()) firstGivenUp_ = true;
        throw;
    }
}

void TFWord::onWordCallEnded() {
    std::exception_ptr failure;
    if (!calls_ || !calls_->TakeGivenUpEnd(failure)) return;
    // The word processor answers again.  A phrase whose call returned went in then.
    if (std::exchange(firstGivenUp_, false) && !failure && !keptPhrases_.empty()) {
        keptPhrases_.pop_front();
        noticeDismissed_ = false;
    }
    appendKept(true);
}

void TFWord::noticeKeptPhrases(const EOleSysError& failure) {
    // One notice at a time; once dismissed, none until a phrase reaches the document again.
    if (noticeDue_ || noticeDismissed_) return;
    noticeDue_ = true;
    noticeText_ = keptPhrasesNotice(keptPhrases_.front(), failureText(failure),
                                    dynamic_cast<const EWordNotAnswering*>(&failure) != nullptr);
    // Not shown here: a message box runs its own message loop, and this may be a
    // recognizer's event handler.
    PostMessageW(Handle(), WM_KEPTPHRASESNOTICE, 0, 0);
}

bool TFWord::boxShowing() { return HandleAllocated() && !IsWindowEnabled(Handle()); }

void TFWord::onKeptPhrasesNotice() {
    if (!noticeDue_) return;
    // Everything went in meanwhile: nothing to tell.
    if (keptPhrases_.empty()) {
        noticeDue_ = false;
        return;
    }
    // Never over another box (the question on closing, help, a dialog of the recognizer):
    // the notice waits until that box is closed and the form enabled again.
    if (boxShowing()) return;
    // Recognitions that arrive inside the box's modal loop are kept with the others and
    // open no box of their own.
    Application->MessageBox(noticeText_, std::wstring(), MB_OK | MB_ICONWARNING);
    noticeDue_ = false;
    noticeDismissed_ = !keptPhrases_.empty();
}

void TFWord::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_KEPTPHRASESNOTICE:
        onKeptPhrasesNotice();
        message.Result = 0;
        return;
    case WM_WORDCALLENDED:
        onWordCallEnded();
        message.Result = 0;
        return;
    case WM_ENABLE:
        // A box was closed: a notice that waited for it comes now.
        if (message.WParam && noticeDue_) PostMessageW(Handle(), WM_KEPTPHRASESNOTICE, 0, 0);
        break;
    default:
        break;
    }
    TDictationForm::WndProc(message);
}
