#include "engine/standard_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace padwire {
namespace {

using B = StandardPad;
constexpr std::int32_t kC = kAxisCentre;

// The record buttons held, in order.
std::vector<int> held(const JoyState2& record) {
  std::vector<int> buttons;
  for (int i = 0; i < 128; ++i) {
    if (record.rgbButtons[i] != 0) buttons.push_back(i);
  }
  return buttons;
}

TEST(StandardLayout, EachControlHoldsItsButtonAndTheDirectionsComeFromDPadThenStick) {
  struct Case {
    const char* what;
    std::vector<B::Button> pressed;
    std::int32_t lx, ly, lt, rt;
    std::vector<int> buttons;
    std::int32_t x, y;
  };
  const Case cases[] = {
      {"west", {B::west}, kC, kC, 0, 0, {0}, kC, kC},
      {"south", {B::south}, kC, kC, 0, 0, {1}, kC, kC},
      {"east", {B::east}, kC, kC, 0, 0, {2}, kC, kC},
      {"left trigger", {}, kC, kC, 65535, 0, {3}, kC, kC},
      {"right trigger", {}, kC, kC, 0, 32768, {4}, kC, kC},
      {"trigger at half", {}, kC, kC, 32767, 32767, {}, kC, kC},
      {"north", {B::north}, kC, kC, 0, 0, {5}, kC, kC},
      {"shoulders", {B::left_shoulder, B::right_shoulder}, kC, kC, 0, 0, {6, 7}, kC, kC},
      {"start and back", {B::start, B::back}, kC, kC, 0, 0, {8, 9}, kC, kC},
      {"guide and clicks", {B::guide, B::left_stick, B::right_stick}, kC, kC, 0, 0, {}, kC, kC},
      {"up-right", {B::dpad_up, B::dpad_right}, kC, kC, 0, 0, {}, 65535, 0},
      {"down-left over the stick", {B::dpad_down, B::dpad_left}, 65535, 0, 0, 0, {}, 0, 65535},
      {"left and right at once", {B::dpad_left, B::dpad_right, B::dpad_up}, 0, kC, 0, 0, {}, kC, 0},
      {"stick in its dead zone", {}, 24576, 40960, 0, 0, {}, kC, kC},
      {"stick beyond it", {}, 24575, 40961, 0, 0, {}, 24575, 40961},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StandardPad pad;
    for (B::Button b : c.pressed) pad.buttons[b] = true;
    pad.left_x = c.lx;
    pad.left_y = c.ly;
    pad.left_trigger = c.lt;
    pad.right_trigger = c.rt;
    pad.right_x = 0;  // the right stick types nothing
    pad.right_y = 65535;
    const JoyState2 record = StandardLayout().map(pad);
    EXPECT_EQ(held(record), c.buttons);
    EXPECT_EQ(record.lX, c.x);
    EXPECT_EQ(record.lY, c.y);
    EXPECT_EQ(record.rgdwPOV[0], 0xFFFFFFFFu);
  }
}

TEST(StandardLayout, ATriggerKeepsItsStateBetweenAThirdAndHalfItsTravel) {
  const std::pair<std::int32_t, bool> steps[] = {{30000, false}, {32768, true},  {21845, true},
                                                 {30000, true},  {21844, false}, {32767, false},
                                                 {65535, true},  {0, false}};
  StandardLayout layout;
  for (const auto& [travel, held] : steps) {
    StandardPad pad;
    pad.right_trigger = travel;
    EXPECT_EQ(layout.map(pad).rgbButtons[4] != 0, held) << travel;
  }
}

}  // namespace
}  // namespace padwire
