// When the main form's tick runs: at once when the controller reports a change, on the poll
// timer while the engine needs ticks, and not at all while nothing can change. Also when the
// program looks for a controller, and when the debug window's text is drawn.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/timer.h"

namespace padwire {
class FormPadwire;
class Keyboard;
}  // namespace padwire
namespace padwire::qt {
class QtViews;
}  // namespace padwire::qt
namespace padwire::sdl {
class SdlInput;
}  // namespace padwire::sdl

namespace padwire::lin {

using qt::QtViews;
using sdl::SdlInput;
class X11KeyWatch;

// The core's poll timer. It runs while enabled with a positive interval, every
// max(10 ms, interval): the core asks for 1 ms, which Windows' timers deliver every 10 ms at
// the least, and the per-tick rates (auto-fire, the pointer's speed) were made for that.
class QtTimer final : public TimerService {
 public:
  static constexpr int kShortestMs = 10;
  QtTimer();
  // What a tick of the native timer runs; set once the forms exist.
  std::function<void()> on_tick;
  void set_enabled(bool enabled) override;
  void set_interval(int milliseconds) override;
  // The model asks for ticks: enabled with a positive interval.
  bool armed() const { return enabled_ && interval_ > 0; }
  bool running() const { return timer_.isActive(); }
  int period() const { return timer_.interval(); }
  // Stops the native timer while the model still asks for ticks (the next ticks would do
  // nothing); rearm starts it again, a full period from now.
  void pause() { timer_.stop(); }
  void rearm() { apply(); }

 private:
  void apply();
  QTimer timer_;
  bool enabled_ = true;
  int interval_ = 1;
};

// The pacing decision, from what the timer, the device and the engine say.
struct PaceFacts {
  bool device = false;          // a controller is open
  bool device_signals = false;  // and reports its changes on a descriptor
  bool needs_ticks = false;     // PadEngine::needs_ticks
  bool keys_watched = false;    // a watched key changed a moment ago
};
// Whether the poll timer must run: a device that cannot signal is polled on it.
bool ticks_needed(const PaceFacts& facts);

class TickPacer final : public QObject {
 public:
  // Ticks through `timer`'s callback; the form's Timer1_Timer runs in `tick`. `keys` hears the
  // keys the tick reads by their state; when it cannot (no XInput 2), they are polled on
  // `keyboard`.
  TickPacer(QtTimer& timer, SdlInput& input, FormPadwire& form, Keyboard& keyboard,
            X11KeyWatch& keys, QtViews& views, std::function<void()> tick);
  ~TickPacer() override;

  // The controller (or a test's script) changed: tick at once, unless the timer's cadence
  // governs (see paced_by_timer) and its next tick reads the change.
  void pad_changed();
  // After the events of one wake-up: stops the timer when no tick is needed, starts it when
  // one is; follows the controller's change descriptor; draws the debug text when it is due.
  void settle();
  // Runs SDL's event pump; a joystick that arrived makes the form look for a controller.
  void pump();
  // The form's tick on the timer: with the pacing of its own after it.
  void timer_tick();

 private:
  PaceFacts facts() const;
  void tick_now();
  void key_changed();
  void poll_keys();
  void follow_change_fd();

  QtTimer& timer_;
  SdlInput& input_;
  FormPadwire& form_;
  Keyboard& keyboard_;
  X11KeyWatch& keys_;
  QtViews& views_;
  std::function<void()> tick_;
  std::unique_ptr<QSocketNotifier> change_;
  std::unique_ptr<QSocketNotifier> key_change_;  // the key watch's descriptor, when it has one
  QTimer look_;       // every 2 s: SDL's events, and a controller when none is open
  QTimer key_poll_;   // without the key watch, while the timer sleeps: the keys the tick reads
  QTimer debug_due_;  // the debug window's text, once the pad rests
  QElapsedTimer clock_;
  qint64 keys_read_until_ = 0;  // after a watched key changed: tick until then at least
};

}  // namespace padwire::lin
