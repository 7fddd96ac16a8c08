// How the Linux program reaches other programs, decided once at start from what the session
// offers: which sink takes keys, buttons and the pointer, where Tab, Ctrl and Print Screen are
// read, how Print Screen takes its picture, and what the user is told about it.
#pragma once

#include <string>

namespace padwire::lin {

struct SessionFacts {
  bool wayland = false;  // a Wayland session: WAYLAND_DISPLAY is set
  bool x11 = false;      // an X server answers on DISPLAY (under Wayland: XWayland)
  bool uinput = false;   // /dev/uinput could be opened and set up
  bool xtest = false;    // the X server offers XTest
};

enum class KeySink { kUinput, kXTest, kNone };

// What the user hears of the plan, once at start.
enum class Notice {
  kNone,
  kCannotType,       // a Wayland session without uinput: nothing can be typed (a message box)
  kX11ProgramsOnly,  // XTest: only X11 programs get the keys (a line on standard error)
};

struct InputPlan {
  KeySink sink = KeySink::kNone;
  // Key state (with the key watch), the pointer's position and the Scroll Lock light come from
  // the X server; otherwise the keys come from the keyboards' event devices, the pointer's
  // position is an estimate kept from the relative moves, and there is no light.
  bool from_x_server = false;
  bool portal_screenshot = false;  // the desktop's screenshot portal, else the X server's screen
  Notice notice = Notice::kNone;
  friend bool operator==(const InputPlan&, const InputPlan&) = default;
};

// A Wayland session never uses the X server for input: XWayland sees only its own windows, so
// XTest, its key state and its pointer would reach or tell of X11 programs alone.
InputPlan plan_input(const SessionFacts& facts);

// Whether this is a Wayland session, from the environment.
bool wayland_session();

// The message or note for a notice; empty for kNone.
std::string notice_text(Notice notice);

// The lines the About box adds on Linux: the way keys go, and the keyboard layout.
std::string about_input_text(KeySink sink, const std::string& layout_name);

// The user guide's section on allowing uinput, which the texts above point to.
inline constexpr const char* kGuideUinputSection = "Letting Padwire type on Linux";

}  // namespace padwire::lin
