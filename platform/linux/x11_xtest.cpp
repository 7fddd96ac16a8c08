#include "platform/linux/x11_xtest.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "platform/common/mouse_buttons.h"
#include "platform/linux/linux_key_codes.h"

namespace padwire::lin {

namespace {

using Clock = std::chrono::steady_clock;

// How long a remapped spare keycode keeps its keysym after its key went up: clients look the
// keysym up when they handle the event, which may be a little later.
constexpr auto kSpareHold = std::chrono::milliseconds(50);

// The X server numbers keys as the Linux key code plus 8.
constexpr int kKeycodeOffset = 8;

struct Spare {
  KeyCode keycode = 0;
  KeySym keysym = NoSymbol;
  bool down = false;
  Clock::time_point released{};
};

void fake_key(Display* display, KeyCode keycode, bool down) {
  XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
}

}  // namespace

struct XTestKeys::State {
  Display* display = nullptr;
  std::vector<Spare> spares;
  bool holding = false;  // see XTestKeys::hold
  bool held = false;     // a key waits in the connection's buffer

  void flush() {
    if (holding) {
      held = true;
    } else {
      XFlush(display);
    }
  }

  void find_spares() {
    int min = 0, max = 0, per = 0;
    XDisplayKeycodes(display, &min, &max);
    KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(min), max - min + 1, &per);
    if (map == nullptr) return;
    // From the top, where keyboards leave codes unused.
    for (int code = max; code >= min && spares.size() < 4; --code) {
      const KeySym* syms = map + static_cast<std::ptrdiff_t>(code - min) * per;
      if (std::all_of(syms, syms + per, [](KeySym s) { return s == NoSymbol; })) {
        spares.push_back({static_cast<KeyCode>(code)});
      }
    }
    XFree(map);
  }

  void remap(Spare& spare, KeySym keysym) {
    KeySym syms[1] = {keysym};
    XChangeKeyboardMapping(display, spare.keycode, 1, syms, 1);
    spare.keysym = keysym;
  }

  // Spares whose key went up long enough ago get their empty mapping back.
  void restore_spares(bool all) {
    const auto now = Clock::now();
    for (Spare& spare : spares) {
      if (spare.keysym == NoSymbol || spare.down) continue;
      if (all || now - spare.released >= kSpareHold) remap(spare, NoSymbol);
    }
  }

  Spare* carrying(KeySym keysym) {
    for (Spare& spare : spares) {
      if (spare.keysym == keysym) return &spare;
    }
    return nullptr;
  }

  // A free spare remapped to the keysym, or none.
  Spare* remapped(KeySym keysym) {
    for (Spare& spare : spares) {
      if (spare.keysym == NoSymbol) {
        remap(spare, keysym);
        XSync(display, False);
        return &spare;
      }
    }
    return nullptr;
  }

  unsigned modifier_state(bool locked) {
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return 0;
    return locked ? state.locked_mods : state.mods;
  }

  // The keypad's digits want Num Lock on when the key goes down and up; it is put back after.
  void keypad_key(KeyCode keycode, bool down) {
    const unsigned num_lock = XkbKeysymToModifiers(display, XK_Num_Lock);
    const bool lock = num_lock != 0 && (modifier_state(true) & num_lock) == 0;
    if (lock) XkbLockModifiers(display, XkbUseCoreKbd, num_lock, num_lock);
    fake_key(display, keycode, down);
    if (lock) XkbLockModifiers(display, XkbUseCoreKbd, num_lock, 0);
  }

  // A key-down on the key's second level has Shift around it unless Shift is held already, and
  // one on its third level the key that selects that level (0: none).
  void shifted_key(KeyCode keycode, bool down, bool shifted = true, KeyCode level3 = 0) {
    const KeyCode shift = shifted ? XKeysymToKeycode(display, XK_Shift_L) : 0;
    const bool press = down && shift != 0 && (modifier_state(false) & ShiftMask) == 0;
    const bool select = down && level3 != 0;
    if (press) fake_key(display, shift, true);
    if (select) fake_key(display, level3, true);
    fake_key(display, keycode, down);
    if (select) fake_key(display, level3, false);
    if (press) fake_key(display, shift, false);
  }

  void send_keysym(KeySym keysym, bool down) {
    restore_spares(false);
    Spare* spare = carrying(keysym);
    const KeyCode keycode = spare != nullptr ? 0 : XKeysymToKeycode(display, keysym);
    if (spare == nullptr && keycode == 0) spare = remapped(keysym);
    if (spare != nullptr) {
      fake_key(display, spare->keycode, down);
      spare->down = down;
      if (!down) spare->released = Clock::now();
    } else if (keycode == 0) {
      // Nothing to send it with: every spare is held down.
    } else if (XkbKeycodeToKeysym(display, keycode, 0, 0) == keysym) {
      fake_key(display, keycode, down);
    } else if (IsKeypadKey(keysym)) {
      keypad_key(keycode, down);
    } else {
      shifted_key(keycode, down);
    }
    flush();
  }
};

XTestKeys::XTestKeys(_XDisplay* display) : state_(std::make_unique<State>()) {
  state_->display = display;
  state_->find_spares();
}

XTestKeys::~XTestKeys() {
  state_->restore_spares(true);
  XFlush(state_->display);
}

void XTestKeys::send_vk(std::uint8_t vk, bool down) {
  if (const std::optional<XKeysym> x = x_keysym_for_vk(vk)) state_->send_keysym(x->keysym, down);
}

void XTestKeys::send_key(const LayoutKey& key, bool down) {
  const int keycode = key.key + kKeycodeOffset;
  const int level3 = key.level3 != 0 ? key.level3 + kKeycodeOffset : 0;
  if (keycode > 255 || level3 > 255) return;
  state_->shifted_key(static_cast<KeyCode>(keycode), down, key.shift, static_cast<KeyCode>(level3));
  state_->flush();
}

void XTestKeys::hold() {
  state_->holding = true;
}

void XTestKeys::send_held() {
  state_->holding = false;
  if (!std::exchange(state_->held, false)) return;
  XSync(state_->display, False);
}

bool x11_pointer_position(_XDisplay* display, Point& position) {
  Window root = 0, child = 0;
  int x = 0, y = 0, window_x = 0, window_y = 0;
  unsigned mask = 0;
  if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &window_x,
                     &window_y, &mask)) {
    return false;
  }
  position = {x, y};
  return true;
}

bool x11_place_pointer(_XDisplay* display, std::int32_t x, std::int32_t y) {
  const int screen = DefaultScreen(display);
  x = std::clamp(x, 0, DisplayWidth(display, screen) - 1);
  y = std::clamp(y, 0, DisplayHeight(display, screen) - 1);
  XTestFakeMotionEvent(display, screen, x, y, CurrentTime);
  XFlush(display);
  return true;
}

bool XTestMouse::get_cursor_pos(Point& position) {
  return x11_pointer_position(display_, position);
}

bool XTestMouse::set_cursor_pos(std::int32_t x, std::int32_t y) {
  return x11_place_pointer(display_, x, y);
}

void XTestMouse::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                             std::uint32_t /*data*/, std::uintptr_t /*extra_info*/) {
  if ((flags & kMouseMove) != 0) XTestFakeRelativeMotionEvent(display_, dx, dy, CurrentTime);
  for (const ButtonChange& change : mouse_event_buttons(flags)) {
    const unsigned button = change.button == MouseButton::left    ? 1
                            : change.button == MouseButton::right ? 3
                                                                  : 2;
    XTestFakeButtonEvent(display_, button, change.down ? True : False, CurrentTime);
  }
  XFlush(display_);
}

}  // namespace padwire::lin
