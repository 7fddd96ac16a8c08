// The connection to the X server, shared by the program's X11 services, and the beep.
#pragma once

struct _XDisplay;

namespace padwire::lin {

// Owns XOpenDisplay(nullptr): the display of $DISPLAY, or none (get() is null) without X.
class X11Connection {
 public:
  X11Connection();
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  _XDisplay* get() const { return display_; }

 private:
  _XDisplay* display_ = nullptr;
};

// Catches the X errors of the requests made while it lives (a window that went away, a request
// the server refused) instead of Xlib's default handler, which ends the program. The handler is
// process-wide: use it on the thread that owns the display, and nest it freely.
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(_XDisplay* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server to answer every request so far; true when any of them failed.
  bool caught();

 private:
  _XDisplay* display_;
  void (*previous_)();  // the handler in place before, restored after
  bool outer_caught_;
};

// An XEmbed tray runs on the display: the default screen's _NET_SYSTEM_TRAY_S<n> selection has
// an owner. False without a display.
bool x11_tray_present(_XDisplay* display);

// The X server's bell; without a display, the terminal's bell on stderr.
void x11_beep(_XDisplay* display);

}  // namespace padwire::lin
