// The IDispatch body shared by the stand-in word processor's objects: members looked up
// by name in a table, arguments handed over in declared order, a member's refusal turned
// into DISP_E_EXCEPTION with a description, and the external-connection count that keeps
// the server process alive while clients hold its objects.  The objects themselves live
// in objects.cpp.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace word_standin {

// A member's refusal: becomes DISP_E_EXCEPTION whose description is the text.
class StandinError : public std::runtime_error {
public:
    StandinError(const std::wstring& description, HRESULT code = E_FAIL)
        : std::runtime_error("stand-in error"), description(description), code(code) {}
    std::wstring description;
    HRESULT code;
};

// One call of a member: the invoke flags, the arguments in declared order (by-reference
// arguments read through) and the result slot.
struct Invocation {
    WORD flags = 0;
    std::vector<VARIANT> args;
    VARIANT* result = nullptr;

    bool IsPut() const { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
    // True when the argument is absent or passed as the omitted-parameter value.
    bool Omitted(size_t i) const;
    std::wstring Text(size_t i) const;  // raises StandinError when not text
    bool Flag(size_t i) const;
    void ReturnBool(bool value) const;
    void ReturnText(const std::wstring& text) const;
    void ReturnInt(long value) const;
    void ReturnObject(IDispatch* object) const;  // adds a reference for the caller
};

using MemberFn = std::function<void(Invocation&)>;

struct Member {
    const wchar_t* name;
    MemberFn call;
};

// Connections of clients in other processes (IExternalConnection) plus LockServer locks.
// When the count falls to zero the server is asked whether it may end.
void addServerLock();
void releaseServerLock();
LONG serverLocks();
// Set by the server: called whenever the lock count falls to zero.
void setLastLockReleased(void (*onLastRelease)());

class DispatchObject : public IDispatch, public IExternalConnection {
public:
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* argError) override;
    DWORD STDMETHODCALLTYPE AddConnection(DWORD type, DWORD) override;
    DWORD STDMETHODCALLTYPE ReleaseConnection(DWORD type, DWORD, BOOL) override;

protected:
    // extraIid: one more interface the object answers (as its IDispatch), or IID_NULL.
    DispatchObject(std::vector<Member> members, const IID& extraIid);
    virtual ~DispatchObject() = default;

private:
    std::vector<Member> members_;
    IID extraIid_;
    LONG refs_ = 1;  // the creator owns the first reference
    LONG connections_ = 0;
};

}  // namespace word_standin
