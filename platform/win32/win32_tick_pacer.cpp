// The keys the tick reads by their state are watched through Raw Input (WatchedKeys). The
// debug window is drawn when the pad has been quiet for a moment (Win32Views): drawing takes
// milliseconds under Wine, which a change arriving meanwhile would have to wait for.
#include "platform/win32/win32_tick_pacer.h"

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_views.h"
#include "platform/win32/win32_watched_keys.h"

namespace padwire::win32 {

TickPacer::TickPacer(WatchedKeys& keys, Win32Timer& timer, Win32DirectInput& input,
                     const TickDemand& demand, HWND window, std::function<void()> tick)
    : keys_(keys),
      input_(input),
      demand_(demand),
      window_(window),
      pacing_(timer, demand),
      tick_(std::move(tick)) {
  input_.signal_changes();
}

HANDLE TickPacer::pad_event() const {
  return input_.device_signals() ? static_cast<HANDLE>(input_.change_event()) : nullptr;
}

PaceFacts TickPacer::facts() const {
  return {input_.device_signals(), keys_.changed_lately()};
}

void TickPacer::pad_changed() {
  if (!pacing_.tick_on_change()) return;
  tick_();
  pacing_.after_tick(facts());
}

void TickPacer::pad_changed_then_quiet() {
  pad_changed();
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (;;) {
    QueryPerformanceCounter(&now);
    const LONGLONG left =
        kQuietAfterChangeMs - (now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
    const HANDLE pad = pad_event();
    if (left <= 0 || !pad || WaitForSingleObject(pad, static_cast<DWORD>(left)) != WAIT_OBJECT_0) {
      return;
    }
    pad_changed();
  }
}

void TickPacer::raw_input(const MSG& message) {
  // (Wine answers GetAsyncKeyState from a cache for up to 50 ms after a key was last seen
  // up, and a tick at the very moment of the key event may not see it yet: the key is read on
  // the timer's ticks.)
  if (keys_.raw_input(message)) pacing_.key_changed();
}

void TickPacer::settle() {
  pacing_.settle(facts());
  // A device change looks at once; the timer covers a controller that arrives unannounced.
  const bool look = !demand_.controller_open();
  if (look == looking_) return;
  if (look) {
    looking_ = SetTimer(window_, kLookTimerId, kLookInterval, nullptr) != 0;  // else: next wake
  } else {
    KillTimer(window_, kLookTimerId);
    looking_ = false;
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
    if (views.debug_text_wait() == 0) views.flush_debug_text();
    HANDLE pad = pacer.pad_event();
    // The event comes first: a change is handled before the messages that arrived with it.
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(pad ? 1 : 0, pad ? &pad : nullptr, views.debug_text_wait(),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (pad && woke == WAIT_OBJECT_0) pacer.pad_changed_then_quiet();
  }
}

}  // namespace padwire::win32
