// The key and mouse sinks chosen at start: uinput where /dev/uinput opens (X11, Wayland, the
// console), else XTest on the display, else sinks that send nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/keyboard.h"
#include "platform/mouse.h"

struct _XDisplay;

namespace padwire::lin {

struct InputSinks {
  std::unique_ptr<Keyboard> keyboard;
  std::unique_ptr<Keystrokes> keystrokes;  // types through `keyboard`: keep both together
  std::unique_ptr<Mouse> mouse;
  std::string kind;  // "uinput", "XTest" or "none"
};

// With a display the keys' state comes from XQueryKeymap, the pointer's position from the server
// and the Scroll Lock toggle is mirrored on XKB's "Scroll Lock" light; without one, the key state
// comes from the evdev keyboards that can be read, and nothing else is known. `before_key` runs
// before every key event of the keyboard. `surely_up`, when given, answers for a key that is
// surely up without asking the server (X11KeyWatch::surely_up).
InputSinks open_input_sinks(_XDisplay* display_or_null, std::function<void()> before_key,
                            std::function<bool(int linux_key)> surely_up = {});

}  // namespace padwire::lin
