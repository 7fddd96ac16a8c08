// The program's Qt windows: the debug window and the dialogs, and the message boxes. Views
// render the forms' data and forward the windows' events to the forms' handlers until the
// program ends; after that no event reaches the core.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/common/held_text.h"
#include "platform/qt/qt_keys.h"
#include "platform/views.h"

namespace padwire {
struct Forms;
}  // namespace padwire

namespace padwire::qt {

class DebugWindow;
class ForceFeedbackWindow;
class JoyConfigWindow;

class QtViews final : public Views {
 public:
  // `main_window` stands for the main form (never shown while a tray icon is).
  explicit QtViews(QWidget& main_window);
  ~QtViews() override;
  QtViews(const QtViews&) = delete;
  QtViews& operator=(const QtViews&) = delete;

  // The forms exist only once the platform does, so they are attached afterwards. The dialog
  // captures the typing block's keys by their place, as `typing_key_at` tells, where given.
  void attach(Forms& forms, TypingKeyAt typing_key_at = {});

  WindowHandle main_window() override;
  WindowHandle window_of(View view) override;
  void show(View view, const std::string& caption) override;
  void bring_to_front(View view) override;
  void close(View view, const std::string& caption) override;
  // Once the debug window is open, its later text is drawn by flush_debug_text, when the pad
  // rests: neither the tick's key events nor the next pad change wait for the drawing.
  void show_debug_text(const std::string& text) override;
  void flush_debug_text();
  // When the loop should draw it: once the pad has been quiet for a moment, or at the latest a
  // second after the text changed. Milliseconds from now; nothing when no text waits.
  std::optional<int> debug_text_due_in() const;

  // A message box with the program's text, title and icon (the style's MB_ICON bits); returns
  // when it is closed.
  void message_box(const std::string& text, std::uint32_t style, const std::string& title);

  // The program ended: every window goes without running its closing steps.
  void program_ended();
  bool ended() const { return ended_; }

 private:
  QWidget* ensure(View view);
  QWidget* window(View view) const;

  QWidget& main_;
  bool ended_ = false;
  std::unique_ptr<DebugWindow> debug_;
  std::unique_ptr<ForceFeedbackWindow> force_feedback_;
  std::unique_ptr<JoyConfigWindow> joy_config_;
  HeldText debug_text_;
  QElapsedTimer clock_;
};

}  // namespace padwire::qt
