// The skin parts TSkinData makes rather than reads: the caption-button definitions and the
// three document-window buttons cut from [MDICONTROLS], the track grooves from the
// program's bitmap resources, the composed combo-box frame, the combo arrow strip, the
// toolbar gradient, and the application's small icon.  All but the icon run inside
// ParseSkin, in the order it calls them.
#include <algorithm>

#include "Forms.h"
#include "ImgUtil.h"
#include "Texts.h"
#include "WinSkinData.h"
#include "WinSkinData_impl.h"
#include "WinSkinFormGeometry.h"

namespace {

// The composed combo frame: one 50 x 21 cell per state.
constexpr int kComboCellWidth = 50;
constexpr int kComboCellHeight = 21;
// The arrow cut from each composed cell.
constexpr int kComboArrowSize = 17;

void fillRect(HDC dc, const RECT& rect, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    if (brush) FillRect(dc, &rect, brush.get());
}

// A new 24-bit bitmap of the given size, all one colour.
void makeFilled(TBitmap& bitmap, int width, int height, COLORREF colour) {
    bitmap.Clear();
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    if (!bitmap.Empty()) fillRect(bitmap.Canvas().Handle(), RECT{0, 0, width, height}, colour);
}

// dest := the rectangle (left, top, width, height) of source, same pixel format and colour
// table; pixels outside the source read as 0.
void copyBitmapRect(TBitmap& source, int left, int top, int width, int height, TBitmap& dest) {
    dest.Assign(source);
    dest.SetSize(width, height);
    if (dest.Empty()) return;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) dest.SetRawPixel(x, y, source.RawPixel(left + x, top + y));
}

bool isReservedButtonSection(const std::string& upper) {
    return upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX";
}

}  // namespace

void MirrorStripCells(TBitmap& strip, int cells) {
    if (strip.Empty()) return;
    const int n = std::max(1, cells);
    const int cw = strip.Width() / n;
    for (int y = 0; y < strip.Height(); ++y)
        for (int k = 0; k < n; ++k)
            for (int x = 0; x < cw / 2; ++x) {
                const int a = k * cw + x, b = (k + 1) * cw - 1 - x;
                const uint32_t pa = strip.RawPixel(a, y);
                strip.SetRawPixel(a, y, strip.RawPixel(b, y));
                strip.SetRawPixel(b, y, pa);
            }
}

// ---- caption buttons ---------------------------------------------------------------

void TSkinData::LoadCaptionButtons() {
    CaptionButtons.clear();
    // Any section named "Button..." is a caption button, except the control sections and
    // the ones with Action -1 that do not say Visibility 0 explicitly.
    std::vector<std::string> retained;
    for (const std::string& name : sections_) {
        const std::string upper = texts::UpperCase(name);
        if (isReservedButtonSection(upper) || upper.compare(0, 6, "BUTTON") != 0) continue;
        if (readInteger(upper, "Action", 0) == -1 && readInteger(upper, "Visibility", -1) != 0) continue;
        retained.push_back(upper);
    }
    CaptionButtons.reserve(retained.size() + 3);
    for (const std::string& section : retained) {
        auto b = std::make_shared<TDataSkinSysButton>(section);
        LoadBitmap(b->Image, readString(section, "ButtonImage"));
        b->Frame = readInteger(section, "frame", 0);
        b->Action = readInteger(section, "Action", 0);
        b->Align = readInteger(section, "Align", 0);
        b->Xcoord = readInteger(section, "Xcoord", 0);
        b->Ycoord = readInteger(section, "Ycoord", 0);
        b->CombineOp = readInteger(section, "CombineOp", -1);
        b->Visibility = readInteger(section, "Visibility", 0);
        b->Visibility1 = readInteger(section, "Visibility1", b->Action == -1 ? -1 : 0);
        if (b->Frame == 0) {
            // Without a count: wide strips hold 6 cells, narrow ones 3.
            b->Frame = 6;
            if (!b->Image.Empty())
                b->Frame = static_cast<double>(b->Image.Width()) / b->Image.Height() <= 3.8 ? 3 : 6;
            if (b->Action < 0) b->Frame = 6;
            // The window-icon buttons draw the window's own icon.
            if (skinframe::IsIconAction(b->Action)) b->Image.Clear();
        }
        CaptionButtons.push_back(std::move(b));
    }
    const size_t first = CaptionButtons.size();
    for (int i = 0; i < 3; ++i) {
        auto b = std::make_shared<TDataSkinSysButton>("MDICONTROLS");
        b->Action = 7 + i;
        b->Align = skinframe::kAlignInMenuStrip;
        b->Visibility = skinframe::kVisibleInMenuStrip;
        b->Visibility1 = skinframe::kStateAsShown;
        b->Frame = 4;
        CaptionButtons.push_back(std::move(b));
    }
    LoadMDIButtons(first);
}

void TSkinData::LoadMDIButtons(size_t firstIndex) {
    if (firstIndex + 3 > CaptionButtons.size()) return;
    TBitmap source;
    LoadBitmap(source, readString("MDICONTROLS", "Image"));
    if (source.Empty()) return;
    // Three buttons of 4 cells each, side by side.
    const int a = source.Width() / 12;
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& b = *CaptionButtons[firstIndex + static_cast<size_t>(i)];
        copyBitmapRect(source, 4 * a * i, 0, 4 * a, source.Height(), b.Image);
        b.Xcoord = (a + 4) * (3 - i);
    }
}

// ---- track fallbacks ---------------------------------------------------------------

void TSkinData::LoadResourcePart(std::shared_ptr<TDataSkinObject>& slot, const std::string& resourceName) {
    slot.reset();
    auto part = std::make_shared<TDataSkinObject>(resourceName);
    // A program built without the skin's resources gets an empty groove, not a failed skin.
    try {
        part->Image.LoadFromResourceName(GetModuleHandleA(nullptr), resourceName);
    } catch (const EInvalidGraphic&) {
        part->Image.Clear();
    }
    part->Margins = TSkinMargins{3, 3, 3, 3};
    part->Tile = 0;
    part->Frame = 1;
    slot = std::move(part);
}

// ---- combo box ---------------------------------------------------------------------

void TSkinData::ComposeComboButton() {
    if (!SunkEdge || !ComboButton) return;
    const int n = std::max(1, SunkEdge->Frame);
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    TBitmap composite;
    makeFilled(composite, kComboCellWidth * n, kComboCellHeight, kSkinKeyColour);
    TBitmap work;
    makeFilled(work, kComboCellWidth, kComboCellHeight, kSkinKeyColour);
    if (composite.Empty() || work.Empty()) return;
    const RECT cell{0, 0, kComboCellWidth, kComboCellHeight};
    const RECT button{kComboCellWidth - w, 0, kComboCellWidth, kComboCellHeight};
    const RECT edit{2, 2, kComboCellWidth - 1 - w, kComboCellHeight - 3};
    for (int c = 1; c <= n; ++c) {
        HDC dc = work.Canvas().Handle();
        // Each cell starts from magenta, so no state shows through another.
        fillRect(dc, cell, kSkinKeyColour);
        DrawSkinPart(dc, cell, SunkEdge->Image, StripAxis::Horizontal, CentreFill::Stretch,
                     SunkEdge->Trans != 0 ? Keying::Magenta : Keying::Opaque, n, c, SunkEdge->Margins);
        DrawSkinPart(dc, button, ComboButton->Image, StripAxis::Horizontal, CentreFill::Stretch, Keying::Magenta,
                     std::max(1, ComboButton->Frame), c, ComboButton->Margins);
        if (ExtraImages) DrawStripCellCentered(dc, button, ExtraImages->Image, Keying::Magenta, 5, c);
        fillRect(dc, edit, kSkinKeyColour);  // the edit area shows the control through the frame
        BitBlt(composite.Canvas().Handle(), kComboCellWidth * (c - 1), 0, kComboCellWidth, kComboCellHeight, dc, 0, 0,
               SRCCOPY);
    }
    work.FreeContext();
    composite.FreeContext();

    ComboButton->Style = 2;
    ComboButton->Margins = SunkEdge->Margins;
    ComboButton->Margins.Left = 2;
    ComboButton->Margins.Right = w + 2;
    DuplicateBitmap(composite, ComboButton->Image);
    // The right-to-left frame: the button on the left.  Each cell is mirrored where it
    // stands; mirroring the whole strip would also reverse the order of the states.
    MirrorStripCells(composite, n);
    DuplicateBitmap(composite, SunkEdge->Image);
    SunkEdge->Margins.Left = w + 2;
    SunkEdge->Margins.Right = 2;
}

void TSkinData::MakeComboArrow() {
    if (!ComboxArrow) ComboxArrow = std::make_shared<TDataSkinObject>("ComboxArrow");
    if (!ComboButton) return;
    if (!SunkEdge) {
        DuplicateBitmap(ComboButton->Image, ComboxArrow->Image);
        ReplaceKeyColor(ComboxArrow->Image, Colours.ButtonFace);
        ComboxArrow->Frame = ComboButton->Frame;
        return;
    }
    if (ComboButton->Style != 2) return;
    // The arrow of each composed cell: 17 x 17 pixels ending 2 pixels inside its right and
    // bottom edges.
    const int n = std::max(1, SunkEdge->Frame);
    const int cw = ComboButton->Image.Width() / n;
    TBitmap arrow;
    makeFilled(arrow, kComboArrowSize * n, kComboArrowSize, kSkinKeyColour);
    if (!ComboButton->Image.Empty()) ComboButton->Image.SetPixelFormat(pf24bit);
    for (int i = 0; i < n; ++i) {
        const int left = cw * (i + 1) - 19;
        for (int y = 0; y < kComboArrowSize; ++y)
            for (int x = 0; x < kComboArrowSize; ++x)
                arrow.SetRawPixel(kComboArrowSize * i + x, y, ComboButton->Image.RawPixel(left + x, 2 + y));
    }
    DuplicateBitmap(arrow, ComboxArrow->Image);
    ComboxArrow->Frame = n;
}

// ---- toolbar -----------------------------------------------------------------------

void TSkinData::MakeToolbarGradient() {
    const TColor sample = CaptionSampleColor();
    const TColor top = BlendColors(Colours.ButtonFace, clWhite, 150);
    TColor bottom = BlendColors(clGray, sample, 150);
    const int k = ColorSaturation(sample);
    // Strongly coloured captions: a lighter bottom, the lighter the stronger the colour.
    if (k > 110) bottom = BlendColors(sample, clWhite, (225 - k) * 25 / 140 + 50);
    TBitmap gradient;
    makeFilled(gradient, 10, 40, ColorToRGB(top));
    if (!gradient.Empty()) {
        GradientFillRect(gradient.Canvas().Handle(), RECT{0, 0, 10, 40}, top, true, bottom);
        gradient.FreeContext();
    }
    if (!Toolbar) Toolbar = std::make_shared<TDataSkinObject>("Toolbar");
    DuplicateBitmap(gradient, Toolbar->Image);
    Toolbar->Frame = 1;
}

// ---- application icon --------------------------------------------------------------

void TSkinData::LoadAppIcon() {
    HWND app = Application ? Application->Handle() : nullptr;
    if (!app) return;
    auto icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
    if (!icon) return;
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    makeFilled(appIcon_, cx, cy, kSkinKeyColour);
    if (appIcon_.Empty()) return;
    UniqueIcon copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
    DrawIconEx(appIcon_.Canvas().Handle(), 0, 0, copy ? copy.get() : icon, cx, cy, 0, nullptr, DI_NORMAL);
    appIcon_.FreeContext();
    appIcon_.SetTransparent(true);
    appIcon_.SetTransparentColor(kSkinKeyColour);
}
