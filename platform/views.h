// The program's secondary windows. The core decides when they open and close; the back end
// creates, renders and destroys the native windows and forwards their events.
#pragma once

#include <string>

#include "platform/types.h"

namespace padwire {

enum class View { joy_config, force_feedback, debug };

class Views {
 public:
  virtual ~Views() = default;
  // The native window of the main form (the tray icon's owner and the controller's window).
  virtual WindowHandle main_window() = 0;
  // The native window of a view, created on first use.
  virtual WindowHandle window_of(View view) = 0;
  virtual void show(View view, const std::string& caption) = 0;
  virtual void bring_to_front(View view) = 0;
  virtual void close(View view, const std::string& caption) = 0;
  // Shows the debug window with this text, without taking the keyboard focus.
  virtual void show_debug_text(const std::string& text) = 0;
};

}  // namespace padwire
