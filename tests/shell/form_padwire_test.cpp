#include "shell/form_padwire.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sim/session.h"
#include "stored_shapes.h"

namespace padwire {
namespace {

using sim::parse_scenario;
using sim::Session;

TEST(FormPadwire, TrayIconShowsTheCaptionAndBylineAsItsTip) {
  Session s;
  s.run(parse_scenario("start\n"));
  const auto& lines = s.world().trace.lines();
  const std::string shown = "tray add " + sim::quote(std::string(kMainCaption) + kTrayByline);
  EXPECT_NE(std::find(lines.begin(), lines.end(), shown), lines.end());
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

// What the store holds besides "Last", which start-up and every profile choice write.
std::vector<std::tuple<std::string, std::string, std::string>> all_but_last(Session& s) {
  std::vector<std::tuple<std::string, std::string, std::string>> out;
  for (const auto& e : s.world().store.sorted("Padwire")) {
    if (e.key != "Last") out.emplace_back(e.section, e.key, e.value);
  }
  return out;
}

std::vector<std::string> store_lines(Session& s) {
  std::vector<std::string> out;
  for (const auto& line : s.world().trace.lines()) {
    if (line.rfind("store ", 0) == 0) out.push_back(line);
  }
  return out;
}

TEST(StoredValues, StartUpReadsEachOptionByItsConversionAndWritesNothingButLast) {
  for (const auto& shape : test::stored_shapes()) {
    SCOPED_TRACE(shape.label);
    Session s;
    for (const char* key :
         {"Select", "AutoFire", "Logitech", "RumbleType", "Autodetect", "DOS", "Last"}) {
      s.world().store.put("Padwire", "Custom", key, shape.text);
    }
    const auto before = all_but_last(s);
    s.run(parse_scenario("start\nexit\n"));
    const FormPadwire& form = s.form({});
    // Text that does not convert leaves each item as the menu is made: only "Auto-detect
    // profile" checked, and RumbleType 0.
    EXPECT_EQ(form.menu.mnuSelect.checked, shape.boolean.value_or(false));
    EXPECT_EQ(form.engine.SelectOnM, shape.boolean.value_or(false));
    EXPECT_EQ(form.menu.mnuAutoFire.checked, shape.boolean.value_or(false));
    EXPECT_EQ(form.menu.mnuLogitech.checked, shape.boolean.value_or(false));
    EXPECT_EQ(form.engine.Logitech, shape.boolean.value_or(false));
    EXPECT_EQ(form.menu.mnuAutodetectProfile.checked, shape.boolean.value_or(true));
    EXPECT_EQ(form.menu.mnuDOSApplication.checked, shape.boolean.value_or(false));
    EXPECT_EQ(form.engine.RumbleType, shape.int16.value_or(0));
    // "Last" is compared as text: only "1" and "3" name another profile than VGS.
    EXPECT_TRUE(form.menu.mnuVGS.checked);
    EXPECT_EQ(all_but_last(s), before);
    for (const auto& line : store_lines(s)) EXPECT_EQ(line, R"(store "Custom" "Last" "2")");
  }
}

TEST(StoredValues, AKeySetTakesEachKeyThatIsAKeyCodeAndKeepsThePreviousCodeForOthers) {
  for (const auto& shape : test::stored_shapes()) {
    SCOPED_TRACE(shape.label);
    Session s;
    for (int i = 0; i < kPadButtonCount; ++i) {
      s.world().store.put("Padwire", "Custom", std::to_string(i), shape.text);
    }
    const auto before = all_but_last(s);
    s.run(parse_scenario("hold 16\nstart\n"));
    FormPadwire& form = s.form({});
    for (int i = 0; i < kPadButtonCount; ++i) pad_key(form.engine.keys, i) = 1;
    form.mnuCustom_Click();
    for (int i = 0; i < kPadButtonCount; ++i) {
      EXPECT_EQ(pad_key(form.engine.keys, i), shape.key_code.value_or(1)) << "index " << i;
    }
    EXPECT_EQ(all_but_last(s), before);
  }
}

TEST(StoredValues, NamesAreTakenAsStoredAndOnlyAnEmptyOneEndsTheSearchForAWindow) {
  for (const auto& shape : test::stored_shapes()) {
    SCOPED_TRACE(shape.label);
    Session s;
    s.world().store.put("Padwire", "Names", "1", shape.text);
    s.world().store.put("Padwire", "Names", "2", "Doom");
    const auto before = all_but_last(s);
    s.run(parse_scenario("start\nconfig open\n"));
    const auto& lines = s.world().trace.lines();
    const bool searched_on =
        std::find(lines.begin(), lines.end(), R"(activate "Doom" fail)") != lines.end();
    EXPECT_EQ(searched_on, !shape.text.empty());
    // The dialog's list skips an empty name and goes on.
    std::vector<std::string> listed = {"Custom", shape.text, "Doom"};
    if (shape.text.empty()) listed.erase(listed.begin() + 1);
    EXPECT_EQ(s.joy_config({}).cmbName.entries, listed);
    EXPECT_EQ(all_but_last(s), before);
  }
}

}  // namespace
}  // namespace padwire
