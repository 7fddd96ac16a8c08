// The game controllers through SDL2's joystick API, read by number: the joysticks SDL reports,
// their state in the joystick-2 record, their rumble motors as the rumble. No SDL header here:
// the Qt side of the program includes it.
#pragma once

#include <memory>

#include "platform/controller.h"

namespace padwire::lin {

class SdlInput final : public ControllerService {
 public:
  SdlInput();
  ~SdlInput() override;
  SdlInput(const SdlInput&) = delete;
  SdlInput& operator=(const SdlInput&) = delete;

  // Starts SDL's joystick and event parts on the first call; null when SDL cannot start them.
  std::unique_ptr<ControllerList> connect() override;

  // Runs SDL's event pump (which also updates every open joystick and refreshes a rumble that
  // is held). True when a joystick was added since the last call.
  bool pump();
  // A descriptor that turns readable when the open controller reports a change: our own
  // read-only, non-blocking open of its device node. -1 when there is none (no controller, a
  // virtual one, no path, no permission); the caller then reads on its timer.
  int change_fd() const;
  // Reads whatever is pending on change_fd(); a node that has gone away is closed (-1 after).
  void drain_change_fd();
  // For a joystick without a device node (a test's virtual one): `fd`, which its owner makes
  // readable on each change (an eventfd, not owned here), serves as change_fd() while such a
  // joystick is open. -1 takes it back.
  void use_change_signal(int fd);

  // What the open joysticks, their devices and effects share; public for them only.
  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace padwire::lin
