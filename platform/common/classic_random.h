// The random numbers of the classic runtime the program was first written for: a 24-bit linear
// congruential sequence, so every number is an exact single-precision value below 1. Every back
// end uses this one generator, so a seed gives the same numbers on every system.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace padwire {

class ClassicRandom final : public Random {
 public:
  void seed(double value) override;
  float next() override;

 private:
  std::uint32_t state_ = 0x50000;
};

}  // namespace padwire
