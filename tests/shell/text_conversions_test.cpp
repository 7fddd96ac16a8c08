#include "shell/text_conversions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace padwire {
namespace {

template <typename T>
struct Case {
  std::string text;
  std::optional<T> expected;
};

TEST(TextConversions, Int16) {
  const std::vector<Case<int>> cases = {
      {"0", 0},
      {"  -12 ", -12},
      {"+7", 7},
      {"\t3\r\n", 3},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"0.5", 0},
      {"1.5", 2},
      {"2.5000001", 3},
      {"-0.4", 0},
      {".5", 0},
      {"5.", 5},
      {"1e3", 1000},
      {"1.5E+1", 15},
      {"25e-1", 2},
      {"32767", 32767},
      {"32767.4", 32767},
      {"32767.5", {}},
      {"-32768", -32768},
      {"-32768.5", -32768},
      {"-32769", {}},
      {"32768", {}},
      {"&H10", 16},
      {"&h7fff", 32767},
      {"&H8000", -32768},
      {"&HFFFF", -1},
      {"&H10000", {}},
      {"&HFFFFFFFF", -1},
      {"&H100000000", {}},
      {"&O17", 15},
      {"&o177777", -1},
      {"&O8", {}},
      {"&HG", {}},
      {"&H", {}},
      {"&", {}},
      {"-&H1", {}},
      {"True", -1},
      {" FALSE ", 0},
      {"tRuE", -1},
      {"", {}},
      {"   ", {}},
      {".", {}},
      {"-", {}},
      {"1e", {}},
      {"1e+", {}},
      {"e5", {}},
      {"1 2", {}},
      {"- 1", {}},
      {"1,000", {}},
      {"$5", {}},
      {"12abc", {}},
      {"1e999", {}},
      {"1e-999", 0},
      {"0e999999999999999", 0},
      {"NaN", {}},
      {"inf", {}},
      {"0x10", {}},
      {std::string("12\0", 3), {}},
      {std::string(5000, '0') + "42", 42},
      {std::string(5000, '9'), {}},
      {"0." + std::string(5000, '0') + "9", 0},
      {"2." + std::string(5000, '0') + "1", 2},
      {"0.5" + std::string(5000, '0') + "1", 1},
  };
  for (const auto& c : cases) {
    const auto got = text_to_int16(c.text);
    EXPECT_EQ(got ? std::optional<int>(*got) : std::nullopt, c.expected) << '"' << c.text << '"';
  }
}

TEST(TextConversions, KeyCode) {
  const std::vector<Case<int>> cases = {
      {"0", 0},       {"74", 74},   {" 255 ", 255}, {"255.4", 255}, {"255.5", {}}, {"256", {}},
      {"300", {}},    {"-1", {}},   {"-0.4", 0},    {"-0.5", 0},    {"-0.6", {}},  {"&HFF", 255},
      {"&HFFFF", {}}, {"False", 0}, {"True", {}},   {"", {}},       {"J", {}},
  };
  for (const auto& c : cases) {
    const auto got = text_to_key_code(c.text);
    EXPECT_EQ(got ? std::optional<int>(*got) : std::nullopt, c.expected) << '"' << c.text << '"';
  }
}

TEST(TextConversions, Boolean) {
  const std::vector<Case<bool>> cases = {
      {"True", true},   {"false", false}, {"  TRUE\t", true},
      {"-1", true},     {"0", false},     {"0.0", false},
      {"0.4", true},    {"-0", false},    {"&H0", false},
      {"&H8000", true}, {"1e308", true},  {"1e-400", true},
      {"1e999", {}},    {"", {}},         {"Yes", {}},
      {"Truex", {}},    {"T rue", {}},    {std::string("True\0", 5), {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(text_to_boolean(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextConversions, BooleanWordsReadBack) {
  EXPECT_EQ(boolean_to_text(true), "True");
  EXPECT_EQ(boolean_to_text(false), "False");
  EXPECT_EQ(text_to_boolean(boolean_to_text(true)), true);
  EXPECT_EQ(text_to_boolean(boolean_to_text(false)), false);
}

}  // namespace
}  // namespace padwire
