// The pad's buttons as keys in the program the user works in: the VGS and SNES9X profiles, the
// last profile kept over a restart, the MS-DOS option's scan codes, auto-fire and its Tab toggle.
#include "end_to_end.h"

namespace padwire::e2e {
namespace {

namespace test = win32::test;

constexpr UINT kJ = 'J', kD = 'D';
constexpr int kHoldTab = 200;  // a short press, over many ticks

TEST_F(EndToEnd, VgsPadButtonAGivesJDownOnceAndUpOnceWithoutRepeats) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(GetForegroundWindow(), game.handle()) << "start-up took the focus";

  pad_.hold({pad::kA});
  ASSERT_TRUE(wait_for_keys(game, kJ, 1));
  test::pump_for(600);  // held over many ticks
  pad_.hold({});
  ASSERT_TRUE(wait_for_keys(game, kJ, 2));
  test::pump_for(200);
  EXPECT_EQ(key_records(game, kJ), (std::vector<InputRecord>{key_down(kJ), key_up(kJ)}))
      << describe(game.keys());
  EXPECT_EQ(game.keys().size(), 2u) << "a pad at rest sends nothing\n" << describe(game.keys());
  EXPECT_GE(pad_.count_in_log("cooperative 9"), 1) << "exclusive background access\n" << pad_.log();
}

TEST_F(EndToEnd, Snes9xChosenInTheMenuIsKeptOverARestart) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(choose(main, menu::kSnes9x));
  EXPECT_TRUE(test::pump_until([] { return test::registry_value(L"Custom", L"Last") == L"1"; }));
  ASSERT_TRUE(game.take_focus());
  EXPECT_TRUE(tap(pad::kA, game, kD)) << describe(game.keys());
  EXPECT_TRUE(key_records(game, kJ).empty());

  ASSERT_TRUE(exit_from_menu(main));
  main = launch();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(test::registry_value(L"Custom", L"Last"), L"1");
  ASSERT_TRUE(game.take_focus());
  EXPECT_TRUE(tap(pad::kA, game, kD)) << describe(game.keys());
  EXPECT_TRUE(key_records(game, kJ).empty()) << describe(game.keys());
  ASSERT_TRUE(choose(main, menu::kVgs));
  ASSERT_TRUE(game.take_focus());
  EXPECT_TRUE(tap(pad::kA, game, kJ)) << describe(game.keys());
  EXPECT_TRUE(exit_from_menu(main));
}

TEST_F(EndToEnd, DosApplicationOptionSendsTheKeysScanCodes) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(choose(main, menu::kSnes9x));  // its directions are the arrow keys
  ASSERT_TRUE(choose(main, menu::kDosApplication));
  EXPECT_TRUE(test::pump_until([] { return test::registry_value(L"Custom", L"DOS") == L"True"; }));
  ASSERT_TRUE(game.take_focus());
  ASSERT_TRUE(tap(pad::kA, game, kD));
  const UINT d_scan = MapVirtualKeyW(kD, MAPVK_VK_TO_VSC);
  EXPECT_NE(d_scan, 0u);
  EXPECT_EQ(key_records(game, kD),
            (std::vector<InputRecord>{key_down(kD, d_scan), key_up(kD, d_scan)}))
      << describe(game.keys());
  // The arrow keys go out with their scan code and without the extended flag.
  pad_.hold({}, kCentre, 0);
  ASSERT_TRUE(wait_for_keys(game, VK_UP, 1));
  pad_.hold({});
  ASSERT_TRUE(wait_for_keys(game, VK_UP, 2));
  const UINT up_scan = MapVirtualKeyW(VK_UP, MAPVK_VK_TO_VSC);
  EXPECT_EQ(key_records(game, VK_UP),
            (std::vector<InputRecord>{key_down(VK_UP, up_scan), key_up(VK_UP, up_scan)}))
      << describe(game.keys());
  EXPECT_TRUE(exit_from_menu(main));
}

// The key records of one hold of a button with auto-fire on. Each tick's burst is twelve taps;
// the first tick's burst is followed by the ordinary press, which leaves the key down, so the
// second tick's burst starts with a key-down after a key-down. Every later burst leaves the key
// up, and the release adds one more key-up: 13 + 12 n key-downs, as many key-ups.
void expect_bursts(const std::vector<InputRecord>& burst) {
  ASSERT_GE(burst.size(), 76u) << describe(burst);
  for (std::size_t i = 0; i < 24; ++i) {
    EXPECT_EQ(burst[i].message, i % 2 == 0 ? WM_KEYDOWN : WM_KEYUP) << i;
  }
  EXPECT_EQ(burst[24].message, static_cast<UINT>(WM_KEYDOWN)) << "the first tick's press";
  for (std::size_t i = 25; i + 1 < burst.size(); ++i) {
    EXPECT_EQ(burst[i].message, i % 2 == 1 ? WM_KEYDOWN : WM_KEYUP) << i;
  }
  EXPECT_EQ(burst.back().message, static_cast<UINT>(WM_KEYUP)) << "the release";
  std::size_t downs = 0;
  for (const InputRecord& r : burst) downs += r.message == WM_KEYDOWN ? 1 : 0;
  EXPECT_EQ(downs % 12, 1u) << downs << " key-downs are not whole bursts of twelve";
  EXPECT_EQ(downs * 2, burst.size());
}

TEST_F(EndToEnd, AutoFireGivesBurstsOfTwelveTapsPerTickAndTabTogglesIt) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(game.take_focus());
  ASSERT_TRUE(test::pump_until([&] { return pad_.scroll_lock() == 0; })) << pad_.log();
  auto hold_a = [&](std::size_t count) {
    const std::size_t before = key_records(game, kJ).size();
    pad_.hold({pad::kA});
    wait_for_keys(game, kJ, before + count);
    pad_.hold({});
    test::pump_for(300);
    const std::vector<InputRecord> all = key_records(game, kJ);
    return std::vector<InputRecord>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  };

  // "Allow Auto-Fire" is checked on a first run: Tab switches auto-fire on, Scroll Lock shows
  // it, and the focused program gets the Tab too.
  test::hold(VK_TAB, kHoldTab);
  const std::vector<InputRecord> tabs = key_records(game, VK_TAB);
  ASSERT_GE(tabs.size(), 2u);
  EXPECT_EQ(tabs.front().message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(tabs.back().message, static_cast<UINT>(WM_KEYUP));
  expect_bursts(hold_a(80));
  // Seen from the device's polls, which a program at rest does not make.
  EXPECT_EQ(pad_.scroll_lock(), 1) << pad_.log();

  // Tab again: off; a hold is one key-down and one key-up.
  test::hold(VK_TAB, kHoldTab);
  EXPECT_TRUE(test::pump_until([&] { return pad_.scroll_lock() == 0; }));
  EXPECT_TRUE(tap(pad::kA, game, kJ)) << "no auto-fire after the toggle";

  // Unchecking the menu item keeps it off and Tab no longer toggles; checking it switches
  // auto-fire on at once.
  ASSERT_TRUE(choose(main, menu::kAllowAutoFire));
  ASSERT_TRUE(game.take_focus());
  test::hold(VK_TAB, kHoldTab);
  test::pump_for(300);
  EXPECT_EQ(pad_.scroll_lock(), 0);
  EXPECT_TRUE(tap(pad::kA, game, kJ)) << "Tab toggles nothing while auto-fire is not allowed";
  ASSERT_TRUE(choose(main, menu::kAllowAutoFire));
  ASSERT_TRUE(game.take_focus());
  expect_bursts(hold_a(80));
  EXPECT_EQ(pad_.scroll_lock(), 1);
  EXPECT_TRUE(exit_from_menu(main));
}

}  // namespace
}  // namespace padwire::e2e
