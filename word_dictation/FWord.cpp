#include "FWord.h"

const TClassInfo& TFWord::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TFWord>("TFWord", &TForm::StaticClassInfo(), [](TClassBuilder<TFWord>&) {});
    return info;
}

TFWord::TFWord(TComponent* owner) : TForm(owner) { InitFromResource(); }
