#include "dialog/form_joy_config.h"

#include <gtest/gtest.h>

#include "platform/sim/session.h"

namespace padwire {
namespace {

using sim::parse_scenario;
using sim::Session;

bool within(const TwipsRect& r, int x, int y, int slack) {
  return x >= r.left - slack && x <= r.left + r.width + slack && y >= r.top - slack &&
         y <= r.top + r.height + slack;
}

// A table row put under the wrong index would join a button to the wrong part of the pad.
TEST(JoyConfigLayout, EveryLeaderLineRunsFromThePictureToItsOwnButton) {
  for (int i = 0; i < kPadButtonCount; ++i) {
    SCOPED_TRACE(i);
    const auto& b = joy_config::kPadButtons[static_cast<std::size_t>(i)];
    EXPECT_TRUE(within(joy_config::kImage1, b.leader.x1, b.leader.y1, 0));
    EXPECT_TRUE(within(b.position, b.leader.x2, b.leader.y2, 60));
    for (int j = 0; j < kPadButtonCount; ++j) {
      if (j == i) continue;
      EXPECT_FALSE(within(joy_config::kPadButtons[static_cast<std::size_t>(j)].position,
                          b.leader.x2, b.leader.y2, 0));
    }
  }
}

class JoyConfig : public ::testing::Test {
 protected:
  void run(const std::string& text) { s.run(parse_scenario(text)); }
  FormJoyConfig& dialog() { return s.joy_config({}); }
  FormPadwire& form() { return s.form({}); }
  const std::string& last_line() { return s.world().trace.lines().back(); }
  Session s;
};

TEST_F(JoyConfig, TheListReadsEveryKeyFromOneTo32AndNoFurther) {
  std::string text;
  for (int n = 1; n <= 33; ++n) {
    if (n == 2 || n == 17) continue;  // gaps do not end the list
    text += "store names " + std::to_string(n) + " Set" + std::to_string(n) + "\n";
  }
  run(text + "store names 5 \"\"\nhold 16\nstart\nconfig open\n");
  const auto& entries = dialog().cmbName.entries;
  ASSERT_EQ(entries.size(), 30u);  // Custom and 29 names: 2, 5, 17 and 33 are not listed
  EXPECT_EQ(entries[0], "Custom");
  EXPECT_EQ(entries[1], "Set1");
  EXPECT_EQ(entries[2], "Set3");
  EXPECT_EQ(entries[3], "Set4");
  EXPECT_EQ(entries[4], "Set6");
  EXPECT_EQ(entries.back(), "Set32");
  EXPECT_EQ(dialog().cmbName.ListIndex, 0);
  EXPECT_EQ(dialog().cmbName.Text, "Custom");
}

TEST_F(JoyConfig, CaptureTakesTheFirstKeyDownAfterItStartsAndOnlyARealCode) {
  struct Case {
    std::int16_t key;
    const char* tag;
    const char* tip;
    bool still_waiting;
  };
  const Case cases[] = {
      {65, "65", "A", false},     {27, "27", "", false}, {16, "16", "Shift", false},
      {13, "13", "Enter", false}, {0, "75", "K", true},  {-5, "75", "K", false},
      {300, "300", "", false},
  };
  run("hold 16\nstart\nconfig open\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    dialog().btnJoy[kPadA].Tag = "75";
    dialog().btnJoy[kPadA].ToolTipText = "K";
    dialog().Form_KeyDown(66, 0);  // before the capture: not taken
    dialog().btnJoy_Click(kPadA);
    EXPECT_EQ(dialog().CapturedKey, 0);
    dialog().Form_KeyDown(c.key, 0);
    EXPECT_EQ(dialog().Capturing, c.still_waiting);
    EXPECT_EQ(dialog().btnJoy[kPadA].Tag, c.tag);
    EXPECT_EQ(dialog().btnJoy[kPadA].ToolTipText, c.tip);
    if (c.still_waiting) dialog().Form_KeyDown(75, 0);
    EXPECT_FALSE(dialog().Capturing);
    EXPECT_TRUE(dialog().btnSave.Enabled);
    EXPECT_EQ(dialog().btnJoy[kPadA].BackColor, joy_config::kButtonFace);
    EXPECT_EQ(dialog().Label1.Caption, joy_config::kInstructions);
    EXPECT_EQ(dialog().Label1.ForeColor, joy_config::kButtonText);
  }
  // A capture changes neither the running keys nor the store.
  EXPECT_EQ(form().engine.keys.JoyButtonA, 74);
  EXPECT_EQ(s.world().store.find("Padwire", "Custom", "3"), nullptr);
}

TEST_F(JoyConfig, ASecondRequestWhileOneWaitsChangesNothing) {
  run("hold 16\nstart\nconfig open\nconfig click 3\n");
  dialog().btnJoy_Click(kPadB);  // as the preview would
  EXPECT_EQ(dialog().btnJoy[kPadB].BackColor, joy_config::kButtonFace);
  EXPECT_EQ(dialog().btnJoy[kPadA].BackColor, joy_config::kCaptureGreen);
  EXPECT_EQ(dialog().Label1.Caption, std::string(joy_config::kPromptPrefix) + "A (1)");
  dialog().Form_KeyDown(90, 0);
  EXPECT_EQ(dialog().btnJoy[kPadA].Tag, "90");
  EXPECT_EQ(dialog().btnJoy[kPadB].Tag, "75");
}

TEST_F(JoyConfig, ClosingDuringACaptureStoresNothingAndTheNextOpeningIsIdle) {
  run("hold 16\nstart\nconfig open\nconfig click 8\nconfig close\n");
  EXPECT_FALSE(dialog().Capturing);
  EXPECT_EQ(dialog().CapturedKey, -1);
  EXPECT_TRUE(dialog().Unloading);
  // A back end may load the dialog directly: the load itself starts idle.
  dialog().Form_Load();
  EXPECT_FALSE(dialog().Unloading);
  for (const PadButtonControl& b : dialog().btnJoy) {
    EXPECT_TRUE(b.Enabled);
    EXPECT_EQ(b.BackColor, joy_config::kButtonFace);
  }
  EXPECT_TRUE(dialog().btnSave.Enabled && dialog().cmbName.Enabled && dialog().btnConfig.Enabled);
  EXPECT_EQ(dialog().Label1.Caption, joy_config::kInstructions);
  // The old capture does not come back to life: a key only records its code.
  dialog().Form_KeyDown(90, 0);
  EXPECT_EQ(dialog().btnJoy[kPadLeft].Tag, "65");
  // Nor does the unload need the window's close: run on its own, it leaves the dialog closed,
  // and the menu loads it again instead of only bringing it forward.
  dialog().btnJoy_Click(kPadUp);
  dialog().Form_Unload();
  EXPECT_FALSE(dialog().loaded());
  EXPECT_FALSE(dialog().Timer1.Enabled);
  run("config open\n");
  EXPECT_EQ(last_line(), "window show \"SideWinder Config\"");
  EXPECT_FALSE(dialog().Capturing);
}

TEST_F(JoyConfig, StoredTextTheTooltipCannotNameKeepsItOrEmptiesIt) {
  struct Case {
    const char* stored;
    const char* tip;
  };
  // Button B starts with "K" from the main form's code 75.
  const Case cases[] = {
      {"65", "A"}, {"abc", "K"},  {"40000", "K"},  {"", "K"},        {"300", ""},
      {"-1", ""},  {"32767", ""}, {"97", "Num 1"}, {"1e2", "Num 4"},
  };
  run("hold 16\nstart\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    s.world().store.put("Padwire", "Custom", "4", c.stored);
    form().engine.keys.JoyButtonB = 75;  // each close runs Custom, which may have changed it
    run("config open\n");
    EXPECT_EQ(dialog().btnJoy[kPadB].Tag, c.stored);
    EXPECT_EQ(dialog().btnJoy[kPadB].ToolTipText, c.tip);
    run("config close\n");
  }
}

TEST_F(JoyConfig, EveryCloseRunsCustomWithTranslationOn) {
  run("store Custom 3 90\nhold 16\nstart\nmenu mnuSNES9X\nmenu mnuEnabled\n");
  for (const char* close : {"config close\n", "config save\n"}) {
    SCOPED_TRACE(close);
    run("menu mnuVGS\nconfig open\n");
    EXPECT_FALSE(form().engine.Timer1.enabled());
    run(close);
    EXPECT_TRUE(form().engine.Timer1.enabled());
    EXPECT_TRUE(form().menu.mnuEnabled.checked);
    EXPECT_TRUE(form().menu.mnuCustom.checked);
    EXPECT_FALSE(form().menu.mnuVGS.checked);
    EXPECT_EQ(form().engine.keys.JoyButtonA, 90);
    EXPECT_EQ(last_line(), "window close \"SideWinder Config\"");
    EXPECT_EQ(*s.world().store.find("Padwire", "Custom", "Last"), "3");
  }
}

TEST_F(JoyConfig, OpeningWhileOpenOnlyBringsItForward) {
  run("hold 16\nstart\nconfig open\nconfig click 0\n");
  const std::size_t lines = s.world().trace.lines().size();
  run("config open\n");
  EXPECT_EQ(s.world().trace.lines().size(), lines + 1);  // the popup only
  EXPECT_TRUE(dialog().Capturing);
}

TEST_F(JoyConfig, WithoutDirectInputTheDialogOpensWithoutADevice) {
  run("controller buttons 10 name Pad\nhold 16\nstart\nconfig open\nconfig close\n"
      "directinput missing\nconfig open\n");
  EXPECT_FALSE(dialog().device_open());
  const auto& lines = s.world().trace.lines();
  EXPECT_EQ(lines[lines.size() - 2],
            "msgbox \"Error starting Direct Input, please make sure you have DirectX installed\" "
            "\"Padwire\"");
  EXPECT_EQ(lines.back(), "window show \"SideWinder Config\"");
  run("config tick 5\nconfig click 2\nconfig key 70\nconfig save\n");
  EXPECT_EQ(form().engine.keys.JoyButtonZ, 70);
}

}  // namespace
}  // namespace padwire
