#include "platform/common/tick_pacing.h"

namespace padwire {

bool TickPacing::ticks_needed(const PaceFacts& facts) const {
  // Without a device nothing can change on the pad; a device that does not signal is polled.
  if (demand_.controller_open() && !facts.device_signals) return true;
  return facts.keys_watched || demand_.needs_ticks();
}

bool TickPacing::tick_on_change() const {
  if (!timer_.armed()) return false;
  return !(timer_.running() && demand_.paced_by_timer());
}

void TickPacing::after_tick(const PaceFacts& facts) {
  if (!timer_.armed()) return;  // the tick itself switched the timer off
  if (ticks_needed(facts)) {
    timer_.rearm();
  } else {
    timer_.pause();
  }
}

void TickPacing::settle(const PaceFacts& facts) {
  if (!timer_.armed()) return;
  const bool needed = ticks_needed(facts);
  if (needed && !timer_.running()) {
    timer_.rearm();
  } else if (!needed && timer_.running()) {
    timer_.pause();
  }
}

void TickPacing::key_changed() {
  // The timer starts again, and runs for a while whatever the engine says, as it would have
  // run all along: the key is read on the timer's ticks only.
  if (timer_.armed() && !timer_.running()) timer_.rearm();
}

}  // namespace padwire
