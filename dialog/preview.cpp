// The live controller preview: every 10 ms the dialog reads the pad through its own device and
// turns the first new press it finds into a capture request for that pad button.

#include "dialog/form_joy_config.h"

namespace padwire {

namespace {
constexpr int kLeft = 0, kRight = 1, kUp = 2, kDown = 3;
}  // namespace

void FormJoyConfig::Timer1_Timer() {
  if (!loaded_ || !Timer1.Enabled) return;
  // Without a device there is nothing to read. A failed read leaves the last state, and the
  // device is acquired again, once a failing tick.
  if (!PadDevice.device()) return;
  PadDevice.read(PadState);
  // Until the device has delivered a state the record is no reading (all zero would be Left
  // held), so the preview stays idle.
  if (!PadDevice.has_reading()) return;

  // Examined in a fixed order, at most one new press a tick: the x axis, then the y axis only
  // with x centred, then the buttons only with both centred. A press is marked as seen even
  // when a waiting capture drops the request, so it has to be released and pressed again.
  // The directions are decoded as the poll cycle decodes them, with the main form's options.
  const Stick stick = decode_directions(PadState, PadDevice.direction_options(direction_options));
  const std::int32_t x = stick.x;
  const std::int32_t y = stick.y;
  if (x < kAxisCentre) {
    if (!DirectionDown[kLeft]) {
      DirectionDown[kLeft] = true;
      // With the Wingman patch, x = 0 together with y = 0 marks Left as held but picks nothing.
      if (!PadDevice.logitech_patch(LogitechPatch) || y != 0) btnJoy_Click(kPadLeft);
    }
    return;
  }
  if (x > kAxisCentre) {
    if (!DirectionDown[kRight]) {
      DirectionDown[kRight] = true;
      btnJoy_Click(kPadRight);
    }
    return;
  }
  DirectionDown[kLeft] = false;
  DirectionDown[kRight] = false;

  if (y < kAxisCentre) {
    if (!DirectionDown[kUp]) {
      DirectionDown[kUp] = true;
      btnJoy_Click(kPadUp);
    }
    return;
  }
  if (y > kAxisCentre) {
    if (!DirectionDown[kDown]) {
      DirectionDown[kDown] = true;
      btnJoy_Click(kPadDown);
    }
    return;
  }
  DirectionDown[kUp] = false;
  DirectionDown[kDown] = false;

  // Controller buttons 13 and up have no edge memory: they are not examined.
  const int last = last_tracked_button(LastButtonIndex);
  for (int button = 0; button <= last; ++button) {
    const auto b = static_cast<std::size_t>(button);
    if (PadState.rgbButtons[b] != 0) {
      if (ButtonDown[b]) continue;
      ButtonDown[b] = true;
      btnJoy_Click(pad_button_of_controller_button(button));
      return;
    }
    ButtonDown[b] = false;
  }
}

}  // namespace padwire
