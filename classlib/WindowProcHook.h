// Replacing a control's WindowProc for a while and putting it back (the skins of forms
// and controls do this).  Hooks stack: the last one installed sees a message first and
// passes it on to the one before.  Restoring them in reverse order gives back the
// original.  Restoring one out of order (while a later hook still sits above it) leaves a
// pass-through link in its place that calls straight on to what it had replaced: the later
// hook keeps working and, when it is restored in turn, never brings back a procedure that
// points at a freed object.
//
// A raw save-and-assign of WindowProc cannot give that guarantee: use this.
#pragma once
#include <functional>
#include <memory>

#include "Controls.h"

class TWindowProcHook {
public:
    // previous is what WindowProc was when the hook went in (or what it has become by
    // hooks below being restored); call it for everything the hook does not handle.
    using Handler = std::function<void(TMessage& message, const TWndMethod& previous)>;

    // The control must outlive the hook (a hook owned by the control's component is freed
    // before the control, see ~TWinControl).
    TWindowProcHook(TControl& control, Handler handler);
    ~TWindowProcHook() { Restore(); }
    TWindowProcHook(const TWindowProcHook&) = delete;
    TWindowProcHook& operator=(const TWindowProcHook&) = delete;

    // Takes the hook out; the handler is released at once.  Does nothing the second time.
    void Restore();
    bool Installed() const { return link_ != nullptr; }

    struct Link;  // the installed procedure's state (WindowProcHook.cpp)

private:
    TControl* control_;
    std::shared_ptr<Link> link_;
};
