// The set-1 scan codes of a US keyboard, as MapVirtualKey translates them (types 0 and 1).
#pragma once

#include <cstdint>

namespace padwire {

// The scan code of a virtual key (MapVirtualKey type 0): the low byte only, so the arrow keys
// give the keypad's codes and the right-hand Ctrl and Alt the left-hand ones; 0 for none.
int us_scan_code(int vk);

// The virtual key of a scan code (MapVirtualKey type 1): Shift, Ctrl and Alt without their side,
// the keypad's codes as the navigation keys they are without Num Lock; 0 for none.
int us_virtual_key(int scan);
// MapVirtualKey on a US layout: type 0 virtual key -> scan code, type 1 scan code -> virtual
// key; 0 for no mapping and for the other types.
std::uint32_t us_map_virtual_key(std::uint32_t code, std::uint32_t map_type);
// Whether the virtual key's scan code carries the E0 prefix (the navigation block, the arrows,
// the keypad's divide, the right-hand Ctrl and Alt): without it, the code is a keypad key's or
// the left-hand modifier's.
bool us_extended_key(int vk);

}  // namespace padwire
