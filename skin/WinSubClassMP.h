// The media-player skin: TSkinMP lays a panel of its own, TWMediaPlayer, exactly over a
// media player (same parent, same bounds) instead of repainting the player.  The panel
// draws the visible buttons with the [Buttons] faces and a glyph per button and state, and
// hands presses on to the player, which then acts as if it had been clicked itself.  The
// player is read through its published sets (VisibleButtons, EnabledButtons,
// ColoredButtons), so any control publishing them can be covered.
//
// Who frees what: the panel belongs to the form skin (to the player when there is none);
// the skin frees it at Unskin.  Panel, skin and player each learn when another of them is
// freed (free notification), so none keeps a pointer to a freed one.
//
// Types: TMPGlyphState, TMPButtonLayout, TWMediaPlayer, TSkinMP.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "Bitmap.h"
#include "ExtCtrls.h"
#include "MPlayer.h"
#include "WinSubClass.h"

// Glyph states, in the order of their names' prefixes "EN", "DI", "CL".
enum TMPGlyphState { gsEnabled = 0, gsDisabled = 1, gsColoured = 2 };
constexpr int kMPGlyphStates = 3;
constexpr int kMPNoButton = 9;  // hit and pressed index of no button
// The olive that glyph bitmaps leave transparent.
constexpr COLORREF kMPGlyphKey = RGB(128, 128, 0);

// "CL_MPPLAY" and the like: the resource name of a glyph bitmap.
std::string MPGlyphName(TMPBtnType button, TMPGlyphState state);
// A set property read as text ("[btPlay,btStop]") as a set; unknown names are left out.
TButtonSet MPButtonSetFromText(const std::string& text);

// Where the visible buttons lie across a panel of the given width.
struct TMPButtonLayout {
    int VisibleCount = 0;
    int ButtonWidth = 0;  // width div visible count; the remainder stays at the right
    // The button under x: the first visible button, in order, with left <= x <= right (a
    // boundary belongs to the left button); kMPNoButton when none.
    int ButtonAt(TButtonSet visible, int x) const;
};
TMPButtonLayout LayoutMPButtons(TButtonSet visible, int width);

class TSkinMP;

class TWMediaPlayer : public TCustomPanel {
    CLASS_INFO(TWMediaPlayer)
public:
    explicit TWMediaPlayer(TComponent* owner);
    ~TWMediaPlayer() override;

    void AttachHost(TSkinMP* ownerSkin, TControl* player);
    void CopyBounds(TControl* player);
    // The player is gone or no longer covered: the panel lets go of it and hides.
    void DropPlayer();
    int ButtonAt(int x);

    struct Button {
        bool Visible = false;
        bool Enabled = false;
        bool Coloured = false;
        std::array<TBitmap, kMPGlyphStates> Glyphs;
    };
    std::array<Button, kMPButtonCount> Buttons;
    TSkinData* SkinData = nullptr;
    TControl* Player = nullptr;
    TSkinMP* OwnerSkin = nullptr;
    int VisibleCount = 0;
    int ButtonWidth = 0;
    bool MouseDown = false;
    int PressedIndex = kMPNoButton;
    int HitIndex = kMPNoButton;

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void LoadButtonBitmaps();
    void FreeButtonBitmaps();
    // Reads the three sets from the player into Buttons.
    void readButtonStates();
    void DrawButton(HDC dc, int index, const RECT& rect);
    void onLButtonDown(TMessage& message);
    void onLButtonUp(TMessage& message);
};

class TSkinMP : public TSkinControl {
    CLASS_INFO(TSkinMP)
public:
    explicit TSkinMP(TComponent* owner);
    ~TSkinMP() override;

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void Unskin() override;
    void AfterMessage(TMessage& message) override;

    TWMediaPlayer* Overlay = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override;
};
