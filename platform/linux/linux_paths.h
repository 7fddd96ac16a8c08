// Paths between the core, which joins folders and names with a backslash as Windows does
// ("<program folder>\*vgs.exe", "<program folder>\20261208123000.jpg"), and Linux.
#pragma once

#include <string>

namespace padwire::lin {

// The same path with every backslash turned into a slash.
std::string native_path(std::string path);

// The folder part of a path: "." when it has none, "/" for a file in the root.
std::string folder_of(const std::string& path);

// The running program's full path, from /proc/self/exe; empty when that cannot be read.
std::string program_path();

// The folder of the running program; "." when its path cannot be read.
std::string program_folder();

}  // namespace padwire::lin
