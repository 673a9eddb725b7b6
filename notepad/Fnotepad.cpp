// Start-up, layout glue, the dictation points and the clock of the notepad's main form.
#include "Fnotepad.h"

#include <shellapi.h>

#include <cstdio>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "Texts.h"
#include "Timer.h"

std::string CurrentFileName;

std::time_t (*TFnotepad::Now)() = [] { return std::time(nullptr); };

namespace {

std::tm localTime(std::time_t t) {
    std::tm tm{};
    localtime_s(&tm, &t);
    return tm;
}

// The command-line parameters as the class library splits them: blanks separate
// parameters, double quotes group and are removed.
std::vector<std::string> programParameters() {
    std::vector<std::string> params;
    const char* p = GetCommandLineA();
    bool first = true;
    while (*p) {
        while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
        if (!*p) break;
        std::string param;
        bool quoted = false;
        while (*p && (quoted || static_cast<unsigned char>(*p) > ' ')) {
            if (*p == '"') quoted = !quoted;
            else param += *p;
            ++p;
        }
        if (!first) params.push_back(param);
        first = false;
    }
    return params;
}

}  // namespace

std::vector<std::string> (*TFnotepad::CommandLineParameters)() = programParameters;

const TClassInfo& TFnotepad::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFnotepad>("TFnotepad", &TDictationForm::StaticClassInfo(), [](TClassBuilder<TFnotepad>& b) {
        DescribeFrontEnd(b, "SpSharedRecoContext");
        b.Field("Splitter1", &TFnotepad::Splitter1);
        b.Field("Panel1", &TFnotepad::Panel1);
        b.Field("Splitter2", &TFnotepad::Splitter2);
        b.Field("lstProgress", &TFnotepad::lstProgress);
        b.Field("Panel2", &TFnotepad::Panel2);
        b.Field("lstHypotheses", &TFnotepad::lstHypotheses);
        b.Field("RichEdit1", &TFnotepad::RichEdit1);
        b.Field("ProgressBar", &TFnotepad::ProgressBar);
        b.Field("Memo1", &TFnotepad::Memo1);
        b.Field("StatusBar1", &TFnotepad::StatusBar1);
        b.Field("PopupMenu", &TFnotepad::PopupMenu);
        b.Field("PrinterSetupDialog", &TFnotepad::PrinterSetupDialog);
        b.Field("ReplaceDialog", &TFnotepad::ReplaceDialog);
        b.Field("FindDialog", &TFnotepad::FindDialog);
        b.Field("FontDialog1", &TFnotepad::FontDialog1);
        b.Field("OpenDialog1", &TFnotepad::OpenDialog1);
        b.Field("SaveDialog1", &TFnotepad::SaveDialog1);
        b.Field("MainMenu1", &TFnotepad::MainMenu1);
        b.Field("M_AutoLines", &TFnotepad::M_AutoLines);
        b.Field("ColorDialog1", &TFnotepad::ColorDialog1);
        b.Field("PopupMenu1", &TFnotepad::PopupMenu1);
        b.Field("Timer2", &TFnotepad::Timer2);
        b.Handler("FormCreate", &TFnotepad::FormCreate);
        b.Handler("FormShow", &TFnotepad::FormShow);
        b.Handler("FormCloseQuery", &TFnotepad::FormCloseQuery);
        b.Handler("Timer2Timer", &TFnotepad::Timer2Timer);
        b.Handler("M_ExitClick", &TFnotepad::M_ExitClick);
        b.Handler("NShiYongShuoMingClick", &TFnotepad::NShiYongShuoMingClick);
        b.Handler("NMicroPhonesetClick", &TFnotepad::NMicroPhonesetClick);
        b.Handler("NVoiceSetClick", &TFnotepad::NVoiceSetClick);
        b.Handler("NStartClick", &TFnotepad::NStartClick);
        b.Handler("NStopClick", &TFnotepad::NStopClick);
        b.Handler("NVoiceDictClick", &TFnotepad::NVoiceDictClick);
        b.Handler("lstHypothesesDblClick", &TFnotepad::lstHypothesesDblClick);
        b.Handler("M_NewFilesClick", &TFnotepad::M_NewFilesClick);
        b.Handler("M_OpenFilesClick", &TFnotepad::M_OpenFilesClick);
        b.Handler("M_SaveClick", &TFnotepad::M_SaveClick);
        b.Handler("M_SaveAsClick", &TFnotepad::M_SaveAsClick);
        b.Handler("M_ZClick", &TFnotepad::M_ZClick);
        b.Handler("M_CutClick", &TFnotepad::M_CutClick);
        b.Handler("M_CopyClick", &TFnotepad::M_CopyClick);
        b.Handler("M_PClick", &TFnotepad::M_PClick);
        b.Handler("M_DelClick", &TFnotepad::M_DelClick);
        b.Handler("M_CtrlAClick", &TFnotepad::M_CtrlAClick);
        b.Handler("M_FindClick", &TFnotepad::M_FindClick);
        b.Handler("M_FindNextClick", &TFnotepad::M_FindNextClick);
        b.Handler("FindDialogFind", &TFnotepad::FindDialogFind);
        b.Handler("M_ReplaceClick", &TFnotepad::M_ReplaceClick);
        b.Handler("ReplaceDialogFind", &TFnotepad::ReplaceDialogFind);
        b.Handler("ReplaceDialogReplace", &TFnotepad::ReplaceDialogReplace);
        b.Handler("M_DateTimeClick", &TFnotepad::M_DateTimeClick);
        b.Handler("M_AutoLinesClick", &TFnotepad::M_AutoLinesClick);
        b.Handler("M_FontClick", &TFnotepad::M_FontClick);
        b.Handler("BBacColorClick", &TFnotepad::BBacColorClick);
        b.Handler("NShowFontsClick", &TFnotepad::NShowFontsClick);
        b.Handler("NBackColorClick", &TFnotepad::NBackColorClick);
        b.Handler("M_PrintPageClick", &TFnotepad::M_PrintPageClick);
        b.Handler("M_PrintClick", &TFnotepad::M_PrintClick);
        b.Handler("M_HelpClick", &TFnotepad::M_HelpClick);
        b.Handler("M_AboutClick", &TFnotepad::M_AboutClick);
    });
    return info;
}

TFnotepad::TFnotepad(TComponent* owner) : TDictationForm(owner) { InitFromResource(); }

std::string TFnotepad::WeekdayText(const std::tm& date) {
    static const char* const names[7] = {"  星期日", "  星期一", "  星期二", "  星期三", "  星期四", "  星期五", "  星期六"};
    int d = date.tm_wday;
    return names[(d % 7 + 7) % 7];
}

std::string TFnotepad::DateText(const std::tm& date) {
    char s[32];
    std::snprintf(s, sizeof s, "  %04d-%02d-%02d", date.tm_year + 1900, date.tm_mon + 1, date.tm_mday);
    return s;
}

std::string TFnotepad::ClockText(const std::tm& time) {
    char s[32];
    std::snprintf(s, sizeof s, "   %02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
    return s;
}

void TFnotepad::FormCreate(TObject*) {
    SetUpRecognizer();
    Application->SetIcon(Icon());
    Application->SetTitle("Orvisk");
    PlaceAtBottomRight();
    const std::tm today = localTime(Now());
    StatusBar1->Panels().Items(2)->SetText(DateText(today));
    StatusBar1->Panels().Items(3)->SetText(WeekdayText(today));
    std::string name;
    for (const std::string& p : CommandLineParameters()) name += p;
    CurrentFileName = name;
    // The file opens once the window is shown (WndProc): the editor then has its window,
    // which keeps every byte of the file, at the width it keeps (a wider or narrower editor
    // wraps the whole text again), and a file that cannot be read is reported with the
    // program running.
    if (!name.empty() && GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !(GetFileAttributesA(name.c_str()) & FILE_ATTRIBUTE_DIRECTORY))
        startFile_ = name;
    DragAcceptFiles(Handle(), TRUE);
}

void TFnotepad::openStartFile() {
    std::string name;
    name.swap(startFile_);
    if (name.empty()) return;
    // Text the editor holds came before the file opened: a phrase dictated behind the
    // first-run prompt, which the show handler gives before the window appears.  The
    // untitled document's only name is already the start file's, so a question to save it
    // would offer to write it over the file.  It is asked about by nobody and goes into the
    // opened document at the caret.
    std::string early;
    if (RichEdit1->Modified()) {
        early = RichEdit1->Text();
        RichEdit1->SetModified(false);
    }
    // Where the file did not become the document, the early text stays the document.
    auto keepEarlyText = [&] {
        if (early.empty()) return;
        if (RichEdit1->GetTextLen() == 0) RichEdit1->SetText(early);
        RichEdit1->SetModified(true);
    };
    bool opened = false;
    try {
        opened = OpenFile(name);
    } catch (...) {
        // A file that could not be read must not stay the document's name: the first save
        // would write over it without a question.
        if (CurrentFileName == name) {
            CurrentFileName.clear();
            UpdateCaption();
        }
        keepEarlyText();
        throw;
    }
    if (!opened)
        keepEarlyText();
    else if (!early.empty())
        insertText(early);
}

void TFnotepad::FormShow(TObject*) { FirstRunPrompt(); }

void TFnotepad::Timer2Timer(TObject*) {
    StatusBar1->Panels().Items(4)->SetText(ClockText(localTime(Now())));
}

void TFnotepad::M_ExitClick(TObject*) { Close(); }

void TFnotepad::DeliverPhrase(const std::wstring& text) { insertText(PhraseToAnsi(text)); }

void TFnotepad::insertText(const std::string& text) {
    ++textChanges_;
    RichEdit1->SetSelText(text);
}

void TFnotepad::ShowListeningState(bool started) {
    StatusBar1->Panels().Items(0)->SetText(started ? "语音输入：已开始" : "语音输入：已停止");
}

void TFnotepad::AddProgress(const std::string& text) {
    lstProgress->Items().Add(text);
    lstProgress->SetItemIndex(lstProgress->Items().Count() - 1);
}

void TFnotepad::lstHypothesesDblClick(TObject*) {
    std::string line;
    if (SelectedChoice(line)) insertText(line);
}

void TFnotepad::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_DROPFILES:
        TDictationForm::WndProc(m);
        DropFiles(reinterpret_cast<HANDLE>(m.WParam));
        return;
    case WM_WINDOWPOSCHANGED:
        // The window has been shown (WM_SHOWWINDOW does not come with a maximised show).
        // Posted, so that the open runs once showing is over.
        TDictationForm::WndProc(m);
        if ((reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_SHOWWINDOW) && !startFile_.empty())
            PostMessageA(Handle(), WM_OPENSTARTFILE, 0, 0);
        return;
    case WM_OPENSTARTFILE:
        openStartFile();
        return;
    default:
        TDictationForm::WndProc(m);
    }
}
