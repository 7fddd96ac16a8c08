// Rules for names and text that the core and the back ends share: names compared without regard
// to case as Windows compares them in the registry and the file system (ASCII letters only, so
// every back end agrees), file name patterns, and UTF-8 decoding.
#pragma once

#include <optional>
#include <string_view>

namespace padwire {

char to_lower_ascii(char c);
bool equal_ignoring_case(std::string_view a, std::string_view b);
// The order in which Windows lists a folder: names compared with their letters in upper case.
bool less_ignoring_case(std::string_view a, std::string_view b);

// A name against a pattern in which * stands for any run of characters and ? for any one,
// without regard to case.
bool wildcard_match(std::string_view name, std::string_view pattern);

// Decodes the UTF-8 sequence at `i` (< size) and moves past it; nothing (and `i` unchanged) for
// a malformed, overlong, cut-short or surrogate sequence.
std::optional<char32_t> next_code_point(std::string_view text, std::size_t& i);

}  // namespace padwire
