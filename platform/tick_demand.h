// What an event loop that hears of every controller change asks the core before it lets the
// poll tick sleep. The engine answers from the pad as last read.
#pragma once

namespace padwire {

class TickDemand {
 public:
  virtual ~TickDemand() = default;
  // A controller is open: without one nothing on the pad can change.
  virtual bool controller_open() const = 0;
  // Whether the next tick can change anything if the controller still reports what the last
  // read gave (conservative: false only when that tick would be a no-op).
  virtual bool needs_ticks() const = 0;
  // Whether something running now counts ticks, so that extra ticks would change its rate.
  virtual bool paced_by_timer() const = 0;
};

}  // namespace padwire
