// Measuring and drawing one owner-drawn menu item from the skin: the "MenuItem" part (a
// five-cell strip: 1 normal, 2 separator, 4 selected) over the popup's rendered background,
// or flat in the skin's colours when the skin has no such part; the glyph or check mark,
// the caption and the shortcut.  The form skin's menu operations (WinSkinFormMenus.cpp)
// decide which items reach these and find the popup's background; the geometry is pure
// and kept apart.
//
// Types: TMenuItemBackground, TMenuItemContentLayout.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Graphics.h"
#include "Handles.h"

class TMenu;
class TMenuItem;
class TSkinData;

// The item part rendered at the sizes and cells one popup draws, with the masks of its
// key colour: a popup draws every item at the same size, and rendering the part is most
// of an item's cost.  Kept by the popup skin for the popup's life.
struct TMenuItemPartCache {
    struct Entry {
        int w = 0, h = 0, cell = 0;
        // A keyed part has its key pixels turned black, to be put over a background that
        // its mask has cleared.
        std::unique_ptr<TBitmap> part;
        UniqueBitmap mask;    // white where the part has the key colour; none when opaque
        UniqueMemDC maskDc;   // holds the mask (freed before it)
    };
    const void* source = nullptr;  // the part the entries were rendered from
    unsigned generation = 0;       // and the skin's load
    std::vector<Entry> entries;
    std::unique_ptr<TBitmap> scratch;  // the item surface, reused while the size stays
    void Clear() {
        entries.clear();
        scratch.reset();
        source = nullptr;
    }
};

// The background the popup skin rendered for the popup an item is drawn in, and where the
// popup's client origin lies in it (an item rectangle is in client coordinates).
struct TMenuItemBackground {
    TBitmap* bitmap = nullptr;  // nullptr: the popup has no background
    POINT offset{0, 0};
    TMenuItemPartCache* cache = nullptr;  // the popup's renders of the item part, if any
};

// Where the glyph and the caption of a popup item go.
struct TMenuItemContentLayout {
    RECT glyph;  // empty (left = right) for a separator
    RECT text;   // caption; the shortcut shares its line
};

// ---- geometry ----------------------------------------------------------------------

// The [MenuItem] left margin, or 0 when the skin has no such part.
int MenuItemLeftMargin(const TSkinData* skin);
// Glyph box and caption box of an item drawn into rect: glyphSize square one pixel inside
// the leading edge (after the left margin), the caption 3 pixels after it up to 1 pixel
// before the trailing edge; mirrored for right-to-left menus.
TMenuItemContentLayout LayoutMenuItemContent(const RECT& rect, int glyphSize, int leftMargin, bool separator,
                                             bool rightToLeft);
// Rows of the separator cell used for a separator of `height` rows: the bottom rows when
// the separator is shorter than the image, else the whole cell (top, bottom).
POINT MenuSeparatorSourceRows(int imageHeight, int separatorHeight);
// The popup background's area under an item rectangle (client coordinates).
RECT MenuItemBackgroundSource(const RECT& itemRect, POINT clientOffset);

// ---- measuring ---------------------------------------------------------------------

// A main-menu item's default size for the canvas font, widened for the skin's glyph column.
void SkinMeasureMainMenuItem(const TSkinData* skin, TMenuItem& item, TCanvas& canvas, int& width, int& height);
// A popup item's size as the class library measured it, widened the same way; unchanged
// without a skin.
void SkinMeasurePopupItem(const TSkinData* skin, TMenuItem& item, int& width, int& height);
// A raw item (no class-library item) of `text`, measured on dc in its selected font.
void SkinMeasureRawItem(const TSkinData* skin, HDC dc, const std::string& text, bool win9x, UINT& itemWidth,
                        UINT& itemHeight);

// ---- drawing -----------------------------------------------------------------------

// The item with the [MenuItem] part over the popup background (flat without the part).
// fallbackMenu: the menu whose reading order and images count when the item has no menu
// of its own (a temporary item).
void SkinDrawMenuItem(TSkinData& skin, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected,
                      const TMenuItemBackground& background, TMenu* fallbackMenu);
// The same for a raw item: never a separator line of its own (the raw separator comes as
// an item with the caption "-").
void SkinDrawRawMenuItem(TSkinData& skin, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected,
                         const TMenuItemBackground& background, TMenu* fallbackMenu);
// Flat: Hilight when selected, else Menu; then the content.
void SkinDrawMenuItemFlat(TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect,
                          TMenu* fallbackMenu);
// Cell 2 of [MenuItem] in three slices (margins kept), keyed on magenta, at rect.
void SkinDrawMenuSeparator(TSkinData& skin, TCanvas& canvas, const RECT& rect);
// Glyph or check mark, caption and shortcut (no background).
void SkinPaintMenuItemContent(TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect,
                              TMenu* fallbackMenu);
// One text of an item in the item's colours; a "-" text (when not measuring) is an etched
// line 4 pixels below rect's top.  Returns the text call's result.
int SkinDrawMenuItemText(TSkinData& skin, TMenuItem& item, TCanvas& canvas, UINT flags, bool selected, RECT& rect,
                         std::string text);
// The text colour of an item: HilightText when selected, MenuText, or for a disabled item
// ButtonShadow (clBtnShadow when the skin's ButtonShadow equals its MenuText).
TColor MenuItemTextColour(const TSkinData& skin, bool enabled, bool selected);

// ---- preparing a class-library popup before it opens --------------------------------

// Leading, trailing and doubled separators among the item's children are hidden (visible
// flags only); a hidden separator that ends a run between two visible items is shown again.
void HideRedundantSeparators(TMenuItem* item);
// Every child with an action gets the action's update.
void UpdateItemActions(TMenuItem* item);
