// Finding windows by class, caption, process and id, waiting for one that appears later,
// and reading window text in GBK and UTF-16.
#include "gui_test.h"

using namespace guitest;

namespace {

TestWindowOptions captioned(const wchar_t* caption) {
  TestWindowOptions options;
  options.caption = caption;
  return options;
}

}  // namespace

TEST(WindowFind, FindTopLevelWindow_MatchesClassCaptionAndProcess) {
  TestWindow window(captioned(L"guitest find 甲乙"));
  ASSERT_TRUE(window);
  const DWORD self = GetCurrentProcessId();
  EXPECT_EQ(window.Handle(), FindTopLevelWindow(WindowQuery().Class(L"GUITEST.testwindow").Caption(L"guitest find 甲乙")));
  EXPECT_EQ(window.Handle(), FindTopLevelWindow(WindowQuery().Caption(L"find 甲", TextMatch::Substring).InProcess(self)));
  EXPECT_EQ(window.Handle(), FindTopLevelWindow(WindowQuery().Caption(L"guitest find 甲乙").InThread(GetCurrentThreadId())));
  EXPECT_EQ(nullptr, FindTopLevelWindow(WindowQuery().Caption(L"find 甲")));  // exact by default
  EXPECT_EQ(nullptr, FindTopLevelWindow(WindowQuery().Caption(L"guitest find 甲乙").InProcess(self + 4)));
  EXPECT_EQ(nullptr, FindTopLevelWindow(WindowQuery().Caption(L"guitest find 甲乙").Visible()));  // hidden fixture
}

TEST(WindowFind, WaitForWindow_FindsWindowCreatedWhileWaiting) {
  // The window is created from a posted message, i.e. only once the wait pumps.
  std::unique_ptr<TestWindow> created;
  TestWindowOptions options;
  options.handler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message == WM_APP) created = std::make_unique<TestWindow>(captioned(L"guitest later"));
    return false;
  };
  TestWindow poster(options);
  ASSERT_TRUE(poster);
  PostMessageW(poster.Handle(), WM_APP, 0, 0);
  EXPECT_EQ(nullptr, FindTopLevelWindow(WindowQuery().Caption(L"guitest later")));
  HWND found = WaitForWindow(WindowQuery().Caption(L"guitest later").InProcess(GetCurrentProcessId()), 5000);
  ASSERT_NE(nullptr, found);
  ASSERT_TRUE(created);
  EXPECT_EQ(created->Handle(), found);
  created.reset();
  EXPECT_TRUE(WaitForWindowGone(found, 1000));
}

TEST(WindowFind, FindChild_ByIdClassAndDepth) {
  TestWindow parent(captioned(L"guitest parent"));
  ASSERT_TRUE(parent);
  TestWindowOptions panel;
  panel.parent = parent.Handle();
  panel.id = 10;
  panel.style = WS_CHILD | WS_VISIBLE;
  TestWindow inner(panel);
  HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, inner.Handle(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(20)), nullptr, nullptr);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(inner.Handle(), FindChildById(parent.Handle(), 10));
  EXPECT_EQ(edit, FindChildById(parent.Handle(), 20)) << "grandchildren are searched too";
  EXPECT_EQ(edit, FindChildByClass(parent.Handle(), L"edit"));
  EXPECT_EQ(nullptr, FindChildByClass(parent.Handle(), L"Edit", 1));
  EXPECT_EQ(nullptr, FindChildById(parent.Handle(), 30));
}

TEST(WindowFind, WindowText_ReadsGbkAndWideText) {
  TestWindow window(captioned(L""));
  ASSERT_TRUE(window);
  HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 0, 50, 20, window.Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, edit);
  ASSERT_TRUE(SetWindowTextA(edit, "中文"));
  EXPECT_EQ("D6 D0 CE C4", HexBytes(WindowTextA(edit)));
  EXPECT_EQ(L"中文", WindowTextW(edit));
  SetWindowTextW(window.Handle(), L"标题");
  EXPECT_EQ("B1 EA CC E2", HexBytes(WindowTextA(window.Handle())));
  EXPECT_EQ(L"Edit", ClassNameOf(edit));
  EXPECT_EQ(GetCurrentProcessId(), ProcessIdOf(edit));
  EXPECT_EQ(std::string(), WindowTextA(nullptr));
}

TEST(WindowFind, Rectangles_ClientAndParentCoordinates) {
  TestWindowOptions options;
  options.style = WS_POPUP | WS_BORDER;
  options.x = 100;
  options.y = 50;
  options.width = 200;
  options.height = 100;
  TestWindow popup(options);
  ASSERT_TRUE(popup);
  TestWindowOptions childOptions;
  childOptions.parent = popup.Handle();
  childOptions.style = WS_CHILD;
  childOptions.x = 10;
  childOptions.y = 20;
  childOptions.width = 30;
  childOptions.height = 40;
  TestWindow child(childOptions);
  const RECT window = WindowRectOf(popup.Handle());
  EXPECT_TRUE(SameRect(RECT{100, 50, 300, 150}, window)) << ToString(window);
  const RECT client = ClientRectOnScreen(popup.Handle());
  EXPECT_TRUE(SameRect(RECT{101, 51, 299, 149}, client)) << ToString(client);
  EXPECT_TRUE(SameRect(RECT{0, 0, 198, 98}, ClientRectOf(popup.Handle())));
  EXPECT_TRUE(SameRect(RECT{10, 20, 40, 60}, RectInParent(child.Handle()))) << ToString(RectInParent(child.Handle()));
}
