#include "platform/linux/linux_paths.h"

#include <unistd.h>

#include <algorithm>
#include <array>

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

std::string program_path() {
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string program_folder() {
  const std::string path = program_path();
  return path.empty() ? "." : folder_of(path);
}

}  // namespace padwire::lin
