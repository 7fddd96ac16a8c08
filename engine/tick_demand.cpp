// Which ticks matter. A back end that hears of every controller change can leave out the ticks
// that would do nothing and let the program sleep; these queries tell it when that is safe.
// They mirror the tick step by step and err towards "tick": a wrong "yes" costs a tick that
// does nothing, a wrong "no" would lose behaviour.
#include <initializer_list>

#include "engine/pad_engine.h"

namespace padwire {

namespace {

// The controller buttons whose M combination fires again every second tick while held.
constexpr int kRepeatingCombinations[] = {kButtonA, kButtonB, kButtonC, kButtonX, kButtonY};

}  // namespace

bool PadEngine::needs_ticks() const {
  // The acquire is retried on every tick; a change the last tick did not read is still due.
  if (PadDevice.failing() || read_pending_) return true;
  // A device just opened (a pad plugged in) is read until it answers or counts as gone.
  if (PadDevice.device() && !PadDevice.has_reading()) return true;
  if (MouseMode) return mouse_step_pending();
  return translation_pending() || watched_key_held();
}

bool PadEngine::paced_by_timer() const {
  const Stick stick = decoded_stick();
  const bool stick_off_centre = stick.x != kAxisCentre || stick.y != kAxisCentre;
  if (MouseMode) return stick_off_centre;  // the pointer gains a pixel per tick
  if (!SelectOnM && button_held(kButtonM)) {
    for (int b : kRepeatingCombinations) {
      if (button_held(b)) return true;
    }
    return false;  // the button loop, and with it auto-fire, does not run under M
  }
  if (AutoFireOn) {
    const int last = last_tracked_button(LastButtonIndex);
    for (int i = 0; i <= last; ++i) {
      if (auto_fires(i) && button_held(i)) return true;  // twelve taps on every tick
    }
  }
  // A run of presses of one button counts towards the stressed rumble.
  if (RumbleType == kRumbleStressed && StressCount > 0) return true;
  // A shot on every tick while Print Screen is held.
  return key_held(platform_.keyboard.async_key_state(kVkSnapshot));
}

// A mouse-mode step with the stick centred moves nothing; it can still press, release or end.
bool PadEngine::mouse_step_pending() const {
  const Stick stick = decoded_stick();
  if (stick.x != kAxisCentre || stick.y != kAxisCentre) return true;
  if (button_held(kButtonM)) return false;
  const int last = last_tracked_button(LastButtonIndex);
  for (int i = 0; i <= last; ++i) {
    const bool held = button_held(i);
    if (i < 2 ? held != MouseButtonDown[i] : held) return true;
  }
  return false;
}

bool PadEngine::translation_pending() const {
  // A side of an axis is pressed when not yet counted; the centre releases what is counted.
  auto axis_pending = [this](std::int32_t value, int low, int high) {
    if (value < kAxisCentre) return !DirectionDown[low];
    if (value > kAxisCentre) return !DirectionDown[high];
    return DirectionDown[low] || DirectionDown[high];
  };
  const Stick stick = decoded_stick();
  if (axis_pending(stick.x, 0, 1) || axis_pending(stick.y, 2, 3)) return true;

  if (!SelectOnM && button_held(kButtonM)) {
    // Clearing the marker of an earlier combination, or a combination that fires now.
    if (ButtonDown[kButtonM]) {
      if (!button_held(kButtonStart)) return true;
    } else {
      for (int b : {kButtonA, kButtonStart, kButtonB, kButtonC, kButtonX, kButtonY, kButtonR}) {
        if (button_held(b)) return true;
      }
      if (stick.y < kAxisCentre && !HoldNextRelease) return true;
    }
  } else {
    const int last = last_tracked_button(LastButtonIndex);
    for (int i = 0; i <= last; ++i) {
      if (button_held(i) ? !ButtonDown[i] || (AutoFireOn && auto_fires(i)) : ButtonDown[i]) {
        return true;
      }
    }
  }

  // Last: the debug window shows (again) what differs from its text.
  return !Form1.loaded || Form1.text != state_dump();
}

// Keys the tick reads by their state. While one is held the tick keeps running; going down,
// they wake a sleeping back end by other means.
bool PadEngine::watched_key_held() const {
  auto held = [this](int vk) { return key_held(platform_.keyboard.async_key_state(vk)); };
  if (mnuAutoFire_.checked && (TabHeld || held(kVkTab))) return true;
  return held(kVkControl) || held(kVkSnapshot);
}

}  // namespace padwire
