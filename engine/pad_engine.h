// The translation engine of the main form: the poll cycle, key synthesis, the pad extras,
// mouse mode, the rumble rules and the debug window's refresh. It owns the controller device
// while one is open, and reads the two menu check marks it depends on by reference.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/key_codes.h"
#include "engine/pad_buttons.h"
#include "engine/pad_reader.h"
#include "platform/platform.h"
#include "platform/tick_demand.h"
#include "platform/ui_model.h"

namespace padwire {

// Virtual keys the tick reads with the asynchronous key state.
inline constexpr int kVkTab = 9;
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkAlt = 18;
inline constexpr int kVkSnapshot = 44;
inline constexpr int kVkScroll = 145;

// Rumble modes, as stored under "RumbleType".
inline constexpr std::int16_t kRumbleNever = 0;
inline constexpr std::int16_t kRumbleAlways = 1;
inline constexpr std::int16_t kRumbleRandom = 2;
inline constexpr std::int16_t kRumbleStressed = 3;

// What the engine needs from the debug window: its text box, loaded on first use and
// forgotten when the user closes the window.
struct DebugWindowModel {
  bool loaded = false;
  std::string text;
};

// What the tick remembers from one tick to the next. Only the engine changes it; the scenario
// runner's queries and the soak test's checks read it.
struct TickMemory {
  JoyState2 PadState;  // the raw record, as the debug window shows it

  std::array<bool, 4> DirectionDown{};  // 0 Left, 1 Right, 2 Up, 3 Down
  std::array<bool, kTrackedButtons> ButtonDown{};
  std::int16_t RepeatCount = 0;
  bool MouseMode = false;
  bool HoldNextRelease = false;
  bool TabHeld = false;

  // Mouse mode.
  Point CursorPos;
  Point CursorTarget;
  std::int32_t CursorSpeedX = 0;
  std::int32_t CursorSpeedY = 0;
  std::array<bool, 2> MouseButtonDown{};

  // Stressed rumble mode.
  std::int16_t StressButton = 0;
  std::int16_t StressCount = 0;
};

class PadEngine final : public TickDemand, private TickMemory {
 public:
  PadEngine(Platform& platform, const MenuItem& auto_fire_item, const MenuItem& dos_item);

  // One tick of the main timer. A tick that finds the controller gone for good releases
  // everything the pad holds down and closes the device.
  void Timer1_Timer();

  // Opens the first controller for the main window, as start-up does, and takes its button
  // count; the rumble effect is created separately. False when no device could be created.
  bool open_controller(ControllerList& list, WindowHandle window);
  bool controller_open() const override { return PadDevice.device() != nullptr; }
  // The open controller; null when none is.
  Controller* device() const { return PadDevice.device(); }
  // Lets go of every key and mouse button the pad holds, forgets what was pressed, and closes
  // the controller: before it is opened anew, and when it is gone for good.
  void drop_controller();
  // Force feedback: created once at start-up.
  void create_rumble_effect();

  // For back ends that learn of controller changes without polling (TickDemand).
  bool needs_ticks() const override;
  bool paced_by_timer() const override;

  // Sends a key-up for every key still down and lets go of mouse mode's buttons.
  void release_all();
  void ShowAutoFire(bool flag);
  // Debug window: the user closed it.
  void debug_window_closed();

  const TickMemory& memory() const { return *this; }

  // The options and key codes the main form and the dialogs set.
  KeyCodes keys;
  std::int16_t RumbleType = 0;
  bool Logitech = false;
  // "Analog Stick Dead Zone" and "D-Pad Hat as Directions".
  DirectionOptions direction_options;
  // "Standard Button Layout": standard pads are read through the standard layout.
  bool standard_layout = true;
  bool SelectOnM = false;
  bool AutoFireOn = false;
  std::int16_t LastButtonIndex = 0;
  Timer Timer1;

  DebugWindowModel Form1;

 private:
  // The pad sources whose press and release send a pad button's key: the four directions
  // (as DirectionDown counts them), then controller buttons 0 to 12.
  static constexpr int kPadSources = 4 + kTrackedButtons;
  static constexpr int button_source(int button) { return 4 + button; }

  // Key synthesis. PressKey and ReleaseKey keep the count of what is down.
  void PressKey(const std::uint8_t& keyCode);
  void ReleaseKey(const std::uint8_t& keyCode);
  void TapKey(const std::uint8_t& keyCode);
  void RepeatKey(const std::uint8_t& keyCode);
  void SetKeyState(std::int16_t key, std::int16_t value);
  void MouseModeStep();
  // The press and release rules of the button loop.
  void rumble_press(int button);
  void rumble_stop();

  bool button_held(int i) const { return PadState.rgbButtons[i] != 0; }
  static bool key_held(std::int16_t async_state) { return async_state <= -32767; }
  void translate_tick();
  void read_controller();
  // The directions PadState gives with the current options.
  Stick decoded_stick() const;
  void press_pad_key(int source, const std::uint8_t& keyCode);
  void release_pad_key(int source, const std::uint8_t& keyCode);
  // A release the key hold withholds: the key stays down until the source's next release.
  void withhold_pad_key(int source, const std::uint8_t& keyCode);
  void mouse_button(int button, bool down);
  bool mouse_step_pending() const;
  bool translation_pending() const;
  bool watched_key_held() const;
  void translate_directions();
  // One side of a stick axis: its direction (as DirectionDown counts them) and its key.
  struct AxisSide {
    int direction;
    const std::uint8_t& key;
    bool sends_key;
  };
  void translate_axis(std::int32_t value, const AxisSide& low, const AxisSide& high);
  void press_side(const AxisSide& side);
  void release_side(const AxisSide& side);
  void button_loop();
  void run_m_combinations();
  void take_screenshot();
  void refresh_debug_window();
  // The debug window's text for the state the tick read, built again only when that state
  // changed: the loop asks at every pass whether the window would change.
  const std::string& state_dump() const;
  const std::uint8_t& key_of_button(int i) const;

  PadReader PadDevice;  // the controller, while one is open
  struct StateDump {
    JoyState2 state;
    int last_button_index = -1;
    std::optional<std::string> text;
  };
  mutable StateDump state_dump_;
  std::unique_ptr<Rumble> RumbleEffect_;
  Platform& platform_;
  const MenuItem& mnuAutoFire_;
  const MenuItem& mnuDOSApplication_;

  // Presses of each virtual key not yet matched by a release (two pad buttons may hold the
  // same key), and the key the last press of each pad source sent, so that a key set changed
  // while the pad button is held still lets go of the key that went down.
  std::array<std::uint32_t, 256> presses_{};
  std::array<std::optional<std::uint8_t>, kPadSources> source_key_{};
  // The directions of the last reading, as direction_options decode it.
  Stick stick_;
  // The key the key hold kept down at each pad source's last release.
  std::array<std::optional<std::uint8_t>, kPadSources> kept_key_{};
  bool read_pending_ = false;  // a tick ended before reading the pad
};

}  // namespace padwire
