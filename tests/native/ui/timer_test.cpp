#include "ui/controls/timer.h"
#include "tests/native/ui/ui_fixture.h"

namespace bv::testing {
namespace {

TEST_F(UiTest, TimerWithIntervalZeroNeverTicksEvenWhenEnabled) {
    int ticks = 0;
    form.timer("Timer1").Tick = [&] { ++ticks; };
    sim.advance(1000000);
    EXPECT_EQ(ticks, 0);
    form.timer("Timer1").setInterval(250);
    sim.advance(1000);
    EXPECT_EQ(ticks, 4);
    form.timer("Timer1").setInterval(0);
    sim.advance(1000);
    EXPECT_EQ(ticks, 4);
}

TEST_F(UiTest, TimerRefusesIntervalsOutside0To65535AndKeepsItsOwn) {
    ui::Timer& t = form.timer("Timer1");
    t.setInterval(65535);
    EXPECT_THROW(t.setInterval(65536), Failure);
    EXPECT_THROW(t.setInterval(-1), Failure);
    EXPECT_EQ(t.interval(), 65535);
}

TEST_F(UiTest, ReenablingOrChangingTheIntervalRestartsTheCountdown) {
    ui::Timer& t = form.timer("Timer1");
    std::vector<std::int64_t> at;
    t.Tick = [&] { at.push_back(sim.now()); };
    t.setInterval(1000);
    sim.advance(600);
    t.setEnabled(false);
    t.setEnabled(true);
    sim.advance(1000);
    t.setInterval(300);
    sim.advance(700);
    EXPECT_EQ(at, (std::vector<std::int64_t>{1600, 1900, 2200}));
}

TEST_F(UiTest, TimersStopWithTheirWindowAndWithTheProgram) {
    int ticks = 0;
    {
        ui::Form other(app, kTestForm);
        other.timer("Timer1").Tick = [&] { ++ticks; };
        other.timer("Timer1").setInterval(100);
        sim.advance(100);
        other.unload();
        sim.advance(1000);
    }
    EXPECT_EQ(ticks, 1);
    form.timer("Timer1").setInterval(100);
    form.timer("Timer1").Tick = [&] {
        ++ticks;
        app.end();
    };
    sim.advance(1000);
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(sim.ended());
}

}  // namespace
}  // namespace bv::testing
