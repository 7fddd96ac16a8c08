#include "engine/standard_layout.h"

#include "engine/pad_buttons.h"
#include "engine/pad_reader.h"

namespace padwire {

namespace {

constexpr std::uint8_t kHeld = 128;
constexpr std::int32_t kAxisMax = 65535;
constexpr std::uint32_t kPovCentred = 0xFFFFFFFF;

// One axis from a pair of opposite D-pad buttons; both or neither held reads centred.
std::int32_t dpad_axis(bool low, bool high) {
  if (low == high) return kAxisCentre;
  return low ? 0 : kAxisMax;
}

}  // namespace

bool StandardLayout::trigger_held(int index, std::int32_t travel) {
  bool& held = triggers_held_[static_cast<std::size_t>(index)];
  if (travel > kTriggerHeldAbove) held = true;
  if (travel < kTriggerFreeBelow) held = false;
  return held;
}

JoyState2 StandardLayout::map(const StandardPad& pad) {
  using B = StandardPad;
  JoyState2 record;
  const bool buttons[kStandardButtonCount] = {pad.held(B::west),
                                              pad.held(B::south),
                                              pad.held(B::east),
                                              trigger_held(0, pad.left_trigger),
                                              trigger_held(1, pad.right_trigger),
                                              pad.held(B::north),
                                              pad.held(B::left_shoulder),
                                              pad.held(B::right_shoulder),
                                              pad.held(B::start),
                                              pad.held(B::back)};
  static_assert(kButtonA == 0 && kButtonM == kStandardButtonCount - 1);
  for (int i = 0; i < kStandardButtonCount; ++i) record.rgbButtons[i] = buttons[i] ? kHeld : 0;

  const bool dpad_rests = !pad.held(B::dpad_up) && !pad.held(B::dpad_down) &&
                          !pad.held(B::dpad_left) && !pad.held(B::dpad_right);
  if (dpad_rests) {
    JoyState2 stick;
    stick.lX = pad.left_x;
    stick.lY = pad.left_y;
    const Stick directions = decode_directions(stick, {.dead_zone = true, .hat = false});
    record.lX = directions.x;
    record.lY = directions.y;
  } else {
    record.lX = dpad_axis(pad.held(B::dpad_left), pad.held(B::dpad_right));
    record.lY = dpad_axis(pad.held(B::dpad_up), pad.held(B::dpad_down));
  }
  for (std::uint32_t& pov : record.rgdwPOV) pov = kPovCentred;
  return record;
}

}  // namespace padwire
