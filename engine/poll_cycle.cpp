// The poll cycle: one tick of the main timer reads the controller and turns every change of a
// direction or button into a key press or release.
#include "engine/pad_engine.h"

namespace padwire {

PadEngine::PadEngine(Platform& platform, const MenuItem& auto_fire_item, const MenuItem& dos_item)
    : Timer1(platform.main_timer),
      platform_(platform),
      mnuAutoFire_(auto_fire_item),
      mnuDOSApplication_(dos_item) {
  // Until a read succeeds the pad is taken to be at rest. A record of zeros would read as Left
  // and Up held and press both keys in whatever program has the focus, never releasing them.
  PadState.lX = kAxisCentre;
  PadState.lY = kAxisCentre;
}

void PadEngine::Timer1_Timer() {
  if (MouseMode) {
    MouseModeStep();
    return;
  }

  // Tab toggles auto-fire while "Allow Auto-Fire" is checked; a tick with Tab down ends here,
  // so nothing is translated while the user holds it.
  if (mnuAutoFire_.checked) {
    if (key_held(platform_.keyboard.async_key_state(kVkTab))) {
      if (!TabHeld) {
        TabHeld = true;
        AutoFireOn = !AutoFireOn;
        ShowAutoFire(AutoFireOn);
      }
      read_pending_ = true;  // a change of the pad waits for this tick's successor
      return;
    }
    TabHeld = false;
  }

  read_controller();
  refresh_debug_window();
  translate_directions();

  if (!SelectOnM && button_held(kButtonM)) {
    run_m_combinations();
    return;
  }

  if (key_held(platform_.keyboard.async_key_state(kVkControl))) HoldNextRelease = true;

  button_loop();

  if (key_held(platform_.keyboard.async_key_state(kVkSnapshot))) take_screenshot();
}

void PadEngine::read_controller() {
  read_pending_ = false;
  if (!PadDevice) return;  // every device call fails without a device; nothing to retry
  const bool polled = PadDevice->poll();
  // A failed read keeps the last state that was read successfully.
  JoyState2 state;
  const bool read = PadDevice->get_state(state);
  if (read) PadState = state;
  read_failed_ = !polled || !read;
  if (read_failed_) PadDevice->acquire();
}

void PadEngine::translate_directions() {
  const std::int32_t x = PadState.lX;
  const std::int32_t y = PadState.lY;

  // Each side of an axis is looked at on its own, so swinging across the centre between two
  // ticks leaves both directions down until a tick sees the centre.
  if (x < kAxisCentre) {
    if (!DirectionDown[0]) {
      if (!Logitech || y != 0) PressKey(keys.JoyLeft);
      DirectionDown[0] = true;
    }
  } else if (x == kAxisCentre) {
    if (DirectionDown[0]) {
      ReleaseKey(keys.JoyLeft);
      DirectionDown[0] = false;
    }
    if (DirectionDown[1]) {
      ReleaseKey(keys.JoyRight);
      DirectionDown[1] = false;
    }
  } else if (!DirectionDown[1]) {
    PressKey(keys.JoyRight);
    DirectionDown[1] = true;
  }

  if (y < kAxisCentre) {
    if (!DirectionDown[2]) {
      PressKey(keys.JoyUp);
      DirectionDown[2] = true;
    }
  } else if (y == kAxisCentre) {
    if (DirectionDown[2]) {
      ReleaseKey(keys.JoyUp);
      DirectionDown[2] = false;
    }
    if (DirectionDown[3]) {
      ReleaseKey(keys.JoyDown);
      DirectionDown[3] = false;
    }
  } else if (!DirectionDown[3]) {
    if (!Logitech || x != 0) PressKey(keys.JoyDown);
    DirectionDown[3] = true;
  }
}

const std::uint8_t& PadEngine::key_of_button(int i) const {
  switch (i) {
    case 0: return keys.JoyButtonA;
    case 1: return keys.JoyButtonB;
    case 2: return keys.JoyButtonC;
    case 3: return keys.JoyButtonX;
    case 4: return keys.JoyButtonY;
    case 5: return keys.JoyButtonZ;
    case 6: return keys.JoyTriggerL;
    case 7: return keys.JoyTriggerR;
    case 8: return keys.JoyStart;
    default: return keys.JoySelect;
  }
}

void PadEngine::button_loop() {
  // Buttons above 12 have no edge memory and are left alone.
  const int last = LastButtonIndex < kTrackedButtons ? LastButtonIndex : kTrackedButtons - 1;
  for (int i = 0; i <= last; ++i) {
    if (button_held(i)) {
      // Start and Select never auto-fire.
      if (AutoFireOn && i <= 7) RepeatKey(key_of_button(i));
      if (!ButtonDown[i]) {
        PressKey(key_of_button(i));
        ButtonDown[i] = true;
        rumble_press(i);
      }
    } else if (ButtonDown[i]) {
      if (HoldNextRelease) {
        HoldNextRelease = false;  // one hold covers one release: this key stays down
      } else {
        ReleaseKey(key_of_button(i));
      }
      rumble_stop();
      ButtonDown[i] = false;
    }
  }
}

}  // namespace padwire
