#include "ControlAtom.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

std::string ControlAtomName() {
    char name[64];
    const auto instance = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)));
    std::snprintf(name, sizeof name, "ControlOfs%.8X%.8X", instance, static_cast<unsigned>(GetCurrentThreadId()));
    return name;
}
