#include "platform/common/tick_pacing.h"

#include <gtest/gtest.h>

namespace padwire {
namespace {

class FakeTimer final : public PollTimer {
 public:
  int starts = 0;

 private:
  bool start_native(int) override { return ++starts > 0; }
  void stop_native() override {}
};

struct FakeDemand final : TickDemand {
  bool open = false, needs = false, paced = false;
  bool controller_open() const override { return open; }
  bool needs_ticks() const override { return needs; }
  bool paced_by_timer() const override { return paced; }
};

// What the timer and the engine say, what the back end knows, and what the policy does: a
// change ticks at once or waits for the timer; after a wake-up the timer runs or sleeps; a
// tick on a change restarts the timer a full period later, or lets it sleep.
struct Case {
  const char* what;
  bool armed, running, open, signals, needs, paced, keys;
  bool ticks_on_change, runs_after_settle, restarted_after_tick;
};
constexpr Case kCases[] = {
    {"no device", true, true, false, false, false, false, false, true, false, false},
    {"a device that cannot signal", true, false, true, false, false, false, false, true, true,
     true},
    {"a signalling pad at rest", true, true, true, true, false, false, false, true, false, false},
    {"the engine needs ticks", true, false, true, true, true, false, false, true, true, true},
    {"a watched key changed", true, false, true, true, false, false, true, true, true, true},
    {"paced by the running timer", true, true, true, true, true, true, false, false, true, true},
    {"paced, the timer asleep", true, false, true, true, true, true, false, true, true, true},
    {"Timer1 off", false, false, true, false, true, false, true, false, false, false},
};

TEST(TickPacing, FollowsTheTable) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FakeTimer timer;
    FakeDemand demand;
    demand.open = c.open;
    demand.needs = c.needs;
    demand.paced = c.paced;
    timer.set_enabled(c.armed);
    if (!c.running) timer.pause();
    TickPacing pacing(timer, demand);
    const PaceFacts facts{c.signals, c.keys};
    EXPECT_EQ(pacing.tick_on_change(), c.ticks_on_change);
    const int starts = timer.starts;
    pacing.after_tick(facts);
    EXPECT_EQ(timer.starts > starts, c.restarted_after_tick);
    if (!c.running) timer.pause();
    pacing.settle(facts);
    EXPECT_EQ(timer.running(), c.runs_after_settle);
  }
}

TEST(TickPacing, AWatchedKeyWakesASleepingTimerOnlyWhileTimer1Runs) {
  FakeTimer timer;
  FakeDemand demand;
  TickPacing pacing(timer, demand);
  timer.pause();
  pacing.key_changed();
  EXPECT_TRUE(timer.running());
  timer.set_interval(0);  // an interval of 0 stops it
  pacing.key_changed();
  EXPECT_FALSE(timer.running());
}

}  // namespace
}  // namespace padwire
