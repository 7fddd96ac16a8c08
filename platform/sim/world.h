// The simulated world: everything outside the program that a scenario sets up and the
// simulated services read and change.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/controller.h"
#include "platform/keyboard.h"
#include "platform/sim/memory_store.h"
#include "platform/sim/trace.h"
#include "platform/types.h"

namespace padwire::sim {

struct SimController {
  int buttons = 0;
  std::string product_name;
  bool effects = false;
  bool failing = false;  // poll and state reads fail
  bool plugged = true;   // unplugged: not enumerated, and devices made from it fail for good
  int plug_count = 0;    // unplugs so far; a device works only with the pad it was made on
  JoyState2 state;       // what the pad reports now
  // A standard pad: what its controls report now (`state` is then unused), and its ids.
  std::optional<StandardPad> standard;
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  SimController() {
    state.lX = kAxisCentre;
    state.lY = kAxisCentre;
  }
};

// Calls a scenario can make fail on purpose (`fail POINT`, undone by `ok POINT`). A call that
// fails on purpose changes nothing in the world and prints `failed: ` and what it was.
enum class FailPoint {
  store,
  keystate_read,
  keystate_write,
  screenshot,
  activate,
  shellexecute,
  run,
  device_create,
  device_cooperative,
  device_format,
  device_acquire,
  device_objects,
  device_name,
  effect_create,
  effect_start,
  effect_stop,
  login,
  count
};

struct RegistryValue {
  std::string root, sub_key, value_name, data;
};

struct SimWorld {
  Trace trace;

  std::optional<SimController> controller;
  bool directinput_missing = false;
  bool instance_running = false;
  MemoryStore store;
  std::vector<std::string> windows;        // titles of top-level windows, oldest first
  std::set<std::string> refusing_windows;  // of those, the ones the system keeps behind
  std::vector<std::string> files;          // names in the program's folder
  std::vector<RegistryValue> registry;
  std::string app_path = "C:\\Padwire";
  bool starts_at_login = false;  // the system starts this program at login
  LocalTime clock{2000, 12, 31, 23, 59, 59};
  std::uint64_t milliseconds = 0;  // the monotonic clock: only `wait` advances it
  std::deque<float> random_numbers;
  std::map<int, int> scan_codes;  // overrides of the US keyboard table
  int screen_width = 1024;
  int screen_height = 768;
  Point pointer{512, 384};

  std::array<bool, 256> physical_held{};   // keys the scenario holds
  std::array<bool, 256> synthetic_held{};  // keys the program sent down and not yet up
  KeyboardState keyboard_state{};

  bool timer_enabled = true;
  int timer_interval = 1;

  std::array<bool, static_cast<std::size_t>(FailPoint::count)> failing{};
  bool fails(FailPoint point) const { return failing[static_cast<std::size_t>(point)]; }

  // The item the user will choose when the popup menu opens next.
  std::optional<std::size_t> popup_choice;
  bool ended = false;
};

}  // namespace padwire::sim
