// The open and save dialogs: filters written with '|', the file name buffer, options as
// system flags, and the chosen names read back (several with ofAllowMultiSelect).
#include <algorithm>
#include <cderr.h>

#include "Dialogs.h"
#include "Dialogs_impl.h"

using namespace dialogs_impl;

namespace {

const TEnumNames OpenOptionNames{{
    {"ofReadOnly", ofReadOnly}, {"ofOverwritePrompt", ofOverwritePrompt}, {"ofHideReadOnly", ofHideReadOnly},
    {"ofNoChangeDir", ofNoChangeDir}, {"ofShowHelp", ofShowHelp}, {"ofNoValidate", ofNoValidate},
    {"ofAllowMultiSelect", ofAllowMultiSelect}, {"ofExtensionDifferent", ofExtensionDifferent},
    {"ofPathMustExist", ofPathMustExist}, {"ofFileMustExist", ofFileMustExist}, {"ofCreatePrompt", ofCreatePrompt},
    {"ofShareAware", ofShareAware}, {"ofNoReadOnlyReturn", ofNoReadOnlyReturn},
    {"ofNoTestFileCreate", ofNoTestFileCreate}, {"ofNoNetworkButton", ofNoNetworkButton},
    {"ofNoLongNames", ofNoLongNames}, {"ofOldStyleDialog", ofOldStyleDialog},
    {"ofNoDereferenceLinks", ofNoDereferenceLinks}, {"ofEnableIncludeNotify", ofEnableIncludeNotify},
    {"ofEnableSizing", ofEnableSizing}}};

const std::pair<int, DWORD> kOpenFlags[] = {
    {ofReadOnly, OFN_READONLY}, {ofOverwritePrompt, OFN_OVERWRITEPROMPT}, {ofHideReadOnly, OFN_HIDEREADONLY},
    {ofNoChangeDir, OFN_NOCHANGEDIR}, {ofShowHelp, OFN_SHOWHELP}, {ofNoValidate, OFN_NOVALIDATE},
    {ofAllowMultiSelect, OFN_ALLOWMULTISELECT}, {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
    {ofPathMustExist, OFN_PATHMUSTEXIST}, {ofFileMustExist, OFN_FILEMUSTEXIST}, {ofCreatePrompt, OFN_CREATEPROMPT},
    {ofShareAware, OFN_SHAREAWARE}, {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
    {ofNoTestFileCreate, OFN_NOTESTFILECREATE}, {ofNoNetworkButton, OFN_NONETWORKBUTTON},
    {ofNoLongNames, OFN_NOLONGNAMES}, {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
    {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY}, {ofEnableSizing, OFN_ENABLESIZING}};

constexpr size_t kSingleBuffer = 4096;
constexpr size_t kMultiBuffer = 65536;

// The explorer-style dialog calls the hook for its (empty) child dialog.
UINT_PTR CALLBACK fileHook(HWND wnd, UINT msg, WPARAM, LPARAM lParam) {
    TCommonDialog* d = nullptr;
    if (msg == WM_INITDIALOG) d = reinterpret_cast<TCommonDialog*>(reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
    HWND dialog = GetParent(wnd);
    return HookMessage(d, wnd, dialog ? dialog : wnd, msg);
}

}  // namespace

const TClassInfo& TOpenDialog::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TOpenDialog>("TOpenDialog", &TCommonDialog::StaticClassInfo(), [](TClassBuilder<TOpenDialog>& b) {
        b.Creatable();
        b.Str("Filter", [](TOpenDialog& d) { return d.Filter(); }, [](TOpenDialog& d, const std::string& v) { d.SetFilter(v); });
        b.Int("FilterIndex", [](TOpenDialog& d) -> int64_t { return d.FilterIndex(); }, [](TOpenDialog& d, int64_t v) { d.SetFilterIndex(static_cast<int>(v)); });
        b.Str("FileName", [](TOpenDialog& d) { return d.FileName(); }, [](TOpenDialog& d, const std::string& v) { d.SetFileName(v); });
        b.Str("DefaultExt", [](TOpenDialog& d) { return d.DefaultExt(); }, [](TOpenDialog& d, const std::string& v) { d.SetDefaultExt(v); });
        b.Str("InitialDir", [](TOpenDialog& d) { return d.InitialDir(); }, [](TOpenDialog& d, const std::string& v) { d.SetInitialDir(v); });
        b.Str("Title", [](TOpenDialog& d) { return d.Title(); }, [](TOpenDialog& d, const std::string& v) { d.SetTitle(v); });
        b.Set("Options", OpenOptionNames, [](TOpenDialog& d) -> int64_t { return d.Options(); },
              [](TOpenDialog& d, int64_t v) { d.SetOptions(static_cast<TOpenOptions>(v)); });
    });
    return info;
}

const TClassInfo& TSaveDialog::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSaveDialog>("TSaveDialog", &TOpenDialog::StaticClassInfo(), [](TClassBuilder<TSaveDialog>& b) { b.Creatable(); });
    return info;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

OPENFILENAMEA TOpenDialog::BuildStruct(std::vector<char>& buffer, std::string& filter) const {
    const bool multi = (options_ & (1u << ofAllowMultiSelect)) != 0;
    buffer.assign(multi ? kMultiBuffer : kSingleBuffer, '\0');
    std::copy_n(fileName_.begin(), std::min(fileName_.size(), buffer.size() - 1), buffer.begin());
    // "a|b|c|d" -> "a\0b\0c\0d\0\0"
    filter = filter_;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    if (!filter.empty()) filter.append(2, '\0');

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ownerWindow();
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(filterIndex_, 0));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    // The system wants the extension without its dot.
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str() + (defaultExt_[0] == '.' ? 1 : 0);
    ofn.Flags = MapBits(options_, kOpenFlags, std::size(kOpenFlags)) | OFN_ENABLEHOOK;
    if (!(options_ & (1u << ofOldStyleDialog))) ofn.Flags |= OFN_EXPLORER;
    ofn.lpfnHook = fileHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(static_cast<const TCommonDialog*>(this));
    return ofn;
}

bool TOpenDialog::Execute() {
    std::vector<char> buffer;
    std::string filter;
    OPENFILENAMEA ofn = BuildStruct(buffer, filter);
    BOOL ok = runDialog(ofn);
    handle_ = nullptr;
    if (!ok && CommDlgExtendedError() == FNERR_INVALIDFILENAME && buffer[0] != '\0') {
        // A proposed name the system refuses would keep the dialog from opening at all:
        // open it without a proposal instead.
        std::fill(buffer.begin(), buffer.end(), '\0');
        ok = runDialog(ofn);
        handle_ = nullptr;
    }
    if (!ok) {
        checkFailure(dialogName());
        return false;
    }
    readResult(ofn, buffer);
    return true;
}

void TOpenDialog::readResult(const OPENFILENAMEA& ofn, const std::vector<char>& buffer) {
    files_.clear();
    // Several files: "folder\0name1\0name2\0\0"; one file: the whole path.
    std::vector<std::string> parts;
    for (size_t i = 0; i < buffer.size() && buffer[i] != '\0';) {
        std::string part(buffer.data() + i);
        i += part.size() + 1;
        parts.push_back(std::move(part));
    }
    if (parts.size() > 1 && (ofn.Flags & OFN_ALLOWMULTISELECT)) {
        std::string folder = parts[0];
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
        for (size_t i = 1; i < parts.size(); ++i) files_.push_back(folder + parts[i]);
    } else if (!parts.empty()) {
        files_.push_back(parts[0]);
    }
    fileName_ = files_.empty() ? std::string() : files_.front();
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    options_ &= ~((1u << ofReadOnly) | (1u << ofExtensionDifferent));
    if (ofn.Flags & OFN_READONLY) options_ |= 1u << ofReadOnly;
    if (ofn.Flags & OFN_EXTENSIONDIFFERENT) options_ |= 1u << ofExtensionDifferent;
}
