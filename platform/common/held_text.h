// The debug window's text while it is open: drawing takes milliseconds (under Wine, and on a
// busy X server), and neither the tick's key events nor the next pad change may wait for it.
// A new text is held until the pad has been quiet for a moment, or at the latest a second
// after the first text that was not drawn. Times are the back end's monotonic milliseconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The part of a shown text that a new text replaces: the characters [start, shown_end) of the
// shown text give way to [start, wanted_end) of the new one; everything before `start` and after
// the ends is the same in both. Nothing when the texts are equal. A text box that replaces just
// this part redraws one line of the debug window's dump instead of all of them. Positions count
// the text's own units (UTF-16 units for a Qt text).
struct TextChange {
  std::size_t start = 0;
  std::size_t shown_end = 0;
  std::size_t wanted_end = 0;
  friend bool operator==(const TextChange&, const TextChange&) = default;
};
std::optional<TextChange> changed_span(std::wstring_view shown, std::wstring_view wanted);
std::optional<TextChange> changed_span(std::u16string_view shown, std::u16string_view wanted);

}  // namespace padwire
