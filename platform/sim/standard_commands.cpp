// Scenario commands of a standard controller (a pad with named controls, as Xbox, PlayStation,
// Switch and 8BitDo pads are read):
//
//   controller standard name "Xbox Pad" [vendor N product N] [effects]
//       installs one; with the standard layout the program reads it as a standard pad, else
//       by number (11 buttons: south, east, west, north, the shoulders, back, start, guide,
//       the stick clicks; the left stick on X and Y, the triggers on Z and Rz, the right stick
//       on Rx and Ry, the D-pad as hat 0). It starts at rest.
//   pad standard [CONTROLS] [lx N] [ly N] [rx N] [ry N] [lt N] [rt N]
//       what the pad reports from now on: CONTROLS held (comma-separated: south, east, west,
//       north, left_shoulder, right_shoulder, back, start, guide, left_stick, right_stick,
//       dpad_up, dpad_down, dpad_left, dpad_right), the sticks (0 to 65535, 32768 centred) and
//       the triggers (0 free to 65535); what is not named is at rest.
#include <sstream>

#include "platform/sim/session.h"

namespace padwire::sim {

namespace {

constexpr const char* kControlNames[StandardPad::button_count] = {
    "south",          "east",    "west",      "north",     "left_shoulder",
    "right_shoulder", "back",    "start",     "guide",     "left_stick",
    "right_stick",    "dpad_up", "dpad_down", "dpad_left", "dpad_right"};

StandardPad::Button control_named(const Command& c, const std::string& name) {
  for (int b = 0; b < StandardPad::button_count; ++b) {
    if (name == kControlNames[b]) return static_cast<StandardPad::Button>(b);
  }
  throw ScenarioError(c.line, "a standard pad has no control " + name);
}

std::int32_t* axis_named(StandardPad& pad, const std::string& name) {
  const std::pair<const char*, std::int32_t*> axes[] = {
      {"lx", &pad.left_x},  {"ly", &pad.left_y},       {"rx", &pad.right_x},
      {"ry", &pad.right_y}, {"lt", &pad.left_trigger}, {"rt", &pad.right_trigger}};
  for (const auto& [axis_name, member] : axes) {
    if (name == axis_name) return member;
  }
  return nullptr;
}

}  // namespace

void install_standard_controller(Session& s, const Command& c) {
  const std::size_t n = c.words.size();
  const bool ids = n >= 8 && arg(c, 4) == "vendor" && arg(c, 6) == "product";
  const std::size_t effects_at = ids ? 8 : 4;
  if (n < 4 || arg(c, 2) != "name" || n > effects_at + 1 ||
      (n == effects_at + 1 && arg(c, effects_at) != "effects")) {
    throw ScenarioError(
        c.line, "controller standard wants: name \"Product\" [vendor N product N] [effects]");
  }
  SimController pad;
  pad.buttons = 11;
  pad.product_name = arg(c, 3);
  pad.standard = StandardPad{};
  if (ids) {
    pad.vendor = static_cast<std::uint16_t>(number_arg(c, 5, 0, 65535));
    pad.product = static_cast<std::uint16_t>(number_arg(c, 7, 0, 65535));
  }
  pad.effects = n == effects_at + 1;
  s.world().controller = pad;
}

void set_standard_pad(Session& s, const Command& c) {
  auto& controller = s.world().controller;
  if (!controller || !controller->standard) {
    throw ScenarioError(c.line, "no standard controller is installed");
  }
  StandardPad pad;
  bool controls_named = false;
  for (std::size_t i = 2; i < c.words.size(); ++i) {
    if (std::int32_t* axis = axis_named(pad, arg(c, i))) {
      if (i + 1 == c.words.size()) throw ScenarioError(c.line, arg(c, i) + " wants a number");
      *axis = static_cast<std::int32_t>(number_arg(c, ++i, 0, 65535));
    } else if (!controls_named) {
      controls_named = true;
      std::stringstream list(arg(c, i));
      std::string name;
      while (std::getline(list, name, ',')) pad.buttons[control_named(c, name)] = true;
    } else {
      throw ScenarioError(c.line, "unknown word: " + arg(c, i));
    }
  }
  *controller->standard = pad;
}

}  // namespace padwire::sim
