#include "platform/win32/win32_force_feedback_window.h"

#include "platform/win32/win32_layout.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

namespace {

constexpr int kOptionId = 100;  // + index
constexpr int kLabelId = 200;

}  // namespace

HWND ForceFeedbackWindow::ensure() {
  if (window_) return window_;
  if (!register_window_class(kForceFeedbackWindowClass, procedure,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
    return nullptr;
  }
  window_ = CreateWindowExW(kToolWindowExStyle, kForceFeedbackWindowClass,
                            to_wide_lossy(FormForceFeedback::kCaption).c_str(), kToolWindowStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!window_) return nullptr;
  size_and_centre(window_, FormForceFeedback::kClientWidth, FormForceFeedback::kClientHeight);
  create_controls();
  return window_;
}

void ForceFeedbackWindow::create_controls() {
  const UINT dpi = window_dpi(window_);
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(window_, GW_CHILD)) {
    DestroyWindow(child);
  }
  font_ = create_font(dpi, L"", 8.25);
  for (std::size_t i = 0; i < form_.optForceFeedback.size(); ++i) {
    const OptionButton& option = form_.optForceFeedback[i];
    options_[i] =
        create_control(window_, L"BUTTON", to_wide_lossy(option.caption),
                       BS_RADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0u), 0,
                       kOptionId + static_cast<int>(i), option.position, dpi, font_.get());
  }
  const std::wstring label = to_wide_lossy(form_.Label1);
  label_font_ = create_fitting_font(dpi, L"", 8.25, label, twips_rect(form_.Label1Position, dpi));
  create_control(window_, L"STATIC", label, SS_LEFT | SS_NOPREFIX | WS_GROUP, 0, kLabelId,
                 form_.Label1Position, dpi, label_font_.get());
  create_control(window_, L"BUTTON", to_wide_lossy(form_.btnOK),
                 BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, IDOK, form_.btnOKPosition, dpi,
                 font_.get());
  focus_ = nullptr;
  sync();
}

void ForceFeedbackWindow::sync() {
  if (!window_) return;
  for (std::size_t i = 0; i < form_.optForceFeedback.size(); ++i) {
    SendMessageW(options_[i], BM_SETCHECK,
                 form_.optForceFeedback[i].value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void ForceFeedbackWindow::destroy() {
  if (window_) {
    HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
  }
  font_.reset();
  label_font_.reset();
}

void ForceFeedbackWindow::command(int id, int code) {
  if (ended_) return;
  if (id >= kOptionId && id < kOptionId + 4 && code == BN_CLICKED) {
    form_.optForceFeedback_Click(id - kOptionId);
    sync();
  } else if (id == IDOK && code == BN_CLICKED) {
    form_.btnOK_Click();  // closes the window through the views
  }
}

LRESULT CALLBACK ForceFeedbackWindow::procedure(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
  auto* self = window_object<ForceFeedbackWindow>(window, message, lparam);
  if (!self || self->window_ != window) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND:
      self->command(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
      SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ACTIVATE:
      // The focus goes back where it was, or to the first option, as in a dialog.
      if (LOWORD(wparam) == WA_INACTIVE) {
        self->focus_ = GetFocus();
      } else {
        HWND target = self->focus_ && IsChild(window, self->focus_) ? self->focus_ : nullptr;
        if (!target) {
          for (HWND option : self->options_) {
            if (SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED) target = option;
          }
        }
        SetFocus(target ? target : self->options_[0]);
      }
      return 0;
    case WM_DPICHANGED:
      take_suggested_rect(window, lparam);
      self->create_controls();
      return 0;
    case WM_CLOSE:
      // The close box unloads the dialog, as OK does.
      if (!self->ended_) self->form_.btnOK_Click();
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace padwire::win32
