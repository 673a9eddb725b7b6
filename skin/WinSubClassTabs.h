// The tab skins: TSkinTab paints tab controls (raw "SysTabControl32" windows and the class
// library's tab and page controls) from the skin's [Tabs] strip and pane image, with the
// tabs on any side drawn as if on top and then turned; TSkinTab31 paints the class
// library's tab set, whose tabs hang from its top edge.  The tab control's scroll arrows
// get the up-down skin, which lives with the other range controls.
//
// The geometry (where the strip and the pane lie, where an item goes in the work bitmap and
// back) is pure and shared by painting and the tests.
//
// Types: TTabOrientation, TTabStripLayout, TSkinTab, TSkinTab31.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "SkinPrimitives.h"
#include "WinSubClass.h"

class TDataSkinObject;

// Where the tabs of a tab control lie.
enum TTabOrientation : uint8_t { toTop = 0, toBottom = 1, toLeft = 2, toRight = 3 };

// The orientation a tab-control style gives (TCS_VERTICAL, TCS_BOTTOM / TCS_RIGHT).
TTabOrientation TabOrientationOfStyle(DWORD style);

// The parts of a tab control's window rectangle, all in window coordinates with the
// origin at the window's top left.
struct TTabStripLayout {
    RECT Display{};  // the pane: the display area grown by 4, one pixel toward the tabs
    RECT Strip{};    // the strip of tabs beside the pane (empty when there is no room)
    // The work bitmap the tabs are drawn on as if on top: the strip's size, turned for
    // tabs on a side.  0 x 0 when the strip is empty.
    int WorkWidth = 0;
    int WorkHeight = 0;
    bool HasStrip() const { return WorkWidth > 0 && WorkHeight > 0; }
};

// window: the window rectangle moved to (0, 0); adjusted: that rectangle as TCM_ADJUSTRECT
// (FALSE) leaves it.  A strip that would have no room, or a negative size, is empty.
TTabStripLayout CalcTabStrip(const RECT& window, const RECT& adjusted, TTabOrientation orientation);
// An item rectangle (window coordinates, as TCM_GETITEMRECT gives it) in work-bitmap
// coordinates.
RECT TabItemToWork(const RECT& item, const TTabStripLayout& layout, const RECT& window, TTabOrientation orientation);
// A pixel of the work bitmap after the work bitmap was turned and copied to the strip:
// where it lands in window coordinates.
POINT TabWorkToWindow(POINT work, const TTabStripLayout& layout, TTabOrientation orientation);
// Margins of a part whose picture was flipped or turned for the orientation, so that the
// unscaled edges stay where the picture moved them.
TSkinMargins OrientMargins(const TSkinMargins& margins, TTabOrientation orientation);

// One item of a tab control as the painter reads it.
struct TTabItemText {
    std::wstring Text;  // at most kTabTextMax characters
    int Image = -1;
};
constexpr int kTabTextMax = 79;
// TCM_GETITEMW / TCM_GETITEMA into a buffer of kTabTextMax + 1 characters: a longer text is
// cut (an ANSI text never ends in half a double-byte character).  False when the control
// does not give the item.
bool ReadTabItem(HWND window, int index, bool unicode, TTabItemText& item);

class TSkinTab : public TSkinControl {
    CLASS_INFO(TSkinTab)
public:
    explicit TSkinTab(TComponent* owner);
    ~TSkinTab() override;

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
    void UpdateSkin() override;

    // Rebuilds the strip and pane pictures from the current skin for the window's
    // orientation; a skin without them leaves them empty.
    void LoadBitmaps();
    // Skins the tab control's scroll arrows once; true while they are shown.
    bool SkinScroller();

    TBitmap StripBitmap;  // [Tabs] Image, 24 bit, flipped for tabs at the bottom
    TBitmap PaneBitmap;   // [Tabs] Border or [Tab.Pane] Image, 24 bit, flipped or turned
    TBitmap WorkBitmap;   // the strip, drawn as if on top
    TTabOrientation Orientation = toTop;
    bool UnicodeWindow = false;
    TSkinControl* ScrollerSkin = nullptr;  // owned by this skin's owner; cleared when freed

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void attachCommon();
    void drawStrip(HDC dc, const RECT& window, const TTabStripLayout& layout);
    void drawPane(HDC dc, const TTabStripLayout& layout);
    // The pane's margins as the skin gives them for the pane picture in use.
    TSkinMargins paneMargins() const;
    HWND scrollerWindow() const;
};

class TSkinTab31 : public TSkinControl {
    CLASS_INFO(TSkinTab31)
public:
    explicit TSkinTab31(TComponent* owner);
    ~TSkinTab31() override;

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
    void UpdateSkin() override;

    void LoadBitmaps();

    TBitmap StripBitmap;  // [Tabs] Image flipped top to bottom
};

// Known gaps: the tab set's own scroll arrows are not skinned (the class library's tab set
// has none); owner-drawn tab controls are painted like the others.
