// Test programs only: command lines read from a FIFO or file as they arrive, and lines written
// back to another. The shipped program never makes one.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace padwire::qt {

class ScriptChannel final : public QObject {
 public:
  // Opens `commands` (a FIFO is kept open for writing too, so that it never reads as ended
  // between writers) and, when not empty, `replies` (a FIFO waits here for its reader).
  ScriptChannel(const std::string& commands, const std::string& replies,
                std::function<void(const std::string&)> on_line);
  ~ScriptChannel() override;
  ScriptChannel(const ScriptChannel&) = delete;
  ScriptChannel& operator=(const ScriptChannel&) = delete;

  bool is_open() const { return in_ >= 0; }
  // Writes one line to the replies, if there are any.
  void reply(const std::string& line);
  // Writes `line` once the event loop is about to wait with `ready()` true: an answer that is
  // to follow what its command set off in the program. Lines held back go in order.
  void reply_when(std::function<bool()> ready, const std::string& line);

 private:
  void read_lines();
  void reply_ready();

  std::function<void(const std::string&)> on_line_;
  int in_ = -1;
  int keep_ = -1;  // our own writer of a FIFO
  int out_ = -1;
  std::string pending_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::vector<std::pair<std::function<bool()>, std::string>> held_;  // see reply_when
};

}  // namespace padwire::qt
