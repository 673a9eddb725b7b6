// The drawing primitives every skin painter shares: cutting one cell out of an image
// strip and rendering it nine-slice (or three-slice for bars) at any size, tiling,
// colour-keyed drawing, window regions from the magenta pixels of a bitmap, the parent's
// background under a control, wide or ANSI text drawing, the window-to-control lookup,
// the platform flags and the optional user32 entry points, and the shared off-screen
// bitmap.  The bitmap and colour utilities are in ImgUtil.h.
//
// Strips: an image holds `cells` equal cells side by side (or stacked when vertical),
// numbered from 1.  Every primitive treats cells < 1 as 1, clamps cell into 1..cells,
// keeps margins inside the cell, draws nothing for an empty image and draws nothing into
// a rectangle whose right is left of its left or whose bottom is above its top.
//
// Types: TSkinMargins, StripAxis, CentreFill, Keying.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Bitmap.h"
#include "Graphics.h"
#include "Handles.h"

class TControl;

// Pixels of a cell kept at their size at each edge when the cell is scaled.
struct TSkinMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

enum class StripAxis { Horizontal, Vertical };  // cells side by side, or stacked
enum class CentreFill { Stretch, Tile };        // how the middle of a nine-slice part is filled
enum class Keying { Opaque, Magenta };          // Magenta: 0xFF00FF pixels leave the target alone

// The magenta key colour of skin images and window regions.
constexpr TColor kSkinKeyColour = 0xFF00FF;

// A scratch bitmap of w x h; empty when the platform cannot make one (painting then
// leaves that element out instead of failing).
std::unique_ptr<TBitmap> ScratchBitmap(int w, int h);

// Cell `cell` of the strip rendered nine-slice into a new bitmap the size of `size`
// (its left and top do not matter).  A reversed or empty size gives an empty bitmap.
std::unique_ptr<TBitmap> RenderSkinPart(const RECT& size, TBitmap& image, const TSkinMargins& margins, StripAxis axis,
                                        CentreFill fill, int cells, int cell);
// RenderSkinPart drawn at rect, opaque or keyed on magenta.
void DrawSkinPart(HDC dc, const RECT& rect, TBitmap& image, StripAxis axis, CentreFill fill, Keying keying, int cells,
                  int cell, const TSkinMargins& margins);
// Three-slice bar: left and right margins at their size, the middle repeated at its own
// width and stretched to the height.
void DrawSkinPartH(TCanvas& canvas, const RECT& rect, TBitmap& image, StripAxis axis, Keying keying, int cells, int cell,
                   const TSkinMargins& margins);
// One cell of a horizontal strip stretched into rect.
void DrawStripCellStretched(HDC dc, const RECT& rect, TBitmap& image, Keying keying, int cells, int cell);
// One cell at its own size, centred in rect (it may stick out of a smaller rect).
void DrawStripCellCentered(HDC dc, const RECT& rect, TBitmap& image, Keying keying, int cells, int cell);
// Three-slice stretch straight onto the DC (left and right margins); a rect narrower than
// the cell gets the whole cell stretched.
void StretchSkinPart(HDC dc, const RECT& rect, TBitmap& image, const TSkinMargins& margins, StripAxis axis, int cells,
                     int cell);
// The source rectangle of the image repeated over dest, columns then rows; the last
// column and row are drawn whole (the canvas's own size cuts them).
void TileBitmap(TCanvas& canvas, const RECT& dest, TBitmap& image, const RECT& source);
// The bitmap at rect's top left (at most rect's size, unscaled), leaving the target
// alone where the bitmap has the key colour.
void DrawTransparentBitmap(HDC dc, const RECT& rect, TBitmap& bitmap, TColor key);
// One cell of a horizontal strip stretched to w x h, with the mask of its magenta pixels
// made once: drawing it keyed again costs one blit (caption buttons repaint on every
// activation and hover).  Empty when the image or the size is.
struct TKeyedPicture {
    std::unique_ptr<TBitmap> picture;
    UniqueBitmap mask;
    bool Empty() const { return !picture || picture->Empty() || !mask; }
};
TKeyedPicture RenderStripCellKeyed(TBitmap& image, int cells, int cell, int w, int h);
// The picture with its top-left corner at (x, y), leaving the target alone where the
// picture has the key colour.  Its memory DC is given up afterwards.
void DrawKeyedPicture(HDC dc, int x, int y, TKeyedPicture& picture);
// A region of the bitmap's pixels that are not the key colour (each channel from the
// key's value up to key + tolerance counts as key), shifted by (dx, dy); owned by the
// caller, never null unless the platform fails.  The bitmap is converted to pf32bit.
HRGN CreateRegionFromBitmap(TBitmap& bitmap, int dx, int dy, int redTolerance, int greenTolerance, int blueTolerance,
                            TColor key);
// Has the control's parent paint its background and content into dc, positioned so that
// the control's client area shows what lies under it.  Nothing without a parent.
void PaintParentBackground(TControl* control, HDC dc);

// Text through DrawTextW on the NT family, else through DrawTextA in the system code
// page; returns what the platform call returns (the text height).
int SkinDrawText(HDC dc, const std::wstring& text, RECT& rect, UINT format);
std::wstring AnsiToWide(const std::string& text);  // CP_ACP
// count -1: up to the terminating zero; otherwise the first count characters.
std::wstring WideCopy(const wchar_t* buffer, int count);

// Platform flags, set once at start-up (InitPlatformFlags runs before main).
extern bool SkinIsNT;     // wide text calls and MaskBlt
extern bool SkinIsWin9x;  // top bit of GetVersion
void InitPlatformFlags();

// The window property that leads from a window to its class-library control: registers
// the global atom of ControlAtomName() and records the module instance.  Done on first
// use if nobody called it.
void RegisterControlAtom();
ATOM ControlAtom();
HINSTANCE SkinModuleInstance();
// The class-library control of a window, or nullptr.
TControl* ControlOfWindow(HWND window);

// Optional user32 entry points, looked up once by BindUser32EntryPoints and dropped by
// UnbindUser32EntryPoints; while missing, the wrappers report failure or do nothing.
void BindUser32EntryPoints();
void UnbindUser32EntryPoints();
bool SkinGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info);
bool SkinGetComboBoxInfo(HWND window, COMBOBOXINFO* info);
void SkinTrackMouseLeave(HWND window);  // asks for one WM_MOUSELEAVE
bool HasGetScrollBarInfo();

// One off-screen bitmap per process (stretch mode COLORONCOLOR), the scratch surface of
// the menu-bar and status-bar painters.  Made on first use, freed at exit.
TBitmap& SharedPaintBitmap();
