// Small files of the user's: the configuration folder, whole-file reads that never block, and
// writes that replace a file atomically.
#pragma once

#include <cstddef>
#include <string>

namespace padwire::lin {

// $HOME, else the password entry's home.
std::string home_folder();

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
std::string config_home();

// The program's folder of the user's files: config_home()/padwire.
std::string user_config_folder();

// The user's pictures folder as the desktop names it (XDG_PICTURES_DIR in user-dirs.dirs of the
// configuration folder), else $HOME/Pictures.
std::string pictures_folder();

// Like mkdir -p, each folder it creates private to the user.
bool make_folders(const std::string& folder);

enum class ReadResult { kText, kMissing, kFailed };

// The whole of a regular file of at most `limit` bytes, opened without blocking on a pipe or a
// device someone put in its place: failed for those, for a larger file and for any error but a
// missing file.
inline constexpr std::size_t kLargestUserFile = 64 << 20;
ReadResult read_file(const std::string& path, std::string& text,
                     std::size_t limit = kLargestUserFile);

// A temporary file in the same folder (made first, private to the user), written and flushed
// to the disk, then renamed over `path`, and the folder flushed so that the rename itself is on
// the disk. A crash leaves the old file or the new one, never half of one.
bool write_file_atomically(const std::string& path, const std::string& text);

}  // namespace padwire::lin
