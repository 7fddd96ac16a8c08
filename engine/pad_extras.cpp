// The extras of the poll cycle: auto-fire and its Scroll Lock mirror, the M-button
// combinations, and the Print Screen screenshot.
#include <cstdio>

#include "engine/pad_engine.h"

namespace padwire {

namespace {

constexpr int kBurstTaps = 12;

std::string screenshot_file_name(const std::string& app_path, const LocalTime& t) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d.jpg", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  // A program in a drive's root already has a trailing backslash; the name then holds two.
  return app_path + "\\" + stamp;
}

}  // namespace

void PadEngine::RepeatKey(const std::uint8_t& keyCode) {
  for (RepeatCount = 1; RepeatCount <= kBurstTaps; ++RepeatCount) TapKey(keyCode);
}

void PadEngine::ShowAutoFire(bool flag) {
  SetKeyState(kVkScroll, flag ? -1 : 0);
}

void PadEngine::SetKeyState(std::int16_t key, std::int16_t value) {
  KeyboardState state{};
  // Without the current state, writing the array back would reset every other key and toggle
  // of the thread's keyboard state; so a failed read leaves the state alone.
  if (!platform_.keyboard.get_keyboard_state(state)) return;
  if (key < 0 || key > 255) return;
  const int magnitude = value < 0 ? -static_cast<int>(value) : value;
  state[static_cast<std::size_t>(key)] = static_cast<std::uint8_t>(magnitude & 0xFF);
  platform_.keyboard.set_keyboard_state(state);
}

void PadEngine::run_m_combinations() {
  // Entry 9 of the edge memory marks a combination that fired on an earlier tick; clearing it
  // takes one tick, so a held combination repeats every second tick.
  if (ButtonDown[kButtonM]) {
    if (!button_held(kButtonStart)) {
      release_pad_key(button_source(kButtonM), keys.JoySelect);
      ButtonDown[kButtonM] = false;
    }
    return;
  }

  if (button_held(kButtonA)) {
    TapKey(keys.KeyDefEscape);
    ButtonDown[kButtonM] = true;
  } else if (button_held(kButtonStart)) {
    press_pad_key(button_source(kButtonM), keys.JoySelect);
    ButtonDown[kButtonM] = true;
  } else if (button_held(kButtonB)) {
    MouseMode = true;
    platform_.keystrokes.send_keys("%(E){Up}~", false);
    ButtonDown[kButtonM] = true;
  } else if (button_held(kButtonC)) {
    platform_.keystrokes.send_keys("~", false);
    ButtonDown[kButtonM] = true;
  } else if (button_held(kButtonX)) {
    MouseMode = true;
    platform_.keystrokes.send_keys("%(C){Up}~", false);
    ButtonDown[kButtonM] = true;
  } else if (button_held(kButtonY)) {
    platform_.keystrokes.send_keys("%(C)~", false);
    ButtonDown[kButtonM] = true;
  } else if (button_held(kButtonR)) {
    MouseMode = true;
    Timer1.set_interval(5);
    // Alt + Tab goes out directly, with scan code 0 even in MS-DOS mode. Alt goes down as the
    // extended (right) Alt key, so it must come up as the same key: a plain key-up would
    // release the left Alt and leave the right one held in the system's key state.
    platform_.keyboard.key_event(kVkAlt, 0, kKeyEventExtended, 0);
    platform_.keyboard.key_event(kVkTab, 0, kKeyEventExtended, 0);
    platform_.keyboard.key_event(kVkTab, 0, kKeyEventKeyUp, 0);
    platform_.keyboard.key_event(kVkAlt, 0, kKeyEventExtended | kKeyEventKeyUp, 0);
  } else if (stick_.y < kAxisCentre) {
    HoldNextRelease = true;
  }
}

void PadEngine::take_screenshot() {
  const std::string path =
      screenshot_file_name(platform_.desktop.app_path(), platform_.clock.now());
  platform_.screenshot.save_jpeg(path, 60);
  platform_.desktop.beep();  // also when the shot could not be written
}

}  // namespace padwire
