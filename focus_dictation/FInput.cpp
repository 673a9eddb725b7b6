#include "FInput.h"

const TClassInfo& TFInput::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFInput>("TFInput", &TForm::StaticClassInfo(), [](TClassBuilder<TFInput>&) {});
    return info;
}

TFInput::TFInput(TComponent* owner) : TForm(owner) { InitFromResource(); }
