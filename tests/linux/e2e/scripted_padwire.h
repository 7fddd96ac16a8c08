// padwire_scripted as a child process: its joystick scripted through the FIFO that
// PADWIRE_SCRIPT names, its answers ("ok TIME", "error: ...", rumble calls, "tray-ready") read from
// the FIFO that PADWIRE_SCRIPT_REPLY names, its output kept in a log for failure messages.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace padwire::e2e {

class XSession;

class ScriptedPadwire {
 public:
  // The program and where it runs: the session's display, settings and runtime folders.
  ScriptedPadwire(std::string program, const XSession& session);
  ~ScriptedPadwire();
  ScriptedPadwire(const ScriptedPadwire&) = delete;
  ScriptedPadwire& operator=(const ScriptedPadwire&) = delete;

  // Starts it; true once it said its tray icon is shown (or at once, without `wait_for_tray`).
  bool start(bool wait_for_tray = true);
  // Added to the program's environment (NAME=VALUE) at its next start.
  std::vector<std::string> environment;
  bool running();
  pid_t pid() const { return pid_; }

  // One script line; true when the program answered "ok", which it does once it has taken the
  // change in.
  bool send(const std::string& line);
  // When the joystick changed for the last line sent: CLOCK_MONOTONIC in nanoseconds.
  std::int64_t changed_ns() const { return changed_ns_; }
  bool button(int number, bool down) {
    return send("button " + std::to_string(number) + (down ? " 1" : " 0"));
  }
  bool axis(int number, int value) {
    return send("axis " + std::to_string(number) + " " + std::to_string(value));
  }
  bool hat(int value) { return send("hat 0 " + std::to_string(value)); }

  // Waits for a line from the program that begins with `prefix`.
  bool wait_for_line(const std::string& prefix, int timeout_ms = 5000);
  std::vector<std::string> lines();
  // SIGTERM (as at log-off); the exit status, -1 when it did not end.
  int terminate();
  // Waits for the program to end by itself; its exit status, -1 when it did not end.
  int wait_for_exit(int timeout_ms = 5000);
  // What it printed on its standard output and error.
  std::string log() const;

 private:
  void read_replies();
  std::size_t answers_locked() const;

  std::string program_;
  const XSession& session_;
  std::string script_path_, reply_path_, log_path_;
  int script_fd_ = -1, reply_fd_ = -1;
  pid_t pid_ = -1;
  int exit_status_ = -1;
  std::int64_t changed_ns_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  bool stop_ = false;
  std::thread reader_;
};

}  // namespace padwire::e2e
