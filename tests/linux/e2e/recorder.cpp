#include "recorder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <time.h>

#include <sstream>

#include "x_session.h"

namespace padwire::e2e {

namespace {

std::int64_t monotonic_ns() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

bool Record::operator==(const Record& other) const {
  // Keys compare by kind and keysym; buttons by kind and button; the rest is circumstance.
  return kind == other.kind && keysym == other.keysym && button == other.button;
}

std::string describe(const std::vector<Record>& records) {
  static const char* const names[] = {"key down", "key up", "button down", "button up", "motion"};
  std::ostringstream out;
  for (const Record& r : records) {
    out << names[r.kind];
    if (r.kind <= Record::kKeyUp) {
      const char* name = XKeysymToString(r.keysym);
      out << ' ' << (name ? name : "?") << " state " << r.state;
    } else {
      out << ' ' << r.button << " at " << r.x << ',' << r.y;
    }
    out << '\n';
  }
  return out.str();
}

Record key_down(unsigned long keysym) {
  return {Record::kKeyDown, keysym};
}
Record key_up(unsigned long keysym) {
  return {Record::kKeyUp, keysym};
}

Recorder::Recorder(const std::string& display, const std::string& title, int x, int y) {
  display_ = XOpenDisplay(display.c_str());
  if (!display_) return;
  const Window root = DefaultRootWindow(display_);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = WhitePixel(display_, DefaultScreen(display_));
  attributes.event_mask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                          PointerMotionMask | FocusChangeMask | StructureNotifyMask;
  const Window window =
      XCreateWindow(display_, root, x, y, 400, 300, 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWBackPixel | CWEventMask, &attributes);
  XStoreName(display_, window, title.c_str());
  XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False),
                  XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  XWMHints hints{};
  hints.flags = InputHint;
  hints.input = True;
  XSetWMHints(display_, window, &hints);
  // A window manager still starting may miss the map request: it is repeated every second.
  XEvent event;
  const bool mapped = wait_until(
      [&, waited = 0]() mutable {
        if (waited++ % 100 == 0) XMapRaised(display_, window);
        XFlush(display_);
        while (XCheckWindowEvent(display_, window, StructureNotifyMask, &event)) {
          if (event.type == MapNotify) return true;
        }
        return false;
      },
      10000);
  if (!mapped) return;
  window_ = window;
  thread_ = std::thread([this] { run(); });
}

Recorder::~Recorder() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (display_) XCloseDisplay(display_);
}

void Recorder::run() {
  pollfd p{ConnectionNumber(display_), POLLIN, 0};
  while (!stop_) {
    if (XPending(display_) == 0) {
      poll(&p, 1, 20);
      continue;
    }
    XEvent event;
    XNextEvent(display_, &event);
    Record r{Record::kMotion};
    r.arrived_ns = monotonic_ns();
    switch (event.type) {
      case KeyPress:
      case KeyRelease:
        r.kind = event.type == KeyPress ? Record::kKeyDown : Record::kKeyUp;
        r.keysym = XLookupKeysym(&event.xkey, 0);
        r.state = event.xkey.state;
        break;
      case ButtonPress:
      case ButtonRelease:
        r.kind = event.type == ButtonPress ? Record::kButtonDown : Record::kButtonUp;
        r.button = event.xbutton.button;
        r.state = event.xbutton.state;
        r.x = event.xbutton.x_root;
        r.y = event.xbutton.y_root;
        break;
      case MotionNotify:
        r.state = event.xmotion.state;
        r.x = event.xmotion.x_root;
        r.y = event.xmotion.y_root;
        break;
      case FocusIn:
      case FocusOut:
        focused_ = event.type == FocusIn;
        continue;
      case MappingNotify:
        // A sink that remaps a spare keycode: read its keysym from the new map.
        XRefreshKeyboardMapping(&event.xmapping);
        continue;
      default:
        continue;
    }
    std::lock_guard lock(mutex_);
    records_.push_back(r);
  }
}

std::vector<Record> Recorder::records() const {
  std::lock_guard lock(mutex_);
  return records_;
}

std::vector<Record> Recorder::keys(unsigned long keysym) const {
  std::vector<Record> result;
  for (const Record& r : records()) {
    if (r.kind <= Record::kKeyUp && r.keysym == keysym) result.push_back(r);
  }
  return result;
}

std::size_t Recorder::count(Record::Kind kind) const {
  std::size_t n = 0;
  for (const Record& r : records()) n += r.kind == kind ? 1 : 0;
  return n;
}

void Recorder::clear() {
  std::lock_guard lock(mutex_);
  records_.clear();
}

}  // namespace padwire::e2e
