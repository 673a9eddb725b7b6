// Owner-drawn menu items from the skin: geometry, measuring, background, part, glyph,
// caption and shortcut.  Every item is composed on a scratch bitmap and copied to the
// menu's DC in one blit.
#include "WinSkinMenuItems.h"

#include <algorithm>
#include <memory>

#include "Bitmap.h"
#include "Forms.h"
#include "Handles.h"
#include "ImgList.h"
#include "Menus.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"

namespace {

constexpr int kGlyphSize = 16;
constexpr int kObmCheck = 32760;  // OBM_CHECK: the system check mark (headers hide it behind OEMRESOURCE)
constexpr int kMenuItemCells = 5;
constexpr int kNormalCell = 1, kSeparatorCell = 2, kSelectedCell = 4;

TDataSkinObject* menuItemPart(const TSkinData* skin) {
    if (!skin) return nullptr;
    TDataSkinObject* part = skin->MenuItem.get();
    return part && !part->Image.Empty() ? part : nullptr;
}

void fill(HDC dc, const RECT& r, TColor colour) {
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(colour)));
    if (brush) FillRect(dc, &r, brush.get());
}

// The scratch bitmap onto the item's place.
void put(TCanvas& canvas, const RECT& rect, TBitmap& b) {
    HDC dc = canvas.Handle();
    if (!dc || b.Empty()) return;
    if (HDC src = b.Canvas().Handle()) BitBlt(dc, rect.left, rect.top, b.Width(), b.Height(), src, 0, 0, SRCCOPY);
}

TMenu* menuOf(TMenuItem& item, TMenu* fallback) {
    TMenu* menu = item.GetParentMenu();
    return menu ? menu : fallback;
}

TImageList* imagesOf(TMenuItem& item, TMenu* fallback) {
    if (TImageList* images = item.GetImageList()) return images;
    return item.GetParentMenu() ? nullptr : (fallback ? fallback->Images() : nullptr);
}

// The popup background under the item, else the Menu colour.
void drawBackground(TSkinData& skin, HDC dc, const RECT& local, const RECT& itemRect,
                    const TMenuItemBackground& background) {
    TBitmap* bitmap = background.bitmap;
    if (!bitmap || bitmap->Empty()) {
        fill(dc, local, skin.Colours.Menu);
        return;
    }
    const RECT src = MenuItemBackgroundSource(itemRect, background.offset);
    fill(dc, local, skin.Colours.Menu);  // where the item reaches past the background
    if (HDC bdc = bitmap->Canvas().Handle())
        BitBlt(dc, 0, 0, local.right, local.bottom, bdc, src.left, src.top, SRCCOPY);
}

// The system's check mark in the current colour, drawn only where the mark is.
void drawCheckMark(HDC dc, const RECT& glyph, const RECT& item, TColor colour) {
    UniqueBitmap check(LoadBitmapA(nullptr, MAKEINTRESOURCEA(kObmCheck)));
    BITMAP info{};
    if (!check || !GetObjectA(check.get(), sizeof info, &info)) return;
    UniqueMemDC src(CreateCompatibleDC(dc));
    if (!src) return;
    SelectGuard sel(src.get(), check.get());
    const int x = glyph.left + (glyph.right - glyph.left - info.bmWidth) / 2 + 1;
    const int y = item.top + (item.bottom - item.top - info.bmHeight) / 2;
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(colour)));
    SelectGuard selBrush(dc, brush.get());
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    // Where the monochrome mark is white the target stays; where it is black the brush
    // colour goes in.
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, src.get(), 0, 0, 0x00B8074A);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

// The class library's pattern of face and highlight pixels, behind a checked glyph.
void fillCheckedPattern(HDC dc, const RECT& r) {
    WORD rows[8];
    for (int i = 0; i < 8; ++i) rows[i] = (i & 1) ? 0xAA : 0x55;
    UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, rows));
    UniqueBrush brush(bits ? CreatePatternBrush(bits.get()) : nullptr);
    if (!brush) return;
    const COLORREF oldText = SetTextColor(dc, ColorToRGB(clBtnFace));
    const COLORREF oldBk = SetBkColor(dc, ColorToRGB(clBtnHighlight));
    FillRect(dc, &r, brush.get());
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

// The entry's mask of the key colour (white where the part has it), left selected in
// the entry's own DC, and the part's key pixels turned black: two blits then put the
// part over any background.
void keyEntry(TMenuItemPartCache::Entry& e) {
    TBitmap& part = *e.part;
    HDC src = part.Canvas().Handle();
    UniqueBitmap mask(CreateBitmap(part.Width(), part.Height(), 1, 1, nullptr));
    UniqueMemDC mdc(CreateCompatibleDC(nullptr));
    if (!src || !mask || !mdc || !SelectObject(mdc.get(), mask.get())) return;
    const COLORREF oldBack = SetBkColor(src, ColorToRGB(kSkinKeyColour));
    BitBlt(mdc.get(), 0, 0, part.Width(), part.Height(), src, 0, 0, SRCCOPY);
    // The mask's white comes in as the background colour: the part AND NOT mask.
    SetBkColor(src, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(src, RGB(0, 0, 0));
    constexpr DWORD kDstAndNotSrc = 0x00220326;
    BitBlt(src, 0, 0, part.Width(), part.Height(), mdc.get(), 0, 0, kDstAndNotSrc);
    SetBkColor(src, oldBack);
    SetTextColor(src, oldText);
    e.mask = std::move(mask);
    e.maskDc = std::move(mdc);
}

// The item part for this size and cell from the popup's cache (rendered on first use) and
// drawn as DrawSkinPart would: keyed on magenta when the part is transparent.
void drawCachedPart(TMenuItemPartCache& cache, TSkinData& skin, TDataSkinObject& part, HDC dc, const RECT& local,
                    int cell) {
    if (cache.source != &part || cache.generation != skin.SkinGeneration()) {
        cache.entries.clear();  // not the scratch surface: the caller is drawing on it
        cache.source = &part;
        cache.generation = skin.SkinGeneration();
    }
    const int w = local.right, h = local.bottom;
    const bool keyed = part.Trans != 0;
    TMenuItemPartCache::Entry* entry = nullptr;
    for (auto& e : cache.entries)
        if (e.w == w && e.h == h && e.cell == cell) entry = &e;
    if (!entry) {
        constexpr size_t kMostEntries = 8;
        if (cache.entries.size() >= kMostEntries) cache.entries.erase(cache.entries.begin());
        TMenuItemPartCache::Entry e;
        e.w = w;
        e.h = h;
        e.cell = cell;
        e.part = RenderSkinPart(local, part.Image, part.Margins, StripAxis::Horizontal,
                                part.Tile != 0 ? CentreFill::Tile : CentreFill::Stretch, kMenuItemCells, cell);
        if (keyed && e.part && !e.part->Empty()) keyEntry(e);
        cache.entries.push_back(std::move(e));
        entry = &cache.entries.back();
    }
    if (!entry->part || entry->part->Empty()) return;
    HDC src = entry->part->Canvas().Handle();
    if (!src) return;
    if (!keyed) {
        BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
        return;
    }
    if (!entry->maskDc) return;
    // Where the mask is white the background stays, elsewhere it is cleared and the part
    // (black where it has the key colour) goes in.
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, 0, 0, w, h, entry->maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCPAINT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

void drawPartItem(TSkinData& skin, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected,
                  const TMenuItemBackground& background, TMenu* fallbackMenu, bool separatorLine) {
    TDataSkinObject* part = menuItemPart(&skin);
    if (!part) {
        SkinDrawMenuItemFlat(skin, item, canvas, selected, rect, fallbackMenu);
        return;
    }
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    // A popup's items share one surface; the background and the part cover all of it.
    std::unique_ptr<TBitmap> own;
    TBitmap* b = nullptr;
    if (TMenuItemPartCache* cache = background.cache) {
        if (!cache->scratch || cache->scratch->Width() != w || cache->scratch->Height() != h) cache->scratch = ScratchBitmap(w, h);
        b = cache->scratch.get();
    } else {
        own = ScratchBitmap(w, h);
        b = own.get();
    }
    if (b->Empty()) return;
    HDC dc = b->Canvas().Handle();
    if (!dc) return;
    const RECT local{0, 0, w, h};
    drawBackground(skin, dc, local, rect, background);
    if (separatorLine && item.IsLine()) {
        put(canvas, rect, *b);
        SkinDrawMenuSeparator(skin, canvas, rect);
        return;
    }
    // Held for the call: a skin load replaces the part.
    const std::shared_ptr<TDataSkinObject> keep = skin.MenuItem;
    const int cell = selected ? kSelectedCell : kNormalCell;
    if (background.cache) {
        drawCachedPart(*background.cache, skin, *keep, dc, local, cell);
    } else {
        DrawSkinPart(dc, local, keep->Image, StripAxis::Horizontal,
                     keep->Tile != 0 ? CentreFill::Tile : CentreFill::Stretch,
                     keep->Trans != 0 ? Keying::Magenta : Keying::Opaque, kMenuItemCells, cell, keep->Margins);
    }
    SkinPaintMenuItemContent(skin, item, b->Canvas(), selected, local, fallbackMenu);
    put(canvas, rect, *b);
}

}  // namespace

// ---- geometry ----------------------------------------------------------------------

int MenuItemLeftMargin(const TSkinData* skin) {
    const TDataSkinObject* part = menuItemPart(skin);
    return part ? std::max(part->Margins.Left, 0) : 0;
}

TMenuItemContentLayout LayoutMenuItemContent(const RECT& rect, int glyphSize, int leftMargin, bool separator,
                                             bool rightToLeft) {
    TMenuItemContentLayout l{};
    if (rightToLeft) {
        if (separator) {
            l.glyph = RECT{rect.right, rect.top + 1, rect.right, rect.top + 1 + glyphSize};
        } else {
            const int right = rect.right - 1 - leftMargin;
            l.glyph = RECT{right - glyphSize, rect.top + 1, right, rect.top + 1 + glyphSize};
        }
        l.text = RECT{rect.left + 1, rect.top, l.glyph.left - 3, rect.bottom};
        return l;
    }
    if (separator) {
        l.glyph = RECT{0, rect.top + 1, 0, rect.top + 1 + glyphSize};
    } else {
        const int left = rect.left + 1 + leftMargin;
        l.glyph = RECT{left, rect.top + 1, left + glyphSize, rect.top + 1 + glyphSize};
    }
    l.text = RECT{l.glyph.right + 3, rect.top, rect.right - 1, rect.bottom};
    return l;
}

POINT MenuSeparatorSourceRows(int imageHeight, int separatorHeight) {
    if (separatorHeight > 0 && separatorHeight < imageHeight) return POINT{imageHeight - separatorHeight, imageHeight};
    return POINT{0, imageHeight};
}

RECT MenuItemBackgroundSource(const RECT& itemRect, POINT clientOffset) {
    RECT r = itemRect;
    OffsetRect(&r, clientOffset.x, clientOffset.y);
    return r;
}

// ---- measuring ---------------------------------------------------------------------

void SkinMeasureMainMenuItem(const TSkinData* skin, TMenuItem& item, TCanvas& canvas, int& width, int& height) {
    // The default size for the canvas font; the item's own handler is not asked again.
    item.MeasureItem(canvas, width, height);
    width += MenuItemLeftMargin(skin) + (item.GetImageList() ? 10 : 35);
}

void SkinMeasurePopupItem(const TSkinData* skin, TMenuItem& item, int& width, int& height) {
    (void)height;
    if (!skin) return;
    width += MenuItemLeftMargin(skin) + (item.GetImageList() ? 12 : 35);
}

void SkinMeasureRawItem(const TSkinData* skin, HDC dc, const std::string& text, bool win9x, UINT& itemWidth,
                        UINT& itemHeight) {
    SIZE size{0, 0};
    if (dc && !text.empty()) GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    itemWidth = static_cast<UINT>(std::max<LONG>(size.cx, 0) + 26 + MenuItemLeftMargin(skin));
    if (!text.empty()) itemHeight += 4;
    else itemHeight = 8;
    if (win9x) itemHeight += 4;
}

// ---- drawing -----------------------------------------------------------------------

TColor MenuItemTextColour(const TSkinData& skin, bool enabled, bool selected) {
    if (enabled) return selected ? skin.Colours.HilightText : skin.Colours.MenuText;
    return skin.Colours.ButtonShadow == skin.Colours.MenuText ? clBtnShadow : skin.Colours.ButtonShadow;
}

int SkinDrawMenuItemText(TSkinData& skin, TMenuItem& item, TCanvas& canvas, UINT flags, bool selected, RECT& rect,
                         std::string text) {
    const bool measuring = (flags & DT_CALCRECT) != 0;
    if (measuring && (text.empty() || text == "&")) text += ' ';
    if (text != "-") {
        HDC dc = canvas.Handle();
        if (!dc) return 0;
        // Items are drawn in the menu font.  The screen's font object is shared: making a
        // font per item costs more than everything else an item draws.
        std::unique_ptr<SelectGuard> font;
        if (item.Default()) {
            if (Screen) canvas.Font().Assign(Screen->MenuFont());
            canvas.Font().SetStyle(1u << fsBold);
            canvas.TextExtent(" ");  // selects the canvas font
        } else if (Screen) {
            font = std::make_unique<SelectGuard>(dc, Screen->MenuFont().Handle());
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(MenuItemTextColour(skin, item.Enabled(), selected)));
        return SkinDrawText(dc, AnsiToWide(text), rect, flags);
    }
    if (!measuring) {
        RECT line = rect;
        OffsetRect(&line, 0, 4);
        if (HDC dc = canvas.Handle()) DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return 0;
}

void SkinPaintMenuItemContent(TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect,
                              TMenu* fallbackMenu) {
    HDC dc = canvas.Handle();
    if (!dc) return;
    const std::string caption = item.Caption();
    TMenu* menu = menuOf(item, fallbackMenu);
    TImageList* images = imagesOf(item, fallbackMenu);
    int glyphSize = images ? images->Width() : kGlyphSize;
    if (item.Checked()) glyphSize = std::max(glyphSize, kGlyphSize);
    const bool rtl = menu && menu->IsRightToLeft();
    const bool separator = item.IsLine();
    TMenuItemContentLayout l = LayoutMenuItemContent(rect, glyphSize, MenuItemLeftMargin(&skin), separator, rtl);

    if (!separator) {
        const int index = item.ImageIndex();
        if (images && index >= 0 && index < images->Count()) {
            RECT box = l.glyph;
            if (item.Checked()) {
                fillCheckedPattern(dc, box);
                const int bottom = box.bottom;
                box.top = rect.top + (rect.bottom - rect.top - kGlyphSize) / 2;
                RECT edge{box.left, box.top, box.right, bottom};
                DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
            } else {
                box.top = rect.top + (rect.bottom - rect.top - images->Height()) / 2;
            }
            images->Draw(canvas, box.left, box.top, index, item.Enabled());
        } else if (item.Checked()) {
            drawCheckMark(dc, l.glyph, rect, clBtnText);
        }
    }

    const UINT align = rtl ? DT_RIGHT : 0;
    RECT measured = l.text;
    SkinDrawMenuItemText(skin, item, canvas, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | align, selected,
                         measured, caption);
    RECT text = l.text;
    OffsetRect(&text, 0, ((l.text.bottom - l.text.top) - (measured.bottom - measured.top)) / 2);
    SkinDrawMenuItemText(skin, item, canvas, DT_EXPANDTABS | DT_SINGLELINE | align, selected, text, caption);

    if (item.ShortCut() != 0 && !separator) {
        const std::string shortcut = ShortCutToText(item.ShortCut());
        RECT box = text;
        if (rtl) {
            box.left = rect.left + 11;
            box.right = measured.left;
            SkinDrawMenuItemText(skin, item, canvas, DT_EXPANDTABS | DT_SINGLELINE | DT_LEFT, selected, box, shortcut);
        } else {
            box.left = measured.right;
            box.right = rect.right - 11;
            SkinDrawMenuItemText(skin, item, canvas, DT_EXPANDTABS | DT_SINGLELINE | DT_RIGHT, selected, box, shortcut);
        }
    }
}

void SkinDrawMenuItemFlat(TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect,
                          TMenu* fallbackMenu) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    std::unique_ptr<TBitmap> b = ScratchBitmap(w, h);
    HDC dc = b->Empty() ? nullptr : b->Canvas().Handle();
    if (!dc) return;
    const RECT local{0, 0, w, h};
    fill(dc, local, selected ? skin.Colours.Hilight : skin.Colours.Menu);
    SkinPaintMenuItemContent(skin, item, b->Canvas(), selected, local, fallbackMenu);
    put(canvas, rect, *b);
}

void SkinDrawMenuSeparator(TSkinData& skin, TCanvas& canvas, const RECT& rect) {
    const std::shared_ptr<TDataSkinObject> part = skin.MenuItem;
    if (!part || part->Image.Empty()) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    std::unique_ptr<TBitmap> b = ScratchBitmap(w, h);
    HDC dc = b->Empty() ? nullptr : b->Canvas().Handle();
    HDC src = part->Image.Canvas().Handle();
    if (!dc || !src) return;
    const int cw = part->Image.Width() / kMenuItemCells;
    if (cw <= 0) return;
    const int x0 = cw * (kSeparatorCell - 1);
    const int left = std::clamp(part->Margins.Left, 0, cw);
    const int right = std::clamp(part->Margins.Right, 0, cw - left);
    const POINT rows = MenuSeparatorSourceRows(part->Image.Height(), h);
    const int sh = rows.y - rows.x;
    SetStretchBltMode(dc, COLORONCOLOR);
    fill(dc, RECT{0, 0, w, h}, kSkinKeyColour);
    const int l = std::min(left, w), r = std::min(right, w - l);
    if (l > 0) StretchBlt(dc, 0, 0, l, h, src, x0, rows.x, left, sh, SRCCOPY);
    if (r > 0) StretchBlt(dc, w - r, 0, r, h, src, x0 + cw - right, rows.x, right, sh, SRCCOPY);
    if (w - l - r > 0 && cw - left - right > 0)
        StretchBlt(dc, l, 0, w - l - r, h, src, x0 + left, rows.x, cw - left - right, sh, SRCCOPY);
    if (HDC target = canvas.Handle()) DrawTransparentBitmap(target, rect, *b, kSkinKeyColour);
}

void SkinDrawMenuItem(TSkinData& skin, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected,
                      const TMenuItemBackground& background, TMenu* fallbackMenu) {
    drawPartItem(skin, item, canvas, rect, selected, background, fallbackMenu, true);
}

void SkinDrawRawMenuItem(TSkinData& skin, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected,
                         const TMenuItemBackground& background, TMenu* fallbackMenu) {
    drawPartItem(skin, item, canvas, rect, selected, background, fallbackMenu, false);
}

// ---- preparing a class-library popup -------------------------------------------------

void HideRedundantSeparators(TMenuItem* item) {
    if (!item) return;
    const int n = item->Count();
    auto child = [item](int i) { return item->Items(i); };
    // Leading separators, up to the first visible item.
    int i = 0;
    while (i < n && (child(i)->IsLine() || !child(i)->Visible())) {
        if (child(i)->IsLine() && child(i)->Visible()) child(i)->SetVisible(false);
        ++i;
    }
    if (i == n) i = 0;
    // Each run of separators between two visible items shrinks to its last separator.
    TMenuItem* pending = nullptr;
    int lastVisible = -1;
    for (int j = i; j < n; ++j) {
        TMenuItem* c = child(j);
        if (c->IsLine()) {
            if (pending && pending->Visible()) pending->SetVisible(false);
            pending = c;
        } else if (c->Visible()) {
            if (pending && !pending->Visible()) pending->SetVisible(true);
            pending = nullptr;
            lastVisible = j;
        }
    }
    // Trailing separators.
    for (int j = n - 1; j > lastVisible; --j)
        if (child(j)->IsLine() && child(j)->Visible()) child(j)->SetVisible(false);
}

void UpdateItemActions(TMenuItem* item) {
    if (!item) return;
    for (int i = 0; i < item->Count(); ++i) item->Items(i)->Update();
}
