#include "platform/sim/sim_platform.h"

#include <algorithm>

#include "platform/common/emulator_record.h"
#include "platform/common/us_scan_codes.h"
#include "shell/text_rules.h"

namespace padwire::sim {

namespace {

bool starts_with_ignoring_case(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         to_lower(text.substr(0, prefix.size())) == to_lower(prefix);
}

// True, after printing `failed: WHAT`, when the scenario makes this call fail.
bool fails_on_purpose(SimWorld& w, FailPoint point, const std::string& what) {
  if (!w.fails(point)) return false;
  w.trace.line("failed: " + what);
  return true;
}

class SimEffect final : public Rumble {
 public:
  explicit SimEffect(SimWorld& w) : w_(w) {}
  bool start() override {
    if (fails_on_purpose(w_, FailPoint::effect_start, "effect start")) return false;
    w_.trace.line("effect start");
    return true;
  }
  bool stop() override {
    if (fails_on_purpose(w_, FailPoint::effect_stop, "effect stop")) return false;
    w_.trace.line("effect stop");
    return true;
  }

 private:
  SimWorld& w_;
};

// A standard pad read by number, as a common driver numbers an Xbox pad: buttons 0 south,
// 1 east, 2 west, 3 north, 4 and 5 the shoulders, 6 back, 7 start, 8 guide, 9 and 10 the stick
// clicks; the left stick on X and Y, the triggers on Z and Rz, the right stick on Rx and Ry,
// the D-pad as hat 0.
JoyState2 by_number(const StandardPad& pad) {
  using B = StandardPad;
  JoyState2 record;
  constexpr B::Button kOrder[] = {B::south,         B::east,           B::west,       B::north,
                                  B::left_shoulder, B::right_shoulder, B::back,       B::start,
                                  B::guide,         B::left_stick,     B::right_stick};
  for (std::size_t i = 0; i < std::size(kOrder); ++i) {
    record.rgbButtons[i] = pad.held(kOrder[i]) ? 128 : 0;
  }
  record.lX = pad.left_x;
  record.lY = pad.left_y;
  record.lZ = pad.left_trigger;
  record.lRx = pad.right_x;
  record.lRy = pad.right_y;
  record.lRz = pad.right_trigger;
  const int right = (pad.held(B::dpad_right) ? 1 : 0) - (pad.held(B::dpad_left) ? 1 : 0);
  const int down = (pad.held(B::dpad_down) ? 1 : 0) - (pad.held(B::dpad_up) ? 1 : 0);
  static constexpr std::uint32_t kAngles[9] = {31500, 0,     4500,  27000, 0xFFFFFFFF,
                                               9000,  22500, 18000, 13500};
  record.rgdwPOV[0] = kAngles[(down + 1) * 3 + (right + 1)];
  for (int hat = 1; hat < 4; ++hat) record.rgdwPOV[hat] = 0xFFFFFFFF;
  return record;
}

// An open controller on the world's pad; it fails once the pad is gone. Unplugging the pad
// kills it for good: plugging the pad in again brings back the pad, not this object. It reads
// only while taken: after a failed acquire, polls and reads fail until one works.
class SimDevice final : public Controller {
 public:
  SimDevice(SimWorld& w, ControllerKind kind)
      : w_(w), plug_count_(w.controller->plug_count), kind_(kind) {}
  // The steps of taking the pad, as open() runs them; a step that fails is skipped.
  void take() {
    if (present()) fails_on_purpose(w_, FailPoint::device_cooperative, "device cooperative");
    if (present()) fails_on_purpose(w_, FailPoint::device_format, "device format");
    acquire();
  }
  ControllerKind kind() const override { return kind_; }
  bool acquire() override {
    if (present() && fails_on_purpose(w_, FailPoint::device_acquire, "device acquire")) {
      return false;
    }
    w_.trace.line("device acquire");
    acquired_ = usable();
    return acquired_;
  }
  bool release() override {
    w_.trace.line("device unacquire");
    acquired_ = false;
    return present();
  }
  bool poll() override { return usable() && acquired_ && !w_.controller->failing; }
  bool read(ControllerReading& reading) override {
    if (!usable() || !acquired_ || w_.controller->failing) return false;
    const SimController& pad = *w_.controller;
    if (kind_ == ControllerKind::standard) {
      reading.pad = *pad.standard;
    } else {
      reading.record = pad.standard ? by_number(*pad.standard) : pad.state;
    }
    return true;
  }
  bool unplugged() override { return unplugged_; }
  std::optional<int> button_count() override {
    if (!present()) return std::nullopt;
    if (fails_on_purpose(w_, FailPoint::device_objects, "device objects")) return std::nullopt;
    return w_.controller->buttons;
  }
  std::optional<std::string> product_name() override {
    if (!present() || fails_on_purpose(w_, FailPoint::device_name, "device name")) {
      return std::nullopt;
    }
    return w_.controller->product_name;
  }
  std::unique_ptr<Rumble> create_rumble() override {
    if (!present() || !w_.controller->effects) return nullptr;
    if (fails_on_purpose(w_, FailPoint::effect_create, "effect create")) return nullptr;
    w_.trace.line("effect create");
    return std::make_unique<SimEffect>(w_);
  }

 private:
  bool present() const {
    return w_.controller && w_.controller->plugged && w_.controller->plug_count == plug_count_;
  }
  // The calls that report an unplugged pad (acquire, poll, read) remember it.
  bool usable() {
    if (w_.controller && !present()) unplugged_ = true;
    return present();
  }
  SimWorld& w_;
  int plug_count_;
  ControllerKind kind_;
  bool unplugged_ = false;
  bool acquired_ = false;
};

class SimControllerList final : public ControllerList {
 public:
  explicit SimControllerList(SimWorld& w) : w_(w) {}
  // A standard pad is listed as one with the standard layout, else by number.
  std::vector<ControllerIdentity> list(bool standard_layout) override {
    if (!w_.controller || !w_.controller->plugged) return {};
    ControllerIdentity pad;
    pad.id = "{6F1D2B60-D5A0-11CF-BFC7-444553540000}";
    pad.name = w_.controller->product_name;
    pad.vendor = w_.controller->vendor;
    pad.product = w_.controller->product;
    if (standard_layout && w_.controller->standard) pad.kind = ControllerKind::standard;
    return {pad};
  }
  std::unique_ptr<Controller> open(const ControllerIdentity& controller, WindowHandle,
                                   ControllerAccess) override {
    if (!w_.controller || !w_.controller->plugged) return nullptr;
    if (fails_on_purpose(w_, FailPoint::device_create, "device create")) return nullptr;
    const bool standard =
        controller.kind == ControllerKind::standard && w_.controller->standard.has_value();
    auto device = std::make_unique<SimDevice>(
        w_, standard ? ControllerKind::standard : ControllerKind::by_number);
    device->take();
    return device;
  }

 private:
  SimWorld& w_;
};

// The show commands of the Windows calls each launch makes, as the trace prints them.
constexpr int kShowNormal = 1;
constexpr int kShowMinimizedFocus = 2;
constexpr const char* kControllerPanel = "rundll32 shell32,Control_RunDLL joy.cpl";

}  // namespace

std::string recorded_emulator(const SimWorld& world) {
  for (const RegistryValue& v : world.registry) {
    if (v.root == "HKLM" && equal_ignoring_case(v.sub_key, kEmulatorRecordKey) &&
        equal_ignoring_case(v.value_name, kEmulatorRecordValue)) {
      // Text that does not fit the reader's buffer with its NUL reads as absent.
      return v.data.size() < kEmulatorRecordBuffer ? v.data : std::string();
    }
  }
  return {};
}

struct SimPlatform::Services final : ControllerService,
                                     Keyboard,
                                     Keystrokes,
                                     Mouse,
                                     Tray,
                                     SettingsStore,
                                     Desktop,
                                     Screenshot,
                                     Clock,
                                     Random,
                                     TimerService,
                                     Views {
  explicit Services(SimWorld& world) : w(world) {}
  SimWorld& w;

  // ControllerService
  std::unique_ptr<ControllerList> connect() override {
    if (w.directinput_missing) return nullptr;
    return std::make_unique<SimControllerList>(w);
  }

  // Keyboard
  void key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t) override {
    w.trace.line("keybd " + std::to_string(vk) + " " + std::to_string(scan) + " " +
                 std::to_string(flags));
    w.synthetic_held[vk] = (flags & kKeyEventKeyUp) == 0;
  }
  std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type) override {
    if (map_type != 0 || code > 255) return 0;
    const auto over = w.scan_codes.find(static_cast<int>(code));
    if (over != w.scan_codes.end()) return static_cast<std::uint32_t>(over->second);
    return static_cast<std::uint32_t>(us_scan_code(static_cast<int>(code)));
  }
  std::int16_t async_key_state(int vk) override {
    if (vk < 0 || vk > 255) return 0;
    const auto i = static_cast<std::size_t>(vk);
    return (w.physical_held[i] || w.synthetic_held[i]) ? std::int16_t{-32768} : std::int16_t{0};
  }
  bool get_keyboard_state(KeyboardState& state) override {
    if (fails_on_purpose(w, FailPoint::keystate_read, "keystate read")) return false;
    state = w.keyboard_state;
    return true;
  }
  bool set_keyboard_state(const KeyboardState& state) override {
    const bool fail = w.fails(FailPoint::keystate_write);
    for (std::size_t i = 0; i < state.size(); ++i) {
      if (state[i] != w.keyboard_state[i]) {
        w.trace.line(std::string(fail ? "failed: " : "") + "keystate " + std::to_string(i) + " " +
                     std::to_string(state[i]));
      }
    }
    if (fail) return false;
    w.keyboard_state = state;
    return true;
  }

  // Keystrokes
  bool send_keys(const std::string& keys, bool) override {
    w.trace.line("sendkeys " + quote(keys));
    return true;
  }

  // Mouse
  bool get_cursor_pos(Point& position) override {
    position = w.pointer;
    return true;
  }
  bool set_cursor_pos(std::int32_t x, std::int32_t y) override {
    w.trace.line("cursor " + std::to_string(x) + " " + std::to_string(y));
    w.pointer.x = std::clamp(x, 0, std::max(0, w.screen_width - 1));
    w.pointer.y = std::clamp(y, 0, std::max(0, w.screen_height - 1));
    return true;
  }
  void mouse_event(std::uint32_t flags, std::int32_t, std::int32_t, std::uint32_t,
                   std::uintptr_t) override {
    w.trace.line("mouse " + std::to_string(flags));
  }

  // Tray
  bool show(const std::string& tip) override {
    w.trace.line("tray add " + quote(tip));
    return true;
  }
  bool remove() override {
    w.trace.line("tray delete");
    return true;
  }
  std::optional<std::size_t> track_popup(std::span<const MenuItem* const> items) override {
    w.trace.line("popup");
    const auto choice = w.popup_choice;
    w.popup_choice.reset();
    if (!choice || *choice >= items.size()) return std::nullopt;
    const MenuItem& item = *items[*choice];
    if (item.is_separator()) {
      w.trace.line("ignored: " + item.name + " is a separator");
      return std::nullopt;
    }
    if (!item.enabled) {
      w.trace.line("ignored: " + item.name + " is disabled");
      return std::nullopt;
    }
    return choice;
  }
  float twips_per_pixel_x() override { return 15.0f; }

  // SettingsStore
  std::string get(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& fallback) override {
    const std::string* value = w.store.find(app, section, key);
    return value ? *value : fallback;
  }
  bool save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override {
    const std::string line = "store " + quote(section) + " " + quote(key) + " " + quote(value);
    if (fails_on_purpose(w, FailPoint::store, line)) return false;
    w.trace.line(line);
    w.store.put(app, section, key, value);
    return true;
  }

  // Desktop
  bool previous_instance() override { return w.instance_running; }
  void end_program() override {
    w.trace.line("end");
    w.ended = true;
  }
  std::string app_path() override { return w.app_path; }
  bool launch_emulator(const std::string& file, const std::string& folder) override {
    return shell_execute("", file, folder);
  }
  bool launch_installed_emulator() override {
    const std::string location = recorded_emulator(w);
    return !location.empty() && run(location, kShowNormal);
  }
  bool open_address(const std::string& address) override {
    return shell_execute("Open", address, "");
  }
  bool open_controller_panel() override { return run(kControllerPanel, kShowMinimizedFocus); }
  bool shell_execute(const std::string& verb, const std::string& file,
                     const std::string& directory) {
    const std::string line = "shellexecute " + quote(verb) + " " + quote(file) + " \"\" " +
                             quote(directory) + " " + std::to_string(kShowNormal);
    if (fails_on_purpose(w, FailPoint::shellexecute, line)) return false;
    w.trace.line(line);
    return true;
  }
  bool run(const std::string& command_line, int window_style) {
    const std::string line = "run " + quote(command_line) + " " + std::to_string(window_style);
    if (fails_on_purpose(w, FailPoint::run, line)) return false;
    w.trace.line(line);
    return true;
  }
  std::string find_first_file(const std::string& pattern) override {
    const auto slash = pattern.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash);
    const std::string name_pattern =
        slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    std::string app = w.app_path;
    while (!app.empty() && app.back() == '\\') app.pop_back();
    std::string wanted = folder;
    while (!wanted.empty() && wanted.back() == '\\') wanted.pop_back();
    if (!equal_ignoring_case(app, wanted)) return {};
    for (const std::string& file : w.files) {
      if (wildcard_match(file, name_pattern)) return file;
    }
    return {};
  }
  Activation activate_window(const std::string& title) override {
    // A call that fails tells the program nothing more than that no window came forward.
    if (fails_on_purpose(w, FailPoint::activate, "activate " + quote(title))) {
      return Activation::kNotFound;
    }
    const std::string* target = nullptr;
    for (const std::string& t : w.windows) {
      if (!target && equal_ignoring_case(t, title)) target = &t;
    }
    for (const std::string& t : w.windows) {
      if (!target && starts_with_ignoring_case(t, title)) target = &t;
    }
    if (title.empty()) target = nullptr;
    if (target && w.refusing_windows.contains(*target)) {
      w.trace.line("activate " + quote(title) + " refused");
      return Activation::kRefused;
    }
    w.trace.line("activate " + quote(title) + (target ? " ok" : " fail"));
    return target ? Activation::kActivated : Activation::kNotFound;
  }
  void beep() override { w.trace.line("beep"); }
  void message_box(const std::string& text, Severity, const std::string& title) override {
    w.trace.line("msgbox " + quote(text) + " " + quote(title));
  }
  bool start_at_login() override { return w.starts_at_login; }
  bool set_start_at_login(bool start) override {
    const std::string line = start ? "login on" : "login off";
    if (fails_on_purpose(w, FailPoint::login, line)) return false;
    w.trace.line(line);
    w.starts_at_login = start;
    return true;
  }

  // Screenshot
  bool save_jpeg(const std::string& path, int) override {
    if (fails_on_purpose(w, FailPoint::screenshot, "screenshot " + quote(path))) return false;
    w.trace.line("screenshot " + quote(path));
    return true;
  }

  // Clock and Random
  LocalTime now() override { return w.clock; }
  std::uint64_t milliseconds() override { return w.milliseconds; }
  void seed(double) override {}
  float next() override {
    if (w.random_numbers.empty()) return 0.5f;
    const float r = w.random_numbers.front();
    w.random_numbers.pop_front();
    return r;
  }

  // TimerService
  void set_enabled(bool enabled) override {
    w.trace.line(enabled ? "timer on" : "timer off");
    w.timer_enabled = enabled;
  }
  void set_interval(int milliseconds) override {
    w.trace.line("timer interval " + std::to_string(milliseconds));
    w.timer_interval = milliseconds;
  }

  // Views
  WindowHandle main_window() override { return 1; }
  WindowHandle window_of(View view) override { return 2 + static_cast<WindowHandle>(view); }
  void show(View, const std::string& caption) override {
    w.trace.line("window show " + quote(caption));
  }
  void bring_to_front(View) override {}
  void close(View, const std::string& caption) override {
    w.trace.line("window close " + quote(caption));
  }
  void show_debug_text(const std::string& text) override { w.trace.line("debug " + quote(text)); }
};

SimPlatform::SimPlatform(SimWorld& world)
    : world_(world), services_(std::make_unique<Services>(world)) {
  Services& s = *services_;
  platform_ = std::make_unique<Platform>(Platform{s, s, s, s, s, s, s, s, s, s, s, s});
}

SimPlatform::~SimPlatform() = default;

}  // namespace padwire::sim
