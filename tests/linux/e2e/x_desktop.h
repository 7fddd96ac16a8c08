// The test's hands on the desktop, through its own X connection: keys and clicks through XTest
// (as a user's), the tray icon's place, the top-level windows and their titles, the focus.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

namespace padwire::e2e {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

class XDesktop {
 public:
  explicit XDesktop(const std::string& display);
  ~XDesktop();
  XDesktop(const XDesktop&) = delete;
  XDesktop& operator=(const XDesktop&) = delete;

  bool ready() const { return display_ != nullptr; }

  void key(unsigned long keysym, bool down);
  void tap_key(unsigned long keysym);
  // Presses, then releases, each key of `text` (letters, digits and the space).
  void type(const std::string& text);
  void move_pointer(int x, int y);
  void click(int x, int y, int button = 1);
  void pointer(int& x, int& y);

  // An icon embedded in the tray host (the first one, there is only ever Padwire's).
  std::optional<Rect> tray_icon();
  // A popup menu on the screen (an unmanaged window taller than a tooltip).
  std::optional<Rect> open_menu();

  // The managed top-level windows (the window manager's client list) and their titles.
  std::vector<unsigned long> clients();
  std::string title(unsigned long window);
  // The client with exactly this title, or 0.
  unsigned long find(const std::string& title);
  std::optional<Rect> geometry(unsigned long window);
  // Asks the window manager to bring `window` to the front and give it the focus.
  void activate(unsigned long window);
  // The window manager's active window, or 0.
  unsigned long active();

 private:
  void flush();

  _XDisplay* display_ = nullptr;
};

}  // namespace padwire::e2e
