#include "platform/sdl/sdl_input.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/sdl/sdl_game_controller.h"

namespace padwire::sdl {

namespace {

// SDL ends a rumble after at most about 65 s; a held one is issued again well before that.
constexpr Uint32 kRumbleMs = 60000;
constexpr Uint64 kRumbleRefreshMs = 20000;
constexpr Uint16 kRumbleStrength = 0x7FFF;  // half of either motor's strength

// One SDL joystick opened once for every device and effect made on it, with our own descriptor
// on its device node (-1 when there is none), and as a game controller once a device reads it
// so. It keeps SDL's joystick part running while it lives.
struct OpenJoystick {
  OpenJoystick(std::shared_ptr<SdlInput::Shared> sdl, SDL_Joystick* opened, SDL_JoystickID id)
      : shared(std::move(sdl)), joystick(opened), instance(id) {
    // SDL_JoystickPath: the evdev (or hidraw) node; a virtual joystick has none.
    if (const char* path = SDL_JoystickPath(joystick); path && *path) {
      fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
  }
  ~OpenJoystick() {
    close_fd();
    if (controller) SDL_GameControllerClose(controller);
    SDL_JoystickClose(joystick);
  }
  OpenJoystick(const OpenJoystick&) = delete;
  OpenJoystick& operator=(const OpenJoystick&) = delete;

  void close_fd() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }

  // Both motors, through the game controller when there is one.
  bool rumble(Uint16 strength, Uint32 ms) {
    return (controller ? SDL_GameControllerRumble(controller, strength, strength, ms)
                       : SDL_JoystickRumble(joystick, strength, strength, ms)) == 0;
  }

  std::shared_ptr<SdlInput::Shared> shared;
  SDL_Joystick* joystick;
  SDL_GameController* controller = nullptr;  // the same joystick read by its named controls
  SDL_JoystickID instance;
  int fd = -1;
  // A held rumble: when it was last issued, at what strength.
  std::optional<Uint64> rumble_issued;
  Uint16 rumble_strength = 0;
};

using JoystickPtr = std::shared_ptr<OpenJoystick>;

// Instance ids as the core carries device ids: "{0000002A-0000-0000-0000-000000000000}".
std::string id_to_text(SDL_JoystickID instance) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08" PRIX32 "-0000-0000-0000-000000000000}",
                static_cast<std::uint32_t>(instance));
  return text;
}

// Accepts exactly the form id_to_text writes, in either case.
std::optional<SDL_JoystickID> id_from_text(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::uint32_t instance = 0;
  if (text.size() != 38 || std::sscanf(text.c_str(), "{%8" SCNx32, &instance) != 1 ||
      instance > 0x7FFFFFFF) {
    return std::nullopt;
  }
  const auto id = static_cast<SDL_JoystickID>(instance);
  if (id_to_text(id) != text) return std::nullopt;  // signs, blanks, other fields
  return id;
}

// SDL's axis (-32768..32767) in the 0..65535 range: rest reads exactly 32768.
std::int32_t axis_value(SDL_Joystick* joystick, int axis) {
  if (axis >= SDL_JoystickNumAxes(joystick)) return kAxisCentre;
  return static_cast<std::int32_t>(SDL_JoystickGetAxis(joystick, axis)) + 32768;
}

// A hat in hundredths of a degree clockwise from up; centred (or pushed two opposite ways at
// once) 0xFFFFFFFF.
std::uint32_t hat_value(Uint8 hat) {
  const int right = ((hat & SDL_HAT_RIGHT) ? 1 : 0) - ((hat & SDL_HAT_LEFT) ? 1 : 0);
  const int down = ((hat & SDL_HAT_DOWN) ? 1 : 0) - ((hat & SDL_HAT_UP) ? 1 : 0);
  // Indexed by (down + 1) * 3 + (right + 1).
  static constexpr std::uint32_t kAngles[9] = {31500, 0,     4500,  27000, 0xFFFFFFFF,
                                               9000,  22500, 18000, 13500};
  return kAngles[(down + 1) * 3 + (right + 1)];
}

// The joystick-2 record: axes 0..5 as X, Y, Z, Rx, Ry, Rz, axes 6 and 7 as the sliders (an axis
// the joystick lacks at rest), hats 0..3 as the points of view, buttons 128 or 0.
JoyState2 read_state(SDL_Joystick* joystick) {
  JoyState2 state;
  std::int32_t* axes[8] = {&state.lX,  &state.lY,  &state.lZ,           &state.lRx,
                           &state.lRy, &state.lRz, &state.rglSlider[0], &state.rglSlider[1]};
  for (int axis = 0; axis < 8; ++axis) *axes[axis] = axis_value(joystick, axis);
  const int hats = SDL_JoystickNumHats(joystick);
  for (int hat = 0; hat < 4; ++hat) {
    state.rgdwPOV[hat] = hat < hats ? hat_value(SDL_JoystickGetHat(joystick, hat)) : 0xFFFFFFFF;
  }
  const int buttons = std::min(SDL_JoystickNumButtons(joystick), 128);
  for (int button = 0; button < buttons; ++button) {
    state.rgbButtons[button] = SDL_JoystickGetButton(joystick, button) ? 128 : 0;
  }
  return state;
}

void issue_rumble(OpenJoystick& open, Uint16 strength) {
  open.rumble_issued = SDL_GetTicks64();
  open.rumble_strength = strength;
}

}  // namespace

struct SdlInput::Shared : std::enable_shared_from_this<Shared> {
  explicit Shared(std::vector<std::string> lines) : mappings(std::move(lines)) {}
  ~Shared() {
    if (started) SDL_QuitSubSystem(kParts);
  }

  bool start() {
    if (started) return true;
    // SDL would otherwise take SIGINT and SIGTERM from the program for its quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The game controller part reads SDL's own mappings and SDL_GAMECONTROLLERCONFIG.
    if (SDL_InitSubSystem(kParts) != 0) return false;
    // Only the arrival and loss of joysticks (and controllers) are queued: the state is read,
    // not queued, and with nobody taking them the queue would fill up and drop the arrivals.
    for (Uint32 type :
         {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN,
          SDL_JOYBUTTONUP, SDL_JOYBATTERYUPDATED, SDL_CONTROLLERAXISMOTION,
          SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLERBUTTONUP, SDL_CONTROLLERTOUCHPADDOWN,
          SDL_CONTROLLERTOUCHPADMOTION, SDL_CONTROLLERTOUCHPADUP, SDL_CONTROLLERSENSORUPDATE}) {
      SDL_EventState(type, SDL_IGNORE);
    }
    add_controller_mappings(mappings);
    started = true;
    return true;
  }

  // The joystick with that instance id, if SDL still reports it: the one open already for
  // another device, else opened now; with `as_controller`, opened as a game controller too
  // (null when SDL cannot read it so).
  JoystickPtr open(SDL_JoystickID instance, bool as_controller) {
    JoystickPtr live = open_joystick(instance);
    if (live && as_controller && !live->controller) {
      live->controller = SDL_GameControllerOpen(index_of(instance));
      if (!live->controller) return nullptr;
    }
    return live;
  }

  static int index_of(SDL_JoystickID instance) {
    int index = 0;
    while (index < SDL_NumJoysticks() && SDL_JoystickGetDeviceInstanceID(index) != instance) {
      ++index;
    }
    return index;
  }

  JoystickPtr open_joystick(SDL_JoystickID instance) {
    const int index = index_of(instance);
    if (index == SDL_NumJoysticks()) return nullptr;
    std::erase_if(opened, [](const std::weak_ptr<OpenJoystick>& weak) { return weak.expired(); });
    for (auto& weak : opened) {
      if (JoystickPtr live = weak.lock(); live && live->instance == instance) {
        // The latest device's joystick is the one whose changes wake the loop.
        std::swap(weak, opened.back());
        return live;
      }
    }
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (!joystick) return nullptr;
    auto live = std::make_shared<OpenJoystick>(shared_from_this(), joystick, instance);
    opened.push_back(live);
    return live;
  }

  JoystickPtr latest() const {
    for (auto it = opened.rbegin(); it != opened.rend(); ++it) {
      if (JoystickPtr live = it->lock()) return live;
    }
    return nullptr;
  }

  // Issues every held rumble again before SDL lets it run out.
  void refresh_rumbles() {
    const Uint64 now = SDL_GetTicks64();
    for (auto& weak : opened) {
      JoystickPtr live = weak.lock();
      if (!live || !live->rumble_issued || now - *live->rumble_issued < kRumbleRefreshMs) continue;
      live->rumble(live->rumble_strength, kRumbleMs);
      issue_rumble(*live, live->rumble_strength);
    }
  }

  static constexpr Uint32 kParts = SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS;
  std::vector<std::string> mappings;  // the user's, added to SDL's at the start
  bool started = false;
  std::vector<std::weak_ptr<OpenJoystick>> opened;  // the most recently used last
  int change_signal = -1;                           // see use_change_signal
};

namespace {

class SdlRumble final : public Rumble {
 public:
  SdlRumble(JoystickPtr open, Uint16 strength) : open_(std::move(open)), strength_(strength) {}
  ~SdlRumble() override {
    if (open_->rumble_issued) stop();
  }
  SdlRumble(const SdlRumble&) = delete;
  SdlRumble& operator=(const SdlRumble&) = delete;

  // Both motors at the rumble's strength until stop().
  bool start() override {
    if (!open_->rumble(strength_, kRumbleMs)) return false;
    issue_rumble(*open_, strength_);
    return true;
  }
  bool stop() override {
    open_->rumble_issued.reset();
    return open_->rumble(0, 0);
  }

 private:
  JoystickPtr open_;
  Uint16 strength_;
};

// A joystick read by number, or a game controller read as the standard pad.
class SdlDevice final : public Controller {
 public:
  SdlDevice(JoystickPtr open, ControllerKind kind) : open_(std::move(open)), kind_(kind) {}

  ControllerKind kind() const override { return kind_; }
  bool acquire() override { return attached(); }
  bool release() override { return true; }
  // Brings every open joystick's state up to date (SDL reads devices in its update).
  bool poll() override {
    SDL_JoystickUpdate();
    open_->shared->refresh_rumbles();
    return attached();
  }
  bool read(ControllerReading& reading) override {
    if (!attached()) return false;
    if (standard()) {
      reading.pad = read_standard_pad(open_->controller);
    } else {
      reading.record = read_state(open_->joystick);
    }
    return true;
  }
  std::optional<int> button_count() override {
    const int buttons = standard() ? -1 : SDL_JoystickNumButtons(open_->joystick);
    if (buttons < 0) return std::nullopt;
    return buttons;
  }
  std::optional<std::string> product_name() override {
    const char* name =
        standard() ? SDL_GameControllerName(open_->controller) : SDL_JoystickName(open_->joystick);
    if (!name) return std::nullopt;
    return std::string(name);
  }
  // Both motors at half strength; null for a joystick without rumble.
  std::unique_ptr<Rumble> create_rumble() override {
    const SDL_bool has = standard() ? SDL_GameControllerHasRumble(open_->controller)
                                    : SDL_JoystickHasRumble(open_->joystick);
    if (!has) return nullptr;
    return std::make_unique<SdlRumble>(open_, kRumbleStrength);
  }
  bool unplugged() override { return !attached(); }

 private:
  // SDL marks a joystick detached for good when it is removed: a returning controller is a
  // new joystick with a new instance id.
  bool attached() {
    if (!unplugged_ && !SDL_JoystickGetAttached(open_->joystick)) unplugged_ = true;
    return !unplugged_;
  }

  bool standard() const { return kind_ == ControllerKind::standard; }

  JoystickPtr open_;
  ControllerKind kind_;
  bool unplugged_ = false;
};

class SdlRoot final : public ControllerList {
 public:
  explicit SdlRoot(std::shared_ptr<SdlInput::Shared> shared) : shared_(std::move(shared)) {}

  // Joysticks in SDL's order of device indexes, the first one first: with `standard_layout`,
  // those SDL knows as game controllers as standard pads, by their mapping's name; the others
  // by number. SDL knows attached joysticks only.
  std::vector<ControllerIdentity> list(bool standard_layout) override {
    std::vector<ControllerIdentity> found;
    SDL_JoystickUpdate();  // takes in joysticks that arrived since the last update
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
      const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
      if (instance < 0) continue;
      ControllerIdentity identity;
      identity.id = id_to_text(instance);
      if (standard_layout && SDL_IsGameController(index)) identity.kind = ControllerKind::standard;
      const char* name = identity.kind == ControllerKind::standard
                             ? SDL_GameControllerNameForIndex(index)
                             : SDL_JoystickNameForIndex(index);
      if (name) identity.name = name;
      identity.vendor = SDL_JoystickGetDeviceVendor(index);
      identity.product = SDL_JoystickGetDeviceProduct(index);
      found.push_back(std::move(identity));
    }
    return found;
  }
  // Nothing to take: SDL shares every joystick among the windows that read it.
  std::unique_ptr<Controller> open(const ControllerIdentity& controller, WindowHandle,
                                   ControllerAccess) override {
    const auto instance = id_from_text(controller.id);
    if (!instance) return nullptr;
    const bool standard = controller.kind == ControllerKind::standard;
    JoystickPtr open = shared_->open(*instance, standard);
    if (!open) return nullptr;
    return std::make_unique<SdlDevice>(std::move(open), controller.kind);
  }

 private:
  std::shared_ptr<SdlInput::Shared> shared_;
};

}  // namespace

SdlInput::SdlInput(std::vector<std::string> mappings)
    : shared_(std::make_shared<Shared>(std::move(mappings))) {}

SdlInput::~SdlInput() = default;

std::unique_ptr<ControllerList> SdlInput::connect() {
  if (!shared_->start()) return nullptr;
  return std::make_unique<SdlRoot>(shared_);
}

bool SdlInput::pump() {
  if (!shared_->started) return false;
  bool added = false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_JOYDEVICEADDED) added = true;
  }
  shared_->refresh_rumbles();
  return added;
}

int SdlInput::change_fd() const {
  const JoystickPtr latest = shared_->latest();
  if (!latest) return -1;
  return latest->fd >= 0 ? latest->fd : shared_->change_signal;
}

void SdlInput::drain_change_fd() {
  const JoystickPtr latest = shared_->latest();
  if (!latest) return;
  const int fd = latest->fd >= 0 ? latest->fd : shared_->change_signal;
  if (fd < 0) return;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    // A device node and an eventfd hand over all they hold that fits: less means no more.
    if (got == static_cast<ssize_t>(sizeof buffer)) continue;
    if (got > 0) return;
    if (got < 0 && errno == EINTR) continue;
    // EAGAIN: nothing more pending. End of file or ENODEV: the node went with its device.
    if (fd == latest->fd && (got == 0 || errno != EAGAIN)) latest->close_fd();
    return;
  }
}

void SdlInput::use_change_signal(int fd) {
  shared_->change_signal = fd;
}

}  // namespace padwire::sdl
