// Command lines as Windows splits them into arguments, for the back ends that start programs
// from the command lines the program stores and builds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace padwire {

// The arguments of a Windows command line: blanks separate them, double quotes group blanks
// into one, 2n backslashes before a quote give n backslashes and a quoting quote, 2n+1 give n
// and a literal quote; other backslashes are plain characters. A quote inside quotes that is
// followed by another gives one literal quote.
std::vector<std::string> split_command_line(std::string_view command_line);

}  // namespace padwire
