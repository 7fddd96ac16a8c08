// Key synthesis: every key event the pad produces goes through PressKey and ReleaseKey.
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
  send_key(platform_, mnuDOSApplication_.checked, keyCode, 0);
}

void PadEngine::ReleaseKey(const std::uint8_t& keyCode) {
  send_key(platform_, mnuDOSApplication_.checked, keyCode, kKeyEventKeyUp);
}

void PadEngine::TapKey(const std::uint8_t& keyCode) {
  PressKey(keyCode);
  ReleaseKey(keyCode);
}

}  // namespace padwire
