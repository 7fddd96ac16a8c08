// Programs, files and the single instance of the Linux program; windows, the beep and message
// boxes go to the desktop through hooks that the composition root fills.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/desktop.h"
#include "platform/linux/linux_autostart.h"

namespace padwire::lin {

class InstanceLock;

struct DesktopHooks {
  std::function<Activation(const std::string&)> activate_window;
  std::function<void()> beep;
  std::function<void(const std::string& text, Severity severity, const std::string& title)>
      message_box;
  std::function<void()> end_program;
  std::function<std::string()> about_note;
};

class LinuxShell final : public Desktop {
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
  // The emulator's Windows program through wine, when wine is on PATH, started in `folder`.
  bool launch_emulator(const std::string& file, const std::string& folder) override;
  // No installation records the emulator here: false.
  bool launch_installed_emulator() override;
  // The address through xdg-open.
  bool open_address(const std::string& address) override;
  // jstest-gtk when it is on PATH, else a message that no controller tool is installed (and
  // true: the user was told).
  bool open_controller_panel() override;
  // The first regular file in the pattern's folder whose name matches its name part (* and ?)
  // without regard to case; the name without folder, or empty when none does.
  std::string find_first_file(const std::string& pattern) override;
  Activation activate_window(const std::string& title) override;
  void beep() override;
  void message_box(const std::string& text, Severity severity, const std::string& title) override;
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

}  // namespace padwire::lin
