// GDI and USER object counts move with objects made and freed, so leak tests can compare
// them before and after.
#include "gui_test.h"

using namespace guitest;

TEST(GuiObjects, CountGuiObjects_FollowsBrushesAndWindows) {
  const GuiObjectCounts before = CountGuiObjects();
  if (!before.gdiKnown || !before.userKnown) GTEST_SKIP() << "no GUI object counts here: " << before.source;
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 50; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 2, 3)));
  const GuiObjectCounts withBrushes = CountGuiObjects();
  EXPECT_EQ(before.gdi + 50, withBrushes.gdi) << withBrushes.source;
  for (HBRUSH b : brushes) DeleteObject(b);
  EXPECT_EQ(before.gdi, CountGuiObjects().gdi);

  {
    TestWindow a{TestWindowOptions()}, b{TestWindowOptions()}, c{TestWindowOptions()};
    EXPECT_GE(CountGuiObjects().user, before.user + 3) << before.source;
  }
  EXPECT_EQ(before.user, CountGuiObjects().user);
}

TEST(GuiObjects, CountGuiObjects_OfAnotherProcessUnderWineIsUnknown) {
  if (!RunningUnderWine()) GTEST_SKIP() << "GetGuiResources counts other processes on Windows";
  Process helper = LaunchProgram(L"guitest_helper.exe");
  ASSERT_TRUE(helper.Valid()) << helper.Error();
  const GuiObjectCounts counts = CountGuiObjects(helper.Handle());
  EXPECT_FALSE(counts.gdiKnown);
  EXPECT_FALSE(counts.userKnown);
}
