// The game controller through DirectInput 8, loaded at run time: a system without dinput8.dll
// (or one that refuses to create the object) gets a null input root, which the core reports,
// rather than a program that does not start.
#pragma once

#include <memory>
#include <string>

#include "platform/controller.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

class Win32DirectInput final : public DirectInputService {
 public:
  // `library` names the DLL, which is loaded from the system folder only: a DLL of that name
  // in the program's folder or the current one is never taken for it.
  explicit Win32DirectInput(std::wstring library = L"dinput8.dll");
  ~Win32DirectInput() override;
  Win32DirectInput(const Win32DirectInput&) = delete;
  Win32DirectInput& operator=(const Win32DirectInput&) = delete;

  std::unique_ptr<InputRoot> create_input() override;

 private:
  std::wstring library_name_;
  // Shared with every object made from it, which keeps it loaded while any of them lives.
  std::shared_ptr<const Library> library_;
};

}  // namespace padwire::win32
