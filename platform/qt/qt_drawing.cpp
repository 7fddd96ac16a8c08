#include "platform/qt/qt_drawing.h"

#include <qdrawutil.h>

#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QPolygon>
#include <QStyleOptionFocusRect>
#include <QtEndian>
#include <cstring>

namespace padwire::qt {

namespace {

std::uint32_t read32(const QByteArray& data, qsizetype at) {
  std::uint32_t value = 0;
  std::memcpy(&value, data.constData() + at, sizeof value);
  return qFromLittleEndian(value);
}

std::uint16_t read16(const QByteArray& data, qsizetype at) {
  std::uint16_t value = 0;
  std::memcpy(&value, data.constData() + at, sizeof value);
  return qFromLittleEndian(value);
}

void draw_glyph(QPainter& painter, const QRect& box, QChar glyph, const QColor& colour, int size) {
  const int cx = box.center().x();
  const int cy = box.center().y();
  const int h = size / 2;
  painter.setPen(colour);
  painter.setBrush(colour);
  if (glyph == QLatin1Char('n')) {
    painter.drawEllipse(QRect(cx - h, cy - h, 2 * h + 1, 2 * h + 1));
    return;
  }
  // Marlett's triangles are twice as wide as they are tall, pointing their way.
  const int t = h / 2 + 1;
  QPolygon p;
  switch (glyph.unicode()) {
    case '3':
      p << QPoint(cx - t, cy) << QPoint(cx + t, cy - h) << QPoint(cx + t, cy + h);
      break;
    case '4':
      p << QPoint(cx + t, cy) << QPoint(cx - t, cy - h) << QPoint(cx - t, cy + h);
      break;
    case '5':
      p << QPoint(cx, cy - t) << QPoint(cx - h, cy + t) << QPoint(cx + h, cy + t);
      break;
    default:
      p << QPoint(cx, cy + t) << QPoint(cx - h, cy - t) << QPoint(cx + h, cy - t);
      break;
  }
  painter.drawPolygon(p);
}

}  // namespace

QImage picture_from_bmp(const QByteArray& data) {
  constexpr qsizetype kHeaders = 14 + 40;
  if (data.size() < kHeaders || data[0] != 'B' || data[1] != 'M') return {};
  const std::uint32_t offset = read32(data, 10);
  const auto width = static_cast<std::int32_t>(read32(data, 18));
  const auto height = static_cast<std::int32_t>(read32(data, 22));
  const bool top_down = height < 0;
  const std::int64_t rows = top_down ? -static_cast<std::int64_t>(height) : height;
  if (read16(data, 28) != 32 || read32(data, 30) != 0 || width <= 0 || rows <= 0 || rows > 16384 ||
      width > 16384) {
    return {};
  }
  const std::int64_t stride = static_cast<std::int64_t>(width) * 4;
  if (offset > static_cast<std::uint64_t>(data.size()) ||
      static_cast<std::uint64_t>(data.size()) - offset <
          static_cast<std::uint64_t>(stride * rows)) {
    return {};
  }
  // BGRA bytes with premultiplied alpha: ARGB32_Premultiplied on a little-endian machine.
  QImage image(width, static_cast<int>(rows), QImage::Format_ARGB32_Premultiplied);
  for (std::int64_t y = 0; y < rows; ++y) {
    const std::int64_t source = top_down ? y : rows - 1 - y;
    const char* row = data.constData() + offset + source * stride;
    for (int x = 0; x < width; ++x) {
      const auto* p = reinterpret_cast<const unsigned char*>(row + x * 4);
      reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)))[x] =
          qRgba(p[2], p[1], p[0], p[3]);
    }
  }
  return image;
}

QImage pad_picture(double device_pixel_ratio) {
  QFile file(device_pixel_ratio > 1.25 ? QStringLiteral(":/padwire/pad@2x.bmp")
                                       : QStringLiteral(":/padwire/pad.bmp"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return picture_from_bmp(file.readAll());
}

bool font_available(const QString& face) {
  return QFontDatabase::families().contains(face, Qt::CaseInsensitive);
}

bool is_marlett_glyph(const QString& caption) {
  return caption.size() == 1 &&
         (caption[0] == QLatin1Char('n') ||
          (caption[0] >= QLatin1Char('3') && caption[0] <= QLatin1Char('6')));
}

void PadButton::set_back(const QColor& colour) {
  if (colour == back_) return;
  back_ = colour;
  update();
}

void PadButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool pushed = isDown();
  const QBrush fill(back_.isValid() ? back_ : palette().color(QPalette::Button));
  qDrawWinButton(&painter, rect(), palette(), pushed, &fill);
  QRect face = rect().adjusted(2, 2, -2, -2);
  if (pushed) face.translate(1, 1);
  const QColor text =
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
  if (draw_glyph_) {
    draw_glyph(painter, face, this->text().at(0), text, face.height() * 5 / 8);
  } else {
    painter.setFont(font());
    painter.setPen(text);
    painter.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, this->text());
  }
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = face.adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

}  // namespace padwire::qt
