#include "platform/sim/scenario.h"

#include <gtest/gtest.h>

#include "platform/common/emulator_record.h"
#include "platform/sim/session.h"
#include "platform/sim/sim_platform.h"

namespace padwire::sim {
namespace {

TEST(ScenarioParser, WordsStringsEscapesAndComments) {
  const auto words = split_words(R"(store "A \"b\" \\ \r\n\t" bare-word 12)", 1);
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[1].text, "A \"b\" \\ \r\n\t");
  EXPECT_TRUE(words[1].quoted);
  EXPECT_EQ(words[2].text, "bare-word");
  EXPECT_FALSE(words[2].quoted);

  const Scenario s = parse_scenario("# comment\n\n  tick 2   # trailing\nwindow \"a # b\"\n");
  ASSERT_EQ(s.commands.size(), 2u);
  EXPECT_EQ(s.commands[0].line, 3);
  EXPECT_EQ(s.commands[1].words[1].text, "a # b");
  EXPECT_FALSE(s.expected.has_value());
}

TEST(ScenarioParser, ExpectBlockMayHoldTheProgramsEndLine) {
  const Scenario s = parse_scenario("start\nexpect\n  timer off\n  end\nend\n");
  ASSERT_TRUE(s.expected.has_value());
  ASSERT_EQ(s.expected->size(), 2u);
  EXPECT_EQ((*s.expected)[1], "end");
}

TEST(ScenarioParser, MalformedFilesAreRejectedWithTheirLine) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"start\nstore \"unterminated\n", 2},
      {"store \"a\\q\" b c\n", 1},
      {"store \"a\"b c d\n", 1},
      {"tick\nexpect\ntimer on\n", 2},
      {"tick\nexpect\n", 2},
      {"repeat 0\ntick\nend repeat\n", 1},
      {"repeat x\n", 1},
      {"repeat 2 3\n", 1},
      {"tick\nend repeat\n", 2},
      {"repeat 2\ntick\nexpect\nend\n", 1},
      {"repeat 2\nrepeat 3\ntick\nend repeat\n", 1},
      {"repeat 1000\nrepeat 1000\ntick\nend repeat\nend repeat\n", 1},
  };
  for (const Case& c : cases) {
    try {
      parse_scenario(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ScenarioError& e) {
      EXPECT_EQ(e.line(), c.line) << c.text;
    }
  }
}

TEST(ScenarioParser, RepeatRunsItsBlockNTimesAndNests) {
  const Scenario s =
      parse_scenario("start\nrepeat 2\n  tick\n  repeat 3\n    wait 1\n  end repeat\nend repeat\n");
  std::string words;
  for (const Command& c : s.commands) words += c.words[0].text + " ";
  EXPECT_EQ(words, "start tick wait wait wait tick wait wait wait ");
  EXPECT_EQ(s.commands.back().line, 5);  // each command keeps its own line
}

TEST(ScenarioRunner, KeyNamesStandForTheirCodes) {
  Session session;
  session.run(parse_scenario("hold Shift\nhold ctrl\nhold PrintScreen\nhold \"Num 0\"\nhold 65\n"));
  for (int vk : {16, 17, 44, 96, 65}) EXPECT_TRUE(session.world().physical_held[vk]) << vk;
  session.run(parse_scenario("release Shift\n"));
  EXPECT_FALSE(session.world().physical_held[16]);
}

TEST(ScenarioRunner, IgnoredKindsLeaveTheTraceButQueryAnswersStay) {
  Session session;
  session.run(parse_scenario(
      "controller buttons 10 name P\nignore store\nignore debug\nhold Shift\nstart\ntick\n"
      "show store\n"));
  const std::vector<std::string> expected = {
      "device acquire", "timer off",
      "tray add \"Padwire 1.6b for DirectX7a - by the Padwire developers\"", "timer on",
      "store \"Custom\" \"Last\" \"2\""};
  EXPECT_EQ(session.world().trace.lines(), expected);
}

TEST(ScenarioRunner, ImpossibleRequestsStopTheRun) {
  const char* bad[] = {
      "frobnicate\n",
      "tick\n",                                                // not started
      "start\nstart\n",                                        // twice
      "controller none\npad x 1 y 2\n",                        // no pad to move
      "controller buttons 4 name P\npad x 1 y 2 buttons 4\n",  // no such button
      "controller buttons 4 name P\npad x 1 y 2 buttons 1,,2\n",
      "controller buttons 4 name P\npad set lQ 3\n",
      "controller buttons 4 name P\npad x 99999999999 y 0\n",
      "random 1.0\n",
      "clock 2000-13-01 00:00:00\n",
      "hold 256\n",
      "window gone \"never there\"\n",
      "start\nmenu mnuNothing\n",
      "start\nshow everything\n",
      "controller buttons 200 name P\n",
      "controller buttons 4 name P\npad plug\n",  // plugged in already
      "controller none\npad unplug\n",
      "wait -1\n",
      "devicechange\n",  // not started
      "hold Shiftt\n",
      "ignore everything\n",
      "ignore\n",
      "fail nothing\n",
      "ok device\n",
      "fail device acquire now\n",
  };
  for (const char* text : bad) {
    Session session;
    EXPECT_THROW(session.run(parse_scenario(text)), ScenarioError) << text;
  }
}

TEST(ScenarioRunner, InputAfterTheEndIsIgnoredAndSaysSo) {
  Session session;
  session.run(parse_scenario("instance running\nstart\ntick\ntray 517\ndevicechange\n"));
  const auto& lines = session.world().trace.lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "end");
  EXPECT_EQ(lines[1], "ignored: the program has ended");
}

// As the Windows program's reader finds it: the text without its NUL, at most 254 characters.
TEST(SimRegistry, TheEmulatorsRecordIsItsTextWhenItFitsTheReadersBuffer) {
  SimWorld world;
  auto read = [&](const std::string& key, const std::string& name, const std::string& data) {
    world.registry = {{"HKLM", key, name, data}};
    return recorded_emulator(world);
  };
  EXPECT_EQ(read(kEmulatorRecordKey, "location", "C:\\vgs.exe"), "C:\\vgs.exe");
  EXPECT_EQ(read(kEmulatorRecordKey, "Location", ""), "");
  EXPECT_EQ(read(kEmulatorRecordKey, "Location", std::string(254, 'a')), std::string(254, 'a'));
  EXPECT_EQ(read(kEmulatorRecordKey, "Location", std::string(255, 'a')), "");
  EXPECT_EQ(read(kEmulatorRecordKey, "Location", std::string(5000, 'a')), "");
  EXPECT_EQ(read("SOFTWARE\\Missing", "Location", "C:\\vgs.exe"), "");
  EXPECT_EQ(read(kEmulatorRecordKey, "Other", "C:\\vgs.exe"), "");
}

}  // namespace
}  // namespace padwire::sim
