// Module lock count, text conversions and the "not implemented" answer of the stand-in's
// COM objects.  DllMain and the class factory are in module.cpp.
#include "com_object.h"
#include "call_log.h"
#include <cstdio>

namespace speech_standin {

namespace {
LONG g_locks = 0;
}

void moduleLock() { InterlockedIncrement(&g_locks); }
void moduleUnlock() { InterlockedDecrement(&g_locks); }
LONG moduleLockCount() { return InterlockedCompareExchange(&g_locks, 0, 0); }

HRESULT notImplemented(const wchar_t* what)
{
    logCall(std::wstring(L"NotImplemented ") + what);
    return E_NOTIMPL;
}

std::string toUtf8(const std::wstring& text)
{
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

bool fromUtf8(const std::string& text, std::wstring& out)
{
    out.clear();
    if (text.empty()) return true;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return false;
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), &out[0], n);
    return true;
}

std::wstring hresultText(HRESULT hr)
{
    wchar_t buffer[16];
    swprintf(buffer, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return buffer;
}

}  // namespace speech_standin
