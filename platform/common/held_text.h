// The debug window's text while it is open: drawing takes milliseconds (under Wine, and on a
// busy X server), and neither the tick's key events nor the next pad change may wait for it.
// A new text is held until the pad has been quiet for a moment, or at the latest a second
// after the first text that was not drawn. Times are the back end's monotonic milliseconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace padwire {

class HeldText {
 public:
  void hold(std::string text, std::uint64_t now_ms);
  void drop() { text_.reset(); }
  // Milliseconds until the held text is due (0: now); nothing when no text is held.
  std::optional<std::uint64_t> due_in(std::uint64_t now_ms) const;
  // The held text, which is no longer held.
  std::optional<std::string> take();

 private:
  std::optional<std::string> text_;
  std::uint64_t since_ = 0;  // when the first text not drawn came
  std::uint64_t last_ = 0;   // and the last one
};

}  // namespace padwire
