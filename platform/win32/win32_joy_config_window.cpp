#include "platform/win32/win32_joy_config_window.h"

namespace padwire::win32 {

HWND JoyConfigWindow::ensure() {
  return window_;
}
void JoyConfigWindow::sync() {}
void JoyConfigWindow::destroy() {}
bool JoyConfigWindow::preview_key(const MSG&) {
  return false;
}

}  // namespace padwire::win32
