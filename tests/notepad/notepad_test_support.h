// Shared by the notepad's tests: the stand-in recognizer's test controls in this
// process, and the first-run marker in the system folder.
#pragma once
#include <windows.h>

#include <string>

#include "speech_standin_control.h"

namespace notepadtest {

// The stand-in recognizer DLL loaded into this process (the same module COM loads).
struct Standin {
    static Standin& Get();
    bool Loaded() const { return module != nullptr; }
    int Play(const char* utf8Script) const { return play ? play(utf8Script) : -1; }
    std::string Log() const;
    void Reset() const { if (reset) reset(); }
    int Pending() const { return pending ? pending() : 0; }
    void SetMode(const char* mode) const { if (setMode) setMode(mode); }

    HMODULE module = nullptr;
    SpeechStandin_PlayScript_fn play = nullptr;
    SpeechStandin_ReadLog_fn readLog = nullptr;
    SpeechStandin_Reset_fn reset = nullptr;
    SpeechStandin_PendingEvents_fn pending = nullptr;
    SpeechStandin_SetMode_fn setMode = nullptr;
};

// Path of the first-run marker ("<system folder>\tallowmere.ini").
std::string MarkerPath();
void CreateMarker();
void RemoveMarker();
bool MarkerExists();

}  // namespace notepadtest

#include <functional>
#include <vector>

#include "gui_test.h"

namespace notepadtest {

// One step per dialog that an action opens in this thread (message boxes and file dialogs
// alike), in order.  A step returns false to be called again a moment later, with its
// dialog still up (to wait for something behind it).
using DialogStep = std::function<bool(HWND dialog)>;

// Runs the action and answers its dialogs from a thread timer, which the dialogs' own
// modal loops dispatch.  Returns what each dialog showed.  A dialog without a step, or a
// step left unused, is a test failure.
std::vector<guitest::MessageBoxContents> RunDialogs(const std::function<void()>& action, std::vector<DialogStep> steps);

DialogStep Press(int id);
// A file dialog: types the name (a full path) and presses OK.
DialogStep ChooseFile(const std::string& path);

}  // namespace notepadtest
