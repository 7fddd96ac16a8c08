#include "x_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cctype>
#include <cstdio>
#include <functional>

#include "x_session.h"

namespace padwire::e2e {

namespace {

// A property of `window` as a list of 32-bit items (windows, cardinals), empty when absent.
std::vector<unsigned long> property_items(Display* display, Window window, const char* name,
                                          Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> items;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type,
                         &actual, &format, &count, &after, &data) == Success &&
      data && format == 32) {
    const unsigned long* values = reinterpret_cast<const unsigned long*>(data);
    items.assign(values, values + count);
  }
  if (data) XFree(data);
  return items;
}

// Visits `window` and every window below it; stops at the first for which `visit` is true.
bool walk(Display* display, Window window, const std::function<bool(Window)>& visit) {
  if (visit(window)) return true;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
  bool found = false;
  for (unsigned i = 0; i < count && !found; ++i) found = walk(display, children[i], visit);
  if (children) XFree(children);
  return found;
}

// The program's windows (a menu, a message box) may go between a listing of the windows and a
// read of their properties: that read then fails and the walk goes on, where Xlib's own handler
// would end the test. Other errors are printed and fail the call the same way.
int on_x_error(Display*, XErrorEvent* error) {
  if (error->error_code != BadWindow && error->error_code != BadDrawable) {
    std::fprintf(stderr, "X error %d (request %d)\n", error->error_code, error->request_code);
  }
  return 0;
}

}  // namespace

XDesktop::XDesktop(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
  XSetErrorHandler(on_x_error);
}

XDesktop::~XDesktop() {
  if (display_) XCloseDisplay(display_);
}

void XDesktop::flush() {
  XSync(display_, False);
}

void XDesktop::key(unsigned long keysym, bool down) {
  const KeyCode code = XKeysymToKeycode(display_, keysym);
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  flush();
}

void XDesktop::tap_key(unsigned long keysym) {
  key(keysym, true);
  sleep_ms(20);
  key(keysym, false);
  sleep_ms(20);
}

void XDesktop::type(const std::string& text) {
  for (char c : text) {
    const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
    if (upper) key(XK_Shift_L, true);
    tap_key(c == ' ' ? XK_space : static_cast<unsigned long>(std::tolower(c)));
    if (upper) key(XK_Shift_L, false);
  }
}

void XDesktop::move_pointer(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  flush();
}

void XDesktop::click(int x, int y, int button) {
  move_pointer(x, y);
  sleep_ms(50);
  XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
  flush();
  sleep_ms(50);
  XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
  flush();
}

void XDesktop::pointer(int& x, int& y) {
  Window root = 0, child = 0;
  int wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &wx, &wy, &mask);
}

std::optional<Rect> XDesktop::geometry(unsigned long window) {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(display_, window, &a) || a.map_state != IsViewable) return {};
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return Rect{x, y, a.width, a.height};
}

std::optional<Rect> XDesktop::tray_icon() {
  // Qt marks all its windows for embedding; the icon is the one whose parent the tray host made
  // (window ids carry the id base of the client that made them).
  const Window host =
      XGetSelectionOwner(display_, XInternAtom(display_, "_NET_SYSTEM_TRAY_S0", False));
  // The low 21 bits number a client's own ids on a server started with its default 256 clients.
  const unsigned long base_mask = ~0x1FFFFFUL;
  const Atom xembed = XInternAtom(display_, "_XEMBED_INFO", False);
  std::optional<Rect> icon;
  walk(display_, DefaultRootWindow(display_), [&](Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, w, xembed, 0, 2, False, AnyPropertyType, &type, &format, &count,
                       &after, &data);
    if (data) XFree(data);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned n = 0;
    if (type == None || !XQueryTree(display_, w, &root, &parent, &children, &n)) return false;
    if (children) XFree(children);
    if (host == None || (parent & base_mask) != (host & base_mask)) return false;
    icon = geometry(w);
    return icon.has_value();
  });
  return icon;
}

std::optional<Rect> XDesktop::open_menu() {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::optional<Rect> menu;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
    return {};
  for (unsigned i = 0; i < count && !menu; ++i) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(display_, children[i], &a) && a.override_redirect &&
        a.map_state == IsViewable && a.height > 100) {
      menu = Rect{a.x, a.y, a.width, a.height};
    }
  }
  if (children) XFree(children);
  return menu;
}

std::vector<unsigned long> XDesktop::clients() {
  return property_items(display_, DefaultRootWindow(display_), "_NET_CLIENT_LIST", XA_WINDOW);
}

std::string XDesktop::title(unsigned long window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string text;
  if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0, 1024,
                         False, XInternAtom(display_, "UTF8_STRING", False), &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    text.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data) XFree(data);
  if (!text.empty()) return text;
  char* name = nullptr;
  if (XFetchName(display_, window, &name) && name) {
    text = name;
    XFree(name);
  }
  return text;
}

unsigned long XDesktop::find(const std::string& wanted) {
  for (unsigned long w : clients()) {
    if (title(w) == wanted) return w;
  }
  return 0;
}

void XDesktop::activate(unsigned long window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 2;  // from a pager: the window manager obeys without question
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, DefaultRootWindow(display_), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  flush();
}

unsigned long XDesktop::active() {
  const std::vector<unsigned long> items =
      property_items(display_, DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW);
  return items.empty() ? 0 : items.front();
}

}  // namespace padwire::e2e
