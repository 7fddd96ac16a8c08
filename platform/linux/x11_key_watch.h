// Hears the keys the poll tick reads by their state (Tab, Ctrl, Print Screen) go down and up,
// whichever window has the focus, so the event loop can sleep instead of looking at them.
#pragma once

struct _XDisplay;

namespace padwire::lin {

// XInput 2 raw key events, selected on the root window of a connection of its own: they arrive
// for every key of every keyboard without a grab and without taking the focus. Without X, or
// with a server that lacks XInput 2, the watch is off (fd() is -1) and the keys must be polled.
class X11KeyWatch {
 public:
  X11KeyWatch();  // the display of $DISPLAY
  ~X11KeyWatch();
  X11KeyWatch(const X11KeyWatch&) = delete;
  X11KeyWatch& operator=(const X11KeyWatch&) = delete;

  // Turns readable when key events arrived; -1 when the keys cannot be watched.
  int fd() const;
  // Reads every event that arrived; true when a watched key went down or up among them.
  bool drain();

 private:
  bool watched(int keycode);

  _XDisplay* display_ = nullptr;
  int opcode_ = 0;  // the XInput extension's major opcode, which its events carry
};

}  // namespace padwire::lin
