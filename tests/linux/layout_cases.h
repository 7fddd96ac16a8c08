// What a virtual key types on the layouts the tests know, the same through every key sink:
// letters and digits by their character, the other keys of the typing block by the place their
// code stands for in that layout.
#pragma once

#include <linux/input-event-codes.h>

#include <cstdint>

namespace padwire::lin::test {

struct LayoutCase {
  const char* layout;  // an XKB layout name
  std::uint8_t vk;
  int key;               // the Linux key pressed
  bool shift;            // with Shift around it
  unsigned long keysym;  // what an X client reads from it
};

inline constexpr unsigned long kDeadCircumflex = 0xFE52, kSsharp = 0xDF;

inline constexpr LayoutCase kLayoutCases[] = {
    {"us", 'A', KEY_A, false, 'a'},
    {"us", '1', KEY_1, false, '1'},
    {"us", 0xBF, KEY_SLASH, false, '/'},
    {"fr", 'A', KEY_Q, false, 'a'},
    {"fr", 'W', KEY_Z, false, 'w'},
    {"fr", 'M', KEY_SEMICOLON, false, 'm'},
    {"fr", '1', KEY_1, true, '1'},        // Shift reaches AZERTY's digits
    {"fr", 0xBC, KEY_COMMA, false, ';'},  // the key at the US comma's place
    {"fr", 0xBA, KEY_M, false, ','},      // the code the letter M's key freed
    {"fr", 0xDB, KEY_LEFTBRACE, false, kDeadCircumflex},
    {"de", 'Z', KEY_Y, false, 'z'},
    {"de", 'Y', KEY_Z, false, 'y'},
    {"de", '7', KEY_7, false, '7'},
    {"de", 0xBD, KEY_MINUS, false, kSsharp},
    {"de", 0xBF, KEY_SLASH, false, '-'},
    {"de", 0xC0, KEY_GRAVE, false, kDeadCircumflex},
};

}  // namespace padwire::lin::test
