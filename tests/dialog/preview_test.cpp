#include <gtest/gtest.h>

#include <algorithm>

#include "dialog/form_joy_config.h"
#include "platform/sim/session.h"

namespace padwire {
namespace {

using sim::parse_scenario;
using sim::Session;

constexpr int kNone = -1;
constexpr std::int32_t kC = kAxisCentre;

struct Reading {
  std::int32_t x = kC, y = kC;
  std::vector<int> buttons;
  int expected = kNone;            // the control whose capture this tick starts
  bool answer_key = true;          // press a key afterwards, ending a capture that waits
  std::uint32_t pov = 0xFFFFFFFF;  // hat 0, centred
};

class Preview : public ::testing::Test {
 protected:
  // `menu`: menu choices before the dialog opens.
  void open(int buttons, const std::string& menu = "") {
    s.run(parse_scenario("controller buttons " + std::to_string(buttons) +
                         " name Pad\nhold 16\nstart\n" + menu + "config open\n"));
  }
  FormJoyConfig& dialog() { return s.joy_config({}); }
  int green() {
    for (int i = 0; i < kPadButtonCount; ++i) {
      if (dialog().btnJoy[static_cast<std::size_t>(i)].BackColor == joy_config::kCaptureGreen) {
        return i;
      }
    }
    return kNone;
  }
  void play(const std::vector<Reading>& readings) {
    for (std::size_t step = 0; step < readings.size(); ++step) {
      SCOPED_TRACE(step);
      const Reading& r = readings[step];
      JoyState2& st = s.world().controller->state;
      st = JoyState2{};
      st.lX = r.x;
      st.lY = r.y;
      st.rgdwPOV[0] = r.pov;
      for (int b : r.buttons) st.rgbButtons[b] = 128;
      const bool waiting = dialog().Capturing;
      dialog().Timer1_Timer();
      if (!waiting) {
        EXPECT_EQ(green(), r.expected);
      }
      if (r.answer_key) dialog().Form_KeyDown(65, 0);
    }
  }
  Session s;
};

TEST_F(Preview, EachControllerButtonPicksItsPadButtonAndHigherOnesNothing) {
  open(128);
  const int control_of[13] = {kPadA, kPadB,     kPadC, kPadX, kPadY, kPadZ, kPadL,
                              kPadR, kPadStart, kPadM, kPadM, kPadM, kPadM};
  std::vector<Reading> r;
  for (int b = 0; b < 13; ++b) {
    r.push_back({kC, kC, {b}, control_of[b]});
    r.push_back({});
  }
  for (int b : {13, 50, 127}) r.push_back({kC, kC, {b}, kNone});
  play(r);
}

TEST_F(Preview, TheOrderOfExaminationDecidesWhatAPressPicks) {
  open(10);
  play({
      {kC - 1, kC - 1, {}, kPadLeft},  // up-left is Left, never Up
      {kC - 1, kC - 1, {}, kNone},     // still held: seen already
      {kC, kC - 1, {}, kPadUp},        // x centred: only now is y examined
      {},
      {kC + 5, kC, {0}, kPadRight},  // a button under a held direction is not seen
      {kC, kC, {0}, kPadA},          // centred again: the button still held is found
      {kC, kC + 1, {}, kPadDown},
      {kC, kC, {2, 3}, kPadC},  // the lowest new button first
      {kC, kC, {2, 3}, kPadX},  // the next tick finds the other
  });
}

TEST_F(Preview, AHeldPressStartsOneCaptureAndOneSeenDuringAWaitNone) {
  open(10);
  play({
      {kC, kC, {1}, kPadB, false},     // capture for B waits
      {kC, kC, {1, 4}, kNone, false},  // Y pressed meanwhile: dropped, but marked seen
      {kC, kC, {1, 4}, kNone, true},   // the key ends B's capture
      {kC, kC, {1, 4}, kNone},         // both still held: nothing new
      {kC, kC, {4}, kNone},
      {kC, kC, {1, 4}, kPadB},  // B pressed again
  });
  EXPECT_EQ(dialog().btnJoy[kPadB].Tag, "65");
  EXPECT_EQ(dialog().btnJoy[kPadY].Tag, "48");
}

TEST_F(Preview, TheLogitechPatchIgnoresOnlyTheWingmansRestingReading) {
  open(10, "menu mnuLogitech\n");
  play({
      {0, 0, {0}, kNone},  // Left marked held, nothing picked, nothing else examined
      {0, 0, {0}, kNone},
      {kC, kC, {0}, kPadA},
      {0, 5, {}, kPadLeft},
  });
}

TEST_F(Preview, AnAxisRestingOffCentreReadsAsThatDirectionHeldOnce) {
  open(10);
  play({{kC - 1, kC, {}, kPadLeft}, {kC - 1, kC, {3}, kNone}, {kC - 1, kC + 9, {3}, kNone}});
}

TEST_F(Preview, WithBothOptionsTheHatPicksAndARestingAnalogStickDoesNot) {
  open(10, "menu mnuDeadZone\nmenu mnuHatDirections\n");
  constexpr std::int32_t kRest = kC - 300;  // an analog stick resting off centre
  play({
      {kRest, kC + 200, {2}, kPadC},              // at rest: the buttons are examined
      {kRest, kRest, {}, kPadRight, true, 9000},  // the hat decides over the stick
      {kRest, kRest, {}, kNone},                  // centred hat: the resting stick
      {kRest, kRest, {}, kPadLeft, true, 31500},  // up-left is Left, as with the stick
      {0, kC, {}, kPadUp, true, 0},               // the hat's Up over a stick held left
  });
}

TEST_F(Preview, WithoutAReadingTheAllZeroRecordPicksNothing) {
  // No controller: no device at all.
  s.run(parse_scenario("hold 16\nstart\nconfig open\nconfig tick 20\n"));
  EXPECT_FALSE(dialog().Capturing);
  EXPECT_FALSE(dialog().device_open());
  // A device whose reads fail from the first tick on: one acquire a tick, still nothing picked.
  Session failing;
  failing.run(
      parse_scenario("controller buttons 10 name Pad\npad fail\nhold 16\nstart\n"
                     "config open\nconfig tick 3\n"));
  const auto& lines = failing.world().trace.lines();
  EXPECT_EQ(std::count(lines.end() - 3, lines.end(), "device acquire"), 3);
  EXPECT_FALSE(failing.joy_config({}).Capturing);
  // Once a reading came through, a later failure goes on with it.
  failing.run(
      parse_scenario("pad ok\npad x 32768 y 32768 buttons 8\nconfig tick\n"
                     "config key 13\npad fail\nconfig tick\n"));
  EXPECT_FALSE(failing.joy_config({}).Capturing);
  EXPECT_EQ(failing.joy_config({}).btnJoy[kPadStart].Tag, "13");
}

}  // namespace
}  // namespace padwire
