// A pad of today: its stick rests a little off centre and its direction pad is a point-of-view
// hat. With "Analog Stick Dead Zone" and "D-Pad Hat as Directions" it types as a digital pad.
#include "end_to_end.h"

namespace padwire::e2e {
namespace {

namespace test = win32::test;

constexpr long kRest = kCentre - 1;
constexpr UINT kLeft = 'A', kRight = 'D', kUp = 'W', kDown = 'S', kJ = 'J';

TEST_F(EndToEnd, AnAnalogPadWithAHatTypesAsADigitalPadWithBothOptions) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(choose(main, menu::kDeadZone));
  ASSERT_TRUE(choose(main, menu::kHatDirections));
  EXPECT_TRUE(test::pump_until([] {
    return test::registry_value(L"Custom", L"DeadZone") == L"True" &&
           test::registry_value(L"Custom", L"HatDirections") == L"True";
  }));
  ASSERT_TRUE(game.take_focus());

  // At rest off centre, the stick holds nothing.
  pad_.hold({}, kRest, kRest);
  test::pump_for(300);
  EXPECT_TRUE(game.keys().empty()) << describe(game.keys());

  // Each push of the hat is one key-down, and centring it one key-up, as on a digital pad.
  const struct {
    unsigned long pov;
    UINT vk;
  } pushes[] = {{0, kUp}, {9000, kRight}, {18000, kDown}, {27000, kLeft}};
  for (const auto& push : pushes) {
    SCOPED_TRACE(push.pov);
    pad_.hold({}, kRest, kRest, push.pov);
    ASSERT_TRUE(wait_for_keys(game, push.vk, 1)) << describe(game.keys());
    pad_.hold({}, kRest, kRest);
    ASSERT_TRUE(wait_for_keys(game, push.vk, 2)) << describe(game.keys());
  }
  // A diagonal holds both of its directions.
  pad_.hold({}, kRest, kRest, 13500);
  ASSERT_TRUE(wait_for_keys(game, kDown, 3) && wait_for_keys(game, kRight, 3));
  pad_.hold({pad::kA}, kRest, kRest);
  ASSERT_TRUE(wait_for_keys(game, kJ, 1) && wait_for_keys(game, kDown, 4));
  pad_.hold({}, kRest, kRest);
  ASSERT_TRUE(wait_for_keys(game, kJ, 2) && wait_for_keys(game, kRight, 4));
  test::pump_for(200);

  for (UINT vk : {kUp, kLeft, kJ}) {
    EXPECT_EQ(key_records(game, vk), (std::vector<InputRecord>{key_down(vk), key_up(vk)}))
        << describe(game.keys());
  }
  for (UINT vk : {kRight, kDown}) {
    EXPECT_EQ(key_records(game, vk),
              (std::vector<InputRecord>{key_down(vk), key_up(vk), key_down(vk), key_up(vk)}))
        << describe(game.keys());
  }
  EXPECT_EQ(game.keys().size(), 14u) << "nothing from the resting stick\n" << describe(game.keys());
  EXPECT_TRUE(exit_from_menu(main));
}

}  // namespace
}  // namespace padwire::e2e
