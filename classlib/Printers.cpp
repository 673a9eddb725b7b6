#include "Printers.h"

#include <winspool.h>

#include <cstring>

#include "Texts.h"

namespace {

std::string systemErrorText(DWORD code) {
    std::string text = texts::SystemErrorText(code);
    return text.empty() ? "error " + std::to_string(code) : text;
}

std::unique_ptr<TPrinter>& programPrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

}  // namespace

TPrinter* Printer() {
    auto& p = programPrinter();
    if (!p) p = std::make_unique<TPrinter>();
    return p.get();
}

TPrinter* SetPrinterInstance(TPrinter* printer) {
    auto& p = programPrinter();
    TPrinter* old = p.release();
    p.reset(printer);
    return old;
}

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
    if (printing_) Abort();
}

std::vector<std::string> TPrinter::Printers() const {
    std::vector<std::string> names;
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return names;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return names;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (info[i].pPrinterName) names.emplace_back(info[i].pPrinterName);
    return names;
}

std::string TPrinter::PrinterName() const {
    if (!chosen_.empty()) return chosen_;
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0) return {};
    std::string name(size, '\0');
    if (!GetDefaultPrinterA(name.data(), &size)) return {};
    name.resize(strlen(name.c_str()));
    return name;
}

void TPrinter::SelectPrinter(const std::string& name, const DEVMODEA* devMode) {
    if (printing_) throw EPrinter("Printing in progress");
    chosen_ = name;
    devMode_.clear();
    if (devMode) {
        const auto* bytes = reinterpret_cast<const BYTE*>(devMode);
        devMode_.assign(bytes, bytes + devMode->dmSize + devMode->dmDriverExtra);
    }
    releaseDc();
}

HDC TPrinter::makeDc() {
    const std::string name = PrinterName();
    if (name.empty()) throw EPrinter("There is no default printer currently selected");
    const auto* dm = devMode_.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(devMode_.data());
    HDC dc = CreateDCA("WINSPOOL", name.c_str(), nullptr, dm);
    if (!dc) throw EPrinter("The printer \"" + name + "\" cannot be opened: " + systemErrorText(GetLastError()));
    return dc;
}

void TPrinter::releaseDc() {
    if (canvas_) canvas_->SetHandle(nullptr);
    dc_.reset();
}

HDC TPrinter::Handle() {
    if (!dc_) dc_.reset(makeDc());
    return dc_.get();
}

int TPrinter::PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }
int TPrinter::PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }

TCanvas& TPrinter::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    if (printing_) canvas_->SetHandle(dc_.get());
    return *canvas_;
}

bool TPrinter::portIsFile(const std::string& printer) const {
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, nullptr) || !h) return false;
    bool isFile = false;
    DWORD needed = 0;
    GetPrinterA(h, 2, nullptr, 0, &needed);
    if (needed) {
        std::vector<BYTE> buffer(needed);
        if (GetPrinterA(h, 2, buffer.data(), needed, &needed)) {
            const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
            isFile = info->pPortName && texts::UpperCase(info->pPortName).find("FILE:") != std::string::npos;
        }
    }
    ClosePrinter(h);
    return isFile;
}

void TPrinter::BeginDoc() {
    if (printing_) throw EPrinter("Printing in progress");
    HDC dc = Handle();
    if (outputFileName_.empty() && portIsFile(PrinterName()))
        throw EPrinter("The printer \"" + PrinterName() + "\" prints to a file and no output file was named");
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title_.c_str();
    doc.lpszOutput = outputFileName_.empty() ? nullptr : outputFileName_.c_str();
    if (StartDocA(dc, &doc) <= 0) throw EPrinter("The print job cannot start: " + systemErrorText(GetLastError()));
    if (StartPage(dc) <= 0) {
        const DWORD err = GetLastError();
        AbortDoc(dc);
        throw EPrinter("The print job cannot start a page: " + systemErrorText(err));
    }
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
    if (canvas_) canvas_->SetHandle(dc);
}

void TPrinter::NewPage() {
    if (!printing_) throw EPrinter("Printing not in progress");
    HDC dc = dc_.get();
    if (canvas_) canvas_->SetHandle(nullptr);
    if (EndPage(dc) <= 0 || StartPage(dc) <= 0) {
        const DWORD err = GetLastError();
        Abort();
        throw EPrinter("The printer cannot start a new page: " + systemErrorText(err));
    }
    ++pageNumber_;
    if (canvas_) canvas_->SetHandle(dc);
}

void TPrinter::EndDoc() {
    if (!printing_) throw EPrinter("Printing not in progress");
    HDC dc = dc_.get();
    if (canvas_) canvas_->SetHandle(nullptr);
    const bool pageOk = EndPage(dc) > 0;
    const bool docOk = pageOk ? ::EndDoc(dc) > 0 : (AbortDoc(dc), false);
    const DWORD err = GetLastError();
    printing_ = false;
    releaseDc();  // the next job starts from the printer's current settings
    if (!docOk) throw EPrinter("The print job cannot be finished: " + systemErrorText(err));
}

void TPrinter::Abort() {
    if (!printing_) return;
    if (canvas_) canvas_->SetHandle(nullptr);
    AbortDoc(dc_.get());
    printing_ = false;
    aborted_ = true;
    releaseDc();
}
