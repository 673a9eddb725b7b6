// Registration of the stand-in word processor as the local server of the word
// processor's application and document classes.  The document interface is marshalled
// as a plain dispatch interface (the system's dispatch proxy), which is all a late-bound
// client needs across processes.
#include <string>

#include "server.h"

namespace word_standin {

namespace {

const wchar_t kApplicationKey[] = L"CLSID\\{000209FF-0000-0000-C000-000000000046}";
const wchar_t kDocumentKey[] = L"CLSID\\{00020906-0000-0000-C000-000000000046}";
const wchar_t kInterfaceKey[] = L"Interface\\{0002096B-0000-0000-C000-000000000046}";
// The system's proxy for dispatch interfaces (PSDispatch).
const wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

LONG setValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY k = nullptr;
    LONG error = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    if (error != ERROR_SUCCESS) return error;
    error = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return error;
}

}  // namespace

HRESULT registerServer() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return E_FAIL;
    const std::wstring server = L"\"" + std::wstring(path) + L"\"";
    LONG e = setValue(HKEY_CLASSES_ROOT, kApplicationKey, nullptr, L"Word processor application (stand-in)");
    if (e == ERROR_SUCCESS) e = setValue(HKEY_CLASSES_ROOT, std::wstring(kApplicationKey) + L"\\LocalServer32", nullptr, server);
    if (e == ERROR_SUCCESS) e = setValue(HKEY_CLASSES_ROOT, kDocumentKey, nullptr, L"Word processor document (stand-in)");
    if (e == ERROR_SUCCESS) e = setValue(HKEY_CLASSES_ROOT, std::wstring(kDocumentKey) + L"\\LocalServer32", nullptr, server);
    if (e == ERROR_SUCCESS) e = setValue(HKEY_CLASSES_ROOT, kInterfaceKey, nullptr, L"_Document");
    if (e == ERROR_SUCCESS)
        e = setValue(HKEY_CLASSES_ROOT, std::wstring(kInterfaceKey) + L"\\ProxyStubClsid32", nullptr, kDispatchProxy);
    if (e == ERROR_SUCCESS) e = setValue(HKEY_CLASSES_ROOT, std::wstring(kInterfaceKey) + L"\\ProxyStubClsid", nullptr, kDispatchProxy);
    return e == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(e));
}

HRESULT unregisterServer() {
    for (const wchar_t* key : {kApplicationKey, kDocumentKey, kInterfaceKey}) {
        LONG e = RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
        if (e != ERROR_SUCCESS && e != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(static_cast<DWORD>(e));
    }
    return S_OK;
}

}  // namespace word_standin
