// The key codes the pad produces: one Windows virtual-key code per pad button, as the active
// profile or key set assigned them, and the Escape key the M + A combination taps.
#pragma once

#include <array>
#include <cstdint>

#include "engine/pad_buttons.h"

namespace padwire {

struct KeyCodes {
  std::uint8_t JoyLeft = 0;
  std::uint8_t JoyDown = 0;
  std::uint8_t JoyRight = 0;
  std::uint8_t JoyUp = 0;
  std::uint8_t JoyButtonA = 0;
  std::uint8_t JoyButtonB = 0;
  std::uint8_t JoyButtonC = 0;
  std::uint8_t JoyButtonZ = 0;
  std::uint8_t JoyTriggerL = 0;
  std::uint8_t JoyButtonX = 0;
  std::uint8_t JoyTriggerR = 0;
  std::uint8_t JoyButtonY = 0;
  std::uint8_t JoySelect = 0;
  std::uint8_t JoyStart = 0;
  std::uint8_t KeyDefEscape = 0;
};

// The key-code variable of each pad-button index.
inline constexpr std::array<std::uint8_t KeyCodes::*, kPadButtonCount> kPadButtonVariable = {
    &KeyCodes::JoyButtonX,  &KeyCodes::JoyButtonY, &KeyCodes::JoyButtonZ, &KeyCodes::JoyButtonA,
    &KeyCodes::JoyButtonB,  &KeyCodes::JoyButtonC, &KeyCodes::JoyUp,      &KeyCodes::JoyDown,
    &KeyCodes::JoyLeft,     &KeyCodes::JoyRight,   &KeyCodes::JoyStart,   &KeyCodes::JoyTriggerL,
    &KeyCodes::JoyTriggerR, &KeyCodes::JoySelect,
};

inline std::uint8_t& pad_key(KeyCodes& keys, int index) {
  return keys.*kPadButtonVariable[index];
}
inline const std::uint8_t& pad_key(const KeyCodes& keys, int index) {
  return keys.*kPadButtonVariable[index];
}

}  // namespace padwire
