// Reference counting, module lifetime and the "not implemented" answer shared by the
// stand-in's COM objects.  The objects themselves live in their own files; this header
// only gives them a common IUnknown/IDispatch body.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>

namespace speech_standin {

// The DLL's instance handle, recorded by DllMain.
HINSTANCE moduleInstance();
// Live objects plus server locks; DllCanUnloadNow answers S_OK only at zero.
void moduleLock();
void moduleUnlock();
LONG moduleLockCount();

// Logs "NotImplemented <what>" and returns E_NOTIMPL.  Every interface method the
// programs never call ends here, so an unexpected call shows up in the call log.
HRESULT notImplemented(const wchar_t* what);

// IUnknown and an IDispatch without type information for an object that exposes one
// dual interface.  The programs bind through the vtables, so late binding is not offered.
template <class Iface>
class DispatchObject : public Iface {
public:
    DispatchObject() { moduleLock(); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;
    virtual ~DispatchObject() { moduleUnlock(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(Iface)) {
            *out = static_cast<Iface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    LONG refs_ = 1;  // the creator owns the first reference
};

// Owning interface pointer for the stand-in's internal bookkeeping.
template <class T>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* adopt) : p_(adopt) {}
    ComRef(const ComRef& o) : p_(o.p_) { if (p_) p_->AddRef(); }
    ComRef(ComRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComRef& operator=(ComRef o) noexcept { std::swap(p_, o.p_); return *this; }
    ~ComRef() { if (p_) p_->Release(); }
    static ComRef share(T* p) { if (p) p->AddRef(); return ComRef(p); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* detach() { T* p = p_; p_ = nullptr; return p; }

private:
    T* p_ = nullptr;
};

// "0x8004503A"
std::wstring hresultText(HRESULT hr);

}  // namespace speech_standin

// Declares an interface method that answers E_NOTIMPL and logs the call.
#define STANDIN_NOT_IMPLEMENTED(iface, name, params) \
    HRESULT STDMETHODCALLTYPE name params override { return ::speech_standin::notImplemented(L## #iface L"." L## #name); }
