// The key tables, keybd_event's meaning and the exact event stream of the uinput sink.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/input.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/linux/linux_key_codes.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_uinput.h"

namespace padwire::lin {
namespace {

using Event = std::tuple<int, int, int>;  // type, code, value
const Event kSyn{EV_SYN, SYN_REPORT, 0};
Event key(int code, int value) {
  return {EV_KEY, code, value};
}
Event rel(int axis, int value) {
  return {EV_REL, axis, value};
}

constexpr std::uint8_t kVkShift = 0x10, kVkUp = 0x26, kVkRControl = 0xA3, kVkRShift = 0xA1;

// A keyboard, keystrokes and mouse over a uinput device that writes into a pipe.
struct PipeSinks {
  int read_end = -1;
  std::unique_ptr<LinuxKeyboard> keyboard;
  std::unique_ptr<LinuxKeystrokes> keystrokes;
  std::unique_ptr<UinputMouse> mouse;

  PipeSinks() {
    int fds[2];
    EXPECT_EQ(pipe2(fds, O_NONBLOCK), 0);
    read_end = fds[0];
    auto device = std::make_shared<UinputDevice>(fds[1]);
    KeyboardParts parts;
    parts.output = std::make_shared<UinputKeys>(device);
    keyboard = std::make_unique<LinuxKeyboard>(std::move(parts));
    keystrokes = std::make_unique<LinuxKeystrokes>(*keyboard);
    mouse = std::make_unique<UinputMouse>(device, PointerAccess{});
  }
  ~PipeSinks() { close(read_end); }

  std::vector<Event> events() const {
    std::vector<Event> out;
    input_event e{};
    while (read(read_end, &e, sizeof e) == static_cast<ssize_t>(sizeof e)) {
      EXPECT_EQ(e.input_event_sec, 0);  // the kernel stamps the time
      out.emplace_back(e.type, e.code, e.value);
    }
    return out;
  }
};

TEST(UinputSink, WritesTheExactEventStream) {
  struct Case {
    const char* what;
    std::function<void(PipeSinks&)> act;
    std::vector<Event> stream;
  };
  const Case cases[] = {
      {"a key down and up",
       [](PipeSinks& s) {
         s.keyboard->key_event('J', 0, 0, 0);
         s.keyboard->key_event('J', 0, kKeyEventKeyUp, 0);
       },
       {key(KEY_J, 1), kSyn, key(KEY_J, 0), kSyn}},
      {"right-hand keys by virtual key",
       [](PipeSinks& s) { s.keyboard->key_event(kVkRControl, 0, 0, 0); },
       {key(KEY_RIGHTCTRL, 1), kSyn}},
      {"a scan code goes by position, E0 codes with the extended flag",
       [](PipeSinks& s) {
         s.keyboard->key_event(kVkUp, 0x48, 0, 0);
         s.keyboard->key_event(kVkUp, 0x48, kKeyEventExtended, 0);
         s.keyboard->key_event('A', 0x10, kKeyEventKeyUp, 0);
       },
       {key(KEY_KP8, 1), kSyn, key(KEY_UP, 1), kSyn, key(KEY_Q, 0), kSyn}},
      {"a keystroke string",
       [](PipeSinks& s) { EXPECT_TRUE(s.keystrokes->send_keys("+a", false)); },
       {key(KEY_LEFTSHIFT, 1), kSyn, key(KEY_A, 1), kSyn, key(KEY_A, 0), kSyn,
        key(KEY_LEFTSHIFT, 0), kSyn}},
      {"a keystroke string that does not parse sends nothing",
       [](PipeSinks& s) { EXPECT_FALSE(s.keystrokes->send_keys("a{NOSUCHKEY}", false)); },
       {}},
      {"buttons in the order Windows applies them",
       [](PipeSinks& s) { s.mouse->mouse_event(kMouseRightUp | kMouseLeftDown, 0, 0, 0, 0); },
       {key(BTN_LEFT, 1), kSyn, key(BTN_RIGHT, 0), kSyn}},
      {"the first placement homes the pointer, later ones move by the difference",
       [](PipeSinks& s) {
         s.mouse->set_cursor_pos(10, 20);
         s.mouse->set_cursor_pos(-4, 20);  // clipped to the left edge
         s.mouse->mouse_event(kMouseMove, 3, -1, 0, 0);
         Point p;
         EXPECT_TRUE(s.mouse->get_cursor_pos(p));
         EXPECT_EQ(p, (Point{3, 19}));
       },
       {rel(REL_X, -32767), rel(REL_Y, -32767), kSyn, rel(REL_X, 10), rel(REL_Y, 20), kSyn,
        rel(REL_X, -10), kSyn, rel(REL_X, 3), rel(REL_Y, -1), kSyn}},
  };
  for (const Case& c : cases) {
    PipeSinks sinks;
    c.act(sinks);
    EXPECT_EQ(sinks.events(), c.stream) << c.what;
  }
}

TEST(KeyTables, MapVirtualKeyAsOnAUsLayout) {
  EXPECT_EQ(map_virtual_key('J', 0), 36u);
  EXPECT_EQ(map_virtual_key(kVkRControl, 0), 0x1Du);  // the low byte of E0 1D
  EXPECT_EQ(map_virtual_key(0x7C + 11, 0), 0x76u);    // F24
  EXPECT_EQ(map_virtual_key(0x48, 1), kVkUp);         // the keypad's code: its navigation key
  EXPECT_EQ(map_virtual_key(0x35, 1), 0xBFu);         // slash, not the keypad's divide
  EXPECT_EQ(map_virtual_key(0x36, 1), kVkShift);
  EXPECT_EQ(map_virtual_key(0x45, 1), 0x90u);  // Num Lock
  EXPECT_EQ(map_virtual_key('J', 2), 0u);
  EXPECT_EQ(map_virtual_key(256, 0), 0u);
}

TEST(KeyTables, APlainScanCodeIsTheKeyItsVirtualKeyNames) {
  // Letters, digits, punctuation, F1-F24 and the typing block: the two tables must agree.
  for (int vk = 0; vk < 256; ++vk) {
    const auto code = static_cast<std::uint8_t>(vk);
    const bool typing = (vk >= '0' && vk <= 'Z') || (vk >= 0x70 && vk <= 0x87) ||
                        (vk >= 0xBA && vk <= 0xE2) || vk == 0x08 || vk == 0x09 || vk == 0x0D ||
                        vk == 0x1B || vk == 0x20 || vk == 0x14 || vk == 0x91;
    const auto scan = static_cast<std::uint8_t>(map_virtual_key(code, 0));
    if (!typing || scan == 0) continue;
    EXPECT_EQ(linux_key_for_scan(scan, false), linux_key_for_vk(code)) << "vk " << vk;
    EXPECT_NE(linux_key_for_vk(code), 0) << "vk " << vk;
  }
}

TEST(KeyTables, KeysBeyondTheTypingBlock) {
  for (int f = 0; f < 12; ++f)
    EXPECT_EQ(linux_key_for_vk(static_cast<std::uint8_t>(0x7C + f)), KEY_F13 + f);
  EXPECT_EQ(linux_key_for_vk(0x60), KEY_KP0);
  EXPECT_EQ(linux_key_for_vk(0x6E), KEY_KPDOT);
  EXPECT_EQ(linux_key_for_vk(0x2C), KEY_SYSRQ);  // Print Screen
  EXPECT_EQ(linux_key_for_vk(0x5D), KEY_COMPOSE);
  EXPECT_EQ(linux_key_for_vk(0xAD), KEY_MUTE);
  EXPECT_EQ(linux_key_for_scan(0x35, true), KEY_KPSLASH);
  EXPECT_EQ(linux_key_for_scan(0x1C, true), KEY_KPENTER);
  EXPECT_EQ(linux_key_for_scan(0x1E, true), 0);
  EXPECT_EQ(linux_key_for_scan(0x54, false), KEY_SYSRQ);

  EXPECT_EQ(x_keysym_for_vk('A')->keysym, 'a');
  EXPECT_FALSE(x_keysym_for_vk('A')->shift);
  EXPECT_EQ(x_keysym_for_vk(0x67)->keysym, 0xFFB7u);  // keypad 7 on its key's second level
  EXPECT_TRUE(x_keysym_for_vk(0x67)->shift);
  EXPECT_EQ(x_keysym_for_vk(0x87)->keysym, 0xFFD5u);  // F24
  EXPECT_FALSE(x_keysym_for_vk(0xFF).has_value());

  const std::vector<int> keys = linux_keys_in_tables();
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  EXPECT_TRUE(std::binary_search(keys.begin(), keys.end(), KEY_F24));
  EXPECT_TRUE(std::binary_search(keys.begin(), keys.end(), KEY_KPENTER));
}

TEST(LinuxKeyboard, KeyStatesAndTheScrollLockLight) {
  std::vector<int> held{KEY_RIGHTSHIFT};
  std::optional<bool> light = false;
  std::vector<bool> written;
  KeyboardParts parts;
  parts.output = std::make_shared<UinputKeys>(nullptr);
  parts.key_held = [&](int k) { return std::find(held.begin(), held.end(), k) != held.end(); };
  parts.read_scroll_lock = [&] { return light; };
  parts.write_scroll_lock = [&](bool lit) {
    written.push_back(lit);
    light = lit;
  };
  LinuxKeyboard keyboard(std::move(parts));

  EXPECT_EQ(keyboard.async_key_state(kVkShift), -32768);  // either side
  EXPECT_EQ(keyboard.async_key_state(kVkRShift), -32768);
  EXPECT_EQ(keyboard.async_key_state(0xA0), 0);
  EXPECT_EQ(keyboard.async_key_state(256), 0);

  KeyboardState state{};
  state[0x91] = 1;
  state[0x41] = 0x80;
  EXPECT_TRUE(keyboard.set_keyboard_state(state));
  EXPECT_TRUE(keyboard.set_keyboard_state(state));  // lit already: not written again
  EXPECT_EQ(written, std::vector<bool>{true});
  light = false;  // the user put the light out
  KeyboardState read{};
  EXPECT_TRUE(keyboard.get_keyboard_state(read));
  EXPECT_EQ(read[0x91], 0);
  EXPECT_EQ(read[0x41], 0x80);
  light = std::nullopt;  // unreadable: the table keeps its own toggle
  read[0x91] = 3;
  EXPECT_TRUE(keyboard.set_keyboard_state(read));
  light = std::nullopt;
  EXPECT_TRUE(keyboard.get_keyboard_state(read));
  EXPECT_EQ(read[0x91], 3);
}

}  // namespace
}  // namespace padwire::lin
