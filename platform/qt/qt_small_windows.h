// The force-feedback dialog's window (four option buttons, the warning label and OK, at their
// twips positions) and the debug window (the controller's raw state as text, shown without
// taking the keyboard focus, so the program the user works in keeps it).
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

class QPlainTextEdit;
class QRadioButton;

namespace padwire {
class FormForceFeedback;
}

namespace padwire::qt {

inline constexpr const char* kDebugCaption = "Padwire Debug Window";

// A fixed-size tool window whose close box runs `on_close` instead of closing it. Enter presses
// its default button, as in a dialog, wherever the focus is.
class ToolWindow final : public QWidget {
 public:
  explicit ToolWindow(std::function<void()> on_close, Qt::WindowFlags extra = {});

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void()> on_close_;
};

class ForceFeedbackWindow {
 public:
  // Events reach `form` only while `ended` is false.
  ForceFeedbackWindow(FormForceFeedback& form, const bool& ended) : form_(form), ended_(ended) {}
  ~ForceFeedbackWindow() { destroy(); }
  ForceFeedbackWindow(const ForceFeedbackWindow&) = delete;
  ForceFeedbackWindow& operator=(const ForceFeedbackWindow&) = delete;

  QWidget* handle() const { return window_; }
  QWidget* ensure();
  // Brings the option buttons up to date with the form's data.
  void sync();
  void destroy();

 private:
  FormForceFeedback& form_;
  const bool& ended_;
  QPointer<ToolWindow> window_;
  std::array<QRadioButton*, 4> options_{};
};

class DebugWindow {
 public:
  // `on_closed` runs when the user closes the window (not when the program destroys it).
  explicit DebugWindow(std::function<void()> on_closed) : on_closed_(std::move(on_closed)) {}
  ~DebugWindow() { destroy(); }
  DebugWindow(const DebugWindow&) = delete;
  DebugWindow& operator=(const DebugWindow&) = delete;

  QWidget* handle() const { return window_; }
  bool visible() const;
  // Creates the window hidden when it does not exist.
  QWidget* ensure();
  // Shows the window (without activating it) with this text; lines end with CR LF.
  void show_text(const std::string& text);
  // Destroys the window without telling anyone.
  void destroy();

 private:
  std::function<void()> on_closed_;
  QPointer<ToolWindow> window_;
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace padwire::qt
