// The skins that write pictures into foreign controls: TSkinObjImage (check and radio
// glyph strips cut from the skin's "Buttons" strips) and TSkinAdvPage (tab background
// pictures rendered from "Tabs", and the skin of the page control's scroller).  The
// pictures are written at attach and at every skin change and taken back at Unskin; the
// host draws them itself.  Properties are reached by name only (WinSubClass.h), so a host
// without them is left as it is.
#include <algorithm>
#include <exception>

#include "Bitmap.h"
#include "SkinMessages.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClassFills.h"

const TClassInfo& TSkinObjImage::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinObjImage>("TSkinObjImage", &TSkinControl::StaticClassInfo(),
                                                                 [](TClassBuilder<TSkinObjImage>&) {});
    return info;
}

const TClassInfo& TSkinAdvPage::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinAdvPage>("TSkinAdvPage", &TSkinControl::StaticClassInfo(),
                                                                [](TClassBuilder<TSkinAdvPage>&) {});
    return info;
}

// ---- glyph strips ----------------------------------------------------------------------

namespace {

// The transparent colour written into the hosts, as the decimal text of 0xFF00FF.
const char* const kMagentaText = "16711935";

// Cell maps (destination <- source), the fifth-cell copies separately.
const TGlyphCellCopy kCheckNine[] = {{0, 0}, {3, 0}, {1, 1}, {4, 1}, {6, 2}, {7, 3}};
const TGlyphCellCopy kCheckNineFifth[] = {{2, 4}, {5, 4}, {8, 4}};
const TGlyphCellCopy kRadioSix[] = {{0, 0}, {2, 0}, {1, 1}, {3, 1}, {4, 2}, {5, 3}};
const TGlyphCellCopy kCheckSix[] = {{0, 0}, {3, 0}, {1, 1}, {4, 1}};
const TGlyphCellCopy kCheckSixFifth[] = {{2, 4}, {5, 4}};

template <size_t N>
void append(std::vector<TGlyphCellCopy>& map, const TGlyphCellCopy (&cells)[N]) {
    map.insert(map.end(), cells, cells + N);
}

}  // namespace

int GlyphResultCells(int kind) {
    switch (kind) {
    case oiCheckGlyphs: return 9;
    case oiRadioGlyphs: return 6;
    case oiPropertiesGlyph: return 6;
    default: return 0;
    }
}

std::vector<TGlyphCellCopy> GlyphCellMap(int kind, int sourceCells) {
    std::vector<TGlyphCellCopy> map;
    switch (kind) {
    case oiCheckGlyphs:
        append(map, kCheckNine);
        if (sourceCells == 5) append(map, kCheckNineFifth);
        break;
    case oiRadioGlyphs:
        append(map, kRadioSix);
        break;
    case oiPropertiesGlyph:
        append(map, kCheckSix);
        if (sourceCells == 5) append(map, kCheckSixFifth);
        break;
    default:
        break;
    }
    const int last = std::max(1, sourceCells) - 1;
    for (TGlyphCellCopy& copy : map) copy.Source = std::min(copy.Source, last);
    return map;
}

std::unique_ptr<TBitmap> BuildGlyphStrip(TSkinData* skinData, int kind) {
    if (!skinData || !skinData->Buttons || GlyphResultCells(kind) == 0) return nullptr;
    TDataSkinButton& buttons = *skinData->Buttons;
    TBitmap& source = kind == oiRadioGlyphs ? buttons.RadioButton : buttons.CheckButton;
    const int cells = std::max(1, kind == oiRadioGlyphs ? buttons.RadioButtonFrame : buttons.CheckButtonFrame);
    if (source.Empty()) return nullptr;
    const int cellWidth = source.Width() / cells;
    const int height = source.Height();
    if (cellWidth <= 0) return nullptr;

    auto strip = std::make_unique<TBitmap>();
    strip->SetPixelFormat(pf24bit);
    strip->SetSize(GlyphResultCells(kind) * cellWidth, height);
    HDC to = strip->Canvas().Handle();
    HDC from = source.Canvas().Handle();
    for (const TGlyphCellCopy& copy : GlyphCellMap(kind, cells)) {
        BitBlt(to, copy.Dest * cellWidth, 0, cellWidth, height, from, copy.Source * cellWidth, 0, SRCCOPY);
    }
    return strip;
}

// ---- TSkinObjImage ---------------------------------------------------------------------

void TSkinObjImage::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    // No hook of the host's procedure: the host draws the pictures it is given.
    if (Attached()) return;
    SkinData = skinData;
    FormSkin = formSkin;
    Canvas = canvas;
    Host = dynamic_cast<TControl*>(Owner());
    if (auto* windowed = dynamic_cast<TWinControl*>(Host)) Handle = windowed->Handle();
    if (FormSkin) FormSkin->AddSkinControl(this);
    Apply();
    Lifecycle = lcAttached;
}

void TSkinObjImage::UpdateSkin() { Apply(); }

void TSkinObjImage::Apply() {
    switch (GlyphKind) {
    case oiCheckGlyphs: ApplyCheckGlyphs(); break;
    case oiRadioGlyphs: ApplyRadioGlyphs(); break;
    case oiPropertiesGlyph: ApplyPropertiesGlyph(); break;
    default: break;
    }
}

void TSkinObjImage::ApplyCheckGlyphs() { applyCustomGlyphs(oiCheckGlyphs); }
void TSkinObjImage::ApplyRadioGlyphs() { applyCustomGlyphs(oiRadioGlyphs); }

void TSkinObjImage::applyCustomGlyphs(int kind) {
    std::unique_ptr<TBitmap> strip = BuildGlyphStrip(SkinData, kind);
    if (!strip) return;
    auto* glyphs = static_cast<TBitmap*>(GetObjectPropByName(Host, "CustomGlyphs", TBitmap::StaticClassInfo()));
    if (!glyphs) return;
    try {
        glyphs->Assign(*strip);
        SetPropByName(Host, "transparentcolor", kMagentaText);
        // Off and on again, so that the host takes the new pictures.
        SetPropByName(Host, "UseCustomGlyphs", "false");
        SetPropByName(Host, "UseCustomGlyphs", "true");
    } catch (const std::exception&) {
        // A foreign setter that refuses leaves the host with what it took so far; the
        // skinning of the other controls goes on.
    }
}

void TSkinObjImage::ApplyPropertiesGlyph() {
    std::unique_ptr<TBitmap> strip = BuildGlyphStrip(SkinData, oiPropertiesGlyph);
    if (!strip) return;
    TObject* properties = GetObjectPropByName(Host, "Properties", TObject::StaticClassInfo());
    auto* glyph = static_cast<TBitmap*>(GetObjectPropByName(properties, "Glyph", TBitmap::StaticClassInfo()));
    if (!glyph) return;
    glyph->Assign(*strip);
    glyph->SetTransparentColor(kSkinKeyColour);
    glyph->SetTransparent(false);
}

void TSkinObjImage::Unskin() {
    // The base's unskin does not run: this skin never recoloured the host.
    try {
        if (GlyphKind == oiCheckGlyphs || GlyphKind == oiRadioGlyphs) {
            SetPropByName(Host, "UseCustomGlyphs", "false");
        } else if (GlyphKind == oiPropertiesGlyph) {
            TObject* properties = GetObjectPropByName(Host, "Properties", TObject::StaticClassInfo());
            if (auto* glyph = static_cast<TBitmap*>(GetObjectPropByName(properties, "Glyph", TBitmap::StaticClassInfo())))
                glyph->Clear();
        }
    } catch (const std::exception&) {
        // As in applyCustomGlyphs: a refusing host keeps its state.
    }
}

// ---- TSkinAdvPage ----------------------------------------------------------------------

void TSkinAdvPage::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    if (Attached()) return;
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    Apply();
    Lifecycle = lcAttached;
}

void TSkinAdvPage::UpdateSkin() { Apply(); }

void TSkinAdvPage::Apply() {
    if (PageMode == kAdvPageTabImages) ApplyTabImages();
}

void TSkinAdvPage::ApplyTabImages() {
    if (!SkinData || !SkinData->Tabs || SkinData->Tabs->Image.Empty()) return;
    TDataSkinObject& tabs = *SkinData->Tabs;
    const RECT size{0, 0, kAdvTabWidth, kAdvTabHeight};
    const struct {
        const char* property;
        int cell;
    } pictures[] = {{"TabBackGround", 1}, {"TabBackGroundActive", 2}};
    for (const auto& picture : pictures) {
        auto* target = static_cast<TBitmap*>(GetObjectPropByName(Host, picture.property, TBitmap::StaticClassInfo()));
        if (!target) continue;
        std::unique_ptr<TBitmap> rendering = RenderSkinPart(size, tabs.Image, tabs.Margins, StripAxis::Horizontal,
                                                            tabs.Tile ? CentreFill::Tile : CentreFill::Stretch,
                                                            tabs.Frame, picture.cell);
        if (rendering && !rendering->Empty()) target->Assign(*rendering);
    }
}

void TSkinAdvPage::Unskin() {
    // The base's unskin does not run: the host keeps the colour the attach gave it.
    for (const char* property : {"TabBackGround", "TabBackGroundActive"}) {
        if (auto* target = static_cast<TBitmap*>(GetObjectPropByName(Host, property, TBitmap::StaticClassInfo())))
            target->Clear();
    }
}

void TSkinAdvPage::Paint(HDC dc, const RECT& rect) { SkinScroller(); }

void TSkinAdvPage::SkinScroller() {
    if (!Handle || UpDownSkin) return;
    HWND scroller = FindWindowExA(Handle, nullptr, "msctls_updown32", nullptr);
    // A scroller somebody else skinned already is left to that skin.
    if (!scroller || SendMessageA(scroller, WM_SKINQUERY, 0, 0) == 1) return;
    TSkinControl* skin = CreateSkinControl(TSkinClass::UpDown, Owner());
    if (!skin) return;
    UpDownSkin = skin;
    UpDownSkin->FreeNotification(this);
    UpDownSkin->AttachWindow(scroller, SkinData, FormSkin, Canvas);
}

void TSkinAdvPage::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == UpDownSkin) UpDownSkin = nullptr;
}
