// The notepad's search, edit, format, print and help commands, and the choice list's
// font and colour commands.
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Fnotepad.h"
#include "Menus.h"
#include "Printers.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "Texts.h"

const char* const kHelpText =
    "软件使用帮助\r\n"
    "----------------------------------------------------------------\r\n"
    "1. 怎样使用本软件？\r\n"
    "   戴好麦克风，点[控制]--[开始]，对着麦克风用普通话讲话，识别出的文字会出现在光标处。\r\n"
    "2. 选字框怎样使用？\r\n"
    "   讲话时右边的选字框列出候选字句，双击其中一行即可把它输入到光标处。\r\n"
    "3. 为什么输出的不是中文？\r\n"
    "   请点[文件]--[配置说明]，按网页的说明安装并配置中文语音识别引擎。\r\n"
    "4. 怎样开始和停止语音输入？\r\n"
    "   点[控制]--[开始]开始输入，点[控制]--[停止]暂停输入，状态栏左边显示当前状态。\r\n"
    "5. 怎样添加识别不了的词语？\r\n"
    "   点[控制]--[词典]，输入词语并录制发音，下次即可正确识别。\r\n"
    "6. 怎样输入标点符号？\r\n"
    "   直接读出标点的名称，例如“逗号”、“句号”、“问号”。\r\n"
    "7. 怎样把文字直接输入到Word中？\r\n"
    "   请使用本系列的Word语音输入程序，识别出的文字会添加到Word文档的末尾。\r\n"
    "8. 本软件可以在哪些Windows上运行？\r\n"
    "   Windows 2000、Windows XP及更新的版本，需安装中文语音识别引擎。\r\n"
    "9. 本软件适合哪些人使用？\r\n"
    "   不熟悉键盘输入的用户、需要大量录入文字的用户以及手部不便的用户。\r\n"
    "10. 怎样才能获得好的识别效果？\r\n"
    "   先运行麦克风向导和语音训练，保持环境安静，用自然平和的语速讲话。";

const char* const kAboutText =
    "★          关于本软件           ★\r\n"
    "------------------------------------\r\n"
    "软件名称：Orvisk";

namespace {
const char* const kPrinterMessage = "无法找到默认的打印机\r\n请确认打印机已安装正确。";
}

void TFnotepad::placeDialog(HWND dialog) {
    if (dialog) SetWindowPos(dialog, nullptr, Left() + Width() / 4, Top() + Height() / 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

unsigned searchTypesOf(const TFindDialog& dialog) {
    unsigned types = 0;
    if (dialog.Options() & (1u << frMatchCase)) types |= 1u << stMatchCase;
    if (dialog.Options() & (1u << frWholeWord)) types |= 1u << stWholeWord;
    return types;
}

}  // namespace

bool TFnotepad::SearchText(const std::string& text, unsigned searchTypes) {
    // A new text is remembered and searched for at once (a find request that only
    // remembered its text and selected nothing would look broken to the user).
    if (text != LastFindText) LastFindText = text;
    if (selectNext(text, searchTypes)) return true;
    reportNotFound(text);
    FindDialog->CloseDialog();
    return false;
}

bool TFnotepad::selectNext(const std::string& text, unsigned searchTypes) {
    const int length = static_cast<int>(texts::AnsiToWide(text).size());
    for (;;) {
        const int start = RichEdit1->SelStart() + RichEdit1->SelLength();
        const int end = RichEdit1->GetTextLen();
        const int found = RichEdit1->FindText(text, start, end - start, searchTypes);
        if (found < 0) return false;
        RichEdit1->SetSelStart(found);
        RichEdit1->SetSelLength(length);
        if (!RichEdit1->SelText().empty()) return true;
        RichEdit1->SetSelStart(found + 2);
        RichEdit1->SetSelLength(0);
    }
}

void TFnotepad::reportNotFound(const std::string& text) {
    Application->MessageBox("找不到 ''" + text + "''", "记事本", MB_OK | MB_ICONINFORMATION);
}

void TFnotepad::M_ZClick(TObject*) { RichEdit1->Undo(); }
void TFnotepad::M_CutClick(TObject*) { RichEdit1->CutToClipboard(); }
void TFnotepad::M_CopyClick(TObject*) { RichEdit1->CopyToClipboard(); }
void TFnotepad::M_PClick(TObject*) { RichEdit1->PasteFromClipboard(); }

void TFnotepad::M_DelClick(TObject*) { RichEdit1->ClearSelection(); }

void TFnotepad::M_CtrlAClick(TObject*) { RichEdit1->SelectAll(); }

void TFnotepad::M_FindClick(TObject*) {
    FindDialog->SetFindText(RichEdit1->SelText());
    FindDialog->Execute();
    placeDialog(FindDialog->Handle());
}

void TFnotepad::M_FindNextClick(TObject* Sender) {
    if (FindDialog->FindText().empty())
        M_FindClick(Sender);
    else
        FindDialogFind(Sender);
}

void TFnotepad::FindDialogFind(TObject*) {
    SearchText(FindDialog->FindText(), searchTypesOf(*FindDialog));
    RichEdit1->SetFocus();
    RichEdit1->Perform(EM_SCROLLCARET, 0, 0);
}

// The replace dialog's 查找下一个: the next occurrence after the selection.  The dialog stays
// open when there is none (the user may change the text and go on).
void TFnotepad::ReplaceDialogFind(TObject*) {
    const std::string text = ReplaceDialog->FindText();
    if (!selectNext(text, searchTypesOf(*ReplaceDialog))) reportNotFound(text);
    RichEdit1->Perform(EM_SCROLLCARET, 0, 0);
}

// 替换 puts the replacement in place of the selected occurrence, then selects the next one;
// 全部替换 replaces every occurrence in the document.
void TFnotepad::ReplaceDialogReplace(TObject*) {
    const std::string text = ReplaceDialog->FindText();
    if (text.empty()) return;
    const unsigned types = searchTypesOf(*ReplaceDialog);
    if (ReplaceDialog->Options() & (1u << frReplaceAll)) {
        if (!replaceAll(text, ReplaceDialog->ReplaceText(), types)) reportNotFound(text);
        return;
    }
    // The selection is replaced only when it is an occurrence under the dialog's options
    // (the one the last search selected): the editor's own search says so.
    const int start = RichEdit1->SelStart();
    const int length = RichEdit1->SelLength();
    if (length > 0 && RichEdit1->FindText(text, start, length, types) == start &&
        length == static_cast<int>(texts::AnsiToWide(text).size()))
        RichEdit1->SetSelText(ReplaceDialog->ReplaceText());
    if (!selectNext(text, types)) reportNotFound(text);
    RichEdit1->Perform(EM_SCROLLCARET, 0, 0);
}

bool TFnotepad::replaceAll(const std::string& text, const std::string& replacement, unsigned searchTypes) {
    const int length = static_cast<int>(texts::AnsiToWide(text).size());
    const int end = RichEdit1->GetTextLen();
    std::vector<int> found;
    for (int at = RichEdit1->FindText(text, 0, end, searchTypes); at >= 0;) {
        found.push_back(at);
        at = at + length < end ? RichEdit1->FindText(text, at + length, end - (at + length), searchTypes) : -1;
    }
    if (found.empty()) return false;
    // The stretch from the first occurrence to the end of the last one goes in as one
    // replacement, so that one Undo takes the whole change back (it takes the character
    // format at its start: the notepad's documents are plain text).
    const std::wstring document = RichEdit1->WideText();
    if (static_cast<size_t>(found.back() + length) > document.size()) return false;
    const std::wstring with = texts::AnsiToWide(replacement);
    std::wstring stretch;
    size_t from = static_cast<size_t>(found.front());
    for (int at : found) {
        stretch.append(document, from, static_cast<size_t>(at) - from);
        stretch += with;
        from = static_cast<size_t>(at + length);
    }
    RichEdit1->SetSelStart(found.front());
    RichEdit1->SetSelLength(found.back() + length - found.front());
    RichEdit1->SetSelWideText(stretch);
    return true;
}

void TFnotepad::M_ReplaceClick(TObject*) {
    if (RichEdit1->SelLength() == 0) {
        if (!FindDialog->FindText().empty()) ReplaceDialog->SetFindText(FindDialog->FindText());
    } else {
        ReplaceDialog->SetFindText(RichEdit1->SelText());
        FindDialog->SetFindText(RichEdit1->SelText());
    }
    ReplaceDialog->Execute();
    placeDialog(ReplaceDialog->Handle());
}

void TFnotepad::M_DateTimeClick(TObject*) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    char date[128] = {}, time[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
    std::string text = date;
    if (st.wHour || st.wMinute || st.wSecond || st.wMilliseconds) {
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time);
        text += " ";
        text += time;
    }
    RichEdit1->SetSelText(text);
}

void TFnotepad::M_AutoLinesClick(TObject*) {
    const int caret = RichEdit1->SelStart();
    M_AutoLines->SetChecked(!M_AutoLines->Checked());
    const bool wrap = M_AutoLines->Checked();
    RichEdit1->SetWordWrap(wrap);
    RichEdit1->SetScrollBars(wrap ? ssVertical : ssBoth);
    RichEdit1->SetSelStart(caret);
    RichEdit1->SetSelLength(0);
}

void TFnotepad::M_FontClick(TObject*) {
    if (!FontDialog1->Execute()) return;
    const TFont& chosen = FontDialog1->Font();
    const TFont& current = RichEdit1->Font();
    // OK without a change is no edit: the editor would format its whole text again and
    // take that for one.
    if (chosen.Name() == current.Name() && chosen.Height() == current.Height() && chosen.Color() == current.Color() &&
        chosen.Charset() == current.Charset() && chosen.Style() == current.Style())
        return;
    RichEdit1->Font().Assign(chosen);
}

void TFnotepad::BBacColorClick(TObject*) {
    ColorDialog1->SetColor(RichEdit1->Color());
    if (ColorDialog1->Execute()) RichEdit1->SetColor(ColorDialog1->Color());
}

void TFnotepad::NShowFontsClick(TObject*) {
    FontDialog1->Font().Assign(lstHypotheses->Font());
    if (FontDialog1->Execute()) lstHypotheses->Font().Assign(FontDialog1->Font());
}

void TFnotepad::NBackColorClick(TObject*) {
    ColorDialog1->SetColor(lstHypotheses->Color());
    if (ColorDialog1->Execute()) lstHypotheses->SetColor(ColorDialog1->Color());
}

void TFnotepad::M_PrintPageClick(TObject*) {
    try {
        // The printer chosen here prints every later print while the program runs.
        if (PrinterSetupDialog->Execute()) {
            if (const TPrinterSelection* sel = TPrinterSetupDialog::Selection())
                Printer()->SelectPrinter(sel->Device, sel->DevMode.empty() ? nullptr
                                                                           : reinterpret_cast<const DEVMODEA*>(sel->DevMode.data()));
        }
    } catch (const std::exception&) {
        Application->MessageBox(kPrinterMessage, Application->Title(), MB_OK | MB_ICONINFORMATION);
    }
}

void TFnotepad::M_PrintClick(TObject*) {
    try {
        RichEdit1->Print(CurrentFileName);
    } catch (const std::exception&) {
        Application->MessageBox(kPrinterMessage, Application->Title(), MB_OK | MB_ICONINFORMATION);
    }
}

void TFnotepad::M_HelpClick(TObject*) { Application->MessageBox(kHelpText); }
void TFnotepad::M_AboutClick(TObject*) { Application->MessageBox(kAboutText); }
