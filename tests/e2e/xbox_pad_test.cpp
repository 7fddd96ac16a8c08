// An Xbox pad, read through XInput: its controls type the keys of the pad buttons they stand
// for, its presses wake a program at rest, its rumble reaches both motors, and unplugging it
// lets go of its keys.
#include "end_to_end.h"

namespace padwire::e2e {
namespace {

namespace test = win32::test;

// The pad's controls as its DirectInput view numbers them, which the scripted XInput side
// follows.
namespace xbox {
inline constexpr int kA = 0, kBack = 6, kStart = 7;
inline constexpr unsigned long kDpadUp = 0;
}  // namespace xbox

// The VGS keys of the pad buttons: B (the Xbox A, south), Start, M (back), X (left trigger),
// Up (the D-pad).
constexpr UINT kKeyOfB = 'K', kKeyOfStart = 'N', kKeyOfM = 'B', kKeyOfX = '2', kKeyOfUp = 'W';

TEST_F(EndToEnd, AnXboxPadTypesItsButtonsKeysWakesTheProgramRumblesAndLetsGoWhenUnplugged) {
  pad_.describe(
      "name Controller (XBOX 360 For Windows)\nvendor 045E\nproduct 028E\nxinput yes\n"
      "buttons 10\n");
  test::store_registry_value(L"Custom", L"RumbleType", L"1");  // Always
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(game.take_focus());

  // At rest the program reads nothing; the press reaches it all the same, through the change
  // signal of the pad's DirectInput view.
  test::pump_for(1500);
  const int reads = pad_.count_in_log("xinput state");
  test::pump_for(500);
  EXPECT_EQ(pad_.count_in_log("xinput state"), reads) << "the pad is read at rest";
  EXPECT_TRUE(tap(xbox::kA, game, kKeyOfB)) << describe(game.keys());
  EXPECT_EQ(pad_.count_in_log("cooperative 9"), 0) << "the view was opened as a controller";

  EXPECT_TRUE(tap(xbox::kStart, game, kKeyOfStart)) << describe(game.keys());
  EXPECT_TRUE(tap(xbox::kBack, game, kKeyOfM)) << describe(game.keys());
  pad_.pull_triggers(255, 0);
  EXPECT_TRUE(wait_for_keys(game, kKeyOfX, 1));
  pad_.pull_triggers(0, 0);
  EXPECT_TRUE(wait_for_keys(game, kKeyOfX, 2));
  pad_.hold({}, kCentre, kCentre, xbox::kDpadUp);
  EXPECT_TRUE(wait_for_keys(game, kKeyOfUp, 1));
  pad_.hold({});
  EXPECT_TRUE(wait_for_keys(game, kKeyOfUp, 2));
  // "Always": the presses of A and the trigger (pad buttons B and X) start both motors at half
  // speed; Start and M do not, and every release stops them.
  EXPECT_EQ(pad_.count_in_log("xinput motors 32768 32768"), 2) << pad_.log();
  EXPECT_EQ(pad_.count_in_log("xinput motors 0 0"), 4) << pad_.log();

  // Unplugged with A held: its key comes up.
  pad_.hold({xbox::kA});
  ASSERT_TRUE(wait_for_keys(game, kKeyOfB, 3));
  pad_.plug(false);
  EXPECT_TRUE(wait_for_keys(game, kKeyOfB, 4)) << describe(game.keys());
  EXPECT_EQ(key_records(game, kKeyOfB).back(), key_up(kKeyOfB));
  EXPECT_TRUE(exit_from_menu(main));
}

}  // namespace
}  // namespace padwire::e2e
