// TFWord, the main form of scrivet, the word-processor dictation program: the shared
// dictation front end whose recognised phrases, and the lines chosen from its choice
// list, are appended to the end of a word-processor document; the start button that
// starts or attaches to the word processor and shows it; the choice list's font and
// colour; help and about.
#pragma once
#include <string>

#include "DictationFrontEnd.h"

class TPanel;
class TButton;
class TWordDocument;
class TWordApplication;
class TMainMenu;
class TPopupMenu;
class TFontDialog;
class TColorDialog;

class TFWord : public TDictationForm {
    CLASS_INFO(TFWord)
public:
    explicit TFWord(TComponent* owner);

    TPanel* Panel1 = nullptr;
    TButton* BStartword = nullptr;
    TWordDocument* WordDocu = nullptr;
    TWordApplication* WordApp = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TFontDialog* FontDialog1 = nullptr;
    TColorDialog* ColorDialog1 = nullptr;

    // Per-program points of the dictation front end.
    void DeliverPhrase(const std::wstring& text) override;
    void ShowListeningState(bool started) override;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void BStartwordClick(TObject* Sender);
    void lstHypothesesDblClick(TObject* Sender);

    // Menus.
    void NSetClick(TObject* Sender) { OpenSetupPage(); }
    void N6Click(TObject* Sender) { MicrophoneSetup(); }
    void N7Click(TObject* Sender) { SpeakerTraining(); }
    void NcloseClick(TObject* Sender) { Close(); }
    void NStartClick(TObject* Sender) { StartListening(); }
    void NStopClick(TObject* Sender) { StopListening(); }
    void D1Click(TObject* Sender) { Dictionary(); }
    void NFontsClick(TObject* Sender);
    void NColorsClick(TObject* Sender);
    void NhelpClick(TObject* Sender);
    void NAboutClick(TObject* Sender);
    void NNStartClick(TObject* Sender) { StartListening(); }
    void NNStopClick(TObject* Sender) { StopListening(); }
    void NNvoiceDictsClick(TObject* Sender) { Dictionary(); }
    void NNAboutClick(TObject* Sender) { NAboutClick(Sender); }

    // Appends text after the last character of the document.  When the document the
    // form is bound to no longer answers (closed, or its word processor ended), it binds
    // again, running or new, and appends once more; only when that fails too does it
    // raise, with a message that names the text that could not be appended.
    void AppendToDocument(const std::wstring& text);
};

// Texts of the program.
extern const char* const kWordHelpText;
extern const char* const kWordAboutText;
extern const char* const kStartWordMessage;
