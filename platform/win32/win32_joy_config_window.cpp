#include "platform/win32/win32_joy_config_window.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/win32_layout.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

namespace {

namespace jc = joy_config;

constexpr int kLabelId = 200;
constexpr int kFrameId = 202;
constexpr UINT_PTR kPreviewTimer = 1;
constexpr int kListLines = 8;  // entries the open list shows

std::wstring wide_face(std::string_view face) {
  return to_wide_lossy(face);
}

std::wstring window_text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

}  // namespace

HWND JoyConfigWindow::ensure() {
  if (window_) return window_;
  if (!register_window_class(kJoyConfigWindowClass, procedure,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
    return nullptr;
  }
  window_ =
      CreateWindowExW(kToolWindowExStyle | WS_EX_CONTROLPARENT, kJoyConfigWindowClass,
                      to_wide_lossy(jc::kCaption).c_str(), kToolWindowStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) return nullptr;
  size_and_centre(window_, jc::kClientWidth, jc::kClientHeight);
  create_controls();
  return window_;
}

void JoyConfigWindow::create_controls() {
  const UINT dpi = window_dpi(window_);
  if (tooltip_) DestroyWindow(tooltip_);
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(window_, GW_CHILD)) {
    DestroyWindow(child);
  }
  destroy_resources();
  dialog_font_ = create_font(dpi, L"", 8.25);
  marlett_missing_ = !font_available(L"Marlett");
  picture_ = load_picture(dpi > 120 ? kPadPicture2xResource : kPadPictureResource);

  // Created in the order of the tab stops: the pad buttons, Save, the list, the panel button.
  for (int i = 0; i < kPadButtonCount; ++i) {
    const PadButtonControl& model = form_.btnJoy[static_cast<std::size_t>(i)];
    const std::wstring face = wide_face(model.font.face);
    button_fonts_[static_cast<std::size_t>(i)] = create_font(dpi, face, model.font.points);
    buttons_[static_cast<std::size_t>(i)] =
        create_control(window_, L"BUTTON", to_wide_lossy(model.caption),
                       BS_OWNERDRAW | WS_TABSTOP | (i == 0 ? WS_GROUP : 0u), 0, kPadButtonId + i,
                       model.position, dpi, button_fonts_[static_cast<std::size_t>(i)].get());
  }
  // Its text and font come with the first sync.
  // The two-line label reaches into the etched rule below it: it clips itself to its siblings,
  // and the rule stands above it, so the rule runs unbroken across the dialog.
  label_ = create_control(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0,
                          kLabelId, form_.Label1.position, dpi, dialog_font_.get());
  save_ = create_control(window_, L"BUTTON", to_wide_lossy(form_.btnSave.caption),
                         BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, kSaveId, form_.btnSave.position,
                         dpi, dialog_font_.get());
  HWND rule = create_control(window_, L"STATIC", L"", SS_ETCHEDHORZ, 0, kFrameId, form_.Frame1, dpi,
                             nullptr);
  SetWindowPos(rule, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TwipsRect list = form_.cmbName.position;
  list.height += kListLines * form_.cmbName.position.height;  // room for the open list
  names_ = create_control(window_, L"COMBOBOX", L"",
                          CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0,
                          kNameListId, list, dpi, dialog_font_.get());
  const std::wstring panel = to_wide_lossy(form_.btnConfig.caption);
  panel_font_ =
      create_fitting_font(dpi, L"", 8.25, panel, twips_rect(form_.btnConfig.position, dpi), true);
  game_controllers_ =
      create_control(window_, L"BUTTON", panel, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0,
                     kGameControllersId, form_.btnConfig.position, dpi, panel_font_.get());

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, window_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    tips_[i].clear();
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(buttons_[i]);
    tool.lpszText = const_cast<LPWSTR>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  focus_ = nullptr;
  timer_running_ = false;
  sync();
}

void JoyConfigWindow::destroy_resources() {
  dialog_font_.reset();
  label_font_.reset();
  panel_font_.reset();
  for (Font& font : button_fonts_) font.reset();
  picture_ = {};
}

void JoyConfigWindow::sync() {
  if (!window_) return;
  syncing_ = true;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const PadButtonControl& model = form_.btnJoy[i];
    EnableWindow(buttons_[i], model.Enabled);
    InvalidateRect(buttons_[i], nullptr, FALSE);  // its colour may have changed
    const std::wstring tip = to_wide_lossy(model.ToolTipText);
    if (tip != tips_[i]) {
      tips_[i] = tip;
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.hwnd = window_;
      tool.uId = reinterpret_cast<UINT_PTR>(buttons_[i]);
      tool.lpszText = tips_[i].data();
      SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  const std::wstring label = to_wide_lossy(form_.Label1.Caption);
  if (label != window_text(label_)) {
    // The prompt is longer than the instruction: each text gets the size that fits the label.
    const UINT dpi = window_dpi(window_);
    // Fitted above the etched rule, which crosses the label's last few pixels.
    RECT box = twips_rect(form_.Label1.position, dpi);
    box.bottom = std::min(box.bottom, twips_rect(form_.Frame1, dpi).top);
    Font fitting = create_fitting_font(dpi, L"", 8.25, label, box);
    SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(fitting.get()), FALSE);
    label_font_ = std::move(fitting);
    SetWindowTextW(label_, label.c_str());
  }
  InvalidateRect(label_, nullptr, TRUE);  // its colour may have changed
  EnableWindow(save_, form_.btnSave.Enabled);
  EnableWindow(game_controllers_, form_.btnConfig.Enabled);
  sync_names();

  const bool run = form_.Timer1.Enabled && form_.Timer1.Interval > 0;
  if (run && (!timer_running_ || timer_interval_ != form_.Timer1.Interval)) {
    timer_running_ =
        SetTimer(window_, kPreviewTimer, static_cast<UINT>(form_.Timer1.Interval), nullptr) != 0;
    timer_interval_ = form_.Timer1.Interval;
  } else if (!run && timer_running_) {
    KillTimer(window_, kPreviewTimer);
    timer_running_ = false;
  }
  syncing_ = false;
}

void JoyConfigWindow::sync_names() {
  const ComboControl& model = form_.cmbName;
  bool same = SendMessageW(names_, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(model.entries.size());
  for (std::size_t i = 0; same && i < model.entries.size(); ++i) {
    const auto length = SendMessageW(names_, CB_GETLBTEXTLEN, i, 0);
    std::wstring entry(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(names_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    same = entry == to_wide_lossy(model.entries[i]);
  }
  if (!same) {
    SendMessageW(names_, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : model.entries) {
      SendMessageW(names_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(to_wide_lossy(entry).c_str()));
    }
  }
  if (model.ListIndex >= 0 && SendMessageW(names_, CB_GETCURSEL, 0, 0) != model.ListIndex) {
    SendMessageW(names_, CB_SETCURSEL, static_cast<WPARAM>(model.ListIndex), 0);
  }
  const std::wstring text = to_wide_lossy(model.Text);
  if (text != window_text(names_)) SetWindowTextW(names_, text.c_str());
  EnableWindow(names_, model.Enabled);
}

void JoyConfigWindow::destroy() {
  if (window_) {
    HWND window = window_;
    window_ = nullptr;
    timer_running_ = false;
    DestroyWindow(window);  // the tooltip, owned by the window, goes with it
  }
  tooltip_ = nullptr;
  destroy_resources();
}

bool JoyConfigWindow::preview_key(const MSG& message) {
  if (!alive()) return false;
  const auto key = static_cast<WPARAM>(swallowed_key_);
  switch (message.message) {
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (message.wParam == key) swallowed_key_ = 0;
      return false;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
      // A captured key's characters would reach the dialog's access keys.
      return key != 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      break;
    default:
      return false;
  }
  // The captured key held down repeats: its repeats are swallowed with it.
  if (key != 0 && message.wParam == key && (message.lParam & (1 << 30)) != 0) return true;
  const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                    (GetKeyState(VK_MENU) < 0 ? 4 : 0);
  const bool capturing = form_.Capturing;
  form_.Form_KeyDown(static_cast<std::int16_t>(message.wParam), shift);
  if (!alive()) return true;
  sync();
  // A key that answers a capture is only bound: the capture's end has enabled the controls
  // again, and the key must not press one of them ("S" would save through "&Save"), nor make
  // a character. Other keys go on to the control with the focus.
  swallowed_key_ = capturing ? static_cast<int>(message.wParam) : 0;
  return capturing;
}

void JoyConfigWindow::command(int id, int code, HWND control) {
  if (!alive() || syncing_) return;
  if (id >= kPadButtonId && id < kPadButtonId + kPadButtonCount && code == BN_CLICKED) {
    form_.btnJoy_Click(id - kPadButtonId);
  } else if (id == kSaveId && code == BN_CLICKED) {
    form_.btnSave_Click();
  } else if (id == kGameControllersId && code == BN_CLICKED) {
    form_.btnConfig_Click();
  } else if (id == kNameListId && code == CBN_SELCHANGE) {
    const auto index = SendMessageW(control, CB_GETCURSEL, 0, 0);
    if (index >= 0) form_.choose_entry(static_cast<int>(index));
  } else if (id == kNameListId && code == CBN_EDITCHANGE) {
    form_.type_text(to_utf8(window_text(control)));
  } else {
    return;
  }
  if (alive()) sync();
}

void JoyConfigWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  const UINT dpi = window_dpi(window_);
  draw_picture(dc, picture_, twips_rect(form_.Image1.position, dpi));
  // The leader lines, one pixel wide, from the picture to the buttons.
  for (const LineControl& line : form_.leader_lines) {
    const Pen pen(CreatePen(PS_SOLID, 1, colour_ref(line.colour)));
    HGDIOBJ old = SelectObject(dc, pen.get());
    MoveToEx(dc, twips_to_pixels(line.x1, dpi), twips_to_pixels(line.y1, dpi), nullptr);
    LineTo(dc, twips_to_pixels(line.x2, dpi), twips_to_pixels(line.y2, dpi));
    SelectObject(dc, old);
  }
  EndPaint(window_, &ps);
}

LRESULT CALLBACK JoyConfigWindow::procedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  auto* self = window_object<JoyConfigWindow>(window, message, lparam);
  if (!self || self->window_ != window) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND:
      self->command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_TIMER:
      if (wparam == kPreviewTimer && self->alive()) {
        self->form_.Timer1_Timer();
        if (self->alive()) self->sync();
      }
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      const auto index = static_cast<int>(item.CtlID) - kPadButtonId;
      if (index < 0 || index >= kPadButtonCount) break;
      const PadButtonControl& model = self->form_.btnJoy[static_cast<std::size_t>(index)];
      PadButtonLook look;
      look.caption = to_wide_lossy(model.caption);
      look.font = self->button_fonts_[static_cast<std::size_t>(index)].get();
      look.back = colour_ref(model.BackColor);
      look.draw_glyph =
          self->marlett_missing_ && model.font.face == "Marlett" && is_marlett_glyph(look.caption);
      draw_pad_button(item, look);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      const bool label = reinterpret_cast<HWND>(lparam) == self->label_;
      SetTextColor(dc,
                   label ? colour_ref(self->form_.Label1.ForeColor) : GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT:
      self->paint();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        self->focus_ = GetFocus();
      } else if (self->focus_ && IsChild(window, self->focus_)) {
        SetFocus(self->focus_);
      } else {
        SetFocus(self->buttons_[0]);
      }
      return 0;
    case WM_DPICHANGED:
      take_suggested_rect(window, lparam);
      self->create_controls();
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_CLOSE:
      // The close box unloads without storing anything; the form closes the window.
      if (self->alive()) self->form_.close();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace padwire::win32
