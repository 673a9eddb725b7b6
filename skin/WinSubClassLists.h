// The header and list-view skins.  TSkinHeader paints a header control (a list view's
// column header or a stand-alone one) entirely from the skin's "Headerbar" part: one face
// per item, the hot item on its own cell, the item's image and text on top, and the space
// right of the last item as one more face.  The list view's own skin (scroll-bar covers
// and frame) comes from the scroll-bar cover family; it only hands its header a
// TSkinHeader.
//
// Types: THeaderItemText, TSkinHeader.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "WinSubClass.h"

// One header item as the painter reads it.
struct THeaderItemText {
    std::wstring Text;  // at most kHeaderTextMax - 1 characters
    int Format = 0;     // HDITEM fmt
    int Image = -1;     // HDITEM iImage
};

// Room of the text buffer an item is read into (texts are cut to one less).
constexpr int kHeaderTextMax = 100;
// Most items a header is painted with.
constexpr int kHeaderMaxItems = 0x10000;

// HDM_GETITEMW of item `index` (text, format and image); false when the header refuses.
// The text is cut at the buffer's end even when the window fills it without a terminator.
bool ReadHeaderItem(HWND header, int index, THeaderItemText& item);
// HDM_GETITEMCOUNT, with the failure answer -1 (and anything below) read as no items;
// at most kHeaderMaxItems.
int HeaderItemCount(HWND header);
// DrawImageText's alignment (0 left, 1 centre, 2 right) of an item format.
int HeaderTextAlignment(int format);
// The image index an item shows: its iImage when the format asks for an image (or the
// item is owner-drawn), else -1.
int HeaderImageIndex(const THeaderItemText& item);

class TSkinHeader : public TSkinControl {
    CLASS_INFO(TSkinHeader)
public:
    explicit TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

    void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) override;
    void AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

    void TrackHotItem(const TMessage& message);
    void PaintItem(HIMAGELIST imageList, TCanvas& canvas, int index, const RECT& itemRect);

    // The item rectangles of the last paint, in client coordinates, each narrowed by the
    // divider zone (3 pixels) at both sides; hit testing uses them.
    std::vector<RECT> ItemRects;
    int HotItem = -1;

private:
    // The "Headerbar" part when it has a picture, else nullptr.
    TDataSkinObject* headerPart() const;
};
