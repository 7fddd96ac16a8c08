// Test-only: an SDL virtual joystick inside the program's own process, moved by script lines,
// so that tests drive the real program without a device. Linked only into padwire_scripted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace padwire::sdl {

// What the virtual joystick presents itself as.
enum class ScriptedPad {
  plain,  // "Padwire scripted joystick": 6 axes, 12 buttons and 1 hat, of no known type
  // An Xbox 360 pad (045E:028E) as Linux numbers it: buttons 0 A, 1 B, 2 X, 3 Y, 4 LB, 5 RB,
  // 6 Back, 7 Start, 8 Guide, 9 and 10 the stick clicks; axes 0 and 1 the left stick, 2 the left
  // trigger, 3 and 4 the right stick, 5 the right trigger; the D-pad as hat 0.
  xbox,
  // A DualShock 4 (054C:09CC) as SDL's own driver presents it: buttons 0 cross, 1 circle,
  // 2 square, 3 triangle, 4 Share, 5 PS, 6 Options, 7 and 8 the stick clicks, 9 L1, 10 R1,
  // 11 to 14 D-pad up, down, left, right; axes 0 to 3 the sticks, 4 L2 and 5 R2; no hat.
  playstation,
  // A pad SDL has no mapping for (1209:5057): 6 axes, 12 buttons and 1 hat, named "Unmapped pad".
  unmapped,
};

// Script lines:
//   axis N V     axis N to V (-32768..32767)
//   button N 0|1 button N released or pressed
//   hat N V      hat N (0) to V, a sum of SDL_HAT_* bits (0 centred, 1 up, 2 right, 4 down, 8 left)
//   unplug       detaches the joystick; plug attaches it again (a new joystick to SDL), as
//   plug [xbox|playstation|unmapped]   the plain joystick or as that pad (its triggers at
//                -32768, free)
// Like a real controller's device node, its change signal (an eventfd) turns readable after
// each line carried out (a move, a plug or an unplug), so that the program waits on it as on a
// real pad.
class ScriptedJoystick {
 public:
  ScriptedJoystick();
  ~ScriptedJoystick();
  ScriptedJoystick(const ScriptedJoystick&) = delete;
  ScriptedJoystick& operator=(const ScriptedJoystick&) = delete;

  // Attaches the virtual joystick (starting SDL's joystick part if needed); true when attached.
  bool attach(ScriptedPad pad = ScriptedPad::plain);
  void detach();
  bool attached() const { return joystick_ != nullptr; }
  // Carries out one script line; false with `error` set when the line is not understood or fails.
  bool apply(const std::string& line, std::string& error);
  // Readable after a line carried out, until read (SdlInput::use_change_signal
  // reads it); -1 when no eventfd could be made.
  int change_signal() const { return signal_; }
  // When the last line carried out changed the joystick: CLOCK_MONOTONIC in nanoseconds.
  std::int64_t changed_ns() const { return changed_ns_; }

  // Called from SDL when the program sets the rumble motors (0..0xFFFF each, for `ms`).
  std::function<void(std::uint16_t low, std::uint16_t high, std::uint32_t ms)> on_rumble;

 private:
  bool apply_line(const std::string& line, std::string& error);

  void* joystick_ = nullptr;  // the SDL_Joystick the script moves; null while detached
  ScriptedPad pad_ = ScriptedPad::plain;
  bool started_sdl_ = false;
  int signal_ = -1;
  std::int64_t changed_ns_ = 0;
};

}  // namespace padwire::sdl
