// Shared pieces of the program's windows: DPI, twips, centring, fonts, control creation.
#pragma once

#include <windows.h>

#include <string_view>

#include "dialog/twips.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

// The window's DPI (per monitor where the system tells it), else the screen's.
UINT window_dpi(HWND window);
// The side of a small icon (the tray's) at `dpi`, in pixels.
int small_icon_size(UINT dpi);

// Twips (1440 an inch) to pixels at a DPI: 15 twips a pixel at 96 DPI.
int twips_to_pixels(int twips, UINT dpi);
RECT twips_rect(const TwipsRect& rect, UINT dpi);

// Sizes the window so that its client area is `width` x `height` twips at its own DPI and
// centres it in the work area of its monitor (the program's owner window is never shown).
void size_and_centre(HWND window, int width_twips, int height_twips);

// WM_DPICHANGED: the window takes the rectangle the system suggests for the new DPI (in
// lParam), which keeps it where the user moved it, on the monitor it moved to.
void take_suggested_rect(HWND window, LPARAM lparam);

// A font in points at a DPI; an empty face is the dialogs' default face.
Font create_font(UINT dpi, std::wstring_view face, double points, bool bold = false);

// The font for a label (word-wrapped) or a button's one line: the given size, or a smaller
// one (down to 6.75 points) when the text would not fit the box in that size. Faces differ in
// width from the classic dialog font the layouts were made with.
Font create_fitting_font(UINT dpi, std::wstring_view face, double points, std::wstring_view text,
                         const RECT& box, bool one_line = false);

// A child control with the given font, at a twips position.
HWND create_control(HWND parent, const wchar_t* window_class, std::wstring_view text, DWORD style,
                    DWORD ex_style, int id, const TwipsRect& position, UINT dpi, HFONT font);

// Loads the common controls (comctl32.dll, version 6 by the program's manifest) and registers
// the classes the dialogs use, once; the program does not import it, so that nothing loads it
// before a dialog opens. False when it cannot be loaded.
bool load_common_controls();

// The window classes of the program's windows: registered once, with the dialog background.
bool register_window_class(const wchar_t* name, WNDPROC procedure, HBRUSH background);

// The object stored with a window at creation (CreateWindowEx's parameter), for WndProcs.
template <class T>
T* window_object(HWND window, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Tool windows of fixed size: a small caption with a close box, not in the task bar.
inline constexpr DWORD kToolWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kToolWindowExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

}  // namespace padwire::win32
