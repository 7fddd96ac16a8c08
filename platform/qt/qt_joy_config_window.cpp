#include "platform/qt/qt_joy_config_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_layout.h"

namespace padwire::qt {

namespace jc = joy_config;

// The window itself: paints the picture and the leader lines, and turns the close box into
// the form's close.
class JoyConfigWindow::Surface final : public QWidget {
 public:
  explicit Surface(JoyConfigWindow& owner)
      : QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                             Qt::CustomizeWindowHint),
        owner_(owner) {}
  QImage picture;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(twips_rect(owner_.form_.Image1.position), picture);
    // The leader lines, one pixel wide, from the picture to the buttons.
    for (const LineControl& line : owner_.form_.leader_lines) {
      painter.setPen(QPen(colour_of(line.colour), 1));
      painter.drawLine(twips_to_pixels(line.x1), twips_to_pixels(line.y1), twips_to_pixels(line.x2),
                       twips_to_pixels(line.y2));
    }
  }
  void closeEvent(QCloseEvent* event) override {
    // The close box unloads without storing anything; the form closes the window.
    event->ignore();
    if (owner_.alive()) owner_.form_.close();
  }

 private:
  JoyConfigWindow& owner_;
};

JoyConfigWindow::JoyConfigWindow(FormJoyConfig& form, const bool& ended, TypingKeyAt typing_key_at)
    : form_(form), ended_(ended), typing_key_at_(std::move(typing_key_at)) {
  preview_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&preview_, &QTimer::timeout, this, [this] {
    if (!alive()) return;
    form_.Timer1_Timer();
    after_event();
  });
}

JoyConfigWindow::~JoyConfigWindow() {
  destroy();
}

QWidget* JoyConfigWindow::handle() const {
  return window_.data();
}

bool JoyConfigWindow::alive() const {
  return window_ && !ended_;
}

QWidget* JoyConfigWindow::ensure() {
  if (window_) return window_;
  window_ = new Surface(*this);
  window_->setWindowTitle(to_qt(jc::kCaption));
  window_->setFont(dialog_font());
  size_and_centre(*window_, jc::kClientWidth, jc::kClientHeight);
  create_controls();
  return window_;
}

void JoyConfigWindow::create_controls() {
  Surface& window = *window_;
  window.picture = pad_picture(window.devicePixelRatioF());
  const bool marlett_missing = !font_available(QStringLiteral("Marlett"));
  // Created in the order of the tab stops: the pad buttons, Save, the list, the panel button.
  for (int i = 0; i < kPadButtonCount; ++i) {
    const PadButtonControl& model = form_.btnJoy[static_cast<std::size_t>(i)];
    auto* button = new PadButton(&window);
    button->setText(to_qt(model.caption));
    button->setFont(dialog_font(model.font.face, model.font.points));
    button->setGeometry(twips_rect(model.position));
    button->setFocusPolicy(Qt::StrongFocus);
    button->set_draw_glyph(marlett_missing && model.font.face == "Marlett" &&
                           is_marlett_glyph(button->text()));
    QObject::connect(button, &QAbstractButton::clicked, this, [this, i] {
      if (!alive() || syncing_) return;
      form_.btnJoy_Click(i);
      after_event();
    });
    buttons_[static_cast<std::size_t>(i)] = button;
  }
  // The two-line label reaches into the etched rule below it; the rule is drawn above it.
  label_ = new QLabel(&window);
  label_->setGeometry(twips_rect(form_.Label1.position));
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setTextFormat(Qt::PlainText);
  save_ = new QPushButton(to_qt(form_.btnSave.caption), &window);
  save_->setGeometry(twips_rect(form_.btnSave.position));
  save_->setAutoDefault(true);  // Enter presses a push button that has the focus
  QObject::connect(save_, &QPushButton::clicked, this, [this] {
    if (!alive() || syncing_) return;
    form_.btnSave_Click();
    after_event();
  });
  auto* rule = new QFrame(&window);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  rule->setGeometry(twips_rect(form_.Frame1));
  rule->raise();
  names_ = new QComboBox(&window);
  names_->setEditable(true);
  names_->setInsertPolicy(QComboBox::NoInsert);
  names_->setMaxVisibleItems(8);
  names_->setGeometry(twips_rect(form_.cmbName.position));
  QObject::connect(names_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    if (!alive() || syncing_ || index < 0) return;
    form_.choose_entry(index);
    after_event();
  });
  QObject::connect(names_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!alive() || syncing_) return;
    form_.type_text(to_utf8(text));
    after_event();
  });
  const QString panel = to_qt(form_.btnConfig.caption);
  game_controllers_ = new QPushButton(panel, &window);
  game_controllers_->setGeometry(twips_rect(form_.btnConfig.position));
  game_controllers_->setAutoDefault(true);
  game_controllers_->setFont(fitting_font(8.25, panel, twips_rect(form_.btnConfig.position), true));
  QObject::connect(game_controllers_, &QPushButton::clicked, this, [this] {
    if (!alive() || syncing_) return;
    form_.btnConfig_Click();
    after_event();
  });
  window.installEventFilter(this);
  for (QWidget* child : window.findChildren<QWidget*>()) child->installEventFilter(this);
  buttons_[0]->setFocus();
  sync();
}

void JoyConfigWindow::after_event() {
  if (alive()) sync();
}

void JoyConfigWindow::sync() {
  if (!window_) return;
  syncing_ = true;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const PadButtonControl& model = form_.btnJoy[i];
    buttons_[i]->setEnabled(model.Enabled);
    buttons_[i]->set_back(colour_of(model.BackColor));
    buttons_[i]->setToolTip(to_qt(model.ToolTipText));
  }
  const QString label = to_qt(form_.Label1.Caption);
  if (label != label_->text()) {
    // The prompt is longer than the instruction: each text gets the size that fits the label,
    // above the etched rule that crosses the label's last few pixels.
    QRect box = twips_rect(form_.Label1.position);
    box.setBottom(std::min(box.bottom(), twips_rect(form_.Frame1).top() - 1));
    label_->setFont(fitting_font(8.25, label, box));
    label_->setText(label);
  }
  QPalette palette = label_->palette();
  palette.setColor(QPalette::WindowText, colour_of(form_.Label1.ForeColor));
  label_->setPalette(palette);
  save_->setEnabled(form_.btnSave.Enabled);
  game_controllers_->setEnabled(form_.btnConfig.Enabled);
  sync_names();

  const bool run = form_.Timer1.Enabled && form_.Timer1.Interval > 0;
  if (run && (!preview_.isActive() || preview_.interval() != form_.Timer1.Interval)) {
    preview_.start(form_.Timer1.Interval);
  } else if (!run) {
    preview_.stop();
  }
  syncing_ = false;
}

void JoyConfigWindow::sync_names() {
  const ComboControl& model = form_.cmbName;
  bool same = names_->count() == static_cast<int>(model.entries.size());
  for (std::size_t i = 0; same && i < model.entries.size(); ++i) {
    same = names_->itemText(static_cast<int>(i)) == to_qt(model.entries[i]);
  }
  if (!same) {
    names_->clear();
    for (const std::string& entry : model.entries) names_->addItem(to_qt(entry));
  }
  if (model.ListIndex >= 0 && names_->currentIndex() != model.ListIndex) {
    names_->setCurrentIndex(model.ListIndex);
  }
  const QString text = to_qt(model.Text);
  if (names_->currentText() != text) names_->setEditText(text);
  names_->setEnabled(model.Enabled);
}

void JoyConfigWindow::destroy() {
  preview_.stop();
  swallowed_key_ = 0;
  if (window_) {
    QWidget* window = window_;
    window_ = nullptr;
    buttons_ = {};
    window->hide();
    window->deleteLater();  // a handler of one of its controls may be running
  }
}

bool JoyConfigWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!alive()) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // While a key is awaited, Alt+S and the like are keys to bind, not the controls' shortcuts.
      if (form_.Capturing) event->accept();
      return false;
    case QEvent::KeyPress:
      // A key press goes first to the focused control, then up through its parents, each of
      // which this filter watches: the form sees it at the first only.
      if (widget != (QApplication::focusWidget() ? QApplication::focusWidget() : window_.data())) {
        return false;
      }
      return preview_key(static_cast<QKeyEvent&>(*event));
    case QEvent::KeyRelease: {
      const auto& key = static_cast<QKeyEvent&>(*event);
      if (!key.isAutoRepeat() && swallowed_key_ != 0 &&
          virtual_key_of(key, typing_key_at_) == swallowed_key_) {
        swallowed_key_ = 0;
      }
      return false;
    }
    default:
      return false;
  }
}

bool JoyConfigWindow::preview_key(QKeyEvent& event) {
  const int vk = virtual_key_of(event, typing_key_at_);
  if (vk == 0) return false;
  // The captured key held down repeats: its repeats are swallowed with it.
  if (event.isAutoRepeat() && vk == swallowed_key_) return true;
  const bool capturing = form_.Capturing;
  form_.Form_KeyDown(static_cast<std::int16_t>(vk), shift_state_of(event));
  if (!alive()) return true;
  sync();
  // A key that answers a capture is only bound: it must not press a control nor make a
  // character. Other keys go on to the control with the focus.
  swallowed_key_ = capturing ? vk : 0;
  return capturing;
}

}  // namespace padwire::qt
