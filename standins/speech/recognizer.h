// The shared recognizer as a context's Recognizer property shows it: which engine dialogs
// exist (IsUISupported) and opening them (DisplayUI).  The dialog window itself is in
// engine_dialog.h.
#pragma once
#include "com_object.h"
#include <sapi.h>

namespace speech_standin {

class Recognizer final : public DispatchObject<ISpeechRecognizer> {
public:
    static Recognizer* create(ISpeechRecoContext* context);

    HRESULT STDMETHODCALLTYPE IsUISupported(const BSTR typeOfUI, const VARIANT* extraData, VARIANT_BOOL* supported) override;
    HRESULT STDMETHODCALLTYPE DisplayUI(LONG hWndParent, BSTR title, const BSTR typeOfUI, const VARIANT* extraData) override;
    HRESULT STDMETHODCALLTYPE get_IsShared(VARIANT_BOOL* shared) override;
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, putref_Recognizer, (ISpeechObjectToken*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, get_Recognizer, (ISpeechObjectToken**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, put_AllowAudioInputFormatChangesOnNextSet, (VARIANT_BOOL))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, get_AllowAudioInputFormatChangesOnNextSet, (VARIANT_BOOL*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, putref_AudioInput, (ISpeechObjectToken*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, get_AudioInput, (ISpeechObjectToken**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, putref_AudioInputStream, (ISpeechBaseStream*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, get_AudioInputStream, (ISpeechBaseStream**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, put_State, (SpeechRecognizerState))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, get_State, (SpeechRecognizerState*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, get_Status, (ISpeechRecognizerStatus**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, putref_Profile, (ISpeechObjectToken*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, get_Profile, (ISpeechObjectToken**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, EmulateRecognition, (VARIANT, VARIANT*, LONG))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, CreateRecoContext, (ISpeechRecoContext**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, GetFormat, (SpeechFormatType, ISpeechAudioFormat**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, SetPropertyNumber, (const BSTR, LONG, VARIANT_BOOL*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, GetPropertyNumber, (const BSTR, LONG*, VARIANT_BOOL*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, SetPropertyString, (const BSTR, const BSTR, VARIANT_BOOL*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, GetPropertyString, (const BSTR, BSTR*, VARIANT_BOOL*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, GetRecognizers, (BSTR, BSTR, ISpeechObjectTokens**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, GetAudioInputs, (BSTR, BSTR, ISpeechObjectTokens**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecognizer, GetProfiles, (BSTR, BSTR, ISpeechObjectTokens**))

private:
    explicit Recognizer(ISpeechRecoContext* context) : context_(ComRef<ISpeechRecoContext>::share(context)) {}
    ComRef<ISpeechRecoContext> context_;  // keeps the context alive while a dialog is open
};

}  // namespace speech_standin
