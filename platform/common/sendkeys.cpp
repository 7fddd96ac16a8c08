#include "platform/common/sendkeys.h"

#include <algorithm>
#include <array>

namespace padwire {
namespace {

constexpr std::array<SendKeysNamedKey, 41> kNamedKeys = {{
    {"BACKSPACE", 8}, {"BS", 8},      {"BKSP", 8},         {"BREAK", 3}, {"CAPSLOCK", 20},
    {"DELETE", 46},   {"DEL", 46},    {"DOWN", 40},        {"END", 35},  {"ENTER", 13},
    {"ESC", 27},      {"ESCAPE", 27}, {"HELP", 47},        {"HOME", 36}, {"INSERT", 45},
    {"INS", 45},      {"LEFT", 37},   {"NUMLOCK", 144},    {"PGDN", 34}, {"PGUP", 33},
    {"PRTSC", 44},    {"RIGHT", 39},  {"SCROLLLOCK", 145}, {"TAB", 9},   {"UP", 38},
    {"F1", 112},      {"F2", 113},    {"F3", 114},         {"F4", 115},  {"F5", 116},
    {"F6", 117},      {"F7", 118},    {"F8", 119},         {"F9", 120},  {"F10", 121},
    {"F11", 122},     {"F12", 123},   {"F13", 124},        {"F14", 125}, {"F15", 126},
    {"F16", 127},
}};

constexpr std::uint8_t kVkEnter = 13;
constexpr std::uint8_t kVkTab = 9;
constexpr std::uint8_t kVkSpace = 32;

// The symbols on the shifted digit keys, indexed by digit.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

struct Punctuation {
  char plain;
  char shifted;
  std::uint8_t vk;
};
constexpr std::array<Punctuation, 11> kPunctuation = {{
    {';', ':', 186},
    {'=', '+', 187},
    {',', '<', 188},
    {'-', '_', 189},
    {'.', '>', 190},
    {'/', '?', 191},
    {'`', '~', 192},
    {'[', '{', 219},
    {'\\', '|', 220},
    {']', '}', 221},
    {'\'', '"', 222},
}};

char to_upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool is_blank(char c) {
  return c == ' ' || c == '\t';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_printable(char c) {
  return c >= 0x20 && c < 0x7F;
}

// Modifiers, each at most once, in the order they were pressed.
struct Modifiers {
  std::array<std::uint8_t, 3> vk{};
  std::size_t count = 0;
  std::size_t last_position = 0;  // of the most recent one, for error texts
};

unsigned modifier_bit(std::uint8_t vk) {
  return 1u << (vk - kVkSendKeysShift);
}

unsigned mask_of(const Modifiers& m) {
  unsigned mask = 0;
  for (std::size_t i = 0; i < m.count; ++i) mask |= modifier_bit(m.vk[i]);
  return mask;
}

const char* modifier_name(std::uint8_t vk) {
  switch (vk) {
    case kVkSendKeysShift:
      return "Shift";
    case kVkSendKeysControl:
      return "Ctrl";
    default:
      return "Alt";
  }
}

std::string at(std::size_t position) {
  return " at position " + std::to_string(position + 1);
}

std::string byte_text(char c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto b = static_cast<unsigned char>(c);
  return std::string("byte 0x") + kHex[b >> 4] + kHex[b & 15];
}

class Parser {
 public:
  explicit Parser(std::string_view keys) : keys_(keys) {}

  SendKeysResult run() {
    for (pos_ = 0; pos_ < keys_.size() && error_.empty(); ++pos_) step();
    if (error_.empty() && pending_.count > 0) {
      fail(std::string(modifier_name(pending_.vk[pending_.count - 1])) + " modifier" +
           at(pending_.last_position) + " has no key after it");
    }
    if (error_.empty() && !groups_.empty()) {
      fail("'('" + at(groups_.back().open_position) + " is never closed");
    }
    SendKeysResult result;
    if (error_.empty()) {
      result.strokes = std::move(strokes_);
    } else {
      result.error = std::move(error_);
    }
    return result;
  }

 private:
  struct Group {
    Modifiers modifiers;  // held from the '(' to the ')'
    std::size_t open_position = 0;
    bool has_key = false;
  };

  void step() {
    const char c = keys_[pos_];
    switch (c) {
      case '+':
        return modifier(kVkSendKeysShift);
      case '^':
        return modifier(kVkSendKeysControl);
      case '%':
        return modifier(kVkSendKeysAlt);
      case '(':
        return open_group();
      case ')':
        return close_group();
      case '~':
        return key(kVkEnter, false, 1);
      case '{':
        return braces();
      case '}':
        return fail("'}'" + at(pos_) + " has no matching '{'");
      default:
        return character(c, pos_, 1);
    }
  }

  unsigned held_mask() const { return active_mask_ | mask_of(pending_); }

  void modifier(std::uint8_t vk) {
    if (held_mask() & modifier_bit(vk)) {
      return fail(std::string(modifier_name(vk)) + " modifier" + at(pos_) + " is already held");
    }
    emit(vk, false);
    pending_.vk[pending_.count++] = vk;
    pending_.last_position = pos_;
  }

  void open_group() {
    mark_key();  // the group is the key of any modifier or group around it
    groups_.push_back(Group{pending_, pos_, false});
    active_mask_ |= mask_of(pending_);
    pending_ = Modifiers{};
  }

  void close_group() {
    if (groups_.empty()) return fail("')'" + at(pos_) + " has no matching '('");
    if (pending_.count > 0) {
      return fail(std::string(modifier_name(pending_.vk[pending_.count - 1])) + " modifier" +
                  at(pending_.last_position) + " has no key after it");
    }
    const Group group = groups_.back();
    groups_.pop_back();
    if (group.modifiers.count > 0 && !group.has_key) {
      return fail("the group" + at(group.open_position) + " is empty");
    }
    release(group.modifiers);
    active_mask_ &= ~mask_of(group.modifiers);
  }

  // A brace item: {NAME}, {c}, optionally followed by blanks and a repeat count.
  void braces() {
    const std::size_t open = pos_;
    std::size_t j = open + 1;
    // The first character always belongs to the name, so "{}}" and "{ }" name '}' and space.
    if (j < keys_.size()) ++j;
    while (j < keys_.size() && keys_[j] != '}' && !is_blank(keys_[j])) ++j;
    const std::string_view name = keys_.substr(open + 1, j - (open + 1));

    int repeat = 1;
    if (j < keys_.size() && is_blank(keys_[j])) {
      while (j < keys_.size() && is_blank(keys_[j])) ++j;
      const std::size_t digits = j;
      repeat = 0;
      while (j < keys_.size() && is_digit(keys_[j])) {
        repeat = std::min(repeat * 10 + (keys_[j] - '0'), kMaxSendKeysRepeat + 1);
        ++j;
      }
      if (j < keys_.size() && j == digits) {
        return fail("the repeat count in braces" + at(open) + " is not a number");
      }
      if (repeat > kMaxSendKeysRepeat) {
        return fail("the repeat count in braces" + at(open) + " is above " +
                    std::to_string(kMaxSendKeysRepeat));
      }
    }
    if (j >= keys_.size()) return fail("'{'" + at(open) + " is never closed");
    if (keys_[j] != '}') {
      return fail("unexpected character in braces" + at(j) + ", expected '}'");
    }
    pos_ = j;

    if (name.size() == 1) return character(name[0], open + 1, repeat);
    if (const auto vk = sendkeys_named_key(name)) return key(*vk, false, repeat);
    if (!std::all_of(name.begin(), name.end(), is_printable)) {
      return fail("unknown key name in braces" + at(open));
    }
    constexpr std::size_t kShownName = 32;
    fail("unknown key name {" + std::string(name.substr(0, kShownName)) +
         (name.size() > kShownName ? "...}" : "}") + at(open));
  }

  // A typed character. Under Ctrl or Alt a letter is an accelerator, which is the same whatever
  // its case: "%(E)" is Alt+E and "^C" is Ctrl+C, with no Shift.
  void character(char c, std::size_t position, int repeat) {
    const auto k = us_key_for_char(c);
    if (!k) return fail(byte_text(c) + at(position) + " is not a key on a US keyboard");
    const unsigned ctrl_alt = modifier_bit(kVkSendKeysControl) | modifier_bit(kVkSendKeysAlt);
    const bool letter = c >= 'A' && c <= 'Z';
    key(k->vk, k->shift && !(letter && (held_mask() & ctrl_alt)), repeat);
  }

  // One key, repeated, with the pending modifiers around all repetitions. A character that needs
  // Shift gets it around each repetition unless Shift is already held.
  void key(std::uint8_t vk, bool needs_shift, int repeat) {
    const bool add_shift = needs_shift && !(held_mask() & modifier_bit(kVkSendKeysShift));
    for (int r = 0; r < repeat; ++r) {
      if (add_shift) emit(kVkSendKeysShift, false);
      emit(vk, false);
      emit(vk, true);
      if (add_shift) emit(kVkSendKeysShift, true);
    }
    mark_key();
    release(pending_);
    pending_ = Modifiers{};
  }

  void mark_key() {
    if (!groups_.empty()) groups_.back().has_key = true;
  }

  void release(const Modifiers& m) {
    for (std::size_t i = m.count; i > 0; --i) emit(m.vk[i - 1], true);
  }

  void emit(std::uint8_t vk, bool key_up) {
    if (!error_.empty()) return;
    if (strokes_.size() >= kMaxSendKeysStrokes) {
      return fail("the string produces more than " + std::to_string(kMaxSendKeysStrokes) +
                  " key strokes");
    }
    strokes_.push_back(KeyStroke{vk, key_up});
  }

  void fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
  }

  std::string_view keys_;
  std::size_t pos_ = 0;
  std::vector<KeyStroke> strokes_;
  std::string error_;
  Modifiers pending_;          // pressed, waiting for their key or group
  std::vector<Group> groups_;  // open groups, innermost last
  unsigned active_mask_ = 0;   // modifiers held by the open groups
};

}  // namespace

SendKeysResult parse_sendkeys(std::string_view keys) {
  return Parser(keys).run();
}

std::span<const SendKeysNamedKey> sendkeys_named_keys() {
  return kNamedKeys;
}

std::optional<std::uint8_t> sendkeys_named_key(std::string_view name) {
  for (const SendKeysNamedKey& key : kNamedKeys) {
    if (key.name.size() == name.size() &&
        std::equal(name.begin(), name.end(), key.name.begin(),
                   [](char a, char b) { return to_upper(a) == b; })) {
      return key.vk;
    }
  }
  return std::nullopt;
}

std::optional<UsKey> us_key_for_char(char c) {
  if (c >= 'a' && c <= 'z') return UsKey{static_cast<std::uint8_t>(to_upper(c)), false};
  if (c >= 'A' && c <= 'Z') return UsKey{static_cast<std::uint8_t>(c), true};
  if (is_digit(c)) return UsKey{static_cast<std::uint8_t>(c), false};
  if (c == ' ') return UsKey{kVkSpace, false};
  if (c == '\t') return UsKey{kVkTab, false};
  if (c == '\r' || c == '\n') return UsKey{kVkEnter, false};
  if (const auto digit = kShiftedDigits.find(c); digit != std::string_view::npos) {
    return UsKey{static_cast<std::uint8_t>('0' + digit), true};
  }
  for (const Punctuation& p : kPunctuation) {
    if (c == p.plain) return UsKey{p.vk, false};
    if (c == p.shifted) return UsKey{p.vk, true};
  }
  return std::nullopt;
}

}  // namespace padwire
