// The media player's button bar: layout, the drawn glyphs, presses and the device commands
// (the platform's command strings on an alias of our own).
#include "MPlayer.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>

#include "Handles.h"

const TEnumNames MPBtnTypeNames{{{"btPlay", btPlay}, {"btPause", btPause}, {"btStop", btStop}, {"btNext", btNext},
                                 {"btPrev", btPrev}, {"btStep", btStep}, {"btBack", btBack}, {"btRecord", btRecord},
                                 {"btEject", btEject}}};

std::vector<RECT> MPButtonRects(TButtonSet visible, int width, int height) {
    std::vector<RECT> rects(kMPButtonCount, RECT{0, 0, 0, 0});
    int count = 0;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (visible & (TButtonSet{1} << i)) ++count;
    if (count == 0 || width <= 0 || height <= 0) return rects;
    const int w = width / count;
    int x = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        if (!(visible & (TButtonSet{1} << i))) continue;
        rects[static_cast<size_t>(i)] = RECT{x, 0, x + w, height};
        x += w;
    }
    return rects;
}

namespace {

// Glyph shapes in a 16 x 16 box, as polygons (a zero count ends a glyph).
struct Shape { int n; POINT p[4]; };
struct Glyph { Shape shapes[3]; COLORREF colour; };

const Glyph kGlyphs[kMPButtonCount] = {
    {{{3, {{5, 3}, {12, 8}, {5, 13}}}}, RGB(0, 128, 0)},                                        // play
    {{{4, {{4, 3}, {7, 3}, {7, 13}, {4, 13}}}, {4, {{9, 3}, {12, 3}, {12, 13}, {9, 13}}}}, RGB(128, 128, 0)},  // pause
    {{{4, {{4, 4}, {12, 4}, {12, 12}, {4, 12}}}}, RGB(128, 0, 0)},                              // stop
    {{{3, {{3, 3}, {10, 8}, {3, 13}}}, {4, {{11, 3}, {13, 3}, {13, 13}, {11, 13}}}}, RGB(0, 0, 128)},      // next
    {{{4, {{3, 3}, {5, 3}, {5, 13}, {3, 13}}}, {3, {{13, 3}, {6, 8}, {13, 13}}}}, RGB(0, 0, 128)},         // previous
    {{{3, {{3, 4}, {8, 8}, {3, 12}}}, {3, {{8, 4}, {13, 8}, {8, 12}}}}, RGB(0, 0, 128)},                  // step
    {{{3, {{13, 4}, {8, 8}, {13, 12}}}, {3, {{8, 4}, {3, 8}, {8, 12}}}}, RGB(0, 0, 128)},                 // back
    {{{4, {{5, 4}, {11, 4}, {11, 12}, {5, 12}}}}, RGB(192, 0, 0)},                              // record (round)
    {{{3, {{3, 9}, {8, 3}, {13, 9}}}, {4, {{3, 11}, {13, 11}, {13, 13}, {3, 13}}}}, RGB(0, 0, 0)},         // eject
};

}  // namespace

COLORREF MPGlyphColour(TMPBtnType button) {
    return button >= 0 && button < kMPButtonCount ? kGlyphs[button].colour : RGB(0, 0, 0);
}

void DrawMPGlyph(HDC dc, int x, int y, TMPBtnType button, COLORREF colour) {
    if (!dc || button < 0 || button >= kMPButtonCount) return;
    UniqueBrush brushObj(CreateSolidBrush(colour));
    UniquePen penObj(CreatePen(PS_SOLID, 1, colour));
    if (!brushObj || !penObj) return;
    SelectGuard brush(dc, brushObj.get());
    SelectGuard pen(dc, penObj.get());
    for (const Shape& s : kGlyphs[button].shapes) {
        if (s.n == 0) break;
        POINT p[4];
        for (int i = 0; i < s.n; ++i) p[i] = POINT{s.p[i].x + x, s.p[i].y + y};
        if (button == btRecord) Ellipse(dc, p[0].x, p[0].y, p[2].x, p[2].y);
        else Polygon(dc, p, s.n);
    }
}

const TClassInfo& TMediaPlayer::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TMediaPlayer>("TMediaPlayer", &TCustomControl::StaticClassInfo(), [](TClassBuilder<TMediaPlayer>& b) {
        b.Creatable();
        b.Set("VisibleButtons", MPBtnTypeNames, [](TMediaPlayer& m) { return m.VisibleButtons(); }, [](TMediaPlayer& m, int64_t v) { m.SetVisibleButtons(v); });
        b.Set("EnabledButtons", MPBtnTypeNames, [](TMediaPlayer& m) { return m.EnabledButtons(); }, [](TMediaPlayer& m, int64_t v) { m.SetEnabledButtons(v); });
        b.Set("ColoredButtons", MPBtnTypeNames, [](TMediaPlayer& m) { return m.ColoredButtons(); }, [](TMediaPlayer& m, int64_t v) { m.SetColoredButtons(v); });
        b.Str("FileName", [](TMediaPlayer& m) { return m.FileName(); }, [](TMediaPlayer& m, const std::string& v) { m.SetFileName(v); });
        b.Event("OnClick", &TMediaPlayer::OnClick);
    });
    return info;
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
    width_ = 253;
    height_ = 30;
    color_ = clBtnFace;
    brush_.SetColor(color_);
    char alias[40];
    std::snprintf(alias, sizeof alias, "mediaplayer%p", static_cast<void*>(this));
    alias_ = alias;
}

TMediaPlayer::~TMediaPlayer() {
    BeginDestruction();
    if (open_) mciSendStringA(("close " + alias_).c_str(), nullptr, 0, nullptr);
    open_ = false;
}

void TMediaPlayer::SetVisibleButtons(TButtonSet s) { s &= kAllMPButtons; if (s != visibleButtons_) { visibleButtons_ = s; Invalidate(); } }
void TMediaPlayer::SetEnabledButtons(TButtonSet s) { s &= kAllMPButtons; if (s != enabledButtons_) { enabledButtons_ = s; Invalidate(); } }
void TMediaPlayer::SetColoredButtons(TButtonSet s) { s &= kAllMPButtons; if (s != coloredButtons_) { coloredButtons_ = s; Invalidate(); } }

int TMediaPlayer::ButtonAt(int x) {
    const RECT client = ClientRect();
    const std::vector<RECT> rects = MPButtonRects(visibleButtons_, client.right, client.bottom);
    for (int i = 0; i < kMPButtonCount; ++i) {
        const RECT& r = rects[static_cast<size_t>(i)];
        if (r.right > r.left && x >= r.left && x <= r.right) return i;
    }
    return -1;
}

void TMediaPlayer::drawButton(HDC dc, const RECT& r, TMPBtnType button) {
    const TButtonSet bit = TButtonSet{1} << button;
    const bool enabled = (enabledButtons_ & bit) != 0 && enabled_;
    const bool down = pressed_ == button && enabled;
    RECT face = r;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    const COLORREF colour = !enabled ? GetSysColor(COLOR_GRAYTEXT)
                            : (coloredButtons_ & bit) ? MPGlyphColour(button)
                                                      : GetSysColor(COLOR_BTNTEXT);
    // The glyph's box centred on the face, one pixel further while pressed.
    const int ox = (r.left + r.right - kMPGlyphSize) / 2 + (down ? 1 : 0);
    const int oy = (r.top + r.bottom - kMPGlyphSize) / 2 + (down ? 1 : 0);
    DrawMPGlyph(dc, ox, oy, button, colour);
}

void TMediaPlayer::Paint() {
    HDC dc = canvas_.Handle();
    const RECT client = ClientRect();
    FillRect(dc, &client, brush_.Handle());
    const std::vector<RECT> rects = MPButtonRects(visibleButtons_, client.right, client.bottom);
    for (int i = 0; i < kMPButtonCount; ++i) {
        const RECT& r = rects[static_cast<size_t>(i)];
        if (r.right > r.left) drawButton(dc, r, static_cast<TMPBtnType>(i));
    }
}

void TMediaPlayer::onLButtonDown(POINT p) {
    const int i = ButtonAt(p.x);
    if (i < 0 || !(enabledButtons_ & (TButtonSet{1} << i))) return;
    pressed_ = i;
    SetCapture(handle_);
    Invalidate();
}

// A release over the button that was pressed clicks it; anywhere else it only lets go.
void TMediaPlayer::onLButtonUp(POINT p) {
    const int was = pressed_;
    pressed_ = -1;
    if (GetCapture() == handle_) ReleaseCapture();
    if (was < 0) return;
    Invalidate();
    if (ButtonAt(p.x) == was) ButtonClick(static_cast<TMPBtnType>(was));
}

void TMediaPlayer::ButtonClick(TMPBtnType button) {
    bool doDefault = true;
    if (OnClick) OnClick(this, button, doDefault);
    if (!doDefault || !open_) return;
    switch (button) {
    case btPlay: Play(); break;
    case btPause: Pause(); break;
    case btStop: Stop(); break;
    case btNext: Next(); break;
    case btPrev: Previous(); break;
    case btStep: Step(); break;
    case btBack: Back(); break;
    case btRecord: StartRecording(); break;
    case btEject: Eject(); break;
    }
}

void TMediaPlayer::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        onLButtonDown(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        m.Result = 0;
        return;
    case WM_LBUTTONUP:
        onLButtonUp(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        m.Result = 0;
        return;
    default:
        TCustomControl::WndProc(m);
    }
}

// ---- device ------------------------------------------------------------------------

namespace {
std::string mciErrorText(MCIERROR e) {
    char text[256] = {};
    if (!mciGetErrorStringA(e, text, sizeof text)) return "Multimedia device error " + std::to_string(e);
    return text;
}
}  // namespace

void TMediaPlayer::Open() {
    if (open_) Close();
    if (fileName_.empty()) throw EMCIDeviceError("No file name for the media player");
    const std::string cmd = "open \"" + fileName_ + "\" alias " + alias_;
    if (MCIERROR e = mciSendStringA(cmd.c_str(), nullptr, 0, nullptr)) throw EMCIDeviceError(mciErrorText(e));
    open_ = true;
}

void TMediaPlayer::Close() {
    if (!open_) return;
    open_ = false;
    mciSendStringA(("close " + alias_).c_str(), nullptr, 0, nullptr);
}

// A command string names the device right after the verb: "seek <alias> to end".
void TMediaPlayer::command(const std::string& verb, const std::string& arguments) {
    if (!open_) throw EMCIDeviceError("No multimedia device is open");
    const std::string cmd = verb + " " + alias_ + (arguments.empty() ? "" : " " + arguments);
    if (MCIERROR e = mciSendStringA(cmd.c_str(), nullptr, 0, nullptr))
        throw EMCIDeviceError(mciErrorText(e));
}

void TMediaPlayer::Play() { command("play"); }
void TMediaPlayer::Pause() { command("pause"); }
void TMediaPlayer::Stop() { command("stop"); }
void TMediaPlayer::Next() { command("seek", "to end"); }
void TMediaPlayer::Previous() { command("seek", "to start"); }
void TMediaPlayer::Step() { command("step"); }
void TMediaPlayer::Back() { command("step", "reverse"); }
void TMediaPlayer::StartRecording() { command("record"); }
void TMediaPlayer::Eject() { command("set", "door open"); }
