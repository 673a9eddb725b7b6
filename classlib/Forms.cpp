#include "Forms.h"

#include <exception>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "FormReader.h"
#include "Menus.h"
#include "Texts.h"
#include "WndProcBoundary.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
const TEnumNames BorderStyleNames{{{"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable},
                                   {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow}, {"bsSizeToolWin", bsSizeToolWin}}};
const TEnumNames FormStyleNames{{{"fsNormal", fsNormal}, {"fsMDIChild", fsMDIChild}, {"fsMDIForm", fsMDIForm}, {"fsStayOnTop", fsStayOnTop}}};
const TEnumNames WindowStateNames{{{"wsNormal", wsNormal}, {"wsMinimized", wsMinimized}, {"wsMaximized", wsMaximized}}};
const TEnumNames PositionNames{{{"poDesigned", poDesigned}, {"poDefault", poDefault}, {"poDefaultPosOnly", poDefaultPosOnly},
                                {"poDefaultSizeOnly", poDefaultSizeOnly}, {"poScreenCenter", poScreenCenter},
                                {"poDesktopCenter", poDesktopCenter}, {"poMainFormCenter", poMainFormCenter},
                                {"poOwnerFormCenter", poOwnerFormCenter}}};
const TEnumNames BorderIconNames{{{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}}};

struct StaticInit {
    StaticInit() {
        if (!Screen) Screen = new TScreen(nullptr);
        if (!Application) Application = new TApplication(nullptr);
    }
} staticInit;
}  // namespace

void ReportCallbackException(const std::exception& e) {
    if (Application) Application->QueueException(e.what());
}

void ReportCallbackException() {
    if (Application) Application->QueueException("未知错误。");
}

// ---- TCustomForm -------------------------------------------------------------------

const TClassInfo& TCustomForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomForm>("TCustomForm", &TCustomControl::StaticClassInfo(), [](TClassBuilder<TCustomForm>& b) {
        b.Enum("BorderStyle", BorderStyleNames, [](TCustomForm& f) -> int64_t { return f.BorderStyle(); }, [](TCustomForm& f, int64_t v) { f.SetBorderStyle(static_cast<TFormBorderStyle>(v)); });
        b.Set("BorderIcons", BorderIconNames, [](TCustomForm& f) -> int64_t { return f.BorderIcons(); }, [](TCustomForm& f, int64_t v) { f.SetBorderIcons(static_cast<TBorderIcons>(v)); });
        b.Enum("FormStyle", FormStyleNames, [](TCustomForm& f) -> int64_t { return f.FormStyle(); }, [](TCustomForm& f, int64_t v) { f.SetFormStyle(static_cast<TFormStyle>(v)); });
        b.Enum("WindowState", WindowStateNames, [](TCustomForm& f) -> int64_t { return f.WindowState(); }, [](TCustomForm& f, int64_t v) { f.SetWindowState(static_cast<TWindowState>(v)); });
        b.Enum("Position", PositionNames, [](TCustomForm& f) -> int64_t { return f.Position(); }, [](TCustomForm& f, int64_t v) { f.SetPosition(static_cast<TPosition>(v)); });
        b.Reference<TMainMenu>("Menu", [](TCustomForm& f) { return f.Menu(); }, [](TCustomForm& f, TMainMenu* m) { f.SetMenu(m); });
        b.Bool("KeyPreview", [](TCustomForm& f) { return f.KeyPreview(); }, [](TCustomForm& f, bool v) { f.SetKeyPreview(v); });
        b.Bool("AlphaBlend", [](TCustomForm& f) { return f.AlphaBlend(); }, [](TCustomForm& f, bool v) { f.SetAlphaBlend(v); });
        b.Int("AlphaBlendValue", [](TCustomForm& f) -> int64_t { return f.AlphaBlendValue(); }, [](TCustomForm& f, int64_t v) { f.SetAlphaBlendValue(static_cast<int>(v)); });
        b.Reference<TWinControl>("ActiveControl", [](TCustomForm& f) { return f.ActiveControl(); }, [](TCustomForm& f, TWinControl* c) { f.SetActiveControl(c); });
        b.Event("OnCreate", &TCustomForm::OnCreate);
        b.Event("OnShow", &TCustomForm::OnShow);
        b.Event("OnHide", &TCustomForm::OnHide);
        b.Event("OnActivate", &TCustomForm::OnActivate);
        b.Event("OnDeactivate", &TCustomForm::OnDeactivate);
        b.Event("OnDestroy", &TCustomForm::OnDestroy);
        b.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
        b.Event("OnClose", &TCustomForm::OnClose);
    });
    return info;
}

const TClassInfo& TForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TForm>("TForm", &TCustomForm::StaticClassInfo(), [](TClassBuilder<TForm>& b) { b.Creatable(); });
    return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) {
    visible_ = false;
    color_ = clBtnFace;
    brush_.SetColor(color_);
    parentFont_ = false;
    width_ = 320;
    height_ = 240;
    icon_ = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    if (OnDestroy) {
        try { OnDestroy(this); } catch (...) {}
    }
    if (Screen) Screen->RemoveForm(this);
    if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
    // Everything the form owns goes while the form still has its window.
    BeginDestruction();
    if (handle_) DestroyHandle();
}

void TCustomForm::InitFromResource() { InitFromText(LoadFormResource(ClassName())); }

void TCustomForm::InitFromText(const std::string& utf8Description) {
    dfm::Object desc = dfm::Parse(utf8Description);
    if (!texts::SameText(desc.className, ClassName()))
        throw EReadError("The description is of class " + desc.className + ", not " + ClassName());
    ReadComponentDescription(*this, desc);
    DoCreate();
}

void TCustomForm::Loaded() {
    TCustomControl::Loaded();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) { if (s != borderStyle_) { borderStyle_ = s; RecreateWnd(); } }
void TCustomForm::SetBorderIcons(TBorderIcons b) { if (b != borderIcons_) { borderIcons_ = b; RecreateWnd(); } }

void TCustomForm::SetFormStyle(TFormStyle s) {
    if (s == formStyle_) return;
    const bool mdiChange = s == fsMDIForm || s == fsMDIChild || formStyle_ == fsMDIForm || formStyle_ == fsMDIChild;
    formStyle_ = s;
    if (s == fsMDIChild) visible_ = true;  // a child is shown as soon as it is made
    if (handle_ && mdiChange) {
        RecreateWnd();
        return;
    }
    if (handle_) SetWindowPos(handle_, s == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState s) {
    windowState_ = s;
    if (handle_ && formStyle_ == fsMDIChild && GetParent(handle_)) {
        // The client keeps its maximised child and the frame's menu bar in step.
        HWND client = GetParent(handle_);
        if (s == wsMaximized) SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(handle_), 0);
        else if (s == wsNormal) SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(handle_), 0);
        else ShowWindow(handle_, SW_MINIMIZE);
        return;
    }
    if (handle_ && visible_) ShowWindow(handle_, s == wsMaximized ? SW_SHOWMAXIMIZED : s == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
}

void TCustomForm::SetMenu(TMainMenu* m) {
    if (menu_ == m) return;
    if (menu_) menu_->SetWindowHandle(nullptr);
    menu_ = m;
    if (m) FreeNotification(m);
    if (handle_ && formStyle_ != fsMDIChild) {
        if (m) m->SetWindowHandle(handle_);
        ::SetMenu(handle_, m ? m->Handle() : nullptr);
    }
}

void TCustomForm::SetIcon(HICON icon) {
    icon_ = icon;
    if (handle_) {
        SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

void TCustomForm::SetActiveControl(TWinControl* c) {
    activeControl_ = c;
    if (c) {
        FreeNotification(c);
        if (handle_ && c->CanFocus()) c->SetFocus();
    }
}

bool TCustomForm::Active() const { return handle_ && GetActiveWindow() == handle_; }

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == menu_) menu_ = nullptr;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == focusedControl_) focusedControl_ = nullptr;
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (control == focusedControl_ || IsDestroying()) return;
    TWinControl* previous = focusedControl_;
    focusedControl_ = control;
    if (control) FreeNotification(control);
    if (previous) {
        RemoveFreeNotification(previous);
        previous->Perform(CM_EXIT, 0, 0);
    }
    // The exit handler may have moved the focus on again: then that move has told everyone.
    if (focusedControl_ != control) return;
    if (control) control->Perform(CM_ENTER, 0, 0);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::restoreFocus() {
    // An MDI frame's focus belongs to its active document window (the client's default).
    if (clientHandle_ || !handle_ || IsIconic(handle_) || GetFocus() != handle_) return;
    for (TWinControl* c : {focusedControl_, activeControl_})
        if (c && c != this && c->HandleAllocated() && c->CanFocus()) {
            ::SetFocus(c->Handle());
            return;
        }
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN;
    p.ExStyle = 0;
    p.WndParent = nullptr;
    switch (borderStyle_) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: p.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (borderStyle_ != bsNone && (borderIcons_ & (1u << biSystemMenu))) {
        p.Style |= WS_SYSMENU;
        if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
            if (borderIcons_ & (1u << biMinimize)) p.Style |= WS_MINIMIZEBOX;
            if (borderIcons_ & (1u << biMaximize)) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    p.WindowClass.style = CS_DBLCLKS;
    p.WindowClass.hIcon = icon_;
}

void TCustomForm::CreateWnd() {
    TCustomControl::CreateWnd();
    if (formStyle_ == fsMDIForm) createMdiClient();
    applyAlphaBlend();
    SetIcon(icon_);
    if (menu_ && formStyle_ != fsMDIChild) {  // a child window cannot carry a menu bar
        menu_->SetWindowHandle(handle_);
        ::SetMenu(handle_, menu_->Handle());
    }
}

void TCustomForm::SetAlphaBlend(bool v) {
    if (v == alphaBlend_) return;
    alphaBlend_ = v;
    applyAlphaBlend();
}

void TCustomForm::SetAlphaBlendValue(int v) {
    v = v < 0 ? 0 : v > 255 ? 255 : v;
    if (v == alphaBlendValue_) return;
    alphaBlendValue_ = v;
    applyAlphaBlend();
}

// A layered window only while blending is on: an opaque form stays an ordinary window.
void TCustomForm::applyAlphaBlend() {
    if (!handle_) return;
    const LONG_PTR ex = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
    if (alphaBlend_) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrA(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(handle_, 0, static_cast<BYTE>(alphaBlendValue_), LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrA(handle_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TCustomForm::Paint() {
    RECT r = ClientRect();
    canvas_.Brush().SetColor(color_);
    canvas_.FillRect(r);
}

void TCustomForm::Show() {
    visible_ = true;
    HWND h = Handle();
    int cmd = windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : windowState_ == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    if (!shownOnce_ && position_ == poScreenCenter) {
        SetBounds((Screen->Width() - width_) / 2, (Screen->Height() - height_) / 2, width_, height_);
    }
    shownOnce_ = true;
    // A failing show handler is reported by the caller once the window is up: a form left
    // hidden could be neither used nor closed.
    std::exception_ptr failure;
    try {
        DoShow();
    } catch (...) {
        failure = std::current_exception();
    }
    if (formStyle_ == fsMDIChild && GetParent(h)) {
        // Its state belongs to the client: showing activates it and keeps it maximised.
        ShowWindow(h, SW_SHOW);
        SendMessageA(GetParent(h), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h), 0);
    } else {
        ShowWindow(h, cmd);
    }
    if (formStyle_ == fsStayOnTop) SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
    UpdateWindow(h);
    if (failure) std::rethrow_exception(failure);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (!CloseQuery()) return;
    // A main form ends the program; a document window of an MDI frame goes for good.
    TCloseAction action = (Application && Application->MainForm() == this) || formStyle_ == fsMDIChild ? caFree : caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        if (handle_) ShowWindow(handle_, SW_HIDE);
        visible_ = false;
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: visible_ = false; if (handle_) ShowWindow(handle_, SW_HIDE); break;
    case caMinimize: if (handle_) ShowWindow(handle_, SW_MINIMIZE); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() { if (handle_) PostMessageA(handle_, CM_RELEASE, 0, 0); }

void TCustomForm::onCommand(TMessage& m) {
    // Menus and accelerators send no control handle; everything else is a control's.
    if (m.LParam == 0 && HIWORD(m.WParam) <= 1) {
        if (menu_ && menu_->DispatchCommand(LOWORD(m.WParam))) { m.Result = 0; return; }
    }
    TCustomControl::WndProc(m);
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_QUERYENDSESSION:
        // Ending the session ends the program as a close would: the same question first.
        m.Result = CloseQuery() ? TRUE : FALSE;
        return;
    case WM_COMMAND:
        onCommand(m);
        return;
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis->CtlType == ODT_MENU && menu_ && menu_->MeasureItem(*mis, handle_)) { m.Result = 1; return; }
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis->CtlType == ODT_MENU && menu_ && menu_->DrawItem(*dis)) { m.Result = 1; return; }
        break;
    }
    case WM_ACTIVATE:
        TCustomControl::WndProc(m);
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            Perform(CM_ACTIVATE, 0, 0);
            if (OnActivate) OnActivate(this);
        } else {
            Perform(CM_DEACTIVATE, 0, 0);
            if (OnDeactivate) OnDeactivate(this);
        }
        return;
    case WM_SETFOCUS:
        TCustomControl::WndProc(m);
        restoreFocus();
        return;
    case WM_ERASEBKGND:
        DefaultHandler(m);  // forms let the class background show; Paint fills it anyway
        m.Result = 1;
        return;
    case WM_SHOWWINDOW:
        TCustomControl::WndProc(m);
        if (!m.WParam && OnHide) OnHide(this);
        return;
    case CM_RELEASE:
        delete this;
        return;
    case WM_NCDESTROY:
        clientHandle_ = nullptr;  // the system destroyed it with the frame
        break;
    case WM_SIZE:
        // The state follows the window whoever changed it (the system menu, the MDI client),
        // once the window is shown: a hidden window reports itself restored as it is made and
        // placed, which nobody chose (a form stored maximised still opens maximised).
        if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE) {
            if (m.WParam == SIZE_MAXIMIZED) windowState_ = wsMaximized;
            else if (m.WParam == SIZE_MINIMIZED) windowState_ = wsMinimized;
            else if (m.WParam == SIZE_RESTORED) windowState_ = wsNormal;
        }
        break;
    case CM_ACTIVATE: case CM_DEACTIVATE:
        return;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

// ---- TApplication ------------------------------------------------------------------

const TClassInfo& TApplication::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TApplication>("TApplication", &TComponent::StaticClassInfo(), [](TClassBuilder<TApplication>&) {});
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    title_ = dot == std::string::npos ? name : name.substr(0, dot);
}

TApplication::~TApplication() {
    if (handle_) DestroyWindow(handle_);
}

void TApplication::Initialize() {
    static bool done = false;
    if (done) return;
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    RegisterControlClasses();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TApplication::appWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TApplication";
    if (!RegisterClassA(&wc)) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS)
            throw Exception("Cannot register the application window class (error " + std::to_string(error) + ")");
    }
    handle_ = CreateWindowExA(0, "TApplication", title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    // Without this window, errors caught in callbacks would never be shown.
    if (!handle_) {
        const DWORD error = GetLastError();
        throw Exception("Cannot create the application window (error " + std::to_string(error) + ")");
    }
    done = true;
}

LRESULT CALLBACK TApplication::appWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return GuardedDispatch(
        wnd, msg,
        [&]() -> LRESULT {
            if (msg == CM_SHOWPENDINGEXCEPTION && Application) {
                Application->showPendingExceptions();
                return 0;
            }
            return DefWindowProcA(wnd, msg, wParam, lParam);
        },
        [&] { return DefWindowProcA(wnd, msg, wParam, lParam); });
}

void TApplication::SetTitle(const std::string& t) {
    title_ = t;
    if (handle_) SetWindowTextA(handle_, t.c_str());
}

void TApplication::SetIcon(HICON icon) { icon_ = icon; }

void TApplication::SetShowHint(bool on) {
    showHint_ = on;
    ActivateHints(on);
}

std::string TApplication::ExeName() const {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

HWND TApplication::messageBoxOwner() const {
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->Handle();
    return owner;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    return ::MessageBoxA(messageBoxOwner(), text.c_str(), caption.empty() ? title_.c_str() : caption.c_str(), flags);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    const std::wstring title = caption.empty() ? texts::AnsiToWide(title_) : caption;
    return ::MessageBoxW(messageBoxOwner(), text.c_str(), title.c_str(), flags);
}

void TApplication::ShowException(const std::exception& e) {
    MessageBox(texts::WithStop(e.what()), title_, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(const std::exception& e) {
    if (!OnException) {
        ShowException(e);
        return;
    }
    // A failing error handler must not take the program down nor report into itself
    // again: its own error gets the default box.
    try {
        OnException(this, e);
    } catch (const std::exception& failure) {
        ShowException(failure);
    } catch (...) {
        ShowException(Exception("未知错误。"));
    }
}

void TApplication::QueueException(const std::string& message) {
    pendingExceptions_.push_back(message);
    if (handle_) PostMessageA(handle_, CM_SHOWPENDINGEXCEPTION, 0, 0);
}

void TApplication::showPendingExceptions() {
    std::vector<std::string> pending;
    pending.swap(pendingExceptions_);
    for (const auto& text : pending) HandleException(Exception(text));
}

void TApplication::AddModelessDialog(HWND dialog) { modelessDialogs_.push_back(dialog); }
void TApplication::RemoveModelessDialog(HWND dialog) {
    modelessDialogs_.erase(std::remove(modelessDialogs_.begin(), modelessDialogs_.end(), dialog), modelessDialogs_.end());
}

bool TApplication::processMessage(MSG& msg) {
    for (HWND d : modelessDialogs_)
        if (IsWindow(d) && IsDialogMessageA(d, &msg)) return true;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR) {
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (auto* form = dynamic_cast<TCustomForm*>(FindControl(top))) {
            if (msg.message != WM_SYSCHAR && form->onShortCut(msg)) return true;
            // Ctrl+F4, Ctrl+F6 and the child's system menu keys of an MDI frame.
            if (form->ClientHandle() && TranslateMDISysAccel(form->ClientHandle(), &msg)) return true;
        }
        // Dialog keys go to the form the window lies on (an MDI child, not its frame).
        for (HWND w = msg.hwnd; w && w != GetDesktopWindow(); w = GetAncestor(w, GA_PARENT))
            if (auto* form = dynamic_cast<TCustomForm*>(FindControl(w))) {
                if (form->onDialogKey(msg)) return true;
                break;
            }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

bool TApplication::HandleMessage() {
    MSG msg;
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) { terminated_ = true; return false; }
    try {
        processMessage(msg);
    } catch (const std::exception& e) {
        HandleException(e);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
            return;
        }
        try {
            processMessage(msg);
        } catch (const std::exception& e) {
            HandleException(e);
        }
    }
}

int TApplication::Run() {
    // A terminate request made while the main form was being created (a failed set-up)
    // ends the program without showing the form or running its show handler.
    if (mainForm_ && !terminated_ && !terminateRequested_) {
        try {
            mainForm_->Show();
        } catch (const std::exception& e) {
            HandleException(e);
        }
    }
    while (!terminated_ && HandleMessage()) {}
    return 0;
}

void TApplication::Terminate() {
    terminateRequested_ = true;
    PostQuitMessage(0);
}

bool TCustomForm::onShortCut(const MSG& msg) {
    TShortCut sc = static_cast<TShortCut>(msg.wParam & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0) sc |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) sc |= scCtrl;
    if (GetKeyState(VK_MENU) < 0) sc |= scAlt;
    auto tryMenu = [&](TMenu* menu) {
        if (!menu) return false;
        TMenuItem* item = menu->FindItem(sc, TMenuItemFind::fkShortCut);
        if (!item || !item->Enabled()) return false;
        item->Click();
        return true;
    };
    if (tryMenu(menu_)) return true;
    // Popup menus of the control that has the focus, and of its parents.
    for (TControl* c = FindControl(GetFocus()); c; c = c->Parent())
        if (c->PopupMenu() && tryMenu(c->PopupMenu())) return true;
    return false;
}

namespace {

// Keys a form handles for its controls (focus moves, default and cancel buttons), unless
// the window with the focus asks for them itself.
bool isDialogKey(const MSG& msg) {
    UINT want = 0;
    switch (msg.wParam) {
    case VK_TAB: want = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: want = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_ESCAPE: case VK_EXECUTE: case VK_CANCEL: want = 0; break;
    default: return false;
    }
    // Asked without the message: a control handed the MSG takes itself to be in a dialog
    // box from then on, and a multiline edit or rich edit in a dialog box posts WM_CLOSE to
    // its parent on Esc (Windows does, and Wine copies it), which would close the form.
    const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, 0, 0);
    return !(code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | want));
}

}  // namespace

// Alt+letter goes to the form as CM_DIALOGCHAR (menu-bar accelerators of a skinned form)
// and a dialog key as CM_DIALOGKEY; a non-zero answer means the key was used.
bool TCustomForm::onDialogKey(const MSG& msg) {
    if (msg.message == WM_SYSCHAR) return Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    if (msg.message == WM_KEYDOWN && isDialogKey(msg)) return Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
    return false;
}

// ---- TScreen -----------------------------------------------------------------------

const TClassInfo& TScreen::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TScreen>("TScreen", &TComponent::StaticClassInfo(), [](TClassBuilder<TScreen>&) {});
    return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) menuFont_.SetHandle(CreateFontIndirectA(&ncm.lfMenuFont));
}

TCustomForm* TScreen::ActiveForm() const {
    return dynamic_cast<TCustomForm*>(FindControl(GetActiveWindow()));
}

void TScreen::AddForm(TCustomForm* f) { forms_.push_back(f); }
void TScreen::RemoveForm(TCustomForm* f) { forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end()); }
