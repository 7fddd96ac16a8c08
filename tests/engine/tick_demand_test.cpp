// Leaving out the ticks the engine calls useless must not change what the program does: the
// same random inputs run twice, once with a tick after every step and once ticking only after
// a controller change, a watched key going up or down, or when the engine asks for ticks, and
// the two traces must agree line for line.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/sim/session.h"

namespace padwire::sim {
namespace {

struct Step {
  std::string commands;
  bool wakes = false;  // the controller signalled a change or a watched key went up or down
};

std::string random_pad(std::mt19937& rng, int button_count) {
  static const int axes[] = {0, 1, 32767, 32768, 32768, 32768, 32769, 65535};
  std::uniform_int_distribution<int> axis(0, 7);
  std::bernoulli_distribution held(0.1);
  if (std::bernoulli_distribution(0.4)(rng)) return "pad x 32768 y 32768\n";  // back at rest
  std::string line =
      "pad x " + std::to_string(axes[axis(rng)]) + " y " + std::to_string(axes[axis(rng)]);
  std::string buttons;
  for (int b = 0; b < button_count; ++b) {
    if (held(rng)) buttons += (buttons.empty() ? "" : ",") + std::to_string(b);
  }
  return line + (buttons.empty() ? "" : " buttons " + buttons) + "\n";
}

// Steps for a controller with that many buttons; with none, only keys and menus.
std::vector<Step> random_steps(unsigned seed, int count, int button_count) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  const char* keys[] = {"9", "17", "44"};  // Tab, Ctrl, Print Screen
  const char* menus[] = {"mnuAutoFire", "mnuSelect", "mnuLogitech"};
  bool key_down[3] = {};
  bool failing = false;
  const bool pad = button_count > 0;
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) {
    Step step;
    const double roll = chance(rng);
    const int k = static_cast<int>(chance(rng) * 3);
    if (roll < 0.3 && pad) {
      step.commands = random_pad(rng, button_count);
      step.wakes = true;
    } else if ((roll < 0.33 && !key_down[k]) || (key_down[k] && roll < 0.6)) {
      // Keys are held for a few steps only, so that the program often rests in between.
      step.commands = std::string(key_down[k] ? "release " : "hold ") + keys[k] + "\n";
      key_down[k] = !key_down[k];
      step.wakes = true;
    } else if (roll < 0.38) {
      step.commands = std::string("menu ") + menus[static_cast<int>(chance(rng) * 3)] + "\n";
    } else if (roll < 0.39 && pad) {
      failing = !failing;
      step.commands = failing ? "pad fail\n" : "pad ok\n";
      step.wakes = true;  // losing the device is a change the controller reports
    } else if (roll < 0.395) {
      step.commands = "debug close\n";
    }
    steps.push_back(step);
  }
  return steps;
}

std::vector<std::string> run(const std::string& setup, const std::vector<Step>& steps,
                             bool skip_useless) {
  Session session;
  session.run(parse_scenario(setup + "start\n"));
  PadEngine& engine = session.form({}).engine;
  for (const Step& step : steps) {
    if (!step.commands.empty()) session.run(parse_scenario(step.commands));
    if (!engine.Timer1.enabled()) continue;
    if (!skip_useless || step.wakes || engine.needs_ticks()) engine.Timer1_Timer();
  }
  return session.world().trace.lines();
}

TEST(TickDemand, SkippingUselessTicksLeavesTheTraceUnchanged) {
  struct Setup {
    const char* world;
    int buttons;
  };
  const Setup setups[] = {
      {"controller buttons 12 name \"Pad\" effects\nstore Custom RumbleType 3\n", 12},
      {"controller buttons 10 name \"Pad\"\nstore Custom Select False\nstore Custom RumbleType 1\n",
       10},
      {"controller buttons 8 name \"Logitech Pad\"\nstore Custom AutoFire False\n", 8},
      {"controller none\n", 0},
  };
  for (unsigned seed = 1; seed <= 12; ++seed) {
    const std::string setup = setups[seed % 4].world;
    const std::vector<Step> steps = random_steps(seed, 3000, setups[seed % 4].buttons);
    const std::vector<std::string> every = run(setup, steps, false);
    const std::vector<std::string> skipping = run(setup, steps, true);
    for (std::size_t i = 0; i < every.size() && i < skipping.size(); ++i) {
      ASSERT_EQ(every[i], skipping[i]) << "seed " << seed << ", trace line " << i;
    }
    ASSERT_EQ(every.size(), skipping.size()) << "seed " << seed;
  }
}

TEST(TickDemand, AtRestNothingIsNeededAndCountedBehaviourIsPaced) {
  Session session;
  session.run(parse_scenario(
      "controller buttons 10 name \"Pad\"\nstore Custom Select False\nstart\ntick\n"));
  PadEngine& engine = session.form({}).engine;
  EXPECT_FALSE(engine.needs_ticks());
  EXPECT_FALSE(engine.paced_by_timer());

  struct Case {
    const char* inputs;
    bool needs;
    bool paced;
  };
  const Case cases[] = {
      {"pad x 32768 y 32768 buttons 9,0\ntick\n", true, true},      // M + A repeats
      {"pad x 32768 y 32768 buttons 9,8\ntick 2\n", false, false},  // M + Start holds Select
      {"pad x 32768 y 32768 buttons 9,1\ntick 2\npad x 65535 y 32768\ntick\n", true, true},
      {"pad x 32768 y 32768 buttons 2\ntick\npad x 32768 y 32768\ntick\nhold 44\n", true, true},
      {"release 44\nhold 17\n", true, false},         // Ctrl held: ticks, unpaced
      {"release 17\npad fail\ntick\n", true, false},  // acquired again on every tick
  };
  for (const Case& c : cases) {
    session.run(parse_scenario(c.inputs));
    EXPECT_EQ(engine.needs_ticks(), c.needs) << c.inputs;
    EXPECT_EQ(engine.paced_by_timer(), c.paced) << c.inputs;
  }
}

}  // namespace
}  // namespace padwire::sim
