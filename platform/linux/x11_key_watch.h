// Hears the keys the poll tick reads by their state (Tab, Ctrl, Print Screen) go down and up,
// whichever window has the focus, so the event loop can sleep instead of looking at them.
#pragma once

#include <array>
#include <chrono>

#include "platform/common/change_signals.h"

struct _XDisplay;

namespace padwire::lin {

// XInput 2 raw key events, selected on the root window of a connection of its own: they arrive
// for every key of every keyboard without a grab and without taking the focus. Without X, or
// with a server that lacks XInput 2, the watch is off (fd() is -1) and the keys must be polled.
class X11KeyWatch final : public KeySignals {
 public:
  // The display of $DISPLAY; `on` false: the watch is off (in a Wayland session, where XWayland
  // hears only the keys its own windows get).
  explicit X11KeyWatch(bool on = true);
  ~X11KeyWatch() override;
  X11KeyWatch(const X11KeyWatch&) = delete;
  X11KeyWatch& operator=(const X11KeyWatch&) = delete;

  // Turns readable when key events arrived; -1 when the keys cannot be watched.
  int fd() const override;
  // Reads every event that arrived; true when a watched key went down or up among them.
  bool drain() override;
  // True when the watched key with this Linux key code is up for sure, without asking the X
  // server: the watch is on, no watched key went down or up in the last second, and this key's
  // last event drained was no press. The tick asks for Tab, Ctrl and Print Screen before each
  // key it sends, and on the way to a pad's key nothing here costs a call to the system: three
  // round trips to the server, or even three reads of the socket, would cost more than the rest
  // of the tick. The owner drains the watch whenever fd() turns readable.
  bool surely_up(int linux_key);

 private:
  bool watched(int keycode);
  void read_events();

  _XDisplay* display_ = nullptr;
  int opcode_ = 0;  // the XInput extension's major opcode, which its events carry
  bool changed_ = false;
  // The start counts as a change: a key held since before it is not known to be down.
  std::chrono::steady_clock::time_point last_change_ = std::chrono::steady_clock::now();
  std::array<bool, 256> down_{};  // by X keycode: the last event was a press
};

}  // namespace padwire::lin
