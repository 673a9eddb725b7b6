// Tab sets and tabbed notebooks.  The tab set's geometry is one pure function shared by
// painting and hit-testing; its tabs hang from the top edge, the chosen one joined to it.
#include "Tabs.h"

#include <windowsx.h>

#include <algorithm>

#include "Handles.h"

std::vector<RECT> TabSetLayout(const std::vector<int>& textWidths, int firstIndex, int startMargin, int room, int height) {
    std::vector<RECT> rects(textWidths.size(), RECT{0, 0, 0, 0});
    constexpr int kTabPadding = 9;
    int x = startMargin;
    for (size_t i = static_cast<size_t>(std::max(firstIndex, 0)); i < textWidths.size(); ++i) {
        const int w = std::max(textWidths[i], 0) + kTabPadding;
        if (x + w > room) continue;  // a shorter tab further on may still fit
        rects[i] = RECT{x, 0, x + w, height};
        x += w;
    }
    return rects;
}

// ---- TTabSet -----------------------------------------------------------------------

const TClassInfo& TTabSet::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTabSet>("TTabSet", &TCustomControl::StaticClassInfo(), [](TClassBuilder<TTabSet>& b) {
        b.Creatable();
        b.Object("Tabs", [](TTabSet& t) -> TObject* { return &t.Tabs(); });
        b.Int("TabIndex", [](TTabSet& t) -> int64_t { return t.TabIndex(); }, [](TTabSet& t, int64_t v) { t.SetTabIndex(static_cast<int>(v)); });
        b.Int("FirstIndex", [](TTabSet& t) -> int64_t { return t.FirstIndex(); }, [](TTabSet& t, int64_t v) { t.SetFirstIndex(static_cast<int>(v)); });
        b.Int("StartMargin", [](TTabSet& t) -> int64_t { return t.StartMargin(); }, [](TTabSet& t, int64_t v) { t.SetStartMargin(static_cast<int>(v)); });
        b.Int("EndMargin", [](TTabSet& t) -> int64_t { return t.EndMargin(); }, [](TTabSet& t, int64_t v) { t.SetEndMargin(static_cast<int>(v)); });
        b.Event("OnChange", &TTabSet::OnChange);
    });
    return info;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {
    width_ = 185;
    height_ = 21;
    color_ = clBtnFace;
    brush_.SetColor(color_);
    tabs_->OnChange = [this](TObject*) {
        if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
        if (firstIndex_ >= tabs_->Count()) firstIndex_ = std::max(0, tabs_->Count() - 1);
        Invalidate();
    };
}

TTabSet::~TTabSet() { tabs_->OnChange = nullptr; }

bool TTabSet::CanChange(int newTab) {
    bool allow = true;
    if (OnChange) OnChange(this, newTab, allow);
    return allow;
}

void TTabSet::SetTabIndex(int index) {
    if (index < -1 || index >= tabs_->Count()) index = -1;
    if (index == tabIndex_ || !CanChange(index)) return;
    tabIndex_ = index;
    Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
    index = std::max(0, std::min(index, tabs_->Count() - 1));
    if (index != firstIndex_) { firstIndex_ = index; Invalidate(); }
}

void TTabSet::SetStartMargin(int v) { startMargin_ = std::max(0, v); Invalidate(); }
void TTabSet::SetEndMargin(int v) { endMargin_ = std::max(0, v); Invalidate(); }

std::vector<RECT> TTabSet::TabRects() {
    std::vector<int> widths;
    widths.reserve(static_cast<size_t>(tabs_->Count()));
    const RECT client = ClientRect();
    // Measured in the control's font on a screen-compatible DC, as painting measures them.
    WindowDcGuard screen(nullptr);
    if (screen.get()) {
        SelectGuard font(screen.get(), font_.Handle());
        for (int i = 0; i < tabs_->Count(); ++i) {
            const std::string text = tabs_->Get(i);
            SIZE size{};
            GetTextExtentPoint32A(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
            widths.push_back(size.cx);
        }
    }
    widths.resize(static_cast<size_t>(tabs_->Count()), 0);
    return TabSetLayout(widths, firstIndex_, startMargin_, client.right - endMargin_, client.bottom);
}

int TTabSet::ItemAtPos(POINT p) {
    const std::vector<RECT> rects = TabRects();
    for (size_t i = 0; i < rects.size(); ++i)
        if (rects[i].right > rects[i].left && PtInRect(&rects[i], p)) return static_cast<int>(i);
    return -1;
}

void TTabSet::Paint() {
    HDC dc = canvas_.Handle();
    const RECT client = ClientRect();
    FillRect(dc, &client, brush_.Handle());
    const std::vector<RECT> rects = TabRects();
    // The line the tabs hang from; the chosen tab breaks it.
    UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    SelectGuard pen(dc, shadow.get());
    MoveToEx(dc, client.left, client.top, nullptr);
    LineTo(dc, client.right, client.top);
    SelectGuard font(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(font_.Color()));
    for (size_t i = 0; i < rects.size(); ++i) {
        RECT r = rects[i];
        if (r.right <= r.left) continue;
        r.bottom -= 2;
        const bool chosen = static_cast<int>(i) == tabIndex_;
        if (chosen) FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
        const POINT outline[] = {{r.left, r.top}, {r.left + 2, r.bottom}, {r.right - 2, r.bottom}, {r.right, r.top - 1}};
        Polyline(dc, outline, 4);
        const std::string text = tabs_->Get(static_cast<int>(i));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void TTabSet::WndProc(TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN) {
        const int i = ItemAtPos(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        if (i >= 0 && i != tabIndex_) {
            SetTabIndex(i);
            if (tabIndex_ == i) Click();
        }
        m.Result = 0;
        return;
    }
    TCustomControl::WndProc(m);
}

// ---- TTabbedNotebook ---------------------------------------------------------------

const TClassInfo& TTabPage::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTabPage>("TTabPage", &TTabSheet::StaticClassInfo(), [](TClassBuilder<TTabPage>& b) { b.Creatable(); });
    return info;
}

// The names of a notebook's pages: a view over its pages, in order.
class TNotebookPages : public TStrings {
public:
    explicit TNotebookPages(TTabbedNotebook& book) : book_(book) {}
    int Count() const override { return book_.PageCount(); }
    std::string Get(int index) const override { return page(index)->Caption(); }
    void Put(int index, const std::string& s) override { page(index)->SetCaption(s); }
    void Insert(int index, const std::string& s) override {
        if (index < 0 || index > Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
        auto* p = new TTabPage(&book_);
        p->SetCaption(s);
        p->SetParent(&book_);
        book_.movePage(p, index);
    }
    void Delete(int index) override { delete page(index); }
    void Clear() override { while (Count() > 0) Delete(Count() - 1); }

private:
    TTabSheet* page(int index) const {
        if (index < 0 || index >= Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
        return book_.Pages(index);
    }
    TTabbedNotebook& book_;
};

const TClassInfo& TTabbedNotebook::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTabbedNotebook>("TTabbedNotebook", &TPageControl::StaticClassInfo(), [](TClassBuilder<TTabbedNotebook>& b) {
        b.Creatable();
        b.Object("Pages", [](TTabbedNotebook& n) -> TObject* { return &n.Pages(); });
        b.Int("PageIndex", [](TTabbedNotebook& n) -> int64_t { return n.PageIndex(); }, [](TTabbedNotebook& n, int64_t v) { n.SetPageIndex(static_cast<int>(v)); });
        b.Str("ActivePage", [](TTabbedNotebook& n) { return n.ActivePageName(); }, [](TTabbedNotebook& n, const std::string& v) { n.SetActivePageName(v); });
    });
    return info;
}

TTabbedNotebook::TTabbedNotebook(TComponent* owner) : TPageControl(owner), pageNames_(std::make_unique<TNotebookPages>(*this)) {}

TTabbedNotebook::~TTabbedNotebook() = default;

void TTabbedNotebook::SetActivePageName(const std::string& name) {
    const int i = pageNames_->IndexOf(name);
    if (i >= 0) SetActivePageIndex(i);
}

void TTabbedNotebook::movePage(TTabSheet* page, int index) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end() || index < 0 || index >= PageCount()) return;
    pages_.erase(it);
    pages_.insert(pages_.begin() + index, page);
    TTabSheet* active = activePage_;
    std::vector<std::string> captions;
    for (TTabSheet* p : pages_) captions.push_back(p->Caption());
    tabs_->SetFromVector(captions);
    setTabIndex(active ? active->PageIndex() : -1);
}
