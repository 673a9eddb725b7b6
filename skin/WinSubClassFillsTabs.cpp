// TSkinTabSheet (a page of a page control filled with the skin's ButtonFace, its graphic
// children painted on top) and TSkinTabBtn (a tab control whose tabs are drawn as the
// skin's "Buttons" faces, the current tab pressed).  Both paint through the base's
// HandlePaint; the rest of the message path is the base's.
#include <algorithm>

#include "Bitmap.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSubClassFills.h"
#include "WinSubClassLists_impl.h"

const TClassInfo& TSkinTabSheet::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TSkinTabSheet>("TSkinTabSheet", &TSkinControl::StaticClassInfo(),
                                                                 [](TClassBuilder<TSkinTabSheet>&) {});
    return info;
}

const TClassInfo& TSkinTabBtn::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinTabBtn>("TSkinTabBtn", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinTabBtn>&) {});
    return info;
}

// ---- TSkinTabSheet ---------------------------------------------------------------------

bool TSkinTabSheet::BeforeMessage(TMessage& message) {
    const bool letThrough = TSkinControl::BeforeMessage(message);
    // Mode 1 (a page that showed its parent's background) keeps its own painting.
    if (Mode != 0) return letThrough;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND: {
        const auto dc = reinterpret_cast<HDC>(message.WParam);
        RECT client{};
        if (dc && GetClientRect(Handle, &client)) {
            if (BrushRef brush = SkinData ? SkinData->SkinBrush() : BrushRef{}) FillRect(dc, &client, brush.get());
            else FillSkinColor(dc, client);
        }
        message.Result = 1;
        return false;
    }
    default:
        return letThrough;
    }
}

void TSkinTabSheet::Paint(HDC dc, const RECT& rect) {
    FillSkinColor(dc, rect);
    if (auto* page = dynamic_cast<TWinControl*>(Host)) page->PaintControls(dc, nullptr);
}

// ---- reading tabs ----------------------------------------------------------------------

namespace {

template <class Char>
size_t boundedLength(const Char* text, size_t room) {
    size_t length = 0;
    if (text) {
        while (length + 1 < room && text[length]) ++length;
    }
    return length;
}

}  // namespace

bool ReadTabButtonItem(HWND tabs, int index, bool unicode, TTabButtonItem& item) {
    const UINT mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    if (unicode) {
        wchar_t buffer[kTabButtonTextMaxW] = {};
        TCITEMW record{};
        record.mask = mask;
        record.pszText = buffer;
        record.cchTextMax = kTabButtonTextMaxW;
        if (!SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&record))) return false;
        // The control may fill the whole buffer without a terminator, or point pszText
        // at its own text: read at most the room given.
        buffer[kTabButtonTextMaxW - 1] = L'\0';
        const wchar_t* text = record.pszText ? record.pszText : buffer;
        item.Text.assign(text, boundedLength(text, kTabButtonTextMaxW));
        item.Image = record.iImage;
        return true;
    }
    char buffer[kTabButtonTextMaxA] = {};
    TCITEMA record{};
    record.mask = mask;
    record.pszText = buffer;
    record.cchTextMax = kTabButtonTextMaxA;
    if (!SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&record))) return false;
    buffer[kTabButtonTextMaxA - 1] = '\0';
    const char* text = record.pszText ? record.pszText : buffer;
    item.Text = AnsiToWide(std::string(text, boundedLength(text, kTabButtonTextMaxA)));
    item.Image = record.iImage;
    return true;
}

RECT TabButtonStrip(const RECT& rect, const RECT& displayArea) {
    RECT strip{rect.left, rect.top, rect.right, displayArea.top + 1};
    // A display area above the control's top (a control too small for its tabs) gives an
    // empty strip rather than one of negative height; one below its bottom is cut there.
    strip.bottom = std::max(strip.top, std::min(strip.bottom, rect.bottom));
    return strip;
}

// ---- TSkinTabBtn -----------------------------------------------------------------------

bool TSkinTabBtn::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        HandlePaint(message);
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinTabBtn::Paint(HDC dc, const RECT& rect) {
    if (!dc || !SkinData || !SkinData->Buttons || SkinData->Buttons->Image.Empty()) return;
    TDataSkinButton& buttons = *SkinData->Buttons;
    Enabled = Host ? Host->Enabled() : IsWindowEnabled(Handle) != FALSE;

    RECT display = rect;
    SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    InflateRect(&display, 4, 4);
    const RECT strip = TabButtonStrip(rect, display);
    const int width = strip.right - strip.left;
    const int height = strip.bottom - strip.top;
    if (width <= 0 || height <= 0) return;

    const LRESULT counted = SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0);
    const int count = counted <= 0 ? 0 : static_cast<int>(std::min<LRESULT>(counted, 0x10000));
    const int current = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
    const auto imageList = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));

    TBitmap buffer;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(width, height);
    TCanvas& canvas = buffer.Canvas();
    CopyWindowFont(Handle, canvas.Font());
    canvas.Font().SetColor(clBlack);
    HDC bufferDc = canvas.Handle();
    FillSkinColor(bufferDc, RECT{0, 0, width, height});

    const CentreFill fill = buttons.Tile ? CentreFill::Tile : CentreFill::Stretch;
    const Keying keying = buttons.Trans == 1 ? Keying::Magenta : Keying::Opaque;
    for (int i = 0; i < count; ++i) {
        TTabButtonItem item;
        if (!ReadTabButtonItem(Handle, i, IsWindowUnicode(Handle) != FALSE, item)) item = TTabButtonItem{};
        RECT itemRect{};
        if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&itemRect)))
            continue;
        // Client coordinates to the buffer's, one pixel down.
        OffsetRect(&itemRect, -strip.left, 1 - strip.top);
        const int cell = i == current ? 2 : 1;
        DrawSkinPart(bufferDc, itemRect, buttons.Image, StripAxis::Horizontal, fill, keying, buttons.Frame, cell,
                     buttons.Margins);
        // A skin that gives no colour for this look keeps the previous item's.
        if (cell == 1 && buttons.HasNormalColour2) canvas.Font().SetColor(buttons.NormalColour2);
        if (cell == 2 && buttons.HasPressedColour2) canvas.Font().SetColor(buttons.PressedColour2);
        DrawImageText(canvas, itemRect, 1, item.Text, item.Image, imageList);
    }
    BitBlt(dc, strip.left, strip.top, width, height, bufferDc, 0, 0, SRCCOPY);
}
