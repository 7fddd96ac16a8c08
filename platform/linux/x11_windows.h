// Bringing a top-level window to the front by its title.
#pragma once

#include <string>

#include "platform/desktop.h"

struct _XDisplay;

namespace padwire::lin {

// Activates the client window whose title is `title` (ignoring case), else the first whose title
// begins with it: through the window manager's _NET_ACTIVE_WINDOW when one runs, by raising and
// focusing it when none does. kRefused when the window did not become active within a short
// wait; kNotFound when no window has such a title, and always without a display.
Activation activate_window_by_title(_XDisplay* display, const std::string& title);

}  // namespace padwire::lin
