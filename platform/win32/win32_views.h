// The program's native windows: the hidden main window's handle, the debug window and the
// dialogs, routed by the shared ViewsRouter. Views render the forms' data and forward the
// windows' events to the forms' handlers until the program ends; after that no event reaches
// the core.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/common/views_router.h"

namespace padwire {
struct Forms;
}  // namespace padwire

namespace padwire::win32 {

class DebugWindow;
class ForceFeedbackWindow;
class JoyConfigWindow;

class Win32Views final : public ViewsRouter {
 public:
  explicit Win32Views(HWND main_window);
  ~Win32Views() override;
  Win32Views(const Win32Views&) = delete;
  Win32Views& operator=(const Win32Views&) = delete;

  // The forms exist only once the platform does, so they are attached afterwards.
  void attach(Forms& forms);

  WindowHandle main_window() override { return reinterpret_cast<WindowHandle>(main_); }
  // When the paced loop should draw the debug text (drawing takes milliseconds under Wine).
  // Milliseconds from now; INFINITE when nothing waits.
  DWORD debug_text_wait() const;

  // The message loop's hook: key preview for the assignment dialog and dialog keyboard
  // handling (Tab, Enter, access keys). True when the message was handled here.
  bool pre_translate(MSG& message);

 private:
  void before_create() override;
  void show_active(WindowHandle window) override;
  void show_inactive(WindowHandle window) override;
  void raise_inactive(WindowHandle window) override;
  bool debug_visible() const override;
  void draw_debug_text(const std::string& text) override;
  std::uint64_t now_ms() const override;

  HWND main_;
  std::unique_ptr<DebugWindow> debug_;
  std::unique_ptr<ForceFeedbackWindow> force_feedback_;
  std::unique_ptr<JoyConfigWindow> joy_config_;
};

}  // namespace padwire::win32
