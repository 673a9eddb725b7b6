// TSpSharedRecoContext: the component that stands for the recognizer's shared
// recognition context on a form.  Stored properties ConnectKind and AutoConnect; its
// twelve events are bound by name to the form's handlers; every call connects on first
// use and raises EOleSysError when the recognizer fails.
#pragma once
#include <functional>

#include "Classes.h"
#include "SpeechRecoContext.h"

using TSpStreamEvent = std::function<void(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition)>;
using TSpResultEvent = std::function<void(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition,
                                          const SpeechRecoResult& Result)>;
using TSpAudioLevelEvent =
    std::function<void(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition, int AudioLevel)>;

class TSpSharedRecoContext : public TComponent {
    CLASS_INFO(TSpSharedRecoContext)
public:
    explicit TSpSharedRecoContext(TComponent* owner);
    ~TSpSharedRecoContext() override;

    TConnectKind ConnectKind() const { return context_.ConnectKind; }
    void SetConnectKind(TConnectKind k) { context_.ConnectKind = k; }
    bool AutoConnect() const { return context_.AutoConnect; }
    void SetAutoConnect(bool v) { context_.AutoConnect = v; }

    void Connect() { context_.Connect(); }
    void Disconnect() { context_.Disconnect(); }
    bool Connected() const { return context_.Connected(); }

    void SetEventInterests(SpeechRecoEvents interests) { context_.SetEventInterests(interests); }
    SpeechRecoEvents EventInterests() { return context_.EventInterests(); }
    SpeechRecoGrammar CreateGrammar(int grammarId) { return context_.CreateGrammar(grammarId); }
    void Pause() { context_.Pause(); }
    void Resume() { context_.Resume(); }
    SpeechRecognizer Recognizer() { return context_.Recognizer(); }

    TSpStreamEvent OnStartStream;
    TSpStreamEvent OnEndStream;
    TSpStreamEvent OnSoundStart;
    TSpStreamEvent OnSoundEnd;
    TSpStreamEvent OnPhraseStart;
    TSpResultEvent OnHypothesis;
    TSpResultEvent OnRecognition;
    TSpStreamEvent OnFalseRecognition;
    TSpStreamEvent OnInterference;
    TSpStreamEvent OnRequestUI;
    TSpStreamEvent OnRecognitionForOtherContext;
    TSpAudioLevelEvent OnAudioLevel;

protected:
    void Loaded() override;

private:
    SpeechRecoContext context_;
};
