// Test programs only: command lines read from a FIFO or file as they arrive, and lines written
// back to another. The shipped program never makes one.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

namespace padwire::lin {

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

 private:
  void read_lines();

  std::function<void(const std::string&)> on_line_;
  int in_ = -1;
  int keep_ = -1;  // our own writer of a FIFO
  int out_ = -1;
  std::string pending_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace padwire::lin
