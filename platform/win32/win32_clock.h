// The clock, the random numbers and the main window's poll timer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/clock.h"
#include "platform/common/classic_random.h"
#include "platform/timer.h"

namespace padwire::win32 {

class Win32Clock final : public Clock {
 public:
  LocalTime now() override;
  std::uint64_t milliseconds() override;
};

// The classic runtime's generator, shared with the other back ends.
using Win32Random = ClassicRandom;

// SetTimer on one window with one timer id. The timer runs while it is enabled with a positive
// interval (an interval of 0 stops it, as it does in the classic runtime); every assignment
// restarts it so that the native timer always matches the model.
class Win32Timer final : public TimerService {
 public:
  Win32Timer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  void set_enabled(bool enabled) override;
  void set_interval(int milliseconds) override;
  bool running() const { return running_; }
  // The model asks for ticks: enabled with a positive interval.
  bool armed() const { return enabled_ && interval_ > 0; }
  // The native timer stopped while the model still asks for ticks, for a back end that knows
  // the next ticks would do nothing; rearm starts it again, a full interval from now.
  void pause();
  void rearm() { apply(); }

 private:
  void apply();
  HWND window_;
  UINT_PTR id_;
  bool enabled_ = true;
  int interval_ = 1;
  bool running_ = false;
};

}  // namespace padwire::win32
