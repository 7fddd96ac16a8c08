// Programs, files and the single instance of the Linux program; windows, the beep and message
// boxes go to the desktop through hooks that the composition root fills.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/linux/linux_autostart.h"
#include "platform/shell.h"

namespace padwire::lin {

class InstanceLock;

struct DesktopHooks {
  std::function<Activation(const std::string&)> activate_window;
  std::function<void()> beep;
  std::function<void(const std::string& text, std::uint32_t style, const std::string& title)>
      message_box;
  std::function<void()> end_program;
  std::function<std::string()> about_note;
};

class LinuxShell final : public Shell {
 public:
  // Empty paths stand for the defaults: InstanceLock's and Autostart's.
  explicit LinuxShell(DesktopHooks hooks, std::string lock_path = {},
                      std::string autostart_path = {});
  ~LinuxShell() override;
  LinuxShell(const LinuxShell&) = delete;
  LinuxShell& operator=(const LinuxShell&) = delete;

  // The first call takes the instance lock (InstanceLock, at `lock_path` when one was given)
  // and keeps it for the shell's life; every call answers whether another process held it.
  bool previous_instance() override;
  void end_program() override;
  std::string app_path() override;
  // "*.exe" through wine, when wine is on PATH, started in `directory`; anything else (an
  // address, a document) through xdg-open. A file without a folder lies in `directory`.
  bool shell_execute(WindowHandle owner, const std::string& verb, const std::string& file,
                     const std::string& parameters, const std::string& directory,
                     int show) override;
  // The controller panel's command line starts jstest-gtk when it is on PATH, else says in a
  // message box that no controller tool is installed (and is true: the user was told). A
  // "*.exe" runs through wine. Anything else is split as Windows splits a command line and
  // started without waiting.
  bool run(const std::string& command_line, int window_style) override;
  // The first regular file in the pattern's folder whose name matches its name part (* and ?)
  // without regard to case; the name without folder, or empty when none does.
  std::string find_first_file(const std::string& pattern) override;
  Activation activate_window(const std::string& title) override;
  void beep() override;
  void message_box(const std::string& text, std::uint32_t style, const std::string& title) override;
  std::string about_note() override;
  // The XDG autostart entry of this program (Autostart).
  bool start_at_login() override;
  bool set_start_at_login(bool start) override;

 private:
  DesktopHooks hooks_;
  std::string lock_path_;
  std::unique_ptr<InstanceLock> lock_;
  Autostart autostart_;
};

// There is no registry on Linux: every query fails, so what the core would read from it is
// absent.
class EmptyRegistry final : public Registry {
 public:
  bool query_value(std::uint32_t root, const std::string& sub_key, const std::string& value_name,
                   std::string& data, std::uint32_t capacity, std::uint32_t& length) override;
};

}  // namespace padwire::lin
