#include "scripted_padwire.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "x_session.h"

namespace padwire::e2e {

ScriptedPadwire::ScriptedPadwire(std::string program, const XSession& session)
    : program_(std::move(program)), session_(session) {
  static int serial = 0;
  const std::string base = session.folder() + "/padwire" + std::to_string(++serial);
  script_path_ = base + ".script";
  reply_path_ = base + ".reply";
  log_path_ = base + ".log";
  mkfifo(script_path_.c_str(), 0600);
  mkfifo(reply_path_.c_str(), 0600);
  // Read and write ends at once: opening never blocks, and neither side sees an end of file
  // while the other restarts.
  script_fd_ = open(script_path_.c_str(), O_RDWR | O_CLOEXEC);
  reply_fd_ = open(reply_path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  reader_ = std::thread([this] { read_replies(); });
}

ScriptedPadwire::~ScriptedPadwire() {
  if (running()) terminate();
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  reader_.join();
  close(script_fd_);
  close(reply_fd_);
}

bool ScriptedPadwire::start(bool wait_for_tray) {
  {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }
  exit_status_ = -1;
  // No session bus unless the test gives one: the tray is the session's XEmbed tray.
  std::vector<std::string> variables = {"DISPLAY=" + session_.display(),
                                        "XDG_CONFIG_HOME=" + session_.config_home(),
                                        "XDG_RUNTIME_DIR=" + session_.runtime_dir(),
                                        "WAYLAND_DISPLAY=",
                                        "QT_QPA_PLATFORM=xcb",
                                        "DBUS_SESSION_BUS_ADDRESS=",
                                        "PADWIRE_SCRIPT=" + script_path_,
                                        "PADWIRE_SCRIPT_REPLY=" + reply_path_};
  variables.insert(variables.end(), environment.begin(), environment.end());
  pid_ = spawn_process({program_}, variables, log_path_);
  return pid_ > 0 && (!wait_for_tray || wait_for_line("tray-ready", 15000));
}

bool ScriptedPadwire::running() {
  if (pid_ <= 0 || exit_status_ >= 0) return false;
  exit_status_ = wait_process(pid_, 0);
  return exit_status_ < 0;
}

void ScriptedPadwire::read_replies() {
  std::string partial;
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
    }
    pollfd p{reply_fd_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    char buffer[512];
    const ssize_t n = read(reply_fd_, buffer, sizeof buffer);
    if (n <= 0) continue;
    partial.append(buffer, static_cast<std::size_t>(n));
    std::lock_guard lock(mutex_);
    for (std::size_t end; (end = partial.find('\n')) != std::string::npos;) {
      lines_.push_back(partial.substr(0, end));
      partial.erase(0, end + 1);
    }
    changed_.notify_all();
  }
}

namespace {

bool is_ok(const std::string& line) {
  return line == "ok" || line.rfind("ok ", 0) == 0;
}

bool is_answer(const std::string& line) {
  return is_ok(line) || line.rfind("error", 0) == 0;
}

}  // namespace

std::size_t ScriptedPadwire::answers_locked() const {
  return static_cast<std::size_t>(std::count_if(lines_.begin(), lines_.end(), is_answer));
}

bool ScriptedPadwire::send(const std::string& line) {
  std::unique_lock lock(mutex_);
  const std::size_t before = answers_locked();
  const std::string text = line + "\n";
  if (write(script_fd_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
    return false;
  if (!changed_.wait_for(lock, std::chrono::seconds(5), [&] { return answers_locked() > before; }))
    return false;
  const auto answer = std::find_if(lines_.rbegin(), lines_.rend(), is_answer);
  if (answer == lines_.rend() || !is_ok(*answer)) return false;
  changed_ns_ = answer->size() > 3 ? std::stoll(answer->substr(3)) : 0;
  return true;
}

bool ScriptedPadwire::wait_for_line(const std::string& prefix, int timeout_ms) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] {
    for (const std::string& line : lines_) {
      if (line.rfind(prefix, 0) == 0) return true;
    }
    return false;
  });
}

std::vector<std::string> ScriptedPadwire::lines() {
  std::lock_guard lock(mutex_);
  return lines_;
}

int ScriptedPadwire::terminate() {
  if (!running()) return exit_status_;
  kill(pid_, SIGTERM);
  return wait_for_exit();
}

int ScriptedPadwire::wait_for_exit(int timeout_ms) {
  if (exit_status_ < 0 && pid_ > 0) exit_status_ = wait_process(pid_, timeout_ms);
  return exit_status_;
}

std::string ScriptedPadwire::log() const {
  std::ifstream in(log_path_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace padwire::e2e
