#include "platform/win32/win32_watched_keys.h"

namespace padwire::win32 {

namespace {

constexpr USHORT kGenericDesktopPage = 1;
constexpr USHORT kKeyboardUsage = 6;
constexpr ULONGLONG kLatelyMs = 1000;
enum : std::size_t { kTab, kLeftControl, kRightControl, kSnapshot };

}  // namespace

std::optional<std::size_t> WatchedKeys::index_of(USHORT vk, bool right_hand) {
  switch (vk) {
    case VK_TAB:
      return kTab;
    case VK_CONTROL:
      return right_hand ? kRightControl : kLeftControl;
    case VK_LCONTROL:
      return kLeftControl;
    case VK_RCONTROL:
      return kRightControl;
    case VK_SNAPSHOT:
      return kSnapshot;
    default:
      return std::nullopt;
  }
}

WatchedKeys::WatchedKeys(HWND window) {
  // Legacy key messages stay on: the assignment dialog reads its keys from them.
  const RAWINPUTDEVICE keyboard{kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window};
  registered_ = RegisterRawInputDevices(&keyboard, 1, sizeof keyboard) != FALSE;
  const int vks[kKeys] = {VK_TAB, VK_LCONTROL, VK_RCONTROL, VK_SNAPSHOT};
  for (std::size_t i = 0; i < kKeys; ++i) down_[i] = GetAsyncKeyState(vks[i]) < 0;
}

bool WatchedKeys::raw_input(const MSG& message) {
  RAWINPUT input{};
  UINT size = sizeof input;
  if (GetRawInputData(reinterpret_cast<HRAWINPUT>(message.lParam), RID_INPUT, &input, &size,
                      sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1) ||
      input.header.dwType != RIM_TYPEKEYBOARD) {
    return false;
  }
  const RAWKEYBOARD& key = input.data.keyboard;
  const auto index = index_of(key.VKey, (key.Flags & RI_KEY_E0) != 0);
  if (!index) return false;
  down_[*index] = (key.Flags & RI_KEY_BREAK) == 0;
  changed_until_ = GetTickCount64() + kLatelyMs;
  return true;
}

bool WatchedKeys::changed_lately() const {
  return GetTickCount64() < changed_until_;
}

std::optional<std::int16_t> WatchedKeys::known_state(int vk) const {
  if (!registered_ || vk < 0 || vk > 0xFF) return std::nullopt;
  bool up = true;
  if (vk == VK_CONTROL) {
    up = !down_[kLeftControl] && !down_[kRightControl];
  } else if (const auto index = index_of(static_cast<USHORT>(vk), false)) {
    up = !down_[*index];
  } else {
    return std::nullopt;
  }
  if (!up || changed_lately()) return std::nullopt;
  return std::int16_t{0};
}

}  // namespace padwire::win32
