// Starting other programs from the Linux program, without waiting for them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace padwire::lin {

// The program's full path when `name` is found on PATH (or, holding a slash, is executable);
// empty otherwise.
std::string find_program(const std::string& name);

// Starts the program (looked up on PATH) with the arguments in `directory` (empty: the
// current one), without waiting and without leaving a zombie behind. False when it could not
// be started.
bool start_program(const std::vector<std::string>& arguments, const std::string& directory = {});

}  // namespace padwire::lin
