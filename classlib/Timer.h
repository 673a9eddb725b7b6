// TTimer: a component that runs OnTimer every Interval milliseconds while Enabled.  All
// timers of the process share one hidden window; each timer is a system timer of that
// window under its own id.
#pragma once
#include <windows.h>

#include "Classes.h"

class TTimer : public TComponent {
    CLASS_INFO(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }  // milliseconds; 0 stops the timer
    void SetInterval(unsigned ms);
    // Setting the handler through here (or through the stored form) starts or stops the
    // system timer; a handler assigned straight to OnTimer takes effect at the next
    // change of Enabled or Interval.
    void SetOnTimer(TNotifyEvent handler);
    bool Running() const { return running_; }  // a system timer exists now

    TNotifyEvent OnTimer;

    // Called by the shared timer window.
    void Timer();

protected:
    void Loaded() override;

private:
    void updateTimer();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    UINT_PTR id_;
    bool running_ = false;
};
