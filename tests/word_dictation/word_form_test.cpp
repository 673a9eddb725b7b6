// scrivet's main form in this process, dictated to by the stand-in recognizer (loaded here
// through COM) and appending to the stand-in word processor in its own process.
#include <windows.h>
#include <colordlg.h>

#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "FWord.h"
#include "Graphics.h"
#include "SkinManage.h"
#include "StdCtrls.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WordServer.h"
#include "gui_test.h"
#include "notepad_test_support.h"
#include "word_standin_support.h"

using notepadtest::Standin;
using namespace wordtest;

namespace {

class WordForm : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        RegisterSkinClasses();
        ASSERT_TRUE(Standin::Get().Loaded()) << "stand-in recognizer DLL not found";
        Standin::Get().Reset();
        notepadtest::CreateMarker();
        ASSERT_TRUE(QuitStandins()) << "a stand-in word processor from an earlier test would not end";
        form = Application->CreateForm<TFWord>();
        form->Show();
        guitest::PumpMessages();
    }
    void TearDown() override {
        delete form;
        Application->SetMainForm(nullptr);
        Standin::Get().Reset();
        guitest::PumpMessages();
        QuitStandins();
    }
    // Plays a script and pumps until the stand-in recognizer has delivered all of it.
    void Dictate(const char* utf8Script) {
        ASSERT_GE(Standin::Get().Play(utf8Script), 1);
        ASSERT_TRUE(guitest::PumpUntil([] { return Standin::Get().Pending() == 0; }));
        guitest::PumpMessages();
    }
    // The document's text once it reads as expected (the stand-in answers from its own
    // process), else what it reads.
    std::wstring TextBecomes(const std::wstring& expected) {
        std::wstring text;
        guitest::PumpUntil([&] {
            try {
                text = StandinText();
            } catch (const EOleSysError&) {
                text.clear();
            }
            return text == expected;
        });
        return text;
    }

    TFWord* form = nullptr;
};

}  // namespace

TEST_F(WordForm, Start_TitleStayOnTopAndBottomRightCorner) {
    // The skin engine attaches at the first activation and fits the frame to the skin's
    // borders when its apply message arrives.
    ASSERT_TRUE(guitest::PumpUntil([&] {
        TSkinManage* manager = TSkinManage::Instance();
        TWinSkinForm* skin = manager ? manager->FindFormSkin(form->Handle()) : nullptr;
        return skin && skin->FSkinState == ssActive;
    })) << "the form is not skinned";
    EXPECT_EQ("Dormel", Application->Title());
    EXPECT_EQ(std::string("Dormel(已开始)"), form->Text());
    char caption[64] = {};
    GetWindowTextA(form->Handle(), caption, sizeof caption);
    EXPECT_EQ(std::string("Dormel(已开始)"), caption) << "the caption the skin draws";
    // The stored 234 x 240 under the system frame (caption, system menu, thick frame, the
    // menu bar): the skin keeps that client area whatever its own borders are.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, TRUE, 0);
    EXPECT_EQ(234 - (frame.right - frame.left), form->ClientWidth());
    EXPECT_EQ(240 - (frame.bottom - frame.top), form->ClientHeight());
    // Still in the bottom-right corner, 30 pixels above the screen's bottom edge.
    EXPECT_EQ(Screen->Width(), form->Left() + form->Width());
    EXPECT_EQ(Screen->Height() - 30, form->Top() + form->Height());
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(StandinRunning()) << "the word processor was reached before anything was dictated";
}

TEST_F(WordForm, ChoiceList_StoredLinesColourAndFont) {
    ASSERT_EQ(10, form->lstHypotheses->Items().Count());
    EXPECT_EQ(std::string("点击[启动word]，打开word."), form->lstHypotheses->Items()[0]);
    EXPECT_EQ(std::string("请点[控制]--[词典]菜单项。"), form->lstHypotheses->Items()[9]);
    EXPECT_EQ(clMoneyGreen, form->lstHypotheses->Color());
    EXPECT_EQ(clRed, form->lstHypotheses->Font().Color());
    EXPECT_EQ(-13, form->lstHypotheses->Font().Height());
    EXPECT_EQ(std::string("[选字框]：双击将选择字段输入到Word中。"), form->lstHypotheses->Hint());
}

TEST_F(WordForm, Recognitions_AppendedDirectlyJoined) {
    Dictate(u8"phrase-start\nhypothesis 今天\nrecognition 今天天气很好。\nrecognition 我们去公园\n");
    EXPECT_EQ(L"今天天气很好。我们去公园", TextBecomes(L"今天天气很好。我们去公园"));
    EXPECT_EQ(std::vector<std::string>{"今天"}, form->lstHypotheses->Items().ToVector());
}

TEST_F(WordForm, DeliverPhrase_TrimsBlanksAndControlCodesAtBothEnds) {
    const struct {
        const wchar_t* phrase;
        const wchar_t* appended;
    } rows[] = {
        {L"  a b  ", L"a b"},
        {L"\t\r\n中文\r\n", L"中文"},
        {L"\x01x\x1f", L"x"},
        {L"   ", L""},
    };
    std::wstring expected;
    for (const auto& r : rows) {
        form->DeliverPhrase(r.phrase);
        expected += r.appended;
        EXPECT_EQ(expected, TextBecomes(expected)) << "row " << guitest::ToUtf8(r.phrase);
    }
}

TEST_F(WordForm, Phrase_CharactersOutsideTheCodePageArriveUnchanged) {
    Dictate(u8"recognition 中文한글😀\n");
    const std::wstring phrase = L"中文한글😀";  // kept out of the assertion: its text is GBK
    EXPECT_EQ(phrase, TextBecomes(phrase));
}

TEST_F(WordForm, DoubleClick_NoLineSelectedAppendsNothing) {
    form->lstHypotheses->SetItemIndex(-1);
    form->lstHypothesesDblClick(form->lstHypotheses);
    EXPECT_FALSE(StandinRunning()) << "a double-click with no line selected reached the word processor";
}

TEST_F(WordForm, DoubleClick_FirstStoredLineAppended) {
    form->lstHypotheses->SetItemIndex(0);
    form->lstHypothesesDblClick(form->lstHypotheses);
    EXPECT_EQ(L"点击[启动word]，打开word.", TextBecomes(L"点击[启动word]，打开word."));
}

TEST_F(WordForm, StartButton_WordProcessorAbsentShowsTheMessage) {
    Unregistered absent;
    ASSERT_TRUE(absent.ok);
    const std::string text = guitest::ExpectMessageBox([&] { form->BStartwordClick(form->BStartword); }, IDOK);
    EXPECT_EQ(std::string(kStartWordMessage), text) << guitest::HexBytes(text);
}

TEST_F(WordForm, StartButton_StartsTheWordProcessorShownThenAttachesToIt) {
    form->BStartwordClick(form->BStartword);
    const DWORD pid = StandinProcessId();
    ASSERT_NE(0u, pid) << "no word processor started";
    EXPECT_TRUE(guitest::PumpUntil([&] { return guitest::IsVisible(StandinWindow(pid)); })) << "not made visible";
    form->BStartwordClick(form->BStartword);
    EXPECT_EQ(pid, StandinProcessId());
    EXPECT_EQ(1u, guitest::FindTopLevelWindows(guitest::WindowQuery().Class(L"WordStandinWindow")).size())
        << "a second word processor was started";
    EXPECT_EQ(nullptr, guitest::FindThreadMessageBox(GetCurrentThreadId()));
}

TEST_F(WordForm, StartStop_CaptionShowsTheListeningState) {
    form->NStopClick(form);
    EXPECT_EQ(std::string("Dormel(已停止)"), form->Text());
    form->NStartClick(form);
    EXPECT_EQ(std::string("Dormel(已开始)"), form->Text());
    form->NNStopClick(form);
    EXPECT_EQ(std::string("Dormel(已停止)"), form->Text());
    form->NNStartClick(form);
    EXPECT_EQ(std::string("Dormel(已开始)"), form->Text());
    EXPECT_EQ(std::string("Dormel(已开始)"), guitest::WindowTextA(form->Handle()));
}

TEST_F(WordForm, ClosedDocument_NextPhraseLandsInANewDocument) {
    Dictate(u8"recognition 一\n");
    ASSERT_EQ(L"一", TextBecomes(L"一"));
    RunningApplication().Call(L"StandinCloseDocument");
    Dictate(u8"recognition 二\n");
    EXPECT_EQ(L"二", TextBecomes(L"二"));
    EXPECT_EQ(1, StandinDocumentCount());
    EXPECT_EQ(nullptr, guitest::FindThreadMessageBox(GetCurrentThreadId()));
}

TEST_F(WordForm, EndedWordProcessor_NextPhraseStartsANewOne) {
    Dictate(u8"recognition 一\n");
    ASSERT_EQ(L"一", TextBecomes(L"一"));
    ASSERT_TRUE(QuitStandins());
    Dictate(u8"recognition 二\n");
    EXPECT_EQ(L"二", TextBecomes(L"二"));
}

TEST_F(WordForm, AppendFailingAfterReconnecting_ErrorNamesTheLostText) {
    Dictate(u8"recognition 一\n");
    ASSERT_EQ(L"一", TextBecomes(L"一"));
    RunningApplication().Put(L"StandinFail", OleVariant(true));
    const std::string text = guitest::ExpectMessageBox([&] { Dictate(u8"recognition 丢失的话\n"); }, IDOK);
    EXPECT_NE(std::string::npos, text.find("丢失的话")) << text;
    EXPECT_NE(std::string::npos, text.find("The word processor stand-in was told to fail")) << text;
    RunningApplication().Put(L"StandinFail", OleVariant(false));
    EXPECT_EQ(L"一", StandinText());
}

TEST_F(WordForm, ClosingWithKeptPhrases_AsksFirstAndStaysOnNo) {
    Dictate(u8"recognition 一\n");
    ASSERT_EQ(L"一", TextBecomes(L"一"));
    RunningApplication().Put(L"StandinFail", OleVariant(true));
    guitest::ExpectMessageBox([&] { Dictate(u8"recognition 二\n"); }, IDOK);
    const std::string question =
        guitest::ExpectMessageBox([&] { SendMessageW(form->Handle(), WM_CLOSE, 0, 0); }, IDNO);
    EXPECT_NE(std::string::npos, question.find("还有1段文字")) << question;
    EXPECT_TRUE(IsWindowVisible(form->Handle())) << "closed although the user said no";
    RunningApplication().Put(L"StandinFail", OleVariant(false));
    Dictate(u8"recognition 三\n");
    EXPECT_EQ(L"一二三", TextBecomes(L"一二三"));
}

TEST_F(WordForm, HelpAndAbout_Texts) {
    const std::string help = guitest::ExpectMessageBox([&] { form->NhelpClick(form); }, IDOK);
    const std::string head = "软件使用帮助\r\n" + std::string(64, '-') + "\r\n1. ";
    EXPECT_EQ(head, help.substr(0, head.size()));
    for (int q = 1; q <= 10; ++q)
        EXPECT_NE(std::string::npos, help.find("\n" + std::to_string(q) + ". ")) << "question " << q;
    EXPECT_NE(std::string::npos, help.find("Word")) << "answers not written for this program";
    const std::string about = "★          关于本软件           ★\r\n" + std::string(36, '-') + "\r\n软件名称：Dormel";
    EXPECT_EQ(about, guitest::ExpectMessageBox([&] { form->NAboutClick(form); }, IDOK));
    EXPECT_EQ(about, guitest::ExpectMessageBox([&] { form->NNAboutClick(form); }, IDOK));
}

namespace {

// The dialog once the skin engine has fitted its frame; null when it never was.
TWinSkinForm* FittedSkinOf(HWND dialog) {
    TWinSkinForm* skin = nullptr;
    guitest::PumpUntil([&] {
        TSkinManage* manager = TSkinManage::Instance();
        skin = manager ? manager->FindFormSkin(dialog) : nullptr;
        return skin && skin->FSkinState == ssActive;
    });
    return skin && skin->FSkinState == ssActive ? skin : nullptr;
}

RECT WorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

}  // namespace

// The font and colour dialogs open beside the form in the screen's bottom-right corner; the
// skin's frame, taller than the system's, keeps them inside the work area all the same.
TEST_F(WordForm, FontAndColourDialogs_InsideTheWorkArea) {
    ASSERT_TRUE(FittedSkinOf(form->Handle())) << "the form is not skinned";
    auto inside = [](const char* name) {
        return [name](HWND dialog) {
            if (!FittedSkinOf(dialog)) ADD_FAILURE() << "the " << name << " dialog is not skinned";
            const RECT r = guitest::WindowRectOf(dialog), work = WorkArea(dialog);
            EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
                << "the " << name << " dialog at " << guitest::ToString(r) << ", the work area " << guitest::ToString(work);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        };
    };
    EXPECT_EQ(1u, notepadtest::RunDialogs([&] { form->NFontsClick(form); }, {inside("font")}).size());
    EXPECT_EQ(1u, notepadtest::RunDialogs([&] { form->NColorsClick(form); }, {inside("colour")}).size());
}

// The colour dialog opening its custom-colour half sizes itself as it measured under the
// system's frame: under the skin's frame its client area keeps its height, so its buttons
// stay clear of the bottom border.
TEST_F(WordForm, ColourDialog_CustomColoursKeepTheClientHeight) {
    ASSERT_TRUE(FittedSkinOf(form->Handle())) << "the form is not skinned";
    RECT before{}, after{};
    const auto seen = notepadtest::RunDialogs([&] { form->NColorsClick(form); }, {[&](HWND dialog) {
        if (!FittedSkinOf(dialog)) ADD_FAILURE() << "the colour dialog is not skinned";
        before = guitest::ClientRectOf(dialog);
        guitest::PressButton(dialog, COLOR_MIX);
        guitest::PumpUntil([&] { return guitest::ClientRectOf(dialog).right > before.right; });
        after = guitest::ClientRectOf(dialog);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    ASSERT_EQ(1u, seen.size());
    EXPECT_GT(after.right, before.right) << "the custom-colour half never opened";
    EXPECT_EQ(before.bottom, after.bottom) << "client height before and after opening the custom colours";
}
