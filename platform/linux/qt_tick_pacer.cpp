// The pacing of the poll tick.
//
// The core's poll timer asks for 1 ms; the program instead waits on its events and on the
// descriptor the open controller signals a change on (SdlInput::change_fd, the device node):
//
// - A controller change runs the tick at once (SDL's pump after it), and the timer, if ticks are
//   still needed, is re-armed a full period after it. Nothing on that way asks anything of the
//   system that the key does not need: each such call costs the key time.
// - After the events of every wake-up, the engine says whether a further tick could change
//   anything with the pad as last read (PadEngine::needs_ticks). When not, the timer stops and
//   the program sleeps until the next change.
// - The keys the tick reads by their state (Tab, Ctrl, Print Screen) are heard going down and
//   up through XInput 2 (X11KeyWatch), whichever window has the focus: one that changes runs
//   the tick (as a controller change does), and the timer then runs for a second at least,
//   the key being read on its ticks. Without XInput 2 (no X server, or an old one) they are
//   looked at every 100 ms while the timer sleeps instead, and one held starts the timer again.
// - Behaviour that counts ticks (auto-fire, the pointer's acceleration, a repeating
//   combination, a shot per tick with Print Screen held, the stressed rumble) keeps the timer's
//   cadence: while the engine says it is paced by the timer and the timer runs, a change waits
//   for the next timer tick, so per-second rates stay what the timer alone gives.
// - A device without a descriptor (a virtual joystick, no permission) leaves the timer
//   running alone. The core's Timer1 is untouched: a stopped Timer1 means no ticks at all, and
//   a skipped tick is only ever one that would have done nothing.
#include "platform/linux/qt_tick_pacer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <algorithm>

#include "platform/linux/x11_key_watch.h"
#include "platform/qt/qt_views.h"
#include "platform/sdl/sdl_input.h"
#include "shell/form_padwire.h"

namespace padwire::lin {

namespace {

constexpr int kLookMs = 2000;
constexpr int kKeyPollMs = 100;
// How long the timer keeps ticking after a watched key changed or was seen held.
constexpr qint64 kKeyReadMs = 1000;

}  // namespace

QtTimer::QtTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (on_tick) on_tick();
  });
}

void QtTimer::set_enabled(bool enabled) {
  enabled_ = enabled;
  apply();
}

void QtTimer::set_interval(int milliseconds) {
  interval_ = milliseconds;
  apply();
}

void QtTimer::apply() {
  if (armed()) {
    timer_.start(std::max(kShortestMs, interval_));
  } else {
    timer_.stop();
  }
}

bool ticks_needed(const PaceFacts& facts) {
  if (facts.device && !facts.device_signals) return true;
  return facts.keys_watched || facts.needs_ticks;
}

TickPacer::TickPacer(QtTimer& timer, SdlInput& input, FormPadwire& form, Keyboard& keyboard,
                     X11KeyWatch& keys, QtViews& views, std::function<void()> tick)
    : timer_(timer),
      input_(input),
      form_(form),
      keyboard_(keyboard),
      keys_(keys),
      views_(views),
      tick_(std::move(tick)) {
  clock_.start();
  QObject::connect(&look_, &QTimer::timeout, this, [this] {
    pump();
    if (!form_.ended() && !form_.controller_open()) form_.look_for_controller();
  });
  look_.start(kLookMs);
  if (keys_.fd() >= 0) {
    key_change_ = std::make_unique<QSocketNotifier>(keys_.fd(), QSocketNotifier::Read);
    QObject::connect(key_change_.get(), &QSocketNotifier::activated, this, [this] {
      if (keys_.drain()) key_changed();
    });
  } else {
    QObject::connect(&key_poll_, &QTimer::timeout, this, [this] { poll_keys(); });
  }
  debug_due_.setSingleShot(true);
  QObject::connect(&debug_due_, &QTimer::timeout, this, [this] { views_.flush_debug_text(); });
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   this, [this] { settle(); });
}

TickPacer::~TickPacer() = default;

PaceFacts TickPacer::facts() const {
  PaceFacts facts;
  facts.device = form_.controller_open();
  facts.device_signals = input_.change_fd() >= 0;
  facts.keys_watched = clock_.elapsed() < keys_read_until_;
  facts.needs_ticks = facts.keys_watched || form_.engine.needs_ticks();
  return facts;
}

void TickPacer::pump() {
  if (input_.pump() && !form_.ended()) form_.look_for_controller();
}

void TickPacer::timer_tick() {
  if (form_.ended()) return;
  tick_();
}

void TickPacer::tick_now() {
  tick_();
  if (form_.ended() || !timer_.armed()) return;  // the tick itself switched the timer off
  if (ticks_needed(facts())) {
    timer_.rearm();
  } else {
    timer_.pause();
  }
}

void TickPacer::pad_changed() {
  if (form_.ended() || !timer_.armed()) return;
  if (timer_.running() && form_.engine.paced_by_timer()) return;  // the timer's next tick reads it
  tick_now();
}

void TickPacer::key_changed() {
  keys_read_until_ = clock_.elapsed() + kKeyReadMs;
  pad_changed();  // as a controller change: at once, or on the timer where its cadence governs
}

void TickPacer::poll_keys() {
  constexpr int kWatched[] = {kVkTab, kVkControl, kVkSnapshot};
  const bool held = std::any_of(std::begin(kWatched), std::end(kWatched),
                                [this](int vk) { return keyboard_.async_key_state(vk) < 0; });
  if (!held) return;
  keys_read_until_ = clock_.elapsed() + kKeyReadMs;
  if (timer_.armed() && !timer_.running()) timer_.rearm();
}

void TickPacer::follow_change_fd() {
  const int fd = input_.change_fd();
  if (change_ && change_->socket() == fd && change_->isEnabled()) return;
  change_.reset();
  if (fd < 0) return;
  change_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(change_.get(), &QSocketNotifier::activated, this, [this] {
    input_.drain_change_fd();
    // A node that went away was closed: its notifier waits, disabled, to be replaced.
    if (input_.change_fd() != change_->socket()) change_->setEnabled(false);
    // The tick reads the change itself (SDL updates its joysticks when polled); SDL's events,
    // which only tell of joysticks coming and going, wait until the key is out.
    pad_changed();
    pump();
  });
}

void TickPacer::settle() {
  if (form_.ended()) return;
  follow_change_fd();
  if (!timer_.armed()) {
    key_poll_.stop();
  } else {
    const bool needed = ticks_needed(facts());
    if (needed && !timer_.running()) {
      timer_.rearm();
    } else if (!needed && timer_.running()) {
      timer_.pause();
    }
    // Without the key watch, the keys are polled only while the timer, which reads them, sleeps.
    if (timer_.running() || key_change_) {
      key_poll_.stop();
    } else if (!key_poll_.isActive()) {
      key_poll_.start(kKeyPollMs);
    }
  }
  // Drawn on its timer even when due now: a change already waiting is handled first, since
  // the loop hands out ready descriptors before expired timers.
  const std::optional<int> due = views_.debug_text_due_in();
  if (!due) {
    debug_due_.stop();
  } else if (!debug_due_.isActive() || debug_due_.remainingTime() > *due) {
    debug_due_.start(*due);
  }
}

}  // namespace padwire::lin
