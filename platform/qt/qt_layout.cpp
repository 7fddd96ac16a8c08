#include "platform/qt/qt_layout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace padwire::qt {

int twips_to_pixels(int twips) {
  // Rounded to the nearest pixel, halves away from zero, as MulDiv does.
  return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

QRect twips_rect(const TwipsRect& rect) {
  const int left = twips_to_pixels(rect.left);
  const int top = twips_to_pixels(rect.top);
  return {left, top, twips_to_pixels(rect.width), twips_to_pixels(rect.height)};
}

QString to_qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString to_qt_lines(std::string_view text) {
  return to_qt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string to_utf8(const QString& text) {
  return text.toStdString();
}

void size_and_centre(QWidget& window, int width_twips, int height_twips) {
  const QSize size(twips_to_pixels(width_twips), twips_to_pixels(height_twips));
  window.setFixedSize(size);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  window.move(area.left() + (area.width() - size.width()) / 2,
              area.top() + (area.height() - size.height()) / 2);
}

QFont dialog_font(std::string_view face, double points, bool bold) {
  QFont font = QApplication::font();
  if (!face.empty()) font.setFamily(to_qt(face));
  if (points <= 0) points = 8.25;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  font.setBold(bold);
  return font;
}

QFont fitting_font(double points, const QString& text, const QRect& box, bool one_line) {
  // A button's text keeps clear of its edges.
  const int width = box.width() - (one_line ? 8 : 0);
  for (double size = points;; size -= 0.25) {
    QFont font = dialog_font({}, size);
    if (size <= 6.75) return font;
    const QFontMetrics metrics(font);
    const QRect needed =
        one_line ? metrics.boundingRect(text)
                 : metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text);
    if (needed.width() <= width && needed.height() <= box.height()) return font;
  }
}

QColor colour_of(const Colour& colour) {
  const QPalette palette = QApplication::palette();
  switch (colour.kind) {
    case Colour::Kind::button_face:
      return palette.color(QPalette::Button);
    case Colour::Kind::button_text:
      return palette.color(QPalette::ButtonText);
    case Colour::Kind::window_text:
      return palette.color(QPalette::WindowText);
    case Colour::Kind::rgb:
      break;
  }
  return QColor(colour.r, colour.g, colour.b);
}

}  // namespace padwire::qt
