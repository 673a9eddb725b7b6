// The dictation front end shared by the three programs' main forms: recognizer set-up
// at form creation, the recognizer's event handlers, start and stop, the recognizer's
// own dialogs, the set-up page and the first-run training prompt.  Each main form
// derives from TDictationForm and supplies only where a phrase goes (DeliverPhrase),
// where the listening state shows (ShowListeningState), the event log (AddProgress) and
// its microphone message; a form with a choice list sets lstHypotheses.
#pragma once
#include <string>

#include "Forms.h"
#include "SpSharedRecoContext.h"

class TListBox;
class TProgressBar;
class TMemo;

class TDictationForm : public TForm {
    CLASS_INFO(TDictationForm)
public:
    explicit TDictationForm(TComponent* owner);

    // Stored components the front end works with (filled by the form reader through the
    // fields each form class registers).
    TSpSharedRecoContext* SpSharedRecoContext = nullptr;
    TListBox* lstHypotheses = nullptr;  // nullptr: the form has no choice list
    TProgressBar* ProgressBar = nullptr;
    TMemo* Memo1 = nullptr;

    SpeechRecoGrammar DictationGrammar;
    std::string SystemDir;

    // Per-program points.
    virtual void DeliverPhrase(const std::wstring& text) = 0;
    virtual void ShowListeningState(bool started) = 0;
    virtual void AddProgress(const std::string& text) {}
    virtual std::string MicrophoneMessage() const;

    // Opens one of the recognizer's own dialogs parented to this form, when the
    // recognizer supports it.
    void ShowEngineUI(const std::wstring& typeOfUI, const std::wstring& title);

    // Commands.
    void StartListening();
    void StopListening();
    void MicrophoneSetup();
    void SpeakerTraining();
    void Dictionary();
    void OpenSetupPage();

    // Menu commands of the two small programs' stored forms (main menu and context menu),
    // bound by name.
    void NSetClick(TObject* Sender) { OpenSetupPage(); }
    void N6Click(TObject* Sender) { MicrophoneSetup(); }
    void N7Click(TObject* Sender) { SpeakerTraining(); }
    void NcloseClick(TObject* Sender) { Close(); }
    void NStartClick(TObject* Sender) { StartListening(); }
    void NStopClick(TObject* Sender) { StopListening(); }
    void D1Click(TObject* Sender) { Dictionary(); }
    void NNStartClick(TObject* Sender) { StartListening(); }
    void NNStopClick(TObject* Sender) { StopListening(); }
    void NNvoiceDictsClick(TObject* Sender) { Dictionary(); }

    // The phrase text of a hypothesis or recognition, converted for the choice list.
    static std::string PhraseToAnsi(const std::wstring& phrase);

    // The form's place: the bottom-right corner of the screen, 30 pixels above its bottom
    // edge (form creation calls it; the skin's first fitting calls it again, see WndProc).
    void PlaceAtBottomRight();

    // Event handlers (bound by name; the word-processor form's context is named
    // SpSharedRecoContext1 and its handlers carry that prefix).
    void SpSharedRecoContextStartStream(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition) {}
    void SpSharedRecoContextEndStream(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition) {}
    void SpSharedRecoContextSoundStart(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition);
    void SpSharedRecoContextSoundEnd(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition);
    void SpSharedRecoContextPhraseStart(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition);
    void SpSharedRecoContextHypothesis(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition, const SpeechRecoResult& Result);
    void SpSharedRecoContextRecognition(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition, const SpeechRecoResult& Result);
    void SpSharedRecoContextFalseRecognition(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition) {}
    void SpSharedRecoContextInterference(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition) {}
    void SpSharedRecoContextRequestUI(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition) {}
    void SpSharedRecoContextRecognitionForOtherContext(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition);
    void SpSharedRecoContextAudioLevel(TObject* Sender, long StreamNumber, const VARIANT& StreamPosition, int AudioLevel);

protected:
    void WndProc(TMessage& message) override;

    // The recognizer set-up of form creation: event interests, grammar 0, dictation on.
    // On any failure: the configuration message, the set-up page, a terminate request.
    // Returns whether the recognizer is ready.
    bool SetUpRecognizer();
    // The first-run prompt of the form's show handler.
    void FirstRunPrompt();
    // The choice list's double-click: the selected line, or nothing.
    bool SelectedChoice(std::string& line) const;

    // Registers the handlers above under the given context prefix.
    template <class T>
    static void DescribeFrontEnd(TClassBuilder<T>& b, const std::string& prefix);

private:
    bool skinFitted_ = false;  // the skin has fitted the frame once
};

// Texts of the front end.
extern const char* const kConfigurationMessage;
extern const char* const kTrainingText;
extern const char* const kDictionaryText;
extern const char* const kMicrophoneMessage;

template <class T>
void TDictationForm::DescribeFrontEnd(TClassBuilder<T>& b, const std::string& prefix) {
    b.Handler(prefix + "StartStream", &T::SpSharedRecoContextStartStream);
    b.Handler(prefix + "EndStream", &T::SpSharedRecoContextEndStream);
    b.Handler(prefix + "SoundStart", &T::SpSharedRecoContextSoundStart);
    b.Handler(prefix + "SoundEnd", &T::SpSharedRecoContextSoundEnd);
    b.Handler(prefix + "PhraseStart", &T::SpSharedRecoContextPhraseStart);
    b.Handler(prefix + "Hypothesis", &T::SpSharedRecoContextHypothesis);
    b.Handler(prefix + "Recognition", &T::SpSharedRecoContextRecognition);
    b.Handler(prefix + "FalseRecognition", &T::SpSharedRecoContextFalseRecognition);
    b.Handler(prefix + "Interference", &T::SpSharedRecoContextInterference);
    b.Handler(prefix + "RequestUI", &T::SpSharedRecoContextRequestUI);
    b.Handler(prefix + "RecognitionForOtherContext", &T::SpSharedRecoContextRecognitionForOtherContext);
    b.Handler(prefix + "AudioLevel", &T::SpSharedRecoContextAudioLevel);
    b.Field(prefix, &T::SpSharedRecoContext);
}
