// Delivery into the word processor's document for scrivet's main form: recognised phrases
// and chosen lines appended at its end, the phrases kept back while no word processor
// takes them, and the one notice that tells the user so, never over another box.
// Starting the word processor is the start button's (FWord.cpp).
#include "FWord.h"

#include "Texts.h"
#include "WordServer.h"

namespace {

// The phrase that could not be appended, the reason, and how to get it delivered.
std::wstring keptPhrasesNotice(const std::wstring& phrase, const std::wstring& reason) {
    return L"文字暂时没能添加到Word文档中：\r\n“" + phrase + L"”\r\n\r\n" + texts::WithStop(reason) +
           L"\r\n\r\n这段文字和之后识别的文字都已保留，不会丢失。请启动Word，然后点[启动Word]按钮，"
           L"保留的文字就会按顺序添加到文档末尾。";
}

// Asked before the window closes while phrases are still kept.
std::wstring keptPhrasesAtClose(size_t count) {
    return L"还有" + std::to_wstring(count) + L"段文字没能添加到Word文档中，现在退出，这些文字就会丢失。\r\n\r\n仍要退出吗？";
}

// Why a call failed, in UTF-16: the system's text for a bare code; a server's own
// explanation arrives as 8-bit text already.
std::wstring failureText(const EOleSysError& failure) {
    if (!dynamic_cast<const EOleException*>(&failure)) {
        std::wstring system = texts::SystemErrorTextW(static_cast<unsigned long>(failure.ErrorCode()));
        if (!system.empty()) return system;
    }
    return texts::AnsiToWide(failure.what());
}

}  // namespace

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
    // A phrase that arrives while a call to the word processor waits (in a modal loop of
    // the call) joins the queue; the loop below appends it in its turn.
    if (appending_) return;
    appending_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{appending_};
    while (!keptPhrases_.empty()) {
        const std::wstring phrase = keptPhrases_.front();
        try {
            appendOne(phrase);
        } catch (const EOleSysError& failure) {
            if (notice) noticeKeptPhrases(failure);
            return;
        }
        keptPhrases_.pop_front();
        noticeDismissed_ = false;
    }
}

void TFWord::appendOne(const std::wstring& text) {
    const bool wasBound = WordDocu->Connected();
    try {
        WordDocu->Range().InsertAfter(text);
        return;
    } catch (const EOleSysError&) {
        // Bound just now: binding again would meet the same word processor.
        if (!wasBound) throw;
    }
    // The document bound earlier may be closed, or its word processor gone.  Under Wine a
    // word processor that crashed cannot be started again through the system for a while
    // (creating one answers RPC_S_SERVER_UNAVAILABLE), but one a person starts is found as
    // the running one: binding tries the running one first.
    WordDocu->Disconnect();
    WordDocu->Range().InsertAfter(text);
}

void TFWord::noticeKeptPhrases(const EOleSysError& failure) {
    // One notice at a time; once dismissed, none until a phrase reaches the document again.
    if (noticeDue_ || noticeDismissed_) return;
    noticeDue_ = true;
    noticeText_ = keptPhrasesNotice(keptPhrases_.front(), failureText(failure));
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
    case WM_ENABLE:
        // A box was closed: a notice that waited for it comes now.
        if (message.WParam && noticeDue_) PostMessageW(Handle(), WM_KEPTPHRASESNOTICE, 0, 0);
        break;
    default:
        break;
    }
    TDictationForm::WndProc(message);
}
