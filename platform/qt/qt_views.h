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

#include "platform/common/views_router.h"
#include "platform/desktop.h"
#include "platform/qt/qt_keys.h"

namespace padwire {
struct Forms;
}  // namespace padwire

namespace padwire::qt {

class DebugWindow;
class ForceFeedbackWindow;
class JoyConfigWindow;

class QtViews final : public ViewsRouter {
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

  // A message box with the program's text, title and the severity's icon; returns when it is
  // closed.
  void message_box(const std::string& text, Severity severity, const std::string& title);

 private:
  void show_active(WindowHandle window) override;
  void show_inactive(WindowHandle window) override;
  void raise_inactive(WindowHandle window) override;
  bool debug_visible() const override;
  void draw_debug_text(const std::string& text) override;
  std::uint64_t now_ms() const override;

  QWidget& main_;
  std::unique_ptr<DebugWindow> debug_;
  std::unique_ptr<ForceFeedbackWindow> force_feedback_;
  std::unique_ptr<JoyConfigWindow> joy_config_;
  QElapsedTimer clock_;
};

}  // namespace padwire::qt
