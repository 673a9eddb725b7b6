#include <gtest/gtest.h>
#include <windows.h>
TEST(Platform, AnsiCodePageIsGbk) { EXPECT_EQ(936u, GetACP()); }
