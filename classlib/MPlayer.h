// The media player: a row of up to nine buttons (play, pause, stop, next, previous, step,
// back, record, eject) that drive a multimedia device through the platform's command
// strings.  The buttons and their glyphs are drawn here; no device needs to exist: opening
// one that is missing raises EMCIDeviceError and leaves the player closed.
//
// Types: TMPBtnType, TButtonSet, TEMPNotify, EMCIDeviceError, TMediaPlayer.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int kMPButtonCount = 9;
extern const TEnumNames MPBtnTypeNames;
// A set of buttons: bit (1 << TMPBtnType).
using TButtonSet = int64_t;
constexpr TButtonSet kAllMPButtons = (TButtonSet{1} << kMPButtonCount) - 1;

// Button: the button clicked; DoDefault: set it to false to skip the button's action.
using TEMPNotify = std::function<void(TObject* Sender, TMPBtnType Button, bool& DoDefault)>;

class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

// The buttons of a player laid out in a client area of the given width: one rectangle per
// visible button, left to right, each width / (visible count) wide (the remainder stays
// empty at the right).  Invisible buttons get an empty rectangle.
std::vector<RECT> MPButtonRects(TButtonSet visible, int width, int height);

// The glyphs of the buttons, each in a kMPGlyphSize square whose top left is (x, y), filled
// and outlined in one colour; a skin that draws the bar itself draws the same glyphs.
constexpr int kMPGlyphSize = 16;
void DrawMPGlyph(HDC dc, int x, int y, TMPBtnType button, COLORREF colour);
// The colour of a button's glyph while the button is in ColoredButtons.
COLORREF MPGlyphColour(TMPBtnType button);

class TMediaPlayer : public TCustomControl {
    CLASS_INFO(TMediaPlayer)
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    TButtonSet VisibleButtons() const { return visibleButtons_; }
    void SetVisibleButtons(TButtonSet s);
    TButtonSet EnabledButtons() const { return enabledButtons_; }
    void SetEnabledButtons(TButtonSet s);
    TButtonSet ColoredButtons() const { return coloredButtons_; }
    void SetColoredButtons(TButtonSet s);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& f) { fileName_ = f; }

    // The button under a client x position, or -1.  A point on the boundary between two
    // buttons belongs to the left one.
    int ButtonAt(int x);
    int PressedButton() const { return pressed_; }

    // Device control.  Every command but Open raises EMCIDeviceError when no device is
    // open; a failed command raises it with the platform's text.
    bool IsOpen() const { return open_; }
    void Open();
    void Close();
    void Play();
    void Pause();
    void Stop();
    void Next();
    void Previous();
    void Step();
    void Back();
    void StartRecording();
    void Eject();

    // Hides the control's plain OnClick: the player says which button was clicked.
    TEMPNotify OnClick;

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    // Runs OnClick, then the button's action unless OnClick said no.  With no device open
    // a button does nothing more.
    virtual void ButtonClick(TMPBtnType button);
    void onLButtonDown(POINT p);
    void onLButtonUp(POINT p);
    void command(const std::string& verb, const std::string& arguments = std::string());
    void drawButton(HDC dc, const RECT& r, TMPBtnType button);

    TButtonSet visibleButtons_ = kAllMPButtons;
    TButtonSet enabledButtons_ = kAllMPButtons;
    TButtonSet coloredButtons_ = kAllMPButtons;
    std::string fileName_;
    std::string alias_;
    bool open_ = false;
    int pressed_ = -1;
};

// Known gaps: no device notices (Notify, Wait), no automatic open or enabling of the
// buttons by device state, no display window; the per-button glyph bitmaps a skin may look
// up by name are not among the program's resources (the bar draws its own glyphs).
