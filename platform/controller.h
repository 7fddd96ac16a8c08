// Game controllers as the program uses them: the service lists the controllers with their
// identity, opens one for a window, reads it and rumbles it. A controller is read either by
// number (buttons by their number and the axes, in the joystick-2 record) or as a standard pad
// (named controls: face buttons by position, shoulders, triggers, sticks); the core turns a
// standard pad into the record the engine reads. Every call reports failure by its result;
// none throws.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace padwire {

enum class ControllerKind : std::uint8_t {
  by_number,  // buttons by number and the axes, as the joystick-2 record holds them
  standard,   // a standard pad, read through StandardPad
};

// A controller as the system lists it.
struct ControllerIdentity {
  std::string id;             // the back end's own handle, given back to open(); opaque to the core
  std::string name;           // the product name, "" when unknown
  std::uint16_t vendor = 0;   // USB vendor id, 0 when unknown
  std::uint16_t product = 0;  // USB product id, 0 when unknown
  ControllerKind kind = ControllerKind::by_number;
  friend bool operator==(const ControllerIdentity&, const ControllerIdentity&) = default;
};

// A standard controller's named controls, as its player sees them. Face buttons go by their
// position, whatever the pad prints on them: south is Xbox A, PlayStation cross, Switch B.
struct StandardPad {
  enum Button : int {
    south,
    east,
    west,
    north,
    left_shoulder,
    right_shoulder,
    back,   // Back, View, Select, Share, Create, Minus
    start,  // Start, Menu, Options, Plus
    guide,
    left_stick,  // the sticks' clicks
    right_stick,
    dpad_up,
    dpad_down,
    dpad_left,
    dpad_right,
    button_count
  };
  std::array<bool, button_count> buttons{};
  // Sticks in 0..65535 with 32768 the centre; x grows to the right, y downwards.
  std::int32_t left_x = kAxisCentre;
  std::int32_t left_y = kAxisCentre;
  std::int32_t right_x = kAxisCentre;
  std::int32_t right_y = kAxisCentre;
  // Triggers from 0 (free) to 65535 (pulled all the way).
  std::int32_t left_trigger = 0;
  std::int32_t right_trigger = 0;
  bool held(Button b) const { return buttons[b]; }
  friend bool operator==(const StandardPad&, const StandardPad&) = default;
};

// One reading of a controller: `record` for a controller read by number, `pad` for a standard
// one. A read fills the member of the controller's kind only.
struct ControllerReading {
  JoyState2 record;
  StandardPad pad;
};

// How a window takes the controller: the main form alone, the assignment dialog's preview
// beside it.
enum class ControllerAccess : std::uint8_t { exclusive, shared };

// The rumble: both motors (or the constant force of a force-feedback device) at half the
// device's strength, from start() until stop().
class Rumble {
 public:
  virtual ~Rumble() = default;
  virtual bool start() = 0;
  virtual bool stop() = 0;
};

// One open controller.
class Controller {
 public:
  virtual ~Controller() = default;
  virtual ControllerKind kind() const = 0;
  // Takes the controller again after a failed read (a device another program took, or one
  // that was lost for a moment); reading works again once this succeeds.
  virtual bool acquire() = 0;
  // Lets the controller go, as the program does when it ends.
  virtual bool release() = 0;
  // Brings the controller's state up to date, for controllers that must be asked.
  virtual bool poll() = 0;
  // Reads the state into the member of `reading` that matches kind(); false, with `reading`
  // untouched, when the read failed.
  virtual bool read(ControllerReading& reading) = 0;
  // How many buttons a controller read by number has; nothing when it cannot tell.
  virtual std::optional<int> button_count() = 0;
  virtual std::optional<std::string> product_name() = 0;
  // The rumble, made once; null when the controller has none.
  virtual std::unique_ptr<Rumble> create_rumble() = 0;
  // True once the controller was found unplugged; such an object never works again, and a
  // controller that comes back is opened anew.
  virtual bool unplugged() = 0;
};

// The system's controllers, from one connection to the controller service.
class ControllerList {
 public:
  virtual ~ControllerList() = default;
  // Every controller, attached ones first, in the order the system reports them. With
  // `standard_layout`, the controllers the back end can read as standard pads are listed
  // with that kind (and a pad the system shows twice, once for each way of reading it, only
  // once); without it, every controller is listed by number.
  virtual std::vector<ControllerIdentity> list(bool standard_layout) = 0;
  // Opens a listed controller for `window` and takes it: null when it cannot be opened. A
  // step of taking it that fails is skipped; the reads then fail until acquire() works.
  virtual std::unique_ptr<Controller> open(const ControllerIdentity& controller,
                                           WindowHandle window, ControllerAccess access) = 0;
};

class ControllerService {
 public:
  virtual ~ControllerService() = default;
  // Null when the controller service cannot be reached (its components missing or refused).
  virtual std::unique_ptr<ControllerList> connect() = 0;
};

}  // namespace padwire
