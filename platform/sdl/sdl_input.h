// The game controllers through SDL2: the joysticks SDL reports, read by number (their state in
// the joystick-2 record) or, those SDL knows as game controllers, as standard pads through its
// GameController API; their rumble motors as the rumble. No SDL header here: the Qt side of the
// program includes it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/common/change_signals.h"
#include "platform/controller.h"

namespace padwire::sdl {

class SdlInput final : public ControllerService, public PadSignals {
 public:
  // `mappings`: the user's game controller mappings (SDL's text format), added to SDL's own
  // when SDL starts.
  explicit SdlInput(std::vector<std::string> mappings = {});
  ~SdlInput() override;
  SdlInput(const SdlInput&) = delete;
  SdlInput& operator=(const SdlInput&) = delete;

  // Starts SDL's joystick, game controller and event parts on the first call; null when SDL
  // cannot start them.
  std::unique_ptr<ControllerList> connect() override;

  // Runs SDL's event pump (which also updates every open joystick and refreshes a rumble that
  // is held). True when a joystick was added since the last call.
  bool pump() override;
  // A descriptor that turns readable when the open controller reports a change: our own
  // read-only, non-blocking open of its device node. -1 when there is none (no controller, a
  // virtual one, no path, no permission); the caller then reads on its timer.
  int change_fd() const override;
  // Reads whatever is pending on change_fd(); a node that has gone away is closed (-1 after).
  void drain_change_fd() override;
  // For a joystick without a device node (a test's virtual one): `fd`, which its owner makes
  // readable on each change (an eventfd, not owned here), serves as change_fd() while such a
  // joystick is open. -1 takes it back.
  void use_change_signal(int fd);

  // What the open joysticks, their devices and effects share; public for them only.
  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace padwire::sdl
