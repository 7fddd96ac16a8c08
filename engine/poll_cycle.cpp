// The poll cycle: one tick of the main timer reads the controller and turns every change of a
// direction or button into a key press or release.
#include "engine/pad_engine.h"

namespace padwire {

namespace {

// A pad at rest: both axes centred, no button held. Until a read succeeds, and once the
// controller is gone, the pad is taken to be at rest: a record of zeros would read as Left and
// Up held and press both keys in whatever program has the focus, never releasing them.
JoyState2 rest_state() {
  JoyState2 state;
  state.lX = kAxisCentre;
  state.lY = kAxisCentre;
  return state;
}

}  // namespace

PadEngine::PadEngine(Platform& platform, const MenuItem& auto_fire_item, const MenuItem& dos_item)
    : Timer1(platform.main_timer),
      PadDevice(platform.clock),
      platform_(platform),
      mnuAutoFire_(auto_fire_item),
      mnuDOSApplication_(dos_item) {
  PadState = rest_state();
}

bool PadEngine::open_controller(ControllerList& list, WindowHandle window) {
  if (!PadDevice.open(list, window, ControllerAccess::exclusive, standard_layout)) return false;
  if (const auto last = PadDevice.last_button_index()) LastButtonIndex = *last;
  return true;
}

void PadEngine::Timer1_Timer() {
  translate_tick();
  if (PadDevice.gone()) drop_controller();
}

void PadEngine::drop_controller() {
  // This tick read the pad as at rest, so the ordinary release paths have let go of what they
  // track; what is still down (the key hold's key, keys held across mouse mode) goes now.
  release_all();
  DirectionDown.fill(false);
  ButtonDown.fill(false);
  RumbleEffect_.reset();
  PadDevice.close();
  PadState = rest_state();  // nothing of the old controller is pressed again on the next tick
}

void PadEngine::translate_tick() {
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
  // A failed read keeps the last state that was read successfully.
  PadDevice.read(PadState);
  // A controller gone for good reads as one at rest, so that the rest of the tick releases
  // what it holds down the ordinary way before the device is dropped.
  if (PadDevice.gone()) PadState = rest_state();
  stick_ = decoded_stick();
}

Stick PadEngine::decoded_stick() const {
  // The rest state's hat reads 0, which is Up: while the record holds no reading of the open
  // device, and once it is gone, the directions are centred whatever the options say.
  return PadDevice.has_reading() && !PadDevice.gone()
             ? decode_directions(PadState, PadDevice.direction_options(direction_options))
             : Stick{};
}

void PadEngine::translate_directions() {
  const std::int32_t x = stick_.x;
  const std::int32_t y = stick_.y;
  const bool logitech = PadDevice.logitech_patch(Logitech);
  // With the Logitech option, Left with y = 0 and Down with x = 0 are held but send no key.
  translate_axis(x, {0, keys.JoyLeft, !logitech || y != 0}, {1, keys.JoyRight, true});
  translate_axis(y, {2, keys.JoyUp, true}, {3, keys.JoyDown, !logitech || x != 0});
}

// Each side of an axis is looked at on its own, so swinging across the centre between two
// ticks leaves both directions down until a tick sees the centre.
void PadEngine::translate_axis(std::int32_t value, const AxisSide& low, const AxisSide& high) {
  if (value < kAxisCentre) {
    press_side(low);
  } else if (value == kAxisCentre) {
    release_side(low);
    release_side(high);
  } else {
    press_side(high);
  }
}

void PadEngine::press_side(const AxisSide& side) {
  if (DirectionDown[side.direction]) return;
  if (side.sends_key) press_pad_key(side.direction, side.key);
  DirectionDown[side.direction] = true;
}

void PadEngine::release_side(const AxisSide& side) {
  if (!DirectionDown[side.direction]) return;
  release_pad_key(side.direction, side.key);
  DirectionDown[side.direction] = false;
}

const std::uint8_t& PadEngine::key_of_button(int i) const {
  return pad_key(keys, pad_button_of_controller_button(i));
}

void PadEngine::button_loop() {
  // Buttons above 12 have no edge memory and are left alone.
  const int last = last_tracked_button(LastButtonIndex);
  for (int i = 0; i <= last; ++i) {
    if (button_held(i)) {
      if (AutoFireOn && auto_fires(i)) RepeatKey(key_of_button(i));
      if (!ButtonDown[i]) {
        press_pad_key(button_source(i), key_of_button(i));
        ButtonDown[i] = true;
        rumble_press(i);
      }
    } else if (ButtonDown[i]) {
      if (HoldNextRelease) {
        HoldNextRelease = false;  // one hold covers one release: this key stays down
        withhold_pad_key(button_source(i), key_of_button(i));
      } else {
        release_pad_key(button_source(i), key_of_button(i));
      }
      rumble_stop();
      ButtonDown[i] = false;
    }
  }
}

}  // namespace padwire
