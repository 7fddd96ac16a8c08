// The controller as the program reads it: the first controller the system lists, opened for
// one window, read once a tick into the record the engine reads (a standard pad through the
// standard layout), acquired again after a failed read, and known to be gone for good once it
// says it is unplugged or keeps failing; and the directions a state record gives.
// The main form's poll cycle and the assignment dialog's preview each read through one of these,
// on a device of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "engine/standard_layout.h"
#include "platform/clock.h"
#include "platform/controller.h"

namespace padwire {

// How long every read of a controller may fail before it counts as gone for good. A device
// lost for a moment (another program took it, the system was busy) comes back well within it.
inline constexpr std::uint64_t kPadGoneAfterMs = 250;

// How the directions are taken from a state record. Both off: the axes as they are, which
// suits a digital pad that rests at exactly the centre.
struct DirectionOptions {
  // An axis within a quarter of its half-range of the centre reads as centred, so an analog
  // stick that rests a little off centre, or jitters, holds no direction.
  bool dead_zone = false;
  // Point-of-view hat 0, while it is not centred, gives the directions instead of the stick.
  bool hat = false;
};

// The directions as two axes in the 0..65535 range, 32768 the centre: below it Left or Up,
// above it Right or Down.
struct Stick {
  std::int32_t x = kAxisCentre;
  std::int32_t y = kAxisCentre;
  friend bool operator==(const Stick&, const Stick&) = default;
};

Stick decode_directions(const JoyState2& state, DirectionOptions options);

class PadReader {
 public:
  explicit PadReader(Clock& clock) : clock_(clock) {}

  // Opens the first controller `list` reports, attached or not, for `window` (a step of
  // taking it that fails is skipped), then counts the buttons of one read by number. With
  // `standard_layout`, a controller the back end reads as a standard pad is opened as one.
  // False when no controller could be opened. A controller that is open already is dropped
  // first, as forget() drops it.
  bool open(ControllerList& list, WindowHandle window, ControllerAccess access,
            bool standard_layout);
  // Lets the controller go and drops it.
  void close();
  // Drops the controller without letting it go, as a window that goes away leaves its own.
  void forget();

  Controller* device() const { return device_.get(); }
  // The highest controller button number there is to read: for a controller read by number,
  // from the button count it reported when it was opened (-1 for none), nothing when the
  // count failed; a standard pad has the ten of the standard layout.
  std::optional<std::int16_t> last_button_index() const;

  // The menu's direction options and the Logitech patch suit the raw record of a controller
  // read by number; a standard pad's record has its directions decoded already, and neither
  // applies to it.
  DirectionOptions direction_options(DirectionOptions chosen) const;
  bool logitech_patch(bool chosen) const;

  // Polls the device and reads its state into `state`; a failed read leaves `state` as it was.
  // When the poll or the read fails, the device is acquired again.
  void read(JoyState2& state);
  // True once a read of the open device has succeeded: until then the record read into holds
  // no reading of this device.
  bool has_reading() const { return has_reading_; }
  // The last poll or state read failed, so every tick acquires again.
  bool failing() const { return failing_since_.has_value(); }
  // True once the device reported it is unplugged, or every read has failed for
  // kPadGoneAfterMs since the first failure of an unbroken run.
  bool gone() const { return gone_; }

 private:
  Clock& clock_;
  bool standard() const { return kind_ == ControllerKind::standard; }

  std::unique_ptr<Controller> device_;
  ControllerKind kind_ = ControllerKind::by_number;
  StandardLayout layout_;
  std::optional<int> buttons_;
  std::optional<std::uint64_t> failing_since_;
  bool has_reading_ = false;
  bool gone_ = false;
};

}  // namespace padwire
