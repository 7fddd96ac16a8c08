// The live controller preview: every 10 ms the dialog reads the pad through its own device and
// turns the first new press it finds into a capture request for that pad button.
#include <algorithm>

#include "dialog/form_joy_config.h"

namespace padwire {

namespace {
constexpr int kLeft = 0, kRight = 1, kUp = 2, kDown = 3;
}  // namespace

void FormJoyConfig::Timer1_Timer() {
  if (!loaded_ || !Timer1.Enabled) return;
  // Without a device there is nothing to read; an all-zero record is not a reading, so the
  // preview stays idle instead of taking it as Left held.
  if (!PadDevice) return;

  const bool polled = PadDevice->poll();
  JoyState2 state;
  const bool read = PadDevice->get_state(state);
  if (read) {
    PadState = state;
    pad_state_read_ = true;
  }
  // One attempt to get the device back per failing tick; the tick goes on with the last state.
  if (!polled || !read) PadDevice->acquire();
  if (!pad_state_read_) return;

  // Examined in a fixed order, at most one new press a tick: the x axis, then the y axis only
  // with x centred, then the buttons only with both centred. A press is marked as seen even
  // when a waiting capture drops the request, so it has to be released and pressed again.
  const std::int32_t x = PadState.lX;
  const std::int32_t y = PadState.lY;
  if (x < kAxisCentre) {
    if (!DirectionDown[kLeft]) {
      DirectionDown[kLeft] = true;
      // With the Wingman patch, x = 0 together with y = 0 marks Left as held but picks nothing.
      if (!LogitechPatch || y != 0) btnJoy_Click(kPadLeft);
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

  // Buttons 13 and up have no edge memory and stand for no pad button: they are not examined.
  const int last = std::min<int>(LastButtonIndex, static_cast<int>(ButtonDown.size()) - 1);
  for (int i = 0; i <= last; ++i) {
    const auto b = static_cast<std::size_t>(i);
    if (PadState.rgbButtons[b] != 0) {
      if (ButtonDown[b]) continue;
      ButtonDown[b] = true;
      btnJoy_Click(joy_config::kControlOfButton[b]);
      return;
    }
    ButtonDown[b] = false;
  }
}

}  // namespace padwire
