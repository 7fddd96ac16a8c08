#include "platform/linux/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <locale.h>
#include <time.h>
#include <wctype.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/linux/x11_display.h"

namespace padwire::lin {

namespace {

// How long a window may take to become active: half a second, twice what Windows waits for the
// foreground, since the window manager is another process that may be slow to run.
constexpr int kWaitSteps = 50;
constexpr long kWaitStepNs = 10'000'000;

Atom atom(Display* display, const char* name) {
  return XInternAtom(display, name, False);
}

// The 32-bit items of a window's property of that type; nothing when it is absent.
std::optional<std::vector<unsigned long>> long_property(Display* display, Window window,
                                                        Atom property, Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, 1 << 16, False, type, &actual, &format,
                         &count, &after, &data) != Success) {
    return std::nullopt;
  }
  std::optional<std::vector<unsigned long>> items;
  // Xlib hands 32-bit items over as longs.
  if (data && actual == type && format == 32) {
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    items.emplace(values, values + count);
  }
  if (data) XFree(data);
  return items;
}

std::optional<Window> window_property(Display* display, Window window, Atom property) {
  const auto items = long_property(display, window, property, XA_WINDOW);
  if (!items || items->empty()) return std::nullopt;
  return static_cast<Window>(items->front());
}

// A window manager that follows EWMH: the check window names itself.
bool window_manager_runs(Display* display, Window root) {
  const Atom check = atom(display, "_NET_SUPPORTING_WM_CHECK");
  const auto child = window_property(display, root, check);
  return child && window_property(display, *child, check) == child;
}

// The top-level client windows, the topmost first (as Windows enumerates them).
std::vector<Window> client_windows(Display* display, Window root, bool managed) {
  std::vector<Window> windows;
  if (managed) {
    auto list = long_property(display, root, atom(display, "_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
    if (!list) list = long_property(display, root, atom(display, "_NET_CLIENT_LIST"), XA_WINDOW);
    if (list) windows.assign(list->rbegin(), list->rend());  // the lists go bottom to top
    return windows;
  }
  // No window manager: the root's mapped children, leaving out menus and tooltips.
  Window root_return = None, parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, root, &root_return, &parent, &children, &count)) return windows;
  for (unsigned int i = count; i-- > 0;) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, children[i], &attributes) &&
        attributes.map_state == IsViewable && !attributes.override_redirect) {
      windows.push_back(children[i]);
    }
  }
  if (children) XFree(children);
  return windows;
}

// The window's title in UTF-8: _NET_WM_NAME, else WM_NAME in whatever encoding it has.
std::string window_title(Display* display, Window window) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, atom(display, "_NET_WM_NAME"), 0, 1 << 14, False,
                         atom(display, "UTF8_STRING"), &actual, &format, &count, &after,
                         &data) == Success &&
      data && format == 8 && count > 0) {
    title.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data) XFree(data);
  if (!title.empty()) return title;
  XTextProperty property{};
  if (!XGetWMName(display, window, &property) || !property.value) return title;
  char** list = nullptr;
  int items = 0;
  if (Xutf8TextPropertyToTextList(display, &property, &list, &items) >= Success && list &&
      items > 0 && list[0]) {
    title = list[0];
  }
  if (list) XFreeStringList(list);
  XFree(property.value);
  return title;
}

// UTF-8 as code points, each upper-cased as an ordinal comparison that ignores case does;
// a byte that starts no valid sequence stands for itself.
std::u32string folded(std::string_view text) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    char32_t point = lead;
    bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
    if (valid && length > 1) {
      point = lead & (0x7F >> length);
      for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        valid = valid && (next & 0xC0) == 0x80;
        point = (point << 6) | (next & 0x3F);
      }
    }
    if (!valid) point = lead;
    i += valid ? static_cast<std::size_t>(length) : 1;
    if (point < 0x80) {
      point = static_cast<char32_t>(point >= 'a' && point <= 'z' ? point - 32 : point);
    } else if (unicode) {
      point = static_cast<char32_t>(towupper_l(static_cast<wint_t>(point), unicode));
    }
    out.push_back(point);
  }
  return out;
}

// The window with exactly that title, else the first whose title begins with it.
std::optional<Window> find_window(Display* display, const std::vector<Window>& windows,
                                  const std::string& title) {
  const std::u32string wanted = folded(title);
  std::optional<Window> prefix;
  for (Window window : windows) {
    const std::u32string name = folded(window_title(display, window));
    if (name == wanted) return window;
    if (!prefix && name.size() > wanted.size() && name.starts_with(wanted)) prefix = window;
  }
  return prefix;
}

std::optional<Window> active_window(Display* display, Window root, bool managed) {
  if (managed) return window_property(display, root, atom(display, "_NET_ACTIVE_WINDOW"));
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  return focus;
}

void ask_to_activate(Display* display, Window root, Window window, bool managed) {
  if (!managed) {
    XMapRaised(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    return;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = atom(display, "_NET_ACTIVE_WINDOW");
  event.xclient.format = 32;
  event.xclient.data.l[0] = 2;  // the request comes from the user's own tool, like a pager
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

}  // namespace

Activation activate_window_by_title(_XDisplay* display, const std::string& title) {
  if (!display || title.empty()) return Activation::kNotFound;
  X11ErrorTrap trap(display);  // windows may go away while we look at them
  const Window root = DefaultRootWindow(display);
  const bool managed = window_manager_runs(display, root);
  const auto target = find_window(display, client_windows(display, root, managed), title);
  if (!target) return Activation::kNotFound;
  ask_to_activate(display, root, *target, managed);
  for (int step = 0;; ++step) {
    XSync(display, False);
    if (active_window(display, root, managed) == target) return Activation::kActivated;
    if (step == kWaitSteps) return Activation::kRefused;
    const timespec pause{0, kWaitStepNs};
    nanosleep(&pause, nullptr);
  }
}

}  // namespace padwire::lin
