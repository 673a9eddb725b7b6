// TSkinTab31: the class library's tab set painted from the skin's [Tabs] strip, flipped so
// that the tabs hang from the top edge.  The tab set is read through its published
// properties (Tabs, TabIndex, FirstIndex, StartMargin, EndMargin) and laid out with the
// tab set's own layout function, so the skin draws its tabs where the tab set takes clicks.
#include <algorithm>

#include "ImgUtil.h"
#include "Tabs.h"
#include "WinSkinData.h"
#include "WinSubClassTabs.h"

namespace {

int nonNegative(int value) { return std::max(0, value); }

}  // namespace

const TClassInfo& TSkinTab31::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinTab31>("TSkinTab31", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinTab31>&) {});
    return info;
}

TSkinTab31::TSkinTab31(TComponent* owner) : TSkinControl(owner) {}

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    (void)setColor;  // the tab set keeps its colour: the skin paints all of it
    if (Attached()) return;
    auto* host = dynamic_cast<TWinControl*>(Owner());
    if (!host) return;
    HWND window = nullptr;
    try {
        window = host->Handle();
    } catch (...) {
        return;  // no window can be made for it (no parent window yet): left unskinned
    }
    // Subclassed at window level, not through its WindowProc slot.
    TSkinControl::AttachWindow(window, skinData, formSkin, canvas);
    Host = host;
    LoadBitmaps();
}

bool TSkinTab31::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        // The tab set still gets the message (its update region is already validated when
        // the skin began the painting); the base paints the skin again afterwards.
        HandlePaint(message);
        return true;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default: return TSkinControl::BeforeMessage(message);
    }
}

void TSkinTab31::UpdateSkin() {
    LoadBitmaps();
    TSkinControl::UpdateSkin();
}

void TSkinTab31::LoadBitmaps() {
    // A skin without the strip leaves none behind from the last skin.
    StripBitmap.Clear();
    TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
    if (!tabs || tabs->Image.Empty()) return;
    DuplicateBitmap(tabs->Image, StripBitmap);
    FlipBitmap(StripBitmap);
}

void TSkinTab31::Paint(HDC dc, const RECT& rect) {
    if (!dc) return;
    try {
        const TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
        if (!tabs || tabs->Image.Empty() || StripBitmap.Empty()) return;
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        if (width <= 0 || height <= 0) return;

        TBitmap bitmap;
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(width, height);
        TCanvas& canvas = bitmap.Canvas();
        HDC work = canvas.Handle();
        if (!work) return;
        FillSkinColor(work, RECT{0, 0, width, height});
        if (Host) canvas.Font().Assign(Host->Font());

        std::vector<std::string> texts;
        if (auto* list = dynamic_cast<TStrings*>(GetObjectPropByName(Host, "Tabs", TStrings::StaticClassInfo())))
            texts = list->ToVector();
        const int selected = GetIntPropByName(Host, "TabIndex");
        const int first = nonNegative(GetIntPropByName(Host, "FirstIndex"));
        const int startMargin = nonNegative(GetIntPropByName(Host, "StartMargin"));
        const int endMargin = nonNegative(GetIntPropByName(Host, "EndMargin"));

        std::vector<int> widths;
        widths.reserve(texts.size());
        for (const std::string& text : texts) widths.push_back(canvas.TextWidth(text));
        const std::vector<RECT> rects = TabSetLayout(widths, first, startMargin, width - endMargin, height);

        const int cells = std::max(1, tabs->Frame);
        const TSkinMargins margins = OrientMargins(tabs->Margins, toBottom);  // the strip is flipped
        const CentreFill fill = tabs->Tile != 0 ? CentreFill::Tile : CentreFill::Stretch;
        const Keying keying = tabs->Trans == 1 ? Keying::Magenta : Keying::Opaque;
        for (size_t i = 0; i < rects.size(); ++i) {
            const RECT& r = rects[i];
            if (r.right <= r.left) continue;  // did not fit
            const bool chosen = static_cast<int>(i) == selected;
            const int cell = std::clamp(chosen ? 2 : 1, 1, cells);
            DrawSkinPart(work, r, StripBitmap, StripAxis::Horizontal, fill, keying, cells, cell, margins);
            const int32_t colour = chosen ? tabs->MouseOverColour : tabs->NormalColour;
            canvas.Font().SetColor(colour == -1 ? clBlack : static_cast<TColor>(colour));
            DrawSkinText(canvas, r, DT_CENTER, true, AnsiToWide(texts[i]));
        }
        BitBlt(dc, rect.left, rect.top, width, height, work, 0, 0, SRCCOPY);
    } catch (...) {
    }
}
