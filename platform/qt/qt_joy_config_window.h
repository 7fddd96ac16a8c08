// The assignment dialog's window, rendered from FormJoyConfig's data: the pad picture with its
// leader lines, fourteen pad-button controls, the prompt label, the key-set list, Save and
// "Game Controllers...". Key preview: every key press for the dialog reaches the form before
// the focused control.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>

#include "dialog/form_joy_config.h"
#include "platform/qt/qt_keys.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace padwire::qt {

class PadButton;

class JoyConfigWindow final : public QObject {
 public:
  // Events reach `form` only while `ended` is false. Keys of the typing block are
  // captured by their place on the layout `typing_key_at` gives, where given.
  JoyConfigWindow(FormJoyConfig& form, const bool& ended, TypingKeyAt typing_key_at);
  ~JoyConfigWindow() override;

  QWidget* handle() const;
  QWidget* ensure();
  // Brings the controls (and the preview timer) up to date with the form's data.
  void sync();
  void destroy();

 protected:
  // Key preview, for the dialog's window and its controls.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Surface;
  void create_controls();
  void sync_names();
  bool preview_key(QKeyEvent& event);
  bool alive() const;
  void after_event();

  FormJoyConfig& form_;
  const bool& ended_;
  TypingKeyAt typing_key_at_;
  QPointer<Surface> window_;
  std::array<PadButton*, kPadButtonCount> buttons_{};
  QLabel* label_ = nullptr;
  QPushButton* save_ = nullptr;
  QComboBox* names_ = nullptr;
  QPushButton* game_controllers_ = nullptr;
  QTimer preview_;
  bool syncing_ = false;
  int swallowed_key_ = 0;  // the captured key while it is down: its repeats go with it
};

}  // namespace padwire::qt
