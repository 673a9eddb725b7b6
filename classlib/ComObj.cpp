// Failed results as exceptions, owned BSTRs and VARIANTs, reaching a server's object and
// late-bound calls through IDispatch.
#include "ComObj.h"

#include <cstdio>
#include <vector>

#include "Texts.h"

namespace {

std::wstring bstrText(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

// Frees the strings a server put into an EXCEPINFO.
struct ExcepInfoGuard {
    EXCEPINFO& info;
    ~ExcepInfoGuard()
    {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

// The exception for a call the server answered with DISP_E_EXCEPTION.
[[noreturn]] void raiseServerException(EXCEPINFO& info)
{
    ExcepInfoGuard guard{info};
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    HRESULT code = info.scode != 0 ? info.scode : (info.wCode != 0 ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, info.wCode)
                                                                 : DISP_E_EXCEPTION);
    std::string message = texts::WideToAnsi(bstrText(info.bstrDescription));
    while (!message.empty() && static_cast<unsigned char>(message.back()) <= ' ') message.pop_back();
    if (message.empty()) message = OleErrorMessage(code);
    throw EOleException(message, code, texts::WideToAnsi(bstrText(info.bstrSource)));
}

// Whether a failed call says the object's server is gone (ended, crashed, or cut its
// clients off), rather than that the object refused.
bool serverGone(HRESULT hr)
{
    switch (hr) {
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case CO_E_OBJNOTCONNECTED:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string OleErrorMessage(HRESULT code)
{
    std::string text = texts::SystemErrorText(static_cast<DWORD>(code));
    if (!text.empty()) return text;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "OLE error %08lX", static_cast<unsigned long>(code));
    return buffer;
}

EOleSysError::EOleSysError(HRESULT errorCode) : std::runtime_error(OleErrorMessage(errorCode)), errorCode_(errorCode) {}

void OleCheck(HRESULT hr)
{
    if (FAILED(hr)) throw EOleSysError(hr);
}

ComPtr<IUnknown> ConnectServerObject(REFCLSID classId, TConnectKind kind)
{
    ComPtr<IUnknown> object;
    if (kind != ckNewInstance) {
        HRESULT hr = GetActiveObject(classId, nullptr, object.Put());
        if (SUCCEEDED(hr) && object) {
            // The table may still hold the entry of a server that ended without revoking
            // it (a crash): one round trip tells a live object from a dead one.
            ComPtr<IDispatch> probe;
            const HRESULT alive = object->QueryInterface(IID_IDispatch, probe.PutVoid());
            if (!serverGone(alive)) return object;
            hr = alive;
        }
        object.Reset();
        if (kind == ckRunningInstance) throw EOleSysError(FAILED(hr) ? hr : E_POINTER);
    }
    OleCheck(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown, object.PutVoid()));
    if (!object) throw EOleSysError(E_POINTER);
    return object;
}

OleBstr::OleBstr(const std::wstring& text) : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
{
    if (!s_) throw EOleSysError(E_OUTOFMEMORY);
}

OleVariant::OleVariant(long value)
{
    VariantInit(&v_);
    v_.vt = VT_I4;
    v_.lVal = value;
}

OleVariant::OleVariant(bool value)
{
    VariantInit(&v_);
    v_.vt = VT_BOOL;
    v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

OleVariant::OleVariant(const std::wstring& text)
{
    VariantInit(&v_);
    BSTR s = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!s) throw EOleSysError(E_OUTOFMEMORY);
    v_.vt = VT_BSTR;
    v_.bstrVal = s;
}

OleVariant::OleVariant(IDispatch* object)
{
    VariantInit(&v_);
    v_.vt = VT_DISPATCH;
    v_.pdispVal = object;
    if (object) object->AddRef();
}

OleVariant::OleVariant(const OleVariant& o)
{
    VariantInit(&v_);
    OleCheck(VariantCopy(&v_, const_cast<VARIANT*>(&o.v_)));
}

OleVariant OleVariant::Adopt(VARIANT& v)
{
    OleVariant r;
    r.v_ = v;
    VariantInit(&v);
    return r;
}

long OleVariant::ToInt() const
{
    VARIANT out;
    VariantInit(&out);
    OleCheck(VariantChangeType(&out, const_cast<VARIANT*>(&v_), 0, VT_I4));
    return out.lVal;
}

bool OleVariant::ToBool() const
{
    VARIANT out;
    VariantInit(&out);
    OleCheck(VariantChangeType(&out, const_cast<VARIANT*>(&v_), 0, VT_BOOL));
    return out.boolVal != VARIANT_FALSE;
}

std::wstring OleVariant::ToString() const
{
    VARIANT out;
    VariantInit(&out);
    OleCheck(VariantChangeType(&out, const_cast<VARIANT*>(&v_), 0, VT_BSTR));
    std::wstring text = bstrText(out.bstrVal);
    VariantClear(&out);
    return text;
}

ComPtr<IDispatch> OleVariant::ToDispatch() const
{
    const VARIANT* v = &v_;
    if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
    IUnknown* unknown = nullptr;
    switch (v->vt) {
    case VT_DISPATCH: unknown = v->pdispVal; break;
    case VT_UNKNOWN: unknown = v->punkVal; break;
    case VT_DISPATCH | VT_BYREF: unknown = v->ppdispVal ? *v->ppdispVal : nullptr; break;
    case VT_UNKNOWN | VT_BYREF: unknown = v->ppunkVal ? *v->ppunkVal : nullptr; break;
    default: throw EOleSysError(DISP_E_TYPEMISMATCH);
    }
    if (!unknown) throw EOleSysError(E_POINTER);
    ComPtr<IDispatch> object;
    OleCheck(unknown->QueryInterface(IID_IDispatch, object.PutVoid()));
    return object;
}

OleVariant EmptyParam()
{
    OleVariant missing;
    VARIANT* v = missing.Put();
    v->vt = VT_ERROR;
    v->scode = DISP_E_PARAMNOTFOUND;
    return missing;
}

OleDispatch OleDispatch::FromUnknown(IUnknown* object)
{
    if (!object) throw EOleSysError(E_POINTER);
    ComPtr<IDispatch> dispatch;
    OleCheck(object->QueryInterface(IID_IDispatch, dispatch.PutVoid()));
    if (!dispatch) throw EOleSysError(E_NOINTERFACE);
    return OleDispatch(std::move(dispatch));
}

DISPID OleDispatch::IdOfName(const std::wstring& name)
{
    if (!object_) throw EOleSysError(E_POINTER);
    auto known = ids_.find(name);
    if (known != ids_.end()) return known->second;
    std::wstring copy = name;
    LPOLESTR names[1] = {copy.data()};
    DISPID id = DISPID_UNKNOWN;
    OleCheck(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    ids_[name] = id;
    return id;
}

OleVariant OleDispatch::Call(const std::wstring& name, std::initializer_list<OleVariant> args)
{
    return invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args.begin(), args.size(), false);
}

OleVariant OleDispatch::Get(const std::wstring& name, std::initializer_list<OleVariant> args)
{
    return invoke(name, DISPATCH_PROPERTYGET, args.begin(), args.size(), false);
}

void OleDispatch::Put(const std::wstring& name, const OleVariant& value)
{
    invoke(name, DISPATCH_PROPERTYPUT, &value, 1, true);
}

OleVariant OleDispatch::invoke(const std::wstring& name, WORD flags, const OleVariant* args, size_t count, bool put)
{
    const DISPID id = IdOfName(name);
    // The callee reads rgvarg last argument first.  Shallow copies: arguments passed by
    // value are only read by the callee.
    std::vector<VARIANT> reversed(count);
    for (size_t i = 0; i < count; ++i) reversed[count - 1 - i] = args[i].Get();
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(count);
    params.rgvarg = count ? reversed.data() : nullptr;
    if (put) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &putId;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    UINT argError = 0;
    // A server may let go of its last reference to the object while answering.
    ComPtr<IDispatch> object = object_;
    HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, put ? nullptr : &result, &info, &argError);
    if (hr == DISP_E_EXCEPTION) {
        VariantClear(&result);
        raiseServerException(info);
    }
    if (FAILED(hr)) {
        VariantClear(&result);
        throw EOleSysError(hr);
    }
    return OleVariant::Adopt(result);
}
