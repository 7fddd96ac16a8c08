// When the main form's tick runs: at once when the controller reports a change, on the poll
// timer while the engine needs ticks, and not at all while nothing can change.
#pragma once

#include <windows.h>

#include <functional>

namespace padwire {
class PadEngine;
}

namespace padwire::win32 {

class Win32DirectInput;
class Win32Timer;
class Win32Views;
class WatchedKeys;

class TickPacer {
 public:
  // `tick` runs the form's Timer1_Timer.
  TickPacer(WatchedKeys& keys, Win32Timer& timer, Win32DirectInput& input, PadEngine& engine,
            std::function<void()> tick);

  // The event the controller signals on a change; null when there is none.
  HANDLE pad_event() const;
  void pad_changed();
  // A WM_INPUT message: a key the tick reads went down or up.
  void raw_input(const MSG& message);
  // After the messages of one wake-up: stops the timer when no tick is needed, starts it
  // when one is.
  void settle();

 private:
  bool can_sleep() const;
  void tick_now();
  void sleep();
  void wake();

  WatchedKeys& keys_;
  Win32Timer& timer_;
  Win32DirectInput& input_;
  PadEngine& engine_;
  std::function<void()> tick_;
};

// The message loop of the program with a pacer; runs until the program ends.
int run_paced_message_loop(Win32Views& views, TickPacer& pacer);

}  // namespace padwire::win32
