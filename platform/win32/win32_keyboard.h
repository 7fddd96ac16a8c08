// Synthetic keyboard and mouse input, and the key-state tables, through user32.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/common/sendkeys.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"

namespace padwire::win32 {

class WatchedKeys;

class Win32Keyboard final : public Keyboard {
 public:
  // `before_key` runs before every key event: the keys go to the window in front, and the
  // composition root uses it to put the game back there after a tray menu choice. Key states
  // that `watched` knows are taken from it instead of the system.
  explicit Win32Keyboard(std::function<void()> before_key = {},
                         const WatchedKeys* watched = nullptr)
      : before_key_(std::move(before_key)), watched_(watched) {}

  // keybd_event with exactly the caller's arguments: the engine chooses scan codes and flags.
  void key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                 std::uintptr_t extra_info) override;
  std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type) override;
  std::int16_t async_key_state(int vk) override;
  // The thread's own keyboard state (the Scroll Lock light follows its toggle bit).
  bool get_keyboard_state(KeyboardState& state) override;
  bool set_keyboard_state(const KeyboardState& state) override;

 private:
  std::function<void()> before_key_;
  const WatchedKeys* watched_;
};

// Keystroke strings go out through SendInput as virtual keys: Alt combinations then arrive as
// system keys, as typing them would. (Scan-code and Unicode input do not behave the same on
// every system.)
class Win32Keystrokes final : public Keystrokes {
 public:
  // A string that does not parse sends nothing and fails; `wait` cannot be honoured for
  // another process's queue and is ignored.
  bool send_keys(const std::string& keys, bool wait) override;
};

class Win32Mouse final : public Mouse {
 public:
  bool get_cursor_pos(Point& position) override;
  bool set_cursor_pos(std::int32_t x, std::int32_t y) override;
  void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                   std::uintptr_t extra_info) override;
};

}  // namespace padwire::win32
