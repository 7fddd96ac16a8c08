// What the Linux sinks need to know about a key: the Windows virtual-key code the core sends,
// turned into a Linux key code (for uinput and evdev), into an X keysym (for XTest), and the
// key at the position of a set-1 scan code (the "MS-DOS" option sends by position).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace padwire::lin {

// The Linux key code (KEY_*) of a virtual key; 0 when Linux has none for it.
int linux_key_for_vk(std::uint8_t vk);

// The Linux key at the position of a set-1 scan code with or without the E0 prefix (the
// extended flag); 0 for a code no key has.
int linux_key_for_scan(std::uint8_t scan, bool extended);

// The X keysym a virtual key types (a plain number: no X header here). `shift` marks a keysym on
// its key's second level, which Shift reaches (and, on the keypad, Num Lock).
struct XKeysym {
  std::uint32_t keysym = 0;
  bool shift = false;
};
std::optional<XKeysym> x_keysym_for_vk(std::uint8_t vk);

// Every Linux key code the virtual-key and scan-code tables give, each once, ascending: what a
// virtual keyboard declares.
std::vector<int> linux_keys_in_tables();

// The keys any of which, held, makes the virtual key count as held: both sides for Shift, Ctrl
// and Alt, else the key's own code; unused entries are 0.
std::array<int, 2> linux_keys_held_as(std::uint8_t vk);

}  // namespace padwire::lin
