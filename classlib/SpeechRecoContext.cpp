// Connection, calls, wrappers and the event sink of the shared recognition context core.
#include "SpeechRecoContext.h"
#include <olectl.h>

namespace {

// Index of the n-th declared argument in rgvarg, which holds them last first.
const VARIANT* Argument(const DISPPARAMS& params, UINT n)
{
    return n < params.cArgs ? &params.rgvarg[params.cArgs - 1 - n] : nullptr;
}

bool LongArgument(const DISPPARAMS& params, UINT n, long& value)
{
    const VARIANT* arg = Argument(params, n);
    if (!arg) return false;
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(arg), 0, VT_I4))) return false;
    value = converted.lVal;
    return true;
}

// The position as sent, with a by-reference variant read through.
bool PositionArgument(const DISPPARAMS& params, UINT n, VARIANT& position)
{
    const VARIANT* arg = Argument(params, n);
    if (!arg) return false;
    VariantInit(&position);
    return SUCCEEDED(VariantCopyInd(&position, const_cast<VARIANT*>(arg)));
}

bool ResultArgument(const DISPPARAMS& params, UINT n, SpeechRecoResult& result)
{
    const VARIANT* arg = Argument(params, n);
    if (!arg) return false;
    IUnknown* unknown = nullptr;
    switch (arg->vt) {
    case VT_DISPATCH: unknown = arg->pdispVal; break;
    case VT_UNKNOWN: unknown = arg->punkVal; break;
    case VT_DISPATCH | VT_BYREF: unknown = arg->ppdispVal ? *arg->ppdispVal : nullptr; break;
    case VT_UNKNOWN | VT_BYREF: unknown = arg->ppunkVal ? *arg->ppunkVal : nullptr; break;
    case VT_EMPTY:
    case VT_NULL: break;
    default: return false;
    }
    SpeechComPtr<ISpeechRecoResult> intf;
    if (unknown && FAILED(unknown->QueryInterface(IID_ISpeechRecoResult, reinterpret_cast<void**>(intf.Put()))))
        return false;
    result = SpeechRecoResult(std::move(intf));
    return true;
}

}  // namespace

void SpeechRecoGrammar::DictationSetState(int state)
{
    if (!intf_) throw EOleSysError(E_POINTER);
    OleCheck(intf_->DictationSetState(static_cast<SpeechRuleState>(state)));
}

bool SpeechRecognizer::IsUISupported(const std::wstring& typeOfUI)
{
    if (!intf_) throw EOleSysError(E_POINTER);
    OleBstr type(typeOfUI);
    VARIANT extra;
    VariantInit(&extra);
    VARIANT_BOOL supported = VARIANT_FALSE;
    OleCheck(intf_->IsUISupported(type.Get(), &extra, &supported));
    return supported != VARIANT_FALSE;
}

void SpeechRecognizer::DisplayUI(HWND parent, const std::wstring& title, const std::wstring& typeOfUI)
{
    if (!intf_) throw EOleSysError(E_POINTER);
    OleBstr caption(title);
    OleBstr type(typeOfUI);
    VARIANT extra;
    VariantInit(&extra);
    // Window handles carry 32 significant bits, which is what the interface's LONG holds.
    LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(parent));
    OleCheck(intf_->DisplayUI(handle, caption.Get(), type.Get(), &extra));
}

std::wstring SpeechRecoResult::PhraseText() const
{
    if (!intf_) throw EOleSysError(E_POINTER);
    SpeechComPtr<ISpeechPhraseInfo> info;
    OleCheck(intf_->get_PhraseInfo(info.Put()));
    if (!info) throw EOleSysError(E_POINTER);
    BSTR text = nullptr;
    OleCheck(info->GetText(0, -1, VARIANT_TRUE, &text));
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

SpeechComPtr<SpeechRecoContextSink> SpeechRecoContextSink::Create(SpeechRecoContextEvents* events)
{
    return SpeechComPtr<SpeechRecoContextSink>::Adopt(new SpeechRecoContextSink(events));
}

HRESULT SpeechRecoContextSink::QueryInterface(REFIID riid, void** out)
{
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID__ISpeechRecoContextEvents) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG SpeechRecoContextSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG SpeechRecoContextSink::Release()
{
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT SpeechRecoContextSink::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT SpeechRecoContextSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT SpeechRecoContextSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT SpeechRecoContextSink::Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                      EXCEPINFO*, UINT* argError)
{
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (result) VariantInit(result);
    if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
    // A handler may drop the last outside reference to the sink.
    SpeechComPtr<SpeechRecoContextSink> self = SpeechComPtr<SpeechRecoContextSink>::Share(this);
    try {
        return Dispatch(id, *params, argError);
    } catch (const std::exception& error) {
        Report(error);
    } catch (...) {
        Report(std::runtime_error("unknown exception in a speech event handler"));
    }
    return S_OK;
}

void SpeechRecoContextSink::Report(const std::exception& error) noexcept
{
    if (!events_ || !events_->OnSinkError) return;
    // A copy: the hook may destroy the object that holds the events.
    std::function<void(const std::exception&)> hook = events_->OnSinkError;
    try {
        hook(error);
    } catch (...) {
        // The hook is the last place to report to; nothing may leave Invoke.
    }
}

HRESULT SpeechRecoContextSink::Dispatch(DISPID id, const DISPPARAMS& params, UINT* argError)
{
    if (!events_) return S_OK;
    // Arguments by declared position: stream number, stream position, then the event's own.
    UINT needed = 2;
    SpeechStreamEvent SpeechRecoContextEvents::*streamEvent = nullptr;
    SpeechResultEvent SpeechRecoContextEvents::*resultEvent = nullptr;
    UINT resultIndex = 0;
    bool audioLevel = false;
    switch (id) {
    case DISPID_SRCEStartStream: streamEvent = &SpeechRecoContextEvents::OnStartStream; break;
    case DISPID_SRCEEndStream: streamEvent = &SpeechRecoContextEvents::OnEndStream; break;
    case DISPID_SRCESoundStart: streamEvent = &SpeechRecoContextEvents::OnSoundStart; break;
    case DISPID_SRCESoundEnd: streamEvent = &SpeechRecoContextEvents::OnSoundEnd; break;
    case DISPID_SRCEPhraseStart: streamEvent = &SpeechRecoContextEvents::OnPhraseStart; break;
    case DISPID_SRCEFalseRecognition: streamEvent = &SpeechRecoContextEvents::OnFalseRecognition; break;
    case DISPID_SRCEInterference: streamEvent = &SpeechRecoContextEvents::OnInterference; break;
    case DISPID_SRCERequestUI: streamEvent = &SpeechRecoContextEvents::OnRequestUI; break;
    case DISPID_SRCERecognitionForOtherContext:
        streamEvent = &SpeechRecoContextEvents::OnRecognitionForOtherContext;
        break;
    case DISPID_SRCEHypothesis:  // (StreamNumber, StreamPosition, Result)
        resultEvent = &SpeechRecoContextEvents::OnHypothesis;
        resultIndex = 2;
        needed = 3;
        break;
    case DISPID_SRCERecognition:  // (StreamNumber, StreamPosition, RecognitionType, Result)
        resultEvent = &SpeechRecoContextEvents::OnRecognition;
        resultIndex = 3;
        needed = 4;
        break;
    case DISPID_SRCEAudioLevel:  // (StreamNumber, StreamPosition, AudioLevel)
        audioLevel = true;
        needed = 3;
        break;
    default:
        return S_OK;  // events the programs do not handle
    }
    if (params.cArgs < needed) return DISP_E_BADPARAMCOUNT;

    auto badArgument = [&](UINT n) {
        if (argError) *argError = params.cArgs - 1 - n;
        return DISP_E_TYPEMISMATCH;
    };
    long streamNumber = 0;
    if (!LongArgument(params, 0, streamNumber)) return badArgument(0);
    VARIANT position;
    if (!PositionArgument(params, 1, position)) return badArgument(1);
    struct PositionGuard {
        VARIANT& v;
        ~PositionGuard() { VariantClear(&v); }
    } positionGuard{position};

    // Handlers are copied before the call: one may destroy the object that holds them.
    if (streamEvent) {
        SpeechStreamEvent handler = events_->*streamEvent;
        if (handler) handler(streamNumber, position);
    } else if (resultEvent) {
        SpeechRecoResult result;
        if (!ResultArgument(params, resultIndex, result)) return badArgument(resultIndex);
        SpeechResultEvent handler = events_->*resultEvent;
        if (handler) handler(streamNumber, position, result);
    } else if (audioLevel) {
        long level = 0;
        if (!LongArgument(params, 2, level)) return badArgument(2);
        SpeechAudioLevelEvent handler = events_->OnAudioLevel;
        if (handler) handler(streamNumber, position, static_cast<int>(level));
    }
    return S_OK;
}

SpeechRecoContext::~SpeechRecoContext() { Disconnect(); }

void SpeechRecoContext::Connect()
{
    if (intf_) return;
    SpeechComPtr<IUnknown> unknown = ConnectServerObject(CLSID_SpSharedRecoContext, ConnectKind);
    SpeechComPtr<ISpeechRecoContext> context;
    OleCheck(unknown->QueryInterface(IID_ISpeechRecoContext, reinterpret_cast<void**>(context.Put())));

    SpeechComPtr<IConnectionPointContainer> container;
    OleCheck(context->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put())));
    SpeechComPtr<IConnectionPoint> point;
    OleCheck(container->FindConnectionPoint(DIID__ISpeechRecoContextEvents, point.Put()));
    SpeechComPtr<SpeechRecoContextSink> sink = SpeechRecoContextSink::Create(&Events);
    DWORD cookie = 0;
    HRESULT hr = point->Advise(sink.Get(), &cookie);
    if (FAILED(hr)) {
        sink->Detach();
        throw EOleSysError(hr);
    }
    intf_ = std::move(context);
    eventPoint_ = std::move(point);
    sink_ = std::move(sink);
    cookie_ = cookie;
}

void SpeechRecoContext::Disconnect() noexcept
{
    if (eventPoint_ && cookie_) eventPoint_->Unadvise(cookie_);
    if (sink_) sink_->Detach();
    cookie_ = 0;
    eventPoint_.Reset();
    sink_.Reset();
    intf_.Reset();
}

ISpeechRecoContext* SpeechRecoContext::DefaultInterface()
{
    Connect();
    return intf_.Get();
}

void SpeechRecoContext::SetEventInterests(SpeechRecoEvents interests)
{
    OleCheck(DefaultInterface()->put_EventInterests(interests));
}

SpeechRecoEvents SpeechRecoContext::EventInterests()
{
    SpeechRecoEvents interests = static_cast<SpeechRecoEvents>(0);
    OleCheck(DefaultInterface()->get_EventInterests(&interests));
    return interests;
}

SpeechRecoGrammar SpeechRecoContext::CreateGrammar(int grammarId)
{
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = grammarId;
    SpeechComPtr<ISpeechRecoGrammar> grammar;
    OleCheck(DefaultInterface()->CreateGrammar(id, grammar.Put()));
    if (!grammar) throw EOleSysError(E_POINTER);
    return SpeechRecoGrammar(std::move(grammar));
}

void SpeechRecoContext::Pause() { OleCheck(DefaultInterface()->Pause()); }

void SpeechRecoContext::Resume() { OleCheck(DefaultInterface()->Resume()); }

SpeechRecognizer SpeechRecoContext::Recognizer()
{
    SpeechComPtr<ISpeechRecognizer> recognizer;
    OleCheck(DefaultInterface()->get_Recognizer(recognizer.Put()));
    if (!recognizer) throw EOleSysError(E_POINTER);
    return SpeechRecognizer(std::move(recognizer));
}
