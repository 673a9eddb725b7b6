// The skin of a class-library scroll-bar control: one cover (TWScrollbar of kind
// sbkControl) laid over the control, painted from the skin and handing presses to the
// control.  No dispatch row makes one; it comes into use as the skin an OnSkinControl
// handler returns.
//
// Types: TSkinScControl.
#pragma once
#include <memory>

#include "WinSubClassScroll.h"

class TSkinScControl : public TSkinControl {
    CLASS_INFO(TSkinScControl)
public:
    explicit TSkinScControl(TComponent* owner) : TSkinControl(owner) {}
    ~TSkinScControl() override;

    // The dispatch attaches every skin an OnSkinControl handler returns through
    // AttachControl; this skin needs its cover, so that is Attach on the owner (the host).
    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void Unskin() override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    // Keeps the skin data, registers with the form skin, lays the cover over the host and
    // hooks the host's WindowProc.  False when already attached or the host has no window.
    bool Attach(TControl* host, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas);

    std::unique_ptr<TWScrollbar> Bar;
};
