// The debug window's text: every member of the controller state, one line per group.
#pragma once

#include <string>

#include "platform/types.h"

namespace padwire {

// Lines end in CR LF; buttons are numbered from 1 up to last_button_index + 1.
std::string build_state_dump(const JoyState2& state, int last_button_index);

}  // namespace padwire
