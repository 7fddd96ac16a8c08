// The XDG autostart entry through which the desktop starts the program when the user logs in:
// a desktop entry in the user's autostart folder whose Exec line starts the program with
// --login.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace padwire::lin {

class Autostart {
 public:
  // `path`: the entry's file; `program`: the program's full path, which the entry must start.
  Autostart(std::string path, std::string program)
      : path_(std::move(path)), program_(std::move(program)) {}

  // $XDG_CONFIG_HOME/autostart/padwire.desktop, else $HOME/.config/autostart/padwire.desktop.
  static std::string default_path();

  // The entry exists, is not hidden, and its Exec line starts this program (the same file,
  // also when named through a link or found on PATH).
  bool enabled() const;
  // Writes the entry (atomically, its folder made when missing) or removes it. False when that
  // failed, or the program's path cannot be written in an Exec line.
  bool set(bool start);

 private:
  std::string path_;
  std::string program_;
};

// One argument for an Exec line, quoted as desktop entries quote (and with the escapes of their
// string values); nothing when it cannot stand in one (a line break, say).
std::optional<std::string> exec_argument(std::string_view argument);

// The arguments of an Exec value as it stands in the file, or nothing when it does not parse.
std::optional<std::vector<std::string>> exec_arguments(std::string_view value);

}  // namespace padwire::lin
