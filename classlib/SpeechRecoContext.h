// The COM-facing core of the shared recognition context component: it reaches the
// recognizer's shared context on first use, turns every failed call into EOleSysError,
// wraps the grammar, recognizer and result objects, and receives the context's events
// through a sink that calls std::function handlers.  The component itself (stored
// properties, events bound by name) is the class library's; nothing here depends on it.
//
// Types: EOleSysError, OleCheck, TConnectKind, SpeechComPtr, SpeechRecoGrammar,
//        SpeechRecognizer, SpeechRecoResult, SpeechRecoContextEvents,
//        SpeechRecoContextSink, SpeechRecoContext.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <sapi.h>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

// A failed automation call.  The message is the system's text for the code (ANSI code
// page) or, for codes without one, "OLE error 8004503A".
class EOleSysError : public std::runtime_error {
public:
    explicit EOleSysError(HRESULT errorCode);
    HRESULT ErrorCode() const noexcept { return errorCode_; }

private:
    HRESULT errorCode_;
};

// Raises EOleSysError when hr is a failure code.
void OleCheck(HRESULT hr);

// How the first use reaches the context: attach to a running object, else make one.
enum TConnectKind { ckRunningOrNew, ckNewInstance, ckRunningInstance };

// Owning interface pointer.
template <class T>
class SpeechComPtr {
public:
    SpeechComPtr() = default;
    SpeechComPtr(const SpeechComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
    SpeechComPtr(SpeechComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    SpeechComPtr& operator=(SpeechComPtr o) noexcept { T* t = p_; p_ = o.p_; o.p_ = t; return *this; }
    ~SpeechComPtr() { Reset(); }
    // Takes over a reference the caller already owns.
    static SpeechComPtr Adopt(T* p) { SpeechComPtr r; r.p_ = p; return r; }
    // Adds a reference of its own.
    static SpeechComPtr Share(T* p) { if (p) p->AddRef(); return Adopt(p); }
    void Reset() { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }
    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Put() { Reset(); return &p_; }

private:
    T* p_ = nullptr;
};

class SpeechRecoGrammar {
public:
    SpeechRecoGrammar() = default;
    explicit SpeechRecoGrammar(SpeechComPtr<ISpeechRecoGrammar> grammar) : intf_(std::move(grammar)) {}
    void DictationSetState(int state);
    ISpeechRecoGrammar* Interface() const noexcept { return intf_.Get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(intf_); }

private:
    SpeechComPtr<ISpeechRecoGrammar> intf_;
};

class SpeechRecognizer {
public:
    SpeechRecognizer() = default;
    explicit SpeechRecognizer(SpeechComPtr<ISpeechRecognizer> recognizer) : intf_(std::move(recognizer)) {}
    // ExtraData is passed as an empty variant.
    bool IsUISupported(const std::wstring& typeOfUI);
    void DisplayUI(HWND parent, const std::wstring& title, const std::wstring& typeOfUI);
    ISpeechRecognizer* Interface() const noexcept { return intf_.Get(); }

private:
    SpeechComPtr<ISpeechRecognizer> intf_;
};

class SpeechRecoResult {
public:
    SpeechRecoResult() = default;
    explicit SpeechRecoResult(SpeechComPtr<ISpeechRecoResult> result) : intf_(std::move(result)) {}
    // PhraseInfo, then GetText(0, -1, True): all elements, display replacements applied.
    std::wstring PhraseText() const;
    ISpeechRecoResult* Interface() const noexcept { return intf_.Get(); }

private:
    SpeechComPtr<ISpeechRecoResult> intf_;
};

// Every event carries the stream number and the stream position (a VARIANT as the
// recognizer sends it).
using SpeechStreamEvent = std::function<void(long StreamNumber, const VARIANT& StreamPosition)>;
using SpeechResultEvent =
    std::function<void(long StreamNumber, const VARIANT& StreamPosition, const SpeechRecoResult& Result)>;
using SpeechAudioLevelEvent = std::function<void(long StreamNumber, const VARIANT& StreamPosition, int AudioLevel)>;

struct SpeechRecoContextEvents {
    SpeechStreamEvent OnStartStream;
    SpeechStreamEvent OnEndStream;
    SpeechStreamEvent OnSoundStart;
    SpeechStreamEvent OnSoundEnd;
    SpeechStreamEvent OnPhraseStart;
    SpeechResultEvent OnHypothesis;
    SpeechResultEvent OnRecognition;
    SpeechStreamEvent OnFalseRecognition;
    SpeechStreamEvent OnInterference;
    SpeechStreamEvent OnRequestUI;
    SpeechStreamEvent OnRecognitionForOtherContext;
    SpeechAudioLevelEvent OnAudioLevel;
    // Whatever a handler raises is caught in the sink and handed here (the class library
    // routes it to its default error box); with no hook it is dropped.
    std::function<void(const std::exception&)> OnSinkError;
};

// The _ISpeechRecoContextEvents sink.  It calls the handlers of the events it is attached
// to; Detach cuts it off (the recognizer may hold the sink longer than its owner lives).
// Invoke never lets an exception out.
class SpeechRecoContextSink final : public IDispatch {
public:
    static SpeechComPtr<SpeechRecoContextSink> Create(SpeechRecoContextEvents* events);
    void Detach() noexcept { events_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;

private:
    explicit SpeechRecoContextSink(SpeechRecoContextEvents* events) : events_(events) {}
    ~SpeechRecoContextSink() = default;
    HRESULT Dispatch(DISPID id, const DISPPARAMS& params, UINT* argError);
    void Report(const std::exception& error) noexcept;

    LONG refs_ = 1;
    SpeechRecoContextEvents* events_;
};

// The shared recognition context.  The first call that needs the recognizer connects:
// the running object (GetActiveObject of CLSID_SpSharedRecoContext), else a new one
// (CoCreateInstance), then the event sink.  Any failure raises EOleSysError and leaves it
// unconnected, so the next use tries again.  The thread must have initialised COM.
class SpeechRecoContext {
public:
    SpeechRecoContext() = default;
    SpeechRecoContext(const SpeechRecoContext&) = delete;
    SpeechRecoContext& operator=(const SpeechRecoContext&) = delete;
    ~SpeechRecoContext();

    // Stored settings of the component.
    TConnectKind ConnectKind = ckRunningOrNew;
    bool AutoConnect = false;  // the component calls Connect when loaded if set
    // Bound by the owner; called on the thread's message loop.
    SpeechRecoContextEvents Events;

    void Connect();
    void Disconnect() noexcept;
    bool Connected() const noexcept { return static_cast<bool>(intf_); }
    // Connects if needed.
    ISpeechRecoContext* DefaultInterface();

    void SetEventInterests(SpeechRecoEvents interests);
    SpeechRecoEvents EventInterests();
    SpeechRecoGrammar CreateGrammar(int grammarId);  // the id travels as a VT_I4 variant
    void Pause();
    void Resume();
    SpeechRecognizer Recognizer();

private:
    SpeechComPtr<ISpeechRecoContext> intf_;
    SpeechComPtr<IConnectionPoint> eventPoint_;
    SpeechComPtr<SpeechRecoContextSink> sink_;
    DWORD cookie_ = 0;
};
