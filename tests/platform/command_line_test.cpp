#include "platform/common/command_line.h"

#include <gtest/gtest.h>

namespace padwire {
namespace {

TEST(CommandLine, SplitsAsWindowsDoes) {
  using Arguments = std::vector<std::string>;
  const struct {
    const char* line;
    Arguments arguments;
  } cases[] = {
      {"", {}},
      {"  ", {}},
      {"prog a  b\tc", {"prog", "a", "b", "c"}},
      {R"("C:\Program Files\vgs.exe" -f)", {R"(C:\Program Files\vgs.exe)", "-f"}},
      {R"(a"b c"d "")", {"ab cd", ""}},
      {R"(a\\b \"q\" x\\"y z")", {R"(a\\b)", R"("q")", R"(x\y z)"}},
      {R"("say ""hi""" \\\"x)", {R"(say "hi")", R"(\"x)"}},
      {R"("open ended)", {"open ended"}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_command_line(c.line), c.arguments) << c.line;
}

}  // namespace
}  // namespace padwire
