#include "platform/win32/win32_keyboard.h"

#include <windows.h>

#include "platform/win32/win32_watched_keys.h"

namespace padwire::win32 {

namespace {

// Whether a virtual key is on the extended part of the keyboard (the arrow and editing block,
// the keypad's divide, Num Lock, the right-hand Ctrl and Alt, the Windows keys).
bool is_extended_key(std::uint8_t vk) {
  switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
    case VK_SNAPSHOT:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
      return true;
    default:
      return false;
  }
}

}  // namespace

void Win32Keyboard::key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                              std::uintptr_t extra_info) {
  if (before_key_) before_key_();
  keybd_event(vk, scan, flags, extra_info);
}

std::uint32_t Win32Keyboard::map_virtual_key(std::uint32_t code, std::uint32_t map_type) {
  return MapVirtualKeyA(code, map_type);
}

std::int16_t Win32Keyboard::async_key_state(int vk) {
  if (vk < 0 || vk > 255) return 0;
  if (watched_) {
    if (const auto known = watched_->known_state(vk)) return *known;
  }
  return GetAsyncKeyState(vk);
}

bool Win32Keyboard::get_keyboard_state(KeyboardState& state) {
  return GetKeyboardState(state.data()) != FALSE;
}

bool Win32Keyboard::set_keyboard_state(const KeyboardState& state) {
  KeyboardState copy = state;  // the API takes a non-const pointer
  return SetKeyboardState(copy.data()) != FALSE;
}

bool Win32Keystrokes::send_keys(const std::string& keys, bool /*wait*/) {
  const SendKeysResult parsed = parse_sendkeys(keys);
  if (!parsed.ok()) return false;
  if (parsed.strokes.empty()) return true;
  std::vector<INPUT> inputs(parsed.strokes.size());
  for (std::size_t i = 0; i < parsed.strokes.size(); ++i) {
    const KeyStroke& stroke = parsed.strokes[i];
    INPUT& input = inputs[i];
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = stroke.vk;
    // The scan code rides along for programs that read it; the key is identified by wVk.
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(stroke.vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (stroke.key_up ? KEYEVENTF_KEYUP : 0u) |
                       (is_extended_key(stroke.vk) ? KEYEVENTF_EXTENDEDKEY : 0u);
  }
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return sent == inputs.size();
}

bool Win32Mouse::get_cursor_pos(Point& position) {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  position = {p.x, p.y};
  return true;
}

bool Win32Mouse::set_cursor_pos(std::int32_t x, std::int32_t y) {
  return SetCursorPos(x, y) != FALSE;
}

void Win32Mouse::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                             std::uint32_t data, std::uintptr_t extra_info) {
  ::mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), data, extra_info);
}

}  // namespace padwire::win32
