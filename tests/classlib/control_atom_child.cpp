// A program that makes one control and ends normally, writing the name of the control
// atom to the file named on its command line: the control atom test looks afterwards
// whether the program left the atom behind in the system's global atom table.
#include <windows.h>

#include <cstdio>

#include "Forms.h"

int main(int argc, char** argv) {
    if (argc < 2) return 10;
    Application->Initialize();
    TForm form(nullptr);
    if (!form.Handle()) return 11;
    const std::string name = ControlAtomName();
    if (!GlobalFindAtomA(name.c_str())) return 12;  // the property must have been set through it
    FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 13;
    std::fputs(name.c_str(), out);
    return std::fclose(out) == 0 ? 0 : 14;
}
