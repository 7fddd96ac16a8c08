// Drawing for the assignment dialog: colours of the model, the pad-button controls (which show
// a background colour of their own, so they are drawn here), the direction and shoulder glyphs
// where the Marlett font is missing, and the pad picture.
#pragma once

#include <windows.h>

#include <string>

#include "platform/ui_model.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

COLORREF colour_ref(const Colour& colour);

// Whether the system has a font family of this name.
bool font_available(const wchar_t* face);

// Marlett characters the dialog uses: "3" to "6" are triangles pointing left, right, up and
// down, "n" is a filled circle. `draw_marlett_glyph` draws them without the font.
bool is_marlett_glyph(const std::wstring& caption);
void draw_marlett_glyph(HDC dc, const RECT& box, wchar_t glyph, COLORREF colour, int size);

struct PadButtonLook {
  std::wstring caption;
  HFONT font = nullptr;
  COLORREF back = 0;
  bool draw_glyph = false;  // Marlett caption without the font: drawn as a shape
};
void draw_pad_button(const DRAWITEMSTRUCT& item, const PadButtonLook& look);

// A 32-bit picture with premultiplied alpha from the program's resources.
struct Picture {
  Bitmap bitmap;
  int width = 0;
  int height = 0;
};
Picture load_picture(int resource);
// Draws the picture into `target`, scaled to it, blended over what is there.
void draw_picture(HDC dc, const Picture& picture, const RECT& target);

}  // namespace padwire::win32
