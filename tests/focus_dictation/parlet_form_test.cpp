// parlet's main form in this process, with the stand-in recognizer loaded through COM and
// driven through its test controls: the stored form, start and stop with and without the
// usage text, auto-start through the registry (and a registry that refuses), and the
// help and about boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "FInput.h"
#include "Fnotepad.h"
#include "Menus.h"
#include "SkinManage.h"
#include "StdCtrls.h"
#include "WinRegistry.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "gui_test.h"
#include "notepad_test_support.h"
#include "parlet_test_support.h"

using notepadtest::Standin;
using parlettest::InputForm;

namespace {

const char* const kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The start-up value as stored below HKEY_LOCAL_MACHINE; false when there is none.
bool readStartupValue(std::string& value) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kRunKeyPath, "sayloom", RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value.assign(buffer, size > 0 ? size - 1 : 0);
    return true;
}

bool programKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\glassmoth", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void removeStartupSettings() {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunKeyPath, "sayloom");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\glassmoth");
}

LSTATUS WINAPI refuseCreate(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD) {
    return ERROR_ACCESS_DENIED;
}
LSTATUS WINAPI refuseSet(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

// The numbered question lines of a help text ("1. ...？"), in order.
std::vector<std::string> questionsOf(const std::string& help) {
    std::vector<std::string> questions;
    size_t start = 0;
    while (start < help.size()) {
        size_t end = help.find("\r\n", start);
        if (end == std::string::npos) end = help.size();
        const std::string line = help.substr(start, end - start);
        if (!line.empty() && line[0] >= '1' && line[0] <= '9') questions.push_back(line);
        start = end + 2;
    }
    return questions;
}

class ParletForm : public InputForm {
protected:
    void TearDown() override {
        TFInput::ExePath = savedExePath;
        TRegistryCalls::Restore();
        removeStartupSettings();
        InputForm::TearDown();
    }
    TMenuItem* item(const char* name) {
        auto* found = dynamic_cast<TMenuItem*>(form->FindComponent(name));
        EXPECT_NE(nullptr, found) << name;
        return found;
    }
    std::string (*savedExePath)() = TFInput::ExePath;
};

}  // namespace

TEST_F(ParletForm, StoredForm_ToolWindowOnTopAtTheBottomRight) {
    // The skin engine attaches at the first activation and fits the frame to the skin's
    // borders when its apply message arrives.
    TWinSkinForm* skin = nullptr;
    ASSERT_TRUE(guitest::PumpUntil([&] {
        TSkinManage* manager = TSkinManage::Instance();
        skin = manager ? manager->FindFormSkin(form->Handle()) : nullptr;
        return skin && skin->FSkinState == ssActive;
    })) << "the form is not skinned";
    EXPECT_EQ(std::string("Chattuck(已开始)"), form->Text());
    char caption[64] = {};
    GetWindowTextA(form->Handle(), caption, sizeof caption);
    EXPECT_EQ(std::string("Chattuck(已开始)"), caption) << "the caption the skin draws";
    EXPECT_EQ("Chattuck", Application->Title());
    const LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE);
    // The stored 223 x 126 under the system's tool-window frame with its menu bar: the
    // skin keeps that client area whatever its own borders are.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, TRUE, static_cast<DWORD>(exStyle));
    EXPECT_EQ(223 - (frame.right - frame.left), form->ClientWidth());
    EXPECT_EQ(126 - (frame.bottom - frame.top), form->ClientHeight());
    // Still in the bottom-right corner, 30 pixels above the screen's bottom edge.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), form->Left() + form->Width());
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - 30, form->Top() + form->Height());
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_LAYERED) << "the stored blend value must not make the window translucent";
    EXPECT_TRUE(style & WS_THICKFRAME);
    // A tool window has a close box only, whatever its stored border icons say.  The skin
    // takes WS_SYSMENU off the style while it paints the caption and shows the close
    // button in its place.
    EXPECT_EQ((1u << biSystemMenu) | (1u << biMinimize), form->BorderIcons());
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    std::vector<int> shown;
    for (size_t i = 0; i < skin->FSysButtons.size(); ++i) {
        const TWinSysButton& button = *skin->FSysButtons[i];
        if (!skin->IsButtonVisible(static_cast<int>(i)) || !button.Definition) continue;
        if (button.Definition->Action >= 0 && button.Definition->Action <= 2) shown.push_back(button.Definition->Action);
    }
    EXPECT_EQ(std::vector<int>{0}, shown) << "caption buttons with close (0), maximise (1), minimise (2)";
    EXPECT_FALSE(form->AlphaBlend());
    EXPECT_EQ(150, form->AlphaBlendValue());
    EXPECT_EQ(form->PopupMenu1, form->PopupMenu());
    EXPECT_EQ(form->MainMenu1, form->Menu());
    EXPECT_TRUE(Application->ShowHint());
    EXPECT_FALSE(form->Memo1->Visible());
    EXPECT_EQ(std::vector<std::string>{"0"}, form->Memo1->Lines().ToVector());
}

TEST_F(ParletForm, StoredForm_GlyphButtonsWithCaptionsAndTooltips) {
    struct Row {
        TBitBtn* button;
        RECT bounds;
        const char* caption;
        const char* hint;
    };
    const Row rows[] = {
        {form->BStart, {11, 5, 99, 30}, "开始(&S)", "开始进行语音输入"},
        {form->BStop, {115, 5, 203, 30}, "停止(&P)", "停止当前语音输入"},
        {form->BDict, {11, 36, 99, 61}, "词典(&D)", "语音词典[可添加生僻字词]"},
        {form->BInformaition, {115, 36, 203, 61}, "说明(&I)", "软件使用说明"},
    };
    for (const Row& row : rows) {
        ASSERT_NE(nullptr, row.button);
        SCOPED_TRACE(row.caption);
        EXPECT_TRUE(guitest::SameRect(row.bounds, row.button->BoundsRect())) << guitest::ToString(row.button->BoundsRect());
        EXPECT_EQ(std::string(row.caption), row.button->Text());
        EXPECT_EQ(std::string(row.hint), row.button->Hint());
        EXPECT_TRUE(row.button->ShowHint());
        // The glyph is stored with the button: a 16 x 16 picture whose bottom-left pixel
        // (the transparent colour) is the background around the drawing.
        EXPECT_EQ(16, row.button->Glyph().Width());
        EXPECT_EQ(16, row.button->Glyph().Height());
        EXPECT_EQ(1, row.button->NumGlyphs());
        EXPECT_EQ(row.button->Glyph().PixelColor(0, 15), row.button->Glyph().PixelColor(0, 0));
        EXPECT_NE(row.button->Glyph().PixelColor(0, 15), row.button->Glyph().PixelColor(8, 8)) << "nothing drawn";
    }
    ASSERT_NE(nullptr, form->ProgressBar);
    EXPECT_EQ(alBottom, form->ProgressBar->Align());
    EXPECT_EQ(14, form->ProgressBar->Height());
    EXPECT_TRUE(form->ProgressBar->Smooth());
    EXPECT_EQ(std::string("语音进度条。"), form->ProgressBar->Hint());
    EXPECT_EQ(form->ClientRect().bottom, form->ProgressBar->BoundsRect().bottom);
}

TEST_F(ParletForm, Menus_CaptionsInOrder) {
    auto captions = [](TMenuItem* parent) {
        std::vector<std::string> list;
        for (int i = 0; i < parent->Count(); ++i) list.push_back(parent->Items(i)->Caption());
        return list;
    };
    TMenuItem* bar = form->MainMenu1->Items();
    ASSERT_EQ(3, bar->Count());
    EXPECT_EQ((std::vector<std::string>{"文件(&F)", "控制(&C)", "帮助(&H)"}), captions(bar));
    EXPECT_EQ((std::vector<std::string>{"配置说明(&U)", "-", "麦克风训练(&M)", "语音训练向导(&O)", "-", "开机自动运行(&A)",
                                        "开机手动运行(&H)", "-", "关闭(&C)"}),
              captions(bar->Items(0)));
    EXPECT_EQ((std::vector<std::string>{"开始(&S)", "-", "停止(&P)", "-", "词典(&D)"}), captions(bar->Items(1)));
    EXPECT_EQ((std::vector<std::string>{"帮助(&H)", "-", "关于(&A)"}), captions(bar->Items(2)));
    EXPECT_EQ((std::vector<std::string>{"开始(&S)", "-", "停止(&P)", "-", "词典(&D)", "-", "关于(&A)"}),
              captions(form->PopupMenu1->Items()));
}

TEST_F(ParletForm, StartByButton_UsageTextFirstThenListening) {
    form->NStopClick(form);
    ASSERT_EQ(std::string("Chattuck(已停止)"), form->Text());
    Standin::Get().Reset();
    parlettest::BoxProbe probe(form);
    SendMessageA(form->BStart->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(1u, probe.Boxes().size());
    EXPECT_EQ(std::string(kUsageText), probe.Boxes()[0].text) << guitest::HexBytes(probe.Boxes()[0].text);
    EXPECT_EQ("Chattuck", probe.Boxes()[0].caption);
    // While the text was open: still stopped.
    EXPECT_EQ(std::string("Chattuck(已停止)"), probe.CaptionAtFirstBox());
    EXPECT_FALSE(probe.ResumedAtFirstBox()) << "listening started before the usage text was closed";
    EXPECT_EQ(std::string("Chattuck(已开始)"), form->Text());
    EXPECT_NE(std::string::npos, Standin::Get().Log().find("Resume")) << Standin::Get().Log();
}

TEST_F(ParletForm, StartAndStopByMenus_NoUsageText) {
    struct Row {
        const char* item;
        const char* caption;
        const char* call;
    };
    const Row rows[] = {
        {"NStop", "Chattuck(已停止)", "Pause"},   {"NStart", "Chattuck(已开始)", "Resume"},
        {"NNStop", "Chattuck(已停止)", "Pause"},  {"NNStart", "Chattuck(已开始)", "Resume"},
    };
    for (const Row& row : rows) {
        Standin::Get().Reset();
        TMenuItem* menuItem = item(row.item);
        ASSERT_NE(nullptr, menuItem);
        guitest::ExpectMessageBoxes([&] { menuItem->Click(); }, {});
        EXPECT_EQ(std::string(row.caption), form->Text()) << row.item;
        EXPECT_NE(std::string::npos, Standin::Get().Log().find(row.call)) << row.item << ": " << Standin::Get().Log();
    }
    // The stop button: no text either.
    guitest::ExpectMessageBoxes([&] { SendMessageA(form->BStop->Handle(), BM_CLICK, 0, 0); }, {});
    EXPECT_EQ(std::string("Chattuck(已停止)"), form->Text());
}

TEST_F(ParletForm, InformationButton_ShowsTheUsageTextOnly) {
    form->NStopClick(form);
    Standin::Get().Reset();
    std::vector<guitest::MessageBoxContents> boxes = guitest::ExpectMessageBoxes(
        [&] { SendMessageA(form->BInformaition->Handle(), BM_CLICK, 0, 0); }, {IDOK});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(std::string(kUsageText), boxes[0].text);
    EXPECT_EQ(std::string("Chattuck(已停止)"), form->Text());
    EXPECT_EQ(std::string::npos, Standin::Get().Log().find("Resume"));
}

TEST_F(ParletForm, AutoStart_OnWritesThePathQuotedWhenItHasABlankThenOffLeavesItEmpty) {
    struct Row {
        std::string exe;
        std::string stored;
    };
    const std::string real = Application->ExeName();
    const Row rows[] = {
        {"C:\\parlet\\parlet.exe", "C:\\parlet\\parlet.exe"},
        {"C:\\Program Files\\parlet\\parlet.exe", "\"C:\\Program Files\\parlet\\parlet.exe\""},
        {real, real.find(' ') == std::string::npos ? real : "\"" + real + "\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.exe);
        static std::string exe;
        exe = row.exe;
        TFInput::ExePath = [] { return exe; };
        removeStartupSettings();
        std::vector<guitest::MessageBoxContents> boxes =
            guitest::ExpectMessageBoxes([&] { item("NAutoRun")->Click(); }, {IDOK});
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(std::string(kAutoRunOnMessage), boxes[0].text);
        std::string value;
        ASSERT_TRUE(readStartupValue(value));
        EXPECT_EQ(row.stored, value);
        EXPECT_TRUE(programKeyExists());

        boxes = guitest::ExpectMessageBoxes([&] { item("NHandRun")->Click(); }, {IDOK});
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(std::string(kAutoRunOffMessage), boxes[0].text);
        value = "x";
        ASSERT_TRUE(readStartupValue(value)) << "the value must stay, empty";
        EXPECT_EQ("", value);
        EXPECT_TRUE(programKeyExists());
    }
}

TEST_F(ParletForm, AutoStart_RegistryRefusalReachesTheErrorBoxAndNoSuccessMessage) {
    struct Row {
        const char* what;
        const char* item;
        void (*refuse)(TRegistryCalls&);
        const char* error;
    };
    const Row rows[] = {
        {"key not created", "NAutoRun", [](TRegistryCalls& c) { c.CreateKeyEx = refuseCreate; },
         "Failed to create key SOFTWARE\\glassmoth."},
        {"value not written", "NAutoRun", [](TRegistryCalls& c) { c.SetValueEx = refuseSet; },
         "Failed to set data for 'sayloom'."},
        {"off, key not created", "NHandRun", [](TRegistryCalls& c) { c.CreateKeyEx = refuseCreate; },
         "Failed to create key SOFTWARE\\glassmoth."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        removeStartupSettings();
        TRegistryCalls::Restore();
        row.refuse(TRegistryCalls::Current());
        TMenuItem* menuItem = item(row.item);
        ASSERT_NE(nullptr, menuItem);
        // Chosen from the menu bar as a user would, so the error travels the way it does
        // in the program: out of the handler to the application's default error box.  The
        // success message would have come first.
        parlettest::BoxProbe probe;
        PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(menuItem->Command(), 0), 0);
        ASSERT_TRUE(probe.PumpUntilAnswered(1));
        ASSERT_EQ(1u, probe.Boxes().size());
        EXPECT_EQ(row.error, probe.Boxes()[0].text);
        EXPECT_EQ("Chattuck", probe.Boxes()[0].caption);
        std::string value;
        EXPECT_FALSE(readStartupValue(value)) << value;
    }
}

TEST_F(ParletForm, Help_TheNotepadsTenQuestionsWithAnswersOfItsOwn) {
    std::vector<guitest::MessageBoxContents> boxes = guitest::ExpectMessageBoxes([&] { item("Nhelp")->Click(); }, {IDOK});
    ASSERT_EQ(1u, boxes.size());
    const std::string& text = boxes[0].text;
    EXPECT_EQ(std::string(kInputHelpText), text);
    EXPECT_EQ(std::string("软件使用帮助\r\n") + std::string(64, '-') + "\r\n", text.substr(0, 12 + 2 + 64 + 2));
    const std::vector<std::string> questions = questionsOf(text);
    EXPECT_EQ(10u, questions.size());
    EXPECT_EQ(questionsOf(kHelpText), questions);
    EXPECT_NE(std::string(kHelpText), text) << "the answers are parlet's own";
    EXPECT_EQ("Chattuck", boxes[0].caption);
}

TEST_F(ParletForm, About_FromTheMenuAndTheContextMenu) {
    const std::string expected = std::string("★          关于本软件           ★\r\n") + std::string(36, '-') + "\r\n软件名称：Chattuck";
    for (const char* name : {"NAbout", "NNAbout"}) {
        std::vector<guitest::MessageBoxContents> boxes = guitest::ExpectMessageBoxes([&] { item(name)->Click(); }, {IDOK});
        ASSERT_EQ(1u, boxes.size()) << name;
        EXPECT_EQ(expected, boxes[0].text) << name;
    }
}

TEST_F(ParletForm, Dictionary_FromButtonMenuAndContextMenu) {
    for (const char* name : {"BDict", "D1", "NNvoiceDicts"}) {
        SCOPED_TRACE(name);
        Standin::Get().Reset();
        parlettest::BoxProbe probe;
        if (auto* button = dynamic_cast<TBitBtn*>(form->FindComponent(name)))
            SendMessageA(button->Handle(), BM_CLICK, 0, 0);
        else
            item(name)->Click();
        ASSERT_EQ(1u, probe.Boxes().size());
        EXPECT_EQ(std::string(kDictionaryText), probe.Boxes()[0].text);
        EXPECT_NE(std::string::npos, Standin::Get().Log().find("DisplayUI AddRemoveWord Add/Remove Word")) << Standin::Get().Log();
    }
}

TEST_F(ParletForm, MicrophoneTraining_ItsOwnMessageThenTheDialog) {
    Standin::Get().Reset();
    parlettest::BoxProbe probe;
    item("N6")->Click();
    ASSERT_EQ(1u, probe.Boxes().size());
    EXPECT_EQ(std::string("训练识别您的麦克风！"), probe.Boxes()[0].text);
    EXPECT_NE(std::string::npos, Standin::Get().Log().find("DisplayUI MicTraining Microphone Setup")) << Standin::Get().Log();
}

TEST(ParletTexts, UsageTextExactly) {
    EXPECT_EQ(std::string("1.把光标切到要进行输入的窗口中，\r\r 用嘴对着麦克风讲话即可进行输入。\r\r2.请注意保持周围环境的安静无噪音，"
                          "\r\r并尽量用自然平和的普通话朗读。\r\r3.总是不能正确识别的词请用[控制] \r\r---[词典]功能添加。下次即可识别  "
                          "\r\r4.首次使用软件，请进行语音训练 \r\r  点[文件]---[语音训练向导]开始。 \r\r5.详细说明参阅[帮助]--[帮助]菜单。"),
              kUsageText);
}

TEST(ParletTexts, StartupCommandQuotesPathsWithBlanks) {
    struct Row {
        const char* path;
        const char* command;
    };
    const Row rows[] = {
        {"C:\\parlet.exe", "C:\\parlet.exe"},
        {"C:\\Program Files\\parlet.exe", "\"C:\\Program Files\\parlet.exe\""},
        {"C:\\a b\\c d\\parlet.exe", "\"C:\\a b\\c d\\parlet.exe\""},
        {"\\\\server\\share\\parlet.exe", "\\\\server\\share\\parlet.exe"},
        {"", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(row.command, StartupCommand(row.path)) << row.path;
}
