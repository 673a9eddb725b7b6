// Registers the classes a stored form may name with the form reader.  Each class's
// description is made the first time it is asked for; asking here makes sure every
// class is known before the first form is read.
#include "Controls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"
#include "Timer.h"

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
}
