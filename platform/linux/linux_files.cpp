#include "platform/linux/linux_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "platform/linux/linux_paths.h"

namespace padwire::lin {

namespace {

bool write_all(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string home_folder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "/tmp";
}

std::string config_home() {
  // Relative values are to be ignored, as the base directory rules say.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  return config && config[0] == '/' ? config : home_folder() + "/.config";
}

std::string pictures_folder() {
  const std::string home = home_folder();
  std::string text;
  read_file(config_home() + "/user-dirs.dirs", text);
  // Lines such as XDG_PICTURES_DIR="$HOME/Bilder", or an absolute path in the quotes.
  constexpr std::string_view kKey = "XDG_PICTURES_DIR=\"";
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = std::string_view(text).substr(start, end - start);
    start = end + 1;
    if (line.size() <= kKey.size() || line.substr(0, kKey.size()) != kKey || line.back() != '"') {
      continue;
    }
    std::string folder(line.substr(kKey.size(), line.size() - kKey.size() - 1));
    if (folder.rfind("$HOME", 0) == 0) folder = home + folder.substr(5);
    // "$HOME/" is how the file says the folder is switched off.
    if (!folder.empty() && folder.front() == '/' && folder != home && folder != home + "/")
      return folder;
  }
  return home + "/Pictures";
}

bool make_folders(const std::string& folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const std::string parent = folder_of(folder);
  if (parent != folder && !make_folders(parent)) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string user_config_folder() {
  return config_home() + "/padwire";
}

ReadResult read_file(const std::string& path, std::string& text, std::size_t limit) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            static_cast<std::size_t>(info.st_size) <= limit;
  char buffer[65536];
  while (ok) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || text.size() + static_cast<std::size_t>(n) > limit) {
      ok = n == 0;
      break;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return ok ? ReadResult::kText : ReadResult::kFailed;
}

bool write_file_atomically(const std::string& path, const std::string& text) {
  const std::string folder = folder_of(path);
  if (!make_folders(folder)) return false;
  std::string temporary = path + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = write_all(fd, text) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
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
