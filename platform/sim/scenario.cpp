#include "platform/sim/scenario.h"

#include <sstream>

namespace padwire::sim {

namespace {

// Removes a comment that starts outside quotes, and surrounding white space.
std::string strip_line(const std::string& raw) {
  bool in_string = false;
  std::size_t end = raw.size();
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (in_string && c == '\\') {
      ++i;
    } else if (c == '"') {
      in_string = !in_string;
    } else if (c == '#' && !in_string) {
      end = i;
      break;
    }
  }
  std::string s = raw.substr(0, end);
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

}  // namespace

std::vector<Word> split_words(const std::string& text, int line) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    Word word;
    if (c == '"') {
      word.quoted = true;
      ++i;
      bool closed = false;
      while (i < text.size()) {
        const char d = text[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d != '\\') {
          word.text += d;
          continue;
        }
        if (i >= text.size()) throw ScenarioError(line, "unterminated string");
        const char e = text[i++];
        switch (e) {
          case '"': word.text += '"'; break;
          case '\\': word.text += '\\'; break;
          case 'r': word.text += '\r'; break;
          case 'n': word.text += '\n'; break;
          case 't': word.text += '\t'; break;
          default: throw ScenarioError(line, std::string("unknown escape \\") + e);
        }
      }
      if (!closed) throw ScenarioError(line, "unterminated string");
      if (i < text.size() && text[i] != ' ' && text[i] != '\t') {
        throw ScenarioError(line, "a string must be followed by a space");
      }
    } else {
      while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') {
        if (text[i] == '"') throw ScenarioError(line, "a quote inside a bare word");
        word.text += text[i++];
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

Scenario parse_scenario(const std::string& text) {
  Scenario scenario;
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  bool in_expect = false;
  int expect_line = 0;
  while (std::getline(in, raw)) {
    ++number;
    const std::string s = strip_line(raw);
    if (s.empty()) continue;
    // The trace itself may hold "end" lines (the program ended), so the block is closed by
    // the last line of the file.
    if (in_expect) {
      scenario.expected->push_back(s);
      continue;
    }
    if (s == "expect") {
      in_expect = true;
      expect_line = number;
      scenario.expected.emplace();
      continue;
    }
    scenario.commands.push_back(Command{number, split_words(s, number)});
  }
  if (in_expect) {
    if (scenario.expected->empty() || scenario.expected->back() != "end") {
      throw ScenarioError(expect_line, "expect block without end");
    }
    scenario.expected->pop_back();
  }
  return scenario;
}

}  // namespace padwire::sim
