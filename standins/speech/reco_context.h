// The shared recognition context: the object CoCreateInstance of CLSID_SpSharedRecoContext
// hands out.  Declares:
//   RecoContext  ISpeechRecoContext + IConnectionPointContainer, with one connection point
//                for _ISpeechRecoContextEvents and the per-context event queue.
// The calls are in reco_context.cpp; the queue, the hidden window that plays it and the
// event delivery are in reco_context_events.cpp.  Grammar, result and recognizer objects
// are in their own files.
#pragma once
#include "com_object.h"
#include "script.h"
#include <sapi.h>
#include <ocidl.h>
#include <olectl.h>
#include <deque>
#include <utility>
#include <vector>

namespace speech_standin {

class RecoContext final : public ISpeechRecoContext, public IConnectionPointContainer {
public:
    // Creates a context on the calling thread (its events are delivered on this thread).
    static HRESULT create(REFIID riid, void** out);

    // Control functions: queue steps on every live context of the process, or count them.
    static int enqueueOnAll(const std::vector<ScriptStep>& steps);
    static int pendingStepsOnAll();
    static int liveCount();
    static void clearAllQueues();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch (no type information; the programs bind through the vtable)
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // ISpeechRecoContext: what the programs use
    HRESULT STDMETHODCALLTYPE get_Recognizer(ISpeechRecognizer** recognizer) override;
    HRESULT STDMETHODCALLTYPE put_EventInterests(SpeechRecoEvents interests) override;
    HRESULT STDMETHODCALLTYPE get_EventInterests(SpeechRecoEvents* interests) override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Resume() override;
    HRESULT STDMETHODCALLTYPE CreateGrammar(VARIANT grammarId, ISpeechRecoGrammar** grammar) override;
    // ... and the rest, which answer E_NOTIMPL
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_AudioInputInterferenceStatus, (SpeechInterference*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_RequestedUIType, (BSTR*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, putref_Voice, (ISpeechVoice*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_Voice, (ISpeechVoice**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, put_AllowVoiceFormatMatchingOnNextSet, (VARIANT_BOOL))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_AllowVoiceFormatMatchingOnNextSet, (VARIANT_BOOL*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, put_VoicePurgeEvent, (SpeechRecoEvents))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_VoicePurgeEvent, (SpeechRecoEvents*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, put_CmdMaxAlternates, (LONG))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_CmdMaxAlternates, (LONG*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, put_State, (SpeechRecoContextState))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_State, (SpeechRecoContextState*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, put_RetainedAudio, (SpeechRetainedAudioOptions))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_RetainedAudio, (SpeechRetainedAudioOptions*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, putref_RetainedAudioFormat, (ISpeechAudioFormat*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, get_RetainedAudioFormat, (ISpeechAudioFormat**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, CreateResultFromMemory, (VARIANT*, ISpeechRecoResult**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, Bookmark, (SpeechBookmarkOptions, VARIANT, VARIANT))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoContext, SetAdaptationData, (BSTR))

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;

private:
    // The one connection point; its references count on the context that embeds it.
    class EventPoint final : public IConnectionPoint {
    public:
        explicit EventPoint(RecoContext& owner) : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
        HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
        HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
        HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
        HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
        HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    private:
        RecoContext& owner_;
    };

    RecoContext();
    ~RecoContext();
    RecoContext(const RecoContext&) = delete;
    RecoContext& operator=(const RecoContext&) = delete;

    // reco_context_events.cpp
    bool createWindow();
    void destroyWindow();
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void enqueue(const std::vector<ScriptStep>& steps);  // caller holds the context lock
    void scheduleLocked();                               // caller holds the context lock
    void onPlayNext();
    void deliver(const ScriptStep& step);
    void invokeSinks(DISPID id, std::vector<VARIANT>& args);  // args in declaration order
    void startEnvironmentScript();
    HRESULT advise(IUnknown* sink, DWORD* cookie);
    HRESULT unadvise(DWORD cookie);

    LONG refs_ = 1;
    EventPoint point_{*this};
    HWND window_ = nullptr;          // message-only window on the creating thread
    SpeechRecoEvents interests_;     // events passed on to the sinks
    // Guarded by the process-wide context lock (control functions run on any thread):
    std::deque<ScriptStep> queue_;
    bool scheduled_ = false;         // a timer or a posted "play next" is outstanding
    bool paused_ = false;            // Pause holds the queue until Resume
    // Owned by the creating thread:
    std::vector<std::pair<DWORD, IDispatch*>> sinks_;
    DWORD nextCookie_ = 1;
    bool scriptStarted_ = false;
    long streamNumber_ = 1;
    ULONGLONG streamPosition_ = 0;   // bytes of 16 kHz 16-bit audio: 32 per waited millisecond
};

// The event window class stays registered until the DLL is unloaded.
void unregisterContextWindowClass();
// Writes "ScriptError <line>: <message>" to the call log for each bad script line.
void logScriptErrors(const std::vector<ScriptError>& errors);

}  // namespace speech_standin
