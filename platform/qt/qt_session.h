// The end of the session and the signals that end the program: SIGTERM, SIGINT and SIGHUP (the
// terminal or the session going away), and the desktop session's own end, all end the program
// as Exit does, through one handler run from the event loop.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace padwire::qt {

class SessionEnd final : public QObject {
 public:
  // `unload` runs once, from the event loop, when a signal arrives or the application quits.
  explicit SessionEnd(std::function<void()> unload);
  ~SessionEnd() override;
  SessionEnd(const SessionEnd&) = delete;
  SessionEnd& operator=(const SessionEnd&) = delete;

 private:
  void end();
  std::function<void()> unload_;
  std::unique_ptr<QSocketNotifier> notifier_;
  bool ended_ = false;
};

}  // namespace padwire::qt
