// Two fills of raw windows inside skinned dialogs: the size box of a dialog (a raw
// "scrollbar" with SBS_SIZEGRIP or SBS_SIZEBOX) and a dialog nested in another dialog,
// both given the skin's face colour.
//
// Types: TSkinSizer, TSkinBoxH; IsSizeGripStyle.
#pragma once
#include <windows.h>

#include "WinSubClass.h"

// True for the style of a raw "scrollbar" that is a size box or size grip; any other
// scroll bar is a real one and must keep its own painting.
bool IsSizeGripStyle(LONG_PTR style);

class TSkinSizer : public TSkinControl {
    CLASS_INFO(TSkinSizer)
public:
    explicit TSkinSizer(TComponent* owner);

    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
};

class TSkinBoxH : public TSkinControl {
    CLASS_INFO(TSkinBoxH)
public:
    explicit TSkinBoxH(TComponent* owner);

    bool BeforeMessage(TMessage& message) override;
};
