// Start-up, the start button, the choice list's commands, help and about of scrivet's
// main form; delivery into the document is FWordDelivery.cpp's.
#include "FWord.h"

#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "WordCallThread.h"
#include "WordServer.h"

const char* const kWordHelpText =
    "软件使用帮助\r\n"
    "----------------------------------------------------------------\r\n"
    "1. 怎样使用本软件？\r\n"
    "   先点[启动Word]按钮启动Word，把光标放到Word文档中，戴好麦克风对着麦克风讲话，识别出的文字会添加到Word文档的末尾。\r\n"
    "2. 选字框怎样使用？\r\n"
    "   讲话时选字框列出候选字句，双击其中一行即可把它输入到Word中。\r\n"
    "3. 为什么输出的不是中文？\r\n"
    "   请点[文件]--[配置说明]，按网页的说明安装并配置中文语音识别引擎。\r\n"
    "4. 怎样开始和停止语音输入？\r\n"
    "   点[控制]--[开始]开始输入，点[控制]--[停止]暂停输入，窗口标题显示当前状态。\r\n"
    "5. 怎样添加识别不了的词语？\r\n"
    "   点[控制]--[词典]，输入词语并录制发音，下次即可正确识别。\r\n"
    "6. 怎样输入标点符号？\r\n"
    "   直接读出标点的名称，例如“逗号”、“句号”、“问号”。\r\n"
    "7. 怎样把文字直接输入到Word中？\r\n"
    "   先启动Word并把光标放到Word中，然后讲话，识别出的文字会添加到Word文档的末尾。\r\n"
    "8. 本软件可以在哪些Windows上运行？\r\n"
    "   Windows 2000、Windows XP及更新的版本，需安装中文语音识别引擎和Word。\r\n"
    "9. 本软件适合哪些人使用？\r\n"
    "   不熟悉键盘输入的用户、需要大量录入文字的用户以及手部不便的用户。\r\n"
    "10. 怎样才能获得好的识别效果？\r\n"
    "   先运行麦克风训练和语音训练，保持环境安静，用自然平和的语速讲话。";

const char* const kWordAboutText =
    "★          关于本软件           ★\r\n"
    "------------------------------------\r\n"
    "软件名称：Dormel";

const char* const kStartWordMessage = "请先关闭当前word执行此功能！";

const TClassInfo& TFWord::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFWord>("TFWord", &TDictationForm::StaticClassInfo(), [](TClassBuilder<TFWord>& b) {
        DescribeFrontEnd(b, "SpSharedRecoContext1");
        b.Field("Panel1", &TFWord::Panel1);
        b.Field("BStartword", &TFWord::BStartword);
        b.Field("lstHypotheses", &TFWord::lstHypotheses);
        b.Field("ProgressBar", &TFWord::ProgressBar);
        b.Field("Memo1", &TFWord::Memo1);
        b.Field("WordDocu", &TFWord::WordDocu);
        b.Field("WordApp", &TFWord::WordApp);
        b.Field("MainMenu1", &TFWord::MainMenu1);
        b.Field("PopupMenu1", &TFWord::PopupMenu1);
        b.Field("FontDialog1", &TFWord::FontDialog1);
        b.Field("ColorDialog1", &TFWord::ColorDialog1);
        b.Handler("FormCreate", &TFWord::FormCreate);
        b.Handler("FormShow", &TFWord::FormShow);
        b.Handler("FormCloseQuery", &TFWord::FormCloseQuery);
        b.Handler("BStartwordClick", &TFWord::BStartwordClick);
        b.Handler("lstHypothesesDblClick", &TFWord::lstHypothesesDblClick);
        b.Handler("NFontsClick", &TFWord::NFontsClick);
        b.Handler("NColorsClick", &TFWord::NColorsClick);
        b.Handler("NhelpClick", &TFWord::NhelpClick);
        b.Handler("NAboutClick", &TFWord::NAboutClick);
        b.Handler("NNAboutClick", &TFWord::NNAboutClick);
    });
    return info;
}

TFWord::TFWord(TComponent* owner) : TDictationForm(owner) { InitFromResource(); }

void TFWord::FormCreate(TObject*) {
    SetUpRecognizer();
    Application->SetIcon(Icon());
    Application->SetTitle("Dormel");
    PlaceAtBottomRight();
}

void TFWord::FormShow(TObject*) { FirstRunPrompt(); }

void TFWord::ShowListeningState(bool started) { SetText(started ? "Dormel(已开始)" : "Dormel(已停止)"); }

void TFWord::BStartwordClick(TObject*) {
    bool started = false;
    try {
        wordCalls().Run([application = WordApp] {
            application->Disconnect();
            application->Connect();
            application->SetVisible(true);
        }, kWordStartMs);
        started = true;
    } catch (const std::exception&) {
        started = false;
    }
    // Shown outside the handler: the message box runs its own message loop.
    if (!started) {
        Application->MessageBox(kStartWordMessage);
        return;
    }
    AppendKeptPhrases();
}

void TFWord::NFontsClick(TObject*) {
    FontDialog1->Font().Assign(lstHypotheses->Font());
    if (FontDialog1->Execute()) lstHypotheses->Font().Assign(FontDialog1->Font());
}

void TFWord::NColorsClick(TObject*) {
    ColorDialog1->SetColor(lstHypotheses->Color());
    if (ColorDialog1->Execute()) lstHypotheses->SetColor(ColorDialog1->Color());
}

void TFWord::NhelpClick(TObject*) { Application->MessageBox(kWordHelpText); }
void TFWord::NAboutClick(TObject*) { Application->MessageBox(kWordAboutText); }
