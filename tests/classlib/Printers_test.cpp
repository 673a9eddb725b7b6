// Printing: no printer is an error with a clear message, a file printer is never asked
// for a file name, and a rich edit document of two pages prints as two PostScript pages.
//
// The test prefix has no printer.  The tests install a PostScript printer on the port
// "FILE:" (the platform's PostScript driver with a small generic PPD of our own) under a
// name of their own, choose it by name, and never make it the default printer.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include "ControlsTestSupport.h"
#include "Printers.h"
#include "RichEdit.h"

namespace {

const wchar_t kPrinterName[] = L"Controls Test File Printer";
const wchar_t kDriverName[] = L"Controls Test PostScript";

const char kPpd[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"CTLTEST.PPD\"\n"
    "*Manufacturer: \"Generic\"\n"
    "*Product: \"(File Printer)\"\n"
    "*ModelName: \"File Printer\"\n"
    "*ShortNickName: \"File Printer\"\n"
    "*NickName: \"File Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: True\n"
    "*DefaultColorSpace: RGB\n"
    "*FileSystem: False\n"
    "*Throughput: \"1\"\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 300dpi\n"
    "*OpenUI *PageSize/Page Size: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageSize\n"
    "*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n"
    "*OpenUI *PageRegion: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageRegion\n"
    "*DefaultPageRegion: A4\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageRegion\n"
    "*DefaultImageableArea: A4\n"
    "*ImageableArea A4/A4: \"18 36 577 806\"\n"
    "*DefaultPaperDimension: A4\n"
    "*PaperDimension A4/A4: \"595 842\"\n"
    "*DefaultFont: Courier\n"
    "*Font Courier: Standard \"(002.004S)\" Standard ROM\n";

// Installs the file printer once per prefix; false (with a reason) where it cannot be made.
bool ensureFilePrinter(std::string& why) {
    HANDLE existing = nullptr;
    if (OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &existing, nullptr)) {
        ClosePrinter(existing);
        return true;
    }
    wchar_t dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed)) {
        why = "no printer driver folder";
        return false;
    }
    const std::wstring ppd = std::wstring(dir) + L"\\ctltest.ppd";
    if (!guitest::WriteFileBytes(ppd, std::string(kPpd, sizeof kPpd - 1))) {
        why = "cannot write the PPD";
        return false;
    }
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriverName);
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(ppd.c_str());
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        why = "the PostScript driver cannot be installed (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kPrinterName);
    info.pPortName = const_cast<wchar_t*>(L"FILE:");
    info.pDriverName = const_cast<wchar_t*>(kDriverName);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
        why = "the file printer cannot be added (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    if (printer) ClosePrinter(printer);
    return true;
}

// Puts the program's printer back as it was after each test.
class PrinterTest : public ::testing::Test {
protected:
    void TearDown() override {
        Printer()->SelectPrinter("");
        Printer()->SetOutputFileName("");
    }
};

int countOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST_F(PrinterTest, NoDefaultPrinterRaisesAClearError) {
    if (!Printer()->PrinterName().empty()) GTEST_SKIP() << "this system has a default printer";
    try {
        Printer()->BeginDoc();
        FAIL() << "BeginDoc went on without a printer";
    } catch (const EPrinter& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("no default printer")) << e.what();
    }
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(PrinterTest, FilePortWithoutOutputFileRaisesInsteadOfAsking) {
    std::string why;
    if (!ensureFilePrinter(why)) GTEST_SKIP() << why;
    Printer()->SelectPrinter(guitest::ToAnsi(kPrinterName));
    EXPECT_THROW(Printer()->BeginDoc(), EPrinter);
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(PrinterTest, TwoPageDocumentPrintsTwoPostScriptPages) {
    std::string why;
    if (!ensureFilePrinter(why)) GTEST_SKIP() << why;
    ctltest::TempFolder dir;
    const std::string out = dir.File("doc.ps");
    Printer()->SelectPrinter(guitest::ToAnsi(kPrinterName));
    Printer()->SetOutputFileName(out);
    EXPECT_EQ(guitest::ToAnsi(kPrinterName), Printer()->PrinterName());

    auto f = ctltest::FormFromText(u8R"(object F: TForm
  Width = 400
  Height = 300
  object RichEdit1: TRichEdit
    Width = 380
    Height = 250
    Font.Height = -13
    Font.Name = 'Arial'
  end
end
)");
    auto* edit = dynamic_cast<TRichEdit*>(f->FindComponent("RichEdit1"));
    ASSERT_NE(nullptr, edit);
    edit->HandleNeeded();
    // A 13-pixel font is about 41 pixels high at the printer's 300 dots per inch, so a
    // page of 3208 pixels holds 79 lines at the most, and still 49 with generous line
    // spacing: 90 lines make two pages.
    std::string text;
    for (int i = 1; i <= 90; ++i) text += "Line " + std::to_string(i) + " of the document\r\n";
    edit->SetText(text);
    edit->Print("report");
    EXPECT_FALSE(Printer()->Printing());

    const std::string ps = ctltest::ReadBytes(out);
    ASSERT_FALSE(ps.empty()) << "nothing was written to " << out;
    EXPECT_EQ(0u, ps.find("%!PS")) << ps.substr(0, 20);
    EXPECT_NE(std::string::npos, ps.find("%%Title: report"));
    EXPECT_EQ(2, countOf(ps, "%%Page: "));
}

TEST_F(PrinterTest, EmptyDocumentPrintsOnePage) {
    std::string why;
    if (!ensureFilePrinter(why)) GTEST_SKIP() << why;
    ctltest::TempFolder dir;
    const std::string out = dir.File("empty.ps");
    Printer()->SelectPrinter(guitest::ToAnsi(kPrinterName));
    Printer()->SetOutputFileName(out);
    auto f = ctltest::FormFromText(u8R"(object F: TForm
end
)");
    auto* edit = new TRichEdit(f.get());
    edit->SetParent(f.get());
    edit->Print("");
    EXPECT_EQ(1, countOf(ctltest::ReadBytes(out), "%%Page: "));
}
