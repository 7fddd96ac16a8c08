// The Windows program's paced message loop: it waits on its messages and on the event the
// controller signals on a change (SetEventNotification; DirectInput also signals it when the
// device is lost), and asks the shared pacing policy (platform/common/tick_pacing.h) when the
// main form's tick runs. It also keeps the 2-second look for a controller running only while
// there is none: at rest with a controller, nothing wakes the program.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/common/tick_pacing.h"

namespace padwire::win32 {

class Win32DirectInput;
class Win32Timer;
class Win32Views;
class WatchedKeys;

class TickPacer {
 public:
  // `tick` runs the form's Timer1_Timer; `window` receives the look timer's WM_TIMER.
  TickPacer(WatchedKeys& keys, Win32Timer& timer, Win32DirectInput& input, const TickDemand& demand,
            HWND window, std::function<void()> tick);

  // The event the controller signals on a change; null when there is none.
  HANDLE pad_event() const;
  // The controller's change; then its changes alone for a moment (kQuietAfterChangeMs).
  void pad_changed_then_quiet();
  // A WM_INPUT message: a key the tick reads went down or up.
  void raw_input(const MSG& message);
  // After the messages of one wake-up.
  void settle();

 private:
  PaceFacts facts() const;
  void pad_changed();

  WatchedKeys& keys_;
  Win32DirectInput& input_;
  const TickDemand& demand_;
  HWND window_;
  bool looking_ = false;
  TickPacing pacing_;
  std::function<void()> tick_;
};

// The message loop of the program with a pacer; runs until the program ends.
int run_paced_message_loop(Win32Views& views, TickPacer& pacer);

}  // namespace padwire::win32
