// The two ways the program counts the pad's buttons, which must never be mixed up:
//
// - controller buttons: numbered from 0 as they stand in the state record's button array
//   (`JoyState2::rgbButtons`); the edge memories of the poll cycle and of the dialog's preview
//   cover controller buttons 0 to 12;
// - pad buttons (`PadButton`): 0 to 13, the order of the assignment dialog's controls and of the
//   keys "0" to "13" of a stored key set; Up, Down, Left and Right among them come from the
//   directions, not from a controller button.
//
// `pad_button_of_controller_button` is the one bridge between them: the poll cycle takes the key
// of a controller button through it, and the preview the control a press picks, so a button
// that types a key in the game is the one that picks that key's control in the dialog.
#pragma once

namespace padwire {

// Pad buttons.
inline constexpr int kPadButtonCount = 14;
enum PadButton : int {
  kPadX = 0,
  kPadY,
  kPadZ,
  kPadA,
  kPadB,
  kPadC,
  kPadUp,
  kPadDown,
  kPadLeft,
  kPadRight,
  kPadStart,
  kPadL,
  kPadR,
  kPadM,
};

// Controller buttons with a fixed role: the ten-button pad's A, B, C, X, Y, Z, L, R, Start, M.
inline constexpr int kButtonA = 0;
inline constexpr int kButtonB = 1;
inline constexpr int kButtonC = 2;
inline constexpr int kButtonX = 3;
inline constexpr int kButtonY = 4;
inline constexpr int kButtonR = 7;
inline constexpr int kButtonStart = 8;
inline constexpr int kButtonM = 9;
// Controller buttons 0 to 12 have an edge memory; higher ones are never translated or previewed.
inline constexpr int kTrackedButtons = 13;

// The last controller button read of those a pad with `last_button_index` has: none above the
// tracked ones.
constexpr int last_tracked_button(int last_button_index) {
  return last_button_index < kTrackedButtons ? last_button_index : kTrackedButtons - 1;
}

// Auto-fire repeats buttons 0 (A) to 7 (R): Start and Select never auto-fire.
constexpr bool auto_fires(int controller_button) {
  return controller_button >= 0 && controller_button <= kButtonR;
}

// The pad button a controller button stands for: 0 A, 1 B, 2 C, 3 X, 4 Y, 5 Z, 6 L, 7 R,
// 8 Start, and 9 and up M (Select).
constexpr PadButton pad_button_of_controller_button(int controller_button) {
  constexpr PadButton kFirstNine[] = {kPadA, kPadB, kPadC, kPadX,    kPadY,
                                      kPadZ, kPadL, kPadR, kPadStart};
  return controller_button >= 0 && controller_button < 9 ? kFirstNine[controller_button] : kPadM;
}

}  // namespace padwire
