// The Qt program's pieces that stand alone: geometry, the pad picture, key codes, the menu and
// the poll timer.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>

#include "platform/linux/linux_key_layout.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_layout.h"
#include "platform/qt/qt_small_windows.h"
#include "platform/qt/qt_tick_pacer.h"
#include "platform/qt/qt_tray.h"

namespace padwire::lin {
namespace {

using namespace padwire::qt;

TEST(QtLayout, TwipsRoundToTheNearestPixel) {
  EXPECT_EQ(twips_to_pixels(7), 0);
  EXPECT_EQ(twips_to_pixels(8), 1);
  EXPECT_EQ(twips_to_pixels(-15), -1);
  EXPECT_EQ(twips_rect({255, 420, 3195, 2445}), QRect(17, 28, 213, 163));
}

TEST(QtDrawing, PadPictureLoadsUprightWithItsAlpha) {
  const QImage picture = pad_picture(1.0);
  ASSERT_EQ(picture.size(), QSize(213, 163));
  EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);  // the corners are transparent
  EXPECT_EQ(pad_picture(2.0).size(), QSize(426, 326));

  // A bottom-up file has its first row last.
  QFile file(QStringLiteral(":/padwire/pad.bmp"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray data = file.readAll();
  const std::int32_t rows = 163;
  std::memcpy(data.data() + 22, &rows, sizeof rows);
  EXPECT_EQ(picture_from_bmp(data), picture.mirrored(false, true));
  // Cut short or of another depth: no picture rather than a read past the end.
  EXPECT_TRUE(picture_from_bmp(data.left(data.size() - 1)).isNull());
  data[28] = 24;
  EXPECT_TRUE(picture_from_bmp(data).isNull());
}

TEST(QtKeys, KeysTakeTheirUsVirtualKeyCodes) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    int vk;
  };
  const Case cases[] = {
      {Qt::Key_A, Qt::NoModifier, 'A'},       {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
      {Qt::Key_5, Qt::KeypadModifier, 0x65},  {Qt::Key_Home, Qt::KeypadModifier, 0x24},
      {Qt::Key_F13, Qt::NoModifier, 0x7C},    {Qt::Key_Less, Qt::ShiftModifier, 0xBC},
      {Qt::Key_Return, Qt::NoModifier, 0x0D}, {Qt::Key_Control, Qt::ControlModifier, 0x11},
      {Qt::Key_unknown, Qt::NoModifier, 0},
  };
  for (const Case& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
    EXPECT_EQ(virtual_key_of(event), c.vk) << c.key;
  }
  const QKeyEvent all(QEvent::KeyPress, Qt::Key_A,
                      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(shift_state_of(all), 7);
}

TEST(QtKeys, TheCaptureGivesEveryKeyOfAzertyAndQwertzItsCode) {
  struct Case {
    const char* layout;
    int key;
    Qt::KeyboardModifiers modifiers;
    int linux_key;
    int vk;
  };
  const Case cases[] = {
      {"fr", Qt::Key_A, Qt::NoModifier, KEY_Q, 'A'},
      {"fr", Qt::Key_Ampersand, Qt::NoModifier, KEY_1, '1'},
      {"fr", Qt::Key_1, Qt::ShiftModifier, KEY_1, '1'},  // the digit, not Shift
      {"fr", Qt::Key_Eacute, Qt::NoModifier, KEY_2, '2'},
      {"fr", Qt::Key_ParenRight, Qt::NoModifier, KEY_MINUS, 0xBD},
      {"fr", Qt::Key_Dead_Circumflex, Qt::NoModifier, KEY_LEFTBRACE, 0xDB},
      {"fr", Qt::Key_Ugrave, Qt::NoModifier, KEY_APOSTROPHE, 0xDE},
      {"fr", Qt::Key_Comma, Qt::NoModifier, KEY_M, 0xBA},
      {"de", Qt::Key_Z, Qt::NoModifier, KEY_Y, 'Z'},
      {"de", Qt::Key_ssharp, Qt::NoModifier, KEY_MINUS, 0xBD},
      {"de", Qt::Key_Udiaeresis, Qt::NoModifier, KEY_LEFTBRACE, 0xDB},
      {"de", Qt::Key_Odiaeresis, Qt::NoModifier, KEY_SEMICOLON, 0xBA},
      {"de", Qt::Key_Minus, Qt::NoModifier, KEY_SLASH, 0xBF},
      {"de", Qt::Key_Home, Qt::NoModifier, KEY_HOME, 0x24},  // outside the typing block
  };
  for (const Case& c : cases) {
    const std::unique_ptr<KeyLayout> layout = KeyLayout::from_names({c.layout, ""});
    ASSERT_TRUE(layout);
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers,
                          static_cast<quint32>(c.linux_key + 8), 0, 0);
    const TypingKeyAt at = [&layout](std::uint32_t code) {
      return layout->virtual_key_at_keycode(code);
    };
    EXPECT_EQ(virtual_key_of(event, at), c.vk) << c.layout << " " << c.linux_key;
  }
}

// The debug window replaces only the part of its text that changed, and always ends showing the
// whole latest text: a value, a line more or fewer, a character outside the BMP, nothing.
TEST(QtDebugWindow, ShowsTheLatestTextWhateverChanged) {
  DebugWindow window({});
  for (const char* text : {"X=0\r\nButton(1)=0\r\n", "X=0\r\nButton(1)=128\r\n",
                           "X=0\r\nButton(1)=128\r\nButton(2)=0\r\n", "Pad \xF0\x9F\x8E\xAE\r\n",
                           "Pad \xF0\x9F\x8E\xAF\r\n", ""}) {
    window.show_text(text);
    EXPECT_EQ(window.handle()->findChild<QPlainTextEdit*>()->toPlainText(), to_qt_lines(text));
  }
}

TEST(QtTray, MenuFollowsTheModel) {
  const MenuItem on{"mnuEnabled", "&Enabled", true, true};
  const MenuItem rule{"mnuSep", "-"};
  const MenuItem grey{"mnuSwapLR", "Swap", false, false};
  const MenuItem* items[] = {&on, &rule, &grey};
  const auto menu = build_popup_menu(items);
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), QStringLiteral("&Enabled"));
  EXPECT_TRUE(actions[0]->isChecked());
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_FALSE(actions[2]->isEnabled());
  EXPECT_FALSE(actions[2]->isCheckable());  // no empty box beside an unchecked item
  EXPECT_EQ(actions[2]->data().toULongLong(), 2u);
}

TEST(QtTimer, TicksNoFasterThanWindowsTimersAndFollowsTheModel) {
  QtTimer timer;
  timer.set_interval(1);
  EXPECT_TRUE(timer.running());
  EXPECT_EQ(timer.period(), 10);
  timer.set_interval(55);
  EXPECT_EQ(timer.period(), 55);
  timer.set_interval(0);  // an interval of 0 stops it
  EXPECT_FALSE(timer.running());
  timer.set_interval(20);
  timer.set_enabled(false);
  EXPECT_FALSE(timer.running());
  EXPECT_FALSE(timer.armed());
}

}  // namespace
}  // namespace padwire::lin
