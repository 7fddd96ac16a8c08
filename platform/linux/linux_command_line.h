// Starting other programs from the Linux program: command lines split as Windows splits them,
// and programs started without waiting for them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace padwire::lin {

// The arguments of a Windows command line: blanks separate them, double quotes group blanks
// into one, 2n backslashes before a quote give n backslashes and a quoting quote, 2n+1 give n
// and a literal quote; other backslashes are plain characters. A quote inside quotes that is
// followed by another gives one literal quote.
std::vector<std::string> split_command_line(std::string_view command_line);

// The program's full path when `name` is found on PATH (or, holding a slash, is executable);
// empty otherwise.
std::string find_program(const std::string& name);

// Starts the program (looked up on PATH) with the arguments in `directory` (empty: the
// current one), without waiting and without leaving a zombie behind. False when it could not
// be started.
bool start_program(const std::vector<std::string>& arguments, const std::string& directory = {});

}  // namespace padwire::lin
