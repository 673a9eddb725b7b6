// Common dialogs: the system dialogs open (found by class from a second thread), are
// cancelled or answered, and the components read the answers back; the modeless find and
// replace dialogs notify through their hidden window; printer set-up without a printer
// fails with the system's error code; stored forms set the dialogs' properties.
#include <windows.h>
#include <cderr.h>
#include <dlgs.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>

#include "Dialogs.h"
#include "Forms.h"
#include "MenuDialogTestSupport.h"
#include "gui_test.h"

using menutest::DialogWatcher;
using menutest::PumpUntil;

namespace {

std::string tempFile(const char* name, const std::string& content) {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return path;
}

std::string longPath(const std::string& path) {
    char out[MAX_PATH] = {};
    DWORD n = GetLongPathNameA(path.c_str(), out, MAX_PATH);
    return n ? std::string(out, n) : path;
}

}  // namespace

TEST(OpenDialog, OpensWithTitleAndCancels) {
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Pick a file");
    dialog.SetFilter("Text (*.txt)|*.txt|All (*.*)|*.*");
    int shows = 0, closes = 0;
    HWND shownHandle = nullptr;
    dialog.OnShow = [&](TObject*) { ++shows; shownHandle = dialog.Handle(); };
    dialog.OnClose = [&](TObject*) { ++closes; };
    DialogWatcher watcher([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(watcher.Found());
    EXPECT_EQ(watcher.Caption(), "Pick a file");
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_NE(shownHandle, nullptr);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(OpenDialog, ChosenFileAndFilterIndexReadBack) {
    const std::string path = tempFile("classlib_open_test.txt", "hello");
    TOpenDialog dialog(nullptr);
    dialog.SetFilter("Text (*.txt)|*.txt|All (*.*)|*.*");
    dialog.SetFilterIndex(2);
    dialog.SetOptions(dialog.Options() | (1u << ofFileMustExist));
    DialogWatcher watcher([&](HWND d) {
        // The file-name box: a combo box (cmb13) in the explorer-style dialog, else edt1.
        HWND box = GetDlgItem(d, cmb13);
        if (!box) box = GetDlgItem(d, edt1);
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(longPath(dialog.FileName()), longPath(path));
    ASSERT_EQ(dialog.Files().size(), 1u);
    EXPECT_EQ(dialog.FilterIndex(), 2);
    DeleteFileA(path.c_str());
}

TEST(OpenDialog, StructFromSettings) {
    TSaveDialog dialog(nullptr);
    dialog.SetFilter("a|*.a|b|*.b");
    dialog.SetFileName("name.txt");
    dialog.SetDefaultExt(".txt");
    dialog.SetOptions((1u << ofOverwritePrompt) | (1u << ofHideReadOnly) | (1u << ofPathMustExist));
    std::vector<char> buffer;
    std::string filter;
    OPENFILENAMEA ofn = dialog.BuildStruct(buffer, filter);
    EXPECT_EQ(filter, std::string("a\0*.a\0b\0*.b\0\0", 13));
    EXPECT_STREQ(ofn.lpstrFile, "name.txt");
    EXPECT_STREQ(ofn.lpstrDefExt, "txt");
    EXPECT_EQ(ofn.Flags & (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER),
              static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER));
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_EQ(ofn.lpstrInitialDir, nullptr);
    EXPECT_STREQ(dialog.ClassName().c_str(), "TSaveDialog");
    EXPECT_TRUE(dialog.InheritsFrom("TOpenDialog"));
}

TEST(SaveDialog, RefusedProposalStillOpens) {
    // A proposed name the system refuses (a pattern with a quote and a bar) must not keep
    // the dialog from opening.
    TSaveDialog dialog(nullptr);
    dialog.SetFileName("bad\"|name");
    DialogWatcher watcher([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(watcher.Found());
}

// ---- find and replace ----------------------------------------------------------------

TEST(FindDialog, FindNextFiresOnFindWithTextAndOptions) {
    TFindDialog dialog(nullptr);
    dialog.SetFindText("abc");
    int finds = 0, closes = 0;
    std::string foundText;
    TFindOptions foundOptions = 0;
    dialog.OnFind = [&](TObject* sender) {
        EXPECT_EQ(sender, &dialog);
        ++finds;
        foundText = dialog.FindText();
        foundOptions = dialog.Options();
    };
    dialog.OnClose = [&](TObject*) { ++closes; };
    dialog.SetPosition(30, 40);
    ASSERT_TRUE(dialog.Execute());  // modeless: returns at once
    HWND d = dialog.Handle();
    ASSERT_NE(d, nullptr);
    char cls[32] = {};
    GetClassNameA(d, cls, sizeof cls);
    EXPECT_STREQ(cls, "#32770");
    EXPECT_TRUE(IsWindowVisible(d));
    RECT r;
    GetWindowRect(d, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    char text[64] = {};
    GetDlgItemTextA(d, edt1, text, sizeof text);
    EXPECT_STREQ(text, "abc");

    // A second Execute brings the same dialog forward.
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Handle(), d);

    // Type, tick "match case", press Find Next.
    SetDlgItemTextA(d, edt1, "hello");
    CheckDlgButton(d, chx2, BST_CHECKED);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDOK)));
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(foundText, "hello");
    EXPECT_TRUE(foundOptions & (1u << frMatchCase));
    EXPECT_TRUE(foundOptions & (1u << frFindNext));
    EXPECT_TRUE(foundOptions & (1u << frDown));
    EXPECT_FALSE(foundOptions & (1u << frWholeWord));

    // Setting the text while open writes into the dialog.
    ASSERT_EQ(dialog.Handle(), d);
    dialog.SetFindText("again");
    GetDlgItemTextA(d, edt1, text, sizeof text);
    EXPECT_STREQ(text, "again");

    dialog.CloseDialog();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(d); }));
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(dialog.FindText(), "again");
    EXPECT_TRUE(dialog.Options() & (1u << frMatchCase)) << "kept for the next opening";
}

TEST(FindDialog, EnterInEditFindsThroughApplicationLoop) {
    // The application loop hands the dialog's keys to IsDialogMessage: Enter in the edit
    // box presses the default button.
    TFindDialog dialog(nullptr);
    int finds = 0;
    dialog.OnFind = [&](TObject*) { ++finds; };
    ASSERT_TRUE(dialog.Execute());
    HWND d = dialog.Handle();
    HWND edit = GetDlgItem(d, edt1);
    SetWindowTextA(edit, "typed");
    EnableWindow(GetDlgItem(d, IDOK), TRUE);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([&] { return finds > 0; }));
    EXPECT_EQ(dialog.FindText(), "typed");
    dialog.CloseDialog();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(d); }));
}

TEST(FindDialog, FreedWhileOpenClosesIt) {
    HWND d = nullptr;
    {
        TFindDialog dialog(nullptr);
        ASSERT_TRUE(dialog.Execute());
        d = dialog.Handle();
        ASSERT_TRUE(IsWindow(d));
    }
    EXPECT_FALSE(IsWindow(d));
    guitest::PumpMessages();
}

TEST(FindDialog, NoLeaksOverOpenCloseCycles) {
    TFindDialog dialog(nullptr);
    auto cycle = [&] {
        ASSERT_TRUE(dialog.Execute());
        HWND d = dialog.Handle();
        dialog.CloseDialog();
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(d); }));
    };
    cycle();
    EXPECT_TRUE(menutest::NoGrowthOverCycles(cycle, 4));
}

TEST(ReplaceDialog, ReplaceFiresOnReplaceWithBothTexts) {
    TReplaceDialog dialog(nullptr);
    dialog.SetFindText("old");
    dialog.SetReplaceText("new");
    int replaces = 0, finds = 0;
    dialog.OnReplace = [&](TObject*) { ++replaces; };
    dialog.OnFind = [&](TObject*) { ++finds; };
    ASSERT_TRUE(dialog.Execute());
    HWND d = dialog.Handle();
    char text[64] = {};
    GetDlgItemTextA(d, edt2, text, sizeof text);
    EXPECT_STREQ(text, "new");
    SetDlgItemTextA(d, edt2, "newer");
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(psh1, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, psh1)));
    EXPECT_EQ(replaces, 1);
    EXPECT_EQ(finds, 0);
    EXPECT_EQ(dialog.ReplaceText(), "newer");
    EXPECT_EQ(dialog.FindText(), "old");
    EXPECT_TRUE(dialog.Options() & (1u << frReplace));
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(psh2, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, psh2)));
    EXPECT_EQ(replaces, 2);
    EXPECT_TRUE(dialog.Options() & (1u << frReplaceAll));
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDOK)));
    EXPECT_EQ(finds, 1);
    dialog.CloseDialog();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(d); }));
}

// ---- font, colour, printer -----------------------------------------------------------

TEST(FontDialog, StartsFromFontAndWritesChoiceBack) {
    TFontDialog dialog(nullptr);
    dialog.Font().SetName("Tahoma");
    dialog.Font().SetHeight(-16);
    dialog.Font().SetColor(clBlue);
    DialogWatcher watcher([](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(watcher.Found());
    EXPECT_FALSE(dialog.Font().Name().empty());
    EXPECT_LT(dialog.Font().Height(), 0);
    EXPECT_EQ(dialog.Font().Color(), clBlue) << "colour kept";
}

TEST(FontDialog, CancelKeepsFont) {
    TFontDialog dialog(nullptr);
    dialog.Font().SetName("Tahoma");
    dialog.Font().SetColor(clWindowText);
    DialogWatcher watcher([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Font().Name(), "Tahoma");
    EXPECT_EQ(dialog.Font().Color(), clWindowText);
}

TEST(ColorDialog, StartsFromColourAndReadsCustomColours) {
    TColorDialog dialog(nullptr);
    dialog.SetColor(static_cast<TColor>(RGB(10, 20, 30)));
    dialog.CustomColors().Add("ColorA=102030");
    DialogWatcher watcher([](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), static_cast<TColor>(RGB(10, 20, 30)));
    ASSERT_EQ(dialog.CustomColors().Count(), 16);
    EXPECT_EQ(dialog.CustomColors().Get(0), "ColorA=102030");
    EXPECT_EQ(dialog.CustomColors().Get(15), "ColorP=FFFFFF");
}

TEST(PrinterSetupDialog, NoPrinterRaisesWithCode) {
    TPrinterSetupDialog dialog(nullptr);
    bool raised = false;
    DWORD code = 0;
    std::string message;
    bool result = false;
    {
        DialogWatcher watcher([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }, 3000);
        try {
            result = dialog.Execute();
        } catch (const ECommonDialogError& e) {
            raised = true;
            code = e.Code();
            message = e.what();
        }
        if (raised) {
            EXPECT_FALSE(watcher.Found()) << "no system box may appear: " << watcher.Caption();
        }
    }
    char name[256] = {};
    DWORD size = sizeof name;
    if (GetDefaultPrinterA(name, &size)) {
        // A printer exists here: the dialog opened and was cancelled.
        EXPECT_FALSE(raised) << message;
        EXPECT_FALSE(result);
    } else {
        ASSERT_TRUE(raised);
        EXPECT_TRUE(code == PDERR_NODEFAULTPRN || code == PDERR_NODEVICES) << std::hex << code;
        EXPECT_NE(message.find("printer"), std::string::npos) << message;
        EXPECT_EQ(TPrinterSetupDialog::Selection(), nullptr);
    }
}

// ---- stored forms --------------------------------------------------------------------

namespace {

class TDialogTestForm : public TForm {
    CLASS_INFO(TDialogTestForm)
public:
    explicit TDialogTestForm(TComponent* owner) : TForm(owner) {}
    TFindDialog* FindDialog = nullptr;
    TFontDialog* FontDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TColorDialog* ColorDialog1 = nullptr;
    int finds = 0;
    void FindDialogFind(TObject*) { ++finds; }
};

const TClassInfo& TDialogTestForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TDialogTestForm>("TDialogTestForm", &TForm::StaticClassInfo(), [](TClassBuilder<TDialogTestForm>& b) {
        b.Handler("FindDialogFind", &TDialogTestForm::FindDialogFind);
        b.Field("FindDialog", &TDialogTestForm::FindDialog);
        b.Field("FontDialog1", &TDialogTestForm::FontDialog1);
        b.Field("SaveDialog1", &TDialogTestForm::SaveDialog1);
        b.Field("ColorDialog1", &TDialogTestForm::ColorDialog1);
    });
    return info;
}

}  // namespace

TEST(Dialogs, PropertiesFromStoredForm) {
    auto* form = new TDialogTestForm(Application);
    form->InitFromText(u8R"(object DialogForm: TDialogTestForm
  object FindDialog: TFindDialog
    Options = [frDown, frHideWholeWord]
    OnFind = FindDialogFind
  end
  object ReplaceDialog: TReplaceDialog
  end
  object FontDialog1: TFontDialog
    Font.Charset = GB2312_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Fixedsys'
    Font.Style = []
    MinFontSize = 0
    MaxFontSize = 0
  end
  object SaveDialog1: TSaveDialog
    Filter = '文本文件(*.txt)|*.txt|所有文件(*.*)|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofPathMustExist]
    Title = '保存'
  end
  object OpenDialog1: TOpenDialog
  end
  object ColorDialog1: TColorDialog
    Color = clMoneyGreen
    CustomColors.Strings = ('ColorA=FFFFFF')
  end
  object PrinterSetupDialog: TPrinterSetupDialog
  end
end
)");
    EXPECT_EQ(form->FindDialog->Options(), (1u << frDown) | (1u << frHideWholeWord));
    EXPECT_EQ(form->FontDialog1->Font().Name(), "Fixedsys");
    EXPECT_EQ(form->FontDialog1->Font().Charset(), GB2312_CHARSET);
    EXPECT_EQ(form->FontDialog1->Font().Height(), -12);
    EXPECT_EQ(form->SaveDialog1->Filter(), "文本文件(*.txt)|*.txt|所有文件(*.*)|*.*");
    EXPECT_EQ(form->SaveDialog1->Title(), "保存");
    EXPECT_TRUE(form->SaveDialog1->Options() & (1u << ofOverwritePrompt));
    EXPECT_EQ(form->ColorDialog1->Color(), clMoneyGreen);
    EXPECT_EQ(form->ColorDialog1->CustomColors().Count(), 1);
    EXPECT_EQ(GetStrProp(*form->SaveDialog1, "Filter"), form->SaveDialog1->Filter());
    ASSERT_TRUE(form->FindDialog->OnFind);
    form->FindDialog->OnFind(form->FindDialog);
    EXPECT_EQ(form->finds, 1);
    delete form;
}
