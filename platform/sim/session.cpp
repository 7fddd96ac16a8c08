// The scenario runner's commands: the world, the program's inputs and the queries.
#include "platform/sim/session.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace padwire::sim {

Session::Session() : sim_(world_) {
  add_world_commands();
  add_input_commands();
  add_queries();
  add_force_feedback_commands(*this);
  add_config_commands(*this);
  add_fail_commands(*this);
}

Session::~Session() = default;

void Session::add_command(const std::string& name, CommandHandler handler) {
  commands_[name] = std::move(handler);
}

void Session::add_query(const std::string& name, CommandHandler handler) {
  queries_[name] = std::move(handler);
}

void Session::run(const Scenario& scenario) {
  for (const Command& command : scenario.commands) run_command(command);
}

void Session::run_command(const Command& command) {
  if (command.words.empty()) return;
  const std::string& name = command.words[0].text;
  if (command.words[0].quoted) throw ScenarioError(command.line, "a command must be a bare word");
  if (name == "show") {
    expect_words(command, 2, 2);
    const auto q = queries_.find(arg(command, 1));
    if (q == queries_.end()) throw ScenarioError(command.line, "unknown query: " + arg(command, 1));
    q->second(*this, command);
    return;
  }
  const auto h = commands_.find(name);
  if (h == commands_.end()) throw ScenarioError(command.line, "unknown command: " + name);
  h->second(*this, command);
}

FormPadwire& Session::form(const Command& command) {
  if (!forms_) throw ScenarioError(command.line, "the program has not started");
  return forms_->main;
}

FormForceFeedback& Session::force_feedback(const Command& command) {
  form(command);
  return forms_->force_feedback;
}

FormJoyConfig& Session::joy_config(const Command& command) {
  form(command);
  return forms_->joy_config;
}

void Session::choose_menu_item(const Command& c, const std::string& name) {
  FormPadwire& f = form(c);
  const auto items = f.menu.items();
  std::size_t index = items.size();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i]->name == name) index = i;
  }
  if (index == items.size()) throw ScenarioError(c.line, "no menu item named " + name);
  if (ignored_after_end()) return;
  world_.popup_choice = index;
  f.Form_MouseMove(0, 0, static_cast<float>(kWmRButtonUp) * 15.0f, 0);
  world_.popup_choice.reset();
}

bool Session::ignored_after_end() {
  if (!world_.ended) return false;
  print("ignored: the program has ended");
  return true;
}

void Session::start(bool at_login) {
  forms_ = std::make_unique<Forms>(platform());
  forms_->main.Form_Load(at_login);
}

namespace {

JoyState2& pad_state(Session& s, const Command& c) {
  if (!s.world().controller) throw ScenarioError(c.line, "no controller is installed");
  return s.world().controller->state;
}

// The record of a controller read by number, which `pad x ...` and `pad set` change.
JoyState2& pad_record(Session& s, const Command& c) {
  JoyState2& state = pad_state(s, c);
  if (s.world().controller->standard) {
    throw ScenarioError(c.line, "a standard controller is set with pad standard");
  }
  return state;
}

// The members of the joystick-2 record that `pad set` may change, by published name.
std::int32_t* pad_member(JoyState2& st, const std::string& name) {
  struct Member {
    const char* name;
    std::int32_t JoyState2::*field;
  };
  static const Member members[] = {
      {"lX", &JoyState2::lX},     {"lY", &JoyState2::lY},     {"lZ", &JoyState2::lZ},
      {"lRx", &JoyState2::lRx},   {"lRy", &JoyState2::lRy},   {"lRz", &JoyState2::lRz},
      {"lVX", &JoyState2::lVX},   {"lVY", &JoyState2::lVY},   {"lVZ", &JoyState2::lVZ},
      {"lVRx", &JoyState2::lVRx}, {"lVRy", &JoyState2::lVRy}, {"lVRz", &JoyState2::lVRz},
      {"lAX", &JoyState2::lAX},   {"lAY", &JoyState2::lAY},   {"lAZ", &JoyState2::lAZ},
      {"lARx", &JoyState2::lARx}, {"lARy", &JoyState2::lARy}, {"lARz", &JoyState2::lARz},
      {"lFX", &JoyState2::lFX},   {"lFY", &JoyState2::lFY},   {"lFZ", &JoyState2::lFZ},
      {"lFRx", &JoyState2::lFRx}, {"lFRy", &JoyState2::lFRy}, {"lFRz", &JoyState2::lFRz},
  };
  for (const Member& m : members) {
    if (name == m.name) return &(st.*m.field);
  }
  struct Array {
    const char* prefix;
    std::int32_t* data;
    int size;
  };
  const Array arrays[] = {
      {"rglSlider", st.rglSlider, 2},
      {"rglVSlider", st.rglVSlider, 2},
      {"rglASlider", st.rglASlider, 2},
      {"rglFSlider", st.rglFSlider, 2},
      {"rgdwPOV", reinterpret_cast<std::int32_t*>(st.rgdwPOV), 4},
  };
  for (const Array& a : arrays) {
    const std::string prefix = a.prefix;
    if (name.size() == prefix.size() + 1 && name.compare(0, prefix.size(), prefix) == 0) {
      const int index = name.back() - '0';
      if (index >= 0 && index < a.size) return a.data + index;
    }
  }
  return nullptr;
}

LocalTime parse_clock(const Command& c) {
  expect_words(c, 3, 3);
  LocalTime t;
  char tail = 0;
  if (std::sscanf(arg(c, 1).c_str(), "%4d-%2d-%2d%c", &t.year, &t.month, &t.day, &tail) != 3 ||
      std::sscanf(arg(c, 2).c_str(), "%2d:%2d:%2d%c", &t.hour, &t.minute, &t.second, &tail) != 3 ||
      t.year < 100 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 ||
      t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) {
    throw ScenarioError(c.line, "clock wants YYYY-MM-DD HH:MM:SS");
  }
  return t;
}

}  // namespace

void Session::add_world_commands() {
  add_command("controller", [](Session& s, const Command& c) {
    if (c.words.size() == 2 && arg(c, 1) == "none") {
      s.world().controller.reset();
      return;
    }
    if (c.words.size() >= 2 && arg(c, 1) == "standard") {
      install_standard_controller(s, c);
      return;
    }
    expect_words(c, 5, 6);
    if (arg(c, 1) != "buttons" || arg(c, 3) != "name") {
      throw ScenarioError(c.line, "controller wants: buttons N name \"Product\" [effects]");
    }
    SimController pad;
    pad.buttons = static_cast<int>(number_arg(c, 2, 0, 128));
    pad.product_name = arg(c, 4);
    if (c.words.size() == 6) {
      if (arg(c, 5) != "effects") throw ScenarioError(c.line, "unknown word: " + arg(c, 5));
      pad.effects = true;
    }
    s.world().controller = pad;
  });
  add_command("directinput", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    if (arg(c, 1) == "missing")
      s.world().directinput_missing = true;
    else if (arg(c, 1) == "present")
      s.world().directinput_missing = false;
    else
      throw ScenarioError(c.line, "directinput wants missing or present");
  });
  add_command("instance", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    if (arg(c, 1) != "running") throw ScenarioError(c.line, "instance wants running");
    s.world().instance_running = true;
  });
  add_command("store", [](Session& s, const Command& c) {
    expect_words(c, 4, 4);
    s.world().store.put("Padwire", arg(c, 1), arg(c, 2), arg(c, 3));
  });
  add_command("window", [](Session& s, const Command& c) {
    auto& windows = s.world().windows;
    if (c.words.size() == 3 && arg(c, 1) == "gone" && !c.words[1].quoted) {
      const auto it = std::find(windows.begin(), windows.end(), arg(c, 2));
      if (it == windows.end()) throw ScenarioError(c.line, "no window titled " + arg(c, 2));
      windows.erase(it);
      s.world().refusing_windows.erase(arg(c, 2));
      return;
    }
    // `window refuses "Title"`: the window exists, but the system keeps it from the front.
    if (c.words.size() == 3 && arg(c, 1) == "refuses" && !c.words[1].quoted) {
      windows.push_back(arg(c, 2));
      s.world().refusing_windows.insert(arg(c, 2));
      return;
    }
    expect_words(c, 2, 2);
    windows.push_back(arg(c, 1));
  });
  add_command("file", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    s.world().files.push_back(arg(c, 1));
  });
  add_command("registry", [](Session& s, const Command& c) {
    expect_words(c, 5, 5);
    if (arg(c, 1) != "HKLM" && arg(c, 1) != "HKCU") {
      throw ScenarioError(c.line, "registry root must be HKLM or HKCU");
    }
    auto& values = s.world().registry;
    // A value written again replaces the earlier one, as names are matched without case.
    std::erase_if(values, [&](const RegistryValue& v) {
      return v.root == arg(c, 1) && to_lower(v.sub_key) == to_lower(arg(c, 2)) &&
             to_lower(v.value_name) == to_lower(arg(c, 3));
    });
    values.push_back({arg(c, 1), arg(c, 2), arg(c, 3), arg(c, 4)});
  });
  // `login on|off`: whether the system starts this program when the user logs in.
  add_command("login", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    if (arg(c, 1) != "on" && arg(c, 1) != "off")
      throw ScenarioError(c.line, "login wants on or off");
    s.world().starts_at_login = arg(c, 1) == "on";
  });
  add_command("apppath", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    s.world().app_path = arg(c, 1);
  });
  add_command("clock", [](Session& s, const Command& c) { s.world().clock = parse_clock(c); });
  // `ignore KIND`: from here on, trace lines of that kind are neither printed nor compared.
  add_command("ignore", [](Session& s, const Command& c) {
    static const char* const kinds[] = {
        "keybd",  "mouse",  "cursor",   "sendkeys",     "keystate", "store",      "tray",
        "timer",  "popup",  "activate", "shellexecute", "run",      "screenshot", "beep",
        "msgbox", "effect", "device",   "debug",        "window",   "login"};
    expect_words(c, 2, 2);
    if (std::find(std::begin(kinds), std::end(kinds), arg(c, 1)) == std::end(kinds)) {
      throw ScenarioError(c.line, "ignore wants a kind of trace line: " + arg(c, 1));
    }
    s.world().trace.ignore(arg(c, 1));
  });
  add_command("random", [](Session& s, const Command& c) {
    if (c.words.size() < 2) throw ScenarioError(c.line, "random wants at least one number");
    std::deque<float> numbers;
    for (std::size_t i = 1; i < c.words.size(); ++i) {
      const std::string& text = arg(c, i);
      char* end = nullptr;
      const double r = std::strtod(text.c_str(), &end);
      if (end == text.c_str() || *end != '\0' || !(r >= 0.0 && r < 1.0)) {
        throw ScenarioError(c.line, "a random number must be at least 0 and below 1: " + text);
      }
      numbers.push_back(static_cast<float>(r));
    }
    s.world().random_numbers = std::move(numbers);
  });
  add_command("scan", [](Session& s, const Command& c) {
    expect_words(c, 3, 3);
    s.world().scan_codes[static_cast<int>(number_arg(c, 1, 0, 255))] =
        static_cast<int>(number_arg(c, 2, 0, 255));
  });
  add_command("screen", [](Session& s, const Command& c) {
    expect_words(c, 3, 3);
    s.world().screen_width = static_cast<int>(number_arg(c, 1, 1, 100000));
    s.world().screen_height = static_cast<int>(number_arg(c, 2, 1, 100000));
  });
  add_command("pointer", [](Session& s, const Command& c) {
    expect_words(c, 3, 3);
    s.world().pointer = {static_cast<std::int32_t>(number_arg(c, 1, -100000, 100000)),
                         static_cast<std::int32_t>(number_arg(c, 2, -100000, 100000))};
  });
}

void Session::add_input_commands() {
  // `start login`: the system starts the program as the user logs in (--login).
  add_command("start", [](Session& s, const Command& c) {
    expect_words(c, 1, 2);
    if (c.words.size() == 2 && arg(c, 1) != "login")
      throw ScenarioError(c.line, "start wants login");
    if (s.started()) throw ScenarioError(c.line, "the program has already started");
    s.start(c.words.size() == 2);
  });
  add_command("pad", [](Session& s, const Command& c) {
    if (c.words.size() == 2 && (arg(c, 1) == "fail" || arg(c, 1) == "ok")) {
      pad_state(s, c);
      s.world().controller->failing = arg(c, 1) == "fail";
      return;
    }
    if (c.words.size() == 2 && (arg(c, 1) == "unplug" || arg(c, 1) == "plug")) {
      pad_state(s, c);
      SimController& pad = *s.world().controller;
      const bool plug = arg(c, 1) == "plug";
      if (pad.plugged == plug) {
        throw ScenarioError(c.line, plug ? "the pad is plugged in" : "the pad is unplugged");
      }
      pad.plugged = plug;
      if (!plug) ++pad.plug_count;
      return;
    }
    if (c.words.size() >= 2 && arg(c, 1) == "standard") {
      set_standard_pad(s, c);
      return;
    }
    if (c.words.size() >= 2 && arg(c, 1) == "set") {
      expect_words(c, 4, 4);
      JoyState2& st = pad_record(s, c);
      std::int32_t* member = pad_member(st, arg(c, 2));
      if (!member) throw ScenarioError(c.line, "unknown state member: " + arg(c, 2));
      const bool pov = arg(c, 2).rfind("rgdwPOV", 0) == 0;
      const long value = number_arg(c, 3, -2147483648L, pov ? 4294967295L : 2147483647L);
      *member = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
      return;
    }
    if (c.words.size() != 5 && c.words.size() != 7) {
      throw ScenarioError(
          c.line, "pad wants: x X y Y [buttons B,B,...], set, standard, fail, ok, unplug or plug");
    }
    if (arg(c, 1) != "x" || arg(c, 3) != "y" || (c.words.size() == 7 && arg(c, 5) != "buttons")) {
      throw ScenarioError(c.line, "pad wants: x X y Y [buttons B,B,...]");
    }
    JoyState2& st = pad_record(s, c);
    const long x = number_arg(c, 2, -2147483648L, 2147483647L);
    const long y = number_arg(c, 4, -2147483648L, 2147483647L);
    std::uint8_t buttons[128] = {};
    if (c.words.size() == 7) {
      std::stringstream list(arg(c, 6));
      std::string item;
      while (std::getline(list, item, ',')) {
        const long b = parse_number(c, item, 0, 127);
        if (b >= s.world().controller->buttons) {
          throw ScenarioError(c.line, "the controller has no button " + item);
        }
        buttons[b] = 128;
      }
    }
    st.lX = static_cast<std::int32_t>(x);
    st.lY = static_cast<std::int32_t>(y);
    std::copy(std::begin(buttons), std::end(buttons), st.rgbButtons);
  });
  add_command("hold", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    s.world().physical_held[static_cast<std::size_t>(key_arg(c, 1, 0, 255))] = true;
  });
  add_command("release", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    s.world().physical_held[static_cast<std::size_t>(key_arg(c, 1, 0, 255))] = false;
  });
  add_command("tick", [](Session& s, const Command& c) {
    expect_words(c, 1, 2);
    const long n = c.words.size() == 2 ? number_arg(c, 1, 1, 1000000) : 1;
    FormPadwire& f = s.form(c);
    for (long i = 0; i < n; ++i) {
      if (s.ignored_after_end()) return;
      if (!s.world().timer_enabled) {
        s.print("tick skipped");
        continue;
      }
      f.engine.Timer1_Timer();
    }
  });
  add_command("wait", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    s.world().milliseconds += static_cast<std::uint64_t>(number_arg(c, 1, 0, 86400000));
  });
  add_command("devicechange", [](Session& s, const Command& c) {
    expect_words(c, 1, 1);
    FormPadwire& f = s.form(c);
    if (s.ignored_after_end()) return;
    f.look_for_controller();
  });
  add_command("tray", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    const long message = number_arg(c, 1, 0, 65535);
    FormPadwire& f = s.form(c);
    if (s.ignored_after_end()) return;
    f.Form_MouseMove(0, 0, static_cast<float>(message) * 15.0f, 0);
  });
  add_command("menu", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    s.choose_menu_item(c, arg(c, 1));
  });
  add_command("exit", [](Session& s, const Command& c) {
    expect_words(c, 1, 1);
    s.choose_menu_item(c, "mnuExit");
  });
  add_command("debug", [](Session& s, const Command& c) {
    expect_words(c, 2, 2);
    if (arg(c, 1) != "close") throw ScenarioError(c.line, "debug wants close");
    FormPadwire& f = s.form(c);
    if (s.ignored_after_end()) return;
    if (!f.engine.Form1.loaded) {
      s.print("ignored: the debug window is not open");
      return;
    }
    f.engine.debug_window_closed();
  });
}

void Session::add_queries() {
  add_query("keys", [](Session& s, const Command& c) {
    const KeyCodes& k = s.form(c).engine.keys;
    static const char* const names[kPadButtonCount] = {
        "X", "Y", "Z", "A", "B", "C", "Up", "Down", "Left", "Right", "Start", "L", "R", "M"};
    std::string line = "keys";
    for (int i = 0; i < kPadButtonCount; ++i) {
      line += std::string(" ") + names[i] + "=" + std::to_string(pad_key(k, i));
    }
    line += " Esc=" + std::to_string(k.KeyDefEscape);
    s.print(line);
  });
  add_query("menu", [](Session& s, const Command& c) {
    for (const MenuItem* item : s.form(c).menu.items()) {
      std::string line = "menu " + item->name + " " + quote(item->caption);
      if (item->checked) line += " checked";
      if (!item->enabled) line += " disabled";
      s.print(line);
    }
  });
  add_query("store", [](Session& s, const Command&) {
    for (const auto& e : s.world().store.sorted("Padwire")) {
      s.print("store " + quote(e.section) + " " + quote(e.key) + " " + quote(e.value));
    }
  });
  add_query("timer", [](Session& s, const Command& c) {
    const Timer& t = s.form(c).engine.Timer1;
    s.print(std::string("timer ") + (t.enabled() ? "on" : "off") + " interval " +
            std::to_string(t.interval()));
  });
  add_query("flags", [](Session& s, const Command& c) {
    const PadEngine& e = s.form(c).engine;
    auto bit = [](bool b) { return b ? "1" : "0"; };
    s.print(std::string("flags autofire=") + bit(e.AutoFireOn) +
            " mouse=" + bit(e.memory().MouseMode) + " hold=" + bit(e.memory().HoldNextRelease) +
            " select=" + bit(e.SelectOnM) + " logitech=" + bit(e.Logitech) +
            " rumble=" + std::to_string(e.RumbleType));
  });
}

}  // namespace padwire::sim
