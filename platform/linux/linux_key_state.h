// Which keys are held, from the kernel's evdev keyboards (EVIOCGKEY): for when there is no X
// server to ask. Only the devices this user may open count.
#pragma once

#include <vector>

namespace padwire::lin {

class EvdevKeyState {
 public:
  EvdevKeyState() = default;
  ~EvdevKeyState();
  EvdevKeyState(const EvdevKeyState&) = delete;
  EvdevKeyState& operator=(const EvdevKeyState&) = delete;

  // Whether any readable keyboard holds the key with this Linux key code. The keyboards are
  // looked for at the first call and again when a read fails (one was unplugged).
  bool held(int linux_key);

 private:
  void open_keyboards();
  void close_keyboards();
  std::vector<int> fds_;
  bool opened_ = false;
};

}  // namespace padwire::lin
