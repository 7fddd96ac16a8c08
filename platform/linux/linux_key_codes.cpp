#include "platform/linux/linux_key_codes.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <span>

#include "platform/common/us_scan_codes.h"

namespace padwire::lin {

namespace {

struct VkRow {
  std::uint8_t vk;
  int key;              // KEY_*
  std::uint32_t sym;    // X keysym
  bool second = false;  // the keysym is on its key's second level
};

// Keys not in a run (letters, digits, function keys are added below). X keysyms from
// X11/keysymdef.h and X11/XF86keysym.h.
constexpr VkRow kRows[] = {
    {0x08, KEY_BACKSPACE, 0xFF08},
    {0x09, KEY_TAB, 0xFF09},
    {0x0C, KEY_KP5, 0xFF9D},  // Clear: keypad 5 without Num Lock (KP_Begin)
    {0x0D, KEY_ENTER, 0xFF0D},
    {0x10, KEY_LEFTSHIFT, 0xFFE1},
    {0x11, KEY_LEFTCTRL, 0xFFE3},
    {0x12, KEY_LEFTALT, 0xFFE9},
    {0x13, KEY_PAUSE, 0xFF13},
    {0x14, KEY_CAPSLOCK, 0xFFE5},
    {0x1B, KEY_ESC, 0xFF1B},
    {0x20, KEY_SPACE, 0x0020},
    {0x21, KEY_PAGEUP, 0xFF55},
    {0x22, KEY_PAGEDOWN, 0xFF56},
    {0x23, KEY_END, 0xFF57},
    {0x24, KEY_HOME, 0xFF50},
    {0x25, KEY_LEFT, 0xFF51},
    {0x26, KEY_UP, 0xFF52},
    {0x27, KEY_RIGHT, 0xFF53},
    {0x28, KEY_DOWN, 0xFF54},
    {0x29, KEY_SELECT, 0xFF60},
    {0x2B, 0, 0xFF62},          // Execute
    {0x2C, KEY_SYSRQ, 0xFF61},  // Print Screen
    {0x2D, KEY_INSERT, 0xFF63},
    {0x2E, KEY_DELETE, 0xFFFF},
    {0x2F, KEY_HELP, 0xFF6A},
    {0x5B, KEY_LEFTMETA, 0xFFEB},
    {0x5C, KEY_RIGHTMETA, 0xFFEC},
    {0x5D, KEY_COMPOSE, 0xFF67},  // Apps: the menu key
    {0x5F, KEY_SLEEP, 0x1008FF2F},
    {0x60, KEY_KP0, 0xFFB0, true},
    {0x61, KEY_KP1, 0xFFB1, true},
    {0x62, KEY_KP2, 0xFFB2, true},
    {0x63, KEY_KP3, 0xFFB3, true},
    {0x64, KEY_KP4, 0xFFB4, true},
    {0x65, KEY_KP5, 0xFFB5, true},
    {0x66, KEY_KP6, 0xFFB6, true},
    {0x67, KEY_KP7, 0xFFB7, true},
    {0x68, KEY_KP8, 0xFFB8, true},
    {0x69, KEY_KP9, 0xFFB9, true},
    {0x6A, KEY_KPASTERISK, 0xFFAA},
    {0x6B, KEY_KPPLUS, 0xFFAB},
    {0x6C, KEY_KPCOMMA, 0xFFAC},  // Separator
    {0x6D, KEY_KPMINUS, 0xFFAD},
    {0x6E, KEY_KPDOT, 0xFFAE, true},
    {0x6F, KEY_KPSLASH, 0xFFAF},
    {0x90, KEY_NUMLOCK, 0xFF7F},
    {0x91, KEY_SCROLLLOCK, 0xFF14},
    {0xA0, KEY_LEFTSHIFT, 0xFFE1},
    {0xA1, KEY_RIGHTSHIFT, 0xFFE2},
    {0xA2, KEY_LEFTCTRL, 0xFFE3},
    {0xA3, KEY_RIGHTCTRL, 0xFFE4},
    {0xA4, KEY_LEFTALT, 0xFFE9},
    {0xA5, KEY_RIGHTALT, 0xFFEA},
    {0xA6, KEY_BACK, 0x1008FF26},
    {0xA7, KEY_FORWARD, 0x1008FF27},
    {0xA8, KEY_REFRESH, 0x1008FF29},
    {0xA9, KEY_STOP, 0x1008FF28},
    {0xAA, KEY_SEARCH, 0x1008FF1B},
    {0xAB, KEY_BOOKMARKS, 0x1008FF30},  // Favorites
    {0xAC, KEY_HOMEPAGE, 0x1008FF18},
    {0xAD, KEY_MUTE, 0x1008FF12},
    {0xAE, KEY_VOLUMEDOWN, 0x1008FF11},
    {0xAF, KEY_VOLUMEUP, 0x1008FF13},
    {0xB0, KEY_NEXTSONG, 0x1008FF17},
    {0xB1, KEY_PREVIOUSSONG, 0x1008FF16},
    {0xB2, KEY_STOPCD, 0x1008FF15},
    {0xB3, KEY_PLAYPAUSE, 0x1008FF14},
    {0xB4, KEY_MAIL, 0x1008FF19},
    {0xB5, KEY_MEDIA, 0x1008FF32},
    {0xB6, KEY_COMPUTER, 0x1008FF33},  // first application key
    {0xB7, KEY_CALC, 0x1008FF1D},      // second application key
    {0xBA, KEY_SEMICOLON, ';'},
    {0xBB, KEY_EQUAL, '='},
    {0xBC, KEY_COMMA, ','},
    {0xBD, KEY_MINUS, '-'},
    {0xBE, KEY_DOT, '.'},
    {0xBF, KEY_SLASH, '/'},
    {0xC0, KEY_GRAVE, '`'},
    {0xDB, KEY_LEFTBRACE, '['},
    {0xDC, KEY_BACKSLASH, '\\'},
    {0xDD, KEY_RIGHTBRACE, ']'},
    {0xDE, KEY_APOSTROPHE, '\''},
    {0xE2, KEY_102ND, '<'},
};

struct VkTable {
  std::array<int, 256> key{};
  std::array<XKeysym, 256> sym{};
};

constexpr VkTable make_vk_table() {
  VkTable t;
  for (const VkRow& row : kRows) {
    t.key[row.vk] = row.key;
    t.sym[row.vk] = {row.sym, row.second};
  }
  constexpr int kLetterKeys[26] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                                   KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                                   KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
  for (int i = 0; i < 26; ++i) {
    t.key['A' + i] = kLetterKeys[i];
    t.sym['A' + i] = {static_cast<std::uint32_t>('a' + i), false};
  }
  for (int d = 0; d <= 9; ++d) {
    t.key['0' + d] = d == 0 ? KEY_0 : KEY_1 + d - 1;
    t.sym['0' + d] = {static_cast<std::uint32_t>('0' + d), false};
  }
  constexpr int kFunctionKeys[24] = {KEY_F1,  KEY_F2,  KEY_F3,  KEY_F4,  KEY_F5,  KEY_F6,
                                     KEY_F7,  KEY_F8,  KEY_F9,  KEY_F10, KEY_F11, KEY_F12,
                                     KEY_F13, KEY_F14, KEY_F15, KEY_F16, KEY_F17, KEY_F18,
                                     KEY_F19, KEY_F20, KEY_F21, KEY_F22, KEY_F23, KEY_F24};
  for (int f = 0; f < 24; ++f) {
    t.key[0x70 + f] = kFunctionKeys[f];
    t.sym[0x70 + f] = {0xFFBEu + static_cast<std::uint32_t>(f), false};  // XK_F1 onwards
  }
  return t;
}

constexpr VkTable kVk = make_vk_table();

// Keys with the E0 prefix; every other E0 code is no key.
struct ExtendedRow {
  std::uint8_t scan;
  int key;
};
constexpr ExtendedRow kExtended[] = {
    {0x1C, KEY_KPENTER},  {0x1D, KEY_RIGHTCTRL},  {0x35, KEY_KPSLASH},   {0x37, KEY_SYSRQ},
    {0x38, KEY_RIGHTALT}, {0x45, KEY_NUMLOCK},    {0x46, KEY_PAUSE},     {0x47, KEY_HOME},
    {0x48, KEY_UP},       {0x49, KEY_PAGEUP},     {0x4B, KEY_LEFT},      {0x4D, KEY_RIGHT},
    {0x4F, KEY_END},      {0x50, KEY_DOWN},       {0x51, KEY_PAGEDOWN},  {0x52, KEY_INSERT},
    {0x53, KEY_DELETE},   {0x5B, KEY_LEFTMETA},   {0x5C, KEY_RIGHTMETA}, {0x5D, KEY_COMPOSE},
    {0x5E, KEY_POWER},    {0x5F, KEY_SLEEP},      {0x63, KEY_WAKEUP},    {0x10, KEY_PREVIOUSSONG},
    {0x19, KEY_NEXTSONG}, {0x20, KEY_MUTE},       {0x21, KEY_CALC},      {0x22, KEY_PLAYPAUSE},
    {0x24, KEY_STOPCD},   {0x2E, KEY_VOLUMEDOWN}, {0x30, KEY_VOLUMEUP},  {0x32, KEY_HOMEPAGE},
    {0x65, KEY_SEARCH},   {0x66, KEY_BOOKMARKS},  {0x67, KEY_REFRESH},   {0x68, KEY_STOP},
    {0x69, KEY_FORWARD},  {0x6A, KEY_BACK},       {0x6B, KEY_COMPUTER},  {0x6C, KEY_MAIL},
    {0x6D, KEY_MEDIA},
};

// Plain codes: from Escape (1) to F12 (0x58) the Linux code is the scan code itself, except for
// the unused 0x54 (Alt+Print Screen, SysRq) and 0x55.
int plain_scan_key(std::uint8_t scan) {
  if (scan == 0x54) return KEY_SYSRQ;
  if (scan >= 0x01 && scan <= 0x58 && scan != 0x55) return scan;
  if (scan >= 0x5B && scan <= 0x5D) return KEY_LEFTMETA + (scan - 0x5B);  // no E0 on some boards
  if (scan >= 0x64 && scan <= 0x6E) return KEY_F13 + (scan - 0x64);
  if (scan == 0x76) return KEY_F24;
  return 0;
}

}  // namespace

int linux_key_for_vk(std::uint8_t vk) {
  return kVk.key[vk];
}

int linux_key_for_scan(std::uint8_t scan, bool extended) {
  if (!extended) return plain_scan_key(scan);
  for (const ExtendedRow& row : kExtended) {
    if (row.scan == scan) return row.key;
  }
  return 0;
}

std::optional<XKeysym> x_keysym_for_vk(std::uint8_t vk) {
  if (kVk.sym[vk].keysym == 0) return std::nullopt;
  return kVk.sym[vk];
}

std::vector<int> linux_keys_in_tables() {
  std::vector<int> keys;
  for (int key : kVk.key) {
    if (key != 0) keys.push_back(key);
  }
  for (int extended = 0; extended < 2; ++extended) {
    for (int scan = 0; scan < 256; ++scan) {
      const int key = linux_key_for_scan(static_cast<std::uint8_t>(scan), extended != 0);
      if (key != 0) keys.push_back(key);
    }
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

std::array<int, 2> linux_keys_held_as(std::uint8_t vk) {
  switch (vk) {
    case 0x10:
      return {KEY_LEFTSHIFT, KEY_RIGHTSHIFT};
    case 0x11:
      return {KEY_LEFTCTRL, KEY_RIGHTCTRL};
    case 0x12:
      return {KEY_LEFTALT, KEY_RIGHTALT};
    default:
      return {kVk.key[vk], 0};
  }
}

}  // namespace padwire::lin
