// A private headless X server for the desktop tests: Xvfb picks a free display number and tells
// it through -displayfd, so tests that run at the same time never meet on one display. It
// becomes the process's $DISPLAY; openbox starts on it on request.
#pragma once

// After GoogleTest, which has names that Xlib defines as macros (None, Bool).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace padwire::lin {

// Starts a program that ends with the test program, even when that one is killed.
inline pid_t spawn(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

inline void end(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

// Waits for a condition that another process brings about; false if it never comes (a bound
// against a hung run, not a measure of speed).
template <typename Condition>
bool eventually(Condition condition) {
  for (int step = 0; step < 1000; ++step) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

class XServer {
 public:
  explicit XServer(const std::string& screen) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return;
    server_ = spawn({"Xvfb", "-displayfd", std::to_string(pipe_fds[1]), "-screen", "0", screen,
                     "-nolisten", "tcp"});
    close(pipe_fds[1]);
    std::string number;
    char c = 0;
    while (read(pipe_fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipe_fds[0]);
    if (number.empty()) return;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    display_ = XOpenDisplay(nullptr);
  }
  ~XServer() {
    end(window_manager_);
    if (display_) XCloseDisplay(display_);
    end(server_);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  Display* display() const { return display_; }

  // Starts openbox and waits until it manages the windows there are.
  bool start_window_manager(std::size_t windows) {
    window_manager_ = spawn({"openbox", "--sm-disable"});
    const Atom clients = XInternAtom(display_, "_NET_CLIENT_LIST", False);
    return eventually([&] { return root_windows(clients).size() == windows; });
  }

  // A root window property that lists windows (empty when there is none).
  std::vector<unsigned long> root_windows(Atom property) const {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, DefaultRootWindow(display_), property, 0, 64, False, XA_WINDOW,
                       &actual, &format, &count, &after, &data);
    std::vector<unsigned long> windows;
    if (data)
      windows.assign(reinterpret_cast<unsigned long*>(data),
                     reinterpret_cast<unsigned long*>(data) + count);
    if (data) XFree(data);
    return windows;
  }

  // A mapped top-level window with that title (WM_NAME and _NET_WM_NAME) and background.
  Window make_window(const std::string& title, unsigned long background = 0) {
    const Window window = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 50, 50, 200,
                                              150, 0, 0, background);
    XStoreName(display_, window, title.c_str());
    XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False),
                    XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XSelectInput(display_, window, StructureNotifyMask);
    XMapWindow(display_, window);
    XEvent event;
    do {
      XWindowEvent(display_, window, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
    return window;
  }

 private:
  pid_t server_ = -1;
  pid_t window_manager_ = -1;
  Display* display_ = nullptr;
};

}  // namespace padwire::lin
