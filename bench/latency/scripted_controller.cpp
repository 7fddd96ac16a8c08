#include "scripted_controller.h"

#include <cstring>
#include <string>

namespace padwire::bench {

namespace {

std::wstring unique(const wchar_t* prefix) {
  return std::wstring(prefix) + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount64());
}

}  // namespace

LONGLONG now_qpc() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

double qpc_to_ms(LONGLONG ticks) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(ticks) * 1000.0 / frequency;
}

ScriptedController::ScriptedController(Signal signal, bool xinput) : signal_(signal) {
  const std::wstring name = unique(L"PadwireBenchPad-");
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                sizeof(e2e::SharedPad), name.c_str());
  if (mapping_) {
    pad_ = static_cast<e2e::SharedPad*>(
        MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(e2e::SharedPad)));
  }
  if (pad_) {
    std::memset(static_cast<void*>(pad_), 0, sizeof *pad_);
    pad_->state.lX = pad_->state.lY = 32768;
    for (DWORD& pov : pad_->state.rgdwPOV) pov = 0xFFFFFFFFu;
    pad_->xinput = xinput ? 1 : 0;
  }
  SetEnvironmentVariableA(e2e::kSharedPadVariable, std::string(name.begin(), name.end()).c_str());
  SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD", nullptr);
  SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD_LOG", nullptr);
  SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD_EVENT", nullptr);
  if (signal_ == Signal::forwarded) {
    const std::wstring event = unique(L"PadwireBenchChanged-");
    forward_ = CreateEventW(nullptr, FALSE, FALSE, event.c_str());
    SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD_EVENT", event.c_str());
  }
}

ScriptedController::~ScriptedController() {
  if (target_ && target_ != forward_) CloseHandle(target_);
  if (forward_) CloseHandle(forward_);
  if (pad_) UnmapViewOfFile(pad_);
  if (mapping_) CloseHandle(mapping_);
}

void ScriptedController::connect() {
  if (target_ && target_ != forward_) CloseHandle(target_);
  target_ = nullptr;
  if (!pad_ || pad_->notify == 0) return;  // the program does not wait on its device
  if (signal_ == Signal::forwarded) {
    target_ = forward_;
    return;
  }
  HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, pad_->reader_process);
  if (!process) return;
  HANDLE duplicate = nullptr;
  if (DuplicateHandle(process, reinterpret_cast<HANDLE>(pad_->notify), GetCurrentProcess(),
                      &duplicate, EVENT_MODIFY_STATE, FALSE, 0)) {
    target_ = duplicate;
  }
  CloseHandle(process);
}

LONGLONG ScriptedController::publish(std::initializer_list<int> buttons, LONG x, LONG y) {
  if (!pad_) return now_qpc();
  InterlockedIncrement(&pad_->sequence);  // odd: being written
  pad_->state.lX = x;
  pad_->state.lY = y;
  std::memset(pad_->state.rgbButtons, 0, sizeof pad_->state.rgbButtons);
  for (int b : buttons) pad_->state.rgbButtons[b] = 128;
  InterlockedIncrement(&pad_->sequence);  // even: complete
  const LONGLONG at = now_qpc();
  pad_->published_at = at;
  if (target_) SetEvent(target_);
  return at;
}

}  // namespace padwire::bench
