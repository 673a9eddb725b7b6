// Member tables, argument reading and the external-connection count of the stand-in word
// processor's objects.
#include "dispatch_object.h"

namespace word_standin {

namespace {
LONG g_locks = 0;
void (*g_onLastRelease)() = nullptr;
const wchar_t kSource[] = L"Word processor stand-in";

const VARIANT& readThrough(const VARIANT& v) {
    if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return *v.pvarVal;
    return v;
}
}  // namespace

void addServerLock() { ++g_locks; }

void releaseServerLock() {
    if (g_locks > 0 && --g_locks == 0 && g_onLastRelease) g_onLastRelease();
}

LONG serverLocks() { return g_locks; }
void setLastLockReleased(void (*onLastRelease)()) { g_onLastRelease = onLastRelease; }

bool Invocation::Omitted(size_t i) const {
    if (i >= args.size()) return true;
    const VARIANT& v = readThrough(args[i]);
    return v.vt == VT_EMPTY || (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

std::wstring Invocation::Text(size_t i) const {
    if (i >= args.size()) throw StandinError(L"A text argument is missing", DISP_E_BADPARAMCOUNT);
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&readThrough(args[i])), 0, VT_BSTR)))
        throw StandinError(L"The argument is not text", DISP_E_TYPEMISMATCH);
    std::wstring text = converted.bstrVal ? std::wstring(converted.bstrVal, SysStringLen(converted.bstrVal)) : std::wstring();
    VariantClear(&converted);
    return text;
}

bool Invocation::Flag(size_t i) const {
    if (i >= args.size()) throw StandinError(L"A value is missing", DISP_E_BADPARAMCOUNT);
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&readThrough(args[i])), 0, VT_BOOL)))
        throw StandinError(L"The argument is not true or false", DISP_E_TYPEMISMATCH);
    return converted.boolVal != VARIANT_FALSE;
}

void Invocation::ReturnBool(bool value) const {
    if (!result) return;
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void Invocation::ReturnText(const std::wstring& text) const {
    if (!result) return;
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result->bstrVal) throw StandinError(L"Out of memory", E_OUTOFMEMORY);
    result->vt = VT_BSTR;
}

void Invocation::ReturnInt(long value) const {
    if (!result) return;
    result->vt = VT_I4;
    result->lVal = value;
}

void Invocation::ReturnObject(IDispatch* object) const {
    if (!result) return;
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    if (object) object->AddRef();
}

DispatchObject::DispatchObject(std::vector<Member> members, const IID& extraIid)
    : members_(std::move(members)), extraIid_(extraIid) {}

HRESULT DispatchObject::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (extraIid_ != IID_NULL && riid == extraIid_)) {
        *out = static_cast<IDispatch*>(this);
    } else if (riid == IID_IExternalConnection) {
        *out = static_cast<IExternalConnection*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG DispatchObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG DispatchObject::Release() {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        // Only the first name is a member; the others would name its parameters.
        if (i == 0 && names[0])
            for (size_t k = 0; k < members_.size(); ++k)
                if (_wcsicmp(members_[k].name, names[0]) == 0) ids[0] = static_cast<DISPID>(k + 1);
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* info, UINT*) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
    if (result) VariantInit(result);
    Invocation call;
    call.flags = flags;
    call.result = result;
    // rgvarg holds the arguments last first; a property write's value is the named one.
    for (UINT i = params->cArgs; i > 0; --i) call.args.push_back(params->rgvarg[i - 1]);
    // A member may let go of the last reference to this object (closing a document).
    AddRef();
    HRESULT hr = S_OK;
    try {
        members_[static_cast<size_t>(id - 1)].call(call);
    } catch (const StandinError& e) {
        if (result) VariantClear(result);
        if (info) {
            *info = EXCEPINFO{};
            info->bstrSource = SysAllocString(kSource);
            info->bstrDescription = SysAllocString(e.description.c_str());
            info->scode = e.code;
        }
        hr = DISP_E_EXCEPTION;
    } catch (...) {
        if (result) VariantClear(result);
        hr = E_UNEXPECTED;
    }
    Release();
    return hr;
}

DWORD DispatchObject::AddConnection(DWORD type, DWORD) {
    if (!(type & EXTCONN_STRONG)) return static_cast<DWORD>(connections_);
    ++connections_;
    addServerLock();
    return static_cast<DWORD>(connections_);
}

DWORD DispatchObject::ReleaseConnection(DWORD type, DWORD, BOOL) {
    if (!(type & EXTCONN_STRONG) || connections_ == 0) return static_cast<DWORD>(connections_);
    --connections_;
    releaseServerLock();
    return static_cast<DWORD>(connections_);
}

}  // namespace word_standin
