// Raw key events (XInput 2.1 and later deliver them to the root window whatever grab is active)
// on a connection that does nothing else: its descriptor is readable exactly when events wait,
// and draining them never reads events meant for the program's other X services.
#include "platform/linux/x11_key_watch.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include "platform/linux/x11_display.h"

namespace padwire::lin {

X11KeyWatch::X11KeyWatch(bool on) : display_(on ? XOpenDisplay(nullptr) : nullptr) {
  if (!display_) return;
  int event = 0, error = 0;
  int major = 2, minor = 2;  // 2.1 and later: raw events also while another client grabs
  bool selected = XQueryExtension(display_, "XInputExtension", &opcode_, &event, &error) &&
                  XIQueryVersion(display_, &major, &minor) == Success && major >= 2;
  if (selected) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    X11ErrorTrap trap(display_);
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    selected = !trap.caught();
  }
  if (!selected) {
    XCloseDisplay(display_);
    display_ = nullptr;
  }
}

X11KeyWatch::~X11KeyWatch() {
  if (display_) XCloseDisplay(display_);
}

int X11KeyWatch::fd() const {
  return display_ ? ConnectionNumber(display_) : -1;
}

// By the key's unshifted symbol in the first group, so any keyboard layout or keycode works.
bool X11KeyWatch::watched(int keycode) {
  const KeySym symbol = XkbKeycodeToKeysym(display_, static_cast<KeyCode>(keycode), 0, 0);
  return symbol == XK_Tab || symbol == XK_Control_L || symbol == XK_Control_R || symbol == XK_Print;
}

bool X11KeyWatch::drain() {
  read_events();
  const bool changed = changed_;
  changed_ = false;
  return changed;
}

bool X11KeyWatch::surely_up(int linux_key) {
  const int keycode = linux_key + 8;  // X keycodes of an evdev keyboard
  if (!display_ || keycode < 8 || keycode > 255 || !watched(keycode)) return false;
  if (std::chrono::steady_clock::now() - last_change_ < std::chrono::seconds(1)) return false;
  return !down_[static_cast<std::size_t>(keycode)];
}

void X11KeyWatch::read_events() {
  if (!display_) return;
  // Xlib reads what the socket holds; whatever the keymap's own notifications say updates the
  // symbols above as they pass.
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    XGenericEventCookie& cookie = event.xcookie;
    if (cookie.type != GenericEvent || cookie.extension != opcode_ ||
        !XGetEventData(display_, &cookie)) {
      continue;
    }
    if (cookie.evtype == XI_RawKeyPress || cookie.evtype == XI_RawKeyRelease) {
      const int keycode = static_cast<const XIRawEvent*>(cookie.data)->detail;
      if (keycode >= 0 && keycode <= 255 && watched(keycode)) {
        changed_ = true;
        last_change_ = std::chrono::steady_clock::now();
        down_[static_cast<std::size_t>(keycode)] = cookie.evtype == XI_RawKeyPress;
      }
    }
    XFreeEventData(display_, &cookie);
  }
}

}  // namespace padwire::lin
