#include "shell/text_conversions.h"

#include <algorithm>
#include <limits>

#include "shell/text_rules.h"

namespace padwire {
namespace {

// Every conversion goes through one parser. It accepts, with optional surrounding white space:
//   "True" | "False"                      (any case: -1 and 0, as the runtime's Booleans)
//   [+|-] digits [. digits] [e|E [+|-] digits]   (or a fraction alone: ".5")
//   &H hex-digits | &O octal-digits       (any case)
// and works on the text exactly, without going through a double, so that a long or odd input
// cannot lose precision, overflow or allocate.

// Larger than every range a caller accepts; magnitudes stop growing here.
constexpr std::int64_t kSaturated = 1'000'000'000'000;
// Exponents stop growing here; the position arithmetic below stays far from int64 overflow.
constexpr std::int64_t kExponentCap = 1'000'000'000;
// Numbers whose leading digit has a higher place value overflow the runtime's double.
constexpr std::int64_t kDoubleMaxExponent = 308;

struct Number {
  bool zero = true;
  bool beyond_double = false;
  std::int64_t rounded = 0;  // halves to even; saturated at +-kSaturated
};

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view take_digits(std::string_view& rest) {
  std::size_t n = 0;
  while (n < rest.size() && is_digit(rest[n])) ++n;
  const std::string_view digits = rest.substr(0, n);
  rest.remove_prefix(n);
  return digits;
}

int radix_digit(char c) {
  if (is_digit(c)) return c - '0';
  const char lower = to_lower_ascii(c);
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

// Hexadecimal (shift 4) or octal (shift 3) digits. The runtime reads them as a bit pattern: a value
// that fits in 16 bits is a 16-bit signed integer ("&HFFFF" is -1), one that fits in 32 bits a
// 32-bit signed integer; anything wider overflows.
std::optional<Number> parse_radix(std::string_view digits, int shift) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int d = radix_digit(c);
    if (d < 0 || d >= (1 << shift)) return std::nullopt;
    if (value > (std::uint64_t{0xFFFFFFFF} >> shift)) return std::nullopt;
    value = (value << shift) | static_cast<std::uint64_t>(d);
  }
  Number n;
  n.zero = value == 0;
  n.rounded = value <= 0xFFFF ? static_cast<std::int16_t>(value) : static_cast<std::int32_t>(value);
  return n;
}

// The value of the digits whole.fraction times 10^exponent, rounded to an integer.
Number round_decimal(std::string_view whole, std::string_view fraction, std::int64_t exponent,
                     bool negative) {
  const auto whole_size = static_cast<std::int64_t>(whole.size());
  const std::int64_t count = whole_size + static_cast<std::int64_t>(fraction.size());
  // Digit k (counting over whole, then fraction) has the place value 10^(point - 1 - k).
  const std::int64_t point = whole_size + exponent;

  Number n;
  std::int64_t magnitude = 0;
  int round_digit = 0;  // the first digit after the point
  bool sticky = false;  // any non-zero digit after that one
  for (std::int64_t k = 0; k < count; ++k) {
    const char c = k < whole_size ? whole[static_cast<std::size_t>(k)]
                                  : fraction[static_cast<std::size_t>(k - whole_size)];
    const int d = c - '0';
    if (d != 0 && n.zero) {
      n.zero = false;
      n.beyond_double = point - 1 - k > kDoubleMaxExponent;
    }
    if (k < point) {
      magnitude = std::min(magnitude * 10 + d, kSaturated);
    } else if (k == point) {
      round_digit = d;
    } else if (d != 0) {
      sticky = true;
    }
  }
  // Zeros implied by an exponent that moves the point past the written digits; the loop ends
  // within a few steps because the magnitude is either zero or saturates.
  for (std::int64_t k = count; k < point && magnitude != 0 && magnitude < kSaturated; ++k) {
    magnitude = std::min(magnitude * 10, kSaturated);
  }
  if (round_digit > 5 || (round_digit == 5 && (sticky || magnitude % 2 != 0))) {
    magnitude = std::min(magnitude + 1, kSaturated);
  }
  n.rounded = negative ? -magnitude : magnitude;
  return n;
}

std::optional<Number> parse_decimal(std::string_view rest) {
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  const std::string_view whole = take_digits(rest);
  std::string_view fraction;
  if (!rest.empty() && rest.front() == '.') {
    rest.remove_prefix(1);
    fraction = take_digits(rest);
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;

  std::int64_t exponent = 0;
  if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
    rest.remove_prefix(1);
    bool exponent_negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
      exponent_negative = rest.front() == '-';
      rest.remove_prefix(1);
    }
    const std::string_view digits = take_digits(rest);
    if (digits.empty()) return std::nullopt;
    for (const char c : digits) exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
    if (exponent_negative) exponent = -exponent;
  }
  if (!rest.empty()) return std::nullopt;
  return round_decimal(whole, fraction, exponent, negative);
}

std::optional<Number> parse_number(std::string_view text) {
  text = trim(text);
  if (equal_ignoring_case(text, "true")) return Number{false, false, -1};
  if (equal_ignoring_case(text, "false")) return Number{};
  if (!text.empty() && text.front() == '&') {
    if (text.size() < 2) return std::nullopt;
    const char radix = to_lower_ascii(text[1]);
    if (radix == 'h') return parse_radix(text.substr(2), 4);
    if (radix == 'o') return parse_radix(text.substr(2), 3);
    return std::nullopt;
  }
  return parse_decimal(text);
}

template <typename Int>
std::optional<Int> to_integer(std::string_view text) {
  const std::optional<Number> n = parse_number(text);
  if (!n || n->rounded < std::numeric_limits<Int>::min() ||
      n->rounded > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(n->rounded);
}

}  // namespace

std::optional<bool> text_to_boolean(std::string_view text) {
  const std::optional<Number> n = parse_number(text);
  if (!n || n->beyond_double) return std::nullopt;
  return !n->zero;
}

std::optional<std::int16_t> text_to_int16(std::string_view text) {
  return to_integer<std::int16_t>(text);
}

std::optional<std::uint8_t> text_to_key_code(std::string_view text) {
  return to_integer<std::uint8_t>(text);
}

std::string boolean_to_text(bool value) {
  return value ? "True" : "False";
}

}  // namespace padwire
