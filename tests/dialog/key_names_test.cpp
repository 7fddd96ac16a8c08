#include "dialog/key_names.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace padwire {
namespace {

TEST(KeyName, NamedCodes) {
  const std::vector<std::pair<int, std::string>> cases = {
      {8, "Back"},    {9, "Tab"},          {13, "Enter"},   {16, "Shift"},    {17, "Ctrl"},
      {18, "Alt"},    {19, "Pause/Break"}, {20, "Caps"},    {32, "Space"},    {33, "PgUp"},
      {34, "PgDn"},   {35, "End"},         {36, "Home"},    {37, "Left"},     {38, "Up"},
      {39, "Right"},  {40, "Down"},        {45, "Ins"},     {46, "Del"},      {48, "0"},
      {57, "9"},      {65, "A"},           {90, "Z"},       {96, "Num 0"},    {97, "Num 1"},
      {105, "Num 9"}, {106, "Gray *"},     {107, "Gray +"}, {109, "Gray -"},  {111, "Gray /"},
      {112, "F1"},    {123, "F12"},        {127, "F16"},    {144, "NumLock"}, {145, "ScrollLock"},
      {186, ";"},     {187, "="},          {188, ","},      {189, "-"},       {190, "."},
      {191, "/"},     {192, "`"},          {219, "["},      {220, "\\"},      {221, "]"},
      {222, "'"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(KeyName(code), name) << code;
}

TEST(KeyName, UnnamedCodesGiveEmptyText) {
  const std::vector<int> cases = {0,   7,   10,  27,  41,  44,    47,     58,       64,  91,  92,
                                  93,  95,  108, 110, 128, 135,   143,    146,      185, 193, 218,
                                  223, 255, -1,  256, 300, 32767, -32768, 65 + 256, -191};
  for (const int code : cases) EXPECT_EQ(KeyName(code), "") << code;
}

}  // namespace
}  // namespace padwire
