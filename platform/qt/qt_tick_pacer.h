// The Qt event loop's part of the pacing of the poll tick (platform/common/tick_pacing.h): the
// socket notifiers of the controller's and the watched keys' signals, the poll timer, the look
// for a controller, and when the debug window's text is drawn.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/common/change_signals.h"
#include "platform/common/tick_pacing.h"

namespace padwire {
class Keyboard;
}  // namespace padwire

namespace padwire::qt {

class QtViews;

// The core's poll timer. It ticks every max(10 ms, interval): the core asks for 1 ms, which
// Windows' timers deliver every 10 ms at the least, and the per-tick rates (auto-fire, the
// pointer's speed) were made for that.
class QtTimer final : public PollTimer {
 public:
  static constexpr int kShortestMs = 10;
  QtTimer();
  // What a tick of the native timer runs; set once the forms exist.
  std::function<void()> on_tick;
  int period() const { return timer_.interval(); }

 private:
  bool start_native(int milliseconds) override;
  void stop_native() override { timer_.stop(); }
  QTimer timer_;
};

class TickPacer final : public QObject {
 public:
  // Ticks through `timer`'s callback; the form's Timer1_Timer runs in `tick`, and
  // `look_for_controller` looks for one when none is open. `keys` hears the keys the tick reads
  // by their state; when it cannot (no XInput 2), they are polled on `keyboard`.
  TickPacer(QtTimer& timer, PadSignals& pad, const TickDemand& demand, Keyboard& keyboard,
            KeySignals& keys, QtViews& views, std::function<void()> tick,
            std::function<void()> look_for_controller);
  ~TickPacer() override;

  // The controller (or a test's script) changed: tick at once, unless the timer's cadence
  // governs and its next tick reads the change.
  void pad_changed();
  // After the events of one wake-up: the pacing policy's settle; follows the controller's
  // change descriptor; draws the debug text when it is due.
  void settle();
  // Runs the controller back end's event pump; a controller that arrived is looked for.
  void pump();
  // The form's tick on the timer.
  void timer_tick();

 private:
  PaceFacts facts() const;
  void key_changed();
  void poll_keys();
  void follow_change_fd();
  // A signal on the controller's change descriptor: drained, and the tick runs.
  void take_change();
  // After a change's tick: the controller's changes alone for a moment (kQuietAfterChangeMs).
  void quiet_after_change();
  // A signal waits on the change notifier's descriptor, or comes within `wait_ms`.
  bool change_signalled(int wait_ms) const;

  QtTimer& timer_;
  PadSignals& pad_;
  const TickDemand& demand_;
  Keyboard& keyboard_;
  KeySignals& keys_;
  QtViews& views_;
  TickPacing pacing_;
  std::function<void()> tick_;
  std::function<void()> look_for_controller_;
  std::unique_ptr<QSocketNotifier> change_;
  std::unique_ptr<QSocketNotifier> key_change_;  // the key watch's descriptor, when it has one
  QTimer look_;       // every 2 s: the back end's events, and a controller when none is open
  QTimer key_poll_;   // without the key watch, while the timer sleeps: the keys the tick reads
  QTimer debug_due_;  // the debug window's text, once the pad rests
  QElapsedTimer clock_;
  qint64 keys_read_until_ = 0;  // after a watched key changed: tick until then at least
};

}  // namespace padwire::qt
