// The game controller through DirectInput 8, loaded at run time: a system without dinput8.dll
// (or one that refuses to create the object) gets no controller list, which the core reports,
// rather than a program that does not start.
#pragma once

#include <memory>
#include <string>

#include "platform/controller.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

class Win32DirectInput final : public ControllerService {
 public:
  // `library` names the DLL, which is loaded from the system folder only: a DLL of that name
  // in the program's folder or the current one is never taken for it.
  explicit Win32DirectInput(std::wstring library = L"dinput8.dll");
  ~Win32DirectInput() override;
  Win32DirectInput(const Win32DirectInput&) = delete;
  Win32DirectInput& operator=(const Win32DirectInput&) = delete;

  std::unique_ptr<ControllerList> connect() override;

  // From now on every device created is asked to signal one event (auto-reset) whenever its
  // state changes or it is lost. change_event() is that event, or null before this call;
  // device_signals() tells whether the last device created will signal it (a device that
  // must be polled signals nothing).
  void signal_changes();
  void* change_event() const { return change_.event; }
  bool device_signals() const { return change_.device_signals; }

  struct ChangeSignal {
    void* event = nullptr;  // HANDLE
    bool device_signals = false;
  };

 private:
  std::wstring library_name_;
  // Shared with every object made from it, which keeps it loaded while any of them lives.
  std::shared_ptr<const Library> library_;
  ChangeSignal change_;
};

}  // namespace padwire::win32
