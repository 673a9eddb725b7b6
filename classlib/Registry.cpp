// Registers the classes a stored form may name with the form reader.  Each class's
// description is made the first time it is asked for; asking here makes sure every
// class is known before the first form is read.
#include "Buttons.h"
#include "ComCtrls.h"
#include "Controls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "MPlayer.h"
#include "Menus.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "Tabs.h"
#include "Timer.h"
#include "SpSharedRecoContext.h"
#include "WordServer.h"

void RegisterControlClasses() {
    TForm::StaticClassInfo();
    TMainMenu::StaticClassInfo();
    TPopupMenu::StaticClassInfo();
    TMenuItem::StaticClassInfo();
    TTimer::StaticClassInfo();
    TOpenDialog::StaticClassInfo();
    TSaveDialog::StaticClassInfo();
    TFontDialog::StaticClassInfo();
    TColorDialog::StaticClassInfo();
    TFindDialog::StaticClassInfo();
    TReplaceDialog::StaticClassInfo();
    TPrinterSetupDialog::StaticClassInfo();
    TSpSharedRecoContext::StaticClassInfo();
    TWordApplication::StaticClassInfo();
    TWordDocument::StaticClassInfo();
    TEdit::StaticClassInfo();
    TMemo::StaticClassInfo();
    TListBox::StaticClassInfo();
    TButton::StaticClassInfo();
    TCheckBox::StaticClassInfo();
    TRadioButton::StaticClassInfo();
    TGroupBox::StaticClassInfo();
    TComboBox::StaticClassInfo();
    TScrollBar::StaticClassInfo();
    TBitBtn::StaticClassInfo();
    TSpeedButton::StaticClassInfo();
    TPanel::StaticClassInfo();
    TSplitter::StaticClassInfo();
    TProgressBar::StaticClassInfo();
    TStatusBar::StaticClassInfo();
    TStatusPanel::StaticClassInfo();
    TTrackBar::StaticClassInfo();
    TUpDown::StaticClassInfo();
    TTabControl::StaticClassInfo();
    TPageControl::StaticClassInfo();
    TTabSheet::StaticClassInfo();
    TListView::StaticClassInfo();
    TListColumn::StaticClassInfo();
    THeaderControl::StaticClassInfo();
    THeaderSection::StaticClassInfo();
    TDateTimePicker::StaticClassInfo();
    TMediaPlayer::StaticClassInfo();
    TTabSet::StaticClassInfo();
    TTabbedNotebook::StaticClassInfo();
    TTabPage::StaticClassInfo();
    TRichEdit::StaticClassInfo();
}
