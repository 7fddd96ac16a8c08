// Drawing for the assignment dialog: the pad picture, the pad-button controls (which show a
// background colour of their own and, without the Marlett font, its glyphs as shapes).
#pragma once

#include <QAbstractButton>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

namespace padwire::qt {

// A 32-bit bottom-up or top-down BMP with premultiplied alpha, as resources/pad.bmp is; a null
// image when the data is anything else.
QImage picture_from_bmp(const QByteArray& data);
// The pad picture for a device pixel ratio: the double-size one above 1.25.
QImage pad_picture(double device_pixel_ratio);

// Whether the system has a font family of this name.
bool font_available(const QString& face);

// Marlett characters the dialog uses: "3" to "6" are triangles pointing left, right, up and
// down, "n" is a filled circle.
bool is_marlett_glyph(const QString& caption);

// A pad-button control: a classic raised button filled with its own colour.
class PadButton final : public QAbstractButton {
 public:
  explicit PadButton(QWidget* parent) : QAbstractButton(parent) {}
  void set_back(const QColor& colour);
  // Draws the caption as a shape (the font asked for is missing).
  void set_draw_glyph(bool on) { draw_glyph_ = on; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor back_;
  bool draw_glyph_ = false;
};

}  // namespace padwire::qt
