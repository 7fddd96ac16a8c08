// The loop waits on its events and on the descriptor the open controller signals a change on
// (a device node): on that way nothing asks anything of the system that the key does not
// need, since each such call costs the key time. The keys the tick reads by their state are
// heard going down and up by the key watch, whichever window has the focus: one that changes
// runs the tick as a controller change does. Without a watch (on X11 without XInput 2, say)
// they are looked at every 100 ms while the timer sleeps instead.
#include "platform/qt/qt_tick_pacer.h"

#include <poll.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <algorithm>

#include "engine/pad_engine.h"
#include "platform/keyboard.h"
#include "platform/qt/qt_views.h"

namespace padwire::qt {

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

bool QtTimer::start_native(int milliseconds) {
  timer_.start(std::max(kShortestMs, milliseconds));
  return true;
}

TickPacer::TickPacer(QtTimer& timer, PadSignals& pad, const TickDemand& demand, Keyboard& keyboard,
                     KeySignals& keys, QtViews& views, std::function<void()> tick,
                     std::function<void()> look_for_controller)
    : timer_(timer),
      pad_(pad),
      demand_(demand),
      keyboard_(keyboard),
      keys_(keys),
      views_(views),
      pacing_(timer, demand),
      tick_(std::move(tick)),
      look_for_controller_(std::move(look_for_controller)) {
  clock_.start();
  QObject::connect(&look_, &QTimer::timeout, this, [this] {
    pump();
    if (!views_.ended() && !demand_.controller_open()) look_for_controller_();
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
  // Drawing holds the loop for up to a millisecond: a change that arrived meanwhile is taken
  // first, and the text, which the change's tick holds again, is drawn once the pad rests.
  QObject::connect(&debug_due_, &QTimer::timeout, this, [this] {
    if (!(change_ && change_->isEnabled() && change_signalled(0))) views_.flush_debug_text();
  });
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   this, [this] { settle(); });
}

TickPacer::~TickPacer() = default;

PaceFacts TickPacer::facts() const {
  return {pad_.change_fd() >= 0, clock_.elapsed() < keys_read_until_};
}

void TickPacer::pump() {
  if (pad_.pump() && !views_.ended()) look_for_controller_();
}

void TickPacer::timer_tick() {
  if (views_.ended()) return;
  tick_();
}

void TickPacer::pad_changed() {
  if (views_.ended() || !pacing_.tick_on_change()) return;
  tick_();
  if (!views_.ended()) pacing_.after_tick(facts());
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
  pacing_.key_changed();
}

void TickPacer::follow_change_fd() {
  const int fd = pad_.change_fd();
  if (change_ && change_->socket() == fd && change_->isEnabled()) return;
  change_.reset();
  if (fd < 0) return;
  change_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(change_.get(), &QSocketNotifier::activated, this, [this] {
    // The pump's events, which only tell of controllers coming and going, wait until the key
    // is out.
    take_change();
    quiet_after_change();
    pump();
  });
}

void TickPacer::take_change() {
  pad_.drain_change_fd();
  // A node that went away was closed: its notifier waits, disabled, to be replaced.
  if (pad_.change_fd() != change_->socket()) change_->setEnabled(false);
  // The tick reads the change itself (SDL updates its joysticks when polled).
  pad_changed();
}

bool TickPacer::change_signalled(int wait_ms) const {
  pollfd change{static_cast<int>(change_->socket()), POLLIN, 0};
  return ::poll(&change, 1, wait_ms) > 0 && (change.revents & POLLIN);
}

void TickPacer::quiet_after_change() {
  const qint64 end = clock_.nsecsElapsed() + qint64{kQuietAfterChangeMs} * 1'000'000;
  // The descriptor the notifier watches, while it is still the controller's.
  while (!views_.ended() && change_->isEnabled() && pad_.change_fd() == change_->socket()) {
    const qint64 left = end - clock_.nsecsElapsed();
    if (left <= 0) return;
    if (!change_signalled(static_cast<int>((left + 999'999) / 1'000'000))) return;
    take_change();
  }
}

void TickPacer::settle() {
  if (views_.ended()) return;
  follow_change_fd();
  if (!timer_.armed()) {
    key_poll_.stop();
  } else {
    pacing_.settle(facts());
    // Without the key watch, the keys are polled only while the timer, which reads them, sleeps.
    if (timer_.running() || key_change_) {
      key_poll_.stop();
    } else if (!key_poll_.isActive()) {
      key_poll_.start(kKeyPollMs);
    }
  }
  // Drawn on its timer even when due now: a change already waiting is handled first, since
  // the loop hands out ready descriptors before expired timers.
  const std::optional<std::uint64_t> due = views_.debug_text_due_in();
  if (!due) {
    debug_due_.stop();
  } else if (const int ms = static_cast<int>(*due);
             !debug_due_.isActive() || debug_due_.remainingTime() > ms) {
    debug_due_.start(ms);
  }
}

}  // namespace padwire::qt
