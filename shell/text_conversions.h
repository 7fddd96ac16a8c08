// Conversions of stored text to the values the program keeps, with the acceptance rules of the
// runtime the settings were first written by: a value that was readable then is readable now, and
// one that was rejected then is rejected now. Each conversion returns nothing when it fails, and
// the caller skips the assignment, so the item keeps its previous value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace padwire {

// "True" / "False" in any case, or any numeric text: zero is false, any other number true.
// Numbers too large for a double (beyond about 1e308) fail, as they overflow in the runtime.
std::optional<bool> text_to_boolean(std::string_view text);

// Numeric text rounded to the nearest integer, halves to even, within -32768..32767.
// "True" gives -1 and "False" 0.
std::optional<std::int16_t> text_to_int16(std::string_view text);

// Numeric text rounded like text_to_int16, within 0..255 ("False" gives 0, "True" fails).
std::optional<std::uint8_t> text_to_key_code(std::string_view text);

// The words the store keeps Booleans as.
std::string boolean_to_text(bool value);

}  // namespace padwire
