// Forms, the application object and the screen.  A form of style fsMDIForm is an MDI
// frame: it makes the system's MDI client window inside itself, and forms of style
// fsMDIChild become the client's children (FormsMdi.cpp).
//
// Types: TCustomForm, TForm, TCloseAction, TBorderStyle, TFormStyle, TWindowState,
//        TPosition, TApplication, TScreen; globals Application and Screen.
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"

class TMainMenu;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TBorderIcon { biSystemMenu = 0, biMinimize = 1, biMaximize = 2, biHelp = 3 };
using TBorderIcons = unsigned;  // bit mask of 1 << TBorderIcon

using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

// A top-level window built from its stored description.
class TCustomForm : public TCustomControl {
    CLASS_INFO(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the description stored in the program under this form's class name, then
    // runs OnCreate.  Form classes call it at the end of their constructor.
    void InitFromResource();
    // The same from a description given as text (tests).
    void InitFromText(const std::string& utf8Description);

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons b);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle s);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState s);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* m);
    HICON Icon() const { return icon_; }
    void SetIcon(HICON icon);  // borrowed
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    // Translucency: while AlphaBlend is on, the window is drawn with AlphaBlendValue
    // (0 invisible .. 255 opaque); while it is off the window is opaque whatever the value.
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool v);
    int AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(int v);
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* c);
    bool Active() const;

    void Show();
    void Close();
    bool CloseQuery();
    // The control that has the focus now (its window got WM_SETFOCUS): the one that had
    // it gets CM_EXIT, the new one CM_ENTER, and the form CM_FOCUSCHANGED (lParam the
    // control), which goes on to every control of the form.
    void FocusControl(TWinControl* control);
    TWinControl* FocusedControl() const { return focusedControl_; }
    void Release();  // frees the form once the current message is handled

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    // MDI frames (fsMDIForm): the client window, its children and their arrangement.
    HWND ClientHandle() const { return clientHandle_; }
    TCustomForm* ActiveMDIChild() const;
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int i) const;
    void Cascade();
    void Tile();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // An MDI child's window is made by the frame's client window.
    void CreateWindowHandle(const TCreateParams& params) override;
    void DestroyWnd() override;
    void AlignControls(TControl* control, RECT& rect) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    virtual void DoCreate() { if (OnCreate) OnCreate(this); }
    virtual void DoShow() { if (OnShow) OnShow(this); }

private:
    void onCommand(TMessage& m);
    void onClose(TMessage& m);
    bool onShortCut(const MSG& msg);
    void createMdiClient();
    std::vector<TCustomForm*> mdiChildren() const;
    bool isMdiChildWindow() const;
    bool onDialogKey(const MSG& msg);
    // The focus given to the form's own window (its activation, the close of a window it
    // owned) goes on to the control that had it last, else to ActiveControl.
    void restoreFocus();
    void applyAlphaBlend();
    friend class TApplication;

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDesigned;
    TMainMenu* menu_ = nullptr;
    HICON icon_ = nullptr;
    bool keyPreview_ = false;
    bool alphaBlend_ = false;
    int alphaBlendValue_ = 255;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    bool shownOnce_ = false;
    HWND clientHandle_ = nullptr;  // fsMDIForm: the MDI client window, destroyed with the frame
};

class TForm : public TCustomForm {
    CLASS_INFO(TForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

// The program: title, icon, main form, message loop, error reporting.
class TApplication : public TComponent {
    CLASS_INFO(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Makes a form of class F owned by the application; the first becomes the main form.
    template <class F>
    F* CreateForm() {
        F* form = new F(this);
        if (!mainForm_) mainForm_ = form;
        return form;
    }
    void SetMainForm(TCustomForm* f) { mainForm_ = f; }
    TCustomForm* MainForm() const { return mainForm_; }
    // Shows the main form and runs the message loop until the main form closes or a
    // terminate request arrives.  Returns the exit code.
    int Run();
    void Terminate();           // posts the quit request
    bool Terminated() const { return terminated_; }
    bool TerminateRequested() const { return terminateRequested_; }
    void ProcessMessages();     // handles the messages waiting now
    bool HandleMessage();       // waits for and handles one message; false on quit

    // Tooltips of every control (on by default).
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on);
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t);
    HICON Icon() const { return icon_; }
    void SetIcon(HICON icon);   // borrowed
    HWND Handle() const { return handle_; }
    std::string ExeName() const;

    // The plain message box: no icon, captioned with the title.
    int MessageBox(const std::string& text, const std::string& caption = {}, UINT flags = MB_OK);
    // The same for a UTF-16 text, which may hold characters the code page lacks.
    int MessageBox(const std::wstring& text, const std::wstring& caption = {}, UINT flags = MB_OK);
    // The default error box of an exception no handler caught; the program goes on.
    void ShowException(const std::exception& e);
    void HandleException(const std::exception& e);
    TExceptionEvent OnException;

    // Exceptions caught at window-procedure boundaries wait here and are shown from the
    // message loop, outside the callback that failed.
    void QueueException(const std::string& message);

    // Modeless dialogs (find, replace) get their keyboard handling from the loop.
    void AddModelessDialog(HWND dialog);
    void RemoveModelessDialog(HWND dialog);

private:
    bool processMessage(MSG& msg);
    static LRESULT CALLBACK appWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void showPendingExceptions();
    // The window a message box is owned by: the active one, else the main form's.
    HWND messageBoxOwner() const;

    TCustomForm* mainForm_ = nullptr;
    std::string title_;
    HICON icon_ = nullptr;
    HWND handle_ = nullptr;
    bool terminated_ = false;
    bool terminateRequested_ = false;
    bool showHint_ = true;
    std::vector<std::string> pendingExceptions_;
    std::vector<HWND> modelessDialogs_;
};

class TScreen : public TComponent {
    CLASS_INFO(TScreen)
public:
    explicit TScreen(TComponent* owner);
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    TFont& MenuFont() { return menuFont_; }
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int i) const { return forms_.at(static_cast<size_t>(i)); }
    TCustomForm* ActiveForm() const;
    void AddForm(TCustomForm* f);
    void RemoveForm(TCustomForm* f);

private:
    TFont menuFont_;
    std::vector<TCustomForm*> forms_;
};

extern TApplication* Application;
extern TScreen* Screen;
