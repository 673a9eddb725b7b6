// The frames of edit-like controls drawn from the skin: combo boxes (frame, drop-down
// button and its arrow glyph, hot and pressed looks), edits and memos (a thin
// shadow-and-white frame, and a skin for an embedded spin child) and date-time pickers
// (the same thin frame and a small skinned arrow window over the picker's own button).
// They paint over what the control painted, after its own procedure ran.
//
// Types: TSkinComBox, TSkinEdit, TSkinDateTime, TArrowButton; ComboStateCell,
// ComboFlatStateCell (the state-to-cell tables).
#pragma once
#include <windows.h>

#include <memory>

#include "WinSubClass.h"

class TSkinScrollbarH;
class TSkinDateTime;

// Skin cells of the combo states: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
// Sliced and whole-frame looks: disabled over pressed over hot or focused.
int ComboStateCell(bool enabled, bool pressed, bool hot, bool focused);
// The flat look: pressed over hot over focused over disabled.
int ComboFlatStateCell(bool enabled, bool pressed, bool hot, bool focused);

class TSkinComBox : public TSkinControl {
    CLASS_INFO(TSkinComBox)
public:
    explicit TSkinComBox(TComponent* owner);
    ~TSkinComBox() override;

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) override;
    void Unskin() override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    void SubclassEdit();
    void EditWndProc(TMessage& message);
    void PaintFlat(HDC dc, const RECT& rect);

    LONG_PTR WindowStyle = 0;
    LONG_PTR ExStyle = 0;
    HWND ListWindow = nullptr;  // the list of a simple combo box
    TSkinScrollbarH* ListSkin = nullptr;  // owned by the host, like this skin
    COMBOBOXINFO Info{};
    RECT ButtonRect{};

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void attachCombo(bool classLibrary);
    void releaseEdit();
    void freeListSkin(bool unskinFirst);
    // Our procedure in front of the edit of a drop-down combo box.
    SubclassedWindow editThunk_{SubclassKind::ComboEdit, this, [this](TMessage& m) { EditWndProc(m); }};
};

class TSkinEdit : public TSkinControl {
    CLASS_INFO(TSkinEdit)
public:
    explicit TSkinEdit(TComponent* owner);

    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    void SkinSpinChild(HWND window, TSkinData* skinData, TCanvas* canvas);
    void PrintFrame(HDC dc);
    void DrawPrintFrame(HDC dc, const RECT& rect);

    TSkinControl* SpinSkin = nullptr;  // owned by the host, like this skin

protected:
    void Notification(TComponent* component, TOperation operation) override;
};

// A small window over the picker's drop-down button, painted with the skin's arrow.
class TArrowButton : public TCustomControl {
    CLASS_INFO(TArrowButton)
public:
    explicit TArrowButton(TComponent* owner);

    void Attach(TSkinDateTime* skin, TWinControl* picker);
    void WndProc(TMessage& message) override;

    int ArrowSize = 0;  // SM_CXHSCROLL at construction
    TWinControl* Picker = nullptr;
    TSkinDateTime* OwnerSkin = nullptr;
    HWND PickerWindow = nullptr;
    uint8_t Flags = 0;  // bit 0 hot

protected:
    void Paint() override;
};

class TSkinDateTime : public TSkinControl {
    CLASS_INFO(TSkinDateTime)
public:
    explicit TSkinDateTime(TComponent* owner);
    ~TSkinDateTime() override;

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void Paint(HDC dc, const RECT& rect) override;

    std::unique_ptr<TArrowButton> Arrow;
};
