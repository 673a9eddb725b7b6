// The exported control functions (speech_standin_control.h): thin translations onto the
// settings, the call log and the contexts' queues.
#include "speech_standin_control.h"
#include "call_log.h"
#include "com_object.h"
#include "engine_dialog.h"
#include "reco_context.h"
#include "settings.h"
#include "utf8.h"
#include <cstring>

using namespace speech_standin;

extern "C" int SpeechStandin_PlayScript(const char* utf8Script)
{
    if (!utf8Script) return -1;
    ParsedScript script = parseScript(utf8Script);
    logScriptErrors(script.errors);
    return RecoContext::enqueueOnAll(script.steps);
}

extern "C" int SpeechStandin_FireEvent(const char* utf8Line)
{
    if (!utf8Line) return -1;
    ParsedScript script = parseScript(utf8Line);
    logScriptErrors(script.errors);
    if (script.steps.size() != 1 || !script.errors.empty()) return -1;
    return RecoContext::enqueueOnAll(script.steps);
}

extern "C" int SpeechStandin_SetMode(const char* mode)
{
    if (!mode) {
        overrideMode(nullptr);
        return 0;
    }
    std::wstring text;
    StandinMode parsed;
    if (!fromUtf8(mode, text) || !parseMode(text, parsed)) return -1;
    overrideMode(&parsed);
    return 0;
}

extern "C" void SpeechStandin_SetUnsupported(const char* commaList)
{
    if (!commaList) {
        overrideUnsupportedUI(nullptr);
        return;
    }
    std::wstring text;
    if (!fromUtf8(commaList, text)) text.clear();
    std::vector<std::wstring> types = parseUIList(text);
    overrideUnsupportedUI(&types);
}

extern "C" size_t SpeechStandin_ReadLog(char* buffer, size_t size)
{
    std::string log = callLogText();
    if (buffer && size > 0) {
        size_t n = std::min(log.size(), size - 1);
        std::memcpy(buffer, log.data(), n);
        buffer[n] = '\0';
    }
    return log.size();
}

extern "C" void SpeechStandin_ClearLog(void) { clearCallLog(); }

extern "C" int SpeechStandin_PendingEvents(void) { return RecoContext::pendingStepsOnAll(); }

extern "C" int SpeechStandin_LiveContexts(void) { return RecoContext::liveCount(); }

extern "C" void SpeechStandin_Reset(void)
{
    clearOverrides();
    clearCallLog();
    RecoContext::clearAllQueues();
    setLastDisplayUIParent(nullptr);
}
