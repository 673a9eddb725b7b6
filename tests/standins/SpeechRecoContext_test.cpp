// The client core of the shared recognition context against the stand-in: connection on
// first use, failures as EOleSysError, the wrappers, and the event sink with its handlers
// and error hook.
#include "speech/standin_fixture.h"
#include <memory>

using namespace standin_test;

namespace {

constexpr HRESULT kNotConfigured = static_cast<HRESULT>(0x8004503AL);

class SpeechRecoContextTest : public StandinTest {};

TEST(EOleSysError_Message, CodeWithoutSystemTextReadsOleError)
{
    EOleSysError error(kNotConfigured);
    EXPECT_EQ(kNotConfigured, error.ErrorCode());
    EXPECT_STREQ("OLE error 8004503A", error.what());
    EXPECT_THROW(OleCheck(E_FAIL), EOleSysError);
    EXPECT_NO_THROW(OleCheck(S_FALSE));
}

TEST_F(SpeechRecoContextTest, ConnectsOnFirstUseOnly)
{
    SpeechRecoContext context;
    EXPECT_EQ(ckRunningOrNew, context.ConnectKind);
    EXPECT_FALSE(context.AutoConnect);
    EXPECT_FALSE(context.Connected());
    EXPECT_EQ(0, ctl().LiveContexts());
    context.SetEventInterests(SREAllEvents);
    EXPECT_TRUE(context.Connected());
    EXPECT_EQ(1, ctl().LiveContexts());
    std::vector<std::string> expected = {"CreateInstance", "Advise", "EventInterests 0x5FFFF"};
    EXPECT_EQ(expected, ctl().LogLines());
    EXPECT_EQ(SREAllEvents, context.EventInterests());
}

TEST_F(SpeechRecoContextTest, SetUpSequenceReachesTheRecognizer)
{
    SpeechRecoContext context;
    context.SetEventInterests(SREAllEvents);
    SpeechRecoGrammar grammar = context.CreateGrammar(0);
    ASSERT_TRUE(static_cast<bool>(grammar));
    grammar.DictationSetState(1);
    context.Pause();
    context.Resume();
    EXPECT_TRUE(LogHas("CreateGrammar 0"));
    EXPECT_TRUE(LogHas("DictationSetState 1"));
    EXPECT_TRUE(LogHas("Pause"));
    EXPECT_TRUE(LogHas("Resume"));
}

struct FailRow {
    const char* mode;
    int failingStep;  // 0 SetEventInterests, 1 CreateGrammar, 2 DictationSetState
};

TEST_F(SpeechRecoContextTest, FailedSetUpStepsRaiseEOleSysError)
{
    const FailRow rows[] = {{"fail-interests", 0}, {"fail-grammar", 1}, {"fail-dictation", 2}};
    for (const FailRow& row : rows) {
        ASSERT_EQ(0, ctl().SetMode(row.mode));
        SpeechRecoContext context;
        int failedAt = -1;
        HRESULT code = S_OK;
        std::string message;
        try {
            failedAt = 0;
            context.SetEventInterests(SREAllEvents);
            failedAt = 1;
            SpeechRecoGrammar grammar = context.CreateGrammar(0);
            failedAt = 2;
            grammar.DictationSetState(1);
            failedAt = -1;
        } catch (const EOleSysError& e) {
            code = e.ErrorCode();
            message = e.what();
        }
        EXPECT_EQ(row.failingStep, failedAt) << row.mode;
        EXPECT_EQ(kNotConfigured, code) << row.mode;
        EXPECT_EQ("OLE error 8004503A", message) << row.mode;
    }
}

TEST_F(SpeechRecoContextTest, MissingRecognizerRaisesAndALaterUseRetries)
{
    ASSERT_EQ(0, ctl().SetMode("absent"));
    SpeechRecoContext context;
    try {
        context.SetEventInterests(SREAllEvents);
        ADD_FAILURE() << "no exception";
    } catch (const EOleSysError& e) {
        // The in-process server declines; the local-server attempt then finds none, as
        // on a machine without a recognizer.
        EXPECT_EQ(REGDB_E_CLASSNOTREG, e.ErrorCode());
        EXPECT_NE(std::string(), e.what());
    }
    EXPECT_FALSE(context.Connected());
    ASSERT_EQ(0, ctl().SetMode(nullptr));
    context.SetEventInterests(SREAllEvents);
    EXPECT_TRUE(context.Connected());
}

TEST_F(SpeechRecoContextTest, RunningInstanceOnlyFailsWithoutOne)
{
    SpeechRecoContext context;
    context.ConnectKind = ckRunningInstance;
    EXPECT_THROW(context.Pause(), EOleSysError);
    EXPECT_EQ(0, ctl().LiveContexts());
}

TEST_F(SpeechRecoContextTest, TwelveEventsReachTheirHandlersOnTheGuiThread)
{
    SpeechRecoContext context;
    std::vector<std::string> calls;
    std::vector<std::wstring> texts;
    std::vector<int> levels;
    bool otherThread = false;
    const DWORD guiThread = GetCurrentThreadId();
    auto note = [&](const char* name) {
        return [&, name](long stream, const VARIANT& position) {
            calls.push_back(name);
            otherThread = otherThread || GetCurrentThreadId() != guiThread;
            EXPECT_EQ(1, stream);
            EXPECT_EQ(VT_DECIMAL, position.vt);
        };
    };
    auto noteResult = [&](const char* name) {
        return [&, name](long, const VARIANT&, const SpeechRecoResult& result) {
            calls.push_back(name);
            texts.push_back(result.PhraseText());
        };
    };
    context.Events.OnStartStream = note("StartStream");
    context.Events.OnEndStream = note("EndStream");
    context.Events.OnSoundStart = note("SoundStart");
    context.Events.OnSoundEnd = note("SoundEnd");
    context.Events.OnPhraseStart = note("PhraseStart");
    context.Events.OnHypothesis = noteResult("Hypothesis");
    context.Events.OnRecognition = noteResult("Recognition");
    context.Events.OnFalseRecognition = note("FalseRecognition");
    context.Events.OnInterference = note("Interference");
    context.Events.OnRequestUI = note("RequestUI");
    context.Events.OnRecognitionForOtherContext = note("RecognitionForOtherContext");
    context.Events.OnAudioLevel = [&](long, const VARIANT&, int level) {
        calls.push_back("AudioLevel");
        levels.push_back(level);
    };
    context.SetEventInterests(SREAllEvents);
    ASSERT_EQ(1, ctl().PlayScript(u8"start-stream\nsound-start\naudio-level 0\nphrase-start\nhypothesis 你\n"
                                  u8"hypothesis 你好\nrecognition 你好吗\naudio-level 100\nsound-end\n"
                                  u8"false-recognition\ninterference\nrequest-ui\nother-context\nend-stream\n"));
    ASSERT_TRUE(PumpUntil([&] { return calls.size() >= 14; }));
    std::vector<std::string> expected = {"StartStream", "SoundStart", "AudioLevel", "PhraseStart", "Hypothesis",
                                         "Hypothesis", "Recognition", "AudioLevel", "SoundEnd", "FalseRecognition",
                                         "Interference", "RequestUI", "RecognitionForOtherContext", "EndStream"};
    EXPECT_EQ(expected, calls);
    std::vector<std::wstring> expectedTexts = {L"你", L"你好", L"你好吗"};
    EXPECT_EQ(expectedTexts, texts);
    EXPECT_EQ((std::vector<int>{0, 100}), levels);
    EXPECT_FALSE(otherThread);
}

TEST_F(SpeechRecoContextTest, HandlerExceptionsGoToTheSinkErrorHook)
{
    SpeechRecoContext context;
    std::vector<std::string> errors;
    int recognitions = 0;
    context.Events.OnSinkError = [&](const std::exception& e) { errors.push_back(e.what()); };
    context.Events.OnHypothesis = [&](long, const VARIANT&, const SpeechRecoResult&) { throw std::runtime_error("boom"); };
    context.Events.OnRecognition = [&](long, const VARIANT&, const SpeechRecoResult&) {
        ++recognitions;
        throw 42;  // not even an exception class
    };
    context.Events.OnSoundEnd = [&](long, const VARIANT&) { SpeechRecoResult().PhraseText(); };
    context.SetEventInterests(SREAllEvents);
    ASSERT_EQ(1, ctl().PlayScript("hypothesis a\nrecognition b\nsound-end\nrecognition c\n"));
    ASSERT_TRUE(PumpUntil([&] { return recognitions == 2; }));
    ASSERT_EQ(4u, errors.size());
    EXPECT_EQ("boom", errors[0]);
    EXPECT_EQ("unknown exception in a speech event handler", errors[1]);
    EXPECT_EQ(EOleSysError(E_POINTER).what(), errors[2]);
}

TEST_F(SpeechRecoContextTest, AHandlerMayDestroyTheContext)
{
    auto context = std::make_unique<SpeechRecoContext>();
    bool destroyed = false;
    context->Events.OnSoundStart = [&](long, const VARIANT&) {
        context.reset();
        destroyed = true;
    };
    context->SetEventInterests(SREAllEvents);
    ASSERT_EQ(1, ctl().PlayScript("sound-start\nsound-end\n"));
    ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
    EXPECT_TRUE(PumpUntil([this] { return ctl().LiveContexts() == 0; }));
    EXPECT_TRUE(LogHas("Unadvise"));
}

TEST_F(SpeechRecoContextTest, DisconnectStopsEventsAndReleasesTheContext)
{
    SpeechRecoContext context;
    int sounds = 0;
    context.Events.OnSoundStart = [&](long, const VARIANT&) { ++sounds; };
    context.SetEventInterests(SREAllEvents);
    context.Disconnect();
    EXPECT_FALSE(context.Connected());
    EXPECT_EQ(0, ctl().LiveContexts());
    EXPECT_TRUE(LogHas("ReleaseContext"));
    EXPECT_EQ(0, ctl().FireEvent("sound-start"));
    PumpMessages();
    EXPECT_EQ(0, sounds);
}

TEST_F(SpeechRecoContextTest, RecognizerWrapperChecksAndOpensDialogs)
{
    SpeechRecoContext context;
    ctl().SetUnsupported("AddRemoveWord");
    EXPECT_TRUE(context.Recognizer().IsUISupported(L"UserTraining"));
    EXPECT_FALSE(context.Recognizer().IsUISupported(L"AddRemoveWord"));
    SetEnvironmentVariableW(L"SPEECH_STANDIN_UI_AUTOCLOSE", L"50");
    SpeechRecoContext later;  // the variable is read when its context is made
    later.Recognizer().DisplayUI(nullptr, L"Speaker Training", L"UserTraining");
    EXPECT_TRUE(LogHas("DisplayUI UserTraining Speaker Training"));
    EXPECT_THROW(later.Recognizer().DisplayUI(nullptr, L"Add/Remove Word", L"AddRemoveWord"), EOleSysError);
}

// Sink calls with arguments the event interface does not declare are refused, not guessed.
TEST_F(SpeechRecoContextTest, SinkRefusesMalformedCalls)
{
    SpeechRecoContextEvents events;
    int calls = 0;
    events.OnHypothesis = [&](long, const VARIANT&, const SpeechRecoResult&) { ++calls; };
    events.OnAudioLevel = [&](long, const VARIANT&, int) { ++calls; };
    auto sink = SpeechRecoContextSink::Create(&events);
    VARIANT args[3];
    for (VARIANT& v : args) VariantInit(&v);
    DISPPARAMS two = {args, nullptr, 2, 0};
    UINT bad = 99;
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, sink->Invoke(DISPID_SRCEHypothesis, IID_NULL, 0, DISPATCH_METHOD, &two, nullptr, nullptr, &bad));
    // rgvarg holds the arguments last first: [2] stream number, [1] position, [0] level.
    args[2].vt = VT_BSTR;
    args[2].bstrVal = SysAllocString(L"not a number");
    args[1].vt = VT_I4;
    args[0].vt = VT_I4;
    args[0].lVal = 5;
    DISPPARAMS three = {args, nullptr, 3, 0};
    EXPECT_EQ(DISP_E_TYPEMISMATCH, sink->Invoke(DISPID_SRCEAudioLevel, IID_NULL, 0, DISPATCH_METHOD, &three, nullptr, nullptr, &bad));
    EXPECT_EQ(2u, bad);
    VariantClear(&args[2]);
    args[2].vt = VT_I4;
    args[2].lVal = 1;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, sink->Invoke(DISPID_SRCEHypothesis, IID_NULL, 0, DISPATCH_METHOD, &three, nullptr, nullptr, &bad));
    EXPECT_EQ(S_OK, sink->Invoke(DISPID_SRCEAudioLevel, IID_NULL, 0, DISPATCH_METHOD, &three, nullptr, nullptr, &bad));
    EXPECT_EQ(1, calls);
    EXPECT_EQ(S_OK, sink->Invoke(DISPID_SRCEBookmark, IID_NULL, 0, DISPATCH_METHOD, &three, nullptr, nullptr, &bad));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, sink->Invoke(DISPID_SRCEAudioLevel, IID_IDispatch, 0, DISPATCH_METHOD, &three, nullptr, nullptr, &bad));
    sink->Detach();
    EXPECT_EQ(S_OK, sink->Invoke(DISPID_SRCEAudioLevel, IID_NULL, 0, DISPATCH_METHOD, &three, nullptr, nullptr, &bad));
    EXPECT_EQ(1, calls);
}

}  // namespace
