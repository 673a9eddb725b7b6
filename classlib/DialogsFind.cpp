// The modeless find and replace dialogs.  The system sends its FINDMSGSTRING notices to
// the structure's owner window; here that is a hidden window of the component, which reads
// the find text, replace text and options back and runs OnFind / OnReplace.  The
// FINDREPLACEA structure and its text buffers are members, so they live as long as the
// dialog can use them.  The open dialog is registered with the application, whose loop
// gives it keyboard navigation.
#include "Dialogs.h"

#include <dlgs.h>

#include <algorithm>

#include "Dialogs_impl.h"
#include "Forms.h"
#include "UtilityWindow.h"

using namespace dialogs_impl;

namespace {

const TEnumNames FindOptionNames{{
    {"frDown", frDown}, {"frFindNext", frFindNext}, {"frHideMatchCase", frHideMatchCase},
    {"frHideWholeWord", frHideWholeWord}, {"frHideUpDown", frHideUpDown}, {"frMatchCase", frMatchCase},
    {"frDisableMatchCase", frDisableMatchCase}, {"frDisableUpDown", frDisableUpDown},
    {"frDisableWholeWord", frDisableWholeWord}, {"frReplace", frReplace}, {"frReplaceAll", frReplaceAll},
    {"frWholeWord", frWholeWord}, {"frShowHelp", frShowHelp}}};

const std::pair<int, DWORD> kFindFlags[] = {
    {frDown, FR_DOWN}, {frFindNext, FR_FINDNEXT}, {frHideMatchCase, FR_HIDEMATCHCASE},
    {frHideWholeWord, FR_HIDEWHOLEWORD}, {frHideUpDown, FR_HIDEUPDOWN}, {frMatchCase, FR_MATCHCASE},
    {frDisableMatchCase, FR_NOMATCHCASE}, {frDisableUpDown, FR_NOUPDOWN}, {frDisableWholeWord, FR_NOWHOLEWORD},
    {frReplace, FR_REPLACE}, {frReplaceAll, FR_REPLACEALL}, {frWholeWord, FR_WHOLEWORD}, {frShowHelp, FR_SHOWHELP}};

// Which button sent the notice: not kept as options for the next opening.
constexpr TFindOptions kActionOptions = (1u << frFindNext) | (1u << frReplace) | (1u << frReplaceAll);

UINT findMessage() {
    static const UINT msg = RegisterWindowMessageA(FINDMSGSTRINGA);
    return msg;
}

// A failing OnFind / OnReplace is reported by the window's procedure.
HWND makeRedirector(TFindDialog* dialog) {
    return CreateUtilityWindow("TFindDialogNotices", "find dialog's window", TUtilityWindowKind::HiddenTopLevel,
                               [dialog](TMessage& m) {
                                   if (m.Msg != findMessage() || m.Msg == 0) return false;
                                   if (const auto* fr = reinterpret_cast<const FINDREPLACEA*>(m.LParam))
                                       dialog->FindMessage(*fr);
                                   m.Result = 0;
                                   return true;
                               });
}

UINT_PTR CALLBACK findHook(HWND wnd, UINT msg, WPARAM, LPARAM lParam) {
    TCommonDialog* d = nullptr;
    if (msg == WM_INITDIALOG) d = reinterpret_cast<TCommonDialog*>(reinterpret_cast<FINDREPLACEA*>(lParam)->lCustData);
    // WM_INITDIALOG must answer TRUE: the find dialog shows itself only then.
    return HookMessage(d, wnd, wnd, msg);
}

void copyToBuffer(const std::string& text, std::vector<char>& buffer) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    std::copy_n(text.begin(), std::min(text.size(), buffer.size() - 1), buffer.begin());
}

}  // namespace

// ---- TFindDialog -------------------------------------------------------------------

const TClassInfo& TFindDialog::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFindDialog>("TFindDialog", &TCommonDialog::StaticClassInfo(), [](TClassBuilder<TFindDialog>& b) {
        b.Creatable();
        b.Str("FindText", [](TFindDialog& d) { return d.FindText(); }, [](TFindDialog& d, const std::string& v) { d.SetFindText(v); });
        b.Set("Options", FindOptionNames, [](TFindDialog& d) -> int64_t { return d.Options(); },
              [](TFindDialog& d, int64_t v) { d.SetOptions(static_cast<TFindOptions>(v)); });
        b.Int("Left", [](TFindDialog& d) -> int64_t { return d.Left(); }, [](TFindDialog& d, int64_t v) { d.SetLeft(static_cast<int>(v)); });
        b.Int("Top", [](TFindDialog& d) -> int64_t { return d.Top(); }, [](TFindDialog& d, int64_t v) { d.SetTop(static_cast<int>(v)); });
        b.Event("OnFind", &TFindDialog::OnFind);
    });
    return info;
}

TFindDialog::TFindDialog(TComponent* owner) : TCommonDialog(owner) {}

TFindDialog::~TFindDialog() {
    // The dialog must not outlive the structure and buffers it writes into.
    if (HWND dialog = Handle()) {
        release();
        DestroyWindow(dialog);
    }
    if (redirector_ && IsWindow(redirector_)) DestroyWindow(redirector_);
}

bool TFindDialog::Execute() {
    if (HWND open = Handle()) {
        ShowWindow(open, SW_SHOWNORMAL);
        SetForegroundWindow(open);
        BringWindowToTop(open);
        return true;
    }
    if (!redirector_ || !IsWindow(redirector_)) redirector_ = makeRedirector(this);

    copyToBuffer(findText_, findBuffer_);
    fr_ = FINDREPLACEA{};
    fr_.lStructSize = sizeof fr_;
    fr_.hwndOwner = redirector_;
    fr_.hInstance = GetModuleHandleA(nullptr);
    fr_.Flags = MapBits(options_ & ~kActionOptions, kFindFlags, std::size(kFindFlags)) | FR_ENABLEHOOK;
    fr_.lpstrFindWhat = findBuffer_.data();
    fr_.wFindWhatLen = static_cast<WORD>(findBuffer_.size());
    fr_.lpfnHook = findHook;
    fr_.lCustData = reinterpret_cast<LPARAM>(static_cast<TCommonDialog*>(this));
    prepareStruct(fr_);
    HWND dialog = runDialog(fr_);
    if (!dialog) {
        handle_ = nullptr;
        checkFailure("Find");
        throw ECommonDialogError("Find dialog failed: the dialog could not be shown", 0);
    }
    handle_ = dialog;
    if (Application) Application->AddModelessDialog(dialog);
    return true;
}

void TFindDialog::CloseDialog() {
    // Posted: the dialog may be asking us something right now (OnFind runs inside the
    // dialog's own button handling), and must not be destroyed under its feet.
    if (HWND dialog = Handle()) PostMessageA(dialog, WM_CLOSE, 0, 0);
}

void TFindDialog::DialogShown(HWND dialog) {
    // The notices go to the structure's owner, the hidden window; the dialog itself is
    // owned by the window that opens it (still the active one: the dialog is not shown
    // yet), so that it stays in front of that window while the user works there.
    if (HWND owner = ownerWindow(); owner && owner != dialog)
        SetWindowLongPtrA(dialog, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    moveTo(dialog);
    TCommonDialog::DialogShown(dialog);
}

void TFindDialog::moveTo(HWND dialog) const {
    if (left_ == -1 && top_ == -1) return;  // the system's placement
    RECT r;
    GetWindowRect(dialog, &r);
    SetWindowPos(dialog, nullptr, left_ != -1 ? left_ : r.left, top_ != -1 ? top_ : r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFindDialog::DialogClosing() {
    // Destroyed without the closing notice (its owner went away): forget it all the same.
    HWND dialog = handle_;
    TCommonDialog::DialogClosing();
    if (dialog && Application) Application->RemoveModelessDialog(dialog);
}

void TFindDialog::release() {
    if (handle_ && Application) Application->RemoveModelessDialog(handle_);
    handle_ = nullptr;
}

void TFindDialog::SetFindText(const std::string& v) {
    findText_ = v;
    if (HWND dialog = Handle()) SetDlgItemTextA(dialog, edt1, v.c_str());
}

int TFindDialog::Left() const {
    if (HWND dialog = Handle()) {
        RECT r;
        GetWindowRect(dialog, &r);
        return r.left;
    }
    return left_;
}

int TFindDialog::Top() const {
    if (HWND dialog = Handle()) {
        RECT r;
        GetWindowRect(dialog, &r);
        return r.top;
    }
    return top_;
}

void TFindDialog::SetPosition(int left, int top) {
    left_ = left;
    top_ = top;
    if (HWND dialog = Handle()) moveTo(dialog);
}

void TFindDialog::FindMessage(const FINDREPLACEA& fr) {
    if (fr.Flags & FR_DIALOGTERM) {
        // The dialog is closing: its other flags are gone, so the options stay as they were.
        HWND dialog = handle_;
        if (dialog) {
            RECT r;
            if (IsWindow(dialog) && GetWindowRect(dialog, &r)) { left_ = r.left; top_ = r.top; }
        }
        if (OnClose && handle_) OnClose(this);
        release();
        return;
    }
    findText_ = fr.lpstrFindWhat ? fr.lpstrFindWhat : "";
    readStruct(fr);
    options_ = UnmapBits(fr.Flags, kFindFlags, std::size(kFindFlags));
    if (fr.Flags & FR_FINDNEXT) Find();
    else if (fr.Flags & (FR_REPLACE | FR_REPLACEALL)) Replace();
}

// ---- TReplaceDialog ----------------------------------------------------------------

const TClassInfo& TReplaceDialog::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TReplaceDialog>("TReplaceDialog", &TFindDialog::StaticClassInfo(), [](TClassBuilder<TReplaceDialog>& b) {
        b.Creatable();
        b.Str("ReplaceText", [](TReplaceDialog& d) { return d.ReplaceText(); }, [](TReplaceDialog& d, const std::string& v) { d.SetReplaceText(v); });
        b.Event("OnReplace", &TReplaceDialog::OnReplace);
    });
    return info;
}

TReplaceDialog::TReplaceDialog(TComponent* owner) : TFindDialog(owner) {}

void TReplaceDialog::SetReplaceText(const std::string& v) {
    replaceText_ = v;
    if (HWND dialog = Handle()) SetDlgItemTextA(dialog, edt2, v.c_str());
}

void TReplaceDialog::prepareStruct(FINDREPLACEA& fr) {
    copyToBuffer(replaceText_, replaceBuffer_);
    fr.lpstrReplaceWith = replaceBuffer_.data();
    fr.wReplaceWithLen = static_cast<WORD>(replaceBuffer_.size());
}

void TReplaceDialog::readStruct(const FINDREPLACEA& fr) {
    replaceText_ = fr.lpstrReplaceWith ? fr.lpstrReplaceWith : "";
}
