// The stand-in word processor in its own process, through the class library's automation
// client: started on demand and hidden until asked or until text arrives, one process for
// every client, the document's text in its window, its closing and failing on command,
// and the end of a process nobody uses any more.
#include <gtest/gtest.h>

#include "Forms.h"
#include "WordServer.h"
#include "gui_test.h"
#include "word_standin_support.h"

using namespace wordtest;

namespace {

class WordStandin : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();  // COM for this thread
        ASSERT_TRUE(QuitStandins()) << "a stand-in from an earlier test would not end";
    }
    void TearDown() override { QuitStandins(); }
};

}  // namespace

TEST_F(WordStandin, NewDocument_HiddenUntilTextArrivesThenShowsIt) {
    TWordDocument document(nullptr);
    document.Connect();
    const DWORD pid = StandinProcessId();
    ASSERT_NE(0u, pid);
    EXPECT_NE(GetCurrentProcessId(), pid) << "the stand-in must run in a process of its own";
    HWND window = StandinWindow(pid);
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(guitest::IsVisible(window));
    const std::wstring second = L"天气😀";  // kept out of the assertions: their text is GBK
    document.Range().InsertAfter(L"今天");
    document.Range().InsertAfter(second);
    EXPECT_EQ(L"今天" + second, StandinText());
    EXPECT_EQ(L"今天" + second, document.Range().Text());
    EXPECT_TRUE(guitest::PumpUntil([&] { return guitest::IsVisible(window); })) << "text out of sight";
    EXPECT_EQ(L"今天" + second, StandinWindowText(pid));
}

TEST_F(WordStandin, RunningOrNew_EveryClientReachesTheSameProcessAndDocument) {
    TWordApplication first(nullptr), second(nullptr);
    first.Connect();
    first.SetVisible(true);
    const DWORD pid = StandinProcessId();
    second.Connect();
    EXPECT_TRUE(second.Visible());
    TWordDocument a(nullptr), b(nullptr);
    a.Range().InsertAfter(L"a");
    b.Range().InsertAfter(L"b");
    EXPECT_EQ(pid, StandinProcessId());
    EXPECT_EQ(1, StandinDocumentCount());
    EXPECT_EQ(L"ab", StandinText());
    EXPECT_EQ(1u, guitest::FindTopLevelWindows(guitest::WindowQuery().Class(L"WordStandinWindow")).size());
}

TEST_F(WordStandin, CloseDocument_ClientsAreCutOffAndANewDocumentTakesText) {
    TWordDocument document(nullptr);
    document.Range().InsertAfter(L"one");
    RunningApplication().Call(L"StandinCloseDocument");
    EXPECT_EQ(0, StandinDocumentCount());
    EXPECT_THROW(document.Range().InsertAfter(L"lost"), EOleSysError);
    document.Disconnect();
    document.Range().InsertAfter(L"two");
    EXPECT_EQ(L"two", StandinText());
    EXPECT_EQ(1, StandinDocumentCount());
}

TEST_F(WordStandin, Fail_EveryCallRaisesWithTheStandinsMessage) {
    TWordApplication app(nullptr);
    TWordDocument document(nullptr);
    document.Connect();
    RunningApplication().Put(L"StandinFail", OleVariant(true));
    try {
        document.Range().InsertAfter(L"x");
        FAIL() << "no exception";
    } catch (const EOleException& e) {
        EXPECT_STREQ("The word processor stand-in was told to fail", e.what());
        EXPECT_EQ("Word processor stand-in", e.Source());
    }
    EXPECT_THROW(app.SetVisible(true), EOleException);
    RunningApplication().Put(L"StandinFail", OleVariant(false));
    document.Range().InsertAfter(L"y");
    EXPECT_EQ(L"y", StandinText());
}

TEST_F(WordStandin, OnlyWhatTheProgramCallsIsOffered) {
    TWordDocument document(nullptr);
    try {
        document.Range(OleVariant(0), OleVariant(1));
        FAIL() << "a range with a start and an end was accepted";
    } catch (const EOleException& e) {
        EXPECT_EQ(E_INVALIDARG, e.ErrorCode());
    }
    try {
        document.Server().Call(L"SaveAs", {OleVariant(L"c:\\x.doc")});
        FAIL() << "an unknown member was accepted";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(DISP_E_UNKNOWNNAME, e.ErrorCode());
    }
}

TEST_F(WordStandin, Hiding_RefusedWhileADocumentHoldsText) {
    TWordApplication app(nullptr);
    app.SetVisible(true);
    app.SetVisible(false);
    EXPECT_FALSE(app.Visible());
    TWordDocument document(nullptr);
    document.Range().InsertAfter(L"keep me");
    app.SetVisible(false);
    EXPECT_TRUE(app.Visible());
}

TEST_F(WordStandin, Lifetime_AHiddenEmptyStandinEndsWithItsLastClient) {
    DWORD pid = 0;
    {
        TWordDocument document(nullptr);
        document.Connect();
        pid = StandinProcessId();
        ASSERT_NE(0u, pid);
    }
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(nullptr, process);
    EXPECT_TRUE(guitest::PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }))
        << "the unused stand-in kept running";
    CloseHandle(process);
}

TEST_F(WordStandin, Lifetime_AStandinWithTextOutlivesItsClients) {
    DWORD pid = 0;
    {
        TWordDocument document(nullptr);
        document.Range().InsertAfter(L"kept");
        pid = StandinProcessId();
    }
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(nullptr, process);
    // Nothing to wait for: the process must simply still be there, with the text shown.
    guitest::PumpMessages();
    EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(process, 0));
    CloseHandle(process);
    EXPECT_EQ(L"kept", StandinText());
    EXPECT_EQ(L"kept", StandinWindowText(pid));
}

TEST_F(WordStandin, Absent_ClientsSeeNoWordProcessor) {
    Unregistered absent;
    ASSERT_TRUE(absent.ok);
    TWordApplication app(nullptr);
    try {
        app.Connect();
        FAIL() << "connected to a word processor that is not installed";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(REGDB_E_CLASSNOTREG, e.ErrorCode());
    }
}
