#include "ControlAtom.h"

#include <cstdint>
#include <cstdio>

namespace {

// One reference in the system's atom table for the whole process, given back at exit.
// A process that is killed cannot give it back; nothing can be done about that.
class ControlAtomOwner {
public:
    ControlAtomOwner() : atom_(GlobalAddAtomA(ControlAtomName().c_str())) {}
    ~ControlAtomOwner() {
        if (atom_) GlobalDeleteAtom(atom_);
    }
    ControlAtomOwner(const ControlAtomOwner&) = delete;
    ControlAtomOwner& operator=(const ControlAtomOwner&) = delete;
    ATOM Get() const { return atom_; }

private:
    ATOM atom_;
};

}  // namespace

std::string ControlAtomName() {
    char name[64];
    const auto instance = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)));
    std::snprintf(name, sizeof name, "ControlOfs%.8X%.8X", instance, static_cast<unsigned>(GetCurrentThreadId()));
    return name;
}

ATOM GlobalControlAtom() {
    static const ControlAtomOwner owner;
    return owner.Get();
}
