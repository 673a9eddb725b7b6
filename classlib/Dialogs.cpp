// The dialogs' common part (owner window, hook bookkeeping, failure reports) and the
// font, colour and printer set-up dialogs.  File dialogs are in DialogsFile.cpp, find and
// replace in DialogsFind.cpp.
#include "Dialogs.h"

#include <cderr.h>
#include <winspool.h>

#include <cstdio>
#include <memory>

#include "Dialogs_impl.h"
#include "Forms.h"
#include "WndProcBoundary.h"

namespace dialogs_impl {

namespace {
const char* const kDialogProp = "TCommonDialog";
}

UINT_PTR HookMessage(TCommonDialog* dialog, HWND hookWnd, HWND dialogWnd, UINT msg) {
    // The hook's "not handled" (0) is the fallback: the dialog's own procedure goes on.
    return static_cast<UINT_PTR>(GuardedDispatch(
        hookWnd, msg,
        [&]() -> LRESULT {
            if (msg == WM_INITDIALOG && dialog) {
                SetPropA(hookWnd, kDialogProp, dialog);
                dialog->DialogShown(dialogWnd);
                return TRUE;
            }
            if (msg == WM_DESTROY) {
                auto* d = static_cast<TCommonDialog*>(GetPropA(hookWnd, kDialogProp));
                RemovePropA(hookWnd, kDialogProp);
                if (d) d->DialogClosing();
            }
            return 0;
        },
        [] { return LRESULT{0}; }));
}

uint32_t MapBits(uint32_t mask, const std::pair<int, DWORD>* table, size_t count) {
    uint32_t flags = 0;
    for (size_t i = 0; i < count; ++i)
        if (mask & (1u << table[i].first)) flags |= table[i].second;
    return flags;
}

uint32_t UnmapBits(DWORD flags, const std::pair<int, DWORD>* table, size_t count) {
    uint32_t mask = 0;
    for (size_t i = 0; i < count; ++i)
        if (flags & table[i].second) mask |= 1u << table[i].first;
    return mask;
}

}  // namespace dialogs_impl

using namespace dialogs_impl;

namespace {

std::string describeError(DWORD code) {
    switch (code) {
    case PDERR_NODEFAULTPRN: return "no default printer is installed";
    case PDERR_NODEVICES: return "no printer drivers were found";
    case PDERR_PRINTERNOTFOUND: return "the printer was not found";
    case PDERR_INITFAILURE: return "the printer could not be initialised";
    case PDERR_LOADDRVFAILURE: return "the printer driver could not be loaded";
    case FNERR_BUFFERTOOSMALL: return "the file name buffer is too small";
    case FNERR_INVALIDFILENAME: return "the file name is invalid";
    case CFERR_NOFONTS: return "no fonts exist";
    case CDERR_MEMALLOCFAILURE: case CDERR_MEMLOCKFAILURE: return "out of memory";
    default: return "the dialog could not be shown";
    }
}

// ---- published names ----

const TEnumNames FontDialogOptionNames{{
    {"fdAnsiOnly", fdAnsiOnly}, {"fdTrueTypeOnly", fdTrueTypeOnly}, {"fdEffects", fdEffects},
    {"fdFixedPitchOnly", fdFixedPitchOnly}, {"fdForceFontExist", fdForceFontExist}, {"fdNoFaceSel", fdNoFaceSel},
    {"fdNoOEMFonts", fdNoOEMFonts}, {"fdNoSimulations", fdNoSimulations}, {"fdNoSizeSel", fdNoSizeSel},
    {"fdNoStyleSel", fdNoStyleSel}, {"fdNoVectorFonts", fdNoVectorFonts}, {"fdShowHelp", fdShowHelp},
    {"fdWysiwyg", fdWysiwyg}, {"fdLimitSize", fdLimitSize}, {"fdScalableOnly", fdScalableOnly},
    {"fdApplyButton", fdApplyButton}}};
const TEnumNames FontDialogDeviceNames{{{"fdScreen", fdScreen}, {"fdPrinter", fdPrinter}, {"fdBoth", fdBoth}}};
const TEnumNames ColorDialogOptionNames{{{"cdFullOpen", cdFullOpen}, {"cdPreventFullOpen", cdPreventFullOpen},
                                         {"cdShowHelp", cdShowHelp}, {"cdSolidColor", cdSolidColor},
                                         {"cdAnyColor", cdAnyColor}}};

const std::pair<int, DWORD> kFontFlags[] = {
    {fdAnsiOnly, CF_ANSIONLY}, {fdTrueTypeOnly, CF_TTONLY}, {fdEffects, CF_EFFECTS},
    {fdFixedPitchOnly, CF_FIXEDPITCHONLY}, {fdForceFontExist, CF_FORCEFONTEXIST}, {fdNoFaceSel, CF_NOFACESEL},
    {fdNoOEMFonts, CF_NOOEMFONTS}, {fdNoSimulations, CF_NOSIMULATIONS}, {fdNoSizeSel, CF_NOSIZESEL},
    {fdNoStyleSel, CF_NOSTYLESEL}, {fdNoVectorFonts, CF_NOVECTORFONTS}, {fdShowHelp, CF_SHOWHELP},
    {fdWysiwyg, CF_WYSIWYG}, {fdLimitSize, CF_LIMITSIZE}, {fdScalableOnly, CF_SCALABLEONLY},
    {fdApplyButton, CF_APPLY}};
const std::pair<int, DWORD> kColorFlags[] = {{cdFullOpen, CC_FULLOPEN}, {cdPreventFullOpen, CC_PREVENTFULLOPEN},
                                             {cdShowHelp, CC_SHOWHELP}, {cdSolidColor, CC_SOLIDCOLOR},
                                             {cdAnyColor, CC_ANYCOLOR}};

UINT_PTR CALLBACK fontHook(HWND wnd, UINT msg, WPARAM, LPARAM lParam) {
    TCommonDialog* d = nullptr;
    if (msg == WM_INITDIALOG) d = reinterpret_cast<TCommonDialog*>(reinterpret_cast<CHOOSEFONTA*>(lParam)->lCustData);
    return HookMessage(d, wnd, wnd, msg);
}

UINT_PTR CALLBACK colorHook(HWND wnd, UINT msg, WPARAM, LPARAM lParam) {
    TCommonDialog* d = nullptr;
    if (msg == WM_INITDIALOG) d = reinterpret_cast<TCommonDialog*>(reinterpret_cast<CHOOSECOLORA*>(lParam)->lCustData);
    return HookMessage(d, wnd, wnd, msg);
}

UINT_PTR CALLBACK setupHook(HWND wnd, UINT msg, WPARAM, LPARAM lParam) {
    TCommonDialog* d = nullptr;
    if (msg == WM_INITDIALOG) d = reinterpret_cast<TCommonDialog*>(reinterpret_cast<PRINTDLGA*>(lParam)->lCustData);
    return HookMessage(d, wnd, wnd, msg);
}

// Global memory handed to or taken from the printer dialog; freed at the end of scope.
struct GlobalMemory {
    HGLOBAL h = nullptr;
    ~GlobalMemory() { if (h) GlobalFree(h); }
};

std::unique_ptr<TPrinterSelection>& printerSelection() {
    static std::unique_ptr<TPrinterSelection> selection;
    return selection;
}

}  // namespace

// ---- TCommonDialog -----------------------------------------------------------------

const TClassInfo& TCommonDialog::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCommonDialog>("TCommonDialog", &TComponent::StaticClassInfo(), [](TClassBuilder<TCommonDialog>& b) {
        b.Event("OnShow", &TCommonDialog::OnShow);
        b.Event("OnClose", &TCommonDialog::OnClose);
    });
    return info;
}

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

HWND TCommonDialog::Handle() const { return handle_ && IsWindow(handle_) ? handle_ : nullptr; }

void TCommonDialog::DialogShown(HWND dialog) {
    handle_ = dialog;
    if (OnShow) OnShow(this);
}

void TCommonDialog::DialogClosing() {
    if (!handle_) return;
    if (OnClose) OnClose(this);
    handle_ = nullptr;
}

HWND TCommonDialog::ownerWindow() {
    if (HWND active = GetActiveWindow()) return active;
    if (Application) {
        if (TCustomForm* main = Application->MainForm(); main && main->HandleAllocated()) return main->Handle();
        return Application->Handle();
    }
    return nullptr;
}

void TCommonDialog::checkFailure(const std::string& dialogName) {
    const DWORD code = CommDlgExtendedError();
    if (code == 0) return;  // cancelled
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04lX", static_cast<unsigned long>(code));
    throw ECommonDialogError(dialogName + " dialog failed: " + describeError(code) + " (error " + hex + ")", code);
}

// ---- TFontDialog -------------------------------------------------------------------

const TClassInfo& TFontDialog::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFontDialog>("TFontDialog", &TCommonDialog::StaticClassInfo(), [](TClassBuilder<TFontDialog>& b) {
        b.Creatable();
        b.Object("Font", [](TFontDialog& d) -> TObject* { return &d.Font(); });
        b.Set("Options", FontDialogOptionNames, [](TFontDialog& d) -> int64_t { return d.Options(); },
              [](TFontDialog& d, int64_t v) { d.SetOptions(static_cast<TFontDialogOptions>(v)); });
        b.Enum("Device", FontDialogDeviceNames, [](TFontDialog& d) -> int64_t { return d.Device(); },
               [](TFontDialog& d, int64_t v) { d.SetDevice(static_cast<TFontDialogDevice>(v)); });
        b.Int("MinFontSize", [](TFontDialog& d) -> int64_t { return d.MinFontSize(); }, [](TFontDialog& d, int64_t v) { d.SetMinFontSize(static_cast<int>(v)); });
        b.Int("MaxFontSize", [](TFontDialog& d) -> int64_t { return d.MaxFontSize(); }, [](TFontDialog& d, int64_t v) { d.SetMaxFontSize(static_cast<int>(v)); });
    });
    return info;
}

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner) {}

bool TFontDialog::Execute() {
    LOGFONTA lf{};
    lf.lfHeight = font_.Height();
    lf.lfWeight = (font_.Style() & (1u << fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font_.Style() & (1u << fsItalic)) ? TRUE : FALSE;
    lf.lfUnderline = (font_.Style() & (1u << fsUnderline)) ? TRUE : FALSE;
    lf.lfStrikeOut = (font_.Style() & (1u << fsStrikeOut)) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(font_.Charset());
    lstrcpynA(lf.lfFaceName, font_.Name().c_str(), LF_FACESIZE);

    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = ownerWindow();
    cf.lpLogFont = &lf;
    cf.Flags = MapBits(options_, kFontFlags, std::size(kFontFlags)) | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
    cf.Flags |= device_ == fdBoth ? CF_BOTH : CF_SCREENFONTS;  // printer fonts need a printer DC
    if (minFontSize_ > 0 || maxFontSize_ > 0) {
        cf.Flags |= CF_LIMITSIZE;
        cf.nSizeMin = minFontSize_;
        cf.nSizeMax = maxFontSize_ > 0 ? maxFontSize_ : 72;
    }
    const COLORREF startColour = ColorToRGB(font_.Color());
    cf.rgbColors = startColour;
    cf.lpfnHook = fontHook;
    cf.lCustData = reinterpret_cast<LPARAM>(static_cast<TCommonDialog*>(this));
    if (!ChooseFontA(&cf)) {
        handle_ = nullptr;
        checkFailure("Font");
        return false;
    }
    handle_ = nullptr;
    font_.SetName(lf.lfFaceName);
    font_.SetHeight(lf.lfHeight);
    font_.SetCharset(lf.lfCharSet);
    TFontStyles style = 0;
    if (lf.lfWeight >= FW_BOLD) style |= 1u << fsBold;
    if (lf.lfItalic) style |= 1u << fsItalic;
    if (lf.lfUnderline) style |= 1u << fsUnderline;
    if (lf.lfStrikeOut) style |= 1u << fsStrikeOut;
    font_.SetStyle(style);
    // A colour left as it was keeps its form (a system colour stays one).
    if ((cf.Flags & CF_EFFECTS) && cf.rgbColors != startColour) font_.SetColor(static_cast<TColor>(cf.rgbColors));
    return true;
}

// ---- TColorDialog ------------------------------------------------------------------

const TClassInfo& TColorDialog::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TColorDialog>("TColorDialog", &TCommonDialog::StaticClassInfo(), [](TClassBuilder<TColorDialog>& b) {
        b.Creatable();
        b.Int("Color", [](TColorDialog& d) -> int64_t { return d.Color(); }, [](TColorDialog& d, int64_t v) { d.SetColor(static_cast<TColor>(v)); }, &ColorIdents);
        b.Object("CustomColors", [](TColorDialog& d) -> TObject* { return &d.CustomColors(); });
        b.Set("Options", ColorDialogOptionNames, [](TColorDialog& d) -> int64_t { return d.Options(); },
              [](TColorDialog& d, int64_t v) { d.SetOptions(static_cast<TColorDialogOptions>(v)); });
    });
    return info;
}

TColorDialog::TColorDialog(TComponent* owner) : TCommonDialog(owner) {}

namespace {

std::string customColorName(int i) { return std::string("Color") + static_cast<char>('A' + i); }

// The value of "Name=value" in lines, name compared without case; false when missing.
bool findValue(const TStrings& lines, const std::string& name, std::string& value) {
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Get(i);
        const size_t eq = line.find('=');
        if (eq != std::string::npos && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line.c_str(), static_cast<int>(eq),
                                                      name.c_str(), static_cast<int>(name.size())) == CSTR_EQUAL) {
            value = line.substr(eq + 1);
            return true;
        }
    }
    return false;
}

}  // namespace

bool TColorDialog::Execute() {
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) {
        custom[i] = RGB(255, 255, 255);
        std::string v;
        if (findValue(customColors_, customColorName(i), v)) {
            char* end = nullptr;
            unsigned long c = std::strtoul(v.c_str(), &end, 16);
            if (end != v.c_str() && c <= 0xFFFFFF) custom[i] = static_cast<COLORREF>(c);
        }
    }
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = ownerWindow();
    cc.rgbResult = ColorToRGB(color_);
    cc.lpCustColors = custom;
    cc.Flags = MapBits(options_, kColorFlags, std::size(kColorFlags)) | CC_RGBINIT | CC_ENABLEHOOK;
    cc.lpfnHook = colorHook;
    cc.lCustData = reinterpret_cast<LPARAM>(static_cast<TCommonDialog*>(this));
    const BOOL ok = ChooseColorA(&cc);
    handle_ = nullptr;
    if (!ok) {
        checkFailure("Colour");
        return false;
    }
    color_ = static_cast<TColor>(cc.rgbResult);
    customColors_.BeginUpdate();
    customColors_.Clear();
    for (int i = 0; i < 16; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%s=%06lX", customColorName(i).c_str(), static_cast<unsigned long>(custom[i] & 0xFFFFFF));
        customColors_.Add(line);
    }
    customColors_.EndUpdate();
    return true;
}

// ---- TPrinterSetupDialog -----------------------------------------------------------

const TClassInfo& TPrinterSetupDialog::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TPrinterSetupDialog>(
        "TPrinterSetupDialog", &TCommonDialog::StaticClassInfo(), [](TClassBuilder<TPrinterSetupDialog>& b) { b.Creatable(); });
    return info;
}

const TPrinterSelection* TPrinterSetupDialog::Selection() { return printerSelection().get(); }

bool TPrinterSetupDialog::Execute() {
    // Without a default printer (and no printer chosen before) the dialog has nothing to
    // start from.  Some systems still open a box of their own and then report a plain
    // cancel; report the missing printer to the caller instead, as the system would
    // without its warning box.
    if (!Selection()) {
        DWORD size = 0;
        GetDefaultPrinterA(nullptr, &size);
        if (size == 0)
            throw ECommonDialogError("Printer set-up dialog failed: " + describeError(PDERR_NODEFAULTPRN) + " (error 0x1008)",
                                     PDERR_NODEFAULTPRN);
    }
    GlobalMemory devMode, devNames;
    // Start from the printer chosen before, if any.
    if (const TPrinterSelection* sel = Selection()) {
        if (!sel->DevMode.empty() && (devMode.h = GlobalAlloc(GMEM_MOVEABLE, sel->DevMode.size()))) {
            memcpy(GlobalLock(devMode.h), sel->DevMode.data(), sel->DevMode.size());
            GlobalUnlock(devMode.h);
        }
        const size_t size = sizeof(DEVNAMES) + sel->Driver.size() + sel->Device.size() + sel->Port.size() + 3;
        if ((devNames.h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size))) {
            auto* dn = static_cast<DEVNAMES*>(GlobalLock(devNames.h));
            char* base = reinterpret_cast<char*>(dn);
            WORD offset = sizeof(DEVNAMES);
            auto put = [&](const std::string& s, WORD& field) {
                field = offset;
                memcpy(base + offset, s.c_str(), s.size() + 1);
                offset = static_cast<WORD>(offset + s.size() + 1);
            };
            put(sel->Driver, dn->wDriverOffset);
            put(sel->Device, dn->wDeviceOffset);
            put(sel->Port, dn->wOutputOffset);
            GlobalUnlock(devNames.h);
        }
    }
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = ownerWindow();
    pd.hDevMode = devMode.h;
    pd.hDevNames = devNames.h;
    // No system warning box: a missing printer is reported to the caller, who tells the user.
    pd.Flags = PD_PRINTSETUP | PD_NOWARNING | PD_ENABLESETUPHOOK;
    pd.lpfnSetupHook = setupHook;
    pd.lCustData = reinterpret_cast<LPARAM>(static_cast<TCommonDialog*>(this));
    const BOOL ok = PrintDlgA(&pd);
    handle_ = nullptr;
    devMode.h = pd.hDevMode;    // the dialog may have replaced them; free what it returned
    devNames.h = pd.hDevNames;
    if (!ok) {
        checkFailure("Printer set-up");
        return false;
    }
    auto sel = std::make_unique<TPrinterSelection>();
    if (devNames.h) {
        const auto* dn = static_cast<const DEVNAMES*>(GlobalLock(devNames.h));
        const char* base = reinterpret_cast<const char*>(dn);
        sel->Driver = base + dn->wDriverOffset;
        sel->Device = base + dn->wDeviceOffset;
        sel->Port = base + dn->wOutputOffset;
        GlobalUnlock(devNames.h);
    }
    if (devMode.h) {
        const auto* dm = static_cast<const BYTE*>(GlobalLock(devMode.h));
        const SIZE_T size = GlobalSize(devMode.h);
        sel->DevMode.assign(dm, dm + size);
        GlobalUnlock(devMode.h);
    }
    printerSelection() = std::move(sel);
    return true;
}
