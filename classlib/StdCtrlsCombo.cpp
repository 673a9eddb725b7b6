// Combo boxes and scroll-bar controls on the system's classes.  The combo box shares the
// kept-lines machinery of the list box (StdCtrls_impl.h); the scroll bar moves itself in
// answer to its own reflected scroll notices, since the platform's bar only reports them.
#include <algorithm>

#include "StdCtrls.h"
#include "StdCtrls_impl.h"

const TEnumNames ComboBoxStyleNames{{{"csDropDown", csDropDown}, {"csSimple", csSimple}, {"csDropDownList", csDropDownList}}};
const TEnumNames ScrollBarKindNames{{{"sbHorizontal", sbHorizontal}, {"sbVertical", sbVertical}}};
const TEnumNames ScrollCodeNames{{{"scLineUp", scLineUp}, {"scLineDown", scLineDown}, {"scPageUp", scPageUp},
                                  {"scPageDown", scPageDown}, {"scPosition", scPosition}, {"scTrack", scTrack},
                                  {"scTop", scTop}, {"scBottom", scBottom}, {"scEndScroll", scEndScroll}}};

// ---- TCustomComboBox ---------------------------------------------------------------

const TClassInfo& TCustomComboBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomComboBox>("TCustomComboBox", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomComboBox>& b) {
        b.Enum("Style", ComboBoxStyleNames, [](TCustomComboBox& c) -> int64_t { return c.Style(); }, [](TCustomComboBox& c, int64_t v) { c.SetStyle(static_cast<TComboBoxStyle>(v)); });
        b.Object("Items", [](TCustomComboBox& c) -> TObject* { return &c.Items(); });
        b.Int("ItemIndex", [](TCustomComboBox& c) -> int64_t { return c.ItemIndex(); }, [](TCustomComboBox& c, int64_t v) { c.SetItemIndex(static_cast<int>(v)); });
        b.Int("DropDownCount", [](TCustomComboBox& c) -> int64_t { return c.DropDownCount(); }, [](TCustomComboBox& c, int64_t v) { c.SetDropDownCount(static_cast<int>(v)); });
        b.Bool("Sorted", [](TCustomComboBox& c) { return c.Sorted(); }, [](TCustomComboBox& c, bool v) { c.SetSorted(v); });
        b.Event("OnChange", &TCustomComboBox::OnChange);
    });
    return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TComboBox>("TComboBox", &TCustomComboBox::StaticClassInfo(), [](TClassBuilder<TComboBox>& b) { b.Creatable(); });
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), saved_(std::make_unique<TStringList>()) {
    items_ = std::make_unique<TWindowItems>(*this, ComboBoxMessages, *saved_, sorted_, [this] { itemIndex_ = -1; });
    width_ = 145;
    height_ = 21;
    tabStop_ = true;
}

TCustomComboBox::~TCustomComboBox() {
    BeginDestruction();
    if (handle_) DestroyHandle();  // while the lines object still exists
}

int TCustomComboBox::droppedHeight() {
    int itemHeight = 16;
    if (handle_) {
        LRESULT h = SendMessageA(handle_, CB_GETITEMHEIGHT, 0, 0);
        if (h > 0) itemHeight = static_cast<int>(h);
    }
    return height_ + 2 + std::max(dropDownCount_, 1) * itemHeight;
}

void TCustomComboBox::applyDroppedHeight() {
    if (!handle_ || style_ == csSimple) return;
    SetWindowPos(handle_, nullptr, 0, 0, width_, droppedHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "COMBOBOX");
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (style_) {
    case csDropDown: p.Style |= CBS_DROPDOWN; break;
    case csSimple: p.Style |= CBS_SIMPLE; break;
    case csDropDownList: p.Style |= CBS_DROPDOWNLIST; break;
    }
    if (sorted_) p.Style |= CBS_SORT;
    if (style_ != csSimple) p.Height = droppedHeight();
}

void TCustomComboBox::CreateHandleContents() {
    const int n = saved_->Count();
    TWindowItems::Push(handle_, ComboBoxMessages, *saved_, sorted_);
    if (itemIndex_ >= 0 && itemIndex_ < n) SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    else if (style_ != csDropDownList) SetWindowTextA(handle_, text_.c_str());
    applyDroppedHeight();  // now with the real item height
}

void TCustomComboBox::SaveHandleContents() {
    if (beingFreed()) return;
    text_ = Text();
    TWindowItems::Pull(handle_, ComboBoxMessages, *saved_);
    LRESULT sel = SendMessageA(handle_, CB_GETCURSEL, 0, 0);
    itemIndex_ = sel == CB_ERR ? -1 : static_cast<int>(sel);
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
    const bool sized = width != width_ || height != height_;
    TWinControl::SetBounds(left, top, width, height);
    if (sized) applyDroppedHeight();
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) { if (s != style_) { style_ = s; RecreateWnd(); } }

void TCustomComboBox::SetDropDownCount(int n) {
    dropDownCount_ = std::max(1, n);
    applyDroppedHeight();
}

void TCustomComboBox::SetSorted(bool v) {
    if (v == sorted_) return;
    sorted_ = v;
    if (v && !handle_) TWindowItems::SortSaved(*saved_);
    RecreateWnd();
}

int TCustomComboBox::ItemIndex() {
    if (!handle_) return itemIndex_ < saved_->Count() ? itemIndex_ : -1;
    LRESULT sel = SendMessageA(handle_, CB_GETCURSEL, 0, 0);
    return sel == CB_ERR ? -1 : static_cast<int>(sel);
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < -1) index = -1;
    if (!handle_) {
        itemIndex_ = index;
        if (index >= 0 && index < saved_->Count()) text_ = saved_->Get(index);
        return;
    }
    SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomComboBox::SetText(const std::string& text) {
    if (style_ != csDropDownList) {
        TWinControl::SetText(text);
        return;
    }
    SetItemIndex(text.empty() ? -1 : items_->IndexOf(text));
}

void TCustomComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE: Click(); Change(); m.Result = 0; return;
        case CBN_EDITCHANGE: Change(); m.Result = 0; return;
        default: break;
        }
    }
    TWinControl::WndProc(m);
}

// ---- TScrollBar --------------------------------------------------------------------

const TClassInfo& TScrollBar::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TScrollBar>("TScrollBar", &TWinControl::StaticClassInfo(), [](TClassBuilder<TScrollBar>& b) {
        b.Creatable();
        b.Enum("Kind", ScrollBarKindNames, [](TScrollBar& s) -> int64_t { return s.Kind(); }, [](TScrollBar& s, int64_t v) { s.SetKind(static_cast<TScrollBarKind>(v)); });
        b.Int("Min", [](TScrollBar& s) -> int64_t { return s.Min(); }, [](TScrollBar& s, int64_t v) { s.SetMin(static_cast<int>(v)); });
        b.Int("Max", [](TScrollBar& s) -> int64_t { return s.Max(); }, [](TScrollBar& s, int64_t v) { s.SetMax(static_cast<int>(v)); });
        b.Int("Position", [](TScrollBar& s) -> int64_t { return s.Position(); }, [](TScrollBar& s, int64_t v) { s.SetPosition(static_cast<int>(v)); });
        b.Int("PageSize", [](TScrollBar& s) -> int64_t { return s.PageSize(); }, [](TScrollBar& s, int64_t v) { s.SetPageSize(static_cast<int>(v)); });
        b.Int("SmallChange", [](TScrollBar& s) -> int64_t { return s.SmallChange(); }, [](TScrollBar& s, int64_t v) { s.SetSmallChange(static_cast<int>(v)); });
        b.Int("LargeChange", [](TScrollBar& s) -> int64_t { return s.LargeChange(); }, [](TScrollBar& s, int64_t v) { s.SetLargeChange(static_cast<int>(v)); });
        b.Event("OnChange", &TScrollBar::OnChange);
        b.Event("OnScroll", &TScrollBar::OnScroll);
    });
    return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = GetSystemMetrics(SM_CYHSCROLL);
    tabStop_ = true;
}

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "SCROLLBAR");
    p.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandleContents() { updateScrollInfo(); }

void TScrollBar::updateScrollInfo() {
    if (!handle_) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    si.nMin = min_;
    si.nMax = max_;
    si.nPage = static_cast<UINT>(pageSize_);
    si.nPos = position_;
    SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind k) {
    if (k == kind_) return;
    kind_ = k;
    if (!IsLoading()) SetBounds(left_, top_, height_, width_);  // the bar turns round
    RecreateWnd();
}

// The platform keeps the position within min .. max - page + 1; so does the control, so
// that Position always reads what the bar shows.
void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) max = min;
    const int last = pageSize_ > 0 ? std::max(min, max - pageSize_ + 1) : max;
    position = std::max(min, std::min(last, position));
    const bool changed = position != position_;
    min_ = min;
    max_ = max;
    position_ = position;
    updateScrollInfo();
    if (changed && !IsLoading()) Change();
}

void TScrollBar::SetPageSize(int v) {
    v = std::max(0, std::min(v, max_ - min_ + 1));
    if (v == pageSize_) return;
    pageSize_ = v;
    SetParams(position_, min_, max_);
}

void TScrollBar::onScroll(int code) {
    if (code < SB_LINEUP || code > SB_ENDSCROLL) return;
    int pos = position_;
    switch (code) {
    case SB_LINEUP: pos -= smallChange_; break;
    case SB_LINEDOWN: pos += smallChange_; break;
    case SB_PAGEUP: pos -= largeChange_; break;
    case SB_PAGEDOWN: pos += largeChange_; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit track position; the notice itself carries only 16 bits.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(handle_, SB_CTL, &si)) pos = si.nTrackPos;
        break;
    }
    case SB_TOP: pos = min_; break;
    case SB_BOTTOM: pos = max_; break;
    default: break;
    }
    // The platform's codes run in the same order as TScrollCode.
    Scroll(static_cast<TScrollCode>(code), pos);
    if (pos != position_) SetPosition(pos);
}

void TScrollBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        onScroll(LOWORD(m.WParam));
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}
