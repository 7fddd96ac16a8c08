// The key watch under a headless X server: another client's keys, sent while a window of a third
// client has the focus, reach it; only the keys the tick reads count as a change.
#include "platform/linux/x11_key_watch.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <thread>
// After GoogleTest, which has names that Xlib defines as macros (None, Bool).
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "x_server.h"

namespace padwire::lin {
namespace {

TEST(X11KeyWatch, HearsTheWatchedKeysWhateverWindowHasTheFocus) {
  XServer x("640x480x24");
  ASSERT_TRUE(x.display());
  XSetInputFocus(x.display(), x.make_window("Focused Elsewhere"), RevertToParent, CurrentTime);
  X11KeyWatch watch;
  ASSERT_GE(watch.fd(), 0) << "no XInput 2";
  // The key's press and release from this client; true once the watch's descriptor is readable.
  const auto tap = [&](KeySym symbol) {
    const unsigned keycode = XKeysymToKeycode(x.display(), symbol);
    XTestFakeKeyEvent(x.display(), keycode, True, CurrentTime);
    XTestFakeKeyEvent(x.display(), keycode, False, CurrentTime);
    XSync(x.display(), False);
    pollfd readable{watch.fd(), POLLIN, 0};
    return poll(&readable, 1, 10000) == 1;
  };
  ASSERT_TRUE(tap(XK_a));
  EXPECT_FALSE(watch.drain());  // an unwatched key
  for (const KeySym symbol : {XK_Tab, XK_Control_R, XK_Print}) {
    ASSERT_TRUE(tap(symbol)) << symbol;
    EXPECT_TRUE(watch.drain()) << symbol;
  }
  // A second after the last change, a watched key that was let go is surely up; a held one,
  // and a key the watch does not hear, are left to the server.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  constexpr int kLinuxTab = 15, kLinuxA = 30;
  EXPECT_TRUE(watch.surely_up(kLinuxTab));
  EXPECT_FALSE(watch.surely_up(kLinuxA));
  XTestFakeKeyEvent(x.display(), XKeysymToKeycode(x.display(), XK_Tab), True, CurrentTime);
  XSync(x.display(), False);
  pollfd readable{watch.fd(), POLLIN, 0};
  ASSERT_EQ(poll(&readable, 1, 10000), 1);
  EXPECT_TRUE(watch.drain());
  EXPECT_FALSE(watch.surely_up(kLinuxTab));
}

}  // namespace
}  // namespace padwire::lin
