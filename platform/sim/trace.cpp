#include "platform/sim/trace.h"

namespace padwire::sim {

std::string quote(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
        break;
    }
  }
  out += '"';
  return out;
}

void Trace::line(std::string text) {
  if (!ignored_.empty()) {
    const std::string_view kind = std::string_view(text).substr(0, text.find(' '));
    if (ignored_.contains(kind)) return;
  }
  lines_.push_back(std::move(text));
}

}  // namespace padwire::sim
