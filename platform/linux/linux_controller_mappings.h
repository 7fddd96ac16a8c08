// The user's own game controller mappings: SDL's text format, one controller a line, in
// <config folder>/gamecontrollerdb.txt. SDL reads its own database, and SDL_GAMECONTROLLERCONFIG,
// by itself; this file adds to them.
#pragma once

#include <string>
#include <vector>

namespace padwire::lin {

struct ControllerMappings {
  std::vector<std::string> lines;  // the mappings for Linux (and those for any system), in order
  std::string problem;             // empty, or what to tell the user once
};

// <user config folder>/gamecontrollerdb.txt
std::string controller_mappings_path();

// A line is "GUID,name,control:input,..." (32 hex digits, a name, and at least one control:input
// field, as "a:b0" or "platform:Linux"); blank lines and lines starting with '#' are comments.
// Lines for another system (platform: other than Linux) are left out. A missing file holds no
// mappings; a file that cannot be read, or with a line that is no mapping, is ignored whole and
// `problem` says so.
ControllerMappings read_controller_mappings(const std::string& path);

}  // namespace padwire::lin
