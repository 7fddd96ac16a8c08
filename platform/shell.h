// Tray icon, popup menu, shell, windows and the other desktop services of the tray program.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/types.h"
#include "platform/ui_model.h"

namespace padwire {

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimDelete = 2;

// The notify-icon record in its ANSI layout; the back end maps hIcon 0 to the program's icon.
struct TrayIconData {
  std::uint32_t cbSize = 0;
  WindowHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uintptr_t hIcon = 0;
  std::array<char, 64> szTip{};
};

class Tray {
 public:
  virtual ~Tray() = default;
  virtual bool notify_icon(std::uint32_t message, const TrayIconData& data) = 0;
  // Shows the menu at the pointer and returns the index of the chosen item, if any.
  virtual std::optional<std::size_t> track_popup(std::span<const MenuItem* const> items) = 0;
  // Twips per pixel of the screen in X (15 at 96 dpi), for decoding tray notifications.
  virtual float twips_per_pixel_x() = 0;
};

inline constexpr int kShowNormal = 1;

// What became of a request to bring a window to the front.
enum class Activation {
  kActivated,  // the window is in front
  kNotFound,   // no window has that title
  kRefused,    // the window exists, but the system kept it behind (the foreground lock)
};
inline constexpr int kShowMinimizedFocus = 2;

class Shell {
 public:
  virtual ~Shell() = default;
  virtual bool previous_instance() = 0;
  // Ends the program at once; the core returns from every handler after calling it.
  virtual void end_program() = 0;
  // The program's folder, without a trailing backslash unless it is a drive's root.
  virtual std::string app_path() = 0;
  virtual bool shell_execute(WindowHandle owner, const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             int show) = 0;
  // Starts a command line without waiting for it.
  virtual bool run(const std::string& command_line, int window_style) = 0;
  // Name (without folder) of the first normal file matching the pattern; empty when none.
  virtual std::string find_first_file(const std::string& pattern) = 0;
  // Activates the top-level window with that title (exact, else one that begins with it).
  virtual Activation activate_window(const std::string& title) = 0;
  virtual void beep() = 0;
  // Shows a message box and returns when it is closed.
  virtual void message_box(const std::string& text, std::uint32_t style,
                           const std::string& title) = 0;
  // What the About box adds to its text on this system (how keys reach other programs there);
  // empty where nothing differs from the described program.
  virtual std::string about_note() { return {}; }
  // Whether the system starts this very program when the user logs in (an entry that starts
  // another copy of it does not count).
  virtual bool start_at_login() = 0;
  // Makes the system start this program at login, with the argument --login, or removes that
  // entry. False when the system's entry could not be written or removed.
  virtual bool set_start_at_login(bool start) = 0;
};

inline constexpr std::uint32_t kMbOk = 0;
inline constexpr std::uint32_t kMbInformation = 64;

inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;

// The registry's string reading: RegOpenKeyA and RegQueryValueExA.
class Registry {
 public:
  virtual ~Registry() = default;
  // Reads a value's data into a buffer of `capacity` bytes; fails when the key or value is
  // absent or the data (with its terminating NUL) does not fit. `length` gets the byte count.
  virtual bool query_value(std::uint32_t root, const std::string& sub_key,
                           const std::string& value_name, std::string& data, std::uint32_t capacity,
                           std::uint32_t& length) = 0;
};

// Writes a JPEG image of the whole screen to `path` (the capture library's getDesktop).
class Screenshot {
 public:
  virtual ~Screenshot() = default;
  virtual bool get_desktop(int a, int b, std::int16_t flag, int quality,
                           const std::string& path) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() = 0;
  // Milliseconds since some fixed moment; never goes back, whatever the wall clock does.
  virtual std::uint64_t milliseconds() = 0;
};

class Random {
 public:
  virtual ~Random() = default;
  virtual void seed(double value) = 0;
  // The next number, 0 <= r < 1.
  virtual float next() = 0;
};

}  // namespace padwire
