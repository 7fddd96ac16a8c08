#include "platform/qt/qt_views.h"

#include <QMessageBox>
#include <algorithm>

#include "dialog/forms.h"
#include "platform/qt/qt_joy_config_window.h"
#include "platform/qt/qt_layout.h"
#include "platform/qt/qt_small_windows.h"

namespace padwire::qt {

namespace {

// Brings a window to the front and gives it the keyboard, as a dialog that opens does.
void raise_and_activate(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

QMessageBox::Icon icon_of(std::uint32_t style) {
  switch (style & 0xF0u) {
    case 0x10:
      return QMessageBox::Critical;
    case 0x20:
      return QMessageBox::Question;
    case 0x30:
      return QMessageBox::Warning;
    case 0x40:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

QtViews::QtViews(QWidget& main_window) : main_(main_window) {
  clock_.start();
}

QtViews::~QtViews() = default;

void QtViews::attach(Forms& forms, TypingKeyAt typing_key_at) {
  debug_ = std::make_unique<DebugWindow>([this, &forms] {
    if (!ended_) forms.main.engine.debug_window_closed();
  });
  force_feedback_ = std::make_unique<ForceFeedbackWindow>(forms.force_feedback, ended_);
  joy_config_ =
      std::make_unique<JoyConfigWindow>(forms.joy_config, ended_, std::move(typing_key_at));
}

WindowHandle QtViews::main_window() {
  return reinterpret_cast<WindowHandle>(&main_);
}

QWidget* QtViews::window(View view) const {
  switch (view) {
    case View::debug:
      return debug_ ? debug_->window() : nullptr;
    case View::force_feedback:
      return force_feedback_ ? force_feedback_->window() : nullptr;
    case View::joy_config:
      return joy_config_ ? joy_config_->window() : nullptr;
  }
  return nullptr;
}

QWidget* QtViews::ensure(View view) {
  if (ended_) return nullptr;
  switch (view) {
    case View::debug:
      return debug_ ? debug_->ensure() : nullptr;
    case View::force_feedback:
      return force_feedback_ ? force_feedback_->ensure() : nullptr;
    case View::joy_config:
      return joy_config_ ? joy_config_->ensure() : nullptr;
  }
  return nullptr;
}

WindowHandle QtViews::window_of(View view) {
  return reinterpret_cast<WindowHandle>(ensure(view));
}

void QtViews::show(View view, const std::string& /*caption*/) {
  QWidget* shown = ensure(view);
  if (!shown) return;
  if (view == View::debug) {
    shown->show();  // without activation: the window neither takes nor accepts the focus
    return;
  }
  if (view == View::force_feedback) force_feedback_->sync();
  if (view == View::joy_config) joy_config_->sync();
  raise_and_activate(*shown);
}

void QtViews::bring_to_front(View view) {
  QWidget* front = window(view);
  if (!front || ended_) return;
  if (view == View::debug) {
    front->raise();
    return;
  }
  raise_and_activate(*front);
}

void QtViews::close(View view, const std::string& /*caption*/) {
  switch (view) {
    case View::debug:
      if (debug_) debug_->destroy();
      break;
    case View::force_feedback:
      if (force_feedback_) force_feedback_->destroy();
      break;
    case View::joy_config:
      if (joy_config_) joy_config_->destroy();
      break;
  }
}

void QtViews::show_debug_text(const std::string& text) {
  // Opening it is not deferred: it comes up where and when the program shows it.
  if (!debug_ || !debug_->visible()) {
    debug_text_.drop();
    if (!ended_ && debug_) debug_->show_text(text);
    return;
  }
  debug_text_.hold(text, static_cast<std::uint64_t>(clock_.elapsed()));
}

std::optional<int> QtViews::debug_text_due_in() const {
  const auto due = debug_text_.due_in(static_cast<std::uint64_t>(clock_.elapsed()));
  if (!due) return std::nullopt;
  return static_cast<int>(*due);
}

void QtViews::flush_debug_text() {
  const std::optional<std::string> text = debug_text_.take();
  if (text && !ended_ && debug_) debug_->show_text(*text);
}

void QtViews::message_box(const std::string& text, std::uint32_t style, const std::string& title) {
  if (ended_) return;
  QMessageBox box(icon_of(style), to_qt(title), to_qt_lines(text), QMessageBox::Ok);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

void QtViews::program_ended() {
  ended_ = true;
  if (joy_config_) joy_config_->destroy();
  if (force_feedback_) force_feedback_->destroy();
  if (debug_) debug_->destroy();
}

}  // namespace padwire::qt
