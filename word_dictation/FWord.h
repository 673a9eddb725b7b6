// TFWord, the main form of scrivet, the word-processor dictation program.  Until the
// program's own work lands it is the stored window alone: caption, size, stay-on-top
// style and the skin.
#pragma once
#include "Forms.h"

class TFWord : public TForm {
    CLASS_INFO(TFWord)
public:
    explicit TFWord(TComponent* owner);
};
