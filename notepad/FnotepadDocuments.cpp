// The notepad's document: its name and caption, the question to save, new, open, save,
// save as and dropped files.  Documents are read as rich text or plain text by their
// extension and always written as plain text, through the hidden memo.
#include <windows.h>
#include <shellapi.h>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Fnotepad.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "Texts.h"

namespace {

const char* const kFileFilter =
    "文本文件(*.txt)|*.txt|Word文档(*.doc)|*.doc|Wps文件(*.wps)|*.wps|超文本文件(*.htm,*.html)|*.htm;*.html|"
    "RTF文件(*.rtf)|*.rtf|所有文件(*.*)|*.*";

// The extension a save appends for the chosen filter index (1 to 6).
std::string extensionForFilter(int index) {
    switch (index) {
    case 1: return ".txt";
    case 2: return ".doc";
    case 3: return ".wps";
    case 4: return ".htm";
    case 5: return ".rtf";
    default: return "";
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
    if (answer == IDYES) SaveFile(0);
    return answer;
}

void TFnotepad::OpenFile(const std::string& fileName) {
    if (QuerySave() == IDCANCEL) return;
    if (!fileName.empty()) {
        if (!fileExists(fileName)) {
            Application->MessageBox("此文件不存在！", "打开", MB_OK | MB_ICONINFORMATION);
            return;
        }
        CurrentFileName = fileName;
    } else {
        OpenDialog1->SetFilter(kFileFilter);
        OpenDialog1->SetInitialDir(folderPart(CurrentFileName));
        OpenDialog1->SetFileName("");
        if (!OpenDialog1->Execute()) return;
        CurrentFileName = OpenDialog1->FileName();
    }
    RichEdit1->SetPlainText(texts::UpperCase(extensionPart(CurrentFileName)) != ".RTF");
    try {
        WaitCursor wait;
        Repaint();
        RichEdit1->Lines().LoadFromFile(CurrentFileName);
    } catch (...) {
        UpdateCaption();
        throw;
    }
    UpdateCaption();
}

void TFnotepad::SaveFile(int mode) {
    const bool untitled = CurrentFileName.empty();
    std::string target;
    if (untitled) {
        SaveDialog1->SetFilter(kFileFilter);
        SaveDialog1->SetTitle("保存");
        std::string proposal;
        if (RichEdit1->Lines().Count() > 0) proposal = texts::Trim(RichEdit1->Lines()[0]);
        if (proposal.find_first_of("*/<>?\\|") != std::string::npos) proposal = "*.txt";
        SaveDialog1->SetFileName(proposal);
        if (!SaveDialog1->Execute()) return;
        CurrentFileName = SaveDialog1->FileName() + extensionForFilter(SaveDialog1->FilterIndex());
        target = CurrentFileName;
    } else if (mode == 0) {
        target = CurrentFileName;
    } else {
        SaveDialog1->SetFilter(kFileFilter);
        SaveDialog1->SetTitle("另存为");
        SaveDialog1->SetFileName(CurrentFileName);
        // Cancelled: the document is written to its own file, as by a save.
        target = SaveDialog1->Execute() ? SaveDialog1->FileName() + extensionForFilter(SaveDialog1->FilterIndex())
                                        : CurrentFileName;
    }
    try {
        Memo1->Lines().Clear();
        Memo1->Lines().SetText(RichEdit1->Text());
        Memo1->Lines().SaveToFile(target);
    } catch (const std::exception&) {
        Application->MessageBox(Application->Title() + "无法保存文件 " + CurrentFileName + " 。", "错误",
                                MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (untitled)
        UpdateCaption();
    else
        RichEdit1->SetModified(false);
}

void TFnotepad::M_NewFilesClick(TObject*) {
    if (QuerySave() == IDCANCEL) return;
    RichEdit1->Clear();
    CurrentFileName.clear();
    UpdateCaption();
}

void TFnotepad::FormCloseQuery(TObject*, bool& CanClose) { CanClose = QuerySave() != IDCANCEL; }

void TFnotepad::DropFiles(HANDLE dropHandle) {
    HDROP drop = static_cast<HDROP>(dropHandle);
    struct DropGuard {
        HDROP h;
        ~DropGuard() { DragFinish(h); }
    } guard{drop};
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::string last;
    for (UINT i = 0; i < count; ++i) {
        char name[1025] = {};
        DragQueryFileA(drop, i, name, sizeof name);
        last = name;
        RichEdit1->Lines().LoadFromFile(last);
    }
    if (count == 0) return;
    CurrentFileName = last;
    SetCaption("Swaplet-" + fileNamePart(last));
}
