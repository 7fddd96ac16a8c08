#include "platform/linux/linux_paths.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>

namespace padwire::lin {

std::string native_path(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string folder_of(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string program_folder() {
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return ".";
  return folder_of(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

namespace {

std::string user_home() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "/tmp";
}

}  // namespace

std::string user_config_folder() {
  // Relative values are to be ignored, as the base directory rules say.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string base = config && config[0] == '/' ? config : user_home() + "/.config";
  return base + "/padwire";
}

FileRead read_regular_file(const std::string& path, std::string& text, std::size_t limit) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? FileRead::missing : FileRead::failed;
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
  return ok ? FileRead::text : FileRead::failed;
}

}  // namespace padwire::lin
