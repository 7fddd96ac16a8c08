#include "platform/qt/qt_session.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QGuiApplication>

namespace padwire::qt {

namespace {

// The self-pipe: the signal handler writes a byte, the event loop reads it.
int g_pipe[2] = {-1, -1};

void on_signal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> unload) : unload_(std::move(unload)) {
  if (g_pipe[0] < 0 && pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) g_pipe[0] = g_pipe[1] = -1;
  if (g_pipe[0] >= 0) {
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
      char bytes[16];
      while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
      }
      end();
    });
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) sigaction(number, &action, nullptr);
  }
  // The desktop asking whether it may end the session (commitDataRequest) is left unanswered,
  // which is a yes: another program may still cancel the end. The end itself quits the
  // application, which unloads.
  QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, this, [this] { end(); });
}

SessionEnd::~SessionEnd() {
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) signal(number, SIG_DFL);
}

void SessionEnd::end() {
  if (ended_) return;
  ended_ = true;
  if (unload_) unload_();
}

}  // namespace padwire::qt
