// The key and mouse sinks chosen at start by plan_input: uinput where /dev/uinput opens (X11,
// Wayland, the console), else XTest on an X11 desktop, else sinks that send nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/keyboard.h"
#include "platform/linux/linux_input_plan.h"
#include "platform/linux/linux_key_layout.h"
#include "platform/mouse.h"

struct _XDisplay;

namespace padwire::lin {

struct InputSinks {
  std::unique_ptr<Keyboard> keyboard;
  std::unique_ptr<Keystrokes> keystrokes;  // types through `keyboard`: keep both together
  std::unique_ptr<Mouse> mouse;
  // Around a tick: its keys go out together at its end, and the program waits until they are
  // handled (XTest; see XTestKeys::hold). Set for every kind.
  std::function<void()> hold_keys = [] {};
  std::function<void()> send_held_keys = [] {};
  InputPlan plan;
};

struct SinkOptions {
  bool wayland = false;               // a Wayland session (wayland_session())
  std::shared_ptr<KeyLayout> layout;  // the layout keys are found in; null: a US keyboard's
  std::function<void()> before_key;   // runs before every key event of the keyboard
  // When given, answers for a key that is surely up without asking the server
  // (X11KeyWatch::surely_up).
  std::function<bool(int linux_key)> surely_up;
};

// Where the plan takes them from the X server, the keys' state comes from XQueryKeymap, the
// pointer's position from the server and the Scroll Lock toggle is mirrored on XKB's "Scroll
// Lock" light; otherwise the key state comes from the evdev keyboards that can be read, the
// pointer's position is the uinput mouse's estimate, and there is no light.
InputSinks open_input_sinks(_XDisplay* display_or_null, SinkOptions options);

}  // namespace padwire::lin
