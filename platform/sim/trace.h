// The trace of a simulated run: one line for every call the program makes into the outside
// world, in order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace padwire::sim {

// Double-quoted, with the escapes of scenario files: \" \\ \r \n \t.
std::string quote(std::string_view text);

class Trace {
 public:
  void line(std::string text) { lines_.push_back(std::move(text)); }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace padwire::sim
