// The program's message loop and the pacing of the poll tick.
//
// The core's poll timer asks for 1 ms, which Windows delivers every 10 to 15.6 ms: a pad change
// waited up to a whole period for its key, and the program woke 64 to 100 times a second even
// with the pad untouched. So the loop here waits on two things at once: its messages and the
// event the controller signals when its state changes (SetEventNotification; DirectInput also
// signals it when the device is lost).
//
// - A controller change runs the tick at once, and the timer, if ticks are still needed, is
//   re-armed a full period after it.
// - After every tick (and every other message), the engine says whether a further tick could
//   change anything with the pad as last read (PadEngine::needs_ticks: keys to translate,
//   auto-fire, the pointer's acceleration, a combination repeating, a device to re-acquire, a
//   key the tick reads held, the debug window to refresh). When not, the native timer stops
//   and the program sleeps until the next change.
// - The keys the tick reads by their state (Tab, Ctrl, Print Screen) are watched through Raw
//   Input (WatchedKeys). One going down or up restarts a sleeping timer, which then runs for a
//   second at least, the key being read on the timer's ticks as before.
// - Behaviour that counts ticks (auto-fire bursts, the pointer's acceleration, a combination
//   repeating every second tick, a shot per tick while Print Screen is held, a run of presses
//   towards the stressed rumble) keeps the timer's cadence: while the engine says it is paced
//   by the timer and the timer runs, a change waits for the next timer tick, so per-second
//   rates stay what the timer alone gives.
// - A device that must be polled, or that cannot signal, leaves the timer running alone, as
//   if none of this were here. The core's Timer1 is untouched: its enabled flag and interval
//   reach Win32Timer as before, a stopped Timer1 means no ticks at all, and a skipped tick is
//   only ever one that would have done nothing.
// - The debug window is drawn when the pad has been quiet for a moment (Win32Views): drawing
//   takes milliseconds under Wine, which a change arriving meanwhile would have to wait for.
#include "platform/win32/win32_tick_pacer.h"

#include "engine/pad_engine.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_views.h"
#include "platform/win32/win32_watched_keys.h"

namespace padwire::win32 {

TickPacer::TickPacer(WatchedKeys& keys, Win32Timer& timer, Win32DirectInput& input,
                     PadEngine& engine, std::function<void()> tick)
    : keys_(keys), timer_(timer), input_(input), engine_(engine), tick_(std::move(tick)) {
  input_.signal_changes();
}

void TickPacer::sleep() {
  timer_.pause();
}

void TickPacer::wake() {
  timer_.rearm();
}

HANDLE TickPacer::pad_event() const {
  return input_.device_signals() ? static_cast<HANDLE>(input_.change_event()) : nullptr;
}

// Without a device nothing can change on the pad; a device that does not signal is polled.
bool TickPacer::can_sleep() const {
  return !engine_.controller_open() || input_.device_signals();
}

void TickPacer::tick_now() {
  tick_();
  if (!timer_.armed()) return;  // the tick itself switched the timer off
  if (!can_sleep() || engine_.needs_ticks()) {
    wake();
  } else {
    sleep();
  }
}

void TickPacer::pad_changed() {
  if (!timer_.armed()) return;
  if (timer_.running() && engine_.paced_by_timer()) return;  // the timer's next tick reads it
  tick_now();
}

void TickPacer::raw_input(const MSG& message) {
  if (!keys_.raw_input(message)) return;
  // The timer starts again, and runs for a while whatever the engine says, as it would have
  // run all along: the key is read on the timer's ticks only. (Wine answers GetAsyncKeyState
  // from a cache for up to 50 ms after a key was last seen up, and a tick at the very moment
  // of the key event may not see it yet.)
  if (timer_.armed() && !timer_.running()) wake();
}

void TickPacer::settle() {
  if (!timer_.armed()) return;
  const bool needed = keys_.changed_lately() || !can_sleep() || engine_.needs_ticks();
  if (needed && !timer_.running()) {
    wake();
  } else if (!needed && timer_.running()) {
    sleep();
  }
}

int run_paced_message_loop(Win32Views& views, TickPacer& pacer) {
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      if (message.message == WM_INPUT) pacer.raw_input(message);
      if (views.pre_translate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);  // WM_INPUT too: its default handling frees the data
    }
    pacer.settle();
    if (views.debug_text_due_in() == 0) views.flush_debug_text();
    HANDLE pad = pacer.pad_event();
    // The event comes first: a change is handled before the messages that arrived with it.
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(pad ? 1 : 0, pad ? &pad : nullptr, views.debug_text_due_in(),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (pad && woke == WAIT_OBJECT_0) pacer.pad_changed();
  }
}

}  // namespace padwire::win32
