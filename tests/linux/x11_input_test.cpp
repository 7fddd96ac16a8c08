// The XTest sink under a headless X server: a window of this test receives what it sends.
#include "platform/linux/x11_input.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>

#include <vector>
// Xlib's macros (None, Bool) would break gtest's headers: Xlib comes after them.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <memory>

#include "layout_cases.h"
#include "platform/linux/x11_key_layout.h"
#include "x_server.h"

namespace padwire::lin {
namespace {

constexpr std::uint8_t kVkTab = 0x09, kVkEscape = 0x1B, kVkNumpad7 = 0x67, kVkF13 = 0x7C,
                       kVkF24 = 0x87;

class XTestSinks : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<XServer>("1024x768x24");
    client_ = XOpenDisplay(nullptr);
    sink_display_ = XOpenDisplay(nullptr);
    ASSERT_TRUE(client_ != nullptr && sink_display_ != nullptr) << "no X display";
    window_ = XCreateSimpleWindow(client_, DefaultRootWindow(client_), 0, 0, 300, 200, 0, 0, 0);
    XSelectInput(client_, window_,
                 KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                     PointerMotionMask | StructureNotifyMask);
    XMapRaised(client_, window_);
    ASSERT_TRUE(next(MapNotify).has_value());
    XSetInputFocus(client_, window_, RevertToParent, CurrentTime);
    XSync(client_, False);
    layout_ = x11_key_layout();
    ASSERT_TRUE(layout_) << "no keymap from the X server";
    SinkOptions options;
    options.layout = layout_;
    sinks_ = open_input_sinks(sink_display_, options);
    if (sinks_.plan.sink != KeySink::kXTest) GTEST_SKIP() << "the keys go through uinput";
    sinks_.mouse->set_cursor_pos(100, 100);  // over the window, for the buttons
    next(MotionNotify);
  }

  void TearDown() override {
    sinks_ = {};
    if (sink_display_ != nullptr) XCloseDisplay(sink_display_);
    if (client_ != nullptr) XCloseDisplay(client_);
    server_.reset();
  }

  // The next event of the type; nothing when none comes within a generous guard.
  std::optional<XEvent> next(int type) {
    for (int waited = 0; waited < 100;) {
      if (XPending(client_) == 0) {
        pollfd p{ConnectionNumber(client_), POLLIN, 0};
        if (poll(&p, 1, 100) == 0) ++waited;
        continue;
      }
      XEvent event;
      XNextEvent(client_, &event);
      if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
      if (event.type == type) return event;
    }
    return std::nullopt;
  }

  // The keysyms of the keys pressed up to Escape, which ends the list, without modifier keys.
  std::vector<KeySym> typed() {
    sinks_.keyboard->key_event(kVkEscape, 0, 0, 0);
    sinks_.keyboard->key_event(kVkEscape, 0, kKeyEventKeyUp, 0);
    std::vector<KeySym> keysyms;
    // Read with the keymap of now: Xlib keeps a connection's first one.
    const std::unique_ptr<Display, int (*)(Display*)> lookup(XOpenDisplay(nullptr), XCloseDisplay);
    while (std::optional<XEvent> event = next(KeyPress)) {
      KeySym keysym = NoSymbol;
      char text[8];
      event->xkey.display = lookup.get();
      XLookupString(&event->xkey, text, sizeof text, &keysym, nullptr);
      if (keysym == XK_Escape) return keysyms;
      if (!IsModifierKey(keysym)) keysyms.push_back(keysym);
    }
    ADD_FAILURE() << "Escape never arrived";
    return keysyms;
  }

  void tap(std::uint8_t vk, std::uint8_t scan = 0) {
    sinks_.keyboard->key_event(vk, scan, 0, 0);
    sinks_.keyboard->key_event(vk, scan, kKeyEventKeyUp, 0);
  }

  std::unique_ptr<XServer> server_;
  Display* client_ = nullptr;
  Display* sink_display_ = nullptr;
  Window window_ = 0;
  std::shared_ptr<KeyLayout> layout_;
  InputSinks sinks_;
};

TEST_F(XTestSinks, KeysArriveAsTheirKeysyms) {
  EXPECT_TRUE(sinks_.keystrokes->send_keys("aA", false));  // a capital with Shift around it
  tap(kVkNumpad7);                                         // Num Lock locked for it
  tap(kVkF13);                                             // missing: on a spare keycode
  tap(kVkF24);
  tap(kVkF13);      // the spare still carries it
  tap('A', 0x24);   // "MS-DOS": the key at the scan code's position
  tap(0x25, 0x4B);  // Left, at its own position rather than the keypad's
  EXPECT_EQ(typed(),
            (std::vector<KeySym>{XK_a, XK_A, XK_KP_7, XK_F13, XK_F24, XK_F13, XK_j, XK_Left}));
}

TEST_F(XTestSinks, TypesEveryLayoutsKeysAsTheServerSwitchesLayouts) {
  const auto setxkbmap = [](const std::string& layouts) {
    int status = -1;
    const pid_t pid = spawn({"setxkbmap", layouts});
    return pid > 0 && waitpid(pid, &status, 0) == pid && status == 0;
  };
  for (const std::string name : {"fr", "de", "us"}) {
    const std::string before = layout_->name();
    ASSERT_TRUE(setxkbmap(name)) << name;
    ASSERT_TRUE(eventually([&] { return layout_->name() != before; })) << "still " << before;
    std::vector<KeySym> expected;
    for (const test::LayoutCase& c : test::kLayoutCases) {
      if (c.layout != name) continue;
      tap(c.vk);
      expected.push_back(c.keysym);
    }
    EXPECT_EQ(typed(), expected) << name;
  }
  // A switch to the second group of two.
  ASSERT_TRUE(setxkbmap("us,de"));
  XkbLockGroup(client_, XkbUseCoreKbd, 1);
  XSync(client_, False);
  EXPECT_TRUE(eventually([&] { return layout_->key_for('Y')->key == KEY_Z; }));
}

TEST_F(XTestSinks, ButtonsAndThePointer) {
  sinks_.mouse->set_cursor_pos(30, 40);
  const std::optional<XEvent> motion = next(MotionNotify);
  ASSERT_TRUE(motion.has_value());
  EXPECT_EQ(motion->xmotion.x_root, 30);
  EXPECT_EQ(motion->xmotion.y_root, 40);
  sinks_.mouse->mouse_event(kMouseLeftDown | kMouseLeftUp, 0, 0, 0, 0);
  sinks_.mouse->mouse_event(kMouseRightDown, 0, 0, 0, 0);
  sinks_.mouse->mouse_event(kMouseRightUp, 0, 0, 0, 0);
  std::vector<unsigned> pressed;
  for (int i = 0; i < 2; ++i) {
    if (const std::optional<XEvent> press = next(ButtonPress))
      pressed.push_back(press->xbutton.button);
  }
  EXPECT_EQ(pressed, (std::vector<unsigned>{1, 3}));

  sinks_.mouse->set_cursor_pos(-5, 100000);  // clipped to the screen
  Point p;
  XSync(sink_display_, False);
  EXPECT_TRUE(sinks_.mouse->get_cursor_pos(p));
  EXPECT_EQ(p, (Point{0, DisplayHeight(client_, DefaultScreen(client_)) - 1}));
}

TEST_F(XTestSinks, HeldKeysAndTheScrollLockLight) {
  Keyboard& keyboard = *sinks_.keyboard;
  keyboard.key_event(kVkTab, 0, 0, 0);
  EXPECT_EQ(keyboard.async_key_state(kVkTab), -32768);
  keyboard.key_event(kVkTab, 0, kKeyEventKeyUp, 0);
  EXPECT_EQ(keyboard.async_key_state(kVkTab), 0);

  // A tick's keys wait until it ends, and are handled once send_held_keys returns.
  const auto tab_down = [&] {
    char keys[32];
    XQueryKeymap(client_, keys);  // another client's view: the sink's connection sends nothing
    const KeyCode tab = XKeysymToKeycode(client_, XK_Tab);
    return ((keys[tab / 8] >> (tab % 8)) & 1) != 0;
  };
  sinks_.hold_keys();
  keyboard.key_event(kVkTab, 0, 0, 0);
  EXPECT_FALSE(tab_down());
  sinks_.send_held_keys();
  EXPECT_TRUE(tab_down());
  keyboard.key_event(kVkTab, 0, kKeyEventKeyUp, 0);

  KeyboardState state{};
  ASSERT_TRUE(keyboard.get_keyboard_state(state));
  for (const int toggle : {1, 0}) {
    state[0x91] = static_cast<std::uint8_t>(toggle);
    EXPECT_TRUE(keyboard.set_keyboard_state(state));
    Bool lit = False;
    XkbGetNamedIndicator(client_, XInternAtom(client_, "Scroll Lock", False), nullptr, &lit,
                         nullptr, nullptr);
    EXPECT_EQ(lit != False, toggle == 1);
    KeyboardState read{};
    EXPECT_TRUE(keyboard.get_keyboard_state(read));
    EXPECT_EQ(read[0x91], toggle);
  }
}

}  // namespace
}  // namespace padwire::lin
