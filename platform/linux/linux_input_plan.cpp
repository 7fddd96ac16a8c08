#include "platform/linux/linux_input_plan.h"

#include <cstdlib>

namespace padwire::lin {

InputPlan plan_input(const SessionFacts& facts) {
  InputPlan plan;
  plan.from_x_server = facts.x11 && !facts.wayland;
  plan.portal_screenshot = facts.wayland;
  if (facts.uinput) {
    plan.sink = KeySink::kUinput;
  } else if (plan.from_x_server && facts.xtest) {
    plan.sink = KeySink::kXTest;
    plan.notice = Notice::kX11ProgramsOnly;
  } else if (facts.wayland) {
    plan.notice = Notice::kCannotType;
  }
  return plan;
}

bool wayland_session() {
  const char* display = std::getenv("WAYLAND_DISPLAY");
  return display != nullptr && *display != '\0';
}

std::string notice_text(Notice notice) {
  const std::string see = std::string("see \"") + kGuideUinputSection + "\" in the user guide.";
  switch (notice) {
    case Notice::kCannotType:
      return "Padwire cannot press keys or move the mouse in this Wayland session: it may not "
             "write to /dev/uinput, the kernel's virtual keyboard and mouse, and Wayland lets no "
             "program type for another in any other way.\n\nTo allow it, install Padwire's udev "
             "rule and log in again: " +
             see;
    case Notice::kX11ProgramsOnly:
      return "Padwire types through X11 (XTest): its keys and the mouse reach X11 programs only. "
             "To reach every program, let Padwire write to /dev/uinput: " +
             see;
    case Notice::kNone:
      break;
  }
  return {};
}

std::string about_input_text(KeySink sink, const std::string& layout_name) {
  std::string text = "\r\n\r\nOn Linux, keys and the mouse go ";
  switch (sink) {
    case KeySink::kUinput:
      text += "through uinput, the kernel's virtual keyboard and mouse, to every program.";
      break;
    case KeySink::kXTest:
      text += "through X11 (XTest), to X11 programs only.";
      break;
    case KeySink::kNone:
      text += "nowhere: Padwire may not write to /dev/uinput.";
      break;
  }
  if (sink != KeySink::kUinput)
    text += std::string(" See \"") + kGuideUinputSection + "\" in the user guide.";
  if (!layout_name.empty()) text += "\r\nKeyboard layout: " + layout_name + ".";
  return text;
}

}  // namespace padwire::lin
