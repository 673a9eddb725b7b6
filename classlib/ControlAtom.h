// The window property that links a window to its class-library control.  The class
// library sets it on every window of its controls; the skin engine reads it.  This file
// owns the property's global atom: added once, on first use, and deleted when the
// process ends (global atoms outlive the process that added them).
#pragma once
#include <windows.h>

#include <string>

// "ControlOfs" followed by the program's module instance and the GUI thread id, each as
// 8 upper-case hexadecimal digits.  On 64-bit the module instance is cut to its low 32
// bits on purpose: the name has room for 8 digits and only has to be unique per module
// and thread.
std::string ControlAtomName();

// The global atom of ControlAtomName() as it was on the first call (the thread that made
// the first control), or 0 when the atom table is full.  Everyone who reads or sets the
// property uses this one atom; nobody else adds or deletes it.
ATOM GlobalControlAtom();
