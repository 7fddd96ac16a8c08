// The soak test: the program on the simulated platform through many ticks of random pad states,
// menu choices, profile changes, dialog use and controllers that are lost and come back. After
// every step it checks that the engine's memories stay in range and that no key event goes out
// for a pad button whose state did not change; every so often it lets the pad rest and checks
// that every key the pad pressed has come up again.
//
// PADWIRE_SOAK_TICKS sets the number of ticks (default 1000000), PADWIRE_SOAK_SEED the seed
// (default: a fresh one, printed, so that a failing run can be replayed).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/session.h"

namespace padwire::sim {
namespace {

constexpr int kSoakButtons = 16;  // more than the engine translates, so buttons 13 to 15 idle
constexpr std::size_t kRecentCommands = 60;

struct KeyEvent {
  int vk = 0;
  bool up = false;
};

std::uint64_t env_number(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  return std::strtoull(text, nullptr, 10);
}

// The controller-button key table of the button loop.
std::uint8_t key_of_button(const KeyCodes& k, int button) {
  static constexpr std::uint8_t KeyCodes::*table[] = {
      &KeyCodes::JoyButtonA,  &KeyCodes::JoyButtonB,  &KeyCodes::JoyButtonC,
      &KeyCodes::JoyButtonX,  &KeyCodes::JoyButtonY,  &KeyCodes::JoyButtonZ,
      &KeyCodes::JoyTriggerL, &KeyCodes::JoyTriggerR, &KeyCodes::JoyStart};
  return button < 9 ? k.*table[button] : k.JoySelect;
}

// -1 below the centre, 0 at it, 1 above.
int side(std::int32_t axis) {
  return axis < kAxisCentre ? -1 : axis > kAxisCentre ? 1 : 0;
}

bool is_bool(const bool& b) {
  unsigned char byte = 0;
  std::memcpy(&byte, &b, 1);
  return byte <= 1;
}

class Soak {
 public:
  explicit Soak(std::uint64_t seed) : random_(seed) {}

  void run(std::uint64_t ticks) {
    for (const char* setup : {"ignore debug", "controller buttons 16 name \"Soak Pad\" effects",
                              "window \"Connectix Virtual Game Station\"", "start"}) {
      command(setup);
    }
    std::uint64_t since_rest = 0;
    while (ticks_ < ticks && !failed_) {
      random_step();
      if (++since_rest >= 2000) {
        rest();
        since_rest = 0;
      }
    }
    if (failed_) return;
    rest();
    command("exit");
    for (int vk = 0; vk < 256; ++vk) {
      if (world().synthetic_held[static_cast<std::size_t>(vk)]) {
        fail("key " + std::to_string(vk) + " down after Exit");
      }
    }
    if (engine().memory().MouseButtonDown[0] || engine().memory().MouseButtonDown[1]) {
      fail("a mouse button down after Exit");
    }
  }

  bool failed() const { return failed_; }

 private:
  SimWorld& world() { return session_.world(); }
  PadEngine& engine() { return form().engine; }
  FormPadwire& form() { return session_.form(Command{}); }
  FormJoyConfig& dialog() { return session_.joy_config(Command{}); }

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

  // Runs one scenario command and returns the key events it sent.
  std::vector<KeyEvent> command(const std::string& text) {
    remember(text);
    try {
      session_.run_command(Command{0, split_words(text, 0)});
    } catch (const ScenarioError& e) {
      fail(std::string("scenario error: ") + e.what());
    }
    std::vector<KeyEvent> events;
    for (const std::string& line : world().trace.lines()) {
      remember("  > " + line);
      if (line.rfind("keybd ", 0) != 0) continue;
      std::istringstream in(line.substr(6));
      int vk = 0, scan = 0;
      unsigned flags = 0;
      in >> vk >> scan >> flags;
      events.push_back({vk, (flags & kKeyEventKeyUp) != 0});
    }
    world().trace.clear();
    check_ranges();
    return events;
  }

  // The last commands and what they printed, for the report of a failure.
  void remember(std::string line) {
    recent_.push_back(std::move(line));
    if (recent_.size() > kRecentCommands) recent_.pop_front();
  }

  void fail(const std::string& what) {
    if (failed_) return;
    failed_ = true;
    std::string report = what + "\nafter " + std::to_string(ticks_) +
                         " ticks; the last commands (> what they printed):";
    for (const std::string& c : recent_) report += "\n  " + c;
    ADD_FAILURE() << report;
  }

  // The engine's edge memories are Booleans and its counters and indices stay in their ranges.
  void check_ranges() {
    if (!session_.started() || world().ended) return;
    const PadEngine& e = engine();
    const TickMemory& m = e.memory();
    const bool memories_sound =
        std::all_of(m.DirectionDown.begin(), m.DirectionDown.end(), is_bool) &&
        std::all_of(m.ButtonDown.begin(), m.ButtonDown.end(), is_bool) &&
        std::all_of(m.MouseButtonDown.begin(), m.MouseButtonDown.end(), is_bool);
    if (!memories_sound) fail("an edge memory holds a byte that is not a Boolean");
    if (e.LastButtonIndex < -1) fail("LastButtonIndex below -1");
    if (m.RepeatCount < 0 || m.RepeatCount > 13) fail("RepeatCount out of range");
    if (m.StressButton < 0 || m.StressButton >= kTrackedButtons) fail("StressButton out of range");
    if (m.StressCount < 0 || m.StressCount > 81) fail("StressCount out of range");
    if (e.RumbleType < 0 || e.RumbleType > 3) fail("RumbleType out of range");
    const FormJoyConfig& d = dialog();
    if (d.LastButtonIndex < -1) fail("the dialog's LastButtonIndex below -1");
    if (d.cmbName.ListIndex < -1 ||
        d.cmbName.ListIndex >= static_cast<int>(d.cmbName.entries.size())) {
      fail("the key-set list's index out of range");
    }
  }

  void random_step() {
    const int what = pick(1000);
    if (what < 250) {
      random_pad();
    } else if (what < 900) {
      tick();
    } else if (what < 925) {
      random_key();
    } else if (what < 950) {
      random_menu();
    } else if (what < 970) {
      random_dialog();
    } else {
      random_controller();
    }
  }

  void random_pad() {
    auto axis = [&] {
      static constexpr int values[] = {0, 65535, 32767, 32769, 12000, 50000};
      return pick(2) == 0 ? kAxisCentre : values[pick(6)];
    };
    std::string buttons;
    for (int b = 0; b < kSoakButtons; ++b) {
      if (!chance(b == 9 ? 0.08 : 0.12)) continue;
      buttons += (buttons.empty() ? "" : ",") + std::to_string(b);
    }
    command("pad x " + std::to_string(axis()) + " y " + std::to_string(axis()) +
            (buttons.empty() ? "" : " buttons " + buttons));
  }

  void random_key() {
    static const char* const keys[] = {"Tab", "Ctrl", "PrintScreen", "Shift"};
    const std::string key = keys[pick(4)];
    command((chance(0.5) ? "hold " : "release ") + key);
  }

  void random_menu() {
    static const char* const items[] = {
        "mnuEnabled", "mnuSelect",         "mnuAutoFire", "mnuLogitech", "mnuAutodetectProfile",
        "mnuSwapLR",  "mnuDOSApplication", "mnuSNES9X",   "mnuVGS",      "mnuCustom",
        "mnuAbout"};
    if (chance(0.1)) {
      command("tray 515");  // emulator detection: the profile again, and the emulator
    } else if (chance(0.05)) {
      command("debug close");
    } else {
      command(std::string("menu ") + items[pick(11)]);
    }
  }

  void random_dialog() {
    if (!dialog().loaded() && chance(0.2)) {
      command("ff open");
      if (chance(0.5)) command("ff option " + std::to_string(pick(4)));
      command("ff ok");
      return;
    }
    if (!dialog().loaded()) {
      command("config open");
      return;
    }
    // Key codes a user may give a pad button. Tab is left out, since a pad button that holds
    // Tab stops every tick while "Allow Auto-Fire" is checked, its own release included; Ctrl
    // too, so that the key hold depends on the user's Ctrl alone.
    static const char* const codes[] = {"65", "90", "13", "32", "37", "40", "16", "44", "187", "0"};
    switch (pick(7)) {
      case 0:
        command("config click " + std::to_string(pick(kPadButtonCount)));
        break;
      case 1:
        command(std::string("config key ") + codes[pick(10)]);
        break;
      case 2:
        command("config tick " + std::to_string(1 + pick(3)));
        break;
      case 3:
        command("config text \"Set " + std::to_string(pick(3)) + "\"");
        break;
      case 4:
        command("config save");
        break;
      case 5:
        command("config pick " +
                std::to_string(pick(static_cast<int>(dialog().cmbName.entries.size()))));
        break;
      default:
        command("config close");
        break;
    }
  }

  void random_controller() {
    SimController& pad = *world().controller;
    switch (pick(6)) {
      case 0:
        command(pad.failing ? "pad ok" : "pad fail");
        break;
      case 1:
        command("wait " + std::to_string(50 + pick(300)));
        break;
      case 2:
        command(pad.plugged ? "pad unplug" : "pad plug");
        break;
      case 3:
        command("devicechange");
        break;
      case 4:
        command(std::string(chance(0.5) ? "fail " : "ok ") +
                (chance(0.5) ? "effect start" : "store"));
        break;
      default:
        command(std::string(chance(0.5) ? "fail " : "ok ") + "keystate write");
        break;
    }
  }

  // One tick, and the check of its key events against the pad states the engine read.
  void tick() {
    ++ticks_;
    PadEngine& e = engine();
    const TickMemory& m = e.memory();
    const bool open_before = form().controller_open();
    const bool timer_on = world().timer_enabled;
    const bool mouse_mode = m.MouseMode;
    const bool tab_stops = form().menu.mnuAutoFire.checked &&
                           (session_.platform().keyboard.async_key_state(kVkTab) & 0x8000);
    const KeyCodes keys = e.keys;
    const bool auto_fire = e.AutoFireOn;
    const bool select_on_m = e.SelectOnM;
    // The key hold withholds the first release of the button loop. Ctrl is only ever held by
    // the user here (no pad button is given its key), so whether it holds is known before.
    const bool hold =
        m.HoldNextRelease || (session_.platform().keyboard.async_key_state(kVkControl) & 0x8000);
    const auto counted = m.ButtonDown;
    const std::set<int> kept = kept_keys();
    const auto events = command("tick");
    if (world().ended) return;

    std::set<int> allowed;
    released_ = false;
    const bool dropped = open_before && !form().controller_open();
    const JoyState2& now = m.PadState;
    if (timer_on && !mouse_mode && !tab_stops) {
      // The directions: a change of an axis's side lets both of its keys go down or up.
      const std::array<std::uint8_t, 4> direction_keys = {keys.JoyLeft, keys.JoyRight, keys.JoyUp,
                                                          keys.JoyDown};
      const int sides[2] = {side(now.lX), side(now.lY)};
      for (int axis = 0; axis < 2; ++axis) {
        for (int d = 2 * axis; d < 2 * axis + 2; ++d) {
          const bool active = sides[axis] == (d % 2 == 0 ? -1 : 1);
          if (active && !direction_counted_[d]) direction_key_[d] = direction_keys[d];
          if (sides[axis] == 0)
            direction_counted_[d] = false;
          else if (active)
            direction_counted_[d] = true;
          if (sides[axis] != last_side_[axis]) {
            allowed.insert(direction_keys[d]);
            allowed.insert(direction_key_[d]);
          }
        }
        if (sides[axis] != last_side_[axis] && last_side_[axis] != 0) released_ = true;
        last_side_[axis] = sides[axis];
      }
      if (!select_on_m && now.rgbButtons[kButtonM]) {
        // The combinations: Escape, Select, and Alt + Tab.
        allowed.insert({keys.KeyDefEscape, keys.JoySelect, kVkAlt, kVkTab});
        allowed.insert(combination_select_.begin(), combination_select_.end());
        allowed.insert(button_key_[kButtonM]);  // M may have gone down as Select
        combination_select_.insert(keys.JoySelect);
        // Clearing a combination with Start up is a release of M's Select.
        if (counted[kButtonM] && !now.rgbButtons[kButtonStart]) {
          release_kept(kButtonM, keys, false);
          released_ = true;
        }
      } else {
        button_loop_events(keys, auto_fire, hold, counted, allowed);
      }
    }
    for (const KeyEvent& ev : events) {
      if (!ev.up) pad_keys_.insert(ev.vk);
      if (allowed.contains(ev.vk)) continue;
      // Key-ups are looser: a release lets go of every key its button went down with, under
      // earlier key sets too, and of what the key hold kept down (also the key another button
      // with the same key let go of already); a controller gone for good lets go of everything.
      if (ev.up && (dropped || kept.contains(ev.vk) || (released_ && pad_keys_.contains(ev.vk)))) {
        continue;
      }
      fail("key " + std::to_string(ev.vk) + (ev.up ? " up" : " down") +
           " for a pad button whose state did not change");
    }
    if (dropped) {
      // A controller gone for good reads as one at rest.
      last_side_ = {0, 0};
      direction_counted_.fill(false);
      button_seen_.fill(false);
      for (auto& keys_kept : kept_) keys_kept.clear();
      pad_keys_.clear();
    }
  }

  // `hold`: the key hold withholds this tick's first release; `counted`: the buttons the engine
  // counted as pressed before the tick, whose release it handles.
  void button_loop_events(const KeyCodes& keys, bool auto_fire, bool hold,
                          const std::array<bool, kTrackedButtons>& counted,
                          std::set<int>& allowed) {
    const PadEngine& e = engine();
    const TickMemory& m = e.memory();
    // The first button loop after combinations may let go of the Select they pressed.
    const bool after_combination = !combination_select_.empty();
    if (after_combination) {
      allowed.insert(keys.JoySelect);
      allowed.insert(combination_select_.begin(), combination_select_.end());
    }
    const int last = last_tracked_button(e.LastButtonIndex);
    for (int i = 0; i <= last; ++i) {
      const bool held = m.PadState.rgbButtons[i] != 0;
      const auto index = static_cast<std::size_t>(i);
      if (held && auto_fire && i <= 7) allowed.insert(key_of_button(keys, i));
      if (held != button_seen_[index]) {
        if (held) button_key_[index] = key_of_button(keys, i);
        allowed.insert(key_of_button(keys, i));
        allowed.insert(button_key_[index]);
      }
      if (button_seen_[index] && !held) released_ = true;
      if (counted[index] && !held) {
        released_ = true;
        // A release lets go of what an earlier hold kept down at this button; a withheld one
        // keeps its own key down instead.
        const bool withheld = hold;
        hold = false;
        release_kept(i, keys, withheld);
      }
      button_seen_[index] = held;
    }
    combination_select_.clear();
  }

  // Button i's release lets go of what an earlier hold kept down at it; a release the hold
  // withholds keeps one of the keys the button went down with. Whether the engine really lets
  // go of them is checked when the pad rests.
  void release_kept(int i, const KeyCodes& keys, bool withheld) {
    auto& kept = kept_[static_cast<std::size_t>(i)];
    kept.clear();
    if (withheld) kept.insert({button_key_[static_cast<std::size_t>(i)], key_of_button(keys, i)});
  }

  // Lets the pad rest with every window closed and translation on, then checks that every key
  // that went down has come up, but for those the key hold keeps down.
  void rest() {
    if (dialog().loaded()) command("config close");
    command("ff ok");
    for (const char* key : {"Tab", "Ctrl", "PrintScreen"}) command(std::string("release ") + key);
    command("pad ok");
    if (!world().controller->plugged) command("pad plug");
    command("devicechange");
    if (!world().timer_enabled) command("menu mnuEnabled");
    if (engine().memory().MouseMode) {
      command("pad x 32768 y 32768 buttons 8");  // any button but A and B ends mouse mode
      tick();
    }
    command("pad x 32768 y 32768");
    for (int i = 0; i < 3; ++i) tick();
    const std::set<int> kept = kept_keys();
    for (int vk = 0; vk < 256; ++vk) {
      if (world().synthetic_held[static_cast<std::size_t>(vk)] && !kept.contains(vk)) {
        fail("key " + std::to_string(vk) + " still down with the pad at rest");
      }
    }
  }

  Session session_;
  std::mt19937_64 random_;
  std::deque<std::string> recent_;
  std::uint64_t ticks_ = 0;
  bool failed_ = false;

  // What the engine last acted on: each axis's side, each direction and button as counted,
  // the key each went down with, and the keys the key hold keeps down.
  std::array<int, 2> last_side_{};
  std::array<bool, 4> direction_counted_{};
  std::array<std::uint8_t, 4> direction_key_{};
  std::array<bool, kTrackedButtons> button_seen_{};
  std::array<std::uint8_t, kTrackedButtons> button_key_{};
  std::set<int> combination_select_;
  std::set<int> pad_keys_;  // every key the pad sent down since the controller was last lost
  bool released_ = false;  // the tick being checked released a button or direction  // JoySelect as
                           // the combinations saw it
  std::array<std::set<int>, kTrackedButtons> kept_;  // by button, the keys its holds kept down

  std::set<int> kept_keys() const {
    std::set<int> all;
    for (const auto& keys : kept_) all.insert(keys.begin(), keys.end());
    return all;
  }
};

TEST(Soak, RandomUseKeepsTheEngineSound) {
  const std::uint64_t seed = env_number("PADWIRE_SOAK_SEED", std::random_device{}());
  const std::uint64_t ticks = env_number("PADWIRE_SOAK_TICKS", 1000000);
  std::cout << "soak: " << ticks << " ticks, PADWIRE_SOAK_SEED=" << seed << std::endl;
  Soak soak(seed);
  soak.run(ticks);
  EXPECT_FALSE(soak.failed()) << "replay with PADWIRE_SOAK_SEED=" << seed;
}

}  // namespace
}  // namespace padwire::sim
