#include "platform/win32/win32_known_pads.h"

#include <cstddef>

namespace padwire::win32 {

namespace {

// Buttons in the order south, east, west, north, left and right shoulder, back, start, guide,
// left and right stick click.
constexpr KnownPadLayout kPlayStation{
    {1, 2, 0, 3, 4, 5, 8, 9, 12, 10, 11},  // cross, circle, square, triangle, L1, R1, ...
    {0, 1, 2, 5, 3, 4},                    // right stick x on Z, y on Rz; L2 on Rx, R2 on Ry
    {-1, -1}};
constexpr KnownPadLayout kSwitchPro{
    {0, 1, 2, 3, 4, 5, 8, 9, 12, 10, 11},  // B, A, Y, X, L, R, minus, plus, home, ...
    {0, 1, 2, 3, -1, -1},
    {6, 7}};  // ZL and ZR are buttons

struct KnownPad {
  std::uint16_t vendor;
  std::uint16_t product;
  const KnownPadLayout* layout;
};

constexpr std::uint16_t kSony = 0x054C, kNintendo = 0x057E;
constexpr KnownPad kKnownPads[] = {
    {kSony, 0x05C4, &kPlayStation},    // DualShock 4
    {kSony, 0x09CC, &kPlayStation},    // DualShock 4, second model
    {kSony, 0x0CE6, &kPlayStation},    // DualSense
    {kSony, 0x0DF2, &kPlayStation},    // DualSense Edge
    {kNintendo, 0x2009, &kSwitchPro},  // Switch Pro controller
};

constexpr std::int32_t kAxisMax = 65535;
constexpr std::uint32_t kHatEighth = 4500;  // hundredths of a degree, clockwise from up

std::int32_t record_axis(const JoyState2& record, int axis) {
  const std::int32_t values[] = {record.lX,  record.lY,  record.lZ,           record.lRx,
                                 record.lRy, record.lRz, record.rglSlider[0], record.rglSlider[1]};
  return axis >= 0 && axis < 8 ? values[axis] : 0;
}

bool held(const JoyState2& record, int button) {
  return button >= 0 && button < 128 && record.rgbButtons[button] != 0;
}

// The hat's direction as the four D-pad buttons, diagonals holding two. Drivers report
// centred as 0xFFFF in the low word (some only there).
void hat_to_dpad(std::uint32_t pov, StandardPad& pad) {
  if ((pov & 0xFFFFu) == 0xFFFFu || pov >= 8 * kHatEighth) return;
  const std::uint32_t sector = ((pov + kHatEighth / 2) / kHatEighth) % 8;  // 0 up, 2 right, ...
  pad.buttons[StandardPad::dpad_up] = sector == 7 || sector <= 1;
  pad.buttons[StandardPad::dpad_right] = sector >= 1 && sector <= 3;
  pad.buttons[StandardPad::dpad_down] = sector >= 3 && sector <= 5;
  pad.buttons[StandardPad::dpad_left] = sector >= 5 && sector <= 7;
}

}  // namespace

const KnownPadLayout* find_known_pad(std::uint16_t vendor, std::uint16_t product) {
  for (const KnownPad& pad : kKnownPads) {
    if (pad.vendor == vendor && pad.product == product) return pad.layout;
  }
  return nullptr;
}

int record_axis_of_offset(std::uint32_t offset) {
  return offset % 4 == 0 && offset < 32 ? static_cast<int>(offset / 4) : -1;
}

StandardPad standard_pad_from_record(const JoyState2& record, const KnownPadLayout& layout,
                                     const std::vector<int>& axes) {
  static const std::vector<int> kSixAxes{0, 1, 2, 3, 4, 5};
  const std::vector<int>& present = axes.empty() ? kSixAxes : axes;
  // The value of the layout's axis `which`, or `absent` when the device lacks it.
  const auto axis = [&](std::size_t which, std::int32_t absent) {
    const int place = layout.axes[which];
    if (place < 0 || static_cast<std::size_t>(place) >= present.size()) return absent;
    return record_axis(record, present[static_cast<std::size_t>(place)]);
  };
  StandardPad pad;
  for (std::size_t b = 0; b < layout.buttons.size(); ++b) {
    pad.buttons[b] = held(record, layout.buttons[b]);
  }
  hat_to_dpad(record.rgdwPOV[0], pad);
  pad.left_x = axis(0, kAxisCentre);
  pad.left_y = axis(1, kAxisCentre);
  pad.right_x = axis(2, kAxisCentre);
  pad.right_y = axis(3, kAxisCentre);
  pad.left_trigger = held(record, layout.trigger_buttons[0]) ? kAxisMax : axis(4, 0);
  pad.right_trigger = held(record, layout.trigger_buttons[1]) ? kAxisMax : axis(5, 0);
  return pad;
}

}  // namespace padwire::win32
