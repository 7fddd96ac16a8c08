// Argument access for scenario commands.
#include <charconv>

#include "dialog/key_names.h"
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

long key_arg(const Command& c, std::size_t index, long min, long max) {
  const std::string& text = arg(c, index);
  const std::size_t digit = !text.empty() && text[0] == '-' ? 1 : 0;
  if (digit < text.size() && text[digit] >= '0' && text[digit] <= '9') {
    return number_arg(c, index, min, max);
  }
  // The names the assignment dialog shows, and two keys it leaves unnamed.
  static const std::pair<const char*, long> kExtra[] = {{"Esc", 27}, {"PrintScreen", 44}};
  for (const auto& [name, code] : kExtra) {
    if (to_lower(text) == to_lower(name)) return code;
  }
  for (int code = 0; code <= 255; ++code) {
    const std::string name = KeyName(code);
    if (!name.empty() && to_lower(name) == to_lower(text)) return code;
  }
  throw ScenarioError(c.line, "unknown key name: " + text);
}

}  // namespace padwire::sim
