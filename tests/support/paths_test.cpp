// The build root is found from the test executable, and temporary folders clean up after
// themselves.
#include "gui_test.h"

using namespace guitest;

TEST(Paths, BuildRoot_HoldsCacheAndHelperProgram) {
  const std::wstring root = BuildRoot();
  ASSERT_FALSE(root.empty());
  EXPECT_TRUE(FileExists(BuildPath(L"CMakeCache.txt"))) << ToUtf8(root);
  EXPECT_TRUE(FileExists(BuildPath(L"guitest_helper.exe"))) << ToUtf8(root);
  EXPECT_TRUE(DirectoryExists(ExeDir()));
}

TEST(Paths, TempDir_RemovesItselfWithContents) {
  std::wstring path;
  {
    TempDir folder(L"paths-test");
    ASSERT_TRUE(folder.Valid());
    path = folder.Path();
    EXPECT_TRUE(DirectoryExists(path));
    ASSERT_TRUE(WriteFileBytes(folder.File(L"a.txt"), "中文\r\n"));
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"sub").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(JoinPath(folder.File(L"sub"), L"b.bin"), std::string("\0\1\2", 3)));
    EXPECT_EQ("D6 D0 CE C4 0D 0A", HexBytes(ReadFileBytes(folder.File(L"a.txt"))));
    EXPECT_EQ(3u, ReadFileBytes(JoinPath(folder.File(L"sub"), L"b.bin")).size());
    TempDir other(L"paths-test");
    EXPECT_NE(path, other.Path());
  }
  EXPECT_FALSE(DirectoryExists(path));
}

TEST(Paths, JoinPath_AddsOneSeparator) {
  EXPECT_EQ(L"C:\\a\\b", JoinPath(L"C:\\a", L"b"));
  EXPECT_EQ(L"C:\\a\\b", JoinPath(L"C:\\a\\", L"b"));
  EXPECT_EQ(L"b", JoinPath(L"", L"b"));
}
