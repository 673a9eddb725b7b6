// The window property that links a window to its class-library control.  The class
// library sets it on every window of its controls; the skin engine reads it.
#pragma once
#include <string>

// "ControlOfs" followed by the program's module instance and the GUI thread id, each as
// 8 upper-case hexadecimal digits.  On 64-bit the module instance is cut to its low 32
// bits on purpose: the name has room for 8 digits and only has to be unique per module
// and thread.
std::string ControlAtomName();
