// Game controller service: the DirectInput 8 object model, reduced to what the program uses.
// Every call reports failure by its result; none throws.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace padwire {

inline constexpr int kDevTypeJoystick = 4;                        // DIDEVTYPE_JOYSTICK
inline constexpr std::uint32_t kEnumAllDevices = 0;               // attached or not
inline constexpr std::uint32_t kCoopExclusiveBackground = 9;      // DISCL_EXCLUSIVE | BACKGROUND
inline constexpr std::uint32_t kCoopNonExclusiveBackground = 10;  // DISCL_NONEXCLUSIVE | BACKGROUND
inline constexpr int kDataFormatJoystick2 = 4;                    // common format: DIJOYSTATE2
inline constexpr std::uint32_t kObjectButtons = 12;               // DIDFT_BUTTON (push and toggle)

// Description of the constant-force rumble effect (the published DIEFFECT members in use).
struct EffectInfo {
  std::uint32_t flags = 0;    // 16: DIEFF_CARTESIAN
  std::int32_t duration = 0;  // -1: INFINITE
  std::int32_t sample_period = 0;
  std::int32_t gain = 0;            // 0..10000
  std::int32_t trigger_button = 0;  // -1: DIEB_NOTRIGGER
  std::int32_t trigger_repeat_interval = 0;
  std::int32_t start_delay = 0;
  std::int32_t constant_magnitude = 0;  // the constant force's magnitude, 0..10000
};

class RumbleEffect {
 public:
  virtual ~RumbleEffect() = default;
  virtual bool start(std::int32_t iterations, std::uint32_t flags) = 0;
  virtual bool stop() = 0;
};

class ControllerDevice {
 public:
  virtual ~ControllerDevice() = default;
  virtual bool set_cooperative_level(WindowHandle window, std::uint32_t flags) = 0;
  virtual bool set_data_format(int format) = 0;
  virtual bool acquire() = 0;
  virtual bool unacquire() = 0;
  virtual bool poll() = 0;
  virtual bool get_state(JoyState2& state) = 0;
  // Number of device objects matching the DIDFT_* flags; nothing when the call fails.
  virtual std::optional<int> count_objects(std::uint32_t flags) = 0;
  virtual std::optional<std::string> product_name() = 0;
  // Creates the effect and downloads it to the device; null when that fails.
  virtual std::unique_ptr<RumbleEffect> create_constant_force(const EffectInfo& info) = 0;
  // True once an acquire, poll or state read has failed because the device is unplugged
  // (DIERR_UNPLUGGED); such a device object never works again.
  virtual bool unplugged() = 0;
};

// The DirectInput object: enumerates devices and creates them from an instance GUID.
class InputRoot {
 public:
  virtual ~InputRoot() = default;
  // Instance GUIDs as text, in the order the system reports them.
  virtual std::vector<std::string> enumerate_devices(int device_type, std::uint32_t flags) = 0;
  virtual std::unique_ptr<ControllerDevice> create_device(const std::string& instance_guid) = 0;
};

class DirectInputService {
 public:
  virtual ~DirectInputService() = default;
  // Null when DirectInput cannot be created (components missing or refused).
  virtual std::unique_ptr<InputRoot> create_input() = 0;
};

}  // namespace padwire
