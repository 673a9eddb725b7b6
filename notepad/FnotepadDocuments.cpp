// The notepad's document: its name and caption, the question to save, new, open, save,
// save as and dropped files.  Documents are read as rich text or plain text by their
// extension and always written as plain text (DocumentFile.h keeps the bytes the code page
// cannot map, and writes a file with a byte-order mark back in its own Unicode form).  No
// path loses the user's text without a question: a save that did not complete stops
// whatever asked for it, and text that arrived behind a modal window is asked about again.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "DocumentFile.h"
#include "Fnotepad.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "Texts.h"

namespace {

const char* const kFileFilter =
    "文本文件(*.txt)|*.txt|Word文档(*.doc)|*.doc|Wps文件(*.wps)|*.wps|超文本文件(*.htm,*.html)|*.htm;*.html|"
    "RTF文件(*.rtf)|*.rtf|所有文件(*.*)|*.*";

// The extensions of the filter index chosen in the save dialog (1 to 6): the first is
// the one a save appends; index 6 has none.
std::vector<std::string> extensionsOfFilter(int index) {
    switch (index) {
    case 1: return {".txt"};
    case 2: return {".doc"};
    case 3: return {".wps"};
    case 4: return {".htm", ".html"};
    case 5: return {".rtf"};
    default: return {};
    }
}

std::string fileNamePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderPart(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string extensionPart(const std::string& path) {
    std::string name = fileNamePart(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

// The name a save writes: the chosen name with the filter's extension appended, unless
// the user typed one of the filter's extensions already ("note.txt" stays "note.txt").
std::string savedName(const std::string& chosen, int filterIndex) {
    const std::vector<std::string> extensions = extensionsOfFilter(filterIndex);
    if (extensions.empty()) return chosen;
    const std::string typed = extensionPart(chosen);
    for (const std::string& e : extensions)
        if (texts::SameText(typed, e)) return chosen;
    return chosen + extensions.front();
}

bool isRichText(const std::string& data) { return data.compare(0, 5, "{\\rtf") == 0; }

bool sameFile(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && lstrcmpiW(texts::AnsiToWide(a).c_str(), texts::AnsiToWide(b).c_str()) == 0;
}

bool fileExists(const std::string& name) {
    DWORD a = GetFileAttributesA(name.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Hourglass for the scope.
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(old_ ? old_ : LoadCursorA(nullptr, IDC_ARROW)); }

private:
    HCURSOR old_;
};

}  // namespace


void TFnotepad::UpdateCaption() {
    if (!CurrentFileName.empty())
        SetCaption(Application->Title() + " - " + fileNamePart(CurrentFileName));
    else
        SetCaption(Application->Title() + " - 未命名");
    RichEdit1->SetModified(false);
}

int TFnotepad::QuerySave() {
    const std::string name = CurrentFileName.empty() ? std::string("无标题") : CurrentFileName;
    if (!RichEdit1->Modified()) return -1;
    int answer = Application->MessageBox("文件 " + name + " 的内容已经改变。" + "\r\n" + "想保存文件吗?",
                                         Application->Title(), MB_YESNOCANCEL | MB_ICONQUESTION);
    // A save that did not complete (dialog cancelled, write failed, replacement declined)
    // stops the caller as Cancel does: going on would throw the text away.
    if (answer == IDYES && !SaveFile(0)) return IDCANCEL;
    return answer;
}

bool TFnotepad::askAgainIfChanged(unsigned answeredAt) {
    // Phrases keep arriving behind modal windows (the question itself, the file dialog, a
    // message box).  An answer was given for the text as it was when asked (answeredAt is
    // the count taken before the question): text that came after it is asked about again.
    while (RichEdit1->Modified() && textChanges_ != answeredAt) {
        answeredAt = textChanges_;
        if (QuerySave() == IDCANCEL) return false;
    }
    return true;
}

bool TFnotepad::mayLeaveDocument() {
    const unsigned answeredAt = textChanges_;
    return QuerySave() != IDCANCEL && askAgainIfChanged(answeredAt);
}

void TFnotepad::loadDocument(const std::string& name, const std::string& bytes) {
    CurrentFileName = name;
    try {
        WaitCursor wait;
        // Only the editor's window holds every character of the text (without one the
        // editor keeps 8-bit text, which has no room for the bytes kept as characters).
        RichEdit1->HandleNeeded();
        if (!RichEdit1->PlainText() && isRichText(bytes)) {
            RichEdit1->LoadFromBytes(bytes, true);
            richTextFile_ = name;
            encoding_ = document::TextEncoding::Ansi;
        } else {
            encoding_ = document::EncodingOf(bytes);
            RichEdit1->SetWideText(document::DecodeText(bytes, encoding_));
            richTextFile_.clear();
        }
    } catch (const std::exception& e) {
        // A file the editor cannot take (damaged rich text) leaves an empty untitled
        // document behind the error: a save must never write what was read of it over it.
        RichEdit1->Clear();
        CurrentFileName.clear();
        richTextFile_.clear();
        encoding_ = document::TextEncoding::Ansi;
        UpdateCaption();
        throw Exception("无法打开文件 " + name + " 。" + texts::WithStop(e.what()));
    }
}

bool TFnotepad::OpenFile(const std::string& fileName) {
    const unsigned answeredAt = textChanges_;
    if (QuerySave() == IDCANCEL) return false;
    std::string name;
    if (!fileName.empty()) {
        if (!fileExists(fileName)) {
            Application->MessageBox("此文件不存在！", "打开", MB_OK | MB_ICONINFORMATION);
            return false;
        }
        name = fileName;
    } else {
        OpenDialog1->SetFilter(kFileFilter);
        OpenDialog1->SetInitialDir(folderPart(CurrentFileName));
        OpenDialog1->SetFileName("");
        if (!OpenDialog1->Execute()) return false;
        name = OpenDialog1->FileName();
    }
    // Read before anything changes: a file that cannot be read leaves the name, the text
    // and its modified flag as they were (the error reaches the default error box).
    std::string bytes;
    {
        WaitCursor wait;
        Repaint();
        bytes = document::ReadFileBytes(name);
    }
    if (!askAgainIfChanged(answeredAt)) return false;
    RichEdit1->SetPlainText(texts::UpperCase(extensionPart(name)) != ".RTF");
    loadDocument(name, bytes);
    UpdateCaption();
    return true;
}

bool TFnotepad::confirmReplacing(const std::string& target) {
    // The save dialog asks nothing itself: a file picked in it, or the name with the
    // filter's extension appended, may be another file that exists.
    if (sameFile(target, CurrentFileName) || !fileExists(target)) return true;
    return Application->MessageBox("文件 " + target + " 已经存在。\r\n要替换它吗?", Application->Title(),
                                   MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool TFnotepad::confirmPlainTextOver(const std::string& target) {
    if (!sameFile(target, richTextFile_) || !fileExists(target)) return true;
    return Application->MessageBox("文件 " + target + " 是 RTF 格式的文档，以纯文本保存将失去其中的格式、图片和对象。\r\n仍要保存吗?",
                                   Application->Title(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool TFnotepad::SaveFile(int mode) {
    const bool untitled = CurrentFileName.empty();
    std::string target;
    if (untitled) {
        SaveDialog1->SetFilter(kFileFilter);
        SaveDialog1->SetTitle("保存");
        std::string proposal;
        if (RichEdit1->Lines().Count() > 0) proposal = texts::Trim(RichEdit1->Lines()[0]);
        if (proposal.find_first_of("*/<>?\\|") != std::string::npos) proposal = "*.txt";
        SaveDialog1->SetFileName(proposal);
        if (!SaveDialog1->Execute()) return false;
        target = savedName(SaveDialog1->FileName(), SaveDialog1->FilterIndex());
        if (!confirmReplacing(target)) return false;
        CurrentFileName = target;
    } else if (mode == 0) {
        target = CurrentFileName;
    } else {
        SaveDialog1->SetFilter(kFileFilter);
        SaveDialog1->SetTitle("另存为");
        SaveDialog1->SetFileName(CurrentFileName);
        if (!SaveDialog1->Execute()) return false;  // a cancelled save-as writes nothing
        target = savedName(SaveDialog1->FileName(), SaveDialog1->FilterIndex());
        if (!confirmReplacing(target)) return false;
    }
    if (!confirmPlainTextOver(target)) return false;
    try {
        WaitCursor wait;
        document::WriteFileReplacing(target, document::EncodeText(RichEdit1->WideText(), encoding_));
    } catch (const std::exception&) {
        Application->MessageBox(Application->Title() + "无法保存文件 " + CurrentFileName + " 。", "错误",
                                MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (sameFile(target, richTextFile_)) richTextFile_.clear();  // it holds plain text now
    if (untitled)
        UpdateCaption();
    else
        RichEdit1->SetModified(false);
    return true;
}

void TFnotepad::M_NewFilesClick(TObject*) {
    if (!mayLeaveDocument()) return;
    RichEdit1->Clear();
    CurrentFileName.clear();
    richTextFile_.clear();
    encoding_ = document::TextEncoding::Ansi;
    UpdateCaption();
}

// Also the log-off question (WM_QUERYENDSESSION asks the form's close query).
void TFnotepad::FormCloseQuery(TObject*, bool& CanClose) { CanClose = mayLeaveDocument(); }

void TFnotepad::DropFiles(HANDLE dropHandle) {
    HDROP drop = static_cast<HDROP>(dropHandle);
    struct DropGuard {
        HDROP h;
        ~DropGuard() { DragFinish(h); }
    } guard{drop};
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0) return;
    // Each dropped file would replace the one before it: only the last one is loaded.
    char name[1025] = {};
    if (!DragQueryFileA(drop, count - 1, name, sizeof name)) return;
    const std::string last = name;
    const unsigned answeredAt = textChanges_;
    if (QuerySave() == IDCANCEL) return;
    const std::string bytes = document::ReadFileBytes(last);
    if (!askAgainIfChanged(answeredAt)) return;
    loadDocument(last, bytes);
    SetCaption("Swaplet-" + fileNamePart(last));
}
