// Timers: OnTimer runs repeatedly while enabled, stops when disabled, needs a handler,
// restarts on changes, survives a failing handler, and comes from stored forms.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Forms.h"
#include "MenuDialogTestSupport.h"
#include "Timer.h"

using guitest::PumpMessages;
using guitest::PumpThroughTimerTicks;
using menutest::PumpUntil;

TEST(Timer, FiresRepeatedlyAndStopsWhenDisabled) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(20);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; })) << "ticks " << ticks;
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    const int stopped = ticks;
    ASSERT_TRUE(PumpThroughTimerTicks(20, 4));
    EXPECT_EQ(ticks, stopped);
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks > stopped; }));
}

TEST(Timer, NoSystemTimerWithoutHandlerOrInterval) {
    TTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.Running()) << "no handler";
    timer.SetOnTimer([](TObject*) {});
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(10);
    EXPECT_TRUE(timer.Running());
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.Running());
}

TEST(Timer, IntervalChangeRestarts) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(60000);
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    PumpMessages();
    EXPECT_EQ(ticks, 0);
    timer.SetInterval(15);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
}

TEST(Timer, FailingHandlerIsReportedAndKeepsRunning) {
    menutest::ReportedExceptions().clear();
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(20);
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        throw std::runtime_error("tick failed");
    });
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3 && menutest::ReportedExceptions().size() >= 3; }))
        << "ticks " << ticks << ", reported " << menutest::ReportedExceptions().size();
    ASSERT_FALSE(menutest::ReportedExceptions().empty());
    EXPECT_EQ(menutest::ReportedExceptions().front(), "tick failed");
    timer.SetEnabled(false);
    PumpMessages();
    menutest::ReportedExceptions().clear();
}

namespace {

class TTimerTestForm : public TForm {
    CLASS_INFO(TTimerTestForm)
public:
    explicit TTimerTestForm(TComponent* owner) : TForm(owner) {}
    TTimer* Timer2 = nullptr;
    int ticks = 0;
    void Timer2Timer(TObject*) { ++ticks; }
};

const TClassInfo& TTimerTestForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TTimerTestForm>("TTimerTestForm", &TForm::StaticClassInfo(), [](TClassBuilder<TTimerTestForm>& b) {
        b.Handler("Timer2Timer", &TTimerTestForm::Timer2Timer);
        b.Field("Timer2", &TTimerTestForm::Timer2);
    });
    return info;
}

}  // namespace

TEST(Timer, FromStoredForm) {
    auto* form = new TTimerTestForm(Application);
    form->InitFromText(R"(object TimerForm: TTimerTestForm
  object Timer2: TTimer
    Interval = 25
    OnTimer = Timer2Timer
  end
end
)");
    EXPECT_EQ(form->Timer2->Interval(), 25u);
    EXPECT_TRUE(form->Timer2->Running());
    EXPECT_TRUE(PumpUntil([&] { return form->ticks >= 2; }));
    const int ticks = form->ticks;
    delete form;  // the timer goes with its form: no tick after this
    EXPECT_TRUE(PumpThroughTimerTicks(25, 3)) << "ticks before " << ticks;
}

TEST(Timer, HandlerMayFreeItsTimer) {
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](TObject*) {
        ++ticks;
        delete timer;
        timer = nullptr;
    });
    EXPECT_TRUE(PumpUntil([&] { return timer == nullptr; }));
    ASSERT_TRUE(PumpThroughTimerTicks(10, 3));
    EXPECT_EQ(ticks, 1);
}
