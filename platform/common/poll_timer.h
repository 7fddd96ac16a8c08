// The main poll timer as a back end holds it: the model's enabled flag and interval, and
// whether the native timer runs. It runs while enabled with a positive interval (an interval
// of 0 stops it, as it does in the classic runtime); every assignment restarts it, so that
// the native timer always matches the model. A paced event loop may stop it while the model
// still asks for ticks, when it knows the next ticks would do nothing.
#pragma once

#include "platform/timer.h"

namespace padwire {

class PollTimer : public TimerService {
 public:
  void set_enabled(bool enabled) override;
  void set_interval(int milliseconds) override;
  // The model asks for ticks: enabled with a positive interval.
  bool armed() const { return enabled_ && interval_ > 0; }
  bool running() const { return running_; }
  // Stops the native timer while the model still asks for ticks; rearm starts it again, a
  // full period from now.
  void pause();
  void rearm() { apply(); }

 protected:
  // (Re)starts the native timer to tick every `milliseconds`; false when it could not.
  virtual bool start_native(int milliseconds) = 0;
  virtual void stop_native() = 0;

 private:
  void apply();
  bool enabled_ = true;
  int interval_ = 1;
  bool running_ = false;
};

}  // namespace padwire
