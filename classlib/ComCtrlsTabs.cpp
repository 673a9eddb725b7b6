// Tab controls, page controls and their tab sheets on the platform's tab control.  The
// tab texts live in a string list; every change to it gives the window its tabs again, so
// the window never holds anything the list does not.  A page control takes its tab texts
// from its sheets' captions and shows only the sheet of the chosen tab.
#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "Handles.h"

const TEnumNames TabPositionNames{{{"tpTop", tpTop}, {"tpBottom", tpBottom}, {"tpLeft", tpLeft}, {"tpRight", tpRight}}};
const TEnumNames TabStyleNames{{{"tsTabs", tsTabs}, {"tsButtons", tsButtons}, {"tsFlatButtons", tsFlatButtons}}};

// ---- TCustomTabControl -------------------------------------------------------------

const TClassInfo& TCustomTabControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomTabControl>("TCustomTabControl", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomTabControl>& b) {
        b.Enum("TabPosition", TabPositionNames, [](TCustomTabControl& t) -> int64_t { return t.TabPosition(); }, [](TCustomTabControl& t, int64_t v) { t.SetTabPosition(static_cast<TTabPosition>(v)); });
        b.Bool("MultiLine", [](TCustomTabControl& t) { return t.MultiLine(); }, [](TCustomTabControl& t, bool v) { t.SetMultiLine(v); });
        b.Enum("Style", TabStyleNames, [](TCustomTabControl& t) -> int64_t { return t.Style(); }, [](TCustomTabControl& t, int64_t v) { t.SetStyle(static_cast<TTabStyle>(v)); });
        b.Bool("OwnerDraw", [](TCustomTabControl& t) { return t.OwnerDraw(); }, [](TCustomTabControl& t, bool v) { t.SetOwnerDraw(v); });
        b.Event("OnChange", &TCustomTabControl::OnChange);
        b.Event("OnChanging", &TCustomTabControl::OnChanging);
    });
    return info;
}

const TClassInfo& TTabControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTabControl>("TTabControl", &TCustomTabControl::StaticClassInfo(), [](TClassBuilder<TTabControl>& b) {
        b.Creatable();
        b.Object("Tabs", [](TTabControl& t) -> TObject* { return &t.Tabs(); });
        b.Int("TabIndex", [](TTabControl& t) -> int64_t { return t.TabIndex(); }, [](TTabControl& t, int64_t v) { t.SetTabIndex(static_cast<int>(v)); });
    });
    return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner), tabs_(std::make_unique<TStringList>()) {
    width_ = 289;
    height_ = 193;
    tabStop_ = true;
    color_ = clBtnFace;
    brush_.SetColor(color_);
    tabs_->OnChange = [this](TObject*) { updateTabs(); };
}

TCustomTabControl::~TCustomTabControl() {
    BeginDestruction();
    tabs_->OnChange = nullptr;
    if (handle_) DestroyHandle();
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLA);
    p.Style |= WS_CLIPCHILDREN;
    switch (tabPosition_) {
    case tpTop: break;
    case tpBottom: p.Style |= TCS_BOTTOM; break;
    // Tabs on a side are always in rows: the platform draws side tabs only so.
    case tpLeft: p.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case tpRight: p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
    }
    if (multiLine_) p.Style |= TCS_MULTILINE;
    if (style_ != tsTabs) p.Style |= TCS_BUTTONS;
    if (style_ == tsFlatButtons) p.Style |= TCS_FLATBUTTONS;
    if (ownerDraw_) p.Style |= TCS_OWNERDRAWFIXED;
}

void TCustomTabControl::CreateHandleContents() { updateTabs(); }

void TCustomTabControl::SaveHandleContents() { tabIndex_ = tabIndex(); }

void TCustomTabControl::updateTabs() {
    if (!handle_) {
        tabIndex_ = std::min(tabIndex_, tabs_->Count() - 1);
        return;
    }
    // A new window has no tabs and no choice yet: the kept choice stands.
    const bool filled = SendMessageA(handle_, TCM_GETITEMCOUNT, 0, 0) > 0;
    const int keep = std::min(filled ? tabIndex() : tabIndex_, tabs_->Count() - 1);
    SendMessageA(handle_, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < tabs_->Count(); ++i) {
        std::string text = tabs_->Get(i);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageA(handle_, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    tabIndex_ = keep;
    SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(keep), 0);
    Realign();  // the rows of tabs, and so the display area, may have changed
}

int TCustomTabControl::tabIndex() {
    if (handle_) tabIndex_ = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
    return tabIndex_;
}

void TCustomTabControl::setTabIndex(int index) {
    if (index < -1 || index >= tabs_->Count()) index = -1;
    tabIndex_ = index;
    if (handle_) SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomTabControl::SetTabPosition(TTabPosition p) { if (p != tabPosition_) { tabPosition_ = p; RecreateWnd(); } }
void TCustomTabControl::SetMultiLine(bool v) { if (v != multiLine_) { multiLine_ = v; RecreateWnd(); } }
void TCustomTabControl::SetStyle(TTabStyle s) { if (s != style_) { style_ = s; RecreateWnd(); } }
void TCustomTabControl::SetOwnerDraw(bool v) { if (v != ownerDraw_) { ownerDraw_ = v; RecreateWnd(); } }

RECT TCustomTabControl::DisplayRect() {
    RECT r = ClientRect();
    if (handle_) {
        SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // Without a window: one row of tabs of the usual height, and the frame.
    constexpr int kTabRow = 24, kFrame = 4;
    InflateRect(&r, -kFrame, -kFrame);
    switch (tabPosition_) {
    case tpTop: r.top += kTabRow; break;
    case tpBottom: r.bottom -= kTabRow; break;
    case tpLeft: r.left += kTabRow; break;
    case tpRight: r.right -= kTabRow; break;
    }
    return r;
}

void TCustomTabControl::AlignControls(TControl* control, RECT& rect) {
    RECT d = DisplayRect();
    rect.left = std::max(rect.left, d.left);
    rect.top = std::max(rect.top, d.top);
    rect.right = std::max(rect.left, std::min(rect.right, d.right));
    rect.bottom = std::max(rect.top, std::min(rect.bottom, d.bottom));
    TWinControl::AlignControls(control, rect);
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::WndProc(TMessage& m) {
    if (const NMHDR* hdr = ReflectedNotify(m)) {
        switch (hdr->code) {
        case TCN_SELCHANGING:
            m.Result = CanChange() ? FALSE : TRUE;  // TRUE keeps the current tab
            return;
        case TCN_SELCHANGE:
            tabIndex();
            Change();
            m.Result = 0;
            return;
        default:
            break;
        }
    }
    TWinControl::WndProc(m);
}

// ---- TTabSheet ---------------------------------------------------------------------

const TClassInfo& TTabSheet::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTabSheet>("TTabSheet", &TCustomControl::StaticClassInfo(), [](TClassBuilder<TTabSheet>& b) {
        b.Creatable();
        b.Reference<TPageControl>("PageControl", [](TTabSheet& s) { return s.PageControl(); }, [](TTabSheet& s, TPageControl* p) { s.SetPageControl(p); });
    });
    return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
    visible_ = false;  // the page control shows the active sheet only
    color_ = clBtnFace;
    brush_.SetColor(color_);
}

TTabSheet::~TTabSheet() {
    BeginDestruction();
    if (pageControl_) pageControl_->removePage(this);
}

void TTabSheet::SetPageControl(TPageControl* p) { SetParent(p); }

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetParent(TWinControl* parent) {
    auto* pc = dynamic_cast<TPageControl*>(parent);
    if (pageControl_ && pageControl_ != pc) pageControl_->removePage(this);
    TCustomControl::SetParent(parent);
    if (pc && pageControl_ != pc) pc->insertPage(this);
}

void TTabSheet::SetText(const std::string& text) {
    TCustomControl::SetText(text);
    if (pageControl_) pageControl_->pageCaptionChanged(this);
}

void TTabSheet::Paint() {
    RECT r = ClientRect();
    FillRect(canvas_.Handle(), &r, brush_.Handle());
}

// ---- TPageControl ------------------------------------------------------------------

const TClassInfo& TPageControl::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TPageControl>("TPageControl", &TCustomTabControl::StaticClassInfo(), [](TClassBuilder<TPageControl>& b) {
        b.Creatable();
        b.Reference<TTabSheet>("ActivePage", [](TPageControl& p) { return p.ActivePage(); }, [](TPageControl& p, TTabSheet* s) { p.SetActivePage(s); });
        b.Int("ActivePageIndex", [](TPageControl& p) -> int64_t { return p.ActivePageIndex(); }, [](TPageControl& p, int64_t v) { p.SetActivePageIndex(static_cast<int>(v)); });
    });
    return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

// The sheets outlive this control's members when they belong to another owner: they
// forget it before they are taken off (by the windowed control's destructor).
TPageControl::~TPageControl() {
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

void TPageControl::insertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    tabs_->Add(page->Caption());
    if (!activePage_) SetActivePage(page);
    else page->SetVisible(false);
    Realign();
}

void TPageControl::removePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    page->pageControl_ = nullptr;
    if (activePage_ == page) activePage_ = nullptr;
    if (IsDestroying()) return;
    tabs_->Delete(index);
    if (!activePage_ && !pages_.empty())
        SetActivePage(pages_[static_cast<size_t>(std::min(index, PageCount() - 1))]);
    setTabIndex(ActivePageIndex());  // the tabs after the removed one moved down
}

void TPageControl::pageCaptionChanged(TTabSheet* page) {
    const int index = page->PageIndex();
    if (index >= 0 && index < tabs_->Count()) tabs_->Put(index, page->Caption());
    setTabIndex(ActivePageIndex());
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int i) {
    SetActivePage(i >= 0 && i < PageCount() ? pages_[static_cast<size_t>(i)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    if (page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = page;
    setTabIndex(ActivePageIndex());
    // The new sheet shows before the old one hides, so nothing behind them flashes.
    if (page) {
        page->SetVisible(true);
        page->BringToFront();
    }
    if (old) old->SetVisible(false);
}

void TPageControl::Change() {
    const int index = tabIndex();
    SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
    TCustomTabControl::Change();
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    for (TTabSheet* page : pages_) page->SetVisible(page == activePage_);
    setTabIndex(ActivePageIndex());
}

// Every sheet fills the display area.
void TPageControl::AlignControls(TControl* control, RECT& rect) {
    const RECT d = DisplayRect();
    for (TTabSheet* page : pages_)
        page->SetBounds(d.left, d.top, std::max(0L, d.right - d.left), std::max(0L, d.bottom - d.top));
    TCustomTabControl::AlignControls(control, rect);
}
