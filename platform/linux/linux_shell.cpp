#include "platform/linux/linux_shell.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string_view>

#include "platform/common/command_line.h"
#include "platform/linux/linux_command_line.h"
#include "platform/linux/linux_instance.h"
#include "platform/linux/linux_paths.h"
#include "shell/settings_schema.h"
#include "shell/text_rules.h"

namespace padwire::lin {

namespace {

// What the controller dialog's "Game Controllers..." button runs on Windows.
constexpr std::string_view kControllerPanel = "rundll32 shell32,Control_RunDLL joy.cpl";
constexpr const char* kControllerTool = "jstest-gtk";
constexpr const char* kNoControllerTool =
    "No program for testing and setting up game controllers is installed. Install jstest-gtk "
    "(the package of that name in most distributions) to have this button start it.";

bool ends_with_ignoring_case(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         equal_ignoring_case(text.substr(text.size() - end.size()), end);
}

bool is_windows_program(std::string_view path) {
  return ends_with_ignoring_case(path, ".exe");
}

// An address for the browser or the mail program rather than a file.
bool is_address(std::string_view text) {
  const auto colon = text.find(':');
  return text.find("://") != std::string_view::npos ||
         (colon != std::string_view::npos && equal_ignoring_case(text.substr(0, colon), "mailto"));
}

// Windows programs run through wine, when it is installed.
bool start_through_wine(std::vector<std::string> arguments, const std::string& directory) {
  if (find_program("wine").empty()) return false;
  arguments.insert(arguments.begin(), "wine");
  return start_program(arguments, directory);
}

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

bool LinuxShell::shell_execute(WindowHandle, const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory, int) {
  if (file.empty() || !(verb.empty() || equal_ignoring_case(verb, "open"))) return false;
  if (is_address(file)) return start_program({"xdg-open", file});
  const std::string folder = native_path(directory);
  std::string path = native_path(file);
  if (path.front() != '/' && !folder.empty()) path = folder + "/" + path;
  if (is_windows_program(path)) {
    std::vector<std::string> arguments = split_command_line(parameters);
    arguments.insert(arguments.begin(), path);
    return start_through_wine(std::move(arguments), folder);
  }
  return start_program({"xdg-open", path}, folder);
}

bool LinuxShell::run(const std::string& command_line, int) {
  std::vector<std::string> arguments = split_command_line(command_line);
  if (arguments.empty()) return false;
  if (equal_ignoring_case(command_line, kControllerPanel)) {
    if (!find_program(kControllerTool).empty()) return start_program({kControllerTool});
    message_box(kNoControllerTool, kMbOk | kMbInformation, settings::kApp);
    return true;
  }
  if (is_windows_program(arguments.front())) {
    arguments.front() = native_path(arguments.front());
    return start_through_wine(std::move(arguments), {});
  }
  return start_program(arguments);
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

void LinuxShell::message_box(const std::string& text, std::uint32_t style,
                             const std::string& title) {
  if (hooks_.message_box) hooks_.message_box(text, style, title);
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

bool EmptyRegistry::query_value(std::uint32_t, const std::string&, const std::string&, std::string&,
                                std::uint32_t, std::uint32_t&) {
  return false;
}

}  // namespace padwire::lin
