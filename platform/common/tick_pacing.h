// The pacing of the poll tick, for event loops that hear of every controller change.
//
// The core's poll timer asks for 1 ms, which the systems deliver every 10 to 15.6 ms: a pad
// change waited up to a whole period for its key, and the program woke 64 to 100 times a
// second with the pad untouched. So the event loop waits on its events and on the signal the
// open controller gives when its state changes, and asks this policy what to do:
//
// - A controller change runs the tick at once, and the timer, if ticks are still needed, is
//   re-armed a full period after it.
// - After the events of every wake-up, the engine says whether a further tick could change
//   anything with the pad as last read (TickDemand::needs_ticks: keys to translate, auto-fire,
//   the pointer's acceleration, a combination repeating, a device to re-acquire, a key the tick
//   reads held, the debug window to refresh). When not, the native timer stops and the program
//   sleeps until the next change.
// - The keys the tick reads by their state (Tab, Ctrl, Print Screen) are watched by the back
//   end. One going down or up restarts a sleeping timer, which then runs for a second at
//   least, the key being read on the timer's ticks.
// - Behaviour that counts ticks (auto-fire bursts, the pointer's acceleration, a combination
//   repeating every second tick, a shot per tick while Print Screen is held, a run of presses
//   towards the stressed rumble) keeps the timer's cadence: while the engine says it is paced
//   by the timer and the timer runs, a change waits for the next timer tick, so per-second
//   rates stay what the timer alone gives.
// - After a change's tick the loop waits for the controller alone for kQuietAfterChangeMs: the
//   keys just sent are on their way to the game, and the program's own work on its other events
//   meanwhile (the watch hears those very keys) would compete with the game's handling of them
//   for the processor and the window system. A change in that moment runs its tick at once;
//   the moment is never extended, so the other events wait at most that long.
// - A device that must be polled, or that cannot signal, leaves the timer running alone, as if
//   none of this were here. The core's Timer1 is untouched: its enabled flag and interval reach
//   the PollTimer, a stopped Timer1 means no ticks at all, and a skipped tick is only
//   ever one that would have done nothing.
#pragma once

#include "platform/common/poll_timer.h"
#include "platform/tick_demand.h"

namespace padwire {

inline constexpr int kQuietAfterChangeMs = 2;

// What the back end knows at the moment of a decision.
struct PaceFacts {
  bool device_signals = false;  // the open controller reports its changes
  bool keys_watched = false;    // a watched key went down or up a moment ago
};

class TickPacing {
 public:
  TickPacing(PollTimer& timer, const TickDemand& demand) : timer_(timer), demand_(demand) {}

  // Whether the poll timer must run.
  bool ticks_needed(const PaceFacts& facts) const;
  // The controller changed: whether the tick runs now (false: none runs, or the timer's next
  // tick reads the change).
  bool tick_on_change() const;
  // After a tick run on a change: the timer sleeps or starts again a full period from now.
  void after_tick(const PaceFacts& facts);
  // After the events of one wake-up: stops the timer when no tick is needed, starts it when
  // one is.
  void settle(const PaceFacts& facts);
  // A watched key changed, or was seen held: a sleeping timer starts again.
  void key_changed();

 private:
  PollTimer& timer_;
  const TickDemand& demand_;
};

}  // namespace padwire
