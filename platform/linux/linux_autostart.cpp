#include "platform/linux/linux_autostart.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/linux/linux_command_line.h"
#include "platform/linux/linux_files.h"

namespace padwire::lin {

namespace {

constexpr std::string_view kGroup = "[Desktop Entry]";
// Characters the Exec rules reserve: an argument holding one of them must be quoted.
constexpr std::string_view kReserved = " \t\"'\\><~|&;$*?#()`=%";
// Inside quotes, these take a backslash before them.
constexpr std::string_view kQuotedEscapes = "\"`$\\";

// The value of `key` in the desktop entry group, without the string escapes undone.
std::optional<std::string> entry_value(std::string_view text, std::string_view key) {
  bool in_group = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      in_group = line == kGroup;
      continue;
    }
    const auto equals = line.find('=');
    if (!in_group || equals == std::string_view::npos) continue;
    std::string_view name = line.substr(0, equals);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (name != key) continue;
    std::string_view value = line.substr(equals + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    return std::string(value);
  }
  return std::nullopt;
}

// The string escapes of desktop entry values: \s \n \t \r \\.
std::optional<std::string> unescape_string(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      text += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case 's':
        text += ' ';
        break;
      case 'n':
        text += '\n';
        break;
      case 't':
        text += '\t';
        break;
      case 'r':
        text += '\r';
        break;
      case '\\':
        text += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return text;
}

// The file itself: links resolved, a bare name looked up on PATH.
std::string resolved(const std::string& program) {
  const std::string found = find_program(program);
  if (found.empty()) return {};
  const std::unique_ptr<char, decltype(&free)> real(realpath(found.c_str(), nullptr), &free);
  return real ? std::string(real.get()) : found;
}

}  // namespace

std::string Autostart::default_path() {
  return config_home() + "/autostart/padwire.desktop";
}

std::optional<std::string> exec_argument(std::string_view argument) {
  if (argument.empty() || argument.find_first_of("\n\r", 0) != std::string_view::npos) {
    return std::nullopt;
  }
  std::string quoted;
  const bool quote = argument.find_first_of(kReserved) != std::string_view::npos;
  if (quote) quoted += '"';
  for (const char c : argument) {
    if (quote && kQuotedEscapes.find(c) != std::string_view::npos) quoted += '\\';
    quoted += c;
    if (c == '%') quoted += '%';
  }
  if (quote) quoted += '"';
  // The string escape comes on top: each backslash of the line is written twice.
  std::string value;
  for (const char c : quoted) value += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return value;
}

std::optional<std::vector<std::string>> exec_arguments(std::string_view value) {
  const std::optional<std::string> line = unescape_string(value);
  if (!line) return std::nullopt;
  std::vector<std::string> arguments;
  std::string current;
  bool in_argument = false, quoted = false;
  for (std::size_t i = 0; i < line->size(); ++i) {
    const char c = (*line)[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < line->size() &&
                 kQuotedEscapes.find((*line)[i + 1]) != std::string_view::npos) {
        current += (*line)[++i];
      } else {
        current += c;
      }
    } else if (c == ' ') {
      if (in_argument) arguments.push_back(std::move(current));
      current.clear();
      in_argument = false;
      continue;
    } else if (c == '"') {
      quoted = true;
    } else {
      current += c;
    }
    in_argument = true;
    // %% stands for one percent sign; other field codes (%f, %u ...) are left as they are.
    if (c == '%' && i + 1 < line->size() && (*line)[i + 1] == '%') ++i;
  }
  if (quoted) return std::nullopt;
  if (in_argument) arguments.push_back(std::move(current));
  return arguments;
}

bool Autostart::enabled() const {
  std::string text;
  if (read_file(path_, text) != ReadResult::kText) return false;
  // How desktops switch an entry off without removing it.
  if (entry_value(text, "Hidden") == "true" ||
      entry_value(text, "X-GNOME-Autostart-enabled") == "false") {
    return false;
  }
  const auto exec = entry_value(text, "Exec");
  const auto arguments = exec ? exec_arguments(*exec) : std::nullopt;
  if (!arguments || arguments->empty()) return false;
  const std::string program = resolved((*arguments)[0]);
  return !program.empty() && program == resolved(program_);
}

bool Autostart::set(bool start) {
  if (!start) return unlink(path_.c_str()) == 0 || errno == ENOENT;
  const std::optional<std::string> program = exec_argument(program_);
  if (!program) return false;
  const std::string entry = std::string(kGroup) +
                            "\n"
                            "Type=Application\n"
                            "Name=Padwire\n"
                            "Comment=Plays keyboard-only games with a game controller\n"
                            "Exec=" +
                            *program +
                            " --login\n"
                            "Icon=padwire\n"
                            "Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n";
  return write_file_atomically(path_, entry);
}

}  // namespace padwire::lin
