// The recognizer's engine dialogs: which UI types are supported, and the stand-in's modal
// window that DisplayUI opens, found and closed the way tests of the programs will.
#include "standin_fixture.h"

using namespace standin_test;

namespace {

// Looks for the engine dialog from a thread timer (DisplayUI's modal loop dispatches it),
// notes what it sees and clicks OK once ready() says so.
struct DialogWatch {
    std::wstring title;
    std::function<bool()> ready = [] { return true; };
    HWND found = nullptr;
    HWND owner = nullptr;
    bool ownerDisabled = false;
    std::wstring text;
    int ticks = 0;
};
DialogWatch* g_watch = nullptr;

void CALLBACK watchTimer(HWND, UINT, UINT_PTR, DWORD)
{
    DialogWatch& w = *g_watch;
    ++w.ticks;
    HWND dialog = findEngineDialog(w.title.c_str());
    if (!dialog) return;
    if (!w.found) {
        w.found = dialog;
        w.owner = GetWindow(dialog, GW_OWNER);
        w.ownerDisabled = w.owner && !IsWindowEnabled(w.owner);
        wchar_t text[256] = {};
        GetDlgItemTextW(dialog, 100, text, 256);
        w.text = text;
    }
    // Give up waiting after about five seconds so a failing test still ends.
    if (w.ready() || w.ticks > 100) SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

class EngineUI : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        if (HasFatalFailure()) return;
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
    }
    void TearDown() override
    {
        if (timer) KillTimer(nullptr, timer);
        g_watch = nullptr;
        if (owner) DestroyWindow(owner);
        StandinTest::TearDown();
    }
    SpeechComPtr<ISpeechRecognizer> RecognizerOf(ISpeechRecoContext* context)
    {
        SpeechComPtr<ISpeechRecognizer> recognizer;
        EXPECT_EQ(S_OK, context->get_Recognizer(recognizer.Put()));
        return recognizer;
    }
    void Watch(DialogWatch& w)
    {
        g_watch = &w;
        timer = SetTimer(nullptr, 0, 50, watchTimer);
        ASSERT_NE(0u, timer);
    }
    HRESULT Display(ISpeechRecognizer* recognizer, HWND parent, const wchar_t* title, const wchar_t* type)
    {
        BSTR t = SysAllocString(title);
        BSTR ui = SysAllocString(type);
        VARIANT extra;
        VariantInit(&extra);
        HRESULT hr = recognizer->DisplayUI(static_cast<LONG>(reinterpret_cast<LONG_PTR>(parent)), t, ui, &extra);
        SysFreeString(t);
        SysFreeString(ui);
        return hr;
    }
    bool Supported(ISpeechRecognizer* recognizer, const wchar_t* type)
    {
        BSTR ui = SysAllocString(type);
        VARIANT extra;
        VariantInit(&extra);
        VARIANT_BOOL supported = VARIANT_FALSE;
        EXPECT_EQ(S_OK, recognizer->IsUISupported(ui, &extra, &supported));
        SysFreeString(ui);
        return supported == VARIANT_TRUE;
    }

    HWND owner = nullptr;
    UINT_PTR timer = 0;
};

TEST_F(EngineUI, TypesAreSupportedUnlessListed)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    auto recognizer = RecognizerOf(context.Get());
    ASSERT_TRUE(recognizer);
    EXPECT_TRUE(Supported(recognizer.Get(), L"MicTraining"));
    EXPECT_TRUE(Supported(recognizer.Get(), L"UserTraining"));
    EXPECT_FALSE(Supported(recognizer.Get(), L""));
    ctl().SetUnsupported(" MicTraining , AddRemoveWord,");
    EXPECT_FALSE(Supported(recognizer.Get(), L"MicTraining"));
    EXPECT_FALSE(Supported(recognizer.Get(), L"addremoveword"));
    EXPECT_TRUE(Supported(recognizer.Get(), L"UserTraining"));
    EXPECT_TRUE(LogHas("IsUISupported addremoveword"));
    ctl().SetUnsupported(nullptr);
    EXPECT_TRUE(Supported(recognizer.Get(), L"MicTraining"));
}

TEST_F(EngineUI, DisplayUIOpensAnOwnedModalDialogThatTestsCanClose)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    auto recognizer = RecognizerOf(context.Get());
    ASSERT_TRUE(recognizer);
    DialogWatch watch;
    watch.title = L"语音训练";
    Watch(watch);
    EXPECT_EQ(S_OK, Display(recognizer.Get(), owner, L"语音训练", L"UserTraining"));
    EXPECT_NE(nullptr, watch.found);
    EXPECT_EQ(owner, watch.owner);
    EXPECT_TRUE(watch.ownerDisabled);
    EXPECT_NE(std::wstring::npos, watch.text.find(L"\"UserTraining\""));
    EXPECT_FALSE(IsWindow(watch.found));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(LogHas(u8"DisplayUI UserTraining 语音训练"));
}

TEST_F(EngineUI, EventsFlowWhileTheDialogIsOpen)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    ASSERT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
    auto sink = RecordingSink::Create();
    ASSERT_NE(0u, Advise(context.Get(), sink.Get()));
    auto recognizer = RecognizerOf(context.Get());
    ASSERT_TRUE(recognizer);
    bool dialogWasOpen = false;
    sink->onEvent = [&](const RecordedEvent&) { dialogWasOpen = findEngineDialog(L"Microphone Setup") != nullptr; };
    DialogWatch watch;
    watch.title = L"Microphone Setup";
    watch.ready = [&] { return !sink->events.empty(); };
    Watch(watch);
    ASSERT_EQ(1, ctl().PlayScript("wait 100\naudio-level 42\n"));
    EXPECT_EQ(S_OK, Display(recognizer.Get(), owner, L"Microphone Setup", L"MicTraining"));
    ASSERT_EQ(1u, sink->events.size());
    EXPECT_EQ(42, sink->events[0].args[2].number);
    EXPECT_TRUE(dialogWasOpen);
}

TEST_F(EngineUI, UnsupportedTypeOpensNothing)
{
    ctl().SetUnsupported("AddRemoveWord");
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    auto recognizer = RecognizerOf(context.Get());
    ASSERT_TRUE(recognizer);
    EXPECT_EQ(E_INVALIDARG, Display(recognizer.Get(), owner, L"Add/Remove Word", L"AddRemoveWord"));
    EXPECT_EQ(nullptr, findEngineDialog(nullptr));
}

TEST_F(EngineUI, AutoCloseFromTheEnvironmentEndsTheDialog)
{
    SetEnvironmentVariableW(L"SPEECH_STANDIN_UI_AUTOCLOSE", L"100");
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    auto recognizer = RecognizerOf(context.Get());
    ASSERT_TRUE(recognizer);
    // Returns once the dialog has closed itself; no dialog is left behind.
    EXPECT_EQ(S_OK, Display(recognizer.Get(), nullptr, L"Speaker Training", L"UserTraining"));
    EXPECT_EQ(nullptr, findEngineDialog(nullptr));
}

TEST_F(EngineUI, QuitMessageEndsTheDialogAndIsPostedAgain)
{
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    auto recognizer = RecognizerOf(context.Get());
    ASSERT_TRUE(recognizer);
    DialogWatch watch;
    watch.title = L"Add/Remove Word";
    watch.ready = [] {
        PostQuitMessage(7);
        return false;
    };
    Watch(watch);
    EXPECT_EQ(S_OK, Display(recognizer.Get(), owner, L"Add/Remove Word", L"AddRemoveWord"));
    KillTimer(nullptr, timer);
    timer = 0;
    EXPECT_FALSE(IsWindow(watch.found));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

}  // namespace
