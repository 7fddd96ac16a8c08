#include "platform/common/sendkeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace padwire {

void PrintTo(const KeyStroke& s, std::ostream* os) {
  *os << int{s.vk} << (s.key_up ? "^" : "v");
}

namespace {

constexpr std::uint8_t kShift = 16, kCtrl = 17, kAlt = 18, kEnter = 13, kUp = 38;

KeyStroke down(std::uint8_t vk) {
  return {vk, false};
}
KeyStroke up(std::uint8_t vk) {
  return {vk, true};
}

std::vector<KeyStroke> strokes_of(std::string_view keys) {
  const SendKeysResult r = parse_sendkeys(keys);
  EXPECT_TRUE(r.ok()) << keys << ": " << r.error;
  return r.strokes;
}

TEST(SendKeys, TheProgramsOwnStrings) {
  EXPECT_EQ(strokes_of("%(E){Up}~"), (std::vector{down(kAlt), down('E'), up('E'), up(kAlt),
                                                  down(kUp), up(kUp), down(kEnter), up(kEnter)}));
  EXPECT_EQ(strokes_of("%(C){Up}~"), (std::vector{down(kAlt), down('C'), up('C'), up(kAlt),
                                                  down(kUp), up(kUp), down(kEnter), up(kEnter)}));
  EXPECT_EQ(strokes_of("%(C)~"),
            (std::vector{down(kAlt), down('C'), up('C'), up(kAlt), down(kEnter), up(kEnter)}));
  EXPECT_EQ(strokes_of("~"), (std::vector{down(kEnter), up(kEnter)}));
}

TEST(SendKeys, ModifiersApplyToTheNextKeyOnly) {
  EXPECT_EQ(strokes_of("+^ab"), (std::vector{down(kShift), down(kCtrl), down('A'), up('A'),
                                             up(kCtrl), up(kShift), down('B'), up('B')}));
}

TEST(SendKeys, GroupsHoldTheirModifiersAcrossNestedGroups) {
  EXPECT_EQ(strokes_of("^(a%(b)c)"),
            (std::vector{down(kCtrl), down('A'), up('A'), down(kAlt), down('B'), up('B'), up(kAlt),
                         down('C'), up('C'), up(kCtrl)}));
  EXPECT_TRUE(strokes_of("()").empty());
}

TEST(SendKeys, ShiftedCharactersAddShiftUnlessHeldOrAnAccelerator) {
  EXPECT_EQ(strokes_of("A!"), (std::vector{down(kShift), down('A'), up('A'), up(kShift),
                                           down(kShift), down('1'), up('1'), up(kShift)}));
  EXPECT_EQ(strokes_of("+(A:)"),
            (std::vector{down(kShift), down('A'), up('A'), down(186), up(186), up(kShift)}));
  EXPECT_EQ(strokes_of("^A%(b)"), (std::vector{down(kCtrl), down('A'), up('A'), up(kCtrl),
                                               down(kAlt), down('B'), up('B'), up(kAlt)}));
  EXPECT_EQ(strokes_of("^\""),
            (std::vector{down(kCtrl), down(kShift), down(222), up(222), up(kShift), up(kCtrl)}));
}

TEST(SendKeys, RepeatsAndNamesInAnyCase) {
  EXPECT_EQ(strokes_of("+{tab 2}"),
            (std::vector{down(kShift), down(9), up(9), down(9), up(9), up(kShift)}));
  EXPECT_EQ(strokes_of("{x 255}").size(), 510u);
  EXPECT_TRUE(strokes_of("{a 0}").empty());
  EXPECT_EQ(strokes_of("{Esc}{escape}{PgDn}{f16}{bksp}{BREAK}"),
            (std::vector{down(27), up(27), down(27), up(27), down(34), up(34), down(127), up(127),
                         down(8), up(8), down(3), up(3)}));
}

TEST(SendKeys, BracesEscapeTheSpecialCharacters) {
  // Each special character types its own key: shifted unless it is a bracket.
  const std::vector<std::pair<std::string, std::uint8_t>> cases = {
      {"{+}", 187}, {"{^}", '6'}, {"{%}", '5'}, {"{~}", 192},
      {"{(}", '9'}, {"{)}", '0'}, {"{{}", 219}, {"{}}", 221}};
  for (const auto& [keys, vk] : cases) {
    EXPECT_EQ(strokes_of(keys), (std::vector{down(kShift), down(vk), up(vk), up(kShift)})) << keys;
  }
  EXPECT_EQ(strokes_of("{[}]"), (std::vector{down(219), up(219), down(221), up(221)}));
  EXPECT_EQ(strokes_of("{} 2}").size(), 8u);
}

TEST(SendKeys, MalformedStringsGiveAnErrorAndNoStrokes) {
  const std::vector<std::string> cases = {"{",
                                          "{ENTER",
                                          "}",
                                          "a}",
                                          "(a",
                                          "a)",
                                          "((a)",
                                          "{}",
                                          "{FOO}",
                                          "{ENTERX}",
                                          "{a x}",
                                          "{a }",
                                          "{a -1}",
                                          "{a 256}",
                                          "{a 99999999999999999999}",
                                          "{a 3",
                                          "{a 3 }",
                                          "+",
                                          "a^",
                                          "%()",
                                          "+(a+)",
                                          "(+)",
                                          "++a",
                                          "+(+a)",
                                          "\x80",
                                          "\xC3\xA9",
                                          "{\xC3\xA9}",
                                          std::string("a\0b", 3),
                                          "\x7F",
                                          "\x1B",
                                          std::string(9000, 'A')};
  for (const std::string& keys : cases) {
    const SendKeysResult r = parse_sendkeys(keys);
    EXPECT_FALSE(r.ok()) << keys;
    EXPECT_FALSE(r.error.empty()) << keys;
    EXPECT_TRUE(r.strokes.empty()) << keys;
  }
  EXPECT_NE(parse_sendkeys("ab{Foo}").error.find("{Foo}"), std::string::npos);
  EXPECT_NE(parse_sendkeys("ab{Foo}").error.find("position 3"), std::string::npos);
}

TEST(SendKeys, NamedKeyTableAgreesWithTheLookup) {
  for (const SendKeysNamedKey& key : sendkeys_named_keys()) {
    EXPECT_EQ(sendkeys_named_key(key.name), key.vk) << key.name;
  }
  EXPECT_EQ(sendkeys_named_key("enter"), 13);
  EXPECT_EQ(sendkeys_named_key("F17"), std::nullopt);
}

}  // namespace
}  // namespace padwire
