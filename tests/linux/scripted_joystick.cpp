#include "scripted_joystick.h"

#include <SDL.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <sstream>

namespace padwire::lin {

namespace {

constexpr int kAxes = 6;
constexpr int kButtons = 12;
constexpr int kHats = 1;

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

bool ScriptedJoystick::attach() {
  if (joystick_) return true;
  if (!started_sdl_) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    started_sdl_ = true;
  }
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  // Of no particular type: every axis rests at 0, where a controller's triggers would not.
  desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
  desc.naxes = kAxes;
  desc.nbuttons = kButtons;
  desc.nhats = kHats;
  desc.name = "Padwire scripted joystick";
  desc.userdata = this;
  desc.Rumble = rumble;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) return false;
  joystick_ = SDL_JoystickOpen(index);
  if (!joystick_) SDL_JoystickDetachVirtual(index);
  return joystick_ != nullptr;
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
    std::string extra;
    if (words >> extra) {
      error = "'" + command + "' takes nothing after it";
      return false;
    }
    if (command == "unplug") {
      detach();
      return true;
    }
    if (!attach())
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
  static constexpr Kind kKinds[] = {
      {"axis", kAxes, -32768, 32767}, {"button", kButtons, 0, 1}, {"hat", kHats, 0, 15}};
  for (const Kind& kind : kKinds) {
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

}  // namespace padwire::lin
