// The force-feedback dialog's native window, rendered from FormForceFeedback's data: four
// option buttons, the warning label and OK, at their twips positions.
#pragma once

#include <windows.h>

#include "dialog/form_force_feedback.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kForceFeedbackWindowClass = L"PadwireForceFeedback";

class ForceFeedbackWindow {
 public:
  // Events reach `form` only while `ended` is false.
  ForceFeedbackWindow(FormForceFeedback& form, const bool& ended) : form_(form), ended_(ended) {}
  ~ForceFeedbackWindow() { destroy(); }
  ForceFeedbackWindow(const ForceFeedbackWindow&) = delete;
  ForceFeedbackWindow& operator=(const ForceFeedbackWindow&) = delete;

  HWND handle() const { return window_; }
  HWND ensure();
  // Brings the controls up to date with the form's data.
  void sync();
  void destroy();

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void create_controls();
  void command(int id, int code);

  FormForceFeedback& form_;
  const bool& ended_;
  HWND window_ = nullptr;
  HWND options_[4] = {};
  Font font_;
  Font label_font_;
  HWND focus_ = nullptr;  // the control that had the focus when the window was deactivated
};

}  // namespace padwire::win32
