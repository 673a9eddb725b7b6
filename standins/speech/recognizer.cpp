// IsUISupported and DisplayUI.  A UI type is supported unless it is empty or listed in
// SPEECH_STANDIN_UNSUPPORTED (or the control function's list); names compare without case.
#include "recognizer.h"
#include "call_log.h"
#include "engine_dialog.h"
#include "settings.h"
#include <new>

namespace speech_standin {

namespace {
std::wstring bstrText(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

bool isSupported(const std::wstring& type)
{
    if (type.empty()) return false;
    for (const std::wstring& unsupported : currentSettings().unsupportedUI)
        if (CompareStringOrdinal(type.c_str(), -1, unsupported.c_str(), -1, TRUE) == CSTR_EQUAL) return false;
    return true;
}
}  // namespace

Recognizer* Recognizer::create(ISpeechRecoContext* context) { return new (std::nothrow) Recognizer(context); }

HRESULT Recognizer::IsUISupported(const BSTR typeOfUI, const VARIANT*, VARIANT_BOOL* supported)
{
    std::wstring type = bstrText(typeOfUI);
    logCall(L"IsUISupported " + type);
    if (!supported) return E_POINTER;
    *supported = isSupported(type) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT Recognizer::DisplayUI(LONG hWndParent, BSTR title, const BSTR typeOfUI, const VARIANT*)
{
    std::wstring type = bstrText(typeOfUI);
    std::wstring caption = bstrText(title);
    std::wstring line = L"DisplayUI " + type + L" " + caption;
    if (!isSupported(type)) {
        logCall(line + L" -> " + hresultText(E_INVALIDARG));
        return E_INVALIDARG;
    }
    logCall(line);
    // Window handles are 32-bit values, which is why the automation interface passes a LONG.
    HWND owner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hWndParent));
    if (owner && !IsWindow(owner)) owner = nullptr;
    setLastDisplayUIParent(owner);
    return runEngineDialog(owner, caption.empty() ? type : caption, type, currentSettings().uiAutoCloseMs);
}

HRESULT Recognizer::get_IsShared(VARIANT_BOOL* shared)
{
    logCall(L"GetIsShared");
    if (!shared) return E_POINTER;
    *shared = VARIANT_TRUE;
    return S_OK;
}

}  // namespace speech_standin
