// The trace of a simulated run: one line for every call the program makes into the outside
// world, in order.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace padwire::sim {

// Double-quoted, with the escapes of scenario files: \" \\ \r \n \t.
std::string quote(std::string_view text);

class Trace {
 public:
  // A line for a call of the program; dropped when its kind (first word) is ignored.
  void line(std::string text);
  // A line of the runner itself (a query's answer, an ignored input): always kept.
  void note(std::string text) { lines_.push_back(std::move(text)); }
  // From now on, lines of this kind are neither kept nor compared.
  void ignore(std::string kind) { ignored_.insert(std::move(kind)); }
  const std::vector<std::string>& lines() const { return lines_; }
  // Forgets the lines so far (a long run that checks them as it goes).
  void clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
  std::set<std::string, std::less<>> ignored_;
};

}  // namespace padwire::sim
