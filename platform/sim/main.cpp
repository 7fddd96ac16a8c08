// padwire-sim: runs the program on the simulated platform, driven by a scenario file, and
// prints the trace (or, with --check, compares it with the file's expect block).
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/sim/session.h"

namespace {

int usage() {
  std::cerr << "usage: padwire-sim [--check] SCENARIO.pws\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace padwire::sim;
  bool check = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--check")
      check = true;
    else if (path.empty() && !a.empty() && a[0] != '-')
      path = a;
    else
      return usage();
  }
  if (path.empty()) return usage();

  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "padwire-sim: " << path << ": cannot read the file\n";
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();

  Session session;
  Scenario scenario;
  try {
    scenario = parse_scenario(text.str());
    if (check && !scenario.expected) throw ScenarioError(0, "no expect block to check against");
    session.run(scenario);
  } catch (const ScenarioError& e) {
    if (!check) {
      for (const auto& line : session.world().trace.lines()) std::cout << line << '\n';
    }
    std::cerr << "padwire-sim: " << path << ":" << e.line() << ": " << e.what() << '\n';
    return 2;
  }

  const auto& actual = session.world().trace.lines();
  if (!check) {
    for (const auto& line : actual) std::cout << line << '\n';
    return 0;
  }
  const auto& expected = *scenario.expected;
  std::size_t i = 0;
  while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
  if (i == actual.size() && i == expected.size()) return 0;
  std::cerr << "padwire-sim: " << path << ": trace differs at line " << i + 1 << " of the trace\n"
            << "  expected: " << (i < expected.size() ? expected[i] : "(end of trace)") << '\n'
            << "  actual:   " << (i < actual.size() ? actual[i] : "(end of trace)") << '\n'
            << "full trace:\n";
  for (const auto& line : actual) std::cerr << "  " << line << '\n';
  return 1;
}
