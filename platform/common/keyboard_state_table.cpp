#include "platform/common/keyboard_state_table.h"

namespace padwire {

namespace {
constexpr std::size_t kVkScroll = 0x91;
}  // namespace

void KeyboardStateTable::get(KeyboardState& state) {
  if (scroll_lock_.read) {
    if (const std::optional<bool> lit = scroll_lock_.read()) {
      state_[kVkScroll] = static_cast<std::uint8_t>((state_[kVkScroll] & ~1u) | (*lit ? 1u : 0u));
    }
  }
  state = state_;
}

void KeyboardStateTable::set(const KeyboardState& state) {
  const bool lit = (state[kVkScroll] & 1u) != 0;
  bool was_lit = (state_[kVkScroll] & 1u) != 0;
  if (scroll_lock_.read) was_lit = scroll_lock_.read().value_or(was_lit);
  state_ = state;
  if (scroll_lock_.write && lit != was_lit) scroll_lock_.write(lit);
}

}  // namespace padwire
