#include "platform/qt/qt_views.h"

#include <QMessageBox>
#include <algorithm>

#include "dialog/forms.h"
#include "platform/qt/qt_joy_config_window.h"
#include "platform/qt/qt_layout.h"
#include "platform/qt/qt_small_windows.h"

namespace padwire::qt {

namespace {

QWidget* widget(WindowHandle window) {
  return reinterpret_cast<QWidget*>(window);
}

// Brings a window to the front and gives it the keyboard, as a dialog that opens does.
void raise_and_activate(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

QMessageBox::Icon icon_of(Severity severity) {
  switch (severity) {
    case Severity::kInformation:
      return QMessageBox::Information;
    case Severity::kWarning:
      return QMessageBox::Warning;
    case Severity::kPlain:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtViews::QtViews(QWidget& main_window) : main_(main_window) {
  clock_.start();
}

QtViews::~QtViews() = default;

void QtViews::attach(Forms& forms, TypingKeyAt typing_key_at) {
  debug_ = std::make_unique<DebugWindow>([this, &forms] {
    if (!ended()) forms.main.engine.debug_window_closed();
  });
  force_feedback_ = std::make_unique<ForceFeedbackWindow>(forms.force_feedback, ended_flag());
  joy_config_ =
      std::make_unique<JoyConfigWindow>(forms.joy_config, ended_flag(), std::move(typing_key_at));
  route(View::debug, std::make_unique<RoutedWindow<DebugWindow>>(*debug_));
  route(View::force_feedback,
        std::make_unique<RoutedWindow<ForceFeedbackWindow>>(*force_feedback_));
  route(View::joy_config, std::make_unique<RoutedWindow<JoyConfigWindow>>(*joy_config_));
}

WindowHandle QtViews::main_window() {
  return reinterpret_cast<WindowHandle>(&main_);
}

void QtViews::show_active(WindowHandle window) {
  raise_and_activate(*widget(window));
}

void QtViews::show_inactive(WindowHandle window) {
  widget(window)->show();  // without activation: the window neither takes nor accepts the focus
}

void QtViews::raise_inactive(WindowHandle window) {
  widget(window)->raise();
}

bool QtViews::debug_visible() const {
  return debug_ && debug_->visible();
}

void QtViews::draw_debug_text(const std::string& text) {
  if (debug_) debug_->show_text(text);
}

std::uint64_t QtViews::now_ms() const {
  return static_cast<std::uint64_t>(clock_.elapsed());
}

void QtViews::message_box(const std::string& text, Severity severity, const std::string& title) {
  if (ended()) return;
  QMessageBox box(icon_of(severity), to_qt(title), to_qt_lines(text), QMessageBox::Ok);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

}  // namespace padwire::qt
