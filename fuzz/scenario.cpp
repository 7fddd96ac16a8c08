// Scenario files of any bytes, parsed and run on the simulated platform: a file either runs or
// stops with a scenario error, as padwire-sim reports it; nothing else escapes and nothing
// crashes.
#include <algorithm>
#include <cstdlib>

#include "fuzz/fuzz_support.h"

namespace {

// A tick costs the same whatever came before; a file that asks for many teaches nothing new and
// would only slow the search down.
constexpr long kMaxTicks = 2000;

long ticks_asked(const padwire::sim::Scenario& scenario) {
  long total = 0;
  for (const auto& command : scenario.commands) {
    const auto& words = command.words;
    const std::size_t first = words.size() >= 2 && words[0].text == "config" ? 1 : 0;
    if (words.size() <= first || words[first].text != "tick") continue;
    if (words.size() <= first + 1) {
      ++total;
      continue;
    }
    const std::string& n = words[first + 1].text;
    total += n.size() > 7 ? kMaxTicks + 1 : std::max(0L, std::strtol(n.c_str(), nullptr, 10));
  }
  return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace padwire::sim;
  Scenario scenario;
  try {
    scenario = parse_scenario(padwire::fuzz::as_text(data, size));
  } catch (const ScenarioError&) {
    return 0;
  }
  if (ticks_asked(scenario) > kMaxTicks) return -1;  // not added to the corpus
  Session session;
  try {
    session.run(scenario);
  } catch (const ScenarioError&) {
  }
  return 0;
}
