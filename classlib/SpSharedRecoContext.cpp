#include "SpSharedRecoContext.h"

#include "Controls.h"
#include "OleServer.h"

const TClassInfo& TSpSharedRecoContext::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSpSharedRecoContext>(
        "TSpSharedRecoContext", &TComponent::StaticClassInfo(), [](TClassBuilder<TSpSharedRecoContext>& b) {
            b.Creatable();
            b.Enum("ConnectKind", ConnectKindNames, [](TSpSharedRecoContext& c) -> int64_t { return c.ConnectKind(); },
                   [](TSpSharedRecoContext& c, int64_t v) { c.SetConnectKind(static_cast<TConnectKind>(v)); });
            b.Bool("AutoConnect", [](TSpSharedRecoContext& c) { return c.AutoConnect(); },
                   [](TSpSharedRecoContext& c, bool v) { c.SetAutoConnect(v); });
            b.Event("OnStartStream", &TSpSharedRecoContext::OnStartStream);
            b.Event("OnEndStream", &TSpSharedRecoContext::OnEndStream);
            b.Event("OnSoundStart", &TSpSharedRecoContext::OnSoundStart);
            b.Event("OnSoundEnd", &TSpSharedRecoContext::OnSoundEnd);
            b.Event("OnPhraseStart", &TSpSharedRecoContext::OnPhraseStart);
            b.Event("OnHypothesis", &TSpSharedRecoContext::OnHypothesis);
            b.Event("OnRecognition", &TSpSharedRecoContext::OnRecognition);
            b.Event("OnFalseRecognition", &TSpSharedRecoContext::OnFalseRecognition);
            b.Event("OnInterference", &TSpSharedRecoContext::OnInterference);
            b.Event("OnRequestUI", &TSpSharedRecoContext::OnRequestUI);
            b.Event("OnRecognitionForOtherContext", &TSpSharedRecoContext::OnRecognitionForOtherContext);
            b.Event("OnAudioLevel", &TSpSharedRecoContext::OnAudioLevel);
        });
    return info;
}

TSpSharedRecoContext::TSpSharedRecoContext(TComponent* owner) : TComponent(owner) {
    // The sink calls the component's events; an event bound later is picked up because
    // each forwarder reads the member when the event arrives.
    auto stream = [this](TSpStreamEvent TSpSharedRecoContext::*member) {
        return [this, member](long n, const VARIANT& pos) { if (this->*member) (this->*member)(this, n, pos); };
    };
    auto result = [this](TSpResultEvent TSpSharedRecoContext::*member) {
        return [this, member](long n, const VARIANT& pos, const SpeechRecoResult& r) {
            if (this->*member) (this->*member)(this, n, pos, r);
        };
    };
    SpeechRecoContextEvents& e = context_.Events;
    e.OnStartStream = stream(&TSpSharedRecoContext::OnStartStream);
    e.OnEndStream = stream(&TSpSharedRecoContext::OnEndStream);
    e.OnSoundStart = stream(&TSpSharedRecoContext::OnSoundStart);
    e.OnSoundEnd = stream(&TSpSharedRecoContext::OnSoundEnd);
    e.OnPhraseStart = stream(&TSpSharedRecoContext::OnPhraseStart);
    e.OnHypothesis = result(&TSpSharedRecoContext::OnHypothesis);
    e.OnRecognition = result(&TSpSharedRecoContext::OnRecognition);
    e.OnFalseRecognition = stream(&TSpSharedRecoContext::OnFalseRecognition);
    e.OnInterference = stream(&TSpSharedRecoContext::OnInterference);
    e.OnRequestUI = stream(&TSpSharedRecoContext::OnRequestUI);
    e.OnRecognitionForOtherContext = stream(&TSpSharedRecoContext::OnRecognitionForOtherContext);
    e.OnAudioLevel = [this](long n, const VARIANT& pos, int level) { if (OnAudioLevel) OnAudioLevel(this, n, pos, level); };
    // A handler that fails is reported by the application's default error box.
    e.OnSinkError = [](const std::exception& error) { ReportCallbackException(error); };
}

TSpSharedRecoContext::~TSpSharedRecoContext() { context_.Disconnect(); }

void TSpSharedRecoContext::Loaded() {
    TComponent::Loaded();
    if (context_.AutoConnect) context_.Connect();
}
