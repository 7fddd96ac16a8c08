// Pads that DirectInput reads as a plain joystick, but whose controls are known by their
// number: PlayStation 4 and 5 controllers and the Switch Pro controller, recognised by their
// USB vendor and product id. With these facts such a pad is read as a standard pad.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/controller.h"

namespace padwire::win32 {

// One family's order of controls under DirectInput (as the public SDL game controller
// database records it for Windows). Buttons by their number in the state record, -1 for a
// control the pad lacks; axes by their place among the axes the device has, counted in the
// record's order; the D-pad is hat 0.
struct KnownPadLayout {
  // Indexed by StandardPad::Button, up to the stick clicks; the D-pad comes from the hat.
  std::array<std::int8_t, StandardPad::dpad_up> buttons;
  // Left x, left y, right x, right y, left trigger, right trigger (-1: a trigger that is a
  // button, given in trigger_buttons).
  std::array<std::int8_t, 6> axes;
  std::array<std::int8_t, 2> trigger_buttons;
};

// The layout of a pad with this vendor and product id; null when it is not known.
const KnownPadLayout* find_known_pad(std::uint16_t vendor, std::uint16_t product);

// The axes of the record, lX to rglSlider[1], as numbers 0 to 7.
int record_axis_of_offset(std::uint32_t offset);

// The standard pad that `record` holds, for a pad of `layout` whose axes are `axes` (record
// axes 0 to 7, in the record's order; empty: all six of lX to lRz).
StandardPad standard_pad_from_record(const JoyState2& record, const KnownPadLayout& layout,
                                     const std::vector<int>& axes);

}  // namespace padwire::win32
