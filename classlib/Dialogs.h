// The common dialogs as components: file open and save, font, colour, find and replace
// (modeless) and printer set-up.  Each keeps its settings in published properties, shows
// the system dialog in Execute and reads the result back.  A dialog that fails (as
// opposed to being cancelled) raises ECommonDialogError with the system's error code.
//
// Types: ECommonDialogError, TCommonDialog, TOpenDialog, TSaveDialog, TFontDialog,
//        TColorDialog, TFindDialog, TReplaceDialog, TPrinterSetupDialog, TPrinterSelection.
#pragma once
#include <windows.h>
#include <commdlg.h>
// commdlg.h names its find function FindText as a macro; the dialogs' own FindText
// members must keep their name in every file that includes this one.
#ifdef FindText
#undef FindText
#endif

#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"

class ECommonDialogError : public Exception {
public:
    ECommonDialogError(const std::string& message, DWORD code) : Exception(message), code_(code) {}
    DWORD Code() const { return code_; }  // CommDlgExtendedError

private:
    DWORD code_;
};

class TCommonDialog : public TComponent {
    CLASS_INFO(TCommonDialog)
public:
    explicit TCommonDialog(TComponent* owner);
    virtual bool Execute() = 0;
    // The dialog window while it is open, else nullptr.
    HWND Handle() const;
    TNotifyEvent OnShow;   // the dialog window exists (Handle is set)
    TNotifyEvent OnClose;  // the dialog window is going away

    // Called by the dialogs' hook procedures.
    virtual void DialogShown(HWND dialog);
    virtual void DialogClosing();

protected:
    // The window that owns a dialog: the active window of this thread, else the main form.
    static HWND ownerWindow();
    // After a dialog call returned FALSE: raises for a failure, returns for a cancel.
    static void checkFailure(const std::string& dialogName);

    HWND handle_ = nullptr;
};

// ---- file dialogs -------------------------------------------------------------------

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
    ofEnableIncludeNotify, ofEnableSizing
};
using TOpenOptions = unsigned;  // bit mask of 1 << TOpenOption

class TOpenDialog : public TCommonDialog {
    CLASS_INFO(TOpenDialog)
public:
    explicit TOpenDialog(TComponent* owner);
    bool Execute() override;

    // "Text files|*.txt|All files|*.*": pairs of description and patterns.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& v) { filter_ = v; }
    int FilterIndex() const { return filterIndex_; }  // 1-based
    void SetFilterIndex(int v) { filterIndex_ = v; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& v) { fileName_ = v; }
    const std::vector<std::string>& Files() const { return files_; }  // every chosen file
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& v) { defaultExt_ = v; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& v) { initialDir_ = v; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& v) { title_ = v; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions v) { options_ = v; }

    // The system's open-file structure for the current settings (buffer: the file name
    // buffer, filter: the filter with NULs).  For tests and for the save dialog.
    OPENFILENAMEA BuildStruct(std::vector<char>& buffer, std::string& filter) const;

protected:
    virtual BOOL runDialog(OPENFILENAMEA& ofn) { return GetOpenFileNameA(&ofn); }
    virtual const char* dialogName() const { return "Open"; }

private:
    void readResult(const OPENFILENAMEA& ofn, const std::vector<char>& buffer);
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
    std::vector<std::string> files_;
    std::string defaultExt_;
    std::string initialDir_;
    std::string title_;
    TOpenOptions options_ = (1u << ofHideReadOnly) | (1u << ofEnableSizing);
};

class TSaveDialog : public TOpenDialog {
    CLASS_INFO(TSaveDialog)
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

protected:
    BOOL runDialog(OPENFILENAMEA& ofn) override { return GetSaveFileNameA(&ofn); }
    const char* dialogName() const override { return "Save"; }
};

// ---- font and colour ----------------------------------------------------------------

enum TFontDialogOption {
    fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, fdNoOEMFonts,
    fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize,
    fdScalableOnly, fdApplyButton
};
using TFontDialogOptions = unsigned;
enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };

class TFontDialog : public TCommonDialog {
    CLASS_INFO(TFontDialog)
public:
    explicit TFontDialog(TComponent* owner);
    // Starts from Font (face, height, style, charset, colour) and writes the choice back.
    bool Execute() override;
    TFont& Font() { return font_; }
    TFontDialogOptions Options() const { return options_; }
    void SetOptions(TFontDialogOptions v) { options_ = v; }
    TFontDialogDevice Device() const { return device_; }
    void SetDevice(TFontDialogDevice v) { device_ = v; }
    int MinFontSize() const { return minFontSize_; }
    void SetMinFontSize(int v) { minFontSize_ = v; }
    int MaxFontSize() const { return maxFontSize_; }
    void SetMaxFontSize(int v) { maxFontSize_ = v; }

private:
    TFont font_;
    TFontDialogOptions options_ = 1u << fdEffects;
    TFontDialogDevice device_ = fdScreen;
    int minFontSize_ = 0, maxFontSize_ = 0;
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = unsigned;

class TColorDialog : public TCommonDialog {
    CLASS_INFO(TColorDialog)
public:
    explicit TColorDialog(TComponent* owner);
    bool Execute() override;
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    // Lines "ColorA=xxxxxx" to "ColorP=xxxxxx": the sixteen custom colours as hexadecimal
    // colour values (0x00BBGGRR, six digits); a missing line is white.
    TStrings& CustomColors() { return customColors_; }
    TColorDialogOptions Options() const { return options_; }
    void SetOptions(TColorDialogOptions v) { options_ = v; }

private:
    TColor color_ = clBlack;
    TStringList customColors_;
    TColorDialogOptions options_ = 0;
};

// ---- find and replace (modeless) ----------------------------------------------------

enum TFindOption {
    frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
    frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp
};
using TFindOptions = unsigned;  // bit mask of 1 << TFindOption

class TFindDialog : public TCommonDialog {
    CLASS_INFO(TFindDialog)
public:
    explicit TFindDialog(TComponent* owner);
    ~TFindDialog() override;
    // Shows the dialog, or brings it to the front when it is open; returns at once.
    bool Execute() override;
    // Closes the dialog later (from the message loop); OnClose runs then.
    void CloseDialog();

    const std::string& FindText() const { return findText_; }
    void SetFindText(const std::string& v);  // also into the open dialog's edit box
    TFindOptions Options() const { return options_; }
    void SetOptions(TFindOptions v) { options_ = v; }
    // Top-left corner in screen coordinates; -1 leaves the system's placement.
    int Left() const;
    int Top() const;
    void SetLeft(int v) { SetPosition(v, top_); }
    void SetTop(int v) { SetPosition(left_, v); }
    void SetPosition(int left, int top);

    TNotifyEvent OnFind;

    // Called by the hidden window with the dialog's FINDMSGSTRING notice.
    void FindMessage(const FINDREPLACEA& fr);
    void DialogShown(HWND dialog) override;
    void DialogClosing() override;

protected:
    virtual HWND runDialog(FINDREPLACEA& fr) { return ::FindTextA(&fr); }
    virtual void readStruct(const FINDREPLACEA&) {}
    virtual void prepareStruct(FINDREPLACEA&) {}
    virtual void Find() { if (OnFind) OnFind(this); }
    virtual void Replace() {}
    void release();  // forgets the window: modeless list, handle
    void moveTo(HWND dialog) const;  // to Left/Top where they are set

    static constexpr size_t kTextSize = 1024;
    std::string findText_;
    TFindOptions options_ = 1u << frDown;
    int left_ = -1, top_ = -1;
    // Live while the dialog is open: the system reads and writes them.
    FINDREPLACEA fr_{};
    std::vector<char> findBuffer_ = std::vector<char>(kTextSize, '\0');
    HWND redirector_ = nullptr;  // receives FINDMSGSTRING
};

class TReplaceDialog : public TFindDialog {
    CLASS_INFO(TReplaceDialog)
public:
    explicit TReplaceDialog(TComponent* owner);
    const std::string& ReplaceText() const { return replaceText_; }
    void SetReplaceText(const std::string& v);
    TNotifyEvent OnReplace;

protected:
    HWND runDialog(FINDREPLACEA& fr) override { return ::ReplaceTextA(&fr); }
    void readStruct(const FINDREPLACEA& fr) override;
    void prepareStruct(FINDREPLACEA& fr) override;
    void Replace() override { if (OnReplace) OnReplace(this); }

private:
    std::string replaceText_;
    std::vector<char> replaceBuffer_ = std::vector<char>(kTextSize, '\0');
};

// ---- printer set-up -----------------------------------------------------------------

// The printer chosen in the printer set-up dialog, used by later printing.
struct TPrinterSelection {
    std::string Driver, Device, Port;
    std::vector<BYTE> DevMode;  // a DEVMODEA with its driver data
};

class TPrinterSetupDialog : public TCommonDialog {
    CLASS_INFO(TPrinterSetupDialog)
public:
    explicit TPrinterSetupDialog(TComponent* owner) : TCommonDialog(owner) {}
    // Raises ECommonDialogError when the system cannot show it (no printer installed:
    // PDERR_NODEFAULTPRN or PDERR_NODEVICES).
    bool Execute() override;
    // The printer last chosen in the process; nullptr before the first choice.
    static const TPrinterSelection* Selection();
};
