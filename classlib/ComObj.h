// The automation client core of the class library: owning interface pointers, owned
// BSTRs and VARIANTs, failed results as exceptions (with the server's own message when
// it sends one), reaching a server's object (running, new, or running-or-new) and calls
// of methods and properties by name through IDispatch.  The components that stand for a
// server on a form (OleServer.h) and the recognizer's context core build on it; nothing
// here knows about components or forms.
//
// Types: ComPtr, EOleSysError, EOleException, TConnectKind, OleBstr, OleVariant,
//        OleDispatch; functions OleCheck, EmptyParam, ConnectServerObject.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

// Owning interface pointer.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComPtr& operator=(ComPtr o) noexcept { T* t = p_; p_ = o.p_; o.p_ = t; return *this; }
    ~ComPtr() { Reset(); }
    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* p) { ComPtr r; r.p_ = p; return r; }
    // Adds a reference of its own.
    static ComPtr Share(T* p) { if (p) p->AddRef(); return Adopt(p); }
    void Reset() { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }
    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
    T* p_ = nullptr;
};

// A failed automation call.  The message is the system's text for the code (ANSI code
// page) or, for codes without one, "OLE error 8004503A".
class EOleSysError : public std::runtime_error {
public:
    explicit EOleSysError(HRESULT errorCode);
    EOleSysError(const std::string& message, HRESULT errorCode) : std::runtime_error(message), errorCode_(errorCode) {}
    HRESULT ErrorCode() const noexcept { return errorCode_; }

private:
    HRESULT errorCode_;
};

// A call the server refused with an explanation of its own (DISP_E_EXCEPTION): the
// message is the server's description in the ANSI code page, Source() names the server.
class EOleException : public EOleSysError {
public:
    EOleException(const std::string& message, HRESULT errorCode, std::string source)
        : EOleSysError(message, errorCode), source_(std::move(source)) {}
    const std::string& Source() const noexcept { return source_; }

private:
    std::string source_;
};

// Raises EOleSysError when hr is a failure code.
void OleCheck(HRESULT hr);
// The text EOleSysError carries for a code.
std::string OleErrorMessage(HRESULT code);

// How a client reaches its server's object: attach to a running one else make one, always
// make a new one, or only attach.
enum TConnectKind { ckRunningOrNew, ckNewInstance, ckRunningInstance };

// The server's object of that class: the one registered as running (GetActiveObject)
// unless kind is ckNewInstance, else a new one made in or out of process.  A running
// entry whose server is gone counts as none.  Raises EOleSysError with the reason it
// could not be reached.  COM must be initialised.
ComPtr<IUnknown> ConnectServerObject(REFCLSID classId, TConnectKind kind);

// Owned BSTR.
class OleBstr {
public:
    OleBstr() = default;
    explicit OleBstr(const std::wstring& text);
    OleBstr(const OleBstr&) = delete;
    OleBstr& operator=(const OleBstr&) = delete;
    ~OleBstr() { SysFreeString(s_); }
    BSTR Get() const noexcept { return s_; }
    BSTR* Put() { SysFreeString(s_); s_ = nullptr; return &s_; }
    std::wstring Text() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

private:
    BSTR s_ = nullptr;
};

// Owned VARIANT, as arguments and results of late-bound calls.
class OleVariant {
public:
    OleVariant() { VariantInit(&v_); }
    OleVariant(int value) : OleVariant(static_cast<long>(value)) {}
    OleVariant(long value);
    OleVariant(bool value);
    OleVariant(const std::wstring& text);
    OleVariant(const wchar_t* text) : OleVariant(std::wstring(text)) {}
    OleVariant(IDispatch* object);  // adds a reference
    OleVariant(const OleVariant& o);
    OleVariant(OleVariant&& o) noexcept { v_ = o.v_; VariantInit(&o.v_); }
    OleVariant& operator=(OleVariant o) noexcept { std::swap(v_, o.v_); return *this; }
    ~OleVariant() { VariantClear(&v_); }

    // Takes over a VARIANT the caller owns (and leaves it empty).
    static OleVariant Adopt(VARIANT& v);

    const VARIANT& Get() const noexcept { return v_; }
    VARIANT* Put() { VariantClear(&v_); return &v_; }
    VARTYPE Type() const noexcept { return v_.vt; }
    bool IsEmpty() const noexcept { return v_.vt == VT_EMPTY; }

    // Conversions raise EOleSysError when the value cannot become that type.
    long ToInt() const;
    bool ToBool() const;
    std::wstring ToString() const;
    // The object held (a reference of its own); raises when the value is no object.
    ComPtr<IDispatch> ToDispatch() const;

private:
    VARIANT v_;
};

// The value a client passes for an optional parameter it leaves out.
OleVariant EmptyParam();

// A server object called by member name.  Names are looked up once and remembered; every
// failed call raises (EOleException when the server explains, EOleSysError otherwise).
class OleDispatch {
public:
    OleDispatch() = default;
    explicit OleDispatch(ComPtr<IDispatch> object) : object_(std::move(object)) {}
    // The object's IDispatch; raises EOleSysError when it has none.
    static OleDispatch FromUnknown(IUnknown* object);

    explicit operator bool() const noexcept { return static_cast<bool>(object_); }
    IDispatch* Interface() const noexcept { return object_.Get(); }

    // Arguments in declared order.
    OleVariant Call(const std::wstring& name, std::initializer_list<OleVariant> args = {});
    OleVariant Get(const std::wstring& name, std::initializer_list<OleVariant> args = {});
    void Put(const std::wstring& name, const OleVariant& value);
    DISPID IdOfName(const std::wstring& name);

private:
    OleVariant invoke(const std::wstring& name, WORD flags, const OleVariant* args, size_t count, bool put);

    ComPtr<IDispatch> object_;
    std::map<std::wstring, DISPID> ids_;
};
