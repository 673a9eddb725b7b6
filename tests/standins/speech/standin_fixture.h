// Test support for the stand-in recognizer: loads the very DLL COM loads, registers it,
// exposes its control functions, pumps messages with the harness's pump and records events
// delivered to a plain IDispatch sink.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <sapi.h>
#include <functional>
#include <string>
#include <vector>

#include "SpeechRecoContext.h"
#include "gui_test.h"
#include "speech_standin_control.h"

namespace standin_test {

struct Control {
    HMODULE module = nullptr;
    std::wstring path;
    SpeechStandin_PlayScript_fn PlayScript = nullptr;
    SpeechStandin_FireEvent_fn FireEvent = nullptr;
    SpeechStandin_SetMode_fn SetMode = nullptr;
    SpeechStandin_SetUnsupported_fn SetUnsupported = nullptr;
    SpeechStandin_ReadLog_fn ReadLog = nullptr;
    SpeechStandin_ClearLog_fn ClearLog = nullptr;
    SpeechStandin_PendingEvents_fn PendingEvents = nullptr;
    SpeechStandin_LiveContexts_fn LiveContexts = nullptr;
    SpeechStandin_Reset_fn Reset = nullptr;
    HRESULT(STDAPICALLTYPE* DllRegisterServer)() = nullptr;
    HRESULT(STDAPICALLTYPE* DllCanUnloadNow)() = nullptr;

    // The call log as lines.
    std::vector<std::string> LogLines() const;
};

// Loaded and registered once per process; null when the DLL is missing.
const Control* control();

// The harness's pump (tests/support).  The stand-in delivers every event through a
// message posted to the context's thread, so draining the queue shows what would have
// been delivered.
using guitest::PumpMessages;
using guitest::PumpUntil;

// One argument of a recorded event, in declared order.
struct RecordedArg {
    VARTYPE vt = VT_EMPTY;
    long long number = 0;   // VT_I4, VT_BOOL, VT_DECIMAL
    std::wstring text;      // VT_BSTR, or a result's phrase text for VT_DISPATCH
};

struct RecordedEvent {
    DISPID id = 0;
    DWORD thread = 0;
    std::vector<RecordedArg> args;
};

// A plain IDispatch sink for _ISpeechRecoContextEvents that records every call.
class RecordingSink final : public IDispatch {
public:
    static SpeechComPtr<RecordingSink> Create();
    std::vector<RecordedEvent> events;
    std::function<void(const RecordedEvent&)> onEvent;  // runs after recording

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { *count = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

private:
    RecordingSink() = default;
    long refs_ = 1;
};

// COM initialised for the test's thread, the stand-in reset and the SPEECH_STANDIN_*
// variables cleared before and after each test.
class StandinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    SpeechComPtr<ISpeechRecoContext> CreateContext();
    // Advises the sink on the context's event connection point; returns the cookie.
    DWORD Advise(ISpeechRecoContext* context, IDispatch* sink);
    bool LogHas(const std::string& line) const;

    const Control& ctl() const { return *control(); }
};

// The stand-in's engine dialog of this process with the given caption (any caption when
// null); FindWindow alone would also see other test processes' dialogs.
HWND findEngineDialog(const wchar_t* title);

void clearStandinEnvironment();
// A file path in the temporary folder, unique to this process and name.
std::wstring tempPath(const wchar_t* name);
bool writeUtf8File(const std::wstring& path, const std::string& content);
std::string readFileBytes(const std::wstring& path);

}  // namespace standin_test
