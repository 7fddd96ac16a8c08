// Scenario files: one command per line, words and double-quoted strings, an optional final
// expect ... end block with the trace the run must print.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace padwire::sim {

struct Word {
  std::string text;
  bool quoted = false;
};

struct Command {
  int line = 0;
  std::vector<Word> words;
};

struct Scenario {
  std::vector<Command> commands;
  std::optional<std::vector<std::string>> expected;  // the expect block, when there is one
};

// An error in a scenario file, with the line it was found on.
class ScenarioError : public std::runtime_error {
 public:
  ScenarioError(int line, const std::string& reason) : std::runtime_error(reason), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// Splits one line into words; throws ScenarioError on an unterminated string or bad escape.
std::vector<Word> split_words(const std::string& text, int line);

Scenario parse_scenario(const std::string& text);

}  // namespace padwire::sim
