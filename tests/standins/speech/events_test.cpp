// Event delivery: order, thread, message pump, arguments as the event interface declares
// them, interests, waits, Pause/Resume, bad script lines and handlers that re-enter.
#include "standin_fixture.h"

using namespace standin_test;

namespace {

class Events : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        if (HasFatalFailure()) return;
        context = CreateContext();
        ASSERT_TRUE(context);
        ASSERT_EQ(S_OK, context->put_EventInterests(SREAllEvents));
        sink = RecordingSink::Create();
        cookie = Advise(context.Get(), sink.Get());
        ASSERT_NE(0u, cookie);
    }
    void TearDown() override
    {
        sink.Reset();
        context.Reset();
        StandinTest::TearDown();
    }
    bool WaitForEvents(size_t n, DWORD timeoutMs = 5000)
    {
        return PumpUntil([&] { return sink->events.size() >= n; }, timeoutMs);
    }

    SpeechComPtr<ISpeechRecoContext> context;
    SpeechComPtr<RecordingSink> sink;
    DWORD cookie = 0;
};

TEST_F(Events, PhraseArrivesInOrderOnTheGuiThreadThroughThePump)
{
    ASSERT_EQ(1, ctl().PlayScript(u8"phrase-start\nhypothesis 今天\nhypothesis 今天天气\nrecognition 今天天气很好\n"));
    // Nothing is delivered until the thread pumps messages.
    EXPECT_EQ(4, ctl().PendingEvents());
    EXPECT_TRUE(sink->events.empty());
    ASSERT_TRUE(WaitForEvents(4));
    ASSERT_EQ(4u, sink->events.size());
    const DISPID order[] = {DISPID_SRCEPhraseStart, DISPID_SRCEHypothesis, DISPID_SRCEHypothesis, DISPID_SRCERecognition};
    const size_t argCount[] = {2, 3, 3, 4};
    for (size_t i = 0; i < 4; ++i) {
        const RecordedEvent& e = sink->events[i];
        EXPECT_EQ(order[i], e.id) << "event " << i;
        EXPECT_EQ(GetCurrentThreadId(), e.thread) << "event " << i;
        ASSERT_EQ(argCount[i], e.args.size()) << "event " << i;
        EXPECT_EQ(VT_I4, e.args[0].vt) << "event " << i;
        EXPECT_EQ(1, e.args[0].number) << "event " << i;
        EXPECT_EQ(VT_DECIMAL, e.args[1].vt) << "event " << i;
    }
    EXPECT_EQ(VT_DISPATCH, sink->events[1].args[2].vt);
    EXPECT_EQ(std::wstring(L"今天"), sink->events[1].args[2].text);
    EXPECT_EQ(std::wstring(L"今天天气"), sink->events[2].args[2].text);
    EXPECT_EQ(VT_I4, sink->events[3].args[2].vt);
    EXPECT_EQ(SRTStandard, sink->events[3].args[2].number);
    EXPECT_EQ(VT_DISPATCH, sink->events[3].args[3].vt);
    EXPECT_EQ(std::wstring(L"今天天气很好"), sink->events[3].args[3].text);
    EXPECT_TRUE(LogHas("GetText 0 -1 1"));
}

TEST_F(Events, AudioLevelsArrive)
{
    ASSERT_EQ(1, ctl().PlayScript("audio-level 0\naudio-level 37\naudio-level 100\n"));
    ASSERT_TRUE(WaitForEvents(3));
    const long levels[] = {0, 37, 100};
    for (size_t i = 0; i < 3; ++i) {
        const RecordedEvent& e = sink->events[i];
        EXPECT_EQ(DISPID_SRCEAudioLevel, e.id);
        ASSERT_EQ(3u, e.args.size());
        EXPECT_EQ(VT_I4, e.args[2].vt);
        EXPECT_EQ(levels[i], e.args[2].number);
    }
}

struct EventRow {
    const char* line;
    DISPID id;
    std::vector<VARTYPE> extra;  // types of the arguments after stream number and position
};

TEST_F(Events, EveryScriptWordReachesItsEvent)
{
    const EventRow rows[] = {
        {"start-stream", DISPID_SRCEStartStream, {}},
        {"end-stream", DISPID_SRCEEndStream, {VT_BOOL}},
        {"sound-start", DISPID_SRCESoundStart, {}},
        {"sound-end", DISPID_SRCESoundEnd, {}},
        {"phrase-start", DISPID_SRCEPhraseStart, {}},
        {"hypothesis x", DISPID_SRCEHypothesis, {VT_DISPATCH}},
        {"recognition x", DISPID_SRCERecognition, {VT_I4, VT_DISPATCH}},
        {"false-recognition", DISPID_SRCEFalseRecognition, {VT_DISPATCH}},
        {"interference", DISPID_SRCEInterference, {VT_I4}},
        {"request-ui", DISPID_SRCERequestUI, {VT_BSTR}},
        {"other-context", DISPID_SRCERecognitionForOtherContext, {}},
        {"audio-level 5", DISPID_SRCEAudioLevel, {VT_I4}},
    };
    size_t n = 0;
    for (const EventRow& row : rows) {
        ASSERT_EQ(1, ctl().FireEvent(row.line)) << row.line;
        ASSERT_TRUE(WaitForEvents(++n)) << row.line;
        const RecordedEvent& e = sink->events.back();
        EXPECT_EQ(row.id, e.id) << row.line;
        ASSERT_EQ(2 + row.extra.size(), e.args.size()) << row.line;
        for (size_t i = 0; i < row.extra.size(); ++i) EXPECT_EQ(row.extra[i], e.args[2 + i].vt) << row.line << " arg " << i;
    }
    EXPECT_EQ(std::wstring(L"MicTraining"), sink->events[9].args[2].text);
    EXPECT_EQ(VARIANT_FALSE, sink->events[1].args[2].number);
}

TEST_F(Events, InterestsFilterWhatIsDelivered)
{
    ASSERT_EQ(S_OK, context->put_EventInterests(SRERecognition));
    ASSERT_EQ(1, ctl().PlayScript("sound-start\naudio-level 9\nrecognition a\nsound-end\n"));
    ASSERT_TRUE(PumpUntil([this] { return ctl().PendingEvents() == 0; }));
    ASSERT_EQ(1u, sink->events.size());
    EXPECT_EQ(DISPID_SRCERecognition, sink->events[0].id);
}

TEST_F(Events, WaitDelaysAndAdvancesTheStreamPosition)
{
    ASSERT_EQ(1, ctl().PlayScript("stream 3\nsound-start\nwait 200\nsound-end\n"));
    ASSERT_TRUE(WaitForEvents(1));
    DWORD first = GetTickCount();
    ASSERT_TRUE(WaitForEvents(2));
    DWORD elapsed = GetTickCount() - first;
    EXPECT_GE(elapsed, 150u);
    EXPECT_EQ(3, sink->events[0].args[0].number);
    EXPECT_EQ(200 * 32, sink->events[1].args[1].number - sink->events[0].args[1].number);
}

TEST_F(Events, PauseHoldsEventsUntilResume)
{
    ASSERT_EQ(S_OK, context->Pause());
    ASSERT_EQ(1, ctl().FireEvent(u8"recognition 停"));
    PumpMessages();
    EXPECT_TRUE(sink->events.empty());
    EXPECT_EQ(1, ctl().PendingEvents());
    ASSERT_EQ(S_OK, context->Resume());
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(std::wstring(L"停"), sink->events[0].args[3].text);
}

TEST_F(Events, BadScriptLinesAreLoggedAndSkipped)
{
    ASSERT_EQ(1, ctl().PlayScript("sound-start\njump\naudio-level 300\nsound-end\n"));
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(DISPID_SRCESoundStart, sink->events[0].id);
    EXPECT_EQ(DISPID_SRCESoundEnd, sink->events[1].id);
    EXPECT_TRUE(LogHas("ScriptError 2: unknown command 'jump'"));
    EXPECT_TRUE(LogHas("ScriptError 3: '300' is out of range for 'audio-level' (0..100)"));
    EXPECT_EQ(-1, ctl().FireEvent("jump"));
    EXPECT_EQ(-1, ctl().FireEvent("# only a comment"));
    EXPECT_EQ(-1, ctl().PlayScript(nullptr));
}

TEST_F(Events, ModalLoopInsideAHandlerKeepsEventsFlowing)
{
    // A handler that opens a modal loop (as a message box does) still sees the next events.
    bool nestedSawNext = false;
    sink->onEvent = [&](const RecordedEvent& e) {
        if (e.id != DISPID_SRCEPhraseStart) return;
        nestedSawNext = PumpUntil([&] { return sink->events.size() >= 3; });
    };
    ASSERT_EQ(1, ctl().PlayScript("phrase-start\nhypothesis a\nrecognition a\n"));
    ASSERT_TRUE(WaitForEvents(3));
    EXPECT_TRUE(nestedSawNext);
    EXPECT_EQ(DISPID_SRCEHypothesis, sink->events[1].id);
    EXPECT_EQ(DISPID_SRCERecognition, sink->events[2].id);
}

TEST_F(Events, ReleasingTheContextInsideAHandlerIsSafe)
{
    sink->onEvent = [&](const RecordedEvent&) {
        SpeechComPtr<IConnectionPointContainer> container;
        SpeechComPtr<IConnectionPoint> point;
        context->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put()));
        container->FindConnectionPoint(DIID__ISpeechRecoContextEvents, point.Put());
        point->Unadvise(cookie);
        point.Reset();
        container.Reset();
        context.Reset();
    };
    ASSERT_EQ(1, ctl().PlayScript("sound-start\nsound-end\n"));
    ASSERT_TRUE(WaitForEvents(1));
    PumpUntil([this] { return ctl().LiveContexts() == 0; });
    EXPECT_EQ(0, ctl().LiveContexts());
    PumpMessages();
    EXPECT_EQ(1u, sink->events.size());
}

TEST_F(Events, EverySinkReceivesEachEvent)
{
    auto second = RecordingSink::Create();
    ASSERT_NE(0u, Advise(context.Get(), second.Get()));
    ASSERT_EQ(1, ctl().FireEvent(u8"recognition 两个"));
    ASSERT_TRUE(PumpUntil([&] { return sink->events.size() == 1 && second->events.size() == 1; }));
    EXPECT_EQ(std::wstring(L"两个"), second->events[0].args[3].text);
}

TEST_F(Events, EmptyPhraseTextIsDelivered)
{
    ASSERT_EQ(1, ctl().FireEvent("recognition"));
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(VT_DISPATCH, sink->events[0].args[3].vt);
    EXPECT_EQ(std::wstring(), sink->events[0].args[3].text);
}

}  // namespace
