// The small objects a context hands out: the grammar, and the result and phrase
// information carried by hypothesis and recognition events.  Declares:
//   RecoGrammar  ISpeechRecoGrammar (DictationSetState)
//   RecoResult   ISpeechRecoResult (PhraseInfo)
//   PhraseInfo   ISpeechPhraseInfo (GetText)
// The recognizer (engine dialogs) is in recognizer.h.
#pragma once
#include "com_object.h"
#include <sapi.h>
#include <string>

namespace speech_standin {

class RecoGrammar final : public DispatchObject<ISpeechRecoGrammar> {
public:
    static RecoGrammar* create(ISpeechRecoContext* context, const VARIANT& id);

    HRESULT STDMETHODCALLTYPE get_Id(VARIANT* id) override;
    HRESULT STDMETHODCALLTYPE get_RecoContext(ISpeechRecoContext** context) override;
    HRESULT STDMETHODCALLTYPE DictationSetState(SpeechRuleState state) override;
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, put_State, (SpeechGrammarState))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, get_State, (SpeechGrammarState*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, get_Rules, (ISpeechGrammarRules**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, Reset, (SpeechLanguageId))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, CmdLoadFromFile, (const BSTR, SpeechLoadOption))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, CmdLoadFromObject, (const BSTR, const BSTR, SpeechLoadOption))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, CmdLoadFromResource, (LONG, VARIANT, VARIANT, SpeechLanguageId, SpeechLoadOption))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, CmdLoadFromMemory, (VARIANT, SpeechLoadOption))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, CmdLoadFromProprietaryGrammar, (const BSTR, const BSTR, VARIANT, SpeechLoadOption))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, CmdSetRuleState, (const BSTR, SpeechRuleState))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, CmdSetRuleIdState, (LONG, SpeechRuleState))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, DictationLoad, (const BSTR, SpeechLoadOption))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, DictationUnload, ())
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, SetWordSequenceData, (const BSTR, LONG, ISpeechTextSelectionInformation*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, SetTextSelection, (ISpeechTextSelectionInformation*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoGrammar, IsPronounceable, (const BSTR, SpeechWordPronounceable*))

private:
    RecoGrammar(ISpeechRecoContext* context, const VARIANT& id);
    ~RecoGrammar() override;
    ComRef<ISpeechRecoContext> context_;
    VARIANT id_;
};

class RecoResult final : public DispatchObject<ISpeechRecoResult> {
public:
    static RecoResult* create(ISpeechRecoContext* context, std::wstring text);

    HRESULT STDMETHODCALLTYPE get_RecoContext(ISpeechRecoContext** context) override;
    HRESULT STDMETHODCALLTYPE get_PhraseInfo(ISpeechPhraseInfo** info) override;
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, get_Times, (ISpeechRecoResultTimes**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, putref_AudioFormat, (ISpeechAudioFormat*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, get_AudioFormat, (ISpeechAudioFormat**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, Alternates, (LONG, LONG, LONG, ISpeechPhraseAlternates**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, Audio, (LONG, LONG, ISpeechMemoryStream**))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, SpeakAudio, (LONG, LONG, SpeechVoiceSpeakFlags, LONG*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, SaveToMemory, (VARIANT*))
    STANDIN_NOT_IMPLEMENTED(ISpeechRecoResult, DiscardResultInfo, (SpeechDiscardType))

private:
    RecoResult(ISpeechRecoContext* context, std::wstring text);
    ComRef<ISpeechRecoContext> context_;
    std::wstring text_;
};

// The phrase's elements are its blank-separated words; GetText(0, -1, ...) gives the text
// exactly as the script wrote it.
class PhraseInfo final : public DispatchObject<ISpeechPhraseInfo> {
public:
    static PhraseInfo* create(std::wstring text);

    HRESULT STDMETHODCALLTYPE GetText(LONG startElement, LONG elements, VARIANT_BOOL useReplacements, BSTR* text) override;
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_LanguageId, (LONG*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_GrammarId, (VARIANT*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_StartTime, (VARIANT*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_AudioStreamPosition, (VARIANT*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_AudioSizeBytes, (LONG*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_RetainedSizeBytes, (LONG*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_AudioSizeTime, (LONG*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_Rule, (ISpeechPhraseRule**))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_Properties, (ISpeechPhraseProperties**))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_Elements, (ISpeechPhraseElements**))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_Replacements, (ISpeechPhraseReplacements**))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_EngineId, (BSTR*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, get_EnginePrivateData, (VARIANT*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, SaveToMemory, (VARIANT*))
    STANDIN_NOT_IMPLEMENTED(ISpeechPhraseInfo, GetDisplayAttributes, (LONG, LONG, VARIANT_BOOL, SpeechDisplayAttributes*))

private:
    explicit PhraseInfo(std::wstring text) : text_(std::move(text)) {}
    std::wstring text_;
};

}  // namespace speech_standin
