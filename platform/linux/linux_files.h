// Small files of the user's: the configuration folder, whole-file reads that never block, and
// writes that replace a file atomically.
#pragma once

#include <string>

namespace padwire::lin {

// $HOME, else the password entry's home.
std::string home_folder();

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
std::string config_home();

// The user's pictures folder as the desktop names it (XDG_PICTURES_DIR in user-dirs.dirs of the
// configuration folder), else $HOME/Pictures.
std::string pictures_folder();

// Like mkdir -p, each folder it creates private to the user.
bool make_folders(const std::string& folder);

enum class ReadResult { kText, kMissing, kFailed };

// The whole of a regular file of at most 64 MiB, opened without blocking on a pipe or a device
// someone put in its place.
ReadResult read_file(const std::string& path, std::string& text);

// A temporary file in the same folder (made first, private to the user), written and flushed
// to the disk, then renamed over `path`, and the folder flushed so that the rename itself is on
// the disk. A crash leaves the old file or the new one, never half of one.
bool write_file_atomically(const std::string& path, const std::string& text);

}  // namespace padwire::lin
