// The skinned menu bar: building the items from the window's menu, painting the bar and
// its items, and the caption reader the form skin shares.
#include "WinSkinMenu.h"

#include <algorithm>

#include "Forms.h"
#include "Handles.h"
#include "Menus.h"
#include "SkinDrawHelpers.h"
#include "SkinPrimitives.h"
#include "WinSkinData.h"
#include "SkinManage.h"
#include "WinSkinForm.h"
#include "WinSkinMenuLayout.h"

namespace {

constexpr int kItemTextChars = 80;  // the longest bar caption read from a menu handle

// The menu font selected into a memory DC, for measuring captions.
class MenuFontDc {
public:
    MenuFontDc() : dc_(CreateCompatibleDC(nullptr)) {
        if (dc_ && Screen) select_ = std::make_unique<SelectGuard>(dc_.get(), Screen->MenuFont().Handle());
    }
    HDC get() const { return dc_.get(); }

private:
    UniqueMemDC dc_;
    std::unique_ptr<SelectGuard> select_;
};

int captionWidth(HDC dc, const std::wstring& caption) {
    if (caption.empty() || !dc) return 0;
    RECT r{0, 0, 0, 0};
    SkinDrawText(dc, caption, r, DT_CALCRECT | DT_NOCLIP);
    return r.right - r.left;
}

// A bar item's text colour: MenuBarText when enabled, ButtonShadow when not.
TColor itemTextColour(const TSkinData* skin, bool enabled) {
    if (!skin) return enabled ? clMenuText : clBtnShadow;
    return enabled ? skin->Colours.MenuBarText : skin->Colours.ButtonShadow;
}

void drawCaption(HDC dc, const RECT& bounds, const TMenuBtn& item) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (Screen) canvas.Font().Assign(Screen->MenuFont());
    canvas.Font().SetColor(itemTextColour(item.SkinData, item.Enabled));
    // DrawCenteredText greys a disabled caption itself; the skin's shadow colour is set
    // first so a skin that differs from the system keeps its own.
    DrawCenteredText(canvas, bounds, item.Caption, taCenter, true);
    canvas.SetHandle(nullptr);
}

bool emptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

// ---- TMenuBtn ----------------------------------------------------------------------

TMenuBtn::TMenuBtn(TWinSkinForm* form, TWinSkinMenu* bar) : bar_(bar) {
    Form = form;
    Visible = true;
    State = 1;
}

void TMenuBtn::Paint() {
    if (!bar_) return;
    HWND window = bar_->Window();
    if (!IsWindow(window) || emptyRect(Bounds)) return;
    WindowDcGuard dc(window, true);
    if (!dc.get()) return;
    const RECT& bar = bar_->BarRect();
    TBitmap& cache = bar_->BarCache();
    // The bar without captions under this item: erases the previous look.
    if (!cache.Empty()) {
        if (HDC src = cache.Canvas().Handle())
            BitBlt(dc.get(), Bounds.left, bar.top, Bounds.right - Bounds.left, bar.bottom - bar.top, src,
                   Bounds.left - bar.left, 0, SRCCOPY);
    }
    if (State == 2 || State == 3) {
        UniqueBrush frame(CreateSolidBrush(ColorToRGB(SkinData ? SkinData->Colours.ButtonHilight : clBtnHighlight)));
        if (frame) FrameRect(dc.get(), &Bounds, frame.get());
    }
    drawCaption(dc.get(), Bounds, *this);
}

// ---- TWinSkinMenu ------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TComponent* owner) : TComponent(owner) {}

TWinSkinMenu::~TWinSkinMenu() { freeItems(); }

HWND TWinSkinMenu::Window() const { return FormSkin ? FormSkin->FHandle : nullptr; }

TMenuBtn* TWinSkinMenu::Item(int index) const {
    if (index < 0 || index >= ItemCount()) return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

bool TWinSkinMenu::Owns(const TNCObject* object) const {
    if (!object) return false;
    for (const auto& item : items_)
        if (item.get() == object) return true;
    return false;
}

bool TWinSkinMenu::RightToLeft() const { return MainMenu && MainMenu->IsRightToLeft(); }

RECT TWinSkinMenu::FormBarRect() const {
    if (!FormSkin) return RECT{0, 0, 0, 0};
    return RECT{FormSkin->FBorderLeft, FormSkin->FBorderTop, FormSkin->FWidth - FormSkin->FBorderRight,
                FormSkin->FBorderTop + FormSkin->FMenuHeight};
}

void TWinSkinMenu::freeItems() {
    // Each item clears the form skin's hot object when it is that object; the tracking
    // state finds items by index, so it never holds one.
    items_.clear();
}

void TWinSkinMenu::addItem(std::unique_ptr<TMenuBtn> item) {
    item->SkinData = SkinData;
    item->Index = ItemCount();
    items_.push_back(std::move(item));
}

void TWinSkinMenu::removeSystemBar() {
    if (HWND window = Window()) SetMenu(window, nullptr);
}

std::unique_ptr<TMenuBtn> TWinSkinMenu::readHandleItem(int position) {
    auto item = std::make_unique<TMenuBtn>(FormSkin, this);
    // A fresh buffer and length for every query: the call shortens cch to the text it
    // copied.
    char text[kItemTextChars + 1] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = kItemTextChars;
    if (GetMenuItemInfoA(MenuHandle, static_cast<UINT>(position), TRUE, &info)) {
        item->SubMenu = info.hSubMenu;
        item->Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        item->CommandId = info.wID;
        if (!(info.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)))
            item->Caption = AnsiToWide(std::string(text, strnlen(text, kItemTextChars)));
    }
    return item;
}

bool TWinSkinMenu::takeMenus() {
    HWND window = Window();
    if (HMENU current = window ? GetMenu(window) : nullptr) MenuHandle = current;
    if (!MenuHandle) return false;
    TCustomForm* form = FormSkin ? dynamic_cast<TCustomForm*>(FormSkin->FControl) : nullptr;
    if (form) {
        MainMenu = form->Menu();
        if (!MainMenu) return false;
    }
    return true;
}

void TWinSkinMenu::buildFromHandle(HandleLookup lookup) {
    freeItems();
    const int count = GetMenuItemCount(MenuHandle);
    if (count <= 0) return;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<TMenuBtn> item = readHandleItem(i);
        // The class-library item of that command wins.  An MDI frame menu mixes in the
        // document's items: there only captioned items are looked up, and none is bound.
        const bool look = MainMenu && (lookup == HandleLookup::Bind || !item->Caption.empty());
        if (TMenuItem* own = look ? MainMenu->FindItem(item->CommandId, TMenuItemFind::fkCommand) : nullptr) {
            if (lookup == HandleLookup::Bind) own->Update();
            item->Caption = AnsiToWide(own->Caption());
            item->Enabled = own->Enabled();
            item->CommandId = own->Command();
            item->SubMenu = own->Count() > 0 ? own->Handle() : nullptr;
            if (lookup == HandleLookup::Bind) item->MenuItem = own;
        }
        addItem(std::move(item));
    }
    removeSystemBar();
}

void TWinSkinMenu::Build() {
    if (SkinIsNT && FormSkin && SkinVersionOldNT()) {
        BuildFromItems();
        return;
    }
    if (takeMenus()) buildFromHandle(HandleLookup::Bind);
}

void TWinSkinMenu::BuildFromItems() {
    if (!takeMenus()) return;
    // A raw window has no class-library items: its menu handle serves, as in Build.
    if (!MainMenu) {
        buildFromHandle(HandleLookup::Bind);
        return;
    }
    freeItems();
    TMenuItem* root = MainMenu->Items();
    for (int i = 0; root && i < root->Count(); ++i) {
        TMenuItem* own = root->Items(i);
        auto item = std::make_unique<TMenuBtn>(FormSkin, this);
        item->Visible = own->Visible();
        item->Enabled = own->Enabled();
        item->CommandId = own->Command();
        item->Caption = AnsiToWide(own->Caption());
        item->MenuItem = own;
        item->SubMenu = own->Count() > 0 ? own->Handle() : nullptr;
        addItem(std::move(item));
    }
    removeSystemBar();
}

void TWinSkinMenu::Rebuild() {
    if (!takeMenus()) return;
    buildFromHandle(HandleLookup::CaptionedOnly);
    Layout();
}

void TWinSkinMenu::layoutIn(const RECT& bar) {
    const int barWidth = bar.right - bar.left;
    const TDataSkinObject* part = SkinData ? SkinData->MenuBar.get() : nullptr;
    const bool hasPart = part && !part->Image.Empty();
    const bool rtl = RightToLeft();
    const int x0 = MenuBarStartOffset(hasPart, hasPart ? part->Margins.Left : 0, hasPart ? part->Margins.Right : 0,
                                      rtl, barWidth);
    MenuFontDc dc;
    std::vector<MenuBarItemExtent> extents;
    extents.reserve(items_.size());
    for (const auto& item : items_)
        extents.push_back(MenuBarItemExtent{MenuBarItemWidth(captionWidth(dc.get(), item->Caption)), item->Visible});
    const std::vector<RECT> bounds = LayoutMenuBarItems(bar, x0, rtl, extents);
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->Bounds = bounds[i];
}

void TWinSkinMenu::Layout() {
    const RECT bar = FormBarRect();
    if (emptyRect(bar)) return;
    layoutIn(bar);
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT framePoint) const {
    for (const auto& item : items_) {
        if (item->Caption.empty() || emptyRect(item->Bounds)) continue;
        if (PtInRect(&item->Bounds, framePoint)) return item.get();
    }
    return nullptr;
}

void TWinSkinMenu::Paint(HDC dc, const RECT& bar) {
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    if (!dc || w <= 0 || h <= 0) return;
    TBitmap& surface = SharedPaintBitmap();
    if (surface.Width() < w || surface.Height() < h) surface.SetSize(std::max(surface.Width(), w),
                                                                      std::max(surface.Height(), h));
    HDC sdc = surface.Canvas().Handle();
    if (!sdc) return;
    const RECT local{0, 0, w, h};
    const std::shared_ptr<TDataSkinObject> part = SkinData ? SkinData->MenuBar : nullptr;
    if (part && !part->Image.Empty()) {
        const int cell = FormSkin && !FormSkin->FActive ? 2 : 1;
        if (part->Tile == 1) {
            DrawSkinPart(sdc, local, part->Image, StripAxis::Vertical, CentreFill::Stretch, Keying::Opaque, 2, cell,
                         part->Margins);
        } else {
            DrawSkinPartH(surface.Canvas(), local, part->Image, StripAxis::Vertical, Keying::Opaque, 2, cell,
                          part->Margins);
        }
    } else {
        UniqueBrush fill(CreateSolidBrush(ColorToRGB(SkinData ? SkinData->Colours.Menubar : clBtnFace)));
        if (fill) FillRect(sdc, &local, fill.get());
    }
    barRect_ = bar;
    // The bar without its captions, for the items' own repaints.
    barCache_.SetSize(w, h);
    if (HDC cdc = barCache_.Canvas().Handle()) BitBlt(cdc, 0, 0, w, h, sdc, 0, 0, SRCCOPY);

    layoutIn(bar);
    for (const auto& item : items_) {
        if (!item->Visible || emptyRect(item->Bounds)) continue;
        RECT r = item->Bounds;
        OffsetRect(&r, -bar.left, -bar.top);
        drawCaption(sdc, r, *item);
    }
    paintMDIButtons(sdc, bar);
    BitBlt(dc, bar.left, bar.top, w, h, sdc, 0, 0, SRCCOPY);
}

void TWinSkinMenu::paintMDIButtons(HDC surface, const RECT& bar) {
    if (!FormSkin || FormSkin->FWindowKind != wkMDIParent || !FormSkin->IsMDIChildMaximized()) return;
    for (const auto& button : FormSkin->FSysButtons) {
        TDataSkinSysButton* def = button->Definition.get();
        if (!def || def->Align != skinframe::kAlignInMenuStrip || def->Image.Empty()) continue;
        RECT r = button->Bounds;
        OffsetRect(&r, -bar.left, -bar.top);
        DrawStripCellStretched(surface, r, def->Image, Keying::Magenta, std::max(def->Frame, 1), 1);
    }
    TSkinManage* manager = TSkinManage::Instance();
    if (manager && !manager->FMDIMaximized) manager->SetMDIMaximized(true);
}

// ---- ReadCaptionText ---------------------------------------------------------------

std::wstring ReadCaptionText(HWND window) {
    if (!window) return {};
    if (SkinIsNT) {
        const int length = GetWindowTextLengthW(window);
        if (length <= 0) return {};
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int got = GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<size_t>(std::max(got, 0)));
        return text;
    }
    char buffer[1001] = {};
    const LRESULT got = SendMessageA(window, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
    return AnsiToWide(std::string(buffer, static_cast<size_t>(std::clamp<LRESULT>(got, 0, 1000))));
}
