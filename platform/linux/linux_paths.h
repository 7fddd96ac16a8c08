// Paths between the core, which joins folders and names with a backslash as Windows does
// ("<program folder>\*vgs.exe", "<program folder>\20261208123000.jpg"), and Linux; the user's
// files of the program, and how they are read.
#pragma once

#include <cstddef>
#include <string>

namespace padwire::lin {

// The same path with every backslash turned into a slash.
std::string native_path(std::string path);

// The folder part of a path: "." when it has none, "/" for a file in the root.
std::string folder_of(const std::string& path);

// The folder of the running program, from /proc/self/exe; "." when that cannot be read.
std::string program_folder();

// The program's folder of the user's files: $XDG_CONFIG_HOME/padwire, else
// $HOME/.config/padwire (a relative $XDG_CONFIG_HOME counts as none).
std::string user_config_folder();

enum class FileRead { text, missing, failed };
// Reads a regular file of at most `limit` bytes whole into `text`, without blocking on a pipe or
// a device someone put in the file's place: failed for those, for a larger file and for any
// error but a missing file.
FileRead read_regular_file(const std::string& path, std::string& text, std::size_t limit);

}  // namespace padwire::lin
