// The assignment dialog's native window, rendered from FormJoyConfig's data: the pad picture
// with its leader lines, fourteen pad-button controls (drawn here, for their colours and for
// the Marlett glyphs), the prompt label, the key-set list, Save and "Game Controllers...".
// Key preview: every key-down for the dialog reaches the form before the focused control.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "dialog/form_joy_config.h"
#include "platform/win32/win32_drawing.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kJoyConfigWindowClass = L"PadwireJoyConfig";
inline constexpr int kPadButtonId = 100;  // + pad-button index
inline constexpr int kSaveId = 201;
inline constexpr int kNameListId = 203;
inline constexpr int kGameControllersId = 204;

class JoyConfigWindow {
 public:
  // Events reach `form` only while `ended` is false.
  JoyConfigWindow(FormJoyConfig& form, const bool& ended) : form_(form), ended_(ended) {}
  ~JoyConfigWindow() { destroy(); }
  JoyConfigWindow(const JoyConfigWindow&) = delete;
  JoyConfigWindow& operator=(const JoyConfigWindow&) = delete;

  HWND handle() const { return window_; }
  HWND ensure();
  // Brings the controls (and the preview timer) up to date with the form's data.
  void sync();
  void destroy();
  // Key preview: the form's key-down handler sees every key-down first; true when the message
  // must go no further (the dialog is gone, or the key answered a capture).
  bool preview_key(const MSG& message);

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void create_controls();
  void destroy_resources();
  void command(int id, int code, HWND control);
  void paint();
  void sync_names();
  bool alive() const { return window_ && !ended_; }

  FormJoyConfig& form_;
  const bool& ended_;
  HWND window_ = nullptr;
  std::array<HWND, kPadButtonCount> buttons_{};
  std::array<std::wstring, kPadButtonCount> tips_;
  HWND label_ = nullptr;
  HWND save_ = nullptr;
  HWND names_ = nullptr;
  HWND game_controllers_ = nullptr;
  HWND tooltip_ = nullptr;
  Font dialog_font_;
  Font label_font_;
  Font panel_font_;
  std::array<Font, kPadButtonCount> button_fonts_;
  bool marlett_missing_ = false;
  Picture picture_;
  bool timer_running_ = false;
  int timer_interval_ = 0;
  bool syncing_ = false;
  HWND focus_ = nullptr;
  int swallowed_key_ = 0;  // the captured key while it is down: its repeats and characters go
};

}  // namespace padwire::win32
