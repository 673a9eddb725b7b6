// Private to the form skin's sources: the hover timer's id and the form's replaced
// WindowProc (the window's and the MDI client's procedures are SubclassedWindow's).
#pragma once
#include <windows.h>

#include "Messages.h"

class TWinSkinForm;

// Id of the hover timer on the skinned window itself.
constexpr UINT_PTR kHoverTimerId = 0x5348;

// The form's replaced WindowProc: a named functor, so the form skin can tell whether the
// form's WindowProc is still its own before putting the old one back.
struct FormProcHook {
    TWinSkinForm* skin;
    void operator()(TMessage& message) const;
};
