// The automation objects of the stand-in word processor and their members: the
// application (Visible, Quit, and the test-only members named Standin...), the document
// (Range with start and end omitted) and the range (InsertAfter, Text).  Nothing else of
// the real object model is offered: an unknown name answers DISP_E_UNKNOWNNAME.
#include <string>

#include "dispatch_object.h"
#include "server.h"

namespace word_standin {

namespace {

const wchar_t kTold[] = L"The word processor stand-in was told to fail";
const wchar_t kClosed[] = L"The document has been closed";

void refuseWhenFailing() {
    if (failing()) throw StandinError(kTold);
}

}  // namespace

class Document final : public DispatchObject {
public:
    explicit Document(int number);
    int number;
    std::wstring text;
    bool closed = false;
};

namespace {

class Range final : public DispatchObject {
public:
    explicit Range(Document* document)
        : DispatchObject({{L"InsertAfter", [this](Invocation& c) { insertAfter(c); }},
                          {L"Text", [this](Invocation& c) { textMember(c); }}},
                         IID_NULL),
          document_(document) {
        document_->AddRef();
    }
    ~Range() override { document_->Release(); }

private:
    void insertAfter(Invocation& call) {
        refuseWhenFailing();
        if (document_->closed) throw StandinError(kClosed);
        appendToDocument(document_, call.Text(0));
    }
    void textMember(Invocation& call) {
        if (call.IsPut()) throw StandinError(L"Only reading the text is offered", DISP_E_MEMBERNOTFOUND);
        if (document_->closed) throw StandinError(kClosed);
        call.ReturnText(document_->text);
    }
    Document* document_;
};

class Application final : public DispatchObject {
public:
    Application()
        : DispatchObject({{L"Visible", [](Invocation& c) { visible(c); }},
                          {L"Quit", [](Invocation&) { postQuitRequest(); }},
                          // Test-only members: the text of the active document, its
                          // closing, failing on command, and facts about the process.
                          {L"StandinText", [](Invocation& c) {
                               Document* d = activeDocument();
                               c.ReturnText(d ? documentText(d) : std::wstring());
                           }},
                          {L"StandinCloseDocument", [](Invocation&) {
                               if (Document* d = activeDocument()) closeDocument(d);
                           }},
                          {L"StandinFail", [](Invocation& c) {
                               if (c.IsPut()) setFailing(c.Flag(0));
                               else c.ReturnBool(failing());
                           }},
                          {L"StandinDocumentCount", [](Invocation& c) { c.ReturnInt(openDocumentCount()); }},
                          {L"StandinProcessId", [](Invocation& c) { c.ReturnInt(static_cast<long>(GetCurrentProcessId())); }}},
                         IID_NULL) {}

private:
    static void visible(Invocation& call) {
        if (call.IsPut()) {
            refuseWhenFailing();
            setVisible(call.Flag(0));
        } else {
            call.ReturnBool(isVisible());
        }
    }
};

}  // namespace

Document::Document(int n)
    : DispatchObject({{L"Range",
                       [this](Invocation& c) {
                           refuseWhenFailing();
                           if (closed) throw StandinError(kClosed);
                           // Only the whole document is offered: start and end omitted.
                           if (!c.Omitted(0) || !c.Omitted(1))
                               throw StandinError(L"The stand-in offers only the whole document's range", E_INVALIDARG);
                           Range* range = new Range(this);
                           c.ReturnObject(range);
                           range->Release();
                       }},
                      {L"StandinText", [this](Invocation& c) { c.ReturnText(text); }}},
                     kDocumentInterface),
      number(n) {}

Document* makeDocument(int number) { return new Document(number); }

IDispatch* makeApplication() { return new Application(); }

std::wstring documentText(const Document* document) { return document->text; }
bool documentClosed(const Document* document) { return document->closed; }
int documentNumber(const Document* document) { return document->number; }

void appendToDocument(Document* document, const std::wstring& text) {
    document->text += text;
    // Dictated text must never sit in a document nobody can see.
    if (!text.empty() && !isVisible()) setVisible(true);
    refreshMainWindow();
}

void disconnectDocument(Document* document) {
    document->closed = true;
    CoDisconnectObject(static_cast<IDispatch*>(document), 0);
}

}  // namespace word_standin
