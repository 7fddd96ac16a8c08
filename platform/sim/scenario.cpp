#include "platform/sim/scenario.h"

#include <charconv>
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

// A file may ask for more commands with `repeat` than a run should take.
constexpr std::size_t kMaxCommands = 100000;
constexpr long kMaxRepeat = 100000;

bool is_end_repeat(const std::vector<Word>& words) {
  return words.size() == 2 && !words[0].quoted && words[0].text == "end" && !words[1].quoted &&
         words[1].text == "repeat";
}

// The count of a `repeat N` line.
long repeat_count(const std::vector<Word>& words, int line) {
  const std::string& text = words.size() == 2 ? words[1].text : std::string();
  long n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (words.size() != 2 || words[1].quoted || error != std::errc() ||
      end != text.data() + text.size() || n < 1 || n > kMaxRepeat) {
    throw ScenarioError(line, "repeat wants a count from 1 to " + std::to_string(kMaxRepeat));
  }
  return n;
}

// An open `repeat` block: where its commands begin, how often they run, its line.
struct OpenRepeat {
  std::size_t first = 0;
  long count = 1;
  int line = 0;
};

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
          case '"':
            word.text += '"';
            break;
          case '\\':
            word.text += '\\';
            break;
          case 'r':
            word.text += '\r';
            break;
          case 'n':
            word.text += '\n';
            break;
          case 't':
            word.text += '\t';
            break;
          default:
            throw ScenarioError(line, std::string("unknown escape \\") + e);
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
  std::vector<OpenRepeat> repeats;
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
      if (!repeats.empty()) throw ScenarioError(repeats.back().line, "repeat without end repeat");
      in_expect = true;
      expect_line = number;
      scenario.expected.emplace();
      continue;
    }
    std::vector<Word> words = split_words(s, number);
    auto& commands = scenario.commands;
    if (!words.empty() && !words[0].quoted && words[0].text == "repeat") {
      repeats.push_back({commands.size(), repeat_count(words, number), number});
      continue;
    }
    if (is_end_repeat(words)) {
      if (repeats.empty()) throw ScenarioError(number, "end repeat without repeat");
      const OpenRepeat block = repeats.back();
      repeats.pop_back();
      const std::size_t size = commands.size() - block.first;
      if (block.first + size * static_cast<std::size_t>(block.count) > kMaxCommands) {
        throw ScenarioError(block.line,
                            "repeat makes more than " + std::to_string(kMaxCommands) + " commands");
      }
      for (long i = 1; i < block.count; ++i) {
        for (std::size_t j = 0; j < size; ++j) commands.push_back(commands[block.first + j]);
      }
      continue;
    }
    commands.push_back(Command{number, std::move(words)});
    if (commands.size() > kMaxCommands) {
      throw ScenarioError(number, "more than " + std::to_string(kMaxCommands) + " commands");
    }
  }
  if (!repeats.empty()) throw ScenarioError(repeats.back().line, "repeat without end repeat");
  if (in_expect) {
    if (scenario.expected->empty() || scenario.expected->back() != "end") {
      throw ScenarioError(expect_line, "expect block without end");
    }
    scenario.expected->pop_back();
  }
  return scenario;
}

}  // namespace padwire::sim
