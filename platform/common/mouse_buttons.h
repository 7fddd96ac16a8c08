// The button changes a mouse_event's flags carry, for the back ends whose systems have no
// mouse_event of their own.
#pragma once

#include <cstdint>
#include <vector>

namespace padwire {

enum class MouseButton { left, right, middle };

struct ButtonChange {
  MouseButton button = MouseButton::left;
  bool down = false;
  friend bool operator==(const ButtonChange&, const ButtonChange&) = default;
};

// The changes in the order Windows applies them: left, right, middle; each down before up.
std::vector<ButtonChange> mouse_event_buttons(std::uint32_t flags);

}  // namespace padwire
