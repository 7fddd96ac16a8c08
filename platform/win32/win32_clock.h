// The clock, the random numbers and the main window's poll timer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/clock.h"
#include "platform/common/classic_random.h"
#include "platform/common/poll_timer.h"

namespace padwire::win32 {

class Win32Clock final : public Clock {
 public:
  LocalTime now() override;
  std::uint64_t milliseconds() override;
};

// The classic runtime's generator, shared with the other back ends.
using Win32Random = ClassicRandom;

// The poll timer as SetTimer on one window with one timer id.
class Win32Timer final : public PollTimer {
 public:
  Win32Timer(HWND window, UINT_PTR id) : window_(window), id_(id) {}

 private:
  bool start_native(int milliseconds) override;
  void stop_native() override;
  HWND window_;
  UINT_PTR id_;
};

}  // namespace padwire::win32
