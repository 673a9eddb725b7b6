// The context's calls through plain COM: creation, the set-up calls the programs make, the
// failure modes, the connection point, registration and unloading.
#include "standin_fixture.h"
#include <olectl.h>

using namespace standin_test;

namespace {

constexpr HRESULT kNotConfigured = static_cast<HRESULT>(0x8004503AL);

class Context : public StandinTest {};

VARIANT grammarId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

TEST_F(Context, CreatesThroughCoCreateInstance)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    EXPECT_EQ(1, ctl().LiveContexts());
    SpeechComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(S_OK, context->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put())));
    SpeechComPtr<IDispatch> dispatch;
    EXPECT_EQ(S_OK, context->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Put())));
    EXPECT_TRUE(LogHas("CreateInstance"));
    context.Reset();
    container.Reset();
    dispatch.Reset();
    EXPECT_EQ(0, ctl().LiveContexts());
    EXPECT_TRUE(LogHas("ReleaseContext"));
}

TEST_F(Context, SetUpCallsSucceedAndAreLogged)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    ctl().ClearLog();
    EXPECT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
    SpeechRecoEvents interests = static_cast<SpeechRecoEvents>(0);
    EXPECT_EQ(S_OK, context->get_EventInterests(&interests));
    EXPECT_EQ(0x5FFFF, static_cast<int>(interests));
    SpeechComPtr<ISpeechRecoGrammar> grammar;
    ASSERT_EQ(S_OK, context->CreateGrammar(grammarId(0), grammar.Put()));
    ASSERT_TRUE(grammar);
    EXPECT_EQ(S_OK, grammar->DictationSetState(SGDSActive));
    EXPECT_EQ(S_OK, context->Pause());
    EXPECT_EQ(S_OK, context->Resume());
    std::vector<std::string> expected = {"EventInterests 0x5FFFF", "GetEventInterests", "CreateGrammar 0",
                                         "DictationSetState 1", "Pause", "Resume"};
    EXPECT_EQ(expected, ctl().LogLines());
}

TEST_F(Context, AbsentModeFailsCreation)
{
    ASSERT_EQ(0, ctl().SetMode("absent"));
    SpeechComPtr<ISpeechRecoContext> context;
    HRESULT hr = CoCreateInstance(CLSID_SpSharedRecoContext, nullptr, CLSCTX_INPROC_SERVER, IID_ISpeechRecoContext,
                                  reinterpret_cast<void**>(context.Put()));
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, hr) << std::hex << hr;
    EXPECT_FALSE(context);
    EXPECT_EQ(0, ctl().LiveContexts());
    EXPECT_TRUE(LogHas("ClassNotAvailable"));
}

struct FailRow {
    const char* mode;
    int failingStep;  // 0 EventInterests, 1 CreateGrammar, 2 DictationSetState
};

TEST_F(Context, FailModesFailTheirCallOnly)
{
    const FailRow rows[] = {{"fail-interests", 0}, {"fail-grammar", 1}, {"fail-dictation", 2}};
    for (const FailRow& row : rows) {
        ASSERT_EQ(0, ctl().SetMode(row.mode)) << row.mode;
        SpeechComPtr<ISpeechRecoContext> context = CreateContext();
        ASSERT_TRUE(context) << row.mode;
        HRESULT hr = context->put_EventInterests(SREAllEvents);
        EXPECT_EQ(row.failingStep == 0 ? kNotConfigured : S_OK, hr) << row.mode;
        SpeechComPtr<ISpeechRecoGrammar> grammar;
        hr = context->CreateGrammar(grammarId(0), grammar.Put());
        EXPECT_EQ(row.failingStep == 1 ? kNotConfigured : S_OK, hr) << row.mode;
        if (row.failingStep == 1) {
            EXPECT_FALSE(grammar) << row.mode;
            continue;
        }
        ASSERT_TRUE(grammar) << row.mode;
        hr = grammar->DictationSetState(SGDSActive);
        EXPECT_EQ(row.failingStep == 2 ? kNotConfigured : S_OK, hr) << row.mode;
    }
    EXPECT_TRUE(LogHas("EventInterests 0x5FFFF -> 0x8004503A"));
    EXPECT_TRUE(LogHas("CreateGrammar 0 -> 0x8004503A"));
    EXPECT_TRUE(LogHas("DictationSetState 1 -> 0x8004503A"));
}

TEST_F(Context, ModeChangesApplyToLiveContexts)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    ASSERT_EQ(0, ctl().SetMode("fail-interests"));
    EXPECT_EQ(kNotConfigured, context->put_EventInterests(SREAllEvents));
    ASSERT_EQ(0, ctl().SetMode(nullptr));
    EXPECT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
}

TEST_F(Context, UnknownModeIsRejected)
{
    EXPECT_EQ(-1, ctl().SetMode("broken"));
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    EXPECT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
}

TEST_F(Context, CallsTheProgramsNeverMakeAnswerNotImplemented)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    SpeechRecoContextState state;
    EXPECT_EQ(E_NOTIMPL, context->get_State(&state));
    EXPECT_TRUE(LogHas("NotImplemented ISpeechRecoContext.get_State"));
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Pause");
    EXPECT_EQ(E_NOTIMPL, context->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
}

TEST_F(Context, ConnectionPointServesTheEventInterfaceOnly)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    SpeechComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, context->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put())));
    SpeechComPtr<IConnectionPoint> point;
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, point.Put()));
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__ISpeechRecoContextEvents, point.Put()));
    IID iid = IID_NULL;
    EXPECT_EQ(S_OK, point->GetConnectionInterface(&iid));
    EXPECT_TRUE(iid == DIID__ISpeechRecoContextEvents);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(12345));

    auto sink = RecordingSink::Create();
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(sink.Get(), &cookie));
    EXPECT_NE(0u, cookie);
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
}

TEST_F(Context, RegistrationPointsAtThisDll)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{47206204-5ECA-11D2-960F-00C04F8EE628}\\InprocServer32",
                                           0, KEY_READ, &key));
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size));
    wchar_t model[32] = {};
    size = sizeof model;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"ThreadingModel", nullptr, nullptr, reinterpret_cast<BYTE*>(model), &size));
    RegCloseKey(key);
    wchar_t loaded[MAX_PATH] = {};
    GetModuleFileNameW(ctl().module, loaded, MAX_PATH);
    EXPECT_EQ(0, lstrcmpiW(loaded, value));
    EXPECT_STREQ(L"Apartment", model);
}

TEST_F(Context, DllCanUnloadOnlyWhenNothingIsAlive)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    SpeechComPtr<ISpeechRecognizer> recognizer;
    ASSERT_EQ(S_OK, context->get_Recognizer(recognizer.Put()));
    context.Reset();
    EXPECT_EQ(S_FALSE, ctl().DllCanUnloadNow());
    recognizer.Reset();
    EXPECT_EQ(S_OK, ctl().DllCanUnloadNow());
}

}  // namespace
