// Cost of one poll-cycle tick on the simulated platform: a pad at rest (the common case: one
// poll, one read, one dump comparison) against a tick that presses and releases a button.
#include <benchmark/benchmark.h>

#include "platform/sim/session.h"

namespace {

using padwire::sim::Session;

std::unique_ptr<Session> started_session() {
  auto s = std::make_unique<Session>();
  padwire::sim::SimController pad;
  pad.buttons = 10;
  pad.product_name = "Bench Pad";
  s->world().controller = pad;
  s->run(padwire::sim::parse_scenario("start\ntick\n"));
  return s;
}

void BM_TickAtRest(benchmark::State& state) {
  auto s = started_session();
  auto& form = s->form({});
  for (auto _ : state) form.engine.Timer1_Timer();
}
BENCHMARK(BM_TickAtRest);

void BM_TickPressRelease(benchmark::State& state) {
  auto s = started_session();
  auto& form = s->form({});
  auto& buttons = s->world().controller->state.rgbButtons;
  for (auto _ : state) {
    buttons[0] = 128;
    form.engine.Timer1_Timer();
    buttons[0] = 0;
    form.engine.Timer1_Timer();
  }
}
BENCHMARK(BM_TickPressRelease);

}  // namespace

BENCHMARK_MAIN();
