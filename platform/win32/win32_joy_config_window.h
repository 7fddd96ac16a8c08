// The assignment dialog's native window, rendered from FormJoyConfig's data.
#pragma once

#include <windows.h>

#include "dialog/form_joy_config.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kJoyConfigWindowClass = L"PadwireJoyConfig";

class JoyConfigWindow {
 public:
  JoyConfigWindow(FormJoyConfig& form, const bool& ended) : form_(form), ended_(ended) {}
  ~JoyConfigWindow() { destroy(); }
  JoyConfigWindow(const JoyConfigWindow&) = delete;
  JoyConfigWindow& operator=(const JoyConfigWindow&) = delete;

  HWND handle() const { return window_; }
  HWND ensure();
  void sync();
  void destroy();
  // Key preview: every key-down for the dialog reaches the form before its control.
  bool preview_key(const MSG& message);

 private:
  FormJoyConfig& form_;
  const bool& ended_;
  HWND window_ = nullptr;
};

}  // namespace padwire::win32
