#include "shell/form_padwire.h"

#include <gtest/gtest.h>

#include "platform/sim/session.h"

namespace padwire {
namespace {

using sim::parse_scenario;
using sim::Session;

TEST(FormPadwire, TrayRecordHoldsTheCaptionTipNulAndBlanks) {
  Session s;
  s.run(parse_scenario("start\n"));
  const TrayIconData& tray = s.form({}).tray_icon();
  EXPECT_EQ(tray.cbSize, 88u);
  EXPECT_EQ(tray.uID, 1u);
  EXPECT_EQ(tray.uFlags, 7u);
  EXPECT_EQ(tray.uCallbackMessage, 512u);
  EXPECT_EQ(tray.hWnd, s.platform().views.main_window());
  const std::string tip(tray.szTip.data(), tray.szTip.size());
  const std::string expected = std::string(kMainCaption) + kTrayByline;
  ASSERT_LT(expected.size(), tip.size());
  EXPECT_EQ(tip.substr(0, expected.size()), expected);
  EXPECT_EQ(tip[expected.size()], '\0');
  EXPECT_EQ(tip.find_first_not_of(' ', expected.size() + 1), std::string::npos);
}

TEST(FormPadwire, RegistryStringsAreTheDataWithoutItsNulAndAtMost254Characters) {
  Session s;
  s.run(parse_scenario("start\n"));
  FormPadwire& form = s.form({});
  auto& registry = s.world().registry;
  const std::string key = "SOFTWARE\\Test";
  auto read = [&](const std::string& data) {
    registry.clear();
    registry.push_back({"HKLM", key, "Location", data});
    return form.GetRegString(kHkeyLocalMachine, key, "Location");
  };
  EXPECT_EQ(read("C:\\vgs.exe"), "C:\\vgs.exe");
  EXPECT_EQ(read(""), "");
  EXPECT_EQ(read(std::string(254, 'a')), std::string(254, 'a'));
  EXPECT_EQ(read(std::string(255, 'a')), "");
  EXPECT_EQ(read(std::string(5000, 'a')), "");
  EXPECT_EQ(form.GetRegString(kHkeyLocalMachine, "SOFTWARE\\Missing", "Location"), "");
  EXPECT_EQ(form.GetRegString(kHkeyLocalMachine, key, "Other"), "");
}

TEST(FormPadwire, ChoosingAProfileAgainRunsTheWholeHandler) {
  Session s;
  s.run(parse_scenario("hold 16\nstart\nmenu mnuCustom\n"));
  s.world().store.put("Padwire", "Custom", "3", "90");
  FormPadwire& form = s.form({});
  form.mnuCustom_Click();
  EXPECT_EQ(form.engine.keys.JoyButtonA, 90);
  EXPECT_EQ(s.world().trace.lines().back(), R"(store "Custom" "Last" "3")");
  form.engine.keys.JoyButtonA = 1;
  form.mnuVGS_Click();
  form.mnuVGS_Click();
  EXPECT_EQ(form.engine.keys.JoyButtonA, 74);
  EXPECT_TRUE(form.menu.mnuVGS.checked);
  EXPECT_FALSE(form.menu.mnuCustom.checked);
  EXPECT_FALSE(form.menu.mnuSNES9X.checked);
}

TEST(FormPadwire, ControllersWithManyButtonsNeverTouchMemoryBeyondTheEdgeMemory) {
  Session s;
  s.run(parse_scenario(
      "controller buttons 128 name \"Wheel\"\nhold 16\nstart\n"
      "pad x 32768 y 32768 buttons 12,13,100,127\ntick\npad x 32768 y 32768\ntick\n"));
  // Buttons 9 to 12 are Select; 13 and above are not translated.
  const auto& lines = s.world().trace.lines();
  int select_downs = 0;
  for (const auto& l : lines) select_downs += l == "keybd 66 0 0";
  EXPECT_EQ(select_downs, 1);
  EXPECT_EQ(s.form({}).engine.LastButtonIndex, 127);
}

}  // namespace
}  // namespace padwire
