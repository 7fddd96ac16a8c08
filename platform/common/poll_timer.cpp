#include "platform/common/poll_timer.h"

namespace padwire {

void PollTimer::set_enabled(bool enabled) {
  enabled_ = enabled;
  apply();
}

void PollTimer::set_interval(int milliseconds) {
  interval_ = milliseconds;
  apply();
}

void PollTimer::pause() {
  if (running_) stop_native();
  running_ = false;
}

void PollTimer::apply() {
  if (armed()) {
    running_ = start_native(interval_);
  } else {
    pause();
  }
}

}  // namespace padwire
