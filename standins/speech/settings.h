// Process-wide behaviour of the stand-in: the SPEECH_STANDIN_* environment variables,
// read again whenever a context is created (and when a class object is asked for), overlaid
// by whatever a test set through the control functions.  Contexts read the settings at the
// time of each call, so a control function takes effect at once.
//
//   SPEECH_STANDIN_SCRIPT        Windows path of a script played 300 ms after the first Advise
//   SPEECH_STANDIN_MODE          absent | fail-interests | fail-grammar | fail-dictation | normal
//   SPEECH_STANDIN_UNSUPPORTED   comma-separated UI types IsUISupported says false for
//   SPEECH_STANDIN_LOG           Windows path of the call log copy (UTF-8, one line per call)
//   SPEECH_STANDIN_EXIT_AFTER    1: after the script, close the engine dialogs and post WM_CLOSE
//                                to the last DisplayUI parent, else to every visible unowned
//                                top-level window of the process
//   SPEECH_STANDIN_UI_AUTOCLOSE  ms after which an engine dialog closes itself (0: never)
// standins/speech/README.md has the details.
#pragma once
#include <string>
#include <vector>

namespace speech_standin {

enum class StandinMode { Normal, Absent, FailInterests, FailGrammar, FailDictation };

struct StandinSettings {
    StandinMode mode = StandinMode::Normal;
    std::vector<std::wstring> unsupportedUI;  // UI types IsUISupported answers false for
    std::wstring scriptPath;                  // played after a context's first Advise
    std::wstring logPath;                     // call log copy; empty: memory only
    bool exitAfter = false;                   // close the program's windows after the script
    unsigned uiAutoCloseMs = 0;               // engine dialogs close themselves; 0: never
};

// Re-reads the environment (fields a control function set keep their value).
void refreshSettingsFromEnvironment();
StandinSettings currentSettings();

// "", "normal", "absent", "fail-interests", "fail-grammar", "fail-dictation".
bool parseMode(const std::wstring& text, StandinMode& mode);
// Splits a comma-separated list, trimming blanks and dropping empty items.
std::vector<std::wstring> parseUIList(const std::wstring& text);

// Control-function overrides; they win over the environment until cleared (a null
// argument clears one, clearOverrides both).
void overrideMode(const StandinMode* mode);
void overrideUnsupportedUI(const std::vector<std::wstring>* types);
void clearOverrides();

}  // namespace speech_standin
