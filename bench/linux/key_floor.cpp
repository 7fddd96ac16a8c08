// The latency floor for `make bench`: the least a program can do between a change and its key.
// It speaks padwire_scripted's script protocol, so the harness drives it the same way: each
// line it reads from the FIFO that PADWIRE_SCRIPT names is a change; a "button N 1" or "button N
// 0" sends the key PADWIRE_FLOOR_KEY names (a keysym name, "q" by default) down or up through
// XTest, and every line is answered on PADWIRE_SCRIPT_REPLY with "ok" and the time the line was
// read (CLOCK_MONOTONIC, ns), as the program answers with the time of the joystick's change.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

long long now_ns() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void answer(int fd, const std::string& line) {
  const std::string text = line + "\n";
  [[maybe_unused]] const ssize_t written = ::write(fd, text.data(), text.size());
}

}  // namespace

int main() {
  const char* script = std::getenv("PADWIRE_SCRIPT");
  const char* reply = std::getenv("PADWIRE_SCRIPT_REPLY");
  const char* key = std::getenv("PADWIRE_FLOOR_KEY");
  Display* display = XOpenDisplay(nullptr);
  if (!display || !script || !reply) return 1;
  const KeyCode keycode = XKeysymToKeycode(display, XStringToKeysym(key ? key : "q"));
  const int in = ::open(script, O_RDWR | O_CLOEXEC);
  const int out = ::open(reply, O_WRONLY | O_CLOEXEC);
  if (keycode == 0 || in < 0 || out < 0) return 1;
  answer(out, "tray-ready");
  std::string pending;
  char buffer[512];
  for (;;) {
    const ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got <= 0) return 0;
    const long long at = now_ns();
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      int number = 0, down = 0;
      if (std::sscanf(pending.c_str(), "button %d %d", &number, &down) == 2) {
        // As the program sends a tick's keys: one write, then the processor goes to the X
        // server while it hands the key on.
        XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
        XSync(display, False);
      }
      answer(out, "ok " + std::to_string(at));
      pending.erase(0, end + 1);
    }
  }
}
