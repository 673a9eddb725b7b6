#include "DictationFrontEnd.h"

#include <shellapi.h>

#include "ComCtrls.h"
#include "SkinMessages.h"
#include "StdCtrls.h"
#include "Texts.h"

const char* const kConfigurationMessage =
    "尊敬的用户：由于软件未经配置，将自动关闭。\r\r请点[确定]关闭\"OLE error 8004503A\"的错误提示消息。\r\r"
    "然后按弹出的[配置说明]网页窗口对软件进行配置安装。\r\r配置完毕后再即可点击桌面图标重新启动软件进行使用！";

const char* const kTrainingText =
    "首次使用，请进行语音训练。训练完毕，请点[更多训练]，训练完毕所有示例文章。\r\r"
    "-----------------------------------------------------------------------------------"
    "\r\r只有这样，系统才可以有效的分析您的声音特点，更好的识别您的声音。";

const char* const kDictionaryText =
    "将不能识别的人名，地名和词语输入到词典中。\r\r点[录制发音]按钮，对着麦克风读一遍输入的词语。\r\r"
    "系统即可记忆住这个词语，在下次输入时可正确识别。";

const char* const kMicrophoneMessage =
    "麦克风向导：请在第一次使用本软件前运行，根据提示一步步的进行，以使系统识别您所使用的麦克风。";

namespace {
constexpr SpeechRecoEvents kAllEvents = static_cast<SpeechRecoEvents>(0x5FFFF);
const char* const kMarkerName = "\\tallowmere.ini";
const char* const kSetupPage = "\\read\\read.htm";
}  // namespace

const TClassInfo& TDictationForm::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TDictationForm>("TDictationForm", &TForm::StaticClassInfo(), [](TClassBuilder<TDictationForm>& b) {
            b.Handler("NSetClick", &TDictationForm::NSetClick);
            b.Handler("N6Click", &TDictationForm::N6Click);
            b.Handler("N7Click", &TDictationForm::N7Click);
            b.Handler("NcloseClick", &TDictationForm::NcloseClick);
            b.Handler("NStartClick", &TDictationForm::NStartClick);
            b.Handler("NStopClick", &TDictationForm::NStopClick);
            b.Handler("D1Click", &TDictationForm::D1Click);
            b.Handler("NNStartClick", &TDictationForm::NNStartClick);
            b.Handler("NNStopClick", &TDictationForm::NNStopClick);
            b.Handler("NNvoiceDictsClick", &TDictationForm::NNvoiceDictsClick);
        });
    return info;
}

TDictationForm::TDictationForm(TComponent* owner) : TForm(owner) {}

std::string TDictationForm::MicrophoneMessage() const { return kMicrophoneMessage; }

void TDictationForm::PlaceAtBottomRight() {
    SetBounds(Screen->Width() - Width(), Screen->Height() - Height() - 30, Width(), Height());
}

void TDictationForm::WndProc(TMessage& message) {
    TForm::WndProc(message);
    // The skin engine tells the window each time it has applied the skin.  Its first
    // fitting resizes the frame to the skin's borders and keeps the top-left corner, so
    // the form would leave its corner by the difference: it takes its place again, once
    // (a later re-application must not move a window the user has moved since).
    if (message.Msg == CN_SKINNOTIFY && message.LParam == kSkinMarker && !skinFitted_) {
        skinFitted_ = true;
        if (WindowState() == wsNormal) PlaceAtBottomRight();
    }
}

std::string TDictationForm::PhraseToAnsi(const std::wstring& phrase) { return texts::WideToAnsi(phrase); }

bool TDictationForm::SetUpRecognizer() {
    bool ready = false;
    try {
        if (!SpSharedRecoContext) throw Exception("The form has no recognition context");
        SpSharedRecoContext->SetEventInterests(kAllEvents);
        DictationGrammar = SpSharedRecoContext->CreateGrammar(0);
        DictationGrammar.DictationSetState(1);
        ready = true;
    } catch (const std::exception&) {
        ready = false;
    }
    // Shown outside the handler: the message box runs its own message loop.
    if (!ready) {
        Application->MessageBox(kConfigurationMessage);
        OpenSetupPage();
        Application->Terminate();
    }
    return ready;
}

void TDictationForm::OpenSetupPage() {
    std::string exe = Application->ExeName();
    size_t slash = exe.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string() : exe.substr(0, slash);
    std::string page = folder + kSetupPage;
    ShellExecuteA(Handle(), nullptr, page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TDictationForm::ShowEngineUI(const std::wstring& typeOfUI, const std::wstring& title) {
    if (!SpSharedRecoContext) return;
    if (!SpSharedRecoContext->Recognizer().IsUISupported(typeOfUI)) return;
    SpSharedRecoContext->Recognizer().DisplayUI(Handle(), title, typeOfUI);
}

void TDictationForm::StartListening() {
    SpSharedRecoContext->Resume();
    ShowListeningState(true);
}

void TDictationForm::StopListening() {
    SpSharedRecoContext->Pause();
    ShowListeningState(false);
}

void TDictationForm::MicrophoneSetup() {
    Application->MessageBox(MicrophoneMessage());
    ShowEngineUI(L"MicTraining", L"Microphone Setup");
}

void TDictationForm::SpeakerTraining() {
    Application->MessageBox(kTrainingText);
    ShowEngineUI(L"UserTraining", L"Speaker Training");
}

void TDictationForm::Dictionary() {
    Application->MessageBox(kDictionaryText);
    ShowEngineUI(L"AddRemoveWord", L"Add/Remove Word");
}

void TDictationForm::FirstRunPrompt() {
    char buffer[256] = {};
    GetSystemDirectoryA(buffer, sizeof buffer);
    SystemDir = std::string(buffer);  // up to the first NUL
    const std::string marker = SystemDir + kMarkerName;
    if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    Application->MessageBox(kTrainingText);
    ShowEngineUI(L"UserTraining", L"Speaker Training");
    if (Memo1) Memo1->Lines().SaveToFile(marker);
}

bool TDictationForm::SelectedChoice(std::string& line) const {
    if (!lstHypotheses) return false;
    int i = lstHypotheses->ItemIndex();
    if (i < 0 || i >= lstHypotheses->Items().Count()) return false;
    line = lstHypotheses->Items()[i];
    return true;
}

void TDictationForm::SpSharedRecoContextSoundStart(TObject*, long, const VARIANT&) { AddProgress("OnSoundStart"); }
void TDictationForm::SpSharedRecoContextSoundEnd(TObject*, long, const VARIANT&) { AddProgress("OnSoundEnd"); }

void TDictationForm::SpSharedRecoContextPhraseStart(TObject*, long, const VARIANT&) {
    AddProgress("OnPhraseStart");
    if (lstHypotheses) lstHypotheses->Items().Clear();
}

void TDictationForm::SpSharedRecoContextHypothesis(TObject*, long, const VARIANT&, const SpeechRecoResult& Result) {
    if (!lstHypotheses) return;
    lstHypotheses->Items().Add(PhraseToAnsi(Result.PhraseText()));
    lstHypotheses->SetItemIndex(lstHypotheses->Items().Count() - 1);
}

void TDictationForm::SpSharedRecoContextRecognition(TObject*, long, const VARIANT&, const SpeechRecoResult& Result) {
    DeliverPhrase(Result.PhraseText());
}

void TDictationForm::SpSharedRecoContextRecognitionForOtherContext(TObject*, long, const VARIANT&) {
    AddProgress("OnRecognitionForOtherContext");
}

void TDictationForm::SpSharedRecoContextAudioLevel(TObject*, long, const VARIANT&, int AudioLevel) {
    if (ProgressBar) ProgressBar->SetPosition(AudioLevel);
}
