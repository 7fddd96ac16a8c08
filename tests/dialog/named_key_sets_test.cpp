#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "dialog/form_joy_config.h"
#include "dialog/key_names.h"
#include "platform/sim/session.h"
#include "stored_shapes.h"

namespace padwire {
namespace {

using sim::parse_scenario;
using sim::Session;

TEST(KeySetName, OnlyNamesTheStoreCanKeepAsTheirOwnSectionAreAccepted) {
  struct Case {
    std::string name;
    KeySetNameProblem problem;
  };
  const Case cases[] = {
      {"Zelda", KeySetNameProblem::none},
      {"Custom", KeySetNameProblem::none},  // the Custom set itself; its options stay untouched
      {"Super Mario: The \"Lost\" Levels / 2", KeySetNameProblem::none},
      {"Caf\xC3\xA9", KeySetNameProblem::none},
      {"Names", KeySetNameProblem::reserved},
      {"nAMES", KeySetNameProblem::reserved},
      {"Names2", KeySetNameProblem::none},
      {"a\\b", KeySetNameProblem::bad_characters},
      {"tab\there", KeySetNameProblem::bad_characters},
      {std::string("nul\0x", 5), KeySetNameProblem::bad_characters},
      {"del\x7F", KeySetNameProblem::bad_characters},
      {"c1\xC2\x85", KeySetNameProblem::bad_characters},
      {"bad\xC3", KeySetNameProblem::bad_characters},
      {"over\xC0\xAF", KeySetNameProblem::bad_characters},
      {"surrogate\xED\xA0\x80", KeySetNameProblem::bad_characters},
      {std::string(255, 'a'), KeySetNameProblem::none},
      {std::string(256, 'a'), KeySetNameProblem::too_long},
      // 127 four-byte characters are 254 UTF-16 units; one more is 256.
      [] {
        std::string s;
        for (int i = 0; i < 127; ++i) s += "\xF0\x9F\x8E\xAE";
        return Case{s + "a", KeySetNameProblem::none};
      }(),
      [] {
        std::string s;
        for (int i = 0; i < 128; ++i) s += "\xF0\x9F\x8E\xAE";
        return Case{s, KeySetNameProblem::too_long};
      }(),
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.substr(0, 40));
    EXPECT_EQ(key_set_name_problem(c.name), c.problem);
  }
}

class NamedKeySets : public ::testing::Test {
 protected:
  void SetUp() override { run("hold 16\n"); }
  void run(const std::string& text) { s.run(parse_scenario(text)); }
  FormJoyConfig& dialog() { return s.joy_config({}); }
  const std::string* stored(const std::string& section, const std::string& key) {
    return s.world().store.find("Padwire", section, key);
  }
  // Opens the dialog, binds A to J (74 -> 90 "Z"), types the name and saves.
  void save_as(const std::string& name) {
    if (!s.started()) run("start\n");
    run("config open\nconfig click 3\nconfig key 90\n");
    dialog().type_text(name);
    run("config save\n");
  }
  Session s;
};

TEST_F(NamedKeySets, ANewNameIsTrimmedAndNumberedByTheListCount) {
  run("store names 1 One\nstore names 2 Two\nstore names 3 Three\n");
  save_as("  Four Square  ");
  EXPECT_EQ(*stored("Names", "4"), "Four Square");
  EXPECT_EQ(*stored("Four Square", "3"), "90");
  EXPECT_EQ(*stored("Custom", "3"), "90");
  EXPECT_EQ(s.form({}).engine.keys.JoyButtonA, 90);
  EXPECT_FALSE(dialog().loaded());
  run("config open\n");
  EXPECT_EQ(dialog().cmbName.entries.back(), "Four Square");
  EXPECT_EQ(dialog().btnJoy[kPadA].Tag, "90");
}

TEST_F(NamedKeySets, ListedNamesInAnyCaseAndCustomAddNoName) {
  struct Case {
    const char* typed;
    const char* section;  // where the set goes besides Custom; null: Custom only
  };
  const Case cases[] = {
      {"", nullptr},        {"     ", nullptr}, {"Custom", nullptr}, {"  Custom ", nullptr},
      {"cUSTOM", "Custom"}, {"zELDA", "Zelda"}, {" zelda", "Zelda"},
  };
  run("store names 1 Zelda\nstart\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.typed + "\"");
    const std::size_t before = s.world().trace.lines().size();
    save_as(c.typed);
    std::vector<std::string> stores;
    const auto& lines = s.world().trace.lines();
    for (std::size_t i = before; i < lines.size(); ++i) {
      if (lines[i].rfind("store ", 0) == 0) stores.push_back(lines[i]);
    }
    // 14 Custom keys, 14 more under a listed name, then "Last" from the unload; never a name.
    ASSERT_EQ(stores.size(), c.section ? 29u : 15u);
    EXPECT_EQ(stores[0], "store \"Custom\" \"0\" \"50\"");
    if (c.section) {
      EXPECT_EQ(stores[14], "store \"" + std::string(c.section) + "\" \"0\" \"50\"");
    }
    EXPECT_EQ(stores.back(), "store \"Custom\" \"Last\" \"3\"");
    EXPECT_EQ(stored("Names", "2"), nullptr);
  }
}

TEST_F(NamedKeySets, AGapInTheKeysNeverLetsANewNameOverwriteAListedOne) {
  // Three entries point at key "3", which is taken: the lowest empty key, "2", is used.
  run("store names 1 One\nstore names 3 Three\n");
  save_as("New");
  EXPECT_EQ(*stored("Names", "3"), "Three");
  EXPECT_EQ(*stored("Names", "2"), "New");
  // Names under 1, 2 and 5, and an empty value under 3: the gap at "3" is filled.
  Session other;
  other.run(parse_scenario(
      "store names 1 A\nstore names 2 B\nstore names 3 \"\"\nstore names 5 E\nhold 16\n"
      "start\nconfig open\nconfig text Fresh\nconfig save\nconfig open\n"));
  EXPECT_EQ(*other.world().store.find("Padwire", "names", "3"), "Fresh");
  EXPECT_EQ(other.world().store.find("Padwire", "names", "4"), nullptr);
  const std::vector<std::string> listed = {"Custom", "A", "B", "Fresh", "E"};
  EXPECT_EQ(other.joy_config({}).cmbName.entries, listed);
}

TEST_F(NamedKeySets, RefusedNamesShowWhyWriteNothingAndKeepTheDialogOpen) {
  std::string full;
  for (int n = 1; n <= 32; ++n)
    full += "store names " + std::to_string(n) + " S" + std::to_string(n) + "\n";
  run(full + "start\n");
  const std::vector<std::string> refused = {"Names", " names ", "Level\\1", "New",
                                            std::string(300, 'x')};
  for (const std::string& name : refused) {
    SCOPED_TRACE(name.substr(0, 20));
    run("config open\nconfig click 3\nconfig key 90\n");
    dialog().type_text(name);
    const std::uint8_t running = s.form({}).engine.keys.JoyButtonA;
    const std::size_t before = s.world().trace.lines().size();
    run("config save\n");
    const auto& lines = s.world().trace.lines();
    ASSERT_EQ(lines.size(), before + 1);
    EXPECT_EQ(lines.back().rfind("msgbox ", 0), 0u);
    EXPECT_NE(lines.back().find("\"Padwire\""), std::string::npos);
    EXPECT_TRUE(dialog().loaded());
    EXPECT_EQ(dialog().btnJoy[kPadA].Tag, "90");
    EXPECT_EQ(dialog().cmbName.Text, name);
    EXPECT_EQ(s.form({}).engine.keys.JoyButtonA, running);
    run("config close\n");
  }
  EXPECT_EQ(*stored("Names", "1"), "S1");
  // A full list still saves a listed name and Custom.
  save_as("s7");
  EXPECT_EQ(*stored("S7", "3"), "90");
  EXPECT_EQ(stored("Names", "33"), nullptr);
}

TEST_F(NamedKeySets, AListedNameThatCannotBeASetLoadsNothing) {
  run("store names 1 names\nstore names 2 Zelda\nstore Zelda 3 88\nstart\nconfig open\n");
  run("config pick 1\n");
  EXPECT_EQ(dialog().btnJoy[kPadA].Tag, "74");
  run("config pick 2\n");
  EXPECT_EQ(dialog().btnJoy[kPadA].Tag, "88");
  EXPECT_EQ(dialog().btnJoy[kPadA].ToolTipText, "X");
  // Choosing Custom puts the stored Custom codes back; without them the main form's stay.
  run("store Custom 3 70\nconfig pick 0\n");
  EXPECT_EQ(dialog().btnJoy[kPadA].Tag, "70");
  EXPECT_EQ(dialog().btnJoy[kPadB].Tag, "75");
}

TEST(StoredKeySets, EveryStoredTextBecomesATagAsItIsAndIsStoredBackUnchanged) {
  for (const auto& shape : test::stored_shapes()) {
    SCOPED_TRACE(shape.label);
    Session s;
    for (int i = 0; i < kPadButtonCount; ++i) {
      s.world().store.put("Padwire", "Custom", std::to_string(i), shape.text);
    }
    s.run(parse_scenario("hold 16\nstart\nconfig open\n"));
    FormPadwire& f = s.form({});
    std::array<int, kPadButtonCount> before{};  // the VGS codes of start-up
    for (int i = 0; i < kPadButtonCount; ++i) before[i] = pad_key(f.engine.keys, i);
    for (int i = 0; i < kPadButtonCount; ++i) {
      const PadButtonControl& button = s.joy_config({}).btnJoy[static_cast<std::size_t>(i)];
      EXPECT_EQ(button.Tag, shape.text);
      // Text that is no 16-bit number keeps the tooltip of the main form's code.
      EXPECT_EQ(button.ToolTipText, KeyName(shape.int16.value_or(before[i]))) << "index " << i;
    }
    s.run(parse_scenario("config save\n"));
    for (int i = 0; i < kPadButtonCount; ++i) {
      EXPECT_EQ(*s.world().store.find("Padwire", "Custom", std::to_string(i)), shape.text);
      // Codes are taken by Save and by the unload's reload of Custom; other text leaves the
      // main form's code.
      EXPECT_EQ(pad_key(f.engine.keys, i), shape.key_code.value_or(before[i])) << "index " << i;
    }
  }
}

}  // namespace
}  // namespace padwire
