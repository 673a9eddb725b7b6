// Controls without a window of their own: TGraphicControl lies on its windowed parent,
// which paints it (TWinControl::PaintControls) and hands it the mouse input that falls
// on it (ControlsMouse.cpp).  TControlCanvas is its canvas: the DC of a paint cycle, or
// on demand a DC of the parent's window moved and clipped to the control.
//
// Types: TControlCanvas, TGraphicControl.
#pragma once
#include <windows.h>

#include "Controls.h"

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    TControlCanvas(const TControlCanvas&) = delete;
    TControlCanvas& operator=(const TControlCanvas&) = delete;

    // Painting in progress: a DC made on demand stays until the last Unlock.
    void Lock() { ++lockCount_; }
    void Unlock();
    int LockCount() const { return lockCount_; }
    // Lets go of the DC, releasing it when the canvas made it.
    void FreeHandle();

protected:
    // A DC of the parent's window whose origin is the control's top-left corner, clipped
    // to the control; none while the parent has no window.
    void CreateHandle() override;

private:
    TControl* control_;
    HWND dcWindow_ = nullptr;  // the window ownedDc_ belongs to
    HDC ownedDc_ = nullptr;
    int lockCount_ = 0;
};

class TGraphicControl : public TControl {
    CLASS_INFO(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TControlCanvas& Canvas() { return canvas_; }
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    // Invalidates the control's rectangle on the parent's window.
    void Invalidate() override;
    void Update() override;
    // While set, the parent's window holds the mouse capture and hands every mouse
    // message to this control (set by a left-button press, cleared by its release).
    bool MouseCapture() const;
    void SetMouseCapture(bool on);

    void WndProc(TMessage& message) override;

protected:
    // Draws the control on Canvas(), in its own client coordinates.
    virtual void Paint() {}
    void parentWindowGone() override { canvas_.FreeHandle(); }
    // Invalidates rect (client coordinates of the parent) on the parent's window.
    void invalidateOnParent(const RECT& rect);

    TControlCanvas canvas_;
};
