// Plain data shared by the core and every back end.
#pragma once

#include <cstdint>
#include <string>

namespace padwire {

// Native window handle as the back end knows it (HWND on Windows); 0 is "no window".
using WindowHandle = std::uintptr_t;

// The joystick state record in the published DirectInput joystick-2 layout (272 bytes).
struct JoyState2 {
  std::int32_t lX = 0, lY = 0, lZ = 0;
  std::int32_t lRx = 0, lRy = 0, lRz = 0;
  std::int32_t rglSlider[2] = {};
  std::uint32_t rgdwPOV[4] = {};
  std::uint8_t rgbButtons[128] = {};
  std::int32_t lVX = 0, lVY = 0, lVZ = 0;
  std::int32_t lVRx = 0, lVRy = 0, lVRz = 0;
  std::int32_t rglVSlider[2] = {};
  std::int32_t lAX = 0, lAY = 0, lAZ = 0;
  std::int32_t lARx = 0, lARy = 0, lARz = 0;
  std::int32_t rglASlider[2] = {};
  std::int32_t lFX = 0, lFY = 0, lFZ = 0;
  std::int32_t lFRx = 0, lFRy = 0, lFRz = 0;
  std::int32_t rglFSlider[2] = {};
  friend bool operator==(const JoyState2&, const JoyState2&) = default;
};
static_assert(sizeof(JoyState2) == 272, "joystick-2 record must keep its published size");

// Axis value of a centred axis in the default 0..65535 range.
inline constexpr std::int32_t kAxisCentre = 32768;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct LocalTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

}  // namespace padwire
