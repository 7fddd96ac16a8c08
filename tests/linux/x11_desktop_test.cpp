// The X11 services, each test on a headless X server of its own: activation by title with and
// without a window manager, and screenshots.
#include <gtest/gtest.h>

// After GoogleTest, which has names that Xlib defines as macros (None, Bool).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/x11_display.h"
#include "platform/linux/x11_screenshot.h"
#include "platform/linux/x11_windows.h"

namespace padwire::lin {
namespace {

// Starts a program that ends with the test program, even when that one is killed.
pid_t spawn(std::vector<std::string> arguments) {
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

void end(pid_t pid) {
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

// A private Xvfb (it picks a free display number and tells it through -displayfd), made the
// process's $DISPLAY, with openbox on it on request.
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

Window focused(Display* display) {
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  return focus;
}

TEST(X11Activation, RaisesAndFocusesWithoutAWindowManagerExactTitleFirst) {
  XServer x("1024x768x24");
  ASSERT_TRUE(x.display());
  const Window exact = x.make_window("Padwire Target");
  const Window longer = x.make_window("padwire target two");  // on top of the other
  EXPECT_EQ(activate_window_by_title(x.display(), "Padwire Targ"), Activation::kActivated);
  EXPECT_EQ(focused(x.display()), longer);
  EXPECT_EQ(activate_window_by_title(x.display(), "PADWIRE TARGET"), Activation::kActivated);
  EXPECT_EQ(focused(x.display()), exact);
  EXPECT_EQ(activate_window_by_title(x.display(), "Padwire Target three"), Activation::kNotFound);
  EXPECT_EQ(activate_window_by_title(x.display(), ""), Activation::kNotFound);
  EXPECT_EQ(activate_window_by_title(nullptr, "Padwire Target"), Activation::kNotFound);
}

TEST(X11Activation, AsksTheWindowManagerWhenOneRuns) {
  XServer x("1024x768x24");
  ASSERT_TRUE(x.display());
  // Made before the window manager starts, which then takes them in.
  const Window target = x.make_window("Émulateur Target");
  const Window other = x.make_window("Other Window");
  ASSERT_TRUE(x.start_window_manager(2));
  const Atom active = XInternAtom(x.display(), "_NET_ACTIVE_WINDOW", False);
  const auto active_window = [&] {
    const auto windows = x.root_windows(active);
    return windows.empty() ? 0 : windows.front();
  };
  EXPECT_EQ(activate_window_by_title(x.display(), "Other Window"), Activation::kActivated);
  EXPECT_EQ(active_window(), other);
  EXPECT_EQ(activate_window_by_title(x.display(), "émulateur target"), Activation::kActivated);
  EXPECT_EQ(active_window(), target);
  EXPECT_EQ(activate_window_by_title(x.display(), "Padwire"), Activation::kNotFound);
}

struct Jpeg {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

// The file decoded; an empty image when it is not a JPEG.
Jpeg decode(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), {});
  Jpeg jpeg;
  tjhandle decoder = tjInitDecompress();
  int subsampling = 0, colorspace = 0;
  if (tjDecompressHeader3(decoder, bytes.data(), bytes.size(), &jpeg.width, &jpeg.height,
                          &subsampling, &colorspace) == 0) {
    jpeg.rgb.resize(static_cast<std::size_t>(jpeg.width * jpeg.height * 3));
    if (tjDecompress2(decoder, bytes.data(), bytes.size(), jpeg.rgb.data(), jpeg.width, 0,
                      jpeg.height, TJPF_RGB, 0) != 0) {
      jpeg = {};
    }
  }
  tjDestroy(decoder);
  return jpeg;
}

// A shot of a screen of that size and depth with a red window at (50, 50), as the core names
// the file: "<folder>\<name>.jpg".
void expect_screenshot_of(const std::string& screen, int width, int height) {
  XServer x(screen);
  ASSERT_TRUE(x.display());
  XColor red{};
  red.red = 0xFFFF;
  XAllocColor(x.display(), DefaultColormap(x.display(), 0), &red);
  x.make_window("Red", red.pixel);
  const std::filesystem::path folder = testing::TempDir() + "padwire-shot-" + screen;
  std::filesystem::create_directories(folder);
  X11Screenshot screenshot(x.display());
  ASSERT_TRUE(screenshot.get_desktop(0, 0, 0, 60, folder.string() + "\\shot.jpg"));
  const Jpeg jpeg = decode((folder / "shot.jpg").string());
  EXPECT_EQ(jpeg.width, width);
  EXPECT_EQ(jpeg.height, height);
  const std::size_t inside = static_cast<std::size_t>((100 * width + 100) * 3);
  ASSERT_LT(inside + 2, jpeg.rgb.size());
  EXPECT_GT(jpeg.rgb[inside], 200);
  EXPECT_LT(jpeg.rgb[inside + 1], 50);
  EXPECT_LT(jpeg.rgb[inside + 2], 50);

  EXPECT_FALSE(screenshot.get_desktop(0, 0, 0, 60, (folder / "missing" / "shot.jpg").string()));
  EXPECT_FALSE(X11Screenshot(nullptr).get_desktop(0, 0, 0, 60, (folder / "none.jpg").string()));
  // The one file written, no partial one beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  std::filesystem::remove_all(folder);
}

TEST(X11Screenshots, IsAJpegOfTheWholeScreenShowingWhatIsOnIt) {
  expect_screenshot_of("1024x768x24", 1024, 768);
}

TEST(X11Screenshots, ConvertsAScreenOfFewerColours) {
  expect_screenshot_of("640x480x16", 640, 480);
}

}  // namespace
}  // namespace padwire::lin
