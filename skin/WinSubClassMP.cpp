// TSkinMP and its panel TWMediaPlayer: the media player's buttons drawn over the player
// from the skin's [Buttons] faces, with presses handed on to the player.  The glyph of each
// button and state is taken from the program's bitmap resources when it has them ("EN_MPPLAY"
// ...) and otherwise drawn here with the player's own glyph shapes.
#include "WinSubClassMP.h"

#include <windowsx.h>

#include <algorithm>

#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

namespace {

const char* const kGlyphStateNames[kMPGlyphStates] = {"EN", "DI", "CL"};
const char* const kButtonBitmapNames[kMPButtonCount] = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                                        "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};

constexpr COLORREF kGlyphText = RGB(0, 0, 0);
constexpr COLORREF kGlyphGrey = RGB(128, 128, 128);
constexpr COLORREF kGlyphLight = RGB(255, 255, 255);

bool inSet(TButtonSet set, int button) { return (set & (TButtonSet{1} << button)) != 0; }

// A glyph drawn in the player's shapes on the transparent olive.  The disabled one is
// grey over a white copy one pixel lower right, as an engraved glyph looks.
void drawGlyph(TBitmap& bitmap, TMPBtnType button, TMPGlyphState state) {
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(kMPGlyphSize, kMPGlyphSize);
    HDC dc = bitmap.Canvas().Handle();
    if (!dc) return;
    FillRectColor(dc, RECT{0, 0, kMPGlyphSize, kMPGlyphSize}, kMPGlyphKey);
    switch (state) {
    case gsEnabled: DrawMPGlyph(dc, 0, 0, button, kGlyphText); break;
    case gsDisabled:
        DrawMPGlyph(dc, 1, 1, button, kGlyphLight);
        DrawMPGlyph(dc, 0, 0, button, kGlyphGrey);
        break;
    case gsColoured: {
        COLORREF colour = MPGlyphColour(button);
        // A glyph in the key colour itself would vanish: a darker olive stands in.
        if (colour == kMPGlyphKey) colour = RGB(96, 96, 0);
        DrawMPGlyph(dc, 0, 0, button, colour);
        break;
    }
    }
    bitmap.FreeContext();
}

}  // namespace

std::string MPGlyphName(TMPBtnType button, TMPGlyphState state) {
    if (button < 0 || button >= kMPButtonCount || state < 0 || state >= kMPGlyphStates) return {};
    return std::string(kGlyphStateNames[state]) + "_" + kButtonBitmapNames[button];
}

TButtonSet MPButtonSetFromText(const std::string& text) {
    // "[btPlay,btStop]": the names between the brackets, separated by commas (spaces allowed).
    TButtonSet set = 0;
    std::string name;
    auto take = [&] {
        int64_t value = 0;
        if (!name.empty() && MPBtnTypeNames.Find(name, value) && value >= 0 && value < kMPButtonCount)
            set |= TButtonSet{1} << value;
        name.clear();
    };
    for (char c : text) {
        if (c == '[' || c == ' ') continue;
        if (c == ',' || c == ']') take();
        else name += c;
    }
    take();
    return set;
}

TMPButtonLayout LayoutMPButtons(TButtonSet visible, int width) {
    TMPButtonLayout out;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (inSet(visible, i)) ++out.VisibleCount;
    if (out.VisibleCount > 0) out.ButtonWidth = std::max(0, width) / out.VisibleCount;
    return out;
}

int TMPButtonLayout::ButtonAt(TButtonSet visible, int x) const {
    int sum = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        if (!inSet(visible, i)) continue;
        if (sum <= x && x <= sum + ButtonWidth) return i;
        sum += ButtonWidth;
    }
    return kMPNoButton;
}

// ---- TWMediaPlayer ------------------------------------------------------------------------

const TClassInfo& TWMediaPlayer::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TWMediaPlayer>("TWMediaPlayer", &TCustomPanel::StaticClassInfo(),
                                                                 [](TClassBuilder<TWMediaPlayer>&) {});
    return info;
}

TWMediaPlayer::TWMediaPlayer(TComponent* owner) : TCustomPanel(owner) { LoadButtonBitmaps(); }

TWMediaPlayer::~TWMediaPlayer() {
    BeginDestruction();
    FreeButtonBitmaps();
}

void TWMediaPlayer::LoadButtonBitmaps() {
    HINSTANCE module = GetModuleHandleA(nullptr);
    for (int b = 0; b < kMPButtonCount; ++b)
        for (int s = 0; s < kMPGlyphStates; ++s) {
            TBitmap& glyph = Buttons[static_cast<size_t>(b)].Glyphs[static_cast<size_t>(s)];
            const auto button = static_cast<TMPBtnType>(b);
            const auto state = static_cast<TMPGlyphState>(s);
            try {
                if (HBITMAP h = LoadBitmapA(module, MPGlyphName(button, state).c_str())) glyph.SetHandle(h);
                else drawGlyph(glyph, button, state);
            } catch (...) {
                glyph.Clear();  // that glyph is left out; the face is still drawn
            }
        }
}

void TWMediaPlayer::FreeButtonBitmaps() {
    for (Button& b : Buttons)
        for (TBitmap& glyph : b.Glyphs) glyph.Clear();
}

void TWMediaPlayer::AttachHost(TSkinMP* ownerSkin, TControl* player) {
    Player = player;
    OwnerSkin = ownerSkin;
    SkinData = ownerSkin ? ownerSkin->SkinData : nullptr;
    // Tagged before it gets a parent, so the dispatch never skins the panel itself.
    SetTag(SkinData ? SkinData->DisableTag : TSkinData::kDefaultDisableTag);
    if (player) FreeNotification(player);
    if (ownerSkin) FreeNotification(ownerSkin);
    if (!player) return;
    CopyBounds(player);
    if (player->Parent()) {
        SetParent(player->Parent());
    } else if (auto* windowed = dynamic_cast<TWinControl*>(player); windowed && windowed->HandleAllocated()) {
        SetParentWindow(GetParent(windowed->Handle()));
    }
    BringToFront();
}

void TWMediaPlayer::CopyBounds(TControl* player) {
    if (!player) return;
    SetWidth(player->Width());
    SetHeight(player->Height());
    SetLeft(player->Left());
    SetTop(player->Top());
}

void TWMediaPlayer::DropPlayer() {
    if (Player) RemoveFreeNotification(Player);
    Player = nullptr;
    MouseDown = false;
    PressedIndex = HitIndex = kMPNoButton;
    if (!IsDestroying()) SetVisible(false);
}

void TWMediaPlayer::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == Player) DropPlayer();
    if (component == OwnerSkin) OwnerSkin = nullptr;
}

void TWMediaPlayer::readButtonStates() {
    TButtonSet visible = 0, enabled = 0, coloured = 0;
    if (Player) {
        visible = MPButtonSetFromText(GetSetProp(*Player, "VisibleButtons"));
        enabled = MPButtonSetFromText(GetSetProp(*Player, "EnabledButtons"));
        coloured = MPButtonSetFromText(GetSetProp(*Player, "ColoredButtons"));
    }
    VisibleCount = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        Button& b = Buttons[static_cast<size_t>(i)];
        b.Visible = inSet(visible, i);
        b.Enabled = inSet(enabled, i);
        b.Coloured = inSet(coloured, i);
        if (b.Visible) ++VisibleCount;
    }
}

int TWMediaPlayer::ButtonAt(int x) {
    // From the player's sets as they are now, not as the last paint saw them.
    readButtonStates();
    TButtonSet visible = 0;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (Buttons[static_cast<size_t>(i)].Visible) visible |= TButtonSet{1} << i;
    return LayoutMPButtons(visible, ClientWidth()).ButtonAt(visible, x);
}

void TWMediaPlayer::Paint() {
    HDC dc = canvas_.Handle();
    if (!dc) return;
    const RECT client = ClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const COLORREF face = ColorToRGB(SkinData ? SkinData->Colours.ButtonFace : clBtnFace);
    readButtonStates();
    if (VisibleCount == 0 || width <= 0 || height <= 0) {
        FillRectColor(dc, client, face);
        return;
    }
    ButtonWidth = width / VisibleCount;
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(width, height);
    HDC wdc = work.Canvas().Handle();
    if (!wdc) return;
    FillRectColor(wdc, RECT{0, 0, width, height}, face);
    int x = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        if (!Buttons[static_cast<size_t>(i)].Visible) continue;
        DrawButton(wdc, i, RECT{x, 0, x + ButtonWidth, height});
        x += ButtonWidth;
    }
    BitBlt(dc, 0, 0, width, height, wdc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::DrawButton(HDC dc, int index, const RECT& rect) {
    Button& b = Buttons[static_cast<size_t>(index)];
    const TMPGlyphState state = !b.Enabled ? gsDisabled : b.Coloured ? gsColoured : gsEnabled;
    const int cell = !b.Enabled ? 3 : (MouseDown && index == PressedIndex) ? 2 : 1;
    if (TDataSkinButton* part = SkinData ? SkinData->Buttons.get() : nullptr; part && !part->Image.Empty()) {
        const int cells = std::max(1, part->Frame);
        DrawSkinPart(dc, rect, part->Image, StripAxis::Horizontal, part->Tile != 0 ? CentreFill::Tile : CentreFill::Stretch,
                     part->Trans == 1 ? Keying::Magenta : Keying::Opaque, cells, std::clamp(cell, 1, cells),
                     part->Margins);
    }
    TBitmap& glyph = b.Glyphs[static_cast<size_t>(state)];
    if (glyph.Empty()) return;
    const int shift = cell == 2 ? 1 : 0;
    const int x = rect.left + (rect.right - rect.left - glyph.Width()) / 2 + shift;
    const int y = rect.top + (rect.bottom - rect.top - glyph.Height()) / 2 + shift;
    DrawTransparentBitmap(dc, RECT{x, y, x + glyph.Width(), y + glyph.Height()}, glyph, static_cast<TColor>(kMPGlyphKey));
}

void TWMediaPlayer::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: onLButtonDown(message); return;
    case WM_LBUTTONUP: onLButtonUp(message); return;
    default: TCustomPanel::WndProc(message);
    }
}

void TWMediaPlayer::onLButtonDown(TMessage& message) {
    MouseDown = true;
    TCustomPanel::WndProc(message);
    HitIndex = ButtonAt(GET_X_LPARAM(message.LParam));
    PressedIndex = HitIndex;
    Invalidate();
    // The player takes the press as its own (a double click counts as a press, as the
    // player itself takes it); its capture would keep the release from this panel.
    if (Player) Player->Perform(WM_LBUTTONDOWN, message.WParam, message.LParam);
    ReleaseCapture();
}

void TWMediaPlayer::onLButtonUp(TMessage& message) {
    MouseDown = false;
    TCustomPanel::WndProc(message);
    HitIndex = ButtonAt(GET_X_LPARAM(message.LParam));
    const bool sameButton = HitIndex == PressedIndex;
    PressedIndex = HitIndex;
    Invalidate();
    // Only a release over the pressed button reaches the player (it then clicks).  Last:
    // the click may run a handler that frees the player, or this panel with it.
    if (sameButton && Player) Player->Perform(WM_LBUTTONUP, message.WParam, message.LParam);
}

// ---- TSkinMP ------------------------------------------------------------------------------

const TClassInfo& TSkinMP::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinMP>("TSkinMP", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinMP>&) {});
    return info;
}

TSkinMP::TSkinMP(TComponent* owner) : TSkinControl(owner) {}

TSkinMP::~TSkinMP() {
    // The panel outlives this skin when the form skin owns it: it must not go on drawing a
    // player nobody watches for it any more.
    if (Overlay) Overlay->DropPlayer();
}

void TSkinMP::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    if (Attached()) return;
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    if (!Host || Overlay) return;
    TComponent* owner = FormSkin ? static_cast<TComponent*>(FormSkin) : static_cast<TComponent*>(Host);
    try {
        Overlay = new TWMediaPlayer(owner);
        FreeNotification(Overlay);
        Overlay->AttachHost(this, Host);
        Overlay->SetVisible(Host->Visible());
    } catch (...) {
        // No panel (its window could not be made): the player keeps its own look.
        TWMediaPlayer* failed = Overlay;
        Overlay = nullptr;
        delete failed;
    }
}

void TSkinMP::Unskin() {
    TSkinControl::Unskin();
    if (Lifecycle == lcDestroyed || !Overlay) return;
    TWMediaPlayer* overlay = Overlay;
    Overlay = nullptr;
    delete overlay;
}

void TSkinMP::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
        if (Overlay && Host) Overlay->CopyBounds(Host);
        break;
    case CM_VISIBLECHANGED:
        if (Overlay && Host) Overlay->SetVisible(Host->Visible());
        break;
    default: TSkinControl::AfterMessage(message);
    }
}

void TSkinMP::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == Overlay) Overlay = nullptr;
}
