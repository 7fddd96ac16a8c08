// What the Linux program takes from SDL's game controller part: the user's mappings added to
// SDL's own, and a game controller's state as the standard pad. For sdl_input.cpp: the Qt side of
// the program never includes SDL.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/controller.h"

namespace padwire::sdl {

// Adds mapping lines (SDL's text format) to those SDL knows; those SDL refuses are left out.
// Joysticks SDL already lists take them on its next update.
void add_controller_mappings(const std::vector<std::string>& lines);

// The controller's named controls: sticks from SDL's -32768..32767 to 0..65535 with 32768 the
// centre (y down, as SDL has it), triggers from SDL's 0..32767 to 0..65535.
StandardPad read_standard_pad(SDL_GameController* controller);

}  // namespace padwire::sdl
