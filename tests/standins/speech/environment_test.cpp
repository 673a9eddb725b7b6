// Configuration through SPEECH_STANDIN_* variables, as end-to-end tests of the programs use
// it from another process: the script played after Advise, the call log file, the modes,
// the unsupported list and closing the program's window after the script.
#include "standin_fixture.h"

using namespace standin_test;

namespace {

class Environment : public StandinTest {
protected:
    void TearDown() override
    {
        for (const std::wstring& path : files) DeleteFileW(path.c_str());
        StandinTest::TearDown();
    }
    std::wstring TempFile(const wchar_t* name)
    {
        files.push_back(tempPath(name));
        DeleteFileW(files.back().c_str());
        return files.back();
    }
    std::vector<std::wstring> files;
};

TEST_F(Environment, ScriptPlaysAfterTheFirstAdvise)
{
    std::wstring script = TempFile(L"script.txt");
    ASSERT_TRUE(writeUtf8File(script, u8"\xEF\xBB\xBF# demo\nphrase-start\nhypothesis 早上\nrecognition 早上好\n"));
    SetEnvironmentVariableW(L"SPEECH_STANDIN_SCRIPT", script.c_str());
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    ASSERT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
    PumpMessages();
    EXPECT_EQ(0, ctl().PendingEvents());  // nothing queued before a sink is there

    auto sink = RecordingSink::Create();
    DWORD advised = GetTickCount();
    ASSERT_NE(0u, Advise(context.Get(), sink.Get()));
    ASSERT_TRUE(PumpUntil([&] { return sink->events.size() >= 3; }));
    EXPECT_GE(GetTickCount() - advised, 250u);
    EXPECT_EQ(DISPID_SRCEPhraseStart, sink->events[0].id);
    EXPECT_EQ(std::wstring(L"早上"), sink->events[1].args[2].text);
    EXPECT_EQ(std::wstring(L"早上好"), sink->events[2].args[3].text);

    // A second sink does not start the script again.
    auto second = RecordingSink::Create();
    ASSERT_NE(0u, Advise(context.Get(), second.Get()));
    EXPECT_EQ(0, ctl().PendingEvents()) << "a started script queues its steps at once";
    PumpMessages();
    EXPECT_TRUE(second->events.empty());
}

TEST_F(Environment, MissingScriptIsLoggedNotFatal)
{
    std::wstring script = TempFile(L"absent.txt");
    SetEnvironmentVariableW(L"SPEECH_STANDIN_SCRIPT", script.c_str());
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    auto sink = RecordingSink::Create();
    ASSERT_NE(0u, Advise(context.Get(), sink.Get()));
    bool found = false;
    for (const std::string& line : ctl().LogLines()) found = found || line.rfind("ScriptError 0: cannot read ", 0) == 0;
    EXPECT_TRUE(found);
}

TEST_F(Environment, LogFileGetsOneUtf8LinePerCall)
{
    std::wstring log = TempFile(L"calls.log");
    SetEnvironmentVariableW(L"SPEECH_STANDIN_LOG", log.c_str());
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    ASSERT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = 0;
    SpeechComPtr<ISpeechRecoGrammar> grammar;
    ASSERT_EQ(S_OK, context->CreateGrammar(id, grammar.Put()));
    ASSERT_EQ(S_OK, grammar->DictationSetState(SGDSActive));
    SpeechComPtr<ISpeechRecognizer> recognizer;
    ASSERT_EQ(S_OK, context->get_Recognizer(recognizer.Put()));
    BSTR type = SysAllocString(L"训练");
    VARIANT_BOOL supported;
    VARIANT extra;
    VariantInit(&extra);
    EXPECT_EQ(S_OK, recognizer->IsUISupported(type, &extra, &supported));
    SysFreeString(type);
    std::string expected = std::string("CreateInstance\nEventInterests 0x5FFFF\nCreateGrammar 0\nDictationSetState 1\n") +
                           "GetRecognizer\n" + u8"IsUISupported 训练\n";
    EXPECT_EQ(expected, readFileBytes(log));
}

TEST_F(Environment, ModeAndUnsupportedListComeFromTheEnvironment)
{
    SetEnvironmentVariableW(L"SPEECH_STANDIN_MODE", L"absent");
    SpeechComPtr<ISpeechRecoContext> context;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, CoCreateInstance(CLSID_SpSharedRecoContext, nullptr, CLSCTX_INPROC_SERVER,
                                                          IID_ISpeechRecoContext, reinterpret_cast<void**>(context.Put())));
    SetEnvironmentVariableW(L"SPEECH_STANDIN_MODE", L"fail-grammar");
    SetEnvironmentVariableW(L"SPEECH_STANDIN_UNSUPPORTED", L"UserTraining");
    context = CreateContext();
    ASSERT_TRUE(context);
    VARIANT id;
    VariantInit(&id);
    SpeechComPtr<ISpeechRecoGrammar> grammar;
    EXPECT_EQ(static_cast<HRESULT>(0x8004503AL), context->CreateGrammar(id, grammar.Put()));
    SpeechComPtr<ISpeechRecognizer> recognizer;
    ASSERT_EQ(S_OK, context->get_Recognizer(recognizer.Put()));
    BSTR type = SysAllocString(L"UserTraining");
    VARIANT_BOOL supported = VARIANT_TRUE;
    VARIANT extra;
    VariantInit(&extra);
    EXPECT_EQ(S_OK, recognizer->IsUISupported(type, &extra, &supported));
    SysFreeString(type);
    EXPECT_EQ(VARIANT_FALSE, supported);
}

TEST_F(Environment, BadModeIsLoggedAndIgnored)
{
    SetEnvironmentVariableW(L"SPEECH_STANDIN_MODE", L"sometimes");
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    EXPECT_TRUE(LogHas("BadMode sometimes"));
    EXPECT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
}

LRESULT CALLBACK closeRecorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        SetPropW(hwnd, L"closed", reinterpret_cast<HANDLE>(1));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(Environment, ExitAfterClosesTheProgramWindowAfterTheLastEvent)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = closeRecorder;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"StandinExitAfterTest";
    RegisterClassW(&wc);
    HWND main = CreateWindowExW(0, wc.lpszClassName, L"program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, main);
    std::wstring script = TempFile(L"exit.txt");
    ASSERT_TRUE(writeUtf8File(script, u8"recognition 完\n"));
    SetEnvironmentVariableW(L"SPEECH_STANDIN_SCRIPT", script.c_str());
    SetEnvironmentVariableW(L"SPEECH_STANDIN_EXIT_AFTER", L"1");
    SpeechComPtr<ISpeechRecoContext> context = CreateContext();
    ASSERT_TRUE(context);
    ASSERT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
    auto sink = RecordingSink::Create();
    bool closedBeforeRecognition = true;
    sink->onEvent = [&](const RecordedEvent&) { closedBeforeRecognition = GetPropW(main, L"closed") != nullptr; };
    ASSERT_NE(0u, Advise(context.Get(), sink.Get()));
    EXPECT_TRUE(PumpUntil([&] { return GetPropW(main, L"closed") != nullptr; }));
    ASSERT_EQ(1u, sink->events.size());
    EXPECT_FALSE(closedBeforeRecognition);
    EXPECT_TRUE(LogHas("CloseWindow"));
    RemovePropW(main, L"closed");
    DestroyWindow(main);
}

}  // namespace
