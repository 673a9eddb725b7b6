// Start-up, the dictation points and the buttons of parlet's main form.
#include "FInput.h"

#include "Buttons.h"
#include "ComCtrls.h"
#include "Menus.h"
#include "StdCtrls.h"

namespace {

std::string runningExePath() { return Application->ExeName(); }

}  // namespace

std::string (*TFInput::ExePath)() = runningExePath;

const TClassInfo& TFInput::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFInput>("TFInput", &TDictationForm::StaticClassInfo(), [](TClassBuilder<TFInput>& b) {
        DescribeFrontEnd(b, "SpSharedRecoContext");
        b.Field("BStart", &TFInput::BStart);
        b.Field("BStop", &TFInput::BStop);
        b.Field("BDict", &TFInput::BDict);
        b.Field("BInformaition", &TFInput::BInformaition);
        b.Field("ProgressBar", &TFInput::ProgressBar);
        b.Field("Memo1", &TFInput::Memo1);
        b.Field("MainMenu1", &TFInput::MainMenu1);
        b.Field("PopupMenu1", &TFInput::PopupMenu1);
        b.Handler("FormCreate", &TFInput::FormCreate);
        b.Handler("FormShow", &TFInput::FormShow);
        b.Handler("BStartClick", &TFInput::BStartClick);
        b.Handler("BStopClick", &TFInput::BStopClick);
        b.Handler("BDictClick", &TFInput::BDictClick);
        b.Handler("BInformaitionClick", &TFInput::BInformaitionClick);
        b.Handler("NAutoRunClick", &TFInput::NAutoRunClick);
        b.Handler("NHandRunClick", &TFInput::NHandRunClick);
        b.Handler("NhelpClick", &TFInput::NhelpClick);
        b.Handler("NAboutClick", &TFInput::NAboutClick);
        b.Handler("NNAboutClick", &TFInput::NNAboutClick);
    });
    return info;
}

TFInput::TFInput(TComponent* owner) : TDictationForm(owner) { InitFromResource(); }

void TFInput::FormCreate(TObject*) {
    SetUpRecognizer();
    Application->SetIcon(Icon());
    Application->SetTitle("Chattuck");
    PlaceAtBottomRight();
    Application->SetShowHint(true);
}

void TFInput::FormShow(TObject*) { FirstRunPrompt(); }

void TFInput::DeliverPhrase(const std::wstring& text) { PostTextToFocusedWindow(PhraseToAnsi(text)); }

void TFInput::ShowListeningState(bool started) { SetText(started ? "Chattuck(已开始)" : "Chattuck(已停止)"); }

std::string TFInput::MicrophoneMessage() const { return "训练识别您的麦克风！"; }

void TFInput::BStartClick(TObject*) {
    ShowUsage();
    StartListening();
}

void TFInput::ShowUsage() { Application->MessageBox(kUsageText); }
