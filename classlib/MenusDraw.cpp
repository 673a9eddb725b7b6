// Owner-drawn menu items: answering WM_MEASUREITEM and WM_DRAWITEM for the items of a
// menu (the item's own handlers first, else its default look), and that default look:
// glyph or check mark, caption, shortcut text on the right, greyed when disabled.
// Geometry (calcItemLayout) is kept apart from drawing.
#include <algorithm>

#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"

namespace {

constexpr int kGlyphSize = 16;     // the check-mark box, and the least glyph box
constexpr int kGlyphMargin = 2;    // around the glyph box
constexpr int kTextGap = 4;        // between the glyph box and the caption
constexpr int kShortCutGap = 20;   // between caption and shortcut text
constexpr int kRightMargin = 10;   // right of the shortcut text
constexpr int kBarItemPadding = 6; // each side of a menu-bar caption
constexpr int kSeparatorHeight = 8;

// Where the parts of a popup item go, in the coordinates of the item rectangle given.
struct ItemLayout {
    RECT glyph;     // glyph or check-mark box
    RECT text;      // caption (left-aligned) and shortcut (right-aligned)
};

int glyphWidth(const TImageList* images) {
    return std::max(kGlyphSize, images ? images->Width() : 0);
}

int glyphHeight(const TImageList* images) {
    return std::max(kGlyphSize, images ? images->Height() : 0);
}

ItemLayout calcItemLayout(const RECT& r, const TImageList* images) {
    ItemLayout l{};
    const int gw = glyphWidth(images), gh = glyphHeight(images);
    l.glyph.left = r.left + kGlyphMargin;
    l.glyph.right = l.glyph.left + gw;
    l.glyph.top = r.top + (r.bottom - r.top - gh) / 2;
    l.glyph.bottom = l.glyph.top + gh;
    l.text = RECT{l.glyph.right + kGlyphMargin + kTextGap, r.top, r.right - kRightMargin, r.bottom};
    return l;
}

SIZE captionSize(HDC dc, const std::string& caption) {
    RECT r{0, 0, 0, 0};
    const std::string text = caption.empty() ? std::string(" ") : caption;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// A check mark (or a radio dot) in the current text colour, centred in box.
void drawCheck(HDC dc, const RECT& box, bool radio, COLORREF colour) {
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    UniqueBrush brush(CreateSolidBrush(colour));
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    SelectGuard selBrush(dc, brush.get());
    SelectGuard selPen(dc, pen.get());
    if (radio) {
        Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
        return;
    }
    // Three strokes of a 7 by 5 tick.
    for (int dy = 0; dy < 3; ++dy) {
        MoveToEx(dc, cx - 3, cy - 1 + dy, nullptr);
        LineTo(dc, cx - 1, cy + 1 + dy);
        LineTo(dc, cx + 4, cy - 4 + dy);
    }
}

}  // namespace

// ---- measuring and drawing one item ------------------------------------------------

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    HDC dc = canvas.Handle();
    if (!dc) return;
    canvas.TextExtent(" ");  // selects the canvas font into the DC
    if (isBarItem()) {
        SIZE s = captionSize(dc, caption_);
        width = s.cx + 2 * kBarItemPadding;
        height = std::max<int>(GetSystemMetrics(SM_CYMENU), s.cy + 4);
        return;
    }
    if (IsLine()) {
        width = kGlyphSize;
        height = kSeparatorHeight;
        return;
    }
    const TImageList* images = GetImageList();
    SIZE s = captionSize(dc, caption_);
    int w = kGlyphMargin + glyphWidth(images) + kGlyphMargin + kTextGap + s.cx + kRightMargin;
    if (shortCut_) w += kShortCutGap + captionSize(dc, ShortCutToText(shortCut_)).cx;
    width = w;
    height = std::max({static_cast<int>(GetSystemMetrics(SM_CYMENU)), static_cast<int>(s.cy) + 4,
                       glyphHeight(images) + 2 * kGlyphMargin});
}

void TMenuItem::DrawItem(TCanvas& canvas, RECT rect, bool selected) {
    HDC dc = canvas.Handle();
    if (!dc) return;
    const bool enabled = enabled_;
    canvas.Brush().SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);

    if (IsLine()) {
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    // Text colour: highlighted, normal or greyed.
    TColor textColour = !enabled ? clGrayText : selected ? clHighlightText : clMenuText;
    canvas.Font().SetColor(textColour);
    if (default_) canvas.Font().SetStyle(canvas.Font().Style() | (1u << fsBold));
    canvas.TextExtent(" ");  // selects font and colour
    SetBkMode(dc, TRANSPARENT);

    if (isBarItem()) {
        RECT r = rect;
        DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }

    TImageList* images = GetImageList();
    const ItemLayout l = calcItemLayout(rect, images);
    if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
        if (checked_) DrawEdge(dc, const_cast<RECT*>(&l.glyph), BDR_SUNKENOUTER, BF_RECT);
        const int x = l.glyph.left + (l.glyph.right - l.glyph.left - images->Width()) / 2;
        const int y = l.glyph.top + (l.glyph.bottom - l.glyph.top - images->Height()) / 2;
        images->Draw(canvas, x, y, imageIndex_, enabled);
    } else if (checked_) {
        drawCheck(dc, l.glyph, radioItem_, ColorToRGB(textColour));
    }

    RECT text = l.text;
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    if (shortCut_) {
        const std::string sc = ShortCutToText(shortCut_);
        RECT scRect = l.text;
        DrawTextA(dc, sc.c_str(), static_cast<int>(sc.size()), &scRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

// ---- the menu's answers to WM_MEASUREITEM and WM_DRAWITEM --------------------------

namespace {

// The item the message is about, when it is one of this menu's: the item data must be the
// item that the menu put into its handle under that command id.
TMenuItem* ownItem(TMenu& menu, UINT itemId, ULONG_PTR itemData) {
    TMenuItem* item = menu.FindItem(itemId, TMenuItemFind::fkCommand);
    if (!item || reinterpret_cast<ULONG_PTR>(item) != itemData) return nullptr;
    return item;
}

void setMenuFont(TCanvas& canvas) {
    if (Screen) canvas.Font().Assign(Screen->MenuFont());
    canvas.Font().SetColor(clMenuText);
}

}  // namespace

bool TMenu::MeasureItem(MEASUREITEMSTRUCT& mis, HWND wnd) {
    if (mis.CtlType != ODT_MENU) return false;
    TMenuItem* item = ownItem(*this, mis.itemID, mis.itemData);
    if (!item) return false;
    WindowDcGuard dc(wnd);
    if (!dc.get()) return false;
    SaveDcGuard saved(dc.get());
    TCanvas canvas;
    canvas.SetHandle(dc.get());
    setMenuFont(canvas);
    int width = static_cast<int>(mis.itemWidth), height = static_cast<int>(mis.itemHeight);
    item->MeasureItem(canvas, width, height);
    if (item->OnMeasureItem) item->OnMeasureItem(item, &canvas, width, height);
    mis.itemWidth = static_cast<UINT>(std::max(width, 0));
    mis.itemHeight = static_cast<UINT>(std::max(height, 0));
    canvas.SetHandle(nullptr);
    return true;
}

bool TMenu::DrawItem(const DRAWITEMSTRUCT& dis) {
    if (dis.CtlType != ODT_MENU) return false;
    TMenuItem* item = ownItem(*this, dis.itemID, dis.itemData);
    if (!item) return false;
    SaveDcGuard saved(dis.hDC);
    TCanvas canvas;
    canvas.SetHandle(dis.hDC);
    setMenuFont(canvas);
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    // The rectangle is the item's, in client coordinates of the popup (or bar) window.
    if (item->OnDrawItem) item->OnDrawItem(item, &canvas, dis.rcItem, selected);
    else item->DrawItem(canvas, dis.rcItem, selected);
    canvas.SetHandle(nullptr);
    return true;
}
