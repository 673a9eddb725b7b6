// Event side of the context: the queue of script steps, the hidden message-only window that
// plays it on the thread that created the context, Pause/Resume, Advise/Unadvise and the
// calls into the sinks.  Events are only ever delivered from this window's messages, so a
// client sees them through its message loop and never from inside one of its own calls.
// Modal loops (message boxes, the engine dialogs) still dispatch them, as on the platform.
#include "reco_context.h"
#include "call_log.h"
#include "engine_dialog.h"
#include "reco_objects.h"
#include "settings.h"
#include "utf8.h"
#include <algorithm>
#include <mutex>

namespace speech_standin {

namespace {
const wchar_t kWindowClass[] = L"SpeechStandinContextEvents";
constexpr UINT kPlayNextMessage = WM_APP + 1;
constexpr UINT_PTR kWaitTimer = 1;
constexpr UINT kFileCheckMs = 50;  // how often wait-for-file looks for its file
constexpr long kScriptStartDelayMs = 300;
constexpr ULONGLONG kBytesPerMs = 32;

// Guards the registry of live contexts and each context's queue, scheduled_ and paused_.
// Never held while calling out to a client.
std::mutex g_contextLock;
std::vector<RecoContext*> g_contexts;
bool g_classRegistered = false;

bool registerWindowClass(WNDPROC proc)
{
    // Registered under the context lock; the class lives until the DLL unloads.
    if (g_classRegistered) return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = moduleInstance();
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    g_classRegistered = true;
    return true;
}

SpeechRecoEvents interestOf(ScriptCommand command)
{
    switch (command) {
    case ScriptCommand::StartStream: return SREStreamStart;
    case ScriptCommand::EndStream: return SREStreamEnd;
    case ScriptCommand::SoundStart: return SRESoundStart;
    case ScriptCommand::SoundEnd: return SRESoundEnd;
    case ScriptCommand::PhraseStart: return SREPhraseStart;
    case ScriptCommand::Hypothesis: return SREHypothesis;
    case ScriptCommand::Recognition: return SRERecognition;
    case ScriptCommand::FalseRecognition: return SREFalseRecognition;
    case ScriptCommand::Interference: return SREInterference;
    case ScriptCommand::RequestUI: return SRERequestUI;
    case ScriptCommand::OtherContext: return SRERecoOtherContext;
    case ScriptCommand::AudioLevel: return SREAudioLevel;
    default: return static_cast<SpeechRecoEvents>(0);
    }
}

VARIANT longArg(long value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT positionArg(ULONGLONG position)
{
    VARIANT v;
    VariantInit(&v);
    VarDecFromUI8(position, &v.decVal);
    v.vt = VT_DECIMAL;  // set after the DECIMAL, which overlays vt
    return v;
}

VARIANT textArg(const std::wstring& text)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
}

VARIANT resultArg(const std::wstring& text, RecoContext* context)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = RecoResult::create(context, text);  // owned by the VARIANT
    return v;
}

// The program's windows to close when the script is over: the window most recently given
// to DisplayUI, else every visible, unowned top-level window of this process.
BOOL CALLBACK collectProcessWindow(HWND hwnd, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

void closeProgramWindows()
{
    closeEngineDialogs();
    std::vector<HWND> targets;
    HWND last = lastDisplayUIParent();
    if (last && IsWindow(last)) targets.push_back(last);
    else EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&targets));
    for (HWND hwnd : targets) {
        logCall(L"CloseWindow");
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
}

bool readFile(const std::wstring& path, std::string& content)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (16 << 20);
    if (ok) {
        content.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = content.empty() || (ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr) &&
                                 read == content.size());
    }
    CloseHandle(file);
    return ok;
}
}  // namespace

void logScriptErrors(const std::vector<ScriptError>& errors)
{
    for (const ScriptError& e : errors) {
        std::wstring message;
        if (!fromUtf8(e.message, message)) message = L"bad line";
        logCall(L"ScriptError " + std::to_wstring(e.line) + L": " + message);
    }
}

void unregisterContextWindowClass()
{
    std::lock_guard<std::mutex> guard(g_contextLock);
    if (g_classRegistered && UnregisterClassW(kWindowClass, moduleInstance())) g_classRegistered = false;
}

bool RecoContext::createWindow()
{
    {
        std::lock_guard<std::mutex> guard(g_contextLock);
        if (!registerWindowClass(windowProc)) return false;
    }
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, moduleInstance(), this);
    if (!window_) return false;
    std::lock_guard<std::mutex> guard(g_contextLock);
    g_contexts.push_back(this);
    return true;
}

void RecoContext::destroyWindow()
{
    {
        std::lock_guard<std::mutex> guard(g_contextLock);
        g_contexts.erase(std::remove(g_contexts.begin(), g_contexts.end(), this), g_contexts.end());
        queue_.clear();
    }
    if (!window_) return;
    // Detach first: a message already queued for the window must not reach a freed context.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (!DestroyWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);  // released on another thread
    window_ = nullptr;
}

LRESULT CALLBACK RecoContext::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_NCCREATE) {
            auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        auto context = reinterpret_cast<RecoContext*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!context) return DefWindowProcW(hwnd, message, wParam, lParam);
        switch (message) {
        case WM_TIMER:
            if (wParam != kWaitTimer) break;
            KillTimer(hwnd, kWaitTimer);
            context->onPlayNext();
            return 0;
        case kPlayNextMessage:
            context->onPlayNext();
            return 0;
        }
    } catch (...) {
        logCall(L"InternalError in the event window");
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RecoContext::enqueue(const std::vector<ScriptStep>& steps)
{
    queue_.insert(queue_.end(), steps.begin(), steps.end());
    scheduleLocked();
}

void RecoContext::scheduleLocked()
{
    if (scheduled_ || paused_ || queue_.empty() || !window_) return;
    if (PostMessageW(window_, kPlayNextMessage, 0, 0)) scheduled_ = true;
}

// Plays one step per message, so each event reaches the sinks from its own dispatch.  The
// next step is scheduled before the sinks run, so an event handler's modal loop keeps the
// script going.
void RecoContext::onPlayNext()
{
    ScriptStep step;
    {
        std::lock_guard<std::mutex> guard(g_contextLock);
        scheduled_ = false;
        if (paused_ || queue_.empty()) return;
        step = std::move(queue_.front());
        queue_.pop_front();
        if (step.command == ScriptCommand::Wait) {
            streamPosition_ += static_cast<ULONGLONG>(step.value) * kBytesPerMs;
            if (SetTimer(window_, kWaitTimer, static_cast<UINT>(std::max(step.value, 1L)), nullptr)) scheduled_ = true;
            else scheduleLocked();
            return;
        }
        if (step.command == ScriptCommand::WaitForFile) {
            if (GetFileAttributesW(step.text.c_str()) == INVALID_FILE_ATTRIBUTES) {
                queue_.push_front(std::move(step));  // looked for again on the next tick
                if (SetTimer(window_, kWaitTimer, kFileCheckMs, nullptr)) scheduled_ = true;
                return;
            }
            scheduleLocked();
            return;
        }
        scheduleLocked();
    }
    deliver(step);
}

void RecoContext::deliver(const ScriptStep& step)
{
    if (step.command == ScriptCommand::Stream) {
        streamNumber_ = step.value;
        return;
    }
    if (step.command == ScriptCommand::CloseWindows) {
        closeProgramWindows();
        return;
    }
    if (!(interests_ & interestOf(step.command))) return;

    // The sinks may release the last outside reference from inside an event handler.
    ComRef<ISpeechRecoContext> self = ComRef<ISpeechRecoContext>::share(this);
    std::vector<VARIANT> args{longArg(streamNumber_), positionArg(streamPosition_)};
    DISPID id = 0;
    switch (step.command) {
    case ScriptCommand::StartStream: id = DISPID_SRCEStartStream; break;
    case ScriptCommand::EndStream:
        id = DISPID_SRCEEndStream;
        args.push_back(VARIANT());
        args.back().vt = VT_BOOL;
        args.back().boolVal = VARIANT_FALSE;
        break;
    case ScriptCommand::SoundStart: id = DISPID_SRCESoundStart; break;
    case ScriptCommand::SoundEnd: id = DISPID_SRCESoundEnd; break;
    case ScriptCommand::PhraseStart: id = DISPID_SRCEPhraseStart; break;
    case ScriptCommand::Hypothesis:
        id = DISPID_SRCEHypothesis;
        args.push_back(resultArg(step.text, this));
        break;
    case ScriptCommand::Recognition:
        id = DISPID_SRCERecognition;
        args.push_back(longArg(SRTStandard));
        args.push_back(resultArg(step.text, this));
        break;
    case ScriptCommand::FalseRecognition:
        id = DISPID_SRCEFalseRecognition;
        args.push_back(resultArg(step.text, this));
        break;
    case ScriptCommand::Interference:
        id = DISPID_SRCEInterference;
        args.push_back(longArg(step.value));
        break;
    case ScriptCommand::RequestUI:
        id = DISPID_SRCERequestUI;
        args.push_back(textArg(step.text));
        break;
    case ScriptCommand::OtherContext: id = DISPID_SRCERecognitionForOtherContext; break;
    case ScriptCommand::AudioLevel:
        id = DISPID_SRCEAudioLevel;
        args.push_back(longArg(step.value));
        break;
    default:
        break;
    }
    if (id) invokeSinks(id, args);
    for (VARIANT& v : args) VariantClear(&v);
}

void RecoContext::invokeSinks(DISPID id, std::vector<VARIANT>& args)
{
    // IDispatch::Invoke takes the arguments last first.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    std::vector<ComRef<IDispatch>> sinks;
    for (auto& sink : sinks_) sinks.push_back(ComRef<IDispatch>::share(sink.second));
    for (auto& sink : sinks) {
        DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception = {};
        UINT badArg = 0;
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &exception, &badArg);
        VariantClear(&result);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
}

HRESULT RecoContext::Pause()
{
    logCall(L"Pause");
    std::lock_guard<std::mutex> guard(g_contextLock);
    paused_ = true;
    return S_OK;
}

HRESULT RecoContext::Resume()
{
    logCall(L"Resume");
    std::lock_guard<std::mutex> guard(g_contextLock);
    paused_ = false;
    scheduleLocked();
    return S_OK;
}

HRESULT RecoContext::advise(IUnknown* sink, DWORD* cookie)
{
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(DIID__ISpeechRecoContextEvents, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        logCall(L"Advise -> " + hresultText(CONNECT_E_CANNOTCONNECT));
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = nextCookie_++;
    sinks_.emplace_back(*cookie, dispatch);
    logCall(L"Advise");
    startEnvironmentScript();
    return S_OK;
}

HRESULT RecoContext::unadvise(DWORD cookie)
{
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [cookie](const auto& s) { return s.first == cookie; });
    if (it == sinks_.end()) {
        logCall(L"Unadvise -> " + hresultText(CONNECT_E_NOCONNECTION));
        return CONNECT_E_NOCONNECTION;
    }
    IDispatch* sink = it->second;
    sinks_.erase(it);
    sink->Release();
    logCall(L"Unadvise");
    return S_OK;
}

void RecoContext::startEnvironmentScript()
{
    if (scriptStarted_) return;
    scriptStarted_ = true;
    StandinSettings settings = currentSettings();
    if (settings.scriptPath.empty()) return;
    std::string content;
    if (!readFile(settings.scriptPath, content)) {
        logCall(L"ScriptError 0: cannot read " + settings.scriptPath);
        return;
    }
    ParsedScript script = parseScript(content);
    logScriptErrors(script.errors);
    std::vector<ScriptStep> steps;
    ScriptStep delay;
    delay.command = ScriptCommand::Wait;
    delay.value = kScriptStartDelayMs;
    steps.push_back(delay);
    steps.insert(steps.end(), script.steps.begin(), script.steps.end());
    if (settings.exitAfter) {
        ScriptStep close;
        close.command = ScriptCommand::CloseWindows;
        steps.push_back(close);
    }
    logCall(L"PlayScript " + settings.scriptPath);
    std::lock_guard<std::mutex> guard(g_contextLock);
    enqueue(steps);
}

int RecoContext::enqueueOnAll(const std::vector<ScriptStep>& steps)
{
    std::lock_guard<std::mutex> guard(g_contextLock);
    for (RecoContext* context : g_contexts) context->enqueue(steps);
    return static_cast<int>(g_contexts.size());
}

int RecoContext::pendingStepsOnAll()
{
    std::lock_guard<std::mutex> guard(g_contextLock);
    size_t n = 0;
    for (RecoContext* context : g_contexts) n += context->queue_.size();
    return static_cast<int>(n);
}

int RecoContext::liveCount()
{
    std::lock_guard<std::mutex> guard(g_contextLock);
    return static_cast<int>(g_contexts.size());
}

void RecoContext::clearAllQueues()
{
    std::lock_guard<std::mutex> guard(g_contextLock);
    for (RecoContext* context : g_contexts) {
        context->queue_.clear();
        context->paused_ = false;
    }
}

}  // namespace speech_standin
