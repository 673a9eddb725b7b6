// Private to the form skin's sources: how a window reaches its form skin, and the
// procedures installed in the window, the MDI client and the form's WindowProc.
#pragma once
#include <windows.h>

#include "Messages.h"

class TWinSkinForm;

// Window properties: the form skin of the window, and the procedure it replaced.  The
// second stays until the window's end whenever the procedure could not be put back (a
// later subclass sits on top of ours), so our procedure can still hand messages on.
constexpr const wchar_t* kSkinFormProp = L"LacquerSkinForm";
constexpr const wchar_t* kSkinFormPrevProp = L"LacquerSkinFormPrev";
// Id of the hover timer on the skinned window itself.
constexpr UINT_PTR kHoverTimerId = 0x5348;

LRESULT CALLBACK SkinFormProcW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SkinFormProcA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SkinMDIClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The form's replaced WindowProc: a named functor, so the form skin can tell whether the
// form's WindowProc is still its own before putting the old one back.
struct FormProcHook {
    TWinSkinForm* skin;
    void operator()(TMessage& message) const;
};
