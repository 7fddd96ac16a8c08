#include "platform/common/classic_random.h"

#include <cstring>

namespace padwire {

// The seed's bits, folded to the generator's 24 bits.
void ClassicRandom::seed(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const auto folded = static_cast<std::uint32_t>(bits ^ (bits >> 32));
  state_ = (folded ^ (folded >> 24)) & 0xFFFFFFu;
}

float ClassicRandom::next() {
  state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFFu;
  return static_cast<float>(state_) / 16777216.0f;
}

}  // namespace padwire
