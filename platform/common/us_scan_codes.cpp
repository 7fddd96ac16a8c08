// The virtual-key to set-1 scan code table of a US keyboard, and its inverse.
#include "platform/common/us_scan_codes.h"

#include <array>

namespace padwire {

namespace {

constexpr std::array<std::uint8_t, 256> make_table() {
  std::array<std::uint8_t, 256> t{};
  t[8] = 0x0E;   // Backspace
  t[9] = 0x0F;   // Tab
  t[12] = 0x4C;  // Clear (keypad 5 without Num Lock)
  t[13] = 0x1C;  // Enter
  t[16] = 0x2A;  // Shift
  t[17] = 0x1D;  // Ctrl
  t[18] = 0x38;  // Alt
  t[19] = 0x45;  // Pause
  t[20] = 0x3A;  // Caps Lock
  t[27] = 0x01;  // Escape
  t[32] = 0x39;  // Space
  t[33] = 0x49;  // Page Up
  t[34] = 0x51;  // Page Down
  t[35] = 0x4F;  // End
  t[36] = 0x47;  // Home
  t[37] = 0x4B;  // Left
  t[38] = 0x48;  // Up
  t[39] = 0x4D;  // Right
  t[40] = 0x50;  // Down
  t[44] = 0x54;  // Print Screen
  t[45] = 0x52;  // Insert
  t[46] = 0x53;  // Delete
  t['0'] = 0x0B;
  for (int d = 1; d <= 9; ++d) t['0' + d] = static_cast<std::uint8_t>(0x01 + d);
  const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const std::uint8_t starts[] = {0x10, 0x1E, 0x2C};
  for (int r = 0; r < 3; ++r) {
    for (int i = 0; rows[r][i] != '\0'; ++i) {
      t[static_cast<unsigned char>(rows[r][i])] = static_cast<std::uint8_t>(starts[r] + i);
    }
  }
  t[0x5B] = 0x5B;  // left Windows key
  t[0x5C] = 0x5C;  // right Windows key
  t[0x5D] = 0x5D;  // Apps
  t[0x5F] = 0x5F;  // Sleep
  const std::uint8_t keypad[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
  for (int d = 0; d <= 9; ++d) t[96 + d] = keypad[d];
  t[106] = 0x37;  // keypad *
  t[107] = 0x4E;  // keypad +
  t[109] = 0x4A;  // keypad -
  t[110] = 0x53;  // keypad .
  t[111] = 0x35;  // keypad /
  for (int f = 0; f < 10; ++f) t[112 + f] = static_cast<std::uint8_t>(0x3B + f);
  t[122] = 0x57;                                                                  // F11
  t[123] = 0x58;                                                                  // F12
  for (int f = 0; f < 11; ++f) t[124 + f] = static_cast<std::uint8_t>(0x64 + f);  // F13-F23
  t[135] = 0x76;                                                                  // F24
  t[144] = 0x45;                                                                  // Num Lock
  t[145] = 0x46;                                                                  // Scroll Lock
  t[160] = 0x2A;
  t[161] = 0x36;
  t[162] = 0x1D;
  t[163] = 0x1D;
  t[164] = 0x38;
  t[165] = 0x38;
  // Browser and media keys (sent with the E0 prefix).
  const std::uint8_t media[] = {0x6A, 0x69, 0x67, 0x68, 0x65, 0x66, 0x32, 0x20, 0x2E,
                                0x30, 0x19, 0x10, 0x24, 0x22, 0x6C, 0x6D, 0x6B, 0x21};
  for (int i = 0; i < 18; ++i) t[0xA6 + i] = media[i];
  t[186] = 0x27;  // ;
  t[187] = 0x0D;  // =
  t[188] = 0x33;  // ,
  t[189] = 0x0C;  // -
  t[190] = 0x34;  // .
  t[191] = 0x35;  // /
  t[192] = 0x29;  // `
  t[219] = 0x1A;  // [
  t[220] = 0x2B;  // backslash
  t[221] = 0x1B;  // ]
  t[222] = 0x28;  // '
  t[226] = 0x56;  // the key between left Shift and Z on 102-key keyboards
  return t;
}

constexpr auto kTable = make_table();

// Virtual keys that type 1 never gives: the keypad's Num Lock meanings (its codes stand for the
// navigation keys), the keypad's divide (E0 35; plain 35 is the slash key), Pause (its code is
// the one of Num Lock), and the side-specific modifiers.
constexpr bool only_by_type_0(int vk) {
  return (vk >= 96 && vk <= 105) || vk == 110 || vk == 111 || vk == 19 || (vk >= 160 && vk <= 165);
}

constexpr std::array<std::uint8_t, 256> make_inverse() {
  std::array<std::uint8_t, 256> inverse{};
  for (int vk = 255; vk > 0; --vk) {  // downwards, so the lowest virtual key wins
    if (kTable[static_cast<std::size_t>(vk)] != 0 && !only_by_type_0(vk)) {
      inverse[kTable[static_cast<std::size_t>(vk)]] = static_cast<std::uint8_t>(vk);
    }
  }
  inverse[0x36] = 16;  // right Shift: Shift
  return inverse;
}

constexpr auto kInverse = make_inverse();

}  // namespace

int us_scan_code(int vk) {
  return vk >= 0 && vk < 256 ? kTable[static_cast<std::size_t>(vk)] : 0;
}

int us_virtual_key(int scan) {
  return scan >= 0 && scan < 256 ? kInverse[static_cast<std::size_t>(scan)] : 0;
}

bool us_extended_key(int vk) {
  return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E || vk == 0x6F || vk == 0xA3 ||
         vk == 0xA5;
}

std::uint32_t us_map_virtual_key(std::uint32_t code, std::uint32_t map_type) {
  if (code > 255) return 0;
  const auto value = static_cast<int>(code);
  if (map_type == 0) return static_cast<std::uint32_t>(us_scan_code(value));
  if (map_type == 1) return static_cast<std::uint32_t>(us_virtual_key(value));
  return 0;
}

}  // namespace padwire
