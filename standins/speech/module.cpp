// DLL entry points: DllMain, the class object for CLSID_SpSharedRecoContext, unloading
// and self-registration (InprocServer32 = this DLL, ThreadingModel Apartment).
#include "com_object.h"
#include "call_log.h"
#include "engine_dialog.h"
#include "reco_context.h"
#include "settings.h"
#include <olectl.h>
#include <sapi.h>

namespace speech_standin {

namespace {
HINSTANCE g_instance = nullptr;

class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One static instance; its references keep the module loaded like a server lock.
    ULONG STDMETHODCALLTYPE AddRef() override { moduleLock(); return 2; }
    ULONG STDMETHODCALLTYPE Release() override { moduleUnlock(); return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return RecoContext::create(riid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock) moduleLock();
        else moduleUnlock();
        return S_OK;
    }
};

ClassFactory g_factory;

const wchar_t kClassKey[] = L"CLSID\\{47206204-5ECA-11D2-960F-00C04F8EE628}";

LONG setValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
}  // namespace

HINSTANCE moduleInstance() { return g_instance; }

}  // namespace speech_standin

using namespace speech_standin;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary (not process exit): no window of ours can be left.
        unregisterContextWindowClass();
        unregisterEngineDialogClass();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_SpSharedRecoContext) return CLASS_E_CLASSNOTAVAILABLE;
    refreshSettingsFromEnvironment();
    if (currentSettings().mode == StandinMode::Absent) {
        logCall(L"ClassNotAvailable");
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(riid, out);
}

STDAPI DllCanUnloadNow() { return moduleLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(g_instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
    HKEY classKey = nullptr;
    HKEY serverKey = nullptr;
    LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, kClassKey, 0, nullptr, 0, KEY_WRITE, nullptr, &classKey, nullptr);
    if (error == ERROR_SUCCESS) error = setValue(classKey, nullptr, L"SpSharedRecoContext (speech stand-in)");
    if (error == ERROR_SUCCESS)
        error = RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey, nullptr);
    if (error == ERROR_SUCCESS) error = setValue(serverKey, nullptr, path);
    if (error == ERROR_SUCCESS) error = setValue(serverKey, L"ThreadingModel", L"Apartment");
    if (serverKey) RegCloseKey(serverKey);
    if (classKey) RegCloseKey(classKey);
    return error == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer()
{
    LONG error = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
