// Stored text of every shape a setting can take, whoever wrote it: the program, an earlier
// version, another program or the user by hand. The tests of each settings store and of each of
// the program's readers go through this one table.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace padwire::test {

struct StoredShape {
  const char* label;
  std::string text;
  // What the readers make of the text; nothing: it does not convert, and the reader's item
  // keeps what it held before.
  std::optional<bool> boolean;  // an option's check mark
  std::optional<int> int16;     // "RumbleType", and a key set's code in the dialog's tooltip
  std::optional<int> key_code;  // a key of a key set, in the main form
  // Valid UTF-8 without a NUL: text that a Windows string value can hold exactly.
  bool unicode = true;
};

inline std::vector<StoredShape> stored_shapes() {
  using std::nullopt;
  return {
      {"empty", "", nullopt, nullopt, nullopt},
      {"spaces only", "   ", nullopt, nullopt, nullopt},
      {"spaces around", " 3 ", true, 3, 3},
      {"tab and line end around", "\t75\r\n", true, 75, 75},
      {"plus sign", "+75", true, 75, 75},
      {"minus sign", "-1", true, -1, nullopt},
      {"negative zero", "-0", false, 0, 0},
      {"decimal, half to even", "74.5", true, 74, 74},
      {"decimal, rounded up", "75.6", true, 76, 76},
      {"decimal comma", "75,0", nullopt, nullopt, nullopt},
      {"exponent", "7.5e1", true, 75, 75},
      {"hexadecimal", "&H4B", true, 75, 75},
      {"hexadecimal as a 16-bit pattern", "&hFFFF", true, -1, nullopt},
      {"octal", "&o113", true, 75, 75},
      {"radix without digits", "&H", nullopt, nullopt, nullopt},
      {"C hexadecimal", "0x4B", nullopt, nullopt, nullopt},
      {"beyond a key code", "256", true, 256, nullopt},
      {"beyond 16 bits", "40000", true, nullopt, nullopt},
      {"huge", "123456789012345678901234567890", true, nullopt, nullopt},
      {"beyond a double", "1e999", nullopt, nullopt, nullopt},
      {"64 KiB of digits", std::string(65534, '0') + "75", true, 75, 75},
      {"64 KiB of nines", std::string(65536, '9'), nullopt, nullopt, nullopt},
      {"64 KiB of letters", std::string(65536, 'x'), nullopt, nullopt, nullopt},
      {"control character", "7\x01", nullopt, nullopt, nullopt},
      {"delete character", "\x7F", nullopt, nullopt, nullopt},
      {"NUL inside", std::string("75\0x", 4), nullopt, nullopt, nullopt, false},
      {"letters beyond ASCII", "Caf\xC3\xA9", nullopt, nullopt, nullopt},
      {"no-break space before", "\xC2\xA0\x37\x35", nullopt, nullopt, nullopt},
      {"full-width digits", "\xEF\xBC\x97\xEF\xBC\x95", nullopt, nullopt, nullopt},
      {"invalid UTF-8", "75\xFF", nullopt, nullopt, nullopt, false},
      {"cut-off UTF-8", "\xC3", nullopt, nullopt, nullopt, false},
      {"True", "True", true, -1, nullopt},
      {"False in another case", " fALSE ", false, 0, 0},
      {"another word", "Yes", nullopt, nullopt, nullopt},
  };
}

}  // namespace padwire::test
