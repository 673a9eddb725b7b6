// Module lock count, HRESULT text and the "not implemented" answer of the stand-in's
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

std::wstring hresultText(HRESULT hr)
{
    wchar_t buffer[16];
    swprintf(buffer, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return buffer;
}

}  // namespace speech_standin
