// TFnotepad, the dictation notepad's main form: the rich-text editor that receives
// dictated phrases, the choice list, the event log, the audio-level bar and the status
// bar with date, weekday and clock; its documents (FnotepadDocuments.cpp) and its search,
// edit, format, print and help commands (FnotepadCommands.cpp).
#pragma once
#include <ctime>
#include <string>
#include <vector>

#include "DictationFrontEnd.h"
#include "DocumentFile.h"

class TSplitter;
class TPanel;
class TRichEdit;
class TStatusBar;
class TPopupMenu;
class TMainMenu;
class TMenuItem;
class TPrinterSetupDialog;
class TReplaceDialog;
class TFindDialog;
class TFontDialog;
class TOpenDialog;
class TSaveDialog;
class TColorDialog;
class TTimer;

// The program-wide document name (empty: untitled).
extern std::string CurrentFileName;

class TFnotepad : public TDictationForm {
    CLASS_INFO(TFnotepad)
public:
    explicit TFnotepad(TComponent* owner);

    TSplitter* Splitter1 = nullptr;
    TPanel* Panel1 = nullptr;
    TSplitter* Splitter2 = nullptr;
    TListBox* lstProgress = nullptr;
    TPanel* Panel2 = nullptr;
    TRichEdit* RichEdit1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TPopupMenu* PopupMenu = nullptr;
    TPrinterSetupDialog* PrinterSetupDialog = nullptr;
    TReplaceDialog* ReplaceDialog = nullptr;
    TFindDialog* FindDialog = nullptr;
    TFontDialog* FontDialog1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* M_AutoLines = nullptr;
    TColorDialog* ColorDialog1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TTimer* Timer2 = nullptr;

    std::string LastFindText;

    // Per-program points of the dictation front end.
    void DeliverPhrase(const std::wstring& text) override;
    void ShowListeningState(bool started) override;
    void AddProgress(const std::string& text) override;

    // The weekday text of a date ("  星期日" for a Sunday ...).
    static std::string WeekdayText(const std::tm& date);
    static std::string DateText(const std::tm& date);   // "  yyyy-mm-dd"
    static std::string ClockText(const std::tm& time);  // "   hh:mm:ss"

    // Start-up and the clock.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Timer2Timer(TObject* Sender);
    void M_ExitClick(TObject* Sender);

    // Dictation commands.
    void NShiYongShuoMingClick(TObject* Sender) { OpenSetupPage(); }
    void NMicroPhonesetClick(TObject* Sender) { MicrophoneSetup(); }
    void NVoiceSetClick(TObject* Sender) { SpeakerTraining(); }
    void NStartClick(TObject* Sender) { StartListening(); }
    void NStopClick(TObject* Sender) { StopListening(); }
    void NVoiceDictClick(TObject* Sender) { Dictionary(); }
    void lstHypothesesDblClick(TObject* Sender);

    // Documents.
    void UpdateCaption();
    int QuerySave();  // IDCANCEL also when Yes was answered but the save did not complete
    bool OpenFile(const std::string& fileName);  // whether the file became the document
    bool SaveFile(int mode);  // whether the document was written
    void M_NewFilesClick(TObject* Sender);
    void M_OpenFilesClick(TObject* Sender) { OpenFile(std::string()); }
    void M_SaveClick(TObject* Sender) { SaveFile(0); }
    void M_SaveAsClick(TObject* Sender) { SaveFile(1); }
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void DropFiles(HANDLE drop);  // an HDROP

    // Search, edit, format, print and help.
    bool SearchText(const std::string& text, unsigned searchTypes);
    void M_ZClick(TObject* Sender);
    void M_CutClick(TObject* Sender);
    void M_CopyClick(TObject* Sender);
    void M_PClick(TObject* Sender);
    void M_DelClick(TObject* Sender);
    void M_CtrlAClick(TObject* Sender);
    void M_FindClick(TObject* Sender);
    void M_FindNextClick(TObject* Sender);
    void FindDialogFind(TObject* Sender);
    void M_ReplaceClick(TObject* Sender);
    void ReplaceDialogFind(TObject* Sender);
    void ReplaceDialogReplace(TObject* Sender);
    void M_DateTimeClick(TObject* Sender);
    void M_AutoLinesClick(TObject* Sender);
    void M_FontClick(TObject* Sender);
    void BBacColorClick(TObject* Sender);
    void NShowFontsClick(TObject* Sender);
    void NBackColorClick(TObject* Sender);
    void M_PrintPageClick(TObject* Sender);
    void M_PrintClick(TObject* Sender);
    void M_HelpClick(TObject* Sender);
    void M_AboutClick(TObject* Sender);

    void WndProc(TMessage& message) override;

    // The clock reads the time through this, so tests can give it a date.
    static std::time_t (*Now)();
    // Start-up reads the program's parameters through this (tests run with their own).
    static std::vector<std::string> (*CommandLineParameters)();

private:
    void placeDialog(HWND dialog);
    // Selects the next occurrence after the selection; false when there is none.
    bool selectNext(const std::string& text, unsigned searchTypes);
    void reportNotFound(const std::string& text);  // the not-found message of the search
    // Replaces every occurrence as one change; false when there is none.
    bool replaceAll(const std::string& text, const std::string& replacement, unsigned searchTypes);
    // Inserts text at the caret (or over the selection) and counts the change.
    void insertText(const std::string& text);
    bool askAgainIfChanged(unsigned answeredAt);
    // QuerySave for New and Close, asked again for text that arrived while it was up;
    // false: the document stays.
    bool mayLeaveDocument();
    // The file's bytes become the document named name (CurrentFileName).
    void loadDocument(const std::string& name, const std::string& bytes);
    void openStartFile();
    bool confirmReplacing(const std::string& target);
    bool confirmPlainTextOver(const std::string& target);

    // Counts the form's own insertions (phrases, choices): the ones that can arrive while
    // a modal window is up.
    unsigned textChanges_ = 0;
    // The file the document was read from as rich text (empty: none).
    std::string richTextFile_;
    // How the document's file stores its characters; a save writes them the same way.
    document::TextEncoding encoding_ = document::TextEncoding::Ansi;
    // The file the command line named, opened once the window is shown (empty: none).
    std::string startFile_;
};

// Posted to the notepad's form once its window is shown: open the file the command line
// named.  wParam 0, lParam 0; no result.
constexpr UINT WM_OPENSTARTFILE = WM_APP + 1;

// Texts of the notepad.
extern const char* const kHelpText;
extern const char* const kAboutText;
