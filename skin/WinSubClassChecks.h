// Check-box and radio-button skins, drawn from the CheckButton and RadioButton strips of
// the skin's [Buttons] section.  Mode 1 (a class-library host whose strip exists): the
// skin paints the whole control (background, box cell, caption, focus rectangle).  Mode 0
// (a raw window, or a host without the strip): the control paints itself and the skin
// draws only the box cell over it after each of its paints.  The cell choice is pure
// (CheckBoxCell, RadioButtonCell) so tests reach it without a window.
//
// Types: TCheckCellInput, TSkinCheckBase, TSkinCheckBox, TSkinRadioButton; CheckBoxCell, RadioButtonCell,
//        BoxCellRect.
#pragma once
#include <windows.h>

#include "WinSubClass.h"

class TBitmap;

// What the check box's cell depends on.  cell starts as the host's (or the window's)
// check state: 1 unchecked, 2 checked, 4 grayed (a data-aware host's last BM_SETCHECK may
// give 3, which counts as 4).
struct TCheckCellInput {
    int cell = 1;
    bool disabled = false;
    bool indeterminate = false;  // BM_GETSTATE has BST_INDETERMINATE
};

// The 1-based cell of a check strip of `cells` cells (a 12-cell strip is laid out
// unchecked, checked, mixed, each normal, hot, pressed, disabled); clamped to the strip.
int CheckBoxCell(const TCheckCellInput& input, int cells);
// The same for a radio strip (an 8-cell strip: unchecked, checked).
int RadioButtonCell(bool checked, bool disabled, int cells);
// The box of a cell (cellWidth x cellHeight) in the control's rectangle r: vertically
// centred, at the left or (leftText) at the right; the radio box sits one pixel further in.
RECT BoxCellRect(const RECT& r, int cellWidth, int cellHeight, bool leftText, bool radio);

// What the two skins share: attach, the message filter, the layout and the drawing; each
// names its strip and chooses its cell.
class TSkinCheckBase : public TSkinControl {
    CLASS_INFO(TSkinCheckBase)
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    bool TransparentBack = false;

protected:
    // The strip this class draws from and its cell count (at least 1); nullptr without a
    // usable one.
    virtual TBitmap* strip(int& cells) const = 0;
    virtual int chooseCell(int cells) = 0;
    virtual bool isRadio() const = 0;
    void drawCaption(HDC dc, const RECT& r, UINT textFlags);
};

class TSkinCheckBox : public TSkinCheckBase {
    CLASS_INFO(TSkinCheckBox)
public:
    using TSkinCheckBase::TSkinCheckBase;
    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;

    int LastSetCheck = 0;  // BM_SETCHECK's wParam + 1, 0 until one arrives

protected:
    TBitmap* strip(int& cells) const override;
    int chooseCell(int cells) override;
    bool isRadio() const override { return false; }
};

class TSkinRadioButton : public TSkinCheckBase {
    CLASS_INFO(TSkinRadioButton)
public:
    using TSkinCheckBase::TSkinCheckBase;

protected:
    TBitmap* strip(int& cells) const override;
    int chooseCell(int cells) override;
    bool isRadio() const override { return true; }
};
