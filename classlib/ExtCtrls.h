// Panels and splitters.  A panel paints its own face, bevels and caption and lays its
// aligned children out inside its border and bevels.  A splitter is a thin windowed bar
// aligned beside one control; dragging it resizes that control, and the parent then lays
// everything out again.  Timers live in their own file.
//
// Types: TBevelCut, TCustomPanel, TPanel, TResizeStyle, TSplitter, TCanResizeEvent.
#pragma once
#include <windows.h>

#include <functional>

#include "ControlBorder.h"
#include "Controls.h"
#include "StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;
extern const TEnumNames BevelCutNames;

// Draws width nested one-pixel frames, top and left edges in topColor, bottom and right
// edges in bottomColor, and leaves rect inside them.
void Frame3D(TCanvas& canvas, RECT& rect, TColor topColor, TColor bottomColor, int width);

class TCustomPanel : public TBorderedControl<TCustomControl> {
    CLASS_INFO(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel b);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel b);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool v) { fullRepaint_ = v; }

    // Pixels the border and bevels take on each side of the client area.
    int FrameSize() const;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void AlignControls(TControl* control, RECT& rect) override;
    void Paint() override;

    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    bool fullRepaint_ = true;
};

class TPanel : public TCustomPanel {
    CLASS_INFO(TPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// rsUpdate resizes while the mouse moves; rsLine and rsPattern show where the bar will go
// and resize when the button is released; rsNone resizes on release without showing.
enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
extern const TEnumNames ResizeStyleNames;

using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TSplitter : public TCustomControl {
    CLASS_INFO(TSplitter)
public:
    explicit TSplitter(TComponent* owner);
    ~TSplitter() override;

    int MinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = v < 1 ? 1 : v; }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle s) { resizeStyle_ = s; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool v);
    // A neighbour dragged to MinSize or below collapses to 0 when AutoSnap is on.
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool v) { autoSnap_ = v; }

    // The control the splitter resizes: the one touching it on its aligned side.
    TControl* ResizedControl();

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;

    void WndProc(TMessage& message) override;

protected:
    void RequestAlign() override;
    void Paint() override;

private:
    // Point messages arrive in the splitter's client coordinates; the drag works in its
    // parent's, which do not move when the splitter itself moves during an rsUpdate drag.
    POINT toParent(LPARAM lParam) const;
    void onLButtonDown(POINT p);
    void onMouseMove(POINT p);
    void onLButtonUp(POINT p);
    void endDrag(bool apply);
    int calcNewSize(POINT p);
    void applySize(int newSize);
    void drawLine();  // XOR, so drawing twice removes it

    int minSize_ = 30;
    int maxSize_ = 0;
    TResizeStyle resizeStyle_ = rsPattern;
    bool beveled_ = false;
    bool autoSnap_ = true;
    TControl* control_ = nullptr;  // the neighbour being resized, while dragging
    POINT downPos_{0, 0};          // parent coordinates
    int startSize_ = 0;
    int newSize_ = 0;
    int linePos_ = 0;              // parent coordinate of the shown bar
    bool lineVisible_ = false;
    bool dragging_ = false;
};
