#include "dialog/key_names.h"

namespace padwire {

std::string KeyName(int code) {
  // Digits and letters are named by their own character, as are the punctuation keys whose codes
  // sit at a fixed offset from the character they type on a US layout.
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) {
    return std::string(1, static_cast<char>(code));
  }
  // Built with append rather than operator+, which trips a false -Wrestrict in gcc 12.
  if (code >= 96 && code <= 105) return std::string("Num ").append(std::to_string(code - 96));
  if (code >= 112 && code <= 127) return std::string("F").append(std::to_string(code - 111));
  if (code >= 188 && code <= 191) return std::string(1, static_cast<char>(code - 144));
  if (code >= 219 && code <= 221) return std::string(1, static_cast<char>(code - 128));

  switch (code) {
    case 8:
      return "Back";
    case 9:
      return "Tab";
    case 13:
      return "Enter";
    case 16:
      return "Shift";
    case 17:
      return "Ctrl";
    case 18:
      return "Alt";
    case 19:
      return "Pause/Break";
    case 20:
      return "Caps";
    case 32:
      return "Space";
    case 33:
      return "PgUp";
    case 34:
      return "PgDn";
    case 35:
      return "End";
    case 36:
      return "Home";
    case 37:
      return "Left";
    case 38:
      return "Up";
    case 39:
      return "Right";
    case 40:
      return "Down";
    case 45:
      return "Ins";
    case 46:
      return "Del";
    case 106:
      return "Gray *";
    case 107:
      return "Gray +";
    case 109:
      return "Gray -";
    case 111:
      return "Gray /";
    case 144:
      return "NumLock";
    case 145:
      return "ScrollLock";
    case 186:
      return ";";
    case 187:
      return "=";
    case 192:
      return "`";
    case 222:
      return "'";
    default:
      return {};
  }
}

}  // namespace padwire
