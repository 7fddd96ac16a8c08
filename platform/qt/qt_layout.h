// Shared pieces of the program's Qt windows: twips, centring, fonts fitted to their boxes,
// colours of the model and the dialogs' text.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "dialog/twips.h"
#include "platform/ui_model.h"

class QWidget;

namespace padwire::qt {

// Twips (1440 an inch) to the windows' pixels: 15 twips a pixel, the layouts' 96 dots per inch.
// Qt scales these pixels itself on a screen of higher density.
int twips_to_pixels(int twips);
QRect twips_rect(const TwipsRect& rect);

QString to_qt(std::string_view text);
// "\r\n" line ends of the core's texts become "\n".
QString to_qt_lines(std::string_view text);
std::string to_utf8(const QString& text);

// A fixed client area of `width` x `height` twips, centred in the available area of the screen.
void size_and_centre(QWidget& window, int width_twips, int height_twips);

// A font in points at the layouts' 96 dots per inch (whatever the screen claims); an empty face
// is the desktop's default face.
QFont dialog_font(std::string_view face = {}, double points = 8.25, bool bold = false);

// The font for a label (word-wrapped) or a button's one line: the given size, or a smaller one
// (down to 6.75 points) when the text would not fit the box in that size. Faces differ in width
// from the classic dialog font the layouts were made with.
QFont fitting_font(double points, const QString& text, const QRect& box, bool one_line = false);

QColor colour_of(const Colour& colour);

}  // namespace padwire::qt
