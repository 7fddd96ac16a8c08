#!/usr/bin/env bash
# Runs every benchmark and prints one table (`make bench` builds first):
# - the native tick benchmark (bench/tick_bench.cpp);
# - under Wine, in one session: key latency, ticks, auto-fire taps and pointer pixels per
#   second, start-up time, of padwire.exe and of the timer-only program side by side
#   (build/windows/bench/latency/bin/padwire_bench.exe), with the floors Wine sets under both
#   (padwire_floor.exe: a program that only relays the change as a key, timed between the
#   program's changes with the program suspended, and once more with it running; one that only
#   puts an icon in the tray);
# - the idle cost of each at rest with the scripted controller, from /proc/<pid>/stat
#   (utime + stime) of its Wine process, of the Wine server, and of the session's other Wine
#   processes;
# - the Linux program (padwire_scripted, the test build whose joystick is scripted) on a private
#   Xvfb desktop: key latency from the joystick's change, of a joystick read by number and of an
#   Xbox pad read as a game controller, each with the floor measured beside it
#   (padwire_key_floor: a program that only relays the change as an XTest key, the program
#   stopped meanwhile; by number also with it running); idle cost
#   of the program and the X server; start-up (build/native/bench/padwire_linux_bench), in a
#   column of its own, with the start-up's floor
#   (padwire_tray_floor: a Qt program that only shows a tray icon).
#   run-bench.sh [--quick]     --quick: fewer events and shorter runs, for trying it out
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/windows/bench/latency/bin"
tick_bench="$root/build/native/bench/padwire_bench_tick"

# --- Inside the Wine session (called back through wine-run.sh) ------------------------------
if [ "${PADWIRE_BENCH_SESSION:-}" = 1 ]; then
  out="$2"
  # CPU ticks (utime + stime) of every process of this Wine prefix, one "pid kind ticks" line
  # each; kind is padwire (the program measured: the program file of its command line, not the
  # harness that names it), wineserver or other.
  snapshot() {
    local exe="$1" pid kind
    for dir in /proc/[0-9]*; do
      pid="${dir#/proc/}"
      { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
      case "$(cat "$dir/comm" 2>/dev/null)" in
        wineserver*) kind=wineserver ;;
        *) kind="" ;;
      esac
      if [ -n "$kind" ]; then
        :
      elif { tr '\0' '\n' <"$dir/cmdline" | head -n 1; } 2>/dev/null | grep -qiE "(^|[\\/])$exe\$"; then
        kind=padwire
      else
        kind=other
      fi
      # Fields 14 and 15 of stat, counted after the parenthesised command name.
      { sed 's/^.*) //' "$dir/stat"; } 2>/dev/null | awk -v p="$pid" -v k="$kind" '{print p, k, $12 + $13}'
    done
  }
  # idle EXE LABEL [idle-xinput]: the last, for an Xbox pad read through XInput.
  idle() {
    local exe="$1" label="$2" log="$out/idle-$2.txt"
    wine "$bin/padwire_bench.exe" "${3:-idle}" "$exe" "$idle_seconds" >"$log" 2>/dev/null &
    local harness=$!
    until grep -q idle-start "$log" 2>/dev/null; do
      kill -0 "$harness" 2>/dev/null || { echo "idle run of $exe did not start" >&2; return; }
      sleep 0.1
    done
    local t0; t0=$(date +%s.%N)
    snapshot "$exe" >"$out/before"
    until grep -q idle-end "$log"; do sleep 0.1; done
    snapshot "$exe" >"$out/after"
    local t1; t1=$(date +%s.%N)
    wait "$harness" || true
    grep -v '^idle-' "$log" >>"$out/results"
    awk -v hz="$(getconf CLK_TCK)" -v t0="$t0" -v t1="$t1" -v l="$label" '
      BEGIN { secs = t1 - t0 }
      NR == FNR { before[$1] = $3; next }
      ($1 in before) { used[$2] += $3 - before[$1] }
      END {
        for (k in used) printf "idle_cpu_%s %s %.2f\n", k, l, used[k] / hz / secs * 100
        printf "idle_cpu_total %s %.2f\n", l, (used["padwire"] + used["wineserver"]) / hz / secs * 100
      }' "$out/before" "$out/after" >>"$out/results"
  }
  cd "$bin"
  wine padwire_bench.exe latency "$events" 2>/dev/null >>"$out/results"
  wine padwire_bench.exe rates "$seconds" 2>/dev/null >>"$out/results"
  wine padwire_bench.exe startup "$runs" 2>/dev/null >>"$out/results"
  idle padwire.exe padwire
  idle padwire_timer_only.exe timer-only
  idle padwire.exe padwire-xinput idle-xinput
  idle padwire_floor.exe floor
  exit 0
fi

# --- The table ---------------------------------------------------------------------------------
events=600 seconds=10 idle_seconds=30 runs=10
if [ "${1:-}" = "--quick" ]; then events=100 seconds=3 idle_seconds=10 runs=3; fi
out="$(mktemp -d "${TMPDIR:-/tmp}/padwire-bench.XXXXXX")"
trap 'rm -rf "$out"' EXIT
linux_bench="$root/build/native/bench/padwire_linux_bench"
linux_program="$root/build/native/platform/linux/padwire_scripted"
linux_floor="$root/build/native/bench/padwire_tray_floor"
for f in "$tick_bench" "$bin/padwire_bench.exe" "$bin/padwire.exe" "$bin/padwire_timer_only.exe" \
  "$linux_bench" "$linux_program" "$linux_floor" "$root/build/native/bench/padwire_key_floor"; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "run-bench.sh: $f is missing; run make bench" >&2; exit 2; }
done
"$tick_bench" --benchmark_format=csv 2>/dev/null |
  awk -F, '/^"BM_/ { gsub(/"/, "", $1); printf "tick_ns %s %.0f\n", $1, $3 }' >"$out/results"
export bin events seconds idle_seconds runs
PADWIRE_BENCH_SESSION=1 WINEDLLOVERRIDES="dinput8,xinput1_4=n,b" \
  "$root/tools/wine-run.sh" --unix bash "$0" session "$out"
"$linux_bench" "$linux_program" latency "$events" >>"$out/results"
"$linux_bench" "$linux_program" latency "$events" xbox >>"$out/results"
"$linux_bench" "$linux_program" idle "$idle_seconds" >>"$out/results"
"$linux_bench" "$linux_program" startup "$runs" >>"$out/results"
"$linux_bench" "$linux_floor" startup "$runs" floor-linux >>"$out/results"

exe_size=$(stat -c %s "$bin/padwire.exe")
cpu="$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')"
load="$(uptime | sed 's/.*load average: //')"

awk -v size="$exe_size" -v cpu="$cpu" -v cores="$(nproc)" -v load="$load" \
    -v date="$(date -u '+%Y-%m-%d %H:%M UTC')" -v events="$events" -v secs="$seconds" \
    -v idle="$idle_seconds" '
  { sub(/\r$/, ""); v[$1 " " $2] = $3 }  # Wine programs end their lines in CR LF
  # value: the figure of padwire.exe, lin: that of the Linux program; the ratio compares padwire.exe with
  # the timer-only build.
  function row(figure, value, lin, goal, base, better,   ratio) {
    if (value == "") value = "n/a"
    ratio = "";
    if (base != "" && value != "n/a" && base + 0 != 0) {
      if (value + 0 == 0) ratio = (better == "lower" ? "none left" : "0")
      else if (better == "floor") ratio = sprintf("%.2fx floor", value / base)
      else ratio = sprintf(better == "lower" ? "%.1fx lower" : "%.3f", better == "lower" ? base / value : value / base)
    }
    printf "| %-50s | %11s | %8s | %-13s | %10s | %-11s |\n", figure, value, lin, goal, (base == "" ? "" : base), ratio
  }
  END {
    printf "Padwire benchmarks, %s\n", date
    printf "Machine: %s, %s cores (nproc); load average %s\n\n", cpu, cores, load
    printf "| %-50s | %11s | %8s | %-13s | %10s | %-11s |\n", "figure", "padwire.exe", "Linux", "goal", "timer-only", "ratio"
    printf "|%s|%s|%s|%s|%s|%s|\n", "----------------------------------------------------", "-------------", "----------", "---------------", "------------", "-------------"
    row("key latency, median (ms, " events " events)", v["latency_median padwire"], v["latency_median linux"], "<= 0.5, 5x", v["latency_median timer-only"], "lower")
    row("key latency, 99th percentile (ms)", v["latency_p99 padwire"], v["latency_p99 linux"], "<= 1.5", v["latency_p99 timer-only"], "lower")
    row("key latency, median, DLL thread forwards (ms)", v["latency_median padwire-forwarded"], "", "", v["latency_median timer-only"], "lower")
    row("key latency, 99th pct., DLL thread forwards (ms)", v["latency_p99 padwire-forwarded"], "", "", v["latency_p99 timer-only"], "lower")
    row("  floor: only relays the change as a key (ms)", v["latency_median floor-padwire"], v["latency_median floor-x11"], "", "", "")
    row("  floor, 99th percentile (ms)", v["latency_p99 floor-padwire"], v["latency_p99 floor-x11"], "", "", "")
    row("  floor, with the program running (ms)", v["latency_median floor-awake-padwire"], v["latency_median floor-awake-x11"], "", "", "")
    row("  floor with the program running, 99th pct. (ms)", v["latency_p99 floor-awake-padwire"], v["latency_p99 floor-awake-x11"], "", "", "")
    row("key latency, median, Xbox pad through XInput (ms)", v["latency_median padwire-xinput"], "", "1.25x floor", v["latency_median floor-padwire-xinput"], "floor")
    row("key latency, 99th pct., Xbox pad, XInput (ms)", v["latency_p99 padwire-xinput"], "", "1.25x floor", v["latency_p99 floor-padwire-xinput"], "floor")
    row("idle CPU, Xbox pad, XInput, program + server (%)", v["idle_cpu_total padwire-xinput"], "", "<= 0.3", "", "")
    row("  ticks per second at rest, Xbox pad, XInput", v["idle_ticks_per_second padwire-xinput"], "", "", "", "")
    row("key latency, game controller, median (ms)", "", v["latency_median linux-pad"], "1.25x floor", "", "")
    row("key latency, game controller, 99th pct. (ms)", "", v["latency_p99 linux-pad"], "1.25x floor", "", "")
    row("  floor, beside the game controller (ms)", "", v["latency_median floor-x11-pad"], "", "", "")
    row("  floor, 99th percentile (ms)", "", v["latency_p99 floor-x11-pad"], "", "", "")
    row("idle CPU, program + server (% core, " idle " s)", v["idle_cpu_total padwire"], v["idle_cpu_total linux"], "<= 0.5", v["idle_cpu_total timer-only"], "lower")
    row("  of which the program (%)", v["idle_cpu_padwire padwire"], v["idle_cpu_padwire linux"], "", v["idle_cpu_padwire timer-only"], "lower")
    row("  of which wineserver / the X server (%)", v["idle_cpu_wineserver padwire"], v["idle_cpu_server linux"], "", v["idle_cpu_wineserver timer-only"], "lower")
    row("  floor: only a tray icon, program + server (%)", v["idle_cpu_total floor"], "", "", "", "")
    row("  other Wine processes of the session (%)", v["idle_cpu_other padwire"], "", "", v["idle_cpu_other timer-only"], "")
    row("ticks per second at rest", v["idle_ticks_per_second padwire"], "", "", v["idle_ticks_per_second timer-only"], "")
    row("ticks per second, A held with auto-fire (" secs " s)", v["ticks_per_second padwire"], "", "within 5 %", v["ticks_per_second timer-only"], "")
    row("auto-fire taps per second", v["autofire_taps_per_second padwire"], "", "within 5 %", v["autofire_taps_per_second timer-only"], "")
    row("mouse mode, pointer pixels per second", v["pointer_pixels_per_second padwire"], "", "within 5 %", v["pointer_pixels_per_second timer-only"], "")
    row("start-up, process creation to tray icon (ms)", v["startup_ms padwire"], v["startup_ms linux"], "<= 100", v["startup_ms timer-only"], "")
    row("  floor: only a tray icon (and a window) (ms)", v["startup_ms floor"], v["startup_ms floor-linux"], "", "", "")
    row("padwire.exe size (MiB)", sprintf("%.2f", size / 1048576), "", "< 3", "", "")
    row("tick at rest, simulated platform (ns)", v["tick_ns BM_TickAtRest"], "", "", "", "")
    row("tick pressing and releasing A, simulated (ns)", v["tick_ns BM_TickPressRelease"], "", "", "", "")
  }' "$out/results"
