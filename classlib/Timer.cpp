// TTimer and the one hidden window that carries the system timers of all of them.  A
// failing OnTimer is reported through the application's callback error path and the timer
// keeps running.
#include "Timer.h"

#include <map>

#include "Controls.h"
#include "UtilityWindow.h"

namespace {

// Timer ids of live timers; WM_TIMER of an id no longer here is ignored.
std::map<UINT_PTR, TTimer*>& liveTimers() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

UINT_PTR nextTimerId() {
    static UINT_PTR next = 0;
    return ++next;
}

// A failing handler is reported by the window's procedure; the timer keeps running.
bool onTimerWindowMessage(TMessage& m) {
    if (m.Msg != WM_TIMER) return false;
    auto it = liveTimers().find(static_cast<UINT_PTR>(m.WParam));
    if (it != liveTimers().end()) it->second->Timer();
    m.Result = 0;
    return true;
}

HWND timerWindow() {
    static HWND wnd = nullptr;
    if (wnd && IsWindow(wnd)) return wnd;
    wnd = CreateUtilityWindow("TTimerWindow", "timer window", TUtilityWindowKind::MessageOnly, onTimerWindowMessage);
    return wnd;
}

}  // namespace

const TClassInfo& TTimer::StaticClassInfo() {
    static const TClassInfo& info = [] () -> const TClassInfo& {
        const TClassInfo& described = DescribeClass<TTimer>("TTimer", &TComponent::StaticClassInfo(), [](TClassBuilder<TTimer>& b) {
            b.Creatable();
            b.Bool("Enabled", [](TTimer& t) { return t.Enabled(); }, [](TTimer& t, bool v) { t.SetEnabled(v); });
            b.Int("Interval", [](TTimer& t) -> int64_t { return t.Interval(); },
                  [](TTimer& t, int64_t v) { t.SetInterval(v < 0 ? 0u : static_cast<unsigned>(v)); });
            b.Event("OnTimer", &TTimer::OnTimer);
        });
        // Binding OnTimer by name must start or stop the system timer as SetOnTimer does:
        // wrap the event's setter.  The description was made above and is owned here.
        auto* prop = const_cast<TPropInfo*>(described.FindProperty("OnTimer"));
        auto assign = prop->Set;
        prop->Set = [assign](TObject& o, const TValue& v) {
            assign(o, v);
            auto& t = static_cast<TTimer&>(o);
            t.SetOnTimer(t.OnTimer);
        };
        return described;
    }();
    return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(nextTimerId()) {
    liveTimers()[id_] = this;
}

TTimer::~TTimer() {
    enabled_ = false;
    updateTimer();
    liveTimers().erase(id_);
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    updateTimer();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    updateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    OnTimer = std::move(handler);
    updateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    updateTimer();
}

void TTimer::updateTimer() {
    if (running_) {
        KillTimer(timerWindow(), id_);
        running_ = false;
    }
    if (enabled_ && interval_ > 0 && OnTimer) {
        if (!SetTimer(timerWindow(), id_, interval_, nullptr)) throw Exception("Not enough timers available");
        running_ = true;
    }
}

void TTimer::Timer() {
    if (!OnTimer) {  // the handler was taken away directly: no timer without one
        updateTimer();
        return;
    }
    if (!enabled_) return;
    TNotifyEvent handler = OnTimer;  // the handler may free this timer
    handler(this);
}
