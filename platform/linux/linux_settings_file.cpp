#include "platform/linux/linux_settings_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/linux/linux_files.h"
#include "platform/linux/linux_paths.h"

namespace padwire::lin {

namespace {

bool valid_names(const std::string& app, const std::string& section, const std::string& key) {
  return valid_section_name(app) && valid_section_name(section) && !key.empty();
}

std::string time_suffix() {
  const time_t now = time(nullptr);
  struct tm local {};
  char text[32] = "unknown-time";
  if (localtime_r(&now, &local)) strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Renames the file to <path>.broken-<time>, with -2, -3... when that name is taken; the new
// name, or empty when the rename failed.
std::string move_aside(const std::string& path) {
  const std::string base = path + ".broken-" + time_suffix();
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::string name = attempt == 1 ? base : base + "-" + std::to_string(attempt);
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
      return name;
    }
    if (errno == EEXIST) continue;
    // A file system without the no-replace rename: look first, then rename.
    if (errno != EINVAL && errno != ENOSYS) return {};
    struct stat info {};
    if (lstat(name.c_str(), &info) == 0) continue;
    return rename(path.c_str(), name.c_str()) == 0 ? name : std::string();
  }
  return {};
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {
  load();
}

std::string SettingsFile::default_path() {
  return user_config_folder() + "/settings.ini";
}

void SettingsFile::load() {
  std::string text;
  const ReadResult result = read_file(path_, text);
  if (result == ReadResult::kMissing) return;
  if (result == ReadResult::kText) {
    if (auto tree = parse_settings(text)) {
      tree_ = std::move(*tree);
      return;
    }
  }
  const std::string kept = move_aside(path_);
  if (kept.empty()) {
    writable_ = false;
    problem_ = "The settings file " + path_ +
               " could not be read, nor moved aside. Padwire starts with its default settings "
               "and saves no changes until the file is repaired or removed.";
    return;
  }
  problem_ = "The settings file " + path_ +
             (result == ReadResult::kText ? " is damaged or incomplete" : " could not be read") +
             ". Padwire kept it as " + kept + " and starts with its default settings.";
}

std::string SettingsFile::get(const std::string& app, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  if (!valid_names(app, section, key)) return fallback;
  const std::string* value = tree_.find(app, section, key);
  return value ? *value : fallback;
}

bool SettingsFile::save(const std::string& app, const std::string& section, const std::string& key,
                        const std::string& value) {
  if (!writable_ || !valid_names(app, section, key)) return false;
  const std::optional<std::string> earlier = tree_.put(app, section, key, value);
  // The file already says so (the layout in use is saved at every start, for one).
  if (earlier == value) return true;
  if (write(format_settings(tree_))) return true;
  if (earlier) {
    tree_.put(app, section, key, *earlier);
  } else {
    tree_.erase(app, section, key);
  }
  return false;
}

bool SettingsFile::write(const std::string& text) {
  return write_file_atomically(path_, text);
}

}  // namespace padwire::lin
