// The skins of bar-like controls: the status bar, group box and panel (WinSubClassBars.cpp)
// and the track bar, up-down and progress bar (WinSubClassBarsRange.cpp).  Each derives
// from TSkinControl and only overrides the operations it needs; the message path, attach,
// detach and the shared drawing helpers are the base's.  The layout arithmetic the
// painters use is in WinSubClassBarsLayout.h.
//
// Types: TSkinStatusBar, TSkinGroupBox, TSkinBox, TSkinTrackBar, TSkinUpDown, TSkinProgress.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "ComCtrls.h"
#include "WinSubClass.h"
#include "WinSubClassBarsLayout.h"

class TDataSkinObject;

// ---- status bar, group box, panel ---------------------------------------------------

// Paints a class-library status bar completely: face, simple text or panels with their
// bevels and texts, size grip, then the bar's graphic children and its OnDrawPanel.
class TSkinStatusBar : public TSkinControl {
    CLASS_INFO(TSkinStatusBar)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

private:
    // What the skin paints of a panel whose text changed (the whole bar for the simple
    // text): the bar's own invalidation covers the part as it was laid out, not the face.
    void invalidateText(int index);
    // Bevel code 1 lowered, 2 raised, 3 none; from [StatusBarEdges] or drawn flat.
    void drawFace(TCanvas& canvas, const RECT& rect, int code);
    void drawSizeGrip(HDC dc, const RECT& bar);
    void callDrawPanel(HDC dc, bool simple);
};

// The rounded frame of a group box (and radio or check group) in the skin's shadow
// colour, with the caption on it.
class TSkinGroupBox : public TSkinControl {
    CLASS_INFO(TSkinGroupBox)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
};

// Gives panels, navigators and embedded forms the skin's face colour.  It hooks no message:
// the host keeps painting itself, in the new colour.
class TSkinBox : public TSkinControl {
    CLASS_INFO(TSkinBox)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void Unskin() override;
    void AfterMessage(TMessage&) override {}
};

// ---- track bar, up-down, progress bar -----------------------------------------------

// Draws a class-library track bar's channel and thumb through the control's custom-draw
// notices (reflected to it as CN_NOTIFY); the tick marks stay the control's own.
class TSkinTrackBar : public TSkinControl {
    CLASS_INFO(TSkinTrackBar)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void UpdateSkin() override;
    // The answer to one NM_CUSTOMDRAW notice of this track bar.
    LRESULT CustomDraw(const NMCUSTOMDRAW& draw);

private:
    // Both return false when they drew nothing (the control then draws its own).
    bool paintChannel(HDC dc);
    bool paintThumb(HDC dc);
};

// Paints an up-down control as two arrow buttons from [UpDown.Vert] or [UpDown.Horz], or
// flat ones when the skin has no such section.
class TSkinUpDown : public TSkinControl {
    CLASS_INFO(TSkinUpDown)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    // The up-down sits inside the frame of its buddy edit (set by the edit skin after
    // attaching): the drawing keeps 3 pixels inside the edit's frame.
    bool BuddyMode = false;

private:
    // One button of the up-down on the work bitmap's canvas: arrow 0 up, 1 down, 2 left,
    // 3 right; state 1 normal, 2 pressed, 3 disabled, 4 hot.
    void paintButton(TCanvas& canvas, const RECT& rect, int arrow, int state);
};

// Paints a progress bar from [Progress] (track and bar cells), or with [Progress] Style 1
// from [Progress] as background and [Progress.Chunk] as the bar.
class TSkinProgress : public TSkinControl {
    CLASS_INFO(TSkinProgress)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

private:
    // The skin has what the bar's style needs; otherwise the control paints itself.
    bool canPaint() const;
    void paintChunks(HDC dc, const RECT& rect);
};
