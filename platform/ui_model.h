// Control state as plain data. The core owns it; back ends render it and forward events.
#pragma once

#include <cstdint>
#include <string>

namespace padwire {

struct MenuItem {
  std::string name;     // control name, e.g. "mnuVGS"
  std::string caption;  // "-" for a separator; "&" marks the access key
  bool checked = false;
  bool enabled = true;
  bool is_separator() const { return caption == "-"; }
};

// An RGB colour, or one of the system colours the dialogs use.
struct Colour {
  enum class Kind : std::uint8_t { rgb, button_face, button_text, window_text };
  Kind kind = Kind::rgb;
  std::uint8_t r = 0, g = 0, b = 0;
  static constexpr Colour rgb_of(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Colour{Kind::rgb, red, green, blue};
  }
  static constexpr Colour system(Kind k) { return Colour{k, 0, 0, 0}; }
  friend bool operator==(const Colour&, const Colour&) = default;
};

}  // namespace padwire
