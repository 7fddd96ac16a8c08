// Key synthesis: every key event the pad produces goes through PressKey and ReleaseKey, which
// count what is down, so that whatever ends the pad's hold (Exit, a controller gone for good)
// can let go of every key and mouse button still down.
#include "engine/pad_engine.h"

namespace padwire {

namespace {

// In MS-DOS mode the event carries the key's hardware scan code, since such programs read
// scan codes rather than virtual keys. The extended-key flag is never set.
void send_key(Platform& platform, bool dos_mode, std::uint8_t code, std::uint32_t flags) {
  std::uint8_t scan = 0;
  if (dos_mode) {
    const auto mapped = static_cast<std::uint16_t>(platform.keyboard.map_virtual_key(code, 0));
    scan = static_cast<std::uint8_t>(mapped & 0xFF);
  }
  platform.keyboard.key_event(code, scan, flags, 0);
}

}  // namespace

void PadEngine::PressKey(const std::uint8_t& keyCode) {
  ++presses_[keyCode];
  send_key(platform_, mnuDOSApplication_.checked, keyCode, 0);
}

void PadEngine::ReleaseKey(const std::uint8_t& keyCode) {
  if (presses_[keyCode] > 0) --presses_[keyCode];
  send_key(platform_, mnuDOSApplication_.checked, keyCode, kKeyEventKeyUp);
}

void PadEngine::press_pad_key(int source, const std::uint8_t& keyCode) {
  source_key_[static_cast<std::size_t>(source)] = keyCode;
  PressKey(keyCode);
}

void PadEngine::release_pad_key(int source, const std::uint8_t& keyCode) {
  auto& sent = source_key_[static_cast<std::size_t>(source)];
  auto& kept = kept_key_[static_cast<std::size_t>(source)];
  const std::optional<std::uint8_t> went_down = sent;
  const std::optional<std::uint8_t> held = kept;
  sent.reset();
  kept.reset();
  ReleaseKey(keyCode);
  // The key set changed while the pad button was held: the key that went down comes up too.
  if (went_down && *went_down != keyCode) ReleaseKey(*went_down);
  // So does the key the key hold kept down at this source's last release, also when the key
  // set has changed since.
  if (held && *held != keyCode && held != went_down) ReleaseKey(*held);
}

void PadEngine::withhold_pad_key(int source, const std::uint8_t& keyCode) {
  auto& sent = source_key_[static_cast<std::size_t>(source)];
  auto& kept = kept_key_[static_cast<std::size_t>(source)];
  const std::uint8_t key = sent.value_or(keyCode);
  sent.reset();
  // This is the next release for a key an earlier hold kept down: that one goes up now.
  if (kept && *kept != key) ReleaseKey(*kept);
  kept = key;
}

void PadEngine::release_all() {
  // One key-up lets go of a key however many presses it had.
  for (std::size_t vk = 0; vk < presses_.size(); ++vk) {
    if (presses_[vk] == 0) continue;
    const auto code = static_cast<std::uint8_t>(vk);
    send_key(platform_, mnuDOSApplication_.checked, code, kKeyEventKeyUp);
    presses_[vk] = 0;
  }
  source_key_.fill(std::nullopt);
  kept_key_.fill(std::nullopt);
  for (int button = 0; button < 2; ++button) {
    if (MouseButtonDown[static_cast<std::size_t>(button)]) mouse_button(button, false);
  }
}

void PadEngine::TapKey(const std::uint8_t& keyCode) {
  PressKey(keyCode);
  ReleaseKey(keyCode);
}

}  // namespace padwire
