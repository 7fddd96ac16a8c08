// The scripted controller's XInput side for end-to-end tests: an xinput1_4.dll that Wine loads
// instead of its own (WINEDLLOVERRIDES="xinput1_4=n,b", the DLL in the system folder). It
// reports the scripted pad in slot 0 while the script says "xinput yes" (pad_script.h), with
// the state of the pad's DirectInput view as XInput gives it; the slots are empty otherwise.
// Each state read is logged ("xinput state"), and so is each setting of the motors
// ("xinput motors LEFT RIGHT"). Test code only; the product never ships it.
#include <windows.h>
// xinput.h needs the declarations of windows.h before it.
#include <xinput.h>

#include <algorithm>
#include <cstdio>

#include "pad_script.h"

namespace {

using padwire::e2e::Script;

Script g_script;
FILETIME g_stamp{};
DWORD g_packet = 0;

// A state read of the benchmarks' pad counts as a poll, as the DirectInput device's do.
void reload(bool counts_as_poll = false) {
  if (padwire::e2e::SharedPad* shared = padwire::e2e::shared_pad()) {
    padwire::e2e::read_shared(*shared, g_script);
    if (counts_as_poll) InterlockedIncrement(&shared->polls);
  } else if (padwire::e2e::read_script_file(g_script, g_stamp)) {
    ++g_packet;
  }
}

bool connected(DWORD slot) {
  return slot == 0 && g_script.xinput && g_script.present && !g_script.unplugged;
}

SHORT thumb(LONG value) {
  return static_cast<SHORT>(std::clamp<LONG>(value, -32768, 32767));
}

// The view's buttons 0 to 9 and its hat, as XInput numbers them.
XINPUT_GAMEPAD gamepad_of(const DIJOYSTATE2& state, const BYTE triggers[2]) {
  static constexpr WORD kButtons[] = {XINPUT_GAMEPAD_A,
                                      XINPUT_GAMEPAD_B,
                                      XINPUT_GAMEPAD_X,
                                      XINPUT_GAMEPAD_Y,
                                      XINPUT_GAMEPAD_LEFT_SHOULDER,
                                      XINPUT_GAMEPAD_RIGHT_SHOULDER,
                                      XINPUT_GAMEPAD_BACK,
                                      XINPUT_GAMEPAD_START,
                                      XINPUT_GAMEPAD_LEFT_THUMB,
                                      XINPUT_GAMEPAD_RIGHT_THUMB};
  XINPUT_GAMEPAD pad{};
  for (int b = 0; b < 10; ++b) {
    if (state.rgbButtons[b]) pad.wButtons |= kButtons[b];
  }
  const DWORD pov = state.rgdwPOV[0];
  if ((pov & 0xFFFF) != 0xFFFF) {
    if (pov >= 31500 || pov <= 4500) pad.wButtons |= XINPUT_GAMEPAD_DPAD_UP;
    if (pov >= 4500 && pov <= 13500) pad.wButtons |= XINPUT_GAMEPAD_DPAD_RIGHT;
    if (pov >= 13500 && pov <= 22500) pad.wButtons |= XINPUT_GAMEPAD_DPAD_DOWN;
    if (pov >= 22500 && pov <= 31500) pad.wButtons |= XINPUT_GAMEPAD_DPAD_LEFT;
  }
  pad.sThumbLX = thumb(state.lX - 32768);
  pad.sThumbLY = thumb(32768 - state.lY);  // XInput's y grows upwards
  pad.bLeftTrigger = triggers[0];
  pad.bRightTrigger = triggers[1];
  return pad;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI XInputGetState(DWORD slot, XINPUT_STATE* state) {
  reload(true);
  padwire::e2e::log("xinput state");
  if (!connected(slot)) return ERROR_DEVICE_NOT_CONNECTED;
  if (!state) return ERROR_BAD_ARGUMENTS;
  state->dwPacketNumber = g_packet;
  state->Gamepad = gamepad_of(g_script.state, g_script.triggers);
  return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) DWORD WINAPI XInputSetState(DWORD slot, XINPUT_VIBRATION* motors) {
  reload();
  if (!connected(slot)) return ERROR_DEVICE_NOT_CONNECTED;
  if (!motors) return ERROR_BAD_ARGUMENTS;
  char text[64];
  std::snprintf(text, sizeof text, "xinput motors %u %u", motors->wLeftMotorSpeed,
                motors->wRightMotorSpeed);
  padwire::e2e::log(text);
  return ERROR_SUCCESS;
}
