// Argument access for scenario commands.
#include <charconv>

#include "platform/sim/session.h"

namespace padwire::sim {

void expect_words(const Command& c, std::size_t min, std::size_t max) {
  const std::size_t n = c.words.size();
  if (n < min || n > max) {
    throw ScenarioError(c.line, "wrong number of arguments for " + c.words[0].text);
  }
}

const std::string& arg(const Command& c, std::size_t index) {
  if (index >= c.words.size()) throw ScenarioError(c.line, "missing argument");
  return c.words[index].text;
}

long parse_number(const Command& c, const std::string& text, long min, long max) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) {
    throw ScenarioError(c.line, "not a number: " + text);
  }
  if (value < min || value > max) {
    throw ScenarioError(c.line, "out of range (" + std::to_string(min) + " to " +
                                    std::to_string(max) + "): " + text);
  }
  return value;
}

long number_arg(const Command& c, std::size_t index, long min, long max) {
  return parse_number(c, arg(c, index), min, max);
}

}  // namespace padwire::sim
