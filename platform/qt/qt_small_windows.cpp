#include "platform/qt/qt_small_windows.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <string_view>

#include "dialog/form_force_feedback.h"
#include "platform/common/held_text.h"
#include "platform/qt/qt_layout.h"

namespace padwire::qt {

namespace {

// The debug window's client area and text box in twips: the box sits a little outside the
// client area on every side, so that only its text shows, edge to edge.
constexpr int kDebugClientWidth = 3600;
constexpr int kDebugClientHeight = 3390;
constexpr TwipsRect kDebugText{-30, -15, 3645, 3435};

std::u16string_view units(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Destroys a window the program closes; a handler of one of its controls may be running.
void dispose(QWidget* window) {
  if (!window) return;
  window->hide();
  window->deleteLater();
}

}  // namespace

ToolWindow::ToolWindow(std::function<void()> on_close, Qt::WindowFlags extra)
    : QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::CustomizeWindowHint | extra),
      on_close_(std::move(on_close)) {
  setFont(dialog_font());
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (on_close_) on_close_();
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    for (QPushButton* button : findChildren<QPushButton*>()) {
      if (button->isDefault() && button->isEnabled()) {
        button->click();
        return;
      }
    }
  }
  QWidget::keyPressEvent(event);
}

QWidget* ForceFeedbackWindow::ensure() {
  if (window_) return window_;
  // The close box unloads the dialog, as OK does.
  window_ = new ToolWindow([this] {
    if (!ended_) form_.btnOK_Click();
  });
  ToolWindow& window = *window_;
  window.setWindowTitle(to_qt(FormForceFeedback::kCaption));
  size_and_centre(window, FormForceFeedback::kClientWidth, FormForceFeedback::kClientHeight);
  auto* group = new QButtonGroup(&window);
  for (std::size_t i = 0; i < form_.optForceFeedback.size(); ++i) {
    const OptionButton& option = form_.optForceFeedback[i];
    options_[i] = new QRadioButton(to_qt(option.caption), &window);
    options_[i]->setGeometry(twips_rect(option.position));
    group->addButton(options_[i], static_cast<int>(i));
  }
  QObject::connect(group, &QButtonGroup::idClicked, &window, [this](int index) {
    if (ended_) return;
    form_.optForceFeedback_Click(index);
    sync();
  });
  const QString text = to_qt(form_.Label1);
  auto* label = new QLabel(text, &window);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(twips_rect(form_.Label1Position));
  label->setFont(fitting_font(8.25, text, twips_rect(form_.Label1Position)));
  auto* ok = new QPushButton(to_qt(form_.btnOK), &window);
  ok->setGeometry(twips_rect(form_.btnOKPosition));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &window, [this] {
    if (!ended_) form_.btnOK_Click();  // closes the window through the views
  });
  sync();
  return window_;
}

void ForceFeedbackWindow::sync() {
  if (!window_) return;
  QRadioButton* focus = options_[0];
  for (std::size_t i = 0; i < options_.size(); ++i) {
    options_[i]->setChecked(form_.optForceFeedback[i].value);
    if (form_.optForceFeedback[i].value) focus = options_[i];
  }
  // The focus starts on the chosen option, as in a dialog.
  if (!window_->isVisible()) focus->setFocus();
}

void ForceFeedbackWindow::destroy() {
  dispose(window_);
  window_ = nullptr;
  options_ = {};
}

QWidget* DebugWindow::ensure() {
  if (window_) return window_;
  window_ = new ToolWindow(
      [this] {
        destroy();
        if (on_closed_) on_closed_();
      },
      Qt::WindowDoesNotAcceptFocus);
  ToolWindow& window = *window_;
  window.setAttribute(Qt::WA_ShowWithoutActivating);
  window.setWindowTitle(QString::fromLatin1(kDebugCaption));
  size_and_centre(window, kDebugClientWidth, kDebugClientHeight);
  text_ = new QPlainTextEdit(&window);
  text_->setReadOnly(true);
  text_->setUndoRedoEnabled(false);  // its text is replaced piece by piece, for ever
  text_->setFocusPolicy(Qt::NoFocus);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // A scroll bar only when the dump has more lines than the box shows.
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text_->setGeometry(twips_rect(kDebugText));
  return window_;
}

bool DebugWindow::visible() const {
  return window_ && window_->isVisible();
}

void DebugWindow::show_text(const std::string& text) {
  if (!ensure()) return;
  // Replacing the whole text lays out and draws every line again, and the X server copies the
  // whole window; a pad's change alters a line or two, and only those are drawn.
  const QString wanted = to_qt_lines(text);
  if (const auto change = changed_span(units(text_->toPlainText()), units(wanted))) {
    QTextCursor cursor(text_->document());
    cursor.setPosition(static_cast<int>(change->start));
    cursor.setPosition(static_cast<int>(change->shown_end), QTextCursor::KeepAnchor);
    cursor.insertText(wanted.mid(static_cast<qsizetype>(change->start),
                                 static_cast<qsizetype>(change->wanted_end - change->start)));
  }
  if (!window_->isVisible()) window_->show();
}

void DebugWindow::destroy() {
  dispose(window_);
  window_ = nullptr;
  text_ = nullptr;
}

}  // namespace padwire::qt
