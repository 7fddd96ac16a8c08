#include "platform/qt/qt_keys.h"

#include <QKeyEvent>
#include <utility>

namespace padwire::qt {

namespace {

// Keys whose code is not their Qt key's: navigation, editing, modifiers, locks, and the US
// punctuation with its shifted characters.
constexpr std::pair<int, int> kKeys[] = {
    {Qt::Key_Backspace, 0x08},  {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},     {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},      {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},        {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},      {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},     {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},     {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},       {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},      {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},     {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},     {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},       {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},       {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},          {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},      {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},  {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},      {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},       {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},       {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},   {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},  {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},        {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},   {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE}, {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0},  {Qt::Key_MediaPrevious, 0xB1},
    {Qt::Key_MediaStop, 0xB2},  {Qt::Key_MediaPlay, 0xB3},
};

// The keypad's keys, by Qt key, when the event carries the keypad modifier.
int keypad_key(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return 0x6A;
    case Qt::Key_Plus:
      return 0x6B;
    case Qt::Key_Minus:
      return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return 0x6E;
    case Qt::Key_Slash:
      return 0x6F;
    default:
      return 0;
  }
}

}  // namespace

int virtual_key_of(const QKeyEvent& event, const TypingKeyAt& typing_key_at) {
  if (typing_key_at && event.nativeScanCode() != 0) {
    if (const int vk = typing_key_at(event.nativeScanCode())) return vk;
  }
  const int key = event.key();
  if (event.modifiers() & Qt::KeypadModifier) {
    if (const int vk = keypad_key(key)) return vk;
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return key;  // the same codes as Windows'
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  for (const auto& [qt, vk] : kKeys) {
    if (qt == key) return vk;
  }
  return 0;
}

int shift_state_of(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  return (held & Qt::ShiftModifier ? 1 : 0) | (held & Qt::ControlModifier ? 2 : 0) |
         (held & Qt::AltModifier ? 4 : 0);
}

}  // namespace padwire::qt
