// What the program asks of the desktop: its own instance and folder, the windows and programs of
// the user, files, the beep, messages, and the start at login.
#pragma once

#include <string>

namespace padwire {

// What became of a request to bring a window to the front.
enum class Activation {
  kActivated,  // the window is in front
  kNotFound,   // no window has that title
  kRefused,    // the window exists, but the system kept it behind (the foreground lock)
};

// How a message presents itself: no icon, an information sign, or a warning.
enum class Severity { kPlain, kInformation, kWarning };

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual bool previous_instance() = 0;
  // Ends the program at once; the core returns from every handler after calling it.
  virtual void end_program() = 0;
  // The program's folder, without a trailing backslash unless it is a drive's root.
  virtual std::string app_path() = 0;

  // Each launch starts what it names without waiting for it; false when that could not start.
  // The emulator's program `file`, found in `folder`, with that folder as its working
  // directory, in a normal window.
  virtual bool launch_emulator(const std::string& file, const std::string& folder) = 0;
  // The emulator as its installation recorded it, in a normal window that takes the focus;
  // false also when nothing usable is recorded.
  virtual bool launch_installed_emulator() = 0;
  // An address (a web page) in the user's browser.
  virtual bool open_address(const std::string& address) = 0;
  // The system's game-controller settings, minimised with the focus.
  virtual bool open_controller_panel() = 0;

  // Name (without folder) of the first normal file matching the pattern; empty when none.
  virtual std::string find_first_file(const std::string& pattern) = 0;
  // Activates the top-level window with that title (exact, else one that begins with it).
  virtual Activation activate_window(const std::string& title) = 0;
  virtual void beep() = 0;
  // Shows a message with an OK button and returns when it is closed.
  virtual void message_box(const std::string& text, Severity severity,
                           const std::string& title) = 0;
  // What the About box adds to its text on this system (how keys reach other programs there);
  // empty where keys reach other programs as they do on Windows.
  virtual std::string about_note() { return {}; }
  // Whether the system starts this very program when the user logs in (an entry that starts
  // another copy of it does not count).
  virtual bool start_at_login() = 0;
  // Makes the system start this program at login, with the argument --login, or removes that
  // entry. False when the system's entry could not be written or removed.
  virtual bool set_start_at_login(bool start) = 0;
};

}  // namespace padwire
