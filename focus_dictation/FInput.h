// TFInput, the main form of parlet, the focused-window dictation program: a small
// stay-on-top tool window whose four buttons, menus and context menu start and stop
// listening and open the dictionary; every recognised phrase is typed into the focused
// control of the foreground window (FInputTyping.cpp).  Auto-start with Windows and the
// help, usage and about texts are in FInputCommands.cpp.
#pragma once
#include <string>
#include <vector>

#include "DictationFrontEnd.h"

class TBitBtn;
class TMainMenu;
class TPopupMenu;

class TFInput : public TDictationForm {
    CLASS_INFO(TFInput)
public:
    explicit TFInput(TComponent* owner);

    TBitBtn* BStart = nullptr;
    TBitBtn* BStop = nullptr;
    TBitBtn* BDict = nullptr;
    TBitBtn* BInformaition = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;

    // Per-program points of the dictation front end.
    void DeliverPhrase(const std::wstring& text) override;
    void ShowListeningState(bool started) override;
    std::string MicrophoneMessage() const override;

    // Types 8-bit text (the thread's ANSI code page) into the focused control of the
    // foreground window, one WM_IME_CHAR per character.
    void PostTextToFocusedWindow(const std::string& text);

    // Start-up.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);

    // Buttons.
    void BStartClick(TObject* Sender);
    void BStopClick(TObject* Sender) { StopListening(); }
    void BDictClick(TObject* Sender) { Dictionary(); }
    void BInformaitionClick(TObject* Sender) { ShowUsage(); }

    // Main menu (the commands both small programs share are the front end's).
    void NAutoRunClick(TObject* Sender);
    void NHandRunClick(TObject* Sender);
    void NhelpClick(TObject* Sender);
    void NAboutClick(TObject* Sender);

    // Context menu.
    void NNAboutClick(TObject* Sender) { NAboutClick(Sender); }

    void ShowUsage();

    // The full path of the running executable; tests put a path of their own here.
    static std::string (*ExePath)();
};

// The WM_IME_CHAR parameters that type `text`: a lead byte of the system's ANSI code page
// and the byte after it make one parameter (lead byte in the high half), every other byte
// one of its own.  A lead byte at the very end pairs with the string's terminating NUL.
std::vector<WPARAM> ImeCharsOf(const std::string& text);

// The start-up command written to the Run key for an executable: the path, quoted when it
// holds a blank (unquoted, "C:\Program Files\..." would start "C:\Program").
std::string StartupCommand(const std::string& exePath);

// Registry names of auto-start.
extern const char* const kProgramKey;   // "SOFTWARE\glassmoth" below HKEY_LOCAL_MACHINE
extern const char* const kRunKey;       // the machine's Run key
extern const char* const kRunValue;     // "sayloom"

// Texts of parlet.
extern const char* const kUsageText;
extern const char* const kInputHelpText;
extern const char* const kInputAboutText;
extern const char* const kAutoRunOnMessage;
extern const char* const kAutoRunOffMessage;
