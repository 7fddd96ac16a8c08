#include "x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <thread>

extern char** environ;

namespace padwire::e2e {

void sleep_ms(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TempFolder::TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/padwire-e2e.XXXXXX";
  if (mkdtemp(pattern.data())) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

pid_t spawn_process(const std::vector<std::string>& argv,
                    const std::vector<std::string>& environment, const std::string& log) {
  // Everything the child needs is built before the fork.
  std::map<std::string, std::string> merged;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    merged[entry.substr(0, entry.find('='))] = entry;
  }
  for (const std::string& entry : environment) merged[entry.substr(0, entry.find('='))] = entry;
  std::vector<char*> envp;
  for (auto& [name, entry] : merged) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = argv;
  std::vector<char*> argp;
  for (std::string& a : args) argp.push_back(a.data());
  argp.push_back(nullptr);
  const int out = log.empty() ? open("/dev/null", O_WRONLY | O_CLOEXEC)
                              : open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);

  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);  // a signal to the test runner's group does not reach it twice
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // nor does it outlive a test killed on a timeout
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    execvpe(argp[0], argp.data(), envp.data());
    _exit(127);
  }
  if (out >= 0) close(out);
  return pid;
}

int wait_process(pid_t pid, int timeout_ms) {
  int status = 0;
  pid_t done = 0;
  wait_until([&] { return (done = waitpid(pid, &status, WNOHANG)) != 0; }, timeout_ms);
  if (done != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool stop_process(pid_t pid) {
  if (pid <= 0) return false;
  kill(pid, SIGTERM);
  int status = wait_process(pid, 5000);
  if (status < 0) {
    kill(pid, SIGKILL);
    status = wait_process(pid, 5000);
  }
  return status == 0;
}

namespace {

// The X server's own answer: a window manager announces itself on the root window, a tray host
// owns the tray selection of screen 0.
bool desktop_ready(Display* display) {
  const Window root = DefaultRootWindow(display);
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool managed = XGetWindowProperty(display, root, check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &after, &data) == Success &&
                       count == 1;
  if (data) XFree(data);
  const Atom tray = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
  return managed && XGetSelectionOwner(display, tray) != None;
}

}  // namespace

XSession::XSession() {
  if (folder_.path().empty()) {
    problem_ = "no temporary folder";
    return;
  }
  mkdir(config_home().c_str(), 0700);
  mkdir(runtime_dir().c_str(), 0700);
  if (!start_server()) return;
  children_.push_back(spawn_process({"openbox"}, {"DISPLAY=" + display_}, ""));
  start_tray_host();
  Display* display = XOpenDisplay(display_.c_str());
  if (!display) {
    problem_ = "cannot open " + display_;
    return;
  }
  ready_ = wait_until([&] { return desktop_ready(display); }, 15000);
  XCloseDisplay(display);
  if (!ready_) problem_ = "openbox or trayer did not come up on " + display_;
}

bool XSession::start_server() {
  // Xvfb writes the display number it chose to the descriptor -displayfd names.
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(fds[0]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  children_.push_back(pid);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  char c = 0;
  while (poll(&p, 1, 15000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) {
    problem_ = "Xvfb did not start";
    return false;
  }
  display_ = ":" + number;
  return true;
}

bool XSession::start_tray_host() {
  tray_host_ = spawn_process(
      {"trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24"},
      {"DISPLAY=" + display_}, "");
  return tray_host_ > 0;
}

void XSession::stop_tray_host() {
  if (tray_host_ > 0) stop_process(tray_host_);
  tray_host_ = -1;
}

XSession::~XSession() {
  stop_tray_host();
  // The tray host and the window manager before the server.
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) stop_process(*it);
}

}  // namespace padwire::e2e
