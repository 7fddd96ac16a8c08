// The key tables, keyboard layouts, keybd_event's meaning, the exact event stream of the uinput
// sink, and the choice of sinks by session.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/input.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "layout_cases.h"
#include "linux_test_support.h"
#include "platform/common/us_scan_codes.h"
#include "platform/linux/linux_input_plan.h"
#include "platform/linux/linux_key_codes.h"
#include "platform/linux/linux_key_layout.h"
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

constexpr std::uint8_t kVkShift = 0x10, kVkUp = 0x26, kVkRControl = 0xA3, kVkRShift = 0xA1,
                       kVkLeft = 0x25, kVkHome = 0x24, kVkEnd = 0x23, kVkNumpad8 = 0x68;

// A keyboard, keystrokes and mouse over a uinput device that writes into a pipe.
struct PipeSinks {
  int read_end = -1;
  std::unique_ptr<LinuxKeyboard> keyboard;
  std::unique_ptr<LinuxKeystrokes> keystrokes;
  std::unique_ptr<UinputMouse> mouse;

  explicit PipeSinks(std::shared_ptr<KeyLayout> layout = nullptr) {
    int fds[2];
    EXPECT_EQ(pipe2(fds, O_NONBLOCK), 0);
    read_end = fds[0];
    auto device = std::make_shared<UinputDevice>(fds[1]);
    KeyboardParts parts;
    parts.output = std::make_shared<UinputKeys>(device);
    parts.layout = std::move(layout);
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
      {"a scan code goes by position, E0 codes with the extended flag or an extended key's",
       [](PipeSinks& s) {
         s.keyboard->key_event(kVkNumpad8, 0x48, 0, 0);
         s.keyboard->key_event(kVkNumpad8, 0x48, kKeyEventExtended, 0);
         s.keyboard->key_event('A', 0x10, kKeyEventKeyUp, 0);
       },
       {key(KEY_KP8, 1), kSyn, key(KEY_UP, 1), kSyn, key(KEY_Q, 0), kSyn}},
      {"MS-DOS mode: the arrows, Home and End at their own places, not the keypad's",
       [](PipeSinks& s) {
         for (std::uint8_t vk : {kVkUp, kVkLeft, kVkHome, kVkEnd}) {
           s.keyboard->key_event(vk, static_cast<std::uint8_t>(s.keyboard->map_virtual_key(vk, 0)),
                                 0, 0);
         }
       },
       {key(KEY_UP, 1), kSyn, key(KEY_LEFT, 1), kSyn, key(KEY_HOME, 1), kSyn, key(KEY_END, 1),
        kSyn}},
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
      {"placements move by their difference from the estimate, which starts at the corner",
       [](PipeSinks& s) {
         s.mouse->set_cursor_pos(10, 20);
         s.mouse->set_cursor_pos(-4, 20);  // the desktop keeps the pointer on the screen
         s.mouse->mouse_event(kMouseMove, 3, -1, 0, 0);
         Point p;
         EXPECT_TRUE(s.mouse->get_cursor_pos(p));
         EXPECT_EQ(p, (Point{-1, 19}));
       },
       {rel(REL_X, 10), rel(REL_Y, 20), kSyn, rel(REL_X, -14), kSyn, rel(REL_X, 3), rel(REL_Y, -1),
        kSyn}},
  };
  for (const Case& c : cases) {
    PipeSinks sinks;
    c.act(sinks);
    EXPECT_EQ(sinks.events(), c.stream) << c.what;
  }
}

TEST(UinputSink, TypesEveryLayoutsKeys) {
  for (const test::LayoutCase& c : test::kLayoutCases) {
    PipeSinks sinks(KeyLayout::from_names({c.layout, ""}));
    sinks.keyboard->key_event(c.vk, 0, 0, 0);
    sinks.keyboard->key_event(c.vk, 0, kKeyEventKeyUp, 0);
    std::vector<Event> stream{key(c.key, 1), kSyn};
    if (c.shift) {
      stream.insert(stream.begin(), {key(KEY_LEFTSHIFT, 1), kSyn});
      stream.insert(stream.end(), {key(KEY_LEFTSHIFT, 0), kSyn});
    }
    stream.insert(stream.end(), {key(c.key, 0), kSyn});
    EXPECT_EQ(sinks.events(), stream) << c.layout << " vk " << int{c.vk};
  }
  // MS-DOS mode goes by the place of the layout's key: AZERTY's A is where US keyboards have Q.
  PipeSinks azerty(KeyLayout::from_names({"fr", ""}));
  EXPECT_EQ(azerty.keyboard->map_virtual_key('A', 0), 0x10u);
  azerty.keyboard->key_event('A', 0x10, 0, 0);
  EXPECT_EQ(azerty.events(), (std::vector<Event>{key(KEY_Q, 1), kSyn}));
}

TEST(KeyLayout, CaptureGivesEveryKeyOneCode) {
  struct Case {
    const char* layout;
    int key;
    int vk;
  };
  // The capture's rule through the dialog: qt_widgets_test; here, what lies outside its table.
  const Case cases[] = {{"us", KEY_HOME, 0}, {"de", KEY_102ND, 0xE2}};
  for (const Case& c : cases) {
    EXPECT_EQ(KeyLayout::from_names({c.layout, ""})->virtual_key_at(c.key), c.vk)
        << c.layout << " key " << c.key;
  }
  for (const char* name : {"us", "fr", "de", "ru", "us(dvorak)"}) {
    const std::unique_ptr<KeyLayout> layout = KeyLayout::from_names(parse_layout_setting(name));
    ASSERT_TRUE(layout) << name;
    std::vector<int> codes;
    for (int k = 1; k < 128; ++k) {
      if (const int vk = layout->virtual_key_at(k)) codes.push_back(vk);
    }
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()), codes.end()) << name;
    EXPECT_EQ(codes.size(), 48u) << name;
  }
  EXPECT_FALSE(KeyLayout::from_names({"no-such-layout", ""}));
}

TEST(KeyLayout, NamesComeFromTheSettingTheEnvironmentOrTheSystem) {
  test::TestFolder folder;
  folder.write("keyboard",
               "# the console's\nXKBMODEL=\"pc105\"\nXKBLAYOUT=\"de,us\"\n"
               "XKBVARIANT='nodeadkeys,'\n");
  const std::string file = folder / "keyboard";
  {
    test::ScopedVariable layout("XKB_DEFAULT_LAYOUT", "");
    EXPECT_EQ(layout_names("fr", file), (LayoutNames{"fr", ""}));
    EXPECT_EQ(layout_names(" de(neo) ", file), (LayoutNames{"de", "neo"}));
    EXPECT_EQ(layout_names("", file), (LayoutNames{"de", "nodeadkeys"}));
    EXPECT_EQ(layout_names("fr;rm -rf", folder / "none"), (LayoutNames{"us", ""}));
  }
  test::ScopedVariable layout("XKB_DEFAULT_LAYOUT", "ch");
  test::ScopedVariable variant("XKB_DEFAULT_VARIANT", "fr");
  EXPECT_EQ(layout_names("de(oops", file), (LayoutNames{"ch", "fr"}));
}

TEST(InputPlan, AWaylandSessionNeverUsesTheXServer) {
  struct Case {
    SessionFacts facts;  // wayland, x11, uinput, xtest
    KeySink sink;
    bool from_x_server;
    bool portal;
    Notice notice;
  };
  const Case cases[] = {
      {{false, true, true, true}, KeySink::kUinput, true, false, Notice::kNone},
      {{false, true, false, true}, KeySink::kXTest, true, false, Notice::kX11ProgramsOnly},
      {{false, true, false, false}, KeySink::kNone, true, false, Notice::kNone},
      {{false, false, false, false}, KeySink::kNone, false, false, Notice::kNone},
      {{true, true, true, true}, KeySink::kUinput, false, true, Notice::kNone},
      {{true, true, false, true}, KeySink::kNone, false, true, Notice::kCannotType},
      {{true, false, false, false}, KeySink::kNone, false, true, Notice::kCannotType},
  };
  for (const Case& c : cases) {
    const InputPlan plan = plan_input(c.facts);
    EXPECT_EQ(plan, (InputPlan{c.sink, c.from_x_server, c.portal, c.notice}))
        << c.facts.wayland << c.facts.x11 << c.facts.uinput << c.facts.xtest;
  }
  test::ScopedVariable wayland("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_TRUE(wayland_session());
  EXPECT_NE(notice_text(Notice::kCannotType).find(kGuideUinputSection), std::string::npos);
  EXPECT_NE(about_input_text(KeySink::kXTest, "French").find("X11 programs only"),
            std::string::npos);
}

TEST(KeyTables, MapVirtualKeyAsOnAUsLayout) {
  EXPECT_EQ(us_map_virtual_key('J', 0), 36u);
  EXPECT_EQ(us_map_virtual_key(kVkRControl, 0), 0x1Du);  // the low byte of E0 1D
  EXPECT_EQ(us_map_virtual_key(0x7C + 11, 0), 0x76u);    // F24
  EXPECT_EQ(us_map_virtual_key(0x48, 1), kVkUp);         // the keypad's code: its navigation key
  EXPECT_EQ(us_map_virtual_key(0x35, 1), 0xBFu);         // slash, not the keypad's divide
  EXPECT_EQ(us_map_virtual_key(0x36, 1), kVkShift);
  EXPECT_EQ(us_map_virtual_key(0x45, 1), 0x90u);  // Num Lock
  EXPECT_EQ(us_map_virtual_key('J', 2), 0u);
  EXPECT_EQ(us_map_virtual_key(256, 0), 0u);
}

TEST(KeyTables, APlainScanCodeIsTheKeyItsVirtualKeyNames) {
  // Letters, digits, punctuation, F1-F24 and the typing block: the two tables must agree.
  for (int vk = 0; vk < 256; ++vk) {
    const auto code = static_cast<std::uint8_t>(vk);
    const bool typing = (vk >= '0' && vk <= 'Z') || (vk >= 0x70 && vk <= 0x87) ||
                        (vk >= 0xBA && vk <= 0xE2) || vk == 0x08 || vk == 0x09 || vk == 0x0D ||
                        vk == 0x1B || vk == 0x20 || vk == 0x14 || vk == 0x91;
    const auto scan = static_cast<std::uint8_t>(us_map_virtual_key(code, 0));
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
