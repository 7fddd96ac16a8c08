// Synthetic key and mouse events and keystroke strings, as a focused window receives them.
#include <gtest/gtest.h>

#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_watched_keys.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

using test::InputRecord;
using test::RecorderWindow;

using test::describe;

class Focused : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(recorder.take_focus()) << "the recorder has no focus";
    // The X server's own report of the keyboard follows a focus change and resets the key
    // states: let it pass before anything is pressed.
    test::pump_for(300);
  }
  // Waits for `count` key messages.
  std::vector<InputRecord> wait_for_keys(std::size_t count) {
    test::pump_until([&] { return recorder.keys().size() >= count; }, 2000);
    test::pump_for(100);  // and nothing more
    return recorder.keys();
  }
  RecorderWindow recorder{L"Padwire key recorder"};
};

using KeyEvents = Focused;

TEST_F(KeyEvents, ArriveWithTheVirtualKeyScanCodeAndFlagsPassed) {
  Win32Keyboard keyboard;
  struct Case {
    std::uint8_t vk, scan;
    std::uint32_t flags;
    InputRecord expected;
  };
  const Case cases[] = {
      {74, 0, 0, {WM_KEYDOWN, 74, 0, false}},  // the engine's usual press: scan 0
      {74, 0, kKeyEventKeyUp, {WM_KEYUP, 74, 0, false}},
      {74, 36, 0, {WM_KEYDOWN, 74, 36, false}},  // MS-DOS mode carries the scan code
      {74, 36, kKeyEventKeyUp, {WM_KEYUP, 74, 36, false}},
      {VK_MENU, 0, kKeyEventExtended, {WM_SYSKEYDOWN, VK_MENU, 0, true}},  // window switching
      {VK_TAB, 0, kKeyEventExtended, {WM_SYSKEYDOWN, VK_TAB, 0, true}},
      {VK_TAB, 0, kKeyEventKeyUp, {WM_SYSKEYUP, VK_TAB, 0, false}},
      {VK_MENU, 0, kKeyEventKeyUp, {WM_KEYUP, VK_MENU, 0, false}},
  };
  std::vector<InputRecord> expected;
  for (const Case& c : cases) {
    keyboard.key_event(c.vk, c.scan, c.flags, 0);
    expected.push_back(c.expected);
  }
  const auto received = wait_for_keys(expected.size());
  EXPECT_EQ(received, expected) << describe(received);
  // The extended Alt went down as the right-hand Alt, which the plain key-up did not release.
  keyboard.key_event(VK_MENU, 0, kKeyEventExtended | kKeyEventKeyUp, 0);
  wait_for_keys(expected.size() + 1);
}

TEST_F(KeyEvents, KeyStateFollowsSyntheticPresses) {
  Win32Keyboard keyboard;
  keyboard.key_event('J', 0, 0, 0);
  wait_for_keys(1);
  EXPECT_LT(keyboard.async_key_state('J'), 0) << "top bit set while held";
  keyboard.key_event('J', 0, kKeyEventKeyUp, 0);
  wait_for_keys(2);
  EXPECT_GE(keyboard.async_key_state('J'), 0);
  EXPECT_EQ(keyboard.async_key_state(-1), 0);
  EXPECT_EQ(keyboard.async_key_state(256), 0);
}

// Tab, Ctrl and Print Screen up and at rest are answered from Raw Input; a key held or just
// released, and any other key, are asked of the system.
TEST_F(KeyEvents, WatchedKeysAnswerOnlyForAWatchedKeyUpAndAtRest) {
  WatchedKeys watched(recorder.handle());
  Win32Keyboard keyboard({}, &watched);
  auto raw_until = [&](const std::function<bool()>& done) {
    for (const ULONGLONG end = GetTickCount64() + 2000; !done() && GetTickCount64() < end;) {
      MSG message;
      if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        Sleep(1);
      } else if (message.message != WM_INPUT || !watched.raw_input(message)) {
        DispatchMessageW(&message);  // WM_INPUT too: its default handling frees the data
      }
    }
    return done();
  };
  for (int vk : {VK_TAB, VK_CONTROL, VK_SNAPSHOT}) EXPECT_EQ(watched.known_state(vk), 0) << vk;
  EXPECT_FALSE(watched.known_state('J'));
  keyboard.key_event(VK_CONTROL, 0, 0, 0);
  ASSERT_TRUE(raw_until([&] { return watched.changed_lately(); })) << "no raw input";
  EXPECT_FALSE(watched.known_state(VK_CONTROL));
  EXPECT_LT(keyboard.async_key_state(VK_CONTROL), 0);
  keyboard.key_event(VK_CONTROL, 0, kKeyEventKeyUp, 0);
  raw_until([&] { return keyboard.async_key_state(VK_CONTROL) >= 0; });
  EXPECT_FALSE(watched.known_state(VK_CONTROL)) << "released a moment ago";
  EXPECT_EQ(watched.known_state(VK_TAB), std::nullopt) << "any watched key changing counts";
  wait_for_keys(2);  // the key messages, so that no later test sees them
}

TEST(KeyEventsState, KeyboardStateRoundTripsTheScrollLockToggle) {
  Win32Keyboard keyboard;
  KeyboardState state{};
  ASSERT_TRUE(keyboard.get_keyboard_state(state));
  const std::uint8_t before = state[VK_SCROLL];
  state[VK_SCROLL] = static_cast<std::uint8_t>(before ^ 1);
  ASSERT_TRUE(keyboard.set_keyboard_state(state));
  KeyboardState after{};
  ASSERT_TRUE(keyboard.get_keyboard_state(after));
  EXPECT_EQ(after[VK_SCROLL] & 1, (before ^ 1) & 1);
  state[VK_SCROLL] = before;
  keyboard.set_keyboard_state(state);
}

using Keystrokes = Focused;

TEST_F(Keystrokes, TheProgramsStringsArriveAsTheKeysTheyName) {
  Win32Keystrokes keystrokes;
  ASSERT_TRUE(keystrokes.send_keys("%(E){Up}~", false));
  const auto received = wait_for_keys(8);
  // Alt + E as system keys (a menu accelerator), then Up from the editing block, then Enter.
  const std::vector<InputRecord> expected = {
      {WM_SYSKEYDOWN, VK_MENU, 56, false}, {WM_SYSKEYDOWN, 'E', 18, false},
      {WM_SYSKEYUP, 'E', 18, false},       {WM_KEYUP, VK_MENU, 56, false},
      {WM_KEYDOWN, VK_UP, 72, true},       {WM_KEYUP, VK_UP, 72, true},
      {WM_KEYDOWN, VK_RETURN, 28, false},  {WM_KEYUP, VK_RETURN, 28, false},
  };
  EXPECT_EQ(received, expected) << describe(received);
}

TEST_F(Keystrokes, EnterAloneAndShiftedCharacters) {
  Win32Keystrokes keystrokes;
  ASSERT_TRUE(keystrokes.send_keys("~", false));
  ASSERT_TRUE(keystrokes.send_keys("A", false));
  const auto received = wait_for_keys(6);
  ASSERT_EQ(received.size(), 6u) << describe(received);
  EXPECT_EQ(received[0].vk, static_cast<UINT>(VK_RETURN));
  EXPECT_EQ(received[2].vk, static_cast<UINT>(VK_SHIFT));  // a capital letter adds Shift
  EXPECT_EQ(received[3].vk, static_cast<UINT>('A'));
}

TEST_F(Keystrokes, AMalformedStringSendsNothing) {
  Win32Keystrokes keystrokes;
  EXPECT_FALSE(keystrokes.send_keys("%(E){Up", false));
  EXPECT_FALSE(keystrokes.send_keys("{NoSuchKey}", false));
  EXPECT_TRUE(keystrokes.send_keys("", false));
  EXPECT_TRUE(wait_for_keys(1).empty()) << describe(recorder.keys());
}

using Mouse = Focused;

TEST_F(Mouse, CursorMovesAndIsClippedToTheScreen) {
  Win32Mouse mouse;
  Point p;
  ASSERT_TRUE(mouse.set_cursor_pos(250, 260));
  ASSERT_TRUE(mouse.get_cursor_pos(p));
  EXPECT_EQ(p, (Point{250, 260}));
  ASSERT_TRUE(mouse.set_cursor_pos(-40, 100000));
  ASSERT_TRUE(mouse.get_cursor_pos(p));
  EXPECT_EQ(p, (Point{0, GetSystemMetrics(SM_CYSCREEN) - 1}));
}

TEST_F(Mouse, ButtonEventsClickWhereThePointerIs) {
  Win32Mouse mouse;
  POINT inside{150, 120};
  ClientToScreen(recorder.handle(), &inside);
  ASSERT_TRUE(mouse.set_cursor_pos(inside.x, inside.y));
  for (std::uint32_t flags : {kMouseLeftDown, kMouseLeftUp, kMouseRightDown, kMouseRightUp}) {
    mouse.mouse_event(flags, 0, 0, 0, 0);
  }
  test::pump_until([&] { return recorder.records.size() >= 4; }, 2000);
  ASSERT_EQ(recorder.records.size(), 4u);
  const UINT expected[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(recorder.records[i].message, expected[i]);
    EXPECT_EQ(recorder.records[i].at.x, 150);
    EXPECT_EQ(recorder.records[i].at.y, 120);
  }
}

}  // namespace
}  // namespace padwire::win32
