// The Keyboard and Keystrokes services over a key sink (a uinput device or XTest): keybd_event's
// meaning and the key-state sources.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/common/keyboard_state_table.h"
#include "platform/keyboard.h"
#include "platform/linux/linux_key_layout.h"

namespace padwire::lin {

// Where key events go.
class KeyOutput {
 public:
  virtual ~KeyOutput() = default;
  // The key of a virtual key outside the typing block (the same on every layout); a key-down of
  // Shift, Ctrl or Alt holds the modifier until its key-up.
  virtual void send_vk(std::uint8_t vk, bool down) = 0;
  // A key by its Linux key code; its key-down has the modifiers it names pressed just before it
  // and released just after it, so that they hold for that key alone.
  virtual void send_key(const LayoutKey& key, bool down) = 0;
};

struct KeyboardParts {
  std::shared_ptr<KeyOutput> output;  // never null
  // The keyboard layout the typing block's keys are found in; null: a US keyboard's.
  std::shared_ptr<KeyLayout> layout;
  // Whether the key with this Linux key code is held now; empty: nothing is ever held.
  std::function<bool(int linux_key)> key_held;
  // The Scroll Lock light, where there is one to mirror the Scroll Lock toggle: read (nothing
  // when it cannot be read) and written.
  std::function<std::optional<bool>()> read_scroll_lock;
  std::function<void(bool)> write_scroll_lock;
  // Optional: true when the key with this Linux key code is surely up, so key_held need not ask.
  std::function<bool(int linux_key)> surely_up;
  // Runs before every key event (see Win32Keyboard: puts the game back in front).
  std::function<void()> before_key;
};

class LinuxKeyboard final : public Keyboard {
 public:
  explicit LinuxKeyboard(KeyboardParts parts);

  // keybd_event: a scan code that names a key sends the key at that position (with the E0
  // prefix when the extended flag is given or the virtual key is one of the extended set, such
  // as the arrows, which thus never become the keypad's); otherwise the virtual key's own key
  // goes. A key-up releases the key its key-down pressed, whatever changed in between.
  void key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                 std::uintptr_t extra_info) override;
  std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type) override;
  std::int16_t async_key_state(int vk) override;
  // The table the program last wrote; the Scroll Lock toggle (entry 0x91, low bit) is the
  // light's where there is one.
  bool get_keyboard_state(KeyboardState& state) override;
  bool set_keyboard_state(const KeyboardState& state) override;

  // One key of a keystroke string, without the before-key hook.
  void stroke(std::uint8_t vk, bool down);

 private:
  void send(std::uint8_t vk, const LayoutKey& key, bool down);

  KeyboardParts parts_;
  KeyboardStateTable state_;
  std::array<int, 256> pressed_{};  // by virtual key: the Linux key its key-down pressed
};

// Keystroke strings, parsed by the portable parser and typed through the keyboard, which must
// outlive this object.
class LinuxKeystrokes final : public Keystrokes {
 public:
  explicit LinuxKeystrokes(LinuxKeyboard& keyboard) : keyboard_(keyboard) {}
  // A string that does not parse sends nothing and fails; the keys go out at once, so `wait`
  // has nothing to wait for.
  bool send_keys(const std::string& keys, bool wait) override;

 private:
  LinuxKeyboard& keyboard_;
};

}  // namespace padwire::lin
