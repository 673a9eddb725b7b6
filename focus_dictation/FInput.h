// TFInput, the main form of parlet, the focused-window dictation program.  Until the
// program's own work lands it is the stored window alone: caption, size, stay-on-top
// style and the skin.
#pragma once
#include "Forms.h"

class TFInput : public TForm {
    CLASS_INFO(TFInput)
public:
    explicit TFInput(TComponent* owner);
};
