// The Windows side of `make bench`, run under Wine: padwire.exe and the timer-only program
// (padwire_timer_only.exe, the same sources ticking on the poll timer alone) driven by the
// scripted controller, one after the other in one session. Prints one line per figure:
// "FIGURE DESIGN VALUE". tools/run-bench.sh adds the idle figures and prints the table.
//   padwire_bench.exe latency EVENTS   key latency over EVENTS presses and releases, with the
//                                   floor (a program that only relays the change as a key)
//                                   timed between the program's changes
//   padwire_bench.exe latency-alone dinput|xinput EVENTS  one pad's series and its floor alone,
//                                   for runs side by side in a short time
//   padwire_bench.exe rates SECONDS    ticks, auto-fire taps and pointer pixels per second
//   padwire_bench.exe startup [EXE...] RUNS  process creation to tray icon (of other programs)
//   padwire_bench.exe idle EXE SECONDS starts EXE, prints "idle-start", sleeps, "idle-end"
//                                   (EXE padwire_floor.exe: the idle floor, a program that
//                                   only shows its window and tray icon)
//   padwire_bench.exe idle-xinput EXE SECONDS  the same with an Xbox pad read through XInput
// With PADWIRE_BENCH_DUMP=DIR\ each latency series also leaves its times, one per change in
// order, in DIR\LABEL.txt: where the slow ones fall in a run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "padwire_process.h"
#include "scripted_controller.h"
#include "test_support.h"

namespace {

using padwire::bench::now_qpc;
using padwire::bench::qpc_to_ms;
using padwire::bench::ScriptedController;
using padwire::bench::Signal;
namespace test = padwire::win32::test;

constexpr UINT kKeyOfA = 74;  // J: pad button A in the VGS layout, the default
constexpr UINT kKeyOfB = 75;  // K: pad button B, which an Xbox pad's A (south) types
constexpr int kButtonA = 0, kButtonB = 1, kButtonM = 9;

struct KeyStamp {
  UINT message;
  UINT vk;
  LONGLONG at;
};

// A window in the foreground that stamps every key message as it is handled.
class KeyRecorder {
 public:
  KeyRecorder() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PadwireBenchRecorder";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"Padwire bench recorder",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                              nullptr, wc.hInstance, nullptr);
  }
  ~KeyRecorder() { DestroyWindow(window_); }
  void focus() {
    SetForegroundWindow(window_);
    SetFocus(window_);
    test::pump_for(200);
  }
  static std::vector<KeyStamp> stamps;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= WM_KEYFIRST && message <= WM_SYSKEYUP) {
      stamps.push_back({message, static_cast<UINT>(wparam), now_qpc()});
      return 0;  // system keys too: no menu mode
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  HWND window_;
};
std::vector<KeyStamp> KeyRecorder::stamps;

std::wstring beside_me(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

struct Design {
  const char* name;
  const wchar_t* exe;
};
const Design kDesigns[] = {{"padwire", L"padwire.exe"}, {"timer-only", L"padwire_timer_only.exe"}};
// The floor program showing only its window and tray icon: the floor of start-up and of idle.
const Design kFloor{"floor", L"padwire_floor.exe"};

// padwire.exe or the timer-only program, started and in the tray; closed at the end.
class Program {
 public:
  explicit Program(const Design& design) : processes_(beside_me(design.exe)) {
    process_ = processes_.start();
    main_ = process_.dwProcessId ? processes_.wait_until_in_tray(process_) : nullptr;
    test::pump_for(1000);  // start-up done, the first ticks made
  }
  ~Program() {
    DWORD code = 0;
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    processes_.ends(process_, code, 3000);
  }
  bool running() const { return main_ != nullptr; }
  // Stops every thread of the program, or lets them go on (NtSuspendProcess, NtResumeProcess).
  void suspend(bool stop) {
    using Call = LONG(NTAPI*)(HANDLE);
    static const auto suspend_process = reinterpret_cast<Call>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSuspendProcess")));
    static const auto resume_process = reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtResumeProcess")));
    const Call call = stop ? suspend_process : resume_process;
    if (call && process_.hProcess) call(process_.hProcess);
  }

 private:
  test::PadwireProcesses processes_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// Handles this thread's messages for `milliseconds`, however fast they come: an auto-fire
// burst arrives faster than a busy machine handles it, and test::pump_for waits for a lull.
void pump_through(int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  while (GetTickCount64() < end) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&message);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(at, values.size() - 1)];
}

// The floor under the latency: padwire_floor.exe, a program that does nothing but wait on two
// events and send its key down or up (padwire_floor.exe key NAME VK), woken by this one. Q and W
// are keys that neither the pad's A nor an Xbox pad's A types, so the floor's keys and the
// program's tell apart.
class FloorRelay {
 public:
  explicit FloorRelay(UINT key) : key_(key) {
    const std::wstring name = L"PadwireBenchFloor-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(key);
    down_ = CreateEventW(nullptr, FALSE, FALSE, (name + L"-down").c_str());
    up_ = CreateEventW(nullptr, FALSE, FALSE, (name + L"-up").c_str());
    std::wstring command =
        L"\"" + beside_me(L"padwire_floor.exe") + L"\" key " + name + L" " + std::to_wstring(key);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!down_ || !up_ ||
        !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &relay_)) {
      relay_ = {};
    }
  }
  ~FloorRelay() {
    if (relay_.hProcess) {
      TerminateProcess(relay_.hProcess, 0);
      CloseHandle(relay_.hThread);
      CloseHandle(relay_.hProcess);
    }
    for (HANDLE event : {down_, up_}) {
      if (event) CloseHandle(event);
    }
  }
  FloorRelay(const FloorRelay&) = delete;
  FloorRelay& operator=(const FloorRelay&) = delete;
  bool running() const { return relay_.hProcess != nullptr; }
  UINT key() const { return key_; }
  // Has the relay send its key down or up; returns the time of the signal.
  LONGLONG signal(bool down) {
    const LONGLONG at = now_qpc();
    SetEvent(down ? down_ : up_);
    return at;
  }

 private:
  UINT key_;
  HANDLE down_ = nullptr;
  HANDLE up_ = nullptr;
  PROCESS_INFORMATION relay_{};
};

// The times of one series of changes, from each change to its key message in the recorder.
struct Series {
  std::vector<double> ms;
  int lost = 0;

  // Makes a change (`change` returns its time) and waits for the message of `key`.
  void time(UINT key, bool press, const std::function<LONGLONG()>& change) {
    const std::size_t before = KeyRecorder::stamps.size();
    const LONGLONG at = change();
    const UINT expected = press ? WM_KEYDOWN : WM_KEYUP;
    const bool seen = test::pump_until(
        [&] {
          for (std::size_t k = before; k < KeyRecorder::stamps.size(); ++k) {
            const KeyStamp& s = KeyRecorder::stamps[k];
            if (s.vk == key && s.message == expected) {
              ms.push_back(qpc_to_ms(s.at - at));
              return true;
            }
          }
          return false;
        },
        1000);
    if (!seen) ++lost;
  }
  void report(const char* label) const {
    const char* folder = std::getenv("PADWIRE_BENCH_DUMP");
    if (FILE* f =
            folder ? std::fopen((std::string(folder) + label + ".txt").c_str(), "w") : nullptr) {
      for (std::size_t i = 0; i < ms.size(); ++i) std::fprintf(f, "%zu %.3f\n", i, ms[i]);
      std::fclose(f);
    }
    std::printf("latency_median %s %.3f\n", label, percentile(ms, 0.5));
    std::printf("latency_p99 %s %.3f\n", label, percentile(ms, 0.99));
    std::printf("latency_events %s %zu\n", label, ms.size());
    if (lost) std::printf("latency_lost %s %d\n", label, lost);
    std::fflush(stdout);
  }
};

// Which floors a run times beside the program's changes.
enum class Floors {
  none,
  clean,      // the floor, with the program suspended around each of its keys
  and_awake,  // that, and the floor with the program running
};

// Presses and releases a button, each after a random pause so that no change keeps step with
// the timer, and times each from the change (`change(press)` makes it and returns its time) to
// the message of `key` in the recorder, which has the focus.
//
// The floor's keys go between the program's, after the same random pauses, so that both meet
// the machine in the same state (on this VM some phases of a run delay one wake-up in twenty by
// a clock tick, for every process alike). The program watches every key of the session through
// Raw Input, so each of the floor's keys would wake it too, and the Wine server and the two
// cores would be shared with it: the floor is timed with the program suspended ("floor-LABEL"),
// and with Floors::and_awake also with it running, afterwards ("floor-awake-LABEL": what the
// program's watch costs another program's key).
void time_presses(const char* label, int events, UINT key,
                  const std::function<LONGLONG(bool)>& change, Program& program,
                  Floors floors = Floors::none) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pause(2, 21);
  // The floor with the program running has a key of its own: each series presses and releases
  // its key in turn.
  std::unique_ptr<FloorRelay> relay, awake_relay;
  if (floors != Floors::none) relay = std::make_unique<FloorRelay>('Q');
  if (floors == Floors::and_awake) awake_relay = std::make_unique<FloorRelay>('W');
  if ((relay && !relay->running()) || (awake_relay && !awake_relay->running())) return;
  Series padwire, floor, awake;
  const auto floor_key = [](Series& series, FloorRelay& by, bool press) {
    series.time(by.key(), press, [&] { return by.signal(press); });
  };
  for (int i = 0; i < events; ++i) {
    const bool press = i % 2 == 0;
    padwire.time(key, press, [&] { return change(press); });
    Sleep(static_cast<DWORD>(pause(rng)));
    if (!relay) continue;
    program.suspend(true);
    Sleep(static_cast<DWORD>(pause(rng)));
    floor_key(floor, *relay, press);
    program.suspend(false);
    Sleep(static_cast<DWORD>(pause(rng)));
  }
  // Another program's keys while the program runs, after the same pauses, in a pass of their
  // own: between the program's changes, each would put a foreign key's handling into the
  // program's series that the floor's never meets.
  for (int i = 0; awake_relay && i < events; ++i) {
    floor_key(awake, *awake_relay, i % 2 == 0);
    Sleep(static_cast<DWORD>(pause(rng)));
  }
  padwire.report(label);
  if (relay) floor.report(("floor-" + std::string(label)).c_str());
  if (awake_relay) awake.report(("floor-awake-" + std::string(label)).c_str());
}

// Button 0 is the pad's A, or an Xbox pad's A (south) read through XInput.
void latency(const Design& design, Signal signal, const char* label, int events,
             bool xinput = false, Floors floors = Floors::none) {
  test::forget_settings();
  ScriptedController pad(signal, xinput);
  KeyRecorder recorder;
  Program program(design);
  if (!program.running()) return;
  pad.connect();
  recorder.focus();
  time_presses(
      label, events, xinput ? kKeyOfB : kKeyOfA,
      [&](bool press) { return press ? pad.publish({kButtonA}) : pad.publish({}); }, program,
      floors);
}

// Auto-fire (A held, switched on with Tab) and the pointer in mouse mode (stick held, turned
// round every 100 ms so that the pointer stays on the screen), each for `seconds`.
void rates(const Design& design, int seconds) {
  test::forget_settings();
  test::store_registry_value(L"Custom", L"Select", L"False");  // M is the combinations' key
  ScriptedController pad(Signal::direct);
  KeyRecorder recorder;
  Program program(design);
  if (!program.running()) return;
  pad.connect();
  recorder.focus();

  test::hold(VK_TAB, 150);  // auto-fire on
  KeyRecorder::stamps.clear();
  const LONG polls_before = pad.polls();
  const LONGLONG start = pad.publish({kButtonA});
  pump_through(seconds * 1000);
  const double elapsed = qpc_to_ms(now_qpc() - start) / 1000.0;
  const LONG polls = pad.polls() - polls_before;
  pad.publish({});
  test::pump_for(300);
  std::size_t taps = 0;
  for (const KeyStamp& s : KeyRecorder::stamps) taps += s.vk == kKeyOfA && s.message == WM_KEYDOWN;
  std::printf("ticks_per_second %s %.1f\n", design.name, polls / elapsed);
  std::printf("autofire_taps_per_second %s %.1f\n", design.name,
              static_cast<double>(taps) / elapsed);

  pad.publish({kButtonM, kButtonB});  // M + B: mouse mode
  test::pump_for(200);
  pad.publish({});
  test::pump_for(200);
  POINT last{};
  GetCursorPos(&last);
  long pixels = 0;
  const LONGLONG began = now_qpc();
  LONGLONG turned = began;
  bool right = true;
  pad.publish({}, 65535);
  while (qpc_to_ms(now_qpc() - began) < seconds * 1000.0) {
    Sleep(1);
    POINT p{};
    GetCursorPos(&p);
    pixels += std::labs(p.x - last.x);
    last = p;
    if (qpc_to_ms(now_qpc() - turned) >= 100.0) {
      right = !right;
      turned = now_qpc();
      pad.publish({}, right ? 65535 : 0);
    }
  }
  const double mouse_seconds = qpc_to_ms(now_qpc() - began) / 1000.0;
  pad.publish({});
  std::printf("pointer_pixels_per_second %s %.1f\n", design.name,
              static_cast<double>(pixels) / mouse_seconds);
  std::fflush(stdout);
}

// From the process's creation time to the moment its tray icon answers, polled every
// millisecond (a closer poll would take the processor from the program it times: two cores
// here, shared with the Wine server and the tray's own process).
double startup_once(const Design& design) {
  test::forget_settings();
  test::PadwireProcesses processes(beside_me(design.exe));
  const PROCESS_INFORMATION p = processes.start();
  if (!p.dwProcessId) return -1;
  HWND main = nullptr;
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (GetTickCount64() < deadline) {
    if (!main) main = test::window_of(p.dwProcessId, test::kMainWindowClass);
    if (main && test::icon_present(main)) break;
    Sleep(1);
  }
  FILETIME seen, created, exited, kernel, user;
  GetSystemTimePreciseAsFileTime(&seen);
  double ms = -1;
  if (main && GetProcessTimes(p.hProcess, &created, &exited, &kernel, &user)) {
    const auto as_int = [](FILETIME t) {
      return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    ms = static_cast<double>(as_int(seen) - as_int(created)) / 10000.0;
  }
  DWORD code = 0;
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  processes.ends(p, code, 3000);
  return ms;
}

// The programs take turns, so that a machine growing busier weighs on each alike. A name
// given is reported as it is; by default padwire.exe, the timer-only program and the floor.
void startup(std::vector<Design> designs, int runs) {
  std::vector<std::vector<double>> ms(designs.size());
  ScriptedController pad(Signal::direct);
  for (int i = 0; i < runs; ++i) {
    for (std::size_t d = 0; d < designs.size(); ++d) {
      const double once = startup_once(designs[d]);
      if (once >= 0) ms[d].push_back(once);
    }
  }
  for (std::size_t d = 0; d < designs.size(); ++d) {
    std::printf("startup_ms %s %.1f\n", designs[d].name, percentile(ms[d], 0.5));
  }
  std::fflush(stdout);
}

void idle(const Design& design, int seconds, bool xinput) {
  test::forget_settings();
  ScriptedController pad(Signal::direct, xinput);
  Program program(design);
  if (!program.running()) return;
  test::pump_for(2000);
  std::printf("idle-start\n");
  std::fflush(stdout);
  const LONG polls = pad.polls();
  Sleep(static_cast<DWORD>(seconds) * 1000);
  std::printf("idle-end\n");
  std::printf("idle_ticks_per_second %s %.1f\n", xinput ? "padwire-xinput" : design.name,
              static_cast<double>(pad.polls() - polls) / seconds);
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  // The programs load dinput8.dll and xinput1_4.dll from the system folder only: the scripted
  // ones go there for this run, and the system's come back at the end.
  const test::SystemDll scripted_pad(beside_me(L"dinput8.dll"), L"dinput8.dll");
  const test::SystemDll scripted_xinput(beside_me(L"xinput1_4.dll"), L"xinput1_4.dll");
  if (!scripted_pad.installed() || !scripted_xinput.installed()) {
    std::fprintf(stderr, "padwire_bench: cannot put the scripted DLLs in the system folder\n");
    return 1;
  }
  const std::wstring command = argv[1];
  const int n = _wtoi(argv[argc - 1]);
  if (command == L"latency-alone" && argc == 4) {
    const bool xinput = std::wstring(argv[2]) == L"xinput";
    if (!xinput && std::wstring(argv[2]) != L"dinput") return 2;
    latency(kDesigns[0], Signal::direct, xinput ? "padwire-xinput" : "padwire", n, xinput,
            Floors::clean);
  } else if (command == L"latency") {
    latency(kDesigns[0], Signal::direct, "padwire", n, false, Floors::and_awake);
    latency(kDesigns[0], Signal::forwarded, "padwire-forwarded", n);
    latency(kDesigns[1], Signal::direct, "timer-only", n);
    latency(kDesigns[0], Signal::direct, "padwire-xinput", n, true, Floors::clean);
  } else if (command == L"rates") {
    for (const Design& d : kDesigns) rates(d, n);
  } else if (command == L"startup") {
    std::vector<Design> designs{kDesigns[0], kDesigns[1], kFloor};
    std::vector<std::string> names;
    if (argc > 3) {
      designs.clear();
      for (int i = 2; i < argc - 1; ++i) names.emplace_back(argv[i], argv[i] + wcslen(argv[i]));
      for (int i = 2; i < argc - 1; ++i) designs.push_back({names[i - 2].c_str(), argv[i]});
    }
    startup(designs, n);
  } else if ((command == L"idle" || command == L"idle-xinput") && argc >= 4) {
    for (const Design& d : {kDesigns[0], kDesigns[1], kFloor}) {
      if (std::wstring(argv[2]) == d.exe) idle(d, n, command == L"idle-xinput");
    }
  } else {
    return 2;
  }
  return 0;
}
