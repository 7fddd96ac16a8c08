// The 256-entry keyboard state (GetKeyboardState / SetKeyboardState) for a system that keeps none
// for the program: the table the program last wrote, whose Scroll Lock toggle follows the
// keyboard's light where there is one to read and write.
#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "platform/keyboard.h"

namespace padwire {

class KeyboardStateTable {
 public:
  struct Light {
    std::function<std::optional<bool>()> read;  // nothing when it cannot be read
    std::function<void(bool)> write;
  };
  // Without a light, the toggle is the table's own.
  explicit KeyboardStateTable(Light scroll_lock = {}) : scroll_lock_(std::move(scroll_lock)) {}

  // The table, its Scroll Lock toggle (entry 0x91, low bit) as the light shows it now.
  void get(KeyboardState& state);
  // Keeps the table; a Scroll Lock toggle unlike the light's turns the light.
  void set(const KeyboardState& state);

 private:
  Light scroll_lock_;
  KeyboardState state_{};
};

}  // namespace padwire
