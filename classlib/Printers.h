// The printer: which printer prints (the system's default unless one was chosen by name,
// as the printer set-up dialog does), its device context, one print job at a time
// (BeginDoc, NewPage, EndDoc, Abort) and a canvas on the current page.
//
// A job never opens a dialog of its own: a printer whose port is a file ("FILE:") prints
// only to OutputFileName, and a job on such a printer without one fails with EPrinter
// instead of asking the user for a file name.
//
// Types: EPrinter, TPrinter; Printer() and SetPrinterInstance() for the program's printer.
// (Not SetPrinter: the platform's headers define that name as a macro.)
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Graphics.h"
#include "Handles.h"

class EPrinter : public Exception {
public:
    using Exception::Exception;
};

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Names of the installed printers.
    std::vector<std::string> Printers() const;
    // The printer jobs go to: the chosen one, else the system's default ("" when there
    // is neither).
    std::string PrinterName() const;
    // Chooses a printer by name, with its settings (a DEVMODE, as a set-up dialog gives;
    // nullptr: the printer's own).  An empty name goes back to the default printer.
    void SelectPrinter(const std::string& name, const DEVMODEA* devMode = nullptr);

    // Name of the print job.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t) { title_ = t; }
    // Where the job is written instead of the printer's port ("" for the port).
    const std::string& OutputFileName() const { return outputFileName_; }
    void SetOutputFileName(const std::string& f) { outputFileName_ = f; }

    // Starts a job and its first page.  Raises EPrinter when there is no printer, the
    // printer cannot be opened, or the job cannot start.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Ends the job unfinished; nothing more is printed.
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return pageNumber_; }

    // The printer's device context (made on first use; during a job, the job's).
    HDC Handle();
    // Printable area of a page in device pixels.
    int PageWidth();
    int PageHeight();
    TCanvas& Canvas();

private:
    HDC makeDc();
    void releaseDc();
    bool portIsFile(const std::string& printer) const;

    std::string chosen_;
    std::vector<BYTE> devMode_;
    std::string title_;
    std::string outputFileName_;
    UniqueMemDC dc_;  // a printer DC is freed with DeleteDC like a memory DC
    std::unique_ptr<TCanvas> canvas_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The program's printer (made on first use).
TPrinter* Printer();
// Puts another printer object in its place (nullptr: a new one next time) and returns
// the previous one, which the caller then owns.
TPrinter* SetPrinterInstance(TPrinter* printer);
