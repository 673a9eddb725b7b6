// TSkinTab: tab controls painted from the skin's [Tabs] strip and pane picture.  The tabs
// are drawn on a work bitmap as if they lay on top, then the bitmap is turned for tabs on
// a side; the pane picture is flipped or turned once when it is loaded.  The geometry is
// pure (CalcTabStrip and friends) so that painting and the tests share it.
#include "WinSubClassTabs.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "Handles.h"
#include "ImgUtil.h"
#include "WinSkinData.h"

// ---- geometry ---------------------------------------------------------------------------

TTabOrientation TabOrientationOfStyle(DWORD style) {
    const bool vertical = (style & TCS_VERTICAL) != 0;
    const bool bottom = (style & TCS_BOTTOM) != 0;  // TCS_RIGHT for vertical tabs
    if (vertical) return bottom ? toRight : toLeft;
    return bottom ? toBottom : toTop;
}

TTabStripLayout CalcTabStrip(const RECT& window, const RECT& adjusted, TTabOrientation orientation) {
    TTabStripLayout out;
    RECT d = adjusted;
    InflateRect(&d, 4, 4);
    RECT s{};
    switch (orientation) {
    case toTop:
        d.top += 1;
        s = RECT{window.left, window.top, window.right, d.top};
        break;
    case toBottom:
        d.bottom -= 1;
        s = RECT{window.left, d.bottom, window.right, window.bottom};
        break;
    case toLeft:
        d.left += 1;
        s = RECT{window.left, window.top, d.left, window.bottom};
        break;
    case toRight:
        d.right -= 1;
        s = RECT{d.right, window.top, window.right, window.bottom};
        break;
    }
    out.Display = d;
    // A control too small for its tabs can leave the strip with no room, or with its edges
    // crossed: no strip then, never a bitmap of negative size.
    if (!IntersectRect(&s, &s, &window)) return out;
    const int w = s.right - s.left;
    const int h = s.bottom - s.top;
    out.Strip = s;
    const bool side = orientation == toLeft || orientation == toRight;
    out.WorkWidth = side ? h : w;
    out.WorkHeight = side ? w : h;
    return out;
}

RECT TabItemToWork(const RECT& t, const TTabStripLayout& layout, const RECT& window, TTabOrientation orientation) {
    const int w = layout.WorkWidth;
    switch (orientation) {
    case toTop: return RECT{t.left, t.top + 1, t.right, t.bottom + 1};
    case toBottom: {
        const int dy = layout.Display.bottom + 1;
        return RECT{t.left, t.top - dy, t.right, t.bottom - dy};
    }
    case toLeft: return RECT{w - t.bottom, t.left, w - t.top, t.right};
    case toRight: return RECT{t.top - 1, window.right - t.right, t.bottom - 1, window.right - t.left};
    }
    return t;
}

POINT TabWorkToWindow(POINT p, const TTabStripLayout& layout, TTabOrientation orientation) {
    const RECT& s = layout.Strip;
    switch (orientation) {
    case toTop:
    case toBottom: return POINT{s.left + p.x, s.top + p.y};
    // Turned anticlockwise, (x, y) -> (y, W - 1 - x); clockwise, (x, y) -> (H - 1 - y, x).
    case toLeft: return POINT{s.left + p.y, s.top + layout.WorkWidth - 1 - p.x};
    case toRight: return POINT{s.left + layout.WorkHeight - 1 - p.y, s.top + p.x};
    }
    return p;
}

TSkinMargins OrientMargins(const TSkinMargins& m, TTabOrientation orientation) {
    switch (orientation) {
    case toTop: return m;
    case toBottom: return TSkinMargins{m.Left, m.Bottom, m.Right, m.Top};
    // Turned anticlockwise the top edge goes left, the right edge up; clockwise the top
    // edge goes right, the left edge up.
    case toLeft: return TSkinMargins{m.Top, m.Right, m.Bottom, m.Left};
    case toRight: return TSkinMargins{m.Bottom, m.Left, m.Top, m.Right};
    }
    return m;
}

// ---- item texts -------------------------------------------------------------------------

namespace {

// The length of an ANSI text of at most max bytes that does not end in the lead byte of a
// double-byte character cut off by the buffer.
size_t wholeCharacters(const char* text, size_t max) {
    const size_t n = strnlen(text, max);
    size_t i = 0;
    while (i < n) {
        const size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
        if (i + step > n) break;
        i += step;
    }
    return i;
}

}  // namespace

bool ReadTabItem(HWND window, int index, bool unicode, TTabItemText& item) {
    item = TTabItemText{};
    if (!window) return false;
    if (unicode) {
        wchar_t buffer[kTabTextMax + 1] = {};
        TCITEMW tab{};
        tab.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        tab.dwStateMask = TCIS_BUTTONPRESSED | TCIS_HIGHLIGHTED;
        tab.pszText = buffer;
        tab.cchTextMax = kTabTextMax + 1;
        if (!SendMessageW(window, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab))) return false;
        // A control may answer with a text of its own instead of filling the buffer: read
        // either no further than the buffer's room.
        const wchar_t* text = tab.pszText ? tab.pszText : buffer;
        item.Text.assign(text, wcsnlen(text, kTabTextMax));
        item.Image = tab.iImage;
        return true;
    }
    char buffer[kTabTextMax + 1] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    tab.dwStateMask = TCIS_BUTTONPRESSED | TCIS_HIGHLIGHTED;
    tab.pszText = buffer;
    tab.cchTextMax = kTabTextMax + 1;
    if (!SendMessageA(window, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab))) return false;
    const char* text = tab.pszText ? tab.pszText : buffer;
    item.Text = AnsiToWide(std::string(text, wholeCharacters(text, kTabTextMax)));
    item.Image = tab.iImage;
    return true;
}

// ---- TSkinTab ---------------------------------------------------------------------------

namespace {

constexpr StripAxis kHorizontal = StripAxis::Horizontal;

int partCells(const TDataSkinObject& part) { return std::max(1, part.Frame); }
int clampCell(const TDataSkinObject& part, int cell) { return std::clamp(cell, 1, partCells(part)); }
CentreFill partFill(const TDataSkinObject& part) { return part.Tile != 0 ? CentreFill::Tile : CentreFill::Stretch; }
Keying partKeying(const TDataSkinObject& part) { return part.Trans == 1 ? Keying::Magenta : Keying::Opaque; }

// A section colour as a text colour: -1 (the key is absent) is black.
TColor sectionTextColour(int32_t value) { return value == -1 ? clBlack : static_cast<TColor>(value); }

// The canvas takes a copy of the window's font (the window keeps its own).
void useWindowFont(TCanvas& canvas, HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA description{};
    if (!font || GetObjectA(font, sizeof description, &description) != sizeof description) return;
    if (HFONT copy = CreateFontIndirectA(&description)) canvas.Font().SetHandle(copy);
}

}  // namespace

const TClassInfo& TSkinTab::StaticClassInfo() {
    static const TClassInfo& info =
        DescribeClass<TSkinTab>("TSkinTab", &TSkinControl::StaticClassInfo(), [](TClassBuilder<TSkinTab>&) {});
    return info;
}

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) { WorkBitmap.SetPixelFormat(pf24bit); }

TSkinTab::~TSkinTab() = default;

void TSkinTab::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setColor, TCanvas* canvas) {
    if (Attached()) return;
    TSkinControl::AttachControl(formSkin, skinData, setColor, canvas);
    attachCommon();
}

void TSkinTab::AttachWindow(HWND handle, TSkinData* skinData, TWinSkinForm* formSkin, TCanvas* canvas) {
    if (Attached()) return;
    TSkinControl::AttachWindow(handle, skinData, formSkin, canvas);
    Focused = Handle && GetFocus() == Handle;
    Caption = ReadWindowText(Handle);
    attachCommon();
}

void TSkinTab::attachCommon() {
    if (!Handle) return;
    Enabled = (WindowLong(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    LoadBitmaps();
    SkinScroller();
    SetActive(true);
    UnicodeWindow = IsWindowUnicode(Handle) != FALSE;
}

bool TSkinTab::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        HandlePaint(message);
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinTab::UpdateSkin() {
    // The pictures first: the base redraws at once, and must draw with the new skin.
    LoadBitmaps();
    TSkinControl::UpdateSkin();
}

void TSkinTab::LoadBitmaps() {
    Orientation = TabOrientationOfStyle(Handle ? static_cast<DWORD>(WindowLong(Handle, GWL_STYLE)) : 0);
    // Each load starts from nothing: a skin without a picture shows none (not the last
    // skin's), and a picture is flipped or turned exactly once.
    StripBitmap.Clear();
    PaneBitmap.Clear();
    TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
    if (!tabs) return;
    if (!tabs->Image.Empty()) DuplicateBitmap(tabs->Image, StripBitmap);
    if (tabs->Style == 0 && !tabs->Image2.Empty()) DuplicateBitmap(tabs->Image2, PaneBitmap);
    // Style 1 names a [Tab.Pane] section that a skin may still lack.
    TDataSkinObject* pane = SkinData->TabPane.get();
    if (tabs->Style == 1 && pane && !pane->Image.Empty()) DuplicateBitmap(pane->Image, PaneBitmap);
    for (TBitmap* b : {&StripBitmap, &PaneBitmap})
        if (!b->Empty()) b->SetPixelFormat(pf24bit);
    switch (Orientation) {
    case toTop: break;
    case toBottom:
        FlipBitmap(StripBitmap);
        FlipBitmap(PaneBitmap);
        break;
    case toLeft: RotateBitmapLeft(PaneBitmap); break;
    case toRight: RotateBitmapRight(PaneBitmap); break;
    }
}

HWND TSkinTab::scrollerWindow() const {
    return Handle ? FindWindowExA(Handle, nullptr, "msctls_updown32", nullptr) : nullptr;
}

bool TSkinTab::SkinScroller() {
    HWND arrows = scrollerWindow();
    if (!arrows) return false;
    // Skinned once; an arrow window someone else skinned already is left to that skin.
    if (!ScrollerSkin && SendMessageA(arrows, WM_SKINQUERY, 0, 0) != 1) {
        TComponent* owner = Owner() ? Owner() : this;
        if (TSkinControl* skin = CreateSkinControl(TSkinClass::UpDown, owner)) {
            ScrollerSkin = skin;
            FreeNotification(skin);
            skin->AttachWindow(arrows, SkinData, FormSkin, Canvas);
        }
    }
    return (GetWindowLongA(arrows, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TSkinTab::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == ScrollerSkin) ScrollerSkin = nullptr;
}

TSkinMargins TSkinTab::paneMargins() const {
    const TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
    const TDataSkinObject* pane = SkinData ? SkinData->TabPane.get() : nullptr;
    if (tabs && tabs->Style != 0 && pane) return pane->Margins;
    return TSkinMargins{4, 5, 4, 4};
}

void TSkinTab::Paint(HDC dc, const RECT& rect) {
    if (!dc || !Handle) return;
    // Skin painting never fails loudly: whatever goes wrong leaves that part unpainted.
    try {
        const auto style = static_cast<DWORD>(WindowLong(Handle, GWL_STYLE));
        Enabled = (style & WS_DISABLED) == 0;
        // A raw window's style may have moved its tabs since the pictures were made.
        if (TabOrientationOfStyle(style) != Orientation) LoadBitmaps();
        RECT adjusted = rect;
        SendMessageA(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&adjusted));
        const TTabStripLayout layout = CalcTabStrip(rect, adjusted, Orientation);
        const TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
        if (tabs && !tabs->Image.Empty() && !StripBitmap.Empty() && layout.HasStrip()) drawStrip(dc, rect, layout);
        drawPane(dc, layout);
    } catch (...) {
    }
}

void TSkinTab::drawStrip(HDC dc, const RECT& window, const TTabStripLayout& layout) {
    TDataSkinBorder& tabs = *SkinData->Tabs;
    const int count = std::max(0, static_cast<int>(SendMessageA(Handle, TCM_GETITEMCOUNT, 0, 0)));
    const int current = static_cast<int>(SendMessageA(Handle, TCM_GETCURFOCUS, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, TCM_GETIMAGELIST, 0, 0));

    WorkBitmap.SetPixelFormat(pf24bit);
    WorkBitmap.SetSize(layout.WorkWidth, layout.WorkHeight);
    TCanvas& canvas = WorkBitmap.Canvas();
    HDC work = canvas.Handle();
    if (!work) return;
    FillSkinColor(work, RECT{0, 0, layout.WorkWidth, layout.WorkHeight});
    useWindowFont(canvas, Handle);

    const TSkinMargins margins = OrientMargins(tabs.Margins, Orientation == toBottom ? toBottom : toTop);
    for (int i = 0; i < count; ++i) {
        TTabItemText item;
        ReadTabItem(Handle, i, UnicodeWindow, item);
        RECT t{};
        if (!SendMessageA(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t))) continue;
        const RECT face = TabItemToWork(t, layout, window, Orientation);
        const int cell = clampCell(tabs, i == current ? 2 : 1);
        DrawSkinPart(work, face, StripBitmap, kHorizontal, partFill(tabs), partKeying(tabs), partCells(tabs), cell,
                     margins);
        const TColor colour = sectionTextColour(i == current ? tabs.MouseOverColour : tabs.NormalColour);
        canvas.Font().SetColor(static_cast<TColor>(ColorToRGB(colour)));
        DrawImageText(canvas, face, 1, item.Text, item.Image, images);
    }

    // The work bitmap changes its handle when turned; the canvas lets go of it first.
    WorkBitmap.FreeContext();
    if (Orientation == toRight) RotateBitmapRight(WorkBitmap);
    if (Orientation == toLeft) RotateBitmapLeft(WorkBitmap);

    const RECT& s = layout.Strip;
    HDC source = WorkBitmap.Canvas().Handle();
    if (!source) return;
    SaveDcGuard saved(dc);
    if (SkinScroller()) {
        // The arrows draw themselves (with their own skin): the strip goes around them.
        RECT arrows{}, self{};
        if (GetWindowRect(scrollerWindow(), &arrows) && GetWindowRect(Handle, &self))
            ExcludeClipRect(dc, arrows.left - self.left, arrows.top - self.top, arrows.right - self.left,
                            arrows.bottom - self.top);
    }
    BitBlt(dc, s.left, s.top, s.right - s.left, s.bottom - s.top, source, 0, 0, SRCCOPY);
}

void TSkinTab::drawPane(HDC dc, const TTabStripLayout& layout) {
    if (PaneBitmap.Empty()) return;
    const RECT& d = layout.Display;
    if (d.right <= d.left || d.bottom <= d.top) return;
    try {
        DrawSkinPart(dc, d, PaneBitmap, kHorizontal, CentreFill::Stretch, Keying::Opaque, 1, 1,
                     OrientMargins(paneMargins(), Orientation));
    } catch (...) {
    }
}
