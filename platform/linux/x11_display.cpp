#include "platform/linux/x11_display.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <string>

namespace padwire::lin {

namespace {

bool g_error_caught = false;

int record_error(Display*, XErrorEvent*) {
  g_error_caught = true;
  return 0;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(_XDisplay* display) : display_(display), outer_caught_(g_error_caught) {
  if (display_) XSync(display_, False);  // errors of earlier requests are not ours
  g_error_caught = false;
  previous_ = reinterpret_cast<void (*)()>(XSetErrorHandler(record_error));
}

X11ErrorTrap::~X11ErrorTrap() {
  if (display_) XSync(display_, False);
  XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_));
  g_error_caught = outer_caught_;
}

bool X11ErrorTrap::caught() {
  if (display_) XSync(display_, False);
  return g_error_caught;
}

X11Connection::X11Connection() : display_(XOpenDisplay(nullptr)) {}

X11Connection::~X11Connection() {
  if (display_) XCloseDisplay(display_);
}

bool x11_tray_present(_XDisplay* display) {
  if (!display) return false;
  const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
  const Atom selection = XInternAtom(display, name.c_str(), False);
  return XGetSelectionOwner(display, selection) != None;
}

void x11_beep(_XDisplay* display) {
  if (display) {
    XBell(display, 0);
    XFlush(display);
    return;
  }
  std::fputc('\a', stderr);
  std::fflush(stderr);
}

}  // namespace padwire::lin
