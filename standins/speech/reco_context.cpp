// The context's calls: IUnknown, EventInterests, CreateGrammar, Pause/Resume, Recognizer
// and the connection point container.  Every call is logged; the fail-* modes make the
// matching call answer kRecognizerNotConfigured, as a recognizer without a configured
// engine or profile does.
#include "reco_context.h"
#include "call_log.h"
#include "reco_objects.h"
#include "recognizer.h"
#include "settings.h"

namespace speech_standin {

namespace {
// What the programs' set-up sees from a recognizer that is installed but not set up.
constexpr HRESULT kRecognizerNotConfigured = static_cast<HRESULT>(0x8004503AL);

// Audio level events are frequent; like the platform's context, they are off until asked for.
constexpr SpeechRecoEvents kDefaultInterests = static_cast<SpeechRecoEvents>(SREAllEvents & ~SREAudioLevel);

std::wstring variantText(const VARIANT& v)
{
    VARIANT text;
    VariantInit(&text);
    std::wstring result;
    if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR)) && text.bstrVal)
        result.assign(text.bstrVal, SysStringLen(text.bstrVal));
    else
        result = L"<vt " + std::to_wstring(v.vt) + L">";
    VariantClear(&text);
    return result;
}

std::wstring hexValue(unsigned long value)
{
    wchar_t buffer[16];
    swprintf(buffer, 16, L"0x%lX", value);
    return buffer;
}

HRESULT failedCall(const std::wstring& line, HRESULT hr)
{
    logCall(line + L" -> " + hresultText(hr));
    return hr;
}
}  // namespace

HRESULT RecoContext::create(REFIID riid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    refreshSettingsFromEnvironment();
    RecoContext* context = new (std::nothrow) RecoContext();
    if (!context) return E_OUTOFMEMORY;
    if (!context->createWindow()) {
        HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
        context->Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    logCall(L"CreateInstance");
    HRESULT hr = context->QueryInterface(riid, out);
    context->Release();
    return hr;
}

RecoContext::RecoContext() : interests_(kDefaultInterests) { moduleLock(); }

RecoContext::~RecoContext()
{
    destroyWindow();
    for (auto& sink : sinks_) sink.second->Release();
    moduleUnlock();
}

HRESULT RecoContext::QueryInterface(REFIID riid, void** out)
{
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ISpeechRecoContext)
        *out = static_cast<ISpeechRecoContext*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG RecoContext::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG RecoContext::Release()
{
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) {
        logCall(L"ReleaseContext");
        delete this;
    }
    return static_cast<ULONG>(n);
}

HRESULT RecoContext::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT RecoContext::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info) *info = nullptr;
    return E_NOTIMPL;
}
HRESULT RecoContext::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT RecoContext::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }

HRESULT RecoContext::get_Recognizer(ISpeechRecognizer** recognizer)
{
    logCall(L"GetRecognizer");
    if (!recognizer) return E_POINTER;
    *recognizer = Recognizer::create(this);
    return *recognizer ? S_OK : E_OUTOFMEMORY;
}

HRESULT RecoContext::put_EventInterests(SpeechRecoEvents interests)
{
    std::wstring line = L"EventInterests " + hexValue(static_cast<unsigned long>(interests));
    if (currentSettings().mode == StandinMode::FailInterests) return failedCall(line, kRecognizerNotConfigured);
    logCall(line);
    interests_ = interests;
    return S_OK;
}

HRESULT RecoContext::get_EventInterests(SpeechRecoEvents* interests)
{
    logCall(L"GetEventInterests");
    if (!interests) return E_POINTER;
    *interests = interests_;
    return S_OK;
}

HRESULT RecoContext::CreateGrammar(VARIANT grammarId, ISpeechRecoGrammar** grammar)
{
    std::wstring line = L"CreateGrammar " + variantText(grammarId);
    if (!grammar) return failedCall(line, E_POINTER);
    *grammar = nullptr;
    if (currentSettings().mode == StandinMode::FailGrammar) return failedCall(line, kRecognizerNotConfigured);
    logCall(line);
    *grammar = RecoGrammar::create(this, grammarId);
    return *grammar ? S_OK : E_OUTOFMEMORY;
}

HRESULT RecoContext::EnumConnectionPoints(IEnumConnectionPoints** out)
{
    if (out) *out = nullptr;
    return notImplemented(L"IConnectionPointContainer.EnumConnectionPoints");
}

HRESULT RecoContext::FindConnectionPoint(REFIID riid, IConnectionPoint** out)
{
    if (!out) return E_POINTER;
    if (riid != DIID__ISpeechRecoContextEvents) {
        *out = nullptr;
        logCall(L"FindConnectionPoint <other interface>");
        return CONNECT_E_NOCONNECTION;
    }
    *out = &point_;
    point_.AddRef();
    return S_OK;
}

HRESULT RecoContext::EventPoint::QueryInterface(REFIID riid, void** out)
{
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecoContext::EventPoint::GetConnectionInterface(IID* iid)
{
    if (!iid) return E_POINTER;
    *iid = DIID__ISpeechRecoContextEvents;
    return S_OK;
}

HRESULT RecoContext::EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out)
{
    if (!out) return E_POINTER;
    *out = &owner_;
    owner_.AddRef();
    return S_OK;
}

HRESULT RecoContext::EventPoint::Advise(IUnknown* sink, DWORD* cookie) { return owner_.advise(sink, cookie); }
HRESULT RecoContext::EventPoint::Unadvise(DWORD cookie) { return owner_.unadvise(cookie); }

HRESULT RecoContext::EventPoint::EnumConnections(IEnumConnections** out)
{
    if (out) *out = nullptr;
    return notImplemented(L"IConnectionPoint.EnumConnections");
}

}  // namespace speech_standin
