#include "platform/qt/qt_script_channel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <cerrno>
#include <csignal>

namespace padwire::qt {

ScriptChannel::ScriptChannel(const std::string& commands, const std::string& replies,
                             std::function<void(const std::string&)> on_line)
    : on_line_(std::move(on_line)) {
  if (!replies.empty()) {
    struct stat info {};
    const bool fifo = stat(replies.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    // A reader that goes away must not end the program: its writes just fail.
    if (fifo) signal(SIGPIPE, SIG_IGN);
    out_ = fifo ? open(replies.c_str(), O_WRONLY | O_CLOEXEC)
                : open(replies.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  }
  in_ = open(commands.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (in_ < 0) return;
  struct stat info {};
  if (fstat(in_, &info) == 0 && S_ISFIFO(info.st_mode)) {
    keep_ = open(commands.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  }
  notifier_ = std::make_unique<QSocketNotifier>(in_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { read_lines(); });
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   this, [this] { reply_ready(); });
}

ScriptChannel::~ScriptChannel() {
  notifier_.reset();
  for (const int fd : {in_, keep_, out_}) {
    if (fd >= 0) close(fd);
  }
}

void ScriptChannel::read_lines() {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(in_, buffer, sizeof buffer);
    if (got > 0) {
      pending_.append(buffer, static_cast<std::size_t>(got));
      continue;
    }
    if (got == 0 && keep_ < 0) notifier_->setEnabled(false);  // a file read to its end
    if (got < 0 && errno == EINTR) continue;
    break;
  }
  for (std::size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n')) {
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && on_line_) on_line_(line);
  }
}

void ScriptChannel::reply(const std::string& line) {
  if (out_ < 0) return;
  const std::string text = line + "\n";
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(out_, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return;
    done += static_cast<std::size_t>(wrote);
  }
}

void ScriptChannel::reply_when(std::function<bool()> ready, const std::string& line) {
  held_.emplace_back(std::move(ready), line);
}

void ScriptChannel::reply_ready() {
  std::size_t done = 0;
  while (done < held_.size() && held_[done].first()) reply(held_[done++].second);
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(done));
}

}  // namespace padwire::qt
