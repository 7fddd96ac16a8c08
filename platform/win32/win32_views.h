// The program's native windows: the hidden main window's handle, the debug window and the
// dialogs. Views render the forms' data and forward the windows' events to the forms' handlers
// until the program ends; after that no event reaches the core.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/common/held_text.h"
#include "platform/views.h"

namespace padwire {
struct Forms;
}  // namespace padwire

namespace padwire::win32 {

class DebugWindow;
class ForceFeedbackWindow;
class JoyConfigWindow;

class Win32Views final : public Views {
 public:
  explicit Win32Views(HWND main_window);
  ~Win32Views() override;
  Win32Views(const Win32Views&) = delete;
  Win32Views& operator=(const Win32Views&) = delete;

  // The forms exist only once the platform does, so they are attached afterwards.
  void attach(Forms& forms);

  WindowHandle main_window() override { return reinterpret_cast<WindowHandle>(main_); }
  WindowHandle window_of(View view) override;
  void show(View view, const std::string& caption) override;
  void bring_to_front(View view) override;
  void close(View view, const std::string& caption) override;
  // Once the debug window is open, its text is drawn later, by flush_debug_text: drawing takes
  // milliseconds under Wine, and neither the tick's key events nor the next pad change may
  // wait for it.
  void show_debug_text(const std::string& text) override;
  void flush_debug_text();
  // When the paced loop should draw it: once the pad has been quiet for a moment, or at the
  // latest a second after the text changed. Milliseconds from now; INFINITE when nothing waits.
  DWORD debug_text_due_in() const;

  // The message loop's hook: key preview for the assignment dialog and dialog keyboard
  // handling (Tab, Enter, access keys). True when the message was handled here.
  bool pre_translate(MSG& message);

  // The program ended: every window goes without running its closing steps.
  void program_ended();
  bool ended() const { return ended_; }

 private:
  HWND handle_of(View view) const;
  HWND ensure(View view);

  HWND main_;
  bool ended_ = false;
  std::unique_ptr<DebugWindow> debug_;
  std::unique_ptr<ForceFeedbackWindow> force_feedback_;
  std::unique_ptr<JoyConfigWindow> joy_config_;
  HeldText debug_text_;
};

}  // namespace padwire::win32
