// A private desktop for the end-to-end runs: a headless X server (Xvfb, which picks a free display
// number), openbox as the window manager and trayer as the tray host, and private settings and
// runtime folders, so that no run meets another's display, lock or settings file.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace padwire::e2e {

// A temporary folder, removed with everything in it at the end of the object's life.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class XSession {
 public:
  // Starts the server, waits for it, then for the window manager and the tray host.
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool ready() const { return ready_; }
  const std::string& problem() const { return problem_; }
  const std::string& display() const { return display_; }  // ":N"
  std::string config_home() const { return folder_.path() + "/config"; }
  std::string runtime_dir() const { return folder_.path() + "/runtime"; }
  std::string settings_path() const { return config_home() + "/padwire/settings.ini"; }
  const std::string& folder() const { return folder_.path(); }
  pid_t server_pid() const { return children_.empty() ? -1 : children_.front(); }

  // The tray host goes, or comes (again), as a panel that starts after the program does.
  void stop_tray_host();
  bool start_tray_host();

 private:
  bool start_server();

  TempFolder folder_;
  std::vector<pid_t> children_;  // the server first, then the window manager
  pid_t tray_host_ = -1;
  std::string display_;
  std::string problem_;
  bool ready_ = false;
};

// Runs `argv` as a child with `environment` (NAME=VALUE entries replacing or adding to this
// process's), its output appended to `log` (or discarded when empty); its process id, or -1.
pid_t spawn_process(const std::vector<std::string>& argv,
                    const std::vector<std::string>& environment, const std::string& log);
// SIGTERM to the child, then SIGKILL when it lingers; true when it had ended with status 0.
bool stop_process(pid_t pid);
// Waits for the child to end; its exit status, 128 + signal when killed, -1 when it still runs.
int wait_process(pid_t pid, int timeout_ms);

void sleep_ms(int ms);

// Polls `done` until it holds or `timeout_ms` passed (a wait, never a measured time).
template <typename Done>
bool wait_until(Done done, int timeout_ms = 5000) {
  for (int waited = 0;; waited += 10) {
    if (done()) return true;
    if (waited >= timeout_ms) return false;
    sleep_ms(10);
  }
}

}  // namespace padwire::e2e
