#include "platform/win32/win32_drawing.h"

#include <cstring>

namespace padwire::win32 {

COLORREF colour_ref(const Colour& colour) {
  switch (colour.kind) {
    case Colour::Kind::button_face:
      return GetSysColor(COLOR_BTNFACE);
    case Colour::Kind::button_text:
      return GetSysColor(COLOR_BTNTEXT);
    case Colour::Kind::window_text:
      return GetSysColor(COLOR_WINDOWTEXT);
    case Colour::Kind::rgb:
      break;
  }
  return RGB(colour.r, colour.g, colour.b);
}

namespace {

int CALLBACK note_family(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

bool font_available(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  const WindowDc screen;
  EnumFontFamiliesExW(screen.get(), &wanted, note_family, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

bool is_marlett_glyph(const std::wstring& caption) {
  return caption.size() == 1 && (caption[0] == L'n' || (caption[0] >= L'3' && caption[0] <= L'6'));
}

void draw_marlett_glyph(HDC dc, const RECT& box, wchar_t glyph, COLORREF colour, int size) {
  const int cx = (box.left + box.right) / 2;
  const int cy = (box.top + box.bottom) / 2;
  const int h = size / 2;
  const Brush brush(CreateSolidBrush(colour));
  const Pen pen(CreatePen(PS_SOLID, 1, colour));
  HGDIOBJ old_brush = SelectObject(dc, brush.get());
  HGDIOBJ old_pen = SelectObject(dc, pen.get());
  if (glyph == L'n') {
    Ellipse(dc, cx - h, cy - h, cx + h + 1, cy + h + 1);
  } else {
    // Marlett's triangles are twice as wide as they are tall, pointing their way.
    const int t = h / 2 + 1;
    POINT p[3];
    switch (glyph) {
      case L'3':
        p[0] = {cx - t, cy};
        p[1] = {cx + t, cy - h};
        p[2] = {cx + t, cy + h};
        break;
      case L'4':
        p[0] = {cx + t, cy};
        p[1] = {cx - t, cy - h};
        p[2] = {cx - t, cy + h};
        break;
      case L'5':
        p[0] = {cx, cy - t};
        p[1] = {cx - h, cy + t};
        p[2] = {cx + h, cy + t};
        break;
      default:
        p[0] = {cx, cy + t};
        p[1] = {cx - h, cy - t};
        p[2] = {cx + h, cy - t};
        break;
    }
    Polygon(dc, p, 3);
  }
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
}

void draw_pad_button(const DRAWITEMSTRUCT& item, const PadButtonLook& look) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  // A classic raised button, filled with the control's own colour.
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  RECT face = r;
  InflateRect(&face, -2, -2);
  FillRect(dc, &face, Brush(CreateSolidBrush(look.back)).get());
  if (pushed) OffsetRect(&face, 1, 1);

  const COLORREF text = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT);
  if (look.draw_glyph) {
    const int size = (face.bottom - face.top) * 5 / 8;
    draw_marlett_glyph(dc, face, look.caption[0], text, size);
  } else {
    HGDIOBJ old_font = SelectObject(dc, look.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    RECT text_box = face;
    DrawTextW(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &text_box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old_font);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = face;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
}

Picture load_picture(int resource) {
  Picture picture;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10));  // RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = found ? SizeofResource(module, found) : 0;
  if (!data || size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return picture;
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  std::memcpy(&file, data, sizeof file);
  std::memcpy(&info, data + sizeof file, sizeof info);
  const int width = info.biWidth;
  const int height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
  const auto bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  if (file.bfType != 0x4D42 || info.biBitCount != 32 || info.biCompression != BI_RGB ||
      width <= 0 || height <= 0 || file.bfOffBits > size || size - file.bfOffBits < bytes) {
    return picture;
  }
  BITMAPINFO header{};
  header.bmiHeader = info;
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  void* bits = nullptr;
  picture.bitmap.reset(CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture.bitmap) return picture;
  std::memcpy(bits, data + file.bfOffBits, bytes);
  picture.width = width;
  picture.height = height;
  return picture;
}

void draw_picture(HDC dc, const Picture& picture, const RECT& target) {
  if (!picture.bitmap) return;
  const MemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  HGDIOBJ old = SelectObject(memory.get(), picture.bitmap.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  SetStretchBltMode(dc, HALFTONE);
  GdiAlphaBlend(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                memory.get(), 0, 0, picture.width, picture.height, blend);
  SelectObject(memory.get(), old);
}

}  // namespace padwire::win32
