// The COM-facing core of the shared recognition context component: it reaches the
// recognizer's shared context on first use, turns every failed call into EOleSysError,
// wraps the grammar, recognizer and result objects, and receives the context's events
// through a sink that calls std::function handlers.  The component itself (stored
// properties, events bound by name) is the class library's; nothing here depends on it.
//
// Types: SpeechComPtr, SpeechRecoGrammar, SpeechRecognizer, SpeechRecoResult,
//        SpeechRecoContextEvents, SpeechRecoContextSink, SpeechRecoContext (failures,
//        connection kinds and interface pointers come from ComObj.h).
#pragma once
#include <windows.h>
#include <ole2.h>
#include <sapi.h>

#include <exception>
#include <functional>
#include <string>

#include "ComObj.h"

template <class T>
using SpeechComPtr = ComPtr<T>;

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
