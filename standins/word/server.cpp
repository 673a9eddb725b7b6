// The stand-in word processor's state and its class objects: the application object made
// at start, the documents with the active one entered in the running-object table, the
// visible flag, the fail switch, and the rules that end the process.
#include "server.h"

#include <vector>

#include "dispatch_object.h"

namespace word_standin {

// {000209FF-0000-0000-C000-000000000046}
const CLSID kApplicationClass = {0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00020906-0000-0000-C000-000000000046}
const CLSID kDocumentClass = {0x00020906, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {0002096B-0000-0000-C000-000000000046}
const IID kDocumentInterface = {0x0002096B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

struct State {
    IDispatch* application = nullptr;  // one reference, the server's
    DWORD applicationEntry = 0;        // running-object table
    std::vector<Document*> documents;  // open ones, oldest first; one reference each
    DWORD documentEntry = 0;
    int lastNumber = 0;
    bool visible = false;
    bool failing = false;
    bool quitting = false;
    DWORD classCookies[2] = {0, 0};
};

State g;

bool anyText() {
    for (Document* d : g.documents)
        if (!documentText(d).empty()) return true;
    return false;
}

// The active document is the one running-or-new clients attach to.  The entry is weak:
// the table alone does not keep the process alive.
void enterActiveDocument() {
    if (g.documentEntry) {
        RevokeActiveObject(g.documentEntry, nullptr);
        g.documentEntry = 0;
    }
    if (Document* d = activeDocument())
        RegisterActiveObject(reinterpret_cast<IUnknown*>(d), kDocumentClass, ACTIVEOBJECT_WEAK, &g.documentEntry);
}

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(bool documents) : documents_(documents) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Static objects: the process's lifetime is counted by connections and locks.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (g.quitting) return CO_E_SERVER_STOPPING;
        if (!documents_) return g.application->QueryInterface(riid, out);
        Document* d = newDocument();
        HRESULT hr = reinterpret_cast<IUnknown*>(d)->QueryInterface(riid, out);
        reinterpret_cast<IUnknown*>(d)->Release();
        // A client that asked for an interface the document lacks leaves it unused.
        if (FAILED(hr)) postUnusedCheck();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) addServerLock();
        else releaseServerLock();
        return S_OK;
    }

private:
    bool documents_;
};

ClassFactory g_applicationFactory(false);
ClassFactory g_documentFactory(true);

}  // namespace

IDispatch* application() { return g.application; }

Document* newDocument() {
    Document* d = makeDocument(++g.lastNumber);
    g.documents.push_back(d);  // the creator's reference is the list's
    reinterpret_cast<IUnknown*>(d)->AddRef();  // and one for the caller
    enterActiveDocument();
    refreshMainWindow();
    return d;
}

Document* activeDocument() { return g.documents.empty() ? nullptr : g.documents.back(); }
int openDocumentCount() { return static_cast<int>(g.documents.size()); }

void closeDocument(Document* document) {
    for (auto it = g.documents.begin(); it != g.documents.end(); ++it) {
        if (*it != document) continue;
        g.documents.erase(it);
        disconnectDocument(document);
        enterActiveDocument();
        refreshMainWindow();
        reinterpret_cast<IUnknown*>(document)->Release();
        postUnusedCheck();
        return;
    }
}

bool isVisible() { return g.visible; }

void setVisible(bool visible) {
    if (!visible && anyText()) visible = true;
    if (g.visible == visible) return;
    g.visible = visible;
    showMainWindow(visible);
    if (!visible) postUnusedCheck();
}

bool failing() { return g.failing; }
void setFailing(bool fail) { g.failing = fail; }

bool startServer(bool embedded) {
    g.application = makeApplication();
    RegisterActiveObject(g.application, kApplicationClass, ACTIVEOBJECT_WEAK, &g.applicationEntry);
    setLastLockReleased(postUnusedCheck);
    HRESULT hr = CoRegisterClassObject(kApplicationClass, &g_applicationFactory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                       &g.classCookies[0]);
    if (SUCCEEDED(hr))
        hr = CoRegisterClassObject(kDocumentClass, &g_documentFactory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                   &g.classCookies[1]);
    if (FAILED(hr)) {
        quitServer();
        return false;
    }
    if (!embedded) {
        // Started by a person: a visible window with an empty document, as a word
        // processor starts.
        reinterpret_cast<IUnknown*>(newDocument())->Release();
        setVisible(true);
    }
    return true;
}

void quitServer() {
    if (g.quitting) return;
    g.quitting = true;
    for (DWORD& cookie : g.classCookies)
        if (cookie) CoRevokeClassObject(cookie), cookie = 0;
    if (g.documentEntry) RevokeActiveObject(g.documentEntry, nullptr), g.documentEntry = 0;
    if (g.applicationEntry) RevokeActiveObject(g.applicationEntry, nullptr), g.applicationEntry = 0;
    std::vector<Document*> documents;
    documents.swap(g.documents);
    for (Document* d : documents) {
        disconnectDocument(d);
        reinterpret_cast<IUnknown*>(d)->Release();
    }
    if (g.application) {
        CoDisconnectObject(g.application, 0);
        g.application->Release();
        g.application = nullptr;
    }
    destroyMainWindow();
    PostQuitMessage(0);
}

void quitIfUnused() {
    if (g.quitting || g.visible || anyText() || serverLocks() > 0) return;
    quitServer();
}

}  // namespace word_standin
