// The translation engine of the main form: the poll cycle, key synthesis, the pad extras,
// mouse mode, the rumble rules and the debug window's refresh. It owns the controller device
// once start-up has opened it, and reads the two menu check marks it depends on by reference.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/key_codes.h"
#include "platform/platform.h"
#include "platform/ui_model.h"

namespace padwire {

// Virtual keys the tick reads with the asynchronous key state.
inline constexpr int kVkTab = 9;
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkAlt = 18;
inline constexpr int kVkSnapshot = 44;
inline constexpr int kVkScroll = 145;

// Controller buttons with a fixed role (counted from 0).
inline constexpr int kButtonA = 0;
inline constexpr int kButtonB = 1;
inline constexpr int kButtonC = 2;
inline constexpr int kButtonX = 3;
inline constexpr int kButtonY = 4;
inline constexpr int kButtonR = 7;
inline constexpr int kButtonStart = 8;
inline constexpr int kButtonM = 9;
// The edge memory covers controller buttons 0 to 12; higher buttons are never translated.
inline constexpr int kTrackedButtons = 13;

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

class PadEngine {
 public:
  PadEngine(Platform& platform, const MenuItem& auto_fire_item, const MenuItem& dos_item);

  // One tick of the main timer.
  void Timer1_Timer();

  // For back ends that learn of controller changes without polling: whether the next tick can
  // change anything if the controller still reports what the last read gave (conservative:
  // false only when that tick would be a no-op), and whether something running now counts
  // ticks, so that extra ticks would change its rate.
  bool needs_ticks() const;
  bool paced_by_timer() const;

  // Key synthesis.
  void PressKey(const std::uint8_t& keyCode);
  void ReleaseKey(const std::uint8_t& keyCode);
  void TapKey(const std::uint8_t& keyCode);
  void RepeatKey(const std::uint8_t& keyCode);
  void ShowAutoFire(bool flag);
  void SetKeyState(std::int16_t key, std::int16_t value);

  // Mouse mode.
  void MouseModeStep();

  // Force feedback: created once at start-up; the press and release rules of the button loop.
  void create_rumble_effect();
  void rumble_press(int button);
  void rumble_stop();

  // Debug window: the user closed it.
  void debug_window_closed();

  // The main form's public state the other parts read and write.
  KeyCodes keys;
  std::int16_t RumbleType = 0;
  bool Logitech = false;
  bool SelectOnM = false;
  bool AutoFireOn = false;
  bool MouseMode = false;
  bool HoldNextRelease = false;
  bool TabHeld = false;
  std::int16_t LastButtonIndex = 0;
  Timer Timer1;

  std::unique_ptr<ControllerDevice> PadDevice;
  std::unique_ptr<RumbleEffect> RumbleEffect_;
  JoyState2 PadState;

  std::array<bool, 4> DirectionDown{};  // 0 Left, 1 Right, 2 Up, 3 Down
  std::array<bool, kTrackedButtons> ButtonDown{};
  std::int16_t RepeatCount = 0;

  // Mouse mode.
  Point CursorPos;
  Point CursorTarget;
  std::int32_t CursorSpeedX = 0;
  std::int32_t CursorSpeedY = 0;
  std::array<bool, 2> MouseButtonDown{};

  // Stressed rumble mode.
  std::int16_t StressButton = 0;
  std::int16_t StressCount = 0;

  DebugWindowModel Form1;

 private:
  bool button_held(int i) const { return PadState.rgbButtons[i] != 0; }
  static bool key_held(std::int16_t async_state) { return async_state <= -32767; }
  void read_controller();
  bool mouse_step_pending() const;
  bool translation_pending() const;
  bool watched_key_held() const;
  void translate_directions();
  void button_loop();
  void run_m_combinations();
  void take_screenshot();
  void refresh_debug_window();
  const std::uint8_t& key_of_button(int i) const;

  Platform& platform_;
  const MenuItem& mnuAutoFire_;
  const MenuItem& mnuDOSApplication_;
  bool read_failed_ = false;   // the last poll or state read failed: every tick acquires again
  bool read_pending_ = false;  // a tick ended before reading the pad
};

}  // namespace padwire
