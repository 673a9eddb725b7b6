// parlet's commands that are more than a call of the front end: auto-start with Windows
// through the registry, and the help, usage and about boxes.
#include "FInput.h"

#include "WinRegistry.h"

const char* const kProgramKey = "SOFTWARE\\glassmoth";
const char* const kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunValue = "sayloom";

const char* const kAutoRunOnMessage = "开机自动运行设置成功！";
const char* const kAutoRunOffMessage = "作者提示：开机手动运行设置成功！";

// The blanks inside and at the ends of the lines are part of the text.
const char* const kUsageText =
    "1.把光标切到要进行输入的窗口中，\r\r"
    " 用嘴对着麦克风讲话即可进行输入。\r\r"
    "2.请注意保持周围环境的安静无噪音，\r\r"
    "并尽量用自然平和的普通话朗读。\r\r"
    "3.总是不能正确识别的词请用[控制] \r\r"
    "---[词典]功能添加。下次即可识别  \r\r"
    "4.首次使用软件，请进行语音训练 \r\r"
    "  点[文件]---[语音训练向导]开始。 \r\r"
    "5.详细说明参阅[帮助]--[帮助]菜单。";

const char* const kInputHelpText =
    "软件使用帮助\r\n"
    "----------------------------------------------------------------\r\n"
    "1. 怎样使用本软件？\r\n"
    "   先把光标放到要输入文字的窗口中（记事本、Word、聊天窗口等），再对着麦克风用普通话讲话，识别出的文字会输入到光标处。\r\n"
    "2. 选字框怎样使用？\r\n"
    "   本软件没有选字框，识别出的文字直接输入到光标处；有错字时请在该窗口中直接修改。\r\n"
    "3. 为什么输出的不是中文？\r\n"
    "   请点[文件]--[配置说明]，按网页的说明安装并配置中文语音识别引擎。\r\n"
    "4. 怎样开始和停止语音输入？\r\n"
    "   点[开始]、[停止]按钮，或[控制]菜单、右键菜单中的同名命令，窗口标题显示当前状态。\r\n"
    "5. 怎样添加识别不了的词语？\r\n"
    "   点[词典]按钮或[控制]--[词典]，输入词语并录制发音，下次即可正确识别。\r\n"
    "6. 怎样输入标点符号？\r\n"
    "   直接读出标点的名称，例如“逗号”、“句号”、“问号”。\r\n"
    "7. 怎样把文字直接输入到Word中？\r\n"
    "   把光标放到Word文档中要输入的位置再讲话即可；也可使用本系列的Word语音输入程序。\r\n"
    "8. 本软件可以在哪些Windows上运行？\r\n"
    "   Windows 2000、Windows XP及更新的版本，需安装中文语音识别引擎。\r\n"
    "9. 本软件适合哪些人使用？\r\n"
    "   不熟悉键盘输入的用户、需要在各种软件中大量录入文字的用户以及手部不便的用户。\r\n"
    "10. 怎样才能获得好的识别效果？\r\n"
    "   先点[文件]--[麦克风训练]和[语音训练向导]，保持环境安静，用自然平和的语速讲话。";

const char* const kInputAboutText =
    "★          关于本软件           ★\r\n"
    "------------------------------------\r\n"
    "软件名称：Chattuck";

namespace {

// Auto-start on and off write the same keys: the program's own key (left empty) and the
// start-up value, which stays when auto-start is off, holding nothing.  A refusal raises
// the registry's error, which the application reports; no success message follows.
void writeStartupValue(const std::string& value) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.CreateKey(kProgramKey);
    reg.OpenKey(kRunKey, true);
    reg.WriteString(kRunValue, value);
    reg.CloseKey();
}

}  // namespace

std::string StartupCommand(const std::string& exePath) {
    if (exePath.find(' ') == std::string::npos) return exePath;
    return "\"" + exePath + "\"";
}

void TFInput::NAutoRunClick(TObject*) {
    writeStartupValue(StartupCommand(ExePath()));
    Application->MessageBox(kAutoRunOnMessage);
}

void TFInput::NHandRunClick(TObject*) {
    writeStartupValue(std::string());
    Application->MessageBox(kAutoRunOffMessage);
}

void TFInput::NhelpClick(TObject*) { Application->MessageBox(kInputHelpText); }
void TFInput::NAboutClick(TObject*) { Application->MessageBox(kInputAboutText); }
