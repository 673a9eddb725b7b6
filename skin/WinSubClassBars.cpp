// The status-bar, group-box and panel skins (WinSubClassBars.h).  The status bar is
// composed on the process's shared paint bitmap and copied to the window in one blit; the
// group box draws straight on the paint DC; the panel skin only recolours its host.  The
// layout arithmetic is in WinSubClassBarsLayout.cpp.
#include <algorithm>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Handles.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClassBars.h"

namespace {

bool hasImage(const std::shared_ptr<TDataSkinObject>& part) { return part && !part->Image.Empty(); }

CentreFill fillOf(const TDataSkinObject& part) { return part.Tile == 1 ? CentreFill::Tile : CentreFill::Stretch; }

bool rightToLeft(TObject* object) { return GetEnumPropByName(object, "BiDiMode") == "bdRightToLeft"; }

// Lends a control's canvas a DC for the scope of a drawing event, as the control does for
// its own owner-drawn parts.
class CanvasLoan {
public:
    CanvasLoan(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
    ~CanvasLoan() { canvas_.SetHandle(nullptr); }
    CanvasLoan(const CanvasLoan&) = delete;
    CanvasLoan& operator=(const CanvasLoan&) = delete;

private:
    TCanvas& canvas_;
};

}  // namespace

// ---- TSkinStatusBar -------------------------------------------------------------------

const TClassInfo& TSkinStatusBar::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinStatusBar>("TSkinStatusBar", &TSkinControl::StaticClassInfo(), [](auto&) {});
    return info;
}

bool TSkinStatusBar::BeforeMessage(TMessage& message) {
    // Only the class library's status bars have the panels the painter reads; anything
    // else keeps its own painting.
    if (!dynamic_cast<TCustomStatusBar*>(Host)) return TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinStatusBar::AfterMessage(TMessage& message) {
    if (!dynamic_cast<TCustomStatusBar*>(Host)) {
        TSkinControl::AfterMessage(message);
        return;
    }
    switch (message.Msg) {
    case SB_SETTEXTA:
    case SB_SETTEXTW: invalidateText(LOBYTE(message.WParam)); break;
    case WM_SIZE:
        // The bar's class redraws a change of height only, and what a wider bar uncovers;
        // the last face and the grip sit at the right edge, wherever that now is.
        if (Handle) InvalidateRect(Handle, nullptr, FALSE);
        break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinStatusBar::invalidateText(int index) {
    auto* bar = dynamic_cast<TCustomStatusBar*>(Host);
    if (!bar || !Handle) return;
    RECT client{};
    if (!GetClientRect(Handle, &client)) return;
    const int count = bar->Panels().Count();
    RECT part{};
    // Wine lays out the parts of a bar with CCS_NORESIZE (the class library's) only when
    // they are set, not on a resize: a bar that grew since keeps its last part ending where
    // the bar then ended, an empty part once the bar is wider than its other parts, and its
    // own invalidation of the new text covers nothing of the face painted here.
    if (bar->SimplePanel() || count == 0 || index >= count ||
        !SendMessageA(Handle, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&part))) {
        InvalidateRect(Handle, nullptr, FALSE);
        return;
    }
    const RECT face = barskin::StatusPanelFace(part, client, index, count);
    InvalidateRect(Handle, &face, FALSE);
}

void TSkinStatusBar::Paint(HDC dc, const RECT& rect) {
    auto* bar = dynamic_cast<TCustomStatusBar*>(Host);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!dc || !bar || w <= 0 || h <= 0) return;
    try {
        TBitmap& surface = SharedPaintBitmap();
        if (surface.Width() < w || surface.Height() < h)
            surface.SetSize(std::max(surface.Width(), w), std::max(surface.Height(), h));
        TCanvas& canvas = surface.Canvas();
        HDC sdc = canvas.Handle();
        if (!sdc) return;
        const RECT r{0, 0, w, h};
        FillRectColor(sdc, r, ColorToRGB(SkinButtonFace()));
        canvas.Font().Assign(bar->Font());
        canvas.Font().SetStyle(0);
        const std::shared_ptr<TDataSkinObject> edges = SkinData ? SkinData->StatusBarEdges : nullptr;
        // A section without NormalColour (-1) keeps the bar's own font colour.
        if (edges && edges->NormalColour != -1) {
            canvas.Font().SetColor(edges->NormalColour);
            SetTextColor(sdc, ColorToRGB(edges->NormalColour));
        }

        TStatusPanels& panels = bar->Panels();
        const int count = panels.Count();
        const bool simple = bar->SimplePanel() || count == 0;
        if (simple) {
            const UINT align = rightToLeft(bar) ? DT_RIGHT : DT_LEFT;
            std::wstring text = AnsiToWide(bar->SimpleText());
            drawFace(canvas, r, 1);
            if (text.empty()) text = L" ";
            RECT t = r;
            InflateRect(&t, -2, 0);
            DrawSkinText(canvas, t, static_cast<uint16_t>(align), true, text);
        } else {
            for (int i = 0; i < count; ++i) {
                TStatusPanel* panel = panels.Items(i);
                if (!panel) continue;
                RECT part{};
                if (!SendMessageA(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part))) continue;
                const RECT face = barskin::StatusPanelFace(part, r, i, count);
                drawFace(canvas, face, barskin::StatusBevelCell(panel->Bevel()));
                if (panel->Style() != psText) continue;
                std::wstring text = AnsiToWide(panel->Text());
                if (text.empty()) text = L" ";
                RECT t = face;
                InflateRect(&t, -2, 0);
                const UINT align = barskin::StatusPanelAlignment(panel->Alignment(), rightToLeft(panel));
                DrawSkinText(canvas, t, static_cast<uint16_t>(align), true, text);
            }
        }
        if (GetWindowLongA(Handle, GWL_STYLE) & SBARS_SIZEGRIP) drawSizeGrip(sdc, r);

        BitBlt(dc, rect.left, rect.top, w, h, sdc, 0, 0, SRCCOPY);
        bar->PaintControls(dc, nullptr);
        callDrawPanel(dc, simple);
    } catch (...) {
        // Skin painting never fails loudly: what was drawn stays.
    }
}

void TSkinStatusBar::drawFace(TCanvas& canvas, const RECT& rect, int code) {
    const std::shared_ptr<TDataSkinObject> edges = SkinData ? SkinData->StatusBarEdges : nullptr;
    if (hasImage(edges)) {
        DrawSkinPart(canvas.Handle(), rect, edges->Image, StripAxis::Horizontal, fillOf(*edges), Keying::Opaque, 3,
                     code, edges->Margins);
        return;
    }
    RECT r = rect;
    if (code == 1) Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    else if (code == 2) Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
}

void TSkinStatusBar::drawSizeGrip(HDC dc, const RECT& bar) {
    const std::shared_ptr<TDataSkinObject> extra = SkinData ? SkinData->ExtraImages : nullptr;
    if (!hasImage(extra)) return;
    // The grip is cell 5: a strip of fewer cells has none, and drawing another cell (a
    // combo arrow) in its place would be wrong.
    const int cells = std::max(extra->Frame, 1);
    if (cells < 5) return;
    const int cellWidth = extra->Image.Width() / cells;
    if (cellWidth <= 0) return;
    DrawStripCellDC(dc, barskin::SizeGripRect(bar, cellWidth, extra->Image.Height()), cells, 5, &extra->Image);
}

void TSkinStatusBar::callDrawPanel(HDC dc, bool simple) {
    (void)simple;  // the event runs for every panel, in simple mode too
    auto* bar = dynamic_cast<TCustomStatusBar*>(Host);
    if (!bar || !bar->OnDrawPanel) return;
    TStatusPanels& panels = bar->Panels();
    const int count = panels.Count();
    if (count == 0) return;
    CanvasLoan loan(bar->Canvas(), dc);
    bar->Canvas().Font().Assign(bar->Font());
    for (int i = 0; i < count; ++i) {
        RECT part{};
        if (!SendMessageA(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part))) continue;
        InflateRect(&part, -2, -2);
        // Copied first: the handler may change the event.
        const TDrawPanelEvent handler = bar->OnDrawPanel;
        if (handler) handler(bar, panels.Items(i), part);
    }
}

// ---- TSkinGroupBox --------------------------------------------------------------------

const TClassInfo& TSkinGroupBox::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinGroupBox>("TSkinGroupBox", &TSkinControl::StaticClassInfo(), [](auto&) {});
    return info;
}

void TSkinGroupBox::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    if (Host) Mode = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    if (Mode == 1 && (message.Msg == WM_PAINT || message.Msg == WM_PRINTCLIENT)) {
        HandlePaint(message);
        return false;
    }
    return true;
}

void TSkinGroupBox::Paint(HDC dc, const RECT& rect) {
    if (!dc) return;
    try {
        Caption = ReadWindowText(Handle);
        if (Caption.empty() && Host) Caption = AnsiToWide(Host->Caption());
        if (Host) FillSkinColor(dc, rect);

        SaveDcGuard saved(dc);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(Handle, WM_GETFONT, 0, 0));
        if (Host) {
            font = Host->Font().Handle();
            SetTextColor(dc, ColorToRGB(Host->Font().Color()));
        }
        // A window that answers no font gets the platform's dialog font, not the DC's
        // bitmap system font.
        if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        SelectObject(dc, font);
        SIZE zero{};
        if (!GetTextExtentPoint32A(dc, "0", 1, &zero)) zero.cy = 0;
        const int y = zero.cy / 2 - 1;

        const TColor shadow = SkinData ? SkinData->Colours.ButtonShadow : clBtnShadow;
        UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(shadow)));
        if (pen) {
            SelectGuard penIn(dc, pen.get());
            SelectGuard brushIn(dc, GetStockObject(HOLLOW_BRUSH));
            RoundRect(dc, 1, y, rect.right - 1, rect.bottom - 1, 5, 5);
        }

        // Opaque: the caption's background hides the frame line behind it.
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColorToRGB(SkinButtonFace()));
        if (GetWindowLongA(Handle, GWL_EXSTYLE) & WS_EX_RIGHT) {
            RECT t{rect.left, rect.top, rect.right - 8, rect.bottom};
            SkinDrawText(dc, Caption, t, BiDiFlags(DT_EXPANDTABS | DT_RIGHT));
        } else {
            RECT t{rect.left + 8, rect.top, rect.right, rect.bottom};
            SkinDrawText(dc, Caption, t, DT_EXPANDTABS);
        }
    } catch (...) {
        return;
    }
    if (auto* host = dynamic_cast<TWinControl*>(Host)) {
        try {
            host->PaintControls(dc, nullptr);
        } catch (...) {
        }
    }
}

// ---- TSkinBox -------------------------------------------------------------------------

const TClassInfo& TSkinBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinBox>("TSkinBox", &TSkinControl::StaticClassInfo(), [](auto&) {});
    return info;
}

void TSkinBox::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    if (Attached()) return;
    FormSkin = formSkin;
    SkinData = skinData;
    SetColor = setColor;
    Canvas = canvas;
    Host = dynamic_cast<TControl*>(Owner());
    if (auto* windowed = dynamic_cast<TWinControl*>(Host)) Handle = windowed->Handle();
    if (FormSkin) FormSkin->AddSkinControl(this);
    if (SetColor && Host) {
        SwitchParentBackground(true);
        SavedColor = Host->Color();
        Host->SetColor(SkinButtonFace());
    }
    Lifecycle = lcAttached;
}

void TSkinBox::Unskin() {
    if (SetColor && Host) {
        SwitchParentBackground(false);
        Host->SetColor(SavedColor);
    }
}
