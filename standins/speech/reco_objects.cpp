// Grammar, result and phrase information objects.
#include "reco_objects.h"
#include "call_log.h"
#include "settings.h"
#include <new>
#include <vector>

namespace speech_standin {

namespace {
constexpr HRESULT kRecognizerNotConfigured = static_cast<HRESULT>(0x8004503AL);

std::vector<std::wstring> wordsOf(const std::wstring& text)
{
    std::vector<std::wstring> words;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = text.find_first_not_of(L" \t", pos);
        if (start == std::wstring::npos) break;
        size_t end = text.find_first_of(L" \t", start);
        if (end == std::wstring::npos) end = text.size();
        words.push_back(text.substr(start, end - start));
        pos = end;
    }
    return words;
}
}  // namespace

RecoGrammar* RecoGrammar::create(ISpeechRecoContext* context, const VARIANT& id)
{
    return new (std::nothrow) RecoGrammar(context, id);
}

RecoGrammar::RecoGrammar(ISpeechRecoContext* context, const VARIANT& id) : context_(ComRef<ISpeechRecoContext>::share(context))
{
    VariantInit(&id_);
    VariantCopy(&id_, const_cast<VARIANT*>(&id));
}

RecoGrammar::~RecoGrammar() { VariantClear(&id_); }

HRESULT RecoGrammar::get_Id(VARIANT* id)
{
    logCall(L"GetGrammarId");
    if (!id) return E_POINTER;
    VariantInit(id);
    return VariantCopy(id, &id_);
}

HRESULT RecoGrammar::get_RecoContext(ISpeechRecoContext** context)
{
    logCall(L"GetGrammarRecoContext");
    if (!context) return E_POINTER;
    *context = context_.get();
    (*context)->AddRef();
    return S_OK;
}

HRESULT RecoGrammar::DictationSetState(SpeechRuleState state)
{
    std::wstring line = L"DictationSetState " + std::to_wstring(static_cast<long>(state));
    if (currentSettings().mode == StandinMode::FailDictation) {
        logCall(line + L" -> " + hresultText(kRecognizerNotConfigured));
        return kRecognizerNotConfigured;
    }
    logCall(line);
    return S_OK;
}

RecoResult* RecoResult::create(ISpeechRecoContext* context, std::wstring text)
{
    return new (std::nothrow) RecoResult(context, std::move(text));
}

RecoResult::RecoResult(ISpeechRecoContext* context, std::wstring text)
    : context_(ComRef<ISpeechRecoContext>::share(context)), text_(std::move(text))
{
}

HRESULT RecoResult::get_RecoContext(ISpeechRecoContext** context)
{
    logCall(L"GetResultRecoContext");
    if (!context) return E_POINTER;
    *context = context_.get();
    if (*context) (*context)->AddRef();
    return S_OK;
}

HRESULT RecoResult::get_PhraseInfo(ISpeechPhraseInfo** info)
{
    logCall(L"GetPhraseInfo");
    if (!info) return E_POINTER;
    *info = PhraseInfo::create(text_);
    return *info ? S_OK : E_OUTOFMEMORY;
}

PhraseInfo* PhraseInfo::create(std::wstring text) { return new (std::nothrow) PhraseInfo(std::move(text)); }

HRESULT PhraseInfo::GetText(LONG startElement, LONG elements, VARIANT_BOOL useReplacements, BSTR* text)
{
    logCall(L"GetText " + std::to_wstring(startElement) + L" " + std::to_wstring(elements) + L" " +
            std::to_wstring(useReplacements ? 1 : 0));
    if (!text) return E_POINTER;
    *text = nullptr;
    std::vector<std::wstring> words = wordsOf(text_);
    if (startElement < 0 || elements < -1 || static_cast<size_t>(startElement) > words.size()) return E_INVALIDARG;
    size_t end = elements == -1 ? words.size() : std::min(words.size(), static_cast<size_t>(startElement) + elements);
    std::wstring result;
    if (startElement == 0 && end == words.size()) {
        result = text_;
    } else {
        for (size_t i = static_cast<size_t>(startElement); i < end; ++i) {
            if (!result.empty()) result += L' ';
            result += words[i];
        }
    }
    *text = SysAllocStringLen(result.data(), static_cast<UINT>(result.size()));
    return *text || result.empty() ? S_OK : E_OUTOFMEMORY;
}

}  // namespace speech_standin
