#include "platform/common/command_line.h"

#include <algorithm>

namespace padwire {

std::vector<std::string> split_command_line(std::string_view command_line) {
  std::vector<std::string> arguments;
  std::string current;
  bool in_argument = false, quoted = false;
  std::size_t i = 0;
  while (i < command_line.size()) {
    const char c = command_line[i];
    if (c == '\\') {
      const std::size_t run_end =
          std::min(command_line.find_first_not_of('\\', i), command_line.size());
      const std::size_t count = run_end - i;
      const bool before_quote = run_end < command_line.size() && command_line[run_end] == '"';
      current.append(before_quote ? count / 2 : count, '\\');
      in_argument = true;
      i = run_end;
      if (before_quote && count % 2 == 1) {
        current += '"';
        ++i;
      }
    } else if (c == '"') {
      in_argument = true;
      if (quoted && i + 1 < command_line.size() && command_line[i + 1] == '"') {
        current += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
      ++i;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_argument) arguments.push_back(std::move(current));
      current.clear();
      in_argument = false;
      ++i;
    } else {
      current += c;
      in_argument = true;
      ++i;
    }
  }
  if (in_argument) arguments.push_back(std::move(current));
  return arguments;
}

}  // namespace padwire
