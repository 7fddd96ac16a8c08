// The M combinations as the program the user works in meets them: M + B sends the emulator's
// menu keys and turns the pad into a mouse; M + R sends Alt + Tab and leaves no Alt held.
#include "end_to_end.h"

namespace padwire::e2e {
namespace {

namespace test = win32::test;

std::vector<InputRecord> key_downs(const RecorderWindow& window) {
  std::vector<InputRecord> downs;
  for (const InputRecord& r : window.keys()) {
    if (r.message == WM_KEYDOWN || r.message == WM_SYSKEYDOWN) downs.push_back(r);
  }
  return downs;
}

std::size_t count_messages(const RecorderWindow& window, UINT message) {
  std::size_t n = 0;
  for (const InputRecord& r : window.records) n += r.message == message ? 1 : 0;
  return n;
}

bool key_held(int vk) {
  return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

TEST_F(EndToEnd, MPlusBSendsAltEUpEnterThenThePadMovesAndClicksThePointer) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(make_m_a_modifier(main));
  ASSERT_TRUE(game.take_focus());

  pad_.hold({pad::kM, pad::kB});
  ASSERT_TRUE(wait_for_keys(game, VK_RETURN, 2)) << describe(game.keys());
  pad_.hold({});
  test::pump_for(200);
  const std::vector<InputRecord> downs = key_downs(game);
  ASSERT_EQ(downs.size(), 4u) << describe(game.keys());
  EXPECT_EQ(downs[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
  EXPECT_EQ(downs[0].vk, static_cast<UINT>(VK_MENU));
  EXPECT_EQ(downs[1].message, static_cast<UINT>(WM_SYSKEYDOWN)) << "Alt + E is a system key";
  EXPECT_EQ(downs[1].vk, static_cast<UINT>('E'));
  EXPECT_EQ(downs[2].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(downs[2].vk, static_cast<UINT>(VK_UP));
  EXPECT_EQ(downs[3].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(downs[3].vk, static_cast<UINT>(VK_RETURN));
  EXPECT_FALSE(key_held(VK_MENU));

  // The stick now moves the pointer, one pixel more on every tick.
  SetCursorPos(150, 300);
  test::pump_for(50);
  pad_.hold({}, 65535, kCentre);
  std::vector<LONG> xs{150};
  const ULONGLONG end = GetTickCount64() + 4000;
  while (xs.back() < 700 && GetTickCount64() < end) {
    POINT p{};
    GetCursorPos(&p);
    if (p.x != xs.back()) xs.push_back(p.x);
    EXPECT_EQ(p.y, 300);
    Sleep(1);
  }
  pad_.hold({});
  ASSERT_GE(xs.back(), 700) << "the pointer did not travel";
  // Each tick moves the pointer one pixel more than the tick before, from a standing start, so
  // every position read is the start plus a triangular number 1, 3, 6, 10, ... A sample may
  // span several ticks (the machine may be busy), but never lands between them.
  ASSERT_GE(xs.size(), 9u);
  LONG travelled = 0;
  LONG speed = 0;
  for (std::size_t i = 1; i < xs.size(); ++i) {
    while (travelled < xs[i] - 150) travelled += ++speed;
    EXPECT_EQ(travelled, xs[i] - 150)
        << "position " << xs[i] << " is off the accelerating path; read "
        << testing::PrintToString(xs);
  }

  // A is the left button, B the right one, at the pointer.
  test::pump_for(100);
  SetCursorPos(300, 250);
  test::pump_for(100);
  pad_.hold({pad::kA});
  EXPECT_TRUE(test::pump_until([&] { return count_messages(game, WM_LBUTTONDOWN) == 1; }));
  test::pump_for(200);
  pad_.hold({});
  EXPECT_TRUE(test::pump_until([&] { return count_messages(game, WM_LBUTTONUP) == 1; }));
  EXPECT_EQ(count_messages(game, WM_LBUTTONDOWN), 1u) << "held over many ticks: one click";
  pad_.hold({pad::kB});
  EXPECT_TRUE(test::pump_until([&] { return count_messages(game, WM_RBUTTONDOWN) == 1; }));
  pad_.hold({});
  EXPECT_TRUE(test::pump_until([&] { return count_messages(game, WM_RBUTTONUP) == 1; }));
  POINT at{};
  GetCursorPos(&at);
  EXPECT_EQ(at.x, 300) << "a pad at rest leaves the pointer alone";

  // C ends the mode (and, held on the next ordinary tick, is a key again); A is J once more.
  pad_.hold({pad::kC});
  test::pump_for(200);
  pad_.hold({});
  test::pump_for(200);
  EXPECT_TRUE(tap(pad::kA, game, 'J')) << describe(game.keys());
  EXPECT_EQ(count_messages(game, WM_LBUTTONDOWN), 1u);
  EXPECT_TRUE(exit_from_menu(main));
}

// Wine has no window switcher of its own, so the switch itself cannot be seen here; what the
// switcher of Windows acts on is: Alt held, Tab pressed with it, and both released.
TEST_F(EndToEnd, MPlusRSendsAltTabAndLeavesNoAltHeld) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(make_m_a_modifier(main));
  ASSERT_TRUE(game.take_focus());

  pad_.hold({pad::kM, pad::kR});
  ASSERT_TRUE(wait_for_keys(game, VK_MENU, 2)) << describe(game.keys());
  pad_.hold({});
  test::pump_for(200);
  const std::vector<InputRecord> keys = game.keys();
  ASSERT_EQ(keys.size(), 4u) << describe(keys);
  EXPECT_EQ(keys[0], (InputRecord{WM_SYSKEYDOWN, VK_MENU, 0, true, {}, 0}));
  EXPECT_EQ(keys[1], (InputRecord{WM_SYSKEYDOWN, VK_TAB, 0, true, {}, 0})) << "Tab with Alt";
  EXPECT_EQ(keys[2].message, static_cast<UINT>(WM_SYSKEYUP));
  EXPECT_EQ(keys[2].vk, static_cast<UINT>(VK_TAB));
  EXPECT_EQ(keys[3].vk, static_cast<UINT>(VK_MENU));
  EXPECT_TRUE(keys[3].extended) << "the right Alt comes up as it went down";
  EXPECT_FALSE(key_held(VK_MENU));
  EXPECT_FALSE(key_held(VK_RMENU));
  EXPECT_FALSE(key_held(VK_LMENU));

  // Mouse mode is on: the pad moves the pointer; C returns to keys.
  SetCursorPos(300, 250);
  pad_.hold({}, kCentre, 65535);
  EXPECT_TRUE(test::pump_until([] {
    POINT p{};
    GetCursorPos(&p);
    return p.y > 260;
  }));
  pad_.hold({pad::kC});
  test::pump_for(200);
  pad_.hold({});
  test::pump_for(200);
  EXPECT_TRUE(tap(pad::kA, game, 'J')) << describe(game.keys());
  EXPECT_TRUE(exit_from_menu(main));
}

}  // namespace
}  // namespace padwire::e2e
