// The keys the poll tick reads by their state (Tab, Ctrl, Print Screen), watched through Raw
// Input on the hidden main window (RIDEV_INPUTSINK: also while another program has the focus).
//
// The tick pacer wakes the poll timer when one of them goes down or up. And while they rest,
// the tick's reads of them are answered from here: GetAsyncKeyState asks the Wine server (and
// first looks for X events) whenever its cache is older than 50 ms, as it is at nearly every
// pad change, right before the key goes out. An answer comes from here only where it cannot
// differ from GetAsyncKeyState's: the key is up by its last raw event (or was up when the watch
// began, with none since), and no watched key went down or up in the last second (Wine's cache
// may still show the old state, and a tick at the very moment of the key event may not see it
// yet). Otherwise, and for a key held, the system is asked as before. A key pressed where raw
// input does not reach (the secure desktop) reads as up until it is released.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace padwire::win32 {

class WatchedKeys {
 public:
  // Registers for the keyboard's raw input on `window` and reads the keys' state once.
  explicit WatchedKeys(HWND window);

  // A WM_INPUT message. True when a watched key went down or up.
  bool raw_input(const MSG& message);
  // A watched key went down or up less than a second ago.
  bool changed_lately() const;
  // The key's state as GetAsyncKeyState gives it, when this knows it without asking: for a
  // watched key at rest and up, 0; for anything else, nothing.
  std::optional<std::int16_t> known_state(int vk) const;

 private:
  // Tab, the left and the right Ctrl, Print Screen.
  static constexpr std::size_t kKeys = 4;
  static std::optional<std::size_t> index_of(USHORT vk, bool right_hand);

  bool registered_ = false;
  std::array<bool, kKeys> down_{};
  ULONGLONG changed_until_ = 0;  // GetTickCount64 until which a change counts as recent
};

}  // namespace padwire::win32
