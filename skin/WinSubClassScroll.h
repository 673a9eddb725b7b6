// Scroll-bar covers: the platform paints the scroll bars of a scrolling window itself and
// gives a skin no hook for them, so a small borderless window of our own (TWScrollbar)
// lies over each native bar, a sibling of the scrolled window placed exactly over the bar,
// painted from the skin, and handing every press to the native bar so that the platform
// keeps doing the scrolling.  TSkinScrollbar owns the two covers of a class-library
// control (list boxes, memos, rich edits), TSkinScrollbarH those of a raw window (the
// list of a simple combo box).
//
// Types: TWScrollbar, TSkinScrollbar, TSkinScrollbarH; the pure geometry of a bar
// (ScrollHitTest, ScrollDragThumb, ScrollArrowSize, ScrollThickness).
//
// A cover of kind sbkControl lies over a scroll-bar control (the skin that owns it is in
// WinSubClassScControl.h); the list view's skin is in WinSubClassListView.h.
#pragma once
#include <windows.h>

#include <memory>

#include "ExtCtrls.h"
#include "WinSubClass.h"

// Scroll parts, as the platform's SB_ codes; -1 none.
enum : int {
    spNone = -1,
    spFirstArrow = SB_LINEUP,
    spSecondArrow = SB_LINEDOWN,
    spPageBefore = SB_PAGEUP,
    spPageAfter = SB_PAGEDOWN,
    spThumb = SB_THUMBTRACK,
};

// Which bar a cover lies over: a window's own bars, or a scroll-bar control.
enum : int { sbkHorizontal = 0, sbkVertical = 1, sbkControl = 2 };

// ---- pure geometry (positions along the bar, in pixels from its start) ----

// The part under position p of a bar of barLength pixels whose arrows are arrow long and
// whose thumb spans [thumbStart, thumbEnd).  The full arrow length is used even where the
// painter halves the arrows of a short bar.
int ScrollHitTest(int p, int arrow, int thumbStart, int thumbEnd, int barLength);
// Where the thumb goes while it is dragged: pressStart moved by the pointer's travel, kept
// between the arrows (the lower bound is applied first, so on a bar too short for the
// thumb the upper bound wins); the thumb keeps its length.
struct TThumbSpan {
    int Start, End;
};
TThumbSpan ScrollDragThumb(int pressStart, int travel, TThumbSpan old, int arrow, int barLength);
// The thumb of a scroll-bar control of barLength pixels from its scroll values: with a
// page, a thumb of (barLength - 2 arrows) x (page - 1) / range; without one, an arrow
// long.  Starts at the arrow when pos is min.  A zero range gives MulDiv's -1 (no thumb).
TThumbSpan ScrollControlThumb(int barLength, int arrow, int pos, int min, int max, int page);
// The painted arrow length: the arrow, or half the bar when it is shorter than two arrows.
int ScrollArrowSize(int arrow, int barLength);
// The painted thickness: the skin strip's height, unless it differs from the system's
// arrow length by more than 2 pixels.
int ScrollThickness(int imageHeight, int arrow);

class TWScrollbar : public TCustomPanel {
    CLASS_INFO(TWScrollbar)
public:
    explicit TWScrollbar(TComponent* owner);

    // Lays the cover over the host's horizontal (sbkHorizontal) or vertical bar.
    void AttachControl(TSkinControl* ownerSkin, TControl* host, int kind);
    // The same for a raw window.
    void AttachWindow(TSkinControl* ownerSkin, HWND window, int kind);
    // Reads the bar's geometry and places and shows the cover over it, or hides it; a
    // failed read leaves the cover where and as it was.
    void UpdateBar(HWND window);
    void HideBar();
    int HitTest(POINT p) const;
    void DragThumb();
    void WndProc(TMessage& message) override;

    // ---- fields ----
    int BarLength = 0;
    int ThumbStart = 0, ThumbEnd = 0;
    POINT BarOrigin{};   // the bar's top-left corner, screen coordinates
    POINT PressCursor{}; // the cursor at the last press, screen coordinates
    int PressThumbStart = 0;
    bool Tracking = false;  // a press is being handed to the native bar
    int Orientation = sbkHorizontal;
    int ActivePart = spNone;
    int ArrowLength = 0;  // SM_CXHSCROLL at construction
    HWND ScrolledWindow = nullptr;
    TControl* Host = nullptr;
    TSkinControl* OwnerSkin = nullptr;
    int Kind = sbkHorizontal;
    RECT BarRect{};  // the bar in the scrolled window's client coordinates
    bool Shown = false;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    bool readGeometry(SCROLLBARINFO& info) const;
    // The bar (screen) lies wholly within the window: the window has room to show it.
    static bool barFitsWindow(HWND window, const RECT& bar);
    // Kind sbkControl: the control's bounds (parent client coordinates) and the thumb from
    // the platform's scroll values; forPress: its client area on screen and the thumb from
    // the host's published Position, Min, Max and PageSize.
    bool readControlGeometry(SCROLLBARINFO& info, bool forPress) const;
    void drawBar(HDC dc);
    void onLButtonDown(TMessage& message);
    void onLButtonUp(TMessage& message);
    void onMouseMove(TMessage& message);
    void place(HWND parent);
};

// The covers of a scrolling class-library control, and its own thin frame.
class TSkinScrollbar : public TSkinControl {
    CLASS_INFO(TSkinScrollbar)
public:
    explicit TSkinScrollbar(TComponent* owner);
    ~TSkinScrollbar() override;

    void Unskin() override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
    void UpdateSkin() override;
    bool AttachScrolling(TControl* control, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) override;

    void UpdateBars();
    void PaintBorder(HDC dc);
    void DrawBorder(HDC dc, const RECT& rect);

    std::unique_ptr<TWScrollbar> HorzBar, VertBar;
    bool OwnBorder = false;

private:
    void freeBars();
};

// The covers of a raw window's bars.
class TSkinScrollbarH : public TSkinControl {
    CLASS_INFO(TSkinScrollbarH)
public:
    explicit TSkinScrollbarH(TComponent* owner);
    ~TSkinScrollbarH() override;

    void AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) override;
    void Unskin() override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    void UpdateBars();

    std::unique_ptr<TWScrollbar> HorzBar, VertBar;

private:
    void freeBars();
};
