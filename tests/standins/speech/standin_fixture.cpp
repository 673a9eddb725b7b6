// Test support for the stand-in recognizer (see standin_fixture.h).
#include "standin_fixture.h"
#include <algorithm>

namespace standin_test {

namespace {
template <class F>
void lookUp(HMODULE module, F& fn, const char* name)
{
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

Control loadControl()
{
    Control c;
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe, n);
    dir = dir.substr(0, dir.find_last_of(L"\\/"));
    c.path = dir + L"\\standins\\speech_standin.dll";
    c.module = LoadLibraryW(c.path.c_str());
    if (!c.module) return c;
    lookUp(c.module, c.PlayScript, "SpeechStandin_PlayScript");
    lookUp(c.module, c.FireEvent, "SpeechStandin_FireEvent");
    lookUp(c.module, c.SetMode, "SpeechStandin_SetMode");
    lookUp(c.module, c.SetUnsupported, "SpeechStandin_SetUnsupported");
    lookUp(c.module, c.ReadLog, "SpeechStandin_ReadLog");
    lookUp(c.module, c.ClearLog, "SpeechStandin_ClearLog");
    lookUp(c.module, c.PendingEvents, "SpeechStandin_PendingEvents");
    lookUp(c.module, c.LiveContexts, "SpeechStandin_LiveContexts");
    lookUp(c.module, c.Reset, "SpeechStandin_Reset");
    lookUp(c.module, c.DllRegisterServer, "DllRegisterServer");
    lookUp(c.module, c.DllCanUnloadNow, "DllCanUnloadNow");
    // The registration made by the test script points at this file too; doing it here
    // lets the program run on its own.
    if (c.DllRegisterServer) c.DllRegisterServer();
    return c;
}

RecordedArg recordArg(const VARIANT& v)
{
    RecordedArg arg;
    arg.vt = v.vt;
    switch (v.vt) {
    case VT_I4: arg.number = v.lVal; break;
    case VT_BOOL: arg.number = v.boolVal; break;
    case VT_DECIMAL: {
        ULONG64 value = 0;
        VarUI8FromDec(const_cast<DECIMAL*>(&v.decVal), &value);
        arg.number = static_cast<long long>(value);
        break;
    }
    case VT_BSTR: arg.text.assign(v.bstrVal, SysStringLen(v.bstrVal)); break;
    case VT_DISPATCH: {
        SpeechComPtr<ISpeechRecoResult> result;
        if (v.pdispVal && SUCCEEDED(v.pdispVal->QueryInterface(IID_ISpeechRecoResult, reinterpret_cast<void**>(result.Put()))))
            arg.text = SpeechRecoResult(result).PhraseText();
        break;
    }
    }
    return arg;
}
}  // namespace

const Control* control()
{
    static const Control c = loadControl();
    bool complete = c.module && c.PlayScript && c.FireEvent && c.SetMode && c.SetUnsupported && c.ReadLog &&
                    c.ClearLog && c.PendingEvents && c.LiveContexts && c.Reset && c.DllRegisterServer && c.DllCanUnloadNow;
    return complete ? &c : nullptr;
}

std::vector<std::string> Control::LogLines() const
{
    size_t n = ReadLog(nullptr, 0);
    std::string text(n + 1, '\0');
    ReadLog(&text[0], text.size());
    text.resize(n);
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

SpeechComPtr<RecordingSink> RecordingSink::Create() { return SpeechComPtr<RecordingSink>::Adopt(new RecordingSink()); }

HRESULT RecordingSink::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID__ISpeechRecoContextEvents) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG RecordingSink::Release()
{
    long n = --refs_;
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT RecordingSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    SpeechComPtr<RecordingSink> self = SpeechComPtr<RecordingSink>::Share(this);
    RecordedEvent event;
    event.id = id;
    event.thread = GetCurrentThreadId();
    for (UINT i = params->cArgs; i > 0; --i) event.args.push_back(recordArg(params->rgvarg[i - 1]));
    events.push_back(event);
    if (onEvent) onEvent(event);
    return S_OK;
}

namespace {
struct DialogSearch {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK matchEngineDialog(HWND hwnd, LPARAM param)
{
    auto search = reinterpret_cast<DialogSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    wchar_t caption[256] = {};
    GetWindowTextW(hwnd, caption, 256);
    if (pid == GetCurrentProcessId() && lstrcmpW(name, L"SpeechStandinEngineUI") == 0 &&
        (!search->title || lstrcmpW(caption, search->title) == 0)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND findEngineDialog(const wchar_t* title)
{
    DialogSearch search{title, nullptr};
    EnumWindows(matchEngineDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void clearStandinEnvironment()
{
    for (const wchar_t* name : {L"SPEECH_STANDIN_SCRIPT", L"SPEECH_STANDIN_MODE", L"SPEECH_STANDIN_UNSUPPORTED",
                                L"SPEECH_STANDIN_LOG", L"SPEECH_STANDIN_EXIT_AFTER", L"SPEECH_STANDIN_UI_AUTOCLOSE"})
        SetEnvironmentVariableW(name, nullptr);
}

std::wstring tempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + L"speech_standin_" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
}

bool writeUtf8File(const std::wstring& path, const std::string& content)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

std::string readFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) content.append(buffer, read);
    CloseHandle(file);
    return content;
}

void StandinTest::SetUp()
{
    ASSERT_NE(control(), nullptr) << "stand-in DLL or one of its exports is missing";
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    clearStandinEnvironment();
    ctl().Reset();
}

void StandinTest::TearDown()
{
    if (!control()) return;
    // Let released objects' windows and timers go before the next test.
    PumpMessages();
    ctl().Reset();
    clearStandinEnvironment();
    CoUninitialize();
}

SpeechComPtr<ISpeechRecoContext> StandinTest::CreateContext()
{
    SpeechComPtr<ISpeechRecoContext> context;
    HRESULT hr = CoCreateInstance(CLSID_SpSharedRecoContext, nullptr, CLSCTX_INPROC_SERVER, IID_ISpeechRecoContext,
                                  reinterpret_cast<void**>(context.Put()));
    EXPECT_EQ(S_OK, hr) << std::hex << hr;
    return context;
}

DWORD StandinTest::Advise(ISpeechRecoContext* context, IDispatch* sink)
{
    SpeechComPtr<IConnectionPointContainer> container;
    SpeechComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    EXPECT_EQ(S_OK, context->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put())));
    if (!container) return 0;
    EXPECT_EQ(S_OK, container->FindConnectionPoint(DIID__ISpeechRecoContextEvents, point.Put()));
    if (!point) return 0;
    EXPECT_EQ(S_OK, point->Advise(sink, &cookie));
    return cookie;
}

bool StandinTest::LogHas(const std::string& line) const
{
    std::vector<std::string> lines = ctl().LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace standin_test
