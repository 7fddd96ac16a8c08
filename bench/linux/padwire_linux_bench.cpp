// The Linux program's figures for `make bench`, on a private desktop (Xvfb, openbox, trayer)
// with padwire_scripted, its joystick scripted through the program's FIFO:
//   padwire_linux_bench PROGRAM latency EVENTS [xbox]   A pressed and released (with xbox, the
//                                               south button of a pad read as a game
//                                               controller): the joystick's change to the key
//                                               arriving in the recorder window, on
//                                               CLOCK_MONOTONIC; and the floor,
//                                               padwire_key_floor's key to the same window
//                                               from the change it relays (the program
//                                               stopped meanwhile), each between two of the
//                                               program's
//   padwire_linux_bench PROGRAM idle SECONDS     utime + stime of the program and of the X
//                                               server with the controller connected and at rest
//   padwire_linux_bench PROGRAM startup RUNS [LABEL]  process creation to the tray icon
//                                               (median); LABEL (default linux) names the row,
//                                               e.g. floor-tray for padwire_tray_floor
// Lines "name linux value" for tools/run-bench.sh.
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/linux_paths.h"
#include "recorder.h"
#include "scripted_padwire.h"
#include "x_desktop.h"
#include "x_session.h"

namespace padwire::e2e {
namespace {

constexpr int kButtonA = 0;  // also a game controller's south button

std::int64_t now_ns() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(at, values.size() - 1)];
}

void print_latency(const char* label, const std::vector<double>& ms, int lost) {
  std::printf("latency_median %s %.3f\n", label, percentile(ms, 0.5));
  std::printf("latency_p99 %s %.3f\n", label, percentile(ms, 0.99));
  if (lost) std::printf("latency_lost %s %d\n", label, lost);
}

// The milliseconds from `at` to the first record of `kind` after the first `before` records.
bool arrival(const Recorder& recorder, std::size_t before, Record::Kind kind, std::int64_t at,
             std::vector<double>& ms) {
  return wait_until(
      [&] {
        const std::vector<Record> records = recorder.records();
        for (std::size_t k = before; k < records.size(); ++k) {
          if (records[k].kind == kind) {
            ms.push_back(static_cast<double>(records[k].arrived_ns - at) / 1e6);
            return true;
          }
        }
        return false;
      },
      1000);
}

// Presses and releases A (or the pad's south button), each after a random pause so that no
// change keeps step with a timer. The program answers a line once it has taken the change in,
// with the time of the change. The floor's keys go between the program's, after the same
// random pauses, so that both see the same desktop: one still starting up, or busy with
// something else, slows both alike. The program watches every key of the desktop (XInput 2 raw
// events), so each of the floor's keys would wake it too: the floor is timed with the program
// stopped (SIGSTOP), and by number also with it running, afterwards ("floor-awake-x11": what
// the program's watch costs another program's key).
void latency(const std::string& program, int events, bool xbox) {
  XSession session;
  XDesktop desktop(session.display());
  Recorder recorder(session.display(), "Game");
  ScriptedPadwire padwire(program, session);
  // The floor: padwire_key_floor, beside this program, relays each change as its key. Q and W
  // are keys that neither A nor the south button types; the floor with the program running has
  // a key of its own, so that each series presses and releases its key in turn.
  const std::string floor_program = lin::program_folder() + "/padwire_key_floor";
  ScriptedPadwire relay(floor_program, session), awake_relay(floor_program, session);
  relay.environment = {"PADWIRE_FLOOR_KEY=q"};
  awake_relay.environment = {"PADWIRE_FLOOR_KEY=w"};
  if (!session.ready() || !padwire.start() || !relay.start() || (!xbox && !awake_relay.start())) {
    return;
  }
  if (xbox && !(padwire.send("unplug") && padwire.send("plug xbox"))) return;
  desktop.activate(recorder.window());
  wait_until([&] { return recorder.focused(); });
  sleep_ms(2000);  // the desktop's own start: openbox reads its files for about a second
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pause(2, 21);
  std::vector<double> ms, floor, awake;
  int lost = 0;
  const auto floor_key = [&](std::vector<double>& times, ScriptedPadwire& by, bool press) {
    const std::size_t before = recorder.records().size();
    if (by.button(kButtonA, press)) {
      arrival(recorder, before, press ? Record::kKeyDown : Record::kKeyUp, by.changed_ns(), times);
    }
  };
  for (int i = 0; i < events; ++i) {
    const bool press = i % 2 == 0;
    const Record::Kind kind = press ? Record::kKeyDown : Record::kKeyUp;
    const std::size_t before = recorder.records().size();
    if (!padwire.button(kButtonA, press)) return;
    if (!arrival(recorder, before, kind, padwire.changed_ns(), ms)) ++lost;
    sleep_ms(pause(rng));
    kill(padwire.pid(), SIGSTOP);
    sleep_ms(pause(rng));
    floor_key(floor, relay, press);
    kill(padwire.pid(), SIGCONT);
    sleep_ms(pause(rng));
  }
  // Another program's keys while the program runs, in a pass of their own: between the
  // program's changes, each would put a foreign key's handling into the program's series that
  // the floor's never meets.
  for (int i = 0; !xbox && i < events; ++i) {
    floor_key(awake, awake_relay, i % 2 == 0);
    sleep_ms(pause(rng));
  }
  print_latency(xbox ? "linux-pad" : "linux", ms, lost);
  print_latency(xbox ? "floor-x11-pad" : "floor-x11", floor, 0);
  if (!xbox) print_latency("floor-awake-x11", awake, 0);
}

// utime + stime of a process, in clock ticks.
long cpu_ticks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), {});
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) stime = std::stol(field);
  }
  return utime + stime;
}

void idle(const std::string& program, int seconds) {
  XSession session;
  ScriptedPadwire padwire(program, session);
  if (!session.ready() || !padwire.start()) return;
  sleep_ms(2000);  // the first drawing of the debug window and the look for a controller
  const long program_before = cpu_ticks(padwire.pid());
  const long server_before = cpu_ticks(session.server_pid());
  const std::int64_t t0 = now_ns();
  sleep_ms(seconds * 1000);
  const double elapsed = static_cast<double>(now_ns() - t0) / 1e9;
  const double hz = static_cast<double>(sysconf(_SC_CLK_TCK));
  const double used_program =
      static_cast<double>(cpu_ticks(padwire.pid()) - program_before) / hz / elapsed * 100;
  const double used_server =
      static_cast<double>(cpu_ticks(session.server_pid()) - server_before) / hz / elapsed * 100;
  std::printf("idle_cpu_padwire linux %.2f\n", used_program);
  std::printf("idle_cpu_server linux %.2f\n", used_server);
  std::printf("idle_cpu_total linux %.2f\n", used_program + used_server);
}

void startup(const std::string& program, int runs, const char* label) {
  XSession session;
  if (!session.ready()) return;
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    ScriptedPadwire padwire(program, session);
    const std::int64_t at = now_ns();
    if (padwire.start()) ms.push_back(static_cast<double>(now_ns() - at) / 1e6);
    padwire.terminate();
  }
  std::printf("startup_ms %s %.1f\n", label, percentile(ms, 0.5));
}

}  // namespace
}  // namespace padwire::e2e

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s PROGRAM latency|idle|startup N [xbox|LABEL]\n", argv[0]);
    return 2;
  }
  const std::string program = argv[1], command = argv[2];
  const int n = std::atoi(argv[3]);
  if (command == "latency")
    padwire::e2e::latency(program, n, argc > 4 && std::string(argv[4]) == "xbox");
  else if (command == "idle")
    padwire::e2e::idle(program, n);
  else if (command == "startup")
    padwire::e2e::startup(program, n, argc > 4 ? argv[4] : "linux");
  else
    return 2;
  return 0;
}
