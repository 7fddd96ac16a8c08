// The controller as the program reads it: the first joystick the system enumerates, opened for
// one window, read once a tick, acquired again after a failed read, and known to be gone for
// good once it says it is unplugged or keeps failing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/controller.h"
#include "platform/shell.h"

namespace padwire {

// How long every read of a controller may fail before it counts as gone for good. A device
// lost for a moment (another program took it, the system was busy) comes back well within it.
inline constexpr std::uint64_t kPadGoneAfterMs = 250;

class PadReader {
 public:
  explicit PadReader(Clock& clock) : clock_(clock) {}

  // Creates a device on the first joystick `root` enumerates, attached or not, and sets it up
  // for `window`: cooperative level, the joystick-2 data format, acquire, then counts its
  // buttons. A step that fails is skipped. False when no device could be created. A device
  // that is open already is closed first.
  bool open(InputRoot& root, WindowHandle window, std::uint32_t cooperation);
  // Unacquires the device and drops it.
  void close();

  ControllerDevice* device() const { return device_.get(); }
  // The number of button objects the device reported when it was opened.
  std::optional<int> button_count() const { return buttons_; }

  // Polls the device and reads its state into `state`; a failed read leaves `state` as it was.
  // When the poll or the read fails, the device is acquired again.
  void read(JoyState2& state);
  // True once the device reported it is unplugged, or every read has failed for
  // kPadGoneAfterMs since the first failure of an unbroken run.
  bool gone() const { return gone_; }

 private:
  Clock& clock_;
  std::unique_ptr<ControllerDevice> device_;
  std::optional<int> buttons_;
  std::optional<std::uint64_t> failing_since_;
  bool gone_ = false;
};

}  // namespace padwire
