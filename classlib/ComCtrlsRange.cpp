// Track bars and up-down controls on the platform's classes.  Both report a move to their
// parent as a scroll notice, which comes back reflected (CN_HSCROLL, CN_VSCROLL); the
// up-down also asks first through UDN_DELTAPOS (CN_NOTIFY), which may refuse the step.
#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>


const TEnumNames TrackBarOrientationNames{{{"trHorizontal", trHorizontal}, {"trVertical", trVertical}}};
const TEnumNames TickStyleNames{{{"tsNone", tsNone}, {"tsAuto", tsAuto}, {"tsManual", tsManual}}};
const TEnumNames TickMarkNames{{{"tmBottomRight", tmBottomRight}, {"tmTopLeft", tmTopLeft}, {"tmBoth", tmBoth}}};
const TEnumNames UDOrientationNames{{{"udHorizontal", udHorizontal}, {"udVertical", udVertical}}};

// ---- TTrackBar ---------------------------------------------------------------------

const TClassInfo& TTrackBar::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTrackBar>("TTrackBar", &TWinControl::StaticClassInfo(), [](TClassBuilder<TTrackBar>& b) {
        b.Creatable();
        b.Enum("Orientation", TrackBarOrientationNames, [](TTrackBar& t) -> int64_t { return t.Orientation(); }, [](TTrackBar& t, int64_t v) { t.SetOrientation(static_cast<TTrackBarOrientation>(v)); });
        b.Int("Min", [](TTrackBar& t) -> int64_t { return t.Min(); }, [](TTrackBar& t, int64_t v) { t.SetMin(static_cast<int>(v)); });
        b.Int("Max", [](TTrackBar& t) -> int64_t { return t.Max(); }, [](TTrackBar& t, int64_t v) { t.SetMax(static_cast<int>(v)); });
        b.Int("Position", [](TTrackBar& t) -> int64_t { return t.Position(); }, [](TTrackBar& t, int64_t v) { t.SetPosition(static_cast<int>(v)); });
        b.Int("Frequency", [](TTrackBar& t) -> int64_t { return t.Frequency(); }, [](TTrackBar& t, int64_t v) { t.SetFrequency(static_cast<int>(v)); });
        b.Enum("TickStyle", TickStyleNames, [](TTrackBar& t) -> int64_t { return t.TickStyle(); }, [](TTrackBar& t, int64_t v) { t.SetTickStyle(static_cast<TTickStyle>(v)); });
        b.Enum("TickMarks", TickMarkNames, [](TTrackBar& t) -> int64_t { return t.TickMarks(); }, [](TTrackBar& t, int64_t v) { t.SetTickMarks(static_cast<TTickMark>(v)); });
        b.Bool("SliderVisible", [](TTrackBar& t) { return t.SliderVisible(); }, [](TTrackBar& t, bool v) { t.SetSliderVisible(v); });
        b.Int("ThumbLength", [](TTrackBar& t) -> int64_t { return t.ThumbLength(); }, [](TTrackBar& t, int64_t v) { t.SetThumbLength(static_cast<int>(v)); });
        b.Event("OnChange", &TTrackBar::OnChange);
    });
    return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    width_ = 150;
    height_ = 45;
    tabStop_ = true;
}

void TTrackBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, TRACKBAR_CLASSA);
    p.Style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
    switch (tickMarks_) {
    case tmBottomRight: p.Style |= TBS_BOTTOM; break;  // TBS_RIGHT has the same value
    case tmTopLeft: p.Style |= TBS_TOP; break;         // TBS_LEFT likewise
    case tmBoth: p.Style |= TBS_BOTH; break;
    }
    if (tickStyle_ == tsNone) p.Style |= TBS_NOTICKS;
    if (tickStyle_ == tsAuto) p.Style |= TBS_AUTOTICKS;
    if (!sliderVisible_) p.Style |= TBS_NOTHUMB;
    p.Style |= TBS_FIXEDLENGTH;
}

void TTrackBar::CreateHandleContents() {
    SendMessageA(handle_, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(handle_, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageA(handle_, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumbLength_), 0);
    if (tickStyle_ == tsAuto) SendMessageA(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageA(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SaveHandleContents() { position_ = static_cast<int>(SendMessageA(handle_, TBM_GETPOS, 0, 0)); }

void TTrackBar::SetOrientation(TTrackBarOrientation o) {
    if (o == orientation_) return;
    orientation_ = o;
    if (!IsLoading()) SetBounds(left_, top_, height_, width_);  // the bar turns round
    RecreateWnd();
}

void TTrackBar::SetRange(int min, int max) {
    if (max < min) max = min;
    min_ = min;
    max_ = max;
    const int old = Position();
    position_ = std::max(min_, std::min(max_, old));
    if (handle_) {
        SendMessageA(handle_, TBM_SETRANGEMIN, FALSE, min_);
        SendMessageA(handle_, TBM_SETRANGEMAX, FALSE, max_);
        SendMessageA(handle_, TBM_SETPOS, TRUE, position_);
    }
    if (position_ != old && !IsLoading()) Changed();
}

int TTrackBar::Position() {
    if (handle_) position_ = static_cast<int>(SendMessageA(handle_, TBM_GETPOS, 0, 0));
    return position_;
}

void TTrackBar::SetPosition(int v) {
    v = std::max(min_, std::min(max_, v));
    if (v == Position()) return;
    position_ = v;
    if (handle_) SendMessageA(handle_, TBM_SETPOS, TRUE, v);
    if (!IsLoading()) Changed();
}

void TTrackBar::SetFrequency(int v) {
    frequency_ = std::max(1, v);
    if (handle_ && tickStyle_ == tsAuto) SendMessageA(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
}

void TTrackBar::SetTickStyle(TTickStyle t) { if (t != tickStyle_) { tickStyle_ = t; RecreateWnd(); } }
void TTrackBar::SetTickMarks(TTickMark t) { if (t != tickMarks_) { tickMarks_ = t; RecreateWnd(); } }
void TTrackBar::SetSliderVisible(bool v) { if (v != sliderVisible_) { sliderVisible_ = v; RecreateWnd(); } }

void TTrackBar::SetThumbLength(int v) {
    thumbLength_ = std::max(1, v);
    if (handle_) SendMessageA(handle_, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumbLength_), 0);
}

// The window has moved its thumb already; the notice says only that it did.
void TTrackBar::positionFromWindow() {
    const int now = static_cast<int>(SendMessageA(handle_, TBM_GETPOS, 0, 0));
    if (now == position_) return;
    position_ = now;
    Changed();
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        positionFromWindow();
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TUpDown -----------------------------------------------------------------------

const TClassInfo& TUpDown::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TUpDown>("TUpDown", &TWinControl::StaticClassInfo(), [](TClassBuilder<TUpDown>& b) {
        b.Creatable();
        b.Reference<TWinControl>("Associate", [](TUpDown& u) { return u.Associate(); }, [](TUpDown& u, TWinControl* c) { u.SetAssociate(c); });
        b.Int("Min", [](TUpDown& u) -> int64_t { return u.Min(); }, [](TUpDown& u, int64_t v) { u.SetMin(static_cast<int>(v)); });
        b.Int("Max", [](TUpDown& u) -> int64_t { return u.Max(); }, [](TUpDown& u, int64_t v) { u.SetMax(static_cast<int>(v)); });
        b.Int("Position", [](TUpDown& u) -> int64_t { return u.Position(); }, [](TUpDown& u, int64_t v) { u.SetPosition(static_cast<int>(v)); });
        b.Int("Increment", [](TUpDown& u) -> int64_t { return u.Increment(); }, [](TUpDown& u, int64_t v) { u.SetIncrement(static_cast<int>(v)); });
        b.Enum("Orientation", UDOrientationNames, [](TUpDown& u) -> int64_t { return u.Orientation(); }, [](TUpDown& u, int64_t v) { u.SetOrientation(static_cast<TUDOrientation>(v)); });
        b.Bool("Wrap", [](TUpDown& u) { return u.Wrap(); }, [](TUpDown& u, bool v) { u.SetWrap(v); });
        b.Event("OnClick", &TUpDown::OnClick);
        b.Event("OnChanging", &TUpDown::OnChanging);
    });
    return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    width_ = 17;
    height_ = 25;
}

void TUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASSA);
    p.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    if (associate_) p.Style |= UDS_ALIGNRIGHT;
    if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
    if (wrap_) p.Style |= UDS_WRAP;
}

void TUpDown::CreateHandleContents() {
    updateRange();
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageA(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_) SendMessageA(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
    SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::SaveHandleContents() { position_ = static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, 0)); }

void TUpDown::updateRange() {
    if (handle_) SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

void TUpDown::SetMin(int v) {
    min_ = v;
    updateRange();
}

void TUpDown::SetMax(int v) {
    max_ = v;
    updateRange();
}

// The range may run backwards (min above max): the platform then counts down.
int TUpDown::Position() {
    if (handle_) {
        BOOL failed = FALSE;
        const int p = static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
        if (!failed) position_ = p;
    }
    return position_;
}

void TUpDown::SetPosition(int v) {
    position_ = std::max(std::min(min_, max_), std::min(std::max(min_, max_), v));
    if (handle_) SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::SetIncrement(int v) {
    increment_ = v;
    if (handle_) {
        UDACCEL accel{0, static_cast<UINT>(increment_)};
        SendMessageA(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    }
}

void TUpDown::SetOrientation(TUDOrientation o) { if (o != orientation_) { orientation_ = o; RecreateWnd(); } }
void TUpDown::SetWrap(bool v) { if (v != wrap_) { wrap_ = v; RecreateWnd(); } }

void TUpDown::SetAssociate(TWinControl* c) {
    if (c == associate_) return;
    if (c == this) c = nullptr;
    if (associate_) associate_->RemoveFreeNotification(this);
    associate_ = c;
    if (c) c->FreeNotification(this);
    RecreateWnd();  // the buddy is placed beside the arrows only at creation
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) {
        associate_ = nullptr;
        if (handle_) SendMessageA(handle_, UDM_SETBUDDY, 0, 0);
    }
}

void TUpDown::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY: {
        const NMHDR* hdr = ReflectedNotify(m);
        if (hdr && hdr->code == UDN_DELTAPOS) {
            bool allow = true;
            if (OnChanging) OnChanging(this, allow);
            lastDelta_ = allow ? reinterpret_cast<const NMUPDOWN*>(m.LParam)->iDelta : 0;
            m.Result = allow ? 0 : 1;  // nonzero keeps the position
            return;
        }
        break;
    }
    case CN_HSCROLL:
    case CN_VSCROLL:
        // The step asked about in UDN_DELTAPOS has been made.
        if (LOWORD(m.WParam) != SB_THUMBPOSITION) break;
        Position();
        if (lastDelta_ != 0 && OnClick) OnClick(this, lastDelta_ > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev);
        lastDelta_ = 0;
        m.Result = 0;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
