// The notepad's main form in this process, dictated to by the stand-in recognizer
// (loaded through COM like on a user's machine, and driven through its test controls).
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Fnotepad.h"
#include "Menus.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "WinSkinData.h"
#include "gui_test.h"
#include "notepad_test_support.h"

using notepadtest::Standin;

namespace {

class NotepadForm : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        RegisterSkinClasses();
        TFnotepad::CommandLineParameters = [] { return std::vector<std::string>(); };
        ASSERT_TRUE(Standin::Get().Loaded()) << "stand-in recognizer DLL not found";
        Standin::Get().Reset();
        notepadtest::CreateMarker();
        form = Application->CreateForm<TFnotepad>();
        form->SetWindowState(wsNormal);
        form->Show();
        guitest::PumpMessages();
    }
    void TearDown() override {
        if (form) {
            form->RichEdit1->SetModified(false);
            delete form;
        }
        Application->SetMainForm(nullptr);
        Standin::Get().Reset();
        guitest::PumpMessages();
    }
    // Plays a script and pumps until the stand-in has delivered all of it.
    void Dictate(const char* utf8Script) {
        ASSERT_GE(Standin::Get().Play(utf8Script), 1);
        ASSERT_TRUE(guitest::PumpUntil([] { return Standin::Get().Pending() == 0; }));
        guitest::PumpMessages();
    }
    std::vector<std::string> Choices() { return form->lstHypotheses->Items().ToVector(); }

    TFnotepad* form = nullptr;
};

}  // namespace

TEST_F(NotepadForm, SetUp_AsksForAllEventsGrammarZeroAndDictation) {
    const std::string log = Standin::Get().Log();
    EXPECT_NE(std::string::npos, log.find("EventInterests 0x5FFFF")) << log;
    EXPECT_NE(std::string::npos, log.find("CreateGrammar 0")) << log;
    EXPECT_NE(std::string::npos, log.find("DictationSetState 1")) << log;
    EXPECT_EQ("Orvisk", Application->Title());
}

TEST_F(NotepadForm, Phrase_TwoGuessesListedAndRecognitionInsertedOnceAtCaret) {
    form->RichEdit1->SetText("AB");
    form->RichEdit1->SetSelStart(1);
    form->RichEdit1->SetSelLength(0);
    Dictate(u8"phrase-start\nhypothesis 今天\nhypothesis 今天天气\nrecognition 今天天气很好\n");
    EXPECT_EQ((std::vector<std::string>{"今天", "今天天气"}), Choices());
    EXPECT_EQ(1, form->lstHypotheses->ItemIndex());
    EXPECT_EQ(std::string("A今天天气很好B"), form->RichEdit1->Text());
    EXPECT_EQ(std::string("A今天天气很好B"), guitest::WindowTextA(form->RichEdit1->Handle()));
    EXPECT_TRUE(form->RichEdit1->Modified());

    // The next phrase starts the choice list afresh.
    Dictate(u8"phrase-start\n");
    EXPECT_TRUE(Choices().empty());
}

TEST_F(NotepadForm, Phrase_RecognitionReplacesSelection) {
    form->RichEdit1->SetText("one two three");
    form->RichEdit1->SetSelStart(4);
    form->RichEdit1->SetSelLength(3);
    Dictate(u8"recognition 二\n");
    EXPECT_EQ(std::string("one 二 three"), form->RichEdit1->Text());
}

TEST_F(NotepadForm, ChoiceList_StoredHintsUntilFirstPhraseAndDoubleClickDelivers) {
    ASSERT_EQ(9, form->lstHypotheses->Items().Count());
    EXPECT_EQ(std::string("用嘴对着麦克风讲话即可输入."), form->lstHypotheses->Items()[0]);
    form->RichEdit1->SetText("");
    form->lstHypotheses->SetItemIndex(-1);
    form->lstHypothesesDblClick(form->lstHypotheses);
    EXPECT_EQ("", form->RichEdit1->Text());  // nothing selected: nothing delivered
    form->lstHypotheses->SetItemIndex(2);
    form->lstHypothesesDblClick(form->lstHypotheses);
    EXPECT_EQ(std::string("请注意保持周围环境的安静，"), form->RichEdit1->Text());
}

TEST_F(NotepadForm, AudioLevel_EmptyAndFull) {
    Dictate("audio-level 100\n");
    EXPECT_EQ(100, form->ProgressBar->Position());
    Dictate("audio-level 0\n");
    EXPECT_EQ(0, form->ProgressBar->Position());
}

TEST_F(NotepadForm, StartStop_StatusPanelAndRecognizerCalls) {
    EXPECT_EQ(std::string("语音输入：已开始"), form->StatusBar1->Panels().Items(0)->Text());
    form->NStopClick(form);
    EXPECT_EQ(std::string("语音输入：已停止"), form->StatusBar1->Panels().Items(0)->Text());
    form->NStartClick(form);
    EXPECT_EQ(std::string("语音输入：已开始"), form->StatusBar1->Panels().Items(0)->Text());
    const std::string log = Standin::Get().Log();
    EXPECT_NE(std::string::npos, log.find("Pause")) << log;
    EXPECT_NE(std::string::npos, log.find("Resume")) << log;
}

TEST_F(NotepadForm, EventLog_NamesTheEvents) {
    Dictate("sound-start\nphrase-start\nsound-end\nother-context\n");
    EXPECT_EQ((std::vector<std::string>{"OnSoundStart", "OnPhraseStart", "OnSoundEnd", "OnRecognitionForOtherContext"}),
              form->lstProgress->Items().ToVector());
    EXPECT_EQ(3, form->lstProgress->ItemIndex());
}

TEST_F(NotepadForm, StatusBar_DateWeekdayAndClock) {
    std::tm today{};
    std::time_t now = std::time(nullptr);
    localtime_s(&today, &now);
    EXPECT_EQ(TFnotepad::DateText(today), form->StatusBar1->Panels().Items(2)->Text());
    EXPECT_EQ(TFnotepad::WeekdayText(today), form->StatusBar1->Panels().Items(3)->Text());
    ASSERT_TRUE(guitest::PumpUntil([&] { return !form->StatusBar1->Panels().Items(4)->Text().empty(); }));
    EXPECT_EQ(11u, form->StatusBar1->Panels().Items(4)->Text().size());  // "   hh:mm:ss"
}

TEST(NotepadTexts, WeekdayOfEachDay) {
    const char* expected[7] = {"  星期日", "  星期一", "  星期二", "  星期三", "  星期四", "  星期五", "  星期六"};
    for (int day = 0; day < 7; ++day) {
        // 2026-12-06 was a Sunday.
        std::tm tm{};
        tm.tm_year = 126; tm.tm_mon = 11; tm.tm_mday = 6 + day; tm.tm_hour = 12;
        std::mktime(&tm);
        EXPECT_EQ(std::string(expected[day]), TFnotepad::WeekdayText(tm)) << "day " << day;
    }
    std::tm tm{};
    tm.tm_year = 126; tm.tm_mon = 0; tm.tm_mday = 5; tm.tm_hour = 7; tm.tm_min = 8; tm.tm_sec = 9;
    EXPECT_EQ("  2026-01-05", TFnotepad::DateText(tm));
    EXPECT_EQ("   07:08:09", TFnotepad::ClockText(tm));
}

TEST(DictationFrontEnd, PhraseTextBecomesGbk) {
    EXPECT_EQ(std::string("\xD6\xD0\xCE\xC4"), TDictationForm::PhraseToAnsi(L"中文"));
}

TEST_F(NotepadForm, Layout_EditorChoiceListBarsAndSplitters) {
    form->SetBounds(10, 10, 696, 479);
    guitest::PumpMessages();
    const RECT client = form->ClientRect();
    const int w = client.right, h = client.bottom;
    SCOPED_TRACE(guitest::ToString(client));
    auto rectOf = [](TControl* c) { return c->BoundsRect(); };
    auto same = [](const RECT& a, const RECT& b) { return guitest::SameRect(a, b); };
    EXPECT_TRUE(same(RECT{0, h - 24, w, h}, rectOf(form->StatusBar1))) << guitest::ToString(rectOf(form->StatusBar1));
    EXPECT_TRUE(same(RECT{0, h - 49, w, h - 24}, rectOf(form->ProgressBar))) << guitest::ToString(rectOf(form->ProgressBar));
    EXPECT_TRUE(same(RECT{w - 226, 0, w, h - 49}, rectOf(form->Panel2))) << guitest::ToString(rectOf(form->Panel2));
    EXPECT_TRUE(same(RECT{w - 229, 0, w - 226, h - 49}, rectOf(form->Splitter1))) << guitest::ToString(rectOf(form->Splitter1));
    EXPECT_TRUE(same(RECT{0, 0, w - 229, h - 49}, rectOf(form->RichEdit1))) << guitest::ToString(rectOf(form->RichEdit1));
    EXPECT_TRUE(same(rectOf(form->RichEdit1), rectOf(form->Panel1)));
    EXPECT_TRUE(same(RECT{0, 0, 226, h - 49}, rectOf(form->lstHypotheses))) << guitest::ToString(rectOf(form->lstHypotheses));
    // The editor lies in front of the event log's panel.
    HWND top = GetWindow(form->Handle(), GW_CHILD);
    bool editorBeforePanel = false;
    for (HWND c = top; c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == form->Panel1->Handle()) break;
        if (c == form->RichEdit1->Handle()) editorBeforePanel = true;
    }
    EXPECT_TRUE(editorBeforePanel);
}
