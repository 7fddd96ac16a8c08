// The local time, a monotonic count, and random numbers.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace padwire {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() = 0;
  // Milliseconds since some fixed moment; never goes back, whatever the wall clock does.
  virtual std::uint64_t milliseconds() = 0;
};

class Random {
 public:
  virtual ~Random() = default;
  virtual void seed(double value) = 0;
  // The next number, 0 <= r < 1.
  virtual float next() = 0;
};

}  // namespace padwire
