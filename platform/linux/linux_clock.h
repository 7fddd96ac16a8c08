// The clock and the random numbers of the Linux program.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/common/classic_random.h"

namespace padwire::lin {

class LinuxClock final : public Clock {
 public:
  // The local time, as the system's time zone gives it.
  LocalTime now() override;
  // CLOCK_MONOTONIC in milliseconds: it never goes back when the wall clock is set.
  std::uint64_t milliseconds() override;
};

// The same generator as the Windows program's.
using LinuxRandom = ClassicRandom;

}  // namespace padwire::lin
