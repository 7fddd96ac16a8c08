#include "platform/sdl/sdl_game_controller.h"

#include <algorithm>
#include <iterator>

namespace padwire::sdl {

namespace {

struct ButtonOf {
  StandardPad::Button pad;
  SDL_GameControllerButton sdl;
};

// SDL names the face buttons by the Xbox pad's letters, which stand where the positions say.
constexpr ButtonOf kButtons[] = {
    {StandardPad::south, SDL_CONTROLLER_BUTTON_A},
    {StandardPad::east, SDL_CONTROLLER_BUTTON_B},
    {StandardPad::west, SDL_CONTROLLER_BUTTON_X},
    {StandardPad::north, SDL_CONTROLLER_BUTTON_Y},
    {StandardPad::left_shoulder, SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
    {StandardPad::right_shoulder, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {StandardPad::back, SDL_CONTROLLER_BUTTON_BACK},
    {StandardPad::start, SDL_CONTROLLER_BUTTON_START},
    {StandardPad::guide, SDL_CONTROLLER_BUTTON_GUIDE},
    {StandardPad::left_stick, SDL_CONTROLLER_BUTTON_LEFTSTICK},
    {StandardPad::right_stick, SDL_CONTROLLER_BUTTON_RIGHTSTICK},
    {StandardPad::dpad_up, SDL_CONTROLLER_BUTTON_DPAD_UP},
    {StandardPad::dpad_down, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
    {StandardPad::dpad_left, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
    {StandardPad::dpad_right, SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
};
static_assert(std::size(kButtons) == StandardPad::button_count);

constexpr std::int32_t kSdlTriggerTop = 32767;
constexpr std::int32_t kTriggerTop = 65535;

std::int32_t stick(SDL_GameController* controller, SDL_GameControllerAxis axis) {
  return static_cast<std::int32_t>(SDL_GameControllerGetAxis(controller, axis)) + kAxisCentre;
}

std::int32_t trigger(SDL_GameController* controller, SDL_GameControllerAxis axis) {
  const std::int32_t value =
      std::clamp<std::int32_t>(SDL_GameControllerGetAxis(controller, axis), 0, kSdlTriggerTop);
  return value * kTriggerTop / kSdlTriggerTop;
}

}  // namespace

void add_controller_mappings(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) SDL_GameControllerAddMapping(line.c_str());
}

StandardPad read_standard_pad(SDL_GameController* controller) {
  StandardPad pad;
  for (const ButtonOf& button : kButtons) {
    pad.buttons[button.pad] = SDL_GameControllerGetButton(controller, button.sdl) != 0;
  }
  pad.left_x = stick(controller, SDL_CONTROLLER_AXIS_LEFTX);
  pad.left_y = stick(controller, SDL_CONTROLLER_AXIS_LEFTY);
  pad.right_x = stick(controller, SDL_CONTROLLER_AXIS_RIGHTX);
  pad.right_y = stick(controller, SDL_CONTROLLER_AXIS_RIGHTY);
  pad.left_trigger = trigger(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
  pad.right_trigger = trigger(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
  return pad;
}

}  // namespace padwire::sdl
