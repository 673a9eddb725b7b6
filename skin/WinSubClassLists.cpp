// TSkinHeader: the header control painted from "Headerbar" (cell 1 the items and the
// filler, cell 2 the hot item), hot tracking over the item rectangles of the last paint,
// and the reading of header items.  Attaching, subclassing and the shared text drawing
// are the base's (WinSubClass.h).
#include "WinSubClassLists.h"

#include <windowsx.h>

#include <algorithm>

#include "Bitmap.h"
#include "Handles.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "WinSubClassLists_impl.h"

const TClassInfo& TSkinHeader::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinHeader>("TSkinHeader", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinHeader>&) {});
    return info;
}

// ---- reading items ---------------------------------------------------------------------

namespace {

// The divider zone at each side of an item, where the mouse does not make it hot.
constexpr int kDividerZone = 3;

}  // namespace

void CopyWindowFont(HWND window, TFont& font) {
    auto source = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (!source) source = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA description{};
    if (!source || !GetObjectA(source, sizeof description, &description)) return;
    if (HFONT copy = CreateFontIndirectA(&description)) font.SetHandle(copy);
}

bool ReadHeaderItem(HWND header, int index, THeaderItemText& item) {
    wchar_t buffer[kHeaderTextMax] = {};
    HDITEMW record{};
    record.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    record.pszText = buffer;
    record.cchTextMax = kHeaderTextMax;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&record))) return false;
    // A window may fill the whole buffer without a terminator, or point pszText at text
    // of its own: read at most the room we gave.
    buffer[kHeaderTextMax - 1] = L'\0';
    const wchar_t* text = record.pszText ? record.pszText : buffer;
    size_t length = 0;
    while (length < kHeaderTextMax - 1 && text[length]) ++length;
    item.Text.assign(text, length);
    item.Format = record.fmt;
    item.Image = record.iImage;
    return true;
}

int HeaderItemCount(HWND header) {
    const LRESULT count = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
    // -1 is the header's failure answer.  The cap only keeps a forged answer from costing
    // gigabytes of item rectangles.
    if (count <= 0) return 0;
    return static_cast<int>(std::min<LRESULT>(count, kHeaderMaxItems));
}

int HeaderTextAlignment(int format) {
    switch (format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: return 2;
    case HDF_CENTER: return 1;
    default: return 0;
    }
}

int HeaderImageIndex(const THeaderItemText& item) {
    return (item.Format & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.Image : -1;
}

// ---- attach and messages ---------------------------------------------------------------

void TSkinHeader::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    HotItem = -1;
}

void TSkinHeader::AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    TSkinControl::AttachWindow(handle, skinData, formSkin, canvas);
    HotItem = -1;
}

TDataSkinObject* TSkinHeader::headerPart() const {
    if (!SkinData || !SkinData->Headerbar || SkinData->Headerbar->Image.Empty()) return nullptr;
    return SkinData->Headerbar.get();
}

bool TSkinHeader::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        // Without the part the header paints itself: taking the message over would leave
        // it unpainted.
        if (!headerPart()) return true;
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND:
        // The paint covers the whole header, so nothing is erased first.
        if (!headerPart()) return true;
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinHeader::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        TrackHotItem(message);
        break;
    case WM_MOUSELEAVE:
        HotItem = -1;
        Redraw();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinHeader::TrackHotItem(const TMessage& message) {
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    for (size_t i = 0; i < ItemRects.size(); ++i) {
        if (PtInRect(&ItemRects[i], point) && static_cast<int>(i) != HotItem) {
            HotItem = static_cast<int>(i);
            Redraw();
        }
    }
    // A point over no item (or over a divider zone) keeps the hot item; only the mouse
    // leaving the header clears it.
    SkinTrackMouseLeave(Handle);
}

// ---- painting --------------------------------------------------------------------------

void TSkinHeader::Paint(HDC dc, const RECT& rect) {
    TDataSkinObject* part = headerPart();
    if (!part || !dc) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;

    TBitmap buffer;
    buffer.SetSize(width, height);
    TCanvas& canvas = buffer.Canvas();
    CopyWindowFont(Handle, canvas.Font());
    HDC bufferDc = canvas.Handle();
    Enabled = true;
    SetBkMode(bufferDc, TRANSPARENT);
    const auto imageList = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
    const int count = HeaderItemCount(Handle);
    ItemRects.assign(static_cast<size_t>(count), RECT{});

    // The buffer's origin is rect's top left; item rectangles are in client coordinates,
    // which are rect's own (the header has no frame).
    int rightmost = 0;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
        PaintItem(imageList, canvas, i, item);
        RECT hit = item;
        InflateRect(&hit, -kDividerZone, 0);
        ItemRects[static_cast<size_t>(i)] = hit;
        rightmost = std::max(rightmost, static_cast<int>(item.right));
    }

    if (rightmost < rect.right) {
        const RECT filler{rightmost, rect.top, rect.right, rect.bottom};
        std::unique_ptr<TBitmap> face =
            RenderSkinPart(filler, part->Image, part->Margins, StripAxis::Horizontal,
                           part->Tile ? CentreFill::Tile : CentreFill::Stretch, part->Frame, 1);
        if (face && !face->Empty()) {
            BitBlt(bufferDc, filler.left - rect.left, filler.top - rect.top, filler.right - filler.left,
                   filler.bottom - filler.top, face->Canvas().Handle(), 0, 0, SRCCOPY);
        }
    }
    BitBlt(dc, rect.left, rect.top, width, height, bufferDc, 0, 0, SRCCOPY);
}

void TSkinHeader::PaintItem(HIMAGELIST imageList, TCanvas& canvas, int index, const RECT& itemRect) {
    TDataSkinObject* part = headerPart();
    if (!part) return;
    const int width = itemRect.right - itemRect.left;
    const int height = itemRect.bottom - itemRect.top;
    if (width <= 0 || height <= 0) return;
    THeaderItemText item;
    if (!ReadHeaderItem(Handle, index, item)) item = THeaderItemText{};

    std::unique_ptr<TBitmap> face =
        RenderSkinPart(itemRect, part->Image, part->Margins, StripAxis::Horizontal,
                       part->Tile ? CentreFill::Tile : CentreFill::Stretch, part->Frame, index == HotItem ? 2 : 1);
    if (!face || face->Empty()) return;
    if (!item.Text.empty()) {
        TCanvas& faceCanvas = face->Canvas();
        faceCanvas.Font().Assign(canvas.Font());
        const RECT faceRect{0, 0, width, height};
        DrawImageText(faceCanvas, faceRect, HeaderTextAlignment(item.Format), item.Text, HeaderImageIndex(item),
                      imageList);
    }
    BitBlt(canvas.Handle(), itemRect.left, itemRect.top, width, height, face->Canvas().Handle(), 0, 0, SRCCOPY);
}
