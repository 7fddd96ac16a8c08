// Xbox pads, and the many pads that speak the same protocol, through XInput: the system's
// library, loaded at run time from the system folder (xinput1_4.dll, or xinput9_1_0.dll where
// that is missing), and each of its four slots as a standard controller with separate
// triggers and two rumble motors. A system without either library lists no such pad; its
// pads are then read by number through DirectInput, as every other controller.
#pragma once

#include <windows.h>
// xinput.h needs the declarations of windows.h before it.
#include <xinput.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controller.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

// A pad's controls as XInput reports them, as the standard pad: the sticks moved to 0..65535
// with y growing downwards, the triggers' 0..255 stretched to 0..65535.
StandardPad standard_pad_from_xinput(const XINPUT_GAMEPAD& gamepad);

class XInput : public std::enable_shared_from_this<XInput> {
 public:
  // The first of `libraries` that loads from the system folder and has the two functions;
  // null when none does.
  static std::shared_ptr<const XInput> load(const std::vector<std::wstring>& libraries = {
                                                L"xinput1_4.dll", L"xinput9_1_0.dll"});

  // The slots (0 to 3) that have a pad now.
  std::vector<int> connected_slots() const;
  // The pad in `slot`, named `name`. `signal` is the same pad's DirectInput view, opened only
  // for the change signal of its device (XInput itself has none); it is taken and let go with
  // the pad, never read. Null when there is no such view: the pad is then read on the poll
  // timer.
  std::unique_ptr<Controller> open(int slot, std::string name,
                                   std::unique_ptr<Controller> signal) const;

  // The library's own calls; ERROR_SUCCESS, or ERROR_DEVICE_NOT_CONNECTED for an empty slot.
  DWORD get_state(DWORD slot, XINPUT_STATE& state) const { return get_state_(slot, &state); }
  DWORD set_state(DWORD slot, XINPUT_VIBRATION& motors) const { return set_state_(slot, &motors); }

  using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
  using SetState = DWORD(WINAPI*)(DWORD, XINPUT_VIBRATION*);
  XInput(Library library, GetState get, SetState set);

 private:
  Library library_;
  GetState get_state_;
  SetState set_state_;
};

// The library, loaded on first use (the first listing with the standard layout), and only
// tried once.
class LazyXInput {
 public:
  explicit LazyXInput(std::vector<std::wstring> libraries = {L"xinput1_4.dll", L"xinput9_1_0.dll"})
      : libraries_(std::move(libraries)) {}
  std::shared_ptr<const XInput> get();

 private:
  std::vector<std::wstring> libraries_;
  std::shared_ptr<const XInput> loaded_;
  bool tried_ = false;
};

}  // namespace padwire::win32
