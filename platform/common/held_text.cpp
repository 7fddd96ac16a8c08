#include "platform/common/held_text.h"

#include <algorithm>
#include <utility>

namespace padwire {

namespace {
constexpr std::uint64_t kQuietMs = 50;
constexpr std::uint64_t kLatestMs = 1000;

template <typename Char>
std::optional<TextChange> span_between(std::basic_string_view<Char> shown,
                                       std::basic_string_view<Char> wanted) {
  if (shown == wanted) return std::nullopt;
  const std::size_t shorter = std::min(shown.size(), wanted.size());
  std::size_t start = 0;
  while (start < shorter && shown[start] == wanted[start]) ++start;
  // The common end may not reach into the common start ("aa" to "aaa" adds one "a" at the end).
  std::size_t end = 0;
  while (end < shorter - start &&
         shown[shown.size() - 1 - end] == wanted[wanted.size() - 1 - end]) {
    ++end;
  }
  TextChange change{start, shown.size() - end, wanted.size() - end};
  if constexpr (sizeof(Char) == 2) {
    // UTF-16: the part never begins or ends inside a surrogate pair, a character goes whole.
    const auto low_at = [](std::basic_string_view<Char> text, std::size_t at) {
      return at < text.size() && text[at] >= 0xDC00 && text[at] <= 0xDFFF;
    };
    if (change.start > 0 && (low_at(shown, change.start) || low_at(wanted, change.start))) {
      --change.start;
    }
    if (low_at(shown, change.shown_end)) {
      ++change.shown_end;
      ++change.wanted_end;
    }
  }
  return change;
}

}  // namespace

void HeldText::hold(std::string text, std::uint64_t now_ms) {
  last_ = now_ms;
  if (!text_) since_ = now_ms;
  text_ = std::move(text);
}

std::optional<std::uint64_t> HeldText::due_in(std::uint64_t now_ms) const {
  if (!text_) return std::nullopt;
  const std::uint64_t due = std::min(last_ + kQuietMs, since_ + kLatestMs);
  return due > now_ms ? due - now_ms : 0;
}

std::optional<std::string> HeldText::take() {
  std::optional<std::string> text = std::move(text_);
  text_.reset();
  return text;
}

std::optional<TextChange> changed_span(std::wstring_view shown, std::wstring_view wanted) {
  return span_between(shown, wanted);
}

std::optional<TextChange> changed_span(std::u16string_view shown, std::u16string_view wanted) {
  return span_between(shown, wanted);
}

}  // namespace padwire
