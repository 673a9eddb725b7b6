// The fill and foreign-control skins: TSkinTabSheet fills the pages of a page control;
// TSkinObjImage and TSkinAdvPage give foreign controls pictures of the skin by writing
// renderings into their published bitmap properties (found by name, so a control without
// them is left alone); TSkinTabBtn paints a tab control whose tabs are buttons.  The size
// box and nested-dialog fills live with the other raw-window fills.
//
// Types: TGlyphCellCopy, TSkinObjImage, TSkinAdvPage, TSkinTabSheet, TSkinTabBtn.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "WinSubClass.h"

// ---- glyph strips of the object-image skin ----

// Object-image kinds (the creator's variant).
enum : int { oiCheckGlyphs = 1, oiRadioGlyphs = 2, oiPropertiesGlyph = 3 };

// One cell of a glyph strip taken from a cell of the skin's strip (both 0-based).
struct TGlyphCellCopy {
    int Dest;
    int Source;
};

// Cells of the glyph strip built for a kind (9, 6, 6; 0 for an unknown kind).
int GlyphResultCells(int kind);
// The cell map of a kind for a source strip of sourceCells cells: the fifth source cell
// is used only when the source has exactly five.  Source cells beyond the strip are
// clamped to its last cell, so a short strip never reads past its end.
std::vector<TGlyphCellCopy> GlyphCellMap(int kind, int sourceCells);

// The glyph strip of a kind built from the skin's "Buttons" strips: nullptr when the skin
// has no such strip (or it is narrower than its cell count).  Cells without a source keep
// the new bitmap's white.
std::unique_ptr<TBitmap> BuildGlyphStrip(TSkinData* skinData, int kind);

class TSkinObjImage : public TSkinControl {
    CLASS_INFO(TSkinObjImage)
public:
    TSkinObjImage(TComponent* owner, int kind) : TSkinControl(owner), GlyphKind(kind) {}

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void Unskin() override;
    void UpdateSkin() override;

    void Apply();
    void ApplyCheckGlyphs();
    void ApplyRadioGlyphs();
    void ApplyPropertiesGlyph();

    int GlyphKind;

private:
    void applyCustomGlyphs(int kind);
};

// ---- the advanced page control ----

// The size of the tab pictures given to an advanced page control, whatever its tabs.
constexpr int kAdvTabWidth = 100;
constexpr int kAdvTabHeight = 21;
// The mode the creator gives "advpagecontrol" hosts.
constexpr int kAdvPageTabImages = 4;

class TSkinAdvPage : public TSkinControl {
    CLASS_INFO(TSkinAdvPage)
public:
    TSkinAdvPage(TComponent* owner, int mode) : TSkinControl(owner), PageMode(mode) {}

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void Unskin() override;
    void Paint(HDC dc, const RECT& rect) override;
    void UpdateSkin() override;

    void Apply();
    void ApplyTabImages();
    void SkinScroller();

    // The skin of the page control's scroller; owned by the host, never freed here (a
    // free notice clears the field).
    TSkinControl* UpDownSkin = nullptr;
    int PageMode;  // set by the creator: kAdvPageTabImages gives the tabs pictures

protected:
    void Notification(TComponent* component, TOperation operation) override;
};

// ---- page fill and button tabs ----

class TSkinTabSheet : public TSkinControl {
    CLASS_INFO(TSkinTabSheet)
public:
    explicit TSkinTabSheet(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
};

// The strip of a button-tab control that holds the buttons: rect's top down to the display
// area's top + 1, never of negative height.
RECT TabButtonStrip(const RECT& rect, const RECT& displayArea);

// One tab as the button-tab painter reads it.
struct TTabButtonItem {
    std::wstring Text;
    int Image = -1;
};
// Room of the tab text buffers, in characters: wide and ANSI.
constexpr int kTabButtonTextMaxW = 40;
constexpr int kTabButtonTextMaxA = 80;
// TCM_GETITEMW (unicode) or TCM_GETITEMA of item index; false when the control refuses.
// The text is cut at the buffer's end even when the window fills it without a terminator.
bool ReadTabButtonItem(HWND tabs, int index, bool unicode, TTabButtonItem& item);

class TSkinTabBtn : public TSkinControl {
    CLASS_INFO(TSkinTabBtn)
public:
    explicit TSkinTabBtn(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
};
