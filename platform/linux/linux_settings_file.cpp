#include "platform/linux/linux_settings_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/linux_paths.h"

namespace padwire::lin {

namespace {

// Far beyond any file the program writes: a larger one is no settings file.
constexpr std::size_t kLargestFile = 64 << 20;

bool valid_names(const std::string& app, const std::string& section, const std::string& key) {
  return valid_section_name(app) && valid_section_name(section) && !key.empty();
}

// Like mkdir -p, each folder it creates private to the user.
bool make_folders(const std::string& folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const std::string parent = folder_of(folder);
  if (parent != folder && !make_folders(parent)) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool write_all(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
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
  const FileRead result = read_regular_file(path_, text, kLargestFile);
  if (result == FileRead::missing) return;
  if (result == FileRead::text) {
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
             (result == FileRead::text ? " is damaged or incomplete" : " could not be read") +
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

// A temporary file in the same folder, written and flushed to the disk, then renamed over the
// file, and the folder flushed so that the rename itself is on the disk.
bool SettingsFile::write(const std::string& text) {
  const std::string folder = folder_of(path_);
  if (!make_folders(folder)) return false;
  std::string temporary = path_ + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = write_all(fd, text) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temporary.c_str(), path_.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  const int folder_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd >= 0) {
    fsync(folder_fd);
    close(folder_fd);
  }
  return true;
}

}  // namespace padwire::lin
