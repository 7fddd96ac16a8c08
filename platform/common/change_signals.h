// What an event loop waiting on descriptors needs of the sources that wake it: the open
// controller (its device node) and the watch of the keys the poll tick reads by their state.
#pragma once

namespace padwire {

class PadSignals {
 public:
  virtual ~PadSignals() = default;
  // Turns readable when the open controller reports a change; -1 when there is none, and the
  // controller is then read on the timer.
  virtual int change_fd() const = 0;
  // Reads whatever is pending on change_fd(); a source that has gone away is closed (-1 after).
  virtual void drain_change_fd() = 0;
  // Runs the controller back end's event pump. True when a controller was added since the
  // last call.
  virtual bool pump() = 0;
};

class KeySignals {
 public:
  virtual ~KeySignals() = default;
  // Turns readable when key events arrived; -1 when the keys cannot be watched.
  virtual int fd() const = 0;
  // Reads every event that arrived; true when a watched key went down or up among them.
  virtual bool drain() = 0;
};

}  // namespace padwire
