// The control atom goes with the program that added it: global atoms outlive processes,
// and the system's table of them has a fixed size.
#include <gtest/gtest.h>

#include "ControlAtom.h"
#include "gui_test.h"

TEST(ControlAtom, GoneOnceTheProgramThatMadeAControlHasEnded) {
    guitest::TempDir dir;
    ASSERT_TRUE(dir.Valid());
    const std::wstring file = dir.File(L"atom.txt");
    guitest::Process child = guitest::LaunchProgram(L"control_atom_child.exe", L"\"" + file + L"\"");
    ASSERT_TRUE(child.Valid()) << child.Error();
    ASSERT_EQ(0u, guitest::WaitForExit(child));
    const std::string name = guitest::ReadFileBytes(file);
    ASSERT_EQ(26u, name.size()) << name;
    EXPECT_EQ(0, GlobalFindAtomA(name.c_str())) << name << " is still in the global atom table";
}
