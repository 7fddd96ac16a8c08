// Keystroke strings in the published SendKeys syntax, turned into the key strokes a back end sends
// when the system has no SendKeys of its own.
//
//   + ^ %       Shift, Ctrl, Alt held around the next key or parenthesised group: "+(ab)"
//   ~           Enter
//   {NAME}      a named key (see sendkeys_named_keys), any case; {NAME n} repeats it n times
//   {c} {c n}   the character c, which escapes the specials: {+} {^} {%} {~} {(} {)} {{} {}}
//   other       a character typed on a US keyboard layout; capitals and shifted symbols add Shift,
//               except that a letter under Ctrl or Alt is an accelerator and never adds it
//
// Tab, carriage return and line feed stand for the Tab and Enter keys. Square brackets have no
// special meaning and may appear bare or in braces.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace padwire {

struct KeyStroke {
  std::uint8_t vk = 0;  // Windows virtual-key code
  bool key_up = false;
  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

struct SendKeysResult {
  std::vector<KeyStroke> strokes;  // empty whenever error is set
  std::string error;               // empty when the string parsed
  bool ok() const { return error.empty(); }
};

// Limits that keep any input string cheap: a repeat count above kMaxSendKeysRepeat, or a string
// producing more than kMaxSendKeysStrokes strokes, is an error.
inline constexpr int kMaxSendKeysRepeat = 255;
inline constexpr std::size_t kMaxSendKeysStrokes = 16384;

// Modifier keys as pressed around keys and groups.
inline constexpr std::uint8_t kVkSendKeysShift = 16;
inline constexpr std::uint8_t kVkSendKeysControl = 17;
inline constexpr std::uint8_t kVkSendKeysAlt = 18;

// Strokes in the order they must be sent: each modifier goes down before its key or group and up
// after it, in reverse order of pressing.
SendKeysResult parse_sendkeys(std::string_view keys);

struct SendKeysNamedKey {
  std::string_view name;  // upper case, as written in braces
  std::uint8_t vk;
};

// Every name the parser accepts in braces, with its virtual-key code.
std::span<const SendKeysNamedKey> sendkeys_named_keys();

// The virtual-key code of a brace name in any case, or nothing for an unknown name.
std::optional<std::uint8_t> sendkeys_named_key(std::string_view name);

// The key that types an ASCII character on a US layout, and whether it needs Shift.
struct UsKey {
  std::uint8_t vk;
  bool shift;
};
std::optional<UsKey> us_key_for_char(char c);

}  // namespace padwire
