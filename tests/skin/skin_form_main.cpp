// main() of the form-skin and manager tests: the class library's application object and
// the skin classes are set up before any test makes a window.
#include <windows.h>

#include <gtest/gtest.h>

#include "Forms.h"
#include "WinSkinData.h"

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    Application->Initialize();
    RegisterSkinClasses();
    return RUN_ALL_TESTS();
}
