#include "platform/linux/linux_keyboard.h"

#include "platform/common/sendkeys.h"
#include "platform/common/us_scan_codes.h"
#include "platform/linux/linux_key_codes.h"

namespace padwire::lin {

namespace {}  // namespace

LinuxKeyboard::LinuxKeyboard(KeyboardParts parts)
    : parts_(std::move(parts)), state_({parts_.read_scroll_lock, parts_.write_scroll_lock}) {}

void LinuxKeyboard::key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                              std::uintptr_t /*extra_info*/) {
  if (parts_.before_key) parts_.before_key();
  const bool down = (flags & kKeyEventKeyUp) == 0;
  const bool extended = (flags & kKeyEventExtended) != 0 || us_extended_key(vk);
  const int position = scan != 0 ? linux_key_for_scan(scan, extended) : 0;
  if (position != 0) {
    send(vk, LayoutKey{position}, down);
  } else {
    stroke(vk, down);
  }
}

void LinuxKeyboard::stroke(std::uint8_t vk, bool down) {
  std::optional<LayoutKey> key;
  if (parts_.layout) key = parts_.layout->key_for(vk);
  if (key || (!down && pressed_[vk] != 0)) {
    send(vk, key.value_or(LayoutKey{}), down);
  } else {
    parts_.output->send_vk(vk, down);
  }
}

void LinuxKeyboard::send(std::uint8_t vk, const LayoutKey& key, bool down) {
  if (down) {
    pressed_[vk] = key.key;
    parts_.output->send_key(key, true);
  } else {
    const int pressed = pressed_[vk] != 0 ? pressed_[vk] : key.key;
    pressed_[vk] = 0;
    if (pressed != 0) parts_.output->send_key(LayoutKey{pressed}, false);
  }
}

std::uint32_t LinuxKeyboard::map_virtual_key(std::uint32_t code, std::uint32_t map_type) {
  if (parts_.layout) return parts_.layout->map_virtual_key(code, map_type);
  return us_map_virtual_key(code, map_type);
}

std::int16_t LinuxKeyboard::async_key_state(int vk) {
  if (vk < 0 || vk > 255 || !parts_.key_held) return 0;
  for (int key : linux_keys_held_as(static_cast<std::uint8_t>(vk))) {
    if (key == 0 || (parts_.surely_up && parts_.surely_up(key))) continue;
    if (parts_.key_held(key)) return std::int16_t{-32768};
  }
  return 0;
}

bool LinuxKeyboard::get_keyboard_state(KeyboardState& state) {
  state_.get(state);
  return true;
}

bool LinuxKeyboard::set_keyboard_state(const KeyboardState& state) {
  state_.set(state);
  return true;
}

bool LinuxKeystrokes::send_keys(const std::string& keys, bool /*wait*/) {
  const SendKeysResult parsed = parse_sendkeys(keys);
  if (!parsed.ok()) return false;
  for (const KeyStroke& stroke : parsed.strokes) keyboard_.stroke(stroke.vk, !stroke.key_up);
  return true;
}

}  // namespace padwire::lin
