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

// MapVirtualKey on a US layout: type 0 virtual key -> scan code, type 1 scan code -> virtual
// key; 0 for no mapping and for the other types.
std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type);

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

// The button changes a mouse_event carries, in the order Windows applies them, as Linux button
// codes (BTN_LEFT, BTN_RIGHT, BTN_MIDDLE).
struct ButtonChange {
  int button = 0;
  bool down = false;
  friend bool operator==(const ButtonChange&, const ButtonChange&) = default;
};
std::vector<ButtonChange> mouse_event_buttons(std::uint32_t flags);

// MOUSEEVENTF_MOVE: dx and dy move the pointer relatively.
inline constexpr std::uint32_t kMouseMove = 1;

}  // namespace padwire::lin
