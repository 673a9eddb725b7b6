// Pure geometry of a skinned frame: border widths from the skin's strips, the client
// rectangle that WM_NCCALCSIZE gives, the hit code that WM_NCHITTEST gives, the rectangles
// the frame painter fills, the caption-button places, which buttons a narrow window keeps,
// the columns of the title and the show rules of caption buttons.  No window and no DC:
// size calculation, hit testing and painting all call these, so they can never disagree.
//
// Coordinates: "frame" means relative to the window's top-left corner.  Every rectangle
// returned here has right >= left and bottom >= top (a window smaller than its borders
// gets empty rectangles, never negative sizes).
//
// Types: FrameMetrics, FrameRects, TitleSpan, ButtonFacts.
#pragma once
#include <windows.h>

namespace skinframe {

// Values of a caption-button definition with a meaning of their own.  The document
// buttons of a maximised MDI child stand in its parent's menu strip (Align), are shown
// while such a child is maximised there and painted by the menu bar (Visibility), and are
// in their state exactly when shown (Visibility1).
constexpr int kAlignInMenuStrip = 100;
constexpr int kVisibleInMenuStrip = 100;
constexpr int kStateAsShown = 100;
// The actions of the buttons that show the window's own icon.
bool IsIconAction(int action);

// The skin's border widths as the form skin holds them.  top is the caption height;
// menuHeight the strip of the skinned menu bar under it.
struct FrameMetrics {
    int left = 0, top = 0, right = 0, bottom = 0, menuHeight = 0;
};

// One cell of a strip of `length` pixels split into `cells` cells.  A count below 1
// counts as 1, a negative length gives 0: a damaged skin never divides by zero.
int CellLength(int length, int cells);

// The client rectangle (in the coordinates of the proposed window rectangle) for a
// window at `window`: inset by the borders and the menu strip, never inverted.
RECT CalcClientRect(const FrameMetrics& m, const RECT& window);

// The hit code of a frame point, given the default procedure's answer.  Answers other
// than HTNOWHERE and HTCAPTION stay.  Otherwise a point below the top 4 rows is caption,
// and a point in the menu strip under the caption is menu; the top 4 rows keep
// the default answer (the sizing edge of a sizeable window).
int CalcHitTest(int defaultHit, POINT framePoint, const FrameMetrics& m);

// What the frame painter fills in a w x h window (frame coordinates).
struct FrameRects {
    RECT left{}, right{}, bottom{};  // the border parts (left and right span the height)
    RECT caption{};                  // between the left and right borders, caption height
    RECT menuBar{};                  // the menu strip under the caption, above the bottom border
    RECT client{};                   // what is left
};
FrameRects CalcFrameRects(const FrameMetrics& m, int w, int h);

// The rectangle of a w x h window with its size normalised (negative sizes become 0).
RECT NormalRect(int left, int top, int right, int bottom);

// The rectangle `fitted` (a window given the skin's size at its old place `before`) moved
// back into the work area `work` when `before` lay wholly inside it and the new size runs
// past the work area's right or bottom edge; never moved past its left or top edge.  A
// window that already reached outside the work area stays where it is.
RECT KeepInWorkArea(const RECT& before, const RECT& fitted, const RECT& work);

// Place of a caption button of cellWidth x cellHeight by its definition's Align.
//  0: (x, y) from the top-left corner; 1: x counted from the right edge to the button's
//  left edge; kAlignInMenuStrip: in the menu strip of a maximised MDI child's parent,
//  right-aligned (or left-aligned for a right-to-left window) past the menu-bar part's
//  margin.  Any other Align is placed as 0 (the references those alignments name are
//  never set).
RECT CalcButtonRect(int align, int xcoord, int ycoord, int cellWidth, int cellHeight, int windowWidth,
                    const FrameMetrics& m, int menuBarMargin, bool rightToLeft);

// Which caption buttons a window `windowWidth` wide shows when its skin's buttons crowd
// it: walking the buttons in `order` (indexes into `bounds`, most wanted first), a button
// is kept when it lies within the window's width and overlaps no button kept before it;
// keep[i] is cleared for the others.  Buttons whose keep[i] is false on entry are left out.
void KeepUncrowdedButtons(const RECT* bounds, const int* order, int count, int windowWidth, bool* keep);

// The columns [left, right) the window title may use in a caption of a window `windowWidth`
// wide.  It starts at TextShift (`textShift`, from the window's left edge), clear of the
// left border and of the visible caption buttons that begin left of that start (the window
// icon); it ends before the first visible caption button to its right, or, with none there,
// at TextRightClip (`rightClip`, from the window's right edge); never over the right
// border.  `buttons` are the bounds of the visible caption buttons in the caption strip.
// right <= left: no room for a title.
struct TitleSpan {
    int left = 0, right = 0;
};
TitleSpan CalcTitleSpan(int textShift, int rightClip, const FrameMetrics& m, int windowWidth, const RECT* buttons,
                        int buttonCount);

// What the show rules of caption buttons look at.
struct ButtonFacts {
    bool maximized = false;
    bool active = true;
    bool maximizeBox = false;
    bool minimizeBox = false;
    bool sysMenu = false;
    bool dialogFrame = false;        // border kind "dialog"
    bool dialogClass = false;        // "#32770" or "TMessageForm"
    bool mdiChildMaximizedInBar = false;  // an MDI child is maximised and a menu bar exists
    int hostAnswer = 0;              // the host's answer to WM_SKINBUTTONVISIBLE
};
// The show condition of a Visibility value.
bool ButtonShown(int visibility, const ButtonFacts& f);
// The state condition of a Visibility1 value; `shown` is the show condition's value.
bool ButtonStateTrue(int visibility1, bool shown, const ButtonFacts& f);
// The action rule: close needs the system menu, maximise a maximise box, minimise a
// minimise box; the icon buttons are hidden on dialog frames.
bool ButtonActionAllowed(int action, const ButtonFacts& f);
// All three together: is the button visible?
bool ButtonVisible(int visibility, int visibility1, int action, const ButtonFacts& f);

// The border kind from style bits and class facts (0 sizeable, 1 fixed, 2 without a full
// caption, 3 dialog).
int CalcBorderKind(DWORD style, DWORD exStyle, bool dialogClass);

// The caption toggle: Windows 2000-style version (major above 4, minor 0), on the NT
// family, for an application window, or one without owner that is not an MDI child.
bool CalcCaptionToggle(int major, int minor, bool win9x, DWORD exStyle, bool hasOwner, bool mdiChild);

}  // namespace skinframe
