// The automation client against a scripted IDispatch object of this process: calls by
// name with arguments in declared order, omitted optional arguments, property writes,
// every kind of failed result as an exception carrying the server's message, and the
// server components' connection kinds (running object, new object, running only),
// AutoQuit and stored properties.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Forms.h"
#include "WordServer.h"

namespace {

// A class id no server registers, new for each test process: the running-object tests
// enter objects under it, and the table is shared by every process of the prefix (tests
// run in parallel).
const CLSID& testClass() {
    static const CLSID id = [] {
        CLSID made{};
        CoCreateGuid(&made);
        return made;
    }();
    return id;
}

struct Call {
    std::wstring name;
    WORD flags = 0;
    std::vector<OleVariant> args;  // declared order, copies
    std::vector<DISPID> named;
};

// An IDispatch whose members are handlers by name.  It records every call it receives.
class ScriptedObject final : public IDispatch {
public:
    using Member = std::function<HRESULT(const Call&, VARIANT* result, EXCEPINFO* info)>;

    static ComPtr<ScriptedObject> Make() { return ComPtr<ScriptedObject>::Adopt(new ScriptedObject); }
    void Define(const std::wstring& name, Member m) {
        names_.push_back(name);
        members_[name] = std::move(m);
    }
    std::vector<Call> calls;
    LONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = --refs;
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ++lookups;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (size_t k = 0; k < names_.size(); ++k)
                if (_wcsicmp(names_[k].c_str(), names[i]) == 0) ids[i] = static_cast<DISPID>(k + 1);
            if (ids[i] == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        if (id < 1 || static_cast<size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
        Call call;
        call.name = names_[static_cast<size_t>(id - 1)];
        call.flags = flags;
        for (UINT i = params->cArgs; i > 0; --i) {
            OleVariant copy;
            VariantCopy(copy.Put(), &params->rgvarg[i - 1]);
            call.args.push_back(copy);
        }
        for (UINT i = 0; i < params->cNamedArgs; ++i) call.named.push_back(params->rgdispidNamedArgs[i]);
        calls.push_back(call);
        return members_[call.name](call, result, info);
    }

    int lookups = 0;

private:
    ScriptedObject() = default;
    std::vector<std::wstring> names_;
    std::map<std::wstring, Member> members_;
};

HRESULT ok(const Call&, VARIANT*, EXCEPINFO*) { return S_OK; }

// A server exception as a server raises it: description and source in the EXCEPINFO.
ScriptedObject::Member raising(const wchar_t* description, const wchar_t* source, SCODE scode, WORD wCode = 0) {
    return [=](const Call&, VARIANT*, EXCEPINFO* info) {
        info->bstrDescription = description ? SysAllocString(description) : nullptr;
        info->bstrSource = source ? SysAllocString(source) : nullptr;
        info->scode = scode;
        info->wCode = wCode;
        return DISP_E_EXCEPTION;
    };
}

HRESULT STDAPICALLTYPE fillLater(EXCEPINFO* info) {
    info->bstrDescription = SysAllocString(L"filled in later");
    info->scode = E_FAIL;
    return S_OK;
}

// A server component for the private test class.
class TTestServer : public TOleServer {
    CLASS_INFO(TTestServer)
public:
    explicit TTestServer(TComponent* owner) : TOleServer(owner) {}
    ~TTestServer() override { Disconnect(); }
    int quits = 0;

protected:
    const CLSID& ServerClassId() const override { return testClass(); }
    void DoQuit() override {
        ++quits;
        Server().Call(L"Quit");
    }
};

const TClassInfo& TTestServer::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TTestServer>("TTestServer", &TOleServer::StaticClassInfo(), [](TClassBuilder<TTestServer>& b) { b.Creatable(); });
    return info;
}

// A document component that reaches the test class instead of the word processor's.
class TTestDocument : public TWordDocument {
public:
    explicit TTestDocument(TComponent* owner) : TWordDocument(owner) {}

protected:
    const CLSID& ServerClassId() const override { return testClass(); }
};

// Enters an object in the running-object table under the test class for the scope.
class RunningEntry {
public:
    explicit RunningEntry(IUnknown* object) { hr = RegisterActiveObject(object, testClass(), ACTIVEOBJECT_STRONG, &cookie); }
    ~RunningEntry() { if (SUCCEEDED(hr)) RevokeActiveObject(cookie, nullptr); }
    HRESULT hr;
    DWORD cookie = 0;
};

class OleClient : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();  // COM for this thread
        object = ScriptedObject::Make();
        dispatch = OleDispatch(ComPtr<IDispatch>::Share(object.Get()));
    }
    ComPtr<ScriptedObject> object;
    OleDispatch dispatch;
};

}  // namespace

TEST_F(OleClient, Call_ArgumentsArriveInDeclaredOrderAsAMethod) {
    object->Define(L"Args", ok);
    dispatch.Call(L"args", {OleVariant(7), OleVariant(L"二"), OleVariant(true)});
    ASSERT_EQ(1u, object->calls.size());
    const Call& c = object->calls[0];
    EXPECT_EQ(L"Args", c.name);
    EXPECT_TRUE(c.flags & DISPATCH_METHOD);
    ASSERT_EQ(3u, c.args.size());
    EXPECT_EQ(VT_I4, c.args[0].Get().vt);
    EXPECT_EQ(7, c.args[0].Get().lVal);
    EXPECT_EQ(VT_BSTR, c.args[1].Get().vt);
    EXPECT_STREQ(L"二", c.args[1].Get().bstrVal);
    EXPECT_EQ(VT_BOOL, c.args[2].Get().vt);
    EXPECT_EQ(VARIANT_TRUE, c.args[2].Get().boolVal);
    EXPECT_TRUE(c.named.empty());
}

TEST_F(OleClient, Names_LookedUpOncePerMember) {
    object->Define(L"Ping", ok);
    dispatch.Call(L"Ping");
    dispatch.Call(L"Ping");
    EXPECT_EQ(1, object->lookups);
    EXPECT_EQ(2u, object->calls.size());
}

TEST_F(OleClient, Put_IsAPropertyWriteWithTheNamedPutArgument) {
    bool visible = false;
    object->Define(L"Visible", [&](const Call& c, VARIANT* result, EXCEPINFO*) {
        if (c.flags & DISPATCH_PROPERTYPUT) {
            visible = c.args.at(0).Get().boolVal != VARIANT_FALSE;
        } else {
            result->vt = VT_BOOL;
            result->boolVal = visible ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return S_OK;
    });
    dispatch.Put(L"Visible", OleVariant(true));
    ASSERT_EQ(1u, object->calls.size());
    EXPECT_EQ(DISPATCH_PROPERTYPUT, object->calls[0].flags);
    EXPECT_EQ(std::vector<DISPID>{DISPID_PROPERTYPUT}, object->calls[0].named);
    EXPECT_TRUE(visible);
    EXPECT_TRUE(dispatch.Get(L"Visible").ToBool());
    EXPECT_EQ(DISPATCH_PROPERTYGET, object->calls[1].flags);
}

TEST_F(OleClient, Range_OmittedStartAndEndTravelAsMissingParameters) {
    ComPtr<ScriptedObject> range = ScriptedObject::Make();
    std::wstring text = L"ab";
    range->Define(L"InsertAfter", [&](const Call& c, VARIANT*, EXCEPINFO*) {
        text += c.args.at(0).Get().bstrVal;
        return S_OK;
    });
    object->Define(L"Range", [&](const Call&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_DISPATCH;
        result->pdispVal = range.Get();
        range->AddRef();
        return S_OK;
    });
    RunningEntry running(object.Get());
    ASSERT_HRESULT_SUCCEEDED(running.hr);
    TTestDocument document(nullptr);
    const std::wstring outsideGbk = L"中文😀";  // kept out of the assertion: its text is GBK
    document.Range().InsertAfter(outsideGbk);
    EXPECT_EQ(L"ab" + outsideGbk, text);
    ASSERT_EQ(1u, object->calls.size());
    const Call& c = object->calls[0];
    ASSERT_EQ(2u, c.args.size());
    for (const OleVariant& v : c.args) {
        EXPECT_EQ(VT_ERROR, v.Get().vt);
        EXPECT_EQ(DISP_E_PARAMNOTFOUND, v.Get().scode);
    }
    document.Range(OleVariant(1), OleVariant(2));
    EXPECT_EQ(VT_I4, object->calls[1].args[0].Get().vt);
    EXPECT_EQ(2, object->calls[1].args[1].Get().lVal);
}

namespace {

struct FailureRow {
    const char* row;
    ScriptedObject::Member member;
    HRESULT code;
    const char* message;  // GBK; nullptr: the system's text for the code
    const char* source;   // nullptr: not an EOleException
};

}  // namespace

TEST_F(OleClient, Failures_EveryFailedResultRaisesWithTheServersMessage) {
    const FailureRow rows[] = {
        {"server exception", raising(L"文档已关闭", L"Stand-in", E_FAIL), E_FAIL, "文档已关闭", "Stand-in"},
        {"description with trailing line break", raising(L"busy\r\n", L"", 0x800A1066), static_cast<HRESULT>(0x800A1066), "busy", ""},
        {"code in wCode only", raising(L"old style", nullptr, 0, 1001), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, 1001),
         "old style", ""},
        {"no description", raising(nullptr, L"Src", E_ACCESSDENIED), E_ACCESSDENIED, nullptr, "Src"},
        {"deferred fill-in",
         [](const Call&, VARIANT*, EXCEPINFO* info) {
             info->pfnDeferredFillIn = fillLater;
             return DISP_E_EXCEPTION;
         },
         E_FAIL, "filled in later", ""},
        {"plain failure", [](const Call&, VARIANT*, EXCEPINFO*) { return RPC_E_DISCONNECTED; }, RPC_E_DISCONNECTED, nullptr, nullptr},
    };
    for (const FailureRow& r : rows) {
        ComPtr<ScriptedObject> o = ScriptedObject::Make();
        o->Define(L"Fail", r.member);
        OleDispatch d(ComPtr<IDispatch>::Share(o.Get()));
        try {
            d.Call(L"Fail");
            ADD_FAILURE() << r.row << ": no exception";
        } catch (const EOleException& e) {
            EXPECT_NE(nullptr, r.source) << r.row << ": raised as a server exception";
            EXPECT_EQ(r.code, e.ErrorCode()) << r.row;
            EXPECT_EQ(r.message ? std::string(r.message) : OleErrorMessage(r.code), e.what()) << r.row;
            if (r.source) {
                EXPECT_EQ(r.source, e.Source()) << r.row;
            }
        } catch (const EOleSysError& e) {
            EXPECT_EQ(nullptr, r.source) << r.row << ": raised without the server's explanation";
            EXPECT_EQ(r.code, e.ErrorCode()) << r.row;
            EXPECT_EQ(OleErrorMessage(r.code), e.what()) << r.row;
        }
    }
}

TEST_F(OleClient, UnknownMember_RaisesUnknownName) {
    try {
        dispatch.Call(L"NoSuchMember");
        FAIL() << "no exception";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(DISP_E_UNKNOWNNAME, e.ErrorCode());
    }
}

TEST_F(OleClient, Connect_RunningOrNewAttachesToTheRunningObject) {
    object->Define(L"Ping", ok);
    RunningEntry running(object.Get());
    ASSERT_HRESULT_SUCCEEDED(running.hr);
    TTestServer server(nullptr);
    EXPECT_FALSE(server.Connected());
    server.Server().Call(L"Ping");  // the first call connects
    EXPECT_TRUE(server.Connected());
    EXPECT_EQ(1u, object->calls.size());
}

TEST_F(OleClient, Connect_FailuresRaiseAndLeaveItUnconnected) {
    struct Row {
        TConnectKind kind;
        HRESULT code;  // nothing running and the class not registered
    } rows[] = {{ckRunningInstance, MK_E_UNAVAILABLE}, {ckNewInstance, REGDB_E_CLASSNOTREG}, {ckRunningOrNew, REGDB_E_CLASSNOTREG}};
    for (const Row& r : rows) {
        TTestServer server(nullptr);
        server.SetConnectKind(r.kind);
        try {
            server.Connect();
            ADD_FAILURE() << "kind " << r.kind << ": connected to nothing";
        } catch (const EOleSysError& e) {
            EXPECT_EQ(r.code, e.ErrorCode()) << "kind " << r.kind;
        }
        EXPECT_FALSE(server.Connected()) << "kind " << r.kind;
    }
}

// An entry left in the table by a server that ended without revoking it.
class DeadProxy final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        *out = nullptr;
        if (riid == IID_IUnknown) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};

TEST_F(OleClient, Connect_ARunningEntryWhoseServerIsGoneCountsAsNone) {
    DeadProxy dead;
    RunningEntry running(&dead);
    ASSERT_HRESULT_SUCCEEDED(running.hr);
    struct Row {
        TConnectKind kind;
        HRESULT code;
    } rows[] = {{ckRunningInstance, HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)}, {ckRunningOrNew, REGDB_E_CLASSNOTREG}};
    for (const Row& r : rows) {
        try {
            ConnectServerObject(testClass(), r.kind);
            ADD_FAILURE() << "kind " << r.kind << ": attached to a dead server";
        } catch (const EOleSysError& e) {
            EXPECT_EQ(r.code, e.ErrorCode()) << "kind " << r.kind << ": " << e.what();
        }
    }
}

TEST_F(OleClient, NewInstance_NeverAttachesToTheRunningObject) {
    RunningEntry running(object.Get());
    TTestServer server(nullptr);
    server.SetConnectKind(ckNewInstance);
    EXPECT_THROW(server.Connect(), EOleSysError);
}

TEST_F(OleClient, AutoQuit_AsksTheServerToQuitOnlyWhenSet) {
    object->Define(L"Quit", ok);
    RunningEntry running(object.Get());
    for (bool autoQuit : {false, true}) {
        object->calls.clear();
        auto* server = new TTestServer(nullptr);
        server->SetAutoQuit(autoQuit);
        server->Connect();
        server->Disconnect();
        EXPECT_FALSE(server->Connected());
        EXPECT_EQ(autoQuit ? 1u : 0u, object->calls.size()) << "AutoQuit " << autoQuit << ", disconnect";
        server->Connect();
        delete server;  // freeing disconnects too
        EXPECT_EQ(autoQuit ? 2u : 0u, object->calls.size()) << "AutoQuit " << autoQuit << ", freed";
    }
}

TEST_F(OleClient, AutoQuit_AServerThatIsGoneStillDisconnects) {
    object->Define(L"Quit", [](const Call&, VARIANT*, EXCEPINFO*) { return RPC_E_DISCONNECTED; });
    RunningEntry running(object.Get());
    TTestServer server(nullptr);
    server.SetAutoQuit(true);
    server.Connect();
    server.Disconnect();
    EXPECT_FALSE(server.Connected());
}

TEST(OleServerComponents, StoredPropertiesOfTheWordProcessorComponents) {
    Application->Initialize();
    auto* form = new TForm(Application);
    form->InitFromText(R"(object FWord: TForm
  object WordDocu: TWordDocument
    AutoConnect = False
    ConnectKind = ckRunningOrNew
  end
  object WordApp: TWordApplication
    AutoConnect = False
    ConnectKind = ckNewInstance
    AutoQuit = True
  end
end
)");
    auto* docu = dynamic_cast<TWordDocument*>(form->FindComponent("WordDocu"));
    auto* app = dynamic_cast<TWordApplication*>(form->FindComponent("WordApp"));
    ASSERT_NE(nullptr, docu);
    ASSERT_NE(nullptr, app);
    EXPECT_EQ(ckRunningOrNew, docu->ConnectKind());
    EXPECT_FALSE(docu->AutoConnect());
    EXPECT_FALSE(docu->AutoQuit());
    EXPECT_EQ(ckNewInstance, app->ConnectKind());
    EXPECT_TRUE(app->AutoQuit());
    EXPECT_FALSE(app->Connected());  // AutoConnect off: nothing reached while loading
    EXPECT_EQ("ckNewInstance", GetEnumProp(*app, "ConnectKind"));
    delete form;
}
