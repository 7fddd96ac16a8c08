#include "platform/linux/linux_shell.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string_view>

#include "platform/linux/linux_command_line.h"
#include "platform/linux/linux_instance.h"
#include "platform/linux/linux_paths.h"
#include "shell/settings_schema.h"
#include "shell/text_rules.h"

namespace padwire::lin {

namespace {

constexpr const char* kControllerTool = "jstest-gtk";
constexpr const char* kNoControllerTool =
    "No program for testing and setting up game controllers is installed. Install jstest-gtk "
    "(the package of that name in most distributions) to have this button start it.";

}  // namespace

LinuxShell::LinuxShell(DesktopHooks hooks, std::string lock_path, std::string autostart_path)
    : hooks_(std::move(hooks)),
      lock_path_(std::move(lock_path)),
      autostart_(autostart_path.empty() ? Autostart::default_path() : std::move(autostart_path),
                 program_path()) {}

LinuxShell::~LinuxShell() = default;

bool LinuxShell::previous_instance() {
  if (!lock_) {
    lock_ = std::make_unique<InstanceLock>(lock_path_.empty() ? InstanceLock::default_path()
                                                              : lock_path_);
  }
  return lock_->held_elsewhere();
}

void LinuxShell::end_program() {
  if (hooks_.end_program) hooks_.end_program();
}

std::string LinuxShell::app_path() {
  return program_folder();
}

bool LinuxShell::launch_emulator(const std::string& file, const std::string& folder) {
  if (file.empty() || find_program("wine").empty()) return false;
  const std::string directory = native_path(folder);
  std::string path = native_path(file);
  if (path.front() != '/' && !directory.empty()) path = directory + "/" + path;
  return start_program({"wine", path}, directory);
}

bool LinuxShell::launch_installed_emulator() {
  return false;
}

bool LinuxShell::open_address(const std::string& address) {
  return !address.empty() && start_program({"xdg-open", address});
}

bool LinuxShell::open_controller_panel() {
  if (!find_program(kControllerTool).empty()) return start_program({kControllerTool});
  message_box(kNoControllerTool, Severity::kInformation, settings::kApp);
  return true;
}

std::string LinuxShell::find_first_file(const std::string& pattern) {
  const std::string path = native_path(pattern);
  const auto slash = path.rfind('/');
  const std::string folder = folder_of(path);
  const std::string_view name_pattern = slash == std::string::npos
                                            ? std::string_view(path)
                                            : std::string_view(path).substr(slash + 1);
  if (name_pattern.empty()) return {};
  DIR* listing = opendir(folder.c_str());
  if (!listing) return {};
  // The first in the order Windows lists a folder in; names starting with a dot are the
  // hidden files of Linux and are passed over, as Windows passes over hidden ones.
  std::string first;
  while (const dirent* entry = readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name.front() == '.' || !wildcard_match(name, name_pattern)) continue;
    if (!first.empty() && !less_ignoring_case(name, first)) continue;
    struct stat info {};
    if (fstatat(dirfd(listing), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode)) {
      first = name;
    }
  }
  closedir(listing);
  return first;
}

Activation LinuxShell::activate_window(const std::string& title) {
  return hooks_.activate_window ? hooks_.activate_window(title) : Activation::kNotFound;
}

void LinuxShell::beep() {
  if (hooks_.beep) hooks_.beep();
}

void LinuxShell::message_box(const std::string& text, Severity severity, const std::string& title) {
  if (hooks_.message_box) hooks_.message_box(text, severity, title);
}

std::string LinuxShell::about_note() {
  return hooks_.about_note ? hooks_.about_note() : std::string();
}

bool LinuxShell::start_at_login() {
  return autostart_.enabled();
}

bool LinuxShell::set_start_at_login(bool start) {
  return autostart_.set(start);
}

}  // namespace padwire::lin
