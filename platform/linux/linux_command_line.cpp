#include "platform/linux/linux_command_line.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace padwire::lin {

std::string find_program(const std::string& name) {
  auto executable = [](const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
  };
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return executable(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  const std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  for (std::size_t start = 0; start <= folders.size();) {
    const auto end = std::min(folders.find(':', start), folders.size());
    const std::string folder(folders.substr(start, end - start));
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (executable(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

// The program is started by a short-lived child, which is waited for at once: the program
// itself is then adopted by init (or the session's subreaper), which reaps it when it ends. The
// child only makes system calls (no allocation), as a child of a threaded program must.
bool start_program(const std::vector<std::string>& arguments, const std::string& directory) {
  if (arguments.empty()) return false;
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // The started program gets no blocked or ignored signals from this one.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
  const pid_t child = fork();
  if (child == 0) {
    pid_t program = 0;
    const bool started =
        (directory.empty() || chdir(directory.c_str()) == 0) &&
        posix_spawnp(&program, argv[0], nullptr, &attributes, argv.data(), environ) == 0;
    _exit(started ? 0 : 127);
  }
  posix_spawnattr_destroy(&attributes);
  if (child < 0) return false;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace padwire::lin
