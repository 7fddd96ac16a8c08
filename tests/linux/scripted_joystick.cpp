#include "scripted_joystick.h"

#include <SDL.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <iterator>
#include <sstream>

namespace padwire::sdl {

namespace {

struct PadKind {
  const char* word;  // after "plug"
  const char* name;
  bool controller;  // SDL_JOYSTICK_TYPE_GAMECONTROLLER, else of no known type
  int axes, buttons, hats;
  Uint16 vendor, product;
  int triggers[2];  // the axes that rest at the bottom of their range; -1 none
};

// By ScriptedPad. SDL maps the Xbox pad by its ids, as the kernel's driver presents a real one;
// the PlayStation pad gets SDL's own mapping of a virtual game controller, the order in which
// SDL's driver for such pads presents a real one.
constexpr PadKind kPads[] = {
    {"", "Padwire scripted joystick", false, 6, 12, 1, 0, 0, {-1, -1}},
    {"xbox", "Xbox 360 Controller", true, 6, 11, 1, 0x045E, 0x028E, {2, 5}},
    {"playstation", "PS4 Controller", true, 6, 15, 0, 0x054C, 0x09CC, {4, 5}},
    {"unmapped", "Unmapped pad", false, 6, 12, 1, 0x1209, 0x5057, {-1, -1}},
};

std::int64_t monotonic_ns() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

SDL_Joystick* as_joystick(void* joystick) {
  return static_cast<SDL_Joystick*>(joystick);
}

int rumble(void* userdata, Uint16 low, Uint16 high) {
  auto& self = *static_cast<ScriptedJoystick*>(userdata);
  // SDL keeps the duration to itself and ends a rumble by sending zero.
  if (self.on_rumble) self.on_rumble(low, high, 0);
  return 0;
}

}  // namespace

ScriptedJoystick::ScriptedJoystick() : signal_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

ScriptedJoystick::~ScriptedJoystick() {
  detach();
  if (started_sdl_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  if (signal_ >= 0) ::close(signal_);
}

bool ScriptedJoystick::attach(ScriptedPad pad) {
  if (joystick_) return true;
  if (!started_sdl_) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    started_sdl_ = true;
  }
  const PadKind& kind = kPads[static_cast<int>(pad)];
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = static_cast<Uint16>(kind.controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER
                                                  : SDL_JOYSTICK_TYPE_UNKNOWN);
  desc.naxes = static_cast<Uint16>(kind.axes);
  desc.nbuttons = static_cast<Uint16>(kind.buttons);
  desc.nhats = static_cast<Uint16>(kind.hats);
  desc.vendor_id = kind.vendor;
  desc.product_id = kind.product;
  desc.name = kind.name;
  desc.userdata = this;
  desc.Rumble = rumble;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) return false;
  joystick_ = SDL_JoystickOpen(index);
  if (!joystick_) {
    SDL_JoystickDetachVirtual(index);
    return false;
  }
  pad_ = pad;
  // At rest; SDL itself takes the last two axes of a game controller for its triggers.
  for (int axis = 0; axis < kind.axes; ++axis) {
    const bool trigger = axis == kind.triggers[0] || axis == kind.triggers[1];
    SDL_JoystickSetVirtualAxis(as_joystick(joystick_), axis, trigger ? SDL_JOYSTICK_AXIS_MIN : 0);
  }
  return true;
}

void ScriptedJoystick::detach() {
  if (!joystick_) return;
  const SDL_JoystickID instance = SDL_JoystickInstanceID(as_joystick(joystick_));
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
  }
  SDL_JoystickClose(as_joystick(joystick_));
  joystick_ = nullptr;
}

bool ScriptedJoystick::apply(const std::string& line, std::string& error) {
  if (!apply_line(line, error)) return false;
  changed_ns_ = monotonic_ns();
  // Adds one to the counter; a write that fails (a full counter) leaves it readable anyway.
  const std::uint64_t one = 1;
  if (signal_ >= 0) {
    [[maybe_unused]] const ssize_t written = ::write(signal_, &one, sizeof one);
  }
  return true;
}

bool ScriptedJoystick::apply_line(const std::string& line, std::string& error) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command == "unplug" || command == "plug") {
    std::string word, extra;
    words >> word;
    int pad = 0;
    while (pad < static_cast<int>(std::size(kPads)) && word != kPads[pad].word) ++pad;
    if ((words >> extra) || pad == static_cast<int>(std::size(kPads)) ||
        (command == "unplug" && pad != 0)) {
      error = command == "unplug" ? "'unplug' takes nothing after it"
                                  : "expected 'plug' or 'plug xbox|playstation|unmapped'";
      return false;
    }
    if (command == "unplug") {
      detach();
      return true;
    }
    if (!attach(static_cast<ScriptedPad>(pad)))
      error = std::string("the virtual joystick cannot be attached: ") + SDL_GetError();
    return error.empty();
  }
  long number = 0, value = 0;
  std::string extra;
  const bool parsed = static_cast<bool>(words >> number >> value) && !(words >> extra);
  struct Kind {
    const char* name;
    long count, low, high;
  };
  const PadKind& present = kPads[static_cast<int>(pad_)];
  const Kind kinds[] = {{"axis", present.axes, -32768, 32767},
                        {"button", present.buttons, 0, 1},
                        {"hat", present.hats, 0, 15}};
  for (const Kind& kind : kinds) {
    if (command != kind.name) continue;
    if (!parsed || number < 0 || number >= kind.count || value < kind.low || value > kind.high) {
      error = "expected '" + command + " N V' with N 0.." + std::to_string(kind.count - 1) +
              " and V " + std::to_string(kind.low) + ".." + std::to_string(kind.high);
      return false;
    }
    if (!joystick_) {
      error = "the virtual joystick is unplugged";
      return false;
    }
    SDL_Joystick* joystick = as_joystick(joystick_);
    const int n = static_cast<int>(number);
    const int set =
        command == "axis"     ? SDL_JoystickSetVirtualAxis(joystick, n, static_cast<Sint16>(value))
        : command == "button" ? SDL_JoystickSetVirtualButton(joystick, n, static_cast<Uint8>(value))
                              : SDL_JoystickSetVirtualHat(joystick, n, static_cast<Uint8>(value));
    if (set != 0) error = SDL_GetError();
    return set == 0;
  }
  error = "unknown command '" + command + "' (axis, button, hat, unplug, plug)";
  return false;
}

}  // namespace padwire::sdl
