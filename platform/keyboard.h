// Keyboard service: synthetic key events and the key-state tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace padwire {

inline constexpr std::uint32_t kKeyEventExtended = 1;  // KEYEVENTF_EXTENDEDKEY
inline constexpr std::uint32_t kKeyEventKeyUp = 2;     // KEYEVENTF_KEYUP

using KeyboardState = std::array<std::uint8_t, 256>;

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // keybd_event: goes to the window with the input focus.
  virtual void key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                         std::uintptr_t extra_info) = 0;
  // MapVirtualKey; 0 when there is no mapping.
  virtual std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type) = 0;
  // GetAsyncKeyState: top bit set while the key is held.
  virtual std::int16_t async_key_state(int vk) = 0;
  virtual bool get_keyboard_state(KeyboardState& state) = 0;
  virtual bool set_keyboard_state(const KeyboardState& state) = 0;
};

// Keystroke strings in the published SendKeys syntax, queued for the focused window.
class Keystrokes {
 public:
  virtual ~Keystrokes() = default;
  virtual bool send_keys(const std::string& keys, bool wait) = 0;
};

}  // namespace padwire
