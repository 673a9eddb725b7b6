// Reading SPEECH_STANDIN_* from the environment and merging the control overrides.
#include "settings.h"
#include "call_log.h"
#include <windows.h>
#include <mutex>

namespace speech_standin {

namespace {
std::mutex g_settingsLock;
StandinSettings g_settings;
bool g_modeOverridden = false;
bool g_uiOverridden = false;

std::wstring environmentValue(const wchar_t* name)
{
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return std::wstring();
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, &value[0], n);
    value.resize(n);
    return value;
}

std::wstring trimmed(const std::wstring& s)
{
    size_t b = s.find_first_not_of(L" \t\r\n");
    if (b == std::wstring::npos) return std::wstring();
    size_t e = s.find_last_not_of(L" \t\r\n");
    return s.substr(b, e - b + 1);
}
}  // namespace

bool parseMode(const std::wstring& text, StandinMode& mode)
{
    std::wstring t = trimmed(text);
    if (t.empty() || t == L"normal") mode = StandinMode::Normal;
    else if (t == L"absent") mode = StandinMode::Absent;
    else if (t == L"fail-interests") mode = StandinMode::FailInterests;
    else if (t == L"fail-grammar") mode = StandinMode::FailGrammar;
    else if (t == L"fail-dictation") mode = StandinMode::FailDictation;
    else return false;
    return true;
}

std::vector<std::wstring> parseUIList(const std::wstring& text)
{
    std::vector<std::wstring> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos) comma = text.size();
        std::wstring item = trimmed(text.substr(start, comma - start));
        if (!item.empty()) items.push_back(item);
        start = comma + 1;
    }
    return items;
}

void refreshSettingsFromEnvironment()
{
    std::wstring modeText = environmentValue(L"SPEECH_STANDIN_MODE");
    StandinMode mode = StandinMode::Normal;
    bool badMode = !parseMode(modeText, mode);
    unsigned autoClose = 0;
    std::wstring autoCloseText = environmentValue(L"SPEECH_STANDIN_UI_AUTOCLOSE");
    if (!autoCloseText.empty()) autoClose = static_cast<unsigned>(wcstoul(autoCloseText.c_str(), nullptr, 10));
    {
        std::lock_guard<std::mutex> guard(g_settingsLock);
        if (!g_modeOverridden) g_settings.mode = mode;
        if (!g_uiOverridden) g_settings.unsupportedUI = parseUIList(environmentValue(L"SPEECH_STANDIN_UNSUPPORTED"));
        g_settings.scriptPath = environmentValue(L"SPEECH_STANDIN_SCRIPT");
        g_settings.logPath = environmentValue(L"SPEECH_STANDIN_LOG");
        g_settings.exitAfter = trimmed(environmentValue(L"SPEECH_STANDIN_EXIT_AFTER")) == L"1";
        g_settings.uiAutoCloseMs = autoClose;
    }
    if (badMode) logCall(L"BadMode " + modeText);
}

StandinSettings currentSettings()
{
    std::lock_guard<std::mutex> guard(g_settingsLock);
    return g_settings;
}

void overrideMode(const StandinMode* mode)
{
    {
        std::lock_guard<std::mutex> guard(g_settingsLock);
        g_modeOverridden = mode != nullptr;
        if (mode) g_settings.mode = *mode;
    }
    if (!mode) refreshSettingsFromEnvironment();
}

void overrideUnsupportedUI(const std::vector<std::wstring>* types)
{
    {
        std::lock_guard<std::mutex> guard(g_settingsLock);
        g_uiOverridden = types != nullptr;
        if (types) g_settings.unsupportedUI = *types;
    }
    if (!types) refreshSettingsFromEnvironment();
}

void clearOverrides()
{
    {
        std::lock_guard<std::mutex> guard(g_settingsLock);
        g_modeOverridden = false;
        g_uiOverridden = false;
    }
    refreshSettingsFromEnvironment();
}

}  // namespace speech_standin
