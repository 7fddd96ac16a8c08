#include "platform/linux/x11_input.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "platform/linux/linux_key_state.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_uinput.h"
#include "platform/linux/x11_xtest.h"

namespace padwire::lin {

namespace {

constexpr int kKeycodeOffset = 8;  // X keycodes are the Linux key codes plus 8

class NoKeys final : public KeyOutput {
 public:
  void send_vk(std::uint8_t, bool) override {}
  void send_key(const LayoutKey&, bool) override {}
};

class NoMouse final : public Mouse {
 public:
  bool get_cursor_pos(Point&) override { return false; }
  bool set_cursor_pos(std::int32_t, std::int32_t) override { return false; }
  void mouse_event(std::uint32_t, std::int32_t, std::int32_t, std::uint32_t,
                   std::uintptr_t) override {}
};

bool x11_key_held(Display* display, int linux_key) {
  const int keycode = linux_key + kKeycodeOffset;
  if (keycode > 255) return false;
  char keys[32] = {};
  XQueryKeymap(display, keys);
  return (static_cast<unsigned char>(keys[keycode / 8]) & (1u << (keycode % 8))) != 0;
}

// The display's part of the keyboard: key states and the Scroll Lock light.
void add_display_parts(KeyboardParts& parts, Display* display) {
  parts.key_held = [display](int linux_key) { return x11_key_held(display, linux_key); };
  const Atom scroll_lock = XInternAtom(display, "Scroll Lock", False);
  parts.read_scroll_lock = [display, scroll_lock]() -> std::optional<bool> {
    Bool lit = False;
    if (!XkbGetNamedIndicator(display, scroll_lock, nullptr, &lit, nullptr, nullptr)) {
      return std::nullopt;
    }
    return lit != False;
  };
  parts.write_scroll_lock = [display, scroll_lock](bool lit) {
    XkbSetNamedIndicator(display, scroll_lock, True, lit ? True : False, False, nullptr);
    XSync(display, False);  // set once this returns, for every client that reads it
  };
}

bool has_xtest(Display* display) {
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  return XTestQueryExtension(display, &event_base, &error_base, &major, &minor) != False;
}

}  // namespace

InputSinks open_input_sinks(_XDisplay* display, SinkOptions options) {
  InputSinks sinks;
  std::shared_ptr<UinputDevice> device = UinputDevice::create();
  SessionFacts facts;
  facts.wayland = options.wayland;
  facts.x11 = display != nullptr;
  facts.uinput = device != nullptr;
  facts.xtest = display != nullptr && has_xtest(display);
  sinks.plan = plan_input(facts);
  if (!sinks.plan.from_x_server) display = nullptr;  // the X server is not asked again

  KeyboardParts parts;
  parts.layout = std::move(options.layout);
  parts.before_key = std::move(options.before_key);
  switch (sinks.plan.sink) {
    case KeySink::kUinput: {
      PointerAccess pointer;
      if (display != nullptr) {
        pointer.get = [display](Point& position) {
          return x11_pointer_position(display, position);
        };
        pointer.set = [display](std::int32_t x, std::int32_t y) {
          return x11_place_pointer(display, x, y);
        };
      }
      parts.output = std::make_shared<UinputKeys>(device);
      sinks.mouse = std::make_unique<UinputMouse>(device, std::move(pointer));
      break;
    }
    case KeySink::kXTest: {
      auto keys = std::make_shared<XTestKeys>(display);
      sinks.hold_keys = [keys] { keys->hold(); };
      sinks.send_held_keys = [keys] { keys->send_held(); };
      parts.output = std::move(keys);
      sinks.mouse = std::make_unique<XTestMouse>(display);
      break;
    }
    case KeySink::kNone:
      parts.output = std::make_shared<NoKeys>();
      sinks.mouse = std::make_unique<NoMouse>();
      break;
  }
  if (display != nullptr) {
    parts.surely_up = std::move(options.surely_up);
    add_display_parts(parts, display);
  } else {
    auto evdev = std::make_shared<EvdevKeyState>();
    parts.key_held = [evdev](int linux_key) { return evdev->held(linux_key); };
  }
  auto keyboard = std::make_unique<LinuxKeyboard>(std::move(parts));
  sinks.keystrokes = std::make_unique<LinuxKeystrokes>(*keyboard);
  sinks.keyboard = std::move(keyboard);
  return sinks;
}

}  // namespace padwire::lin
